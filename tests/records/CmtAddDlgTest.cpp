#include "records/CmtAddDlg.h"
#include "app/PickListDlg.h"
#include "tests/records/CommentFixture.h"
#include "ui/RichTextCtrl.h"

#include <QCheckBox>
#include <QDateTimeEdit>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

namespace {

class CmtAddDlgTest : public CommentTest {
protected:
    // Runs the window's Add with the step answering the dialog.
    void Add(std::function<int(CCmtAddDlg&)> step)
    {
        CScriptedModals modals;
        modals.Then([step](CDialogBase& dialog) { return step(static_cast<CCmtAddDlg&>(dialog)); });
        m_window->OnCommand(CCommentDlg::kCmdAdd);
        EXPECT_EQ(modals.seen, QStringList({"CCmtAddDlg"}));
    }
    static QComboBox* ComboOf(CCmtAddDlg& d, int id) { return d.Control<QComboBox>(id); }
    static void Pick(CCmtAddDlg& d, int id, const QString& text)
    {
        QComboBox* combo = ComboOf(d, id);
        const int index = combo->findText(text);
        ASSERT_GE(index, 0) << text.toStdString();
        combo->setCurrentIndex(index);
        d.OnCommand(id);
    }
    static void Type(CCmtAddDlg& d, int id, const QString& text)
    {
        d.Control<CRichTextCtrl>(id)->setPlainText(text);
    }
    static QStringList Items(QComboBox* combo)
    {
        QStringList items;
        for (int i = 0; i < combo->count(); ++i)
            items << combo->itemText(i);
        return items;
    }
};

} // namespace

TEST_P(CmtAddDlgTest, AddsAToDoForTheChosenProjectAndTask)
{
    Open();
    SelectNode(QStringLiteral("Bridge"));
    Add([this](CCmtAddDlg& d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Add Comment for Project"));
        EXPECT_EQ(ComboOf(d, CCmtAddDlg::kIdProject)->currentText(), QStringLiteral("Bridge"));
        EXPECT_EQ(d.Control<QLabel>(CCmtAddDlg::kIdCompany)->text(), QStringLiteral("Acme"));
        EXPECT_EQ(Items(ComboOf(d, CCmtAddDlg::kIdContact)), QStringList({"Jane Roe"}));
        EXPECT_EQ(ComboOf(d, CCmtAddDlg::kIdStatus)->currentText(), QStringLiteral("ToDo"));
        EXPECT_EQ(ComboOf(d, CCmtAddDlg::kIdPriority)->currentText(), QStringLiteral("medium"));
        EXPECT_EQ(ComboOf(d, CCmtAddDlg::kIdUser)->currentText(), QStringLiteral("Ann Lee"));
        EXPECT_EQ(Items(ComboOf(d, CCmtAddDlg::kIdTask)), QStringList({"Design", "Build"}));
        EXPECT_FALSE(ComboOf(d, CCmtAddDlg::kIdTask)->isEnabled());
        EXPECT_TRUE(d.Control<CRichTextCtrl>(CCmtAddDlg::kIdQuestion)->isHidden());

        Type(d, CCmtAddDlg::kIdComment, QStringLiteral("Ring O'Brien in Zürich"));
        d.Control<QCheckBox>(CCmtAddDlg::kIdAssign)->click();
        EXPECT_TRUE(ComboOf(d, CCmtAddDlg::kIdTask)->isEnabled());
        Pick(d, CCmtAddDlg::kIdTask, QStringLiteral("Build"));
        Pick(d, CCmtAddDlg::kIdPriority, QStringLiteral("low"));
        Pick(d, CCmtAddDlg::kIdUser, QStringLiteral("Bob O'Neil"));
        d.Control<QLineEdit>(CCmtAddDlg::kIdReference)->setText(QStringLiteral("R-9"));
        d.OnCommand(IDOK);
        EXPECT_EQ(d.InsertedId(), 6);
        return IDOK;
    });
    EXPECT_EQ(Stored(6, QStringLiteral("ProjID")), QString::number(kBridge));
    EXPECT_EQ(Stored(6, QStringLiteral("EmpID")), QString::number(kBob));
    EXPECT_EQ(Stored(6, QStringLiteral("CompanyID")), QString::number(kAcme));
    EXPECT_EQ(Stored(6, QStringLiteral("ProjectComment")),
              QStringLiteral("Ring O'Brien in Zürich"));
    EXPECT_EQ(Stored(6, QStringLiteral("FullDetails")), QString());
    EXPECT_EQ(Stored(6, QStringLiteral("Priority")), QStringLiteral("3"));
    EXPECT_EQ(Stored(6, QStringLiteral("ContactName")), QStringLiteral("Jane Roe"));
    EXPECT_EQ(Stored(6, QStringLiteral("CommentType")), QStringLiteral("ToDo"));
    EXPECT_EQ(Stored(6, QStringLiteral("ObjectTypeID")), QStringLiteral("2"));
    EXPECT_EQ(Stored(6, QStringLiteral("ObjectID")), QString::number(kBuild));
    EXPECT_EQ(Stored(6, QStringLiteral("Reference")), QStringLiteral("R-9"));
    EXPECT_NE(Stored(6, QStringLiteral("CommentDate")), QStringLiteral("NULL"));
    EXPECT_NE(Stored(6, QStringLiteral("ActionDate")), QStringLiteral("NULL"));
    // Ann's filter still applies, as the list says; it is Bob's to see.
    EXPECT_TRUE(m_window->StatusText().endsWith(
        QStringLiteral("The comment just added is not listed: it is for Bob O'Neil, the list "
                       "shows Ann Lee.")))
        << m_window->StatusText().toStdString();
    Choose(CCommentDlg::kIdUser, QStringLiteral("Bob O'Neil"));
    EXPECT_EQ(Ids(), QList<int>({6}));
    EXPECT_TRUE(Messages().isEmpty()) << Messages().join(QLatin1Char('|')).toStdString();
}

