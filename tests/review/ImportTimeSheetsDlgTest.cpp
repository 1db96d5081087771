#include "review/ImportTimeSheetsDlg.h"

#include "app/DummyDlg.h"
#include "data/ConnectionString.h"
#include "data/Schema.h"
#include "review/ExportTimeSheetsDlg.h"
#include "review/TimeSheetFile.h"
#include "tests/review/ImportFixture.h"
#include "ui/ProgressDlg.h"
#include "ui/ResourceIds.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>

using namespace Exchange;

TEST_P(ImportTimeSheetsTest, AnExportReadBackGivesTheSameRows)
{
    BookSamples(m_db);
    const QStringList before = StoredRows(m_conn);
    const QString file = File("TimeSheetExp.txt");
    CExportTimeSheetsDlg exporter(m_db, nullptr);
    RunModal<CExportTimeSheetsDlg>(exporter, [&](CExportTimeSheetsDlg& d) {
        d.SetFileName(file);
        d.Control<QComboBox>(CExportTimeSheetsDlg::kIdWhoFor)->setCurrentIndex(0);
        d.SetPeriod(QDate(2026, 3, 1), QDate(2026, 3, 31));
        d.OnCommand(IDOK);
        EXPECT_EQ(d.Written(), 5);
    });
    Exec(QStringLiteral("DELETE FROM tblTimeSheet"));

    EXPECT_EQ(Import(file), QStringLiteral("Finished Import 5 Records added from %1\n7 lines read: "
                                           "5 imported, 0 refused, 2 header lines")
                                .arg(file));
    EXPECT_EQ(m_refused, 0);
    EXPECT_TRUE(m_errorFile.isEmpty());
    EXPECT_TRUE(Messages().isEmpty()) << Messages().join("\n").toStdString();
    // Comments lose their commas and line breaks on the way, nothing else.
    QStringList expected = before;
    expected.replaceInStrings(QStringLiteral("Kick-off, with notes\nand more"),
                              QStringLiteral("Kick-off with notesand more"));
    EXPECT_EQ(StoredRows(m_conn), expected);
    // The link to the change request survives, with its object type.
    EXPECT_EQ(Query(QStringLiteral("SELECT ObjectTypeID, ObjectID FROM tblTimeSheet WHERE "
                                   "Comment = 'Late'"))
                  .Value(0, 0)
                  .toInt(),
              40);

    // The same file again: every line overlaps what it brought.
    EXPECT_EQ(Import(file).section(QLatin1Char('\n'), 0, 2),
              QStringLiteral("Finished Import 0 Records added from %1\n7 lines read: 0 imported, "
                             "5 refused, 2 header lines\n5 lines refused, written to %2")
                  .arg(file, File("TimeSheetExp.err")));
    EXPECT_EQ(Count(), 5);
}

TEST_P(ImportTimeSheetsTest, CommentsBeginningWithAMarkCrossAsTheyWereStored)
{
    // As another program stores them: U+FEFF and U+FFFE before the text.
    const QStringList hex = {QStringLiteral("EFBBBF616263"), QStringLiteral("EFBFBE61626320646566"),
                             QStringLiteral("EFBBBFEFBBBF78")};
    const auto storedHex = [this](int timeId) {
        return Query(IsPostgres() ? QStringLiteral("SELECT upper(encode(convert_to(Comment, "
                                                   "'UTF8'), 'hex')) FROM tblTimeSheet WHERE "
                                                   "TimeID = ?")
                                  : QStringLiteral("SELECT hex(Comment) FROM tblTimeSheet WHERE "
                                                   "TimeID = ?"),
                     {timeId})
            .Value(0, 0)
            .toString();
    };
    for (int i = 0; i < hex.size(); ++i) {
        const QString text = IsPostgres()
                                 ? QStringLiteral("convert_from(decode('%1', 'hex'), 'UTF8')")
                                 : QStringLiteral("CAST(X'%1' AS TEXT)");
        Exec(QStringLiteral("INSERT INTO tblTimeSheet (EmpID, ProjID, OrderID, WorkDate, "
                            "StartTime, StopTime, HoursWorked, TaskID, Comment, TimeID) VALUES "
                            "(1, 5, 7, '2026-03-02 00:00:00', '2026-03-02 %1:00:00', "
                            "'2026-03-02 %1:30:00', 0.5, 9, %2, %3)")
                 .arg(10 + i)
                 .arg(text.arg(hex.at(i)))
                 .arg(i + 1));
    }
    const QString file = File("Marks.txt");
    CExportTimeSheetsDlg exporter(m_db, nullptr);
    RunModal<CExportTimeSheetsDlg>(exporter, [&](CExportTimeSheetsDlg& d) {
        d.SetFileName(file);
        d.Control<QComboBox>(CExportTimeSheetsDlg::kIdWhoFor)->setCurrentIndex(0);
        d.SetPeriod(QDate(2026, 3, 1), QDate(2026, 3, 31));
        d.OnCommand(IDOK);
        EXPECT_EQ(d.Written(), 3);
    });
    Exec(QStringLiteral("DELETE FROM tblTimeSheet"));
    Import(file);
    EXPECT_EQ(m_imported, 3);
    for (int i = 0; i < hex.size(); ++i)
        EXPECT_EQ(storedHex(i + 1), hex.at(i)) << i;
}

