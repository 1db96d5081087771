#include "platform/Launcher.h"
#include "tests/support/TestEnv.h"
#include "ui/AutoTimerOwner.h"
#include "ui/ElidedLabel.h"
#include "ui/KeyStatic.h"
#include "ui/ProjComboEx.h"
#include "ui/SecurityDlg.h"
#include "ui/StaticLink.h"
#include "ui/TimeSheetOwner.h"
#include "ui/TipButton.h"
#include "ui/TipDateTimeCtrl.h"
#include "ui/TipMonthCalCtrl.h"
#include "ui/TipRichEdit.h"
#include "ui/UserCombo.h"

#include <QHelpEvent>
#include <QLineEdit>
#include <QTest>
#include <QTextDocument>
#include <QToolTip>

namespace {

class CRecordingAutoTimer : public IAutoTimerOwner {
public:
    void OnGo() override { log << QStringLiteral("go"); }
    bool IsTiming() const override { return timing; }
    void OnSelChangeProject() override { log << QStringLiteral("project"); }
    bool timing = false;
    QStringList log;
};

class CRecordingTipOwner : public ITipButtonOwner {
public:
    void OnDayButtonMsg(int id) override { log << QStringLiteral("day %1").arg(id); }
    void OnTipButton(int id) override { log << QStringLiteral("save %1").arg(id); }
    void OnButtonId(int id) override { log << QStringLiteral("review %1").arg(id); }
    void OnTipButtonClick(int id) override { log << QStringLiteral("click %1").arg(id); }
    void OnAutoEstimate(int id) override { log << QStringLiteral("estimate %1").arg(id); }
    void OnUpdateTotals() override { log << QStringLiteral("totals"); }
    QStringList log;
};

// The tip the control shows for the mouse at the point, as hovering asks
// for it; empty when it shows none. (A hidden tip lingers a moment, so a
// marker tip tells whether the control showed its own.)
QString TipAt(QWidget& control, const QPoint& at)
{
    const QString marker = QStringLiteral("(marker)");
    QToolTip::showText(control.mapToGlobal(at), marker, &control);
    QHelpEvent event(QEvent::ToolTip, at, control.mapToGlobal(at));
    QCoreApplication::sendEvent(&control, &event);
    const QString text = QToolTip::text();
    QToolTip::hideText();
    return text == marker ? QString() : text;
}

} // namespace

// ---- Tips ----

TEST(TipControls, TheTipShowsStrictlyInsideTheControlOnly)
{
    CTipButton button;
    button.resize(80, 24);
    button.show();
    EXPECT_FALSE(button.Tip().HasTip());
    EXPECT_EQ(TipAt(button, QPoint(10, 10)), QString());

    button.SetTip(QStringLiteral("Previous day"));
    EXPECT_TRUE(button.Tip().HasTip());
    EXPECT_EQ(button.Tip().Rect(), QRect(0, 0, 80, 24));
    EXPECT_EQ(TipAt(button, QPoint(10, 10)), QStringLiteral("Previous day"));
    EXPECT_EQ(TipAt(button, QPoint(79, 23)), QStringLiteral("Previous day"));
    for (const QPoint& border : {QPoint(0, 10), QPoint(10, 0)})
        EXPECT_EQ(TipAt(button, border), QString());

    // A second SetTip changes the text of the same tip.
    button.SetTip(QStringLiteral("Next day"));
    EXPECT_EQ(TipAt(button, QPoint(10, 10)), QStringLiteral("Next day"));
}

TEST(TipControls, EveryTipControlShowsItsText)
{
    CUserCombo combo;
    CTipDateTimeCtrl picker;
    CTipMonthCalCtrl calendar;
    CTipRichEdit edit;
    const QList<QWidget*> controls = {&combo, &picker, &calendar, &edit};
    combo.SetTip(QStringLiteral("Anna Smith"));
    picker.SetTip(QStringLiteral("The day shown"));
    calendar.SetTip(QStringLiteral("Pick a day"));
    edit.SetTip(QStringLiteral("Comment"));
    const QStringList texts = {"Anna Smith", "The day shown", "Pick a day", "Comment"};
    for (int i = 0; i < controls.size(); ++i) {
        QWidget* control = controls.at(i);
        control->show();
        EXPECT_EQ(TipAt(*control, QPoint(5, 5)), texts.at(i));
    }
    // The rich edit shows its tip on its border as well.
    EXPECT_EQ(TipAt(edit, QPoint(0, 0)), QStringLiteral("Comment"));
    EXPECT_EQ(TipAt(picker, QPoint(0, 0)), QString());
}

