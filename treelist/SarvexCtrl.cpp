#include "treelist/SarvexCtrl.h"

#include "platform/com/IControlSite.h"
#include "treelist/BrowseView.h"
#include "treelist/MyListCtrl.h"
#include "treelist/MyTreeCtrl.h"
#include "treelist/SarvexIds.h"
#include "treelist/SarvexWidget.h"
#include "treelist/ViewManager.h"

#include <QFile>
#include <QTimer>

using namespace Sarvex;

const CDispatchTable<CSarvexCtrl>& CSarvexCtrl::DispatchTable()
{
    using T = CDispatchTable<CSarvexCtrl>;
    using C = CSarvexCtrl;
    static const T table{
        T::Method<&C::ReSize>("ReSize"),                                         // 1
        T::Method<&C::SetParent>("SetParent"),                                   // 2
        T::Method<&C::SetChild>("SetChild"),                                     // 3
        T::Method<&C::test>("test"),                                             // 4
        T::Method<&C::SetListStr>("SetListStr"),                                 // 5
        T::Method<&C::SetListStrCur>("SetListStrCur"),                           // 6
        T::Method<&C::AddCols>("AddCols"),                                       // 7
        T::Method<&C::SetSelectKey>("SetSelectKey"),                             // 8
        T::Method<&C::doRefresh>("doRefresh"),                                   // 9
        T::Method<&C::GetTreeSelKey>("GetTreeSelKey"),                           // 10
        T::Method<&C::QueryForChildKeyData>("QueryForChildKeyData"),             // 11
        T::Method<&C::QueryForKeyParent>("QueryForKeyParent"),                   // 12
        T::Method<&C::SetPopTreeMenu>("SetPopTreeMenu"),                         // 13
        T::Method<&C::SetPopListMenu>("SetPopListMenu"),                         // 14
        T::Method<&C::GetSelMenuText>("GetSelMenuText"),                         // 15
        T::Method<&C::RetSelKey>("RetSelKey"),                                   // 16
        T::Method<&C::GetListStr>("GetListStr"),                                 // 17
        T::Method<&C::RetListStr>("RetListStr"),                                 // 18
        T::Method<&C::DeleteAtKey>("DeleteAtKey"),                               // 19
        T::Method<&C::NumberChildren>("NumberChildren"),                         // 20
        T::Method<&C::ModifyNode>("ModifyNode"),                                 // 21
        T::Method<&C::GetChildTreeText>("GetChildTreeText"),                     // 22
        T::Method<&C::GetChildkey>("GetChildkey"),                               // 23
        T::Method<&C::DumpObjects>("DumpObjects"),                               // 24
        T::Method<&C::DeleteListItem>("DeleteListItem"),                         // 25
        T::Method<&C::GetVersion>("GetVersion"),                                 // 26
        T::Method<&C::ReturnVerBig>("ReturnVerBig"),                             // 27
        T::Method<&C::ReturnVerSml>("ReturnVerSml"),                             // 28
        T::Method<&C::GetListSelData>("GetListSelData"),                         // 29
        T::Method<&C::ExpandNode>("ExpandNode"),                                 // 30
        T::Method<&C::DeleteAllStoredItems>("DeleteAllStoredItems"),             // 31
        T::Method<&C::SetTreeImageList>("SetTreeImageList"),                     // 32
        T::Method<&C::SetTreeImageListValueatPos>("SetTreeImageListValueatPos"), // 33
        T::Method<&C::NavigateTo>("NavigateTo"),                                 // 34
        T::Method<&C::ChangeView>("ChangeView"),                                 // 35
        T::Method<&C::AppendToListMenu>("AppendToListMenu"),                     // 36
        T::Method<&C::ChangeToListMenuItem>("ChangeToListMenuItem"),             // 37
        T::Method<&C::DeleteListMenuItem>("DeleteListMenuItem"),                 // 38
        T::Method<&C::AppendToTreeMenu>("AppendToTreeMenu"),                     // 39
        T::Method<&C::ChangeToTreeMenuItem>("ChangeToTreeMenuItem"),             // 40
        T::Method<&C::DeleteTreeMenuItem>("DeleteTreeMenuItem"),                 // 41
        T::Method<&C::WriteFile>("WriteFile"),                                   // 42
        T::Method<&C::SetTreeStorageStr>("SetTreeStorageStr"),                   // 43
        T::Method<&C::GetTreeStorageStr>("GetTreeStorageStr"),                   // 44
        T::Method<&C::SetPopBrowseMenu>("SetPopBrowseMenu"),                     // 45
        T::Method<&C::DoPrint>("DoPrint"),                                       // 46
        T::Method<&C::ListSetColWidth>("ListSetColWidth"),                       // 47
        T::Method<&C::DoPrintPreview>("DoPrintPreview"),                         // 48
        T::Method<&C::DeleteAllItemsTree>("DeleteAllItemsTree"),                 // 49
        T::Property<&C::TreeWidth, &C::SetTreeWidth>("TreeWidth"),               // 50
    };
    return table;
}

