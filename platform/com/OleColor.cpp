#include "platform/com/OleColor.h"

#include <QColor>
#include <QGuiApplication>
#include <QPalette>

namespace {

// The desktop colour numbers that controls use, as palette roles.
QPalette::ColorRole RoleOf(unsigned index)
{
    switch (index) {
    case 5: // window background
        return QPalette::Base;
    case 8: // window text
        return QPalette::Text;
    case 13: // highlight
        return QPalette::Highlight;
    case 14: // highlighted text
        return QPalette::HighlightedText;
    case 18: // button text
        return QPalette::ButtonText;
    case 20: // 3-D highlight
        return QPalette::Light;
    case 16: // 3-D shadow
        return QPalette::Dark;
    case 23: // tool tip text
        return QPalette::ToolTipText;
    case 24: // tool tip background
        return QPalette::ToolTipBase;
    default: // button face and everything else
        return QPalette::Button;
    }
}

} // namespace

QColor OleColor::ToQColor() const
{
    if (IsSystemColor())
        return QGuiApplication::palette().color(RoleOf(value & 0xFFu));
    return QColor(static_cast<int>(value & 0xFFu), static_cast<int>((value >> 8) & 0xFFu),
                  static_cast<int>((value >> 16) & 0xFFu));
}

OleColor OleColor::FromQColor(const QColor& colour)
{
    return OleColor(static_cast<std::uint32_t>(colour.red()) |
                    static_cast<std::uint32_t>(colour.green()) << 8 |
                    static_cast<std::uint32_t>(colour.blue()) << 16);
}
