#include "app/KeyCommands.h"
#include "data/DBClass.h"
#include "data/records/TimeSheetSet.h"
#include "platform/Clock.h"
#include "platform/MessageBox.h"
#include "platform/UserAction.h"
#include "timesheet/Plentor.h"
#include "timesheet/TimeSheetController.h"
#include "ui/RichTextCtrl.h"
#include "ui/VirtualKeys.h"

#include <QGuiApplication>
#include <QPointer>
#include <QTimer>

// The time sheet worked from the keyboard: keys the window and the time
// line pass on, the user's key commands, and the accelerators.

namespace {

enum : int {
    kCmdAddTs = 12863,
    kCmdSelectProject = 12864,
    kCmdShowInsertion = 12865,
    kCmdHideInsertion = 12866,
    kCmdShowHighlight = 12867,
    kCmdShowMenu = 12868,
    kCmdMoveUp = 12869,
    kCmdMoveDown = 12870,
    kCmdPageUp = 12871,
    kCmdPageDown = 12872,
    kCmdMoveLeft = 12873,
    kCmdMoveRight = 12874,
    kCmdRemoveHighlight = 12875,
    kCmdMoveBottomUp = 12876,
    kCmdMoveBottomDown = 12877,
    kCmdScrollUp = 12878,
    kCmdScrollDown = 12879,
};

enum : unsigned { kHeldCtrl = 1, kHeldShift = 2 };

// The modifier bit of a key, 0 for other keys.
unsigned ModifierBit(int virtualKey)
{
    switch (virtualKey) {
    case 16:
    case 160:
    case 161:
        return kHeldShift;
    case 17:
    case 162:
    case 163:
        return kHeldCtrl;
    default:
        return 0;
    }
}

} // namespace

bool CTimeSheetController::ShiftHeld() const
{
    return (m_heldModifiers & kHeldShift) != 0 ||
           QGuiApplication::keyboardModifiers().testFlag(Qt::ShiftModifier);
}

bool CTimeSheetController::CtrlHeld() const
{
    return (m_heldModifiers & kHeldCtrl) != 0 ||
           QGuiApplication::keyboardModifiers().testFlag(Qt::ControlModifier);
}

void CTimeSheetController::RemoveInsertionPoint()
{
    if (!m_insertionShown)
        return;
    m_control.RemoveInsertionPoint();
    m_insertionShown = false;
}

int CTimeSheetController::InsertionMinute()
{
    const QString text = m_entry.cursorText.trimmed();
    if (!text.isEmpty()) {
        const QStringList parts = text.split(QLatin1Char(':'));
        bool okHour = false;
        bool okMinute = false;
        const int hour = parts.value(0).toInt(&okHour);
        const int minute = parts.value(1).toInt(&okMinute);
        if (okHour && okMinute)
            return hour * 60 + minute;
    }
    if (m_insertionDefault < 0) {
        const int interval = BookingInterval();
        m_insertionDefault = CClock::MinutesNow() / interval * interval;
    }
    return m_insertionDefault;
}

int CTimeSheetController::HandleKey(int virtualKey, int message)
{
    const bool down = message == 0x100;
    if (const unsigned bit = ModifierBit(virtualKey)) {
        if (down)
            m_heldModifiers |= bit;
        else
            m_heldModifiers &= ~bit;
        return 0;
    }
    if (!m_ui.AppActive() || m_ui.UserComboHasFocus() || !m_control.IsInFocus())
        return 0;
    if (!down)
        return 0;
    const bool highlight = m_control.IsHighlightObj();
    const bool menu = m_control.IsMenuActive();
    switch (virtualKey) {
    case kVkReturn:
        RemoveInsertionPoint();
        if (menu)
            return 0;
        if (highlight)
            m_control.ForceEditHighlight();
        else
            m_ui.ShowProjectInfo(m_entry.projId);
        return 1;
    case kVkEscape:
        if (menu)
            return 0;
        if (m_insertionShown) {
            RemoveInsertionPoint();
            return 1;
        }
        if (highlight) {
            m_control.RemoveHighlight();
            return 1;
        }
        m_ui.CloseWindow();
        return 0;
    case kVkDelete:
        m_control.DeleteHighlightObj();
        RemoveInsertionPoint();
        return 1;
    default:
        break;
    }
    const bool ctrl = CtrlHeld();
    const bool shift = ShiftHeld();
    // Ctrl with Shift is never a key command.
    if (ctrl && shift)
        return 0;
    // The hub builds its table once somebody has signed on; until then the
    // profile's keys are read here.
    if (!m_keyTable || m_keyTable->Entry(0).name.isEmpty()) {
        if (!m_ownKeyTable) {
            m_ownKeyTable = std::make_unique<CKeyCommands>();
            m_ownKeyTable->Build(CProfile::LoadKeyCommands());
        }
        m_keyTable = m_ownKeyTable.get();
    }
    int index = -1;
    if (!m_keyTable->FindKeyCommand(virtualKey, index, highlight, m_insertionShown, ctrl, shift))
        return 0;
    return RunKeyCommand(m_keyTable->Entry(index).command) ? 1 : 0;
}

