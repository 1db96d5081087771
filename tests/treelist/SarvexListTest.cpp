#include "tests/treelist/SarvexFixture.h"

#include <cstdint>
#include <limits>

using namespace SarvexIds;

namespace {

class SarvexList : public SarvexTest {
protected:
    // Key 1 with a numeric "Id", a text "Name" and a numeric "Hours" column.
    void ThreeColumns(int orderAsc = 1)
    {
        m_host.SetParent(QStringLiteral("root"), 1, kNumericColumn, orderAsc, QStringLiteral("Id"),
                         kFormatLeft, 60, 0);
        m_host.AddCols(1, 0, 0, orderAsc, QStringLiteral("Name"), kFormatLeft, 120);
        m_host.AddCols(1, 0, kNumericColumn, orderAsc, QStringLiteral("Hours"), kFormatRight, 60);
    }
};

} // namespace

TEST_F(SarvexList, CommaTextIsCutAtEveryCommaAndKeptToTheColumns)
{
    Create();
    ThreeColumns();
    m_host.SetListStr(1, 0, QStringLiteral("1,,3"), 0);
    m_host.SetListStr(1, 1, QStringLiteral("alone"), 0);
    m_host.SetListStr(1, 2, QString(), 0);
    m_host.SetListStr(1, 3, QStringLiteral("4,five,6,seven,8"), 0);
    m_host.SetListStr(1, 4, QStringLiteral(" a , b "), 0);

    int rows = 0;
    EXPECT_EQ(m_host.GetListStr(1, rows, 0, 0), QStringLiteral("1"));
    EXPECT_EQ(rows, 5);
    EXPECT_EQ(m_host.RetListStr(1, 0, 1), QString());
    EXPECT_EQ(m_host.RetListStr(1, 0, 2), QStringLiteral("3"));
    EXPECT_EQ(m_host.RetListStr(1, 1, 0), QStringLiteral("alone"));
    EXPECT_EQ(m_host.RetListStr(1, 1, 1), QString());
    EXPECT_EQ(m_host.RetListStr(1, 2, 0), QString());
    EXPECT_EQ(m_host.RetListStr(1, 3, 2), QStringLiteral("6"));
    EXPECT_EQ(m_host.RetListStr(1, 3, 3), QString()); // past the columns
    EXPECT_EQ(m_host.RetListStr(1, 4, 1), QStringLiteral(" b "));
    EXPECT_EQ(m_host.RetListStr(1, 9, 0), QString());
    EXPECT_EQ(m_host.RetListStr(1, 0, -1), QString());

    // No list for the key: nothing stored, the count left alone.
    EXPECT_TRUE(m_host.SetListStr(77, 0, QStringLiteral("x"), 0));
    rows = -3;
    EXPECT_EQ(m_host.GetListStr(77, rows, 0, 0), QString());
    EXPECT_EQ(rows, -3);
    // A negative tag key is no slot.
    m_host.SetListStr(1, -1, QStringLiteral("neg"), 0);
    EXPECT_EQ(m_host.GetListStr(1, rows, 0, 0), QStringLiteral("1"));
    EXPECT_EQ(rows, 5);
}

TEST_F(SarvexList, SparseRowsShowInTagKeyOrder)
{
    Create();
    ThreeColumns();
    m_host.SetListStr(1, 5, QStringLiteral("5,five"), 0);
    m_host.SetListStr(1, 9, QStringLiteral("9,nine"), 0);
    m_host.SetListStr(1, 7, QStringLiteral("7,seven"), 0);
    int rows = 0;
    m_host.GetListStr(1, rows, 0, 0);
    EXPECT_EQ(rows, 10);
    EXPECT_EQ(m_host.RetListStr(1, 6, 0), QString());

    m_host.SetSelectKey(1);
    EXPECT_EQ(ListColumn(0), (QStringList{"5", "7", "9"}));
    EXPECT_EQ(Headings(), (QStringList{"Id", "Name", "Hours"}));
    EXPECT_EQ(ListWindow()->header()->sectionSize(1), 120);

    // Rows for the selected key show at once; one far past the rows on
    // screen is added at the end rather than lost.
    m_host.SetListStr(1, 40, QStringLiteral("40,forty"), 0);
    m_host.SetListStrCur(QStringLiteral("41,forty-one"), 41, 0);
    EXPECT_EQ(ListColumn(0), (QStringList{"5", "7", "9", "40", "41"}));
    m_host.SetListStr(1, 2, QStringLiteral("2,two"), 0);
    EXPECT_EQ(ListWindow()->topLevelItemCount(), 6);

    // A removed slot moves the later rows up one place; the screen stays.
    m_host.DeleteListItem(1, 6);
    EXPECT_EQ(m_host.RetListStr(1, 6, 0), QStringLiteral("7"));
    EXPECT_EQ(m_host.RetListStr(1, 40, 0), QStringLiteral("41"));
    m_host.GetListStr(1, rows, 0, 0);
    EXPECT_EQ(rows, 41);
    m_host.DeleteListItem(1, 99);
    m_host.DeleteListItem(1, -1);
    EXPECT_EQ(ListWindow()->topLevelItemCount(), 6);
}

