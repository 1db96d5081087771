#include "tests/support/TestEnv.h"
#include "ui/AccelDlg.h"
#include "ui/AcceleratorTable.h"
#include "ui/ContextHelpDlg.h"
#include "ui/SecurityDlg.h"
#include "ui/SubclassWnd.h"
#include "ui/VirtualKeys.h"

#include <QAction>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>


namespace {

// The accelerators the tests press: a few entries of the hub's table.
class CFakeAccelerators : public IAcceleratorTable {
public:
    int TranslateAccelerator(const QKeyEvent& event, int& keyCode) const override
    {
        const Qt::KeyboardModifiers mods = event.modifiers() & ~Qt::KeypadModifier;
        if ((mods & Qt::AltModifier) && event.text() == QLatin1String(",")) {
            keyCode = ',';
            return 1131;
        }
        const int vk = VirtualKeyOfEvent(event);
        if (vk == 'C' && mods == Qt::ControlModifier) {
            keyCode = vk;
            return 12883;
        }
        if (vk == 'C' && (mods & Qt::AltModifier)) {
            keyCode = vk;
            return 1144;
        }
        if (vk == 'P' && (mods & Qt::AltModifier)) {
            keyCode = vk;
            return 1360; // the first of two Alt+P entries wins
        }
        return 0;
    }
};

class CRecordingSecurityDlg : public CSecurityDlg {
public:
    CRecordingSecurityDlg()
        : CSecurityDlg(102, nullptr, 12771)
    {
        auto* layout = new QVBoxLayout(this);
        m_edit = new QLineEdit(this);
        layout->addWidget(m_edit);
    }
    int HandleKey(int virtualKey, int message) override
    {
        log << QStringLiteral("key %1 %2").arg(virtualKey).arg(message, 0, 16);
        return 1;
    }
    int OnKeyCommand(int keyCode, int modifier) override
    {
        log << QStringLiteral("accel %1 %2").arg(keyCode).arg(modifier);
        return 1;
    }
    bool OnCommand(int id) override
    {
        log << QStringLiteral("command %1").arg(id);
        return CSecurityDlg::OnCommand(id);
    }
    QLineEdit* m_edit;
    QStringList log;
};

// Shows the dialog as the active window with the focus in its edit.
void Activate(QWidget& dialog, QWidget* focus)
{
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    focus->setFocus();
}

} // namespace

TEST(SecurityDlg, EscapeGoesToTheKeyHandlerAndNeverClosesTheWindow)
{
    CRecordingSecurityDlg dlg;
    Activate(dlg, dlg.m_edit);
    QTest::keyPress(dlg.m_edit, Qt::Key_Escape);
    QTest::keyRelease(dlg.m_edit, Qt::Key_Escape);
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(dlg.EndCode(), 0);
    // The release is swallowed without reaching the handler.
    EXPECT_EQ(dlg.log, QStringList({QStringLiteral("key 27 100")}));
}

TEST(SecurityDlg, AcceleratorsBecomeKeyCommandsWithTheirModifier)
{
    CRecordingSecurityDlg dlg;
    CFakeAccelerators table;
    dlg.SetAccelerators(&table);
    Activate(dlg, dlg.m_edit);

    QTest::keyClick(dlg.m_edit, Qt::Key_C, Qt::ControlModifier);
    QTest::keyClick(dlg.m_edit, Qt::Key_C, Qt::AltModifier | Qt::ControlModifier);
    QTest::keyClick(dlg.m_edit, Qt::Key_P, Qt::AltModifier);
    QTest::keyClick(dlg.m_edit, Qt::Key_Comma, Qt::AltModifier);
    EXPECT_EQ(dlg.log, QStringList({
                           QStringLiteral("command 12883"),
                           QStringLiteral("accel 67 17"),
                           // Alt with Ctrl is reported as Alt.
                           QStringLiteral("command 1144"),
                           QStringLiteral("accel 67 18"),
                           QStringLiteral("command 1360"),
                           QStringLiteral("accel 80 18"),
                           QStringLiteral("command 1131"),
                           QStringLiteral("accel 44 18"),
                       }));
    // None of them reached the edit.
    EXPECT_TRUE(dlg.m_edit->text().isEmpty());
}

TEST(SecurityDlg, OtherKeysReachTheFocusedControl)
{
    CRecordingSecurityDlg dlg;
    CFakeAccelerators table;
    dlg.SetAccelerators(&table);
    Activate(dlg, dlg.m_edit);
    QTest::keyClicks(dlg.m_edit, QStringLiteral("cp"));
    EXPECT_EQ(dlg.m_edit->text(), QStringLiteral("cp"));
    EXPECT_TRUE(dlg.log.isEmpty());

    // Without a table only Escape is taken.
    dlg.SetAccelerators(nullptr);
    QTest::keyClick(dlg.m_edit, Qt::Key_C, Qt::ControlModifier);
    EXPECT_TRUE(dlg.log.isEmpty());
}

TEST(SecurityDlg, AnAcceleratorWinsOverAShortcutOfTheWindow)
{
    CRecordingSecurityDlg dlg;
    CFakeAccelerators table;
    dlg.SetAccelerators(&table);
    auto* action = new QAction(&dlg);
    action->setShortcut(QKeySequence(Qt::ALT | Qt::Key_C));
    dlg.addAction(action);
    int triggered = 0;
    QObject::connect(action, &QAction::triggered, [&] { ++triggered; });
    Activate(dlg, dlg.m_edit);
    QTest::keyClick(dlg.m_edit, Qt::Key_C, Qt::AltModifier);
    EXPECT_EQ(triggered, 0);
    EXPECT_TRUE(dlg.log.contains(QStringLiteral("accel 67 18")));
}

