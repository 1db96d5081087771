#include "office/BasicModule.h"
#include "office/OfficeSession.h"
#include "review/TimeSheetTemplate.h"
#include "tests/office/KillingOffice.h"
#include "tests/office/OfficeFiles.h"
#include "tests/review/XlsTimeSheetFixture.h"

#include <QFileInfo>

namespace {

// The runs with LibreOffice: one office for the suite.
class XlsTimeSheetOfficeTest : public XlsTimeSheetTest {
protected:
    static void SetUpTestSuite() { s_office = std::make_unique<COfficeSession>(); }
    static void TearDownTestSuite() { s_office.reset(); }

    bool RunWithOffice(const QString& folder, const QString& templateFile)
    {
        CRecordingMessages::Current().Clear();
        CXlsTimeSheet sheet(m_db, folder, templateFile);
        sheet.SetToday(kNextMonday);
        sheet.SetOfficeDocuments(s_office.get());
        return sheet.Run();
    }
    // A saved workbook opened again: its procedures, and its sheet as
    // another program reads it (stored again as .xlsx).
    static CXlsxSheet Reloaded(const QString& path, QStringList& procedures)
    {
        const QString copy = path + QStringLiteral(".xlsx");
        try {
            std::unique_ptr<ISpreadsheet> book = s_office->OpenSpreadsheet(path);
            for (const QString& module : book->MacroModules())
                procedures << CBasicModule(book->MacroModuleCode(module)).ProcedureNames();
            book->SaveAs(copy);
            book->Close();
        } catch (const COfficeError& e) {
            ADD_FAILURE() << e.what();
        }
        return CXlsxSheet(copy);
    }
    // A template made from the program's macros changed by `edit`.
    static void MakeTemplate(const QString& path, const std::function<QString(QString)>& edit)
    {
        std::unique_ptr<ISpreadsheet> book = s_office->NewSpreadsheet();
        book->SetMacroModuleCode(QStringLiteral("Sheets"), edit(CTimeSheetTemplate::MacroSource()));
        book->SaveAs(path);
        book->Close();
    }

    // A saved workbook after its Macro1 ran, as another program reads it.
    static CXlsxSheet AfterMacro1(const QString& path)
    {
        const QString cleared = path + QStringLiteral(".cleared.xlsx");
        try {
            std::unique_ptr<ISpreadsheet> book = s_office->OpenSpreadsheet(path);
            book->RunMacro(QStringLiteral("Macro1"), {});
            book->SaveAs(cleared);
            book->Close();
        } catch (const COfficeError& e) {
            ADD_FAILURE() << e.what();
        }
        return CXlsxSheet(cleared);
    }

    static inline std::unique_ptr<COfficeSession> s_office;
};

} // namespace

TEST_P(XlsTimeSheetOfficeTest, AnOfficeKilledBetweenTwoMacroCallsLeavesTheTemplateUsable)
{
    BookTheWeek();
    const QString templ = m_folder + QStringLiteral("Killed.xls");
    try {
        MakeTemplate(templ, [](const QString& code) { return code; });
    } catch (const COfficeError& e) {
        FAIL() << e.what();
    }
    // Killed after the header's call, before the first line's.
    CRecordingMessages::Current().Clear();
    CKillingOffice killing(*s_office, CKillingOffice::kAfterMacroCalls, 1);
    CXlsTimeSheet sheet(m_db, m_folder, QStringLiteral("Killed.xls"));
    sheet.SetToday(kNextMonday);
    sheet.SetOfficeDocuments(&killing);
    EXPECT_FALSE(sheet.Run());
    ASSERT_EQ(Messages().size(), 1) << Messages().join('|').toStdString();
    // In the user's words; the office's own go to the trace.
    EXPECT_TRUE(Messages().first().startsWith(
        QStringLiteral("The time sheet could not be finished.\nLibreOffice stopped while ")))
        << Messages().first().toStdString();
    EXPECT_FALSE(Messages().first().contains(QStringLiteral("bridge"), Qt::CaseInsensitive));
    const QString saved = m_folder + QStringLiteral("ts_11March24.xls");
    EXPECT_FALSE(QFileInfo::exists(saved));
    // Nothing of the dead office is left beside the template.
    EXPECT_EQ(QDir(m_folder).entryList(QDir::Files | QDir::Hidden),
              (QStringList{"Killed.xls", "Mine.xls"}));

    // The next run, with a fresh office, makes the workbook.
    EXPECT_TRUE(RunWithOffice(m_folder, QStringLiteral("Killed.xls")))
        << Messages().join('|').toStdString();
    QStringList procedures;
    const CXlsxSheet book = Reloaded(saved, procedures);
    EXPECT_EQ(book.Text(QStringLiteral("B2")), QStringLiteral("Mon, Mar 04"));
    EXPECT_EQ(book.Text(QStringLiteral("B11")), QStringLiteral("2"));
}

