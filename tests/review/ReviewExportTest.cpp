#include "office/OfficeSession.h"
#include "office/Spreadsheet.h"
#include "office/TextDocument.h"
#include "tests/office/KillingOffice.h"
#include "tests/office/OfficeFiles.h"
#include "tests/review/ReviewFixture.h"

#include <QDir>
#include <QFileInfo>

namespace {

const QDate kMonday(2024, 3, 4);
const QDate kWednesday(2024, 3, 6);

// One office for the suite; documents are stored in the test's folder.
class ReviewExportTest : public ReviewTest {
protected:
    static void SetUpTestSuite() { s_office = std::make_unique<COfficeSession>(); }
    static void TearDownTestSuite() { s_office.reset(); }
    void SetUp() override
    {
        ReviewTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        s_office->SetPresentation(COfficeSession::Presentation::Store);
        s_office->SetStoreFolder(TestEnv::TestDir() + QStringLiteral("/documents"));
        Open();
        m_window->SetOfficeDocuments(s_office.get());
    }
    QString ExportList()
    {
        CRecordingMessages::Current().Clear();
        m_window->OnCommand(CReviewDlg::kIdExportList);
        return m_window->LastExportFile();
    }
    QString ExportDays()
    {
        CRecordingMessages::Current().Clear();
        m_window->OnCommand(CReviewDlg::kIdExportDays);
        return m_window->LastExportFile();
    }
    // The texts of a row of cells, from a column on.
    static QStringList Row(const CXlsxSheet& sheet, int row, int firstColumn, int columns)
    {
        QStringList texts;
        for (int c = firstColumn; c < firstColumn + columns; ++c)
            texts << sheet.Text(QStringLiteral("%1%2").arg(QChar('A' + c)).arg(row));
        return texts;
    }

    static inline std::unique_ptr<COfficeSession> s_office;
};

// Days since 30 December 1899.
QString Serial(const QDate& day)
{
    return QString::number(QDate(1899, 12, 30).daysTo(day));
}

} // namespace

TEST_P(ReviewExportTest, TheListByProjectAndTaskWithItsTotals)
{
    BookTheWeek();
    Review(kMonday, kWednesday);
    const QString file = ExportList();
    ASSERT_FALSE(file.isEmpty()) << Messages().join('|').toStdString();
    EXPECT_TRUE(Messages().isEmpty()) << Messages().join('|').toStdString();
    EXPECT_EQ(QFileInfo(file).fileName(),
              QStringLiteral("Week review 2024-03-04 to 2024-03-06.xlsx"));
    const CXlsxSheet sheet(file);
    ASSERT_TRUE(sheet.IsValid());
    EXPECT_EQ(Row(sheet, 1, 0, 6),
              (QStringList{"User", "Project", "Date Start", "Date Stop", "# Days", "Total Hours"}));
    for (const char* cell : {"A1", "F1", "B5", "D5", "C11"})
        EXPECT_TRUE(sheet.Cell(QLatin1String(cell)).bold) << cell;
    EXPECT_FALSE(sheet.Cell(QStringLiteral("A2")).bold);
    EXPECT_EQ(sheet.Text(QStringLiteral("A2")), QStringLiteral("All"));
    EXPECT_EQ(sheet.Text(QStringLiteral("B2")), QStringLiteral("All"));
    EXPECT_TRUE(sheet.Cell(QStringLiteral("C2")).date);
    EXPECT_EQ(sheet.Text(QStringLiteral("C2")), Serial(kMonday));
    EXPECT_EQ(sheet.Text(QStringLiteral("D2")), Serial(kWednesday));
    EXPECT_FALSE(sheet.Cell(QStringLiteral("E2")).number);
    EXPECT_EQ(sheet.Text(QStringLiteral("E2")), QStringLiteral("3"));
    EXPECT_TRUE(sheet.Cell(QStringLiteral("F2")).number);
    EXPECT_EQ(sheet.Text(QStringLiteral("F2")).toDouble(), 10.75);
    EXPECT_EQ(Row(sheet, 5, 1, 6), (QStringList{"Project", "Task", "Total", "Mon, Mar 04",
                                                "Tue, Mar 05", "Wed, Mar 06"}));
    // A project and task on one line, whatever order the rows were booked in.
    EXPECT_EQ(Row(sheet, 6, 1, 6),
              (QStringList{"Apollo", "Launch", "5.50", "1.50", "0.00", "4.00"}));
    EXPECT_EQ(Row(sheet, 7, 1, 6),
              (QStringList{"Bridge", "Build", "4.00", "3.00", "0.00", "1.00"}));
    EXPECT_EQ(Row(sheet, 8, 1, 6),
              (QStringList{"Bridge", "Design", "1.00", "0.00", "1.00", "0.00"}));
    EXPECT_EQ(Row(sheet, 9, 1, 6),
              (QStringList{"O'Neil's Barn", "Roof", "0.25", "0.00", "0.00", "0.25"}));
    EXPECT_EQ(Row(sheet, 10, 0, 8), QStringList(8, QString()));
    EXPECT_EQ(Row(sheet, 11, 2, 5), (QStringList{"Total", "10.75", "4.50", "1.00", "5.25"}));
    EXPECT_TRUE(sheet.Cell(QStringLiteral("D11")).number);
    EXPECT_EQ(sheet.LastRow(), 11);
    // Columns A to F fitted to their contents.
    EXPECT_GT(sheet.ColumnWidth(5), 0);

    // Once more without a new review: the same workbook.
    const QString again = ExportList();
    ASSERT_NE(again, file);
    const CXlsxSheet second(again);
    EXPECT_EQ(second.FilledCells(), sheet.FilledCells());
    for (const QString& cell : sheet.FilledCells())
        EXPECT_EQ(second.Text(cell), sheet.Text(cell)) << cell.toStdString();
}

