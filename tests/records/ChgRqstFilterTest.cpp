#include "records/ChgRqstFilter.h"
#include "data/records/ChgRqstBriefSet.h"
#include "data/records/ChgRqstBriefSet2.h"
#include "records/ChgRqstColumns.h"
#include "records/ChgRqstRow.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/TestDatabases.h"
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
    // The day's end: its 24:00, the next day's first moment on both back ends.
    EXPECT_EQ(f.values.at(1).toString(), QStringLiteral("2026-03-05 24:00:00"));
    ASSERT_TRUE(CChgRqstFilter::ForColumn(row, CChgRqstColumns::kId, f));
    EXPECT_EQ(f.text, QStringLiteral("[ChgReqID] = 12"));
    // Cells that show nothing filter by nothing.
    EXPECT_FALSE(CChgRqstFilter::ForColumn(row, CChgRqstColumns::kActioned, f));
    EXPECT_FALSE(CChgRqstFilter::ForColumn(row, CChgRqstColumns::kCompany, f));
    row.DateCompleted = CDateTime(1899, 12, 30);
    EXPECT_FALSE(CChgRqstFilter::ForColumn(row, CChgRqstColumns::kActioned, f));
}

// The list's query reads through the indexes yet lists exactly the rows of
// the list's condition, for every team member and authority, on both back
// ends.
class ChgRqstFilterRowsTest : public KelvaneDbTest {
protected:
    void SetUp() override
    {
        KelvaneDbTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        // Id, author (0: none), team, completed.
        const struct {
            int id;
            int author;
            QList<int> team;
            bool done;
        } requests[] = {{1, 1, {}, false},     {2, 1, {2}, false}, {3, 2, {1, 3}, true},
                        {4, 3, {3}, false},    {5, 0, {1}, false}, {6, 2, {}, true},
                        {7, 4, {2, 4}, false}, {8, 1, {1}, false}};
        for (const auto& r : requests) {
            Exec(QStringLiteral("INSERT INTO tblChgReq (ChgReqID, ProjID, EmpID, Item, "
                                "DateCreated, DateCompleted) VALUES (?, ?, ?, 'item', ?, ?)"),
                 {r.id, 1 + r.id % 2, r.author > 0 ? QVariant(r.author) : QVariant(),
                  QVariant::fromValue(CDateTime(2026, 1, r.id)),
                  r.done ? QVariant::fromValue(CDateTime(2026, 2, r.id)) : QVariant()});
            for (int member : r.team)
                Exec(QStringLiteral("INSERT INTO tblChgReqTeam (ChgReqID, EmpID) VALUES (?, ?)"),
                     {r.id, member});
        }
    }
    // The requests listed, in the window's order, one per row.
    template <typename Set>
    QList<int> Rows(const CBoundFilter& where)
    {
        Set set(&m_conn);
        EXPECT_TRUE(set.OpenTableWithQuery(nullptr, where.sql,
                                           QStringLiteral("[DateCreated] DESC, [ChgReqID] DESC"),
                                           where.values));
        QList<int> ids;
        for (; !set.Recordset()->IsBOF() && !set.Recordset()->IsEOF(); set.MoveNext())
            ids << set.m_ChgReqID;
        return ids;
    }
    QList<int> Rows(int team, const CBoundFilter& where)
    {
        return team < 0 ? Rows<CChgRqstBriefSet>(where) : Rows<CChgRqstBriefSet2>(where);
    }
};

TEST_P(ChgRqstFilterRowsTest, TheQueryListsTheRowsOfTheConditionForEveryTeamMemberAndAuthority)
{
    EXPECT_EQ(Rows(1, CChgRqstFilter::Build(-1, 1, -2, false, QString())), (QList<int>{8, 3, 1}));
    for (int team : {-2, 1, 2, 3, 4, 5})
        for (int authority : {-2, 1, 2, 3, 4})
            for (bool open : {false, true})
                for (int project : {-1, 1}) {
                    const CBoundFilter before =
                        CChgRqstFilter::Build(project, team, authority, open, QString());
                    const CBoundFilter after =
                        CChgRqstFilter::ForQuery(project, team, authority, open, QString());
                    EXPECT_EQ(after.text, before.text);
                    EXPECT_EQ(Rows(team, after), Rows(team, before))
                        << team << " " << authority << " " << open << " " << project;
                }
}

KELVANE_INSTANTIATE_BACKENDS(ChgRqstFilterRowsTest);
