// The facade's caches: loaders, first-match lookups and the day cache.
#include "data/DBClass.h"

#include "data/BindingSet.h"
#include "data/records/EmployeeSet.h"
#include "data/records/ProjStateSet.h"
#include "data/records/TimeSheetSet.h"

#include <algorithm>

namespace {

bool Flag(const QVariant& v)
{
    return v.toLongLong() != 0;
}

int IntOr(const QVariant& v, int fallback)
{
    return v.isNull() ? fallback : v.toInt();
}

} // namespace

bool CDBClass::LoadProjects(QList<CProjectEntry>& list, int empId)
{
    if (!list.isEmpty() && empId > 0 && list.first().EmpID == empId)
        return true;
    CQueryResult rows;
    const bool ok =
        empId >= 0
            ? RunRows(
                  QStringLiteral("SELECT ProjName, ProjID, ProjColour FROM qselProjTeamAndProject "
                                 "WHERE EmpID = ? ORDER BY ProjName"),
                  {empId}, &rows)
            : RunRows(QStringLiteral(
                          "SELECT ProjName, ProjID, ProjColour FROM tblProject ORDER BY ProjName"),
                      {}, &rows);
    if (!ok)
        return false;
    QList<CProjectEntry> loaded;
    loaded.reserve(rows.rows);
    for (int r = 0; r < rows.rows; ++r) {
        CProjectEntry e;
        e.ProjName = rows.Value(r, 0).toString();
        e.ProjID = rows.Value(r, 1).toInt();
        e.EmpID = empId;
        e.ProjColour = rows.Value(r, 2).toInt();
        loaded << e;
    }
    list = loaded;
    return true;
}

bool CDBClass::LoadWorkTypes()
{
    m_workTypes.clear();
    CQueryResult rows;
    if (!RunRows(
            QStringLiteral(
                "SELECT WorkTypeID, WorkType, WorkColour FROM tlkpWorkType ORDER BY WorkTypeID"),
            {}, &rows))
        return false;
    for (int r = 0; r < rows.rows; ++r)
        m_workTypes << CWorkTypeEntry{rows.Value(r, 1).toString(), rows.Value(r, 0).toInt(),
                                      rows.Value(r, 2).toInt()};
    return true;
}

bool CDBClass::LoadOrders()
{
    m_orders.clear();
    CQueryResult rows;
    if (!RunRows(
            QStringLiteral("SELECT orderID, OrderCode, isdefault, orderHourRate, projID, IsDone "
                           "FROM tblProjectOrderBook ORDER BY OrderID"),
            {}, &rows))
        return false;
    for (int r = 0; r < rows.rows; ++r)
        m_orders << COrderEntry{rows.Value(r, 1).toString(), rows.Value(r, 0).toInt(),
                                rows.Value(r, 3).toDouble(), rows.Value(r, 4).toInt(),
                                Flag(rows.Value(r, 2)),      Flag(rows.Value(r, 5))};
    return true;
}

bool CDBClass::LoadTasks(const QString& clause)
{
    m_tasks.clear();
    QString sql = QStringLiteral(
        "SELECT taskID, task, taskOrder, isdefault, state, orderID,DefaultWorkTypeID,projid, "
        "comment FROM qselProjectTask");
    if (!clause.isEmpty())
        sql += QLatin1Char(' ') + clause;
    if (!clause.contains(QLatin1String("ORDER BY"), Qt::CaseInsensitive))
        sql += QStringLiteral(" ORDER BY TaskID");
    CQueryResult rows;
    if (!RunRows(sql, {}, &rows))
        return false;
    for (int r = 0; r < rows.rows; ++r) {
        CTaskEntry t;
        t.TaskID = rows.Value(r, 0).toInt();
        t.Task = rows.Value(r, 1).toString();
        t.TaskOrder = rows.Value(r, 2).toString();
        t.IsDefault = Flag(rows.Value(r, 3));
        t.State = rows.Value(r, 4).toInt();
        t.OrderID = IntOr(rows.Value(r, 5), -1);
        t.DefaultWorkTypeID = IntOr(rows.Value(r, 6), -1);
        t.ProjID = rows.Value(r, 7).toInt();
        t.Comment = rows.Value(r, 8).toString();
        m_tasks << t;
    }
    return true;
}

