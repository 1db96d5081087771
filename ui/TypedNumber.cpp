#include "ui/TypedNumber.h"

#include <cmath>

namespace {

bool IsBlank(QChar c)
{
    return c.isSpace() || c == QChar(0x00A0) || c == QChar(0x202F);
}

} // namespace

CTypedNumber::CTypedNumber(const QString& text, const QLocale& locale)
{
    const QString typed = text.trimmed();
    m_empty = typed.isEmpty();
    if (m_empty) {
        m_message = QStringLiteral("A number is needed");
        return;
    }
    QLocale point = QLocale::c();
    point.setNumberOptions(QLocale::RejectGroupSeparator);
    bool byPoint = false;
    const double pointValue = point.toDouble(typed, &byPoint);

    // Typed blanks are the desktop's blank-like group separator.
    QString local = typed;
    const QString group = locale.groupSeparator();
    if (group.size() == 1 && IsBlank(group.at(0)))
        for (QChar& c : local)
            if (IsBlank(c))
                c = group.at(0);
    bool byLocale = false;
    const double localValue = locale.toDouble(local, &byLocale);

    byPoint = byPoint && std::isfinite(pointValue);
    byLocale = byLocale && std::isfinite(localValue);
    if (byPoint && byLocale && pointValue != localValue) {
        m_ambiguous = true;
        m_message = QStringLiteral("%1 could mean %2 or %3: type it without group separators")
                        .arg(typed, QString::number(pointValue, 'g', 15),
                             QString::number(localValue, 'g', 15));
        return;
    }
    if (!byPoint && !byLocale) {
        m_message = QStringLiteral("%1 is not a number").arg(typed);
        return;
    }
    m_value = byPoint ? pointValue : localValue;
    m_valid = true;
    m_digits = true;
    for (qsizetype i = 0; i < local.size(); ++i) {
        const QChar c = local.at(i);
        const bool sign =
            i == 0 && (c == QLatin1Char('-') || c == QLatin1Char('+') ||
                       QString(c) == locale.negativeSign() || QString(c) == locale.positiveSign());
        if (!sign && !c.isDigit() && QString(c) != group)
            m_digits = false;
    }
}

bool CTypedNumber::IsWhole() const
{
    return m_valid && std::trunc(m_value) == m_value;
}