TEST_P(ReviewExportTest, TheListKeepsNamesThatDifferOnlyInCaseApart)
{
    BookCaseVariants();
    Review(kMonday, kWednesday);
    const CXlsxSheet sheet(ExportList());
    EXPECT_TRUE(Messages().isEmpty()) << Messages().join('|').toStdString();
    EXPECT_EQ(Row(sheet, 6, 1, 6), (QStringList{"Atlas", "Build", "2.00", "1.00", "0.00", "1.00"}));
    EXPECT_EQ(Row(sheet, 7, 1, 6), (QStringList{"Atlas", "build", "2.00", "1.00", "1.00", "0.00"}));
    EXPECT_EQ(Row(sheet, 8, 1, 6), (QStringList{"ATLAS", "Build", "1.00", "0.00", "1.00", "0.00"}));
    EXPECT_EQ(Row(sheet, 10, 2, 5), (QStringList{"Total", "5", "2.00", "2.00", "1.00"}));
}

TEST_P(ReviewExportTest, DayByDayWithRowsTheTimeSheetBooked)
{
    // Booked as the time sheet books: the block up to midnight is stored
    // as ending at 23:59, the cost from the order's rate of 80.
    BookAsTheTimeSheet(1, 1, 2, kMonday, 22 * 60, 24 * 60, QStringLiteral("Late"));
    BookAsTheTimeSheet(1, 1, 2, kMonday, 9 * 60, 11 * 60 + 30, QStringLiteral("Paste\vfrom\aWord"));
    Review(kMonday, kMonday, QStringLiteral("Ann Lee"));
    const CXlsxSheet sheet(ExportDays());
    EXPECT_TRUE(Messages().isEmpty()) << Messages().join('|').toStdString();
    // The same value written the same way on both back ends.
    EXPECT_EQ(Row(sheet, 7, 1, 7), (QStringList{"04/03/24", "Bridge", "Paste\nfromWord", "09:00",
                                                "11:30", "2.500000", "200"}));
    EXPECT_EQ(Row(sheet, 8, 2, 6),
              (QStringList{"Bridge", "Late", "22:00", "24:00", "2.000000", "160"}));
}

