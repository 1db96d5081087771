#include "records/ChgRqstReport.h"
#include "tests/support/QtPrinters.h"
#include "ui/Utilities.h"

#include <gtest/gtest.h>

namespace {

class ChgRqstReportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CRegionalFormats formats;
        formats.dateFormat = QStringLiteral("%d/%m/%y");
        formats.timeFormat = QStringLiteral("%H:%M");
        SetRegionalFormats(formats);
    }

    static CChgRqstReportItem Item(int id, const QString& reference, const QString& text,
                                   const CDateTime& completed = {})
    {
        CChgRqstReportItem item;
        item.ChgReqID = id;
        item.Project = QStringLiteral("Bridge");
        item.Reference = reference;
        item.Authority = QStringLiteral("Bob O'Neil");
        item.DateCreated = CDateTime(2026, 3, 2, 9, 30);
        item.Company = QStringLiteral("Zeta's Café");
        item.Contact = QStringLiteral("Jörg O'Hara");
        item.Priority = QStringLiteral("High");
        item.Item = text;
        item.DateCompleted = completed;
        item.Team = QStringLiteral("Ann Lee, Cleo Ng");
        item.Actions = {QStringLiteral("Drawn"), QStringLiteral("Checked")};
        item.FullDetail = QStringLiteral("Details of ") + text;
        return item;
    }
    // Each row as "label | value", "[merged text]" for a merged row, with
    // "*" after a bold cell and "#n" for a shaded row.
    static QStringList Texts(const CChgRqstReport& report)
    {
        QStringList out;
        for (const CChgRqstReport::CRow& row : report.Rows()) {
            QStringList cells;
            for (const CChgRqstReport::CCell& cell : row.cells)
                cells << cell.text + (cell.bold ? QStringLiteral("*") : QString());
            QString text = row.Merged() ? QStringLiteral("[%1]").arg(cells.value(0))
                                        : cells.join(QStringLiteral(" | "));
            if (row.shade != CChgRqstReport::kShadeNone)
                text += QStringLiteral(" #%1").arg(row.shade);
            out << text;
        }
        return out;
    }
    static QStringList Header(int id, const QString& reference)
    {
        return {QStringLiteral("Project * | Bridge* #15"),
                QStringLiteral("ID* | %1* #16").arg(id),
                QStringLiteral("Reference | %1 #8").arg(reference),
                QStringLiteral("Authority | Bob O'Neil"),
                QStringLiteral("Date | 02/03/26 09:30"),
                QStringLiteral("Company | Zeta's Café"),
                QStringLiteral("Contact | Jörg O'Hara"),
                QStringLiteral("Priority | High"),
                QStringLiteral("Team | Ann Lee, Cleo Ng")};
    }
    static QStringList ItemRows(const QString& first, const QString& text)
    {
        return {first, QStringLiteral("Actions | Drawn\nChecked"),
                QStringLiteral("Full Details | Details of ") + text};
    }

    const CDateTime m_now{2026, 3, 10, 14, 5};
};

} // namespace

TEST_F(ChgRqstReportTest, AnEmptyListGivesTheHeadingsAndOneEmptyRow)
{
    CChgRqstReport report = CChgRqstReport::Build({}, false, m_now);
    ASSERT_EQ(report.Headings().size(), 2);
    EXPECT_EQ(report.Headings()[0].text, QStringLiteral("Change Requests "));
    EXPECT_EQ(report.Headings()[0].style, QStringLiteral("Heading 1"));
    EXPECT_EQ(report.Headings()[1].text, QStringLiteral("10/03/26  14:05"));
    EXPECT_EQ(report.Headings()[1].style, QStringLiteral("Heading 2"));
    EXPECT_EQ(Texts(report), QStringList({QStringLiteral(" | ")}));

    report = CChgRqstReport::Build({}, true, m_now);
    ASSERT_EQ(report.Headings().size(), 3);
    EXPECT_EQ(report.Headings()[2].text, QStringLiteral("Not completed Only"));
    EXPECT_EQ(report.Headings()[2].style, QStringLiteral("Heading 2"));
}

TEST_F(ChgRqstReportTest, ThreeItemsUnderOneReferenceShareOneHeaderAndAreNumbered)
{
    const CChgRqstReport report =
        CChgRqstReport::Build({Item(11, QStringLiteral("R-1"), QStringLiteral("First")),
                               Item(12, QStringLiteral("R-1"), QStringLiteral("Second")),
                               Item(13, QStringLiteral("R-1"), QStringLiteral("Third"))},
                              false, m_now);
    QStringList expected = Header(11, QStringLiteral("R-1"));
    expected << ItemRows(QStringLiteral("[1. First]"), QStringLiteral("First"))
             << ItemRows(QStringLiteral("[2. Second]"), QStringLiteral("Second"))
             << ItemRows(QStringLiteral("[3. Third]"), QStringLiteral("Third"));
    EXPECT_EQ(Texts(report), expected);
}

TEST_F(ChgRqstReportTest, ACompletedItemShowsItsDateInBoldBesideItsNumber)
{
    const CChgRqstReport report = CChgRqstReport::Build(
        {Item(11, QStringLiteral("R-1"), QStringLiteral("Open")),
         Item(12, QStringLiteral("R-1"), QStringLiteral("Done"), CDateTime(2026, 3, 8)),
         // The zero date and the dates before 1900 are no completion.
         Item(13, QStringLiteral("R-1"), QStringLiteral("Zero"), CDateTime(1899, 12, 30))},
        false, m_now);
    const QStringList rows = Texts(report);
    EXPECT_EQ(rows.mid(9, 1), QStringList({QStringLiteral("[1. Open]")}));
    EXPECT_EQ(rows.mid(12, 1), QStringList({QStringLiteral("2. Done | Completed 08/03/26*")}));
    EXPECT_EQ(rows.mid(15, 1), QStringList({QStringLiteral("[3. Zero]")}));
}

TEST_F(ChgRqstReportTest, ANewReferenceStartsANewGroupAfterAnEmptyRow)
{
    const CChgRqstReport report =
        CChgRqstReport::Build({Item(11, QStringLiteral("R-1"), QStringLiteral("First")),
                               Item(21, QStringLiteral("R-2"), QStringLiteral("Other")),
                               Item(22, QStringLiteral("R-2"), QStringLiteral("Again")),
                               // Back to an earlier reference: a group of its own again.
                               Item(12, QStringLiteral("R-1"), QStringLiteral("Late"))},
                              true, m_now);
    QStringList expected = Header(11, QStringLiteral("R-1"));
    expected << ItemRows(QStringLiteral("[1. First]"), QStringLiteral("First"))
             << QStringLiteral(" | ") << Header(21, QStringLiteral("R-2"))
             << ItemRows(QStringLiteral("[1. Other]"), QStringLiteral("Other"))
             << ItemRows(QStringLiteral("[2. Again]"), QStringLiteral("Again"))
             << QStringLiteral(" | ") << Header(12, QStringLiteral("R-1"))
             << ItemRows(QStringLiteral("[1. Late]"), QStringLiteral("Late"));
    EXPECT_EQ(Texts(report), expected);
}
