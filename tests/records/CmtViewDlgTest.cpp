#include "records/CmtViewDlg.h"
#include "records/RichTextMenu.h"
#include "tests/records/CommentFixture.h"
#include "ui/RichTextCtrl.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

class CmtViewDlgTest : public CommentTest {
protected:
    void SetUp() override
    {
        CommentTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        Open();
        ShowEverything();
    }
    // Views a comment with the step answering the dialog.
    void View(int commentId, std::function<void(CCmtViewDlg&)> step)
    {
        CScriptedModals modals;
        modals.Then([step](CDialogBase& dialog) {
            step(static_cast<CCmtViewDlg&>(dialog));
            return IDCANCEL;
        });
        SelectRow(RowOf(commentId));
        m_window->OnCommand(CCommentDlg::kCmdView);
        EXPECT_EQ(modals.seen, QStringList({"CCmtViewDlg"}));
        EXPECT_EQ(m_window->RunningViewDialog(), nullptr);
    }
    static QComboBox* ComboOf(CCmtViewDlg& d, int id) { return d.Control<QComboBox>(id); }
    static void Pick(CCmtViewDlg& d, int id, const QString& text)
    {
        QComboBox* combo = ComboOf(d, id);
        const int index = combo->findText(text);
        ASSERT_GE(index, 0) << text.toStdString();
        combo->setCurrentIndex(index);
        d.OnCommand(id);
    }
    static QPushButton* Button(CCmtViewDlg& d, int id) { return d.Control<QPushButton>(id); }
    CDateTime StoredDate(int commentId, const QString& column)
    {
        const CQueryResult rows = Query(
            QStringLiteral("SELECT %1 FROM tblProjectComment WHERE CommentID = ?").arg(column),
            {commentId});
        const QVariant v = rows.Value(0, 0);
        return v.userType() == qMetaTypeId<CDateTime>() ? v.value<CDateTime>()
                                                        : CDateTime::Parse(v.toString());
    }
};

} // namespace

