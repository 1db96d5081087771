#include "timesheet/TimeSheetController.h"

#include "app/KelvaneApp.h"
#include "app/WindowCaption.h"
#include "data/DBClass.h"
#include "data/DBConnection.h"
#include "data/UndoHistory.h"
#include "data/UndoRecord.h"
#include "data/records/TimeSheetSet.h"
#include "platform/Clock.h"
#include "platform/LocalTime.h"
#include "platform/MessageBox.h"
#include "timeline/PlentorIds.h"
#include "timesheet/Plentor.h"
#include "timesheet/ScheduleTimeDlg.h"
#include "ui/ResourceIds.h"
#include "ui/StringTable.h"
#include "ui/WaitCursor.h"

#include <QApplication>
#include <QList>

#include <utility>

namespace {

// The stand-in of the projects the line could not read.
constexpr int kNotReadColour = 0x808080;

QString Hhmm(int minute)
{
    return QString::asprintf("%02i:%02i", minute / 60, minute % 60);
}

// Results the facade has already told the user about.
bool FacadeSpoke(int result)
{
    switch (result) {
    case kWriteNoOrder:
    case kWriteOverlap:
    case kWriteDbError:
    case kWriteNotOpened:
    case kWriteDeleteFailed:
    case kWriteDeleteError:
    case kWriteProcedureFailed:
    case kWriteProcedureRefused:
        return true;
    default:
        return false;
    }
}

} // namespace

void CTimeSheetController::Warn(const QString& text)
{
    ShowMessageBox(text, kMbOk | kMbIconWarning);
}

QString CTimeSheetController::ResultMessage(int result)
{
    switch (result) {
    case 0:
        return QString();
    case 1:
        return QStringLiteral("Your start is invalid");
    case 2:
        return QStringLiteral("Your end time is invalid");
    case 3:
        return QStringLiteral("Your entry has an invalid ID \n- please close this dialog and try "
                              "again");
    case 4:
        return QStringLiteral("Your entry has an invalid order ID \n- please close this dialog and "
                              "try again");
    case 5:
        return QStringLiteral("Your entry has an invalid Work ID \n- please close this dialog and "
                              "try again");
    case 7:
    case 18:
        return QStringLiteral("Your Time entry overlaps an existing entry \n- please close this "
                              "dialog and try again");
    case 8:
        return QStringLiteral("Your entry has an invalid rate factor \n- please close this dialog "
                              "and try again");
    case 9:
        return QStringLiteral("There has been an error writing to the database \n- please close "
                              "this dialog and try again");
    case 11:
        return QString();
    case 12:
        return QStringLiteral("Data error \n- unable to save record");
    case 14:
        return QStringLiteral("Data error \n- your data needs to be resynchronised to the "
                              "database, \n refresh the data using the refresh timesheets menu");
    case 15:
        return QStringLiteral("There is an error in the timesheet data, \n - please close and open "
                              "the timesheet window to re-initialise the data");
    default:
        return QStringLiteral("Your timesheet entry is corrupted \n- please close this dialog, "
                              "then reopen and retry your entry ");
    }
}

CTimeSheetController::CTimeSheetController(CPlentor& control, CDBClass& db, ITimeSheetUi& ui)
    : m_control(control)
    , m_db(db)
    , m_ui(ui)
{
    m_db.SetTimeSheetView(this);
    m_control.OfferService(PlentorIds::kDayService, static_cast<ITimeLineDay*>(this));
    ReloadOptions();
}

CTimeSheetController::~CTimeSheetController()
{
    m_control.OfferService(PlentorIds::kDayService, nullptr);
    m_saveTimes.reset();
    m_db.SetTimeSheetView(nullptr);
    m_db.UndoHistory().Clear();
    // The next window reads the day from the database again.
    m_db.ResetDayKey();
}

void CTimeSheetController::ReloadOptions()
{
    CProfile::CContext context;
    context.bookingInterval = BookingInterval();
    context.providerKind = m_db.GetProviderKind();
    m_options = CProfile::LoadSettings(context);
    m_keys = CProfile::LoadKeyCommands();
}

