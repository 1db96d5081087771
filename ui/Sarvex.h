#pragma once

#include "platform/com/ControlHost.h"
#include "treelist/SarvexIds.h"

#include <QString>

#include <cstdint>

class IHtmlPrintHook;

// The tree-list control as a window drives it: every member is one call of
// the control's member of that number (SarvexIds::Member), events come by
// SarvexIds::Event through Events(). Keys, ids and widths are longs; values
// the control takes as shorts (column kinds, formats, widths, icon ids,
// positions, the view) are refused beyond a short rather than cut.
class CSarvex : public CControlHost {
public:
    static constexpr const char* kClassId = "{E22C10A8-0FE9-11D4-BB0A-0000B49FDECE}";

    explicit CSarvex(QWidget* parent = nullptr);

    // Creates the control by its class id; false (with LastResult()) when
    // it is not registered or cannot be loaded.
    bool Create();
    // Printing from the browser view asks this hook instead of showing the
    // print dialogs; nullptr shows them again. The hook stays the caller's.
    void SetPrintHook(IHtmlPrintHook* hook);

    void ReSize(int cx, int cy);
    bool SetParent(const QString& text, int key, int colInfo, int orderAscInfo,
                   const QString& colHead, int fmt, int colWidth, int iconId);
    bool SetChild(const QString& text, int key, int parentKey, int colInfo, int orderAscInfo,
                  const QString& colHead, int fmt, int colWidth, int iconId);
    bool SetListStr(int key, int tagKey, const QString& csv, int iconId);
    bool SetListStrCur(const QString& csv, int tagKey, int iconId);
    bool AddCols(int key, int parentKey, int colInfo, int orderAscInfo, const QString& colHead,
                 int fmt, int colWidth);
    bool SetSelectKey(int key);
    void doRefresh(bool refreshTree, bool refreshList);
    bool GetTreeSelKey(int& key);
    int QueryForKeyParent(int key);
    int SetPopTreeMenu(int key, int id, const QString& menuStr, const QString& retStr);
    int SetPopListMenu(int key, int id, const QString& menuStr, const QString& retStr);
    QString GetSelMenuText(bool tree);
    int RetSelKey();
    // rowCount is left alone when key has no list.
    QString GetListStr(int key, int& rowCount, int row, int col);
    QString RetListStr(int key, int row, int col);
    bool DeleteAtKey(int deleteKey, int selectKey);
    int NumberChildren(int key);
    bool ModifyNode(int key, int tagKey, const QString& treeStr, const QString& csv);
    QString GetChildTreeText(int parentKey, int pos);
    int GetChildkey(int parentKey, int pos);
    void DeleteListItem(int listKey, int tagKey);
    void GetVersion(int& big, int& small);
    int ReturnVerBig();
    int ReturnVerSml();
    bool GetListSelData(int& index, QString& text);
    void ExpandNode(int key, int code);
    void DeleteAllStoredItems(bool tree, bool list);
    bool SetTreeImageListValueatPos(const QString& iconFile, const QString& selIconFile, int iconId,
                                    int pos, int max);
    void NavigateTo(const QString& url);
    bool ChangeView(int viewType);
    int AppendToListMenu(int flags, int key, int uid, const QString& menuStr,
                         const QString& retStr);
    bool ChangeToListMenuItem(int flags, int id, const QString& menuStr);
    bool DeleteListMenuItem(int id);
    int AppendToTreeMenu(int flags, int key, int uid, const QString& menuStr,
                         const QString& retStr);
    bool ChangeToTreeMenuItem(int flags, int id, const QString& menuStr);
    bool DeleteTreeMenuItem(int id);
    void WriteFile(const QString& fileName, const QString& data);
    void SetTreeStorageStr(int key, const QString& text);
    QString GetTreeStorageStr(int key);
    int SetPopBrowseMenu(int key, int id, const QString& menuStr, const QString& retStr);
    bool DoPrint();
    bool ListSetColWidth(int key, int column, int width);
    bool DoPrintPreview();
    bool DeleteAllItemsTree();
    int TreeWidth();
    void SetTreeWidth(int width);

    static bool FitsShort(int value);
};
