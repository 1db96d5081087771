#include "records/ContactDlg.h"
#include "app/DummyDlg.h"
#include "app/KelvaneApp.h"
#include "data/SqlExecutor.h"
#include "platform/ProfileStore.h"
#include "records/CompanyDetailsDlg.h"
#include "records/CompanyEditDlg.h"
#include "records/ContactDetailsDlg.h"
#include "records/ContactWindows.h"
#include "tests/records/RecordingLauncher.h"
#include "tests/support/ContactsFixture.h"
#include "tests/support/ScriptedModals.h"
#include "tests/support/TestEnv.h"
#include "tests/support/Waiting.h"
#include "ui/MyListCtrl.h"
#include "ui/MyPopMenu.h"
#include "ui/MyTreeCtrl.h"
#include "ui/ResourceIds.h"

#include <QAction>
#include <QCoreApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <memory>

namespace {

class ContactDlgTest : public ContactsTest {
protected:
    void TearDown() override
    {
        m_window.reset();
        m_hub.reset();
        UnregisterHubWindow(ID_TASKS);
        ContactsTest::TearDown();
    }
    CContactDlg& Open()
    {
        m_hub = std::make_unique<CDummyDlg>(&m_db);
        m_window = std::make_unique<CContactDlg>(m_hub.get(), m_db);
        m_window->resize(760, 440);
        EXPECT_TRUE(m_window->Create());
        return *m_window;
    }
    // The tree as text, one line an item, indented by its depth.
    QStringList TreeLines() const
    {
        QStringList lines;
        for (QTreeWidgetItemIterator it(m_window->Tree()); *it; ++it) {
            int depth = 0;
            for (const QTreeWidgetItem* p = (*it)->parent(); p; p = p->parent())
                ++depth;
            lines << QString(depth, QLatin1Char(' ')) + (*it)->text(0);
        }
        return lines;
    }
    QTreeWidgetItem* Item(const QString& text) const
    {
        return m_window->Tree()->FindItemByText(text);
    }
    void Choose(const QString& text)
    {
        QTreeWidgetItem* item = Item(text);
        ASSERT_NE(item, nullptr) << text.toStdString();
        m_window->Tree()->setCurrentItem(item);
    }
    // One column of the person list, by its key.
    QStringList Column(int key) const
    {
        QStringList cells;
        for (int row = 0; row < m_window->List()->ItemCount(); ++row)
            cells << m_window->List()->ItemText(row, m_window->ColumnOfKey(key));
        return cells;
    }
    // The texts of the popup a right click on the tree item (or the list
    // row) opens.
    QStringList RightClickTree(const QString& text)
    {
        CMyTreeCtrl* tree = m_window->Tree();
        const QRect rect = tree->visualItemRect(Item(text));
        QTest::mouseClick(tree->viewport(), Qt::RightButton, {},
                          QPoint(rect.left() + 6, rect.center().y()));
        return MenuTexts();
    }
    QStringList RightClickList(int row)
    {
        CMyListCtrl* list = m_window->List();
        const QRect rect = list->visualItemRect(list->topLevelItem(row));
        QTest::mouseClick(list->viewport(), Qt::RightButton, {}, rect.center());
        return MenuTexts();
    }
    QStringList MenuTexts() const
    {
        QStringList texts;
        for (const QAction* action : m_window->PopupMenu()->actions())
            texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
        return texts;
    }
    void Pick(const QString& text)
    {
        for (QAction* action : m_window->PopupMenu()->actions())
            if (action->text() == text) {
                m_window->PopupMenu()->hide();
                action->trigger();
                return;
            }
        ADD_FAILURE() << "no menu entry " << text.toStdString();
    }

    std::unique_ptr<CDummyDlg> m_hub;
    std::unique_ptr<CContactDlg> m_window;
};

} // namespace

