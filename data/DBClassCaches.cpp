// The facade's caches: loaders, first-match lookups and the day cache.
#include "data/DBClass.h"

#include "data/BindingSet.h"
#include "data/RowCursor.h"
#include "data/records/EmployeeSet.h"
#include "data/records/ProjStateSet.h"
#include "data/records/TimeSheetSet.h"

#include <algorithm>

namespace {

bool Flag(const CRowCursor& rows, int column)
{
    return rows.IntAt(column) != 0;
}

} // namespace

std::unique_ptr<CRowCursor> CDBClass::OpenRows(const QString& sql, const QVariantList& params)
{
    if (!EnsureConnected())
        return nullptr;
    CDbError error;
    auto rows = CSqlExecutor::OpenCursor(*m_connection, sql, params, &error);
    if (!rows)
        ReportError(error);
    return rows;
}

bool CDBClass::RowsRead(const CRowCursor& rows)
{
    return rows.Failed() ? ReportError(rows.Error()) : true;
}

bool CDBClass::LoadProjects(QList<CProjectEntry>& list, int empId)
{
    if (!list.isEmpty() && empId > 0 && list.first().EmpID == empId)
        return true;
    const auto rows =
        empId >= 0
            ? OpenRows(
                  QStringLiteral("SELECT ProjName, ProjID, ProjColour FROM qselProjTeamAndProject "
                                 "WHERE EmpID = ? ORDER BY ProjName"),
                  {empId})
            : OpenRows(QStringLiteral(
                           "SELECT ProjName, ProjID, ProjColour FROM tblProject ORDER BY ProjName"),
                       {});
    if (!rows)
        return false;
    QList<CProjectEntry> loaded;
    loaded.reserve(list.size()); // a list read again is about as long
    while (rows->Next()) {
        CProjectEntry e;
        e.ProjName = rows->TextAt(0);
        e.ProjID = rows->IntAt(1);
        e.EmpID = empId;
        e.ProjColour = rows->IntAt(2);
        loaded << e;
    }
    if (!RowsRead(*rows))
        return false;
    list = loaded;
    return true;
}

bool CDBClass::ReloadProjects(int empId)
{
    QList<CProjectEntry> read;
    if (!LoadProjects(read, empId))
        return false;
    m_projects = std::move(read);
    return true;
}

bool CDBClass::LoadWorkTypes()
{
    const auto rows = OpenRows(
        QStringLiteral(
            "SELECT WorkTypeID, WorkType, WorkColour FROM tlkpWorkType ORDER BY WorkTypeID"),
        {});
    if (!rows)
        return false;
    // What was read before stays until the list is read whole.
    QList<CWorkTypeEntry> read;
    while (rows->Next())
        read << CWorkTypeEntry{rows->TextAt(1), rows->IntAt(0), rows->IntAt(2)};
    if (!RowsRead(*rows))
        return false;
    m_workTypes = std::move(read);
    return true;
}

bool CDBClass::ReadOrders(const QString& clause, const QVariantList& values,
                          QList<COrderEntry>& out)
{
    const auto rows =
        OpenRows(QStringLiteral("SELECT orderID, OrderCode, isdefault, orderHourRate, projID, "
                                "IsDone FROM tblProjectOrderBook %1 ORDER BY OrderID")
                     .arg(clause),
                 values);
    if (!rows)
        return false;
    while (rows->Next())
        out << COrderEntry{rows->TextAt(1), rows->IntAt(0), rows->DoubleAt(3),
                           rows->IntAt(4),  Flag(*rows, 2), Flag(*rows, 5)};
    return RowsRead(*rows);
}

bool CDBClass::LoadOrders()
{
    m_orders.clear();
    m_orderProjects.clear();
    m_orderScope = OrderScope::All;
    return ReadOrders(QString(), {}, m_orders);
}

bool CDBClass::LoadOrdersOfProjects(const QList<int>& projIds)
{
    m_orders.clear();
    m_orderProjects.clear();
    m_orderScope = OrderScope::Projects;
    QStringList marks;
    QVariantList values;
    for (int id : projIds) {
        if (m_orderProjects.contains(id))
            continue;
        m_orderProjects.insert(id);
        marks << QStringLiteral("?");
        values << id;
    }
    if (marks.isEmpty() ||
        ReadOrders(QStringLiteral("WHERE ProjID IN (%1)").arg(marks.join(QLatin1Char(','))), values,
                   m_orders))
        return true;
    // Half a list would pass for all of the projects' orders.
    m_orders.clear();
    m_orderScope = OrderScope::None;
    m_orderProjects.clear();
    return false;
}