TEST_P(ImportTimeSheetsTest, AnObjectIdBeyondTheProgramsIntegersIsExportedAsStored)
{
    if (IsPostgres())
        GTEST_SKIP() << "the server's integer columns hold no more than the program's";
    Exec(QStringLiteral("INSERT INTO tblTimeSheet (EmpID, ProjID, OrderID, WorkDate, StartTime, "
                        "StopTime, HoursWorked, TaskID, Comment, TimeID, ObjectTypeID, ObjectID) "
                        "VALUES (1, 5, 7, '2026-03-02 00:00:00', '2026-03-02 10:00:00', "
                        "'2026-03-02 10:30:00', 0.5, 9, 'linked', 1, 40, 5000000000)"));
    const QString file = File("Beyond.txt");
    CExportTimeSheetsDlg exporter(m_db, nullptr);
    RunModal<CExportTimeSheetsDlg>(exporter, [&](CExportTimeSheetsDlg& d) {
        d.SetFileName(file);
        d.Control<QComboBox>(CExportTimeSheetsDlg::kIdWhoFor)->setCurrentIndex(0);
        d.SetPeriod(QDate(2026, 3, 1), QDate(2026, 3, 31));
        d.OnCommand(IDOK);
        EXPECT_EQ(d.Written(), 1);
    });
    EXPECT_TRUE(ReadAll(file).contains(QStringLiteral(",02/03/2026,40,5000000000,")))
        << ReadAll(file).toStdString();
}

