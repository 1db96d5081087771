#pragma once

#include <string>

// A font as controls exchange it: face name (UTF-8; empty for the desktop's
// default), size in points and style.
struct FontDesc {
    std::string name;
    double pointSize = 8.0;
    int weight = 400; // 400 regular, 700 bold
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;

    friend bool operator==(const FontDesc&, const FontDesc&) = default;
};