CSarvexCtrl::CSarvexCtrl()
    : m_manager(std::make_unique<CViewManager>(*this))
{}

CSarvexCtrl::~CSarvexCtrl()
{
    // The window calls back into this object; it goes before the panes.
    delete m_widget.data();
}

QWidget* CSarvexCtrl::MakeWidget(QWidget* parent)
{
    auto* widget = new CSarvexWidget(*this, parent);
    m_widget = widget;
    return widget;
}

// ---- The control window ---------------------------------------------------------

void CSarvexCtrl::OnDraw(const QRect& /*bounds*/)
{
    if (!m_firstDraw)
        return;
    m_firstDraw = false;
    // Children are not made inside a paint, and the container's NotifyReady
    // handler fills them: both once the paint is over.
    QTimer::singleShot(0, &m_poster, [this] { FirstDraw(); });
}

void CSarvexCtrl::FirstDraw()
{
    if (!m_widget)
        return;
    const QRect bounds = m_widget->rect();
    m_lastWidth = bounds.width();
    m_lastHeight = bounds.height();
    m_manager->CreateChildWindows(m_widget, bounds);
    FireEvent(SarvexIds::kNotifyReady);
    m_ready = true;
}

void CSarvexCtrl::OnSize(int width, int height)
{
    m_manager->RecalcLayout(width, height, m_lastWidth, m_lastHeight);
    m_lastWidth = width;
    m_lastHeight = height;
    if (m_widget)
        m_widget->update();
}

void CSarvexCtrl::OnRButtonDown(QPoint globalPos)
{
    m_manager->ShowBrowsePopup(globalPos);
}

bool CSarvexCtrl::OnCommand(int commandId, CommandSource source)
{
    std::int32_t uid = 0;
    QString retStr;
    if (!m_manager->FindMenuCommand(commandId, &uid, &retStr))
        return false;
    std::int32_t selKey = -1;
    if (source == kFromTree)
        selKey = RetSelKey();
    else if (source == kFromList)
        selKey = m_manager->List().SelectedIndex();
    FireEvent(SarvexIds::kMenuItemClick, selKey, uid, retStr);
    return true;
}

void CSarvexCtrl::OnResetState()
{
    m_treeWidth = kDefaultTreeWidth;
    if (m_widget)
        m_widget->update();
}

IHtmlPrintHook* CSarvexCtrl::ContainerPrintHook() const
{
    IControlSite* site = Site();
    return site ? static_cast<IHtmlPrintHook*>(site->QueryService(SarvexIds::kPrintHookService))
                : nullptr;
}

// ---- Events ---------------------------------------------------------------------

void CSarvexCtrl::FireTreeDblClick(std::int32_t key, const QString& text)
{
    FireEvent(SarvexIds::kTreeDblClick, key, text);
}