TEST_P(ContactDlgTest, AnEmptyAddressBookShowsOnlyTheRoot)
{
    EmptyAddressBook();
    CContactDlg& window = Open();
    EXPECT_EQ(TreeLines(), QStringList({"Companies"}));
    EXPECT_EQ(window.Tree()->currentItem(), Item(QStringLiteral("Companies")));
    EXPECT_EQ(window.List()->ItemCount(), 0);
    window.OnCommand(CContactDlg::kCmdArrange);
    EXPECT_TRUE(window.ArrangedByType());
    EXPECT_EQ(TreeLines(), QStringList({"Companies"}));
    // Only "Add Company" on the root; double clicks fold it.
    EXPECT_EQ(RightClickTree(QStringLiteral("Companies")), QStringList({"Add Company"}));
    window.PopupMenu()->hide();
    EXPECT_EQ(RightClickList(0), QStringList());
    EXPECT_EQ(CRecordingMessages::Current().Count(), 0);
}

TEST_P(ContactDlgTest, ByBusinessTypeEachTypeCountsItsCompanies)
{
    EmptyAddressBook();
    AddCompany(QStringLiteral("Beta Ltd"), {QStringLiteral("Customer")});
    AddCompany(QStringLiteral("Alpha Ltd"),
               {QStringLiteral("Customer"), QStringLiteral("Supplier")});
    AddCompany(QStringLiteral("Gamma Ltd"), {QStringLiteral("Customer")});
    AddCompany(QStringLiteral("Loner Ltd"));
    CProfileStore().setValue(QStringLiteral("Window Settings/Contact_Arrange"), 1);
    CContactDlg& window = Open();
    ASSERT_TRUE(window.ArrangedByType());
    EXPECT_EQ(TreeLines(), QStringList({"Companies", " Customer (3)", "  Alpha Ltd", "  Beta Ltd",
                                        "  Gamma Ltd", " Supplier (1)", "  Alpha Ltd",
                                        " No Business Type (1)", "  Loner Ltd"}));
    // A type shows its name, no company, and has no menu.
    Choose(QStringLiteral("Customer (3)"));
    EXPECT_EQ(window.AddressComment(), QStringLiteral("Customer"));
    EXPECT_EQ(window.CompanyText(), QString());
    EXPECT_EQ(window.CompanyId(), -1);
    EXPECT_EQ(RightClickTree(QStringLiteral("Customer (3)")), QStringList());
    const bool expanded = Item(QStringLiteral("Customer (3)"))->isExpanded();
    window.OnTreeItemActivated(Item(QStringLiteral("Customer (3)")));
    EXPECT_NE(Item(QStringLiteral("Customer (3)"))->isExpanded(), expanded);

    window.OnCommand(CContactDlg::kCmdArrange);
    EXPECT_EQ(TreeLines(),
              QStringList({"Companies", " Alpha Ltd", " Beta Ltd", " Gamma Ltd", " Loner Ltd"}));
    window.OnTreeItemActivated(Item(QStringLiteral("Companies")));
    EXPECT_FALSE(Item(QStringLiteral("Companies"))->isExpanded());
    window.OnTreeItemActivated(Item(QStringLiteral("Companies")));
    EXPECT_TRUE(Item(QStringLiteral("Companies"))->isExpanded());
    // Closing keeps the arrangement.
    window.close();
    EXPECT_EQ(CProfileStore().value(QStringLiteral("Window Settings/Contact_Arrange")).toInt(), 0);
}

TEST_P(ContactDlgTest, NamesAndCommentsShowAsTheyAreStored)
{
    EmptyAddressBook();
    Exec(QStringLiteral(
        "INSERT INTO tlkpAddrBusinessType (BusinessType) VALUES ('Sale %1 off %2')"));
    const int id =
        AddCompany(QStringLiteral("R&D <b>Labs</b>"), {QStringLiteral("Sale %1 off %2")});
    Exec(QStringLiteral("UPDATE tblAddrCompany SET AddressComment = ? WHERE CompanyID = ?"),
         {QStringLiteral("{\\rtf1\\ansi Gate \\b 12\\b0\\par}"), id});
    CProfileStore().setValue(QStringLiteral("Window Settings/Contact_Arrange"), 1);
    CContactDlg& window = Open();
    EXPECT_EQ(TreeLines(), QStringList({"Companies", " Sale %1 off %2 (1)", "  R&D <b>Labs</b>"}));
    Choose(QStringLiteral("R&D <b>Labs</b>"));
    // The comment kept as RTF shows its text; markup is not drawn.
    EXPECT_EQ(window.AddressComment(), QStringLiteral("Gate 12"));
    EXPECT_EQ(window.findChild<QLabel*>(QStringLiteral("id1010"))->textFormat(), Qt::PlainText);
    EXPECT_TRUE(RightClickTree(QStringLiteral("R&D <b>Labs</b>"))
                    .contains(QStringLiteral("Edit R&&D <b>Labs</b>")));
    window.PopupMenu()->hide();
}

