// The facade's time-sheet writes: entries written through the server's
// procedures or the time-sheet record class, their deletes, the rounding of
// booked hours, entry costs, project totals, and the undo history.
#include "data/DBClass.h"

#include "data/NameValueArray.h"
#include "data/Schema.h"
#include "data/UndoHistory.h"
#include "data/records/TimeSheetSet.h"
#include "platform/LocalTime.h"
#include "platform/MessageBox.h"
#include "platform/ProfileStore.h"
#include "platform/UserAction.h"

#include <cmath>
#include <optional>

namespace {

// Column positions of tblTimeSheet.
enum TimeSheetColumn : int {
    kColEmpID = 1,
    kColProjID = 2,
    kColOrderID = 3,
    kColWorkDate = 4,
    kColStartTime = 5,
    kColStopTime = 6,
    kColHoursWorked = 7,
    kColTaskID = 8,
    kColComment = 9,
    kColInvCost = 10,
    kColWorkTypeID = 11,
    kColTimeID = 12,
    kColInvID = 13,
    kColObjectTypeID = 14,
    kColObjectID = 15,
};

// A change request linked to an entry is always this object type.
constexpr int kChangeRequestObjectType = 40;
// The server procedures' ErrorFlag for a row that is not there.
constexpr int kProcedureRowGone = 3;

const QString kChooseOrder = QStringLiteral("Choose an order before saving");
const QString kChooseTask = QStringLiteral("Choose a task before saving");
const QString kCannotUpdate =
    QStringLiteral("This record cannot be updated/edited - there is an error with your database "
                   "or database connection");
const QString kCannotEdit = QStringLiteral(
    "This record cannot be edited - there is an error with your database or database connection");
const QString kRecordGone = QStringLiteral(
    "This record you are editing does not exist anymore - you need to refresh your timesheet");
const QString kOverlaps = QStringLiteral("This entry overlaps another entry");

// A failed write, told once: the window's words for what was not done, when
// it gave them, over the reason.
void ShowError(const QString& text, const QString& reason = QString())
{
    const QString action = CActionFailureText::Current();
    TellDbFailure(CDbError(kE_CommandError, reason), action.isEmpty() ? text : action);
}

QVariant NullIfNegative(int value)
{
    return value < 0 ? QVariant() : QVariant(value);
}

int IntOr(const QVariant& value, int fallback)
{
    return value.isNull() ? fallback : value.toInt();
}

// Money is kept with four decimals.
double RoundToCurrency(double value)
{
    return std::round(value * 10000.0) / 10000.0;
}

// The hour rate of the order a row was booked on: undoing a change books
// the row again at it, not at the rate of the change. `fallback` when the
// order is not known.
float OwnOrderRate(CDBClass& db, int projId, int orderId, float fallback)
{
    double rate = 0;
    QString code;
    return db.GetOrderCodeAndRate(projId, orderId, rate, code) ? static_cast<float>(rate)
                                                               : fallback;
}

std::unique_ptr<CUndoStep> MakeStep(int kind, const CUndoRecord& record)
{
    return std::make_unique<CUndoStep>(kind, std::make_unique<CUndoRecord>(record));
}

// Marks a buffer as holding a value, or as NULL (the buffer then holds the
// zero the binding writes as NULL).
void SetInt(CTimeSheetSet& set, int column, int& buffer, const QVariant& value)
{
    buffer = value.isNull() ? 0 : value.toInt();
    set.Descriptor(column).status = value.isNull() ? adFldNull : adFldOK;
}

} // namespace

// What a write stores besides what the caller gave.
struct CDBClass::CWriteValues {
    CDateTime workDate; // midnight of the entry's day
    CDateTime startTime;
    CDateTime stopTime;
    double hours = 0;
    double cost = 0;
    QVariant workTypeId;
    QVariant objectTypeId;
    QVariant objectId;
    QVariant invId;
    int timesheetId = -1;
    // Why a write failed (kE_UnstorableValue: the user's text was refused).
    HRESULT errorCode = kS_OK;
};

// The undo step of a write, recorded only once the write is committed.
struct CDBClass::CPendingUndo {
    bool toUndo = false;
    bool isUpdate = false;
    std::unique_ptr<CUndoStep> step;

