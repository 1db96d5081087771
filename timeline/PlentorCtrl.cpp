#include "timeline/PlentorCtrl.h"

#include "platform/Clock.h"
#include "platform/com/IControlSite.h"
#include "timeline/PlentorIds.h"
#include "timeline/TimeLineDay.h"
#include "timeline/TimeLineWidget.h"
#include "timeline/TimeUtil.h"

#include <QColor>
#include <QGuiApplication>
#include <QLocale>
#include <QLoggingCategory>
#include <QMetaObject>
#include <QPalette>

#include <algorithm>
#include <cstdlib>

Q_LOGGING_CATEGORY(lcPlentor, "kelvane.plentor", QtWarningMsg)

namespace {

QFont ToQFont(const FontDesc& desc)
{
    QFont font;
    if (!desc.name.empty())
        font.setFamily(QString::fromStdString(desc.name));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(desc.pointSize > 0 ? desc.pointSize : 8.0);
    font.setWeight(static_cast<QFont::Weight>(std::clamp(desc.weight, 100, 900)));
    font.setItalic(desc.italic);
    font.setUnderline(desc.underline);
    font.setStrikeOut(desc.strikeOut);
    return font;
}

} // namespace

FontDesc CPlentorCtrl::DefaultFont(double scale, int weight)
{
    FontDesc font;
    font.name = "MS Sans Serif";
    font.pointSize = scale > 1.0 ? 6.0 : 8.0;
    font.weight = weight;
    return font;
}

CPlentorCtrl::EngineScope::EngineScope(CPlentorCtrl& ctrl)
    : m_ctrl(ctrl)
{
    ++m_ctrl.m_engineDepth;
}

CPlentorCtrl::EngineScope::~EngineScope()
{
    if (--m_ctrl.m_engineDepth == 0)
        m_ctrl.m_retired.clear();
}

CPlentorCtrl::CPlentorCtrl()
    : m_engine(std::make_unique<CTimeLine>(Host()))
{
    m_textFont = DefaultFont(1.0, 400);
    m_fontSB = DefaultFont(1.0, 600);
    m_font = m_textFont;
    UpdateFonts();
}

CPlentorCtrl::~CPlentorCtrl()
{
    // The widget calls back into this object; it goes before the engine.
    delete m_widget.data();
}

