#include "autotimer/BookTime.h"

#include "app/Profile.h"
#include "app/PropsAutoLogging.h"
#include "data/DBClass.h"
#include "data/MyAdoRecordSet.h"
#include "data/RowTimes.h"
#include "data/records/TimeSheetSet.h"
#include "platform/Clock.h"
#include "platform/LocalTime.h"
#include "platform/MessageBox.h"
#include "platform/UserAction.h"
#include "ui/StringTable.h"

#include <cmath>

namespace {

const QString kLogged = QStringLiteral("Logged");
const QString kStopTimeQuestion =
    QStringLiteral("The time to book in this entry is later than your Auto Timer stop time set in "
                   "your properties.\nDo you want to go ahead and book this time anyway?");
const QString kClashQuestion =
    QStringLiteral("You already have a timesheet entry at this time - do you want to add this "
                   "entry at the next free time interval?");
const QString kNotStoredYet =
    QStringLiteral("The time since %1 is not stored yet: the database cannot store it just now. "
                   "Timing goes on, and the time will be stored when the database answers again.");
const QString kNotStored =
    QStringLiteral("Timing has stopped, but the time since %1 could not be stored: the database "
                   "cannot store it just now. Book it in the time sheet when the database "
                   "answers again.");

constexpr int kFrameIcons[] = {178, 179, 180, 181, 182, 183};

QString HourMinute(int minutes)
{
    return QString::asprintf("%02i:%02i", minutes / 60, minutes % 60);
}

void ShowOutsideRegion(int result, int start, int stop)
{
    const char* which = result == kWriteBelowZero ? "start" : "stop";
    ShowMessageBox(QString::asprintf("Your %s time is outside the valid region - timesheet entry "
                                     "start = %i::%i, stop = %i::%i",
                                     which, start / 60, start % 60, stop / 60, stop % 60),
                   kMbOk | kMbIconWarning);
}

} // namespace

CBookTime::CBookTime(CDBClass& db, IBookTimeOwner& owner)
    : m_db(db)
    , m_owner(owner)
{
    m_bookTimer.setObjectName(QStringLiteral("timer%1").arg(kBookTimerId));
    m_trayTimer.setObjectName(QStringLiteral("timer%1").arg(kTrayTimerId));
    QObject::connect(&m_bookTimer, &QTimer::timeout, [this] { TimerProc(kBookTimerId); });
    QObject::connect(&m_trayTimer, &QTimer::timeout, [this] { TimerProc(kTrayTimerId); });
}

CBookTime::~CBookTime()
{
    // The window is going: nothing more is booked or shown.
    m_bookTimer.stop();
    m_trayTimer.stop();
    if (m_connectionHeld)
        m_db.ReleaseConnection(false, false);
}

// ---- Options ---------------------------------------------------------------------------------

void CBookTime::LoadOptions()
{
    CProfile::CContext context;
    context.bookingInterval = m_db.StartupInfo().BookingInterval;
    context.providerKind = m_db.GetProviderKind();
    const CProfile::CValues options = CProfile::LoadSettings(context);
    m_interval = m_db.StartupInfo().BookingInterval;
    // Stored 1 is the options' "current interval" choice, 0 "the nearest".
    m_roundStart = !options.Bool("AutoLogRoundStart");
    m_roundStop = !options.Bool("AutoLogRoundStop");
    m_stopLimit = CPropsAutoLogging::RoundingMinutes(options.Int("AutoLogStopMinVal")) +
                  options.Int("AutoLogStopHrVal") * 60;
    m_advanceLimit = options.Int("AutoLogAdvBook");
    m_timerMinutes = options.Int("timerVal");
}

bool CBookTime::IsAfterStopTime(int stop) const
{
    const int limit = m_stopLimit == 0 || m_afterStopAgreed ? kMidnight : m_stopLimit;
    return limit < stop;
}