    void Set(bool undo, bool update, std::unique_ptr<CUndoStep> s)
    {
        toUndo = undo;
        isUpdate = update;
        step = std::move(s);
    }
};

CDateTime CDBClass::MinutesOnDay(const QDate& day, int minute)
{
    if (minute >= 1440)
        return CDateTime(day, QTime(23, 59));
    if (minute <= 0)
        return CDateTime(day);
    return CDateTime(day, QTime(minute / 60, minute % 60));
}

// ---- Rounding and cost ---------------------------------------------------------------

bool CDBClass::RoundToBookingInterval(const QDate& day, int a, int b, double& hours) const
{
    const int minutes = CLocalTime::ElapsedMinutes(day, a, b);
    hours = minutes;
    const int interval = m_startup.BookingInterval;
    if (interval != 6 && interval != 15)
        return false;
    const int n = minutes / interval;
    const int m = static_cast<int>(n * interval * 100 + 0.5) / 100;
    hours = std::trunc(m * 1.6666666666666667) * 0.01;
    return true;
}

bool CDBClass::FormatEntryCost(QString& out, int projId, int orderId, int start, int stop,
                               int empId, const QDate& day)
{
    double rate = 0;
    QString code;
    double hours = 0;
    if (!GetOrderCodeAndRate(projId, orderId, rate, code) ||
        !RoundToBookingInterval(day.isValid() ? day : m_displayedDay, start, stop, hours))
        return false;
    double factor = 1.0;
    GetEmpRateFactor(empId, factor);
    // Whole cents: truncating the float would turn 0.29 into 0.28.
    const qint64 cents = std::llround(rate * factor * hours * 100.0);
    const qint64 whole = std::llabs(cents);
    out = QString::asprintf("%s%lld.%02lld", cents < 0 ? "-" : "", whole / 100, whole % 100);
    return true;
}

// ---- Writing an entry --------------------------------------------------------------------

bool CDBClass::OpenEntryRow(CTimeSheetSet& set, int empId, const CDateTime& date, int timeId)
{
    set.Close();
    set.Recordset()->SetFilter(EntryFilterText(), EntryFilterValues(empId, date, timeId));
    set.Recordset()->SetSort(QString());
    return OpenRecordSet(&set);
}

bool CDBClass::LockEntryDay(int empId, const CDateTime& date, QString& reason)
{
    const QString sql = Dialect().DayLockStatement();
    if (sql.isEmpty())
        return true;
    CDbError error;
    if (CSqlExecutor::RunNative(*m_connection, sql, {empId, CSqlDialect::DayNumber(date.Date())},
                                nullptr, &error))
        return true;
    reason = error.description;
    return false;
}

bool CDBClass::KeyStillHolds(const CTimeSheetWrite& e, bool& holds, QString& reason)
{
    holds = true;
    if (!e.IsUpdate || e.KeyID < 0)
        return true;
    if (!LockEntryDay(e.EmpID, e.WorkDate, reason))
        return false;
    CQueryResult rows;
    CDbError error;
    if (!CSqlExecutor::RunNative(
            *m_connection,
            QStringLiteral("SELECT TimesheetID FROM tblTimeSheet WHERE EmpID = "
                           "? AND WorkDate >= ? AND WorkDate < ? AND TimeID = ?"),
            QVariantList{e.EmpID} + CSqlDialect::DayRange(e.WorkDate.Date()) +
                QVariantList{e.TimeID},
            &rows, &error)) {
        reason = error.description;
        return false;
    }
    holds = rows.rows == 1 && rows.Value(0, 0).toInt() == e.KeyID;
    return true;
}

bool CDBClass::FindClashes(const CTimeSheetWrite& e, const CWriteValues& v, bool& own,
                           bool& overlap, QString& reason)
{
    // The entry's own key on its day, and every row of the day that overlaps
    // it as the time sheet reads them: rows that only touch do not overlap,
    // nor does a row without times.
    CQueryResult rows;
    CDbError error;
    if (!CSqlExecutor::RunNative(
            *m_connection,
            QStringLiteral("SELECT t.TimeID FROM tblTimeSheet t WHERE t.EmpID = ? AND "
                           "t.WorkDate >= ? AND t.WorkDate < ? AND (t.TimeID = ? OR (%1))")
                .arg(Dialect().RowOverlaps(QStringLiteral("t"), QStringLiteral("?"),
                                           QStringLiteral("?"))),
            QVariantList{e.EmpID} + CSqlDialect::DayRange(v.workDate.Date()) +
                QVariantList{e.TimeID, e.Start, e.Stop},
            &rows, &error)) {
        reason = error.description;
        return false;
    }
    own = overlap = false;
    for (int r = 0; r < rows.rows; ++r) {
        if (rows.Value(r, 0).toInt() == e.TimeID)
            own = true;
        else
            overlap = true;
    }
    return true;
}

