#include "tests/timesheet/TimeSheetWindowFixture.h"

#include <QComboBox>

namespace {

// Keys pressed in the time-sheet window with the real time line.
class TimeSheetWindowKeysTest : public TimeSheetWindowTest {
protected:
    // Bob, whose time sheet Ann may only view.
    void SeedMore() override
    {
        Exec(QStringLiteral("INSERT INTO tblFinEmployee (EmpID, EmpFullName, NTUserName, DeptID, "
                            "IsCurrent, HourRateFactor) VALUES (2, 'Bob Hill', 'bob', 1, 1, 1)"));
    }
    // The "Create timesheet entry" key as the options store it.
    void UseEntryKey(const QString& key)
    {
        CProfileStore profile;
        profile.setValue(QStringLiteral("Keys/TSKey"), key);
        profile.sync();
        m_app.Hub()->BuildKeyAccelerators();
    }
    // A key pressed on the line, as a person presses it.
    void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = {})
    {
        m_line->setFocus();
        if (key < Qt::Key_nobreakspace) {
            QTest::keyClick(m_line, key, modifiers);
        } else {
            // A letter of its own key, as a French keyboard has "é".
            QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(QChar(key)).toLower());
            QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, press.text());
            QApplication::sendEvent(m_line, &press);
            QApplication::sendEvent(m_line, &release);
        }
        Waiting::Settle();
    }
};

} // namespace

TEST_P(TimeSheetWindowKeysTest, TheEntryKeyWorksAsTheKeyTypedAndNoOtherKeyStandsInForIt)
{
    CScriptedModals modals;
    // The entry key books at the clock's time; late in the evening the
    // second block would find no room.
    CTestClock clock(m_day, 10, 0);
    // "." and "-" are keys of their own.
    UseEntryKey(QStringLiteral("."));
    modals.Then(Ok);
    Press(Qt::Key_Period);
    EXPECT_EQ(modals.seen.size(), 1);
    EXPECT_EQ(Rows(m_day).size(), 1);
    // Delete, whose code "." once was, deletes nothing it should not.
    UseEntryKey(QStringLiteral("-"));
    modals.Then(Cancel);
    Press(Qt::Key_Minus);
    EXPECT_EQ(modals.seen.size(), 2);

    // Keys stored by hand or by an older version that no single key types:
    // they stand for no other key.
    const struct {
        const char* stored;
        Qt::Key pressed;
    } kOthers[] = {{"é", Qt::Key_I},      {"(", Qt::Key_Down}, {"&", Qt::Key_Up},
                   {"!", Qt::Key_PageUp}, {"$", Qt::Key_Home}, {"", Qt::Key_Eacute}};
    for (const auto& other : kOthers) {
        UseEntryKey(QString::fromUtf8(other.stored));
        Press(other.pressed);
        EXPECT_EQ(modals.seen.size(), 2) << other.stored;
    }
    EXPECT_EQ(Rows(m_day).size(), 1);
}

TEST_P(TimeSheetWindowKeysTest, F1AndShiftF1OpenTheHelpAsTheHelpMenuDoes)
{
    // The manual's window is not part of this program; the hub says so
    // for the menu and for the keys alike.
    const auto helpAsked = [] {
        Waiting::Settle();
        const QStringList texts = CRecordingMessages::Current().Texts();
        CRecordingMessages::Current().Clear();
        return texts;
    };
    m_window->OnCommand(ID_ONLINE_HELP);
    const QStringList byMenu = helpAsked();
    ASSERT_EQ(byMenu.size(), 1);
    Press(Qt::Key_F1);
    EXPECT_EQ(helpAsked(), byMenu);
    Press(Qt::Key_F1, Qt::ShiftModifier);
    EXPECT_EQ(helpAsked(), byMenu);
}

TEST_P(TimeSheetWindowKeysTest, AMoveTheDatabaseRefusesIsToldInTheStatusLine)
{
    Book(m_day, 1, 8 * 60, 9 * 60, kBridge, 1, 1, QStringLiteral("early"));
    Book(m_day, 2, 9 * 60, 10 * 60, kBridge, 1, 1, QStringLiteral("later"));
    m_window->OnCommand(ID_REFRESH_TIMESHEET);
    Waiting::Settle();
    m_line->setFocus();
    m_window->TimeLine().ForceHighlight(2, true);
    Waiting::Settle();
    ASSERT_TRUE(m_window->TimeLine().IsHighlightObj());
    // Its start up into the block before: refused, on the server by the
    // write itself, which then reads the day again.
    m_window->Controller().RunKeyCommand(12869);
    Waiting::Settle();
    EXPECT_EQ(m_window->StatusText().toStdString(), "Entry constrained by existing entry");
    EXPECT_EQ(Rows(m_day),
              QStringList({"1 480-540 p1 t1 o1 'early'", "2 540-600 p1 t1 o1 'later'"}));
    EXPECT_EQ(CRecordingMessages::Current().Count(), 0)
        << CRecordingMessages::Current().Last().toStdString();
    // Its stop down is free: moved, and the block tells of itself.
    m_window->Controller().RunKeyCommand(12877);
    Waiting::Settle();
    EXPECT_EQ(Rows(m_day).at(1), QStringLiteral("2 540-615 p1 t1 o1 'later'"));
    EXPECT_NE(m_window->StatusText().toStdString(), "Entry constrained by existing entry");
}