TEST_P(ImportTimeSheetsTest, RefusedLinesGoToTheErrorFileWithTheirReasons)
{
    const QDate mon(2026, 3, 2);
    Book(m_db, kBob, mon, 540, 585, kBridge, kSpan, 4, QStringLiteral("Deck"), 1);
    QStringList lines = {
        DataLine(kAnn, kApollo, kApolloOrder, kBuild, "2", "first", 1, mon, 540, 600),
        DataLine(kAnn, 99, kApolloOrder, kBuild, "2", "no such project", 2, mon, 700, 720),
        DataLine(kBob, kBridge, kBridgeOrder, kSpan, "4", "over Bob's", 2, mon, 570, 600),
        DataLine(kAnn, kApollo, kApolloOrder, kBuild, "2", "over line 3", 3, mon, 570, 630),
        // Touches line 3 and overlaps only the refused line 6: taken, its
        // TimeID (that of line 3) renumbered.
        DataLine(kAnn, kApollo, kApolloOrder, kBuild, "2", "after", 1, mon, 600, 660),
        QStringLiteral("1,5,7"),
        DataLine(kAnn, kApollo, kApolloOrder, kBuild, "x2", "bad work type", 5, mon, 900, 960),
        DataLine(kAnn, kApollo, kApolloOrder, kBuild, "2", "no such day", 5, QDate(2024, 2, 28),
                 540, 600)
            .replace(QStringLiteral("28/02/2024,"), QStringLiteral("31/02/2024,")),
        DataLine(kAnn, kApollo, kApolloOrder, kBuild, "2", "backwards", 6, mon, 800, 780),
        DataLine(kAnn, kApollo, kApolloOrder, kBuild, "2", "\"quoted, by another program\"", 7, mon,
                 1000, 1020),
        DataLine(kAnn, kApollo, kApolloOrder, kTest, "", "linked", 1, mon.addDays(3), 540, 600, "2",
                 "3"),
        DataLine(kAnn, 98, 97, kBuild, "2", "two faults", 8, mon, 1100, 1120),
    };
    const QString file = MakeFile(QStringLiteral("week12.txt"), lines);
    // The last line is cut short, without its line end.
    ASSERT_TRUE(WriteAll(file, ReadAll(file).toUtf8() + "1,5,7,1.000000,9,trunc"));

    const QString status = Import(file);
    const QString errors = File("week12.err");
    EXPECT_EQ(status, QStringLiteral("Finished Import 3 Records added from %1\n15 lines read: 3 "
                                     "imported, 10 refused, 2 header lines\n1 entries took the "
                                     "next free TimeID of their day\n10 lines refused, written to "
                                     "%2")
                          .arg(file, errors));
    EXPECT_EQ(m_imported, 3);
    EXPECT_EQ(m_refused, 10);
    EXPECT_EQ(m_errorFile, errors);
    EXPECT_EQ(Count(), 4);
    EXPECT_EQ(Messages(),
              QStringList{QStringLiteral("10 lines in File %1 were refused, errored lines written "
                                         "to %2\nThe first: Proj # 99 on line #4doesnt exist in "
                                         "Database ")
                              .arg(file, errors)});

    const QStringList errorLines = ReadAll(errors).split(QLatin1Char('\n'));
    ASSERT_EQ(errorLines.size(), 22) << ReadAll(errors).toStdString();
    EXPECT_TRUE(errorLines[0].startsWith(QStringLiteral("Lines of %1 refused on ").arg(file)));
    const QStringList reasons = {
        QStringLiteral("Line 4: Proj # 99 on line #4doesnt exist in Database "),
        QStringLiteral("Line 5: This timesheet record has an overlap with an existing record "
                       "(line #5: employee 2 on 02/03/2026 from 09:30 to 10:00)"),
        QStringLiteral("Line 6: This timesheet record has an overlap with an existing record "
                       "(line #6: employee 1 on 02/03/2026 from 09:30 to 10:30)"),
        QStringLiteral("Line 8: Unable to Parse Line #8 in File %1 Correctly - skipping line (3 "
                       "fields, 15 expected)")
            .arg(file),
        QStringLiteral("Line 9: Field 8 (WorkTypeID) on line #9 is not a number: \"x2\""),
        QStringLiteral("Line 10: Field 12 (WorkDate) on line #10 is not a day/month/year date with "
                       "a four-digit year: "
                       "\"31/02/2024\""),
        QStringLiteral("Line 11: Stop time 02/03/2026 13:00:00 on line #11 is not after the start "
                       "time 02/03/2026 13:20:00"),
        QStringLiteral("Line 12: Unable to Parse Line #12 in File %1 Correctly - skipping line "
                       "(16 fields, 15 expected); the line holds quoted text, which this file "
                       "format cannot carry")
            .arg(file),
        QStringLiteral("Line 14: Proj # 98 on line #14doesnt exist in Database "),
        QStringLiteral("Line 15: Unable to Parse Line #15 in File %1 Correctly - skipping line "
                       "(6 fields, 15 expected)")
            .arg(file),
    };
    for (int i = 0; i < reasons.size(); ++i) {
        EXPECT_EQ(errorLines[1 + 2 * i], reasons[i]);
        const int number = reasons[i].section(QLatin1Char(':'), 0, 0).mid(5).toInt();
        // The line itself follows its reason, as it was read.
        EXPECT_EQ(errorLines[2 + 2 * i],
                  number == 15 ? QStringLiteral("1,5,7,1.000000,9,trunc") : lines[number - 3]);
    }

    const QStringList stored = StoredRows(m_conn);
    ASSERT_EQ(stored.size(), 4);
    EXPECT_TRUE(stored[0].startsWith(QStringLiteral("1|5|7|2026-03-02 00:00:00|2026-03-02 "
                                                    "09:00:00|2026-03-02 10:00:00|1|9|first|150|"
                                                    "2|1|")));
    EXPECT_TRUE(stored[1].contains(QStringLiteral("|after|150|2|2|")));
    // A task without a work type of its own takes the first; the object type
    // the line names is kept.
    EXPECT_TRUE(stored[2].endsWith(QStringLiteral("|linked|150|1|1|NULL|2|3")))
        << stored[2].toStdString();
}