int CDBClass::PrepareWrite(const CTimeSheetWrite& e, CWriteValues& v, QString& reason)
{
    v.workDate = CDateTime(e.WorkDate.Date());
    v.startTime = MinutesOnDay(e.WorkDate.Date(), e.Start);
    v.stopTime = MinutesOnDay(e.WorkDate.Date(), e.Stop);
    if (!RoundToBookingInterval(e.WorkDate.Date(), e.Start, e.Stop, v.hours)) {
        reason = QStringLiteral("The booking interval must be 6 or 15 minutes, not %1")
                     .arg(m_startup.BookingInterval);
        return kWriteNotRounded;
    }
    double factor = 1.0;
    if (!GetEmpRateFactor(e.EmpID, factor)) {
        reason = QStringLiteral("Employee %1 has no rate factor").arg(e.EmpID);
        return kWriteNoRateFactor;
    }
    v.cost = RoundToCurrency(e.OrderHourRate * factor * v.hours);
    int workTypeId = e.WorkTypeID;
    if (!e.WorkTypeName.isEmpty()) {
        if (m_workTypes.isEmpty())
            LoadWorkTypes();
        int byName = -1;
        if (GetWorkTypeIdByName(e.WorkTypeName, byName))
            workTypeId = byName;
    }
    if (workTypeId < 0) {
        QString name;
        int ofTask = -1;
        if (GetTaskWorkType(e.ProjID, e.TaskID, name, ofTask))
            workTypeId = ofTask;
    }
    v.workTypeId = NullIfNegative(workTypeId);
    return kWriteOk;
}

