#include "treelist/ViewManager.h"

#include "treelist/BrowseView.h"
#include "treelist/MyColorBut.h"
#include "treelist/MyListCtrl.h"
#include "treelist/MyTreeCtrl.h"
#include "treelist/SarvexCtrl.h"

#include <QPalette>
#include <QRubberBand>
#include <QWidget>

#include <algorithm>
#include <optional>

namespace Sarvex {

namespace {

constexpr int kBandWidth = 4;

} // namespace

CViewManager::CViewManager(CSarvexCtrl& ctrl)
    : m_ctrl(ctrl)
    , m_tree(std::make_unique<CMyTreeCtrl>(ctrl, *this))
    , m_list(std::make_unique<CMyListCtrl>(ctrl, *this))
    , m_browser(std::make_unique<CBrowseView>(ctrl))
{}

CViewManager::~CViewManager()
{
    // The panes' windows first: their last notices still find the panes.
    delete m_band.data();
    delete m_splitter.data();
    m_browser.reset();
    m_list.reset();
    m_tree.reset();
}

QRect CViewManager::ToQRect(const Rect& rect)
{
    return QRect(rect.left, rect.top, std::max(0, rect.right - rect.left),
                 std::max(0, rect.bottom - rect.top));
}

// ---- Layout ---------------------------------------------------------------------

void CViewManager::CreateChildWindows(QWidget* parent, const QRect& rect)
{
    if (!parent || m_tree->HasWindow())
        return;
    m_parent = parent;
    const Rect client{rect.x(), rect.y(), rect.x() + rect.width(), rect.y() + rect.height()};
    m_treeRect = {client.left, client.top, client.left + kTreeWidth, client.bottom};
    m_tree->Create(parent, ToQRect(m_treeRect));

    auto* splitter = new CMyColorBut(*this, parent->palette().color(QPalette::Button), parent);
    m_splitter = splitter;
    splitter->setObjectName(QStringLiteral("id%1").arg(kSplitterId));
    PlaceSplitter();
    splitter->show();

    m_rightRect = {client.left + kTreeWidth + kSplitterWidth, client.top, client.right,
                   client.bottom};
    m_list->Create(parent, ToQRect(m_rightRect));
    m_viewType = 1;

    m_band = new QRubberBand(QRubberBand::Line, parent);
    m_band->setObjectName(QStringLiteral("splitterBand"));
}

bool CViewManager::HasWindows() const
{
    return m_tree->HasWindow();
}

void CViewManager::PlaceSplitter()
{
    if (m_splitter)
        m_splitter->setGeometry(m_treeRect.right, m_treeRect.top, kSplitterWidth,
                                std::max(0, m_treeRect.bottom - m_treeRect.top));
}

void CViewManager::PlaceRightPanes()
{
    const QRect right = ToQRect(m_rightRect);
    if (QWidget* browser = m_browser->Window())
        browser->setGeometry(right);
    // In view 2 the hidden list moves too, so it fits when it comes back.
    if (QWidget* list = m_list->Window())
        list->setGeometry(right);
}

void CViewManager::RecalcLayout(int newWidth, int newHeight, int oldWidth, int oldHeight)
{
    if (!m_tree->HasWindow())
        return;
    if (newWidth != oldWidth)
        m_rightRect.right += newWidth - oldWidth;
    if (newHeight != oldHeight) {
        m_rightRect.bottom += newHeight - oldHeight;
        m_treeRect.bottom += newHeight - oldHeight;
        m_tree->Window()->setGeometry(ToQRect(m_treeRect));
        PlaceSplitter();
    }
    PlaceRightPanes();
}

void CViewManager::OnSplitterMove(int code, int x, int y, int /*pane*/)
{
    if (x == 0 || !m_splitter || !m_splitter->IsDragging() || !m_parent)
        return;
    const int width = m_parent->width();
    if (code == 0) {
        // The band shows where the bar would go, inside the control.
        const int at = std::clamp(m_treeRect.right + x, 0, std::max(0, width - kBandWidth));
        if (m_band) {
            m_band->setGeometry(at, m_treeRect.top, kBandWidth,
                                std::max(0, m_treeRect.bottom - m_treeRect.top));
            m_band->show();
            m_band->raise();
        }
        m_lastDragX = x;
        m_lastDragY = y;
    } else {
        if (m_band)
            m_band->hide();
        m_lastDragX = kNoDrag;
        m_lastDragY = kNoDrag;
        // The tree keeps a width of 0 or more and the bar stays inside.
        const int newRight =
            std::max(m_treeRect.left, std::min(m_treeRect.right + x, width - kSplitterWidth));
        const int moved = newRight - m_treeRect.right;
        m_treeRect.right += moved;
        m_rightRect.left += moved;
        m_tree->Window()->setGeometry(ToQRect(m_treeRect));
        PlaceRightPanes();
        PlaceSplitter();
    }
    m_parent->update();
}

bool CViewManager::ChangeView(std::int16_t viewType)
{
    const std::int16_t previous = m_viewType;
    m_viewType = viewType;
    if (viewType == 1 && previous != 1) {
        m_browser->DestroyWindow();
        m_list->Show(true);
    } else if (viewType == 2 && previous != 2) {
        if (m_parent)
            m_browser->CreateWindow(m_parent, ToQRect(m_rightRect));
        m_list->Show(false);
    }
    return true;
}

// ---- Panes ----------------------------------------------------------------------

bool CViewManager::Refresh(bool refreshTree, bool refreshList)
{
    std::int32_t key = 0;
    if (!m_tree->GetSelKey(&key))
        return true;
    if (refreshTree)
        m_tree->Rebuild();
    if (refreshList) {
        if (m_viewType == 1)
            m_list->ShowKey(key);
        else if (m_viewType == 2)
            m_browser->NavigateAgain();
    }
    return true;
}

void CViewManager::DoRefresh(bool refreshTree, bool refreshList)
{
    if (refreshTree)
        m_tree->RemoveAllItems();
    if (refreshList && InListView())
        m_list->DeleteAllItems();
    Refresh(refreshTree, refreshList);
}

bool CViewManager::SelectKey(std::int32_t key)
{
    if (!m_tree->SelectKey(key))
        return false;
    Refresh(false, true);
    return true;
}

void CViewManager::DeleteAtKey(std::int32_t deleteKey, std::int32_t selectKey)
{
    const bool hadSelection = m_tree->SelectedKey().has_value();
    if (!m_tree->DeleteKey(deleteKey))
        return;
    // The selected node went with the subtree (it was the key deleted or
    // below it): the key named, or else the first node, is selected.
    if (hadSelection && !m_tree->SelectedKey() && !m_tree->SelectKey(selectKey))
        m_tree->SelectFirst();
}

void CViewManager::FireDblClick(bool fromTree)
{
    if (fromTree)
        m_ctrl.FireTreeDblClick(m_tree->LastKey(), m_tree->LastText());
    else if (InListView())
        m_ctrl.FireListDblClick(m_list->ClickedKey(), m_list->ClickedText());
}

bool CViewManager::GetListSelData(std::int32_t* key, QString* text) const
{
    *key = m_list->SelectedIndex();
    *text = InListView() ? m_list->ClickedText() : QString();
    return true;
}

bool CViewManager::FindMenuCommand(int id, std::int32_t* uid, QString* retStr) const
{
    for (CMyPopMenu* menu : {&m_list->Menu(), &m_tree->Menu(), &m_browser->Menu()}) {
        if (menu->OwnsCommand(id))
            return menu->FindByCommand(id, uid, retStr);
    }
    return false;
}

void CViewManager::ShowBrowsePopup(QPoint globalPos)
{
    if (m_viewType == 2 && m_browser->HasWindow())
        m_browser->ShowPopup(globalPos);
}

} // namespace Sarvex