TEST_P(ImportTimeSheetsTest, ATenthOverBookedRowsIsRefusedAndCounted)
{
    // Bob's mornings are booked; every tenth line falls on one of them.
    const QDate first(2026, 4, 1);
    for (int day = 0; day < 20; ++day)
        Book(m_db, kBob, first.addDays(day), 540, 600, kBridge, kSpan, 4, QStringLiteral("am"), 1);
    QStringList lines;
    for (int i = 0; i < 1000; ++i) {
        const bool over = i % 10 == 9;
        lines << DataLine(over ? kBob : kAnn, kApollo, kApolloOrder, kBuild, "2", "line", 1,
                          first.addDays(over ? i / 50 : i), over ? 570 : 540, over ? 630 : 600);
    }
    const QString file = MakeFile(QStringLiteral("tenth.txt"), lines);
    EXPECT_EQ(Import(file).section(QLatin1Char('\n'), 0, 2),
              QStringLiteral("Finished Import 900 Records added from %1\n1002 lines read: 900 "
                             "imported, 100 refused, 2 header lines\n100 lines refused, "
                             "written to %2")
                  .arg(file, File("tenth.err")));
    EXPECT_EQ(Count(), 920);
    EXPECT_EQ(ReadAll(File("tenth.err")).count(QStringLiteral("has an overlap")), 100);
}

TEST_P(ImportTimeSheetsTest, AnErrorFileOfOverAMegabyteListsEveryRefusedLineInOrder)
{
    // A third each: refused by the database, unreadable, imported.
    const QDate first(2027, 1, 1);
    QStringList lines;
    for (int i = 0; i < 12000; ++i)
        lines << (i % 3 == 1 ? QStringLiteral("1,5,%1").arg(i)
                             : DataLine(kAnn, i % 3 == 0 ? 99 : kApollo, kApolloOrder, kBuild, "2",
                                        "many", 1, first.addDays(i), 540, 600));
    const QString file = MakeFile(QStringLiteral("many.txt"), lines);
    const QString errors = File("many.err");
    EXPECT_EQ(Import(file),
              QStringLiteral("Finished Import 4000 Records added from %1\n12002 lines "
                             "read: 4000 imported, 8000 refused, 2 header lines\n"
                             "8000 lines refused, written to %2")
                  .arg(file, errors));
    EXPECT_EQ(
        Messages(),
        QStringList{QStringLiteral("8000 lines in File %1 were refused, errored lines written "
                                   "to %2\nThe first: Proj # 99 on line #3doesnt exist in "
                                   "Database ")
                        .arg(file, errors)});
    const QString text = ReadAll(errors);
    ASSERT_GT(text.size(), 1 << 20);
    const QStringList errorLines = text.split(QLatin1Char('\n'));
    ASSERT_EQ(errorLines.size(), 1 + 2 * 8000 + 1);
    for (int i = 0, entry = 0; i < lines.size(); ++i) {
        if (i % 3 == 2)
            continue;
        const int number = i + 3;
        const QString reason =
            i % 3 == 0
                ? QStringLiteral("Proj # 99 on line #%1doesnt exist in Database ").arg(number)
                : QStringLiteral("Unable to Parse Line #%1 in File %2 Correctly - skipping "
                                 "line (3 fields, 15 expected)")
                      .arg(QString::number(number), file);
        ASSERT_EQ(errorLines[1 + 2 * entry], QStringLiteral("Line %1: %2").arg(number).arg(reason));
        ASSERT_EQ(errorLines[2 + 2 * entry], lines[i]);
        ++entry;
    }
    EXPECT_EQ(Count(), 4000);
}

TEST_P(ImportTimeSheetsTest, AFileOfAnotherDatabaseIsImportedOnlyWhenTheUserSaysSo)
{
    const QString file = MakeFile(
        QStringLiteral("other.txt"),
        {DataLine(kAnn, kApollo, kApolloOrder, kBuild, "2", "x", 1, QDate(2026, 3, 2), 540, 600)},
        QStringLiteral("/srv/elsewhere/vek_data.db"));
    const QString here = CConnectionString(m_connectionString).DatabaseName();
    EXPECT_EQ(Import(file), QStringLiteral("Import ended: %1 was exported from "
                                           "/srv/elsewhere/vek_data.db, not from %2")
                                .arg(file, here));
    EXPECT_EQ(Messages(), QStringList{QStringLiteral("Error with Database - does not match "
                                                     "database exported from \n/srv/elsewhere/"
                                                     "vek_data.db\n\nImport the time sheets into "
                                                     "%1 all the same?")
                                          .arg(here)});
    EXPECT_EQ(Count(), 0);
    CRecordingMessages::Current().Answer(kIdYes);
    EXPECT_EQ(Import(file),
              QStringLiteral("Finished Import 1 Records added from %1\n3 lines read: 1 imported, "
                             "0 refused, 2 header lines")
                  .arg(file));
    EXPECT_EQ(Count(), 1);

    // The name is compared without regard to case.
    const QString upper = MakeFile(
        QStringLiteral("upper.txt"),
        {DataLine(kBob, kBridge, kBridgeOrder, kSpan, "4", "y", 1, QDate(2026, 3, 2), 540, 600)},
        here.toUpper());
    CRecordingMessages::Current().Clear();
    EXPECT_EQ(Import(upper),
              QStringLiteral("Finished Import 1 Records added from %1\n3 lines read: 1 imported, "
                             "0 refused, 2 header lines")
                  .arg(upper));
    EXPECT_TRUE(Messages().isEmpty());
}

