#include "ui/GradientMenu.h"

#include "ui/MenuIcons.h"
#include "ui/ResourceIds.h"

#include <QAction>
#include <QApplication>
#include <QPainter>
#include <QScreen>
#include <QStyle>

namespace {

constexpr int kBands = 128;
constexpr int kTextCommandsFrom = 15000;

int Blend(int from, int to, int offset, int height)
{
    return from + (to - from) * offset / height;
}

} // namespace

CGradientMenu::CGradientMenu(int sideBarWidth, bool sideBar, QWidget* parent)
    : QMenu(parent)
    , m_sideBarWidth(qMax(0, sideBarWidth))
    , m_sideBar(sideBar)
    , m_start(QApplication::palette().color(QPalette::Active, QPalette::Highlight))
    , m_captionColor(m_start)
{
    setContentsMargins(SideBarWidth(), 0, 0, 0);
    connect(this, &QMenu::aboutToShow, this, &CGradientMenu::UpdateIcons);
}

void CGradientMenu::SetCaption(const QString& caption)
{
    m_caption = caption;
    update();
}

void CGradientMenu::SetGradient(const QColor& start, const QColor& end)
{
    m_start = start;
    m_end = end;
    update();
}

void CGradientMenu::SetCaptionColor(const QColor& color)
{
    m_captionColor = color;
    update();
}

QRect CGradientMenu::SideBarRect() const
{
    if (!m_sideBar || m_sideBarWidth == 0)
        return QRect();
    const int frame = style()->pixelMetric(QStyle::PM_MenuPanelWidth, nullptr, this);
    return QRect(frame, frame, m_sideBarWidth, height() - 2 * frame);
}

void CGradientMenu::SetEntries(const QList<CMenuEntry>& items, const CommandHandler& onCommand)
{
    clear();
    AddEntries(this, items, onCommand);
    UpdateIcons();
}

void CGradientMenu::AddEntries(QMenu* menu, const QList<CMenuEntry>& items,
                               const CommandHandler& onCommand)
{
    for (const CMenuEntry& item : items) {
        if (item.text.isEmpty()) {
            menu->addSeparator();
        } else if (!item.items.isEmpty()) {
            auto* popup = new CGradientMenu(m_sideBarWidth, m_sideBar, menu);
            popup->setTitle(item.text);
            popup->SetCaption(QString(item.text).remove(QLatin1Char('&')));
            popup->SetGradient(m_start, m_end);
            popup->SetCaptionColor(m_captionColor);
            popup->AddEntries(popup, item.items, onCommand);
            menu->addMenu(popup);
        } else {
            QAction* action = menu->addAction(item.text);
            action->setData(item.command);
            action->setObjectName(QStringLiteral("cmd%1").arg(item.command));
            const int command = item.command;
            connect(action, &QAction::triggered, menu, [onCommand, command] {
                if (onCommand)
                    onCommand(command);
            });
        }
    }
}

void CGradientMenu::UpdateIcons()
{
    for (QAction* action : actions()) {
        if (action->isSeparator() || !action->icon().isNull())
            continue;
        const bool hasCommand = !action->menu() && action->data().isValid();
        int index = -1;
        action->setIcon(
            GetMenuIcon(hasCommand ? action->data().toInt() : -1, action->text(), index));
        if (auto* popup = qobject_cast<CGradientMenu*>(action->menu()))
            popup->UpdateIcons();
    }
}

QIcon CGradientMenu::GetMenuIcon(int commandId, const QString& itemText, int& imageIndex)
{
    const CMenuIcons& icons = CMenuIcons::Instance();
    int command = commandId;
    if (command < 0 || (command > kTextCommandsFrom && command != ID_HELP_TOPICS))
        command = icons.CommandOfLabel(itemText);
    imageIndex = command == -1 ? -1 : icons.IndexOf(command);
    return icons.Icon(imageIndex);
}

QPoint CGradientMenu::PlaceMenu(const QPoint& at, const QSize& size, const QRect& desktop)
{
    const int right = desktop.left() + desktop.width();
    const int bottom = desktop.top() + desktop.height();
    QPoint place = at;
    if (at.x() + size.width() <= right && at.y() + size.height() <= bottom)
        return place;
    const bool leftFits = at.x() - size.width() >= desktop.left();
    const bool rightFits = at.x() + size.width() <= right;
    const bool topFits = at.y() - size.height() >= desktop.top();
    const bool bottomFits = at.y() + size.height() <= bottom;
    if (leftFits && bottomFits) {
        place.rx() -= size.width();
    } else if (rightFits && topFits) {
        place.ry() -= size.height();
    } else if (leftFits && topFits) {
        place.rx() -= size.width();
        place.ry() -= size.height();
    }
    return place;
}

void CGradientMenu::TrackPopup(const QPoint& at, QWidget* owner)
{
    UpdateIcons();
    if (owner && owner->isVisible())
        owner->activateWindow();
    const QScreen* screen = QGuiApplication::screenAt(at);
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    const QRect desktop = screen ? screen->availableGeometry() : QRect(at, sizeHint());
    popup(PlaceMenu(at, sizeHint(), desktop));
}

void CGradientMenu::paintEvent(QPaintEvent* event)
{
    QMenu::paintEvent(event);
    const QRect bar = SideBarRect();
    if (bar.isEmpty())
        return;
    QPainter painter(this);
    // Bands of one colour each, a 128th of the height (at least a pixel).
    const int height = bar.height();
    const int band = qMax(1, height / kBands);
    for (int offset = 0; offset < height; offset += band) {
        const QColor colour(Blend(m_start.red(), m_end.red(), offset, height),
                            Blend(m_start.green(), m_end.green(), offset, height),
                            Blend(m_start.blue(), m_end.blue(), offset, height));
        painter.fillRect(
            QRect(bar.left(), bar.top() + offset, bar.width(), qMin(band, height - offset)),
            colour);
    }
    if (m_caption.isEmpty())
        return;
    // The caption runs up the bar from its bottom.
    QFont font(QStringLiteral("Verdana"));
    font.setPixelSize(14);
    font.setWeight(QFont::DemiBold);
    font.setItalic(true);
    painter.setFont(font);
    painter.setPen(m_captionColor);
    painter.translate(bar.left(), bar.bottom() + 1);
    painter.rotate(-90);
    painter.drawText(QRect(4, 2, height - 8, bar.width() - 2),
                     Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, m_caption);
}