TEST_P(CmtAddDlgTest, AChosenProjectBringsItsCompanyAndTheListSaysWhyTheCommentIsNotShown)
{
    Open();
    Choose(CCommentDlg::kIdType, QStringLiteral("ToDo"));
    const QList<int> before = Ids();
    Add([this](CCmtAddDlg& d) {
        // At the root no project is chosen, so neither is a company.
        EXPECT_EQ(ComboOf(d, CCmtAddDlg::kIdProject)->currentIndex(), -1);
        EXPECT_TRUE(d.CompanyText().isEmpty());
        Type(d, CCmtAddDlg::kIdComment, QStringLiteral("Zoë rang about the launch"));
        d.OnCommand(IDOK);
        EXPECT_EQ(CRecordingMessages::Current().Last(),
                  QStringLiteral("You need to fill out project and company fields as well as your "
                                 "name and a comment"));
        EXPECT_EQ(d.EndCode(), 0);
        // The project brings its company and the company's contacts.
        Pick(d, CCmtAddDlg::kIdProject, QStringLiteral("Apollo"));
        EXPECT_EQ(d.CompanyText(), QStringLiteral("Zeta's Café"));
        EXPECT_EQ(Items(ComboOf(d, CCmtAddDlg::kIdContact)), QStringList({"Jörg O'Hara"}));
        Pick(d, CCmtAddDlg::kIdProject, QStringLiteral("Bridge"));
        EXPECT_EQ(d.CompanyText(), QStringLiteral("Acme"));
        Pick(d, CCmtAddDlg::kIdStatus, QStringLiteral("Info"));
        d.OnCommand(IDOK);
        EXPECT_EQ(d.EndCode(), IDOK);
        return IDOK;
    });
    EXPECT_EQ(Stored(6, QStringLiteral("CompanyID")), QString::number(kAcme));
    EXPECT_EQ(Stored(6, QStringLiteral("CommentType")), QStringLiteral("Info"));
    // The list is on to-dos: it says so rather than seeming to have lost it.
    EXPECT_EQ(Ids(), before);
    EXPECT_EQ(m_window->StatusText(),
              QStringLiteral("%1 Comments found. The comment just added is not listed: its "
                             "status is Info, the list shows ToDo.")
                  .arg(before.size()));
    Choose(CCommentDlg::kIdType, QStringLiteral("Info"));
    EXPECT_TRUE(Ids().contains(6));
}

TEST_P(CmtAddDlgTest, EnterOnANodeOpensAddForItAsADoubleClickDoes)
{
    Open();
    SelectNode(QStringLiteral("Apollo"));
    m_window->Tree()->setFocus();
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
        CScriptedModals modals;
        QString project;
        modals.Then([&project](CDialogBase& dialog) {
            project = dialog.Control<QComboBox>(CCmtAddDlg::kIdProject)->currentText();
            return IDCANCEL;
        });
        QTest::keyClick(m_window->Tree(), key);
        EXPECT_EQ(modals.seen, QStringList({"CCmtAddDlg"}));
        EXPECT_EQ(project, QStringLiteral("Apollo"));
        EXPECT_EQ(m_window->NodeText(), QStringLiteral("Apollo"));
        EXPECT_TRUE(m_window->isVisible());
    }
}

