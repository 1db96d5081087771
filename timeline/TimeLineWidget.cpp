#include "timeline/TimeLineWidget.h"

#include "platform/Characters.h"
#include "timeline/MyButt.h"
#include "timeline/MyCombo.h"
#include "timeline/MyStatic.h"
#include "timeline/NowButt.h"
#include "timeline/PlentorCtrl.h"
#include "timeline/TimeLinePainter.h"
#include "timeline/VirtualKey.h"

#include <QApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QPalette>
#include <QResizeEvent>
#include <QTimer>
#include <QToolTip>
#include <QWheelEvent>

#include <algorithm>

namespace {

// The texts the container hears for the buttons' tips.
const QString kScrollUpTip = QStringLiteral("Scroll Up,  Up Arrow");
const QString kScrollDownTip = QStringLiteral("Scroll Down,  Down Arrow");
const QString kPageTip = QStringLiteral("Page Project ALT+P");

} // namespace

CTimeLineWidget::CTimeLineWidget(CPlentorCtrl& ctrl, QWidget* parent)
    : QWidget(parent)
    , m_ctrl(ctrl)
{
    setObjectName(QStringLiteral("plentor"));
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_scrollUp = new CMyButt(ctrl, CTimeLine::kScrollUpButton, kScrollUpTip, this);
    m_scrollDown = new CMyButt(ctrl, CTimeLine::kScrollDownButton, kScrollDownTip, this);
    m_page = new CMyButt(ctrl, CTimeLine::kPageButton, kPageTip, this);
    m_now = new CNowButt(ctrl, this);
    m_combo = new CMyCombo(ctrl, this);
    m_hours = new CMyStatic(this);
    for (QWidget* child : Children()) {
        child->installEventFilter(this);
        child->hide();
    }
}

QSize CTimeLineWidget::sizeHint() const
{
    return QSize(240, 400).expandedTo(minimumSizeHint());
}

QSize CTimeLineWidget::minimumSizeHint() const
{
    // The time labels, the narrowest time column, the button column and
    // whichever is wider of the interval choice and the longest project
    // label: nothing the control shows is cut.
    const CTimeLine* engine = m_ctrl.Engine();
    const double scale = engine ? engine->ScaleX() : 1.0;
    const int labels = static_cast<int>(CTimeLine::kColumnLeft * scale);
    const QFontMetrics metrics(m_ctrl.TextQFont());
    int longest = 0;
    if (engine) {
        for (const auto& project : engine->Projects())
            longest = std::max(longest, metrics.horizontalAdvance(project->m_name));
        longest = std::min(longest, engine->ProjectLabelWidth());
    }
    const int projects = 22 + 14 + longest + 4;
    const int right = 4 + std::max(m_combo->sizeHint().width() + 2, projects);
    return QSize(labels + CTimeLine::kColumnWidth + right, 340);
}

