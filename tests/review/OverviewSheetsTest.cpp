#include "platform/XsltProcessor.h"
#include "review/EmpOverviewDlg.h"
#include "review/OverviewSort.h"
#include "tests/review/OverviewFixture.h"

#include <gtest/gtest.h>

namespace {

QString FixtureFile(const QString& name)
{
    return QStringLiteral(KELVANE_REVIEW_FIXTURES "/") + name;
}

QString Html(const QString& xmlFixture, const QString& sheet)
{
    const CXsltProcessor::CResult result =
        CXsltProcessor::Transform(ReadText(FixtureFile(xmlFixture)).toUtf8(), sheet.toUtf8());
    EXPECT_EQ(result.stage, CXsltProcessor::kDone) << result.detail.toStdString();
    return QString::fromUtf8(result.output);
}

QString Sheet(const QString& name)
{
    return ReadText(CEmpOverviewDlg::XmlFile(name));
}

QString SortedBy(const QString& name, const QString& key, bool descending)
{
    QString sorted;
    EXPECT_TRUE(COverviewSort::Apply(Sheet(name), key, descending, sorted));
    return sorted;
}

// a shows before b, both searched from the first `after` on.
::testing::AssertionResult Before(const QString& html, const QString& a, const QString& b,
                                  const QString& after = QString())
{
    const qsizetype from = after.isEmpty() ? 0 : html.indexOf(after);
    const qsizetype ia = html.indexOf(a, from);
    const qsizetype ib = html.indexOf(b, from);
    if (from >= 0 && ia >= 0 && ib >= 0 && ia < ib)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << a.toStdString() << " is not before " << b.toStdString();
}

} // namespace

// What each shipped sheet makes of a document like its procedure's: set
// KELVANE_UPDATE_GOLDEN=1 to write the expected pages afresh, then read them.
TEST(OverviewSheets, EachSheetMakesItsGoldenPage)
{
    const QList<QPair<QString, QString>> pages = {{"EmpProjects.xml", "EmpProjectsItem.xslt"},
                                                  {"ProjectInfo.xml", "ProjectItem.xslt"},
                                                  {"TimesheetList.xml", "TimesheetList.xslt"},
                                                  {"ChgReqInfo.xml", "ChgReqItem.xslt"},
                                                  {"CommentList.xml", "CommentList.xslt"}};
    for (const auto& [xml, sheet] : pages) {
        const QString html = Html(xml, Sheet(sheet));
        const QString golden =
            FixtureFile(QString(xml).replace(QStringLiteral(".xml"), QStringLiteral(".htm")));
        if (qEnvironmentVariableIsSet("KELVANE_UPDATE_GOLDEN")) {
            QFile file(golden);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write(html.toUtf8());
        }
        EXPECT_EQ(html, ReadText(golden)) << sheet.toStdString();
        // Texts stay texts: markup in the data is never markup in the page.
        EXPECT_FALSE(html.contains(QStringLiteral("<Smith>"))) << sheet.toStdString();
        EXPECT_FALSE(html.contains(QStringLiteral("<b>not bold"))) << sheet.toStdString();
    }
}

TEST(OverviewSheets, AHeadingSortsItsOwnTable)
{
    QString html =
        Html(QStringLiteral("EmpProjects.xml"), Sheet(QStringLiteral("EmpProjectsItem.xslt")));
    EXPECT_TRUE(Before(html, QStringLiteral(">Apollo<"), QStringLiteral(">Bridge<")));
    html = Html(QStringLiteral("EmpProjects.xml"),
                SortedBy(QStringLiteral("EmpProjectsItem.xslt"), QStringLiteral("@Hours"), true));
    EXPECT_TRUE(Before(html, QStringLiteral(">Bridge<"), QStringLiteral(">Caf")));
    EXPECT_TRUE(Before(html, QStringLiteral(">Caf"), QStringLiteral(">Apollo<")));
    html = Html(QStringLiteral("EmpProjects.xml"), SortedBy(QStringLiteral("EmpProjectsItem.xslt"),
                                                            QStringLiteral("@LastDay"), false));
    EXPECT_TRUE(Before(html, QStringLiteral(">Apollo<"), QStringLiteral(">Bridge<")));

    // The second table by its own links; the first keeps its order.
    html = Html(QStringLiteral("ProjectInfo.xml"),
                SortedBy(QStringLiteral("ProjectItem.xslt"), QStringLiteral("@2Hours"), true));
    EXPECT_TRUE(Before(html, QStringLiteral("B\u00F8b"), QStringLiteral(">Ann O'Lee<"),
                       QStringLiteral("Time booked")));
    EXPECT_TRUE(Before(html, QStringLiteral(">Design<"), QStringLiteral(">Build<")));
    html = Html(QStringLiteral("ProjectInfo.xml"),
                SortedBy(QStringLiteral("ProjectItem.xslt"), QStringLiteral("@Task"), false));
    EXPECT_TRUE(Before(html, QStringLiteral(">Build<"), QStringLiteral(">Design<")));

    html = Html(QStringLiteral("TimesheetList.xml"),
                SortedBy(QStringLiteral("TimesheetList.xslt"), QStringLiteral("@When"), true));
    EXPECT_TRUE(Before(html, QStringLiteral("22:00"), QStringLiteral("09:00")));
    html = Html(QStringLiteral("TimesheetList.xml"),
                SortedBy(QStringLiteral("TimesheetList.xslt"), QStringLiteral("@Hours"), false));
    EXPECT_TRUE(Before(html, QStringLiteral("10:30 - 11:00"), QStringLiteral("09:00 - 10:30")));

    html = Html(QStringLiteral("ChgReqInfo.xml"),
                SortedBy(QStringLiteral("ChgReqItem.xslt"), QStringLiteral("@2fullName"), false));
    EXPECT_TRUE(Before(html, QStringLiteral(">Ann O'Lee<"), QStringLiteral(">Zoe<"),
                       QStringLiteral("Team")));
    html = Html(QStringLiteral("ChgReqInfo.xml"),
                SortedBy(QStringLiteral("ChgReqItem.xslt"), QStringLiteral("@Day"), false));
    EXPECT_TRUE(Before(html, QStringLiteral("2024-03-01"), QStringLiteral("2024-03-02"),
                       QStringLiteral("Actions")));

    html = Html(QStringLiteral("CommentList.xml"),
                SortedBy(QStringLiteral("CommentList.xslt"), QStringLiteral("@Priority"), true));
    EXPECT_TRUE(Before(html, QStringLiteral("Low"), QStringLiteral("High")));
}
