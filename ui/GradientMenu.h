#pragma once

#include "ui/MenuBuilder.h"

#include <QColor>
#include <QMenu>

// The program's own popup menu (the tray icon's): every command shows its
// icon, and a side bar on the left is painted as a vertical colour gradient
// with the caption written up it. Submenus are gradient menus too, with
// their item's text as caption.
class CGradientMenu : public QMenu {
    Q_OBJECT
public:
    CGradientMenu(int sideBarWidth, bool sideBar, QWidget* parent = nullptr);

    void SetCaption(const QString& caption);
    const QString& Caption() const { return m_caption; }
    // The gradient runs from start (top) to end (bottom).
    void SetGradient(const QColor& start, const QColor& end);
    void SetCaptionColor(const QColor& color);
    QColor GradientStart() const { return m_start; }
    QColor GradientEnd() const { return m_end; }
    QColor CaptionColor() const { return m_captionColor; }
    bool HasSideBar() const { return m_sideBar; }
    int SideBarWidth() const { return m_sideBar ? m_sideBarWidth : 0; }
    // The side bar in the menu's coordinates; empty without one.
    QRect SideBarRect() const;

    // Replaces the items by the table's; a chosen command goes to the handler.
    void SetEntries(const QList<CMenuEntry>& items, const CommandHandler& onCommand);
    // Gives every item without an icon the icon of its command.
    void UpdateIcons();

    // Shows the menu at the screen point, turned to fit the desktop; does
    // not wait for the choice.
    void TrackPopup(const QPoint& at, QWidget* owner = nullptr);

    // The icon of a menu item and its image index (-1 when none). Items
    // without a command (popups, commandId -1) and command ids above 15000
    // other than Help Topics are found by their text.
    static QIcon GetMenuIcon(int commandId, const QString& itemText, int& imageIndex);
    // Where a menu of the size opens for the point: when it would pass the
    // desktop's right or bottom edge, it opens to the left, or upwards, or
    // both, whichever fits first.
    static QPoint PlaceMenu(const QPoint& at, const QSize& size, const QRect& desktop);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void AddEntries(QMenu* menu, const QList<CMenuEntry>& items, const CommandHandler& onCommand);

    int m_sideBarWidth;
    bool m_sideBar;
    QString m_caption;
    QColor m_start;
    QColor m_end = Qt::white;
    QColor m_captionColor;
};
