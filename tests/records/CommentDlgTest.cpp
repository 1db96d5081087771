#include "app/UnreadWindows.h"
#include "data/Schema.h"
#include "records/CommentWindows.h"
#include "tests/records/CommentFixture.h"
#include "tests/support/Waiting.h"
#include "tests/timesheet/DatabaseOutage.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QTest>

namespace {

class CommentDlgTest : public CommentTest {};

// Answers every message box and asks the window for a second fill while the
// first one is still showing its error.
class CReenteringMessages : public IMessageBoxHook {
public:
    explicit CReenteringMessages(CCommentDlg* window)
        : m_window(window)
    {}
    int Show(const QString& text, const QString&, unsigned) override
    {
        texts << text;
        rowsSeen = m_window->CommentRowCount();
        answers << m_window->DoUpdateCommentData(m_window->NodeText(), true);
        rowsAfter = m_window->CommentRowCount();
        return kIdOk;
    }
    QStringList texts;
    QList<bool> answers;
    int rowsSeen = -1;
    int rowsAfter = -1;

private:
    CCommentDlg* m_window;
};

} // namespace

TEST_P(CommentDlgTest, OpensOnTheUsersToDosOfHerProjects)
{
    Open();
    // The tree holds the projects open to Ann; Zephyr is for its team only.
    EXPECT_EQ(Nodes(), QStringList({"Apollo", "Bridge"}));
    EXPECT_EQ(m_window->NodeText(), QStringLiteral("Project Comments"));
    EXPECT_EQ(Combo(CCommentDlg::kIdUser)->currentText(), QStringLiteral("Ann Lee"));
    EXPECT_EQ(Combo(CCommentDlg::kIdType)->currentText(), QStringLiteral("ToDo"));
    EXPECT_EQ(Combo(CCommentDlg::kIdType)->itemText(Combo(CCommentDlg::kIdType)->count() - 1),
              QStringLiteral("Bad, Good, Info"));
    EXPECT_EQ(Ids(), QList<int>({1, 5}));
    EXPECT_EQ(m_window->StatusText(), QStringLiteral("2 Comments found"));
    EXPECT_EQ(m_hub->OpenWindows(), kOpenComments);

    // Every project with the option off and all users, or with "Show all projects".
    Option("Admin/ShowMineComments", 0);
    Choose(CCommentDlg::kIdUser, QStringLiteral("All"));
    m_window->OnCommand(CCommentDlg::kCmdRefresh);
    EXPECT_EQ(Nodes(), QStringList({"Apollo", "Bridge", "Zephyr"}));
    Option("Admin/ShowMineComments", 1);
    m_window->OnCommand(CCommentDlg::kCmdRefresh);
    EXPECT_EQ(Nodes(), QStringList({"Apollo", "Bridge"}));
    m_window->Control<QCheckBox>(CCommentDlg::kIdShowAll)->click();
    EXPECT_EQ(Nodes(), QStringList({"Apollo", "Bridge", "Zephyr"}));

    // The main menu's other windows are the hub's; the keys reach list and tree.
    m_window->OnCommand(ID_REVIEW);
    QCoreApplication::processEvents();
    EXPECT_EQ(CRecordingMessages::Current().Last(),
              QStringLiteral("Review is not available in this version of Kelvane."));
    m_window->OnCommand(CCommentDlg::kCmdFocusList);
    EXPECT_EQ(m_window->List()->GetFirstSelected(), 0);

    // The options' type for new windows.
    Close();
    Option("Admin/DefTaskType", QStringLiteral("info"));
    Open();
    EXPECT_EQ(Combo(CCommentDlg::kIdType)->currentText(), QStringLiteral("Info"));
}