bool CBookTime::Ask(const QString& question)
{
    // A booking tick that comes while the box is open books nothing.
    m_questionOpen = true;
    const int answer = ShowMessageBox(question, kMbYesNo | kMbIconQuestion);
    m_questionOpen = false;
    return answer == kIdYes;
}

bool CBookTime::AskToBookAfterStop()
{
    if (!Ask(kStopTimeQuestion))
        return false;
    m_afterStopAgreed = true;
    return true;
}

int CBookTime::MinutesNow(const QDateTime& now) const
{
    // Past the booking day it is midnight or later for the day's block.
    if (m_bookDay.isValid() && now.date() > m_bookDay)
        return kMidnight + now.time().hour() * 60 + now.time().minute();
    return now.time().hour() * 60 + now.time().minute();
}

QDateTime CBookTime::OnBookingDay(int minute) const
{
    return CLocalTime::Moment(m_bookDay, minute);
}

int CBookTime::StopAhead(const QDateTime& now) const
{
    // The next boundary on the clock's face is an interval of time ahead but
    // on the nights the clock changes: going back, the boundary after the
    // hour shown twice is more than an hour away until that hour's last
    // interval; going forward, the boundaries it skips are one moment.
    const QDateTime limit = OnTheMinute(now).addSecs(m_interval * 60);
    int stop = m_interval * ((MinutesNow(now) + m_interval) / m_interval);
    while (stop + m_interval <= kMidnight && OnBookingDay(stop + m_interval) <= limit)
        stop += m_interval;
    while (stop > 0 && OnBookingDay(stop) > limit)
        stop -= m_interval;
    return stop;
}

bool CBookTime::GivesBackLastInterval(const QDateTime& now) const
{
    // Its stop is farther ahead than the boundary before it is behind: on
    // the night the clock goes back that boundary may be an hour behind.
    const QDateTime minute = OnTheMinute(now);
    return OnBookingDay(m_stopMinutes - m_interval).secsTo(minute) <
           minute.secsTo(OnBookingDay(m_stopMinutes));
}

QDateTime CBookTime::OnTheMinute(const QDateTime& moment)
{
    return moment.addSecs(-moment.time().second()).addMSecs(-moment.time().msec());
}

// ---- Starting and booking --------------------------------------------------------------------

int CBookTime::StartTiming(int projId, int taskId, int& start, int& stop)
{
    if (m_running)
        return kFailed;
    m_running = true;
    LoadOptions();
    if (m_interval != 6 && m_interval != 15) {
        ShowMessageBox(QStringLiteral("The auto timer books in intervals of 6 or 15 minutes; the "
                                      "booking interval of this database is %1.")
                           .arg(m_interval),
                       kMbOk | kMbIconWarning);
        StopTiming();
        return kFailed;
    }
    m_logged = m_tipStart = m_tipStop = false;
    m_unstored = m_unstoredTold = false;
    m_timeId = m_empId = m_orderId = -1;
    m_advanceCount = 0;
    m_projId = projId;
    m_taskId = taskId;
    m_userName = CProfile::DefUserName();

    int result = Try([&] {
        m_projName = m_db.GetProjectName(projId);
        return CheckAndBook(projId, taskId, start, stop, false);
    });
    // Timing starts all the same: the user works from now on.
    if (result == kFailed && m_dbFailed) {
        KeepFirstBlock(start, stop);
        result = kBooked;
    }
    TellUnstored();
    switch (result) {
    case kBooked:
        OnSecondTick(m_startMinutes, m_stopMinutes);
        // The open time sheet shows the new block on its line, then in its details.
        if (m_logged) {
            m_owner.RefreshTimesheet(m_bookDay);
            PassBlock();
        }
        m_bookTimer.start(m_timerMinutes * 60000);
        m_trayTimer.start(1000);
        break;
    case kTooManyAdvances:
    case kRefused:
        RestorePrevious();
        OnSecondTick(m_startMinutes, m_stopMinutes);
        if (m_projId >= 0)
            PassBlock();
        if (result == kRefused)
            StopTiming();
        break;
    default:
        StopTiming();
        break;
    }
    return result;
}