int CDBClass::UpdateTimeDataSP(CTimeSheetWrite& e, CWriteValues& v, CPendingUndo& undo,
                               QString& reason)
{
    const int prepared = PrepareWrite(e, v, reason);
    if (prepared != kWriteOk)
        return prepared;

    // The row as it was: what undoing the update restores, and the invoice
    // mark the update keeps.
    std::optional<CUndoRecord> old;
    if (e.IsUpdate) {
        if (IsDayKey(v.workDate, e.EmpID)) {
            for (const CTimeSheetEntry& cached : std::as_const(m_day))
                if (cached.TimeID == e.TimeID && cached.EmpID == e.EmpID)
                    old = CUndoRecord::FromEntry(
                        cached, true,
                        OwnOrderRate(*this, cached.ProjID, cached.OrderID, e.OrderHourRate));
        }
        if (!old) {
            CTimeSheetSet row(m_connection.get());
            row.Recordset()->SetQuiet(true);
            if (OpenEntryRow(row, e.EmpID, v.workDate, e.TimeID) && !row.Recordset()->IsEOF())
                old = CUndoRecord::FromRow(
                    row, true, OwnOrderRate(*this, row.m_ProjID, row.m_OrderID, e.OrderHourRate));
            CloseRecordSet(&row, true);
        }
    }
    if (e.ObjectID >= 0) {
        v.objectTypeId = kChangeRequestObjectType;
        v.objectId = e.ObjectID;
        v.invId = old ? NullIfNegative(old->m_InvID) : QVariant();
    } else {
        v.objectTypeId = v.objectId = v.invId = QVariant();
    }

    const QString name =
        e.IsUpdate ? QStringLiteral("sp_TimeSheetUpdate") : QStringLiteral("sp_TimeSheetInsert");
    // Every value bound, in the procedures' order.
    const QVariantList params = {e.EmpID,
                                 e.ProjID,
                                 e.OrderID,
                                 QVariant::fromValue(v.workDate),
                                 QVariant::fromValue(v.startTime),
                                 QVariant::fromValue(v.stopTime),
                                 v.hours,
                                 e.TaskID,
                                 e.Comment,
                                 v.cost,
                                 v.workTypeId,
                                 e.TimeID,
                                 v.invId,
                                 v.objectTypeId,
                                 v.objectId};
    CQueryResult rows;
    CDbError error;
    if (!CSqlExecutor::RunNative(*m_connection, Dialect().ProcedureCall(name, 15), params, &rows,
                                 &error)) {
        reason = error.description;
        v.errorCode = error.code;
        if (error.code == kE_FAIL)
            m_connection->DropConnection();
        return kWriteProcedureFailed;
    }
    if (rows.rows > 0 && rows.ColumnCount() > 2 && rows.Value(0, 1).toInt() != 0) {
        reason = rows.Value(0, 2).toString();
        // An earlier schema's procedure does not find a row whose WorkDate
        // carries a time of day: the reason is then the missing update.
        if (rows.Value(0, 1).toInt() == kProcedureRowGone && m_startup.DbVersion > 0 &&
            CNameValueArray::Hundredths(m_startup.DbVersion) <
                CNameValueArray::Hundredths(CSchema::kVersion))
            reason = QStringLiteral("The database has not been updated for this version of "
                                    "Kelvane; run kelvane-createdb --update on it");
        return kWriteProcedureRefused;
    }
    v.timesheetId = rows.rows > 0 ? IntOr(rows.Value(0, 0), -1) : -1;

    CUndoRecord written;
    written.m_TimeID = e.TimeID;
    written.m_WorkDate = v.workDate;
    written.m_start = StoredMinutes(v.startTime);
    written.m_stop = StoredMinutes(v.stopTime);
    written.m_ProjID = e.ProjID;
    written.m_EmpID = e.EmpID;
    written.m_OrderID = e.OrderID;
    written.m_TaskID = e.TaskID;
    written.m_rate = e.OrderHourRate;
    written.m_Comment = e.Comment;
    written.m_WorkTypeID = IntOr(v.workTypeId, -1);
    written.m_ObjectTypeID = IntOr(v.objectTypeId, -1);
    written.m_ObjectID = IntOr(v.objectId, -1);
    written.m_InvID = IntOr(v.invId, -1);
    if (e.IsUpdate) {
        if (old) {
            written.m_TimesheetID = old->m_TimesheetID;
            old->m_after = std::make_shared<CUndoRecord>(written);
            undo.Set(!e.FromHistory, true, MakeStep(CUndoStep::kUpdated, *old));
        }
    } else {
        written.m_TimesheetID = v.timesheetId;
        undo.Set(!e.FromHistory, false, MakeStep(CUndoStep::kInserted, written));
    }
    return kWriteOk;
}

