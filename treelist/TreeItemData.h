#pragma once

#include <QString>

#include <cstdint>
#include <vector>

class QTreeWidgetItem;

namespace Sarvex {

// The record of one tree node, kept by key whether or not it has an item in
// the window. Which node is selected the tree keeps by key.
struct CTreeItemData {
    enum Kind : std::uint8_t { kRoot = 0, kChild = 1 };

    std::int32_t key = 0;
    // 0 for a root node.
    std::int32_t parentKey = 0;
    Kind kind = kRoot;
    QString text;
    // In the order the children were added.
    std::vector<std::int32_t> childKeys;
    // The node's current item; null while it has none.
    QTreeWidgetItem* item = nullptr;
    // Image index; the selected image is iconId + 1.
    int iconId = 0;
    bool expanded = false;
    QString storage;
};

} // namespace Sarvex
