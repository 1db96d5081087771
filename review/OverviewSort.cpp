#include "review/OverviewSort.h"

#include <QStringList>

namespace {

bool IsKeyChar(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('@') ||
           c == QLatin1Char('.') || c == QLatin1Char('-') || c == QLatin1Char(':');
}

// The link "#" + key itself, not a longer key that starts the same.
qsizetype FindAnchor(const QString& sheet, const QString& key)
{
    const QString anchor = QLatin1Char('#') + key;
    for (qsizetype at = sheet.indexOf(anchor); at >= 0; at = sheet.indexOf(anchor, at + 1)) {
        const qsizetype end = at + anchor.size();
        if (end >= sheet.size() || !IsKeyChar(sheet.at(end)))
            return at;
    }
    return -1;
}

// Where the element starting at `start` ends: after its "/>", or after its
// end tag when it has content. Quoted values may hold '>'.
qsizetype ElementEnd(const QString& sheet, qsizetype start)
{
    QChar quote;
    for (qsizetype i = start; i < sheet.size(); ++i) {
        const QChar c = sheet.at(i);
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            quote = c;
        } else if (c == QLatin1Char('>')) {
            if (sheet.at(i - 1) == QLatin1Char('/'))
                return i + 1;
            const QString endTag = QStringLiteral("</xsl:sort>");
            const qsizetype close = sheet.indexOf(endTag, i);
            return close < 0 ? -1 : close + endTag.size();
        }
    }
    return -1;
}

} // namespace

bool COverviewSort::KeyOfAddress(const QString& address, QString& key)
{
    const QStringList parts = address.split(QLatin1Char('#'));
    if (parts.size() < 2 || parts.at(1).isEmpty())
        return false;
    // A key goes into the style sheet: anything but a plain name is refused.
    for (const QChar c : parts.at(1))
        if (!IsKeyChar(c))
            return false;
    key = parts.at(1);
    return true;
}

QString COverviewSort::SortSelect(const QString& key)
{
    if (key.size() > 1 && key.at(1).isDigit() && key.at(1).unicode() < 128)
        return QString(key).remove(1, 1);
    return key;
}

bool COverviewSort::IsTextKey(const QString& select)
{
    static const QStringList kTextKeys = {QStringLiteral("@Task"),      QStringLiteral("@State"),
                                          QStringLiteral("@OrderCode"), QStringLiteral("@Name"),
                                          QStringLiteral("@Project"),   QStringLiteral("@Comment"),
                                          QStringLiteral("@fullName")};
    return kTextKeys.contains(select, Qt::CaseInsensitive);
}

bool COverviewSort::Apply(const QString& styleSheet, const QString& key, bool descending,
                          QString& sorted)
{
    const qsizetype anchor = FindAnchor(styleSheet, key);
    if (anchor < 0)
        return false;
    const qsizetype start = styleSheet.indexOf(QStringLiteral("<xsl:sort"), anchor);
    if (start < 0)
        return false;
    const qsizetype end = ElementEnd(styleSheet, start);
    if (end < 0)
        return false;
    const QString select = SortSelect(key);
    const QString element =
        QStringLiteral("<xsl:sort select=\"%1\" order=\"%2\" data-type=\"%3\" />")
            .arg(select, descending ? QStringLiteral("descending") : QStringLiteral("ascending"),
                 IsTextKey(select) ? QStringLiteral("text") : QStringLiteral("number"));
    sorted = styleSheet.left(start) + element + styleSheet.mid(end);
    return true;
}