TEST_P(ReviewExportTest, AProjectFilterAndAllInAnyCase)
{
    BookTheWeek();
    m_window->SetProjectFilter(QStringLiteral("O'Neil's Barn"));
    Review(kMonday, kWednesday, QStringLiteral("Ann Lee"));
    CXlsxSheet sheet(ExportList());
    EXPECT_EQ(Row(sheet, 2, 0, 2), (QStringList{"Ann Lee", "O'Neil's Barn"}));
    EXPECT_EQ(Row(sheet, 6, 1, 3), (QStringList{"O'Neil's Barn", "Roof", "0.25"}));
    EXPECT_EQ(sheet.Text(QStringLiteral("C8")), QStringLiteral("Total"));
    m_window->SetProjectFilter(QStringLiteral("all"));
    Review(kMonday, kWednesday, QStringLiteral("Ann Lee"));
    sheet = CXlsxSheet(ExportList());
    EXPECT_TRUE(Messages().isEmpty()) << Messages().join('|').toStdString();
    EXPECT_EQ(sheet.Text(QStringLiteral("B2")), QStringLiteral("all"));
    EXPECT_EQ(sheet.Text(QStringLiteral("C11")), QStringLiteral("Total"));
    EXPECT_EQ(sheet.Text(QStringLiteral("D11")).toDouble(), 5.75);
}

TEST_P(ReviewExportTest, NoRecordsGiveTheFrameAndZeroTotals)
{
    Review(kMonday, kWednesday);
    const CXlsxSheet sheet(ExportList());
    ASSERT_TRUE(sheet.IsValid());
    EXPECT_EQ(sheet.Text(QStringLiteral("A1")), QStringLiteral("User"));
    EXPECT_EQ(sheet.Text(QStringLiteral("G5")), QStringLiteral("Wed, Mar 06"));
    EXPECT_TRUE(sheet.Text(QStringLiteral("B6")).isEmpty());
    EXPECT_EQ(Row(sheet, 7, 2, 5), (QStringList{"Total", "0", "0.00", "0.00", "0.00"}));
}

TEST_P(ReviewExportTest, ThreeHundredDaysAreCutTo250OnRequest)
{
    const QDate start(2024, 1, 1);
    Book(1, 1, 2, start, 9 * 60, 11 * 60);
    Book(1, 1, 2, start.addDays(249), 9 * 60, 10 * 60);
    // After the 250th day only: no line.
    Book(1, 3, 4, start.addDays(260), 9 * 60, 13 * 60);
    Review(start, start.addDays(299));
    CRecordingMessages::Current().Clear();
    CRecordingMessages::Current().Answer(kIdYes);
    m_window->OnCommand(CReviewDlg::kIdExportList);
    const CXlsxSheet sheet(m_window->LastExportFile());
    EXPECT_EQ(Messages(), QStringList{QStringLiteral(
                              "Sorry, you can only export 250 days of data - you are trying to "
                              "export 300 days.\n Do you want 250 days?")});
    ASSERT_TRUE(sheet.IsValid()) << m_window->LastExportFile().toStdString();
    EXPECT_EQ(sheet.Text(QStringLiteral("D2")), Serial(start.addDays(249)));
    EXPECT_EQ(sheet.Text(QStringLiteral("E2")), QStringLiteral("250"));
    EXPECT_EQ(sheet.Text(QStringLiteral("F2")).toDouble(), 3);
    // 250 day columns: E to IT.
    EXPECT_EQ(sheet.Text(QStringLiteral("IT5")), QStringLiteral("Fri, Sep 06"));
    EXPECT_TRUE(sheet.Text(QStringLiteral("IU5")).isEmpty());
    EXPECT_EQ(sheet.Text(QStringLiteral("B6")), QStringLiteral("Bridge"));
    EXPECT_EQ(sheet.Text(QStringLiteral("IT6")), QStringLiteral("1.00"));
    EXPECT_EQ(sheet.Text(QStringLiteral("C8")), QStringLiteral("Total"));
    EXPECT_EQ(sheet.Text(QStringLiteral("D8")).toDouble(), 3);
    EXPECT_FALSE(sheet.Text(QStringLiteral("B7")) == QStringLiteral("Apollo"));

    // Exactly 250 days: no question.
    Review(start, start.addDays(249));
    const CXlsxSheet exact(ExportList());
    EXPECT_TRUE(Messages().isEmpty());
    EXPECT_EQ(exact.Text(QStringLiteral("E2")), QStringLiteral("250"));
}

