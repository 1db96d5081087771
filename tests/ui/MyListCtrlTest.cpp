#include "ui/MyListCtrl.h"
#include "platform/ProfileStore.h"
#include "tests/support/DesktopLocale.h"
#include "tests/support/TestEnv.h"
#include "tests/ui/RecordingTreeListDlg.h"

#include <QHeaderView>
#include <QTest>

namespace {

class MyListCtrlTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dlg.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_dlg));
        m_dlg.Forget();
    }

    CMyListCtrl& List() { return *m_dlg.List(); }

    void Fill(const QList<QStringList>& rows)
    {
        for (const QStringList& row : rows)
            List().InsertRow(row);
    }
    QStringList Column(int column)
    {
        QStringList texts;
        for (int i = 0; i < List().ItemCount(); ++i)
            texts << List().ItemText(i, column);
        return texts;
    }
    void ClickHeader(int column)
    {
        QHeaderView* header = List().header();
        const QPoint at(header->sectionViewportPosition(column) + 5, header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
    }

    CRecordingTreeListDlg m_dlg;
};

QString StoredLayout(const QString& key)
{
    return CProfileStore().value(QStringLiteral("Window Settings/") + key).toString();
}

} // namespace

// ---- Rows ----

TEST_F(MyListCtrlTest, RowsAreKeptUnderTheirKeysInKeyOrder)
{
    EXPECT_FALSE(List().InsertRow({}));
    EXPECT_TRUE(List().InsertRow({"b", "2"}));     // key 0
    EXPECT_TRUE(List().InsertRow({"a", "1"}, 0));  // shown first, kept under 0 again
    EXPECT_TRUE(List().InsertRow({"c", "3"}, 10)); // past the end: shown last
    EXPECT_EQ(Column(0), QStringList({"a", "b", "c"}));
    EXPECT_EQ(List().Rows().keys(), QList<int>({0, 10}));
    EXPECT_EQ(List().TextsPerRow(), 2);
}

TEST_F(MyListCtrlTest, FindRowByTextIgnoresCaseAndGivesTheKey)
{
    List().InsertRow({"x", "zeta"}, 4);
    List().InsertRow({"ABC", "beta"}, 7);
    List().InsertRow({"abc", "gamma"}, 9);
    EXPECT_EQ(List().FindRowByText(QStringLiteral("abc"), 0), 7);
    EXPECT_EQ(List().FindRowByText(QStringLiteral("GAMMA"), 1), 9);
    EXPECT_EQ(List().FindRowByText(QStringLiteral("abc"), 5), -1);
    EXPECT_EQ(List().FindRowByText(QStringLiteral("none"), 0), -1);
}

// ---- Sort on a header click ----

TEST_F(MyListCtrlTest, EachClickOnAHeaderTurnsTheDirection)
{
    Fill({{"b"}, {"c"}, {"a"}});
    ClickHeader(0);
    EXPECT_EQ(Column(0), QStringList({"c", "b", "a"})); // stored 0: descending first
    EXPECT_EQ(List().SortMarkColumn(), 0);
    EXPECT_EQ(List().SortMarkDirection(), 1);
    ClickHeader(0);
    EXPECT_EQ(Column(0), QStringList({"a", "b", "c"}));
    EXPECT_EQ(List().SortMarkDirection(), 0);
    EXPECT_EQ(List().header()->sortIndicatorSection(), 0);
    EXPECT_EQ(List().LastSortedColumn(), 0);
    EXPECT_EQ(List().SortDirections().value(0), 0);
}

TEST_F(MyListCtrlTest, TheSortIsStableInBothDirections)
{
    List().SetColumnKinds({kColumnText, kColumnInteger});
    Fill({{"first", "2"}, {"second", "1"}, {"third", "2"}, {"fourth", "1"}});
    ClickHeader(1); // descending
    EXPECT_EQ(Column(0), QStringList({"first", "third", "second", "fourth"}));
    ClickHeader(1); // ascending
    EXPECT_EQ(Column(0), QStringList({"second", "fourth", "first", "third"}));
}

TEST_F(MyListCtrlTest, IntegersSortByValueWithAnEmptyTextAsZero)
{
    List().SetColumnKinds({kColumnInteger});
    List().SetSortDirections({1}); // the next click sorts ascending
    Fill({{"10"}, {"9"}, {""}});
    ClickHeader(0);
    EXPECT_EQ(Column(0), QStringList({"", "9", "10"}));
}

