#pragma once

#include <QTextEdit>

// The text of an RTF document: paragraphs and line breaks as "\n", tabs and
// cells as "\t", hex (\'xx, in the document's code page) and Unicode (\uN)
// escapes decoded, special characters (\emdash, \lquote, ...) as their
// characters, and the groups that hold no text (font and colour tables,
// style sheets, pictures, "\*" destinations, ...) left out. A last
// paragraph mark ends the text rather than starting an empty line. Never
// fails: what it can't read it leaves out.
QString RtfToText(const QString& rtf);

// What a stored text shows wherever the program shows it (a field, a label,
// a list cell): an RTF document read as its text, anything else as it is.
QString ShownText(const QString& stored);
// The text to write back for a field that showed `stored`: what it shows
// now, except that a rich text left as it was shown is kept as stored, with
// its formatting.
QString KeptText(const QString& shown, const QString& stored);

// A text box that takes RTF or plain text, as the comments written by the
// sibling program hold either.
class CRichTextCtrl : public QTextEdit {
    Q_OBJECT
public:
    explicit CRichTextCtrl(QWidget* parent = nullptr);

    // Shows the text of an RTF document (text starting "{\rtf", ignoring
    // case, and longer than five characters), else the text as it is.
    void SetRTF(const QString& text);
    static bool IsRtf(const QString& text);

    // Without wrap and width 0: no wrapping; otherwise wrapped at the width
    // in twips (1/1440 inch), 0 meaning the window's edge.
    void SetWordWrap(bool wrap, int lineWidth = 0);
};