void CSarvexCtrl::FireListDblClick(std::int32_t key, const QString& text)
{
    FireEvent(SarvexIds::kListDblClick, key, text);
}

void CSarvexCtrl::FireListLButDown(std::int32_t key, const QString& text)
{
    FireEvent(SarvexIds::kListLButDown, key, text);
}

void CSarvexCtrl::FireTreeLButDown(std::int32_t key, const QString& text)
{
    FireEvent(SarvexIds::kTreeLButDown, key, text);
}

void CSarvexCtrl::FireNotifyBrowseEvent(std::int32_t code, const QString& status)
{
    FireEvent(SarvexIds::kNotifyBrowseEvent, code, status);
}

// ---- Dispatch members -----------------------------------------------------------

void CSarvexCtrl::ReSize(std::int32_t cx, std::int32_t cy)
{
    // The container sizes the window; the control only asks.
    RequestResize(cx, cy);
}

bool CSarvexCtrl::SetParent(const QString& parentStr, std::int32_t key, std::int16_t colInfo,
                            std::int16_t orderAscInfo, const QString& colHeadStr, std::int16_t fmt,
                            std::int16_t colWidth, std::int16_t iconId)
{
    if (!colHeadStr.isEmpty())
        m_manager->List().AddColumn(key, 0, colInfo, orderAscInfo, colHeadStr, fmt, colWidth);
    m_manager->Tree().AddRoot(parentStr, key, iconId);
    return true;
}

bool CSarvexCtrl::SetChild(const QString& childStr, std::int32_t key, std::int32_t parentKey,
                           std::int16_t colInfo, std::int16_t orderAscInfo,
                           const QString& colHeadStr, std::int16_t fmt, std::int16_t colWidth,
                           std::int16_t iconId)
{
    m_manager->Tree().AddChild(childStr, key, parentKey, iconId);
    m_manager->List().AddColumn(key, parentKey, colInfo, orderAscInfo, colHeadStr, fmt, colWidth);
    return true;
}

bool CSarvexCtrl::SetListStr(std::int32_t key, std::int32_t tagKey, const QString& csvStr,
                             std::int32_t iconId)
{
    const bool shown = m_manager->Tree().SelectedKey() == key;
    m_manager->List().AddRow(key, tagKey, SplitCsv(csvStr), shown, iconId);
    // A tag key no rows array has a slot for is refused.
    return CListKeyData::IsSlot(tagKey);
}

bool CSarvexCtrl::SetListStrCur(const QString& csvStr, std::int32_t tagKey, std::int32_t iconId)
{
    std::int32_t key = 0;
    if (m_manager->Tree().GetSelKey(&key))
        m_manager->List().AddRow(key, tagKey, SplitCsv(csvStr), true, iconId);
    return CListKeyData::IsSlot(tagKey);
}

bool CSarvexCtrl::AddCols(std::int32_t key, std::int32_t parentKey, std::int16_t colInfo,
                          std::int16_t orderAscInfo, const QString& colHeadStr, std::int16_t fmt,
                          std::int16_t colWidth)
{
    return m_manager->List().AddColumn(key, parentKey, colInfo, orderAscInfo, colHeadStr, fmt,
                                       colWidth);
}

bool CSarvexCtrl::SetSelectKey(std::int32_t key)
{
    m_manager->SelectKey(key);
    return true;
}

void CSarvexCtrl::doRefresh(bool refreshTree, bool refreshList)
{
    m_manager->DoRefresh(refreshTree, refreshList);
}

bool CSarvexCtrl::GetTreeSelKey(std::int32_t* key)
{
    m_manager->Tree().GetSelKey(key);
    return true;
}

std::int32_t CSarvexCtrl::QueryForKeyParent(std::int32_t key)
{
    return m_manager->Tree().ParentOf(key);
}

