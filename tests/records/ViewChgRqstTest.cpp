#include "records/ViewChgRqst.h"
#include "records/ChgRstTeamDlg.h"
#include "records/TabCRViewFullD.h"
#include "records/TabCRViewItems.h"
#include "records/TabCRViewStatus.h"
#include "records/TabCRViewTeam.h"
#include "tests/records/ChgRqstWindowFixture.h"
#include "ui/CaptionWidth.h"
#include "ui/PageTabCtrl.h"
#include "ui/RichTextCtrl.h"

#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

namespace {

class ViewChgRqstTest : public ChgRqstWindowTest {
protected:
    void SetUp() override
    {
        ChgRqstWindowTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        Open();
        ShowEverything();
    }
    // Views a request with the step answering the dialog.
    void View(int chgReqId, std::function<void(CViewChgRqst&)> step)
    {
        CScriptedModals modals;
        modals.Then([step](CDialogBase& dialog) {
            step(static_cast<CViewChgRqst&>(dialog));
            return IDCANCEL;
        });
        SelectRow(RowOf(chgReqId));
        m_window->OnCommand(CChgRqstDlg::kCmdView);
        EXPECT_EQ(modals.seen.value(0), QStringLiteral("CViewChgRqst"));
        EXPECT_EQ(m_window->RunningViewDialog(), nullptr);
    }
    template <typename W>
    static W* Find(QWidget* parent, int id)
    {
        return parent->findChild<W*>(CDialogBase::ControlName(id));
    }
    static QComboBox* StatusCombo(CViewChgRqst& d)
    {
        return Find<QComboBox>(d.StatusPage(), CTabCRViewStatus::kIdStatus);
    }
    static QCheckBox* Completed(CViewChgRqst& d)
    {
        return Find<QCheckBox>(d.StatusPage(), CTabCRViewStatus::kIdCompleted);
    }
    static void Complete(CViewChgRqst& d, bool on)
    {
        QCheckBox* box = Completed(d);
        if (box->isChecked() != on)
            box->click();
    }
    static QPushButton* Button(CViewChgRqst& d, int id) { return d.Control<QPushButton>(id); }
    static QStringList ListTexts(QListWidget* list)
    {
        QStringList texts;
        for (int row = 0; row < list->count(); ++row)
            texts << list->item(row)->text();
        return texts;
    }
};

} // namespace

