#include "review/OverviewSummary.h"

#include <gtest/gtest.h>

TEST(OverviewSummary, MembersAreTheFirstTwoAttributesInDocumentOrder)
{
    COverviewSummary doc;
    ASSERT_TRUE(
        doc.Load(QStringLiteral("<?xml version=\"1.0\"?>\n<EmpSummary EmpID=\"1\">"
                                "<Project ProjID=\"7\" Name=\"Caf&#xE9; &lt;1&gt;\" State=\"A\"/>"
                                "<Project Name=\"first is the name\" ProjID=\"8\"/>"
                                "<Project ProjID=\"9\"/><Project ProjID=\"10\" Name=\"\"/>"
                                "<Other Id=\"1\" Name=\"x\"/></EmpSummary>"),
                 nullptr));
    const QList<COverviewSummary::CItem> items = doc.Select(QStringLiteral("Project"));
    ASSERT_EQ(items.size(), 4);
    EXPECT_EQ(items[0].id, QStringLiteral("7"));
    EXPECT_EQ(items[0].name, QStringLiteral("Café <1>"));
    EXPECT_EQ(items[1].id, QStringLiteral("first is the name"));
    EXPECT_EQ(items[1].name, QStringLiteral("8"));
    // No name, or an empty one.
    EXPECT_EQ(items[2].name, QStringLiteral("Unknown"));
    EXPECT_EQ(items[3].name, QStringLiteral("Unknown"));
    EXPECT_TRUE(doc.Select(QStringLiteral("Project[")).isEmpty());
}

TEST(OverviewSummary, AYearIsTheYearAttributeNotDigitsAnywhere)
{
    COverviewSummary doc;
    ASSERT_TRUE(
        doc.Load(QStringLiteral("<S><Timesheets Month=\"200305\" Year=\"2005\" Hours=\"2003\"/>"
                                "<Timesheets Month=\"202003\" Year=\"2020\"/>"
                                "<Timesheets Month=\"202004\" Year=\"2020\"/>"
                                "<Timesheets Month=\"199705\" Year=\"1997\"/>"
                                "<Timesheets Month=\"0\" Year=\"none\"/><Timesheets Month=\"1\"/>"
                                "<Comments Month=\"2003\" Year=\"2021\"/></S>"),
                 nullptr));
    EXPECT_EQ(doc.Years(QStringLiteral("Timesheets"), 1998, 2026), (QList<int>{2005, 2020}));
    EXPECT_EQ(doc.Years(QStringLiteral("Comments"), 1998, 2026), (QList<int>{2021}));
    EXPECT_EQ(doc.Years(QStringLiteral("Timesheets"), 1990, 2010), (QList<int>{1997, 2005}));
}

TEST(OverviewSummary, TextThatIsNoDocumentIsRefusedWithTheReason)
{
    COverviewSummary doc;
    QString why;
    EXPECT_FALSE(doc.Load(QStringLiteral("<EmpSummary><Project"), &why));
    EXPECT_FALSE(why.isEmpty());
    EXPECT_FALSE(doc.IsLoaded());
    EXPECT_TRUE(doc.Select(QStringLiteral("Project")).isEmpty());
    EXPECT_TRUE(doc.Years(QStringLiteral("Timesheets"), 1998, 2026).isEmpty());
    EXPECT_FALSE(doc.Load(QString(), &why));
    // Entities from outside are not read.
    EXPECT_FALSE(doc.Load(QStringLiteral("<!DOCTYPE S [<!ENTITY e SYSTEM \"file:///etc/passwd\">]>"
                                         "<S><P Id=\"1\" Name=\"&e;\"/></S>"),
                          &why));
    EXPECT_TRUE(why.contains(QStringLiteral("external entity"))) << why.toStdString();
}
