#pragma once

#include <QString>

#include <array>
#include <compare>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

// A 128-bit class, interface, library or category id, written
// "{4170551F-F04B-11D1-ACC6-0040053F2CF2}" (braces optional when read).
struct Guid {
    std::array<std::uint8_t, 16> bytes{};

    // Parses the registry form; nullopt for anything else.
    static constexpr std::optional<Guid> Parse(std::string_view text);
    // For ids written in the source: a malformed one does not compile.
    static consteval Guid Literal(std::string_view text)
    {
        const std::optional<Guid> guid = Parse(text);
        if (!guid)
            throw "malformed GUID literal";
        return *guid;
    }
    static std::optional<Guid> FromString(const QString& text);

    // Upper-case hex with braces, the form the registry stores.
    QString ToString() const;

    friend constexpr bool operator==(const Guid&, const Guid&) = default;
    friend constexpr auto operator<=>(const Guid&, const Guid&) = default;
};

constexpr std::optional<Guid> Guid::Parse(std::string_view text)
{
    if (text.size() == 38 && text.front() == '{' && text.back() == '}')
        text = text.substr(1, 36);
    if (text.size() != 36)
        return std::nullopt;
    Guid guid;
    std::size_t byte = 0;
    for (std::size_t i = 0; i < text.size();) {
        if (i == 8 || i == 13 || i == 18 || i == 23) {
            if (text[i] != '-')
                return std::nullopt;
            ++i;
            continue;
        }
        int value = 0;
        for (int half = 0; half < 2; ++half, ++i) {
            const char c = text[i];
            int digit = -1;
            if (c >= '0' && c <= '9')
                digit = c - '0';
            else if (c >= 'a' && c <= 'f')
                digit = c - 'a' + 10;
            else if (c >= 'A' && c <= 'F')
                digit = c - 'A' + 10;
            if (digit < 0)
                return std::nullopt;
            value = value * 16 + digit;
        }
        guid.bytes[byte++] = static_cast<std::uint8_t>(value);
    }
    return guid;
}

std::size_t qHash(const Guid& guid, std::size_t seed = 0) noexcept;

template <>
struct std::hash<Guid> {
    std::size_t operator()(const Guid& guid) const noexcept { return qHash(guid); }
};