TEST_P(CmtAddDlgTest, AnFaqKeepsItsQuestionAndAnswer)
{
    Open();
    SelectNode(QStringLiteral("Apollo"));
    Choose(CCommentDlg::kIdType, QStringLiteral("FAQ"));
    Add([this](CCmtAddDlg& d) {
        EXPECT_EQ(ComboOf(d, CCmtAddDlg::kIdStatus)->currentText(), QStringLiteral("FAQ"));
        EXPECT_TRUE(d.Control<CRichTextCtrl>(CCmtAddDlg::kIdComment)->isHidden());
        EXPECT_TRUE(d.Control<QCheckBox>(CCmtAddDlg::kIdAssign)->isHidden());
        EXPECT_FALSE(d.Control<CRichTextCtrl>(CCmtAddDlg::kIdQuestion)->isHidden());
        EXPECT_FALSE(d.Control<CRichTextCtrl>(CCmtAddDlg::kIdAnswer)->isHidden());
        EXPECT_EQ(Items(ComboOf(d, CCmtAddDlg::kIdContact)), QStringList({"Jörg O'Hara"}));
        Type(d, CCmtAddDlg::kIdQuestion, QStringLiteral("Where's the key?"));
        d.OnCommand(IDOK);
        EXPECT_EQ(CRecordingMessages::Current().Last(),
                  QStringLiteral("You need to fill out a Question and an Answer"));
        EXPECT_EQ(d.EndCode(), 0);
        Type(d, CCmtAddDlg::kIdAnswer, QStringLiteral("Ask Jörg; he has it"));
        d.OnCommand(IDOK);
        return IDOK;
    });
    EXPECT_EQ(Stored(6, QStringLiteral("CommentType")), QStringLiteral("FAQ"));
    EXPECT_EQ(Stored(6, QStringLiteral("ProjectComment")), QStringLiteral("Where's the key?"));
    EXPECT_EQ(Stored(6, QStringLiteral("FullDetails")), QStringLiteral("Ask Jörg; he has it"));
    EXPECT_EQ(Stored(6, QStringLiteral("CompanyID")), QString::number(kZeta));
    EXPECT_EQ(Stored(6, QStringLiteral("ContactName")), QStringLiteral("Jörg O'Hara"));
    EXPECT_EQ(Stored(6, QStringLiteral("ObjectTypeID")), QStringLiteral("NULL"));
    EXPECT_EQ(Stored(6, QStringLiteral("ObjectID")), QStringLiteral("NULL"));
    EXPECT_EQ(Ids(), QList<int>({6}));
}

TEST_P(CmtAddDlgTest, ALongCommentIsCutToTheColumnAtACharacter)
{
    Open();
    SelectNode(QStringLiteral("Bridge"));
    // 300 characters; the 255th is one outside the basic plane.
    const QString smile = QString::fromUtf8("\xF0\x9F\x98\x80");
    const QString text = QString(254, QLatin1Char('a')) + smile + QString(45, QLatin1Char('b'));
    Add([&](CCmtAddDlg& d) {
        Type(d, CCmtAddDlg::kIdComment, text);
        d.OnCommand(IDOK);
        EXPECT_EQ(d.EndCode(), IDOK);
        return IDOK;
    });
    EXPECT_EQ(Messages(), QStringList({"Comment can not be longer than 255"}));
    EXPECT_EQ(Stored(6, QStringLiteral("ProjectComment")), QString(254, QLatin1Char('a')) + smile);
}

TEST_P(CmtAddDlgTest, AContactAndAReferenceLongerThanTheirColumnsAreToldToo)
{
    Open();
    SelectNode(QStringLiteral("Bridge"));
    Add([&](CCmtAddDlg& d) {
        Type(d, CCmtAddDlg::kIdComment, QStringLiteral("Call back"));
        d.Control<QComboBox>(CCmtAddDlg::kIdContact)->setEditText(QString(60, QLatin1Char('c')));
        d.Control<QLineEdit>(CCmtAddDlg::kIdReference)->setText(QString(300, QLatin1Char('r')));
        d.OnCommand(IDOK);
        EXPECT_EQ(d.EndCode(), IDOK);
        return IDOK;
    });
    EXPECT_EQ(Messages(), QStringList({"The contact can not be longer than 50 characters - it has "
                                       "been cut\nThe reference can not be longer than 255 "
                                       "characters - it has been cut"}));
    EXPECT_EQ(Stored(6, QStringLiteral("ContactName")), QString(50, QLatin1Char('c')));
    EXPECT_EQ(Stored(6, QStringLiteral("Reference")), QString(255, QLatin1Char('r')));
}

