// The facade's query catalogue: employees and sign-on, projects, work data,
// time-sheet reads, companies, contacts and change requests.
#include "data/DBClass.h"

#include "data/BindingSet.h"
#include "data/RowCursor.h"
#include "data/SqlExecutor.h"
#include "data/records/AddrBusinessTypeSet.h"
#include "data/records/AddrCompanySet.h"
#include "data/records/AddrPersonListSet.h"
#include "data/records/BusTypeSet.h"
#include "data/records/ChgRqstActionSet.h"
#include "data/records/ChgrqstTeamSet.h"
#include "data/records/CommentTypeSet.h"
#include "data/records/CompanyDetailSet.h"
#include "data/records/CompanySet.h"
#include "data/records/DepartmentSet.h"
#include "data/records/EmployeeSet.h"
#include "data/records/ProjEmpSet2.h"
#include "data/records/ProjSumSet.h"
#include "data/records/ProjectSet.h"
#include "data/records/StatusSet.h"
#include "data/records/TimeSheetSet.h"
#include "platform/MessageBox.h"
#include "platform/ProfileStore.h"

#include <QSet>

#include <limits>

namespace {

// The rows of a record object opened through the facade, one call per row,
// streamed: only the current row is held.
template <typename Set, typename Fn>
bool ForEachRow(CDBClass& db, Set& set, Fn&& fn)
{
    CMyAdoRecordSet* rs = set.Recordset();
    const CursorMode mode = rs->GetCursorMode();
    rs->SetCursorMode(CursorMode::ForwardOnly);
    const bool opened = db.OpenRecordSet(&set);
    while (opened && !rs->IsBOF() && !rs->IsEOF()) {
        fn(set);
        set.MoveNext();
    }
    db.CloseRecordSet(&set);
    rs->SetCursorMode(mode);
    return opened;
}

QString WithoutBlanks(QString text)
{
    text.remove(QLatin1Char(' '));
    return text;
}

} // namespace

int CDBClass::SelectIn(IItemList& combo, int index)
{
    combo.SetCurrentIndex(index);
    return index;
}

// ---- Employees and sign-on ------------------------------------------------------

bool CDBClass::CheckUserPassword(int empId, const QString& password)
{
    CEmployeeSet set(m_connection.get());
    // Bound, never pasted: a typed password is data, whatever it holds.
    if (password.isEmpty())
        set.Recordset()->SetFilter(QStringLiteral("[EmpID] = ? AND ([Pwd] is null or [Pwd] = '')"),
                                   {empId});
    else
        set.Recordset()->SetFilter(QStringLiteral("[EmpID] = ? AND [Pwd] = ?"), {empId, password});
    // A password no database can hold matches nobody's: the caller says so.
    set.Recordset()->SetQuiet(true);
    if (!OpenRecordSet(&set)) {
        if (set.Recordset()->ErrorCode() != kE_UnstorableValue)
            ShowMessageBox(set.Recordset()->ErrorText(), kMbOk | kMbIconError);
        return false;
    }
    bool found = !set.Recordset()->IsEOF();
    // The database may compare ignoring case; a password does not.
    if (found && !password.isEmpty())
        found = set.m_Pwd == password;
    CloseRecordSet(&set);
    return found;
}

bool CDBClass::ChangePassword(int empId, const QString& password)
{
    CEmployeeSet set(m_connection.get());
    set.Recordset()->SetFilter(QStringLiteral("[EmpID] = ?"), {empId});
    set.Recordset()->SetSort(QStringLiteral("EmpFullName"));
    if (!OpenRecordSet(&set) || set.Recordset()->IsEOF()) {
        CloseRecordSet(&set);
        return false;
    }
    set.m_Pwd = password;
    // Told once, in the write's words.
    set.Recordset()->SetQuiet(true);
    const bool ok = set.Update();
    if (!ok)
        ShowMessageBox(FailureMessage(QStringLiteral("This record cannot be updated/edited - there "
                                                     "is an error with your database or database "
                                                     "connection"),
                                      set.Recordset()->ErrorCode(), set.Recordset()->ErrorText()),
                       kMbOk | kMbIconError);
    CloseRecordSet(&set);
    return ok;
}

