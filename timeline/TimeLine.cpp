#include "timeline/TimeLine.h"

#include "timeline/MsgSlotPool.h"
#include "timeline/TimeUtil.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kProjectSpacing = 15;
constexpr int kProjectButtonSize = 10;
const QString kNoProjects = QStringLiteral("No Projects created");
constexpr Colour kNoProjectsColour = 0x0000FF; // red

} // namespace

CTimeLine::CTimeLine(ITimeLineHost& host)
    : m_host(host)
{
    m_template = std::make_unique<CTimeBlock>(this, -1, QString(), 0, 0, m_increment, kWhite);
    m_template->m_serial = m_nextSerial++;
    FillIntervals();
    for (int j = 0; j < kRowTopCount; ++j)
        m_rowTop[j] = kGridTopMargin + j * m_rowHeight;
}

CTimeLine::~CTimeLine() = default;

// --- Layout and lifetime ----------------------------------------------------

void CTimeLine::OnInit(const QRect& bounds, double scaleX, double scaleY)
{
    m_scaleX = scaleX > 0 ? scaleX : 1.0;
    m_scaleY = scaleY > 0 ? scaleY : 1.0;
    m_bounds = bounds;
    m_ready = 0;
    m_labelTips.clear();
    m_tickColour = 0;
    LayoutRows();
    LayoutControls();
    LayoutProjects();
    RecreateToolTips();
    RefreshHoursLabel();
    m_ready = 1;
    Redraw();
    // A handler of the project column's events may already have replaced
    // this engine; the one that replaced it says Ready.
    if (m_retired)
        return;
    m_host.Invalidate();
    Fire(PlentorEvent::Ready, {});
}

void CTimeLine::CopyDataTo(CTimeLine& other) const
{
    for (const auto& project : m_projects)
        other.SetProjInfo(project->m_name, project->m_projId, project->m_colour);
    other.m_rowHeight = m_rowHeight;
    other.m_minHeightPx = m_minHeightPx;
    other.m_minIntervalF = m_minIntervalF;
    other.m_minInterval = m_minInterval;
    other.m_roundBias = m_roundBias;
    other.m_increment = m_increment;
    other.FillIntervals();
    other.m_template->SetIncrement(m_increment);
    for (const auto& block : m_entries) {
        auto copy = CloneBlock(*block, other);
        copy->m_serial = other.m_nextSerial++;
        // A resize must not report the day again.
        copy->m_sent = block->m_sent;
        copy->m_listed = true;
        other.m_entries.push_back(std::move(copy));
    }
    if (m_copied) {
        other.m_copied = CloneBlock(*m_copied, other);
        other.m_copied->m_serial = other.m_nextSerial++;
    }
    other.m_nextEntryId = m_nextEntryId;
    other.m_tickColour = m_tickColour;
    other.m_grabWidth = m_grabWidth;
    other.m_scrollRows = m_scrollRows;
    other.m_scrollSpeed = m_scrollSpeed;
    other.m_gridBottom = m_gridBottom;
    other.m_curProjIndex = m_curProjIndex;
    other.m_projPageStart = m_projPageStart;
    other.m_projPageStep = m_projPageStep;
    other.m_curProjId = m_curProjId;
    other.m_shownProjId = m_shownProjId;
    other.m_hoursAsTime = m_hoursAsTime;
    other.m_rowCount = m_rowCount;
    other.m_controlFlags = m_controlFlags;
    other.m_timeFmt = m_timeFmt;
    other.m_amText = m_amText;
    other.m_pmText = m_pmText;
    other.m_use12Hour = m_use12Hour;
    other.m_tickMajor = m_tickMajor;
    other.m_tickMinor = m_tickMinor;
    other.m_dpiY = m_dpiY;
    other.RecomputeHours();
}

void CTimeLine::Retire()
{
    m_retired = true;
    m_ready = 0;
    m_selKeyState = NO_KEY_STATE;
}

void CTimeLine::Redraw()
{
    // Handlers of the events below may ask for another repaint.
    if (m_busy)
        return;
    m_busy = true;
    if (m_projects.empty())
        m_projects.push_back(std::make_unique<CProjObj>(kNoProjects, -1, kNoProjectsColour));
    if (m_curProjIndex >= static_cast<int>(m_projects.size()))
        m_curProjIndex = 0;
    LayoutProjects();
    RefreshHoursLabel();
    m_host.Invalidate();
    DrawCurrent(m_curProjIndex, true);
    if (!m_retired)
        Fire(PlentorEvent::ObjectDrawn, {});
    m_busy = false;
}