TEST_P(CommentDlgTest, RootAllAndAllListEveryCommentByDateWithoutFilter)
{
    Open();
    ShowEverything();
    EXPECT_TRUE(m_window->BuildCommentFilter().IsEmpty());
    EXPECT_TRUE(m_window->windowTitle().endsWith(QStringLiteral(" - Ann Lee - No filter")))
        << m_window->windowTitle().toStdString();
    EXPECT_EQ(Ids(), QList<int>({4, 1, 2, 3, 5}));
    EXPECT_EQ(m_window->StatusText(), QStringLiteral("5 Comments found"));

    const int first = RowOf(1);
    EXPECT_EQ(Cell(first, CCommentColumns::kProject), QStringLiteral("Bridge"));
    EXPECT_EQ(Cell(first, CCommentColumns::kCompany), QStringLiteral("Acme"));
    EXPECT_EQ(Cell(first, CCommentColumns::kUser), QStringLiteral("Ann Lee"));
    EXPECT_EQ(Cell(first, CCommentColumns::kEntered), QStringLiteral("02/03/26 09:30"));
    EXPECT_EQ(Cell(first, CCommentColumns::kActioned), QString());
    EXPECT_EQ(Cell(first, CCommentColumns::kPriority), QStringLiteral("High"));
    EXPECT_EQ(Cell(first, CCommentColumns::kTask), QStringLiteral("Design"));
    EXPECT_EQ(Cell(first, CCommentColumns::kReference), QStringLiteral("R-1"));
    EXPECT_EQ(Cell(first, CCommentColumns::kId), QStringLiteral("1"));
    EXPECT_EQ(Cell(RowOf(2), CCommentColumns::kActioned), QStringLiteral("04/03/26"));
    EXPECT_EQ(Cell(RowOf(2), CCommentColumns::kComment), Hostile());
    EXPECT_EQ(Cell(RowOf(3), CCommentColumns::kCompany), QStringLiteral("Zeta's Café"));
    EXPECT_EQ(Cell(RowOf(4), CCommentColumns::kCompany), QString());
}

TEST_P(CommentDlgTest, NodeUserAndTypeNarrowTheList)
{
    Open();
    SelectNode(QStringLiteral("Bridge"));
    Choose(CCommentDlg::kIdType, QStringLiteral("ToDo"));
    EXPECT_EQ(m_window->BuildCommentFilter().text,
              QStringLiteral("[ProjID]= 1 AND [EmpID] = 1 AND  [CommentType]  = 'ToDo'"));
    EXPECT_EQ(Ids(), QList<int>({1, 5}));
    Choose(CCommentDlg::kIdUser, QStringLiteral("Bob O'Neil"));
    Choose(CCommentDlg::kIdType, QStringLiteral("All"));
    EXPECT_EQ(Ids(), QList<int>({2}));

    // The three ordinary types alone: exactly their expression.
    SelectNode(QStringLiteral("Project Comments"));
    Choose(CCommentDlg::kIdUser, QStringLiteral("All"));
    Choose(CCommentDlg::kIdType, QStringLiteral("Bad, Good, Info"));
    const CCommentFilter filter = m_window->BuildCommentFilter();
    EXPECT_EQ(filter.sql, QStringLiteral("([CommentType] ='Bad' OR [CommentType] ='Good' OR "
                                         "[CommentType] ='Info')"));
    EXPECT_TRUE(filter.values.isEmpty());
    EXPECT_EQ(Ids(), QList<int>({2, 3}));

    // The company view lists companies; its nodes filter by company.
    Choose(CCommentDlg::kIdView, QStringLiteral("Company"));
    EXPECT_EQ(Nodes(), QStringList({"Acme", "Our Company", "Zeta's Café"}));
    EXPECT_FALSE(m_window->Control<QCheckBox>(CCommentDlg::kIdShowAll)->isVisible());
    Choose(CCommentDlg::kIdType, QStringLiteral("All"));
    SelectNode(QStringLiteral("Zeta's Café"));
    EXPECT_EQ(m_window->BuildCommentFilter().text, QStringLiteral("[CompanyID]= 3"));
    EXPECT_EQ(Ids(), QList<int>({3}));
}

