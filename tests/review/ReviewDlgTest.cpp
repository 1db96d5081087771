#include "office/OfficeSession.h"
#include "tests/review/ReviewFixture.h"
#include "tests/support/ScriptedModals.h"
#include "tests/support/Waiting.h"

#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QTest>

namespace {

using ReviewDlgTest = ReviewTest;

const QDate kMonday(2024, 3, 4);
const QDate kWednesday(2024, 3, 6);

const QStringList kWeekHeaders = {"Id",      "Employee",    "Project  ",   "Task  ",
                                  "Total  ", "Mon,04 Mar ", "Tue,05 Mar ", "Wed,06 Mar "};

// Everybody's hours of 4 to 6 March, by project and task.
const QList<QStringList> kEverybody = {
    {"0", "Ann Lee,Bob Ray", "Apollo", "Launch", "5.50", "1.50", " ", "4.00"},
    {"1", "Ann Lee,Bob Ray", "Bridge", "Build", "4.00", "3.00", " ", "1.00"},
    {"2", "Ann Lee", "Bridge", "Design", "1.00", " ", "1.00", " "},
    {"3", "Ann Lee", "O'Neil's Barn", "Roof", "0.25", " ", " ", "0.25"},
    {"4", "", "  Total ", " ", "10.75", "4.50", "1.00", "5.25"},
};

} // namespace

TEST_P(ReviewDlgTest, TheHubsReviewCommandOpensTheWindowOnce)
{
    Open();
    EXPECT_TRUE(m_hub->OpenWindows() & kOpenReview);
    EXPECT_TRUE(m_window->isVisible());
    EXPECT_TRUE(m_window->windowTitle().startsWith(QStringLiteral("Week Review ")));
    EXPECT_TRUE(m_window->windowTitle().endsWith(QStringLiteral(" - Ann Lee - All")))
        << m_window->windowTitle().toStdString();
    QComboBox* users = Control<QComboBox>(CReviewDlg::kIdUser);
    ASSERT_EQ(users->count(), 3);
    EXPECT_EQ(users->itemText(0), QStringLiteral("All"));
    EXPECT_EQ(users->currentText(), QStringLiteral("Ann Lee"));
    QComboBox* spans = Control<QComboBox>(CReviewDlg::kIdSpan);
    ASSERT_EQ(spans->count(), 6);
    EXPECT_EQ(spans->itemText(5), QStringLiteral("this week"));
    EXPECT_EQ(Control<QLabel>(CReviewDlg::kIdProject)->text(), QStringLiteral("All"));
    for (int command :
         {CReviewDlg::kIdExportList, CReviewDlg::kIdExportDays, CReviewDlg::kIdSearch})
        EXPECT_NE(m_window->findChild<QAction*>(QStringLiteral("cmd%1").arg(command)), nullptr);
    // Opened by the hub's period: the grid has its days already.
    EXPECT_EQ(Headers().size(), 5 + m_window->Period().Days());
    CReviewDlg* first = m_window;
    m_hub->OnCommand(ID_REVIEW);
    EXPECT_EQ(m_hub->Window(ID_REVIEW), first);
    m_window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(m_hub->OpenWindows() & kOpenReview);
    EXPECT_EQ(m_hub->Window(ID_REVIEW), nullptr);
}

TEST_P(ReviewDlgTest, GridAndTotalsOfEverybodyWhateverTheRowOrder)
{
    BookTheWeek();
    Open();
    Review(kMonday, kWednesday);
    EXPECT_EQ(Headers(), kWeekHeaders);
    EXPECT_EQ(Grid(), kEverybody);
    EXPECT_EQ(m_window->StatusText(), QStringLiteral("Total Days: 3, total number of records 7"));
    EXPECT_DOUBLE_EQ(m_window->GrandTotal(), 10.75);
    // Reviewing again counts the records of this review, not of every one since opening.
    Control<QPushButton>(CReviewDlg::kIdReview)->click();
    EXPECT_EQ(m_window->StatusText(), QStringLiteral("Total Days: 3, total number of records 7"));
    EXPECT_EQ(Grid(), kEverybody);
}