int CTimeSheetController::BookingInterval() const
{
    const int interval = m_db.StartupInfo().BookingInterval;
    return interval > 0 ? interval : 15;
}

CRowTimes::CSpan CTimeSheetController::LineBlock(const CTimeSheetEntry& row) const
{
    return row.Times().LineBlock(BookingInterval(), row.HoursWorked);
}

QString CTimeSheetController::EmployeeName()
{
    const QString selected = m_ui.SelectedUserName();
    return selected.isEmpty() ? CProfile::DefUserName() : selected;
}

int CTimeSheetController::CurrentEmployee()
{
    const int selected = m_ui.SelectedEmployeeId();
    if (selected >= 0)
        m_empId = selected;
    return m_empId;
}

CDateTime CTimeSheetController::WorkDate() const
{
    return CDateTime(m_day);
}

void CTimeSheetController::Status(const QString& text)
{
    ++m_statusesSaid;
    m_ui.SetStatusText(text);
}

void CTimeSheetController::TakeStoredRow(const CTimeSheetEntry& row)
{
    m_entry.projId = row.ProjID;
    m_entry.projName = m_db.GetProjectName(row.ProjID);
    m_entry.taskId = row.TaskID;
    m_entry.orderId = row.OrderID;
    m_entry.workTypeId = row.WorkTypeID;
    m_entry.comment = row.Comment;
    m_entry.chgReqId = row.ObjectID.isNull() ? -1 : row.ObjectID.toInt();
    m_entry.taskName = m_db.GetTaskNameForProject(row.TaskID, row.ProjID);
    m_entry.orderName = m_db.GetOrderCode(row.OrderID);
    m_entry.workTypeName = m_db.GetWorkTypeName(row.WorkTypeID);
    if (m_entry.workTypeName.isEmpty())
        m_entry.workTypeName = UnknownWorkType();
    QString code;
    double rate = 0;
    if (m_db.GetOrderCodeAndRate(row.ProjID, row.OrderID, rate, code))
        m_entry.orderRate = rate;
    // As the day's load shows it.
    const CRowTimes::CSpan block = LineBlock(row);
    SetTimes(block.start, block.stop);
    UpdateCost();
}

void CTimeSheetController::UpdateCost()
{
    QString cost;
    if (!m_db.FormatEntryCost(cost, m_entry.projId, m_entry.orderId, m_entry.start, m_entry.stop,
                              m_empId, m_day))
        cost = QStringLiteral("0.00");
    m_entry.costText = cost;
}

void CTimeSheetController::UpdateUndoMenus()
{
    m_ui.EnableUndoRedo(m_db.UndoHistory().UndoCount() > 0, m_db.UndoHistory().RedoCount() > 0);
}

// ---- Start and settings ------------------------------------------------------------------

void CTimeSheetController::Start(const QDate& day)
{
    m_starting = true;
    ReloadOptions();
    SetShownDay(day);
    CurrentEmployee();
    if (m_options.Bool("SetDefIncrTime"))
        m_control.SetIncrTime(m_options.Int("IncrTime"));
    if (m_options.Bool("SetDefStartTime"))
        m_control.SetStartPosHour(m_options.Int("StartTime"));
    m_entry.costText = QStringLiteral("0.00");
    m_starting = false;
}

void CTimeSheetController::Close()
{
    m_closing = true;
    if (m_schedule)
        m_schedule->EndDialog(IDOK);
    if (m_saveTimes && m_saveTimesRunning)
        m_saveTimes->EndDialog(IDOK);
}

bool CTimeSheetController::ApplySettings()
{
    if (m_closing)
        return false;
    CWaitCursor wait;
    ReloadOptions();
    if (HasApp() && theApp().IsAutoLogging()) {
        UpdateReadOnlyState(2);
        m_ui.EnableBlockMenus(false);
        return false;
    }
    m_control.SetGrabWidth(m_options.Int("GrabWidth"));
    m_db.SetDisplayedDay(m_day);
    ApplyTimeFormat();
    m_control.SetscrlSpeed(m_options.Int("ScrlSpd"));
    ClearInfo();
    m_control.DrawFocusRect(m_keys.Bool("drwFocusRect"));
    return true;
}