TEST_P(CmtAddDlgTest, AFailedInsertKeepsTheDialogAndWritesNothing)
{
    Open();
    SelectNode(QStringLiteral("Bridge"));
    Refuse(QStringLiteral("INSERT"), QStringLiteral("tblProjectComment"));
    Add([this](CCmtAddDlg& d) {
        Type(d, CCmtAddDlg::kIdComment, QStringLiteral("Keep me"));
        d.OnCommand(IDOK);
        EXPECT_EQ(d.EndCode(), 0);
        EXPECT_TRUE(CRecordingMessages::Current().Last().startsWith(
            QStringLiteral("The comment was not added.\n")))
            << CRecordingMessages::Current().Last().toStdString();
        EXPECT_EQ(d.Control<CRichTextCtrl>(CCmtAddDlg::kIdComment)->toPlainText(),
                  QStringLiteral("Keep me"));
        return IDCANCEL;
    });
    EXPECT_EQ(CommentCount(), 5);
}

TEST_P(CmtAddDlgTest, ACompanyGoneMeanwhileIsRefusedAndAnotherPicked)
{
    Open();
    SelectNode(QStringLiteral("Bridge"));
    CScriptedModals modals;
    modals.Then([this](CDialogBase& dialog) {
        auto& d = static_cast<CCmtAddDlg&>(dialog);
        Exec(QStringLiteral("DELETE FROM tblAddrCompany WHERE CompanyID = 2"));
        Type(d, CCmtAddDlg::kIdComment, QStringLiteral("For Acme"));
        d.OnCommand(IDOK);
        EXPECT_EQ(CRecordingMessages::Current().Last(),
                  QStringLiteral("The comment was not added.\nCompany does not exist"));
        EXPECT_EQ(d.EndCode(), 0);
        EXPECT_EQ(CommentCount(), 5);
        d.OnCommand(CCmtAddDlg::kIdPickCompany);
        EXPECT_EQ(d.CompanyText(), QStringLiteral("Zeta's Café"));
        EXPECT_EQ(ComboOf(d, CCmtAddDlg::kIdContact)->currentText(), QStringLiteral("Jörg O'Hara"));
        d.OnCommand(IDOK);
        return IDOK;
    });
    // The company pick list, on Zeta's Café.
    modals.Then([](CDialogBase& dialog) {
        auto* list = dialog.Control<QListWidget>(1028);
        const QList<QListWidgetItem*> found =
            list->findItems(QStringLiteral("Zeta's Café"), Qt::MatchExactly);
        EXPECT_EQ(found.size(), 1);
        if (!found.isEmpty())
            list->setCurrentItem(found.first());
        dialog.OnCommand(IDOK);
        return IDOK;
    });
    m_window->OnCommand(CCommentDlg::kCmdAdd);
    EXPECT_EQ(modals.seen, QStringList({"CCmtAddDlg", "CPickListDlg"}));
    EXPECT_EQ(Stored(6, QStringLiteral("CompanyID")), QString::number(kZeta));
    EXPECT_EQ(Stored(6, QStringLiteral("ContactName")), QStringLiteral("Jörg O'Hara"));
}

TEST_P(CmtAddDlgTest, ABlankCompanyStoresNone)
{
    Open();
    CCmtAddDlg dialog(QStringLiteral("Project"), 0, kBridge, QStringLiteral(" "), -1, m_window,
                      m_db);
    dialog.SetProjectText(QStringLiteral("Bridge"));
    CScriptedModals modals;
    modals.Then([](CDialogBase& d) {
        // "All" in the window: the options' type for new comments.
        EXPECT_EQ(d.Control<QComboBox>(CCmtAddDlg::kIdStatus)->currentText(),
                  QStringLiteral("ToDo"));
        d.Control<CRichTextCtrl>(CCmtAddDlg::kIdComment)->setPlainText(QStringLiteral("x"));
        d.OnCommand(IDOK);
        return IDOK;
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(Stored(6, QStringLiteral("CompanyID")), QStringLiteral("-1"));
    EXPECT_TRUE(Messages().isEmpty()) << Messages().join(QLatin1Char('|')).toStdString();
}

TEST_P(CmtAddDlgTest, WithoutProjectsNothingCanBeAdded)
{
    Exec(QStringLiteral("DELETE FROM tblProjectComment"));
    Exec(QStringLiteral("DELETE FROM tblProjectTask"));
    Exec(QStringLiteral("DELETE FROM tblProject"));
    Open();
    Add([this](CCmtAddDlg& d) {
        EXPECT_EQ(ComboOf(d, CCmtAddDlg::kIdProject)->count(), 0);
        Type(d, CCmtAddDlg::kIdComment, QStringLiteral("Nowhere"));
        d.OnCommand(IDOK);
        EXPECT_EQ(d.EndCode(), 0);
        return IDCANCEL;
    });
    EXPECT_EQ(Messages(), QStringList({"You need to fill out project and company fields as "
                                       "well as your name and a comment"}));
    EXPECT_EQ(CommentCount(), 0);
}

KELVANE_INSTANTIATE_BACKENDS(CmtAddDlgTest);