bool CDBClass::LoadWorkData(bool withOrders, bool withTasks, const QString& taskClause)
{
    // One statement after another: work types, then orders and tasks.
    bool ok = LoadWorkTypes();
    if (withOrders)
        ok = LoadOrders() && ok;
    if (withTasks)
        ok = LoadTasks(taskClause) && ok;
    return ok;
}

bool CDBClass::LoadTaskOrdersForEmp(int empId)
{
    if (GetProviderKind() != kProviderPostgres)
        return false;
    CQueryResult rows;
    if (!RunRows(Dialect().ProcedureCall(QStringLiteral("sp_projectTaskOrdersGetByEmpID"), 1),
                 {empId}, &rows))
        return false;
    m_orders.clear();
    for (int r = 0; r < rows.rows; ++r)
        m_orders << COrderEntry{rows.Value(r, 0).toString(), rows.Value(r, 1).toInt(),
                                rows.Value(r, 3).toDouble(), rows.Value(r, 4).toInt(),
                                Flag(rows.Value(r, 2)),      Flag(rows.Value(r, 5))};
    return true;
}

bool CDBClass::LoadProjectStates()
{
    m_projectStates.clear();
    CProjStateSet set(m_connection.get());
    if (!OpenRecordSet(&set))
        return false;
    while (!set.Recordset()->IsBOF() && !set.Recordset()->IsEOF()) {
        m_projectStates << CProjectStateEntry{set.m_PS_ID, set.m_StateName};
        set.MoveNext();
    }
    CloseRecordSet(&set);
    return true;
}

bool CDBClass::LoadEmployees()
{
    m_employees.clear();
    CEmployeeSet set(m_connection.get());
    set.Recordset()->SetSort(QStringLiteral("EmpFullName"));
    if (!OpenRecordSet(&set))
        return false;
    while (!set.Recordset()->IsBOF() && !set.Recordset()->IsEOF()) {
        CEmployeeEntry e;
        e.EmpFullName = set.m_EmpFullName;
        e.EmpID = set.m_EmpID;
        e.SecLevel = set.m_SecLevel;
        e.HourRateFactor = set.m_HourRateFactor;
        e.NTUserName = set.m_NTUserName;
        e.Email = set.m_Email;
        e.IsCurrent = set.m_IsCurrent;
        e.DeptID = set.IsNull(23) ? 1 : set.m_DeptID;
        e.EmpRef = set.m_EmpRef;
        m_employees << e;
        set.MoveNext();
    }
    CloseRecordSet(&set);
    // Kept in the order of the names as this program compares them.
    std::stable_sort(m_employees.begin(), m_employees.end(),
                     [](const CEmployeeEntry& a, const CEmployeeEntry& b) {
                         return a.EmpFullName < b.EmpFullName;
                     });
    return true;
}

// ---- Employees --------------------------------------------------------------------

int CDBClass::GetEmpIdByName(const QString& name)
{
    const QString wanted = name.isEmpty() ? m_currentUser : name;
    for (int pass = 0; pass < 2; ++pass) {
        for (const CEmployeeEntry& e : std::as_const(m_employees))
            if (e.EmpFullName == wanted)
                return e.EmpID;
        // Only a miss reads the table again, and only once.
        if (pass == 0 && !LoadEmployees())
            break;
    }
    return -1;
}