TEST_P(ImportTimeSheetsTest, FilesWithoutEntriesSayWhatIsWrongAndImportNothing)
{
    const QString missing = File("missing.txt");
    EXPECT_EQ(Import(missing), QStringLiteral("Unable to open file %1").arg(missing));
    const QString empty = File("empty.txt");
    ASSERT_TRUE(WriteAll(empty, QByteArray()));
    EXPECT_EQ(Import(empty), QStringLiteral("The file %1 is empty - nothing imported").arg(empty));
    const QString binary = File("photo.txt");
    ASSERT_TRUE(WriteAll(binary, QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\0\x10", 20)));
    EXPECT_EQ(
        Import(binary),
        QStringLiteral("The file %1 is not a time-sheet file - nothing imported").arg(binary));
    const QString header = MakeFile(QStringLiteral("header.txt"), {});
    EXPECT_EQ(Import(header),
              QStringLiteral("No time entries in %1 - nothing imported").arg(header));
    EXPECT_EQ(Import(QString()), QStringLiteral("No filename specified - try again"));
    EXPECT_TRUE(Messages().isEmpty());
    EXPECT_EQ(Count(), 0);
    EXPECT_FALSE(QFile::exists(File("header.err")));
}

TEST_P(ImportTimeSheetsTest, WindowsFilesInTheOldCodePageAreRead)
{
    const QString here = CConnectionString(m_connectionString).DatabaseName();
    QByteArray bytes = here.toUtf8() + "\r\n" + TimeSheetFile::kHeader.toUtf8() + "\r\n";
    bytes += DataLine(kAnn, kApollo, kApolloOrder, kBuild, "2", "COMMENT", 1, QDate(2026, 3, 2),
                      540, 600)
                 .toLatin1()
                 .replace("COMMENT", "caf\xE9 \x80") +
             "\r\n";
    const QString file = File("windows.txt");
    ASSERT_TRUE(WriteAll(file, bytes));
    EXPECT_EQ(Import(file),
              QStringLiteral("Finished Import 1 Records added from %1\n3 lines read: 1 imported, "
                             "0 refused, 2 header lines")
                  .arg(file));
    EXPECT_EQ(Query(QStringLiteral("SELECT Comment FROM tblTimeSheet")).Value(0, 0).toString(),
              QString::fromUtf8("café €"));
}

TEST_P(ImportTimeSheetsTest, TheErrorFileIsMadeBesideAFileInADottedFolder)
{
    const QString file = MakeFile(
        QStringLiteral(".local/share/week12.backup.txt"),
        {DataLine(kAnn, 99, kApolloOrder, kBuild, "2", "x", 1, QDate(2026, 3, 2), 540, 600)});
    Import(file);
    EXPECT_EQ(m_errorFile, File(".local/share/week12.err"));
    EXPECT_TRUE(ReadAll(m_errorFile).contains(QStringLiteral("Proj # 99 on line #3")));
    EXPECT_FALSE(QFile::exists(File(".err")));
}

TEST_P(ImportTimeSheetsTest, AnErrorFileThatCannotBeWrittenIsNotClaimed)
{
    const QString file = MakeFile(
        QStringLiteral("blocked.txt"),
        {DataLine(kAnn, 99, kApolloOrder, kBuild, "2", "x", 1, QDate(2026, 3, 2), 540, 600),
         DataLine(kAnn, kApollo, kApolloOrder, kBuild, "2", "y", 1, QDate(2026, 3, 2), 540, 600)});
    // A folder where the error file would go: no file can be made there.
    ASSERT_TRUE(QDir().mkpath(File("blocked.err")));
    const QString status = Import(file);
    EXPECT_TRUE(m_errorFile.isEmpty());
    EXPECT_EQ(status.section(QLatin1Char('\n'), 2),
              QStringLiteral("1 lines refused; Unable to open file %1").arg(File("blocked.err")));
    ASSERT_EQ(Messages().size(), 1);
    EXPECT_TRUE(Messages()[0].contains(QStringLiteral("could not be written")));
    EXPECT_FALSE(Messages()[0].contains(QStringLiteral("written to")));
    EXPECT_EQ(Count(), 1);
}

TEST_P(ImportTimeSheetsTest, CancelInTheProgressWindowLeavesTheDatabaseAsItWas)
{
    Book(m_db, kBob, QDate(2026, 3, 2), 540, 585, kBridge, kSpan, 4, QStringLiteral("Deck"), 1);
    const QStringList before = StoredRows(m_conn);
    const QString file = MakeFile(QStringLiteral("big.txt"), ManyLines(3000));
    CProgressDlg::SetTiming(0, 0);
    // The user presses Cancel once entries are being written.
    QStringList seen;
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* progress = qobject_cast<QProgressDialog*>(w);
            if (!progress || !progress->isVisible())
                continue;
            seen << progress->labelText();
            if (progress->labelText().startsWith(QLatin1String("Writing entry")) &&
                progress->value() > 0)
                if (auto* cancel = progress->findChild<QPushButton*>())
                    cancel->click();
        }
    });
    watcher.start(0);
    const QString status = Import(file);
    watcher.stop();
    CProgressDlg::SetTiming(400, 50);
    EXPECT_EQ(status, QStringLiteral("Import cancelled - nothing imported"));
    EXPECT_TRUE(std::any_of(seen.cbegin(), seen.cend(), [](const QString& text) {
        return text.startsWith(QLatin1String("Checking line"));
    }));
    EXPECT_EQ(StoredRows(m_conn), before);
    // Nothing is left behind: the same import runs through afterwards.
    EXPECT_EQ(Import(file),
              QStringLiteral("Finished Import 3000 Records added from %1\n3002 lines read: "
                             "3000 imported, 0 refused, 2 header lines")
                  .arg(file));
    EXPECT_EQ(Count(), 3001);
}

