#include "review/SearchDlg.h"
#include "data/SqlExecutor.h"
#include "platform/ProfileStore.h"
#include "review/SearchCost.h"
#include "review/SearchResultTable.h"
#include "review/SearchViewDlg.h"
#include "tests/review/SearchFixture.h"
#include "tests/support/ScriptedModals.h"
#include "ui/ProgressDlg.h"
#include "ui/ResourceIds.h"
#include "ui/RichTextCtrl.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

// A filter that never ends by itself.
const QString kRunaway = QStringLiteral(
    "TimesheetID IN (WITH RECURSIVE r(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM r) SELECT n "
    "FROM r WHERE n = 0)");

class SearchDlgTest : public SearchTest {
protected:
    // Runs the dialog of the kind; the step acts on it while it is open.
    void Run(int kind, const std::function<void(CSearchDlg&)>& step)
    {
        CSearchDlg dialog(kind, &m_db);
        CScriptedModals modals;
        modals.Then([&step](CDialogBase& d) {
            step(static_cast<CSearchDlg&>(d));
            return int(IDCANCEL);
        });
        dialog.DoModal();
    }
    static void Section(CSearchDlg& dlg, const QString& field, const QString& equate,
                        const QString& value, const QString& join = QString())
    {
        auto* fields = dlg.Control<QComboBox>(CSearchDlg::kField);
        fields->setCurrentIndex(fields->findText(field));
        dlg.Control<QComboBox>(CSearchDlg::kEquate)->setEditText(equate);
        dlg.Control<QLineEdit>(CSearchDlg::kValue)->setText(value);
        auto* joins = dlg.Control<QComboBox>(CSearchDlg::kJoin);
        joins->setCurrentIndex(joins->findText(join));
    }
    static QString FilterText(CSearchDlg& dlg)
    {
        return dlg.Control<CRichTextCtrl>(CSearchDlg::kFilter)->toPlainText();
    }
    static CSearchViewDlg* LastView(CSearchDlg& dlg)
    {
        return dlg.Views().isEmpty() ? nullptr : qobject_cast<CSearchViewDlg*>(dlg.Views().last());
    }
};

} // namespace

TEST_P(SearchDlgTest, SectionsBuildTheFilterAndEachSearchOpensAView)
{
    CProfileStore().setValue(QStringLiteral("Admin/bsearchSize"), 0);
    Run(ID_TIMESHEETS, [](CSearchDlg& dlg) {
        EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Search Timesheets"));
        auto* join = dlg.Control<QComboBox>(CSearchDlg::kJoin);
        EXPECT_FALSE(join->isEnabled());
        EXPECT_EQ(dlg.Control<QComboBox>(CSearchDlg::kField)->count(), 15);

        Section(dlg, QStringLiteral("Comment"), QStringLiteral("LIKE"), QStringLiteral("%review%"));
        dlg.OnCommand(CSearchDlg::kAdd);
        EXPECT_TRUE(join->isEnabled());
        EXPECT_TRUE(FilterText(dlg).contains(QStringLiteral("'%review%'")))
            << FilterText(dlg).toStdString();
        // A second section needs its join.
        Section(dlg, QStringLiteral("Name"), QStringLiteral("="), QStringLiteral("ann lee"));
        dlg.OnCommand(CSearchDlg::kAdd);
        EXPECT_EQ(CRecordingMessages::Current().Last(),
                  QStringLiteral("With more than one filter section you must have a joining "
                                 "phrase and/or"));
        Section(dlg, QStringLiteral("Name"), QStringLiteral("="), QStringLiteral("ann lee"),
                QStringLiteral("and"));
        dlg.OnCommand(CSearchDlg::kAdd);

        dlg.OnCommand(CSearchDlg::kSearch);
        EXPECT_EQ(dlg.StatusText(), QString());
        ASSERT_EQ(dlg.Views().size(), 1);
        CSearchViewDlg* view = LastView(dlg);
        ASSERT_TRUE(view);
        EXPECT_TRUE(view->isVisible());
        EXPECT_EQ(view->StatusText(), QStringLiteral("Number Records : 1"));
        EXPECT_EQ(view->Table().Text(0, 8), QStringLiteral("Design review"));

        // Another search, another view; none found, no view.
        dlg.OnCommand(CSearchDlg::kClear);
        EXPECT_EQ(FilterText(dlg), QString());
        Section(dlg, QStringLiteral("Project Name"), QStringLiteral("="), QStringLiteral("canal"));
        dlg.OnCommand(CSearchDlg::kSearch);
        ASSERT_EQ(dlg.Views().size(), 2);
        EXPECT_EQ(LastView(dlg)->Table().RowCount(), 5);
        dlg.OnCommand(CSearchDlg::kClear);
        Section(dlg, QStringLiteral("Project Name"), QStringLiteral("="), QStringLiteral("Dam"));
        dlg.OnCommand(CSearchDlg::kSearch);
        EXPECT_EQ(dlg.StatusText(), QStringLiteral("No Records"));
        EXPECT_EQ(dlg.Views().size(), 2);
    });
}

