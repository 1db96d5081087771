#pragma once

#include <QWidget>

class CTreeListDlg;

// The splitter bar between the tree and the list of a tree/list dialog: a
// drag reports its moves (phase 0) and its release (phase 1) to the owner's
// splitter operation, in the bar's own coordinates.
class CMyColorBut : public QWidget {
    Q_OBJECT
public:
    explicit CMyColorBut(CTreeListDlg* owner, int value = 0, QWidget* parent = nullptr);

    bool IsDragging() const { return m_dragging; }
    int Value() const { return m_value; }
    void DetachOwner() { m_owner = nullptr; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    // Paints nothing: the dialog shows through the gap.
    void paintEvent(QPaintEvent* event) override;

private:
    bool m_dragging = false;
    int m_value;
    CTreeListDlg* m_owner;
};