TEST_P(ViewChgRqstTest, ShowsTheRequestAndUpdateWritesItBack)
{
    AddAction(Id(3), QStringLiteral("Booked by the time sheet"));
    View(Id(3), [this](CViewChgRqst& d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Edit Change Request # %1").arg(Id(3)));
        EXPECT_EQ(d.Control<QComboBox>(CViewChgRqst::kIdProject)->currentText(),
                  QStringLiteral("Apollo"));
        EXPECT_EQ(d.Control<QComboBox>(CViewChgRqst::kIdAuthority)->currentText(),
                  QStringLiteral("Bob O'Neil"));
        EXPECT_EQ(d.Control<QComboBox>(CViewChgRqst::kIdContact)->currentText(),
                  QStringLiteral("Jörg O'Hara"));
        EXPECT_EQ(d.Control<QComboBox>(CViewChgRqst::kIdPriority)->currentText(),
                  QStringLiteral("low"));
        EXPECT_EQ(d.Control<QLineEdit>(CViewChgRqst::kIdReference)->text(),
                  QStringLiteral("O'Brien's Ref"));
        EXPECT_EQ(d.Control<QLabel>(CViewChgRqst::kIdDateCreated)->text(),
                  QStringLiteral("03/03/26 14:00"));
        EXPECT_EQ(d.ItemsPage()->Item(), QStringLiteral("Café crème ☕"));
        EXPECT_EQ(d.ItemsPage()->Actions(), QStringList({"Booked by the time sheet"}));
        EXPECT_EQ(ListTexts(Find<QListWidget>(d.TeamPage(), CTabCRViewTeam::kIdTeam)),
                  QStringList({"Ann Lee"}));
        EXPECT_EQ(StatusCombo(d)->currentText(), QStringLiteral("New"));
        EXPECT_FALSE(Completed(d)->isChecked());
        EXPECT_TRUE(StatusCombo(d)->isEnabled());

        // An action added, the item and details changed, then Update.
        d.ItemsPage()->ActionField()->setPlainText(QStringLiteral("Ordered beans"));
        d.OnKeyCommand(QLatin1Char('='));
        d.ItemsPage()->ActionField()->setPlainText(QString());
        d.OnTipButtonClick(CTabCRViewItems::kIdAdd);
        EXPECT_EQ(CRecordingMessages::Current().Last(),
                  QStringLiteral("You need to specify an action to add"));
        d.ItemsPage()->ItemField()->setPlainText(QStringLiteral("Café au lait"));
        d.DetailsPage()->Field()->setPlainText(QStringLiteral("All of it"));
        d.Control<QComboBox>(CViewChgRqst::kIdPriority)->setCurrentIndex(1);
        ASSERT_TRUE(d.UpdateCRData()) << Messages().join('|').toStdString();
    });
    EXPECT_EQ(Stored(Id(3), QStringLiteral("Item")), QStringLiteral("Café au lait"));
    EXPECT_EQ(Stored(Id(3), QStringLiteral("FullDetail")), QStringLiteral("All of it"));
    EXPECT_EQ(Stored(Id(3), QStringLiteral("Priority")), QStringLiteral("2"));
    EXPECT_EQ(Stored(Id(3), QStringLiteral("TeamList")), QStringLiteral("Ann Lee"));
    EXPECT_EQ(Stored(Id(3), QStringLiteral("ProjID")), QString::number(kApollo));
    EXPECT_EQ(Stored(Id(3), QStringLiteral("CompanyID")), QString::number(kZeta));
    // The time sheet's action keeps its row; the new one is the authority's.
    EXPECT_EQ(Actions(Id(3)), QStringList({QStringLiteral("Booked by the time sheet|1|2|5|v1.2"),
                                           QStringLiteral("Ordered beans|1|2|0|")}));
    EXPECT_EQ(Cell(RowOf(Id(3)), CChgRqstColumns::kItem), QStringLiteral("Café au lait"));
}

TEST_P(ViewChgRqstTest, TextsLeftAsAnotherProgramStoredThemAreNotCut)
{
    if (IsPostgres())
        GTEST_SKIP() << "the server's text columns hold no more than their width";
    const QString reference = QString(80, QLatin1Char('r'));
    const QString contact = QString(70, QLatin1Char('c'));
    Exec(QStringLiteral("UPDATE tblChgReq SET Reference = ?, Contact = ? WHERE ChgReqID = ?"),
         {reference, contact, Id(3)});
    View(Id(3), [this](CViewChgRqst& d) {
        d.Control<QComboBox>(CViewChgRqst::kIdPriority)->setCurrentIndex(0);
        ASSERT_TRUE(d.UpdateCRData()) << Messages().join('|').toStdString();
    });
    EXPECT_TRUE(Messages().isEmpty()) << Messages().join('|').toStdString();
    EXPECT_EQ(Stored(Id(3), QStringLiteral("Priority")), QStringLiteral("1"));
    EXPECT_EQ(Stored(Id(3), QStringLiteral("Reference")), reference);
    EXPECT_EQ(Stored(Id(3), QStringLiteral("Contact")), contact);
}