TEST_P(SearchDlgTest, ShowQueryAndTheRowLimit)
{
    CProfileStore().setValue(QStringLiteral("Admin/bsearchSize"), 1);
    CProfileStore().setValue(QStringLiteral("Admin/isearchSize"), 3);
    Run(ID_CHANGE_REQUESTS, [this](CSearchDlg& dlg) {
        EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Search Change Requests"));
        EXPECT_EQ(dlg.Query().TopText(), QStringLiteral("TOP 3"));
        // Show query adds the section in the controls first.
        Section(dlg, QStringLiteral("Priority"), QStringLiteral("="), QStringLiteral("high"));
        dlg.OnCommand(CSearchDlg::kShowQuery);
        // The statement the search runs, as this database takes it.
        const QString shown = CRecordingMessages::Current().Last();
        EXPECT_TRUE(shown.startsWith(QStringLiteral("Select "))) << shown.toStdString();
        EXPECT_FALSE(shown.contains(QStringLiteral("TOP"))) << shown.toStdString();
        EXPECT_TRUE(shown.endsWith(QStringLiteral(" from qSelChgReqBase where Priority = 1 order "
                                                  "by ChgReqID DESC LIMIT 3")))
            << shown.toStdString();
        EXPECT_LE(Query(shown).rows, 3);
        EXPECT_EQ(FilterText(dlg), QStringLiteral(" Priority = 1"));
    });
    Run(ID_TIMESHEETS, [](CSearchDlg& dlg) {
        dlg.OnCommand(CSearchDlg::kSearch);
        ASSERT_EQ(dlg.Views().size(), 1);
        EXPECT_EQ(LastView(dlg)->Table().RowCount(), 3);
    });
}

TEST_P(SearchDlgTest, AFilterTypedByHandRunsReadOnlyAndItsErrorIsTold)
{
    Run(ID_TIMESHEETS, [this](CSearchDlg& dlg) {
        auto* filter = dlg.Control<CRichTextCtrl>(CSearchDlg::kFilter);
        filter->setPlainText(QStringLiteral("TimesheetID > 7"));
        dlg.OnCommand(CSearchDlg::kSearch);
        ASSERT_EQ(dlg.Views().size(), 1);
        EXPECT_EQ(LastView(dlg)->Table().RowCount(), 2);

        filter->setPlainText(QStringLiteral("1 = 1; DELETE FROM tblTimeSheet"));
        dlg.OnCommand(CSearchDlg::kSearch);
        EXPECT_EQ(dlg.StatusText(), QStringLiteral("Error searching.  SQL string not well formed"));
        EXPECT_TRUE(CRecordingMessages::Current().Last().startsWith(
            QStringLiteral("Error searching.  SQL string not well formed\n")));
        EXPECT_EQ(dlg.Views().size(), 1);
        EXPECT_EQ(TimeSheetRows(), 9);
    });
}

TEST_P(SearchDlgTest, ARunawaySearchCanBeCancelled)
{
    // The user presses Cancel once the search has run for a moment.
    CProgressDlg::SetTiming(0, 0);
    QTimer user;
    QObject::connect(&user, &QTimer::timeout, [] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* progress = qobject_cast<QProgressDialog*>(w);
                progress && progress->isVisible())
                if (auto* cancel = progress->findChild<QPushButton*>())
                    cancel->click();
    });
    user.start(200);
    QElapsedTimer clock;
    clock.start();
    Run(ID_TIMESHEETS, [](CSearchDlg& dlg) {
        dlg.Control<CRichTextCtrl>(CSearchDlg::kFilter)->setPlainText(kRunaway);
        dlg.OnCommand(CSearchDlg::kSearch);
        EXPECT_EQ(dlg.StatusText(), QStringLiteral("The search was cancelled"));
        EXPECT_TRUE(dlg.Views().isEmpty());
        // The next search runs as ever.
        dlg.Control<CRichTextCtrl>(CSearchDlg::kFilter)
            ->setPlainText(QStringLiteral("TimesheetID > 7"));
        dlg.OnCommand(CSearchDlg::kSearch);
        ASSERT_EQ(dlg.Views().size(), 1);
        EXPECT_EQ(LastView(dlg)->Table().RowCount(), 2);
    });
    user.stop();
    CProgressDlg::SetTiming(400, 50);
    EXPECT_LT(clock.elapsed(), 10000);
    EXPECT_TRUE(CRecordingMessages::Current().Texts().isEmpty());
    EXPECT_EQ(TimeSheetRows(), 9);
}