void CBookTime::RestorePrevious()
{
    m_projId = m_prevProjId;
    m_projName = m_prevProjName;
    m_startMinutes = m_prevStart;
    m_stopMinutes = m_prevStop;
}

void CBookTime::PassBlock()
{
    m_owner.PassRecordToTimesheet(m_bookDay, m_projId, m_userName, m_empId, m_startMinutes,
                                  m_stopMinutes, kLogged);
}

int CBookTime::CheckAndBook(int projId, int taskId, int& start, int& stop, bool timesGiven)
{
    // Booking ticks wait while a question is open (TimerProc); this answers anyone else.
    if (m_questionOpen)
        return kBooked;
    if (!timesGiven) {
        const QDateTime now = CClock::Now();
        m_bookDay = now.date();
        const int minutes = now.time().hour() * 60 + now.time().minute();
        start = minutes / m_interval * m_interval;
        stop = start + m_interval;
        // To the nearest boundary, but a block never starts at midnight.
        if (m_roundStart && minutes - start > m_interval * 0.5 && stop < kMidnight) {
            start = stop;
            stop += m_interval;
        }
    }
    m_userName = CProfile::DefUserName();
    // The user cannot change while timing: a lookup the database fails keeps the one known.
    const int empId = m_db.GetEmpIdByName(m_userName);
    if (empId >= 0 || m_empId < 0)
        m_empId = empId;

    if (IsAfterStopTime(stop) && !m_afterStopAgreed) {
        if (!AskToBookAfterStop()) {
            m_advanceCount = 0;
            return kRefused;
        }
    }

    const CDateTime day(m_bookDay);
    m_blockStart = OnBookingDay(start);
    // Timing names its project even while the database cannot.
    if (const QString name = m_db.GetProjectName(projId); !name.isEmpty())
        m_projName = name;
    QString code;
    int orderId = -1;
    double rate = 0;
    // A lookup the database fails keeps the order this run books on.
    if (!m_db.GetProjectOrder(projId, code, orderId, rate) && projId == m_projId && m_orderId > 0) {
        orderId = m_orderId;
        rate = m_rate;
    }
    int timeId = 1;
    // Read before anything is written: a database that cannot read the day cannot store.
    if (!m_db.GetTimeIdOfDay(timeId, m_empId, day)) {
        m_dbFailed = true;
        return kFailed;
    }
    m_projId = projId;
    m_orderId = orderId;
    m_taskId = taskId;
    m_rate = rate;

    if (m_db.CheckTimeOverlap(day, m_empId, start, stop, -1)) {
        if (!m_nextFreeAnswer) {
            // No: the answer stays no and timing ends.
            if (!Ask(kClashQuestion))
                return kFailed;
            m_nextFreeAnswer = true;
        }
        if (m_advanceCount >= m_advanceLimit) {
            m_advanceCount = 0;
            m_owner.UpdateWindowText();
            m_owner.SetTimesheetReadOnly(1);
            return kTooManyAdvances;
        }
        start = stop;
        stop += m_interval;
        // Past midnight: the caller ends timing.
        if (start >= kMidnight)
            return kFailed;
        ++m_advanceCount;
        const int result = CheckAndBook(projId, taskId, start, stop, true);
        switch (result) {
        case kTooManyAdvances:
        case kBooked:
            m_advanceCount = 0;
            return result;
        case kRefused:
            m_running = false;
            return result;
        default:
            return kFailed;
        }
    }

    CTimeSheetWrite entry;
    entry.WorkDate = day;
    entry.EmpID = m_empId;
    entry.ProjID = projId;
    entry.OrderID = orderId;
    entry.TaskID = taskId;
    entry.OrderHourRate = static_cast<float>(rate);
    entry.Start = start;
    entry.Stop = stop;
    entry.Comment = kLogged;
    entry.TimeID = timeId;
    const int written = m_db.UpdateTimeData(nullptr, entry);
    if (written == kWriteBelowZero || written == kWriteAbove1440)
        ShowOutsideRegion(written, start, stop);
    if (written != kWriteOk) {
        m_dbFailed = IsDatabaseFailure(written);
        return kFailed;
    }
    m_timeId = timeId;
    m_startMinutes = start;
    m_stopMinutes = stop;
    m_blockStop = OnBookingDay(stop);
    m_logged = m_tipStart = m_tipStop = true;
    m_owner.UpdateWindowText();
    m_advanceCount = 0;
    return kBooked;
}