const CDispatchTable<CPlentorCtrl>& CPlentorCtrl::DispatchTable()
{
    using C = CPlentorCtrl;
    using T = CDispatchTable<C>;
    static const T table{
        T::Property<&C::ProjectName, &C::SetProjectName>("ProjectName"),
        T::Property<&C::StartPosition, &C::SetStartPosition>("startPosition"),
        T::Property<&C::BReadOnly, &C::SetBReadOnly>("bReadOnly"),
        T::Property<&C::ScrlSpeed, &C::SetScrlSpeed>("scrlSpeed"),
        T::Property<&C::TextFont, &C::SetTextFont>("TextFont"),
        T::Property<&C::FontSB, &C::SetFontSB>("FontSB"),
        T::Property<&C::BackColor, &C::SetBackColor>("backcolour"),
        T::Property<&C::ActivateWindow, &C::SetActivateWindow>("ActivateWindow"),
        T::Property<&C::BAutoTiming, &C::SetBAutoTiming>("bautoTiming"),
        T::Method<&C::SetProjInfo>("SetProjInfo"),
        T::Method<&C::SetTimesheetTimes>("SetTimesheetTimes"),
        T::Method<&C::DoPaint>("DoPaint"),
        T::Method<&C::ClearProjInfo>("ClearProjInfo"),
        T::Method<&C::ClearTimeInfo>("ClearTimeInfo"),
        T::Method<&C::ScrollDownTo>("ScrollDownTo"),
        T::Method<&C::DeleteHighlightObj>("DeleteHighlightObj"),
        T::Method<&C::buttpresstest>("buttpresstest"),
        T::Method<&C::UpdateProjForTimeObj>("UpdateProjForTimeObj"),
        T::Method<&C::SetTimeHHMM>("SetTimeHHMM"),
        T::Method<&C::SetStartPosHour>("SetStartPosHour"),
        T::Method<&C::GetIncrementValue>("GetIncrementValue"),
        T::Method<&C::SetIncrTime>("SetIncrTime"),
        T::Method<&C::GetStartValue>("GetStartValue"),
        T::Method<&C::SetCurrentProjID>("SetCurrentProjID"),
        T::Method<&C::DeleteObjByID>("DeleteObjByID"),
        T::Method<&C::ChangeProject>("ChangeProject"),
        T::Method<&C::SetGrabWidth>("SetGrabWidth"),
        T::Method<&C::ReSizeControl>("ReSizeControl"),
        T::Method<&C::DeleteAllOKRet>("DeleteAllOKRet"),
        T::Method<&C::SendDeleteKey>("SendDeleteKey"),
        T::Method<&C::SetNowTimeObj>("SetNowTimeObj"),
        T::Method<&C::DeleteAllToday>("DeleteAllToday"),
        T::Method<&C::GetControlSize>("GetControlSize"),
        T::Method<&C::DoResize>("DoResize"),
        T::Method<&C::ScrollOne>("ScrollOne"),
        T::Method<&C::GetVersion>("GetVersion"),
        T::Method<&C::RecreateToolTips>("RecreateToolTips"),
        T::Method<&C::SetMinIntervalVal>("SetMinIntervalVal"),
        T::Method<&C::SetTickTypes>("SetTickTypes"),
        T::Method<&C::RightHandMenuActivate>("RightHandMenuActivate"),
        T::Method<&C::ForceHighlight>("ForceHighlight"),
        T::Method<&C::RemoveHighlight>("RemoveHighlight"),
        T::Method<&C::MenuDeactivate>("MenuDeactivate"),
        T::Method<&C::DrawTSEntryAt>("DrawTSEntryAt"),
        T::Method<&C::OnCutHighlight>("OnCutHighlight"),
        T::Method<&C::DrawTSEntryStStp>("DrawTSEntryStStp"),
        T::Method<&C::IsHighlightObj>("IsHighlightObj"),
        T::Method<&C::IsMenuActive>("IsMenuActive"),
        T::Method<&C::CreateRectStSp>("CreateRectStSp"),
        T::Method<&C::ActivateProjBut>("ActivateProjBut"),
        T::Method<&C::CreateRectStStp>("CreateRectStStp"),
        T::Method<&C::HighlightProjectName>("HighlightProjectName"),
        T::Method<&C::ShowInsertionPoint>("ShowInsertionPoint"),
        T::Method<&C::RemoveInsertionPoint>("RemoveInsertionPoint"),
        T::Method<&C::ForceEditHighlight>("ForceEditHighlight"),
        T::Method<&C::ForceFocus>("ForceFocus"),
        T::Method<&C::ForceKillFocus>("ForceKillFocus"),
        T::Method<&C::IsInFocus>("IsInFocus"),
        T::Method<&C::DrawFocusRect>("DrawFocusRect"),
        T::Method<&C::ScrollNewProjects>("ScrollNewProjects"),
        T::Method<&C::DeleteObj>("DeleteObj"),
        T::Method<&C::ReadMsgUpdate>("ReadMsgUpdate"),
        T::Method<&C::EditObjById>("EditObjById"),
        T::Method<&C::CreateGridMsg>("CreateGridMsg"),
        T::Method<&C::CreateHoursWorkedMsg>("CreateHoursWorkedMsg"),
        T::Method<&C::ShowCursorNow>("ShowCursorNow"),
        T::Method<&C::CreateProjectNameMsg>("CreateProjectNameMsg"),
        T::Method<&C::InvalidateControl>("InvalidateControl"),
        T::Method<&C::SetReadOnly>("SetReadOnly"),
        T::Method<&C::setAutoTiming>("setAutoTiming"),
        T::Method<&C::SetChgRqstStr>("SetChgRqstStr"),
        T::Property<&C::BackColor, &C::SetBackColor>("BackColor")
            .WithId(PlentorIds::kStockBackColor),
        T::Property<&C::Font, &C::SetFont>("Font").WithId(PlentorIds::kStockFont),
        T::Property<&C::ForeColor, &C::SetForeColor>("ForeColor")
            .WithId(PlentorIds::kStockForeColor),
        T::Property<&C::HWnd>("hWnd").WithId(PlentorIds::kStockHWnd),
        T::Method<&C::AboutBox>("AboutBox").WithId(PlentorIds::kStockAboutBox),
    };
    return table;
}

QWidget* CPlentorCtrl::MakeWidget(QWidget* parent)
{
    m_widget = new CTimeLineWidget(*this, parent);
    return m_widget.data();
}

// --- Properties -------------------------------------------------------------------

void CPlentorCtrl::SetProjectName(const QString& name)
{
    m_projectName = name;
}

void CPlentorCtrl::SetStartPosition(std::int16_t hour)
{
    if (!m_engine)
        return;
    const EngineScope scope(*this);
    m_engine->SetStartPosHour(hour, 0, false);
}

void CPlentorCtrl::ApplyFlags()
{
    if (m_engine)
        m_engine->SetControlFlags(m_controlFlags);
    Invalidate();
}

void CPlentorCtrl::SetBReadOnly(bool on)
{
    m_controlFlags = on ? m_controlFlags | CTimeLine::kReadOnly
                        : m_controlFlags & ~unsigned(CTimeLine::kReadOnly);
    ApplyFlags();
}

