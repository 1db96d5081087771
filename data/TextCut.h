#pragma once

#include <QString>

// Cuts a text to at most `maxCharacters` characters (Unicode code points,
// as the databases count a column's width), never between the two halves
// of a character outside the basic plane: a half would be stored as "?" or
// as broken text. A text that fits, or a limit of 0 or less, leaves the
// text as it is.
QString CutAtCharacterBoundary(const QString& text, qsizetype maxCharacters);