int CDBClass::FindEmpIdByName(const QString& loginName)
{
    const QString wanted = loginName.isEmpty() && m_host ? m_host->LoginName() : loginName;
    // Login names compare ignoring case, as the desktop treats them.
    for (const CEmployeeEntry& e : std::as_const(m_employees))
        if (!wanted.isEmpty() && e.NTUserName.compare(wanted, Qt::CaseInsensitive) == 0)
            return e.EmpID;
    return -1;
}

bool CDBClass::GetEmpDeptIdByName(const QString& loginName, int& deptId)
{
    for (const CEmployeeEntry& e : std::as_const(m_employees)) {
        if (e.NTUserName.compare(loginName, Qt::CaseInsensitive) == 0) {
            deptId = e.DeptID;
            return true;
        }
    }
    return false;
}

bool CDBClass::GetEmpDeptId(int empId, int& deptId)
{
    for (const CEmployeeEntry& e : std::as_const(m_employees)) {
        if (e.EmpID == empId) {
            deptId = e.DeptID;
            return true;
        }
    }
    deptId = -1;
    return false;
}

bool CDBClass::GetEmpNameById(int empId, QString& name)
{
    for (const CEmployeeEntry& e : std::as_const(m_employees)) {
        if (e.EmpID == empId) {
            name = e.EmpFullName;
            return true;
        }
    }
    name.clear();
    return false;
}

bool CDBClass::GetEmpRateFactor(int empId, double& factor)
{
    if (m_employees.isEmpty())
        LoadEmployees();
    for (const CEmployeeEntry& e : std::as_const(m_employees)) {
        if (e.EmpID == empId) {
            factor = e.HourRateFactor;
            return true;
        }
    }
    factor = 1.0;
    return false;
}

int CDBClass::CountActiveEmployees()
{
    return static_cast<int>(std::count_if(m_employees.cbegin(), m_employees.cend(),
                                          [](const CEmployeeEntry& e) { return e.IsCurrent; }));
}

void CDBClass::ClearEmployeeMap()
{
    m_employees.clear();
}

bool CDBClass::LoadCurrentUser()
{
    m_currentUser = m_host ? m_host->ApplicationUserName() : QString();
    return !m_currentUser.isEmpty();
}

// ---- Work types, orders, tasks ------------------------------------------------------

bool CDBClass::GetWorkTypeIdByName(const QString& name, int& id)
{
    for (const CWorkTypeEntry& w : std::as_const(m_workTypes)) {
        if (w.WorkType.compare(name, Qt::CaseInsensitive) == 0) {
            id = w.WorkTypeID;
            return true;
        }
    }
    id = -1;
    return false;
}

QString CDBClass::GetWorkTypeName(int workTypeId)
{
    if (m_workTypes.isEmpty())
        LoadWorkTypes();
    for (const CWorkTypeEntry& w : std::as_const(m_workTypes))
        if (w.WorkTypeID == workTypeId)
            return w.WorkType;
    return QString();
}

QString CDBClass::GetWorkTypeNameReload(int workTypeId)
{
    for (int pass = 0; pass < 2; ++pass) {
        for (const CWorkTypeEntry& w : std::as_const(m_workTypes))
            if (w.WorkTypeID == workTypeId)
                return w.WorkType;
        if (pass == 0 && !LoadWorkTypes())
            break;
    }
    return QString();
}

bool CDBClass::GetTaskWorkType(int projId, int taskId, QString& name, int& workTypeId)
{
    if (m_tasks.isEmpty())
        LoadTasks();
    for (const CTaskEntry& t : std::as_const(m_tasks)) {
        if (t.TaskID != taskId || t.ProjID != projId)
            continue;
        workTypeId = t.DefaultWorkTypeID;
        name = GetWorkTypeName(workTypeId);
        if (name.isEmpty() && !m_workTypes.isEmpty()) {
            // No work type of its own: the first of the list.
            workTypeId = m_workTypes.first().WorkTypeID;
            name = m_workTypes.first().WorkType;
        }
        return true;
    }
    return false;
}

