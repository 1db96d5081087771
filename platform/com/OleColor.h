#pragma once

#include <cstdint>

class QColor;

// A colour as controls exchange it: 0x00BBGGRR, or 0x800000nn for the
// desktop's colour number nn (window, button face, ...).
struct OleColor {
    std::uint32_t value = 0;

    OleColor() = default;
    explicit constexpr OleColor(std::uint32_t v)
        : value(v)
    {}

    constexpr bool IsSystemColor() const { return (value & 0xFF000000u) == 0x80000000u; }

    // Resolves desktop colours through the application palette.
    QColor ToQColor() const;
    static OleColor FromQColor(const QColor& colour);

    friend constexpr bool operator==(OleColor, OleColor) = default;
};