void CTimeLineWidget::EngineChanged()
{
    const CTimeLine* engine = m_ctrl.Engine();
    if (const QSize least = minimumSizeHint(); least != m_minimumHint) {
        // Longer project names or a new interval choice need more room.
        m_minimumHint = least;
        updateGeometry();
    }
    if (engine && !engine->Bounds().isEmpty()) {
        QStringList names;
        for (const CTimeLine::IntervalChoice& choice : engine->Intervals())
            names << choice.name;
        QStringList shown;
        for (int i = 0; i < m_combo->count(); ++i)
            shown << m_combo->itemText(i);
        if (names != shown) {
            const QSignalBlocker blocker(m_combo);
            m_combo->clear();
            m_combo->addItems(names);
        }
        if (m_combo->currentIndex() != engine->CurrentIntervalIndex()) {
            const QSignalBlocker blocker(m_combo);
            m_combo->setCurrentIndex(engine->CurrentIntervalIndex());
        }
        if (m_combo->geometry() != engine->IntervalComboRect())
            m_combo->setGeometry(engine->IntervalComboRect());
        if (m_scrollUp->geometry() != engine->ScrollUpRect())
            m_scrollUp->setGeometry(engine->ScrollUpRect());
        if (m_scrollDown->geometry() != engine->ScrollDownRect())
            m_scrollDown->setGeometry(engine->ScrollDownRect());
        if (m_page->geometry() != engine->PageRect())
            m_page->setGeometry(engine->PageRect());
        if (m_now->geometry() != engine->NowButtonRect())
            m_now->setGeometry(engine->NowButtonRect());
        m_now->setEnabled(!engine->EditLocked());
        // The label starts after the caption drawn before it.
        QRect hours = engine->HoursLabelRect();
        const int caption =
            1 +
            QFontMetrics(m_ctrl.TextQFont()).horizontalAdvance(QStringLiteral("Worked Hours: "));
        if (hours.left() < caption)
            hours.moveLeft(caption);
        hours.setHeight(std::max(hours.height(), QFontMetrics(m_hours->font()).height() + 2));
        if (m_hours->geometry() != hours)
            m_hours->setGeometry(hours);
        m_hours->SetText(engine->HoursText());
        m_hours->SetColours(Qt::black, m_ctrl.PaintBackColour());
        m_hours->setFont(m_ctrl.TextQFont());
        m_scrollUp->setEnabled(!engine->AtTop());
        m_scrollDown->setEnabled(!engine->AtBottom());
        m_page->setEnabled(engine->PageButtonEnabled());
        m_scrollUp->setAutoRepeatInterval(engine->ScrollSpeed());
        m_scrollDown->setAutoRepeatInterval(engine->ScrollSpeed());
        for (QWidget* child : Children()) {
            if (child->isHidden())
                child->show();
        }
    }
    update();
}

std::array<QWidget*, 6> CTimeLineWidget::Children() const
{
    return {m_scrollUp, m_scrollDown, m_page, m_now, m_combo, m_hours};
}

void CTimeLineWidget::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    m_ctrl.OnWidgetResized(size());
}

void CTimeLineWidget::paintEvent(QPaintEvent* /*event*/)
{
    m_ctrl.OnPaint(rect());
    QPainter painter(this);
    const QPalette colours = palette();
    CTimeLinePainter::Style style;
    style.textFont = m_ctrl.TextQFont();
    style.boldFont = m_ctrl.BoldQFont();
    style.back = m_ctrl.PaintBackColour();
    style.buttonText = colours.color(QPalette::ButtonText);
    style.highlight = colours.color(QPalette::Highlight);
    style.highlightText = colours.color(QPalette::HighlightedText);
    style.focusRect = m_ctrl.ShowsFocusRect();
    style.rightEdge = m_ctrl.RequestedWidth();
    if (const CTimeLine* engine = m_ctrl.Engine())
        CTimeLinePainter(*engine, style).Paint(painter, rect());
}

int CTimeLineWidget::RunContextMenu(const std::vector<CTimeLine::MenuItem>& items, QPoint at)
{
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("plentorMenu"));
    for (const CTimeLine::MenuItem& item : items) {
        if (item.id == 0) {
            menu.addSeparator();
            continue;
        }
        QAction* action = menu.addAction(item.text);
        action->setData(item.id);
        action->setEnabled(item.enabled);
        if (item.checked) {
            action->setCheckable(true);
            action->setChecked(true);
        }
    }
    // An item triggered by any means counts, not only one clicked.
    const QAction* chosen = nullptr;
    connect(&menu, &QMenu::triggered, &menu, [&chosen](QAction* action) { chosen = action; });
    const QAction* clicked = menu.exec(mapToGlobal(at));
    if (clicked)
        chosen = clicked;
    return chosen ? chosen->data().toInt() : 0;
}

