#include "review/ImportTimeSheetsDlg.h"

#include "review/ExportTimeSheetsDlg.h"
#include "review/TimeSheetFile.h"
#include "tests/review/ImportFixture.h"

#include <QComboBox>
#include <QFile>

#include <limits>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

using namespace Exchange;

namespace {

// Lines of the file as the import counts them: ended by LF, CR LF or CR
// alone; a line of nothing but blanks (NULs dropped) is no line.
int CountLines(const QByteArray& bytes)
{
    int count = 0;
    QByteArray text = bytes;
    text.replace("\r\n", "\n");
    text.replace('\r', '\n');
    for (const QByteArray& line : text.split('\n')) {
        QByteArray kept = line;
        kept.removeIf(
            [](char c) { return c == '\0' || c == ' ' || c == '\t' || c == '\v' || c == '\f'; });
        if (!kept.isEmpty())
            ++count;
    }
    return count;
}

} // namespace

class ImportHostileFilesTest : public ImportTimeSheetsTest {
protected:
    QVariant StoredComment(int timeId)
    {
        return Query(
                   QStringLiteral("SELECT Comment FROM tblTimeSheet WHERE TimeID = %1").arg(timeId))
            .Value(0, 0);
    }
    const QDate m_mon{2026, 3, 2};
};

TEST_P(ImportHostileFilesTest, ALineMentioningEmpIDIsImportedAndEveryLineIsCounted)
{
    const QString file = MakeFile(
        QStringLiteral("empid.txt"),
        {DataLine(kAnn, kApollo, kApolloOrder, kBuild, "2", "EmpID mixed up - fixed", 1, m_mon, 540,
                  600),
         DataLine(kAnn, 99, kApolloOrder, kBuild, "2", "no such project", 2, m_mon, 600, 660),
         // A second header is no header line of this file.
         TimeSheetFile::kHeader});
    const QString status = Import(file);
    EXPECT_EQ(status.section(QLatin1Char('\n'), 0, 1),
              QStringLiteral("Finished Import 1 Records added from %1\n5 lines read: 1 imported, "
                             "2 refused, 2 header lines")
                  .arg(file));
    EXPECT_EQ(m_imported + m_refused + m_headerLines, m_linesRead);
    EXPECT_EQ(StoredComment(1).toString(), QStringLiteral("EmpID mixed up - fixed"));
    EXPECT_TRUE(ReadAll(m_errorFile).contains(QStringLiteral("Line 5: Unable to Parse Line #5")));
}

TEST_P(ImportHostileFilesTest, ControlCharactersInCommentsComeBackAsTheyWere)
{
    const QString controls = QStringLiteral("bell \a, vertical tab \v, escape \x1B[1m");
    Book(m_db, kAnn, m_mon, 540, 600, kApollo, kBuild, 2, controls, 1);
    Book(m_db, kBob, m_mon, 540, 600, kBridge, kSpan, 4, QStringLiteral("\tindented"), 1);
    const QStringList before = StoredRows(m_conn);
    const QString file = File("controls.txt");
    CExportTimeSheetsDlg exporter(m_db, nullptr);
    RunModal<CExportTimeSheetsDlg>(exporter, [&](CExportTimeSheetsDlg& d) {
        d.SetFileName(file);
        d.Control<QComboBox>(CExportTimeSheetsDlg::kIdWhoFor)->setCurrentIndex(0);
        d.SetPeriod(m_mon, m_mon);
        d.OnCommand(IDOK);
    });
    Exec(QStringLiteral("DELETE FROM tblTimeSheet"));
    Import(file);
    EXPECT_EQ(m_imported, 2);
    QStringList expected = before;
    expected.replaceInStrings(controls, QString(controls).remove(QLatin1Char(',')));
    EXPECT_EQ(StoredRows(m_conn), expected);
}