bool CDBClass::GetEmployeeById(int empId, CEmployeeEntry& employee)
{
    CEmployeeSet set(m_connection.get());
    set.Recordset()->SetFilter(QStringLiteral("[EmpID] = ?"), {empId});
    set.Recordset()->SetSort(QStringLiteral("EmpID"));
    bool found = false;
    ForEachRow(*this, set, [&](CEmployeeSet& s) {
        if (found)
            return;
        found = true;
        employee.EmpFullName = s.m_EmpFullName;
        employee.EmpID = s.m_EmpID;
        employee.SecLevel = s.m_SecLevel;
        employee.HourRateFactor = s.m_HourRateFactor;
        employee.NTUserName = s.m_NTUserName;
        employee.Email = s.m_Email;
        employee.IsCurrent = s.m_IsCurrent;
        employee.DeptID = s.IsNull(23) ? 1 : s.m_DeptID;
        employee.EmpRef = s.m_EmpRef;
    });
    return found;
}

QString CDBClass::GetEmpFullNameById(int empId)
{
    CEmployeeSet set(m_connection.get());
    set.Recordset()->SetFilter(QStringLiteral("[EmpID] = ?"), {empId});
    set.Recordset()->SetSort(QStringLiteral("EmpFullName"));
    QString name;
    ForEachRow(*this, set, [&](CEmployeeSet& s) {
        if (name.isEmpty())
            name = s.m_EmpFullName;
    });
    return name;
}

bool CDBClass::GetDefaultUser(QString& userName, QString& fullName)
{
    CProfileStore profile;
    userName = profile.value(QStringLiteral("USER/DefUserName")).toString();
    if (m_employees.isEmpty())
        LoadEmployees();
    for (const CEmployeeEntry& e : std::as_const(m_employees)) {
        if (!userName.isEmpty() && e.EmpFullName == userName) {
            fullName = e.EmpFullName;
            return true;
        }
    }
    return false;
}

bool CDBClass::GetCurrentUser(QString& name)
{
    name = m_host ? m_host->ApplicationUserName()
                  : CProfileStore().value(QStringLiteral("USER/DefUserName")).toString();
    m_currentUser = name;
    LoadEmployees();
    if (GetEmpIdByName(name) < 0 && m_host) {
        m_host->ChooseUser();
        name = m_host->ApplicationUserName();
        m_currentUser = name;
    }
    return GetEmpIdByName(name) >= 0;
}

int CDBClass::FillEmployeeCombo(IItemList& combo, const QString& selected, int deptId,
                                const QString& firstRowText)
{
    if (!combo.IsValid())
        return -1;
    combo.Clear();
    if (m_employees.isEmpty())
        LoadEmployees();
    if (!firstRowText.isEmpty())
        combo.AddItem(firstRowText, -2);
    if (deptId == -1) {
        // The department of the named employee, by full name or login name.
        deptId = 1;
        for (const CEmployeeEntry& e : std::as_const(m_employees))
            if (e.EmpFullName == selected) {
                deptId = e.DeptID;
                break;
            }
        if (deptId == 1)
            GetEmpDeptIdByName(selected, deptId);
    }
    int index = -1;
    const QString wanted = WithoutBlanks(selected);
    for (const CEmployeeEntry& e : std::as_const(m_employees)) {
        if (!e.IsCurrent || e.DeptID != deptId)
            continue;
        const int at = combo.AddItem(e.EmpFullName, e.EmpID);
        if (index < 0 && WithoutBlanks(e.EmpFullName).compare(wanted, Qt::CaseInsensitive) == 0)
            index = at;
    }
    return SelectIn(combo, index);
}

int CDBClass::FillUserCombo(IItemList& combo, const QString& firstRowText)
{
    return FillEmployeeCombo(combo, m_currentUser, -1, firstRowText);
}