bool CBookTime::BookEntry(int projId, int orderId, int taskId, double rate, int start, int stop)
{
    if (m_empId < 0)
        m_empId = m_db.GetEmpIdByName(m_userName);
    QString code;
    int bookable = -1;
    double bookableRate = 0;
    if (m_db.GetProjectOrder(projId, code, bookable, bookableRate)) {
        orderId = bookable;
        rate = bookableRate;
    }

    // The block's own row, and how far it may grow: up to the next row of the day.
    const CDateTime day(m_bookDay);
    CTimeSheetSet rows(m_db.Connection());
    rows.Recordset()->SetFilter(CDBClass::DayFilterText(), CDBClass::DayFilterValues(m_empId, day));
    if (!m_db.OpenRecordSet(&rows)) {
        m_dbFailed = true;
        return false;
    }
    bool own = false;
    bool blocked = false;
    int limit = stop;
    for (; !rows.Recordset()->IsBOF() && !rows.Recordset()->IsEOF(); rows.MoveNext()) {
        if (rows.m_TimeID == m_timeId) {
            own = true;
            continue;
        }
        // Read as the time sheet reads it; a row without times is in no way.
        const CRowTimes row = CRowTimes::Read(rows.m_WorkDate, rows.m_StartTime, rows.m_StopTime);
        if (!row.HasTimes())
            continue;
        if (row.start <= start && start < row.stop)
            blocked = true;
        else if (row.start > start)
            limit = qMin(limit, row.start);
    }
    m_db.CloseRecordSet(&rows, true);
    if (blocked || limit <= start)
        return false;
    if (own && limit == m_stopMinutes)
        return true;

    CTimeSheetWrite entry;
    entry.IsUpdate = own;
    entry.WorkDate = day;
    entry.EmpID = m_empId;
    entry.ProjID = projId;
    entry.OrderID = orderId;
    entry.TaskID = taskId;
    entry.OrderHourRate = static_cast<float>(rate);
    entry.Start = start;
    entry.Stop = limit;
    entry.Comment = kLogged;
    entry.TimeID = m_timeId;
    if (!own && !m_db.GetTimeIdOfDay(entry.TimeID, m_empId, day)) {
        m_dbFailed = true;
        return false;
    }
    const int written = m_db.UpdateTimeData(nullptr, entry);
    if (written == kWriteBelowZero || written == kWriteAbove1440) {
        ShowOutsideRegion(written, start, limit);
        m_logged = m_tipStart = m_tipStop = false;
        return false;
    }
    if (written != kWriteOk) {
        m_dbFailed = IsDatabaseFailure(written);
        return false;
    }
    m_timeId = entry.TimeID;
    m_startMinutes = start;
    m_stopMinutes = limit;
    m_blockStop = OnBookingDay(limit);
    m_logged = m_tipStart = m_tipStop = true;
    return true;
}

// ---- What the database does not take ----------------------------------------------------------

int CBookTime::Try(const std::function<int()>& step)
{
    CHeldMessages held;
    m_dbFailed = false;
    m_storing = true;
    if (!m_connectionHeld)
        m_connectionHeld = m_db.OpenConnection();
    const int result = step();
    m_storing = false;
    if (result != kBooked && !m_dbFailed)
        held.Release();
    return result;
}