std::int32_t CSarvexCtrl::SetPopTreeMenu(std::int32_t key, std::int32_t id, const QString& menuStr,
                                         const QString& retStr)
{
    return m_manager->Tree().Menu().AddItem(key, id, 0, menuStr, retStr);
}

std::int32_t CSarvexCtrl::SetPopListMenu(std::int32_t key, std::int32_t id, const QString& menuStr,
                                         const QString& retStr)
{
    return m_manager->List().Menu().AddItem(key, id, 0, menuStr, retStr);
}

QString CSarvexCtrl::GetSelMenuText(bool tree)
{
    std::int32_t key = 0;
    if (!m_manager->Tree().GetSelKey(&key))
        return QString();
    QString retStr;
    if (tree)
        m_manager->Tree().Menu().FindByKey(key, &retStr);
    else if (m_manager->InListView())
        m_manager->List().Menu().FindByKey(key, &retStr);
    return retStr;
}

std::int32_t CSarvexCtrl::RetSelKey()
{
    std::int32_t key = -1;
    m_manager->Tree().GetSelKey(&key);
    return key;
}

QString CSarvexCtrl::GetListStr(std::int32_t key, std::int32_t* size, std::int32_t row,
                                std::int32_t col)
{
    if (!m_manager->InListView())
        return QString();
    return m_manager->List().GetCell(key, size, row, col);
}

QString CSarvexCtrl::RetListStr(std::int32_t key, std::int32_t row, std::int32_t col)
{
    if (!m_manager->InListView())
        return QString();
    return m_manager->List().GetCell(key, nullptr, row, col);
}

bool CSarvexCtrl::DeleteAtKey(std::int32_t deleteKey, std::int32_t selectKey)
{
    m_manager->DeleteAtKey(deleteKey, selectKey);
    return true;
}

std::int32_t CSarvexCtrl::NumberChildren(std::int32_t key)
{
    return m_manager->Tree().ChildCount(key);
}

bool CSarvexCtrl::ModifyNode(std::int32_t key, std::int32_t tagKey, const QString& treeStr,
                             const QString& csvStr)
{
    if (m_manager->Tree().ModifyText(key, treeStr))
        m_manager->List().ModifyRow(key, tagKey, csvStr);
    return true;
}

QString CSarvexCtrl::GetChildTreeText(std::int32_t parentKey, std::int32_t pos)
{
    std::int32_t key = -1;
    return m_manager->Tree().GetChild(parentKey, pos, &key);
}

std::int32_t CSarvexCtrl::GetChildkey(std::int32_t parentKey, std::int32_t pos)
{
    std::int32_t key = -1;
    m_manager->Tree().GetChild(parentKey, pos, &key);
    return key;
}

void CSarvexCtrl::DeleteListItem(std::int32_t listKey, std::int32_t tagKey)
{
    if (m_manager->InListView())
        m_manager->List().DeleteRow(listKey, tagKey);
}

void CSarvexCtrl::GetVersion(std::int32_t* big, std::int32_t* small)
{
    *big = kVersionBig;
    *small = kVersionSmall;
}

bool CSarvexCtrl::GetListSelData(std::int32_t* key, std::string* text)
{
    QString selected;
    m_manager->GetListSelData(key, &selected);
    *text = selected.toStdString();
    return true;
}

void CSarvexCtrl::ExpandNode(std::int32_t key, std::int32_t expandType)
{
    m_manager->Tree().Expand(key, expandType);
}

void CSarvexCtrl::DeleteAllStoredItems(bool tree, bool list)
{
    if (tree)
        m_manager->Tree().DropAll();
    if (list && m_manager->InListView())
        m_manager->List().DropAll();
}

bool CSarvexCtrl::SetTreeImageList(ComPtr<IUnknown> /*imageList*/, Variant identList,
                                   std::int16_t size)
{
    VariantArray values;
    std::vector<std::int32_t> ids;
    if (Succeeded(identList.ToArray(&values))) {
        const std::size_t count = std::min<std::size_t>(values.size(), std::max<int>(0, size));
        for (std::size_t i = 0; i < count; ++i) {
            std::int32_t id = 0;
            values[i].ToLong(&id);
            ids.push_back(id);
        }
    }
    return m_manager->Tree().SetImageList(std::move(ids));
}