TEST_P(CommentDlgTest, ACellFiltersByItsStoredValueAlone)
{
    Open();
    ShowEverything();
    // Text with quotes and SQL in it is a value like any other.
    const QStringList menu = ListMenu(RowOf(2), CCommentColumns::kComment);
    EXPECT_TRUE(menu.contains(QStringLiteral("Filter by [ProjectComment] = It's fine;.. ")))
        << menu.join(QLatin1Char('|')).toStdString();
    TriggerMenu(CCommentDlg::kCmdApplyFilter);
    EXPECT_EQ(m_window->ListFilter().sql, QStringLiteral("[ProjectComment] = ?"));
    EXPECT_EQ(Ids(), QList<int>({2}));
    EXPECT_TRUE(m_window->windowTitle().endsWith(
        QStringLiteral(" - [ProjectComment] = 'It''s fine; DROP TABLE tblProjectComment;--'")))
        << m_window->windowTitle().toStdString();
    EXPECT_EQ(CommentCount(), 5);
    EXPECT_TRUE(ListMenu(0, CCommentColumns::kComment).contains(QStringLiteral("Remove Filter")));
    TriggerMenu(CCommentDlg::kCmdRemoveFilter);
    EXPECT_EQ(Ids().size(), 5);

    ListMenu(RowOf(3), CCommentColumns::kContact);
    TriggerMenu(CCommentDlg::kCmdApplyFilter);
    EXPECT_EQ(Ids(), QList<int>({3}));
    m_window->OnCommand(CCommentDlg::kCmdRemoveFilter);

    // A date by its day, whatever the time and the format shown.
    ListMenu(RowOf(2), CCommentColumns::kEntered);
    TriggerMenu(CCommentDlg::kCmdApplyFilter);
    EXPECT_EQ(Ids(), QList<int>({2, 3}));
    m_window->OnCommand(CCommentDlg::kCmdRemoveFilter);

    // The priority by its number, the task by the task assigned.
    ListMenu(RowOf(1), CCommentColumns::kPriority);
    TriggerMenu(CCommentDlg::kCmdApplyFilter);
    EXPECT_EQ(Ids(), QList<int>({4, 1}));
    m_window->OnCommand(CCommentDlg::kCmdRemoveFilter);
    EXPECT_TRUE(ListMenu(RowOf(5), CCommentColumns::kTask)
                    .contains(QStringLiteral("Filter by Task = Build ")));
    TriggerMenu(CCommentDlg::kCmdApplyFilter);
    EXPECT_EQ(Ids(), QList<int>({5}));
    m_window->OnCommand(CCommentDlg::kCmdRemoveFilter);

    // An empty cell offers no filter.
    for (const QString& item : ListMenu(RowOf(4), CCommentColumns::kCompany))
        EXPECT_FALSE(item.startsWith(QStringLiteral("Filter by"))) << item.toStdString();
}

TEST_P(CommentDlgTest, NamesKeepTheirAmpersandsAndRichTextShowsItsText)
{
    Exec(QStringLiteral("UPDATE tblProject SET ProjName = 'R&D' WHERE ProjID = 1"));
    Exec(QStringLiteral("UPDATE tblProjectComment SET ContactName = 'Smith & Sons', "
                        "FullDetails = ? WHERE CommentID = 1"),
         {QStringLiteral("{\\rtf1\\ansi Gate \\b code\\b0\\par}")});
    Open();
    ShowEverything();
    SelectNode(QStringLiteral("R&D"));
    ASSERT_EQ(Ids(), QList<int>({1, 2, 5}));
    const QStringList menu = ListMenu(RowOf(1), CCommentColumns::kContact);
    EXPECT_TRUE(menu.contains(QStringLiteral("Add R&&D Comment")))
        << menu.join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(menu.contains(QStringLiteral("Filter by [ContactName] = Smith && So.. ")))
        << menu.join(QLatin1Char('|')).toStdString();
    // The filter is by the stored value, the cell shows the text of the RTF.
    TriggerMenu(CCommentDlg::kCmdApplyFilter);
    EXPECT_EQ(Ids(), QList<int>({1}));
    EXPECT_EQ(Cell(0, CCommentColumns::kDetails), QStringLiteral("Gate code"));
    ListMenu(0, CCommentColumns::kDetails);
    TriggerMenu(CCommentDlg::kCmdApplyFilter);
    EXPECT_EQ(Ids(), QList<int>({1}));
}

