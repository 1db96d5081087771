#pragma once

#include <QIcon>
#include <QList>
#include <QPointer>
#include <QTreeWidget>

class CTreeListDlg;

// The group tree on the left of the tree/list dialogs: one column, an icon
// per item from a list of 26 images, items found by their text, a selection
// kept for later, and clicks, keys and mouse moves passed to the owner.
class CMyTreeCtrl : public QTreeWidget {
    Q_OBJECT
public:
    static constexpr int kImageCount = 26;

    CMyTreeCtrl();

    // Places the tree in the owner with its id; every image is the icon
    // (the style's folder icon when none is given).
    bool CreateTree(int id, const QRect& rect, CTreeListDlg* owner, const QIcon& icon = QIcon());
    CTreeListDlg* Owner() const { return m_owner; }
    // The owner is going: nothing is reported any more.
    void DetachOwner() { m_owner = nullptr; }

    void SetImageList(const QList<QIcon>& images) { m_images = images; }
    QIcon Image(int index) const;
    // A new item at the end of the parent's children (the top level when null).
    QTreeWidgetItem* InsertItem(const QString& text, QTreeWidgetItem* parent = nullptr,
                                int image = 0, qint64 data = 0);
    static qint64 ItemData(const QTreeWidgetItem* item);

    // Depth first from start and its following siblings (the first top-level
    // item when start is null): the first item whose text equals the text
    // exactly, or null.
    QTreeWidgetItem* FindItemByText(QTreeWidgetItem* start, const QString& text) const;
    QTreeWidgetItem* FindItemByText(const QString& text) const
    {
        return FindItemByText(nullptr, text);
    }

    // Remembers an item to select later; a value below 0 means none.
    void SetPendingSelection(QTreeWidgetItem* item, int value);
    void ApplyPendingSelection();
    int PendingValue() const { return m_pendingValue; }

    // The item whose icon or label is under the point (viewport coordinates).
    QTreeWidgetItem* HitTestLabel(const QPoint& viewportPoint) const;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QPoint ToControl(const QPoint& viewportPoint) const;

    CTreeListDlg* m_owner = nullptr;
    QTreeWidgetItem* m_pendingItem = nullptr;
    int m_pendingValue = -1;
    QList<QIcon> m_images;
};