TEST_P(ContactDlgTest, ACompanyShowsItsAddressAndItsPersonsByLastName)
{
    const int id = AddCompany(QStringLiteral("Kiwi Steel"), {}, QStringLiteral("www.kiwi.example"));
    AddPerson(id, QStringLiteral("Zoe"), QStringLiteral("Adams"));
    AddPerson(id, QStringLiteral("Amy"), QStringLiteral("Zane"),
              QStringLiteral("amy@kiwi.example"));
    AddPerson(id, QStringLiteral("Bob"), QStringLiteral("Moss"));
    CContactDlg& window = Open();
    // Without a stored layout the list is by last name, and says so.
    EXPECT_EQ(window.List()->SortMarkColumn(), window.ColumnOfKey(CContactDlg::kColLastName));
    EXPECT_EQ(window.List()->header()->sortIndicatorOrder(), Qt::AscendingOrder);
    Choose(QStringLiteral("Kiwi Steel"));
    EXPECT_EQ(window.CompanyId(), id);
    EXPECT_EQ(window.CompanyText(),
              QStringLiteral(" Kiwi Steel\n\tAddress: \t1 Quay St, , \n\tPhone:\t\t09 555 0101\n\t"
                             "Fax:\t\t\n\tWeb:\t\twww.kiwi.example\n"));
    EXPECT_TRUE(window.findChild<QLabel*>(QStringLiteral("id1084"))
                    ->text()
                    .contains(QStringLiteral("<b>Kiwi Steel</b>")));
    EXPECT_EQ(window.AddressComment(), QStringLiteral("Deliveries at the back"));
    EXPECT_EQ(Column(CContactDlg::kColLastName), QStringList({"Adams", "Moss", "Zane"}));
    EXPECT_EQ(Column(CContactDlg::kColEmail), QStringList({"", "", "amy@kiwi.example"}));
    EXPECT_EQ(window.PersonOrder(), QStringLiteral("[LastName] ASC, [PersonID] ASC"));
    // A click on the first-name header sorts, and a refill keeps that order.
    const int first = window.ColumnOfKey(CContactDlg::kColFirstName);
    window.List()->header()->sectionClicked(first);
    window.List()->header()->sectionClicked(first);
    EXPECT_EQ(window.PersonOrder(), QStringLiteral("[FirstName] ASC, [PersonID] ASC"));
    EXPECT_EQ(Column(CContactDlg::kColFirstName), QStringList({"Amy", "Bob", "Zoe"}));
    window.OnCommand(CContactDlg::kCmdRefresh);
    EXPECT_EQ(window.CompanyId(), id);
    EXPECT_EQ(Column(CContactDlg::kColFirstName), QStringList({"Amy", "Bob", "Zoe"}));

    // The list's menu: with a row, and with mail only where there is an address.
    EXPECT_EQ(RightClickList(0), QStringList({"Edit", "-", "Add", "Delete", "-", "EMail"}));
    window.PopupMenu()->hide();
    EXPECT_EQ(RightClickList(1), QStringList({"Edit", "-", "Add", "Delete"}));
    window.PopupMenu()->hide();
}