TEST(TipMonthCalCtrl, DrawsAFocusRectangleWhileItHasTheFocus)
{
    QWidget window;
    auto* other = new QLineEdit(&window);
    auto* calendar = new CTipMonthCalCtrl(&window);
    calendar->setGeometry(0, 30, 260, 200);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    auto cornerIsDark = [calendar] {
        return calendar->grab().toImage().pixelColor(0, 0).lightness() < 100;
    };
    other->setFocus();
    EXPECT_FALSE(cornerIsDark());
    calendar->setFocus();
    EXPECT_TRUE(cornerIsDark());
}

// A colleague's project or file name shows as typed in a tip: no bold, no
// picture read from the disk, '&' as '&'.
TEST(TipControls, AStoredNameShowsAsTypedInTheTip)
{
    const QString name =
        QStringLiteral("<b>BOLD</b><img src=\"file:///etc/hostname\">Omega & Sons");
    CRecordingAutoTimer timer;
    CTipButton button(&timer);
    button.resize(80, 24);
    button.SetTip(name, 0);
    CElidedLabel label;
    label.SetFullText(name);
    for (QWidget* control : {static_cast<QWidget*>(&button), static_cast<QWidget*>(&label)}) {
        control->show();
        QString tip = TipAt(*control, QPoint(5, 5));
        EXPECT_FALSE(Qt::mightBeRichText(tip)) << tip.toStdString();
        EXPECT_TRUE(tip.remove(QChar(0x2060)).endsWith(name)) << tip.toStdString();
    }
}

TEST(TipButton, TheAutoTimersTipSaysWhatAClickWillDo)
{
    CRecordingAutoTimer timer;
    CTipButton button(&timer);
    button.SetTip(QStringLiteral("Time"), 0);
    EXPECT_EQ(button.Tip().Text(), QStringLiteral("Start Logging Time"));
    timer.timing = true;
    button.SetTip(QStringLiteral("Time"), 0);
    EXPECT_EQ(button.Tip().Text(), QStringLiteral("Stop Logging Time"));
    button.SetTip(QStringLiteral("50% done"), -1);
    EXPECT_EQ(button.Tip().Text(), QStringLiteral("50% done"));

    CTipButton plain;
    plain.SetTip(QStringLiteral("Time"), 0);
    EXPECT_EQ(plain.Tip().Text(), QStringLiteral("Time"));
}

TEST(TipButton, AClickGoesToTheHandlerOfTheOwnerKind)
{
    CRecordingTipOwner owner;
    CTipButton button;
    const QStringList expected = {"day 1131",      "save 1131", "review 1131", "click 1131",
                                  "estimate 1131", "totals",    "click 1131",  "click 1131"};
    for (int kind = kTipOwnerTimeSheet; kind <= kTipOwnerCommentView; ++kind) {
        owner.log.clear();
        button.SetOwner(&owner, kind, 1131);
        button.click();
        EXPECT_EQ(owner.log, QStringList({expected.at(kind - 1)})) << kind;
    }
    owner.log.clear();
    button.SetOwner(&owner, kTipOwnerNone, 1131);
    button.click();
    button.SetOwner(nullptr, kTipOwnerTimeSheet, 1131);
    button.click();
    EXPECT_TRUE(owner.log.isEmpty());
}

TEST(TipButton, TheAutoTimersButtonStartsAndStopsTiming)
{
    CRecordingAutoTimer timer;
    CRecordingTipOwner owner;
    CTipButton button(&timer);
    button.SetOwner(&owner, kTipOwnerAutoTimer, 1);
    button.click();
    EXPECT_EQ(timer.log, QStringList({"go"}));
    EXPECT_TRUE(owner.log.isEmpty());

    CTipButton withoutTimer;
    withoutTimer.SetOwner(&owner, kTipOwnerAutoTimer, 1);
    withoutTimer.click();
    EXPECT_TRUE(owner.log.isEmpty());
}

// ---- The user combo ----

namespace {

class CTimeSheetLike : public CSecurityDlg {
public:
    explicit CTimeSheetLike(int commandId = 12771)
        : CSecurityDlg(102, nullptr, commandId)
    {}
    int HandleKey(int virtualKey, int message) override
    {
        keys << QStringLiteral("%1 %2").arg(virtualKey).arg(message, 0, 16);
        return takeKeys ? 1 : 0;
    }
    void OnSelChangeUser() override { ++reloads; }
    QStringList keys;
    bool takeKeys = false;
    int reloads = 0;
};

class CFakeRights : public IUserRights {
public:
    CFakeRights(int level, int defaultEmpId)
        : m_level(level)
        , m_default(defaultEmpId)
    {
        CUserCombo::SetUserRights(this);
    }
    ~CFakeRights() override { CUserCombo::SetUserRights(nullptr); }
    int SecurityLevel() const override { return m_level; }
    int DefaultUserEmpId() const override { return m_default; }

private:
    int m_level;
    int m_default;
};

class CRecordingComboOwner : public IUserComboOwner {
public:
    void OnProjectFilterChange(int value) override
    {
        log << QStringLiteral("filter %1").arg(value);
    }
    void OnUserComboSelChange() override { log << QStringLiteral("set user"); }
    QStringList log;
};

class UserComboTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_combo.addItem(QStringLiteral("Anna"), 1);
        m_combo.addItem(QStringLiteral("Bob"), 2);
        m_combo.addItem(QStringLiteral("Cy"), 3);
        m_combo.setCurrentIndex(0);
        m_combo.SetSecurityOwner(&m_window);
    }
    // The user moves the selection one down, as the arrow key does.
    void ChooseNext() { QTest::keyClick(&m_combo, Qt::Key_Down); }

    CTimeSheetLike m_window;
    CUserCombo m_combo;
};

} // namespace

