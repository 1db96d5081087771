#pragma once

#include <QByteArrayView>
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

// UTF-8 bytes as text, every character kept: a leading U+FEFF is a character
// of the text, not a byte-order mark to drop as QString::fromUtf8 does.
QString TextFromUtf8(const char* data, qsizetype size);
inline QString TextFromUtf8(QByteArrayView bytes)
{
    return TextFromUtf8(bytes.data(), bytes.size());
}

// Whether XML 1.0 can carry the character at all (as text or as a reference).
bool IsXmlCharacter(char32_t c);
// The text without the characters XML 1.0 cannot carry (C0 controls other than
// tab, line feed and carriage return; U+FFFE, U+FFFF; half characters), each
// replaced by `replacement` or left out when it is null.
QString XmlCarriableText(const QString& text, QChar replacement = QChar());
// Text for a document or spreadsheet cell: a vertical tab (the manual line
// break word processors paste) becomes a line break, other control characters
// except tab, line feed and carriage return are left out. The office would
// otherwise drop the whole string.
QString DocumentText(const QString& text);

// A tool tip or notification-area tip that shows the text as typed. Qt draws a
// tip that looks like markup as markup (bold, links, pictures read from
// disk), and a desktop's notifier draws the tip as it is, so escaping cannot
// serve both: a word joiner (no width) after every '<' and '&' keeps any tag
// or entity from forming.
QString PlainTipText(const QString& text);