int CDBClass::UpdateTimeDataRS(CTimeSheetSet* given, CTimeSheetWrite& e, CWriteValues& v,
                               CPendingUndo& undo, QString& reason)
{
    std::unique_ptr<CTimeSheetSet> own;
    CTimeSheetSet* set = given;
    if (!set) {
        own = std::make_unique<CTimeSheetSet>(m_connection.get());
        set = own.get();
    }
    CMyAdoRecordSet* rs = set->Recordset();
    const bool wasQuiet = rs->IsQuiet();
    // Errors are told once, with the write's own words.
    rs->SetQuiet(true);
    const auto finish = [&](int result) {
        CloseRecordSet(set, true);
        rs->SetQuiet(wasQuiet);
        return result;
    };
    const auto failed = [&](const QString& why, HRESULT code = kE_CommandError) {
        reason = why;
        v.errorCode = code;
        // A refused text is told once, by UpdateTimeData.
        if (code != kE_UnstorableValue)
            ShowError(kCannotUpdate, why);
        return finish(kWriteDbError);
    };

    set->ClearFields();
    set->ClearStatus();
    if (!LockEntryDay(e.EmpID, e.WorkDate, reason))
        return failed(reason);
    const int prepared = PrepareWrite(e, v, reason);
    if (prepared != kWriteOk)
        return finish(prepared);
    bool exists = false;
    bool overlap = false;
    // An update starts from the row as stored; a new row needs only the test
    // that its key is free.
    if ((e.IsUpdate && !OpenEntryRow(*set, e.EmpID, e.WorkDate, e.TimeID)) ||
        !FindClashes(e, v, exists, overlap, reason)) {
        if (reason.isEmpty())
            reason = rs->ErrorText();
        return finish(kWriteNotOpened);
    }
    if (e.IsUpdate && (!exists || rs->IsEOF())) {
        reason = QStringLiteral("This entry does not exist anymore");
        return finish(kWriteNotOpened);
    }
    if (!e.IsUpdate && exists) {
        reason = QStringLiteral("This entry already exists");
        return finish(kWriteDbError);
    }
    if (overlap) {
        reason = kOverlaps;
        return finish(kWriteOverlap);
    }
    if (e.IsUpdate) {
        const float rate = OwnOrderRate(*this, set->m_ProjID, set->m_OrderID, e.OrderHourRate);
        undo.Set(!e.FromHistory, true,
                 MakeStep(CUndoStep::kUpdated, CUndoRecord::FromRow(*set, true, rate)));
    }

    const auto present = [set](int column) { set->Descriptor(column).status = adFldOK; };
    set->m_EmpID = e.EmpID;
    set->m_ProjID = e.ProjID;
    set->m_OrderID = e.OrderID;
    set->m_TaskID = e.TaskID;
    set->m_Comment = e.Comment;
    set->m_HoursWorked = static_cast<float>(v.hours);
    set->m_InvCost = v.cost;
    set->m_WorkDate = v.workDate;
    set->m_StartTime = v.startTime;
    set->m_StopTime = v.stopTime;
    set->m_TimeID = e.TimeID;
    for (int column : {kColEmpID, kColProjID, kColOrderID, kColTaskID, kColComment, kColHoursWorked,
                       kColInvCost, kColWorkDate, kColStartTime, kColStopTime, kColTimeID})
        present(column);
    SetInt(*set, kColWorkTypeID, set->m_WorkTypeID, v.workTypeId);
    if (e.IsUpdate && e.ObjectID < 0 && set->IsUnheld(kColObjectID)) {
        // Another program's object, beyond what this program reads, read as
        // none: the link stays as stored unless the user sets one.
    } else if (e.ObjectID >= 0) {
        SetInt(*set, kColObjectTypeID, set->m_ObjectTypeID, kChangeRequestObjectType);
        SetInt(*set, kColObjectID, set->m_ObjectID, e.ObjectID);
        // An update keeps the invoice mark as read.
        if (!e.IsUpdate)
            SetInt(*set, kColInvID, set->m_InvID, QVariant());
    } else {
        SetInt(*set, kColObjectTypeID, set->m_ObjectTypeID, QVariant());
        SetInt(*set, kColObjectID, set->m_ObjectID, QVariant());
        SetInt(*set, kColInvID, set->m_InvID, QVariant());
    }

    const bool written = e.IsUpdate ? set->Update() : rs->CheckAddNew();
    if (!written) {
        undo.step.reset();
        return failed(rs->ErrorText(), rs->ErrorCode());
    }
    v.timesheetId = set->m_TimesheetID;
    v.objectTypeId = set->BufferValue(kColObjectTypeID);
    v.objectId = set->BufferValue(kColObjectID);
    v.invId = set->BufferValue(kColInvID);
    if (e.IsUpdate && undo.step)
        undo.step->m_record->m_after =
            std::make_shared<CUndoRecord>(CUndoRecord::FromRow(*set, true, e.OrderHourRate));
    if (!e.IsUpdate)
        undo.Set(
            !e.FromHistory, false,
            MakeStep(CUndoStep::kInserted, CUndoRecord::FromRow(*set, false, e.OrderHourRate)));
    return finish(kWriteOk);
}

bool CDBClass::CommentsAsActionsWanted(const CTimeSheetWrite& e) const
{
    if (e.Comment.isEmpty() || e.ObjectID < 0 || e.EmpID < 0)
        return false;
    return CProfileStore().value(QStringLiteral("Admin/commentsAsActions"), 1).toInt() == 1;
}

