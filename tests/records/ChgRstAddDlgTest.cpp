#include "records/ChgRstAddDlg.h"
#include "records/ChgRstItemsPage.h"
#include "records/ChgRstRefPage.h"
#include "records/ChgRstUsersPage.h"
#include "tests/records/ChgRqstWindowFixture.h"
#include "tests/records/RecordingLauncher.h"
#include "tests/support/TestEnv.h"
#include "ui/ResourceIds.h"
#include "ui/RichTextCtrl.h"
#include "ui/Utilities.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <QUrlQuery>

namespace {

class ChgRstAddDlgTest : public ChgRqstUiTest {
protected:
    void Make(const QString& project = QStringLiteral("Bridge"), int projId = kBridge)
    {
        m_dialog = std::make_unique<CChgRstAddDlg>(false, project, projId, m_db);
        m_dialog->show();
    }
    QComboBox* Combo(QWidget* page, int id) const
    {
        return page->findChild<QComboBox*>(CDialogBase::ControlName(id));
    }
    void AddItem(const QString& text)
    {
        m_dialog->ItemsPage()->TextField()->setPlainText(text);
        m_dialog->ItemsPage()->OnTipButtonClick(CChgRstItemsPage::kIdAdd);
    }
    void SetReference(const QString& text)
    {
        m_dialog->RefPage()
            ->findChild<QLineEdit*>(CDialogBase::ControlName(CChgRstRefPage::kIdReference))
            ->setText(text);
    }
    void SelectTeam(const QStringList& names)
    {
        auto* list = m_dialog->UsersPage()->findChild<QListWidget*>(
            CDialogBase::ControlName(CChgRstUsersPage::kIdTeam));
        for (int row = 0; row < list->count(); ++row)
            list->item(row)->setSelected(names.contains(list->item(row)->text()));
    }
    int Ok()
    {
        m_dialog->OnCommand(IDOK);
        return m_dialog->EndCode();
    }
    static QStringList Messages() { return CRecordingMessages::Current().Texts(); }

    std::unique_ptr<CChgRstAddDlg> m_dialog;
};

} // namespace

TEST_P(ChgRstAddDlgTest, ThreeItemsBecomeThreeRequestsEachWithTheTeam)
{
    Make();
    EXPECT_EQ(m_dialog->windowTitle(), QStringLiteral("Add Change Request"));
    EXPECT_EQ(m_dialog->Control<QComboBox>(CChgRstAddDlg::kIdProject)->currentText(),
              QStringLiteral("Bridge"));
    EXPECT_EQ(m_dialog->Control<QComboBox>(CChgRstAddDlg::kIdPriority)->currentText(),
              QStringLiteral("medium"));
    EXPECT_EQ(m_dialog->Control<QDateEdit>(CChgRstAddDlg::kIdDate)->date(), QDate::currentDate());
    // The project's company and its contacts; the user as authority; the
    // current employees for the team.
    EXPECT_EQ(Combo(m_dialog->RefPage(), CChgRstRefPage::kIdCompany)->currentText(),
              QStringLiteral("Acme"));
    EXPECT_EQ(Combo(m_dialog->RefPage(), CChgRstRefPage::kIdContact)->currentText(),
              QStringLiteral("Jane Roe"));
    EXPECT_EQ(Combo(m_dialog->UsersPage(), CChgRstUsersPage::kIdAuthority)->currentText(),
              QStringLiteral("Ann Lee"));
    auto* team = m_dialog->UsersPage()->findChild<QListWidget*>(
        CDialogBase::ControlName(CChgRstUsersPage::kIdTeam));
    ASSERT_NE(team, nullptr);
    EXPECT_EQ(team->count(), 3);

    SetReference(QStringLiteral("It's R-7"));
    SelectTeam({QStringLiteral("Bob O'Neil"), QStringLiteral("Cleo Ng")});
    Combo(m_dialog->UsersPage(), CChgRstUsersPage::kIdAuthority)->setCurrentIndex(1);
    m_dialog->Control<QComboBox>(CChgRstAddDlg::kIdPriority)->setCurrentIndex(0);
    for (const QString& item :
         {QStringLiteral("Zinc ☕"), QStringLiteral("Apostrophe's"), QStringLiteral("Middle")})
        AddItem(item);
    ASSERT_EQ(Ok(), IDOK) << Messages().join('|').toStdString();
    const QList<int> ids = m_dialog->WrittenIds();
    ASSERT_EQ(ids.size(), 3);
    // One row per item in list order (the list is sorted), each with its own id.
    QStringList items;
    for (int id : ids) {
        items << Stored(id, QStringLiteral("Item"));
        EXPECT_EQ(Stored(id, QStringLiteral("Reference")), QStringLiteral("It's R-7"));
        EXPECT_EQ(Stored(id, QStringLiteral("ProjID")), QString::number(kBridge));
        EXPECT_EQ(Stored(id, QStringLiteral("CompanyID")), QString::number(kAcme));
        EXPECT_EQ(Stored(id, QStringLiteral("Contact")), QStringLiteral("Jane Roe"));
        EXPECT_EQ(Stored(id, QStringLiteral("EmpID")), QString::number(kBob));
        EXPECT_EQ(Stored(id, QStringLiteral("Priority")), QStringLiteral("1"));
        EXPECT_EQ(Stored(id, QStringLiteral("StatusID")), QStringLiteral("1"));
        EXPECT_EQ(Stored(id, QStringLiteral("TeamList")), QStringLiteral("Bob O'Neil,Cleo Ng"));
        EXPECT_EQ(Team(id), QList<int>({kBob, kCleo}));
        EXPECT_TRUE(StoredDate(QStringLiteral("tblChgReq"), QStringLiteral("DateCreated"),
                               QStringLiteral("ChgReqID"), id)
                        .startsWith(QDate::currentDate().toString(Qt::ISODate)));
    }
    EXPECT_EQ(items, QStringList({"Apostrophe's", "Middle", "Zinc ☕"}));

    // Escape in a page ends the dialog as Cancel does; nothing more is written.
    Make();
    QTest::keyClick(m_dialog->RefPage()->findChild<QLineEdit*>(), Qt::Key_Escape);
    EXPECT_EQ(m_dialog->EndCode(), IDCANCEL);
    EXPECT_EQ(Count(QStringLiteral("tblChgReq")), 3);
    // No notification by default.
    EXPECT_TRUE(Messages().isEmpty()) << Messages().join('|').toStdString();
}

