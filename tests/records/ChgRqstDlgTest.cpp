#include "app/UnreadWindows.h"
#include "office/OfficeDocuments.h"
#include "office/OfficeError.h"
#include "records/ChgRqstWindows.h"
#include "records/ChgRstAddDlg.h"
#include "records/ViewChgRqst.h"
#include "tests/records/ChgRqstWindowFixture.h"
#include "tests/support/Waiting.h"
#include "tests/timesheet/DatabaseOutage.h"

#include <QCheckBox>
#include <QLabel>
#include <QTest>

namespace {

class ChgRqstDlgTest : public ChgRqstWindowTest {};

// An office that refuses every document: it is not installed.
class CMissingOffice : public IOfficeDocuments {
public:
    std::unique_ptr<ISpreadsheet> NewSpreadsheet() override { throw Missing(); }
    std::unique_ptr<ISpreadsheet> OpenSpreadsheet(const QString&) override { throw Missing(); }
    std::unique_ptr<ITextDocument> NewTextDocument() override
    {
        ++asked;
        throw Missing();
    }
    QString Present(ISpreadsheet&, const QString&) override { return QString(); }
    QString Present(ITextDocument&, const QString&) override { return QString(); }
    int asked = 0;

private:
    static COfficeError Missing()
    {
        return COfficeError("soffice was not found", COfficeError::kUnavailable);
    }
};

} // namespace

TEST_P(ChgRqstDlgTest, OpensOnTheUsersOpenRequestsOfHerProjects)
{
    Open();
    EXPECT_EQ(m_hub->OpenWindows(), kOpenChangeRequests);
    // Zephyr is for its team only; Ann is not on it.
    EXPECT_EQ(Nodes(), QStringList({"Apollo", "Bridge"}));
    EXPECT_EQ(m_window->NodeText(), QStringLiteral("Projects"));
    EXPECT_EQ(Combo(CChgRqstDlg::kIdAuthority)->currentText(), QStringLiteral("Any"));
    EXPECT_EQ(Combo(CChgRqstDlg::kIdTeamMember)->currentText(), QStringLiteral("Ann Lee"));
    EXPECT_EQ(Combo(CChgRqstDlg::kIdPriority)->currentText(), QStringLiteral("None"));
    EXPECT_TRUE(m_window->Control<QCheckBox>(CChgRqstDlg::kIdOpenOnly)->isChecked());
    // Ann is on the team of request 3 only; she is the authority of 1 and
    // 2, which have other members.
    EXPECT_EQ(Ids(), IdsOf({3}));
    EXPECT_EQ(m_window->InformationText(), QStringLiteral("1 Change Requests found"));
    EXPECT_TRUE(m_window->windowTitle().endsWith(QStringLiteral(" - Ann Lee - No filter")))
        << m_window->windowTitle().toStdString();
    EXPECT_EQ(m_window->List()->SortMarkColumn(), m_window->ColumnOf(CChgRqstColumns::kDated));

    // Every member: the open requests, newest first.
    Choose(CChgRqstDlg::kIdTeamMember, QStringLiteral("Any"));
    EXPECT_EQ(Ids(), IdsOf({5, 3, 2, 1}));
    m_window->Control<QCheckBox>(CChgRqstDlg::kIdOpenOnly)->click();
    EXPECT_EQ(Ids(), IdsOf({5, 3, 2, 1, 4}));
    const int cafe = RowOf(Id(3));
    EXPECT_EQ(Cell(cafe, CChgRqstColumns::kAuthority), QStringLiteral("Bob O'Neil"));
    EXPECT_EQ(Cell(cafe, CChgRqstColumns::kReference), QStringLiteral("O'Brien's Ref"));
    EXPECT_EQ(Cell(cafe, CChgRqstColumns::kProject), QStringLiteral("Apollo"));
    EXPECT_EQ(Cell(cafe, CChgRqstColumns::kCompany), QStringLiteral("Zeta's Café"));
    EXPECT_EQ(Cell(cafe, CChgRqstColumns::kContact), QStringLiteral("Jörg O'Hara"));
    EXPECT_EQ(Cell(cafe, CChgRqstColumns::kDated), QStringLiteral("03/03/26 14:00"));
    EXPECT_EQ(Cell(cafe, CChgRqstColumns::kActioned), QString());
    EXPECT_EQ(Cell(cafe, CChgRqstColumns::kItem), QStringLiteral("Café crème ☕"));
    EXPECT_EQ(Cell(cafe, CChgRqstColumns::kPriority), QStringLiteral("Low"));
    EXPECT_EQ(Cell(cafe, CChgRqstColumns::kId), QString::number(Id(3)));
    EXPECT_EQ(Cell(RowOf(Id(4)), CChgRqstColumns::kActioned), QStringLiteral("04/03/26"));
    EXPECT_EQ(Cell(RowOf(Id(5)), CChgRqstColumns::kCompany), QString());

    // With the option off and "Any" authority the tree lists every project.
    Option("Admin/ShowMine", 0);
    m_window->OnCommand(CChgRqstDlg::kCmdRefresh);
    EXPECT_EQ(Nodes(), QStringList({"Apollo", "Bridge", "Zephyr"}));

    // The main menu's other windows are the hub's.
    m_window->OnCommand(ID_OVERVIEW);
    QCoreApplication::processEvents();
    EXPECT_EQ(CRecordingMessages::Current().Last(),
              QStringLiteral("Overview is not available in this version of Kelvane."));
    Close();
    EXPECT_EQ(m_hub->OpenWindows(), 0);
}