TEST_P(SearchDlgTest, ARunawaySearchStopsAtTheTimeLimit)
{
    m_db.SetSearchTimeLimitMs(1000);
    QElapsedTimer clock;
    clock.start();
    Run(ID_TIMESHEETS, [](CSearchDlg& dlg) {
        dlg.Control<CRichTextCtrl>(CSearchDlg::kFilter)->setPlainText(kRunaway);
        dlg.OnCommand(CSearchDlg::kSearch);
        EXPECT_TRUE(dlg.Views().isEmpty());
    });
    EXPECT_LT(clock.elapsed(), 10000);
    EXPECT_EQ(
        CRecordingMessages::Current().Texts(),
        QStringList{QStringLiteral("The search ran for more than 1 seconds and was stopped")});
}

TEST_P(SearchDlgTest, ASearchThatCannotFinishInTimeIsToldBeforeItRuns)
{
    // A thousand time sheets more, and a time limit that sorting them overruns.
    Exec(IsPostgres()
             ? QStringLiteral("INSERT INTO tblTimeSheet (TimesheetID, EmpID, ProjID, WorkDate, "
                              "TimeID) SELECT g, 1, 1, TIMESTAMP '2020-01-01', g FROM "
                              "generate_series(100, 1099) g")
             : QStringLiteral("WITH RECURSIVE g(n) AS (SELECT 100 UNION ALL SELECT n + 1 FROM g "
                              "WHERE n < 1099) INSERT INTO tblTimeSheet (TimesheetID, EmpID, "
                              "ProjID, WorkDate, TimeID) SELECT n, 1, 1, '2020-01-01 00:00:00', n "
                              "FROM g"));
    m_db.SetSearchTimeLimitMs(1);
    CProfileStore().setValue(QStringLiteral("Admin/bsearchSize"), 1);
    CProfileStore().setValue(QStringLiteral("Admin/isearchSize"), 1000000);
    const QString told = QStringLiteral("This search has to sort all %1 time sheets before it can "
                                        "show the first of them")
                             .arg(QLocale().toString(1009));
    QString statement;
    Run(ID_TIMESHEETS, [this, &told, &statement](CSearchDlg& dlg) {
        dlg.OnCommand(CSearchDlg::kSearch);
        EXPECT_TRUE(dlg.Views().isEmpty());
        EXPECT_TRUE(dlg.StatusText().startsWith(told)) << dlg.StatusText().toStdString();
        statement = CSqlExecutor::Translate(*m_db.Connection(), dlg.LastSearch());
    });
    ASSERT_EQ(CRecordingMessages::Current().Texts().size(), 1);
    EXPECT_TRUE(CRecordingMessages::Current().Last().startsWith(told));

    // Only where the number is certain: not with a filter, nor with a limit
    // the sort keeps to as it goes.
    CDBConnection& connection = *m_db.Connection();
    const QString table = QStringLiteral("tblTimeSheet");
    EXPECT_EQ(CSearchCost::RowsTooManyToSort(connection, statement, table, false, 1000000, 1),
              1009);
    EXPECT_EQ(CSearchCost::RowsTooManyToSort(connection, statement, table, true, 1000000, 1), 0);
    EXPECT_EQ(CSearchCost::RowsTooManyToSort(connection, statement, table, false, 1000, 1), 0);
    EXPECT_EQ(CSearchCost::RowsTooManyToSort(connection, statement, table, false, 1000000, 15000),
              0);
    m_db.SetSearchTimeLimitMs(15000);
    Run(ID_TIMESHEETS, [](CSearchDlg& dlg) {
        dlg.OnCommand(CSearchDlg::kSearch);
        ASSERT_EQ(dlg.Views().size(), 1);
        EXPECT_EQ(LastView(dlg)->Table().RowCount(), 1009);
    });
}

TEST_P(SearchDlgTest, CloseEndsTheDialogAndItsViewsGoWithIt)
{
    QPointer<QObject> view;
    CSearchDlg* closed = nullptr;
    {
        CSearchDlg dialog(ID_TASKS, &m_db);
        CScriptedModals modals;
        modals.Then([&view, &closed](CDialogBase& d) {
            auto& dlg = static_cast<CSearchDlg&>(d);
            EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Search Comments"));
            dlg.OnCommand(CSearchDlg::kSearch);
            EXPECT_EQ(dlg.Views().size(), 1);
            view = dlg.Views().value(0);
            dlg.OnCommand(CSearchDlg::kClose);
            closed = &dlg;
            return dlg.EndCode();
        });
        EXPECT_EQ(dialog.DoModal(), int(IDCANCEL));
        EXPECT_EQ(closed, &dialog);
        EXPECT_TRUE(view);
    }
    EXPECT_FALSE(view);

    // Other kinds have nothing to search.
    Run(ID_REVIEW, [](CSearchDlg& dlg) {
        EXPECT_EQ(dlg.Control<QComboBox>(CSearchDlg::kField)->count(), 0);
        dlg.OnCommand(CSearchDlg::kSearch);
        EXPECT_TRUE(dlg.Views().isEmpty());
    });
}

KELVANE_INSTANTIATE_BACKENDS(SearchDlgTest);