TEST_P(CommentDlgTest, DoneIsOfferedForToDosOnlyAndKeepsTheRest)
{
    Open();
    ShowEverything();
    QStringList menu = ListMenu(RowOf(2), CCommentColumns::kComment);
    EXPECT_EQ(menu.mid(0, 3), QStringList({"Edit", "Add Comment", "Delete"}));
    menu = ListMenu(RowOf(1), CCommentColumns::kComment);
    EXPECT_EQ(menu.mid(0, 4), QStringList({"Edit", "Done", "Add Comment", "Delete"}));
    TriggerMenu(CCommentDlg::kCmdDone);
    EXPECT_EQ(Stored(1, QStringLiteral("CommentType")), QStringLiteral("Done"));
    EXPECT_EQ(Stored(1, QStringLiteral("CompanyID")), QString::number(kAcme));
    EXPECT_EQ(Stored(1, QStringLiteral("ProjectComment")), QStringLiteral("Check drawings"));
    EXPECT_EQ(Stored(1, QStringLiteral("ObjectID")), QString::number(kDesign));
    EXPECT_EQ(Stored(1, QStringLiteral("ActionDate")), QStringLiteral("NULL"));

    // A to-do without a company gets the own company.
    SelectRow(RowOf(5));
    m_window->OnCommand(CCommentDlg::kCmdDone);
    EXPECT_EQ(Stored(5, QStringLiteral("CommentType")), QStringLiteral("Done"));
    EXPECT_EQ(Stored(5, QStringLiteral("CompanyID")), QStringLiteral("1"));
    EXPECT_EQ(Cell(RowOf(5), CCommentColumns::kStatus), QStringLiteral("Done"));

    // From the tree only the add entry, named after a project node.
    SelectNode(QStringLiteral("Bridge"));
    m_window->ShowListMenu(1, 1, false);
    ASSERT_EQ(m_window->PopupMenu()->actions().size(), 1);
    EXPECT_EQ(m_window->PopupMenu()->actions().first()->text(),
              QStringLiteral("Add Bridge Comment"));
    m_window->PopupMenu()->hide();
}

TEST_P(CommentDlgTest, AClickThatReadsTheListAgainActsOnNoRowTheUserDidNotSee)
{
    Open();
    ShowEverything();
    ASSERT_EQ(Ids(), QList<int>({4, 1, 2, 3, 5}));
    m_db.Connection()->SetWaitLimits({300, 3000});
    CMyListCtrl* list = m_window->List();
    // Where the user sees comment 2, a to-do's neighbour.
    const QPoint shown = list->visualItemRect(list->topLevelItem(RowOf(2))).center();
    CScriptedModals modals;
    modals.Then([](CDialogBase& dialog) {
        dialog.OnCommand(IDCANCEL);
        return dialog.EndCode();
    });
    const QList<std::function<void()>> clicks = {
        [&] { QTest::mouseClick(list->viewport(), Qt::RightButton, Qt::NoModifier, shown); },
        [&] { QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, shown); },
    };
    int added = 0;
    for (const auto& click : clicks) {
        {
            // Refresh while the database is away.
            CDatabaseOutage outage(CDatabaseOutage::Kind::Lost, m_connectionString,
                                   *m_db.Connection(), m_conn);
            ASSERT_TRUE(outage.Began());
            UserAction::Next();
            m_window->OnCommand(CCommentDlg::kCmdRefresh);
            ASSERT_TRUE(m_window->windowTitle().endsWith(CUnreadWindows::CaptionNote()));
        }
        // Back, and another desk adds a comment dated before all others.
        AddComment(kBridge, kBob, -1, QStringLiteral("Earlier %1").arg(++added), Day(1, 7, 0), {},
                   1, QString(), QStringLiteral("ToDo"), -1, QString());
        UserAction::Next();
        click();
        Waiting::Settle();
        // The click read the list again and did nothing else.
        EXPECT_FALSE(m_window->windowTitle().endsWith(CUnreadWindows::CaptionNote()));
        EXPECT_EQ(m_window->CommentRowCount(), 5 + added);
        EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
        if (QWidget* popup = QApplication::activePopupWidget())
            popup->close();
        EXPECT_TRUE(modals.seen.isEmpty());
    }
    EXPECT_EQ(Stored(1, QStringLiteral("CommentType")), QStringLiteral("ToDo"));
    EXPECT_EQ(Stored(5, QStringLiteral("CommentType")), QStringLiteral("ToDo"));
}