int CDBClass::FillDepartments(IItemList& combo, int selectedDeptId)
{
    if (!combo.IsValid())
        return -1;
    combo.Clear();
    CDepartmentSet set(m_connection.get());
    int index = -1;
    ForEachRow(*this, set, [&](CDepartmentSet& s) {
        const int at = combo.AddItem(s.m_Department, s.m_DeptID);
        if (s.m_DeptID == selectedDeptId && index < 0)
            index = at;
    });
    return SelectIn(combo, index);
}

// ---- Projects and work data ------------------------------------------------------------

int CDBClass::GetProjIdByName(const QString& name)
{
    CProjectSet set(m_connection.get());
    set.Recordset()->SetFilter(QStringLiteral("[ProjName] = ?"), {name});
    if (!OpenTableWithQuery(&set, set.Recordset()->Filter(), QStringLiteral("[ProjName]")))
        return -1;
    const int id = set.Recordset()->IsEOF() ? -1 : set.m_ProjID;
    CloseRecordSet(&set);
    return id;
}

QString CDBClass::GetProjNameById(int projId)
{
    CProjectSet set(m_connection.get());
    set.Recordset()->SetFilter(QStringLiteral("[ProjID] = ?"), {projId});
    set.Recordset()->SetSort(QStringLiteral("[ProjName]"));
    QString name;
    ForEachRow(*this, set, [&](CProjectSet& s) {
        if (name.isEmpty())
            name = s.m_ProjName;
    });
    return name;
}

bool CDBClass::GetProjectById(int projId, CProjectSet& project)
{
    project.Recordset()->SetFilter(QStringLiteral("[ProjID] = ?"), {projId});
    if (!OpenRecordSet(&project))
        return false;
    const bool found = !project.Recordset()->IsEOF();
    CloseRecordSet(&project);
    return found;
}

bool CDBClass::GetProjectInfo(int projId, QString& companyName)
{
    if (m_projects.isEmpty())
        LoadProjects(m_projects, -1);
    int companyId = -1;
    if (!GetProjectCacheValue(projId, companyId))
        return false;
    if (companyId < 0) {
        // Read once, then kept with the project.
        CProjectSet set(m_connection.get());
        set.Recordset()->SetFilter(QStringLiteral("[ProjID] =  ?"), {projId});
        ForEachRow(*this, set, [&](CProjectSet& s) { companyId = s.m_CompanyID; });
        SetProjectCacheValue(projId, companyId);
    }
    return companyId >= 0 && GetCompanyNameById(companyId, companyName);
}

bool CDBClass::FillProjectTeam(int projId, QStringList& empIds, QStringList& names)
{
    CProjEmpSet2 set(m_connection.get());
    set.Recordset()->SetFilter(QStringLiteral("[ProjID] = ?"), {projId});
    return ForEachRow(*this, set, [&](CProjEmpSet2& s) {
        empIds << QString::number(s.m_EmpID);
        names << s.m_FirstName;
    });
}

bool CDBClass::OpenProjEmpSummary(int projId, int empId, int& sumChgReq, int& sumTodo,
                                  int& sumComment)
{
    CProjSumSet set(m_connection.get());
    set.Recordset()->SetFilter(QStringLiteral("[projID] = ? AND [EmpID] = ?"), {projId, empId});
    if (!OpenRecordSet(&set))
        return false;
    const bool found = !set.Recordset()->IsEOF();
    if (found) {
        sumChgReq = set.m_SumChgReq;
        sumTodo = set.m_SumTodo;
        sumComment = set.m_SumComment;
    }
    CloseRecordSet(&set);
    return found;
}

int CDBClass::FillProjectCombo(IItemList& combo, int empId, const QString& selected,
                               bool allProjects)
{
    if (!combo.IsValid())
        return -1;
    combo.Clear();
    LoadProjects(m_projects, allProjects ? -1 : empId);
    int index = -1;
    for (const CProjectEntry& p : std::as_const(m_projects)) {
        const int at = combo.AddItem(p.ProjName, p.ProjID);
        if (index < 0 && p.ProjName == selected)
            index = at;
    }
    return SelectIn(combo, index);
}