TEST_P(CmtViewDlgTest, ShowsTheRowAndUpdateWritesItBackAndStaysOpen)
{
    View(1, [this](CCmtViewDlg& d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Edit comment # 1"));
        EXPECT_EQ(ComboOf(d, CCmtViewDlg::kIdProject)->currentText(), QStringLiteral("Bridge"));
        EXPECT_EQ(ComboOf(d, CCmtViewDlg::kIdUser)->currentText(), QStringLiteral("Ann Lee"));
        EXPECT_EQ(ComboOf(d, CCmtViewDlg::kIdUser)->itemText(0), QStringLiteral("All"));
        EXPECT_EQ(ComboOf(d, CCmtViewDlg::kIdCompany)->currentText(), QStringLiteral("Acme"));
        EXPECT_EQ(ComboOf(d, CCmtViewDlg::kIdContact)->currentText(), QStringLiteral("Jane Roe"));
        EXPECT_EQ(ComboOf(d, CCmtViewDlg::kIdStatus)->currentText(), QStringLiteral("ToDo"));
        EXPECT_EQ(ComboOf(d, CCmtViewDlg::kIdPriority)->currentText(), QStringLiteral("high"));
        EXPECT_EQ(ComboOf(d, CCmtViewDlg::kIdTask)->currentText(), QStringLiteral("Design"));
        EXPECT_EQ(d.Control<QLineEdit>(CCmtViewDlg::kIdReference)->text(), QStringLiteral("R-1"));
        EXPECT_EQ(d.Control<CRichTextCtrl>(CCmtViewDlg::kIdComment)->toPlainText(),
                  QStringLiteral("Check drawings"));
        EXPECT_EQ(d.Control<CRichTextCtrl>(CCmtViewDlg::kIdDetails)->toPlainText(),
                  QStringLiteral("details of Check drawings"));
        EXPECT_EQ(d.Control<QLabel>(CCmtViewDlg::kIdEntered)->text(),
                  QStringLiteral("02/03/26 09:30"));
        EXPECT_TRUE(Button(d, CCmtViewDlg::kIdDone)->isEnabled());

        Pick(d, CCmtViewDlg::kIdStatus, QStringLiteral("Info"));
        Pick(d, CCmtViewDlg::kIdPriority, QStringLiteral("low"));
        d.Control<QLineEdit>(CCmtViewDlg::kIdReference)->setText(QStringLiteral("R-'2'"));
        d.Control<CRichTextCtrl>(CCmtViewDlg::kIdComment)->setPlainText(QStringLiteral("Checked"));
        d.OnCommand(IDOK);
        EXPECT_EQ(d.EndCode(), 0);
        EXPECT_EQ(Stored(1, QStringLiteral("CommentType")), QStringLiteral("Info"));
        EXPECT_EQ(Cell(RowOf(1), CCommentColumns::kStatus), QStringLiteral("Info"));
    });
    EXPECT_EQ(Stored(1, QStringLiteral("Priority")), QStringLiteral("3"));
    EXPECT_EQ(Stored(1, QStringLiteral("Reference")), QStringLiteral("R-'2'"));
    EXPECT_EQ(Stored(1, QStringLiteral("ProjectComment")), QStringLiteral("Checked"));
    EXPECT_EQ(Stored(1, QStringLiteral("FullDetails")),
              QStringLiteral("details of Check drawings"));
    EXPECT_EQ(Stored(1, QStringLiteral("ObjectID")), QString::number(kDesign));
    EXPECT_EQ(Stored(1, QStringLiteral("EmpID")), QString::number(kAnn));
    EXPECT_EQ(StoredDate(1, QStringLiteral("CommentDate")), Day(2, 9, 30));
    EXPECT_EQ(Stored(1, QStringLiteral("ActionDate")), QStringLiteral("NULL"));
    EXPECT_TRUE(Messages().isEmpty()) << Messages().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(CCmtViewDlg::PriorityIndex(QStringLiteral("High")), 1);
    EXPECT_EQ(CCmtViewDlg::PriorityIndex(QStringLiteral("LOW")), 3);
    EXPECT_EQ(CCmtViewDlg::PriorityIndex(QString()), 2);
}

TEST_P(CmtViewDlgTest, SteppingThenUpdateKeepsEachRowsOwnValues)
{
    View(1, [this](CCmtViewDlg& d) {
        EXPECT_EQ(d.Row(), 1);
        Button(d, CCmtViewDlg::kIdNext)->click();
        // Comment 2: no task, Bob, a contact its company does not list.
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Edit comment # 2"));
        EXPECT_EQ(m_window->List()->GetFirstSelected(), 2);
        EXPECT_EQ(ComboOf(d, CCmtViewDlg::kIdTask)->currentIndex(), -1);
        EXPECT_EQ(ComboOf(d, CCmtViewDlg::kIdUser)->currentText(), QStringLiteral("Bob O'Neil"));
        EXPECT_EQ(ComboOf(d, CCmtViewDlg::kIdContact)->currentText(), QStringLiteral("O'Brien"));
        EXPECT_EQ(ComboOf(d, CCmtViewDlg::kIdStatus)->currentText(), QStringLiteral("Info"));
        EXPECT_EQ(d.Control<QLabel>(CCmtViewDlg::kIdActioned)->text(), QStringLiteral("04/03/26"));
        EXPECT_FALSE(Button(d, CCmtViewDlg::kIdDone)->isEnabled());
        d.OnCommand(IDOK);
        EXPECT_EQ(Stored(2, QStringLiteral("ObjectID")), QStringLiteral("NULL"));
        EXPECT_EQ(Stored(2, QStringLiteral("EmpID")), QString::number(kBob));
        EXPECT_EQ(Stored(2, QStringLiteral("ContactName")), QStringLiteral("O'Brien"));
        EXPECT_EQ(Stored(2, QStringLiteral("ProjectComment")), Hostile());

        // To the last row: its own task, and no step beyond it.
        Button(d, CCmtViewDlg::kIdNext)->click();
        Button(d, CCmtViewDlg::kIdNext)->click();
        EXPECT_EQ(d.CommentId(), 5);
        EXPECT_FALSE(Button(d, CCmtViewDlg::kIdNext)->isEnabled());
        d.OnCommand(CCmtViewDlg::kIdNext);
        EXPECT_EQ(d.CommentId(), 5);
        EXPECT_EQ(ComboOf(d, CCmtViewDlg::kIdTask)->currentText(), QStringLiteral("Build"));
        d.OnCommand(IDOK);
        EXPECT_EQ(Stored(5, QStringLiteral("ObjectID")), QString::number(kBuild));
        EXPECT_EQ(Stored(5, QStringLiteral("ObjectTypeID")), QStringLiteral("2"));

        for (int i = 0; i < 4; ++i)
            d.OnCommand(CCmtViewDlg::kIdPrevious);
        EXPECT_EQ(d.Row(), 0);
        EXPECT_EQ(d.CommentId(), 4);
        EXPECT_FALSE(Button(d, CCmtViewDlg::kIdPrevious)->isEnabled());
        EXPECT_TRUE(Button(d, CCmtViewDlg::kIdNext)->isEnabled());
    });
    EXPECT_EQ(Stored(1, QStringLiteral("ObjectID")), QString::number(kDesign));
}