TEST_P(ViewChgRqstTest, CompletionFollowsTheStatusRules)
{
    AddAction(Id(1), QStringLiteral("Drawn"));
    const QDate picked(2026, 3, 9);
    View(Id(1), [&](CViewChgRqst& d) {
        // Completed: status 7, the combo locked.
        Complete(d, true);
        EXPECT_EQ(StatusCombo(d)->currentData().toInt(), 7);
        EXPECT_FALSE(StatusCombo(d)->isEnabled());
        Find<QDateEdit>(d.StatusPage(), CTabCRViewStatus::kIdDate)->setDate(picked);
        ASSERT_TRUE(d.UpdateCRData());
        EXPECT_EQ(Stored(Id(1), QStringLiteral("StatusID")), QStringLiteral("7"));
        EXPECT_EQ(StoredDate(QStringLiteral("tblChgReq"), QStringLiteral("DateCompleted"),
                             QStringLiteral("ChgReqID"), Id(1)),
                  CDateTime(picked).ToIsoText());
        EXPECT_EQ(Actions(Id(1)), QStringList({QStringLiteral("Drawn|12|2|5|v1.2")}));
        // Reloaded as stored: completed on that day.
        EXPECT_TRUE(Completed(d)->isChecked());
        EXPECT_EQ(Find<QDateEdit>(d.StatusPage(), CTabCRViewStatus::kIdDate)->date(), picked);

        // Cleared: back to 6, no date.
        Complete(d, false);
        EXPECT_EQ(StatusCombo(d)->currentData().toInt(), 6);
        EXPECT_TRUE(StatusCombo(d)->isEnabled());
        ASSERT_TRUE(d.UpdateCRData());
        EXPECT_EQ(Stored(Id(1), QStringLiteral("StatusID")), QStringLiteral("6"));
        EXPECT_EQ(Stored(Id(1), QStringLiteral("DateCompleted")), QStringLiteral("NULL"));
        EXPECT_EQ(Actions(Id(1)), QStringList({QStringLiteral("Drawn|6|2|5|v1.2")}));

        // Status 4 records the date without completion.
        StatusCombo(d)->setCurrentIndex(StatusCombo(d)->findData(QVariant(qint64(4))));
        Find<QDateEdit>(d.StatusPage(), CTabCRViewStatus::kIdDate)->setDate(picked);
        ASSERT_TRUE(d.UpdateCRData());
        EXPECT_EQ(Stored(Id(1), QStringLiteral("StatusID")), QStringLiteral("4"));
        EXPECT_EQ(StoredDate(QStringLiteral("tblChgReq"), QStringLiteral("DateCompleted"),
                             QStringLiteral("ChgReqID"), Id(1)),
                  CDateTime(picked).ToIsoText());
        // Loaded again it is completed on its day, and keeps status 4 and the date.
        EXPECT_TRUE(Completed(d)->isChecked());
        ASSERT_TRUE(d.UpdateCRData());
        EXPECT_EQ(Stored(Id(1), QStringLiteral("StatusID")), QStringLiteral("4"));
        EXPECT_EQ(StoredDate(QStringLiteral("tblChgReq"), QStringLiteral("DateCompleted"),
                             QStringLiteral("ChgReqID"), Id(1)),
                  CDateTime(picked).ToIsoText());

        // No actions listed: none stay.
        auto* actions = Find<QListWidget>(d.ItemsPage(), CTabCRViewItems::kIdActions);
        actions->setCurrentRow(0);
        d.OnKeyCommand(QLatin1Char('-'));
        ASSERT_TRUE(d.UpdateCRData());
        EXPECT_TRUE(Actions(Id(1)).isEmpty());
    });
}

TEST_P(ViewChgRqstTest, SteppingWalksTheListAndDropsWhatWasNotUpdated)
{
    // The list: 5, 3, 2, 1, 4 (4 completed).
    View(Id(5), [this](CViewChgRqst& d) {
        EXPECT_FALSE(Button(d, CViewChgRqst::kIdPrevious)->isEnabled());
        EXPECT_TRUE(Button(d, CViewChgRqst::kIdNext)->isEnabled());
        d.ItemsPage()->ItemField()->setPlainText(QStringLiteral("never written"));
        d.OnKeyCommand(QLatin1Char('.'));
        EXPECT_EQ(d.ChgReqId(), Id(3));
        EXPECT_EQ(d.ItemsPage()->Item(), QStringLiteral("Café crème ☕"));
        EXPECT_EQ(m_window->List()->GetFirstSelected(), 1);
        d.OnTipButtonClick(CViewChgRqst::kIdNext);
        d.OnTipButtonClick(CViewChgRqst::kIdNext);
        d.OnKeyCommand(QLatin1Char('>'));
        EXPECT_EQ(d.ChgReqId(), Id(4));
        EXPECT_FALSE(Button(d, CViewChgRqst::kIdNext)->isEnabled());
        EXPECT_TRUE(Completed(d)->isChecked());
        EXPECT_FALSE(StatusCombo(d)->isEnabled());
        EXPECT_EQ(Find<QDateEdit>(d.StatusPage(), CTabCRViewStatus::kIdDate)->date(),
                  QDate(2026, 3, 4));
        // Back to an open one: the check clear, the combo free.
        d.OnKeyCommand(QLatin1Char(','));
        EXPECT_EQ(d.ChgReqId(), Id(1));
        EXPECT_FALSE(Completed(d)->isChecked());
        EXPECT_TRUE(StatusCombo(d)->isEnabled());
        EXPECT_TRUE(Button(d, CViewChgRqst::kIdNext)->isEnabled());
    });
    EXPECT_EQ(Stored(Id(5), QStringLiteral("Item")), QStringLiteral("Zephyr thing"));
    // Opened on the last row, ">>" is off from the start.
    View(Id(4), [](CViewChgRqst& d) {
        EXPECT_FALSE(Button(d, CViewChgRqst::kIdNext)->isEnabled());
        EXPECT_TRUE(Button(d, CViewChgRqst::kIdPrevious)->isEnabled());
        // Escape in a page ends the dialog, as everywhere in it.
        QTest::keyClick(Completed(d), Qt::Key_Escape);
        EXPECT_EQ(d.EndCode(), IDCANCEL);
    });
}