TEST_P(ReviewDlgTest, NamesThatDifferOnlyInCaseMakeOneRowEach)
{
    BookCaseVariants();
    Open();
    Review(kMonday, kWednesday);
    EXPECT_EQ(Grid(), (QList<QStringList>{
                          {"0", "Ann Lee", "Atlas", "Build", "2.00", "1.00", " ", "1.00"},
                          {"1", "Ann Lee", "Atlas", "build", "2.00", "1.00", "1.00", " "},
                          {"2", "Ann Lee", "ATLAS", "Build", "1.00", " ", "1.00", " "},
                          {"3", "", "  Total ", " ", "5.00", "2.00", "2.00", "1.00"},
                      }));
}

TEST_P(ReviewDlgTest, OneUsersHoursAndAUserChosenInTheCombo)
{
    BookTheWeek();
    Open();
    Review(kMonday, kWednesday, QStringLiteral("Ann Lee"));
    EXPECT_EQ(Grid(), (QList<QStringList>{
                          {"0", "Ann Lee", "Apollo", "Launch", "1.50", "1.50", " ", " "},
                          {"1", "Ann Lee", "Bridge", "Build", "3.00", "2.00", " ", "1.00"},
                          {"2", "Ann Lee", "Bridge", "Design", "1.00", " ", "1.00", " "},
                          {"3", "Ann Lee", "O'Neil's Barn", "Roof", "0.25", " ", " ", "0.25"},
                          {"4", "", "  Total ", " ", "5.75", "3.50", "1.00", "1.25"},
                      }));
    // Choosing another user reviews at once.
    QComboBox* users = Control<QComboBox>(CReviewDlg::kIdUser);
    users->setCurrentIndex(users->findText(QStringLiteral("Bob Ray")));
    emit users->activated(users->currentIndex());
    EXPECT_EQ(Grid(), (QList<QStringList>{
                          {"0", "Bob Ray", "Apollo", "Launch", "4.00", " ", " ", "4.00"},
                          {"1", "Bob Ray", "Bridge", "Build", "1.00", "1.00", " ", " "},
                          {"2", "", "  Total ", " ", "5.00", "1.00", "0.00", "4.00"},
                      }));
}

TEST_P(ReviewDlgTest, WithoutRightsOnlyTheOwnHoursAreShown)
{
    BookTheWeek();
    m_level = 0;
    Open();
    Review(kMonday, kWednesday, QStringLiteral("Ann Lee"));
    const QList<QStringList> own = Grid();
    QComboBox* users = Control<QComboBox>(CReviewDlg::kIdUser);
    users->setCurrentIndex(0);
    emit users->activated(0);
    EXPECT_EQ(Messages(), QStringList{QStringLiteral(
                              "You do not have rights to access other users information")});
    EXPECT_EQ(users->currentText(), QStringLiteral("Ann Lee"));
    EXPECT_EQ(Grid(), own);
}

TEST_P(ReviewDlgTest, AProjectChosenWithAnApostropheAndAllInAnyCase)
{
    BookTheWeek();
    Open();
    Review(kMonday, kWednesday);
    CScriptedModals modals;
    modals.Then([](CDialogBase& dialog) {
        auto* list = dialog.Control<QListWidget>(1028);
        const QList<QListWidgetItem*> found =
            list->findItems(QStringLiteral("O'Neil's Barn"), Qt::MatchStartsWith);
        if (found.isEmpty())
            return dialog.OnCommand(IDCANCEL), int(IDCANCEL);
        list->setCurrentItem(found.first());
        dialog.OnCommand(IDOK);
        return int(IDOK);
    });
    Control<QPushButton>(CReviewDlg::kIdChooseProject)->click();
    EXPECT_EQ(modals.seen, QStringList{QStringLiteral("CPickListDlg")});
    EXPECT_EQ(m_window->ProjectFilter(), QStringLiteral("O'Neil's Barn"));
    EXPECT_TRUE(m_window->windowTitle().endsWith(QStringLiteral(" - Ann Lee - O'Neil's Barn")));
    EXPECT_EQ(Grid(), (QList<QStringList>{
                          {"0", "Ann Lee", "O'Neil's Barn", "Roof", "0.25", " ", " ", "0.25"},
                          {"1", "", "  Total ", " ", "0.25", "0.00", "0.00", "0.25"},
                      }));
    // "All" in any letter case, and no project at all, keep every project.
    for (const QString& all : {QStringLiteral("ALL"), QStringLiteral("all"), QString()}) {
        m_window->SetProjectFilter(all);
        Control<QPushButton>(CReviewDlg::kIdReview)->click();
        EXPECT_EQ(Grid(), kEverybody) << all.toStdString();
    }
}