TEST_P(CommentDlgTest, DeleteAsksFirstThenSelectsTheNewLastRow)
{
    Open();
    ShowEverything();
    CRecordingMessages& messages = CRecordingMessages::Current();
    // Nothing selected: nothing asked, nothing deleted.
    m_window->List()->clearSelection();
    m_window->OnCommand(CCommentDlg::kCmdDelete);
    EXPECT_TRUE(messages.Texts().isEmpty());

    SelectRow(4);
    messages.Answer(kIdNo);
    QTest::keyClick(m_window->List(), Qt::Key_Delete);
    EXPECT_EQ(messages.Last(), QStringLiteral("Delete comment 5 \"Launch prep\"?"));
    EXPECT_EQ(CommentCount(), 5);

    SelectRow(4);
    messages.Answer(kIdYes);
    m_window->OnCommand(CCommentDlg::kCmdDelete);
    EXPECT_EQ(Stored(5, QStringLiteral("CommentID")), QStringLiteral("(no row)"));
    EXPECT_EQ(Ids(), QList<int>({4, 1, 2, 3}));
    EXPECT_EQ(m_window->List()->GetFirstSelected(), 3);

    // A refused delete is told and changes nothing.
    Refuse(QStringLiteral("DELETE"), QStringLiteral("tblProjectComment"));
    messages.Answer(kIdYes);
    m_window->OnCommand(CCommentDlg::kCmdDelete);
    EXPECT_TRUE(messages.Last().startsWith(QStringLiteral("Comment # 3 was not deleted.\n")))
        << messages.Last().toStdString();
    EXPECT_EQ(CommentCount(), 4);
    EXPECT_EQ(Ids(), QList<int>({4, 1, 2, 3}));
}

TEST_P(CommentDlgTest, HeaderClicksSortByTheQueryAndTheTaskHere)
{
    Open();
    ShowEverything();
    SelectRow(RowOf(3));
    QHeaderView* header = m_window->List()->header();
    // The first click sorts descending, the next ascending.
    emit header->sectionClicked(m_window->ColumnOf(CCommentColumns::kPriority));
    EXPECT_EQ(Ids(), QList<int>({3, 5, 2, 4, 1}));
    EXPECT_EQ(m_window->CommentRowCount(), 5);
    EXPECT_EQ(m_window->RowAt(m_window->List()->GetFirstSelected())->CommentID, 3);
    emit header->sectionClicked(m_window->ColumnOf(CCommentColumns::kPriority));
    EXPECT_EQ(Ids(), QList<int>({1, 4, 2, 5, 3}));

    // The task is no query column: the rows are put in order here.
    emit header->sectionClicked(m_window->ColumnOf(CCommentColumns::kTask));
    EXPECT_EQ(Ids().mid(0, 2), QList<int>({1, 5}));
    EXPECT_EQ(Cell(0, CCommentColumns::kTask), QStringLiteral("Design"));
    EXPECT_EQ(Cell(1, CCommentColumns::kTask), QStringLiteral("Build"));
    EXPECT_TRUE(Cell(2, CCommentColumns::kTask).isEmpty());
    emit header->sectionClicked(m_window->ColumnOf(CCommentColumns::kTask));
    EXPECT_EQ(Ids().mid(3, 2), QList<int>({5, 1}));
    EXPECT_TRUE(Messages().isEmpty()) << Messages().join(QLatin1Char('|')).toStdString();
}

TEST_P(CommentDlgTest, ASecondFillWhileOneRunsDoesNothing)
{
    Open();
    ShowEverything();
    ASSERT_EQ(m_window->CommentRowCount(), 5);
    // The query fails: while its error shows, the user asks for the list again.
    Exec(QStringLiteral("DROP VIEW qselProjectCommentFull"));
    CReenteringMessages hook(m_window);
    SetMessageBoxHook(&hook);
    const bool result = m_window->DoUpdateCommentData(m_window->NodeText(), true);
    SetMessageBoxHook(&CRecordingMessages::Current());
    EXPECT_FALSE(result);
    ASSERT_FALSE(hook.texts.isEmpty());
    EXPECT_EQ(hook.answers.first(), true);
    EXPECT_EQ(hook.rowsSeen, 0);
    EXPECT_EQ(hook.rowsAfter, 0);

    // The view back: the next fill works again.
    for (const QString& statement :
         CSchema::Script(QStringLiteral("views"), IsPostgres() ? 0 : 1).split(QLatin1Char(';')))
        if (statement.contains(QLatin1String("VIEW qselProjectCommentFull")))
            Exec(statement.trimmed());
    EXPECT_TRUE(m_window->DoUpdateCommentData(m_window->NodeText(), true));
    EXPECT_EQ(m_window->CommentRowCount(), 5);
}

