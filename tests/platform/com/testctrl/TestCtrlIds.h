#pragma once

#include "platform/com/Guid.h"
#include "platform/com/IDispatch.h"

// What a container knows of the test control: its ids, members and events.
namespace TestCtrlIds {

inline constexpr Guid kClsid = Guid::Literal("{ACF6F43A-4D23-409E-B2CE-EB1BE152A9B9}");
inline constexpr Guid kTypeLib = Guid::Literal("{CBF91572-59AF-4DE3-848E-64AF8F8434C1}");
inline constexpr const char* kProgId = "Kelvane.TestCtrl.1";
inline constexpr std::uint32_t kMiscStatus = 0x20191;

// Members, in dispatch order.
enum Member : DispId {
    kNumber = 1,     // property, long
    kCaption,        // property, text; a put fires MsgUpdate
    kBackColour,     // property, OLE colour; also the standard BackColor
    kTextFont,       // property, font
    kAdd,            // (short, long) -> long
    kHalf,           // (double) -> double
    kDescribe,       // (BOOL, text) -> text
    kGetSize,        // (long*, long*): the widget's size
    kBump,           // (short*, text*) -> BOOL: adds 1, appends "!"
    kEcho,           // (any) -> the same
    kCountItems,     // (array) -> long
    kFireChange,     // (long x 4): fires Changed with them
    kAskDeleteAll,   // () -> BOOL: fires NotifyDeleteAll, returns the answer
    kDeleteAllOKRet, // (short): the answer, from inside NotifyDeleteAll
    kResizeMe,       // (short, short) -> BOOL: asks the container for that size
    kVersion,        // property, text, read-only
};

inline constexpr DispId kStockBackColor = -501;

enum Event : DispId {
    kChanged = 1,     // (long id, long start, long stop, long project)
    kNotifyDeleteAll, // ()
    kMsgUpdate,       // (text)
    kClicked,         // (long number): the widget's button was pressed
};

} // namespace TestCtrlIds
