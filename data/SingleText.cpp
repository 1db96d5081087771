#include "data/SingleText.h"

#include <charconv>
#include <cmath>

QString SingleText(float value)
{
    if (std::isnan(value))
        return QStringLiteral("NaN");
    if (std::isinf(value))
        return value > 0 ? QStringLiteral("Infinity") : QStringLiteral("-Infinity");
    // Shortest digits, as "d.ddde+XX".
    char buffer[32];
    const auto [end, ec] =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific);
    if (ec != std::errc())
        return QString();
    const QString scientific = QString::fromLatin1(buffer, end - buffer);
    const qsizetype e = scientific.indexOf(QLatin1Char('e'));
    const int exponent = scientific.mid(e + 1).toInt();
    if (exponent < -4 || exponent >= 6)
        return scientific;
    const bool negative = scientific.startsWith(QLatin1Char('-'));
    QString digits = scientific.left(e).remove(QLatin1Char('.')).remove(QLatin1Char('-'));
    QString text;
    if (exponent < 0) {
        text = QStringLiteral("0.") + QString(-exponent - 1, QLatin1Char('0')) + digits;
    } else {
        if (digits.size() <= exponent + 1)
            digits += QString(exponent + 1 - digits.size(), QLatin1Char('0'));
        text = digits.left(exponent + 1);
        if (digits.size() > exponent + 1)
            text += QLatin1Char('.') + digits.mid(exponent + 1);
    }
    return negative ? QLatin1Char('-') + text : text;
}
