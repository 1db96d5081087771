#include "platform/Characters.h"

#include <QChar>

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