int CDBClass::FillWorkTypeCombo(IItemList& combo, int selectedId)
{
    if (!combo.IsValid())
        return -1;
    combo.Clear();
    if (m_workTypes.isEmpty())
        LoadWorkTypes();
    int index = -1;
    for (const CWorkTypeEntry& w : std::as_const(m_workTypes)) {
        const int at = combo.AddItem(w.WorkType, w.WorkTypeID);
        if (index < 0 && w.WorkTypeID == selectedId)
            index = at;
    }
    return SelectIn(combo, index);
}

int CDBClass::FillOrderCombo(IItemList& combo, int projId, int selectedId)
{
    if (!combo.IsValid())
        return -1;
    combo.Clear();
    EnsureOrdersOfProject(projId);
    int index = -1;
    for (const COrderEntry& o : std::as_const(m_orders)) {
        if (o.ProjID != projId)
            continue;
        const int at = combo.AddItem(o.OrderCode, o.OrderID);
        if (index < 0 && o.OrderID == selectedId)
            index = at;
    }
    return SelectIn(combo, index);
}

bool CDBClass::FillTaskCombo(IItemList& combo, int& selected, int projId, bool select)
{
    EnsureTasksOfProject(projId);
    if (m_tasks.isEmpty() || !combo.IsValid())
        return false;
    combo.Clear();
    int wanted = -1;
    QString name;
    GetDefaultTaskOfProject(projId, wanted, name, false);
    CProfileStore profile;
    if (profile.value(QStringLiteral("Admin/TaskWrite"), 1).toInt() == 1) {
        // The task last used for the project, when it still belongs to it.
        const int remembered = profile.value(QStringLiteral("Task/%1").arg(projId), -1).toInt();
        if (remembered > 0 && remembered != wanted && IsTaskOfProject(remembered, projId))
            wanted = remembered;
    }
    selected = -1;
    for (const CTaskEntry& t : std::as_const(m_tasks)) {
        if (t.ProjID != projId)
            continue;
        const int at = combo.AddItem(t.Task, t.TaskID);
        if (t.TaskID == wanted && selected < 0)
            selected = at;
    }
    if (select)
        combo.SetCurrentIndex(selected);
    return true;
}

bool CDBClass::FillStatusList(QStringList& names)
{
    OpenConnection();
    CStatusSet set(m_connection.get());
    set.Recordset()->SetSort(QStringLiteral("[StatusOrder]"));
    return ForEachRow(*this, set, [&](CStatusSet& s) { names << s.m_StatusName; });
}

int CDBClass::FillStatusCombo(IItemList& combo, int statusType, int selectedId)
{
    if (!combo.IsValid())
        return -1;
    combo.Clear();
    OpenConnection();
    CStatusSet set(m_connection.get());
    set.Recordset()->SetFilter(QStringLiteral("[StatusType]= ?"), {statusType});
    set.Recordset()->SetSort(QStringLiteral("[StatusOrder]"));
    int index = -1;
    ForEachRow(*this, set, [&](CStatusSet& s) {
        const int at = combo.AddItem(s.m_StatusName, s.m_StatusID);
        if (index < 0 && s.m_StatusID == selectedId)
            index = at;
    });
    return SelectIn(combo, index);
}

int CDBClass::FillCommentTypes(IItemList& combo, const QString& name, bool addAll)
{
    if (!combo.IsValid())
        return -1;
    combo.Clear();
    if (addAll)
        combo.AddItem(QStringLiteral("All"), 0);
    const int commentSwitch = m_timeSheetView ? m_timeSheetView->CommentSwitch() : 0;
    CCommentTypeSet set(m_connection.get());
    int n = 0;
    int chosen = 0;
    const bool opened = ForEachRow(*this, set, [&](CCommentTypeSet& s) {
        ++n;
        const int at = combo.AddItem(s.m_CommentType, n);
        combo.SetItemData(at, n);
        const bool preselect =
            name.isEmpty() ? (commentSwitch == 0 && s.m_CommentType == QLatin1String("ToDo")) ||
                                 (commentSwitch == 1 && s.m_CommentType == QLatin1String("Info"))
                           : s.m_CommentType.compare(name, Qt::CaseInsensitive) == 0;
        if (preselect)
            chosen = n;
    });
    return opened ? chosen : -1;
}