TEST_P(ContactDlgTest, AnApostropheCompanyIsEditedAndDeletedById)
{
    const int id = AddCompany(QStringLiteral("O'Brien & Co"), {QStringLiteral("Customer")});
    AddPerson(id, QStringLiteral("Ann"), QStringLiteral("Lee"));
    // A company whose name differs only in case must not be taken for it.
    const int other = AddCompany(QStringLiteral("o'brien & co."));
    CContactDlg& window = Open();
    EXPECT_EQ(
        RightClickTree(QStringLiteral("O'Brien & Co")),
        QStringList({"Edit O'Brien && Co", "Delete O'Brien && Co", "Comments for O'Brien && Co"}));
    EXPECT_EQ(window.CompanyId(), id);

    CScriptedModals modals;
    modals.Then([](CDialogBase& dialog) {
        EXPECT_STREQ(dialog.metaObject()->className(), "CCompanyEditDlg");
        dialog.Control<QLineEdit>(CCompanyEditDlg::kIdName)->setText(QStringLiteral("O'Brien's"));
        dialog.Control<QLineEdit>(CCompanyEditDlg::kIdPhone)->setText(QStringLiteral("07 555"));
        dialog.OnCommand(IDOK);
        return dialog.EndCode();
    });
    Pick(QStringLiteral("Edit O'Brien && Co"));
    EXPECT_EQ(CompanyId(QStringLiteral("O'Brien's")), id);
    EXPECT_EQ(window.Tree()->currentItem()->text(0), QStringLiteral("O'Brien's"));
    EXPECT_TRUE(window.CompanyText().contains(QStringLiteral("07 555")));
    EXPECT_EQ(Column(CContactDlg::kColFirstName), QStringList({"Ann"}));

    // Delete, asked first: the company goes with its person and its link.
    CRecordingMessages& messages = CRecordingMessages::Current();
    messages.Answer(kIdNo);
    QTest::keyClick(window.Tree(), Qt::Key_Delete);
    QCoreApplication::processEvents();
    EXPECT_EQ(messages.Last(), QStringLiteral("Do you really want to delete O'Brien's"));
    EXPECT_EQ(CompanyId(QStringLiteral("O'Brien's")), id);
    messages.Answer(kIdYes);
    window.OnCommand(CContactDlg::kCmdDeleteCompany);
    EXPECT_EQ(CompanyId(QStringLiteral("O'Brien's")), -1);
    EXPECT_EQ(Count(QStringLiteral("SELECT COUNT(*) FROM tblAddrPerson WHERE CompanyID = ?"), {id}),
              0);
    EXPECT_EQ(
        Count(QStringLiteral("SELECT COUNT(*) FROM tblAddrBusinessType WHERE CompanyID = ?"), {id}),
        0);
    EXPECT_EQ(CompanyId(QStringLiteral("o'brien & co.")), other);
    EXPECT_EQ(Item(QStringLiteral("O'Brien's")), nullptr);
    EXPECT_EQ(window.Tree()->currentItem(), Item(QStringLiteral("Companies")));
    EXPECT_EQ(window.List()->ItemCount(), 0);
    // Nothing of the deleted company stays in the info panel.
    EXPECT_FALSE(window.CompanyText().contains(QStringLiteral("07 555")))
        << window.CompanyText().toStdString();
    EXPECT_FALSE(window.Control<QLabel>(CContactDlg::kIdCompanyText)
                     ->text()
                     .contains(QStringLiteral("07 555")));
    EXPECT_TRUE(window.AddressComment().isEmpty());
}

TEST_P(ContactDlgTest, ADeleteTheDatabaseRefusesIsReported)
{
    const int id = AddCompany(QStringLiteral("Used Ltd"));
    Exec(QStringLiteral("INSERT INTO tblProject (ProjName, CompanyID) VALUES ('Bridge', ?)"), {id});
    CContactDlg& window = Open();
    Choose(QStringLiteral("Used Ltd"));
    CRecordingMessages::Current().Answer(kIdYes);
    window.OnCommand(CContactDlg::kCmdDeleteCompany);
    EXPECT_EQ(CRecordingMessages::Current().Last(),
              QStringLiteral("Used Ltd cannot be deleted: 1 project name it."));
    EXPECT_EQ(CompanyId(QStringLiteral("Used Ltd")), id);
    EXPECT_NE(Item(QStringLiteral("Used Ltd")), nullptr);
}

