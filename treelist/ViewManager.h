#pragma once

#include "treelist/ListKeyData.h"

#include <QPointer>
#include <QString>

#include <cstdint>
#include <memory>

class CSarvexCtrl;
class QPoint;
class QRect;
class QRubberBand;
class QWidget;

namespace Sarvex {

class CBrowseView;
class CMyColorBut;
class CMyListCtrl;
class CMyTreeCtrl;

// What stands behind the control's members: the tree on the left, the
// splitter bar, and on the right the list (view 1) or the browser (view 2),
// laid out in the control's window; the list definitions of every key; and
// the routing of popup-menu commands to the pane whose menu holds them.
class CViewManager {
public:
    static constexpr int kSplitterId = 204;
    static constexpr int kTreeWidth = 150;
    static constexpr int kSplitterWidth = 3;
    static constexpr int kNoDrag = -1000;

    explicit CViewManager(CSarvexCtrl& ctrl);
    ~CViewManager();
    CViewManager(const CViewManager&) = delete;
    CViewManager& operator=(const CViewManager&) = delete;

    // ---- Layout ----------------------------------------------------------------
    void CreateChildWindows(QWidget* parent, const QRect& rect);
    bool HasWindows() const;
    // From a size change of the control: the tree keeps its width and the
    // right pane its left edge.
    void RecalcLayout(int newWidth, int newHeight, int oldWidth, int oldHeight);
    // code 0 while dragging, 1 at the drop; x is the pointer in the bar's
    // own coordinates and the distance the bar moves.
    void OnSplitterMove(int code, int x, int y, int pane);
    // 1 list, 2 browser; other values are kept and show nothing new.
    bool ChangeView(std::int16_t viewType);
    std::int16_t ViewType() const { return m_viewType; }
    bool InListView() const { return m_viewType == 1; }

    // ---- Panes -----------------------------------------------------------------
    // The selected key's list (view 1) or the last page again (view 2), and
    // with refreshTree the tree's items from its records.
    bool Refresh(bool refreshTree, bool refreshList);
    // doRefresh: the items go first, then Refresh.
    void DoRefresh(bool refreshTree, bool refreshList);
    bool SelectKey(std::int32_t key);
    void DeleteAtKey(std::int32_t deleteKey, std::int32_t selectKey);
    void FireDblClick(bool fromTree);
    bool GetListSelData(std::int32_t* key, QString* text) const;
    // The item showing command id at the last popup of the pane whose range
    // holds id: list 1025-1224, tree 1225-1424, browser 1425-1624.
    bool FindMenuCommand(int id, std::int32_t* uid, QString* retStr) const;
    void ShowBrowsePopup(QPoint globalPos);

    CMyTreeCtrl& Tree() { return *m_tree; }
    CMyListCtrl& List() { return *m_list; }
    CBrowseView& Browser() { return *m_browser; }
    ListDefinitions& ListDefs() { return m_listDefs; }
    const ListDefinitions& ListDefs() const { return m_listDefs; }

private:
    struct Rect {
        int left = 0;
        int top = 0;
        int right = 0;
        int bottom = 0;
    };
    static QRect ToQRect(const Rect& rect);
    // The shown right pane, and in view 2 the hidden list too.
    void PlaceRightPanes();
    void PlaceSplitter();

    CSarvexCtrl& m_ctrl;
    QPointer<QWidget> m_parent;
    QPointer<CMyColorBut> m_splitter;
    QPointer<QRubberBand> m_band;
    std::unique_ptr<CMyTreeCtrl> m_tree;
    std::unique_ptr<CMyListCtrl> m_list;
    std::unique_ptr<CBrowseView> m_browser;
    Rect m_rightRect;
    Rect m_treeRect;
    ListDefinitions m_listDefs;
    int m_lastDragX = kNoDrag;
    int m_lastDragY = kNoDrag;
    std::int16_t m_viewType = 1;
};

} // namespace Sarvex