TEST_P(ChgRqstDlgTest, ADoubleClickThatReadsTheListAgainEditsNoRequestTheUserDidNotSee)
{
    Open();
    ShowEverything();
    const QList<int> before = Ids();
    ASSERT_GE(RowOf(Id(3)), 0);
    m_db.Connection()->SetWaitLimits({300, 3000});
    CMyListCtrl* list = m_window->List();
    const QPoint shown = list->visualItemRect(list->topLevelItem(RowOf(Id(3)))).center();
    {
        CDatabaseOutage outage(CDatabaseOutage::Kind::Lost, m_connectionString, *m_db.Connection(),
                               m_conn);
        ASSERT_TRUE(outage.Began());
        UserAction::Next();
        m_window->OnCommand(CChgRqstDlg::kCmdRefresh);
        ASSERT_TRUE(m_window->windowTitle().endsWith(CUnreadWindows::CaptionNote()));
    }
    // Back, and another desk adds the newest request.
    CRequest newest;
    newest.item = QStringLiteral("Newest");
    newest.created = Day(6, 9, 0);
    AddRequest(newest);
    CScriptedModals modals;
    modals.Then([](CDialogBase& dialog) {
        dialog.OnCommand(IDCANCEL);
        return dialog.EndCode();
    });
    UserAction::Next();
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, shown);
    Waiting::Settle();
    EXPECT_TRUE(modals.seen.isEmpty());
    EXPECT_EQ(Ids().size(), before.size() + 1);
    EXPECT_FALSE(m_window->windowTitle().endsWith(CUnreadWindows::CaptionNote()));
}

TEST_P(ChgRqstDlgTest, TheFilterControlsMakeTheQuerysCondition)
{
    Open();
    // Root, both people "Any", no priority, non-completed: the open clause alone.
    Choose(CChgRqstDlg::kIdTeamMember, QStringLiteral("Any"));
    EXPECT_EQ(m_window->BuildChgRqstFilter().text,
              QStringLiteral("([DateCompleted] < '1900-01-01' or [DateCompleted] is null)"));
    // A priority alone, with no " AND " before it.
    m_window->Control<QCheckBox>(CChgRqstDlg::kIdOpenOnly)->click();
    Choose(CChgRqstDlg::kIdPriority, QStringLiteral("High"));
    EXPECT_EQ(m_window->BuildChgRqstFilter().text, QStringLiteral("Priority='High'"));
    EXPECT_EQ(Ids(), IdsOf({2, 1}));
    Choose(CChgRqstDlg::kIdPriority, QStringLiteral("None"));

    // The team member as authority too: requests without a team count.
    Choose(CChgRqstDlg::kIdTeamMember, QStringLiteral("Bob O'Neil"));
    Choose(CChgRqstDlg::kIdAuthority, QStringLiteral("Bob O'Neil"));
    EXPECT_EQ(m_window->BuildChgRqstFilter().text,
              QStringLiteral("(([empid]=2 AND [teamempid]=2) or ([empid]=2 and [teamempid] is "
                             "null))"));
    EXPECT_EQ(Ids(), IdsOf({4}));
    Choose(CChgRqstDlg::kIdAuthority, QStringLiteral("Any"));
    EXPECT_EQ(Ids(), IdsOf({2, 1, 4}));
    Choose(CChgRqstDlg::kIdAuthority, QStringLiteral("Ann Lee"));
    EXPECT_EQ(m_window->BuildChgRqstFilter().text,
              QStringLiteral("(([empid]=1 AND [teamempid]=2))"));
    EXPECT_EQ(Ids(), IdsOf({2, 1}));

    // The project chosen in the tree.
    SelectNode(QStringLiteral("Apollo"));
    EXPECT_TRUE(m_window->BuildChgRqstFilter().text.startsWith(QStringLiteral("[ProjID]= 2 AND ")));
    EXPECT_TRUE(Ids().isEmpty());
    Choose(CChgRqstDlg::kIdAuthority, QStringLiteral("Any"));
    Choose(CChgRqstDlg::kIdTeamMember, QStringLiteral("Any"));
    EXPECT_EQ(Ids(), IdsOf({3}));
}