TEST_P(CmtViewDlgTest, AllIsNoEmployeeAndNoTaskIsNoAssignment)
{
    View(1, [this](CCmtViewDlg& d) {
        Pick(d, CCmtViewDlg::kIdUser, QStringLiteral("All"));
        ComboOf(d, CCmtViewDlg::kIdTask)->setCurrentIndex(-1);
        d.OnCommand(IDOK);
        EXPECT_EQ(Stored(1, QStringLiteral("EmpID")), QString::number(kAnn));
        EXPECT_EQ(Stored(1, QStringLiteral("ObjectTypeID")), QStringLiteral("NULL"));
        EXPECT_EQ(Stored(1, QStringLiteral("ObjectID")), QStringLiteral("NULL"));

        // Another project brings its own tasks, none chosen; another company its contacts.
        Pick(d, CCmtViewDlg::kIdProject, QStringLiteral("Apollo"));
        EXPECT_EQ(ComboOf(d, CCmtViewDlg::kIdTask)->count(), 1);
        EXPECT_EQ(ComboOf(d, CCmtViewDlg::kIdTask)->currentIndex(), -1);
        Pick(d, CCmtViewDlg::kIdCompany, QStringLiteral("Zeta's Café"));
        EXPECT_EQ(ComboOf(d, CCmtViewDlg::kIdContact)->currentText(),
                  QStringLiteral("Jörg O'Hara"));
        Pick(d, CCmtViewDlg::kIdTask, QStringLiteral("Launch"));
        d.OnCommand(IDOK);
    });
    EXPECT_EQ(Stored(1, QStringLiteral("ProjID")), QString::number(kApollo));
    EXPECT_EQ(Stored(1, QStringLiteral("ObjectID")), QStringLiteral("3"));
    EXPECT_EQ(Stored(1, QStringLiteral("CompanyID")), QString::number(kZeta));
    EXPECT_EQ(Stored(1, QStringLiteral("ContactName")), QStringLiteral("Jörg O'Hara"));
}

TEST_P(CmtViewDlgTest, WithoutACompanyTheOwnOneIsStored)
{
    View(4, [this](CCmtViewDlg& d) {
        EXPECT_EQ(ComboOf(d, CCmtViewDlg::kIdCompany)->currentIndex(), -1);
        d.OnCommand(IDOK);
    });
    EXPECT_EQ(Stored(4, QStringLiteral("CompanyID")), QStringLiteral("1"));
    EXPECT_EQ(Stored(4, QStringLiteral("ProjectComment")), QStringLiteral("Old item"));
}

