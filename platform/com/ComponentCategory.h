#pragma once

#include "platform/com/Guid.h"

// A category a class declares itself a member of, with the text the
// registry keeps for it.
struct ComponentCategory {
    Guid id;
    const char* description = "";
};

inline constexpr ComponentCategory kCatSafeForScripting{
    Guid::Literal("{7DD95801-9882-11CF-9FA9-00AA006C42C4}"), "Controls that are safely scriptable"};
inline constexpr ComponentCategory kCatSafeForInitializing{
    Guid::Literal("{7DD95802-9882-11CF-9FA9-00AA006C42C4}"),
    "Controls safely initializable from persistent data"};