TEST_F(UserComboTest, WithoutRightsTheChoiceIsRefusedAndTheShownUserStays)
{
    CFakeRights rights(0, 1);
    ChooseNext();
    EXPECT_EQ(CRecordingMessages::Current().Texts(), QStringList({CUserCombo::RightsMessage()}));
    EXPECT_EQ(m_window.reloads, 0);
    EXPECT_EQ(m_window.Value(), 2);
    EXPECT_EQ(m_combo.currentIndex(), 0);
    EXPECT_EQ(m_combo.currentText(), QStringLiteral("Anna"));
    // Refused again from the same place.
    ChooseNext();
    EXPECT_EQ(m_combo.currentIndex(), 0);
    EXPECT_EQ(CRecordingMessages::Current().Count(), 2);
}

TEST_F(UserComboTest, WithRightsAnotherUserIsShownInTheRightsMode)
{
    CFakeRights rights(1, 1);
    ChooseNext();
    EXPECT_EQ(m_combo.currentIndex(), 1);
    EXPECT_EQ(m_window.Value(), 1);
    EXPECT_EQ(m_window.reloads, 1);
    // Back to the signed-on user: the user's own mode.
    QTest::keyClick(&m_combo, Qt::Key_Up);
    EXPECT_EQ(m_window.Value(), 2);
    EXPECT_EQ(m_window.reloads, 2);
    EXPECT_EQ(CRecordingMessages::Current().Count(), 0);
}

TEST_F(UserComboTest, OnlyTheTimeSheetReloads)
{
    CFakeRights rights(1, 1);
    CTimeSheetLike other(12778);
    m_combo.SetSecurityOwner(&other);
    ChooseNext();
    EXPECT_EQ(other.Value(), 1);
    EXPECT_EQ(other.reloads, 0);
}

TEST_F(UserComboTest, TheOtherOwnersAreTold)
{
    CFakeRights rights(1, 1);
    CRecordingComboOwner review;
    CRecordingComboOwner setUser;
    m_combo.SetSecurityOwner(nullptr);
    m_combo.SetReviewOwner(&review, 1309);
    m_combo.SetSetUserOwner(&setUser);
    ChooseNext();
    EXPECT_EQ(review.log, QStringList({"filter 1309"}));
    EXPECT_EQ(setUser.log, QStringList({"set user"}));
}

TEST_F(UserComboTest, TheTimeSheetMayTakeItsKeys)
{
    CFakeRights rights(1, 1);
    m_window.takeKeys = true;
    ChooseNext();
    EXPECT_EQ(m_combo.currentIndex(), 0);
    EXPECT_EQ(m_window.keys, QStringList({"40 100", "40 101"}));

    m_window.takeKeys = false;
    ChooseNext();
    EXPECT_EQ(m_combo.currentIndex(), 1);
}

// ---- Time-sheet controls ----

namespace {

class CRecordingTimeSheet : public ITimeSheetOwner {
public:
    void OnKeyDown(int key, int, int) override { log << QStringLiteral("down %1").arg(key); }
    void OnKeyUp(int key, int, int) override { log << QStringLiteral("up %1").arg(key); }
    bool IsHighlightObj() const override { return highlighted; }
    void FocusTimeLine() override
    {
        log << QStringLiteral("focus time line");
        if (timeLine)
            timeLine->setFocus();
    }
    void InvalidateDayView() override { log << QStringLiteral("repaint"); }
    bool highlighted = false;
    QWidget* timeLine = nullptr;
    QStringList log;
};

} // namespace