bool CDBClass::EnsureOrdersOfProject(int projId)
{
    if (m_orderScope != OrderScope::Projects)
        return m_orders.isEmpty() && LoadOrders();
    if (m_orderProjects.contains(projId))
        return false;
    QList<COrderEntry> more;
    if (!ReadOrders(QStringLiteral("WHERE ProjID = ?"), {projId}, more))
        return false;
    m_orderProjects.insert(projId);
    m_orders << more;
    return true;
}

void CDBClass::ReadOrdersOfOrder(int orderId)
{
    bool found = false;
    int projId = -1;
    if (auto rows = OpenRows(
            QStringLiteral("SELECT ProjID FROM tblProjectOrderBook WHERE OrderID = ?"), {orderId});
        rows && rows->Next()) {
        found = true;
        projId = rows->IntAt(0);
    }
    // An order that is gone, or one newer than its project's list: all are read.
    if (!found || m_orderProjects.contains(projId))
        LoadOrders();
    else
        EnsureOrdersOfProject(projId);
}

bool CDBClass::ReadTasks(const QString& clause, const QVariantList& values, QList<CTaskEntry>& out)
{
    QString sql = QStringLiteral(
        "SELECT taskID, task, taskOrder, isdefault, state, orderID,DefaultWorkTypeID,projid, "
        "comment FROM qselProjectTask");
    if (!clause.isEmpty())
        sql += QLatin1Char(' ') + clause;
    if (!clause.contains(QLatin1String("ORDER BY"), Qt::CaseInsensitive))
        sql += QStringLiteral(" ORDER BY TaskID");
    const auto rows = OpenRows(sql, values);
    if (!rows)
        return false;
    while (rows->Next()) {
        CTaskEntry t;
        t.TaskID = rows->IntAt(0);
        t.Task = rows->TextAt(1);
        t.TaskOrder = rows->TextAt(2);
        t.IsDefault = Flag(*rows, 3);
        t.State = rows->IntAt(4);
        t.OrderID = rows->IntAt(5, -1);
        t.DefaultWorkTypeID = rows->IntAt(6, -1);
        t.ProjID = rows->IntAt(7);
        t.Comment = rows->TextAt(8);
        out << t;
    }
    return RowsRead(*rows);
}

bool CDBClass::LoadTasks(const QString& clause)
{
    m_tasks.clear();
    m_taskProjects.clear();
    m_taskScope = clause.isEmpty() ? TaskScope::All : TaskScope::Clause;
    if (ReadTasks(clause, {}, m_tasks))
        return true;
    m_taskScope = TaskScope::None;
    return false;
}

bool CDBClass::LoadTasksOfProjects(const QList<int>& projIds)
{
    m_tasks.clear();
    m_taskProjects.clear();
    m_taskScope = TaskScope::Projects;
    if (projIds.isEmpty())
        return true;
    QStringList marks;
    QVariantList values;
    for (int id : projIds) {
        if (m_taskProjects.contains(id))
            continue;
        m_taskProjects.insert(id);
        marks << QStringLiteral("?");
        values << id;
    }
    if (ReadTasks(QStringLiteral("WHERE ProjID IN (%1)").arg(marks.join(QLatin1Char(','))), values,
                  m_tasks))
        return true;
    m_taskScope = TaskScope::None;
    m_taskProjects.clear();
    return false;
}

void CDBClass::EnsureTasksOfProject(int projId)
{
    switch (m_taskScope) {
    case TaskScope::All:
    case TaskScope::Clause:
        // An empty list is read again: tasks may have been added since.
        if (m_tasks.isEmpty())
            LoadTasks();
        return;
    case TaskScope::None:
        LoadTasks();
        return;
    case TaskScope::Projects:
        break;
    }
    if (m_taskProjects.contains(projId))
        return;
    QList<CTaskEntry> more;
    if (!ReadTasks(QStringLiteral("WHERE ProjID = ?"), {projId}, more))
        return;
    m_taskProjects.insert(projId);
    m_tasks << more;
}

void CDBClass::EnsureAllTasks()
{
    if (m_taskScope == TaskScope::None || m_taskScope == TaskScope::Projects || m_tasks.isEmpty())
        LoadTasks();
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
    const auto rows = OpenRows(
        Dialect().ProcedureCall(QStringLiteral("sp_projectTaskOrdersGetByEmpID"), 1), {empId});
    if (!rows)
        return false;
    QList<COrderEntry> orders;
    while (rows->Next())
        orders << COrderEntry{rows->TextAt(0), rows->IntAt(1), rows->DoubleAt(3),
                              rows->IntAt(4),  Flag(*rows, 2), Flag(*rows, 5)};
    if (!RowsRead(*rows))
        return false;
    m_orders = orders;
    m_orderProjects.clear();
    m_orderScope = OrderScope::All;
    return true;
}

