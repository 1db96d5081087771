#include "data/TextCut.h"

QString CutAtCharacterBoundary(const QString& text, qsizetype maxCharacters)
{
    // Each character is one or two code units: no text of this many units
    // is too long.
    if (maxCharacters <= 0 || text.size() <= maxCharacters)
        return text;
    qsizetype units = 0;
    for (qsizetype characters = 0; units < text.size() && characters < maxCharacters;
         ++characters) {
        const bool pair = text.at(units).isHighSurrogate() && units + 1 < text.size() &&
                          text.at(units + 1).isLowSurrogate();
        units += pair ? 2 : 1;
    }
    return text.left(units);
}
