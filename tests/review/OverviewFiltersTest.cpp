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
