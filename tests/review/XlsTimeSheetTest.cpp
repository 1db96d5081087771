#include "tests/review/XlsTimeSheetFixture.h"

#include "office/BasicModule.h"
#include "review/TimeSheetTemplate.h"

#include <QFileInfo>
#include <QLocale>

#include <sys/stat.h>

namespace {

using Week = std::pair<QDate, QDate>;

Week WeekOf(const QDate& today)
{
    const QDate start = CXlsTimeSheet::WeekStart(today);
    return {start, CXlsTimeSheet::WeekEnd(start)};
}

} // namespace

TEST(XlsTimeSheetWeekTest, LastWeekMondayToFriday)
{
    // A Monday takes the week before; a Tuesday the day before to the coming Friday.
    EXPECT_EQ(WeekOf(QDate(2024, 3, 11)), Week(QDate(2024, 3, 4), QDate(2024, 3, 8)));
    EXPECT_EQ(WeekOf(QDate(2024, 3, 12)), Week(QDate(2024, 3, 11), QDate(2024, 3, 15)));
    EXPECT_EQ(WeekOf(QDate(2024, 3, 10)), Week(QDate(2024, 3, 4), QDate(2024, 3, 8)));
    EXPECT_EQ(WeekOf(QDate(2024, 3, 9)), Week(QDate(2024, 3, 4), QDate(2024, 3, 8)));
    // Across the changes of summer time (Europe 31 March and 27 October,
    // America 3 November 2024) and the turn of a year.
    EXPECT_EQ(WeekOf(QDate(2024, 4, 1)), Week(QDate(2024, 3, 25), QDate(2024, 3, 29)));
    EXPECT_EQ(WeekOf(QDate(2024, 4, 2)), Week(QDate(2024, 4, 1), QDate(2024, 4, 5)));
    EXPECT_EQ(WeekOf(QDate(2024, 10, 29)), Week(QDate(2024, 10, 28), QDate(2024, 11, 1)));
    EXPECT_EQ(WeekOf(QDate(2024, 11, 5)), Week(QDate(2024, 11, 4), QDate(2024, 11, 8)));
    EXPECT_EQ(WeekOf(QDate(2025, 1, 1)), Week(QDate(2024, 12, 30), QDate(2025, 1, 3)));

    const QStringList names = {"", "Sun", "Mon", "Tues", "Wed", "Thurs", "Fri", "Sat", ""};
    for (int day = 0; day <= 8; ++day)
        EXPECT_EQ(CXlsTimeSheet::WeekdayName(day), names.at(day)) << day;
    EXPECT_EQ(CXlsTimeSheet::WeekdayName(QDate(2024, 3, 10)), QStringLiteral("Sun"));
    EXPECT_EQ(CXlsTimeSheet::WeekdayName(QDate(2024, 3, 7)), QStringLiteral("Thurs"));
}

TEST(XlsTimeSheetWeekTest, PathsJoinTheFolderAndNameTheDayInEnglish)
{
    CDBClass db;
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::German));
    for (const QString& folder :
         {QStringLiteral("/data/sheets"), QStringLiteral("/data/sheets/")}) {
        CXlsTimeSheet sheet(db, folder, QStringLiteral("Week.xls"));
        sheet.SetToday(QDate(2004, 3, 5));
        EXPECT_EQ(sheet.TemplatePath(), QStringLiteral("/data/sheets/Week.xls"));
        EXPECT_EQ(sheet.WorkbookPath(), QStringLiteral("/data/sheets/ts_05March04.xls"));
    }
    QLocale::setDefault(before);
    // Nothing registered: the program's own template in the documents folder.
    CXlsTimeSheet own(db, QString(), QString());
    own.SetToday(QDate(2024, 12, 31));
    EXPECT_EQ(own.TemplatePath(), CTimeSheetTemplate::DefaultPath());
    EXPECT_EQ(QFileInfo(own.WorkbookPath()).fileName(), QStringLiteral("ts_31December24.xls"));
    EXPECT_EQ(QFileInfo(own.WorkbookPath()).absolutePath(), CTimeSheetTemplate::DefaultFolder());
}

