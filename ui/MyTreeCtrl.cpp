#include "ui/MyTreeCtrl.h"

#include "ui/DialogBase.h"
#include "ui/TreeListDlg.h"
#include "ui/VirtualKeys.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyle>

CMyTreeCtrl::CMyTreeCtrl()
{
    setColumnCount(1);
    setHeaderHidden(true);
    setContextMenuPolicy(Qt::PreventContextMenu);
    setMouseTracking(true);
    setExpandsOnDoubleClick(false);
}

bool CMyTreeCtrl::CreateTree(int id, const QRect& rect, CTreeListDlg* owner, const QIcon& icon)
{
    m_owner = owner;
    if (owner && parentWidget() != owner)
        setParent(owner);
    CDialogBase::SetControlId(this, id);
    setGeometry(rect);
    if (m_images.isEmpty()) {
        const QIcon image = icon.isNull() ? style()->standardIcon(QStyle::SP_DirIcon) : icon;
        for (int i = 0; i < kImageCount; ++i)
            m_images << image;
    }
    setIconSize(QSize(16, 16));
    show();
    return true;
}

QIcon CMyTreeCtrl::Image(int index) const
{
    return index >= 0 && index < m_images.size() ? m_images.at(index) : QIcon();
}

QTreeWidgetItem* CMyTreeCtrl::InsertItem(const QString& text, QTreeWidgetItem* parent, int image,
                                         qint64 data)
{
    auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(this);
    item->setText(0, text);
    item->setIcon(0, Image(image));
    item->setData(0, Qt::UserRole, data);
    return item;
}

qint64 CMyTreeCtrl::ItemData(const QTreeWidgetItem* item)
{
    return item ? item->data(0, Qt::UserRole).toLongLong() : 0;
}

QTreeWidgetItem* CMyTreeCtrl::FindItemByText(QTreeWidgetItem* start, const QString& text) const
{
    QTreeWidgetItem* item = start ? start : topLevelItem(0);
    while (item) {
        if (item->text(0) == text)
            return item;
        if (item->childCount() > 0)
            if (QTreeWidgetItem* found = FindItemByText(item->child(0), text))
                return found;
        QTreeWidgetItem* parent = item->parent();
        const int next = (parent ? parent->indexOfChild(item) : indexOfTopLevelItem(item)) + 1;
        item = parent ? (next < parent->childCount() ? parent->child(next) : nullptr)
                      : topLevelItem(next);
    }
    return nullptr;
}

void CMyTreeCtrl::SetPendingSelection(QTreeWidgetItem* item, int value)
{
    m_pendingItem = item;
    m_pendingValue = value;
}

void CMyTreeCtrl::ApplyPendingSelection()
{
    if (m_pendingValue >= 0 && m_pendingItem)
        setCurrentItem(m_pendingItem);
}

QTreeWidgetItem* CMyTreeCtrl::HitTestLabel(const QPoint& viewportPoint) const
{
    QTreeWidgetItem* item = itemAt(viewportPoint);
    if (!item)
        return nullptr;
    // The row runs to the right edge; only the icon and the text count.
    const QRect row = visualItemRect(item);
    const int iconWidth = item->icon(0).isNull() ? 0 : iconSize().width() + 4;
    const int labelRight =
        row.left() + iconWidth + fontMetrics().horizontalAdvance(item->text(0)) + 8;
    return viewportPoint.x() >= row.left() && viewportPoint.x() <= labelRight ? item : nullptr;
}

QPoint CMyTreeCtrl::ToControl(const QPoint& viewportPoint) const
{
    return viewport()->mapTo(this, viewportPoint);
}

void CMyTreeCtrl::mousePressEvent(QMouseEvent* event)
{
    const QPoint viewportPoint = event->position().toPoint();
    const QPoint at = ToControl(viewportPoint);
    if (event->button() == Qt::RightButton) {
        // The item under the point becomes the caret item; off any item the
        // selection stays. The owner's menu opens either way.
        if (QTreeWidgetItem* item = HitTestLabel(viewportPoint))
            setCurrentItem(item);
        if (m_owner) {
            m_owner->OnContextMenu(at.x(), at.y(), false);
            m_owner->OnContextMenuClosed();
        }
        return;
    }
    if (event->button() == Qt::LeftButton && m_owner)
        m_owner->OnLeftButtonDown(event->buttons(), at.x(), at.y());
    QTreeWidget::mousePressEvent(event);
}

void CMyTreeCtrl::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && m_owner) {
        const QPoint at = ToControl(event->position().toPoint());
        m_owner->OnTreeLeftButtonUp(event->buttons(), at.x(), at.y());
    }
    QTreeWidget::mouseReleaseEvent(event);
}

void CMyTreeCtrl::mouseMoveEvent(QMouseEvent* event)
{
    // Without an owner the tree takes no part in moves (no hot tracking).
    if (!m_owner)
        return;
    const QPoint at = ToControl(event->position().toPoint());
    m_owner->OnTreeMouseMove(event->buttons(), at.x(), at.y());
    QTreeWidget::mouseMoveEvent(event);
}

void CMyTreeCtrl::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (!m_owner || event->button() != Qt::LeftButton) {
        QTreeWidget::mouseDoubleClickEvent(event);
        return;
    }
    // The owner acts on the item; the tree neither expands nor collapses it.
    m_owner->OnTreeItemActivated(currentItem());
}

void CMyTreeCtrl::keyPressEvent(QKeyEvent* event)
{
    if (m_owner)
        m_owner->OnKeyDown(VirtualKeyOfEvent(*event), true);
    QTreeWidget::keyPressEvent(event);
}
