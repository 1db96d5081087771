#pragma once

#include <QString>

#include <cstdint>

namespace Sarvex {

// One item of a keyed popup menu, as the container defined it.
struct CMenuItemData {
    bool enabled = true;
    QString menuStr;
    // Reported with the choice.
    QString retStr;
    // The id it got at the last popup; -1 when that popup left it out.
    std::int32_t commandId = -1;
    std::int32_t flags = 0;
    // The tree key, or for an item of a sub-menu the uid of the item that
    // opens it.
    std::int32_t ownerKey = 0;
    std::int32_t uid = 0;
};

} // namespace Sarvex