TEST_P(ReviewExportTest, DayByDayInTimeOrderWithAGapAfterEachDay)
{
    BookTheWeek();
    Review(kMonday, kWednesday);
    const QString file = ExportDays();
    ASSERT_FALSE(file.isEmpty()) << Messages().join('|').toStdString();
    EXPECT_EQ(QFileInfo(file).fileName(),
              QStringLiteral("Week review by day 2024-03-04 to 2024-03-06.xlsx"));
    const CXlsxSheet sheet(file);
    const CXlsxSheet::CCell title = sheet.Cell(QStringLiteral("A1"));
    EXPECT_EQ(title.text, QStringLiteral("Day-by-Day timesheet review"));
    EXPECT_TRUE(title.bold);
    EXPECT_TRUE(title.underline);
    EXPECT_EQ(title.size, 10);
    EXPECT_EQ(sheet.Text(QStringLiteral("B3")), QStringLiteral("All"));
    EXPECT_EQ(sheet.Text(QStringLiteral("B4")), QStringLiteral("04/03/24 - 06/03/24"));
    EXPECT_TRUE(sheet.Cell(QStringLiteral("B4")).bold);
    EXPECT_EQ(Row(sheet, 6, 1, 10),
              (QStringList{"Date       ", "Project", "Comment", "Start", "Stop", "Hours", "Value",
                           "Task", "Order", "Work Type"}));
    EXPECT_TRUE(sheet.Cell(QStringLiteral("K6")).bold);
    EXPECT_EQ(sheet.Cell(QStringLiteral("B6")).fillColor, QStringLiteral("339966"));
    EXPECT_EQ(Row(sheet, 7, 1, 6),
              (QStringList{"04/03/24", "Bridge", "Beams", "08:00", "09:00", "1.000000"}));
    EXPECT_EQ(Row(sheet, 7, 8, 3), (QStringList{"Build", "B-100", "Development"}));
    EXPECT_EQ(Row(sheet, 8, 2, 5),
              (QStringList{"Bridge", "Girders", "09:00", "11:00", "2.000000"}));
    EXPECT_EQ(Row(sheet, 9, 2, 5), (QStringList{"Apollo", "Fuel", "13:00", "14:30", "1.500000"}));
    EXPECT_EQ(Row(sheet, 10, 1, 10), QStringList(10, QString()));
    EXPECT_EQ(Row(sheet, 11, 1, 3), (QStringList{"05/03/24", "Bridge", "Sketch"}));
    EXPECT_TRUE(sheet.Text(QStringLiteral("B12")).isEmpty());
    EXPECT_EQ(Row(sheet, 13, 3, 1), QStringList{"Countdown"});
    EXPECT_EQ(Row(sheet, 14, 3, 1), QStringList{"Tiles"});
    EXPECT_EQ(Row(sheet, 15, 3, 1), QStringList{"Rivets"});
    EXPECT_EQ(sheet.LastRow(), 15);
}

TEST_P(ReviewExportTest, DayByDayOneDayLongCommentsAndTimesOfDay)
{
    Book(1, 1, 2, kMonday, 9 * 60, 10 * 60, QString(120, QLatin1Char('c')));
    // A day stored with a time of day is listed on its day and ends nothing.
    Exec(QStringLiteral("UPDATE tblTimeSheet SET WorkDate = ? WHERE Comment LIKE 'ccc%'"),
         {QVariant::fromValue(CDateTime(kMonday, QTime(10, 0)))});
    Book(1, 1, 1, kWednesday, 9 * 60, 10 * 60, QStringLiteral("Later"));
    Review(kMonday, kWednesday, QStringLiteral("Ann Lee"));
    CXlsxSheet sheet(ExportDays());
    EXPECT_EQ(sheet.Text(QStringLiteral("B3")), QStringLiteral("Ann Lee"));
    EXPECT_EQ(sheet.Text(QStringLiteral("D7")), QString(120, QLatin1Char('c')));
    EXPECT_EQ(sheet.Text(QStringLiteral("D9")), QStringLiteral("Later"));
    EXPECT_NEAR(sheet.ColumnWidth(3), 50, 0.5);
    // One day: one date, no " - ".
    Review(kWednesday, kWednesday, QStringLiteral("Ann Lee"));
    sheet = CXlsxSheet(ExportDays());
    EXPECT_EQ(sheet.Text(QStringLiteral("B4")), QStringLiteral("06/03/24"));
    EXPECT_EQ(sheet.Text(QStringLiteral("D7")), QStringLiteral("Later"));
}