TEST_P(XlsTimeSheetTest, TheWeekReachesTheMacrosOneCallAtATime)
{
    BookTheWeek();
    // A block up to midnight ends the day at 24:00, not at 00:00.
    Book(1, 1, 2, QDate(2024, 3, 7), 23 * 60, 24 * 60, QStringLiteral("Late"));
    ASSERT_TRUE(RunSheet()) << Messages().join('|').toStdString();
    EXPECT_EQ(m_sheet->StartDate(), QDate(2024, 3, 4));
    EXPECT_EQ(m_sheet->EndDate(), QDate(2024, 3, 8));
    EXPECT_EQ(m_record.opened, QStringList{m_folder + QStringLiteral("Mine.xls")});
    // Rows by their start; a day's lines from 1, one left empty before
    // another order; the order remembered from day to day.
    EXPECT_EQ(m_record.calls,
              (QStringList{"FillOutHdrWeekly(Mon, Mar 04|Fri, Mar 08|Ann Lee|KTS|Ann Lee)",
                           "FillDaysTime(1|Mon||2)", "FillDaysTime(3|Mon||1.5)",
                           "FillDaysTime(2|Tues||1)", "FillDaysTime(2|Wed||0.25)",
                           "FillDaysTime(4|Wed||1)", "FillDaysTime(1|Thurs||1)",
                           "FillDaysTime(2|Thurs||1)", "DailyInOutVals(Mon|09:00|14:30)",
                           "DailyInOutVals(Tues|08:00|09:00)", "DailyInOutVals(Wed|10:00|15:00)",
                           "DailyInOutVals(Thurs|09:00|24:00)", "DailyInOutVals(Fri| | )",
                           "RunTotals(2)", "RunGrandTotal(2)"}));
    ASSERT_EQ(m_sheet->DayValues().size(), 5);
    EXPECT_EQ(m_sheet->DayValues().at(0).hours, QStringLiteral("3.5"));
    EXPECT_EQ(m_sheet->DayValues().at(3).hours, QStringLiteral("2"));
    EXPECT_EQ(m_sheet->DayValues().at(4).hours, QStringLiteral(" "));
    ASSERT_EQ(m_sheet->Rows().size(), 7);
    EXPECT_EQ(m_sheet->Rows().at(1).projId, 3);
    EXPECT_EQ(m_sheet->Rows().at(1).taskId, 4);
    EXPECT_EQ(m_sheet->Rows().at(1).start, QStringLiteral("13:00"));
    EXPECT_EQ(m_sheet->Rows().at(6).stop, QStringLiteral("24:00"));

    // Only Macro1 and Print_time_sheet are left; the module without
    // procedures is not written.
    EXPECT_EQ(m_record.modulesWritten.keys(), QStringList{"Module1"});
    EXPECT_EQ(CBasicModule(m_record.modulesWritten.value("Module1")).ProcedureNames(),
              (QStringList{"Macro1", "Print_time_sheet"}));
    const QString saved = m_folder + QStringLiteral("ts_11March24.xls");
    EXPECT_EQ(m_record.saved, QStringList{saved});
    EXPECT_EQ(m_record.closed, 1);
    EXPECT_EQ(Messages(), QStringList{QStringLiteral("The time sheet is stored as \"%1\"")
                                          .arg(QDir::toNativeSeparators(saved))});
}

TEST_P(XlsTimeSheetTest, AWeekWithoutRowsStillFillsAndSaves)
{
    // Only Bob's rows and Ann's from other weeks.
    Book(2, 1, 2, QDate(2024, 3, 5), 9 * 60, 10 * 60);
    Book(1, 1, 2, QDate(2024, 3, 3), 9 * 60, 10 * 60);
    Book(1, 1, 2, QDate(2024, 3, 9), 9 * 60, 10 * 60);
    ASSERT_TRUE(RunSheet()) << Messages().join('|').toStdString();
    EXPECT_TRUE(m_record.CallsOf(QStringLiteral("FillDaysTime")).isEmpty());
    EXPECT_EQ(m_record.calls,
              (QStringList{"FillOutHdrWeekly(Mon, Mar 04|Fri, Mar 08|Ann Lee|KTS|Ann Lee)",
                           "DailyInOutVals(Mon| | )", "DailyInOutVals(Tues| | )",
                           "DailyInOutVals(Wed| | )", "DailyInOutVals(Thurs| | )",
                           "DailyInOutVals(Fri| | )", "RunTotals(2)", "RunGrandTotal(2)"}));
    EXPECT_EQ(m_record.saved.size(), 1);
}