bool CTimeSheetController::RunKeyCommand(int command)
{
    if (m_runningKeyCommand)
        return false;
    m_runningKeyCommand = true;
    const bool shift = ShiftHeld();
    const bool ctrl = CtrlHeld();
    const bool menu = m_control.IsMenuActive();
    const int interval = BookingInterval();
    bool handled = false;
    switch (command) {
    case kCmdAddTs: {
        const bool wasShown = m_insertionShown;
        const int start = InsertionMinute();
        if (wasShown)
            RemoveInsertionPoint();
        for (int minute = start; minute < 1440; minute += interval) {
            int result = -1;
            if (m_control.CreateRectStStp(-1, minute, -1, -1, 1, result))
                break;
        }
        handled = true;
        break;
    }
    case kCmdSelectProject:
        if (ctrl) {
            m_control.HighlightProjectName();
            m_control.CreateProjectNameMsg();
        } else {
            Status(QString());
            m_control.ActivateProjBut(shift ? -1 : 1);
            m_control.HighlightProjectName();
        }
        handled = true;
        break;
    case kCmdShowInsertion:
        if (m_insertionShown) {
            RemoveInsertionPoint();
            m_control.DoPaint();
        } else {
            m_control.RemoveHighlight();
            m_insertionShown = m_control.ShowInsertionPoint(InsertionMinute());
        }
        break;
    case kCmdHideInsertion:
        m_control.RemoveInsertionPoint();
        m_insertionShown = false;
        m_control.DoPaint();
        break;
    case kCmdShowHighlight:
        if (!menu)
            m_highlighted = m_control.ForceHighlight(-1, !shift);
        break;
    case kCmdShowMenu:
        if (!menu) {
            m_control.RightHandMenuActivate(-1, m_insertionShown ? InsertionMinute() : -1);
            RemoveInsertionPoint();
        }
        handled = true;
        break;
    case kCmdMoveUp:
    case kCmdMoveDown:
    case kCmdMoveBottomUp:
    case kCmdMoveBottomDown:
        MoveHighlighted(command);
        break;
    case kCmdPageUp:
    case kCmdPageDown:
        m_control.ScrollOne(command == kCmdPageUp, 4);
        break;
    case kCmdMoveLeft:
    case kCmdMoveRight:
        if (m_control.IsHighlightObj())
            RemoveInsertionPoint();
        else
            GoToDay(m_day.addDays(command == kCmdMoveLeft ? -1 : 1));
        break;
    case kCmdRemoveHighlight:
        m_control.RemoveHighlight();
        break;
    case kCmdScrollUp:
    case kCmdScrollDown:
        if (m_insertionShown) {
            int minute = InsertionMinute();
            if (command == kCmdScrollUp && minute >= interval)
                minute -= interval;
            else if (command == kCmdScrollDown && minute < 1439)
                minute += interval;
            m_entry.cursorText = QString::asprintf("%02i:%02i", minute / 60, minute % 60);
            m_insertionShown = m_control.ShowInsertionPoint(minute);
        } else {
            m_control.ScrollOne(command == kCmdScrollUp, 1);
        }
        break;
    default:
        m_runningKeyCommand = false;
        return false;
    }
    // A key command uses up the modifiers held for it.
    m_heldModifiers = 0;
    m_runningKeyCommand = false;
    CatchUpWithDatabase();
    return handled;
}