TEST_P(CmtViewDlgTest, DoneMarksTheCommentActionedNow)
{
    View(5, [this](CCmtViewDlg& d) {
        ASSERT_TRUE(Button(d, CCmtViewDlg::kIdDone)->isEnabled());
        Button(d, CCmtViewDlg::kIdDone)->click();
        const QString today = CCommentColumns::FormatDate(CDateTime::CurrentDateTime(), false);
        EXPECT_EQ(d.Control<QLabel>(CCmtViewDlg::kIdActioned)->text(), today);
        EXPECT_FALSE(Button(d, CCmtViewDlg::kIdDone)->isEnabled());
        EXPECT_EQ(Cell(RowOf(5), CCommentColumns::kActioned), today);
    });
    EXPECT_EQ(StoredDate(5, QStringLiteral("ActionDate")).Date(), QDate::currentDate());
    EXPECT_EQ(Stored(5, QStringLiteral("CommentType")), QStringLiteral("ToDo"));
}

TEST_P(CmtViewDlgTest, WriteFailuresAndVanishedRowsAreTold)
{
    Refuse(QStringLiteral("UPDATE"), QStringLiteral("tblProjectComment"));
    View(1, [this](CCmtViewDlg& d) {
        d.Control<QLineEdit>(CCmtViewDlg::kIdReference)->setText(QStringLiteral("R-9"));
        d.OnCommand(IDOK);
        EXPECT_TRUE(CRecordingMessages::Current().Last().startsWith(
            QStringLiteral("Comment # 1 was not updated.\n")))
            << CRecordingMessages::Current().Last().toStdString();
        EXPECT_EQ(d.EndCode(), 0);
        EXPECT_EQ(Stored(1, QStringLiteral("Reference")), QStringLiteral("R-1"));
        EXPECT_EQ(d.Control<QLineEdit>(CCmtViewDlg::kIdReference)->text(), QStringLiteral("R-9"));

        Exec(QStringLiteral("DELETE FROM tblProjectComment WHERE CommentID = 1"));
        d.OnCommand(IDOK);
        EXPECT_EQ(CRecordingMessages::Current().Last(),
                  QStringLiteral("Comment # 1 does not exist anymore - another user may have "
                                 "deleted it"));
        d.OnCommand(CCmtViewDlg::kIdDone);
        EXPECT_EQ(CRecordingMessages::Current().Count(), 3);
        EXPECT_EQ(Ids(), QList<int>({4, 2, 3, 5}));
    });
    EXPECT_EQ(CommentCount(), 4);
}

TEST_P(CmtViewDlgTest, TextsLongerThanTheirColumnsAreToldAndCutBeforeTheWrite)
{
    const QString details = QString(7999, QLatin1Char('d')) + QStringLiteral("☕☕ and more");
    View(1, [&](CCmtViewDlg& d) {
        // Half of a character: refused with one message, nothing written.
        d.Control<QLineEdit>(CCmtViewDlg::kIdReference)
            ->setText(QStringLiteral("R") + QChar(0xD83D));
        d.OnCommand(IDOK);
        EXPECT_EQ(Messages(), QStringList({"The reference holds half of a character (at position "
                                           "2), which no database can store."}));
        EXPECT_EQ(Stored(1, QStringLiteral("Reference")), QStringLiteral("R-1"));

        CRecordingMessages::Current().Clear();
        d.Control<QLineEdit>(CCmtViewDlg::kIdReference)->setText(QString(256, QLatin1Char('r')));
        ComboOf(d, CCmtViewDlg::kIdContact)->setEditText(QString(51, QLatin1Char('c')));
        d.Control<CRichTextCtrl>(CCmtViewDlg::kIdDetails)->setPlainText(details);
        d.OnCommand(IDOK);
        // One message names every text cut; the fields show what is stored.
        EXPECT_EQ(Messages(),
                  QStringList({"The full details can not be longer than 8000 characters - it has "
                               "been cut\nThe contact can not be longer than 50 characters - it "
                               "has been cut\nThe reference can not be longer than 255 "
                               "characters - it has been cut"}));
        EXPECT_EQ(d.Control<CRichTextCtrl>(CCmtViewDlg::kIdDetails)->toPlainText(),
                  QString(7999, QLatin1Char('d')) + QStringLiteral("☕"));
        EXPECT_EQ(ComboOf(d, CCmtViewDlg::kIdContact)->currentText(),
                  QString(50, QLatin1Char('c')));
    });
    EXPECT_EQ(Stored(1, QStringLiteral("FullDetails")),
              QString(7999, QLatin1Char('d')) + QStringLiteral("☕"));
    EXPECT_EQ(Stored(1, QStringLiteral("ContactName")), QString(50, QLatin1Char('c')));
    EXPECT_EQ(Stored(1, QStringLiteral("Reference")), QString(255, QLatin1Char('r')));
}