TEST_P(ImportTimeSheetsTest, AWriteTheDatabaseRefusesImportsNothing)
{
    if (IsPostgres()) {
        Exec(QStringLiteral("CREATE OR REPLACE FUNCTION kv_fail() RETURNS trigger LANGUAGE "
                            "plpgsql AS $$ BEGIN IF NEW.Comment = 'poison' THEN RAISE EXCEPTION "
                            "'refused by the test'; END IF; RETURN NEW; END $$"));
        Exec(QStringLiteral("CREATE TRIGGER kv_fail BEFORE INSERT ON tblTimeSheet FOR EACH ROW "
                            "EXECUTE FUNCTION kv_fail()"));
    } else {
        Exec(QStringLiteral("CREATE TRIGGER kv_fail BEFORE INSERT ON tblTimeSheet WHEN "
                            "NEW.Comment = 'poison' BEGIN SELECT RAISE(ABORT, 'refused by the "
                            "test'); END"));
    }
    QStringList lines = ManyLines(450);
    lines[420].replace(QStringLiteral(",bulk,"), QStringLiteral(",poison,"));
    const QString file = MakeFile(QStringLiteral("poison.txt"), lines);
    const QString status = Import(file);
    if (IsPostgres()) {
        Exec(QStringLiteral("DROP TRIGGER kv_fail ON tblTimeSheet"));
        Exec(QStringLiteral("DROP FUNCTION kv_fail()"));
    }
    EXPECT_TRUE(status.startsWith(QStringLiteral("Uanble to add timesheet record - nothing "
                                                 "imported\n")))
        << status.toStdString();
    EXPECT_TRUE(status.contains(QStringLiteral("refused by the test")));
    EXPECT_EQ(Count(), 0);
}