QString CDBClass::GetOrderCode(int orderId)
{
    if (m_orders.isEmpty())
        LoadOrders();
    for (const COrderEntry& o : std::as_const(m_orders))
        if (o.OrderID == orderId)
            return o.OrderCode;
    return QString();
}

bool CDBClass::GetOrderCodeForProject(int orderId, int projId, QString& code, bool skipDone)
{
    if (m_orders.isEmpty())
        LoadOrders();
    for (const COrderEntry& o : std::as_const(m_orders)) {
        if (o.OrderID == orderId && o.ProjID == projId && !(skipDone && o.IsDone)) {
            code = o.OrderCode;
            return true;
        }
    }
    return false;
}

bool CDBClass::GetOrderCodeAndRate(int projId, int orderId, double& rate, QString& code)
{
    if (m_orders.isEmpty())
        LoadOrders();
    for (const COrderEntry& o : std::as_const(m_orders)) {
        if (o.OrderID == orderId && o.ProjID == projId) {
            rate = o.OrderHourRate;
            code = o.OrderCode;
            return true;
        }
    }
    rate = 0;
    // The order may be new since the cache was filled.
    LoadOrders();
    return false;
}

int CDBClass::GetOrderIdByCode(const QString& code, int projId)
{
    if (m_orders.isEmpty())
        LoadOrders();
    for (const COrderEntry& o : std::as_const(m_orders))
        if (o.ProjID == projId && o.OrderCode.compare(code, Qt::CaseInsensitive) == 0)
            return o.OrderID;
    return -1;
}

bool CDBClass::GetDefaultOrderOfProject(int projId, QString& code, int& orderId, double& rate)
{
    if (m_orders.isEmpty())
        LoadOrders();
    const COrderEntry* found = nullptr;
    for (const COrderEntry& o : std::as_const(m_orders))
        if (o.ProjID == projId && o.IsDefault) {
            found = &o;
            break;
        }
    if (!found)
        for (const COrderEntry& o : std::as_const(m_orders))
            if (o.ProjID == projId && !o.IsDone) {
                found = &o;
                break;
            }
    if (!found)
        return false;
    code = found->OrderCode;
    orderId = found->OrderID;
    rate = found->OrderHourRate;
    return true;
}

bool CDBClass::GetProjectOrder(int projId, QString& code, int& orderId, double& rate)
{
    if (GetDefaultOrderOfProject(projId, code, orderId, rate))
        return true;
    for (const COrderEntry& o : std::as_const(m_orders)) {
        if (o.ProjID == projId) {
            code = o.OrderCode;
            orderId = o.OrderID;
            rate = o.OrderHourRate;
            return true;
        }
    }
    return false;
}

QString CDBClass::GetTaskName(int taskId)
{
    if (m_tasks.isEmpty())
        LoadTasks();
    for (const CTaskEntry& t : std::as_const(m_tasks))
        if (t.TaskID == taskId)
            return t.Task;
    return QString();
}

QString CDBClass::GetTaskNameForProject(int taskId, int projId)
{
    if (m_tasks.isEmpty())
        LoadTasks();
    for (const CTaskEntry& t : std::as_const(m_tasks))
        if (t.TaskID == taskId && t.ProjID == projId)
            return t.Task;
    return QString();
}

bool CDBClass::IsTaskOfProject(int taskId, int projId)
{
    if (m_tasks.isEmpty())
        LoadTasks();
    return std::any_of(m_tasks.cbegin(), m_tasks.cend(), [&](const CTaskEntry& t) {
        return t.TaskID == taskId && t.ProjID == projId;
    });
}

int CDBClass::GetTaskIdByName(const QString& name)
{
    if (m_tasks.isEmpty())
        LoadTasks();
    for (const CTaskEntry& t : std::as_const(m_tasks))
        if (t.Task == name)
            return t.TaskID;
    return -1;
}