TEST_P(ChgRstAddDlgTest, RefusesIncompleteRequestsAndDuplicateItems)
{
    Make(QString(), -1);
    // No project: the user's projects are offered, none chosen.
    EXPECT_EQ(m_dialog->Control<QComboBox>(CChgRstAddDlg::kIdProject)->currentIndex(), -1);
    EXPECT_EQ(Ok(), 0);
    EXPECT_EQ(CRecordingMessages::Current().Last(), QStringLiteral("You need to select a project"));
    QComboBox* project = m_dialog->Control<QComboBox>(CChgRstAddDlg::kIdProject);
    project->setCurrentIndex(project->findText(QStringLiteral("Apollo")));
    m_dialog->OnCommand(CChgRstAddDlg::kIdProject);
    // The project's company and contacts follow.
    EXPECT_EQ(Combo(m_dialog->RefPage(), CChgRstRefPage::kIdCompany)->currentText(),
              QStringLiteral("Zeta's Café"));
    EXPECT_EQ(Combo(m_dialog->RefPage(), CChgRstRefPage::kIdContact)->currentText(),
              QStringLiteral("Jörg O'Hara"));
    EXPECT_EQ(Ok(), 0);
    EXPECT_EQ(CRecordingMessages::Current().Last(),
              QStringLiteral("You need to set a reference value"));
    SetReference(QStringLiteral("R"));
    EXPECT_EQ(Ok(), 0);
    EXPECT_EQ(CRecordingMessages::Current().Last(),
              QStringLiteral("You have no items in your change request"));

    AddItem(QString());
    EXPECT_EQ(CRecordingMessages::Current().Last(),
              QStringLiteral("You cannot add a zero-length item"));
    AddItem(QStringLiteral("foo"));
    AddItem(QStringLiteral("Foo"));
    EXPECT_EQ(CRecordingMessages::Current().Last(),
              QStringLiteral("You cannot have an item that is the same as a previous one"));
    EXPECT_EQ(m_dialog->ItemsPage()->Items(), QStringList({"foo"}));
    // Longer than the column: cut where a character ends, and told.
    AddItem(QString(254, QLatin1Char('x')) + QStringLiteral("☕☕"));
    EXPECT_EQ(CRecordingMessages::Current().Last(),
              QStringLiteral("An item can not be longer than 255 characters - it has been cut"));
    EXPECT_TRUE(m_dialog->ItemsPage()->Items().contains(QString(254, QLatin1Char('x')) +
                                                        QStringLiteral("☕")));
    // Removing and copying back an item.
    auto* items = m_dialog->ItemsPage()->findChild<QListWidget*>(
        CDialogBase::ControlName(CChgRstItemsPage::kIdItems));
    items->setCurrentRow(items->count() - 1);
    m_dialog->ItemsPage()->OnTipButtonClick(CChgRstItemsPage::kIdRemove);
    EXPECT_EQ(m_dialog->ItemsPage()->Items(), QStringList({"foo"}));

    // A reference longer than its column is cut and told; the rows are written.
    SetReference(QString(48, QLatin1Char('r')) + QStringLiteral("éé☕"));
    ASSERT_EQ(Ok(), IDOK);
    EXPECT_TRUE(Messages().contains(
        QStringLiteral("The reference can not be longer than 50 characters - it has been cut")));
    EXPECT_EQ(Stored(m_dialog->WrittenIds().value(0), QStringLiteral("Reference")),
              QString(48, QLatin1Char('r')) + QStringLiteral("éé"));
}