TEST_P(ContactDlgTest, PersonsAreAddedEditedAndDeletedFromTheList)
{
    const int id = AddCompany(QStringLiteral("Rata Ltd"));
    const int kept = AddPerson(id, QStringLiteral("Ann"), QStringLiteral("Lee"));
    CContactDlg& window = Open();
    Choose(QStringLiteral("Rata Ltd"));

    // Added with no phone: stored as one blank, current, and chosen in the list.
    CScriptedModals modals;
    modals.Then([](CDialogBase& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Contacts Details  Add - Rata Ltd"));
        dialog.Control<QLineEdit>(CContactDetailsDlg::kIdFirst)->setText(QStringLiteral("Åsa"));
        dialog.Control<QLineEdit>(CContactDetailsDlg::kIdLast)->setText(QStringLiteral("Berg"));
        dialog.OnCommand(CContactDetailsDlg::kIdUpdate);
        return dialog.EndCode();
    });
    EXPECT_EQ(RightClickList(0), QStringList({"Edit", "-", "Add", "Delete"}));
    Pick(QStringLiteral("Add"));
    const CQueryResult added = Query(QStringLiteral("SELECT PersonID, PeopleDDSPhone, IsCurrent, "
                                                    "FullName FROM tblAddrPerson WHERE LastName "
                                                    "= 'Berg'"));
    ASSERT_EQ(added.rows, 1);
    EXPECT_EQ(added.Value(0, 1).toString(), QStringLiteral(" "));
    EXPECT_EQ(added.Value(0, 2).toInt(), 1);
    EXPECT_EQ(added.Value(0, 3).toString(), QStringLiteral("Åsa Berg"));
    EXPECT_EQ(Column(CContactDlg::kColLastName), QStringList({"Berg", "Lee"}));
    EXPECT_EQ(window.List()->GetFirstSelected(), 0);

    // Edited by double click, by its id.
    modals.Then([](CDialogBase& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Contacts Details  Edit - Rata Ltd"));
        EXPECT_EQ(dialog.Control<QLineEdit>(CContactDetailsDlg::kIdPhone)->text(),
                  QStringLiteral("021 0"));
        dialog.Control<QLineEdit>(CContactDetailsDlg::kIdMobile)->setText(QStringLiteral("027"));
        dialog.Control<QLineEdit>(CContactDetailsDlg::kIdPhone)->clear();
        dialog.OnCommand(CContactDetailsDlg::kIdUpdate);
        return dialog.EndCode();
    });
    CMyListCtrl* list = window.List();
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {},
                       list->visualItemRect(list->topLevelItem(1)).center());
    const CQueryResult edited =
        Query(QStringLiteral("SELECT PeopleMobilePhone, PeopleDDSPhone FROM tblAddrPerson WHERE "
                             "PersonID = ?"),
              {kept});
    EXPECT_EQ(edited.Value(0, 0).toString(), QStringLiteral("027"));
    EXPECT_EQ(edited.Value(0, 1).toString(), QStringLiteral(" "));
    EXPECT_EQ(Count(QStringLiteral("SELECT COUNT(*) FROM tblAddrPerson")), 2);

    // Deleted, asked first by first name; the row at its place is chosen.
    list->clearSelection();
    list->SelectItem(0);
    CRecordingMessages::Current().Answer(kIdYes);
    QTest::keyClick(list, Qt::Key_Delete);
    QCoreApplication::processEvents();
    EXPECT_EQ(CRecordingMessages::Current().Last(),
              QStringLiteral("Do you really want to delete Åsa"));
    EXPECT_EQ(Column(CContactDlg::kColLastName), QStringList({"Lee"}));
    EXPECT_EQ(list->GetFirstSelected(), 0);
}

