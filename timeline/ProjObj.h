#pragma once

#include <QString>

#include <cstdint>

// A colour as the engine keeps it: 0x00BBGGRR, the desktop colours already
// resolved.
using Colour = std::uint32_t;

inline constexpr Colour kUnknownProjectColour = 0x7D7D7D;
inline constexpr Colour kWhite = 0xFFFFFF;

// One project of the day's project list.
class CProjObj {
public:
    CProjObj() = default;
    CProjObj(QString name, int projId, Colour colour)
        : m_name(std::move(name))
        , m_projId(projId)
        , m_colour(colour)
    {}

    QString m_name;
    int m_projId = 0;
    Colour m_colour = kWhite;
};