TEST_P(ChgRstAddDlgTest, AFailureWritesNothingAndKeepsTheDialog)
{
    Refuse(QStringLiteral("INSERT"), QStringLiteral("tblChgReq"), QStringLiteral("Item"),
           QStringLiteral("b"));
    Make();
    SetReference(QStringLiteral("R"));
    SelectTeam({QStringLiteral("Bob O'Neil")});
    for (const QString& item : {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")})
        AddItem(item);
    EXPECT_EQ(Ok(), 0);
    EXPECT_TRUE(CRecordingMessages::Current().Last().startsWith(
        QStringLiteral("Unable to add the change request - nothing has been written.\n")))
        << CRecordingMessages::Current().Last().toStdString();
    EXPECT_EQ(Count(QStringLiteral("tblChgReq")), 0);
    EXPECT_EQ(Count(QStringLiteral("tblChgReqTeam")), 0);
    EXPECT_TRUE(m_dialog->WrittenIds().isEmpty());
    EXPECT_EQ(m_dialog->ItemsPage()->Items().size(), 3);
}

TEST_P(ChgRstAddDlgTest, AProjectTheUserIsNotOnIsOfferedAllTheSame)
{
    Make(QStringLiteral("Zephyr"), kZephyr);
    QComboBox* project = m_dialog->Control<QComboBox>(CChgRstAddDlg::kIdProject);
    EXPECT_EQ(project->currentText(), QStringLiteral("Zephyr"));
    SetReference(QStringLiteral("Z"));
    AddItem(QStringLiteral("z"));
    ASSERT_EQ(Ok(), IDOK);
    EXPECT_EQ(Stored(m_dialog->WrittenIds().value(0), QStringLiteral("ProjID")),
              QString::number(kZephyr));
    // Without a company the request has none.
    EXPECT_EQ(Stored(m_dialog->WrittenIds().value(0), QStringLiteral("CompanyID")),
              QStringLiteral("NULL"));
}

TEST_P(ChgRstAddDlgTest, NotificationsFollowTheOption)
{
    CRecordingLauncher launcher;
    // 1: asked twice; No and No open nothing, and the dialog still ends with OK.
    Option("Admin/ChgRqstNot", 1);
    Make();
    SetReference(QStringLiteral("A&B #1"));
    SelectTeam({QStringLiteral("Bob O'Neil"), QStringLiteral("Cleo Ng")});
    AddItem(QStringLiteral("first"));
    AddItem(QStringLiteral("second"));
    CRecordingMessages::Current().Answer(kIdNo);
    CRecordingMessages::Current().Answer(kIdNo);
    ASSERT_EQ(Ok(), IDOK);
    EXPECT_EQ(Messages(),
              QStringList({"Do you want notification messages sent to the Team Members?",
                           "Do you want notification messages sent to the Team Leader?"}));
    EXPECT_TRUE(launcher.opened.isEmpty());

    // 3: the members (their addresses by id, the empty one left out, the part
    // before '#'), then the authority; about the last request written.
    CRecordingMessages::Current().Clear();
    Option("Admin/ChgRqstNot", 3);
    Make();
    SetReference(QStringLiteral("A&B #1"));
    SelectTeam({QStringLiteral("Bob O'Neil"), QStringLiteral("Cleo Ng")});
    AddItem(QStringLiteral("first"));
    AddItem(QStringLiteral("second"));
    ASSERT_EQ(Ok(), IDOK);
    EXPECT_TRUE(Messages().isEmpty()) << Messages().join('|').toStdString();
    ASSERT_EQ(launcher.opened.size(), 2);
    const QUrl members(launcher.opened.at(0));
    EXPECT_EQ(members.path(), QStringLiteral("bob.o'neil@example.com"));
    const int last = m_dialog->WrittenIds().last();
    EXPECT_EQ(QUrlQuery(members).queryItemValue(QStringLiteral("subject"), QUrl::FullyDecoded),
              QStringLiteral("Change Request : id -  %1, (reference -  A&B #1 )").arg(last));
    EXPECT_EQ(
        QUrlQuery(members).queryItemValue(QStringLiteral("Body"), QUrl::FullyDecoded),
        QStringLiteral("This is notification that Ann Lee entered a change request [ id - "
                       "%1, ( reference - A&B #1 ) ] dated %2, for your consideration.")
            .arg(last)
            .arg(FormatDateTime(CDateTime(QDate::currentDate()), QStringLiteral("%d/%m/%y"))));
    EXPECT_EQ(QUrl(launcher.opened.at(1)).path(), QStringLiteral("ann@example.com"));

    // 2: the members only; a team without addresses opens nothing.
    launcher.opened.clear();
    Option("Admin/ChgRqstNot", 2);
    Make();
    SetReference(QStringLiteral("R"));
    SelectTeam({QStringLiteral("Cleo Ng")});
    AddItem(QStringLiteral("x"));
    ASSERT_EQ(Ok(), IDOK);
    EXPECT_TRUE(launcher.opened.isEmpty());
}

KELVANE_INSTANTIATE_BACKENDS(ChgRstAddDlgTest);