TEST_P(CommentDlgTest, OtherWindowsOpenItOnACompanyOrAProject)
{
    ShowCompanyComments(*m_hub, kZeta);
    m_window = dynamic_cast<CCommentDlg*>(m_hub->Window(ID_TASKS));
    ASSERT_NE(m_window, nullptr);
    EXPECT_TRUE(m_window->IsCompanyView());
    EXPECT_EQ(m_window->NodeText(), QStringLiteral("Zeta's Café"));
    EXPECT_EQ(Combo(CCommentDlg::kIdUser)->currentText(), QStringLiteral("All"));
    EXPECT_EQ(Ids(), QList<int>({3}));

    // Brought forward for a project's to-dos.
    ShowProjectComments(*m_hub, kBridge, true);
    EXPECT_EQ(m_hub->Window(ID_TASKS), m_window);
    EXPECT_FALSE(m_window->IsCompanyView());
    EXPECT_EQ(m_window->NodeText(), QStringLiteral("Bridge"));
    EXPECT_EQ(Combo(CCommentDlg::kIdType)->currentText(), QStringLiteral("ToDo"));
    EXPECT_EQ(Ids(), QList<int>({1, 5}));

    // Its comments: the three ordinary types of every user.
    Close();
    ShowProjectComments(*m_hub, kApollo, false);
    m_window = dynamic_cast<CCommentDlg*>(m_hub->Window(ID_TASKS));
    ASSERT_NE(m_window, nullptr);
    EXPECT_EQ(m_window->NodeText(), QStringLiteral("Apollo"));
    EXPECT_EQ(Combo(CCommentDlg::kIdType)->currentText(), QStringLiteral("Bad, Good, Info"));
    EXPECT_EQ(Ids(), QList<int>({3}));

    // The plain command brings it forward as it is, with its list read again.
    AddComment(kApollo, kAnn, -1, QStringLiteral("New"), Day(6), {}, 2, QString(),
               QStringLiteral("Good"), -1, QString());
    m_hub->OnCommand(ID_TASKS);
    EXPECT_EQ(m_window->NodeText(), QStringLiteral("Apollo"));
    EXPECT_EQ(Ids(), QList<int>({3, 6}));

    // With the comments window turned off nothing opens.
    Close();
    Option("Admin/UseToDo", 0);
    ShowCompanyComments(*m_hub, kAcme);
    EXPECT_EQ(m_hub->Window(ID_TASKS), nullptr);
}

TEST_P(CommentDlgTest, TheListLayoutIsKeptAndCanBeReset)
{
    Open();
    QHeaderView* header = m_window->List()->header();
    // The ID column dragged to the front, then saved.
    header->moveSection(header->visualIndex(m_window->ColumnOf(CCommentColumns::kId)), 0);
    m_window->OnCommand(CCommentDlg::kCmdSaveLayout);
    const QString stored =
        CProfileStore().value(QStringLiteral("Window Settings/TDlgList")).toString();
    EXPECT_TRUE(stored.startsWith(QStringLiteral("12,40,0,100,"))) << stored.toStdString();
    EXPECT_EQ(m_window->ColumnOf(CCommentColumns::kId), 0);
    EXPECT_EQ(Cell(0, CCommentColumns::kId), QStringLiteral("1"));
    Close();
    Open();
    EXPECT_EQ(m_window->ColumnOf(CCommentColumns::kId), 0);
    EXPECT_EQ(m_window->List()->headerItem()->text(0), QStringLiteral("ID"));

    m_window->OnCommand(CCommentDlg::kCmdDefaultLayout);
    EXPECT_EQ(m_window->ColumnOf(CCommentColumns::kId), 12);
    EXPECT_EQ(CProfileStore().value(QStringLiteral("Window Settings/TDlgList")).toString(),
              m_window->List()->GetDefaultLayout(13));

    // A garbled layout is asked about; Yes puts the default back.
    Close();
    Option("Window Settings/TDlgList", QStringLiteral("0,50,1,50,2,50,3,50,4,50,5,50,6,50,7,50,"
                                                      "8,50,9,50,10,50,11,50,99,50"));
    Open();
    CRecordingMessages::Current().Answer(kIdYes);
    m_window->OnCommand(CCommentDlg::kCmdSaveLayout);
    EXPECT_EQ(CRecordingMessages::Current().Last(),
              QStringLiteral("Error : Some Column values are incorrect - you should revert back "
                             "to default settings?"));
    EXPECT_EQ(CProfileStore().value(QStringLiteral("Window Settings/TDlgList")).toString(),
              m_window->List()->GetDefaultLayout(13));
}

