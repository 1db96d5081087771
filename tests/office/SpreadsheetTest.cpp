#include "office/Spreadsheet.h"
#include "tests/office/OfficeFiles.h"
#include "tests/office/OfficeFixture.h"

#include <QDate>
#include <QFile>

#include <memory>

namespace {

using SpreadsheetTest = OfficeTest;

} // namespace

TEST_F(SpreadsheetTest, ValuesKeepTheirKindsInTheStoredWorkbook)
{
    std::unique_ptr<ISpreadsheet> sheet;
    OFFICE_CALL(sheet = Session().NewSpreadsheet());
    const QString file = Path(QStringLiteral("values.xlsx"));
    OFFICE_CALL({
        sheet->SetValue(QStringLiteral("A1"), QStringLiteral("User"));
        // Texts stay texts however they look; short rows leave cells empty.
        sheet->SetValues(QStringLiteral("B2"),
                         {{QStringLiteral("12.50"), 12.5, QStringLiteral("=SUM(1)")},
                          {QDate(2024, 3, 1), QStringLiteral("Ann's \"café\" ✓")},
                          {42}});
        sheet->SetValue(QStringLiteral("D2"), QVariant());
        sheet->SaveAs(file);
        sheet->Close();
    });
    const CXlsxSheet read(file);
    ASSERT_TRUE(read.IsValid());
    EXPECT_EQ(read.Text(QStringLiteral("A1")), QStringLiteral("User"));
    EXPECT_FALSE(read.Cell(QStringLiteral("B2")).number);
    EXPECT_EQ(read.Text(QStringLiteral("B2")), QStringLiteral("12.50"));
    EXPECT_TRUE(read.Cell(QStringLiteral("C2")).number);
    EXPECT_EQ(read.Text(QStringLiteral("C2")).toDouble(), 12.5);
    EXPECT_TRUE(read.Text(QStringLiteral("D2")).isEmpty());
    // 1 March 2024 is day 45352 of the spreadsheet's calendar, shown as a date.
    EXPECT_TRUE(read.Cell(QStringLiteral("B3")).date);
    EXPECT_EQ(read.Text(QStringLiteral("B3")).toDouble(), 45352);
    EXPECT_EQ(read.Text(QStringLiteral("C3")), QStringLiteral("Ann's \"café\" ✓"));
    EXPECT_EQ(read.Text(QStringLiteral("B4")).toDouble(), 42);
    EXPECT_EQ(read.FilledCells(), (QStringList{"A1", "B2", "B3", "B4", "C2", "C3"}));
    // A closed workbook refuses further work.
    EXPECT_THROW(sheet->SetValue(QStringLiteral("A1"), 1), COfficeError);
}

TEST_F(SpreadsheetTest, FormatsAndColumnWidthsAreStored)
{
    std::unique_ptr<ISpreadsheet> sheet;
    OFFICE_CALL(sheet = Session().NewSpreadsheet());
    const QString file = Path(QStringLiteral("formats.xlsx"));
    const QString longText(80, QLatin1Char('x'));
    double fitted = 0;
    OFFICE_CALL({
        sheet->SetValues(QStringLiteral("A1"), {{QStringLiteral("Bold"), QStringLiteral("Title"),
                                                 QStringLiteral("Plain"), longText}});
        sheet->SetValue(QStringLiteral("E1"), longText);
        sheet->SetBold(QStringLiteral("A1:B1"), true);
        sheet->SetFontSize(QStringLiteral("B1"), 14);
        sheet->SetUnderline(QStringLiteral("B1"), 2);
        sheet->SetFontColorIndex(QStringLiteral("B1"), 3);
        sheet->SetInteriorColorIndex(QStringLiteral("C1"), 50);
        sheet->AutoFitColumns(QStringLiteral("D1:E1"));
        fitted = sheet->ColumnWidth(QStringLiteral("D1"));
        sheet->SetColumnWidth(QStringLiteral("E1"), 50);
        sheet->SaveAs(file);
        sheet->Close();
    });
    const CXlsxSheet read(file);
    ASSERT_TRUE(read.IsValid());
    EXPECT_TRUE(read.Cell(QStringLiteral("A1")).bold);
    const CXlsxSheet::CCell title = read.Cell(QStringLiteral("B1"));
    EXPECT_TRUE(title.bold);
    EXPECT_TRUE(title.underline);
    EXPECT_EQ(title.size, 14);
    EXPECT_EQ(title.fontColor, QStringLiteral("FF0000"));
    const CXlsxSheet::CCell plain = read.Cell(QStringLiteral("C1"));
    EXPECT_FALSE(plain.bold);
    EXPECT_FALSE(plain.underline);
    EXPECT_EQ(plain.fillColor, QStringLiteral("339966"));
    // 80 characters need about 80 characters of width; 50 stays 50.
    EXPECT_GT(fitted, 70);
    EXPECT_NEAR(read.ColumnWidth(3), fitted, 1.5);
    EXPECT_NEAR(read.ColumnWidth(4), 50, 0.5);
}