void CTimeLine::SetControlFlags(unsigned flags)
{
    m_controlFlags = flags;
    if (EditLocked())
        ClearEdgeMark();
    m_host.Invalidate();
}

void CTimeLine::SetLocaleFormats(const QString& timeFormat, const QString& amText,
                                 const QString& pmText)
{
    bool twelve = false;
    const QString converted = TimeUtil::ConvertTimeFormat(timeFormat, &twelve);
    m_timeFmt = converted.isEmpty() ? QStringLiteral("%H:%M") : converted;
    m_use12Hour = twelve;
    if (twelve) {
        m_amText = QString(amText).remove(QLatin1Char('.'));
        m_pmText = QString(pmText).remove(QLatin1Char('.'));
    }
    m_host.Invalidate();
}

// --- Geometry -----------------------------------------------------------------

int CTimeLine::ColumnLeft() const
{
    return static_cast<int>(kColumnLeft * m_scaleX);
}

int CTimeLine::ProjectColumnWidth() const
{
    // A gap, the button column, a colour button and its label.
    return 4 + 22 + 14 + ProjectLabelWidth() + 4;
}

int CTimeLine::RowTop(int row) const
{
    return m_rowTop[static_cast<std::size_t>(std::clamp(row, 0, kRowTopCount - 1))];
}

int CTimeLine::FirstRowMinutes() const
{
    return -m_scrollRows * m_increment;
}

bool CTimeLine::AtTop() const
{
    return FirstRowMinutes() < 1;
}

bool CTimeLine::AtBottom() const
{
    int limit = 1380;
    switch (m_increment) {
    case 30:
        limit = 1410;
        break;
    case 15:
        limit = 1425;
        break;
    case 12:
        limit = 1428;
        break;
    case 6:
        limit = 1434;
        break;
    default:
        break;
    }
    return RowMinutes(m_rowCount - 1) >= limit;
}

bool CTimeLine::InGrid(int x, int y) const
{
    return x >= ColumnLeft() && x <= ColumnRight() && y >= GridTop() && y <= m_gridBottom;
}

int CTimeLine::BlockTop(const CTimeBlock& block) const
{
    return block.GetTopY() + ScrollOffsetPx();
}

int CTimeLine::BlockBottom(const CTimeBlock& block) const
{
    return block.GetBottomY() + ScrollOffsetPx();
}

int CTimeLine::YOfTime(int minutes) const
{
    return m_template->TimeToY(minutes, m_increment, m_minInterval) + ScrollOffsetPx();
}

int CTimeLine::InsertionY() const
{
    // The last step of the day would sit on the grid's bottom line.
    const int t = m_insertTime == 1424 ? 1425 : m_insertTime;
    return m_template->TimeToY(t, m_increment, m_minInterval) + ScrollOffsetPx();
}

bool CTimeLine::DragPreview(int* y1, int* y2, Colour* colour) const
{
    if (!m_inHand || !IsStateSet(L_KEY_DWN))
        return false;
    int a = 0;
    int b = 0;
    const int y = std::clamp(m_lastPoint.y(), GridTop(), m_gridBottom);
    if (m_objectState == ObjectState::CREATING) {
        if (!IsStateSet(START_POSITION_FOUND))
            return false;
        a = m_inHand->SnapY(m_inHand->m_pressY, nullptr, nullptr);
        b = m_inHand->SnapY(y, nullptr, nullptr);
        if (a < 0 || b < 0)
            return false;
        if (b < a)
            std::swap(a, b);
        // The band stops at the neighbours, as the finished block will.
        if (m_limitAbove >= 0 && a < m_limitAbove)
            a = m_limitAbove;
        if (m_limitBelow >= 0 && b > m_limitBelow)
            b = m_limitBelow;
    } else if (m_objectState == ObjectState::EDITING) {
        a = m_grabEdge == GrabEdge::GRAB_TOP ? BlockBottom(*m_inHand) : BlockTop(*m_inHand);
        b = m_inHand->SnapY(y, nullptr, nullptr);
        if (b < 0)
            return false;
        int top = std::min(a, b);
        int bottom = std::max(a, b);
        CheckWithinConstraints(top, bottom);
        a = top;
        b = bottom;
    } else {
        return false;
    }
    if (y1)
        *y1 = std::max(a, GridTop());
    if (y2)
        *y2 = std::min(b, m_gridBottom);
    if (colour)
        *colour = m_inHand->m_colour;
    return true;
}