TEST_P(XlsTimeSheetTest, LinesFollowTheOrdersInTheOrderOfTheRows)
{
    // Booked out of order: numbered by start time. Orders 1, 1, 2, 1, then 2 the next day.
    Book(1, 1, 2, QDate(2024, 3, 12), 11 * 60, 12 * 60);
    Book(1, 2, 3, QDate(2024, 3, 12), 10 * 60, 11 * 60);
    Book(1, 1, 1, QDate(2024, 3, 12), 8 * 60, 9 * 60);
    Book(1, 1, 2, QDate(2024, 3, 12), 9 * 60, 10 * 60);
    Book(1, 2, 3, QDate(2024, 3, 13), 8 * 60, 8 * 60 + 30);
    Book(1, 2, 3, QDate(2024, 3, 13), 9 * 60, 9 * 60 + 6);
    ASSERT_TRUE(RunSheet(QDate(2024, 3, 14)));
    EXPECT_EQ(m_sheet->StartDate(), QDate(2024, 3, 11));
    EXPECT_EQ(m_record.CallsOf(QStringLiteral("FillDaysTime")),
              (QStringList{"FillDaysTime(1|Tues||1)", "FillDaysTime(2|Tues||1)",
                           "FillDaysTime(4|Tues||1)", "FillDaysTime(6|Tues||1)",
                           "FillDaysTime(2|Wed||0.5)", "FillDaysTime(3|Wed||0.1)"}));
}

TEST_P(XlsTimeSheetTest, AFailingMacroIsToldOnceAndTheRunGoesOn)
{
    BookTheWeek();
    m_record.refusing = {QStringLiteral("FillDaysTime")};
    ASSERT_TRUE(RunSheet());
    EXPECT_EQ(m_record.CallsOf(QStringLiteral("FillDaysTime")).size(), 6);
    EXPECT_EQ(m_record.CallsOf(QStringLiteral("DailyInOutVals")).size(), 5);
    EXPECT_EQ(m_record.CallsOf(QStringLiteral("RunGrandTotal")).size(), 1);
    ASSERT_EQ(Messages().size(), 2) << Messages().join('|').toStdString();
    EXPECT_EQ(Messages().at(0),
              QStringLiteral("If here, you got the error!\nFillDaysTime refused"));
    EXPECT_TRUE(Messages().at(1).startsWith(QStringLiteral("The time sheet is stored as")));
    EXPECT_EQ(m_record.saved.size(), 1);

    // An office that goes away ends the run: nothing saved, told once.
    m_record = CMacroRecord();
    m_record.losesAfter = QStringLiteral("FillOutHdrWeekly");
    QFile::remove(m_folder + QStringLiteral("ts_11March24.xls"));
    EXPECT_FALSE(RunSheet());
    EXPECT_EQ(m_record.calls.size(), 1);
    EXPECT_TRUE(m_record.saved.isEmpty());
    ASSERT_EQ(Messages().size(), 1);
    EXPECT_EQ(Messages().first(),
              QStringLiteral("The time sheet could not be finished.\nLibreOffice has gone"));
}

TEST_P(XlsTimeSheetTest, ATemplateWithoutAMacroOrWithoutAFileIsNamed)
{
    BookTheWeek();
    m_office.modules = {{QStringLiteral("Module1"),
                         CBasicModule(TemplateCode())
                             .WithoutProceduresExcept({"FillOutHdrWeekly", "DailyInOutVals",
                                                       "RunTotals", "RunGrandTotal", "Macro1"})}};
    EXPECT_FALSE(RunSheet());
    const QString path = QDir::toNativeSeparators(m_folder + QStringLiteral("Mine.xls"));
    EXPECT_EQ(Messages(), QStringList{QStringLiteral("The time-sheet template \"%1\" lacks the "
                                                     "macro FillDaysTime.\nNothing was saved.")
                                          .arg(path)});
    EXPECT_TRUE(m_record.calls.isEmpty());
    EXPECT_TRUE(m_record.saved.isEmpty());
    EXPECT_EQ(m_record.closed, 1);

    EXPECT_FALSE(RunSheet(kNextMonday, QStringLiteral("Gone.xls")));
    EXPECT_TRUE(m_record.opened.size() == 1);
    ASSERT_EQ(Messages().size(), 1);
    EXPECT_TRUE(Messages().first().startsWith(
        QStringLiteral("The time-sheet template \"%1\" cannot be found.")
            .arg(QDir::toNativeSeparators(m_folder + QStringLiteral("Gone.xls")))))
        << Messages().first().toStdString();

    // A pipe in the template's place is never handed to the office.
    ASSERT_EQ(::mkfifo(QFile::encodeName(m_folder + QStringLiteral("Pipe.xls")).constData(), 0600),
              0);
    EXPECT_FALSE(RunSheet(kNextMonday, QStringLiteral("Pipe.xls")));
    EXPECT_EQ(m_record.opened.size(), 1);
    ASSERT_FALSE(Messages().isEmpty());
    EXPECT_TRUE(Messages().last().contains(QStringLiteral("is not a regular file")))
        << Messages().last().toStdString();
}