void CTimeSheetController::ApplyTimeFormat()
{
    m_control.SetTimeHHMM(1);
}

void CTimeSheetController::UpdateReadOnlyState(int mode)
{
    const QString title = QStringLiteral("Kelvane");
    QString caption;
    bool autoCaption = false;
    if ((HasApp() && theApp().IsAutoLogging()) || mode == 2) {
        caption = QStringLiteral("%1 [Read Only - Auto Timing]").arg(title);
        m_control.setAutoTiming(true);
        if (mode == 0)
            m_control.SetReadOnly(false);
        autoCaption = true;
    } else {
        m_control.setAutoTiming(false);
    }
    if (mode == 1) {
        caption = QStringLiteral("%1 [Read Only]").arg(title);
        m_control.SetReadOnly(true);
    } else if (!autoCaption) {
        m_control.SetReadOnly(false);
        // The caption the window started with: edition and company too.
        caption = BuildWindowCaption(IDS_TIMESHEET_TITLE, title, &m_db);
    }
    m_ui.SetCaption(caption + QStringLiteral(" - ") + CProfile::DefUserName());
}

// ---- Ready, projects and the day -------------------------------------------------------------

void CTimeSheetController::OnReady()
{
    ++m_readyCount;
    m_control.SetTickTypes(1, m_options.Int("TickStatus"));
    m_control.SetMinIntervalVal(BookingInterval());
    ApplySettings();
    // Nothing is read for an employee not known yet.
    const bool usersRead = m_ui.UsersRead();
    if (!m_projectsLoaded && usersRead)
        LoadProjectList();
    if (!m_firstSizeDone) {
        m_firstSizeDone = true;
        m_ui.FirstLayout();
    }
    // The layout may have rebuilt the time line (and loaded the day through
    // the Ready that followed); the day is loaded once.
    if (!m_dayLoaded && usersRead) {
        m_dayLoaded = true;
        LoadDay(m_day);
    }
    m_control.InvalidateControl();
    TellReadState();
}

void CTimeSheetController::TellReadState()
{
    const bool read = m_projectsLoaded && m_dayLoaded && !m_db.DayOutOfStep();
    m_ui.NoteDataRead(read);
}

void CTimeSheetController::LoadProjectList()
{
    if (m_projectsLoaded)
        return;
    // A list the database cannot give now is asked for again at the next
    // step; until then the line keeps what it shows, and an empty line says
    // it has not read them rather than that there are none.
    if (!m_db.ReloadProjects(CurrentEmployee())) {
        if (m_shownProjects.isEmpty()) {
            m_control.ClearProjInfo();
            m_control.SetProjInfo(QStringLiteral("Projects not read"), -1, kNotReadColour);
        }
        return;
    }
    m_control.ClearProjInfo();
    m_shownProjects.clear();
    bool first = true;
    // A full line refuses every project after the first it refuses.
    bool lineFull = false;
    for (const CProjectEntry& project : m_db.Projects()) {
        if (!lineFull &&
            m_control.SetProjInfo(project.ProjName, project.ProjID, project.ProjColour))
            m_shownProjects << project.ProjID;
        else
            lineFull = true;
        if (first) {
            m_entry.projId = project.ProjID;
            m_entry.projName = project.ProjName;
            first = false;
        }
    }
    m_projectsLoaded = true;
    // The tasks and orders of the projects on the line; another project's
    // are read when it is chosen.
    m_db.LoadTasksOfProjects(m_shownProjects);
    m_db.LoadOrdersOfProjects(m_shownProjects);
}