TEST_P(ViewChgRqstTest, AProjectTheUserIsNotOnAndAnAuthorityWhoLeftStayTheRequests)
{
    Exec(QStringLiteral("UPDATE tblChgReq SET EmpID = ? WHERE ChgReqID = ?"), {kDan, Id(5)});
    View(Id(5), [this](CViewChgRqst& d) {
        EXPECT_EQ(d.Control<QComboBox>(CViewChgRqst::kIdProject)->currentText(),
                  QStringLiteral("Zephyr"));
        EXPECT_EQ(d.Control<QComboBox>(CViewChgRqst::kIdAuthority)->currentText(),
                  QStringLiteral("Dan Old"));
        ASSERT_TRUE(d.UpdateCRData());
    });
    EXPECT_EQ(Stored(Id(5), QStringLiteral("ProjID")), QString::number(kZephyr));
    EXPECT_EQ(Stored(Id(5), QStringLiteral("EmpID")), QString::number(kDan));
}

TEST_P(ViewChgRqstTest, ARequestDeletedElsewhereIsToldAndNothingIsWritten)
{
    View(Id(2), [this](CViewChgRqst& d) {
        Exec(QStringLiteral("DELETE FROM tblChgReqTeam WHERE ChgReqID = ?"), {Id(2)});
        Exec(QStringLiteral("DELETE FROM tblChgReq WHERE ChgReqID = ?"), {Id(2)});
        d.ItemsPage()->ActionField()->setPlainText(QStringLiteral("Too late"));
        d.OnKeyCommand(QLatin1Char('+'));
        EXPECT_FALSE(d.UpdateCRData());
        EXPECT_EQ(CRecordingMessages::Current().Last(),
                  QStringLiteral("Change request # %1 does not exist anymore - another user may "
                                 "have deleted it")
                      .arg(Id(2)));
        EXPECT_FALSE(Button(d, CViewChgRqst::kIdUpdate)->isEnabled());
    });
    EXPECT_EQ(Count(QStringLiteral("tblChgReqAction")), 0);
    EXPECT_EQ(RowOf(Id(2)), -1);
}

TEST_P(ViewChgRqstTest, EachAltKeyRunsItsCommandOnceOnEveryPage)
{
    View(Id(1), [](CViewChgRqst& d) {
        d.show();
        d.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&d));
        auto* actions = Find<QListWidget>(d.ItemsPage(), CTabCRViewItems::kIdActions);
        CRichTextCtrl* action = d.ItemsPage()->ActionField();
        const int before = actions->count();
        const int messages = CRecordingMessages::Current().Count();
        // On the "&Item" page, where "&+" and "&-" are shown.
        action->setFocus();
        action->setPlainText(QStringLiteral("Ring Zoë"));
        QTest::keyClick(action, Qt::Key_Plus, Qt::AltModifier);
        action->setPlainText(QStringLiteral("Call O'Brien"));
        QTest::keyClick(action, Qt::Key_Equal, Qt::AltModifier);
        EXPECT_EQ(actions->count(), before + 2);
        EXPECT_FALSE(ListTexts(actions).filter(QStringLiteral("Ring Zoë")).isEmpty());
        // A second run would have found the field empty and said so.
        EXPECT_EQ(CRecordingMessages::Current().Count(), messages);
        actions->setCurrentRow(0);
        QTest::keyClick(action, Qt::Key_Minus, Qt::AltModifier);
        EXPECT_EQ(actions->count(), before + 1);
        // Another page: the keys still reach the actions.
        d.Control<CPageTabCtrl>(CViewChgRqst::kIdTabs)->setCurrentIndex(1);
        action->setPlainText(QStringLiteral("Écrire"));
        QTest::keyClick(&d, Qt::Key_Plus, Qt::AltModifier);
        EXPECT_EQ(actions->count(), before + 2);
        actions->setCurrentRow(0);
        QTest::keyClick(&d, Qt::Key_Minus, Qt::AltModifier);
        EXPECT_EQ(actions->count(), before + 1);
        EXPECT_EQ(CRecordingMessages::Current().Count(), messages);
    });
}

