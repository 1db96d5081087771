#pragma once

#include <QString>
#include <QStringView>

// Text limits count characters (Unicode code points), never UTF-16 units: a
// cut never splits a character, so a typed emoji stays whole or goes whole.
// Every place that limits or cuts text uses these.

// The number of characters; half of a pair counts as one.
qsizetype CharacterCount(QStringView text);
// The first `count` characters of the text (all of it when shorter).
QString LeftCharacters(const QString& text, qsizetype count);
// Where the first half character (a surrogate without its other half) lies,
// or -1. No database can store one.
qsizetype BrokenCharacterAt(QStringView text);