void CTimeLine::LayoutRows()
{
    const int height = m_bounds.height() - kGridTopMargin;
    const int mode = m_minInterval;
    m_rowHeight = (m_increment == 30 && mode == 6) ? 20 : 14;
    m_rowCount = std::max(height, 0) / m_rowHeight;
    const int perDay = TimeUtil::RowsPerDay(m_increment);
    if (perDay < m_rowCount) {
        m_rowCount = perDay;
        m_rowHeight = height / m_rowCount;
    }
    if (m_rowCount < 8) {
        m_rowCount = 8;
        m_rowHeight = height / 8;
    }
    m_rowHeight = std::max(m_rowHeight, 1);
    for (int j = 0; j < kRowTopCount; ++j)
        m_rowTop[static_cast<std::size_t>(j)] = m_bounds.top() + j * m_rowHeight + kGridTopMargin;
    const double interval = m_minIntervalF > 0 ? m_minIntervalF : m_minInterval;
    m_minHeightPx =
        std::max(1, static_cast<int>(std::lround(m_rowHeight * interval / m_increment)));
    m_gridBottom = m_bounds.top() + m_rowCount * m_rowHeight + kGridTopMargin;
    // Offsets inside rows follow the new row height.
    for (auto& block : m_entries)
        block->SetIncrement(m_increment);
    if (m_loose)
        m_loose->SetIncrement(m_increment);
    if (m_copied)
        m_copied->SetIncrement(m_increment);
    m_template->SetIncrement(m_increment);
    SetStartPosHour(FirstHour(), FirstMinute(), false);
}

void CTimeLine::SetWidth(int width)
{
    if (width == m_bounds.width())
        return;
    m_bounds.setWidth(width);
    LayoutControls();
    LayoutProjects();
    RecreateToolTips();
    m_host.Invalidate();
}

void CTimeLine::LayoutControls()
{
    // The time column takes the width the time labels and the project
    // column leave, so a larger control shows wider blocks, not empty space.
    m_columnWidth = std::max(kColumnWidth, m_bounds.left() + m_bounds.width() - ColumnLeft() -
                                               ProjectColumnWidth());
    const int left = m_bounds.left();
    const int top = m_bounds.top();
    const int bottom = m_bounds.top() + m_bounds.height();
    const int x0 = ColumnRight() + 4;
    m_scrollUpRect = QRect(x0 + left, top + 30, 14, 22);
    m_pageRect = QRect(x0 + left, top + 60, 19, 10);
    // The "now" button heads the rest of the button column, under the page button.
    m_nowRect = QRect(x0 + left, top + 76, 19, 19);
    m_scrollDownRect = QRect(x0 + left, bottom - 25, 14, 22);
    const int comboWidth = std::max(60, m_bounds.right() - x0 - 2);
    m_comboRect = QRect(x0 + left, top + 2, comboWidth, 22);
    const int hoursLeft = static_cast<int>((left + 78) * m_scaleX);
    const int hoursRight = static_cast<int>((left + 118) * m_scaleX);
    m_hoursRect =
        QRect(hoursLeft, top, hoursRight - hoursLeft, static_cast<int>(top + 15 * m_scaleY) - top);
    const int listTop = top + kGridTopMargin;
    const int listBottom = m_scrollDownRect.top() - 4;
    m_projPageStep = std::clamp((listBottom - listTop) / 14 - 1, 1, kLabelsPerPage);
}

void CTimeLine::LayoutProjects()
{
    const int x = ColumnRight() + 4 + 22;
    const int listTop = m_bounds.top() + kGridTopMargin;
    const int count = static_cast<int>(m_projects.size());
    if (m_projPageStart >= count)
        m_projPageStart = 0;
    m_projLabels.clear();
    m_labelTips.clear();
    const int labelWidth = ProjectLabelWidth();
    for (int i = m_projPageStart; i < count && i - m_projPageStart < m_projPageStep; ++i) {
        const int k = i - m_projPageStart;
        ProjLabel label;
        label.index = i;
        label.button =
            QRect(x, listTop + k * kProjectSpacing, kProjectButtonSize, kProjectButtonSize);
        label.x = x + 14;
        label.y = label.button.top() - 2;
        label.text = m_projects[static_cast<std::size_t>(i)]->m_name;
        m_projLabels.push_back(label);
        m_labelTips.push_back(
            {label.text, QRect(label.x, label.y, std::min(180, labelWidth), 10), 0, k + 1});
    }
}

