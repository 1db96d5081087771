#include "office/TextDocument.h"
#include "tests/office/OfficeFiles.h"
#include "tests/office/OfficeFixture.h"

#include <memory>

namespace {

using TextDocumentTest = OfficeTest;

} // namespace

TEST_F(TextDocumentTest, HeadingsAndATableWrittenLikeWordsSelection)
{
    std::unique_ptr<ITextDocument> doc;
    OFFICE_CALL(doc = Session().NewTextDocument());
    const QString file = Path(QStringLiteral("report.docx"));
    OFFICE_CALL({
        doc->TypeText(QStringLiteral("Change Requests "));
        doc->SetStyle(QStringLiteral("Heading 1"));
        doc->TypeParagraph();
        doc->TypeText(QStringLiteral("01/03/24  09:30"));
        doc->SetStyle(QStringLiteral("Heading 2"));
        doc->TypeParagraph();
        doc->TypeParagraph();
        doc->AddTable(1, 2);
        // Row 1: a label and its value; stepping on from the last cell adds row 2.
        doc->TypeText(QStringLiteral("Project "));
        doc->MoveRightCell();
        doc->TypeText(QStringLiteral("Bridge"));
        doc->MoveRightCell();
        EXPECT_EQ(doc->RowCount(), 2);
        // Shading and bold of the new row go on to the rows added after it.
        doc->ShadeRow(2, 15);
        doc->SetRowBold(2, true);
        doc->TypeText(QStringLiteral("ID"));
        doc->MoveRightCell();
        doc->TypeText(QStringLiteral("17"));
        doc->MoveRightCell();
        doc->ShadeRow(3, 8);
        doc->SetRowBold(3, false);
        // Row 3 merged into one cell; the next step adds row 4 with one cell.
        doc->MergeRow(3);
        doc->TypeText(QStringLiteral("1. An open item"));
        doc->MoveRightCell();
        EXPECT_EQ(doc->RowCount(), 4);
        doc->SplitRow(4, 2);
        doc->TypeText(QStringLiteral("Actions"));
        doc->MoveRightCell();
        doc->TypeText(QStringLiteral("Call back\nWrite up\n"));
        doc->SetCellBold(4, 2, true);
        doc->SaveAs(file);
        doc->Close();
    });
    const CDocxBody body(file);
    ASSERT_TRUE(body.IsValid());
    const QStringList paragraphs = body.Paragraphs();
    ASSERT_GE(paragraphs.size(), 2);
    EXPECT_EQ(paragraphs.at(0), QStringLiteral("Heading1: Change Requests "));
    EXPECT_EQ(paragraphs.at(1), QStringLiteral("Heading2: 01/03/24  09:30"));
    const auto rows = body.FirstTable();
    ASSERT_EQ(rows.size(), 4);
    ASSERT_EQ(rows.at(0).size(), 2);
    EXPECT_EQ(rows.at(0).at(0).text, QStringLiteral("Project "));
    EXPECT_EQ(rows.at(0).at(1).text, QStringLiteral("Bridge"));
    EXPECT_TRUE(rows.at(0).at(0).fill.isEmpty());
    EXPECT_FALSE(rows.at(0).at(0).bold);
    ASSERT_EQ(rows.at(1).size(), 2);
    EXPECT_EQ(rows.at(1).at(0).text, QStringLiteral("ID"));
    EXPECT_EQ(rows.at(1).at(0).fill, QStringLiteral("808080"));
    EXPECT_TRUE(rows.at(1).at(0).bold);
    EXPECT_TRUE(rows.at(1).at(1).bold);
    ASSERT_EQ(rows.at(2).size(), 1);
    EXPECT_EQ(rows.at(2).at(0).span, 2);
    EXPECT_EQ(rows.at(2).at(0).text, QStringLiteral("1. An open item"));
    EXPECT_EQ(rows.at(2).at(0).fill, QStringLiteral("FFFFFF"));
    EXPECT_FALSE(rows.at(2).at(0).bold);
    ASSERT_EQ(rows.at(3).size(), 2);
    EXPECT_EQ(rows.at(3).at(0).text, QStringLiteral("Actions"));
    EXPECT_FALSE(rows.at(3).at(0).bold);
    EXPECT_EQ(rows.at(3).at(1).text, QStringLiteral("Call back\nWrite up\n"));
    EXPECT_TRUE(rows.at(3).at(1).bold);
}

TEST_F(TextDocumentTest, TableOperationsNeedATableAndRealRows)
{
    std::unique_ptr<ITextDocument> doc;
    OFFICE_CALL(doc = Session().NewTextDocument());
    EXPECT_THROW(doc->MoveRightCell(), COfficeError);
    EXPECT_THROW(doc->AddTable(0, 2), COfficeError);
    OFFICE_CALL(doc->AddTable(1, 2));
    EXPECT_THROW(doc->MergeRow(5), COfficeError);
    EXPECT_THROW(doc->SetCellBold(1, 3, true), COfficeError);
    EXPECT_THROW(doc->SaveAs(Path(QStringLiteral("report.xlsx"))), COfficeError);
    OFFICE_CALL(doc->Close());
    EXPECT_THROW(doc->TypeText(QStringLiteral("x")), COfficeError);
}