TEST_P(ContactDlgTest, TheDesktopGetsOnlySafeEncodedAddresses)
{
    CRecordingLauncher launcher;
    const int id = AddCompany(QStringLiteral("Web Ltd"), {}, QStringLiteral("www.web.example"));
    AddPerson(id, QStringLiteral("Eve"), QStringLiteral("Hart"),
              QStringLiteral("eve hart@web.example?attach=/etc/passwd"));
    AddCompany(QStringLiteral("Bad Page Ltd"), {}, QStringLiteral("javascript:alert(1)"));
    AddCompany(QStringLiteral("File Page Ltd"), {}, QStringLiteral("file:///etc/passwd"));
    CContactDlg& window = Open();

    EXPECT_EQ(
        RightClickTree(QStringLiteral("Web Ltd")),
        QStringList({"Edit Web Ltd", "Delete Web Ltd", "Comments for Web Ltd", "Browse Web"}));
    Pick(QStringLiteral("Browse Web"));
    EXPECT_EQ(RightClickList(0), QStringList({"Edit", "-", "Add", "Delete", "-", "EMail"}));
    Pick(QStringLiteral("EMail"));
    for (const QString& bad : {QStringLiteral("Bad Page Ltd"), QStringLiteral("File Page Ltd")}) {
        Choose(bad);
        window.OnCommand(CContactDlg::kCmdBrowseWeb);
        EXPECT_TRUE(
            CRecordingMessages::Current().Last().contains(QStringLiteral("not a web page")));
    }
    EXPECT_EQ(launcher.opened, QStringList({"http://www.web.example",
                                            "mailto:eve%20hart@web.example%3Fattach=/etc/passwd"}));
}

TEST_P(ContactDlgTest, CommentsOfACompanyAreAskedOfTheHub)
{
    const int id = AddCompany(QStringLiteral("Talk Ltd"));
    bool made = false;
    CDummyDlg* seenHub = nullptr;
    RegisterHubWindow(ID_TASKS, [&](CDummyDlg& hub) -> IHubWindow* {
        made = true;
        seenHub = &hub;
        EXPECT_EQ(hub.m_pendingCompanyId, id);
        EXPECT_EQ(hub.m_pendingProjId, -1);
        EXPECT_FALSE(hub.m_pendingFlags[0]);
        EXPECT_FALSE(hub.m_pendingFlags[1]);
        EXPECT_FALSE(hub.m_pendingFlags[2]);
        EXPECT_TRUE(hub.m_pendingFlags[4]);
        return nullptr;
    });
    CContactDlg& window = Open();
    m_hub->m_pendingFlags[1] = true;
    m_hub->m_pendingProjId = 7;
    RightClickTree(QStringLiteral("Talk Ltd"));
    Pick(QStringLiteral("Comments for Talk Ltd"));
    EXPECT_TRUE(made);
    EXPECT_EQ(seenHub, m_hub.get());
    // Without the comments window the user is told so.
    UnregisterHubWindow(ID_TASKS);
    window.OnCommand(CContactDlg::kCmdCompanyComments);
    EXPECT_EQ(CRecordingMessages::Current().Last(),
              QStringLiteral("Tasks is not available in this version of Kelvane."));
}

TEST_P(ContactDlgTest, KeysAndTheListLayout)
{
    const int id = AddCompany(QStringLiteral("Keys Ltd"));
    AddPerson(id, QStringLiteral("Ann"), QStringLiteral("Lee"), QStringLiteral("ann@keys.example"));
    CContactDlg& window = Open();
    Choose(QStringLiteral("Keys Ltd"));
    // Ctrl+L: the list with its first row.
    QTest::keyClick(window.Tree(), Qt::Key_L, Qt::ControlModifier);
    EXPECT_EQ(window.List()->GetFirstSelected(), 0);

    // A layout with "email" first is kept and cells follow their columns.
    QHeaderView* header = window.List()->header();
    header->moveSection(header->visualIndex(window.ColumnOfKey(CContactDlg::kColEmail)), 0);
    window.OnCommand(CContactDlg::kCmdSaveLayout);
    EXPECT_TRUE(CProfileStore()
                    .value(QStringLiteral("Window Settings/CDlgList"))
                    .toString()
                    .startsWith(QStringLiteral("5,")));
    EXPECT_EQ(window.ColumnOfKey(CContactDlg::kColEmail), 0);
    EXPECT_EQ(window.List()->headerItem()->text(0), QStringLiteral("email"));
    EXPECT_EQ(window.List()->ItemText(0, 0), QStringLiteral("ann@keys.example"));
    EXPECT_EQ(Column(CContactDlg::kColLastName), QStringList({"Lee"}));
    window.OnCommand(CContactDlg::kCmdDefaultLayout);
    EXPECT_EQ(window.ColumnOfKey(CContactDlg::kColEmail), CContactDlg::kColEmail);
    EXPECT_EQ(Column(CContactDlg::kColEmail), QStringList({"ann@keys.example"}));

    window.OnCommand(CContactDlg::kCmdSearch);
    EXPECT_EQ(CRecordingMessages::Current().Last(),
              QStringLiteral("Search is not available in this version of Kelvane."));
}