bool CSarvexCtrl::SetTreeImageListValueatPos(const QString& iconFile, const QString& selIconFile,
                                             std::int16_t iconId, std::int16_t pos,
                                             std::int16_t max)
{
    if (m_manager->Tree().SetIcon(iconFile, selIconFile, iconId, pos, max))
        m_manager->List().SetIcon(iconFile, selIconFile, iconId, pos, max);
    return true;
}

void CSarvexCtrl::NavigateTo(const QString& url)
{
    if (m_manager->ViewType() != SarvexIds::kBrowseView)
        return;
    m_manager->Browser().Navigate(url);
    m_manager->Browser().ConnectEvents();
}

bool CSarvexCtrl::ChangeView(std::int16_t viewType)
{
    return m_manager->ChangeView(viewType);
}

std::int32_t CSarvexCtrl::AppendToListMenu(std::int32_t /*flags*/, std::int32_t key,
                                           std::int32_t uid, const QString& menuStr,
                                           const QString& retStr)
{
    // The list's items take no flags.
    return m_manager->List().Menu().AddItem(key, uid, 0, menuStr, retStr);
}

bool CSarvexCtrl::ChangeToListMenuItem(std::int32_t flags, std::int32_t id, const QString& menuStr)
{
    m_manager->List().Menu().ChangeItem(flags, id, menuStr);
    return true;
}

bool CSarvexCtrl::DeleteListMenuItem(std::int32_t id)
{
    m_manager->List().Menu().DeleteItem(id);
    return true;
}

std::int32_t CSarvexCtrl::AppendToTreeMenu(std::int32_t flags, std::int32_t key, std::int32_t uid,
                                           const QString& menuStr, const QString& retStr)
{
    return m_manager->Tree().Menu().AddItem(key, uid, flags, menuStr, retStr);
}

bool CSarvexCtrl::ChangeToTreeMenuItem(std::int32_t flags, std::int32_t id, const QString& menuStr)
{
    m_manager->Tree().Menu().ChangeItem(flags, id, menuStr);
    return true;
}

bool CSarvexCtrl::DeleteTreeMenuItem(std::int32_t id)
{
    m_manager->Tree().Menu().DeleteItem(id);
    return true;
}

void CSarvexCtrl::WriteFile(const QString& fileName, const QString& data)
{
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text))
        return;
    file.write(data.toUtf8());
}

void CSarvexCtrl::SetTreeStorageStr(std::int32_t key, const QString& text)
{
    m_manager->Tree().SetStorage(key, text);
}

QString CSarvexCtrl::GetTreeStorageStr(std::int32_t key)
{
    return m_manager->Tree().GetStorage(key);
}

std::int32_t CSarvexCtrl::SetPopBrowseMenu(std::int32_t key, std::int32_t id,
                                           const QString& menuStr, const QString& retStr)
{
    return m_manager->Browser().Menu().AddItem(key, id, 0, menuStr, retStr);
}

bool CSarvexCtrl::DoPrint()
{
    return m_manager->Browser().Print(CBrowseView::PrintCommand::Print);
}

bool CSarvexCtrl::ListSetColWidth(std::int32_t key, std::int32_t column, std::int32_t width)
{
    m_manager->List().SetColumnWidth(key, column, width);
    return false;
}

bool CSarvexCtrl::DoPrintPreview()
{
    return m_manager->Browser().Print(CBrowseView::PrintCommand::PrintPreview);
}

bool CSarvexCtrl::DeleteAllItemsTree()
{
    m_manager->Tree().DropAll();
    if (!m_manager->Tree().HasWindow())
        return false;
    m_manager->Tree().RemoveAllItems();
    return true;
}