void CDBClass::CacheWrittenEntry(const CTimeSheetWrite& e, const CWriteValues& v)
{
    // The cache holds one employee's day; another day is read when it is shown.
    if (!IsDayKey(v.workDate, e.EmpID))
        return;
    CTimeSheetEntry entry;
    entry.EmpID = e.EmpID;
    entry.ProjID = e.ProjID;
    entry.OrderID = e.OrderID;
    entry.TaskID = e.TaskID;
    entry.WorkTypeID = IntOr(v.workTypeId, -1);
    entry.TimeID = e.TimeID;
    entry.TimesheetID = v.timesheetId;
    entry.ObjectTypeID = v.objectTypeId;
    entry.ObjectID = v.objectId;
    entry.InvID = v.invId;
    entry.StartTime = v.startTime;
    entry.StopTime = v.stopTime;
    entry.WorkDate = v.workDate;
    entry.HoursWorked = static_cast<float>(v.hours);
    entry.Comment = e.Comment;
    if (!e.IsUpdate || !UpdateDayEntry(true, entry))
        UpdateDayEntry(false, entry);
}

int CDBClass::UpdateTimeData(CTimeSheetSet* set, CTimeSheetWrite& entry)
{
    if (entry.Start < 0)
        return kWriteBelowZero;
    if (entry.Start > 1440)
        return kWriteAbove1440;
    if (entry.Stop < 0)
        return kWriteBelowZero;
    if (entry.Stop > 1440)
        return kWriteAbove1440;
    if (entry.TimeID < 0)
        return kWriteBadTimeId;
    CTimeSheetWrite e = entry;
    if (e.Start > e.Stop)
        std::swap(e.Start, e.Stop);
    if (e.OrderID <= 0) {
        ShowMessageBox(kChooseOrder, kMbOk | kMbIconWarning);
        return kWriteNoOrder;
    }
    if (e.TaskID <= 0)
        ShowMessageBox(kChooseTask, kMbOk | kMbIconWarning);
    TruncateText254(e.Comment);
    if (e.IsUpdate && e.Start == e.Stop)
        return DeleteTimeData(set, e.FromHistory, e.WorkDate, e.EmpID, e.TimeID, e.KeyID);

    const bool procedure = CanUseDbObject(QStringLiteral("sp_TimesheetInsert"));
    const int connectionFailure = procedure ? kWriteProcedureFailed : kWriteDbError;
    CWriteValues v;
    CPendingUndo undo;
    QString reason;
    CDbError error;
    int result = kWriteOk;
    // The row, and the change-request action that goes with it, in one
    // transaction: both are written or neither.
    // The procedure's one statement is a transaction of its own; the record
    // path reads before it writes, and an action is a second row.
    const bool action = CommentsAsActionsWanted(e);
    // The row meant is tested and written in one transaction.
    const bool keyed = e.IsUpdate && e.KeyID >= 0;
    const bool transaction = !procedure || action || keyed;
    bool holds = true;
    if (!EnsureConnected() || (transaction && !m_connection->BeginTrans(&error))) {
        reason = error.IsError() ? error.description : m_connection->LastOpenError();
        result = connectionFailure;
    } else if (!KeyStillHolds(e, holds, reason)) {
        result = connectionFailure;
        m_connection->RollbackTrans();
    } else if (!holds) {
        // Another row has taken the number since: it is not the user's to change.
        result = kWriteDeleteFailed;
        m_connection->RollbackTrans();
    } else {
        result = procedure ? UpdateTimeDataSP(e, v, undo, reason)
                           : UpdateTimeDataRS(set, e, v, undo, reason);
        if (result == kWriteOk && action && !AddChgReqAction(e.ObjectID, e.Comment, e.EmpID)) {
            reason =
                QStringLiteral("The action for change request %1 was not written").arg(e.ObjectID);
            result = connectionFailure;
        }
        if (transaction && result == kWriteOk) {
            if (!m_connection->CommitTrans(&error)) {
                reason = error.description;
                result = connectionFailure;
            }
        } else if (transaction) {
            m_connection->RollbackTrans();
        }
    }
    if (result != kWriteOk) {
        DayWriteFailed(e.WorkDate, e.EmpID);
        if (!holds)
            ShowMessageBox(kRecordGone, kMbOk | kMbIconWarning);
        else if (v.errorCode == kE_UnstorableValue)
            ShowMessageBox(reason, kMbOk | kMbIconError);
        else if (procedure)
            ShowError(QStringLiteral("Error Updating timesheet record (stored procedure)"), reason);
        else
            ShowError(QStringLiteral("Error Updating timesheet record (statement)"), reason);
        return result;
    }
    if (undo.step)
        RouteSnapshot(undo.toUndo, undo.isUpdate, std::move(undo.step));
    CacheWrittenEntry(e, v);
    entry.WorkTypeID = IntOr(v.workTypeId, -1);
    entry.TimesheetID = v.timesheetId;
    return kWriteOk;
}