bool CTimeLineWidget::event(QEvent* event)
{
    switch (event->type()) {
    case QEvent::ShortcutOverride: {
        // Enter, Home, End and the arrows belong to the control, not to the
        // dialog's shortcuts or default button.
        auto* key = static_cast<QKeyEvent*>(event);
        if (VirtualKey::IsTakenByControl(VirtualKey::CodeOf(*key))) {
            event->accept();
            return true;
        }
        break;
    }
    case QEvent::ToolTip:
        ShowToolTip(static_cast<QHelpEvent*>(event));
        return true;
    default:
        break;
    }
    return QWidget::event(event);
}

bool CTimeLineWidget::eventFilter(QObject* watched, QEvent* event)
{
    // Every child speaks with the control's one key stream.
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (HandleKey(key, event->type() == QEvent::KeyRelease))
            return true;
    }
    return QWidget::eventFilter(watched, event);
}

void CTimeLineWidget::ShowToolTip(QHelpEvent* event)
{
    if (const CTimeLine* engine = m_ctrl.Engine()) {
        for (const auto* tips : {&engine->BlockTips(), &engine->LabelTips()}) {
            for (const CTimeLine::TipRecord& tip : *tips) {
                if (tip.rect.contains(event->pos())) {
                    QToolTip::showText(event->globalPos(), PlainTipText(tip.text), this, tip.rect);
                    return;
                }
            }
        }
    }
    QToolTip::hideText();
    event->ignore();
}

void CTimeLineWidget::mousePressEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    if (event->button() == Qt::LeftButton)
        m_ctrl.OnLButtonDown(at.x(), at.y());
    else if (event->button() == Qt::RightButton)
        m_ctrl.OnRButtonDown(at.x(), at.y());
    event->accept();
}

void CTimeLineWidget::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    m_ctrl.OnMouseMove(at.x(), at.y());
    event->accept();
}

void CTimeLineWidget::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    if (event->button() == Qt::LeftButton)
        m_ctrl.OnLButtonUp(at.x(), at.y());
    else if (event->button() == Qt::RightButton)
        m_ctrl.OnRButtonUp();
    event->accept();
}

void CTimeLineWidget::mouseDoubleClickEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    if (event->button() == Qt::LeftButton)
        m_ctrl.OnLButtonDblClk(at.x(), at.y());
    else
        mousePressEvent(event);
    event->accept();
}

void CTimeLineWidget::wheelEvent(QWheelEvent* event)
{
    m_ctrl.OnMouseWheel(event->angleDelta().y());
    event->accept();
}

bool CTimeLineWidget::HandleKey(QKeyEvent* event, bool release)
{
    const int code = VirtualKey::CodeOf(*event);
    // Escape and Tab stay with the dialog, which closes or moves the focus.
    if (code == 0 || code == 0x1B || code == 0x09)
        return false;
    if (release && event->isAutoRepeat())
        return true;
    const unsigned flags = VirtualKey::FlagsOf(*event, release);
    if (release)
        m_ctrl.OnKeyUp(code, 1, flags);
    else
        m_ctrl.OnKeyDown(code, 1, flags);
    return true;
}

void CTimeLineWidget::keyPressEvent(QKeyEvent* event)
{
    if (HandleKey(event, false))
        event->accept();
    else
        QWidget::keyPressEvent(event);
}

void CTimeLineWidget::keyReleaseEvent(QKeyEvent* event)
{
    if (HandleKey(event, true))
        event->accept();
    else
        QWidget::keyReleaseEvent(event);
}

void CTimeLineWidget::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    m_ctrl.OnSetFocus();
}

void CTimeLineWidget::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    // The right-button menu borrows the focus; the highlight stays for it.
    if (event->reason() == Qt::PopupFocusReason)
        return;
    m_ctrl.ForgetFocus();
    // A window that is closing takes the focus too, and its container must
    // not hear from us while it is torn down: look again once it is done.
    QTimer::singleShot(0, this, [this] {
        if (window()->isVisible() && !hasFocus())
            m_ctrl.OnKillFocus();
    });
}
