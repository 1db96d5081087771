#include "data/TimeSheetImport.h"

#include "data/DBClass.h"
#include "data/DbTransaction.h"
#include "data/SqlExecutor.h"
#include "platform/Characters.h"
#include "platform/LocalTime.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Staged lines checked by one statement.
constexpr int kCheckLines = 50000;
// A change request linked to an entry, when the line names no object type.
constexpr int kChangeRequestObjectType = 40;

QVariant NullIfNegative(int value)
{
    return value < 0 ? QVariant() : QVariant(value);
}

double RoundToCurrency(double value)
{
    return std::round(value * 10000.0) / 10000.0;
}

qint64 DayKey(int empId, const QDate& day)
{
    return (static_cast<qint64>(empId) << 32) | static_cast<quint32>(day.toJulianDay());
}

} // namespace

// What the target database holds of the ids a line names.
struct CTimeSheetImport::CLookups {
    QHash<int, double> employees; // EmpID -> rate factor
    QSet<int> projects;
    struct COrder {
        int projId = -1;
        double rate = 0;
    };
    QHash<int, COrder> orders;
    struct CTask {
        int projId = -1;
        int workTypeId = -1;
    };
    QHash<int, CTask> tasks;
    QSet<int> workTypes;
    int firstWorkType = -1;
};

struct CTimeSheetImport::CAccepted {
    const CImportRow* row = nullptr;
    int timeId = 0;
};

CTimeSheetImport::CTimeSheetImport(CDBClass& db)
    : m_db(db)
{}

CTimeSheetImport::Result CTimeSheetImport::Run(const QList<CImportRow>& rows,
                                               IImportProgress* progress)
{
    m_imported = 0;
    m_renumbered = 0;
    m_refused.clear();
    m_reason.clear();
    if (!m_db.EnsureConnected()) {
        m_reason = m_db.Connection()->LastOpenError();
        if (m_reason.isEmpty())
            m_reason = QStringLiteral("Not connected to a database");
        return kFailed;
    }
    CStartupInfo& startup = m_db.StartupInfo();
    if (startup.BookingInterval != 6 && startup.BookingInterval != 15) {
        int minutes = -1;
        if (m_db.ReadMinBookingInterval(minutes))
            startup.BookingInterval = minutes;
    }
    double probe = 0;
    if (!m_db.RoundToBookingInterval(0, 60, probe)) {
        m_reason = QStringLiteral("The booking interval must be 6 or 15 minutes, not %1")
                       .arg(startup.BookingInterval);
        return kFailed;
    }

    CDbTransaction transaction(*m_db.Connection());
    if (!transaction.Begin(m_reason) ||
        !transaction.Run(m_db.Dialect().ImportSetupStatement(), {}, nullptr, m_reason))
        return kFailed;
    CLookups lookups;
    if (!LoadLookups(transaction, lookups))
        return kFailed;
    QList<const CImportRow*> valid;
    Validate(rows, lookups, valid);
    // Day by day, each day's lines in file order: the booked rows are read
    // and the new ones written in the order of the table's index, and the
    // lines of one day are checked against each other as they come.
    std::stable_sort(valid.begin(), valid.end(), [](const CImportRow* a, const CImportRow* b) {
        return a->EmpID != b->EmpID ? a->EmpID < b->EmpID : a->WorkDate < b->WorkDate;
    });
    bool cancelled = false;
    QList<CAccepted> accepted;
    if (!valid.isEmpty()) {
        if (!Stage(transaction, valid, progress, cancelled))
            return cancelled ? kCancelled : kFailed;
        if (!Check(transaction, valid, accepted))
            return kFailed;
        if (!Write(transaction, accepted, lookups, progress, cancelled))
            return cancelled ? kCancelled : kFailed;
        if (!transaction.Run(m_db.Dialect().ImportStageDropStatement(), {}, nullptr, m_reason))
            return kFailed;
    }
    if (!transaction.Commit(m_reason))
        return kFailed;
    std::sort(m_refused.begin(), m_refused.end(),
              [](const CImportRefused& a, const CImportRefused& b) { return a.Line < b.Line; });
    m_imported = static_cast<int>(accepted.size());
    // The day the time sheet holds may have new rows.
    m_db.ResetDayKey();
    return kDone;
}