TEST_P(XlsTimeSheetTest, WithoutTheOfficeOrAnEmployeeTheRunSaysSoAndEnds)
{
    m_office.failure = COfficeError::kUnavailable;
    EXPECT_FALSE(RunSheet());
    ASSERT_EQ(Messages().size(), 1);
    EXPECT_EQ(Messages().first(), QStringLiteral("LibreOffice is not available\nno office here"));
    m_office.failure = COfficeError::kNotStarted;
    EXPECT_FALSE(RunSheet());
    EXPECT_EQ(Messages(), QStringList{QStringLiteral("Cannot start LibreOffice.\nno office here")});
    m_office.failure = COfficeError::kRefused;
    EXPECT_FALSE(RunSheet());
    EXPECT_TRUE(Messages().value(0).contains(QStringLiteral("cannot be opened.\nno office here")));
    m_office.failure.reset();

    // Nobody signed on, or somebody who is no employee: nothing opened.
    m_record = CMacroRecord();
    Option("USER/DefUserName", QString());
    EXPECT_FALSE(RunSheet());
    EXPECT_EQ(Messages(), QStringList{"Please choose a user with Set User first."});
    Option("USER/DefUserName", QStringLiteral("Zed"));
    EXPECT_FALSE(RunSheet());
    EXPECT_EQ(Messages(), QStringList{"\"Zed\" is not an employee: please choose a user with "
                                      "Set User."});
    EXPECT_TRUE(m_record.opened.isEmpty());
}

TEST_P(XlsTimeSheetTest, AnEarlierWorkbookOfTheDayIsReplacedOnlyWhenTheUserSaysSo)
{
    const QString target = m_folder + QStringLiteral("ts_11March24.xls");
    WriteFile(target);
    CRecordingMessages::Current().Answer(kIdNo);
    m_sheet = std::make_unique<CXlsTimeSheet>(m_db, m_folder, QStringLiteral("Mine.xls"));
    m_sheet->SetToday(kNextMonday);
    m_sheet->SetOfficeDocuments(&m_office);
    EXPECT_FALSE(m_sheet->Run());
    EXPECT_TRUE(m_record.opened.isEmpty());
    ASSERT_EQ(Messages().size(), 1);
    EXPECT_TRUE(Messages().first().endsWith(QStringLiteral("already exists.\nDo you want to "
                                                           "replace it?")));
    QFile kept(target);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray("template"));

    CRecordingMessages::Current().Clear();
    CRecordingMessages::Current().Answer(kIdYes);
    EXPECT_TRUE(m_sheet->Run());
    EXPECT_EQ(m_record.saved, QStringList{target});
}

TEST_P(XlsTimeSheetTest, TheProgramsOwnTemplateIsMadeOnFirstUse)
{
    m_office.modules = {{QStringLiteral("TimeSheet"), CTimeSheetTemplate::MacroSource()}};
    m_folder.clear();
    // The documents folder is the process's: left from another back end's run.
    QFile::remove(CTimeSheetTemplate::DefaultPath());
    ASSERT_TRUE(RunSheet(kNextMonday, QString())) << Messages().join('|').toStdString();
    EXPECT_EQ(m_record.made, 1);
    EXPECT_TRUE(QFileInfo::exists(CTimeSheetTemplate::DefaultPath()));
    EXPECT_EQ(m_record.opened, QStringList{CTimeSheetTemplate::DefaultPath()});
    EXPECT_EQ(m_record.saved.last(),
              QDir(CTimeSheetTemplate::DefaultFolder()).filePath("ts_11March24.xls"));
    // The program's macros: the five called, the two kept and helpers.
    const QStringList names = CBasicModule(CTimeSheetTemplate::MacroSource()).ProcedureNames();
    for (const QString& macro : CXlsTimeSheet::RequiredMacros() + CXlsTimeSheet::KeptMacros())
        EXPECT_TRUE(names.contains(macro)) << macro.toStdString();
    EXPECT_GT(names.size(), 7);
    // The next run uses it as it is.
    QFile::remove(m_record.saved.last());
    ASSERT_TRUE(RunSheet(kNextMonday, QString()));
    EXPECT_EQ(m_record.made, 1);
    QFile::remove(m_record.saved.last());
}

KELVANE_INSTANTIATE_BACKENDS(XlsTimeSheetTest);