TEST_P(ReviewDlgTest, AFailedQueryLeavesTheGridEmptyAndSaysSo)
{
    BookTheWeek();
    Open();
    Exec(QStringLiteral("DROP VIEW qselTimeByProjectTaskByDay"));
    CRecordingMessages::Current().Clear();
    Review(kMonday, kWednesday);
    EXPECT_TRUE(Messages().contains(QStringLiteral("Unable to open Project Task Times table")))
        << Messages().join('|').toStdString();
    EXPECT_EQ(m_window->GridView()->ItemCount(), 0);
    EXPECT_EQ(m_window->StatusText(),
              QStringLiteral("Total Days: 3; the bookings could not be read"));
}

TEST_P(ReviewDlgTest, BackForwardSwappedDatesAndOneDay)
{
    BookTheWeek();
    Open();
    // A start after the end is taken the other way round.
    Review(kWednesday, kMonday);
    EXPECT_EQ(m_window->Period(), (CReviewPeriod{kMonday, kWednesday}));
    EXPECT_EQ(Control<QDateEdit>(CReviewDlg::kIdStart)->date(), kMonday);
    EXPECT_EQ(Grid(), kEverybody);
    QComboBox* spans = Control<QComboBox>(CReviewDlg::kIdSpan);
    spans->setCurrentIndex(kPresetOneWeek);
    // Back by the period's length, and the grid follows.
    Control<QPushButton>(CReviewDlg::kIdBack)->click();
    EXPECT_EQ(m_window->Period(), (CReviewPeriod{QDate(2024, 3, 1), QDate(2024, 3, 3)}));
    EXPECT_EQ(Headers().at(5), QStringLiteral("Fri,01 Mar "));
    EXPECT_EQ(Grid().size(), 2);
    // ALT+. is forward.
    QTest::keyClick(Control<QDateEdit>(CReviewDlg::kIdStart), Qt::Key_Period, Qt::AltModifier);
    EXPECT_EQ(m_window->Period(), (CReviewPeriod{kMonday, kWednesday}));
    // "this month" steps by calendar months, across the year.
    spans->setCurrentIndex(kPresetThisMonth);
    Review(QDate(2024, 1, 15), QDate(2024, 1, 20));
    Control<QPushButton>(CReviewDlg::kIdBack)->click();
    EXPECT_EQ(m_window->Period(), (CReviewPeriod{QDate(2023, 12, 1), QDate(2023, 12, 31)}));
    EXPECT_EQ(m_window->StatusText(), QStringLiteral("Total Days: 31, total number of records 0"));
    // One day, one day column.
    Review(kWednesday, kWednesday);
    EXPECT_EQ(Headers().size(), 6);
    EXPECT_EQ(Grid().last(), (QStringList{"3", "", "  Total ", " ", "5.25", "5.25"}));
}

TEST_P(ReviewDlgTest, AHeaderClickSortsByTheTextsAndSelectsTheChosenRowAgain)
{
    BookTheWeek();
    Open();
    m_window->resize(900, 300);
    Review(kMonday, kWednesday);
    CReviewGridView* grid = m_window->GridView();
    const auto ids = [this] {
        QStringList column;
        for (const QStringList& row : Grid())
            column << row.first();
        return column.join(',');
    };
    const auto click = [grid](int column) {
        QTest::mouseClick(grid->header()->viewport(), Qt::LeftButton, {},
                          QPoint(grid->header()->sectionViewportPosition(column) + 5, 5));
    };
    // Bridge / Design chosen with the mouse.
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                      grid->visualRect(grid->model()->index(2, 0)).center());
    EXPECT_EQ(m_window->SelectedRowText(), QStringLiteral("2"));
    // The first click sorts down by the texts: "10.75" before "1.00", the totals row too.
    click(CReviewRow::kTotal);
    EXPECT_EQ(ids(), QStringLiteral("0,1,4,2,3"));
    EXPECT_EQ(grid->GetFirstSelected(), 3);
    EXPECT_EQ(grid->header()->sortIndicatorSection(), CReviewRow::kTotal);
    EXPECT_EQ(grid->header()->sortIndicatorOrder(), Qt::DescendingOrder);
    click(CReviewRow::kTotal);
    EXPECT_EQ(ids(), QStringLiteral("3,2,4,1,0"));
    EXPECT_EQ(grid->GetFirstSelected(), 1);
    EXPECT_EQ(grid->header()->sortIndicatorOrder(), Qt::AscendingOrder);
    // Equal texts (days without hours) keep the order they had.
    click(CReviewRow::kFirstDay);
    EXPECT_EQ(ids(), QStringLiteral("4,1,0,3,2"));
    // A new review shows the rows as read, without the mark; the columns
    // remember their direction.
    Review(kMonday, kWednesday);
    EXPECT_EQ(ids(), QStringLiteral("0,1,2,3,4"));
    EXPECT_FALSE(grid->header()->isSortIndicatorShown());
    click(CReviewRow::kTotal);
    EXPECT_EQ(ids(), QStringLiteral("0,1,4,2,3"));
}