bool CTimeSheetImport::LoadLookups(CDbTransaction& transaction, CLookups& lookups)
{
    CQueryResult employees;
    CQueryResult projects;
    CQueryResult orders;
    CQueryResult tasks;
    CQueryResult workTypes;
    const auto run = [&](const char* sql, CQueryResult& rows) {
        return transaction.Run(QString::fromLatin1(sql), {}, &rows, m_reason);
    };
    if (!run("SELECT EmpID, HourRateFactor FROM tblFinEmployee", employees) ||
        !run("SELECT ProjID FROM tblProject", projects) ||
        !run("SELECT OrderID, ProjID, OrderHourRate FROM tblProjectOrderBook", orders) ||
        !run("SELECT TaskID, ProjID, DefaultWorkTypeID FROM tblProjectTask", tasks) ||
        !run("SELECT WorkTypeID FROM tlkpWorkType ORDER BY WorkTypeID", workTypes))
        return false;
    for (int r = 0; r < employees.rows; ++r) {
        // A missing factor counts as 1, and the factor is a single as the
        // employee list holds it.
        const QVariant factor = employees.Value(r, 1);
        lookups.employees.insert(employees.Value(r, 0).toInt(),
                                 factor.isNull() ? 1.0 : double(factor.toFloat()));
    }
    for (int r = 0; r < projects.rows; ++r)
        lookups.projects.insert(projects.Value(r, 0).toInt());
    for (int r = 0; r < orders.rows; ++r)
        lookups.orders.insert(orders.Value(r, 0).toInt(),
                              {orders.Value(r, 1).toInt(), orders.Value(r, 2).toDouble()});
    for (int r = 0; r < tasks.rows; ++r) {
        const QVariant workType = tasks.Value(r, 2);
        lookups.tasks.insert(
            tasks.Value(r, 0).toInt(),
            {tasks.Value(r, 1).toInt(), workType.isNull() ? -1 : workType.toInt()});
    }
    for (int r = 0; r < workTypes.rows; ++r)
        lookups.workTypes.insert(workTypes.Value(r, 0).toInt());
    if (workTypes.rows > 0)
        lookups.firstWorkType = workTypes.Value(0, 0).toInt();
    return true;
}

void CTimeSheetImport::Validate(const QList<CImportRow>& rows, const CLookups& lookups,
                                QList<const CImportRow*>& valid)
{
    valid.reserve(rows.size());
    for (const CImportRow& row : rows) {
        const auto refuse = [&](ImportRefusal reason, int id) {
            m_refused.append({row.Line, reason, id});
        };
        if (!lookups.employees.contains(row.EmpID))
            refuse(ImportRefusal::Employee, row.EmpID);
        else if (!lookups.projects.contains(row.ProjID))
            refuse(ImportRefusal::Project, row.ProjID);
        else if (!lookups.orders.contains(row.OrderID))
            refuse(ImportRefusal::Order, row.OrderID);
        else if (!lookups.tasks.contains(row.TaskID))
            refuse(ImportRefusal::Task, row.TaskID);
        else if (row.WorkTypeID >= 0 && !lookups.workTypes.contains(row.WorkTypeID))
            refuse(ImportRefusal::WorkType, row.WorkTypeID);
        else if (!row.WorkDate.isValid() || row.Start < 0 || row.Stop > 1440 ||
                 row.Stop <= row.Start)
            refuse(ImportRefusal::BadTimes, -1);
        else if (row.TimeID < 0)
            refuse(ImportRefusal::BadTimeId, row.TimeID);
        else
            valid.append(&row);
    }
}

