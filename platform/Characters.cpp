#include "platform/Characters.h"

#include <QChar>
#include <QStringDecoder>

#include <cstring>

namespace {

// UTF-16 units of the character that starts at `at`.
qsizetype UnitsAt(QStringView text, qsizetype at)
{
    return QChar::isHighSurrogate(text[at].unicode()) && at + 1 < text.size() &&
                   QChar::isLowSurrogate(text[at + 1].unicode())
               ? 2
               : 1;
}

} // namespace

qsizetype CharacterCount(QStringView text)
{
    qsizetype count = 0;
    for (qsizetype at = 0; at < text.size(); at += UnitsAt(text, at))
        ++count;
    return count;
}

QString LeftCharacters(const QString& text, qsizetype count)
{
    if (count <= 0)
        return QString();
    if (text.size() <= count)
        return text;
    qsizetype at = 0;
    for (qsizetype taken = 0; at < text.size() && taken < count; ++taken)
        at += UnitsAt(text, at);
    return text.left(at);
}

qsizetype BrokenCharacterAt(QStringView text)
{
    for (qsizetype at = 0; at < text.size();) {
        const char16_t unit = text[at].unicode();
        const qsizetype units = UnitsAt(text, at);
        if (units == 1 && QChar::isSurrogate(unit))
            return at;
        at += units;
    }
    return -1;
}

QString TextFromUtf8(const char* data, qsizetype size)
{
    if (size < 3 || std::memcmp(data, "\xEF\xBB\xBF", 3) != 0)
        return QString::fromUtf8(data, size);
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
    return decoder.decode(QByteArrayView(data, size));
}

bool IsXmlCharacter(char32_t c)
{
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) ||
           (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

QString XmlCarriableText(const QString& text, QChar replacement)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype at = 0; at < text.size();) {
        const qsizetype units = UnitsAt(text, at);
        const char32_t c = units == 2 ? QChar::surrogateToUcs4(text[at], text[at + 1])
                                      : char32_t(text[at].unicode());
        if (units == 2 || (IsXmlCharacter(c) && !QChar::isSurrogate(c)))
            out += QStringView(text).mid(at, units);
        else if (!replacement.isNull())
            out += replacement;
        at += units;
    }
    return out;
}

QString DocumentText(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == 0x0B)
            out += QLatin1Char('\n');
        else if (u == 0x09 || u == 0x0A || u == 0x0D || !(u < 0x20 || (u >= 0x7F && u < 0xA0)))
            out += c;
    }
    return out;
}

QString PlainTipText(const QString& text)
{
    QString out;
    out.reserve(text.size() + text.count(QLatin1Char('<')) + text.count(QLatin1Char('&')));
    for (const QChar c : text) {
        out += c;
        if (c == QLatin1Char('<') || c == QLatin1Char('&'))
            out += QChar(0x2060);
    }
    return out;
}