TEST_P(ChgRqstDlgTest, ACellFiltersTheListByItsStoredValue)
{
    Open();
    ShowEverything();
    // A text with apostrophes is a value like any other.
    QStringList menu = ListMenu(RowOf(Id(3)), CChgRqstColumns::kReference);
    EXPECT_EQ(menu.mid(0, 3), QStringList({"Edit", "Add", "Delete"}));
    EXPECT_TRUE(menu.contains(QStringLiteral("Filter by [reference] = O'Brien's ... ")))
        << menu.join(QLatin1Char('|')).toStdString();
    TriggerMenu(CChgRqstDlg::kCmdApplyFilter);
    EXPECT_EQ(m_window->ListFilter().sql, QStringLiteral("[reference] = ?"));
    EXPECT_EQ(Ids(), IdsOf({3}));
    EXPECT_TRUE(
        m_window->windowTitle().endsWith(QStringLiteral(" - [reference] = 'O''Brien''s Ref'")))
        << m_window->windowTitle().toStdString();
    EXPECT_TRUE(ListMenu(0, CChgRqstColumns::kItem).contains(QStringLiteral("Remove Filter")));
    // From the tree: adding, and taking the filter away.
    m_window->ShowListMenu(4, 4, false);
    EXPECT_EQ(MenuTexts(m_window->PopupMenu()), QStringList({"Add", "Remove Filter"}));
    m_window->PopupMenu()->hide();
    TriggerMenu(CChgRqstDlg::kCmdRemoveFilter);
    EXPECT_EQ(Ids().size(), 5);

    // A date by its day, whatever its time.
    menu = ListMenu(RowOf(Id(1)), CChgRqstColumns::kDated);
    EXPECT_TRUE(menu.contains(QStringLiteral("Filter by [DateCreated] = 02/03/26 0... ")))
        << menu.join(QLatin1Char('|')).toStdString();
    TriggerMenu(CChgRqstDlg::kCmdApplyFilter);
    EXPECT_EQ(Ids(), IdsOf({2, 1}));
    m_window->OnCommand(CChgRqstDlg::kCmdRemoveFilter);

    // Ten characters show whole; an empty cell gives no entry.
    EXPECT_TRUE(ListMenu(RowOf(Id(2)), CChgRqstColumns::kAuthority)
                    .contains(QStringLiteral("Filter by [Authority] = Ann Lee ")));
    for (const QString& item : ListMenu(RowOf(Id(5)), CChgRqstColumns::kCompany))
        EXPECT_FALSE(item.startsWith(QStringLiteral("Filter by"))) << item.toStdString();
}

TEST_P(ChgRqstDlgTest, AHeaderClickSortsByThatColumnAndKeepsTheSelection)
{
    Open();
    ShowEverything();
    SelectRow(RowOf(Id(3)));
    CMyListCtrl* list = m_window->List();
    const int item = m_window->ColumnOf(CChgRqstColumns::kItem);
    QTest::mouseClick(list->header()->viewport(), Qt::LeftButton, {},
                      QPoint(list->header()->sectionViewportPosition(item) + 5, 5));
    // By item, down from "Zephyr", then up from "Café".
    EXPECT_EQ(Ids(), IdsOf({5, 2, 4, 1, 3}));
    EXPECT_EQ(list->GetFirstSelected(), RowOf(Id(3)));
    EXPECT_EQ(list->SortMarkColumn(), item);
    QTest::mouseClick(list->header()->viewport(), Qt::LeftButton, {},
                      QPoint(list->header()->sectionViewportPosition(item) + 5, 5));
    EXPECT_EQ(Ids(), IdsOf({3, 1, 4, 2, 5}));
    EXPECT_EQ(list->GetFirstSelected(), 0);
}