// ---- Deleting --------------------------------------------------------------------------

int CDBClass::DeleteTimeData(CTimeSheetSet* given, bool fromHistory, const CDateTime& date,
                             int empId, int timeId, int keyId)
{
    std::unique_ptr<CTimeSheetSet> own;
    CTimeSheetSet* set = given;
    if (!set) {
        own = std::make_unique<CTimeSheetSet>(m_connection.get());
        set = own.get();
    }
    CMyAdoRecordSet* rs = set->Recordset();
    const bool wasQuiet = rs->IsQuiet();
    rs->SetQuiet(true);
    CDbError error;
    QString reason;
    int result = kWriteOk;
    std::unique_ptr<CUndoStep> step;
    const bool begun = EnsureConnected() && m_connection->BeginTrans(&error);
    if (!begun) {
        reason = error.IsError() ? error.description : m_connection->LastOpenError();
        result = kWriteDeleteError;
    } else if (!LockEntryDay(empId, date, reason)) {
        result = kWriteDeleteError;
    } else if (!OpenEntryRow(*set, empId, date, timeId) || rs->IsEOF()) {
        result = kWriteNotOpened;
    } else if (keyId >= 0 && set->m_TimesheetID != keyId) {
        // Another row holds the number now: the row meant is gone.
        result = kWriteDeleteFailed;
    } else {
        if (!fromHistory)
            step = MakeStep(
                CUndoStep::kDeleted,
                CUndoRecord::FromRow(*set, false,
                                     OwnOrderRate(*this, set->m_ProjID, set->m_OrderID, 0.0f)));
        if (CanUseDbObject(QStringLiteral("sp_TimesheetDelete"))) {
            CQueryResult rows;
            if (!CSqlExecutor::RunNative(
                    *m_connection, Dialect().ProcedureCall(QStringLiteral("sp_TimesheetDelete"), 1),
                    {set->m_TimesheetID}, &rows, &error)) {
                reason = error.description;
                result = kWriteDeleteError;
            } else if (rows.rows == 0 || rows.Value(0, 0).toInt() < 1) {
                result = kWriteDeleteFailed;
            }
        } else if (!set->Delete()) {
            reason = rs->ErrorText();
            // A row someone else removed meanwhile is no database fault.
            result = rs->ErrorCode() == kE_NotUnique ? kWriteDeleteFailed : kWriteDeleteError;
        }
    }
    if (begun) {
        if (result == kWriteOk && !m_connection->CommitTrans(&error)) {
            reason = error.description;
            result = kWriteDeleteError;
        } else if (result != kWriteOk) {
            m_connection->RollbackTrans();
        }
    }
    CloseRecordSet(set, true);
    rs->SetQuiet(wasQuiet);
    if (result == kWriteDeleteError)
        ShowError(QStringLiteral("Deletion Error"), reason);
    if (result != kWriteOk) {
        DayWriteFailed(date, empId);
        return result;
    }
    if (IsDayKey(date, empId))
        RemoveDayEntry(timeId);
    if (step)
        RouteSnapshot(!fromHistory, false, std::move(step));
    return kWriteOk;
}