void CTimeLine::FillIntervals()
{
    m_intervals.clear();
    if (m_minInterval == 15) {
        m_intervals.push_back({1, 60, QStringLiteral("1 hour")});
        m_intervals.push_back({2, 30, QStringLiteral("30 mins")});
        m_intervals.push_back({3, 15, QStringLiteral("15 mins")});
    } else {
        m_intervals.push_back({2, 30, QStringLiteral("30 mins")});
        m_intervals.push_back({3, 12, QStringLiteral("12 mins")});
        m_intervals.push_back({4, 6, QStringLiteral("6 mins")});
    }
}

int CTimeLine::CurrentIntervalIndex() const
{
    for (std::size_t i = 0; i < m_intervals.size(); ++i) {
        if (m_intervals[i].minutes == m_increment)
            return static_cast<int>(i);
    }
    return -1;
}

// --- Projects -----------------------------------------------------------------

int CTimeLine::ProjectIndexOf(int projId) const
{
    for (std::size_t i = 0; i < m_projects.size(); ++i) {
        if (m_projects[i]->m_projId == projId)
            return static_cast<int>(i);
    }
    return -1;
}

Colour CTimeLine::ProjectColour(int projId) const
{
    const int index = ProjectIndexOf(projId);
    return index < 0 ? kUnknownProjectColour
                     : m_projects[static_cast<std::size_t>(index)]->m_colour;
}

QString CTimeLine::ProjectName(int projId) const
{
    const int index = ProjectIndexOf(projId);
    return index < 0 ? QString() : m_projects[static_cast<std::size_t>(index)]->m_name;
}

int CTimeLine::CurrentProjId() const
{
    if (m_curProjIndex >= 0 && m_curProjIndex < static_cast<int>(m_projects.size()))
        return m_projects[static_cast<std::size_t>(m_curProjIndex)]->m_projId;
    return m_curProjId;
}

int CTimeLine::ProjectLabelAt(int x, int y) const
{
    const int width = ProjectLabelWidth();
    for (const ProjLabel& label : m_projLabels) {
        if (x >= label.x - 12 && x < label.x + width && y >= label.y && y < label.y + 15)
            return label.index;
    }
    return -1;
}

bool CTimeLine::PageButtonEnabled() const
{
    return static_cast<int>(m_projects.size()) > m_projPageStep;
}

void CTimeLine::DrawCurrent(int index, bool announce)
{
    if (index < 0 || index >= static_cast<int>(m_projects.size()))
        return;
    const int projId = m_projects[static_cast<std::size_t>(index)]->m_projId;
    m_host.Invalidate();
    if (announce && projId != m_shownProjId) {
        m_shownProjId = projId;
        Fire(PlentorEvent::NotifyProjectSelChng, {projId});
    }
}

// --- Texts --------------------------------------------------------------------

QString CTimeLine::FormatTime(int minutes) const
{
    QString text = TimeUtil::FormatMinutes(minutes, m_timeFmt);
    if (m_use12Hour) {
        text += QLatin1Char(' ');
        text += minutes == 720 ? QStringLiteral("noon") : minutes < 720 ? m_amText : m_pmText;
    }
    return text;
}

QString CTimeLine::TimeLabel(int row) const
{
    const int m = RowMinutes(row);
    if (m < 0 || m > kMinutesPerDay)
        return QString();
    QString text = TimeUtil::FormatMinutes(m, m_timeFmt);
    const bool onHour = m % 60 == 0;
    if (!onHour && m_tickMinor == 2)
        text = QStringLiteral("    ") + TimeUtil::FormatMinutes(m, QStringLiteral("%H:%M"));
    else if (!onHour && m_tickMinor == 3)
        text = QStringLiteral("        ") + TimeUtil::FormatMinutes(m, QStringLiteral("%M"));
    if (m == kMinutesPerDay)
        text = m_use12Hour ? QStringLiteral("12:00") : QStringLiteral("24:00");
    if ((m == 0 || m == 15 || m == 30 || m == 45) &&
        text == QStringLiteral("12:%1").arg(m, 2, 10, QLatin1Char('0'))) {
        const bool padded = TimeUtil::FormatMinutes(60, m_timeFmt) != QStringLiteral("1:00");
        text = (padded ? QStringLiteral("00:%1") : QStringLiteral("0:%1"))
                   .arg(m, 2, 10, QLatin1Char('0'));
    }
    if (m_use12Hour) {
        if (!onHour && m_tickMinor > 1)
            return text;
        if (text.size() > 15)
            return QString();
        if (m == kMinutesPerDay) {
            if (m_pmText.size() < 10)
                text += QLatin1Char(' ') + m_pmText;
        } else {
            text += QLatin1Char(' ');
            text += m == 720 ? QStringLiteral("noon") : m < 720 ? m_amText : m_pmText;
        }
    }
    return text;
}