TEST(SecurityDlg, KeysOfOtherWindowsAreLeftAlone)
{
    CRecordingSecurityDlg dlg;
    CFakeAccelerators table;
    dlg.SetAccelerators(&table);
    QDialog other;
    auto* edit = new QLineEdit(&other);
    Activate(other, edit);
    QTest::keyClick(edit, Qt::Key_Escape);
    QTest::keyClick(edit, Qt::Key_C, Qt::ControlModifier);
    EXPECT_TRUE(dlg.log.isEmpty());
    EXPECT_FALSE(other.isVisible()); // Escape closed the ordinary dialog
}

namespace {

class CRecordingHub : public CDialogBase {
public:
    CRecordingHub()
        : CDialogBase(161)
    {}
    bool OnCommand(int id) override
    {
        commands << id;
        return true;
    }
    QList<int> commands;
};

class CLogonLike : public CAccelDlg {
public:
    CLogonLike()
        : CAccelDlg(275)
        , edit(new QLineEdit(this))
    {}
    QLineEdit* edit;
};

class CHubGuard {
public:
    CHubGuard(const IAcceleratorTable* table, CDialogBase* hub)
    {
        CAccelDlg::SetHubAccelerators(table, hub);
    }
    ~CHubGuard() { CAccelDlg::SetHubAccelerators(nullptr, nullptr); }
};

} // namespace

TEST(AccelDlg, TheHubsAcceleratorsReachTheHubFromTheDialog)
{
    CRecordingHub hub;
    CFakeAccelerators table;
    CHubGuard guard(&table, &hub);
    CLogonLike dlg;
    Activate(dlg, dlg.edit);
    QTest::keyClick(dlg.edit, Qt::Key_P, Qt::AltModifier);
    QTest::keyClicks(dlg.edit, QStringLiteral("x"));
    EXPECT_EQ(hub.commands, QList<int>({1360}));
    EXPECT_EQ(dlg.edit->text(), QStringLiteral("x"));
}

namespace {

class CRecordingHelp : public IContextHelpHook {
public:
    CRecordingHelp() { CContextHelpDlg::SetHelpHook(this); }
    ~CRecordingHelp() override { CContextHelpDlg::SetHelpHook(nullptr); }
    void ShowContextHelp(int helpId) override { ids << helpId; }
    QList<int> ids;
};

} // namespace

TEST(ContextHelpDlg, F1AsksForTheHelpOfTheFocusedControl)
{
    CRecordingHelp help;
    CContextHelpDlg dlg(100);
    auto* layout = new QVBoxLayout(&dlg);
    auto* withId = new QLineEdit(&dlg);
    auto* withoutId = new QLineEdit(&dlg);
    layout->addWidget(withId);
    layout->addWidget(withoutId);
    CContextHelpDlg::SetContextHelpId(withId, 1313);
    Activate(dlg, withId);
    QTest::keyClick(withId, Qt::Key_F1);
    withoutId->setFocus();
    QTest::keyClick(withoutId, Qt::Key_F1);
    EXPECT_EQ(help.ids, QList<int>({1313, 0}));
}

// ---- The hook helper ----

namespace {

class CRecordingHook : public CSubclassWnd {
public:
    CRecordingHook(QString name, QStringList& log, bool consume = false)
        : m_name(std::move(name))
        , m_log(log)
        , m_consume(consume)
    {}

protected:
    bool WindowProc(QObject* window, QEvent* event) override
    {
        if (event->type() == QEvent::User)
            m_log << m_name;
        return m_consume || CSubclassWnd::WindowProc(window, event);
    }

private:
    QString m_name;
    QStringList& m_log;
    bool m_consume;
};

class CUserEventTarget : public QObject {
public:
    explicit CUserEventTarget(QStringList& log)
        : m_log(log)
    {}
    bool event(QEvent* e) override
    {
        if (e->type() == QEvent::User)
            m_log << QStringLiteral("window");
        return QObject::event(e);
    }

private:
    QStringList& m_log;
};

void SendUserEvent(QObject* target)
{
    QEvent event(QEvent::User);
    QCoreApplication::sendEvent(target, &event);
}

} // namespace

TEST(SubclassWnd, HooksChainWithTheLaterOneFirst)
{
    QStringList log;
    CUserEventTarget window(log);
    CRecordingHook first(QStringLiteral("first"), log);
    CRecordingHook second(QStringLiteral("second"), log);
    first.HookWindow(&window);
    second.HookWindow(&window);
    SendUserEvent(&window);
    EXPECT_EQ(log, QStringList({"second", "first", "window"}));

    log.clear();
    first.HookWindow(nullptr);
    SendUserEvent(&window);
    EXPECT_EQ(log, QStringList({"second", "window"}));

    log.clear();
    second.HookWindow(nullptr);
    second.HookWindow(nullptr); // unhooking twice does nothing
    SendUserEvent(&window);
    EXPECT_EQ(log, QStringList({"window"}));
}

TEST(SubclassWnd, ADestroyedWindowLetsItsHooksGo)
{
    QStringList log;
    CRecordingHook hook(QStringLiteral("hook"), log);
    {
        CUserEventTarget window(log);
        hook.HookWindow(&window);
        EXPECT_TRUE(hook.IsHooked());
    }
    EXPECT_FALSE(hook.IsHooked());
    hook.HookWindow(nullptr);
}