TEST_P(ReviewExportTest, FailedQueriesAreToldAndNothingIsShown)
{
    BookTheWeek();
    Review(kMonday, kWednesday);
    Exec(QStringLiteral("DROP VIEW qselTimeJoinProjectTaskOrderAll"));
    EXPECT_TRUE(ExportDays().isEmpty());
    EXPECT_TRUE(Messages().contains(QStringLiteral("Unable to open Project Task Times table")))
        << Messages().join('|').toStdString();
    Exec(QStringLiteral("DROP VIEW qselTimeByProjectTaskByDay"));
    EXPECT_TRUE(ExportList().isEmpty());
    EXPECT_TRUE(Messages().contains(QStringLiteral("Unable to open Project Task Times table")));
    EXPECT_FALSE(QFileInfo::exists(TestEnv::TestDir() + QStringLiteral("/documents")));
}

TEST_P(ReviewExportTest, AnOfficeKilledMidExportIsToldAndTheNextExportWorks)
{
    BookTheWeek();
    Review(kMonday, kWednesday);
    CKillingOffice dying(*s_office, CKillingOffice::kAfterNewWorkbook);
    m_window->SetOfficeDocuments(&dying);
    EXPECT_TRUE(ExportList().isEmpty());
    ASSERT_EQ(Messages().size(), 1);
    // In the user's words, not the office's.
    EXPECT_TRUE(Messages().first().startsWith(
        QStringLiteral("The workbook could not be finished.\nLibreOffice stopped while ")))
        << Messages().first().toStdString();
    for (const char* internal : {"bridge", "binaryurp", "0x", ".cxx"})
        EXPECT_FALSE(Messages().first().contains(QLatin1String(internal), Qt::CaseInsensitive))
            << Messages().first().toStdString();
    m_window->SetOfficeDocuments(s_office.get());
    const QString file = ExportList();
    EXPECT_TRUE(Messages().isEmpty()) << Messages().join('|').toStdString();
    EXPECT_EQ(CXlsxSheet(file).Text(QStringLiteral("B6")), QStringLiteral("Apollo"));
}

TEST_P(ReviewExportTest, AnOfficeKilledWhileSavingTheExportLeavesThatPeriodExportable)
{
    BookTheWeek();
    Review(kMonday, kWednesday);
    const QString folder = TestEnv::TestDir() + QStringLiteral("/documents");
    CKillingOffice dying(*s_office, folder);
    m_window->SetOfficeDocuments(&dying);
    EXPECT_TRUE(ExportList().isEmpty());
    EXPECT_EQ(Messages(), QStringList{QStringLiteral("The workbook could not be finished.\n"
                                                     "LibreOffice stopped while saving the "
                                                     "document.")});
    // The same period again: the file it was saving, its lock cleared.
    m_window->SetOfficeDocuments(s_office.get());
    const QString file = ExportList();
    EXPECT_TRUE(Messages().isEmpty()) << Messages().join('|').toStdString();
    EXPECT_EQ(QFileInfo(file).fileName(),
              QStringLiteral("Week review 2024-03-04 to 2024-03-06.xlsx"));
    EXPECT_EQ(CXlsxSheet(file).Text(QStringLiteral("B6")), QStringLiteral("Apollo"));
    EXPECT_TRUE(
        QDir(folder).entryList({QStringLiteral(".~lock.*")}, QDir::Files | QDir::Hidden).isEmpty());
}

KELVANE_INSTANTIATE_BACKENDS(ReviewExportTest);