TEST_P(ContactDlgTest, EnterClosesWithoutKeepingThePlacement)
{
    const QString key = QStringLiteral("Window Settings/ContactDlg");
    // Written when missing, and the window opens there.
    Open();
    EXPECT_EQ(CProfileStore().value(key).toString(), QStringLiteral("(431,851,476,1171),NORM 1"));
    EXPECT_EQ(m_window->geometry(), QRect(476, 431, 695, 420));
    m_window->setGeometry(100, 120, 800, 500);
    m_window->OnCommand(IDOK);
    EXPECT_FALSE(m_window->isVisible());
    EXPECT_EQ(CProfileStore().value(key).toString(), QStringLiteral("(431,851,476,1171),NORM 1"));
    // Esc closes too, and keeps where the window was.
    Open();
    m_window->setGeometry(100, 120, 800, 500);
    m_window->OnCommand(CContactDlg::kCmdArrange);
    QTest::keyClick(m_window->Tree(), Qt::Key_Escape);
    EXPECT_FALSE(m_window->isVisible());
    EXPECT_EQ(CProfileStore().value(key).toString(), QStringLiteral("(120,620,100,900),NORM 1"));
    EXPECT_EQ(CProfileStore().value(QStringLiteral("Window Settings/Contact_Arrange")).toInt(), 1);
}

KELVANE_INSTANTIATE_BACKENDS(ContactDlgTest);

// ---- The program's Contacts command --------------------------------------------------

namespace {

class ContactsProgramTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegisterContactWindows();
        ASSERT_TRUE(m_app.Start());
        m_app.Hub()->SetStartupDelayOverride(1000000);
        m_app.Hub()->Create();
    }
    void TearDown() override
    {
        m_app.Shutdown();
        UnregisterHubWindow(ID_CONTACTS);
    }

    CKelvaneApp m_app;
};

} // namespace