TEST_P(ReviewDlgTest, KeysOfTheWindowMoveTheFocus)
{
    Open();
    QApplication::setActiveWindow(m_window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_window));
    QTest::keyClick(Control<QDateEdit>(CReviewDlg::kIdStart), Qt::Key_U, Qt::AltModifier);
    EXPECT_EQ(QApplication::focusWidget(), Control<QComboBox>(CReviewDlg::kIdUser));
    QTest::keyClick(Control<QComboBox>(CReviewDlg::kIdUser), Qt::Key_E, Qt::AltModifier);
    EXPECT_EQ(QApplication::focusWidget(), Control<QDateEdit>(CReviewDlg::kIdEnd));
    QTest::keyClick(Control<QDateEdit>(CReviewDlg::kIdEnd), Qt::Key_L, Qt::ControlModifier);
    EXPECT_EQ(QApplication::focusWidget(), m_window->GridView());
    EXPECT_EQ(m_window->GridView()->GetFirstSelected(), 0);
}

TEST_P(ReviewDlgTest, ExportsSayWhenLibreOfficeIsMissingAndAsk250Days)
{
    BookTheWeek();
    qputenv("KELVANE_OFFICE_BACKEND", "/nonexistent/libkelvane_uno.so");
    COfficeSession office;
    Open();
    m_window->SetOfficeDocuments(&office);
    Review(kMonday, kWednesday);
    CRecordingMessages::Current().Clear();
    m_window->OnCommand(CReviewDlg::kIdExportList);
    m_window->OnCommand(CReviewDlg::kIdExportDays);
    ASSERT_EQ(Messages().size(), 2);
    for (const QString& text : Messages())
        EXPECT_TRUE(text.startsWith(QStringLiteral("LibreOffice is not available\n")))
            << text.toStdString();
    // Everything else goes on.
    Control<QPushButton>(CReviewDlg::kIdReview)->click();
    EXPECT_EQ(Grid(), kEverybody);

    // 300 days: the question first; No leaves the office alone.
    CRecordingMessages::Current().Clear();
    Review(QDate(2024, 1, 1), QDate(2024, 10, 26));
    CRecordingMessages::Current().Answer(kIdNo);
    m_window->OnCommand(CReviewDlg::kIdExportListAlt);
    EXPECT_EQ(Messages(), QStringList{QStringLiteral(
                              "Sorry, you can only export 250 days of data - you are trying to "
                              "export 300 days.\n Do you want 250 days?")});
    EXPECT_TRUE(m_window->LastExportFile().isEmpty());
    qunsetenv("KELVANE_OFFICE_BACKEND");
}

TEST_P(ReviewDlgTest, Screenshot)
{
    BookTheWeek();
    Open();
    m_window->resize(900, 300);
    Review(kMonday, kWednesday);
    Waiting::Settle();
    const QString folder = qEnvironmentVariable("KELVANE_SCREENSHOT_DIR");
    if (!folder.isEmpty())
        m_window->grab().save(folder + QStringLiteral("/review.png"));
    const QPixmap picture = m_window->grab();
    EXPECT_FALSE(picture.isNull());
    // The status line sits below the grid, inside the window.
    auto* status = Control<QLabel>(CReviewDlg::kIdStatus);
    EXPECT_GE(status->geometry().top(), m_window->GridView()->geometry().bottom());
    EXPECT_LE(status->geometry().bottom(), m_window->height());
}

KELVANE_INSTANTIATE_BACKENDS(ReviewDlgTest);