TEST_F(SarvexList, ARowKeyAtTheTopOfTheRangeIsRefusedAndLaterRowsStillShow)
{
    Create();
    ThreeColumns();
    m_host.SetSelectKey(1);
    constexpr int kTop = std::numeric_limits<std::int32_t>::max();
    // Its rows array would hold more rows than a count can say.
    EXPECT_FALSE(m_host.SetListStr(1, kTop, QStringLiteral("top,Zoë"), 0));
    EXPECT_FALSE(m_host.SetListStrCur(QStringLiteral("top,again"), kTop, 0));
    int rows = -1;
    EXPECT_EQ(m_host.GetListStr(1, rows, 0, 0), QString());
    EXPECT_EQ(rows, 0);
    EXPECT_TRUE(m_host.SetListStr(1, kTop - 1, QStringLiteral("near,Åsa"), 0));
    EXPECT_TRUE(m_host.SetListStr(1, 3, QStringLiteral("3,three"), 0));
    EXPECT_EQ(m_host.GetListStr(1, rows, kTop - 1, 1), QStringLiteral("Åsa"));
    EXPECT_EQ(rows, kTop);
    EXPECT_EQ(m_host.RetListStr(1, kTop, 0), QString());
    EXPECT_EQ(ListColumn(0), (QStringList{"near", "3"}));
    m_host.SetSelectKey(0);
    m_host.SetSelectKey(1);
    EXPECT_EQ(ListColumn(0), (QStringList{"3", "near"}));
    // Nor is it stored as the first row of a list that has none yet.
    m_host.AddCols(2, 0, 0, 1, QStringLiteral("Name"), kFormatLeft, 80);
    m_host.ModifyNode(2, kTop, QStringLiteral("two"), QStringLiteral("top"));
    EXPECT_EQ(m_host.GetListStr(2, rows, 0, 0), QString());
    EXPECT_EQ(rows, 0);
}

TEST_F(SarvexList, AHeadingSortsByNumberOrTextAndTurnsAround)
{
    Create();
    ThreeColumns();
    m_host.SetSelectKey(1);
    const QStringList rows{"9,beta,3", "10,Alpha,12", "1,alpha,x", "10,gamma,-2", "2,Beta,3"};
    for (int i = 0; i < rows.size(); ++i)
        m_host.SetListStr(1, i, rows[i], 0);

    ClickHeading(0);
    EXPECT_EQ(ListColumn(0), (QStringList{"1", "2", "9", "10", "10"}));
    EXPECT_EQ(ListColumn(1), (QStringList{"alpha", "Beta", "beta", "Alpha", "gamma"}));
    EXPECT_TRUE(ListWindow()->header()->isSortIndicatorShown());
    EXPECT_EQ(ListWindow()->header()->sortIndicatorSection(), 0);
    EXPECT_EQ(ListWindow()->header()->sortIndicatorOrder(), Qt::AscendingOrder);

    ClickHeading(0);
    EXPECT_EQ(ListColumn(0), (QStringList{"10", "10", "9", "2", "1"}));
    EXPECT_EQ(ListColumn(1).mid(0, 2), (QStringList{"Alpha", "gamma"})); // equal keep order
    EXPECT_EQ(ListWindow()->header()->sortIndicatorOrder(), Qt::DescendingOrder);

    // Text compares case-sensitively; the last column sorts too, by the
    // leading number ("x" is 0).
    ClickHeading(1);
    EXPECT_EQ(ListColumn(1), (QStringList{"Alpha", "Beta", "alpha", "beta", "gamma"}));
    ClickHeading(2);
    EXPECT_EQ(ListColumn(2), (QStringList{"-2", "x", "3", "3", "12"}));
    EXPECT_EQ(ListWindow()->header()->sortIndicatorSection(), 2);
}

TEST_F(SarvexList, AColumnAddedDescendingSortsDescendingFirst)
{
    Create();
    m_host.SetParent(QStringLiteral("root"), 1, kNumericColumn, 0, QStringLiteral("Only"),
                     kFormatLeft, 60, 0);
    m_host.SetSelectKey(1);
    for (int i = 0; i < 12; ++i)
        m_host.SetListStr(1, i, QString::number((i * 5) % 12), 0);
    ClickHeading(0);
    EXPECT_EQ(ListColumn(0).mid(0, 4), (QStringList{"11", "10", "9", "8"}));
    ClickHeading(0);
    EXPECT_EQ(ListColumn(0).mid(0, 4), (QStringList{"0", "1", "2", "3"}));
}