bool CTimeSheetController::LoadDay(const QDate& day)
{
    CWaitCursor wait;
    m_day = day;
    m_db.SetDisplayedDay(day);
    const int empId = CurrentEmployee();
    m_readingDay = true;
    m_db.EnsureDayLoaded(empId, day, false);
    m_readingDay = false;
    ShowDayOnLine(true);
    if (m_readyCount > 0)
        TellReadState();
    return !m_db.DayOutOfStep();
}

void CTimeSheetController::ShowDayOnLine(bool firstRowInHand)
{
    const int empId = CurrentEmployee();
    const CDateTime date(m_day);
    // A copy: deleting a row changes the cache.
    const QList<CTimeSheetEntry> rows = m_db.DayEntries();
    bool first = firstRowInHand;
    m_lineKeys.clear();
    for (const CTimeSheetEntry& row : rows) {
        if (row.TimeID < 0) {
            m_db.DeleteTimeSheetEntry(row.TimeID, empId, date, true, 0, 0);
            Warn(QStringLiteral("Corrupted record found at %1 and deleted")
                     .arg(row.StartTime.Time().toString(QStringLiteral("HH:mm:ss"))));
            continue;
        }
        // Only the empty row the program's own editing leaves goes. One that
        // stops on the next day, has no times (a lump sum of hours) or
        // merely rounds to nothing is kept, shown as well as the line can
        // and left as stored until its block is edited.
        if (row.Times().zeroLength) {
            m_db.DeleteTimeSheetEntry(row.TimeID, empId, date, true, 0, 0);
            continue;
        }
        const CRowTimes::CSpan block = LineBlock(row);
        const int start = block.start;
        const int stop = block.stop;
        QString text;
        if (!row.ObjectID.isNull() && row.ObjectID.toInt() >= 0)
            text = QString::number(row.ObjectID.toInt());
        m_control.SetTimesheetTimes(row.TimeID, start, stop, row.ProjID, text);
        m_lineKeys.insert(row.TimeID, row.TimesheetID);
        if (first) {
            SetTimes(start, stop);
            m_entry.costText = QStringLiteral("0.00");
            first = false;
        }
    }
    if (HasApp())
        theApp().SetCurrentDay(m_day);
    m_control.RecreateToolTips();
    ShowEntry();
    m_control.DoPaint();
    UpdateUndoMenus();
}

void CTimeSheetController::CatchUpWithDatabase()
{
    // Not in the middle of anything that holds blocks of the line, nor while
    // the line's own menu is open.
    if (m_readingDay || m_busy || m_storing || m_drawing || m_replay || m_saveTimesRunning ||
        m_schedule || m_closing || m_control.IsMenuActive() || !m_ui.UsersRead())
        return;
    if (!m_projectsLoaded && m_readyCount > 0) {
        // The projects the window could not read: asked for once a
        // connection can be had, without a word until then.
        if (!m_db.Connection()->ConnectedQuietly())
            return;
        LoadProjectList();
        if (!m_projectsLoaded)
            return;
        m_control.SetCurrentProjID(m_entry.projId);
        m_control.DoPaint();
        TellReadState();
    }
    if (!m_db.DayOutOfStep() || !m_dayLoaded)
        return;
    m_readingDay = true;
    const bool read = m_db.ReloadDayQuietly(CurrentEmployee(), m_day);
    m_readingDay = false;
    if (!read)
        return;
    m_control.ClearTimeInfo();
    // The entry in hand stays; only the line follows the database. A block
    // that was never stored is no longer described either.
    ShowDayOnLine(false);
    if (m_inHandId >= 0 && !m_db.IsTimeIdInDayCache(m_inHandId))
        ClearInfo();
    TellReadState();
}

void CTimeSheetController::ReadAgain()
{
    if (m_readyCount > 0 && m_ui.UsersRead()) {
        if (m_dayLoaded) {
            CatchUpWithDatabase();
        } else {
            // Never read for this employee: read as a change of user does.
            OnSelChangeUser();
            m_dayLoaded = true;
        }
    }
    TellReadState();
}