TEST_F(MyListCtrlTest, TextsSortAsTheUsersLanguageSortsThemIgnoringCase)
{
    List().SetSortDirections({1});
    Fill({{"beta"}, {"Alpha"}, {"alpha"}, {"Beta"}});
    ClickHeader(0);
    EXPECT_EQ(Column(0), QStringList({"Alpha", "alpha", "beta", "Beta"}));

    // Accents beside their letters, in a desktop without a language too;
    // Swedish puts Ä after Z.
    const struct {
        const char* locale;
        QStringList sorted;
    } kDesktops[] = {{"C", {"Alpha", "Äpfel", "apple", "Émile", "eve", "zebra", "Ωmega"}},
                     {"de_DE", {"Alpha", "Äpfel", "apple", "Émile", "eve", "zebra", "Ωmega"}},
                     {"sv_SE", {"Alpha", "apple", "Émile", "eve", "zebra", "Äpfel", "Ωmega"}}};
    for (const auto& desktop : kDesktops) {
        CDesktopLocale locale(desktop.locale);
        List().Clear();
        List().SetSortDirections({1});
        Fill({{"zebra"}, {"Ωmega"}, {"Émile"}, {"Äpfel"}, {"apple"}, {"eve"}, {"Alpha"}});
        ClickHeader(0);
        EXPECT_EQ(Column(0), desktop.sorted) << desktop.locale;
    }
}

TEST_F(MyListCtrlTest, AnUnreadableDateSortsBeforeTheOthersAscending)
{
    List().SetColumnKinds({kColumnDateTime});
    List().SetSortDirections({1});
    Fill({{"2024-03-01 10:00:00"}, {"not a date"}, {"2023-12-31 23:59:00"}});
    ClickHeader(0);
    EXPECT_EQ(Column(0), QStringList({"not a date", "2023-12-31 23:59:00", "2024-03-01 10:00:00"}));
    ClickHeader(0);
    EXPECT_EQ(Column(0).last(), QStringLiteral("not a date"));
}

TEST_F(MyListCtrlTest, DatesAsTheProgramShowsThemSortByTheirDay)
{
    const CDesktopLocale desktop("en_US");
    List().SetColumnKinds({kColumnDateTime});
    List().SetSortDirections({1});
    Fill({{"3/29/26 2:30 PM"}, {"12/8/25 9:00 AM"}, {"3/29/26 9:15 AM"}, {"1/2/99"}});
    ClickHeader(0);
    EXPECT_EQ(Column(0),
              QStringList({"1/2/99", "12/8/25 9:00 AM", "3/29/26 9:15 AM", "3/29/26 2:30 PM"}));
}

TEST_F(MyListCtrlTest, TheSortedRowsAreKeptUnderTheirNewPositions)
{
    List().InsertRow({"b"}, 5);
    List().InsertRow({"a"}, 9);
    List().SetSortDirections({1});
    ClickHeader(0);
    EXPECT_EQ(List().Rows().keys(), QList<int>({0, 1}));
    EXPECT_EQ(List().FindRowByText(QStringLiteral("a"), 0), 0);
}

TEST_F(MyListCtrlTest, AColumnBeyondTheRowsTextsIsNotSorted)
{
    Fill({{"b"}, {"a"}});
    ClickHeader(2);
    EXPECT_EQ(Column(0), QStringList({"b", "a"}));
    EXPECT_EQ(List().SortMarkColumn(), -1);
    EXPECT_FALSE(List().header()->isSortIndicatorShown());
    EXPECT_TRUE(m_dlg.log.isEmpty());
}

TEST_F(MyListCtrlTest, AnExternalSortOnlyMovesTheMark)
{
    List().SetExternalSort(true);
    Fill({{"b", "1"}, {"a", "2"}});
    List().SetSortMark(-1, 0, 0);
    ClickHeader(1);
    EXPECT_EQ(Column(0), QStringList({"b", "a"}));
    EXPECT_EQ(List().SortMarkColumn(), 1);
    EXPECT_EQ(List().SortMarkDirection(), 1);
    EXPECT_EQ(List().LastSortedColumn(), 1);
    EXPECT_EQ(m_dlg.log, QStringList({"14"}));
}

TEST(MyListCtrl, AListWithoutOwnerIgnoresHeaderClicksButShowsItsMark)
{
    QWidget parent;
    CMyListCtrl list;
    list.CreateListSimple(QRect(0, 0, 300, 200), &parent, {"Name"});
    list.InsertRow({"b"});
    list.InsertRow({"a"});
    parent.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&parent));
    QHeaderView* header = list.header();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(5, header->height() / 2));
    EXPECT_EQ(list.ItemText(0, 0), QStringLiteral("b"));
    EXPECT_FALSE(header->sectionsMovable());
    list.SetSortMark(-1, 0, 1);
    EXPECT_EQ(list.SortMarkColumn(), 0);
    EXPECT_EQ(header->sortIndicatorOrder(), Qt::DescendingOrder);
}

TEST(MyListCtrl, ColumnsWithoutWidthsShareTheRectangle)
{
    QWidget parent;
    CMyListCtrl list;
    list.CreateListSimple(QRect(0, 0, 301, 200), &parent, {"a", "b", "c"}, {0, 1, 0}, {-1, 40});
    QList<int> widths;
    ASSERT_TRUE(list.GetColumnWidths(widths));
    EXPECT_EQ(widths, QList<int>({99, 40, 99}));
    EXPECT_EQ(list.headerItem()->textAlignment(1) & Qt::AlignHorizontal_Mask, Qt::AlignRight);
}

