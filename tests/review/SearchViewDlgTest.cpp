#include "review/SearchViewDlg.h"
#include "app/KelvaneApp.h"
#include "app/TxtVDlg.h"
#include "review/BrowserDlg.h"
#include "review/SearchQuery.h"
#include "review/SearchResultTable.h"
#include "review/SelectXSLT.h"
#include "tests/review/SearchFixture.h"
#include "tests/support/ScriptedModals.h"
#include "tests/support/TestFiles.h"
#include "tests/support/Waiting.h"
#include "ui/HtmlView.h"
#include "ui/ResourceIds.h"
#include "ui/RichTextCtrl.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFile>
#include <QHeaderView>
#include <QMenu>
#include <QTest>
#include <QTreeView>

#include <memory>

namespace {

QString SourceSheet(const QString& name)
{
    return QStringLiteral(KELVANE_SOURCE_DIR "/xml/") + name;
}

// The menu's entries: text and command, submenus by their title.
QStringList MenuEntries(const QMenu* menu)
{
    QStringList entries;
    for (const QAction* action : menu->actions()) {
        if (action->isSeparator())
            entries << QStringLiteral("-");
        else if (action->menu())
            entries << action->text() + QStringLiteral(" >");
        else
            entries << QStringLiteral("%1 %2").arg(action->text()).arg(action->data().toInt());
    }
    return entries;
}

class SearchViewTest : public SearchTest {
protected:
    void TearDown() override
    {
        m_view.reset();
        qDeleteAll(m_recordsets);
        SearchTest::TearDown();
    }
    // The view of a search of the kind, shown.
    CSearchViewDlg& Open(int kind, const QString& filter = QString())
    {
        CSearchQuery query(kind, &m_db);
        query.SetFilter(filter);
        CKeptResults kept;
        m_db.SetSearchViewFactory(&kept);
        QList<QObject*> views;
        QString message;
        EXPECT_TRUE(m_db.RunQueryToList(query.SearchText(), message, QString(), QString(),
                                        m_recordsets, views));
        m_db.SetSearchViewFactory(nullptr);
        m_view =
            std::make_unique<CSearchViewDlg>(kind, query.ColumnCount(), kept.last, &m_db, nullptr);
        m_view->Create();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(m_view.get()));
        return *m_view;
    }
    // Right button on a row, as the user does it; the menu shown or null.
    QMenu* RightClick(int row)
    {
        QTreeView* list = m_view->List();
        const QRect cell = list->visualRect(m_view->Table().index(row, 0));
        QTest::mouseClick(list->viewport(), Qt::RightButton, {}, cell.center());
        QContextMenuEvent event(QContextMenuEvent::Mouse, cell.center(),
                                list->viewport()->mapToGlobal(cell.center()));
        QApplication::sendEvent(list->viewport(), &event);
        return m_view->ContextMenu()->isVisible() ? m_view->ContextMenu() : nullptr;
    }
    void Choose(QMenu* menu, const QString& text)
    {
        for (QAction* action : menu->actions()) {
            if (action->menu()) {
                Choose(action->menu(), text);
            } else if (action->text() == text) {
                menu->hide();
                action->trigger();
                return;
            }
        }
    }
    void ClickHeader(int column)
    {
        QHeaderView* header = m_view->List()->header();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(column) + 5, 5));
    }
    static void Register(const QString& nick, const QString& file)
    {
        QStringList n{nick};
        QStringList f{file};
        ASSERT_TRUE(CKelvaneApp::LoadSaveXsltList(QStringLiteral("TS"), n, f, false));
    }

    QList<CMyAdoRecordSet*> m_recordsets;
    std::unique_ptr<CSearchViewDlg> m_view;
};

} // namespace

