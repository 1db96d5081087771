#include "ui/ListRowSource.h"
#include "tests/support/DesktopLocale.h"
#include "tests/support/TestEnv.h"
#include "tests/ui/RecordingTreeListDlg.h"
#include "ui/ListSortKeys.h"
#include "ui/MyListCtrl.h"

#include <QHeaderView>
#include <QTest>

namespace {

// Rows of texts that count how often the list asks for one.
class CCountingRows : public IListRowSource {
public:
    explicit CCountingRows(QList<QStringList> rows)
        : m_rows(std::move(rows))
    {}
    int RowCount() const override { return static_cast<int>(m_rows.size()); }
    QString CellText(int row, int column) const override
    {
        ++asked;
        return m_rows.value(row).value(column);
    }
    mutable int asked = 0;

private:
    QList<QStringList> m_rows;
};

class ListRowSourceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dlg.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_dlg));
        m_dlg.Forget();
    }
    CMyListCtrl& List() { return *m_dlg.List(); }

    CRecordingTreeListDlg m_dlg;
};

} // namespace

TEST_F(ListRowSourceTest, TheListShowsTheSourcesRowsAskingForTextsOnlyWhenNeeded)
{
    QList<QStringList> texts;
    for (int r = 0; r < 5000; ++r)
        texts << QStringList{QStringLiteral("name %1").arg(r), QString::number(r), QString()};
    CCountingRows rows(texts);
    List().ShowRows(&rows);
    EXPECT_EQ(List().ItemCount(), 5000);
    EXPECT_EQ(List().TextsPerRow(), 3);
    EXPECT_TRUE(List().Rows().isEmpty());
    QCoreApplication::processEvents();
    // Drawn: the rows on the screen only, not five thousand of them.
    EXPECT_GT(rows.asked, 0);
    EXPECT_LT(rows.asked, 3 * 200);
    EXPECT_EQ(List().ItemText(4321, 0), QStringLiteral("name 4321"));
    EXPECT_EQ(List().ItemText(4321, 1), QStringLiteral("4321"));
    EXPECT_EQ(List().ItemText(5000, 0), QString());

    // Selection and the owner's calls work as on rows of its own.
    List().SelectItem(17);
    EXPECT_EQ(List().GetFirstSelected(), 17);
    QTest::mouseClick(List().viewport(), Qt::LeftButton, {},
                      List().visualItemRect(List().topLevelItem(2)).center());
    EXPECT_TRUE(m_dlg.log.contains(QStringLiteral("1 2"))) << m_dlg.log.join(' ').toStdString();

    // Other rows again, then none: the source is let go.
    CCountingRows other({{"x", "1", "y"}});
    List().ShowRows(&other);
    EXPECT_EQ(List().ItemCount(), 1);
    EXPECT_EQ(List().ItemText(0, 2), QStringLiteral("y"));
    List().Clear();
    EXPECT_EQ(List().RowSource(), nullptr);
    EXPECT_EQ(List().ItemCount(), 0);
}

TEST_F(ListRowSourceTest, AHeaderClickOverSourceRowsTellsTheOwnerWhoSorts)
{
    CCountingRows rows({{"b", "2", ""}, {"a", "1", ""}});
    List().ShowRows(&rows);
    List().SetExternalSort(true);
    m_dlg.log.clear();
    QHeaderView* header = List().header();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(0) + 5, header->height() / 2));
    EXPECT_EQ(m_dlg.log, QStringList({"14"}));
    EXPECT_EQ(List().SortMarkColumn(), 0);
    EXPECT_EQ(List().SortDirections().value(0), 1);
    EXPECT_EQ(List().ItemText(0, 0), QStringLiteral("b"));
}

TEST(ListSortKeysTest, TypedValuesSortAsTheirTextsDoAndTiesKeepTheirPlaces)
{
    // Numbers; equal ones keep their places in either direction.
    CListSortKeys numbers(kColumnInteger, 4);
    for (int r = 0; r < 4; ++r)
        numbers.SetNumber(r, QList<qint64>({3, 1, 3, -2}).at(r));
    EXPECT_EQ(numbers.Order(false), QList<int>({3, 1, 0, 2}));
    EXPECT_EQ(numbers.Order(true), QList<int>({0, 2, 1, 3}));

    // Dates to the millisecond; none before any date, ascending.
    CListSortKeys dates(kColumnDateTime, 4);
    dates.SetDateTime(0, CDateTime(2026, 3, 2, 9, 30));
    dates.SetDateTime(1, CDateTime());
    dates.SetDateTime(2, CDateTime(1899, 12, 30));
    dates.SetDateTime(3, CDateTime(2026, 3, 2, 9, 30).AddMSecs(1));
    EXPECT_EQ(dates.Order(false), QList<int>({1, 2, 0, 3}));
    EXPECT_EQ(dates.Order(true), QList<int>({3, 0, 2, 1}));

    // A sort of an order already sorted by another key keeps that order for ties.
    QList<int> order = numbers.Order(true);
    CListSortKeys same(kColumnInteger, 4);
    for (int r = 0; r < 4; ++r)
        same.SetNumber(r, 7);
    same.Sort(order, false);
    EXPECT_EQ(order, QList<int>({0, 2, 1, 3}));
}

TEST(ListSortKeysTest, TextsSortInTheUsersLanguageIgnoringCaseWithEmptyOnesAsABlank)
{
    const CDesktopLocale english("en_GB");
    const QStringList texts = {"zebra", "Émile", "apfel", "", "APFEL", "Äpfel", "eve", " "};
    CListSortKeys keys(kColumnText, static_cast<int>(texts.size()));
    for (int r = 0; r < texts.size(); ++r)
        keys.SetText(r, texts.at(r));
    QStringList ascending;
    for (int r : keys.Order(false))
        ascending << texts.at(r);
    // Equal texts ("apfel", "APFEL"; "" and " ") keep their places.
    EXPECT_EQ(ascending,
              QStringList({"", " ", "apfel", "APFEL", "Äpfel", "Émile", "eve", "zebra"}));
    QStringList descending;
    for (int r : keys.Order(true))
        descending << texts.at(r);
    EXPECT_EQ(descending,
              QStringList({"zebra", "eve", "Émile", "Äpfel", "apfel", "APFEL", "", " "}));
}