// ---- Time-sheet reads ---------------------------------------------------------------------

bool CDBClass::GetNextTimeId(const CDateTime& date, int empId, int& timeId)
{
    CTimeSheetSet set(m_connection.get());
    set.Recordset()->SetFilter(DayFilterText(), DayFilterValues(empId, date));
    set.Recordset()->SetSort(QStringLiteral("TimeID"));
    int last = -1;
    QSet<int> taken;
    if (!ForEachRow(*this, set, [&](CTimeSheetSet& s) {
            last = s.m_TimeID;
            taken.insert(s.m_TimeID);
        }))
        return false;
    if (last < 0)
        return true;
    // After the highest number there is, the lowest one free.
    if (last < std::numeric_limits<int>::max()) {
        timeId = last + 1;
        return true;
    }
    for (timeId = 1; taken.contains(timeId); ++timeId) {
    }
    return true;
}

bool CDBClass::GetTimeIdOfDay(int& timeId, int empId, const CDateTime& date)
{
    timeId = 1;
    return GetNextTimeId(date, empId, timeId);
}

bool CDBClass::CheckTimeOverlap(const CDateTime& date, int empId, int a, int b, int timeId)
{
    // Only the times of the day's rows: the test runs on every edit.
    const auto rows = OpenRows(
        QStringLiteral("SELECT TimeID, WorkDate, StartTime, StopTime FROM tblTimeSheet WHERE ") +
            DayFilterText(),
        DayFilterValues(empId, date));
    bool clash = false;
    while (rows && !clash && rows->Next()) {
        // The entry being edited never clashes with itself.
        if (rows->IntAt(0) == timeId)
            continue;
        clash = CRowTimes::Read(rows->DateAt(1), rows->DateAt(2), rows->DateAt(3))
                    .Overlaps(qMin(a, b), qMax(a, b));
    }
    if (rows && !clash)
        RowsRead(*rows);
    return clash;
}

bool CDBClass::FindOverlappingEntry(CTimeSheetSet* set, const CDateTime& date, int empId, int a,
                                    int b, int& outStop, int timeId, int includeOwn)
{
    std::unique_ptr<CTimeSheetSet> own;
    if (!set) {
        own = std::make_unique<CTimeSheetSet>(m_connection.get());
        set = own.get();
    }
    set->Close();
    set->Recordset()->SetFilter(DayFilterText(), DayFilterValues(empId, date));
    bool clash = false;
    ForEachRow(*this, *set, [&](CTimeSheetSet& s) {
        if (clash || (s.m_TimeID == timeId && includeOwn != 1))
            return;
        const CRowTimes row = CRowTimes::Read(s.m_WorkDate, s.m_StartTime, s.m_StopTime);
        // A row without times lies nowhere on the day.
        if (!row.HasTimes())
            return;
        outStop = row.stop;
        clash = row.Overlaps(a, b);
    });
    CloseRecordSet(set, true);
    return clash;
}

// ---- Companies, contacts, change requests ------------------------------------------------

bool CDBClass::GetCompanyById(int companyId, CCompanyDetailSet& company)
{
    company.Recordset()->SetFilter(QStringLiteral("[CompanyID] = ?"), {companyId});
    if (!OpenRecordSet(&company))
        return false;
    const bool found = !company.Recordset()->IsEOF();
    CloseRecordSet(&company);
    return found;
}

