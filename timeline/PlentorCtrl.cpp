#include "timeline/PlentorCtrl.h"

#include "timeline/AboutPlentorDlg.h"
#include "timeline/PlentorIds.h"
#include "timeline/TimeLineWidget.h"
#include "timeline/TimeUtil.h"

#include <QColor>
#include <QGuiApplication>
#include <QLocale>
#include <QLoggingCategory>
#include <QMetaObject>
#include <QPalette>
#include <QTime>

#include <algorithm>

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

Colour ToColour(const QColor& colour)
{
    return static_cast<Colour>(colour.red()) | static_cast<Colour>(colour.green()) << 8 |
           static_cast<Colour>(colour.blue()) << 16;
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

// --- Methods ----------------------------------------------------------------------

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

// --- Input -----------------------------------------------------------------------

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

int CPlentorCtrl::CurrentMinutes()
{
    const QTime now = QTime::currentTime();
    return now.hour() * 60 + now.minute();
}

void CPlentorCtrl::ReportMessage(const QString& text)
{
    // A control library cannot reach the program's message boxes, and must
    // not block the container: the text becomes a status text.
    qCWarning(lcPlentor).noquote() << text;
    SetMsgText(text);
}