TEST_P(CommentDlgTest, ClosingKeepsTheDefaultUserAndFreesTheHub)
{
    Open();
    // Set User changed the default user meanwhile: closing must not undo it.
    Option("USER/DefUserName", QStringLiteral("Bob O'Neil"));
    Close();
    EXPECT_EQ(CProfileStore().value(QStringLiteral("USER/DefUserName")).toString(),
              QStringLiteral("Bob O'Neil"));
    EXPECT_EQ(m_hub->OpenWindows(), 0);
    EXPECT_FALSE(CProfileStore().value(QStringLiteral("Window Settings/CommentDlg")).isNull());
}

TEST_P(CommentDlgTest, AnEmptyDatabaseShowsTheRootAlone)
{
    Exec(QStringLiteral("DELETE FROM tblProjectComment"));
    Exec(QStringLiteral("DELETE FROM tblProjectTask"));
    Exec(QStringLiteral("DELETE FROM tblProject"));
    Open();
    EXPECT_TRUE(Nodes().isEmpty());
    EXPECT_EQ(m_window->StatusText(), QStringLiteral("0 Comments found"));
    EXPECT_TRUE(Messages().isEmpty()) << Messages().join(QLatin1Char('|')).toStdString();
}

TEST_P(CommentDlgTest, TheWindowAsAPersonSeesIt)
{
    Open();
    ShowEverything();
    SelectRow(RowOf(2));
    QCoreApplication::processEvents();
    // Tree, bar and list side by side inside the window, the list the widest.
    const QRect tree = m_window->Tree()->geometry();
    const QRect list = m_window->List()->geometry();
    EXPECT_TRUE(m_window->rect().contains(tree)) << tree.x() << "," << tree.width();
    EXPECT_TRUE(m_window->rect().contains(list)) << list.x() << "," << list.width();
    EXPECT_GT(list.left(), tree.right());
    EXPECT_GT(list.width(), tree.width());
    EXPECT_GT(tree.height(), 100);
    const QLabel* status = m_window->Control<QLabel>(CCommentDlg::kIdStatus);
    EXPECT_GT(status->geometry().top(), list.bottom());
    EXPECT_TRUE(status->isVisible());
    // The splitter bar moves the edge between them.
    m_window->OnSplitterMoved(1, 60, 0);
    EXPECT_EQ(m_window->Tree()->width(), tree.width() + 60);
    EXPECT_EQ(m_window->List()->geometry().right(), list.right());

    // The picture the README shows, with comments as people write them.
    const QString folder = qEnvironmentVariable("KELVANE_SCREENSHOT_DIR");
    if (!folder.isEmpty()) {
        Exec(QStringLiteral("DELETE FROM tblProjectComment WHERE CommentID = 2"));
        AddComment(kBridge, kBob, kAcme, QStringLiteral("Deck drawings approved by the client"),
                   Day(4, 16, 10), Day(4), 2, QStringLiteral("Jane Roe"), QStringLiteral("Good"),
                   -1, QStringLiteral("AC-114"));
        AddComment(kBridge, kAnn, kAcme, QStringLiteral("Who holds the site keys?"), Day(6, 8, 45),
                   {}, 2, QStringLiteral("Jane Roe"), QStringLiteral("FAQ"), -1, QString());
        AddComment(kApollo, kBob, kZeta, QStringLiteral("Launch slipped a week: supplier late"),
                   Day(6, 9, 20), {}, 1, QStringLiteral("Jörg O'Hara"), QStringLiteral("Bad"), -1,
                   QStringLiteral("Z-7"));
        m_window->OnSplitterMoved(1, -60, 0);
        SelectNode(QStringLiteral("Bridge"));
        SelectRow(1);
        QCoreApplication::processEvents();
        m_window->grab().save(folder + QStringLiteral("/comments.png"));
    }
}

KELVANE_INSTANTIATE_BACKENDS(CommentDlgTest);