TEST_P(ImportHostileFilesTest, AStrayByteGarblesOnlyItsOwnLine)
{
    const QString file = File("mixed.txt");
    QByteArray bytes = CConnectionString(m_connectionString).DatabaseName().toUtf8() + '\n' +
                       TimeSheetFile::kHeader.toUtf8() + '\n';
    bytes += DataLine(kAnn, kApollo, kApolloOrder, kBuild, "2", QString::fromUtf8("Zürich ✓"), 1,
                      m_mon, 540, 600)
                 .toUtf8() +
             '\n';
    bytes += DataLine(kAnn, kApollo, kApolloOrder, kBuild, "2", "COMMENT", 2, m_mon, 600, 660)
                 .toLatin1()
                 .replace("COMMENT", "Caf\xE9") +
             '\n';
    ASSERT_TRUE(WriteAll(file, bytes));
    Import(file);
    EXPECT_EQ(m_imported, 2);
    EXPECT_EQ(StoredComment(1).toString(), QString::fromUtf8("Zürich ✓"));
    EXPECT_EQ(StoredComment(2).toString(), QString::fromUtf8("Café"));
}

TEST_P(ImportHostileFilesTest, CommentsAreCutByCharacters)
{
    const QString full = QString(253, QLatin1Char('x')) + QString::fromUtf8("😀");
    const QString longer = QString(253, QLatin1Char('y')) + QString::fromUtf8("😀😀 and more");
    const QString file =
        MakeFile(QStringLiteral("full.txt"),
                 {DataLine(kAnn, kApollo, kApolloOrder, kBuild, "2", full, 1, m_mon, 540, 600),
                  DataLine(kAnn, kApollo, kApolloOrder, kBuild, "2", longer, 2, m_mon, 600, 660)});
    Import(file);
    EXPECT_EQ(StoredComment(1).toString(), full);
    EXPECT_EQ(StoredComment(2).toString(), QString(253, QLatin1Char('y')) + QString::fromUtf8("😀"));
}

TEST_P(ImportHostileFilesTest, ATakenTimeIdAtTheTopOfTheRangeIsNeverStoredNegative)
{
    constexpr int kTop = std::numeric_limits<int>::max();
    Book(m_db, kAnn, m_mon, 540, 600, kApollo, kBuild, 2, QStringLiteral("top"), kTop);
    const QString file = MakeFile(
        QStringLiteral("top.txt"),
        {DataLine(kAnn, kApollo, kApolloOrder, kBuild, "2", "taken top", kTop, m_mon, 600, 660),
         DataLine(kAnn, kApollo, kApolloOrder, kBuild, "2", "free", 5, m_mon, 660, 720)});
    Import(file);
    EXPECT_EQ(m_imported, 1);
    EXPECT_EQ(m_refused, 1);
    EXPECT_TRUE(ReadAll(m_errorFile)
                    .contains(QStringLiteral(
                        "Line 3: TimeID 2147483647 on line #3 is taken on its day, and no higher "
                        "entry number is free")))
        << ReadAll(m_errorFile).toStdString();
    EXPECT_EQ(Query(QStringLiteral("SELECT min(TimeID) FROM tblTimeSheet")).Value(0, 0).toInt(), 5);
    // The time sheet's next number of that day is the lowest one free.
    int next = -1;
    ASSERT_TRUE(m_db.GetNextTimeId(CDateTime(m_mon), kAnn, next));
    EXPECT_EQ(next, 1);
}

