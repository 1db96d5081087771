#include "platform/com/Guid.h"

#include <QHashFunctions>

std::optional<Guid> Guid::FromString(const QString& text)
{
    const QByteArray latin = text.trimmed().toLatin1();
    return Parse(std::string_view(latin.constData(), static_cast<std::size_t>(latin.size())));
}

QString Guid::ToString() const
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    QString text;
    text.reserve(38);
    text += QLatin1Char('{');
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i == 4 || i == 6 || i == 8 || i == 10)
            text += QLatin1Char('-');
        text += QLatin1Char(kHex[bytes[i] >> 4]);
        text += QLatin1Char(kHex[bytes[i] & 0xF]);
    }
    text += QLatin1Char('}');
    return text;
}

std::size_t qHash(const Guid& guid, std::size_t seed) noexcept
{
    return qHashBits(guid.bytes.data(), guid.bytes.size(), seed);
}
