#include "review/TimeSheetFile.h"
#include "data/records/TimeSheetSet.h"
#include "review/TimeSheetLineReader.h"
#include "tests/support/QtPrinters.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace TimeSheetFile;

namespace {

const QString kGood = QStringLiteral(
    "1,5,7,1.500000,9,Kick-off notes,225.000000,2,1,02/03/2026 09:00:00,02/03/2026 10:30:00,"
    "02/03/2026,40,3,");

CFileLine Line(const QString& text, int number = 3)
{
    return {number, text};
}

// The reason a line is refused ("" when it is read).
QString Refusal(const QString& text)
{
    CImportRow row;
    QString reason;
    return ParseDataLine(Line(text), QStringLiteral("week12.txt"), row, reason) ? QString()
                                                                                : reason;
}

CImportRow Read(const QString& text)
{
    CImportRow row;
    QString reason;
    EXPECT_TRUE(ParseDataLine(Line(text), QStringLiteral("week12.txt"), row, reason))
        << reason.toStdString();
    return row;
}

} // namespace

TEST(TimeSheetFile, ADataLineHasFifteenFieldsInTheCLocaleAndNullsAreEmpty)
{
    CTimeSheetSet row(nullptr);
    row.m_EmpID = 1;
    row.m_ProjID = 5;
    row.m_OrderID = 7;
    row.m_HoursWorked = 1.75f;
    row.m_TaskID = 9;
    row.m_Comment = QStringLiteral("Plan, build,\r\nand ship ✓");
    row.m_InvCost = 262.5;
    row.m_TimeID = 4;
    row.m_WorkDate = CDateTime(2026, 3, 2);
    row.m_StartTime = CDateTime(2026, 3, 2, 22, 0);
    row.m_StopTime = CDateTime(2026, 3, 2, 23, 59);
    row.m_ObjectTypeID = 40;
    row.m_ObjectID = 3;
    for (int column : {11, 13}) // WorkTypeID and InvID are NULL
        row.Descriptor(column).status = adFldNull;
    EXPECT_EQ(DataLine(row),
              QByteArray("1,5,7,1.750000,9,Plan buildand ship ✓,262.500000,,4,"
                         "02/03/2026 22:00:00,02/03/2026 23:59:00,02/03/2026,40,3,"));
    EXPECT_EQ(kHeader.count(QLatin1Char(',')), 13);
}

TEST(TimeSheetFile, LinesAreReadWithCrlfNulsAndTheOldCodePage)
{
    bool singleByte = true;
    const QList<CFileLine> lines = SplitLines(QByteArray("\xEF\xBB\xBF"
                                                         "db\r\n\r\nEmpID, x\r\nline\0 three\r\n\n",
                                                         33),
                                              &singleByte);
    EXPECT_FALSE(singleByte);
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0].number, 1);
    EXPECT_EQ(lines[0].text, QStringLiteral("db"));
    EXPECT_EQ(lines[1].number, 3);
    EXPECT_EQ(lines[2].text, QStringLiteral("line three"));

    // Not UTF-8: the Windows code page, euro sign and all.
    const QList<CFileLine> old = SplitLines(QByteArray("caf\xE9 \x80 5\n"), &singleByte);
    EXPECT_TRUE(singleByte);
    ASSERT_EQ(old.size(), 1);
    EXPECT_EQ(old[0].text, QString::fromUtf8("café € 5"));
}

TEST(TimeSheetFile, OnlyTheFilesOwnMarkIsSkipped)
{
    // A second mark, one that begins a line and one inside a field are text.
    const QList<CFileLine> lines = SplitLines(QByteArray("\xEF\xBB\xBF\xEF\xBB\xBF"
                                                         "db\n\xEF\xBB\xBF"
                                                         "1,2\n3,\xEF\xBB\xBFnote\n"));
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0].text, QChar(0xFEFF) + QStringLiteral("db"));
    EXPECT_EQ(lines[1].text, QChar(0xFEFF) + QStringLiteral("1,2"));
    EXPECT_EQ(lines[2].text, QStringLiteral("3,") + QChar(0xFEFF) + QStringLiteral("note"));
}