int CTimeSheetController::MinutesNow()
{
    return CClock::MinutesNow();
}

int CTimeSheetController::MinutesToBookNow()
{
    const QDateTime now = CClock::Now();
    if (now.date() != m_day) {
        // Not while a block of the day shown is in hand.
        if (m_busy || m_storing || m_drawing || m_saveTimesRunning || m_schedule || m_replay ||
            m_closing || m_readingDay)
            return -1;
        GoToDay(now.date());
    }
    return now.time().hour() * 60 + now.time().minute();
}

int CTimeSheetController::ElapsedMinutes(int start, int stop)
{
    return CLocalTime::ElapsedMinutes(m_day, start, stop);
}

void CTimeSheetController::SetShownDay(const QDate& day)
{
    m_day = day;
    m_db.SetDisplayedDay(day);
    if (HasApp())
        theApp().SetCurrentDay(day);
    m_ui.ShowDate(day);
}

void CTimeSheetController::GoToDay(const QDate& day)
{
    if (!day.isValid())
        return;
    m_db.UndoHistory().Clear();
    ClearInfo();
    SetShownDay(day);
    m_control.ClearTimeInfo();
    LoadDay(day);
}

void CTimeSheetController::RefreshTimesheet()
{
    CWaitCursor wait;
    const int empId = CurrentEmployee();
    m_readingDay = true;
    m_db.ResetDayKey();
    m_db.LoadDayTimeSheets(WorkDate(), empId);
    m_readingDay = false;
    // A read that failed kept the rows: the line shows them again.
    m_control.ClearTimeInfo();
    LoadDay(m_day);
}

void CTimeSheetController::RefreshProjects()
{
    CWaitCursor wait;
    const int empId = CurrentEmployee();
    LoadProjectList();
    // The orders once: the employee's through the server's procedure where
    // there is one, else all of them.
    const bool employeeOrders =
        m_db.CanUseDbObject(QStringLiteral("sp_ProjectTaskOrdersGetByEmpID")) &&
        m_db.LoadTaskOrdersForEmp(empId);
    m_db.LoadWorkData(!employeeOrders, false);
    m_db.LoadTasksOfProjects(m_shownProjects);
    m_db.ResetDayKey();
    m_db.LoadDayTimeSheets(WorkDate(), empId);
    m_defaultsProjId = -1;
}

void CTimeSheetController::OnSelChangeUser()
{
    CWaitCursor wait;
    m_db.UndoHistory().Clear();
    m_entry.taskId = -1;
    m_entry.orderId = -1;
    m_entry.chgReqId = -1;
    CurrentEmployee();
    m_projectsLoaded = false;
    m_defaultsProjId = -1;
    LoadProjectList();
    m_control.SetCurrentProjID(m_entry.projId);
    m_control.DoPaint();
    if (HasApp())
        theApp().SetCurrentDay(m_day);
    m_control.ClearTimeInfo();
    LoadDay(m_day);
    double factor = 1;
    m_db.GetEmpRateFactor(m_empId, factor);
    const bool viewOnly = m_ui.AccessMode() == 1;
    UpdateReadOnlyState(viewOnly ? 1 : 0);
    m_ui.EnableBlockMenus(!viewOnly);
}

void CTimeSheetController::SetCurrentEntry(const QDate& day, int projId, const QString& projName,
                                           int empId, int start, int stop, const QString& comment)
{
    // A block of another day or person is not on the line: it is not the
    // entry in hand either.
    if (day != m_day || (empId >= 0 && empId != CurrentEmployee()))
        return;
    m_inHandId = -1;
    MakeProjectCurrent(projId);
    if (!projName.isEmpty())
        m_entry.projName = projName;
    SetTimes(qBound(0, start, 1440), qBound(0, stop, 1440));
    m_entry.comment = comment;
    const int saved = m_empId;
    m_empId = empId >= 0 ? empId : m_empId;
    UpdateCost();
    m_empId = saved;
    ShowEntry();
}

// ---- Entry context -----------------------------------------------------------------------------