int CDBClass::GetTaskIdFromName(const QString& name, int projId)
{
    if (m_tasks.isEmpty())
        LoadTasks();
    for (const CTaskEntry& t : std::as_const(m_tasks))
        if (t.ProjID == projId && t.Task == name)
            return t.TaskID;
    return -1;
}

void CDBClass::GetDefaultTaskOfProject(int projId, int& taskId, QString& taskName, bool any)
{
    if (m_tasks.isEmpty())
        LoadTasks();
    // The first task marked default wins; else the last that qualifies.
    for (const CTaskEntry& t : std::as_const(m_tasks)) {
        if (t.ProjID != projId || !(any || t.IsDefault || t.State == 2))
            continue;
        taskId = t.TaskID;
        taskName = t.Task;
        if (t.IsDefault)
            break;
    }
}

// ---- Projects and states --------------------------------------------------------------

const CProjectEntry* CDBClass::FindProjectInCache(int projId)
{
    for (const CProjectEntry& p : std::as_const(m_projects))
        if (p.ProjID == projId)
            return &p;
    return nullptr;
}

bool CDBClass::GetProjectNameFromList(QString& name, const QList<CProjectEntry>& list, int projId,
                                      int empId)
{
    const QList<CProjectEntry>* source = &list;
    QList<CProjectEntry> all;
    if (empId == -1) {
        source = &m_projects;
    } else if (empId == -2) {
        if (!LoadProjects(all, -2))
            return false;
        source = &all;
    }
    for (const CProjectEntry& p : *source) {
        if (p.ProjID == projId) {
            name = p.ProjName;
            return true;
        }
    }
    return false;
}

QString CDBClass::GetProjectName(int projId)
{
    if (const CProjectEntry* p = FindProjectInCache(projId))
        return p->ProjName;
    return GetProjNameById(projId);
}

bool CDBClass::GetProjectCacheValue(int projId, int& value)
{
    for (const CProjectEntry& p : std::as_const(m_projects)) {
        if (p.ProjID == projId) {
            value = p.CompanyID;
            return true;
        }
    }
    return false;
}

bool CDBClass::SetProjectCacheValue(int projId, int value)
{
    for (CProjectEntry& p : m_projects) {
        if (p.ProjID == projId) {
            p.CompanyID = value;
            return true;
        }
    }
    return false;
}

bool CDBClass::GetProjectStateName(int psId, QString& name)
{
    for (const CProjectStateEntry& s : std::as_const(m_projectStates)) {
        if (s.PS_ID == psId) {
            name = s.StateName;
            return true;
        }
    }
    return false;
}

bool CDBClass::LookupProjectStateName(int psId, QString& name)
{
    if (GetProjectStateName(psId, name))
        return true;
    if (LoadProjectStates() && GetProjectStateName(psId, name))
        return true;
    return false;
}

// ---- The day cache -------------------------------------------------------------------------

QString CDBClass::DayFilter(int empId, const CDateTime& date) const
{
    return QStringLiteral("[EmpID] = %1 AND  [WorkDate] = %2").arg(empId).arg(FormatSqlDate(date));
}

bool CDBClass::LoadDayTimeSheets(const CDateTime& date, int empId)
{
    if (IsDayKey(date, empId))
        return true;
    m_day.clear();
    CTimeSheetSet set(m_connection.get());
    set.Recordset()->SetFilter(DayFilter(empId, date));
    set.Recordset()->SetSort(QStringLiteral("[TimeID]"));
    if (!OpenRecordSet(&set))
        return false;
    SetDayKey(date, empId);
    const bool any = !set.Recordset()->IsEOF();
    while (!set.Recordset()->IsBOF() && !set.Recordset()->IsEOF()) {
        CTimeSheetEntry e;
        e.EmpID = set.m_EmpID;
        e.ProjID = set.m_ProjID;
        e.OrderID = set.m_OrderID;
        e.TaskID = set.m_TaskID;
        e.WorkTypeID = set.m_WorkTypeID;
        e.TimeID = set.m_TimeID;
        e.ObjectTypeID = set.IsNull(14) ? QVariant() : QVariant(set.m_ObjectTypeID);
        e.ObjectID = set.IsNull(15) ? QVariant() : QVariant(set.m_ObjectID);
        e.InvID = set.IsNull(13) ? QVariant() : QVariant(set.m_InvID);
        e.StartTime = set.m_StartTime;
        e.StopTime = set.m_StopTime;
        e.WorkDate = set.m_WorkDate;
        e.HoursWorked = set.m_HoursWorked;
        e.Comment = set.m_Comment;
        m_day << e;
        set.MoveNext();
    }
    CloseRecordSet(&set);
    return any;
}