TEST_F(ContactsProgramTest, TheHubsContactsCommandOpensTheWindowOnce)
{
    // On Linux the program's own address book, whatever the source option says.
    CProfileStore().setValue(QStringLiteral("Admin/UseVekContact"), 0);
    CDBClass& db = *m_app.Facade();
    int engineering = -1;
    QString reason;
    ASSERT_EQ(db.AddBusinessType(QStringLiteral("Engineering"), engineering, reason),
              ContactResult::Ok);
    const struct {
        const char* name;
        const char* type;
        const char* first;
        const char* last;
    } companies[] = {{"Kauri Engineering", "Engineering", "Mere", "Tane"},
                     {"O'Brien & Søn", "Customer", "Åsa", "O'Neil"},
                     {"Harbour Freight", "Supplier", "Ian", "Marsh"}};
    for (const auto& c : companies) {
        CCompanyValues values;
        values.CompanyName = QString::fromUtf8(c.name);
        values.Address1 = QStringLiteral("12 Wharf Road");
        values.Address2 = QStringLiteral("Port Chalmers");
        values.Address3 = QStringLiteral("Dunedin 9023");
        values.Phone = QStringLiteral("03 472 8000");
        values.Fax = QStringLiteral("03 472 8001");
        values.WWWpage = QStringLiteral("www.example.co.nz");
        values.AddressComment = QStringLiteral("Deliveries through the side gate before 10am.");
        CPersonValues person;
        person.FirstName = QString::fromUtf8(c.first);
        person.LastName = QString::fromUtf8(c.last);
        person.Phone = QStringLiteral("03 472 8010");
        person.Mobile = QStringLiteral("027 555 0101");
        person.Email = person.FirstName.toLower() + QStringLiteral("@example.co.nz");
        CQueryResult rows;
        ASSERT_TRUE(CSqlExecutor::Run(*db.Connection(),
                                      QStringLiteral("SELECT BusinessTypeID FROM "
                                                     "tlkpAddrBusinessType WHERE BusinessType = ?"),
                                      {QString::fromUtf8(c.type)}, &rows, nullptr));
        const int typeId = rows.Value(0, 0).toInt();
        int id = -1;
        ASSERT_EQ(db.AddCompany(values, typeId, person, id, reason), ContactResult::Ok)
            << reason.toStdString();
        if (QString::fromUtf8(c.name) == QStringLiteral("Kauri Engineering")) {
            person.FirstName = QStringLiteral("Hemi");
            person.LastName = QStringLiteral("Walker");
            person.Email = QStringLiteral("hemi@example.co.nz");
            int personId = -1;
            ASSERT_EQ(db.AddPerson(id, person, personId, reason), ContactResult::Ok);
        }
    }

    CDummyDlg* hub = m_app.Hub();
    hub->OnCommand(ID_CONTACTS);
    auto* window = dynamic_cast<CContactDlg*>(hub->Window(ID_CONTACTS));
    ASSERT_NE(window, nullptr) << CRecordingMessages::Current().Last().toStdString();
    EXPECT_TRUE(hub->OpenWindows() & kOpenContacts);
    EXPECT_TRUE(window->windowTitle().startsWith(QStringLiteral("Contacts Pro- ")))
        << window->windowTitle().toStdString();
    hub->OnCommand(ID_CONTACTS);
    EXPECT_EQ(hub->Window(ID_CONTACTS), window);

    window->OnCommand(CContactDlg::kCmdArrange);
    window->SelectCompany(db.GetCompanyIdByName(QStringLiteral("Kauri Engineering")));
    window->resize(820, 480);
    Waiting::Settle();
    const QString folder = qEnvironmentVariable("KELVANE_SCREENSHOT_DIR");
    if (!folder.isEmpty())
        window->grab().save(folder + QStringLiteral("/contacts.png"));

    window->close();
    QCoreApplication::processEvents();
    EXPECT_EQ(hub->Window(ID_CONTACTS), nullptr);
    EXPECT_FALSE(hub->OpenWindows() & kOpenContacts);
}

TEST(ContactsWithoutTables, ADatabaseWithoutTheTablesSaysSoAndWritesNothing)
{
    CDBClass db;
    db.Connection()->UseConnectionString(TestDatabases::NewSqliteDatabase(TestEnv::TestDir()));
    ASSERT_TRUE(db.OpenConnection());
    CRecordingMessages& messages = CRecordingMessages::Current();
    {
        CContactDlg window(nullptr, db);
        ASSERT_TRUE(window.Create());
        EXPECT_TRUE(messages.Last().startsWith(QStringLiteral("Cannot find Company information")));
        EXPECT_EQ(window.Tree()->topLevelItemCount(), 0);
        // Adding says why it cannot, and leaves no table behind.
        CScriptedModals modals;
        modals.Then([&messages](CDialogBase& dialog) {
            EXPECT_EQ(messages.Last(),
                      QStringLiteral("Unable to open Business Types lookup table"));
            dialog.Control<QLineEdit>(CCompanyDetailsDlg::kIdName)->setText(QStringLiteral("Acme"));
            return IDCANCEL;
        });
        window.OnCommand(CContactDlg::kCmdAddCompany);
        EXPECT_EQ(modals.seen, QStringList({"CCompanyDetailsDlg"}));
        QString reason;
        int id = -1;
        CCompanyValues company;
        company.CompanyName = QStringLiteral("Acme");
        EXPECT_EQ(db.AddCompany(company, -1, {}, id, reason), ContactResult::OpenFailed);
        EXPECT_FALSE(reason.isEmpty());
        window.close();
    }
    CQueryResult tables;
    ASSERT_TRUE(CSqlExecutor::Run(*db.Connection(),
                                  QStringLiteral("SELECT COUNT(*) FROM sqlite_master"), {}, &tables,
                                  nullptr));
    EXPECT_EQ(tables.Value(0, 0).toInt(), 0);
    EXPECT_EQ(db.Connection()->TransactionDepth(), 0);
    db.ReleaseConnection(true, true);
}
