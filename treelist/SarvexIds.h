#pragma once

#include "platform/com/Guid.h"
#include "platform/com/IDispatch.h"

#include <cstdint>

// What a container knows of the tree-list control: its class ids, its
// members by DISPID and its events by number.
namespace SarvexIds {

inline constexpr Guid kTypeLib = Guid::Literal("{E22C10A3-0FE9-11D4-BB0A-0000B49FDECE}");
inline constexpr Guid kDispatchIid = Guid::Literal("{E22C10A6-0FE9-11D4-BB0A-0000B49FDECE}");
inline constexpr Guid kEventsIid = Guid::Literal("{E22C10A7-0FE9-11D4-BB0A-0000B49FDECE}");
inline constexpr Guid kClsid = Guid::Literal("{E22C10A8-0FE9-11D4-BB0A-0000B49FDECE}");
inline constexpr Guid kPropPageClsid = Guid::Literal("{E22C10A9-0FE9-11D4-BB0A-0000B49FDECE}");
inline constexpr const char* kProgId = "Sarvex.SarvexCtrl.1";
inline constexpr const char* kPropPageProgId = "Sarvex.SarvexPropPage.1";
inline constexpr std::uint32_t kMiscStatus = 0x20191;

// The service a container may offer through its site so that printing from
// the browser view asks it instead of showing the print dialogs: an
// IHtmlPrintHook (ui/HtmlView.h), owned by the container.
inline constexpr Guid kPrintHookService = Guid::Literal("{6A0C43B5-2F4E-4C1B-9D7E-3B8F51A2C640}");

// Members in dispatch order; the DISPID is the position.
enum Member : DispId {
    kReSize = 1,                 // (long cx, long cy)
    kSetParent,                  // (text, long key, short x2, text, short x3) -> BOOL
    kSetChild,                   // (text, long key, long parent, short x2, text, short x3) -> BOOL
    kTest,                       // (long*)
    kSetListStr,                 // (long key, long tagKey, text csv, long icon) -> BOOL
    kSetListStrCur,              // (text csv, long tagKey, long icon) -> BOOL
    kAddCols,                    // (long key, long parent, short x2, text, short x2) -> BOOL
    kSetSelectKey,               // (long key) -> BOOL
    kDoRefresh,                  // (BOOL tree, BOOL list)
    kGetTreeSelKey,              // (long*) -> BOOL
    kQueryForChildKeyData,       // (long, text*) -> BOOL
    kQueryForKeyParent,          // (long key) -> long
    kSetPopTreeMenu,             // (long key, long id, text, text) -> long
    kSetPopListMenu,             // (long key, long id, text, text) -> long
    kGetSelMenuText,             // (BOOL tree) -> text
    kRetSelKey,                  // () -> long
    kGetListStr,                 // (long key, long* size, long row, long col) -> text
    kRetListStr,                 // (long key, long row, long col) -> text
    kDeleteAtKey,                // (long delKey, long selKey) -> BOOL
    kNumberChildren,             // (long key) -> long
    kModifyNode,                 // (long key, long tagKey, text tree, text csv) -> BOOL
    kGetChildTreeText,           // (long parent, long pos) -> text
    kGetChildkey,                // (long parent, long pos) -> long
    kDumpObjects,                // ()
    kDeleteListItem,             // (long key, long tagKey)
    kGetVersion,                 // (long*, long*)
    kReturnVerBig,               // () -> long
    kReturnVerSml,               // () -> long
    kGetListSelData,             // (long*, text*) -> BOOL
    kExpandNode,                 // (long key, long code)
    kDeleteAllStoredItems,       // (BOOL tree, BOOL list)
    kSetTreeImageList,           // (object, variant, short) -> BOOL
    kSetTreeImageListValueatPos, // (text, text, short x3) -> BOOL
    kNavigateTo,                 // (text)
    kChangeView,                 // (short) -> BOOL
    kAppendToListMenu,           // (long flags, long key, long uid, text, text) -> long
    kChangeToListMenuItem,       // (long flags, long id, text) -> BOOL
    kDeleteListMenuItem,         // (long id) -> BOOL
    kAppendToTreeMenu,           // (long flags, long key, long uid, text, text) -> long
    kChangeToTreeMenuItem,       // (long flags, long id, text) -> BOOL
    kDeleteTreeMenuItem,         // (long id) -> BOOL
    kWriteFile,                  // (text file, text data)
    kSetTreeStorageStr,          // (long key, text)
    kGetTreeStorageStr,          // (long key) -> text
    kSetPopBrowseMenu,           // (long key, long id, text, text) -> long
    kDoPrint,                    // () -> BOOL
    kListSetColWidth,            // (long key, long col, long width) -> BOOL
    kDoPrintPreview,             // () -> BOOL
    kDeleteAllItemsTree,         // () -> BOOL
    kTreeWidth,                  // property, long (the persisted one)
};

// Events, numbered by their place in the event interface.
enum Event : DispId {
    kNotifyReady = 1,   // ()
    kTreeDblClick,      // (long key, text)
    kListDblClick,      // (long tagKey, text)
    kListLButDown,      // (long tagKey, text)
    kTreeLButDown,      // (long key, text)
    kTestEvent,         // (short), never fired
    kMenuItemClick,     // (long selKey, long uid, text retstr)
    kNotifyBrowseEvent, // (long code, text status)
};

// The browser's notices that NotifyBrowseEvent passes on.
inline constexpr std::int32_t kBrowseDownloadComplete = 104;
inline constexpr std::int32_t kBrowseBeforeNavigate = 250;
inline constexpr std::int32_t kBrowseNavigateComplete = 252;

// ChangeView's values.
inline constexpr std::int16_t kListView = 1;
inline constexpr std::int16_t kBrowseView = 2;

// ExpandNode's codes.
inline constexpr std::int32_t kCollapse = 1;
inline constexpr std::int32_t kExpand = 2;
inline constexpr std::int32_t kToggle = 3;

// Menu item flags, as AppendToTreeMenu takes them.
inline constexpr std::int32_t kMenuGrayed = 1;
inline constexpr std::int32_t kMenuDisabled = 2;
inline constexpr std::int32_t kMenuChecked = 8;
inline constexpr std::int32_t kMenuPopup = 16;
inline constexpr std::int32_t kMenuSeparator = 2048;

// Column kinds and formats of the per-key lists.
inline constexpr std::int16_t kNumericColumn = 1;
inline constexpr std::int16_t kFormatLeft = 0;
inline constexpr std::int16_t kFormatRight = 1;
inline constexpr std::int16_t kFormatCenter = 2;

} // namespace SarvexIds