TEST_P(ChgRqstDlgTest, DeleteAsksAndTakesTeamAndActionsAlong)
{
    AddAction(Id(5), QStringLiteral("An action"));
    Open();
    ShowEverything();
    const int last = RowOf(Id(4));
    ASSERT_EQ(last, 4);
    SelectRow(last);
    CRecordingMessages::Current().Answer(kIdNo);
    m_window->OnKeyDown(0x2E, false);
    EXPECT_TRUE(CRecordingMessages::Current().Last().startsWith(
        QStringLiteral("Delete change request %1 \"Old item\"").arg(Id(4))));
    EXPECT_EQ(Ids().size(), 5);

    // The last row goes: the new last row is selected.
    CRecordingMessages::Current().Answer(kIdYes);
    m_window->OnCommand(CChgRqstDlg::kCmdDelete);
    EXPECT_EQ(Ids(), IdsOf({5, 3, 2, 1}));
    EXPECT_EQ(m_window->List()->GetFirstSelected(), 3);
    EXPECT_EQ(Stored(Id(4), QStringLiteral("Item")), QStringLiteral("(no row)"));

    SelectRow(RowOf(Id(5)));
    CRecordingMessages::Current().Answer(kIdYes);
    m_window->OnKeyDown(0x6D, false);
    EXPECT_EQ(Ids(), IdsOf({3, 2, 1}));
    EXPECT_TRUE(Actions(Id(5)).isEmpty());
    EXPECT_EQ(m_window->List()->GetFirstSelected(), 0);

    // Deleted by another workstation meanwhile: said, and the list follows.
    SelectRow(RowOf(Id(1)));
    Exec(QStringLiteral("DELETE FROM tblChgReqTeam WHERE ChgReqID = ?"), {Id(1)});
    Exec(QStringLiteral("DELETE FROM tblChgReq WHERE ChgReqID = ?"), {Id(1)});
    CRecordingMessages::Current().Answer(kIdYes);
    m_window->OnCommand(CChgRqstDlg::kCmdDelete);
    EXPECT_EQ(CRecordingMessages::Current().Last(),
              QStringLiteral("Change request # %1 does not exist anymore - another user may have "
                             "deleted it")
                  .arg(Id(1)));
    EXPECT_EQ(Ids(), IdsOf({3, 2}));
}

TEST_P(ChgRqstDlgTest, AddAndViewRunTheirDialogsAndTheListFollows)
{
    Open();
    ShowEverything();
    // Add from the tree: its project is preset.
    SelectNode(QStringLiteral("Apollo"));
    CScriptedModals modals;
    QString preset;
    modals.Then([&preset](CDialogBase& dialog) {
        preset = dialog.Control<QComboBox>(CChgRstAddDlg::kIdProject)->currentText();
        return IDCANCEL;
    });
    m_window->OnKeyDown(0x6B, true);
    EXPECT_EQ(modals.seen, QStringList({"CChgRstAddDlg"}));
    EXPECT_EQ(preset, QStringLiteral("Apollo"));

    // View by double click; an update refreshes the list.
    modals.Then([](CDialogBase& dialog) {
        auto& view = static_cast<CViewChgRqst&>(dialog);
        view.Control<QComboBox>(CViewChgRqst::kIdPriority)->setCurrentIndex(0);
        view.OnCommand(CViewChgRqst::kIdUpdate);
        return IDCANCEL;
    });
    const int row = RowOf(Id(3));
    m_window->OnListRowActivated(row, m_window->List());
    EXPECT_EQ(modals.seen.last(), QStringLiteral("CViewChgRqst"));
    EXPECT_EQ(Cell(RowOf(Id(3)), CChgRqstColumns::kPriority), QStringLiteral("High"));
    EXPECT_EQ(m_window->RunningViewDialog(), nullptr);
}