TEST_P(ImportTimeSheetsTest, ChoosingAnotherDatabaseImportsIntoIt)
{
    // The program's database comes from the profile, as when it runs.
    CProfileStore().setValue(QStringLiteral("DB/DefDatabaseName"), m_connectionString);
    m_db.ReleaseConnection(true, true);
    m_db.Connection()->UseProfileString();
    ASSERT_TRUE(m_db.OpenConnection());
    const QString other = IsPostgres()
                              ? TestDatabases::NewPostgresDatabase(QStringLiteral("other"))
                              : TestDatabases::NewSqliteDatabase(TestEnv::TestDir(), "other.db");
    CDBConnection otherConnection;
    otherConnection.UseConnectionString(other);
    ASSERT_TRUE(otherConnection.Connect(false));
    QString error;
    ASSERT_TRUE(CSchema::Create(otherConnection, &error)) << error.toStdString();
    for (const QString& sql : LookupRows())
        ASSERT_TRUE(CSqlExecutor::RunNative(otherConnection, sql, {}, nullptr, nullptr));

    class CPrompt : public IConnectionPrompt {
    public:
        QString PromptConnectionString(const QString& current) override
        {
            shown << current;
            return answer;
        }
        QStringList shown;
        QString answer;
    } prompt;
    CDBConnection::SetPrompt(&prompt);
    // The time sheet open behind the dialog, as the hub keeps it.
    struct CSheet : QWidget, IHubWindow {
        QWidget* Widget() override { return this; }
        void CloseWindow(int) override { close(); }
    };
    int sheetsMade = 0;
    RegisterHubWindow(ID_TIMESHEETS, [&sheetsMade](CDummyDlg&) {
        ++sheetsMade;
        return new CSheet;
    });
    CDummyDlg hub(&m_db);
    hub.OnCommand(ID_TIMESHEETS);
    ASSERT_EQ(sheetsMade, 1);
    const QString file = MakeFile(QStringLiteral("move.txt"),
                                  {DataLine(kAnn, kApollo, kApolloOrder, kBuild, "2", "moved", 1,
                                            QDate(2026, 3, 2), 540, 600)},
                                  CConnectionString(other).DatabaseName());
    const QString status = Import(
        file,
        [&](CImportTimeSheetsDlg& d) {
            // Cancelled: nothing changes.
            d.OnCommand(CTimeSheetExchangeDlg::kIdChooseDatabase);
            EXPECT_EQ(d.DatabaseName(), CConnectionString(m_connectionString).DatabaseName());
            prompt.answer = other;
            d.OnCommand(CTimeSheetExchangeDlg::kIdChooseDatabase);
            EXPECT_EQ(d.Control<QLineEdit>(CTimeSheetExchangeDlg::kIdDatabase)->text(),
                      CConnectionString(other).DatabaseName());
            // The user is where he was: the time sheet is open again, on the
            // chosen database, and the import goes on.
            EXPECT_EQ(sheetsMade, 2);
            EXPECT_NE(hub.Window(ID_TIMESHEETS), nullptr);
        },
        &hub);
    UnregisterHubWindow(ID_TIMESHEETS);
    CDBConnection::SetPrompt(nullptr);
    EXPECT_EQ(prompt.shown, QStringList({m_connectionString, m_connectionString}));
    EXPECT_EQ(status,
              QStringLiteral("Finished Import 1 Records added from %1\n3 lines read: 1 imported, "
                             "0 refused, 2 header lines")
                  .arg(file));
    EXPECT_EQ(Count(), 0);
    CQueryResult rows;
    ASSERT_TRUE(CSqlExecutor::RunNative(
        otherConnection, QStringLiteral("SELECT Comment FROM tblTimeSheet"), {}, &rows, nullptr));
    EXPECT_EQ(rows.rows, 1);
    EXPECT_EQ(CProfileStore().value(QStringLiteral("DB/DefDatabaseName")).toString(), other);
    otherConnection.ReleaseConnection(true);
}

TEST_P(ImportTimeSheetsTest, TheOpenTimeSheetShowsWhatWasImported)
{
    // The time-sheet window as the hub sees it.
    struct CSheet : QWidget, IHubWindow {
        QWidget* Widget() override { return this; }
        void CloseWindow(int) override { close(); }
        void RefreshDay(const QDate& day) override { refreshed << day; }
        QList<QDate> refreshed;
    };
    CSheet* sheet = nullptr;
    RegisterHubWindow(ID_TIMESHEETS, [&sheet](CDummyDlg&) { return sheet = new CSheet; });
    CDummyDlg hub(&m_db);
    hub.OnCommand(ID_TIMESHEETS);
    UnregisterHubWindow(ID_TIMESHEETS);
    ASSERT_NE(sheet, nullptr);
    m_db.SetDisplayedDay(QDate(2026, 3, 2));
    const QString file = MakeFile(
        QStringLiteral("shown.txt"),
        {DataLine(kAnn, kApollo, kApolloOrder, kBuild, "2", "x", 1, QDate(2026, 3, 2), 540, 600)});
    Import(file, {}, &hub);
    EXPECT_EQ(sheet->refreshed, QList<QDate>{QDate(2026, 3, 2)});
    // Nothing imported: nothing to show.
    Import(file, {}, &hub);
    EXPECT_EQ(sheet->refreshed.size(), 1);
}