TEST(TipDateTimeCtrl, ArrowKeysGoToTheTimeSheet)
{
    CRecordingTimeSheet owner;
    CTipDateTimeCtrl picker;
    picker.setDate(QDate(2024, 5, 10));
    picker.SetOwner(&owner);
    QTest::keyClick(&picker, Qt::Key_Up);
    QTest::keyClick(&picker, Qt::Key_Left);
    EXPECT_EQ(owner.log, QStringList({"down 38", "up 38", "down 37", "up 37"}));
    EXPECT_EQ(picker.date(), QDate(2024, 5, 10));
    QTest::keyClick(&picker, Qt::Key_PageUp); // other keys work the picker
    EXPECT_EQ(owner.log.size(), 4);
}

TEST(TipDateTimeCtrl, WithABlockHighlightedTheFocusStaysOnTheTimeLine)
{
    QWidget window;
    auto* timeLine = new QLineEdit(&window);
    auto* picker = new CTipDateTimeCtrl(&window);
    picker->move(0, 40);
    CRecordingTimeSheet owner;
    owner.timeLine = timeLine;
    picker->SetOwner(&owner);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));

    picker->setFocus();
    EXPECT_TRUE(picker->hasFocus());
    EXPECT_TRUE(owner.log.isEmpty());
    timeLine->setFocus();
    owner.highlighted = true;
    picker->setFocus();
    EXPECT_EQ(owner.log, QStringList({"focus time line", "repaint"}));
    EXPECT_TRUE(timeLine->hasFocus());
}

TEST(KeyStatic, EveryKeyGoesToTheTimeSheet)
{
    CRecordingTimeSheet owner;
    CKeyStatic label(&owner);
    QTest::keyClick(&label, Qt::Key_Delete);
    QTest::keyClick(&label, Qt::Key_H);
    EXPECT_EQ(owner.log, QStringList({"down 46", "up 46", "down 72", "up 72"}));
}

// ---- Small controls ----

namespace {

class CRecordingLauncher : public ILauncherHook {
public:
    CRecordingLauncher() { SetLauncherHook(this); }
    ~CRecordingLauncher() override { SetLauncherHook(nullptr); }
    bool StartProgram(const QString&, const QStringList&) override { return false; }
    bool OpenUrl(const QUrl& url) override
    {
        opened << url;
        return succeed;
    }
    QList<QUrl> opened;
    bool succeed = true;
};

} // namespace

TEST(StaticLink, AClickOpensTheLinkOrElseTheText)
{
    CRecordingLauncher launcher;
    CStaticLink link(QStringLiteral("https://example.org/help"));
    link.setText(QStringLiteral("Help"));
    EXPECT_EQ(link.TextColor(), CStaticLink::kUnvisitedColor);
    EXPECT_TRUE(link.font().underline());
    QTest::mouseClick(&link, Qt::LeftButton);
    EXPECT_EQ(launcher.opened, QList<QUrl>({QUrl(QStringLiteral("https://example.org/help"))}));
    EXPECT_TRUE(link.IsVisited());

    CStaticLink byText;
    byText.setText(QStringLiteral("mailto:team@example.org"));
    QTest::mouseClick(&byText, Qt::LeftButton);
    EXPECT_EQ(launcher.opened.last(), QUrl(QStringLiteral("mailto:team@example.org")));
}

TEST(StaticLink, NothingToOpenOrAFailedOpeningStaysUnvisited)
{
    CRecordingLauncher launcher;
    CStaticLink empty;
    QTest::mouseClick(&empty, Qt::LeftButton);
    EXPECT_TRUE(launcher.opened.isEmpty());

    launcher.succeed = false;
    CStaticLink broken(QStringLiteral("https://example.org"));
    EXPECT_FALSE(broken.OpenLink());
    EXPECT_FALSE(broken.IsVisited());
}

TEST(ProjComboEx, ShowsEachProjectWithItsColourAndId)
{
    CRecordingAutoTimer timer;
    CProjComboEx combo(&timer);
    EXPECT_FALSE(combo.SetProjects({}));
    CProjectEntry red;
    red.ProjName = QStringLiteral("Red project");
    red.ProjID = 7;
    red.ProjColour = 0x0000FF;
    CProjectEntry blue;
    blue.ProjName = QStringLiteral("Blue project");
    blue.ProjID = 9;
    blue.ProjColour = 0xFF0000;
    ASSERT_TRUE(combo.SetProjects({red, blue}));
    ASSERT_EQ(combo.count(), 2);
    EXPECT_EQ(combo.itemData(1).toInt(), 9);
    const QSize size = combo.iconSize();
    const QImage swatch = combo.itemIcon(0).pixmap(size).toImage();
    EXPECT_EQ(swatch.pixelColor(size.width() / 2, size.height() / 2), QColor(Qt::red));
    EXPECT_EQ(combo.itemIcon(1).pixmap(size).toImage().pixelColor(size.width() / 2, 4),
              QColor(Qt::blue));

    QTest::keyClick(&combo, Qt::Key_Down);
    EXPECT_EQ(timer.log, QStringList({"project"}));
}