bool CBookTime::IsDatabaseFailure(int written)
{
    switch (written) {
    case kWriteDbError:
    case kWriteNotOpened:
    case kWriteProcedureFailed:
    // The employees could not be read.
    case kWriteNoRateFactor:
        return true;
    default:
        return false;
    }
}

int CBookTime::Store(int stop)
{
    int result = Try([&] {
        int outcome = kBooked;
        if (!m_logged) {
            int start = m_startMinutes;
            int first = m_stopMinutes;
            outcome = CheckAndBook(m_projId, m_taskId, start, first, true);
        }
        if (outcome == kBooked && m_logged && stop > m_stopMinutes &&
            !BookEntry(m_projId, m_orderId, m_taskId, m_rate, m_startMinutes, stop))
            outcome = kFailed;
        return outcome;
    });
    if (result == kFailed && m_dbFailed) {
        NoteUnstored(stop);
        return kBooked;
    }
    if (result == kBooked && m_logged)
        NoteStored();
    else if (result == kFailed || result == kRefused)
        m_unstored = false; // refused, and told so: nothing is left to store
    return result;
}

void CBookTime::KeepFirstBlock(int start, int stop)
{
    m_startMinutes = start;
    m_stopMinutes = stop;
    m_blockStart = OnBookingDay(start);
    m_blockStop = OnBookingDay(stop);
    m_tipStart = m_tipStop = true;
    NoteUnstored(stop);
}

void CBookTime::NoteUnstored(int wantedStop)
{
    m_wantedStop = m_unstored ? qMax(m_wantedStop, wantedStop) : wantedStop;
    m_unstored = true;
}

void CBookTime::NoteStored()
{
    m_unstored = m_unstoredTold = false;
    m_wantedStop = m_stopMinutes;
}

void CBookTime::TellUnstored()
{
    if (!m_unstored || m_unstoredTold)
        return;
    m_unstoredTold = true;
    ShowMessageBox(kNotStoredYet.arg(HourMinute(UnstoredSince())), kMbOk | kMbIconWarning);
}

// ---- Ticks -------------------------------------------------------------------------------------

void CBookTime::TimerProc(int id)
{
    if (m_projId < 0)
        return;
    m_status = kBooked;
    if (id == kTrayTimerId) {
        OnSecondTick(m_startMinutes, m_stopMinutes);
        return;
    }
    if (id != kBookTimerId || m_questionOpen)
        return;
    // A tick of its own: the database may answer again since the last one.
    UserAction::Next();
    m_lastTick = CClock::Now();
    if (m_logged || m_unstored) {
        // The day's block ends with it; stopping stores what is still in hand.
        if (m_lastTick.date() != m_bookDay) {
            StopTiming();
            return;
        }
        const int newStop = StopAhead(m_lastTick);
        // A block never shrinks at a tick.
        const bool grows = m_startMinutes < newStop && newStop > m_stopMinutes;
        m_blockStop = OnBookingDay(grows ? newStop : m_stopMinutes);
        if (grows && IsAfterStopTime(newStop)) {
            m_status = kRefused;
            m_owner.OnGo();
        } else if (grows || m_unstored) {
            m_status = Store(m_unstored ? qMax(newStop, m_wantedStop) : newStop);
        }
    } else {
        int start = 0;
        int stop = 0;
        m_status = Try([&] { return CheckAndBook(m_projId, m_taskId, start, stop, false); });
        if (m_status == kFailed && m_dbFailed) {
            KeepFirstBlock(start, stop);
            m_status = kBooked;
        }
    }
    TellUnstored();
    if (m_status == kBooked && m_unstored) {
        // The time sheet keeps what it shows: it is what the database holds.
        m_owner.UpdateWindowText();
    } else if (m_status == kBooked && m_logged) {
        // Reloaded first: a reload would put the day's first block in the details.
        m_owner.RefreshTimesheet(m_bookDay);
        PassBlock();
        m_owner.UpdateWindowText();
    } else if (m_status == kFailed || m_status == kRefused) {
        StopTiming();
    }
}