bool CTimeSheetImport::InsertRows(CDbTransaction& transaction, const QString& table,
                                  const QList<CSqlDialect::CBulkColumn>& columns, qsizetype count,
                                  IImportProgress::Phase phase, IImportProgress* progress,
                                  bool& cancelled, const RowValues& row)
{
    const CSqlDialect& dialect = m_db.Dialect();
    const int chunk = dialect.BulkRowsPerStatement();
    for (qsizetype first = 0;; first += chunk) {
        if (progress && !progress->ImportProgress(phase, qMin(first, count), count)) {
            cancelled = true;
            return false;
        }
        if (first >= count)
            return true;
        const int rows = static_cast<int>(qMin<qsizetype>(chunk, count - first));
        QList<QVariantList> values(columns.size());
        for (QVariantList& column : values)
            column.reserve(rows);
        for (qsizetype i = first; i < first + rows; ++i)
            row(i, values);
        if (!transaction.Run(dialect.BulkInsertStatement(table, columns, rows),
                             dialect.BulkInsertValues(values), nullptr, m_reason))
            return false;
    }
}

bool CTimeSheetImport::Stage(CDbTransaction& transaction, const QList<const CImportRow*>& valid,
                             IImportProgress* progress, bool& cancelled)
{
    const CSqlDialect& dialect = m_db.Dialect();
    if (!transaction.Run(dialect.ImportStageDropStatement(), {}, nullptr, m_reason) ||
        !transaction.Run(dialect.ImportStageCreateStatement(), {}, nullptr, m_reason))
        return false;
    const bool staged =
        InsertRows(transaction, QStringLiteral("kv_import"), CSqlDialect::ImportStageColumns(),
                   valid.size(), IImportProgress::kChecking, progress, cancelled,
                   [&valid](qsizetype i, QList<QVariantList>& values) {
                       const CImportRow& r = *valid.at(i);
                       // The line's day and its minutes, checked against the booked
                       // rows of that day as the time sheet reads them.
                       const QVariantList day = CSqlDialect::DayRange(r.WorkDate);
                       values[0] << static_cast<int>(i);
                       values[1] << r.EmpID;
                       values[2] << day.at(0);
                       values[3] << day.at(1);
                       values[4] << r.Start;
                       values[5] << r.Stop;
                       values[6] << r.TimeID;
                   });
    if (!staged)
        return false;
    // The lines come day by day.
    int days = 0;
    qint64 day = -1;
    for (const CImportRow* r : valid) {
        if (DayKey(r->EmpID, r->WorkDate) != day)
            ++days;
        day = DayKey(r->EmpID, r->WorkDate);
    }
    return transaction.Run(dialect.ImportLockStatement(days), {}, nullptr, m_reason);
}

bool CTimeSheetImport::Check(CDbTransaction& transaction, const QList<const CImportRow*>& valid,
                             QList<CAccepted>& accepted)
{
    struct CFlags {
        bool overlap = false;
        bool taken = false;
        int maxTimeId = -1;
    };
    QList<CFlags> flags(valid.size());
    // In pieces, each well within the statement limit however long the file.
    for (qsizetype first = 0; first < valid.size(); first += kCheckLines) {
        CQueryResult found;
        if (!transaction.Run(m_db.Dialect().ImportCheckStatement(),
                             {static_cast<int>(first), static_cast<int>(first + kCheckLines)},
                             &found, m_reason))
            return false;
        for (int r = 0; r < found.rows; ++r) {
            const int i = found.Value(r, 0).toInt();
            if (i < 0 || i >= flags.size())
                continue;
            const QVariant highest = found.Value(r, 3);
            flags[i] = {found.Value(r, 1).toInt() != 0, found.Value(r, 2).toInt() != 0,
                        highest.isNull() ? -1 : highest.toInt()};
        }
    }
    // The lines of a day come in file order, and are taken as if written
    // one by one: a line that overlaps an earlier accepted one is refused.
    qint64 dayKey = -1;
    QList<QPair<int, int>> spans; // of the day's accepted lines
    QSet<int> timeIds;
    int maxTimeId = -1;
    accepted.reserve(valid.size());
    for (qsizetype i = 0; i < valid.size(); ++i) {
        const CImportRow& r = *valid.at(i);
        const CFlags& f = flags.at(i);
        if (DayKey(r.EmpID, r.WorkDate) != dayKey) {
            dayKey = DayKey(r.EmpID, r.WorkDate);
            spans.clear();
            timeIds.clear();
            maxTimeId = f.maxTimeId;
        }
        const bool clash =
            f.overlap || std::any_of(spans.cbegin(), spans.cend(), [&r](const auto& s) {
                return s.first < r.Stop && s.second > r.Start;
            });
        if (clash) {
            m_refused.append({r.Line, ImportRefusal::Overlap, -1});
            continue;
        }
        int timeId = r.TimeID;
        if (f.taken || timeIds.contains(timeId)) {
            // The day's next number; the highest there is has none after it.
            if (maxTimeId == std::numeric_limits<int>::max()) {
                m_refused.append({r.Line, ImportRefusal::NoFreeTimeId, r.TimeID});
                continue;
            }
            timeId = qMax(maxTimeId, 0) + 1;
            ++m_renumbered;
        }
        maxTimeId = qMax(maxTimeId, timeId);
        timeIds.insert(timeId);
        spans.append({r.Start, r.Stop});
        accepted.append({&r, timeId});
    }
    return true;
}