bool CDBClass::LoadProjectStates()
{
    m_projectStates.clear();
    CProjStateSet set(m_connection.get());
    set.Recordset()->SetCursorMode(CursorMode::ForwardOnly);
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
    CEmployeeSet set(m_connection.get());
    set.Recordset()->SetSort(QStringLiteral("EmpFullName"));
    set.Recordset()->SetCursorMode(CursorMode::ForwardOnly);
    // A map that cannot be read again is kept: every window finds the
    // signed-on employee in it while the database cannot be reached.
    if (!OpenRecordSet(&set))
        return false;
    QList<CEmployeeEntry> read;
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
        read << e;
        set.MoveNext();
    }
    const bool whole = set.Recordset()->ErrorCode() == kS_OK;
    CloseRecordSet(&set);
    if (!whole)
        return false;
    m_employees = std::move(read);
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
    EnsureTasksOfProject(projId);
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
    if (m_orderScope != OrderScope::Projects && m_orders.isEmpty())
        LoadOrders();
    for (int pass = 0; pass < 2; ++pass) {
        for (const COrderEntry& o : std::as_const(m_orders))
            if (o.OrderID == orderId)
                return o.OrderCode;
        // Only some projects' orders are read: the order's are read on a miss.
        if (pass > 0 || m_orderScope != OrderScope::Projects)
            break;
        ReadOrdersOfOrder(orderId);
    }
    return QString();
}

bool CDBClass::GetOrderCodeForProject(int orderId, int projId, QString& code, bool skipDone)
{
    EnsureOrdersOfProject(projId);
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
    const bool loaded = EnsureOrdersOfProject(projId);
    for (const COrderEntry& o : std::as_const(m_orders)) {
        if (o.OrderID == orderId && o.ProjID == projId) {
            rate = o.OrderHourRate;
            code = o.OrderCode;
            return true;
        }
    }
    rate = 0;
    // The order may be new since the cache was filled; a list just read, or
    // no order at all, needs no second read.
    if (loaded || orderId <= 0)
        return false;
    if (m_orderScope != OrderScope::Projects) {
        LoadOrders();
        return false;
    }
    // The project's orders are read again.
    m_orders.removeIf([projId](const COrderEntry& o) { return o.ProjID == projId; });
    m_orderProjects.remove(projId);
    EnsureOrdersOfProject(projId);
    return false;
}

int CDBClass::GetOrderIdByCode(const QString& code, int projId)
{
    EnsureOrdersOfProject(projId);
    for (const COrderEntry& o : std::as_const(m_orders))
        if (o.ProjID == projId && o.OrderCode.compare(code, Qt::CaseInsensitive) == 0)
            return o.OrderID;
    return -1;
}

bool CDBClass::GetDefaultOrderOfProject(int projId, QString& code, int& orderId, double& rate)
{
    EnsureOrdersOfProject(projId);
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
    if (m_taskScope == TaskScope::None || m_tasks.isEmpty())
        LoadTasks();
    for (int pass = 0; pass < 2; ++pass) {
        for (const CTaskEntry& t : std::as_const(m_tasks))
            if (t.TaskID == taskId)
                return t.Task;
        // Only some projects' tasks are read: the rest are read on a miss.
        if (pass > 0 || m_taskScope != TaskScope::Projects)
            break;
        EnsureAllTasks();
    }
    return QString();
}

QString CDBClass::GetTaskNameForProject(int taskId, int projId)
{
    EnsureTasksOfProject(projId);
    for (const CTaskEntry& t : std::as_const(m_tasks))
        if (t.TaskID == taskId && t.ProjID == projId)
            return t.Task;
    return QString();
}

bool CDBClass::IsTaskOfProject(int taskId, int projId)
{
    EnsureTasksOfProject(projId);
    return std::any_of(m_tasks.cbegin(), m_tasks.cend(), [&](const CTaskEntry& t) {
        return t.TaskID == taskId && t.ProjID == projId;
    });
}

int CDBClass::GetTaskIdByName(const QString& name)
{
    // The first of every task with the name, whichever project it is of.
    EnsureAllTasks();
    for (const CTaskEntry& t : std::as_const(m_tasks))
        if (t.Task == name)
            return t.TaskID;
    return -1;
}