int CBookTime::GetFrameIcon(int frame)
{
    return frame >= 1 && frame <= 6 ? kFrameIcons[frame - 1] : kFrameIcons[0];
}

void CBookTime::OnSecondTick(int start, int stop)
{
    QString tip;
    if (!m_tipStart)
        tip =
            QStringLiteral("Auto logging: %1 : %2 Logging not started").arg(m_userName, m_projName);
    else if (!m_tipStop)
        tip = QStringLiteral("Auto logging: %1, %2, %3:%4")
                  .arg(m_userName, m_projName, QString::number(start / 60),
                       QString::number(start % 60));
    else
        tip = QStringLiteral("Auto logging: %1, %2, %3 to %4")
                  .arg(m_userName, m_projName, HourMinute(start), HourMinute(stop));
    m_owner.SetTrayIcon(GetFrameIcon(m_frame), tip);
    m_frame = m_frame >= 6 ? 1 : m_frame + 1;
}

bool CBookTime::IsTimerActive(int id) const
{
    return id == kBookTimerId ? m_bookTimer.isActive()
                              : id == kTrayTimerId && m_trayTimer.isActive();
}

int CBookTime::TimerInterval(int id) const
{
    return id == kBookTimerId ? m_bookTimer.interval() : m_trayTimer.interval();
}

// ---- Stopping --------------------------------------------------------------------------------

bool CBookTime::StopTiming()
{
    m_bookTimer.stop();
    m_trayTimer.stop();
    // A last try at the time in hand; a loss is never passed over in silence.
    if (m_unstored && m_projId >= 0 && !m_storing) {
        Store(m_wantedStop);
        if (m_unstored)
            ShowMessageBox(kNotStored.arg(HourMinute(UnstoredSince())), kMbOk | kMbIconWarning);
        else if (m_logged)
            m_owner.RefreshTimesheet(m_bookDay);
    }
    m_unstored = m_unstoredTold = false;
    if (m_projId >= 0) {
        m_prevProjId = m_projId;
        m_prevProjName = m_projName;
        m_prevStart = m_startMinutes;
        m_prevStop = m_stopMinutes;
    }
    m_projId = -1;
    const bool booked = m_logged && m_timeId >= 0;
    m_running = false;
    m_logged = false;

    // Only a block this run wrote gives back its last interval.
    if (booked && m_roundStop && GivesBackLastInterval(CClock::Now())) {
        CTimeSheetWrite entry;
        entry.IsUpdate = true;
        entry.WorkDate = CDateTime(m_bookDay);
        entry.EmpID = m_empId;
        entry.ProjID = m_prevProjId;
        entry.OrderID = m_orderId;
        entry.TaskID = m_taskId;
        entry.OrderHourRate = static_cast<float>(m_rate);
        entry.Start = m_startMinutes;
        entry.Stop = m_stopMinutes - m_interval;
        entry.Comment = kLogged;
        entry.TimeID = m_timeId;
        if (m_db.UpdateTimeData(nullptr, entry) == kWriteOk) {
            m_stopMinutes = entry.Stop;
            m_prevStop = entry.Stop;
            // A deleted block is no previous block to show again.
            if (entry.Start == entry.Stop)
                m_prevProjId = -1;
        }
    }
    m_timeId = -1;
    m_afterStopAgreed = false;
    m_nextFreeAnswer = false;
    m_advanceCount = 0;

    if (m_connectionHeld) {
        m_connectionHeld = false;
        m_db.ReleaseConnection(false, false);
    }
    m_owner.SetTrayIcon(kTrayIcon, LoadStringRes(IDS_TRAY_TIP));
    m_owner.OnTimingStopped();
    m_owner.EnableTimesheetEditing(true);
    m_owner.SetTimesheetReadOnly(0);
    return true;
}