void CTimeSheetController::ApplyProjectDefaults(int projId, CEntryContext& entry)
{
    if (projId != m_defaultsProjId) {
        m_defaults = CEntryContext();
        m_defaults.projId = projId;
        int taskId = -1;
        QString taskName;
        m_db.GetDefaultTaskOfProject(projId, taskId, taskName, false);
        m_defaults.taskId = taskId;
        m_defaults.taskName = taskName;
        QString code;
        int orderId = -1;
        double rate = 0;
        if (m_db.GetProjectOrder(projId, code, orderId, rate)) {
            m_defaults.orderId = orderId;
            m_defaults.orderName = code;
            m_defaults.orderRate = rate;
        }
        QString workName;
        int workId = -1;
        if (taskId > 0 && m_db.GetTaskWorkType(projId, taskId, workName, workId)) {
            m_defaults.workTypeId = workId;
            m_defaults.workTypeName = workName;
        }
        m_defaultsProjId = projId;
    }
    entry.projId = projId;
    entry.taskId = m_defaults.taskId;
    entry.taskName = m_defaults.taskName;
    entry.orderId = m_defaults.orderId;
    entry.orderName = m_defaults.orderName;
    entry.orderRate = m_defaults.orderRate;
    entry.workTypeId = m_defaults.workTypeId;
    entry.workTypeName = m_defaults.workTypeName;
}

bool CTimeSheetController::TakeOrderRate(int projId, int orderId)
{
    QString code;
    double rate = 0;
    if (!m_db.GetOrderCodeAndRate(projId, orderId, rate, code)) {
        Status(QStringLiteral("ERROR on order rate"));
        return false;
    }
    m_entry.orderRate = rate;
    return true;
}

void CTimeSheetController::MakeProjectCurrent(int projId)
{
    ApplyProjectDefaults(projId, m_entry);
    m_entry.projName = m_db.GetProjectName(projId);
    if (m_entry.orderId > 0)
        TakeOrderRate(projId, m_entry.orderId);
    UpdateCost();
}

void CTimeSheetController::ResetToProjectDefaults(int projId)
{
    ApplyProjectDefaults(projId, m_entry);
    m_entry.projName = m_db.GetProjectName(projId);
    m_entry.costText = QStringLiteral("0.00");
    m_entry.comment.clear();
    ShowEntry();
}

void CTimeSheetController::TakeReplayRecord()
{
    const CUndoRecord& r = *m_replay;
    m_entry.projId = r.m_ProjID;
    m_entry.projName = m_db.GetProjectName(r.m_ProjID);
    m_entry.taskId = r.m_TaskID;
    m_entry.taskName = m_db.GetTaskNameForProject(r.m_TaskID, r.m_ProjID);
    m_entry.orderId = r.m_OrderID;
    m_entry.orderName = m_db.GetOrderCode(r.m_OrderID);
    m_entry.orderRate = r.m_rate;
    m_entry.workTypeId = r.m_WorkTypeID;
    m_entry.workTypeName = m_db.GetWorkTypeName(r.m_WorkTypeID);
    m_entry.comment = r.m_Comment;
    m_entry.chgReqId = r.m_ObjectID;
}

void CTimeSheetController::MoveBlockToProject(int timeId, int oldProjId, int newProjId)
{
    m_control.UpdateProjForTimeObj(timeId, oldProjId, newProjId);
}

void CTimeSheetController::RememberTaskAndWorkType()
{
    if (m_options.Bool("TaskWrite") && m_entry.taskId >= 1)
        CProfile::WriteIndexedInt(QStringLiteral("Task"), m_entry.projId, m_entry.taskId);
    if (m_options.Bool("WorkTypeWrite") && m_entry.workTypeId > 0)
        CProfile::WriteIndexedInt(QStringLiteral("WorkType"), m_entry.projId, m_entry.workTypeId);
}

