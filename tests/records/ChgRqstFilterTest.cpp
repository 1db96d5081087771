#include "records/ChgRqstFilter.h"
#include "records/ChgRqstColumns.h"
#include "records/ChgRqstRow.h"
#include "tests/support/QtPrinters.h"
#include "ui/Utilities.h"

#include <gtest/gtest.h>

namespace {

const QString kOpen = QStringLiteral("([DateCompleted] < ? or [DateCompleted] is null)");

} // namespace

// The caption shows the condition with its values written in; the SQL
// beside it carries every value as a bound mark.
TEST(ChgRqstFilter, ATeamMemberWithAnyAuthorityMatchesEachWayHeIsOnTheRequest)
{
    const CBoundFilter f = CChgRqstFilter::Build(-1, 3, -2, false, QString());
    EXPECT_EQ(f.sql, QStringLiteral("(([empid]=? and [teamempid] is null)\tor ([empid]<>? and "
                                    "[teamempid]=?) or ([empid]=? and [teamempid]=?))"));
    EXPECT_EQ(f.values, QVariantList({3, 3, 3, 3, 3}));
    EXPECT_EQ(f.text, QStringLiteral("(([empid]=3 and [teamempid] is null)\tor ([empid]<>3 and "
                                     "[teamempid]=3) or ([empid]=3 and [teamempid]=3))"));
}

TEST(ChgRqstFilter, ATeamMemberWhoIsTheAuthorityAlsoMatchesRequestsWithoutTeam)
{
    const CBoundFilter same = CChgRqstFilter::Build(7, 2, 2, false, QString());
    EXPECT_EQ(same.text, QStringLiteral("[ProjID]= 7 AND (([empid]=2 AND [teamempid]=2) or "
                                        "([empid]=2 and [teamempid] is null))"));
    EXPECT_EQ(same.values, QVariantList({7, 2, 2, 2}));
    const CBoundFilter other = CChgRqstFilter::Build(-1, 2, 5, false, QString());
    EXPECT_EQ(other.text, QStringLiteral("(([empid]=5 AND [teamempid]=2))"));
    EXPECT_EQ(other.values, QVariantList({5, 2}));
    // An authority alone.
    EXPECT_EQ(CChgRqstFilter::Build(-1, -2, 5, false, QString()).text,
              QStringLiteral("[EmpID] = 5"));
}

TEST(ChgRqstFilter, OpenRequestsAndPriorityStandAloneWithoutALeadingAnd)
{
    const CBoundFilter open = CChgRqstFilter::Build(-1, -2, -2, true, QString());
    EXPECT_EQ(open.sql, kOpen);
    ASSERT_EQ(open.values.size(), 1);
    EXPECT_EQ(open.values.at(0).value<CDateTime>(), CDateTime(1900, 1, 1));

    const CBoundFilter priority = CChgRqstFilter::Build(-1, -2, -2, false, QStringLiteral("High"));
    EXPECT_EQ(priority.sql, QStringLiteral("Priority=?"));
    EXPECT_EQ(priority.text, QStringLiteral("Priority='High'"));

    const CBoundFilter all = CChgRqstFilter::Build(4, -2, 6, true, QStringLiteral("Low"));
    EXPECT_EQ(all.sql, QStringLiteral("[ProjID]= ? AND [EmpID] = ? AND ") + kOpen +
                           QStringLiteral(" AND Priority=?"));
    EXPECT_EQ(all.values.size(), 4);
    EXPECT_TRUE(CChgRqstFilter::Build(-1, -2, -2, false, QString()).IsEmpty());
}

TEST(ChgRqstFilter, ACellFiltersByItsStoredValue)
{
    CRegionalFormats formats;
    formats.dateFormat = QStringLiteral("%d/%m/%y");
    SetRegionalFormats(formats);
    CChgRqstRow row;
    row.ChgReqID = 12;
    row.Contact = QStringLiteral("Jörg O'Hara");
    row.DateCreated = CDateTime(2026, 3, 5, 23, 59);
    CBoundFilter f;
    ASSERT_TRUE(CChgRqstFilter::ForColumn(row, CChgRqstColumns::kContact, f));
    EXPECT_EQ(f.sql, QStringLiteral("[Contact] = ?"));
    EXPECT_EQ(f.values, QVariantList({QStringLiteral("Jörg O'Hara")}));
    EXPECT_EQ(f.text, QStringLiteral("[Contact] = 'Jörg O''Hara'"));
    ASSERT_TRUE(CChgRqstFilter::ForColumn(row, CChgRqstColumns::kDated, f));
    EXPECT_EQ(f.sql, QStringLiteral("([DateCreated] >= ? AND [DateCreated] < ?)"));
    EXPECT_EQ(f.values.at(0).value<CDateTime>(), CDateTime(2026, 3, 5));
    EXPECT_EQ(f.values.at(1).value<CDateTime>(), CDateTime(2026, 3, 6));
    ASSERT_TRUE(CChgRqstFilter::ForColumn(row, CChgRqstColumns::kId, f));
    EXPECT_EQ(f.text, QStringLiteral("[ChgReqID] = 12"));
    // Cells that show nothing filter by nothing.
    EXPECT_FALSE(CChgRqstFilter::ForColumn(row, CChgRqstColumns::kActioned, f));
    EXPECT_FALSE(CChgRqstFilter::ForColumn(row, CChgRqstColumns::kCompany, f));
    row.DateCompleted = CDateTime(1899, 12, 30);
    EXPECT_FALSE(CChgRqstFilter::ForColumn(row, CChgRqstColumns::kActioned, f));
}