TEST_F(SpreadsheetTest, RefusedCallsThrowAndTheWorkbookGoesOn)
{
    std::unique_ptr<ISpreadsheet> sheet;
    OFFICE_CALL(sheet = Session().NewSpreadsheet());
    EXPECT_THROW(sheet->SetValue(QStringLiteral("1A"), 1), COfficeError);
    EXPECT_THROW(sheet->SetInteriorColorIndex(QStringLiteral("A1"), 57), COfficeError);
    EXPECT_THROW(sheet->SetUnderline(QStringLiteral("A1"), 7), COfficeError);
    EXPECT_THROW(sheet->SetColumnWidth(QStringLiteral("A1"), 300), COfficeError);
    EXPECT_THROW(sheet->SaveAs(Path(QStringLiteral("book.txt"))), COfficeError);
    EXPECT_THROW(sheet->RunMacro(QStringLiteral("Missing"), {}), COfficeError);
    EXPECT_THROW(sheet->RemoveMacroModule(QStringLiteral("Missing")), COfficeError);
    // Nor a place that cannot be written: a file stands where a folder should.
    QFile blocker(Path(QStringLiteral("blocker")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    // Said in the user's words, naming the folder; the office's own account
    // is for the trace.
    try {
        sheet->SaveAs(Path(QStringLiteral("blocker/book.xlsx")));
        ADD_FAILURE() << "stored where no folder is";
    } catch (const COfficeError& e) {
        EXPECT_EQ(QString::fromUtf8(e.what()),
                  QStringLiteral("The folder \"%1\" cannot be written.")
                      .arg(Path(QStringLiteral("blocker"))));
        EXPECT_FALSE(e.Detail().empty());
    }
    // A file another office has open.
    const QString busy = Path(QStringLiteral("busy.xlsx"));
    OFFICE_CALL(sheet->SaveAs(busy));
    QFile lock(Path(QStringLiteral(".~lock.busy.xlsx#")));
    ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
    lock.write("Someone,someone,pc7,01.03.2024 09:00,file:///home/someone/.config/libreoffice/4;");
    lock.close();
    ASSERT_TRUE(QFile::setPermissions(busy, QFileDevice::ReadOwner));
    try {
        sheet->SaveAs(busy);
        ADD_FAILURE() << "stored over a file in use";
    } catch (const COfficeError& e) {
        EXPECT_EQ(QString::fromUtf8(e.what()),
                  QStringLiteral("\"%1\" is open in LibreOffice elsewhere (Someone on pc7 since "
                                 "01.03.2024 09:00).\nClose it there and try again.")
                      .arg(busy));
    }
    const QString file = Path(QStringLiteral("after.xlsx"));
    OFFICE_CALL({
        sheet->SetValue(QStringLiteral("A1"), QStringLiteral("still fine"));
        sheet->SaveAs(file);
    });
    EXPECT_EQ(CXlsxSheet(file).Text(QStringLiteral("A1")), QStringLiteral("still fine"));
}

TEST_F(SpreadsheetTest, ControlCharactersNeverEmptyACell)
{
    // Pasted text brings Word's manual line break (a vertical tab) and
    // other control characters; the office would drop such a text whole.
    std::unique_ptr<ISpreadsheet> sheet;
    OFFICE_CALL(sheet = Session().NewSpreadsheet());
    const QString file = Path(QStringLiteral("controls.xlsx"));
    OFFICE_CALL({
        sheet->SetValues(QStringLiteral("A1"),
                         {{QStringLiteral("Line one\vLine two"), QStringLiteral("Ring\a\x1b ✓"),
                           QStringLiteral("Tab\tkept")}});
        sheet->SaveAs(file);
        sheet->Close();
    });
    const CXlsxSheet read(file);
    EXPECT_EQ(read.Text(QStringLiteral("A1")), QStringLiteral("Line one\nLine two"));
    EXPECT_EQ(read.Text(QStringLiteral("B1")), QStringLiteral("Ring ✓"));
    EXPECT_EQ(read.Text(QStringLiteral("C1")), QStringLiteral("Tab\tkept"));
}

TEST_F(SpreadsheetTest, MacrosRunAndTravelWithTheWorkbook)
{
    const QString fill =
        QStringLiteral("Sub FillCell(cell As String, text As String)\n"
                       "    ThisComponent.Sheets(0).getCellRangeByName(cell).String = text\n"
                       "End Sub\n"
                       "Function Twice(text As String) As String\n"
                       "    Twice = text & text\n"
                       "End Function\n");
    const QString other = QStringLiteral("Sub Unwanted()\nEnd Sub\n");
    const QString xlsm = Path(QStringLiteral("template.xlsm"));
    {
        std::unique_ptr<ISpreadsheet> sheet;
        OFFICE_CALL(sheet = Session().NewSpreadsheet());
        OFFICE_CALL({
            EXPECT_TRUE(sheet->MacroModules().isEmpty());
            sheet->SetMacroModuleCode(QStringLiteral("Filler"), fill);
            sheet->SetMacroModuleCode(QStringLiteral("Other"), other);
            EXPECT_EQ(sheet->RunMacro(QStringLiteral("Filler.Twice"), {QStringLiteral("ab")}),
                      QVariant(QStringLiteral("abab")));
            sheet->SaveAs(xlsm);
            sheet->Close();
        });
    }
    // The template opened again: its macros run with string arguments, and
    // a module removed is gone from the workbook saved after.
    const QString saved = Path(QStringLiteral("saved.xlsm"));
    const QString old = Path(QStringLiteral("saved.xls"));
    {
        std::unique_ptr<ISpreadsheet> sheet;
        OFFICE_CALL(sheet = Session().OpenSpreadsheet(xlsm));
        OFFICE_CALL({
            QStringList modules = sheet->MacroModules();
            EXPECT_TRUE(modules.contains(QStringLiteral("Filler")))
                << modules.join(',').toStdString();
            EXPECT_TRUE(modules.contains(QStringLiteral("Other")));
            EXPECT_TRUE(
                sheet->MacroModuleCode(QStringLiteral("Filler")).contains("Function Twice"));
            sheet->RunMacro(QStringLiteral("FillCell"),
                            {QStringLiteral("B2"), QStringLiteral("héllo")});
            sheet->RemoveMacroModule(QStringLiteral("Other"));
            EXPECT_FALSE(sheet->MacroModules().contains(QStringLiteral("Other")));
            sheet->SaveAs(saved);
            sheet->SaveAs(old);
            sheet->Close();
        });
    }
    EXPECT_EQ(CXlsxSheet(saved).Text(QStringLiteral("B2")), QStringLiteral("héllo"));
    for (const QString& file : {saved, old}) {
        std::unique_ptr<ISpreadsheet> sheet;
        OFFICE_CALL(sheet = Session().OpenSpreadsheet(file));
        OFFICE_CALL({
            const QStringList modules = sheet->MacroModules();
            EXPECT_TRUE(modules.contains(QStringLiteral("Filler"))) << file.toStdString();
            EXPECT_FALSE(modules.contains(QStringLiteral("Other"))) << file.toStdString();
            EXPECT_EQ(sheet->RunMacro(QStringLiteral("Twice"), {QStringLiteral("x")}),
                      QVariant(QStringLiteral("xx")));
            sheet->Close();
        });
    }
}
