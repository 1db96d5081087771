#pragma once

#include "platform/com/ControlImpl.h"

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QString>

#include <cstdint>
#include <memory>
#include <string>

class IHtmlPrintHook;

namespace Sarvex {
class CViewManager;
class CSarvexWidget;
} // namespace Sarvex

// The tree-list control as its container sees it: a keyed tree, a splitter
// bar and a per-key report list or a web view, filled and queried through
// the dispatch members and heard through the events (SarvexIds.h). Members
// never fail: unknown keys give "", 0 or -1, and before the first paint,
// when the panes have no windows yet, members work on the stored data.
//
// A container may call any member from inside any event.
class CSarvexCtrl : public CControlImpl<CSarvexCtrl> {
public:
    // Where a popup-menu command came from.
    enum CommandSource { kFromBrowser = 0, kFromTree = 1, kFromList = 2 };
    static constexpr std::int32_t kDefaultTreeWidth = 150;

    CSarvexCtrl();
    ~CSarvexCtrl() override;

    static const CDispatchTable<CSarvexCtrl>& DispatchTable();

    // --- Dispatch members, in DISPID order ------------------------------
    void ReSize(std::int32_t cx, std::int32_t cy);
    bool SetParent(const QString& parentStr, std::int32_t key, std::int16_t colInfo,
                   std::int16_t orderAscInfo, const QString& colHeadStr, std::int16_t fmt,
                   std::int16_t colWidth, std::int16_t iconId);
    bool SetChild(const QString& childStr, std::int32_t key, std::int32_t parentKey,
                  std::int16_t colInfo, std::int16_t orderAscInfo, const QString& colHeadStr,
                  std::int16_t fmt, std::int16_t colWidth, std::int16_t iconId);
    void test(std::int32_t*) {}
    bool SetListStr(std::int32_t key, std::int32_t tagKey, const QString& csvStr,
                    std::int32_t iconId);
    bool SetListStrCur(const QString& csvStr, std::int32_t tagKey, std::int32_t iconId);
    bool AddCols(std::int32_t key, std::int32_t parentKey, std::int16_t colInfo,
                 std::int16_t orderAscInfo, const QString& colHeadStr, std::int16_t fmt,
                 std::int16_t colWidth);
    bool SetSelectKey(std::int32_t key);
    void doRefresh(bool refreshTree, bool refreshList);
    bool GetTreeSelKey(std::int32_t* key);
    bool QueryForChildKeyData(std::int32_t, std::string*) { return true; }
    std::int32_t QueryForKeyParent(std::int32_t key);
    std::int32_t SetPopTreeMenu(std::int32_t key, std::int32_t id, const QString& menuStr,
                                const QString& retStr);
    std::int32_t SetPopListMenu(std::int32_t key, std::int32_t id, const QString& menuStr,
                                const QString& retStr);
    QString GetSelMenuText(bool tree);
    std::int32_t RetSelKey();
    QString GetListStr(std::int32_t key, std::int32_t* size, std::int32_t row, std::int32_t col);
    QString RetListStr(std::int32_t key, std::int32_t row, std::int32_t col);
    bool DeleteAtKey(std::int32_t deleteKey, std::int32_t selectKey);
    std::int32_t NumberChildren(std::int32_t key);
    bool ModifyNode(std::int32_t key, std::int32_t tagKey, const QString& treeStr,
                    const QString& csvStr);
    QString GetChildTreeText(std::int32_t parentKey, std::int32_t pos);
    std::int32_t GetChildkey(std::int32_t parentKey, std::int32_t pos);
    void DumpObjects() {}
    void DeleteListItem(std::int32_t listKey, std::int32_t tagKey);
    void GetVersion(std::int32_t* big, std::int32_t* small);
    std::int32_t ReturnVerBig() { return kVersionBig; }
    std::int32_t ReturnVerSml() { return kVersionSmall; }
    bool GetListSelData(std::int32_t* key, std::string* text);
    void ExpandNode(std::int32_t key, std::int32_t expandType);
    void DeleteAllStoredItems(bool tree, bool list);
    bool SetTreeImageList(ComPtr<IUnknown> imageList, Variant identList, std::int16_t size);
    bool SetTreeImageListValueatPos(const QString& iconFile, const QString& selIconFile,
                                    std::int16_t iconId, std::int16_t pos, std::int16_t max);
    void NavigateTo(const QString& url);
    bool ChangeView(std::int16_t viewType);
    std::int32_t AppendToListMenu(std::int32_t flags, std::int32_t key, std::int32_t uid,
                                  const QString& menuStr, const QString& retStr);
    bool ChangeToListMenuItem(std::int32_t flags, std::int32_t id, const QString& menuStr);
    bool DeleteListMenuItem(std::int32_t id);
    std::int32_t AppendToTreeMenu(std::int32_t flags, std::int32_t key, std::int32_t uid,
                                  const QString& menuStr, const QString& retStr);
    bool ChangeToTreeMenuItem(std::int32_t flags, std::int32_t id, const QString& menuStr);
    bool DeleteTreeMenuItem(std::int32_t id);
    void WriteFile(const QString& fileName, const QString& data);
    void SetTreeStorageStr(std::int32_t key, const QString& text);
    QString GetTreeStorageStr(std::int32_t key);
    std::int32_t SetPopBrowseMenu(std::int32_t key, std::int32_t id, const QString& menuStr,
                                  const QString& retStr);
    bool DoPrint();
    bool ListSetColWidth(std::int32_t key, std::int32_t column, std::int32_t width);
    bool DoPrintPreview();
    bool DeleteAllItemsTree();
    // The persisted property: shown by the property page, not used by the
    // layout (the tree starts 150 pixels wide).
    std::int32_t TreeWidth() const { return m_treeWidth; }
    void SetTreeWidth(std::int32_t width) { m_treeWidth = width; }

    // --- Events, fired by the panes --------------------------------------
    void FireTreeDblClick(std::int32_t key, const QString& text);
    void FireListDblClick(std::int32_t key, const QString& text);
    void FireListLButDown(std::int32_t key, const QString& text);
    void FireTreeLButDown(std::int32_t key, const QString& text);
    void FireNotifyBrowseEvent(std::int32_t code, const QString& status);

    // --- The control window ---------------------------------------------------
    // Each paint: the first one creates the panes and says NotifyReady,
    // once it is over.
    void OnDraw(const QRect& bounds);
    void OnSize(int width, int height);
    void OnRButtonDown(QPoint globalPos);
    // A popup-menu command; false when no item holds that id.
    bool OnCommand(int commandId, CommandSource source);
    // Back to the defaults of the persisted properties.
    void OnResetState();
    // The print hook the container offers through its site, if any.
    IHtmlPrintHook* ContainerPrintHook() const;

    bool IsReady() const { return m_ready; }

protected:
    QWidget* MakeWidget(QWidget* parent) override;

private:
    static constexpr std::int32_t kVersionBig = 1;
    static constexpr std::int32_t kVersionSmall = 3;

    void FirstDraw();

    std::unique_ptr<Sarvex::CViewManager> m_manager;
    bool m_firstDraw = true;
    bool m_ready = false;
    int m_lastWidth = 0;
    int m_lastHeight = 0;
    std::int32_t m_treeWidth = kDefaultTreeWidth;
    QPointer<Sarvex::CSarvexWidget> m_widget;
    // Posted tasks go with the control.
    QObject m_poster;
};