void CTimeSheetController::ReportResult(int result)
{
    if (result == 0 || result == 11 || FacadeSpoke(result))
        return;
    if (result == 1 || result == 2) {
        Status(ResultMessage(result));
        return;
    }
    Warn(ResultMessage(result));
}

// ---- The other events --------------------------------------------------------------------------

void CTimeSheetController::OnHighlightTime(int timeId, int start, int stop, int projId)
{
    m_highlighted = timeId;
    m_inHandId = timeId;
    m_entry.projId = projId;
    m_entry.projName = m_db.GetProjectName(projId);
    SetTimes(qMin(start, 1440), qMin(stop, 1440));
    m_entry.cursorText = Hhmm(qMin(start, 1440));
    UpdateCost();
    // The highlight may have been posted before a change: the row decides.
    ShowEntry(EntryShown::Stored);
}

void CTimeSheetController::OnProjectSelChange(int projId)
{
    ClearInfo();
    MakeProjectCurrent(projId);
    ApplyRememberedDefaults(false);
    ShowEntry();
}

void CTimeSheetController::ApplyRememberedDefaults(bool withOrder)
{
    if (m_options.Bool("TaskWrite")) {
        const int task = CProfile::GetIndexedInt(QStringLiteral("Task"), m_entry.projId);
        // Only a task of this project; another project's task would be booked wrongly.
        if (task > 0 && task != m_entry.taskId && m_db.IsTaskOfProject(task, m_entry.projId)) {
            m_entry.taskId = task;
            m_entry.taskName = m_db.GetTaskNameForProject(task, m_entry.projId);
            QString code;
            int orderId = -1;
            if (withOrder && TaskOrder(m_db, m_entry.projId, task, orderId, code)) {
                m_entry.orderId = orderId;
                m_entry.orderName = code;
            }
        }
    }
    if (m_options.Bool("WorkTypeWrite")) {
        const int work = CProfile::GetIndexedInt(QStringLiteral("WorkType"), m_entry.projId);
        const QString name =
            work > 0 && work != m_entry.workTypeId ? m_db.GetWorkTypeNameReload(work) : QString();
        if (!name.isEmpty()) {
            m_entry.workTypeId = work;
            m_entry.workTypeName = name;
        }
    }
}

void CTimeSheetController::OnTimeStart(int projId, int start, int drawing)
{
    m_drawing = drawing != 0;
    if (projId == -1) {
        ShowEntry();
        return;
    }
    ClearInfo();
    MakeProjectCurrent(projId);
    // A new block: in hand from its first minute, its stop following the
    // pointer until it is stored.
    const int minute = qBound(0, start, 1440);
    SetTimes(minute, minute);
    ShowEntry();
}

void CTimeSheetController::OnTimeStop()
{
    m_drawing = false;
    // The line posts its start and tells its stop at once: a start posted by
    // a click comes after the stop, and no drawing goes on then.
    if (QWidget* window = m_ui.DialogParent())
        QMetaObject::invokeMethod(
            window, [this] { m_drawing = false; }, Qt::QueuedConnection);
}

void CTimeSheetController::OnTimeEdit(int /*blockId*/, int start, int stop)
{
    if (m_storing || m_busy)
        return;
    SetTimes(qMin(start, 1440), qMin(stop, 1440));
    ShowEntry();
}

void CTimeSheetController::OnTimePos(int minute)
{
    if (m_starting || minute < 0 || minute > 1440)
        return;
    m_insertionMinute = minute;
    m_entry.cursorText = Hhmm(minute);
    if (m_insertionShown)
        RemoveInsertionPoint();
    if (m_drawing && m_entryHasTimes)
        m_entry.stop = minute;
    ShowEntry();
}