TEST_P(XlsTimeSheetOfficeTest, TheProgramsTemplateFillsTheWeekAndKeepsTwoMacros)
{
    BookTheWeek();
    // Up to midnight, as the time sheet stores it: ending at 23:59.
    BookAsTheTimeSheet(1, 1, 2, QDate(2024, 3, 7), 23 * 60, 24 * 60, QStringLiteral("Late"));
    const QString folder = CTimeSheetTemplate::DefaultFolder();
    // Made afresh from the source: the documents folder is the process's.
    QFile::remove(CTimeSheetTemplate::DefaultPath());
    const QString saved = QDir(folder).filePath(QStringLiteral("ts_11March24.xls"));
    QFile::remove(saved);
    ASSERT_TRUE(RunWithOffice(QString(), QString())) << Messages().join('|').toStdString();
    ASSERT_TRUE(QFileInfo::exists(CTimeSheetTemplate::DefaultPath()));
    ASSERT_TRUE(QFileInfo::exists(saved));

    QStringList procedures;
    const CXlsxSheet sheet = Reloaded(saved, procedures);
    ASSERT_TRUE(sheet.IsValid());
    EXPECT_EQ(procedures, (QStringList{"Macro1", "Print_time_sheet"}));
    // The header, the first and last times, the lines of each day and the totals.
    const QMap<QString, QString> expected = {{"A1", "Weekly Time Sheet"},
                                             {"B2", "Mon, Mar 04"},
                                             {"E2", "Fri, Mar 08"},
                                             {"B3", "Ann Lee"},
                                             {"F3", "KTS"},
                                             {"B4", "Ann Lee"},
                                             {"B7", "09:00"},
                                             {"B8", "14:30"},
                                             {"C7", "08:00"},
                                             {"D8", "15:00"},
                                             {"E8", "24:00"},
                                             {"F7", ""},
                                             {"B11", "2"},
                                             {"B12", ""},
                                             {"B13", "1.5"},
                                             {"C12", "1"},
                                             {"D12", "0.25"},
                                             {"D14", "1"},
                                             {"E11", "1"},
                                             {"E12", "1"},
                                             {"B9", "3.5"},
                                             {"C9", "1"},
                                             {"D9", "1.25"},
                                             {"E9", "2"},
                                             {"F9", "0"},
                                             {"G9", "7.75"}};
    for (auto it = expected.cbegin(); it != expected.cend(); ++it)
        EXPECT_EQ(sheet.Text(it.key()), it.value()) << it.key().toStdString();
    EXPECT_TRUE(sheet.Cell(QStringLiteral("G9")).number);
    EXPECT_FALSE(sheet.Cell(QStringLiteral("B7")).number);

    // The kept macros still run in the saved workbook: Macro1 empties the week.
    const CXlsxSheet empty = AfterMacro1(saved);
    EXPECT_EQ(empty.Text(QStringLiteral("A1")), QStringLiteral("Weekly Time Sheet"));
    for (const char* cell : {"B2", "B7", "B11", "G9"})
        EXPECT_EQ(empty.Text(QLatin1String(cell)), QString()) << cell;
    QFile::remove(saved);
}