void CTimeSheetController::MoveHighlighted(int command)
{
    if (m_control.IsMenuActive() || m_highlighted < 0 || !m_control.IsHighlightObj() || ViewOnly())
        return;
    const int timeId = m_highlighted;
    const int empId = CurrentEmployee();
    m_control.SetReadOnly(true);
    // The line is released again whatever happens below.
    struct CEditable {
        CTimeSheetController& owner;
        ~CEditable() { owner.ReleaseLine(); }
    } editable{*this};
    const CActionFailureText failure(QStringLiteral("The block was not moved."));

    CTimeSheetSet set(m_db.Connection());
    set.Recordset()->SetFilter(CDBClass::EntryFilterText(),
                               CDBClass::EntryFilterValues(empId, WorkDate(), timeId));
    if (!m_db.OpenRecordSet(&set)) {
        ShowMessageBox(QStringLiteral("Unable to open Timesheet table"), kMbOk | kMbIconWarning);
        return;
    }
    if (set.Recordset()->IsEOF()) {
        m_db.CloseRecordSet(&set);
        ShowMessageBox(QStringLiteral("This record you are editing does not exist anymore \n- your "
                                      "timesheet records are not synchronised with the database - "
                                      "these will be refreshed now"),
                       kMbOk | kMbIconWarning);
        RefreshTimesheet();
        return;
    }
    const int interval = BookingInterval();
    m_entry.projId = set.m_ProjID;
    m_entry.taskId = set.m_TaskID;
    m_entry.orderId = set.m_OrderID;
    m_entry.workTypeId = set.m_WorkTypeID;
    m_entry.comment = set.m_Comment;
    m_entry.chgReqId = set.IsNull(15) ? -1 : set.m_ObjectID;
    // From where the line shows the block.
    const CRowTimes::CSpan block = CRowTimes::Read(set.m_WorkDate, set.m_StartTime, set.m_StopTime)
                                       .LineBlock(interval, set.m_HoursWorked);
    int start = block.start;
    int stop = block.stop;
    m_db.CloseRecordSet(&set);
    switch (command) {
    case 12869:
        start -= interval;
        break;
    case 12870:
        start += interval;
        break;
    case 12876:
        stop -= interval;
        break;
    default:
        stop += interval;
        break;
    }
    start = qMax(start, 0);
    stop = qMin(stop, 1440);
    if (start >= stop)
        return;
    QString code;
    double rate = 0;
    if (m_db.GetOrderCodeAndRate(m_entry.projId, m_entry.orderId, rate, code))
        m_entry.orderRate = rate;
    int result = 0;
    {
        // A refusal is told in the status line, not in a box.
        CHeldMessages held;
        m_quietOverlap = true;
        result = WriteEntry(true, empId, start, stop, timeId, false, false, false);
        m_quietOverlap = false;
        if (result != kWriteOverlap && result != kWriteProcedureRefused && result != 14)
            held.Release();
    }
    if (result == 0) {
        m_control.EditObjById(timeId, start, stop, m_entry.projId);
        m_inHandId = timeId;
        ShowEntry(EntryShown::Told);
    }
    UpdateUndoMenus();
    m_highlighted = m_control.ForceHighlight(timeId, true);
    // Said last: a refusal that read the day again highlights the block
    // anew, and the block would speak over the reason it did not move.
    if (result != 0)
        Status(QStringLiteral("Entry constrained by existing entry"));
}

int CTimeSheetController::OnKeyCommand(int keyCode, int modifier)
{
    const int key = keyCode < 128 ? QChar(keyCode).toUpper().unicode() : keyCode;
    switch (key) {
    case ',':
    case '<':
        m_ui.FocusControl(1131);
        break;
    case '.':
    case '>':
        m_ui.FocusControl(1132);
        break;
    case 'C':
        if (modifier == 17) {
            const int minute = m_control.ShowCursorNow();
            if (minute >= 0) {
                m_entry.cursorText = QString::asprintf("%02i:%02i", minute / 60, minute % 60);
                m_insertionShown = m_control.ShowInsertionPoint(minute);
            }
        } else {
            m_ui.FocusControl(1144);
        }
        break;
    case 'D':
        m_ui.FocusControl(1139);
        break;
    case 'E':
        m_control.ForceEditHighlight();
        break;
    case 'G':
        m_control.CreateGridMsg();
        break;
    case 'I':
        TellHighlightedDetails();
        break;
    case 'P':
        if (modifier == 17) {
            m_control.HighlightProjectName();
            m_control.CreateProjectNameMsg();
        } else if (modifier == 18) {
            m_control.ScrollNewProjects();
        }
        break;
    case 'T':
        m_ui.FocusControl(1033);
        m_control.ForceFocus();
        Status(QStringLiteral("Timesheet Control"));
        break;
    case 'U':
        m_heldModifiers = 0;
        RemoveInsertionPoint();
        m_control.RemoveHighlight();
        m_ui.FocusControl(1001);
        m_control.ForceKillFocus();
        break;
    case 'W':
        m_control.CreateHoursWorkedMsg();
        break;
    default:
        break;
    }
    m_heldModifiers = 0;
    return 1;
}

void CTimeSheetController::TellHighlightedDetails()
{
    if (!m_control.IsHighlightObj() || m_highlighted < 0)
        return;
    CTimeSheetEntry row;
    if (!m_db.FindDayEntryForKey(row, m_highlighted, CurrentEmployee(), WorkDate()))
        return;
    const CRowTimes::CSpan block = LineBlock(row);
    QStringList lines;
    lines << QStringLiteral("Start: %1, Stop: %2")
                 .arg(CDBClass::FormatTimeOfDay(block.start).trimmed(),
                      CDBClass::FormatTimeOfDay(block.stop).trimmed());
    const auto add = [&lines](const QString& format, const QString& name) {
        if (!name.isEmpty())
            lines << format.arg(name);
    };
    add(QStringLiteral("Project: %1"), m_db.GetProjectName(row.ProjID));
    add(QStringLiteral("Comment %1"), ShownText(row.Comment));
    add(QStringLiteral("Order: %1"), m_db.GetOrderCode(row.OrderID));
    add(QStringLiteral("Task: %1"), m_db.GetTaskNameForProject(row.TaskID, row.ProjID));
    add(QStringLiteral("Work type: %1"), m_db.GetWorkTypeName(row.WorkTypeID));
    // One line a second, as long as the window is there to show them.
    QPointer<QWidget> window = m_ui.DialogParent();
    for (int i = 0; i < lines.size(); ++i) {
        const QString line = lines.at(i);
        if (i == 0)
            Status(line);
        else
            QTimer::singleShot(1000 * i, window, [this, window, line] {
                if (window)
                    Status(line);
            });
    }
}