void CTimeSheetController::OnWantsEdit(int projId, int timeId)
{
    if (m_busy)
        return;
    const int empId = CurrentEmployee();
    m_db.SetDisplayedDay(m_day);
    m_busy = true;
    m_inHandId = timeId;
    int written = -1;
    if (projId != m_entry.projId)
        MakeProjectCurrent(projId);
    CTimeSheetEntry row;
    bool found = m_db.FindDayEntryForKey(row, timeId, empId, WorkDate());
    if (!found) {
        // Once more from the database: what is in hand belongs to another block.
        m_db.ResetDayKey();
        found = m_db.FindDayEntryForKey(row, timeId, empId, WorkDate());
    }
    if (found) {
        m_entry.projId = row.ProjID;
        m_entry.projName = m_db.GetProjectName(row.ProjID);
        m_entry.taskId = row.TaskID;
        m_entry.taskName = m_db.GetTaskNameForProject(row.TaskID, row.ProjID);
        m_entry.orderId = row.OrderID;
        m_entry.orderName = m_db.GetOrderCode(row.OrderID);
        m_entry.workTypeId = row.WorkTypeID;
        m_entry.workTypeName = m_db.GetWorkTypeName(row.WorkTypeID);
        m_entry.comment = row.Comment;
        m_entry.chgReqId = row.ObjectID.isNull() ? -1 : row.ObjectID.toInt();
        const CRowTimes::CSpan block = LineBlock(row);
        SetTimes(block.start, block.stop);
        TakeOrderRate(row.ProjID, row.OrderID);
    }
    // An entry being edited keeps its own task and work type.
    AskSaveTimes(false, timeId, true);
    m_control.SetReadOnly(true);
    const int blockProj = m_entry.projId;
    if (RunSaveTimes() == IDOK) {
        TakeSaveTimesChoices(timeId, blockProj);
        RememberTaskAndWorkType();
        CTimeSheetSet set(m_db.Connection());
        set.Recordset()->SetFilter(CDBClass::EntryFilterText(),
                                   CDBClass::EntryFilterValues(empId, WorkDate(), timeId));
        if (!m_db.OpenRecordSet(&set)) {
            // The dialog may have moved the block to another project.
            m_db.MarkDayOutOfStep();
            Warn(QStringLiteral("Unable to open Timesheet table"));
        } else {
            const bool exists = !set.Recordset()->IsEOF();
            // Save Times changes no times: the row's own, as stored (an end
            // at the next midnight is 24:00). A row the line cannot show as
            // stored (no times, no length) takes the block the line shows.
            CRowTimes::CSpan times;
            if (exists) {
                const CRowTimes stored =
                    CRowTimes::Read(set.m_WorkDate, set.m_StartTime, set.m_StopTime);
                times = stored.HasTimes() && stored.start < stored.stop
                            ? stored.Span(0)
                            : stored.LineBlock(BookingInterval(), set.m_HoursWorked);
            }
            const int start = times.start;
            const int stop = times.stop;
            m_db.CloseRecordSet(&set);
            if (!exists) {
                // Someone else removed it: say so and show what is stored.
                Warn(QStringLiteral("This record you are editing does not exist anymore \n- your "
                                    "timesheet records are not synchronised with the database - "
                                    "these will be refreshed now"));
                RefreshTimesheet();
            } else {
                const int result = WriteEntry(true, empId, start, stop, timeId, true, false, false);
                written = result;
                if (result == 0)
                    SetChangeRequestText(timeId);
                else if (result == 12) {
                    m_entry.lengthText.clear();
                    m_entry.workTypeName.clear();
                }
                ReportResult(result);
            }
        }
    } else {
        ClearInfo();
    }
    m_control.SetReadOnly(false);
    m_control.DoPaint();
    m_busy = false;
    ShowEntry(written == 0 ? EntryShown::Told : EntryShown::Details);
    UpdateUndoMenus();
    FinishBusyWork();
}

void CTimeSheetController::OnDeleteAll()
{
    // The control waits for the answer inside this handler.
    const bool yes = ShowMessageBox(QStringLiteral("Do you really want to delete all entries "
                                                   "today?"),
                                    kMbYesNo | kMbIconQuestion) == kIdYes;
    m_control.DeleteAllOKRet(yes);
    ClearInfo();
    ResetToProjectDefaults(m_entry.projId);
}