void CPlentorCtrl::SetBAutoTiming(bool on)
{
    m_controlFlags = on ? m_controlFlags | CTimeLine::kAutoTiming
                        : m_controlFlags & ~unsigned(CTimeLine::kAutoTiming);
    ApplyFlags();
}

std::int32_t CPlentorCtrl::ScrlSpeed() const
{
    return m_engine ? m_engine->ScrollSpeed() : 0;
}

void CPlentorCtrl::SetScrlSpeed(std::int32_t ms)
{
    if (!m_engine || ms < 20 || ms > 999)
        return;
    m_engine->SetScrollSpeed(ms);
    Invalidate();
}

void CPlentorCtrl::SetTextFont(const FontDesc& font)
{
    m_textFont = font;
    m_textFontSet = true;
    UpdateFonts();
    Invalidate();
}

void CPlentorCtrl::SetFontSB(const FontDesc& font)
{
    m_fontSB = font;
    m_fontSBSet = true;
    UpdateFonts();
    Invalidate();
}

void CPlentorCtrl::SetFont(const FontDesc& font)
{
    m_font = font;
    Invalidate();
}

void CPlentorCtrl::SetBackColor(OleColor colour)
{
    m_backColor = colour;
    Invalidate();
}

void CPlentorCtrl::SetForeColor(OleColor colour)
{
    m_foreColor = colour;
    Invalidate();
}

void CPlentorCtrl::SetActivateWindow(std::int16_t value)
{
    m_activateWindow = value;
}

void CPlentorCtrl::UpdateFonts()
{
    // Until the container sets them, the fonts follow the screen's scale.
    if (!m_textFontSet)
        m_textFont = DefaultFont(m_scaleX, 400);
    if (!m_fontSBSet)
        m_fontSB = DefaultFont(m_scaleX, 600);
    m_textQFont = ToQFont(m_textFont);
    m_boldQFont = ToQFont(m_fontSB);
}

// --- Host ---------------------------------------------------------------------------

void CPlentorCtrl::FireEvent(PlentorEvent event, std::span<const std::int32_t> args)
{
    const DispId id = EventNumber(event);
    switch (args.size()) {
    case 0:
        CControlBase::FireEvent(id);
        break;
    case 1:
        CControlBase::FireEvent(id, args[0]);
        break;
    case 2:
        CControlBase::FireEvent(id, args[0], args[1]);
        break;
    case 3:
        CControlBase::FireEvent(id, args[0], args[1], args[2]);
        break;
    default:
        CControlBase::FireEvent(id, args[0], args[1], args[2], args[3]);
        break;
    }
}

void CPlentorCtrl::SetMsgText(const QString& text)
{
    m_msgText = text;
    CControlBase::FireEvent(EventNumber(PlentorEvent::MsgUpdate), text);
}

void CPlentorCtrl::Post(std::function<void()> task)
{
    QMetaObject::invokeMethod(&m_poster, std::move(task), Qt::QueuedConnection);
}

void CPlentorCtrl::PostMessage(EngineMessage message)
{
    Post([this, message] {
        if (!m_engine)
            return;
        const EngineScope scope(*this);
        m_engine->OnSendMessage(message);
    });
}

void CPlentorCtrl::SetCursor(TimeLineCursor cursor)
{
    if (m_widget)
        m_widget->setCursor(cursor == TimeLineCursor::SizeVertical ? Qt::SizeVerCursor
                                                                   : Qt::ArrowCursor);
}

void CPlentorCtrl::Invalidate()
{
    if (m_widget)
        m_widget->EngineChanged();
}

ITimeLineDay* CPlentorCtrl::DayService() const
{
    IControlSite* site = Site();
    return site ? static_cast<ITimeLineDay*>(site->QueryService(PlentorIds::kDayService)) : nullptr;
}

// The clock this library links is its own copy: it is read only when no
// container offers the program's.
int CPlentorCtrl::CurrentMinutes()
{
    ITimeLineDay* day = DayService();
    return day ? day->MinutesNow() : CClock::MinutesNow();
}

int CPlentorCtrl::MinutesToBookNow()
{
    ITimeLineDay* day = DayService();
    return day ? day->MinutesToBookNow() : CClock::MinutesNow();
}

int CPlentorCtrl::ElapsedMinutes(int start, int stop)
{
    ITimeLineDay* day = DayService();
    return day ? day->ElapsedMinutes(start, stop) : std::abs(stop - start);
}

void CPlentorCtrl::ReportMessage(const QString& text)
{
    // A control library cannot reach the program's message boxes, and must
    // not block the container: the text becomes a status text.
    qCWarning(lcPlentor).noquote() << text;
    SetMsgText(text);
}
