#include "review/OverviewSort.h"
#include "platform/XsltProcessor.h"
#include "review/EmpOverviewDlg.h"
#include "tests/review/OverviewFixture.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

const QString kSheet = QStringLiteral(
    "<a href=\"#@NameLong\">x</a><a href=\"#@Name\">Name</a>"
    "<xsl:for-each select=\"R\"><xsl:sort select=\"@Id\" order=\"ascending\" data-type=\"number\" "
    "/>"
    "</xsl:for-each><a href=\"#@2Name\">Name</a>"
    "<xsl:for-each select=\"S\"><xsl:sort select=\"@Id\"\n      order='ascending'>"
    "</xsl:sort></xsl:for-each><a href=\"#x\">x</a><xsl:sort select=\"a > b\"/>tail");

QString Sorted(const QString& key, bool descending)
{
    QString sorted;
    EXPECT_TRUE(COverviewSort::Apply(kSheet, key, descending, sorted)) << key.toStdString();
    return sorted;
}

} // namespace

TEST(OverviewSort, TheKeyIsWhatFollowsTheHashOfTheAddress)
{
    QString key;
    ASSERT_TRUE(
        COverviewSort::KeyOfAddress(QStringLiteral("file:///run/u/browsePage.htm#@Name"), key));
    EXPECT_EQ(key, QStringLiteral("@Name"));
    ASSERT_TRUE(COverviewSort::KeyOfAddress(QStringLiteral("#@2fullName"), key));
    EXPECT_EQ(key, QStringLiteral("@2fullName"));
    EXPECT_FALSE(COverviewSort::KeyOfAddress(QStringLiteral("file:///run/u/browsePage.htm"), key));
    EXPECT_FALSE(COverviewSort::KeyOfAddress(QStringLiteral("page.htm#"), key));
    // Nothing that could break out of the select attribute.
    EXPECT_FALSE(COverviewSort::KeyOfAddress(QStringLiteral("#@a\"/><xsl:x"), key));
    EXPECT_FALSE(COverviewSort::KeyOfAddress(QStringLiteral("#@a%22"), key));
}

TEST(OverviewSort, TheWholeSortElementAfterTheLinkIsReplaced)
{
    // A key that starts like a longer one finds its own link.
    EXPECT_EQ(
        Sorted(QStringLiteral("@Name"), true),
        QString(kSheet).replace(
            QStringLiteral("<xsl:sort select=\"@Id\" order=\"ascending\" data-type=\"number\" />"),
            QStringLiteral(
                "<xsl:sort select=\"@Name\" order=\"descending\" data-type=\"text\" />")));
    // A digit after the first character leads to the second table and is
    // not part of the attribute; an element with content goes whole.
    const QString second = Sorted(QStringLiteral("@2Name"), false);
    EXPECT_TRUE(second.contains(
        QStringLiteral("<xsl:for-each select=\"S\"><xsl:sort select=\"@Name\" order=\"ascending\" "
                       "data-type=\"text\" /></xsl:for-each>")))
        << second.toStdString();
    EXPECT_TRUE(second.contains(
        QStringLiteral("<xsl:sort select=\"@Id\" order=\"ascending\" data-type=\"number\" />")));
    // Quoted '>' does not end an element; a one-character key stays as it is.
    EXPECT_TRUE(
        Sorted(QStringLiteral("x"), true)
            .endsWith(QStringLiteral(
                "<xsl:sort select=\"x\" order=\"descending\" data-type=\"number\" />tail")));
    QString sorted;
    EXPECT_FALSE(COverviewSort::Apply(kSheet, QStringLiteral("@Missing"), true, sorted));
    EXPECT_FALSE(COverviewSort::Apply(QStringLiteral("<a href=\"#@Name\"/>"),
                                      QStringLiteral("@Name"), true, sorted));
}

TEST(OverviewSort, TextKeysSortAsTextAndTheRestAsNumbers)
{
    for (const char* key : {"@Task", "@State", "@OrderCode", "@Name", "@Project", "@Comment",
                            "@fullName", "@FULLNAME"})
        EXPECT_TRUE(COverviewSort::IsTextKey(QLatin1String(key))) << key;
    for (const char* key : {"@Hours", "@When", "@Item", "@Day"})
        EXPECT_FALSE(COverviewSort::IsTextKey(QLatin1String(key))) << key;
    EXPECT_EQ(COverviewSort::SortSelect(QStringLiteral("@2Hours")), QStringLiteral("@Hours"));
    EXPECT_EQ(COverviewSort::SortSelect(QStringLiteral("@")), QStringLiteral("@"));
}

// Every heading of every shipped sheet leads to a sort element that the
// splice replaces with one the processor runs, in both directions.
TEST(OverviewSort, EveryHeadingOfTheShippedSheetsSorts)
{
    const QStringList sheets = {"EmpProjectsItem.xslt", "ProjectItem.xslt", "TimesheetList.xslt",
                                "ChgReqItem.xslt", "CommentList.xslt"};
    const QRegularExpression link(QStringLiteral("href=\"#(@[^\"]+)\""));
    for (const QString& name : sheets) {
        const QString sheet = ReadText(CEmpOverviewDlg::XmlFile(name));
        ASSERT_FALSE(sheet.isEmpty()) << name.toStdString();
        int links = 0;
        for (const QRegularExpressionMatch& m : link.globalMatch(sheet)) {
            ++links;
            const QString key = m.captured(1);
            for (bool descending : {true, false}) {
                QString sorted;
                ASSERT_TRUE(COverviewSort::Apply(sheet, key, descending, sorted))
                    << name.toStdString() << " " << key.toStdString();
                EXPECT_EQ(sorted.count(QStringLiteral("<xsl:sort")),
                          sheet.count(QStringLiteral("<xsl:sort")));
                const CXsltProcessor::CResult result =
                    CXsltProcessor::Transform(QByteArrayLiteral("<x/>"), sorted.toUtf8());
                EXPECT_EQ(result.stage, CXsltProcessor::kDone)
                    << name.toStdString() << " " << key.toStdString() << ": "
                    << result.detail.toStdString();
            }
        }
        EXPECT_GE(links, 4) << name.toStdString();
    }
}