int CDBClass::GetTaskIdFromName(const QString& name, int projId)
{
    EnsureTasksOfProject(projId);
    for (const CTaskEntry& t : std::as_const(m_tasks))
        if (t.ProjID == projId && t.Task == name)
            return t.TaskID;
    return -1;
}

void CDBClass::GetDefaultTaskOfProject(int projId, int& taskId, QString& taskName, bool any)
{
    EnsureTasksOfProject(projId);
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

QString CDBClass::DayFilterText()
{
    return QStringLiteral("[EmpID] = ? AND [WorkDate] >= ? AND [WorkDate] < ?");
}

QVariantList CDBClass::DayFilterValues(int empId, const CDateTime& date)
{
    return QVariantList{empId} + CSqlDialect::DayRange(date.Date());
}

QString CDBClass::EntryFilterText()
{
    return DayFilterText() + QStringLiteral(" AND [TimeID] = ?");
}

QVariantList CDBClass::EntryFilterValues(int empId, const CDateTime& date, int timeId)
{
    return DayFilterValues(empId, date) << timeId;
}

bool CDBClass::LoadDayTimeSheets(const CDateTime& date, int empId)
{
    if (IsDayKey(date, empId))
        return true;
    QList<CTimeSheetEntry> rows;
    if (!ReadDay(date, empId, false, rows)) {
        DayNotRead(date, empId);
        return false;
    }
    TakeDay(date, empId, std::move(rows));
    return !m_day.isEmpty();
}

bool CDBClass::ReloadDayQuietly(int empId, const QDate& day)
{
    const CDateTime date(day);
    QList<CTimeSheetEntry> rows;
    // A server that refuses the connection is asked again later, unseen.
    if (!m_connection->ConnectedQuietly()) {
        DayNotRead(date, empId);
        return false;
    }
    if (!ReadDay(date, empId, true, rows)) {
        DayNotRead(date, empId);
        return false;
    }
    TakeDay(date, empId, std::move(rows));
    return true;
}

bool CDBClass::ReadDay(const CDateTime& date, int empId, bool quiet, QList<CTimeSheetEntry>& rows)
{
    CTimeSheetSet set(m_connection.get());
    set.Recordset()->SetQuiet(quiet);
    // One text for every day: the statement is prepared once.
    set.Recordset()->SetFilter(DayFilterText(), DayFilterValues(empId, date));
    set.Recordset()->SetSort(QStringLiteral("[TimeID]"));
    set.Recordset()->SetCursorMode(CursorMode::ForwardOnly);
    if (!OpenRecordSet(&set))
        return false;
    bool read = true;
    while (!set.Recordset()->IsBOF() && !set.Recordset()->IsEOF()) {
        CTimeSheetEntry e;
        e.EmpID = set.m_EmpID;
        e.ProjID = set.m_ProjID;
        e.OrderID = set.m_OrderID;
        e.TaskID = set.m_TaskID;
        e.WorkTypeID = set.m_WorkTypeID;
        e.TimeID = set.m_TimeID;
        e.TimesheetID = set.m_TimesheetID;
        e.ObjectTypeID = set.IsNull(14) ? QVariant() : QVariant(set.m_ObjectTypeID);
        e.ObjectID = set.IsNull(15) ? QVariant() : QVariant(set.m_ObjectID);
        e.InvID = set.IsNull(13) ? QVariant() : QVariant(set.m_InvID);
        e.StartTime = set.m_StartTime;
        e.StopTime = set.m_StopTime;
        e.WorkDate = set.m_WorkDate;
        e.HoursWorked = set.m_HoursWorked;
        e.Comment = set.m_Comment;
        rows << e;
        // A row that cannot be read ends the read: half a day is no day.
        if (!set.MoveNext()) {
            read = false;
            break;
        }
    }
    CloseRecordSet(&set);
    return read;
}

void CDBClass::TakeDay(const CDateTime& date, int empId, QList<CTimeSheetEntry> rows)
{
    m_day = std::move(rows);
    SetDayKey(date, empId);
    m_dayOutOfStep = false;
}

void CDBClass::DayNotRead(const CDateTime& date, int empId)
{
    // The rows of the same day stay what the time line shows; another
    // day's would show on the wrong one.
    if (!m_day.isEmpty() &&
        (m_day.first().EmpID != empId || m_day.first().WorkDate.Date() != date.Date()))
        m_day.clear();
    // Held as the day, so the same action does not ask again; read again
    // once the database answers.
    SetDayKey(date, empId);
    m_dayOutOfStep = true;
}

void CDBClass::DayWriteFailed(const CDateTime& date, int empId)
{
    if (IsDayKey(date, empId) || date.Date() == m_displayedDay)
        m_dayOutOfStep = true;
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