KELVANE_INSTANTIATE_BACKENDS(ImportTimeSheetsTest);

// ---- From one back end to the other and back ---------------------------------------------

namespace {

// A database of the back end with the schema and the shared lookups.
QString NewExchangeDatabase(bool server, const QString& name)
{
    const QString connectionString =
        server ? TestDatabases::NewPostgresDatabase(name)
               : TestDatabases::NewSqliteDatabase(TestEnv::TestDir(), name + ".db");
    CDBConnection connection;
    connection.UseConnectionString(connectionString);
    EXPECT_TRUE(connection.Connect(false));
    QString error;
    EXPECT_TRUE(CSchema::Create(connection, &error)) << error.toStdString();
    for (const QString& sql : LookupRows())
        EXPECT_TRUE(CSqlExecutor::RunNative(connection, sql, {}, nullptr, nullptr));
    connection.ReleaseConnection(true);
    return connectionString;
}

class CExchangeSide {
public:
    explicit CExchangeSide(const QString& connectionString)
    {
        db.Connection()->UseConnectionString(connectionString);
        EXPECT_TRUE(db.OpenConnection());
        db.StartupInfo().BookingInterval = 15;
    }
    ~CExchangeSide() { db.ReleaseConnection(true, true); }
    CExchangeSide(const CExchangeSide&) = delete;
    CExchangeSide& operator=(const CExchangeSide&) = delete;

    void Export(const QString& file)
    {
        CExportTimeSheetsDlg dlg(db, nullptr);
        RunModal<CExportTimeSheetsDlg>(dlg, [&](CExportTimeSheetsDlg& d) {
            d.SetFileName(file);
            d.Control<QComboBox>(CExportTimeSheetsDlg::kIdWhoFor)->setCurrentIndex(0);
            d.SetPeriod(QDate(2026, 1, 1), QDate(2026, 12, 31));
            d.OnCommand(IDOK);
        });
    }
    // Imports a file of another database, the user agreeing.
    int Import(const QString& file)
    {
        CRecordingMessages::Current().Answer(kIdYes);
        int imported = -1;
        CImportTimeSheetsDlg dlg(db, nullptr);
        RunModal<CImportTimeSheetsDlg>(dlg, [&](CImportTimeSheetsDlg& d) {
            d.SetFileName(file);
            d.OnCommand(IDOK);
            imported = d.Refused() == 0 ? d.Imported() : -1;
        });
        return imported;
    }
    QStringList Rows() { return StoredRows(*db.Connection()); }

    CDBClass db;
};

// The rows of a database file written through the time sheet's write.
class RoundTripTest : public ExchangeTest {};

} // namespace

TEST_P(RoundTripTest, FromTheFileToTheServerAndBackTheRowsStayTheSame)
{
    if (IsPostgres())
        GTEST_SKIP() << "one run: it uses both back ends";
    if (!TestDatabases::PostgresConfigured()) {
        if (TestDatabases::PostgresRequired())
            FAIL() << "the test PostgreSQL server is required but not configured";
        GTEST_SKIP() << "no test PostgreSQL server (KELVANE_TEST_PG)";
    }
    BookSamples(m_db);
    const QStringList original = StoredRows(m_conn);
    const QString there = File("there.txt");
    CExchangeSide source(m_connectionString);
    source.Export(there);

    CExchangeSide server(NewExchangeDatabase(true, QStringLiteral("roundtrip")));
    ASSERT_EQ(server.Import(there), 5);
    const QString back = File("back.txt");
    server.Export(back);
    // The same file but for the database it names.
    EXPECT_EQ(ReadAll(back).section(QLatin1Char('\n'), 1),
              ReadAll(there).section(QLatin1Char('\n'), 1));

    CExchangeSide file(NewExchangeDatabase(false, QStringLiteral("back")));
    ASSERT_EQ(file.Import(back), 5);
    QStringList expected = original;
    expected.replaceInStrings(QStringLiteral("Kick-off, with notes\nand more"),
                              QStringLiteral("Kick-off with notesand more"));
    EXPECT_EQ(server.Rows(), expected);
    EXPECT_EQ(file.Rows(), expected);
}

KELVANE_INSTANTIATE_BACKENDS(RoundTripTest);