TEST_P(XlsTimeSheetOfficeTest, ACustomTemplatesContinuedDeclarationsSurviveThePruning)
{
    BookTheWeek();
    const QString templ = m_folder + QStringLiteral("Continued.xls");
    try {
        // A declaration over two lines just above a procedure the run drops.
        MakeTemplate(templ, [](QString code) {
            return code.replace(QStringLiteral("Private Const LastLine As Long = 1000"),
                                QStringLiteral("Private Const LastLine As Long = _\n    1000"));
        });
    } catch (const COfficeError& e) {
        FAIL() << e.what();
    }
    ASSERT_TRUE(RunWithOffice(m_folder, QStringLiteral("Continued.xls")))
        << Messages().join('|').toStdString();
    const QString saved = m_folder + QStringLiteral("ts_11March24.xls");
    QStringList procedures;
    EXPECT_EQ(Reloaded(saved, procedures).Text(QStringLiteral("B11")), QStringLiteral("2"));
    EXPECT_EQ(procedures, (QStringList{"Macro1", "Print_time_sheet"}));
    // The module still compiles: Macro1 empties the week.
    const CXlsxSheet empty = AfterMacro1(saved);
    ASSERT_TRUE(empty.IsValid());
    for (const char* cell : {"B2", "B11"})
        EXPECT_EQ(empty.Text(QLatin1String(cell)), QString()) << cell;
}

TEST_P(XlsTimeSheetOfficeTest, ATemplateThatLacksAMacroOrFailsOneIsTold)
{
    BookTheWeek();
    const QString lacking = m_folder + QStringLiteral("Lacking.xls");
    const QString failing = m_folder + QStringLiteral("Failing.xls");
    try {
        MakeTemplate(lacking, [](const QString& code) {
            QString changed = code;
            return changed.replace(QStringLiteral("DailyInOutVals"), QStringLiteral("InOut"));
        });
        // A macro that wants one text more than it is given fails every call.
        MakeTemplate(failing, [](const QString& code) {
            QString changed = code;
            return changed.replace(QStringLiteral("note As String, hours As String)"),
                                   QStringLiteral("note As String, hours As String, x As String)"));
        });
    } catch (const COfficeError& e) {
        FAIL() << e.what();
    }

    EXPECT_FALSE(RunWithOffice(m_folder, QStringLiteral("Lacking.xls")));
    EXPECT_EQ(Messages(), QStringList{QStringLiteral("The time-sheet template \"%1\" lacks the "
                                                     "macro DailyInOutVals.\nNothing was saved.")
                                          .arg(QDir::toNativeSeparators(lacking))});
    const QString saved = m_folder + QStringLiteral("ts_11March24.xls");
    EXPECT_FALSE(QFileInfo::exists(saved));

    EXPECT_TRUE(RunWithOffice(m_folder, QStringLiteral("Failing.xls")));
    ASSERT_EQ(Messages().size(), 2) << Messages().join('|').toStdString();
    EXPECT_TRUE(Messages().at(0).startsWith(
        QStringLiteral("If here, you got the error!\nRunning the macro FillDaysTime")))
        << Messages().at(0).toStdString();
    QStringList procedures;
    const CXlsxSheet sheet = Reloaded(saved, procedures);
    // The other macros did their part.
    EXPECT_EQ(sheet.Text(QStringLiteral("B2")), QStringLiteral("Mon, Mar 04"));
    EXPECT_EQ(sheet.Text(QStringLiteral("B7")), QStringLiteral("09:00"));
    EXPECT_EQ(sheet.Text(QStringLiteral("B11")), QString());
    EXPECT_EQ(sheet.Text(QStringLiteral("G9")), QStringLiteral("0"));

    EXPECT_FALSE(RunWithOffice(m_folder, QStringLiteral("Missing.xls")));
    ASSERT_EQ(Messages().size(), 1);
    EXPECT_TRUE(Messages().first().contains(QStringLiteral("cannot be found")));
}

KELVANE_INSTANTIATE_BACKENDS(XlsTimeSheetOfficeTest);
