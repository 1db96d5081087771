#pragma once

#include "ui/DialogBase.h"

#include <QRect>

class CMyColorBut;
class CMyListCtrl;
class CMyPopMenu;
class CMyTreeCtrl;
class QTreeWidgetItem;

// The base of the windows with a tree of groups on the left and a report
// list of records on the right, split by a draggable bar. The tree, the list
// and the bar report everything to the operations below, so a window
// handles every event of both controls in one place.
class CTreeListDlg : public CDialogBase {
    Q_OBJECT
public:
    // The splitter line's x when none is drawn.
    static constexpr int kNoSplitter = -1000;

    CTreeListDlg(int templateId, QWidget* parent = nullptr);
    ~CTreeListDlg() override;

    // Created with the dialog; the derived window creates their windows
    // (CreateList, CreateTree) and lays them out.
    CMyListCtrl* List() const { return m_list; }
    CMyTreeCtrl* Tree() const { return m_tree; }
    CMyColorBut* SplitterBar() const { return m_splitterBar; }
    CMyPopMenu* PopupMenu() const { return m_popupMenu; }

    // ---- Operations the tree, the list and the splitter bar call ----------
    // 1: a click on the list with a row selected (the first selected row).
    virtual void OnListRowSelected(int row) = 0;
    // 2: a double click on the list (-1 when no row is selected).
    virtual void OnListRowActivated(int row, CMyListCtrl* list) = 0;
    // 3: a double click on the tree (its current item).
    virtual void OnTreeItemActivated(QTreeWidgetItem* item) = 0;
    // 4: the bar dragged (phase 0) or released (phase 1); x and y in the
    // bar's coordinates, x being the distance from the tree's right edge.
    virtual void OnSplitterMoved(int phase, int x, int y);
    // 5: a right click at a point of the list (fromList) or the tree.
    virtual void OnContextMenu(int x, int y, bool fromList) = 0;
    // 6: directly after 5.
    virtual void OnContextMenuClosed() = 0;
    // 7 and 8: mouse moves over the list and the tree, before they act.
    virtual void OnListMouseMove(Qt::MouseButtons buttons, int x, int y) = 0;
    virtual void OnTreeMouseMove(Qt::MouseButtons buttons, int x, int y) = 0;
    // 9: the left button pressed on the list or the tree.
    virtual void OnLeftButtonDown(Qt::MouseButtons buttons, int x, int y) = 0;
    // 10 and 11: the left button released on the list and on the tree.
    virtual void OnListLeftButtonUp(Qt::MouseButtons buttons, int x, int y) = 0;
    virtual void OnTreeLeftButtonUp(Qt::MouseButtons buttons, int x, int y) = 0;
    // 12: the list got the focus (its first selected row, -1 for none).
    virtual void OnListFocus(int row) = 0;
    // 13: a key pressed in the list or the tree (virtual-key code).
    virtual void OnKeyDown(int virtualKey, bool fromTree) = 0;
    // 14: after every header click on the list.
    virtual void OnFillList() = 0;
    // 15 and 16, for the window's own filters: a list column's database
    // column name (such as "[ChgReqID]") and its ListColumnKind.
    virtual QString GetColumnSqlName(int column) = 0;
    virtual int GetColumnDataKind(int column) = 0;

    // ---- The splitter line while dragging -----------------------------------
    // Shows the line at the tree's right edge + x (taking away the one
    // shown) and keeps x and the value.
    void DrawSplitterMove(int x, int value);
    // Takes the line away.
    void EraseSplitter(int x);
    int SplitterX() const { return m_splitterX; }
    int SplitterValue() const { return m_splitterValue; }
    // The line as drawn; empty when none.
    QRect SplitterLine() const;

protected:
    // Places the tree (treeWidth wide), the bar and the list (to the right
    // edge) in the area and keeps the three rectangles.
    void LayoutTreeAndList(const QRect& client, int treeWidth);

    // The key text of the current list or tree selection.
    QString m_key;
    QRect m_clientRect;
    QRect m_listRect;
    QRect m_treeRect;

private:
    CMyListCtrl* m_list;
    CMyTreeCtrl* m_tree;
    CMyColorBut* m_splitterBar;
    CMyPopMenu* m_popupMenu;
    QWidget* m_splitterLine;
    int m_splitterX = kNoSplitter;
    int m_splitterValue = kNoSplitter;
};