TEST_P(TimeSheetWindowKeysTest, TheMoveKeysMoveTheBlockThePointerHighlighted)
{
    const QPoint nine = Find(9 * 60);
    const QPoint nineThirty = Find(9 * 60 + 30);
    const QPoint ten = Find(10 * 60);
    const QPoint eleven = Find(11 * 60);
    const QPoint twelve = Find(12 * 60);
    const QPoint one = Find(13 * 60);
    CScriptedModals modals;
    modals.Then(Ok);
    Draw(nine, ten);
    modals.Then(Ok);
    Draw(eleven, twelve);
    ASSERT_EQ(Rows(m_day), QStringList({"0 540-600 p2 t3 o2 ''", "1 660-720 p2 t3 o2 ''"}));
    // The pointer onto the first block: the line tells the window of it
    // before the next key comes.
    const auto point = [this](QPoint at) {
        QTest::mouseMove(m_line, QPoint(1, 1));
        QTest::mouseMove(m_line, at);
        Waiting::Settle();
    };
    point(nineThirty);
    EXPECT_EQ(m_window->StatusText().toStdString(), "Active 09:00 to 10:00 Apollo");
    Press(Qt::Key_Down);
    EXPECT_EQ(Rows(m_day), QStringList({"0 540-615 p2 t3 o2 ''", "1 660-720 p2 t3 o2 ''"}));
    // Over empty grid no block is highlighted, and a key moves none.
    point(one);
    Press(Qt::Key_Down);
    EXPECT_EQ(Rows(m_day), QStringList({"0 540-615 p2 t3 o2 ''", "1 660-720 p2 t3 o2 ''"}));
    EXPECT_EQ(CRecordingMessages::Current().Count(), 0)
        << CRecordingMessages::Current().Last().toStdString();
}

TEST_P(TimeSheetWindowKeysTest, AColleaguesSheetThatMayOnlyBeViewedIsChangedByNoKeyMouseOrDialog)
{
    Book(m_day, 1, 9 * 60, 10 * 60, kBridge, 1, 1, QStringLiteral("his"), 2);
    auto* users = m_window->findChild<QComboBox*>(CDialogBase::ControlName(1001));
    ASSERT_NE(users, nullptr);
    const int bob = users->findText(QStringLiteral("Bob Hill"));
    ASSERT_GE(bob, 0);
    users->setCurrentIndex(bob);
    emit users->activated(bob);
    Waiting::Settle();
    ASSERT_TRUE(m_window->windowTitle().contains(QStringLiteral("[Read Only]")))
        << m_window->windowTitle().toStdString();
    const QStringList stored = Rows(m_day);
    ASSERT_EQ(stored.size(), 1);
    const QPoint block = Find(9 * 60 + 30);
    ASSERT_GE(block.y(), 0);
    CScriptedModals modals;
    for (int i = 0; i < 4; ++i)
        modals.Then(Ok);
    for (int i = 0; i < 4; ++i)
        CRecordingMessages::Current().Answer(kIdYes);

    // The highlight key, then its stop down; again, then Enter and OK.
    for (int i = 0; i < 2; ++i) {
        m_line->setFocus();
        m_window->Controller().RunKeyCommand(12867);
        Waiting::Settle();
        m_window->Controller().RunKeyCommand(12877);
        Waiting::Settle();
        m_window->Controller().RunKeyCommand(12867);
        Press(Qt::Key_Return);
        Waiting::Settle();
        // Whatever came before, the line is still for viewing only.
        m_window->Controller().RunKeyCommand(12867);
        Press(Qt::Key_Delete);
        m_window->OnCommand(ID_DELETE_BLOCK);
        QTest::mouseDClick(m_line, Qt::LeftButton, Qt::NoModifier, block);
        Waiting::Settle();
        EXPECT_FALSE(Menu(block, QStringLiteral("Edit")));
        EXPECT_FALSE(Menu(block, QStringLiteral("Delete")));
        Draw(Find(11 * 60), Find(12 * 60));
    }
    EXPECT_TRUE(modals.seen.isEmpty());
    EXPECT_EQ(Rows(m_day), stored);
    EXPECT_TRUE(m_window->windowTitle().contains(QStringLiteral("[Read Only]")));
}

KELVANE_INSTANTIATE_BACKENDS(TimeSheetWindowKeysTest);
