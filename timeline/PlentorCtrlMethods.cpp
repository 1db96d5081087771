// The control's dispatch methods: what the container asks of the time line.

#include "timeline/PlentorCtrl.h"

#include "timeline/AboutPlentorDlg.h"
#include "timeline/PlentorIds.h"
#include "timeline/TimeLineWidget.h"

#include <QColor>
#include <QLoggingCategory>

#include <algorithm>

Q_DECLARE_LOGGING_CATEGORY(lcPlentor)

namespace {

Colour ToColour(const QColor& colour)
{
    return static_cast<Colour>(colour.red()) | static_cast<Colour>(colour.green()) << 8 |
           static_cast<Colour>(colour.blue()) << 16;
}

} // namespace

bool CPlentorCtrl::SetProjInfo(const QString& name, std::int32_t projId, OleColor colour)
{
    if (!m_engine)
        return false;
    const EngineScope scope(*this);
    return m_engine->SetProjInfo(name, projId, ToColour(colour.ToQColor()));
}

bool CPlentorCtrl::SetTimesheetTimes(std::int32_t entryId, std::int32_t start, std::int32_t stop,
                                     std::int32_t projId, const QString& text)
{
    if (!m_engine)
        return false;
    const EngineScope scope(*this);
    return m_engine->SetTimesheetTimes(entryId, start, stop, projId, text);
}

void CPlentorCtrl::DoPaint()
{
    if (!m_engine)
        return;
    const EngineScope scope(*this);
    m_engine->Redraw();
}

void CPlentorCtrl::ClearProjInfo()
{
    if (!m_engine)
        return;
    const EngineScope scope(*this);
    m_engine->ClearProjInfo();
}

void CPlentorCtrl::ClearTimeInfo()
{
    if (!m_engine)
        return;
    const EngineScope scope(*this);
    m_engine->ClearTimeInfo();
}

std::int16_t CPlentorCtrl::ScrollDownTo(std::int16_t hour)
{
    if (!m_engine)
        return 0;
    const EngineScope scope(*this);
    m_engine->ScrollDownTo(std::clamp<int>(hour, 0, 23), 0);
    return 0;
}

std::int16_t CPlentorCtrl::DeleteHighlightObj()
{
    if (!m_engine)
        return 0;
    const EngineScope scope(*this);
    m_engine->OnDeleteHighlighted(-1);
    return 1;
}

void CPlentorCtrl::buttpresstest()
{
    if (!m_engine)
        return;
    const EngineScope scope(*this);
    m_engine->OnButtonPress(CTimeLine::kNoButton);
}

std::int16_t CPlentorCtrl::UpdateProjForTimeObj(std::int32_t entryId, std::int32_t oldProjId,
                                                std::int32_t newProjId)
{
    if (!m_engine)
        return 0;
    const EngineScope scope(*this);
    return m_engine->UpdateProjForTimeObj(entryId, oldProjId, newProjId) ? 1 : 0;
}

void CPlentorCtrl::SetTimeHHMM(std::int16_t asTime)
{
    if (!m_engine)
        return;
    m_engine->SetTimeHHMM(asTime > 0);
}

void CPlentorCtrl::SetStartPosHour(std::int16_t hour)
{
    if (!m_engine)
        return;
    const EngineScope scope(*this);
    m_engine->SetStartPosHour(hour, 0, false);
    m_startHourCopy = {hour, hour};
}

std::int32_t CPlentorCtrl::GetIncrementValue()
{
    return m_engine ? m_engine->Increment() : 0;
}

void CPlentorCtrl::SetIncrTime(std::int16_t minutes)
{
    if (!m_engine)
        return;
    if (minutes != 6 && minutes != 12 && minutes != 15 && minutes != 30 && minutes != 60)
        return;
    const EngineScope scope(*this);
    m_engine->SetIncrTime(minutes);
}

std::int16_t CPlentorCtrl::GetStartValue()
{
    return m_engine ? static_cast<std::int16_t>(m_engine->FirstHour()) : 0;
}

void CPlentorCtrl::SetCurrentProjID(std::int32_t projId)
{
    if (!m_engine)
        return;
    m_engine->SetCurrentProjID(projId);
}

std::int16_t CPlentorCtrl::DeleteObjByID(std::int32_t entryId)
{
    if (!m_engine)
        return 0;
    // No block has a negative id: nothing to delete then.
    if (entryId >= 0) {
        const EngineScope scope(*this);
        m_engine->OnDeleteHighlighted(entryId);
    }
    return 1;
}

void CPlentorCtrl::ChangeProject(std::int32_t entryId, std::int32_t /*oldProjId*/,
                                 std::int32_t newProjId)
{
    if (!m_engine)
        return;
    const EngineScope scope(*this);
    if (!m_engine->ChangeProject(entryId, newProjId))
        qCDebug(lcPlentor) << "PRoject change error";
}

void CPlentorCtrl::SetGrabWidth(std::int16_t width)
{
    if (m_engine && width >= 1 && width <= 4)
        m_engine->SetGrabWidth(width);
}