bool CTimeSheetImport::Write(CDbTransaction& transaction, const QList<CAccepted>& accepted,
                             const CLookups& lookups, IImportProgress* progress, bool& cancelled)
{
    // Whether the clock runs evenly on a day, asked once a day: each asking
    // reads the time zone anew.
    QHash<qint64, bool> evenDays;
    return InsertRows(
        transaction, QStringLiteral("tblTimeSheet"), CSqlDialect::TimeSheetColumns(),
        accepted.size(), IImportProgress::kWriting, progress, cancelled,
        [&](qsizetype i, QList<QVariantList>& values) {
            const CImportRow& r = *accepted.at(i).row;
            auto even = evenDays.constFind(r.WorkDate.toJulianDay());
            if (even == evenDays.cend())
                even = evenDays.insert(r.WorkDate.toJulianDay(),
                                       CLocalTime::ClockRunsEvenlyOn(r.WorkDate));
            double hours = 0;
            // The time that passed on the line's day, on the nights the clock
            // changes too; on any other day the clock's face tells it.
            m_db.RoundToBookingInterval(*even ? QDate() : r.WorkDate, r.Start, r.Stop, hours);
            // The order's rate within the line's project, as the time sheet books it.
            const CLookups::COrder order = lookups.orders.value(r.OrderID);
            const float rate = order.projId == r.ProjID ? static_cast<float>(order.rate) : 0.0f;
            const double cost = RoundToCurrency(rate * lookups.employees.value(r.EmpID) * hours);
            int workTypeId = r.WorkTypeID;
            if (workTypeId < 0) {
                // The task's own work type, or the first when it has none known.
                const CLookups::CTask task = lookups.tasks.value(r.TaskID);
                if (task.projId == r.ProjID)
                    workTypeId = lookups.workTypes.contains(task.workTypeId)
                                     ? task.workTypeId
                                     : lookups.firstWorkType;
            }
            const int objectType = r.ObjectTypeID >= 0 ? r.ObjectTypeID
                                   : r.ObjectID >= 0   ? kChangeRequestObjectType
                                                       : -1;
            int c = 0;
            values[c++] << r.EmpID;
            values[c++] << r.ProjID;
            values[c++] << r.OrderID;
            values[c++] << QVariant::fromValue(CDateTime(r.WorkDate));
            values[c++] << QVariant::fromValue(CDBClass::MinutesOnDay(r.WorkDate, r.Start));
            values[c++] << QVariant::fromValue(CDBClass::MinutesOnDay(r.WorkDate, r.Stop));
            values[c++] << static_cast<float>(hours);
            values[c++] << r.TaskID;
            values[c++] << LeftCharacters(r.Comment, CDBClass::kEntryCommentLength);
            values[c++] << cost;
            values[c++] << NullIfNegative(workTypeId);
            values[c++] << accepted.at(i).timeId;
            values[c++] << NullIfNegative(r.InvID);
            values[c++] << NullIfNegative(objectType);
            values[c++] << NullIfNegative(r.ObjectID);
        });
}
