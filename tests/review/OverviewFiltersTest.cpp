#include "review/OverviewFilters.h"
#include "review/OverviewSummary.h"

#include <gtest/gtest.h>

namespace {

QStringList Names(const COverviewSummary& doc, const QString& step)
{
    QStringList names;
    for (const COverviewSummary::CItem& item : doc.Select(step))
        names << item.name;
    return names;
}

const char kStates[] = "<S>"
                       "<Project ProjID=\"1\" Name=\"a\" State=\"Won't\"/>"
                       "<Project ProjID=\"2\" Name=\"b\" State='Say \"no\"'/>"
                       "<Project ProjID=\"3\" Name=\"c\" State=\"Won't say &quot;no&quot;\"/>"
                       "<Project ProjID=\"4\" Name=\"d\" State=\"Active\"/>"
                       "<ChgReq ChgReqID=\"5\" Item=\"e\" Role=\"Open\" Priority=\"1\"/>"
                       "<ChgReq ChgReqID=\"6\" Item=\"f\" Role=\"Open\" Priority=\"2\"/>"
                       "<ChgReq ChgReqID=\"7\" Item=\"g\" Role=\"New\" Priority=\"2\"/>"
                       "<Timesheets Month=\"202003\" Name=\"h\" Year=\"2020\"/>"
                       "<Comments Month=\"202105\" Name=\"i\" Year=\"2021\"/>"
                       "</S>";

} // namespace

TEST(OverviewFilters, StateNamesAreQuotedWhateverQuotesTheyHold)
{
    COverviewSummary doc;
    ASSERT_TRUE(doc.Load(QLatin1String(kStates), nullptr));
    COverviewFilters filters;
    EXPECT_EQ(filters.ProjectSelector(), QStringLiteral("Project"));
    filters.SetProjectState(2, QStringLiteral("Won't"));
    EXPECT_EQ(filters.ProjectSelector(), QStringLiteral("Project[@State=\"Won't\"]"));
    EXPECT_EQ(Names(doc, filters.ProjectSelector()), QStringList{"a"});
    filters.SetProjectState(3, QStringLiteral("Say \"no\""));
    EXPECT_EQ(filters.ProjectSelector(), QStringLiteral("Project[@State='Say \"no\"']"));
    EXPECT_EQ(Names(doc, filters.ProjectSelector()), QStringList{"b"});
    filters.SetProjectState(4, QStringLiteral("Won't say \"no\""));
    EXPECT_EQ(Names(doc, filters.ProjectSelector()), QStringList{"c"});
    EXPECT_EQ(Names(doc, QStringLiteral("Project[@State=%1]")
                             .arg(COverviewFilters::XPathLiteral(QStringLiteral("'\"'")))),
              QStringList{});
    filters.SetProjectState(0, QStringLiteral("ignored"));
    EXPECT_EQ(filters.ProjectItem(), 0);
    EXPECT_EQ(Names(doc, filters.ProjectSelector()).size(), 4);
}

TEST(OverviewFilters, StatusAndPriorityAddUpAndRemoveTogether)
{
    COverviewSummary doc;
    ASSERT_TRUE(doc.Load(QLatin1String(kStates), nullptr));
    COverviewFilters filters;
    filters.SetChangeRequestPriority(2);
    EXPECT_EQ(filters.ChangeRequestSelector(), QStringLiteral("ChgReq[@Priority=2]"));
    EXPECT_EQ(Names(doc, filters.ChangeRequestSelector()), (QStringList{"f", "g"}));
    filters.SetChangeRequestStatus(3, QStringLiteral("Open"));
    EXPECT_EQ(filters.ChangeRequestSelector(), QStringLiteral("ChgReq[@Role='Open'][@Priority=2]"));
    EXPECT_EQ(Names(doc, filters.ChangeRequestSelector()), QStringList{"f"});
    EXPECT_EQ(filters.StatusItem(), 3);
    EXPECT_EQ(filters.Priority(), 2);
    filters.SetChangeRequestPriority(1);
    EXPECT_EQ(Names(doc, filters.ChangeRequestSelector()), QStringList{"e"});
    filters.ClearChangeRequestFilters();
    EXPECT_EQ(filters.ChangeRequestSelector(), QStringLiteral("ChgReq"));
    EXPECT_EQ(filters.StatusItem() + filters.Priority(), 0);
}

TEST(OverviewFilters, YearsPickByTheYearAttribute)
{
    COverviewSummary doc;
    ASSERT_TRUE(doc.Load(QLatin1String(kStates), nullptr));
    COverviewFilters filters;
    filters.SetTimesheetYear(1, 2020);
    filters.SetCommentYear(2, 2020);
    EXPECT_EQ(filters.TimesheetSelector(), QStringLiteral("Timesheets[@Year=2020]"));
    EXPECT_EQ(Names(doc, filters.TimesheetSelector()), QStringList{"h"});
    EXPECT_EQ(Names(doc, filters.CommentSelector()), QStringList{});
    filters.SetCommentYear(0, 2020);
    EXPECT_EQ(filters.CommentSelector(), QStringLiteral("Comments"));
    EXPECT_EQ(filters.CommentYear(), 0);
}