// ---- Layout ----

TEST(MyListCtrlLayout, WithNothingStoredTheDefaultIsRead)
{
    CMyListCtrl list;
    QString value;
    ASSERT_TRUE(list.LoadLayout(true, QStringLiteral("CDlgList"), value, 4));
    EXPECT_EQ(value, QStringLiteral("0,-1,1,-1,2,-1,3,-1"));
    EXPECT_EQ(list.LayoutColumnIds(), QStringList({"0", "1", "2", "3"}));
}

TEST(MyListCtrlLayout, TheColumnCountIsKnownBeforeTheListExists)
{
    // The owner loads the layout before it creates the list, to build the
    // columns in the stored order; a short layout must still be caught.
    CProfileStore().setValue(QStringLiteral("Window Settings/CDlgList"),
                             QStringLiteral("2,120,0,80"));
    CMyListCtrl list;
    QString value;
    ASSERT_TRUE(list.LoadLayout(true, QStringLiteral("CDlgList"), value, 3));
    EXPECT_EQ(value, QStringLiteral("0,-1,1,-1,2,-1"));
    EXPECT_EQ(list.LayoutWidths().size(), 3);
    // The profile takes the caller's value, which loads as the default next time.
    EXPECT_EQ(StoredLayout(QStringLiteral("CDlgList")), QString());
}

TEST(MyListCtrlLayout, AStoredLayoutArrangesTheColumnsAndComesBackAfterADrag)
{
    CProfileStore().setValue(QStringLiteral("Window Settings/CDlgList"),
                             QStringLiteral("2,120,0,80,1,-1"));
    QWidget parent;
    CMyListCtrl list;
    QString value;
    ASSERT_TRUE(list.LoadLayout(true, QStringLiteral("CDlgList"), value, 3));
    QStringList titles = {"Name", "Count", "When"};
    QList<int> formats = {0, 1, 0};
    QList<int> widths = {100, 60, 90};
    ASSERT_TRUE(list.ArrangeColumns(titles, formats, widths));
    EXPECT_EQ(titles, QStringList({"When", "Name", "Count"}));
    EXPECT_EQ(formats, QList<int>({0, 0, 1}));
    EXPECT_EQ(widths, QList<int>({120, 80, 60}));
    list.CreateListSimple(QRect(0, 0, 400, 200), &parent, titles, formats, widths);

    QString layout;
    ASSERT_TRUE(list.GetLayout(layout));
    EXPECT_EQ(layout, QStringLiteral("2,120,0,80,1,60"));
    // The user drags "Count" to the front.
    list.header()->moveSection(2, 0);
    ASSERT_TRUE(list.GetLayout(layout));
    EXPECT_EQ(layout, QStringLiteral("1,60,2,120,0,80"));
    ASSERT_TRUE(list.LoadLayout(false, QStringLiteral("CDlgList"), layout));
    EXPECT_EQ(StoredLayout(QStringLiteral("CDlgList")), layout);
}

TEST(MyListCtrlLayout, GarbledLayoutTextLeavesTheColumnsAsTheyAre)
{
    struct Case {
        const char* text;
        bool layoutReadable; // GetLayout finds a number below 3 for each column
    };
    const Case cases[] = {
        {"x,y,z,w,q,r", false},   {"7,1,8,1,9,1", false},
        {"-1,5,0,5,1,5", false},  {",,,,,", true}, // too short: the default
        {"0,10,0,10,0,10", true},                  // repeated ids are numbers, but name no order
    };
    for (const Case& c : cases) {
        CProfileStore().setValue(QStringLiteral("Window Settings/Bad"), QLatin1String(c.text));
        QWidget parent;
        CMyListCtrl list;
        QString value;
        ASSERT_TRUE(list.LoadLayout(true, QStringLiteral("Bad"), value, 3));
        QStringList titles = {"a", "b", "c"};
        QList<int> formats;
        QList<int> widths;
        list.ArrangeColumns(titles, formats, widths);
        EXPECT_EQ(titles, QStringList({"a", "b", "c"})) << c.text;
        list.CreateListSimple(QRect(0, 0, 300, 100), &parent, titles);
        QString layout = QStringLiteral("unchanged");
        EXPECT_EQ(list.GetLayout(layout), c.layoutReadable) << c.text;
        if (!c.layoutReadable) {
            EXPECT_EQ(layout, QStringLiteral("unchanged"));
        }
    }
}

TEST(MyListCtrlLayout, AnUnquotedListInTheProfileIsReadAsText)
{
    // QSettings reads a hand-written value with commas back as a list.
    CProfileStore().setValue(QStringLiteral("Window Settings/Hand"),
                             QStringList({"1", "-1", "0", "-1"}));
    CMyListCtrl list;
    QString value;
    ASSERT_TRUE(list.LoadLayout(true, QStringLiteral("Hand"), value, 2));
    EXPECT_EQ(value, QStringLiteral("1,-1,0,-1"));
}
