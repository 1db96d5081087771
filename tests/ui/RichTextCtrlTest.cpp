#include "ui/RichTextCtrl.h"
#include "tests/support/TestEnv.h"

TEST(RtfToText, ReadsTheTextOfAWordPadDocument)
{
    const QString rtf = QStringLiteral(
        "{\\rtf1\\ansi\\ansicpg1252\\deff0\\nouicompat\\deflang2057"
        "{\\fonttbl{\\f0\\fnil\\fcharset0 Calibri;}{\\f1\\fswiss Arial;}}\r\n"
        "{\\colortbl ;\\red255\\green0\\blue0;}\r\n"
        "{\\*\\generator Riched20 10.0.19041}\\viewkind4\\uc1 \r\n"
        "\\pard\\sa200\\sl276\\slmult1\\f0\\fs22\\lang9 Call \\b Anna\\b0  about the "
        "\\cf1 invoice\\cf0 .\\par\r\n"
        "Second line\\tab with a tab\\par\r\n}\r\n");
    EXPECT_EQ(RtfToText(rtf),
              QStringLiteral("Call Anna about the invoice.\nSecond line\twith a tab"));
}

TEST(RtfToText, DecodesHexEscapesInTheDocumentsCodePage)
{
    // 0x80 is the euro sign in code page 1252; 0xe9 is é.
    EXPECT_EQ(RtfToText(QStringLiteral("{\\rtf1\\ansi\\ansicpg1252 caf\\'e9 \\'80 5}")),
              QString::fromUtf8("café € 5"));
    EXPECT_EQ(RtfToText(QStringLiteral("{\\rtf1 a\\'93quoted\\'94 b}")),
              QString::fromUtf8("a\u201Cquoted\u201D b"));
}

TEST(RtfToText, DecodesUnicodeEscapesAndSkipsTheirFallback)
{
    EXPECT_EQ(RtfToText(QStringLiteral("{\\rtf1\\uc1 \\u8364? and \\u-3913? end}")),
              QString::fromUtf8("€ and \uF0B7 end"));
    // Two fallback characters, one of them a hex escape.
    EXPECT_EQ(RtfToText(QStringLiteral("{\\rtf1\\uc2 \\u1046\\'c6x!}")), QString::fromUtf8("Ж!"));
    // A surrogate pair, as Word writes characters outside the basic plane.
    EXPECT_EQ(RtfToText(QStringLiteral("{\\rtf1\\uc1 \\u-10179?\\u-8704?}")),
              QString::fromUtf8("😀"));
}

TEST(RtfToText, ShowsEscapedBracesAndSpecialCharacters)
{
    EXPECT_EQ(RtfToText(QStringLiteral(
                  "{\\rtf1 \\{x\\} \\\\ a\\~b \\emdash \\lquote q\\rquote \\bullet  c\\line d}")),
              // The space after a control word only ends the word.
              QString::fromUtf8("{x} \\ a\u00A0b \u2014\u2018q\u2019\u2022 c\nd"));
}

TEST(RtfToText, LeavesOutGroupsThatHoldNoText)
{
    const QString rtf =
        QStringLiteral("{\\rtf1{\\info{\\author Someone}{\\title Secret}}"
                       "{\\*\\unknowndestination hidden {nested hidden}}"
                       "{\\pict\\wmetafile8 0a0b0c0d}"
                       "{\\field{\\*\\fldinst HYPERLINK \"http://x\"}{\\fldrslt shown link}}"
                       " tail}");
    EXPECT_EQ(RtfToText(rtf), QStringLiteral("shown link tail"));
}

TEST(RtfToText, SkipsBinaryData)
{
    EXPECT_EQ(RtfToText(QStringLiteral("{\\rtf1 a{\\pict\\bin4 }{}\\}b}")), QStringLiteral("ab"));
}

TEST(RtfToText, GarbledInputNeverFails)
{
    const QStringList garbled = {
        QStringLiteral("{\\rtf1 unclosed {group"),
        QStringLiteral("{\\rtf1 too many}}}} closers"),
        QStringLiteral("{\\rtf1 trailing backslash\\"),
        QStringLiteral("{\\rtf1 half hex \\'4"),
        QStringLiteral("{\\rtf1 \\u99999999999999999999 big}"),
        QStringLiteral("{\\rtf1 \\bin999999 skipped"),
        QStringLiteral("{\\rtf1 \\averyveryveryveryveryveryverylongcontrolwordname x}"),
        QStringLiteral("{\\rtf1\\ansicpg0 \\'ff}"),
    };
    for (const QString& text : garbled)
        RtfToText(text);
    EXPECT_EQ(RtfToText(garbled.at(0)), QStringLiteral("unclosed group"));
    EXPECT_EQ(RtfToText(garbled.at(1)), QStringLiteral("too many closers"));
}

TEST(RichTextCtrl, ShowsRtfAsTextAndPlainTextAsItIs)
{
    CRichTextCtrl edit;
    edit.SetRTF(QStringLiteral("{\\rtf1\\ansi Hello\\par World\\par}"));
    EXPECT_EQ(edit.toPlainText(), QStringLiteral("Hello\nWorld"));
    edit.SetRTF(QStringLiteral("{\\RTF1 upper case}"));
    EXPECT_EQ(edit.toPlainText(), QStringLiteral("upper case"));
    edit.SetRTF(QStringLiteral("plain {\\rtf1 text} with braces"));
    EXPECT_EQ(edit.toPlainText(), QStringLiteral("plain {\\rtf1 text} with braces"));
    // Exactly "{\rtf" is too short to be a document.
    edit.SetRTF(QStringLiteral("{\\rtf"));
    EXPECT_EQ(edit.toPlainText(), QStringLiteral("{\\rtf"));
}

TEST(RichTextCtrl, WrapsAtTheWindowOrAtAWidthInTwips)
{
    CRichTextCtrl edit;
    edit.SetWordWrap(false, 0);
    EXPECT_EQ(edit.lineWrapMode(), QTextEdit::NoWrap);
    edit.SetWordWrap(true, 0);
    EXPECT_EQ(edit.lineWrapMode(), QTextEdit::WidgetWidth);
    edit.SetWordWrap(true, 1440);
    EXPECT_EQ(edit.lineWrapMode(), QTextEdit::FixedPixelWidth);
    EXPECT_EQ(edit.lineWrapColumnOrWidth(), edit.logicalDpiX());
}