TEST_P(ChgRqstDlgTest, AnotherWindowOpensItOnAProjectTheUserIsNotOn)
{
    Open();
    Close();
    ShowProjectChangeRequests(*m_hub, kZephyr);
    m_window = dynamic_cast<CChgRqstDlg*>(m_hub->Window(ID_CHANGE_REQUESTS));
    ASSERT_NE(m_window, nullptr);
    EXPECT_EQ(m_window->NodeText(), QStringLiteral("Zephyr"));
    Choose(CChgRqstDlg::kIdTeamMember, QStringLiteral("Any"));
    EXPECT_EQ(Ids(), IdsOf({5}));
    // Brought forward on another project.
    ShowProjectChangeRequests(*m_hub, kBridge);
    EXPECT_EQ(m_window->NodeText(), QStringLiteral("Bridge"));
    EXPECT_EQ(Ids(), IdsOf({2, 1}));
    // Without "UseChgrqsts" nothing opens.
    Close();
    Option("Admin/UseChgrqsts", 0);
    m_hub->OnCommand(ID_CHANGE_REQUESTS);
    EXPECT_EQ(m_hub->Window(ID_CHANGE_REQUESTS), nullptr);
}

TEST_P(ChgRqstDlgTest, TheReportSaysWhyWhenThereIsNoOffice)
{
    Open();
    ShowEverything();
    CMissingOffice office;
    m_window->SetDocuments(&office);
    m_window->OnCommand(CChgRqstDlg::kCmdWord);
    EXPECT_EQ(office.asked, 1);
    EXPECT_EQ(CRecordingMessages::Current().Last(),
              QStringLiteral("LibreOffice is not available\nsoffice was not found"));
    EXPECT_EQ(m_window->InformationText(), QStringLiteral("5 Change Requests found"));
    EXPECT_TRUE(m_window->LastReportFile().isEmpty());

    // More than 20 requests of a team member: asked first; No writes nothing.
    for (int i = 0; i < 21; ++i) {
        CRequest r;
        r.empId = kCleo;
        r.item = QStringLiteral("Extra %1").arg(i);
        r.team = {kAnn};
        AddRequest(r);
    }
    Choose(CChgRqstDlg::kIdTeamMember, QStringLiteral("Ann Lee"));
    CRecordingMessages::Current().Answer(kIdNo);
    m_window->OnCommand(CChgRqstDlg::kCmdWord);
    EXPECT_EQ(CRecordingMessages::Current().Last(),
              QStringLiteral("Writing 22 records may take some time - do you want to contine?"));
    EXPECT_EQ(office.asked, 1);
    // Not in author mode.
    Choose(CChgRqstDlg::kIdTeamMember, QStringLiteral("Any"));
    CRecordingMessages::Current().Clear();
    m_window->OnCommand(CChgRqstDlg::kCmdWord);
    EXPECT_EQ(office.asked, 2);
    EXPECT_EQ(Messages(), QStringList({"LibreOffice is not available\nsoffice was not found"}));
}

TEST_P(ChgRqstDlgTest, TheListAsAPersonSeesIt)
{
    for (int i = 0; i < 4; ++i) {
        CRequest r;
        r.empId = kBob;
        r.reference = QStringLiteral("AC-114");
        r.item = QStringList({"Widen the footpath to 2.4 m", "Add lighting to the ramp",
                              "Handrail on both sides", "Move the drain grate"})
                     .at(i);
        r.created = Day(6, 10, 15 + i);
        r.priority = 1 + i % 3;
        r.team = {kAnn, kCleo};
        AddRequest(r);
    }
    Open();
    Choose(CChgRqstDlg::kIdTeamMember, QStringLiteral("Any"));
    SelectNode(QStringLiteral("Bridge"));
    EXPECT_EQ(Ids().size(), 6);
    // Wide enough for the tree and every column at its width.
    m_window->resize(1230, 400);
    SelectRow(1);
    QCoreApplication::processEvents();
    CMyListCtrl* list = m_window->List();
    for (int kind = 0; kind < CChgRqstColumns::kCount; ++kind) {
        const int column = m_window->ColumnOf(kind);
        EXPECT_EQ(list->header()->sectionSize(column), 100);
        EXPECT_LE(list->header()->sectionViewportPosition(column) + 100, list->viewport()->width())
            << kind;
    }
    const QImage picture = m_window->grab().toImage();
    // The picture the README shows.
    const QString folder = qEnvironmentVariable("KELVANE_SCREENSHOT_DIR");
    if (!folder.isEmpty() && !IsPostgres())
        picture.save(folder + QStringLiteral("/changerequests.png"));
}

KELVANE_INSTANTIATE_BACKENDS(ChgRqstDlgTest);