TEST_P(SearchViewTest, ShowsTheRowsOfItsKind)
{
    CSearchViewDlg& view = Open(ID_CHANGE_REQUESTS);
    EXPECT_EQ(view.windowTitle(), QStringLiteral("View Search Results : Change Requests"));
    EXPECT_EQ(view.StatusText(), QStringLiteral("Number Records : 3"));
    const CSearchResultTable& table = view.Table();
    ASSERT_EQ(table.ColumnCount(), 13);
    EXPECT_EQ(table.headerData(6, Qt::Horizontal).toString(), QStringLiteral("Priority"));
    // Newest first by the first column; priorities in words; NULL as a blank.
    EXPECT_EQ(table.Text(0, 0), QStringLiteral("3"));
    EXPECT_EQ(table.Text(0, 6), QStringLiteral("Medium"));
    EXPECT_EQ(table.Text(2, 6), QStringLiteral("High"));
    EXPECT_EQ(table.Text(0, 1), QStringLiteral(" "));

    // Comments show the task a comment belongs to by name.
    CSearchViewDlg& comments = Open(ID_TASKS);
    EXPECT_EQ(comments.windowTitle(), QStringLiteral("View Search Results : Comments"));
    const int task = comments.Table().ColumnCount() - 1;
    EXPECT_EQ(comments.Table().headerData(task, Qt::Horizontal).toString(),
              QStringLiteral("ObjectID"));
    EXPECT_EQ(comments.Table().Text(0, task), QStringLiteral("Build"));
}

TEST_P(SearchViewTest, AHeaderClickSortsAndKeepsTheSelection)
{
    CSearchViewDlg& view = Open(ID_TIMESHEETS);
    EXPECT_EQ(view.windowTitle(), QStringLiteral("View Search Results :  Timesheets"));
    const int id = 3;
    ASSERT_EQ(view.Table().headerData(id, Qt::Horizontal).toString(),
              QStringLiteral("Timesheet ID"));
    view.List()->selectionModel()->select(view.Table().index(4, 0),
                                          QItemSelectionModel::Select | QItemSelectionModel::Rows);
    const QString chosen = view.Table().Text(4, id);

    ClickHeader(id);
    QStringList ids;
    for (int r = 0; r < view.Table().RowCount(); ++r)
        ids << view.Table().Text(r, id);
    EXPECT_EQ(ids, QStringList({"1", "2", "3", "4", "5", "6", "7", "8", "9"}));
    EXPECT_EQ(view.List()->header()->sortIndicatorSection(), id);
    ClickHeader(id);
    EXPECT_EQ(view.Table().Text(0, id), QStringLiteral("9"));
    EXPECT_EQ(view.List()->header()->sortIndicatorOrder(), Qt::DescendingOrder);
    const QModelIndexList selected = view.List()->selectionModel()->selectedRows();
    ASSERT_EQ(selected.size(), 1);
    EXPECT_EQ(view.Table().Text(selected.first().row(), id), chosen);
}

TEST_P(SearchViewTest, InvoicedCostsSortByValue)
{
    // Listed as text, held as money: sorted as the numbers they are.
    const QList<double> costs = {100, 112.5, 12.5, 25};
    for (int i = 0; i < costs.size(); ++i)
        Exec(QStringLiteral("UPDATE tblTimeSheet SET InvCost = ? WHERE TimesheetID = ?"),
             {costs.at(i), i + 1});
    CSearchViewDlg& view = Open(ID_TIMESHEETS, QStringLiteral("TimesheetID <= 4"));
    const int cost = 9;
    ASSERT_EQ(view.Table().headerData(cost, Qt::Horizontal).toString(),
              QStringLiteral("Invoiced Cost"));
    ClickHeader(cost);
    QStringList shown;
    for (int r = 0; r < view.Table().RowCount(); ++r)
        shown << view.Table().Text(r, cost);
    EXPECT_EQ(shown, QStringList({"12.5", "25", "100", "112.5"}));
}

TEST_P(SearchViewTest, TheMenuNeedsARowAndListsTheRegisteredSheetsBySlot)
{
    CSearchViewDlg& view = Open(ID_TIMESHEETS);
    EXPECT_FALSE(view.ShowContextMenu(QPoint(10, 10)));

    QMenu* menu = RightClick(0);
    ASSERT_TRUE(menu);
    EXPECT_EQ(MenuEntries(menu),
              QStringList({"View 12845", "Write XML to file 12773", "View XML in browser 12777",
                           "-", "Register XSLT file 12900"}));
    menu->hide();

    // Slot 0 emptied: the entries keep the slots they are stored in.
    Register(QStringLiteral("first"), SourceSheet(QStringLiteral("RowsetTable.xslt")));
    Register(QStringLiteral("Table"), SourceSheet(QStringLiteral("RowsetTable.xslt")));
    Register(QStringLiteral("Hours"), SourceSheet(QStringLiteral("TimesheetHours.xslt")));
    CKelvaneApp::DeleteXsltEntry(QStringLiteral("TS"), 0);
    menu = RightClick(1);
    ASSERT_TRUE(menu);
    EXPECT_EQ(MenuEntries(menu),
              QStringList({"View 12845", "Write XML to file 12773", "View XML in browser 12777",
                           "-", "View with XSLT  >", "-", "Register XSLT file 12900"}));
    QMenu* sheets = menu->actions().at(4)->menu();
    EXPECT_EQ(MenuEntries(sheets), QStringList({"Table 2025", "Hours 2026"}));
    menu->hide();

    // Registering runs the chooser for the kind.
    CScriptedModals modals;
    view.OnCommand(CSearchViewDlg::kCmdRegisterXslt);
    EXPECT_EQ(modals.seen, QStringList{QStringLiteral("CSelectXSLT")});
}