bool CDBClass::EnsureDayLoaded(int empId, const QDate& day, bool force)
{
    const CDateTime date(day);
    if (force || m_day.isEmpty() || !IsDayKey(date, empId))
        ResetDayKey();
    LoadDayTimeSheets(date, empId);
    return !m_day.isEmpty();
}

bool CDBClass::SetDayKey(const CDateTime& date, int empId)
{
    m_dayDate = CDateTime(date.Date());
    m_dayEmpId = empId;
    return true;
}

bool CDBClass::IsDayKey(const CDateTime& date, int empId) const
{
    return m_dayEmpId == empId && m_dayDate.IsValid() && m_dayDate.Date() == date.Date();
}

bool CDBClass::ResetDayKey()
{
    m_dayDate = CDateTime();
    m_dayEmpId = -1;
    return true;
}

bool CDBClass::IsTimeIdInDayCache(int timeId) const
{
    return std::any_of(m_day.cbegin(), m_day.cend(),
                       [timeId](const CTimeSheetEntry& e) { return e.TimeID == timeId; });
}

bool CDBClass::UpdateDayEntry(bool update, const CTimeSheetEntry& values)
{
    if (!update) {
        m_day << values;
        return false;
    }
    for (CTimeSheetEntry& e : m_day) {
        if (e.TimeID == values.TimeID && e.EmpID == values.EmpID &&
            e.WorkDate.Date() == values.WorkDate.Date()) {
            e = values;
            return true;
        }
    }
    return false;
}

bool CDBClass::RemoveDayEntry(int timeId)
{
    for (qsizetype i = 0; i < m_day.size(); ++i) {
        if (m_day.at(i).TimeID == timeId) {
            m_day.removeAt(i);
            return true;
        }
    }
    return false;
}

bool CDBClass::FindDayEntry(int timeId, int& objectId, int empId, const CDateTime& date)
{
    if (m_day.isEmpty())
        LoadDayTimeSheets(date, empId);
    for (const CTimeSheetEntry& e : std::as_const(m_day)) {
        if (e.TimeID == timeId) {
            if (!e.ObjectID.isNull())
                objectId = e.ObjectID.toInt();
            return true;
        }
    }
    return false;
}

bool CDBClass::FindDayEntryForKey(CTimeSheetEntry& entry, int timeId, int empId,
                                  const CDateTime& date)
{
    if (m_day.isEmpty() || m_day.first().EmpID != empId ||
        m_day.first().WorkDate.Date() != date.Date()) {
        ResetDayKey();
        LoadDayTimeSheets(date, empId);
    }
    for (const CTimeSheetEntry& e : std::as_const(m_day)) {
        if (e.TimeID == timeId) {
            entry = e;
            return true;
        }
    }
    return false;
}

bool CDBClass::FindDayEntryMatch(CTimeSheetEntry& entry, int projId, int timeId, int empId,
                                 const CDateTime& date)
{
    EnsureDayLoaded(empId, date.Date(), false);
    for (const CTimeSheetEntry& e : std::as_const(m_day)) {
        if (e.EmpID == empId && e.WorkDate.Date() == date.Date() && e.TimeID == timeId &&
            e.ProjID == projId) {
            entry = e;
            return true;
        }
    }
    return false;
}