TEST_P(ViewChgRqstTest, TheTeamDialogKeepsTheTeamByIdAndWritesItAtOnce)
{
    // A member who left stays on the team until deselected.
    Exec(QStringLiteral("INSERT INTO tblChgReqTeam (ChgReqID, EmpID, Comment) VALUES (?, ?, "
                        "'kept')"),
         {Id(1), kDan});
    CScriptedModals modals;
    QStringList listed;
    QStringList selected;
    // Opened and OK'd: the team as it was.
    int width = 0;
    modals.Then([&](CDialogBase& dialog) {
        width = dialog.width();
        auto* team = dialog.Control<QListWidget>(CChgRstTeamDlg::kIdTeam);
        for (int row = 0; row < team->count(); ++row) {
            listed << team->item(row)->text();
            if (team->item(row)->isSelected())
                selected << team->item(row)->text();
        }
        dialog.OnCommand(IDOK);
        return dialog.EndCode();
    });
    // Then Cleo and Dan deselected, Ann chosen.
    modals.Then([](CDialogBase& dialog) {
        auto* team = dialog.Control<QListWidget>(CChgRstTeamDlg::kIdTeam);
        for (int row = 0; row < team->count(); ++row)
            team->item(row)->setSelected(team->item(row)->text() == QLatin1String("Ann Lee") ||
                                         team->item(row)->text() == QLatin1String("Bob O'Neil"));
        dialog.OnCommand(IDOK);
        return dialog.EndCode();
    });
    CChgRqstDlg* window = m_window;
    QStringList shown;
    CViewChgRqst dialog(window, RowOf(Id(1)), Id(1), m_db, window);
    dialog.show();
    EXPECT_TRUE(dialog.TeamPage()->ChangeTeam());
    EXPECT_EQ(listed, QStringList({"Ann Lee", "Bob O'Neil", "Cleo Ng", "Dan Old (left)"}));
    EXPECT_EQ(selected, QStringList({"Bob O'Neil", "Cleo Ng", "Dan Old (left)"}));
    // The frame shows the whole caption.
    CChgRstTeamDlg probe(Id(1), m_db);
    EXPECT_GE(width, CaptionWidth(probe));
    EXPECT_EQ(Team(Id(1)), QList<int>({kBob, kCleo, kDan}));
    EXPECT_TRUE(dialog.TeamPage()->ChangeTeam());
    EXPECT_EQ(Team(Id(1)), QList<int>({kAnn, kBob}));
    EXPECT_EQ(dialog.TeamPage()->Names(), QStringList({"Ann Lee", "Bob O'Neil"}));
    // The request keeps the names on its next update.
    ASSERT_TRUE(dialog.UpdateCRData());
    EXPECT_EQ(Stored(Id(1), QStringLiteral("TeamList")), QStringLiteral("Ann Lee,Bob O'Neil"));
    // A member who stays keeps his row.
    const CQueryResult bob =
        Query(QStringLiteral("SELECT Comment FROM tblChgReqTeam WHERE ChgReqID = ? AND EmpID = ?"),
              {Id(1), kBob});
    EXPECT_EQ(bob.Value(0, 0).toString(), QStringLiteral("member 2"));
}

KELVANE_INSTANTIATE_BACKENDS(ViewChgRqstTest);