QString CTimeLine::BuildToolTipText(const CTimeBlock& block) const
{
    QString text = QStringLiteral("Project : %1\n Start: %2\n Stop: %3")
                       .arg(ProjectName(block.m_projId), TimeUtil::HourMinute(block.m_start),
                            TimeUtil::HourMinute(block.m_stop));
    if (!block.m_text.isEmpty())
        text += QStringLiteral("\n ChgRqst: ") + block.m_text;
    return text;
}

QString CTimeLine::Span(const CTimeBlock& block) const
{
    return FormatTime(std::min(block.m_start, block.m_stop)) + QStringLiteral(" to ") +
           FormatTime(std::max(block.m_start, block.m_stop));
}

void CTimeLine::RecomputeHours()
{
    int minutes = 0;
    for (const auto& block : m_entries)
        minutes += m_host.ElapsedMinutes(block->m_start, block->m_stop);
    m_hoursWorked = minutes / 60.0;
    RefreshHoursLabel();
}

void CTimeLine::RefreshHoursLabel()
{
    // From whole minutes, so the text never reads "01:60".
    const int minutes = static_cast<int>(std::lround(m_hoursWorked * 60.0));
    m_hoursText = m_hoursAsTime ? QStringLiteral("%1:%2")
                                      .arg(minutes / 60, 2, 10, QLatin1Char('0'))
                                      .arg(minutes % 60, 2, 10, QLatin1Char('0'))
                                : QString::number(m_hoursWorked, 'f', 2);
}

void CTimeLine::RecreateToolTips()
{
    m_blockTips.clear();
    const int left = ColumnLeft();
    for (const auto& block : m_entries) {
        const int top = BlockTop(*block);
        const int bottom = BlockBottom(*block);
        m_blockTips.push_back({BuildToolTipText(*block),
                               QRect(left, top, m_columnWidth, std::max(bottom - top, 0)), 0,
                               block->m_entryId});
    }
}

// --- Events -------------------------------------------------------------------

void CTimeLine::Fire(PlentorEvent event, std::initializer_list<std::int32_t> args)
{
    m_host.FireEvent(event, std::span<const std::int32_t>(args.begin(), args.size()));
}

void CTimeLine::SendTimeStart(int projId, int start, int state)
{
    CMsgSlot* slot = m_host.MsgSlots().GetFreeMsgSlot(-1, start, state, projId);
    if (!slot)
        return;
    // The task holds the host, not this engine, which may be gone by then.
    ITimeLineHost* host = &m_host;
    m_host.Post([host, slot] {
        const std::int32_t args[] = {slot->m_value[3], slot->m_value[1], slot->m_value[2]};
        host->MsgSlots().ReleaseMsgSlot(slot);
        host->FireEvent(PlentorEvent::NotifyTimeStart, args);
    });
}

void CTimeLine::SendHighlightInfo(int entryId, int start, int stop, int projId)
{
    CMsgSlot* slot = m_host.MsgSlots().GetFreeMsgSlot(entryId, start, stop, projId);
    if (!slot)
        return;
    ITimeLineHost* host = &m_host;
    m_host.Post([host, slot] {
        const std::int32_t args[] = {slot->m_value[0], slot->m_value[1], slot->m_value[2],
                                     slot->m_value[3]};
        host->MsgSlots().ReleaseMsgSlot(slot);
        host->FireEvent(PlentorEvent::HighlightTime, args);
    });
}

// A booking the container must hear: fired at once, never through a slot.
void CTimeLine::SendTimeInfo(int entryId, int start, int stop, int projId)
{
    Fire(PlentorEvent::OnNotifyTimeChange, {entryId, start, stop, projId});
}

void CTimeLine::SendTimeEdit(int projId, int start, int stop)
{
    Fire(PlentorEvent::OnNotifyTimeEdit, {projId, start, stop});
}

void CTimeLine::Status(const QString& text)
{
    m_host.SetMsgText(text);
}

void CTimeLine::Message(const QString& text)
{
    m_host.ReportMessage(text);
}