int CDBClass::DeleteTimeSheetEntry(int timeId, int empId, const CDateTime& date, bool apply,
                                   int start, int stop)
{
    if ((start == 1440 && stop == 1440) || !apply)
        return kWriteOk;
    CTimeSheetSet set(m_connection.get());
    set.Recordset()->SetQuiet(true);
    CDbError error;
    QString reason;
    if (!EnsureConnected() || !m_connection->BeginTrans(&error)) {
        ShowError(kCannotEdit, error.IsError() ? error.description : m_connection->LastOpenError());
        DayWriteFailed(date, empId);
        return kWriteDbError;
    }
    const auto rollback = [&](int result) {
        m_connection->RollbackTrans();
        CloseRecordSet(&set, true);
        DayWriteFailed(date, empId);
        return result;
    };
    if (!LockEntryDay(empId, date, reason)) {
        ShowError(kCannotEdit, reason);
        return rollback(kWriteDbError);
    }
    if (!OpenEntryRow(set, empId, date, timeId))
        return rollback(kWriteNotOpened);
    if (set.Recordset()->IsEOF()) {
        if (start != stop)
            ShowMessageBox(kRecordGone, kMbOk | kMbIconWarning);
        return rollback(kWriteDbError);
    }
    std::unique_ptr<CUndoStep> step;
    CDateTime newStop;
    if (start == stop) {
        step = MakeStep(CUndoStep::kDeleted,
                        CUndoRecord::FromRow(
                            set, false, OwnOrderRate(*this, set.m_ProjID, set.m_OrderID, 1.0f)));
        if (!set.Delete())
            return rollback(kWriteDeleteFailed);
    } else {
        newStop = MinutesOnDay(set.m_WorkDate.Date(), stop);
        set.m_StopTime = newStop;
        set.Descriptor(kColStopTime).status = adFldOK;
        if (!set.Update()) {
            ShowError(kCannotEdit, set.Recordset()->ErrorText());
            return rollback(kWriteDbError);
        }
    }
    if (!m_connection->CommitTrans(&error)) {
        ShowError(kCannotEdit, error.description);
        CloseRecordSet(&set, true);
        DayWriteFailed(date, empId);
        return kWriteDbError;
    }
    CloseRecordSet(&set, true);
    if (step) {
        if (IsDayKey(date, empId))
            RemoveDayEntry(timeId);
        RouteSnapshot(true, false, std::move(step));
    } else if (IsDayKey(date, empId)) {
        for (CTimeSheetEntry& cached : m_day)
            if (cached.TimeID == timeId && cached.EmpID == empId)
                cached.StopTime = newStop;
    }
    return kWriteOk;
}

// ---- Undo and redo -----------------------------------------------------------------------

void CDBClass::RouteSnapshot(bool toUndo, bool isUpdate, std::unique_ptr<CUndoStep> step)
{
    if (toUndo && !isUpdate)
        m_history->PushUndo(std::move(step));
    else if (toUndo)
        m_history->Push(std::move(step));
    else if (isUpdate)
        m_history->AppendRedo(std::move(step));
    // A new row written again from the history records nothing.
}

bool CDBClass::SnapshotForUndo(bool toUndo, bool isUpdate, CTimeSheetSet* set, float rate, int kind)
{
    if (set)
        RouteSnapshot(toUndo, isUpdate, MakeStep(kind, CUndoRecord::FromRow(*set, isUpdate, rate)));
    return true;
}

bool CDBClass::SnapshotValuesForUndo(bool toUndo, bool isUpdate, int timeId,
                                     const CDateTime& workDate, const CDateTime& start,
                                     const CDateTime& stop, int projId, int empId, int orderId,
                                     int taskId, float rate, const QString& comment, int workTypeId,
                                     int objectTypeId, int objectId, int invId, int kind)
{
    CUndoRecord r;
    r.m_isUpdate = isUpdate;
    r.m_TimeID = timeId;
    r.m_WorkDate = CDateTime(workDate.Date());
    const CRowTimes::CSpan span = CRowTimes::Read(workDate, start, stop).Span(0);
    r.m_start = span.start;
    r.m_stop = span.stop;
    r.m_ProjID = projId;
    r.m_EmpID = empId;
    r.m_OrderID = orderId;
    r.m_TaskID = taskId;
    r.m_rate = rate;
    r.m_Comment = comment;
    r.m_WorkTypeID = workTypeId;
    r.m_ObjectTypeID = objectTypeId;
    r.m_ObjectID = objectId;
    r.m_InvID = invId;
    RouteSnapshot(toUndo, isUpdate, MakeStep(kind, r));
    return true;
}

bool CDBClass::Undo()
{
    m_history->Undo();
    return true;
}

bool CDBClass::Redo()
{
    m_history->Redo();
    return true;
}

bool CDBClass::UndoApplyCallback(CUndoStep* step)
{
    return m_timeSheetView && step &&
           m_timeSheetView->ApplyUndoStep(step->m_kind, step->m_record.get());
}

bool CDBClass::RedoApplyCallback(CUndoStep* step)
{
    return m_timeSheetView && step &&
           m_timeSheetView->ApplyRedoStep(step->m_kind, step->m_record.get());
}
