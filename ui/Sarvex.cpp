#include "ui/Sarvex.h"

#include "platform/Trace.h"

#include <initializer_list>

using namespace SarvexIds;

namespace {

using Short = std::int16_t;
using Long = std::int32_t;

Short S(int value)
{
    return static_cast<Short>(value);
}

// Every value fits the control's short, or the call is not made.
bool AllFit(const char* member, std::initializer_list<int> values)
{
    for (const int value : values) {
        if (!CSarvex::FitsShort(value)) {
            qCWarning(lcUi) << member << ":" << value << "does not fit the control's short";
            return false;
        }
    }
    return true;
}

} // namespace

CSarvex::CSarvex(QWidget* parent)
    : CControlHost(parent)
{}

bool CSarvex::Create()
{
    return Succeeded(CreateControl(QString::fromLatin1(kClassId)));
}

void CSarvex::SetPrintHook(IHtmlPrintHook* hook)
{
    OfferService(kPrintHookService, hook);
}

bool CSarvex::FitsShort(int value)
{
    return value >= INT16_MIN && value <= INT16_MAX;
}

void CSarvex::ReSize(int cx, int cy)
{
    Call(kReSize, Long(cx), Long(cy));
}

bool CSarvex::SetParent(const QString& text, int key, int colInfo, int orderAscInfo,
                        const QString& colHead, int fmt, int colWidth, int iconId)
{
    if (!AllFit("SetParent", {colInfo, orderAscInfo, fmt, colWidth, iconId}))
        return false;
    return Call<bool>(kSetParent, text, Long(key), S(colInfo), S(orderAscInfo), colHead, S(fmt),
                      S(colWidth), S(iconId));
}

bool CSarvex::SetChild(const QString& text, int key, int parentKey, int colInfo, int orderAscInfo,
                       const QString& colHead, int fmt, int colWidth, int iconId)
{
    if (!AllFit("SetChild", {colInfo, orderAscInfo, fmt, colWidth, iconId}))
        return false;
    return Call<bool>(kSetChild, text, Long(key), Long(parentKey), S(colInfo), S(orderAscInfo),
                      colHead, S(fmt), S(colWidth), S(iconId));
}

bool CSarvex::SetListStr(int key, int tagKey, const QString& csv, int iconId)
{
    return Call<bool>(kSetListStr, Long(key), Long(tagKey), csv, Long(iconId));
}

bool CSarvex::SetListStrCur(const QString& csv, int tagKey, int iconId)
{
    return Call<bool>(kSetListStrCur, csv, Long(tagKey), Long(iconId));
}

bool CSarvex::AddCols(int key, int parentKey, int colInfo, int orderAscInfo, const QString& colHead,
                      int fmt, int colWidth)
{
    if (!AllFit("AddCols", {colInfo, orderAscInfo, fmt, colWidth}))
        return false;
    return Call<bool>(kAddCols, Long(key), Long(parentKey), S(colInfo), S(orderAscInfo), colHead,
                      S(fmt), S(colWidth));
}

bool CSarvex::SetSelectKey(int key)
{
    return Call<bool>(kSetSelectKey, Long(key));
}

void CSarvex::doRefresh(bool refreshTree, bool refreshList)
{
    Call(kDoRefresh, refreshTree, refreshList);
}

bool CSarvex::GetTreeSelKey(int& key)
{
    Long value = key;
    const bool done = Call<bool>(kGetTreeSelKey, &value);
    key = value;
    return done;
}

int CSarvex::QueryForKeyParent(int key)
{
    return Call<Long>(kQueryForKeyParent, Long(key));
}

int CSarvex::SetPopTreeMenu(int key, int id, const QString& menuStr, const QString& retStr)
{
    return Call<Long>(kSetPopTreeMenu, Long(key), Long(id), menuStr, retStr);
}

int CSarvex::SetPopListMenu(int key, int id, const QString& menuStr, const QString& retStr)
{
    return Call<Long>(kSetPopListMenu, Long(key), Long(id), menuStr, retStr);
}

QString CSarvex::GetSelMenuText(bool tree)
{
    return Call<QString>(kGetSelMenuText, tree);
}

int CSarvex::RetSelKey()
{
    return Call<Long>(kRetSelKey);
}

QString CSarvex::GetListStr(int key, int& rowCount, int row, int col)
{
    Long count = rowCount;
    const QString text = Call<QString>(kGetListStr, Long(key), &count, Long(row), Long(col));
    rowCount = count;
    return text;
}

QString CSarvex::RetListStr(int key, int row, int col)
{
    return Call<QString>(kRetListStr, Long(key), Long(row), Long(col));
}

bool CSarvex::DeleteAtKey(int deleteKey, int selectKey)
{
    return Call<bool>(kDeleteAtKey, Long(deleteKey), Long(selectKey));
}

