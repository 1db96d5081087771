#include "app/LogonDlg.h"
#include "app/Profile.h"
#include "data/DBClass.h"
#include "tests/support/ScriptedModals.h"
#include "tests/support/TestDatabases.h"
#include "tests/support/TestEnv.h"
#include "tests/support/Typing.h"
#include "ui/AcceleratorTable.h"
#include "ui/CharacterLimit.h"
#include "ui/ResourceIds.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

// Passwords typed into the real dialogs, stored and checked on both back ends.
class LogonDlgTest : public KelvaneDbTest {
protected:
    void SetUp() override
    {
        KelvaneDbTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        Exec(QStringLiteral("INSERT INTO tblFinEmployee (EmpID, EmpFullName, NTUserName, Pwd, "
                            "DeptID, IsCurrent) VALUES (1, 'Ann', 'ann', 'old', 1, 1)"));
        m_db.Connection()->UseConnectionString(m_connectionString);
        ASSERT_TRUE(m_db.OpenConnection());
        CProfile::SetDefUserName(QStringLiteral("Ann"));
    }
    void TearDown() override
    {
        m_db.ReleaseConnection(true, true);
        KelvaneDbTest::TearDown();
    }

    // Types the password into the logon dialog and presses OK.
    static CScriptedModals::Step LogOn(const QString& password)
    {
        return [password](CDialogBase& dialog) {
            auto* edit = dialog.Control<QLineEdit>(IDC_PASSWORD);
            edit->clear();
            TypeCharacters(edit, password);
            dialog.OnCommand(IDOK);
            return dialog.EndCode();
        };
    }

    QString StoredPassword()
    {
        return Query(QStringLiteral("SELECT Pwd FROM tblFinEmployee")).Value(0, 0).toString();
    }

    CDBClass m_db;
};

TEST_P(LogonDlgTest, APasswordEndingInAnEmojiIsKeptWholeStoredAsTypedAndAccepted)
{
    // Twenty characters, the last outside the basic plane: 21 UTF-16 units.
    const QString password = QString(19, QLatin1Char('p')) + QStringLiteral("😀");
    ASSERT_EQ(password.size(), 21);
    CScriptedModals modals;
    modals.Then([password](CDialogBase& logon) {
        TypeCharacters(logon.Control<QLineEdit>(IDC_PASSWORD), QStringLiteral("old"));
        // Change Password opens its own dialog, answered by the next step.
        logon.OnCommand(IDC_CHANGE_PASSWORD);
        logon.OnCommand(IDCANCEL);
        return logon.EndCode();
    });
    modals.Then([password](CDialogBase& change) {
        TypeCharacters(change.Control<QLineEdit>(IDC_OLD_PASSWORD), QStringLiteral("old"));
        for (int id : {IDC_NEW_PASSWORD, IDC_VERIFY_PASSWORD}) {
            auto* edit = change.Control<QLineEdit>(id);
            TypeCharacters(edit, password + QStringLiteral("xyz"));
            EXPECT_EQ(edit->text(), password); // the limit is twenty characters
        }
        change.OnCommand(IDOK);
        return change.EndCode();
    });
    {
        CLogonDlg logon(&m_db);
        logon.DoModal();
    }
    EXPECT_EQ(StoredPassword(), password);

    modals.Then(LogOn(password));
    CLogonDlg again(&m_db);
    EXPECT_EQ(again.DoModal(), IDOK);
    EXPECT_EQ(CRecordingMessages::Current().Count(), 0)
        << CRecordingMessages::Current().Last().toStdString();
}

TEST_P(LogonDlgTest, EveryPasswordFieldCountsCharacters)
{
    CScriptedModals modals;
    modals.Then([](CDialogBase& logon) {
        auto* edit = logon.Control<QLineEdit>(IDC_PASSWORD);
        EXPECT_EQ(CharacterLimit(edit), 20);
        // Pasted text is cut at a character, never inside one.
        edit->setText(QStringLiteral("😀").repeated(30));
        EXPECT_EQ(edit->text(), QStringLiteral("😀").repeated(20));
        return int(IDCANCEL);
    });
    CLogonDlg logon(&m_db);
    logon.DoModal();
    EXPECT_EQ(modals.seen, QStringList{QStringLiteral("CLogonDlg")});
}

TEST_P(LogonDlgTest, HalfACharacterIsRefusedWithAMessageAndNothingIsStored)
{
    const QString broken = QStringLiteral("ab") + QChar(0xD83D) + QStringLiteral("cd");
    EXPECT_FALSE(m_db.ChangePassword(1, broken));
    ASSERT_GE(CRecordingMessages::Current().Count(), 1);
    EXPECT_TRUE(CRecordingMessages::Current()
                    .Texts()
                    .join(QLatin1Char('\n'))
                    .contains(QStringLiteral("half of a character")))
        << CRecordingMessages::Current().Last().toStdString();
    EXPECT_EQ(StoredPassword(), QStringLiteral("old"));
    // The character after the broken one is not swallowed either.
    EXPECT_TRUE(m_db.CheckUserPassword(1, QStringLiteral("old")));
}

namespace {

// The hub, as far as the dialog's keys reach it.
class CKeyedHub : public CDialogBase {
public:
    CKeyedHub()
        : CDialogBase(161)
    {
        CAccelDlg::SetHubAccelerators(&m_table, this);
    }
    ~CKeyedHub() override { CAccelDlg::SetHubAccelerators(nullptr, nullptr); }
    bool OnCommand(int id) override
    {
        commands << id;
        return true;
    }
    QList<int> commands;

private:
    CAcceleratorTable m_table = CAcceleratorTable::Load(128);
};

} // namespace

TEST_P(LogonDlgTest, ItsOwnAltKeysComeBeforeTheHubsAndTheHubsOthersStillReachIt)
{
    CKeyedHub hub;
    CLogonDlg dlg(&m_db, nullptr);
    ASSERT_TRUE(dlg.Create());
    dlg.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dlg));
    auto* user = dlg.Control<QComboBox>(IDC_USER_COMBO);
    auto* password = dlg.Control<QLineEdit>(IDC_PASSWORD);
    ASSERT_EQ(QApplication::focusWidget(), password);
    // The hub's table has Alt+U and Alt+P too; the dialog's labels win.
    QTest::keyClick(password, Qt::Key_U, Qt::AltModifier);
    EXPECT_EQ(QApplication::focusWidget(), user);
    QTest::keyClick(user, Qt::Key_P, Qt::AltModifier);
    EXPECT_EQ(QApplication::focusWidget(), password);
    QTest::keyClicks(password, QStringLiteral("old"));
    EXPECT_EQ(password->text(), QStringLiteral("old"));
    EXPECT_TRUE(hub.commands.isEmpty());
    // A key the dialog has no use for still goes to the hub.
    QTest::keyClick(password, Qt::Key_W, Qt::ControlModifier);
    EXPECT_EQ(hub.commands, QList<int>({12882}));
}

KELVANE_INSTANTIATE_BACKENDS(LogonDlgTest);