TEST(TimeSheetFile, EachLineIsDecodedOnItsOwnAndEveryKindOfLineEndEndsALine)
{
    // One stray byte leaves the UTF-8 lines as they are.
    bool singleByte = false;
    const QList<CFileLine> mixed =
        SplitLines(QByteArray("db\nZ\xC3\xBCrich \xE2\x9C\x93\ncaf\xE9\nBern \xF0\x9F\x98\x80\n"),
                   &singleByte);
    EXPECT_TRUE(singleByte);
    ASSERT_EQ(mixed.size(), 4);
    EXPECT_EQ(mixed[1].text, QString::fromUtf8("Zürich ✓"));
    EXPECT_EQ(mixed[2].text, QString::fromUtf8("café"));
    EXPECT_EQ(mixed[3].text, QString::fromUtf8("Bern 😀"));
    // A half-character at the end of a line is no UTF-8 either.
    EXPECT_EQ(SplitLines(QByteArray("ab\xC3\n")).first().text, QString::fromUtf8("abÃ"));

    // Carriage returns alone end lines as line feeds do.
    const QList<CFileLine> mac = SplitLines(QByteArray("db\rEmpID\r1,2\r\r3,4\r\n5,6"));
    ASSERT_EQ(mac.size(), 5);
    EXPECT_EQ(mac[2].text, QStringLiteral("1,2"));
    EXPECT_EQ(mac[3].number, 5);
    EXPECT_EQ(mac[3].text, QStringLiteral("3,4"));
    EXPECT_EQ(mac[4].text, QStringLiteral("5,6"));
}

TEST(TimeSheetFile, TheLineReaderCountsAndReadsAgainTheLinesTheFileSplitsInto)
{
    // Blank lines of every kind of white space, NULs, both encodings and
    // every line end, among lines that only look blank.
    const QByteArray bytes("\xEF\xBB\xBF"
                           "db\r\n \t\v\f\r\n\0\0\n\xC2\xA0\n\xE3\x80\x80 \r\xA0\n\xC2\x85\n"
                           "\x1F\n\xA0x\n\x85\n\0 1,2\r\r\ncaf\xE9\n5,6",
                           52);
    const QList<CFileLine> lines = SplitLines(bytes);
    ASSERT_EQ(lines.size(), 7);
    EXPECT_EQ(CTimeSheetLineReader::CountLines(bytes), lines.size());
    CTimeSheetLineReader reader(bytes);
    CFileLine line;
    for (const CFileLine& expected : lines) {
        ASSERT_TRUE(reader.Next(line));
        EXPECT_EQ(line.number, expected.number);
        EXPECT_EQ(line.text, expected.text);
        // Read again from where it starts, the line is the same.
        CFileLine again;
        ASSERT_TRUE(CTimeSheetLineReader(bytes, reader.LineStart()).Next(again));
        EXPECT_EQ(again.text, expected.text);
    }
    EXPECT_FALSE(reader.Next(line));
    EXPECT_TRUE(reader.SingleByte());
    EXPECT_EQ(lines[1].text, QStringLiteral("\x1F"));
    EXPECT_EQ(lines[6].number, 14);
}

TEST(TimeSheetFile, ControlCharactersAreTextWhereverTheySit)
{
    QByteArray file = "db\n" + kHeader.toUtf8() + "\n";
    const QByteArray line = kGood.toUtf8() + "\n";
    while (file.size() < 100 * 1024)
        file += line;
    const QByteArray controls("bell \x07 tab \x0B escape \x1B");
    for (const qsizetype at : {qsizetype(40), qsizetype(30 * 1024), qsizetype(90 * 1024)}) {
        QByteArray with = file;
        with.insert(with.indexOf("Kick-off", at), controls);
        EXPECT_EQ(Inspect(with), Content::Text) << at;
    }
    EXPECT_EQ(
        Read(QString(kGood).replace(QStringLiteral("Kick-off"), QString::fromLatin1(controls)))
            .Comment,
        QString::fromLatin1(controls) + QStringLiteral(" notes"));
    // What is written is what is read back: a NUL would be dropped.
    EXPECT_EQ(CleanComment(QString::fromLatin1("a\0b\x1B,c", 7)), QString::fromLatin1("ab\x1B"
                                                                                      "c"));
}