void CPlentorCtrl::SetControlSize(int cx, int cy)
{
    if (Site())
        RequestResize(std::max(cx, 0), std::max(cy, 0));
    else if (m_widget)
        m_widget->resize(std::max(cx, 0), std::max(cy, 0));
}

void CPlentorCtrl::ReSizeControl(std::int16_t cx, std::int16_t cy)
{
    SetControlSize(cx, cy);
    m_requestedWidth = std::max<int>(cx, 0);
    // The columns depend on the width: lay them out again, without a new
    // engine and so without another Ready.
    if (!m_firstPaint && m_engine) {
        // A window kept wider by what it must show counts as it is.
        if (m_widget)
            m_requestedWidth = std::max(m_requestedWidth, m_widget->width());
        const EngineScope scope(*this);
        m_engine->SetWidth(m_requestedWidth);
    }
    Invalidate();
}

void CPlentorCtrl::DeleteAllOKRet(std::int16_t ok)
{
    if (m_engine)
        m_engine->DeleteAllOKRet(ok != 0);
}

void CPlentorCtrl::SendDeleteKey()
{
    DeleteHighlightObj();
}

bool CPlentorCtrl::SetNowTimeObj()
{
    if (!m_engine)
        return false;
    const EngineScope scope(*this);
    m_engine->OnButtonPress(CTimeLine::kNowButton);
    return true;
}

void CPlentorCtrl::DeleteAllToday()
{
    if (!m_engine)
        return;
    const EngineScope scope(*this);
    m_engine->DeleteAllToday();
}

void CPlentorCtrl::GetControlSize(std::int32_t* cx, std::int32_t* cy)
{
    *cx = m_bounds.width();
    *cy = m_bounds.height();
}

void CPlentorCtrl::DoResize(std::int16_t cx, std::int16_t cy)
{
    // A container that answers every Ready with another resize would never
    // stop; a few levels are more than any real one uses.
    if (m_resizeDepth > 4)
        return;
    ++m_resizeDepth;
    const int width = std::max<int>(cx, 0);
    const int height = std::max<int>(cy, 0);
    SetControlSize(width, height);
    m_requestedWidth = width;
    if (!m_firstPaint && m_engine) {
        const EngineScope scope(*this);
        auto fresh = std::make_unique<CTimeLine>(Host());
        m_engine->CopyDataTo(*fresh);
        m_engine->Retire();
        m_retired.push_back(std::move(m_engine));
        m_engine = std::move(fresh);
        ApplyLocale(*m_engine);
        m_engine->SetControlFlags(m_controlFlags);
        const QRect rect(m_bounds.left(), m_bounds.top(), width, height);
        m_engine->OnInit(rect, m_scaleX, m_scaleY);
        // A report the old engine could not finish is the new one's.
        if (m_engine && m_engine->HasUnsentBlocks())
            PostMessage(EngineMessage::ReportChanges);
    }
    --m_resizeDepth;
    Invalidate();
}

void CPlentorCtrl::ScrollOne(bool up, std::int16_t amount)
{
    if (!m_engine)
        return;
    const EngineScope scope(*this);
    if (up)
        m_engine->ScrollToEarlier(amount);
    else
        m_engine->ScrollToLater(amount);
}

QString CPlentorCtrl::GetVersion()
{
    return QString::fromLatin1(PlentorIds::kVersionText) + QStringLiteral(" EXE");
}

void CPlentorCtrl::RecreateToolTips()
{
    if (m_engine)
        m_engine->RecreateToolTips();
}

bool CPlentorCtrl::SetMinIntervalVal(std::int16_t minutes)
{
    if (!m_engine || (minutes != 6 && minutes != 15))
        return false;
    const EngineScope scope(*this);
    return m_engine->SetMinIntervalVal(static_cast<float>(minutes));
}

bool CPlentorCtrl::SetTickTypes(std::int16_t major, std::int16_t minor)
{
    if (!m_engine)
        return false;
    m_engine->SetTickTypes(major, minor);
    return true;
}

void CPlentorCtrl::RightHandMenuActivate(std::int32_t /*command*/, std::int16_t minutes)
{
    if (!m_engine)
        return;
    CTimeLine& engine = *m_engine;
    // The middle of the time column.
    const int x = engine.ColumnLeft() + engine.ColumnWidth() / 2;
    int y = (engine.GridBottom() - CTimeLine::kGridTopMargin) / 2;
    if (minutes < 0) {
        if (engine.InHand() && engine.Highlighted())
            y = (engine.BlockTop(*engine.Highlighted()) +
                 engine.BlockBottom(*engine.Highlighted())) /
                2;
        if (!engine.InHand())
            engine.DropHighlightPointer();
    } else {
        y = engine.YOfTime(minutes);
    }
    OnMouseMove(x, y);
    OnRButtonDown(x, y);
}

std::int16_t CPlentorCtrl::ForceHighlight(std::int32_t entryId, bool forward)
{
    if (!m_engine)
        return -1;
    const EngineScope scope(*this);
    return static_cast<std::int16_t>(m_engine->ForceHighlight(entryId, forward));
}