int CDBClass::GetCompanyIdByName(const QString& name)
{
    CCompanyDetailSet set(m_connection.get());
    set.Recordset()->SetFilter(QStringLiteral("[CompanyName]=?"), {name});
    int id = -1;
    ForEachRow(*this, set, [&](CCompanyDetailSet& s) {
        if (id < 0)
            id = s.m_Company_ID;
    });
    return id;
}

bool CDBClass::GetCompanyNameById(int companyId, QString& name)
{
    CAddrCompanySet set(m_connection.get());
    set.Recordset()->SetFilter(QStringLiteral("[CompanyID]=?"), {companyId});
    if (!OpenTableWithQuery(&set, set.Recordset()->Filter(), QStringLiteral("[CompanyID]")))
        return false;
    const bool found = !set.Recordset()->IsEOF();
    name = found ? set.m_CompanyName : QString();
    CloseRecordSet(&set);
    return found;
}

bool CDBClass::GetProjectCompany(IItemList& combo, int& companyId, int projId)
{
    if (projId >= 0) {
        CProjectSet project(m_connection.get());
        project.Recordset()->SetFilter(QStringLiteral("[ProjID]=?"), {projId});
        ForEachRow(*this, project, [&](CProjectSet& s) { companyId = s.m_CompanyID; });
    }
    if (!combo.IsValid())
        return false;
    combo.Clear();
    CCompanyDetailSet set(m_connection.get());
    set.Recordset()->SetSort(QStringLiteral("[CompanyName]"));
    int index = -1;
    const bool ok = ForEachRow(*this, set, [&](CCompanyDetailSet& s) {
        const int at = combo.AddItem(s.m_Company_Name, s.m_Company_ID);
        if (index < 0 && s.m_Company_ID == companyId)
            index = at;
    });
    combo.SetCurrentIndex(index);
    return ok;
}

int CDBClass::FillCompanyContacts(IItemList& combo, int companyId, const QString& selected)
{
    if (!combo.IsValid())
        return -1;
    combo.Clear();
    CAddrPersonListSet set(m_connection.get());
    if (companyId >= 0)
        set.Recordset()->SetFilter(QStringLiteral("[CompanyID]=?"), {companyId});
    int index = -1;
    ForEachRow(*this, set, [&](CAddrPersonListSet& s) {
        const QString name = s.m_FirstName.isEmpty()
                                 ? s.m_FullName
                                 : s.m_FirstName + QLatin1Char(' ') + s.m_LastName;
        const int at = combo.AddItem(name, s.m_PersonID);
        if (index < 0 && name.compare(selected, Qt::CaseInsensitive) == 0)
            index = at;
    });
    return SelectIn(combo, index);
}

bool CDBClass::GetSetupCompany(QString& name)
{
    CCompanySet set(m_connection.get());
    bool found = false;
    ForEachRow(*this, set, [&](CCompanySet& s) {
        if (!found)
            name = s.m_CompanyName;
        found = true;
    });
    return found;
}

int CDBClass::FillBusinessTypeCombo(IItemList& combo, int selectedId)
{
    if (!combo.IsValid())
        return -1;
    combo.Clear();
    CBusTypeSet set(m_connection.get());
    set.Recordset()->SetSort(QStringLiteral("[BusinessType]"));
    int index = -1;
    if (!ForEachRow(*this, set, [&](CBusTypeSet& s) {
            const int at = combo.AddItem(s.m_BusinessType, s.m_BusinessTypeID);
            if (index < 0 && s.m_BusinessTypeID == selectedId)
                index = at;
        })) {
        ShowMessageBox(QStringLiteral("Unable to open Business Types lookup table"),
                       kMbOk | kMbIconError);
        return -1;
    }
    return SelectIn(combo, index);
}

bool CDBClass::FillBusinessTypeList(IItemList& list, const QList<int>& ids, QList<int>& indexes)
{
    if (!list.IsValid())
        return false;
    list.Clear();
    CBusTypeSet set(m_connection.get());
    set.Recordset()->SetSort(QStringLiteral("[BusinessType]"));
    if (!ForEachRow(*this, set, [&](CBusTypeSet& s) {
            const int at = list.AddItem(s.m_BusinessType, s.m_BusinessTypeID);
            if (ids.contains(s.m_BusinessTypeID))
                indexes << at;
        })) {
        ShowMessageBox(QStringLiteral("Unable to open Business Types lookup table"),
                       kMbOk | kMbIconError);
        return false;
    }
    return true;
}