TEST(TimeSheetFile, TheHeaderIsTheHeaderLineItself)
{
    EXPECT_TRUE(IsHeader(kHeader));
    EXPECT_TRUE(IsHeader(kHeader.toUpper().replace(QStringLiteral(", "), QStringLiteral(","))));
    EXPECT_FALSE(IsHeader(QString(kGood).replace(QStringLiteral("Kick-off notes"),
                                                 QStringLiteral("EmpID mix-up fixed"))));
    EXPECT_FALSE(IsHeader(QStringLiteral("EmpID")));
}

TEST(TimeSheetFile, EmptyAndBinaryFilesAreNoText)
{
    EXPECT_EQ(Inspect(QByteArray()), Content::Empty);
    EXPECT_EQ(Inspect(QByteArray("db\nEmpID\n1,2\n")), Content::Text);
    EXPECT_EQ(Inspect(QByteArray("db\nline\0\n", 9)), Content::Text);
    EXPECT_EQ(Inspect(QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16)), Content::Binary);
    EXPECT_EQ(Inspect(QString::fromUtf8("db\nEmpID\n").toUtf8().prepend("\xFF\xFE")),
              Content::Text);
    QByteArray utf16;
    for (const char c : QByteArray("a time sheet written as UTF-16"))
        utf16 += QByteArray(1, c) + QByteArray(1, '\0');
    EXPECT_EQ(Inspect(utf16), Content::Binary);
}

TEST(TimeSheetFile, AGoodLineGivesItsRow)
{
    const CImportRow row = Read(kGood);
    EXPECT_EQ(row.Line, 3);
    EXPECT_EQ(row.EmpID, 1);
    EXPECT_EQ(row.ProjID, 5);
    EXPECT_EQ(row.OrderID, 7);
    EXPECT_EQ(row.TaskID, 9);
    EXPECT_EQ(row.WorkTypeID, 2);
    EXPECT_EQ(row.Comment, QStringLiteral("Kick-off notes"));
    EXPECT_EQ(row.WorkDate, QDate(2026, 3, 2));
    EXPECT_EQ(row.Start, 540);
    EXPECT_EQ(row.Stop, 630);
    EXPECT_EQ(row.TimeID, 1);
    EXPECT_EQ(row.ObjectTypeID, 40);
    EXPECT_EQ(row.ObjectID, 3);
    EXPECT_EQ(row.InvID, -1);

    // Older files wrote 0 for a missing value; blanks around numbers are read.
    CImportRow old =
        Read(QStringLiteral("1, 5,7,1.5,9, spaced ,0,0,1,2/3/2026 9:00,2/3/2026 23:59:00,"
                            "2/3/2026,0,0,0"));
    EXPECT_EQ(old.ProjID, 5);
    EXPECT_EQ(old.Comment, QStringLiteral(" spaced "));
    EXPECT_EQ(old.WorkTypeID, -1);
    EXPECT_EQ(old.ObjectTypeID, -1);
    EXPECT_EQ(old.ObjectID, -1);
    EXPECT_EQ(old.InvID, -1);
    EXPECT_EQ(old.Start, 540);
    // 23:59 is the end of the day, as stored; so is midnight of the next day.
    EXPECT_EQ(old.Stop, 1440);
    EXPECT_EQ(Read(QString(kGood).replace(QStringLiteral("02/03/2026 10:30:00"),
                                          QStringLiteral("03/03/2026 00:00:00")))
                  .Stop,
              1440);
    // 24:00 is the end of the day, as the time sheet reads it.
    for (const char* stop : {"02/03/2026 24:00:00", "02/03/2026 24:00"})
        EXPECT_EQ(Read(QString(kGood).replace(QStringLiteral("02/03/2026 10:30:00"),
                                              QString::fromLatin1(stop)))
                      .Stop,
                  1440)
            << stop;
}