TEST_P(ImportHostileFilesTest, PipesDevicesAndHugeFilesAreRefusedUnread)
{
    const QString pipe = File("pipe.txt");
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    EXPECT_EQ(Import(pipe), QStringLiteral("%1 is not a regular file (a device, a named pipe or a "
                                           "socket cannot be read) - nothing imported")
                                .arg(pipe));
    const QString zero = File("zero.txt");
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), zero));
    EXPECT_TRUE(Import(zero).startsWith(QStringLiteral("%1 is not a regular file").arg(zero)));
    const QString huge = File("huge.txt");
    {
        QFile sparse(huge);
        ASSERT_TRUE(sparse.open(QIODevice::WriteOnly));
        ASSERT_TRUE(sparse.resize(CImportTimeSheetsDlg::kMaxFileBytes + 1));
    }
    EXPECT_EQ(Import(huge),
              QStringLiteral("The file %1 is too large for a time-sheet file - nothing imported")
                  .arg(huge));
    EXPECT_EQ(Count(), 0);

    // An error file that is a pipe is not written, nor waited for.
    const QString file =
        MakeFile(QStringLiteral("piped.txt"),
                 {DataLine(kAnn, 99, kApolloOrder, kBuild, "2", "x", 1, m_mon, 540, 600),
                  DataLine(kAnn, kApollo, kApolloOrder, kBuild, "2", "y", 1, m_mon, 540, 600)});
    ASSERT_EQ(::mkfifo(QFile::encodeName(File("piped.err")).constData(), 0600), 0);
    EXPECT_EQ(Import(file).section(QLatin1Char('\n'), 2),
              QStringLiteral("1 lines refused; Unable to open file %1").arg(File("piped.err")));
    EXPECT_EQ(Count(), 1);
}

TEST_P(ImportHostileFilesTest, OldMacintoshLineEndsAndAStopOfMidnightAreRead)
{
    const QString file = File("mac.txt");
    const QStringList lines = {
        CConnectionString(m_connectionString).DatabaseName(), TimeSheetFile::kHeader,
        DataLine(kAnn, kApollo, kApolloOrder, kBuild, "2", "morning", 1, m_mon, 540, 600),
        DataLine(kAnn, kApollo, kApolloOrder, kBuild, "2", "late", 2, m_mon, 1320, 1439)
            .replace(QStringLiteral("23:59:00"), QStringLiteral("24:00:00"))};
    ASSERT_TRUE(WriteAll(file, lines.join(QLatin1Char('\r')).toUtf8() + '\r'));
    EXPECT_EQ(Import(file).section(QLatin1Char('\n'), 0, 1),
              QStringLiteral("Finished Import 2 Records added from %1\n4 lines read: 2 imported, "
                             "0 refused, 2 header lines")
                  .arg(file));
    EXPECT_EQ(Query(QStringLiteral("SELECT HoursWorked FROM tblTimeSheet WHERE TimeID = 2"))
                  .Value(0, 0)
                  .toDouble(),
              2.0);
}