TEST_P(SearchViewTest, ViewPutsTheSelectedRowsOnTheClipboardAndShowsThem)
{
    CSearchViewDlg& view = Open(ID_CHANGE_REQUESTS);
    view.List()->selectAll();
    CScriptedModals modals;
    QString shown;
    modals.Then([&shown](CDialogBase& dialog) {
        shown = static_cast<CTxtVDlg&>(dialog).TextControl()->toPlainText();
        return int(IDOK);
    });
    QMenu* menu = RightClick(2);
    ASSERT_TRUE(menu);
    view.List()->selectAll();
    Choose(menu, QStringLiteral("View"));
    const QString text = QGuiApplication::clipboard()->text();
    const QStringList lines = text.split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 4) << text.toStdString();
    EXPECT_TRUE(lines.at(0).startsWith(QStringLiteral("3,  , ")));
    EXPECT_TRUE(lines.at(2).contains(QStringLiteral("Wider lanes, ")));
    EXPECT_EQ(lines.at(3), QString());
    EXPECT_EQ(modals.seen, QStringList{QStringLiteral("CTxtVDlg")});
    EXPECT_EQ(shown, QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

TEST_P(SearchViewTest, WriteXmlWritesTheRowsInTheListsOrder)
{
    CSearchViewDlg& view = Open(ID_CHANGE_REQUESTS);
    // By Item: Deeper lock (3), New colour (2), Wider lanes (1).
    ClickHeader(3);
    ASSERT_TRUE(view.OnCommand(CSearchViewDlg::kCmdWriteXml));
    QString name;
    CDBClass::GetTempXmlName(ID_CHANGE_REQUESTS, name);
    EXPECT_EQ(QFileInfo(name).fileName(), QStringLiteral("CRtmpXML.xml"));
    EXPECT_TRUE(view.StatusText().endsWith(QStringLiteral(" - written to ") + name));
    const QByteArray golden =
        ReadTestFile(QStringLiteral(KELVANE_REVIEW_FIXTURES "/change-requests.xml"));
    ASSERT_FALSE(golden.isEmpty());
    EXPECT_EQ(QString::fromUtf8(ReadTestFile(name)), QString::fromUtf8(golden));
}

TEST_P(SearchViewTest, TheXmlAndTheXsltViewsOpenInTheBrowser)
{
    CSearchViewDlg& view = Open(ID_TIMESHEETS);
    CScriptedModals modals;
    QString page;
    QString caption;
    auto read = [&page, &caption](CDialogBase& dialog) {
        auto& browser = static_cast<CBrowserDlg&>(dialog);
        page = browser.View()->toPlainText();
        caption = browser.windowTitle();
        return int(IDCANCEL);
    };
    modals.Then(read);
    view.OnCommand(CSearchViewDlg::kCmdViewXml);
    QString xmlName;
    CDBClass::GetTempXmlName(ID_TIMESHEETS, xmlName);
    EXPECT_EQ(caption, QUrl::fromLocalFile(xmlName).toString());
    EXPECT_TRUE(page.contains(QStringLiteral("<z:row ProjName=\"Canal\""))) << page.toStdString();

    Register(QStringLiteral("Hours"), SourceSheet(QStringLiteral("TimesheetHours.xslt")));
    modals.Then(read);
    view.OnCommand(CSearchViewDlg::kCmdFirstXslt);
    QString htmlName;
    CDBClass::GetTempHtmlName(ID_TIMESHEETS, htmlName);
    EXPECT_EQ(caption, QUrl::fromLocalFile(htmlName).toString());
    EXPECT_TRUE(page.contains(QStringLiteral("9 entries, 12.25 hours"))) << page.toStdString();
    // Bridge: four entries of 1.25 and 1.75 hours.
    EXPECT_TRUE(page.contains(QStringLiteral("Bridge\n4\n6.00\n"))) << page.toStdString();
    EXPECT_EQ(modals.seen, QStringList({"CBrowserDlg", "CBrowserDlg"}));

    // Hours as the program books them, singles: written as the list shows
    // them, on either back end.
    const float hours[] = {1.7f, 0.1f, 7.3f};
    for (int i = 0; i < 3; ++i)
        Exec(QStringLiteral("UPDATE tblTimeSheet SET HoursWorked = ? WHERE TimesheetID = ?"),
             {QVariant(hours[i]), i + 1});
    CSearchViewDlg& booked = Open(ID_TIMESHEETS, QStringLiteral("TimesheetID <= 3"));
    QStringList listed;
    for (int c = 0; c < booked.Table().ColumnCount(); ++c)
        if (booked.Table().headerData(c, Qt::Horizontal) == QStringLiteral("Hours Worked"))
            for (int r = 0; r < booked.Table().RowCount(); ++r)
                listed << booked.Table().Text(r, c);
    listed.sort();
    EXPECT_EQ(listed, QStringList({"0.1", "1.7", "7.3"}));
    modals.Then(read);
    booked.OnCommand(CSearchViewDlg::kCmdViewXml);
    for (const char* text : {"HoursWorked=\"1.7\"", "HoursWorked=\"0.1\"", "HoursWorked=\"7.3\""})
        EXPECT_TRUE(page.contains(QLatin1String(text))) << text << "\n" << page.toStdString();
    Register(QStringLiteral("Listed"),
             WriteTestFile(QStringLiteral("hours.xslt"),
                           "<xsl:stylesheet version='1.0' "
                           "xmlns:xsl='http://www.w3.org/1999/XSL/Transform' "
                           "xmlns:z='#RowsetSchema'><xsl:template match='/'><p><xsl:for-each "
                           "select='//z:row'><xsl:sort select='@HoursWorked' "
                           "data-type='number'/><xsl:value-of select='@HoursWorked'/>;"
                           "</xsl:for-each></p></xsl:template></xsl:stylesheet>"));
    modals.Then(read);
    booked.OnCommand(CSearchViewDlg::kCmdFirstXslt + 1);
    EXPECT_EQ(page.trimmed(), QStringLiteral("0.1;1.7;7.3;"));
}

TEST_P(SearchViewTest, ASheetThatIsMissingBrokenOrNosyShowsNoPage)
{
    CSearchViewDlg& view = Open(ID_TIMESHEETS);
    CScriptedModals modals;
    const QString missing = TestEnv::TestDir() + QStringLiteral("/gone.xslt");
    Register(QStringLiteral("Gone"), missing);
    // Half a megabyte of words: the message quotes only its start.
    Register(QStringLiteral("Text"), WriteTestFile(QStringLiteral("text.xslt"),
                                                   QByteArray("just some words ").repeated(32768)));
    const QString secret = WriteTestFile(QStringLiteral("secret.xml"), "<secret>42</secret>");
    Register(QStringLiteral("Nosy"),
             WriteTestFile(QStringLiteral("nosy.xslt"),
                           "<xsl:stylesheet version='1.0' "
                           "xmlns:xsl='http://www.w3.org/1999/XSL/Transform'><xsl:template "
                           "match='/'><xsl:copy-of select=\"document('" +
                               secret.toUtf8() + "')\"/></xsl:template></xsl:stylesheet>"));
    view.OnCommand(CSearchViewDlg::kCmdFirstXslt);
    EXPECT_EQ(CRecordingMessages::Current().Texts(),
              QStringList{missing + QStringLiteral(" does not exist")});
    view.OnCommand(CSearchViewDlg::kCmdFirstXslt + 1);
    EXPECT_TRUE(CRecordingMessages::Current().Texts().at(1).startsWith(
        QStringLiteral("CreateHTMLDoc Failed Load XML just some words")));
    EXPECT_LT(CRecordingMessages::Current().Texts().at(1).size(), 1000);
    CRecordingMessages::Current().Clear();
    view.OnCommand(CSearchViewDlg::kCmdFirstXslt + 2);
    ASSERT_EQ(CRecordingMessages::Current().Count(), 1);
    EXPECT_TRUE(CRecordingMessages::Current().Last().contains(QStringLiteral("denied")))
        << CRecordingMessages::Current().Last().toStdString();
    EXPECT_TRUE(modals.seen.isEmpty());
}

TEST_P(SearchViewTest, AWeekOfBookingsAndItsHoursView)
{
    // A week as people book it; the pictures the README shows.
    Exec(QStringLiteral("DELETE FROM tblTimeSheet"));
    Exec(QStringLiteral("INSERT INTO tblProject (ProjID, ProjName, UseTeamCheck, ProjLeader, "
                        "IsTemplate) VALUES (3, 'Harbour Wall', ?, 0, ?)"),
         {false, false});
    Exec(QStringLiteral("INSERT INTO tblProjectTask (TaskID, Task, ProjID, State) VALUES "
                        "(4, 'Survey', 3, 2), (5, 'Drawings', 3, 2), (6, 'Levels', 2, 2)"));
    struct {
        int emp, proj, task, day, start, length;
        const char* comment;
    } const week[] = {
        {1, 1, 1, 7, 8 * 60, 150, "Pier loads with the structural team"},
        {1, 3, 4, 7, 11 * 60, 120, "Site walk, east section"},
        {2, 2, 2, 7, 9 * 60, 240, "Lock gate hinges"},
        {1, 3, 5, 8, 8 * 60 + 30, 210, "Cross sections 1-12"},
        {2, 1, 1, 8, 13 * 60, 90, "Review of deck drawings"},
        {2, 2, 6, 9, 8 * 60, 180, "Towpath levels"},
        {1, 1, 2, 9, 10 * 60, 120, "Bearing order"},
        {1, 3, 5, 10, 9 * 60, 240, "Cross sections 13-20"},
        {2, 3, 4, 10, 14 * 60, 60, "Tide gauge readings"},
        {1, 2, 6, 11, 8 * 60, 150, "Survey notes typed up"},
    };
    int id = 100;
    for (const auto& b : week) {
        ++id;
        Exec(QStringLiteral("INSERT INTO tblTimeSheet (TimesheetID, EmpID, ProjID, TaskID, "
                            "WorkDate, StartTime, StopTime, HoursWorked, Comment, TimeID) "
                            "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
             {id, b.emp, b.proj, b.task, QVariant::fromValue(CDateTime(2026, 12, b.day)),
              QVariant::fromValue(CDateTime(2026, 12, b.day, b.start / 60, b.start % 60)),
              QVariant::fromValue(CDateTime(2026, 12, b.day).AddSecs((b.start + b.length) * 60)),
              b.length / 60.0, QString::fromLatin1(b.comment), id});
    }
    CSearchViewDlg& view = Open(ID_TIMESHEETS);
    view.resize(1180, 330);
    ClickHeader(4); // by start time
    EXPECT_EQ(view.Table().Text(0, 6), QStringLiteral("2026-12-07"));
    EXPECT_EQ(view.Table().Text(0, 4), QStringLiteral("2026-12-07 08:00"));
    view.List()->selectionModel()->select(view.Table().index(3, 0),
                                          QItemSelectionModel::Select | QItemSelectionModel::Rows);
    const QString folder = qEnvironmentVariable("KELVANE_SCREENSHOT_DIR");
    if (!folder.isEmpty() && !IsPostgres()) {
        Waiting::Settle();
        view.grab().save(folder + QStringLiteral("/search-results.png"));
    }

    Register(QStringLiteral("Hours"), SourceSheet(QStringLiteral("TimesheetHours.xslt")));
    CScriptedModals modals;
    QString page;
    modals.Then([&page, &folder, this](CDialogBase& dialog) {
        auto& browser = static_cast<CBrowserDlg&>(dialog);
        page = browser.View()->toPlainText();
        if (!folder.isEmpty() && !IsPostgres()) {
            browser.resize(760, 560);
            browser.show();
            EXPECT_TRUE(QTest::qWaitForWindowExposed(&browser));
            Waiting::Settle();
            browser.grab().save(folder + QStringLiteral("/browser-xslt.png"));
        }
        return int(IDCANCEL);
    });
    view.OnCommand(CSearchViewDlg::kCmdFirstXslt);
    EXPECT_TRUE(page.contains(QStringLiteral("10 entries, 26.00 hours"))) << page.toStdString();
    EXPECT_TRUE(page.contains(QStringLiteral("Harbour Wall\n4\n10.50\n"))) << page.toStdString();
}

KELVANE_INSTANTIATE_BACKENDS(SearchViewTest);