bool CPlentorCtrl::RemoveHighlight()
{
    if (!m_engine)
        return false;
    const EngineScope scope(*this);
    m_engine->RemoveHighlight();
    return true;
}

std::int16_t CPlentorCtrl::DrawTSEntryAt(std::int16_t minutes)
{
    if (!m_engine)
        return -1;
    const EngineScope scope(*this);
    return static_cast<std::int16_t>(m_engine->DrawTSEntryAt(minutes));
}

bool CPlentorCtrl::OnCutHighlight()
{
    if (!m_engine)
        return false;
    const EngineScope scope(*this);
    return m_engine->OnCutHighlight();
}

bool CPlentorCtrl::DrawTSEntryStStp(std::int16_t start, std::int16_t stop)
{
    if (!m_engine)
        return false;
    const EngineScope scope(*this);
    // Whether a block was made, not the engine's next id.
    return m_engine->DrawTSEntryStStp(start, stop) >= 0;
}

bool CPlentorCtrl::IsHighlightObj()
{
    return m_engine && m_engine->Highlighted() != nullptr;
}

std::int16_t CPlentorCtrl::ActivateProjBut(std::int16_t step)
{
    if (!m_engine)
        return -1;
    const EngineScope scope(*this);
    return static_cast<std::int16_t>(m_engine->ActivateProjBut(step));
}

bool CPlentorCtrl::CreateRectStStp(std::int16_t entryId, std::int16_t start, std::int16_t stop,
                                   std::int16_t projId, std::int16_t notify, std::int16_t* selected)
{
    if (!m_engine)
        return false;
    const EngineScope scope(*this);
    const int made = m_engine->DrawRectStartStop(entryId, start, stop, projId, notify != 0);
    if (made < 0)
        return false;
    *selected = static_cast<std::int16_t>(m_engine->ForceHighlight(made, true));
    return true;
}

void CPlentorCtrl::HighlightProjectName()
{
    if (!m_engine)
        return;
    const EngineScope scope(*this);
    m_engine->HighlightProjectName();
}

bool CPlentorCtrl::ShowInsertionPoint(std::int16_t minutes)
{
    if (!m_engine)
        return false;
    const EngineScope scope(*this);
    m_engine->ShowInsertionPoint(minutes);
    return true;
}

bool CPlentorCtrl::RemoveInsertionPoint()
{
    if (!m_engine)
        return false;
    m_engine->RemoveInsertionPoint();
    return true;
}

std::int16_t CPlentorCtrl::ForceEditHighlight()
{
    if (!m_engine)
        return -1;
    const EngineScope scope(*this);
    return static_cast<std::int16_t>(m_engine->ForceEditHighlight());
}

bool CPlentorCtrl::ForceFocus()
{
    OnSetFocus();
    if (m_widget && m_widget->isVisible())
        m_widget->setFocus(Qt::OtherFocusReason);
    return true;
}

bool CPlentorCtrl::ForceKillFocus()
{
    OnKillFocus();
    return true;
}

void CPlentorCtrl::DrawFocusRect(bool on)
{
    m_drawFocusRect = on;
    Invalidate();
}

void CPlentorCtrl::ScrollNewProjects()
{
    if (!m_engine)
        return;
    const EngineScope scope(*this);
    m_engine->PageProjects();
}

bool CPlentorCtrl::DeleteObj(std::int16_t entryId)
{
    DeleteObjByID(entryId);
    return true;
}

bool CPlentorCtrl::EditObjById(std::int32_t entryId, std::int32_t start, std::int32_t stop,
                               std::int32_t projId)
{
    if (!m_engine)
        return false;
    const EngineScope scope(*this);
    return m_engine->EditObjById(entryId, start, stop, projId);
}

void CPlentorCtrl::CreateGridMsg()
{
    if (!m_engine)
        return;
    const EngineScope scope(*this);
    m_engine->CreateGridMsg();
}

void CPlentorCtrl::CreateHoursWorkedMsg()
{
    if (!m_engine)
        return;
    const EngineScope scope(*this);
    m_engine->CreateHoursWorkedMsg();
}

std::int32_t CPlentorCtrl::ShowCursorNow()
{
    if (!m_engine)
        return -1;
    const EngineScope scope(*this);
    return m_engine->ShowCursorNow();
}

void CPlentorCtrl::CreateProjectNameMsg()
{
    if (!m_engine)
        return;
    const EngineScope scope(*this);
    m_engine->CreateProjectNameMsg();
}

void CPlentorCtrl::InvalidateControl()
{
    Invalidate();
}

bool CPlentorCtrl::SetReadOnly(bool on)
{
    SetBReadOnly(on);
    return true;
}

bool CPlentorCtrl::setAutoTiming(bool on)
{
    SetBAutoTiming(on);
    return true;
}

bool CPlentorCtrl::SetChgRqstStr(const QString& text, std::int32_t entryId)
{
    if (!m_engine)
        return false;
    m_engine->SetChgRqstStr(text, entryId);
    return true;
}

void CPlentorCtrl::AboutBox()
{
    CAboutPlentorDlg dialog(m_widget ? m_widget->window() : nullptr);
    dialog.exec();
}