bool CDBClass::GetCompanyBusinessTypes(int companyId, QStringList& ids)
{
    QList<int> counts;
    return AddStrings(
        QStringLiteral(
            "SELECT BusinessTypeID from qselAddrCompanyBusinessTypes WHERE companyID= ?"),
        ids, false, counts, {companyId});
}

bool CDBClass::DeleteCompanyBusinessTypes(int companyId)
{
    if (!EnsureConnected())
        return false;
    CDbError error;
    // One statement: all the company's links go, or none.
    if (CSqlExecutor::Run(*m_connection,
                          QStringLiteral("DELETE FROM tblAddrBusinessType WHERE CompanyID = ?"),
                          {companyId}, nullptr, &error))
        return true;
    return ReportError(error);
}

bool CDBClass::AddCompanyBusinessType(int companyId, int businessTypeId)
{
    OpenConnection();
    CAddrBusinessTypeSet set(m_connection.get());
    set.ClearStatus();
    set.m_CompanyID = companyId;
    set.m_BusinessTypeID = businessTypeId;
    return set.Recordset()->CheckAddNew();
}

bool CDBClass::FillChgReqActions(int chgReqId, QStringList& comments)
{
    CChgRqstActionSet set(m_connection.get());
    set.Recordset()->SetFilter(QStringLiteral("[ChgReqID] =?"), {chgReqId});
    if (!ForEachRow(*this, set, [&](CChgRqstActionSet& s) { comments << s.m_Comment; })) {
        ShowMessageBox(QStringLiteral("Unable to open Change Request Action table"),
                       kMbOk | kMbIconError);
        return false;
    }
    return true;
}

bool CDBClass::FillChgReqTeam(int chgReqId, QString& text)
{
    CChgrqstTeamSet set(m_connection.get());
    set.Recordset()->SetFilter(QStringLiteral("[ChgReqID] =?"), {chgReqId});
    QList<int> members;
    if (!ForEachRow(*this, set, [&](CChgrqstTeamSet& s) { members << s.m_EmpID; }))
        return false;
    for (int empId : std::as_const(members)) {
        if (!text.isEmpty())
            text += QStringLiteral(", ");
        text += GetEmpFullName(empId);
    }
    return true;
}

bool CDBClass::AddChgReqAction(int chgReqId, const QString& comment, int empId)
{
    // The request held while its action is written: a delete of it under
    // way ends first, and then there is nothing to write the action to.
    CQueryResult request;
    if (!CSqlExecutor::Run(*m_connection,
                           QStringLiteral("SELECT ChgReqID FROM tblChgReq WHERE ChgReqID = ?") +
                               Dialect().RowLockClause(CSqlDialect::RowLock::ForKeyShare),
                           {chgReqId}, &request, nullptr)) {
        ShowMessageBox(QStringLiteral("Error updating action for change request %1").arg(chgReqId),
                       kMbOk | kMbIconError);
        return false;
    }
    if (request.rows == 0) {
        ShowMessageBox(QStringLiteral("Change request %1 does not exist anymore - another user may "
                                      "have deleted it")
                           .arg(chgReqId),
                       kMbOk | kMbIconWarning);
        return false;
    }
    CChgRqstActionSet set(m_connection.get());
    set.ClearFields();
    set.ClearStatus();
    set.m_ChgReqID = chgReqId;
    set.m_EmpID = empId;
    set.m_DateAssigned = CDateTime::CurrentDateTime();
    set.Descriptor(6).status = adFldNull; // DateComplete stays empty
    set.m_Comment = comment;
    set.m_StatusID = 6;
    return set.Recordset()->CheckAddNew();
}