// A few hundred files made from a good one by cutting, inserting and
// changing bytes, lines and fields: every file ends, and every line of it is
// imported, refused to the error file or one of the two header lines.
TEST_P(ImportHostileFilesTest, EveryLineOfEveryMalformedFileIsAccountedFor)
{
    QStringList good;
    for (int i = 0; i < 8; ++i)
        good << DataLine(i % 3 ? kAnn : kBob, i % 3 ? kApollo : kBridge,
                         i % 3 ? kApolloOrder : kBridgeOrder, i % 3 ? kBuild : kSpan, "",
                         QString::fromUtf8("entry %1 café ✓").arg(i), i + 1, m_mon.addDays(i / 2),
                         480 + 90 * (i % 2), 540 + 90 * (i % 2));
    const QByteArray base =
        (QStringList{CConnectionString(m_connectionString).DatabaseName(), TimeSheetFile::kHeader} +
         good)
            .join(QLatin1Char('\n'))
            .toUtf8() +
        '\n';
    const QList<QByteArray> fieldValues = {"2147483647",
                                           "-2147483648",
                                           "99999999999",
                                           "",
                                           "-",
                                           "1e309",
                                           "nan",
                                           " 7 ",
                                           "0x10",
                                           "29/02/2025",
                                           "00/01/2026",
                                           "1/1/26",
                                           "31/12/9999 23:59:59",
                                           "02/03/2026 24:00:00",
                                           "02/03/2026 23:60:00",
                                           "02/03/2026 -1:00",
                                           "\"quoted\"",
                                           "\xC3",
                                           "\xFF\xFE",
                                           "\x1B\a\v",
                                           "EmpID",
                                           QByteArray(3000, 'z')};
    std::mt19937 random(20260302);
    const auto pick = [&random](qsizetype n) {
        return static_cast<qsizetype>(random() % static_cast<unsigned>(qMax<qsizetype>(n, 1)));
    };
    // Files with next to nothing in them come first.
    const qsizetype afterHeader = base.indexOf('\n', base.indexOf('\n') + 1) + 1;
    const QList<QByteArray> bare = {QByteArray(), "\n\r\n", base.left(base.indexOf('\n')),
                                    base.left(afterHeader), base.left(afterHeader + 20)};
    int files = 0;
    int imported = 0;
    for (int f = 0; f < 300; ++f) {
        QByteArray bytes = f < bare.size() ? bare.at(f) : base;
        for (int m = 0, mutations = f < bare.size() ? 0 : 1 + int(pick(3)); m < mutations; ++m) {
            QList<QByteArray> lines = bytes.split('\n');
            const qsizetype line = pick(lines.size());
            switch (pick(12)) {
            case 0:
                bytes.truncate(pick(bytes.size()));
                continue;
            case 1:
                bytes.insert(pick(bytes.size()), char(pick(256)));
                continue;
            case 2:
                bytes.remove(pick(bytes.size()), 1 + pick(40));
                continue;
            case 3:
                bytes[pick(bytes.size())] = char(pick(256));
                continue;
            case 4:
                lines.insert(line, lines.value(pick(lines.size())));
                break;
            case 5:
                lines.swapItemsAt(line, pick(lines.size()));
                break;
            case 6: {
                static const char* ends[] = {"\r", "\r\n", "\n\n", "\r\r\n", "\n \n"};
                bytes.replace("\n", ends[pick(5)]);
                continue;
            }
            case 7: {
                QByteArray noise = "x";
                for (qsizetype n = pick(300); n > 0; --n)
                    noise += char(pick(256));
                lines.insert(line, noise);
                break;
            }
            case 8:
                lines.insert(line, QByteArray(100 * 1024, ','));
                break;
            case 9:
            case 10: {
                QList<QByteArray> fields = lines.value(line).split(',');
                fields[pick(fields.size())] = fieldValues.at(pick(fieldValues.size()));
                lines[line] = fields.join(',');
                break;
            }
            default: {
                QByteArray& text = lines[line];
                const qsizetype comma = text.indexOf(',', pick(text.size()));
                if (comma >= 0 && pick(2))
                    text.remove(comma, 1);
                else
                    text.insert(pick(text.size()), ',');
                break;
            }
            }
            bytes = lines.join('\n');
        }
        const QString file = File(QStringLiteral("corpus/%1.txt").arg(f));
        QDir().mkpath(File(QStringLiteral("corpus")));
        ASSERT_TRUE(WriteAll(file, bytes));
        const int rowsBefore = Count();
        CRecordingMessages::Current().Clear();
        CRecordingMessages::Current().Answer(kIdYes); // import a file of another database too
        const QString status = Import(file);
        const std::string why = QStringLiteral("file %1: %2").arg(f).arg(status).toStdString();
        ASSERT_FALSE(status.startsWith(QStringLiteral("Uanble"))) << why;
        EXPECT_EQ(Count() - rowsBefore, qMax(m_imported, 0)) << why;
        if (!status.startsWith(QStringLiteral("Finished Import")))
            continue;
        ++files;
        imported += m_imported;
        EXPECT_EQ(m_linesRead, CountLines(bytes)) << why;
        EXPECT_EQ(m_imported + m_refused + m_headerLines, m_linesRead) << why;
        EXPECT_TRUE(status.contains(QStringLiteral("\n%1 lines read: %2 imported, %3 refused, %4 "
                                                   "header lines")
                                        .arg(m_linesRead)
                                        .arg(m_imported)
                                        .arg(m_refused)
                                        .arg(m_headerLines)))
            << why;
        if (m_refused > 0) {
            EXPECT_EQ(ReadAll(m_errorFile).count(QLatin1Char('\n')), 1 + 2 * m_refused) << why;
        }
    }
    // The corpus reaches the import, and some of it gets through.
    EXPECT_GT(files, 200);
    EXPECT_GT(imported, 0);
}

KELVANE_INSTANTIATE_BACKENDS(ImportHostileFilesTest);
