// The control's input: the widget's mouse, keyboard, focus and child
// events handed to the engine.

#include "timeline/PlentorCtrl.h"

#include "timeline/TimeLineWidget.h"
#include "timeline/TimeUtil.h"

#include <QLocale>

void CPlentorCtrl::OnMouseMove(int x, int y)
{
    // The right-button menu has the mouse while it is up.
    if (!m_engine || m_menuActive)
        return;
    const EngineScope scope(*this);
    m_engine->OnMouseMove(0, x, y);
}

void CPlentorCtrl::OnLButtonDown(int x, int y)
{
    if (!m_engine) {
        ReportMessage(QStringLiteral("Timesheet Object NULL"));
        return;
    }
    const EngineScope scope(*this);
    m_engine->KeyStateMask() |= CTimeLine::L_KEY_DWN_START | CTimeLine::L_KEY_DWN;
    m_engine->OnLButtonDown(0, x, y);
}

void CPlentorCtrl::OnLButtonUp(int x, int y)
{
    if (!m_engine) {
        ReportMessage(QStringLiteral("Timesheet Object NULL"));
        return;
    }
    const EngineScope scope(*this);
    CTimeLine& engine = *m_engine;
    engine.OnLButtonUp(0, x, y);
    engine.KeyStateMask() &= ~unsigned(CTimeLine::L_KEY_DWN_START | CTimeLine::L_KEY_DWN);
    engine.SetObjectState(CTimeLine::ObjectState::NONE);
    if (engine.LastHit() == CTimeLine::Hit::INVALID_OUTSIDE_GRID)
        engine.SendTimeStart(-1, -1, 0);
    else
        engine.SendTimeStop();
}

void CPlentorCtrl::OnLButtonDblClk(int x, int y)
{
    if (!m_engine) {
        ReportMessage(QStringLiteral("Timesheet Object NULL"));
        return;
    }
    const EngineScope scope(*this);
    m_engine->OnLButtonDblClk(0, x, y);
}

void CPlentorCtrl::OnRButtonDown(int x, int y)
{
    if (!m_engine || (m_controlFlags & CTimeLine::kReadOnly))
        return;
    const EngineScope scope(*this);
    CTimeLine& engine = *m_engine;
    if (!engine.InGrid(x, y)) {
        engine.ResetLimits();
        return;
    }
    if (engine.KeyStateMask() & (CTimeLine::L_KEY_DWN_START | CTimeLine::L_KEY_DWN))
        return;
    engine.KeyStateMask() |= CTimeLine::R_KEY_DWN;
    engine.OnRButtonDown(x, y);
    m_menuPoint = QPoint(x, y);
    const bool editable = (m_controlFlags & (CTimeLine::kReadOnly | CTimeLine::kAutoTiming)) == 0;
    const std::vector<CTimeLine::MenuItem> items = engine.ContextMenu(x, y, editable);
    m_menuActive = true;
    const int command = m_widget ? m_widget->RunContextMenu(items, m_menuPoint) : 0;
    m_menuActive = false;
    OnRButtonUp();
    // The command goes to whichever engine holds the line now.
    if (command != 0 && m_engine)
        m_engine->OnMenuCommand(command, m_menuPoint);
}

void CPlentorCtrl::OnRButtonUp()
{
    if (m_engine)
        m_engine->KeyStateMask() &= ~unsigned(CTimeLine::R_KEY_DWN);
}

void CPlentorCtrl::OnMouseWheel(int delta)
{
    if (!m_engine)
        return;
    const int rows = delta / 120;
    if (rows == 0)
        return;
    const EngineScope scope(*this);
    if (rows > 0)
        m_engine->ScrollToEarlier(rows);
    else
        m_engine->ScrollToLater(-rows);
}

void CPlentorCtrl::OnKeyDown(int key, int repeat, unsigned flags)
{
    CControlBase::FireEvent(EventNumber(PlentorEvent::NotifyKeyDown), std::int32_t(key),
                            std::int32_t(repeat), std::int32_t(flags));
}

void CPlentorCtrl::OnKeyUp(int key, int repeat, unsigned flags)
{
    CControlBase::FireEvent(EventNumber(PlentorEvent::NotifyKeyUp), std::int32_t(key),
                            std::int32_t(repeat), std::int32_t(flags));
}

void CPlentorCtrl::OnSetFocus()
{
    m_hasFocus = true;
    if (m_drawFocusRect)
        Invalidate();
}

void CPlentorCtrl::OnKillFocus()
{
    if (m_engine) {
        const EngineScope scope(*this);
        m_engine->RemoveHighlight();
    }
    m_hasFocus = false;
    Invalidate();
}

void CPlentorCtrl::OnChildButton(int id)
{
    if (!m_engine)
        return;
    const EngineScope scope(*this);
    m_engine->OnButtonPress(id);
    m_engine->RecreateToolTips();
}

void CPlentorCtrl::OnIntervalChosen(const QString& name)
{
    if (!m_engine)
        return;
    const EngineScope scope(*this);
    m_engine->OnIntervalChange(name);
}

void CPlentorCtrl::OnWidgetResized(const QSize& size)
{
    if (m_firstPaint || !m_engine || size.width() == m_engine->Bounds().width())
        return;
    m_requestedWidth = size.width();
    const EngineScope scope(*this);
    m_engine->SetWidth(size.width());
}

void CPlentorCtrl::OnPaint(const QRect& bounds)
{
    m_bounds = bounds;
    if (m_firstPaint && !m_firstLayoutPosted) {
        // Not from inside the paint: Ready lets the container load the day.
        m_firstLayoutPosted = true;
        Post([this] { FirstLayout(); });
    }
}

void CPlentorCtrl::FirstLayout()
{
    if (!m_firstPaint || !m_engine)
        return;
    m_firstPaint = false;
    ComputeScale();
    UpdateFonts();
    if (m_widget)
        m_bounds = m_widget->rect();
    if (m_requestedWidth == 0)
        m_requestedWidth = m_bounds.width();
    const EngineScope scope(*this);
    ApplyLocale(*m_engine);
    m_engine->SetControlFlags(m_controlFlags);
    m_engine->OnInit(m_bounds, m_scaleX, m_scaleY);
}

void CPlentorCtrl::ComputeScale()
{
    if (m_scaleX > 0)
        return;
    const int dpiX = m_widget ? m_widget->logicalDpiX() : 96;
    const int dpiY = m_widget ? m_widget->logicalDpiY() : 96;
    m_scaleX = dpiX / 96.0;
    m_scaleY = dpiY / 96.0;
    if (m_engine)
        m_engine->SetVerticalDpi(dpiY);
}

void CPlentorCtrl::ApplyLocale(CTimeLine& engine) const
{
    const QLocale locale;
    engine.SetLocaleFormats(TimeUtil::DesktopTimeFormat(locale.timeFormat(QLocale::ShortFormat)),
                            locale.amText(), locale.pmText());
    if (m_widget)
        engine.SetVerticalDpi(m_widget->logicalDpiY());
}

QColor CPlentorCtrl::PaintBackColour() const
{
    return m_backColor.ToQColor();
}