int CSarvex::NumberChildren(int key)
{
    return Call<Long>(kNumberChildren, Long(key));
}

bool CSarvex::ModifyNode(int key, int tagKey, const QString& treeStr, const QString& csv)
{
    return Call<bool>(kModifyNode, Long(key), Long(tagKey), treeStr, csv);
}

QString CSarvex::GetChildTreeText(int parentKey, int pos)
{
    return Call<QString>(kGetChildTreeText, Long(parentKey), Long(pos));
}

int CSarvex::GetChildkey(int parentKey, int pos)
{
    return Call<Long>(kGetChildkey, Long(parentKey), Long(pos));
}

void CSarvex::DeleteListItem(int listKey, int tagKey)
{
    Call(kDeleteListItem, Long(listKey), Long(tagKey));
}

void CSarvex::GetVersion(int& big, int& small)
{
    Long b = 0;
    Long s = 0;
    Call(kGetVersion, &b, &s);
    big = b;
    small = s;
}

int CSarvex::ReturnVerBig()
{
    return Call<Long>(kReturnVerBig);
}

int CSarvex::ReturnVerSml()
{
    return Call<Long>(kReturnVerSml);
}

bool CSarvex::GetListSelData(int& index, QString& text)
{
    Long value = index;
    std::string selected;
    const bool done = Call<bool>(kGetListSelData, &value, &selected);
    index = value;
    text = QString::fromStdString(selected);
    return done;
}

void CSarvex::ExpandNode(int key, int code)
{
    Call(kExpandNode, Long(key), Long(code));
}

void CSarvex::DeleteAllStoredItems(bool tree, bool list)
{
    Call(kDeleteAllStoredItems, tree, list);
}

bool CSarvex::SetTreeImageListValueatPos(const QString& iconFile, const QString& selIconFile,
                                         int iconId, int pos, int max)
{
    if (!AllFit("SetTreeImageListValueatPos", {iconId, pos, max}))
        return false;
    return Call<bool>(kSetTreeImageListValueatPos, iconFile, selIconFile, S(iconId), S(pos),
                      S(max));
}

void CSarvex::NavigateTo(const QString& url)
{
    Call(kNavigateTo, url);
}

bool CSarvex::ChangeView(int viewType)
{
    if (!AllFit("ChangeView", {viewType}))
        return false;
    return Call<bool>(kChangeView, S(viewType));
}

int CSarvex::AppendToListMenu(int flags, int key, int uid, const QString& menuStr,
                              const QString& retStr)
{
    return Call<Long>(kAppendToListMenu, Long(flags), Long(key), Long(uid), menuStr, retStr);
}

bool CSarvex::ChangeToListMenuItem(int flags, int id, const QString& menuStr)
{
    return Call<bool>(kChangeToListMenuItem, Long(flags), Long(id), menuStr);
}

bool CSarvex::DeleteListMenuItem(int id)
{
    return Call<bool>(kDeleteListMenuItem, Long(id));
}

int CSarvex::AppendToTreeMenu(int flags, int key, int uid, const QString& menuStr,
                              const QString& retStr)
{
    return Call<Long>(kAppendToTreeMenu, Long(flags), Long(key), Long(uid), menuStr, retStr);
}

bool CSarvex::ChangeToTreeMenuItem(int flags, int id, const QString& menuStr)
{
    return Call<bool>(kChangeToTreeMenuItem, Long(flags), Long(id), menuStr);
}

bool CSarvex::DeleteTreeMenuItem(int id)
{
    return Call<bool>(kDeleteTreeMenuItem, Long(id));
}

void CSarvex::WriteFile(const QString& fileName, const QString& data)
{
    Call(kWriteFile, fileName, data);
}

void CSarvex::SetTreeStorageStr(int key, const QString& text)
{
    Call(kSetTreeStorageStr, Long(key), text);
}

QString CSarvex::GetTreeStorageStr(int key)
{
    return Call<QString>(kGetTreeStorageStr, Long(key));
}

int CSarvex::SetPopBrowseMenu(int key, int id, const QString& menuStr, const QString& retStr)
{
    return Call<Long>(kSetPopBrowseMenu, Long(key), Long(id), menuStr, retStr);
}

bool CSarvex::DoPrint()
{
    return Call<bool>(kDoPrint);
}

bool CSarvex::ListSetColWidth(int key, int column, int width)
{
    return Call<bool>(kListSetColWidth, Long(key), Long(column), Long(width));
}

bool CSarvex::DoPrintPreview()
{
    return Call<bool>(kDoPrintPreview);
}

bool CSarvex::DeleteAllItemsTree()
{
    return Call<bool>(kDeleteAllItemsTree);
}

int CSarvex::TreeWidth()
{
    return GetProperty<Long>(kTreeWidth);
}

void CSarvex::SetTreeWidth(int width)
{
    SetProperty(kTreeWidth, Long(width));
}