TEST_P(CmtViewDlgTest, TextsLeftAsAnotherProgramStoredThemAreNotCut)
{
    if (IsPostgres())
        GTEST_SKIP() << "the server's text columns hold no more than their width";
    const QString reference = QString(300, QLatin1Char('r'));
    const QString contact = QString(60, QLatin1Char('c'));
    Exec(QStringLiteral("UPDATE tblProjectComment SET Reference = ?, ContactName = ? WHERE "
                        "CommentID = 1"),
         {reference, contact});
    m_window->OnCommand(CCommentDlg::kCmdRefresh);
    View(1, [](CCmtViewDlg& d) {
        Pick(d, CCmtViewDlg::kIdPriority, QStringLiteral("low"));
        d.OnCommand(IDOK);
    });
    EXPECT_TRUE(Messages().isEmpty()) << Messages().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(Stored(1, QStringLiteral("Priority")), QStringLiteral("3"));
    EXPECT_EQ(Stored(1, QStringLiteral("Reference")), reference);
    EXPECT_EQ(Stored(1, QStringLiteral("ContactName")), contact);
}

TEST_P(CmtViewDlgTest, TheTextFieldsMenuSelectsCopiesAndPastes)
{
    View(3, [](CCmtViewDlg& d) {
        auto* menu = d.findChild<CRichTextMenu*>();
        ASSERT_NE(menu, nullptr);
        auto* comment = d.Control<CRichTextCtrl>(CCmtViewDlg::kIdComment);
        QApplication::clipboard()->clear();
        menu->Show(CCmtViewDlg::kIdComment, QPoint(2, 2));
        const auto enabled = [menu](int command) {
            auto* a = menu->Menu()->findChild<QAction*>(QStringLiteral("cmd%1").arg(command));
            return a && a->isEnabled();
        };
        EXPECT_TRUE(enabled(CRichTextMenu::kCmdSelectAll));
        EXPECT_TRUE(enabled(CRichTextMenu::kCmdCopy));
        EXPECT_FALSE(enabled(CRichTextMenu::kCmdPaste));
        menu->Menu()->findChild<QAction*>(QStringLiteral("cmd12905"))->trigger();
        QCoreApplication::processEvents();
        EXPECT_EQ(comment->textCursor().selectedText(), QStringLiteral("Café crème ☕"));
        menu->Show(CCmtViewDlg::kIdComment, QPoint(2, 2));
        menu->Menu()->findChild<QAction*>(QStringLiteral("cmd12904"))->trigger();
        QCoreApplication::processEvents();
        EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("Café crème ☕"));
        EXPECT_EQ(menu->OpenField(), -1);

        auto* details = d.Control<CRichTextCtrl>(CCmtViewDlg::kIdDetails);
        details->clear();
        menu->Show(CCmtViewDlg::kIdDetails, QPoint(2, 2));
        EXPECT_FALSE(enabled(CRichTextMenu::kCmdSelectAll));
        EXPECT_FALSE(enabled(CRichTextMenu::kCmdCopy));
        EXPECT_TRUE(enabled(CRichTextMenu::kCmdPaste));
        menu->Menu()->findChild<QAction*>(QStringLiteral("cmd111"))->trigger();
        QCoreApplication::processEvents();
        EXPECT_EQ(details->toPlainText(), QStringLiteral("Café crème ☕"));
        menu->Menu()->hide();
    });
}

KELVANE_INSTANTIATE_BACKENDS(CmtViewDlgTest);