TEST_F(SarvexList, ASortTakesOnlyTheRowsOnScreen)
{
    Create();
    ThreeColumns();
    m_host.SetSelectKey(1);
    for (int i = 0; i < 4; ++i)
        m_host.SetListStr(1, i, QStringLiteral("%1,old %1").arg(i), 0);
    // The container refills the list after a filter: the old rows go.
    m_host.DeleteAllStoredItems(false, true);
    m_host.AddCols(1, 0, kNumericColumn, 1, QStringLiteral("Id"), kFormatLeft, 60);
    m_host.AddCols(1, 0, 0, 1, QStringLiteral("Name"), kFormatLeft, 120);
    m_host.SetListStr(1, 0, QStringLiteral("7,new"), 0);
    m_host.SetListStr(1, 1, QStringLiteral("3,newer"), 0);
    m_host.doRefresh(false, true);
    ASSERT_EQ(ListColumn(1), (QStringList{"new", "newer"}));
    ClickHeading(0);
    EXPECT_EQ(ListColumn(1), (QStringList{"newer", "new"}));
    // A replaced row is sorted as it is now.
    m_host.SetListStr(1, 1, QStringLiteral("9,replaced"), 0);
    m_host.doRefresh(false, true);
    ClickHeading(0);
    EXPECT_EQ(ListColumn(1), (QStringList{"replaced", "new"}));
}

TEST_F(SarvexList, AClickNamesTheRowOfTheListOnScreenThoughIdsRepeat)
{
    Create();
    BuildGroups();
    m_host.ExpandNode(0, kExpand);
    ClickTree(QStringLiteral("My TimeSheets"));
    // "10" is a project (tag key 6) and a time sheet (tag key 8).
    ClickList(0);
    ASSERT_EQ(Count(kListLButDown), 1);
    EXPECT_EQ(Last(kListLButDown).numbers, (std::vector<std::int32_t>{8}));
    EXPECT_EQ(Last(kListLButDown).text, QStringLiteral("10"));
    int index = -9;
    QString text;
    EXPECT_TRUE(m_host.GetListSelData(index, text));
    EXPECT_EQ(index, 0);
    EXPECT_EQ(text, QStringLiteral("10"));

    DoubleClick(ListWindow()->viewport(), ListPoint(1));
    ASSERT_EQ(Count(kListDblClick), 1);
    EXPECT_EQ(Last(kListDblClick).text, QStringLiteral("11"));
    EXPECT_EQ(Last(kListDblClick).numbers, (std::vector<std::int32_t>{9}));

    // A text the list on screen no longer stores: the lowest key holding
    // it answers (projects, tag key 6, before time sheets).
    m_host.DeleteListItem(2, 8);
    ClickList(0);
    EXPECT_EQ(Last(kListLButDown).numbers, (std::vector<std::int32_t>{6}));

    // Below the rows there is no row to name.
    QTest::mouseClick(ListWindow()->viewport(), Qt::LeftButton, Qt::NoModifier,
                      QPoint(20, ListWindow()->viewport()->height() - 5));
    Pump();
    EXPECT_EQ(Last(kListLButDown).numbers, (std::vector<std::int32_t>{-1}));
    EXPECT_EQ(Last(kListLButDown).text, QString());
}

TEST_F(SarvexList, ListOnlyMembersRestOutsideTheListView)
{
    Create();
    ThreeColumns();
    m_host.SetListStr(1, 0, QStringLiteral("1,one"), 0);
    m_host.SetSelectKey(1);
    ClickList(0);
    m_host.ChangeView(3);
    int rows = -1;
    EXPECT_EQ(m_host.GetListStr(1, rows, 0, 0), QString());
    EXPECT_EQ(rows, -1);
    EXPECT_EQ(m_host.RetListStr(1, 0, 0), QString());
    m_host.DeleteListItem(1, 0);
    m_host.DeleteAllStoredItems(false, true);
    int index = 0;
    QString text = QStringLiteral("x");
    m_host.GetListSelData(index, text);
    EXPECT_EQ(index, 0);
    EXPECT_EQ(text, QString());
    // The list is still on screen; back in view 1 nothing was lost.
    EXPECT_TRUE(ListWindow()->isVisible());
    m_host.ChangeView(1);
    EXPECT_EQ(m_host.RetListStr(1, 0, 1), QStringLiteral("one"));
}

TEST_F(SarvexList, ColumnWidthsChangeOnlyForTheirOwnKeyAndNeverFromZero)
{
    Create();
    ThreeColumns();
    m_host.AddCols(2, 0, 0, 1, QStringLiteral("Other"), 0, 50);
    m_host.AddCols(2, 0, 0, 1, QStringLiteral("Hidden"), 0, 0);
    m_host.SetParent(QStringLiteral("two"), 2, 0, 1, QString(), 0, 0, 0);
    m_host.SetSelectKey(1);
    EXPECT_FALSE(m_host.ListSetColWidth(1, 1, 300));
    EXPECT_EQ(ListWindow()->header()->sectionSize(1), 300);
    EXPECT_FALSE(m_host.ListSetColWidth(2, 1, 90)); // width 0 stays 0
    EXPECT_FALSE(m_host.ListSetColWidth(2, 0, 70)); // not on screen
    EXPECT_EQ(ListWindow()->header()->sectionSize(0), 60);
    m_host.SetSelectKey(2);
    EXPECT_EQ(ListWindow()->header()->sectionSize(0), 70);
    EXPECT_EQ(ListWindow()->header()->sectionSize(1), 0);
    EXPECT_FALSE(m_host.ListSetColWidth(9, 0, 70));
    EXPECT_FALSE(m_host.ListSetColWidth(2, 5, 70));
}