TEST(TimeSheetFile, BadLinesAreRefusedWithTheirReason)
{
    EXPECT_EQ(Refusal(QStringLiteral("1,5,7,1.5,9,cut short")),
              QStringLiteral("Unable to Parse Line #3 in File week12.txt Correctly - skipping "
                             "line (6 fields, 15 expected)"));
    // A short line is refused like any other, never the end of the file.
    EXPECT_FALSE(Refusal(QStringLiteral("1,5,7")).isEmpty());
    // The good line with one part of it changed.
    const struct {
        const char* from;
        const char* to;
        const char* reason;
    } cases[] = {
        // Another program's quoting: the comma inside the quotes shifts every field.
        {"Kick-off notes", "\"Kick-off, notes\"",
         "Unable to Parse Line #3 in File week12.txt Correctly - skipping line (16 fields, 15 "
         "expected); the line holds quoted text, which this file format cannot carry"},
        {"1,5,7", "1,x5,7", "Field 2 (ProjID) on line #3 is not a number: \"x5\""},
        {"225.000000", "nan", "Field 7 (Invoice Cost) on line #3 is not a number: \"nan\""},
        {",1,02/03", ",,02/03", "Field 9 (TimeID) on line #3 is not a number: \"\""},
        // Day first, never by the locale: 31 February does not exist, 13 is no month.
        {",02/03/2026,", ",31/02/2024,",
         "Field 12 (WorkDate) on line #3 is not a day/month/year date with a four-digit year: "
         "\"31/02/2024\""},
        {"02/03/2026 09:00:00", "03/13/2026 09:00:00",
         "Field 10 (StartTime) on line #3 is not a day/month/year date with a four-digit year: "
         "\"03/13/2026 09:00:00\""},
        {"02/03/2026 09:00:00", "02/03/2026 25:00:00",
         "Field 10 (StartTime) on line #3 is not a day/month/year date with a four-digit year: "
         "\"02/03/2026 25:00:00\""},
        // The year in four digits, never 26 for 2026.
        {",02/03/2026,", ",02/03/26,",
         "Field 12 (WorkDate) on line #3 is not a day/month/year date with a four-digit year: "
         "\"02/03/26\""},
        {"02/03/2026 10:30:00", "02/03/26 10:30:00",
         "Field 11 (StopTime) on line #3 is not a day/month/year date with a four-digit year: "
         "\"02/03/26 10:30:00\""},
        {"02/03/2026 09:00:00", "02/03/02026 09:00:00",
         "Field 10 (StartTime) on line #3 is not a day/month/year date with a four-digit year: "
         "\"02/03/02026 09:00:00\""},
        {"02/03/2026 09:00:00", "02/03/2026 24:00:01",
         "Field 10 (StartTime) on line #3 is not a day/month/year date with a four-digit year: "
         "\"02/03/2026 24:00:01\""},
        {"02/03/2026 10:30:00", "02/03/2026 08:30:00",
         "Stop time 02/03/2026 08:30:00 on line #3 is not after the start time 02/03/2026 "
         "09:00:00"},
        {"02/03/2026 10:30:00", "02/03/2026 09:00:00",
         "Stop time 02/03/2026 09:00:00 on line #3 is not after the start time 02/03/2026 "
         "09:00:00"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(
            Refusal(QString(kGood).replace(QString::fromUtf8(c.from), QString::fromUtf8(c.to))),
            QString::fromUtf8(c.reason))
            << c.to;
    EXPECT_TRUE(IsHeader(kHeader));
    EXPECT_FALSE(IsHeader(kGood));
}

TEST(TimeSheetFile, TheErrorFileSitsBesideTheImportFile)
{
    EXPECT_EQ(ErrorFileName(QStringLiteral("/home/ann/.local/share/week12.backup.txt")),
              QStringLiteral("/home/ann/.local/share/week12.err"));
    EXPECT_EQ(ErrorFileName(QStringLiteral("/srv/exchange.d/week12")),
              QStringLiteral("/srv/exchange.d/week12.err"));
    EXPECT_EQ(ErrorFileName(QStringLiteral("/srv/.hidden")), QStringLiteral("/srv/.hidden.err"));
    // Never the file being read.
    EXPECT_EQ(ErrorFileName(QStringLiteral("/srv/refused.err")),
              QStringLiteral("/srv/refused.err.err"));
    EXPECT_EQ(ErrorFileName(QStringLiteral("week12.txt")),
              QDir::current().filePath(QStringLiteral("week12.err")));
}
