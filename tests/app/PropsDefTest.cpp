#include "app/PropsDef.h"
#include "app/DBSelectDlg.h"
#include "app/DummyDlg.h"
#include "app/Profile.h"
#include "app/PropGeneralDlg.h"
#include "app/PropPreviewDlg.h"
#include "app/PropsAutoLogging.h"
#include "app/PropsContacts.h"
#include "app/PropsKeyCmdsDlg.h"
#include "app/PropsSearch.h"
#include "app/PropsStartUp.h"
#include "app/PropsTimeSheet.h"
#include "data/ConnectionString.h"
#include "data/DBClass.h"
#include "data/Schema.h"
#include "platform/ProfileStore.h"
#include "tests/support/DesktopLocale.h"
#include "tests/support/ScriptedModals.h"
#include "tests/support/TestDatabases.h"
#include "tests/support/TestEnv.h"
#include "tests/support/Waiting.h"
#include "ui/CharacterLimit.h"
#include "ui/ResourceIds.h"
#include "ui/StringTable.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTextEdit>

namespace {

// A top-level window of the hub that records what it is asked.
class CFakeWindow : public QWidget, public IHubWindow {
public:
    CFakeWindow(QStringList* log, int command)
        : m_log(log)
        , m_command(command)
    {}
    QWidget* Widget() override { return this; }
    void CloseWindow(int) override
    {
        *m_log << QStringLiteral("close %1").arg(m_command);
        close();
    }
    bool IsTiming() const override { return timing; }
    void ApplySettings() override { *m_log << QStringLiteral("apply %1").arg(m_command); }

    bool timing = false;

private:
    QStringList* m_log;
    int m_command;
};

// The user's choice in a combo box (activated is what the user raises).
void Choose(QComboBox* combo, int index)
{
    combo->setCurrentIndex(index);
    emit combo->activated(index);
}

void Choose(QComboBox* combo, const QString& text)
{
    const int index = combo->findText(text);
    ASSERT_GE(index, 0) << text.toStdString();
    Choose(combo, index);
}

QVariant Stored(const QString& key)
{
    return CProfileStore().value(key);
}

void Store(const QString& key, const QVariant& value)
{
    CProfileStore profile;
    profile.setValue(key, value);
    profile.sync();
}

// A Kelvane database file with one employee and two projects.
QString MakeDatabase(const QString& file, const QString& employee)
{
    const QString cs = TestDatabases::NewSqliteDatabase(TestEnv::TestDir(), file);
    CDBConnection conn;
    conn.UseConnectionString(cs);
    EXPECT_TRUE(conn.Connect(false));
    QString error;
    EXPECT_TRUE(CSchema::Create(conn, &error)) << error.toStdString();
    CSqlExecutor::RunNative(conn,
                            QStringLiteral("INSERT INTO tblFinEmployee (EmpFullName, DeptID, "
                                           "IsCurrent) VALUES (?, 1, 1)"),
                            {employee}, nullptr, nullptr);
    CSqlExecutor::RunNative(conn,
                            QStringLiteral("INSERT INTO tblProject (ProjName, UseTeamCheck) "
                                           "VALUES ('Alpha', 0), ('Beta', 0)"),
                            {}, nullptr, nullptr);
    conn.ReleaseConnection(true);
    return cs;
}

// Answers the database page's Select with a string.
class CFixedPrompt : public IConnectionPrompt {
public:
    explicit CFixedPrompt(QString answer)
        : m_answer(std::move(answer))
    {
        CDBConnection::SetPrompt(this);
    }
    ~CFixedPrompt() override { CDBConnection::SetPrompt(nullptr); }
    QString PromptConnectionString(const QString&) override { return m_answer; }

private:
    QString m_answer;
};

class OptionsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_first = MakeDatabase(QStringLiteral("first.db"), QStringLiteral("Ann"));
        CProfile::SetDefDatabaseName(m_first);
        CProfile::SetDefUserName(QStringLiteral("Ann"));
        ASSERT_TRUE(m_db.Connect());
        m_db.ReleaseConnection(true, false);
        for (int command : {ID_TIMESHEETS, ID_AUTO_TIMER, ID_REVIEW})
            RegisterHubWindow(command, [this, command](CDummyDlg&) {
                auto* window = new CFakeWindow(&m_log, command);
                m_windows[command] = window;
                return window;
            });
        m_hub = std::make_unique<CDummyDlg>(&m_db);
    }
    void TearDown() override
    {
        m_hub.reset();
        for (int command : {ID_TIMESHEETS, ID_AUTO_TIMER, ID_REVIEW})
            UnregisterHubWindow(command);
    }

    std::unique_ptr<CPropsDef> Sheet()
    {
        auto sheet = std::make_unique<CPropsDef>(&m_db, m_hub.get());
        sheet->Create();
        return sheet;
    }
    // Shows a page of the sheet (opening it).
    template <typename Page>
    Page* Open(CPropsDef& sheet, Page* page)
    {
        EXPECT_TRUE(sheet.SetActivePage(page));
        return page;
    }
    const CRecordingMessages& Messages() const { return CRecordingMessages::Current(); }

    CDBClass m_db;
    QString m_first;
    QStringList m_log;
    QHash<int, QPointer<CFakeWindow>> m_windows;
    std::unique_ptr<CDummyDlg> m_hub;
};

} // namespace

// ---- The sheet: OK, Apply, Cancel ---------------------------------------------------------

TEST_F(OptionsTest, OkFromTheHubStoresThePagesRefreshesTheTimeSheetAndRebuildsTheKeys)
{
    Store(QStringLiteral("Admin/Server"), QStringLiteral("chat.example"));
    Store(QStringLiteral("Admin/CurDay"), 17);
    m_hub->OnCommand(ID_TIMESHEETS);
    CScriptedModals modals;
    modals.Then([this](CDialogBase& dialog) {
        auto& sheet = dynamic_cast<CPropsDef&>(dialog);
        // A second Properties, or closing the program, waits for this one.
        m_hub->OnCommand(ID_PROPERTIES);
        m_hub->OnCommand(ID_CLOSE_APP);
        EXPECT_EQ(Messages().Last(),
                  QStringLiteral("Close Property Dialog before closing Application"));

        auto* timeSheet = Open(sheet, sheet.TimeSheetPage());
        Choose(timeSheet->Control<QComboBox>(IDC_SCROLL_SPEED), 0);
        Choose(timeSheet->Control<QComboBox>(IDC_GRAB_WIDTH), 1);
        timeSheet->Control<QLineEdit>(IDC_DEF_WIDTH)->setText(QStringLiteral("700"));
        auto* keys = Open(sheet, sheet.KeyCommandsPage());
        auto* tsKey = keys->Control<QLineEdit>(IDC_TS_KEY);
        // One character, whole: a pasted emoji is kept, never half of it.
        EXPECT_EQ(CharacterLimit(tsKey), 1);
        tsKey->setText(QStringLiteral("😀x"));
        EXPECT_EQ(tsKey->text(), QStringLiteral("😀"));
        tsKey->setText(QStringLiteral("x"));
        emit tsKey->textEdited(tsKey->text());
        Choose(keys->Control<QComboBox>(IDC_RESIZE_TOP_UP_MOD), QStringLiteral("CNTL"));
        sheet.OnCommand(IDOK);
        return sheet.EndCode();
    });
    m_hub->OnCommand(ID_PROPERTIES);
    EXPECT_EQ(modals.seen, QStringList{QStringLiteral("CPropsDef")});

    EXPECT_EQ(Stored(QStringLiteral("Admin/ScrlSpd")).toInt(), 21);
    EXPECT_EQ(Stored(QStringLiteral("Admin/GrabWidth")).toInt(), 2);
    EXPECT_EQ(Stored(QStringLiteral("Admin/DefWidthVal")).toInt(), 700);
    EXPECT_EQ(Stored(QStringLiteral("Keys/TSKey")).toString(), QStringLiteral("x"));
    EXPECT_EQ(Stored(QStringLiteral("Keys/sysRsTUp")).toInt(), 2);
    // Pages never opened store what was loaded; values no page shows are carried.
    EXPECT_EQ(Stored(QStringLiteral("Admin/OpenDlg")).toInt(), 1);
    EXPECT_EQ(Stored(QStringLiteral("Admin/Server")).toString(), QStringLiteral("chat.example"));
    EXPECT_EQ(Stored(QStringLiteral("Admin/TimeRep")).toInt(), 1);
    // The day the time sheet keeps is not the sheet's to write.
    EXPECT_EQ(Stored(QStringLiteral("Admin/CurDay")).toInt(), 17);
    EXPECT_FALSE(Stored(QStringLiteral("Admin/CurYear")).isValid());

    EXPECT_TRUE(m_log.contains(QStringLiteral("apply %1").arg(ID_TIMESHEETS)));
    int index = -1;
    EXPECT_TRUE(m_hub->FindKeyCommand('X', index, false, false, false, false));
    EXPECT_FALSE(m_hub->FindKeyCommand('T', index, false, false, false, false));
}

TEST_F(OptionsTest, CancelAndTheCloseBoxStoreNothing)
{
    for (bool closeBox : {false, true}) {
        auto sheet = Sheet();
        auto* review = Open(*sheet, sheet->ReviewPage());
        Choose(review->Control<QComboBox>(IDC_REVIEW_LENGTH), 2);
        auto* general = Open(*sheet, sheet->GeneralPage());
        general->Control<QCheckBox>(IDC_USE_CONTACTS)->click();
        EXPECT_TRUE(sheet->IsApplyEnabled());
        if (closeBox)
            sheet->close();
        else
            sheet->OnCommand(IDCANCEL);
        EXPECT_EQ(sheet->EndCode(), IDCANCEL);
        EXPECT_FALSE(sheet->isVisible());
    }
    EXPECT_TRUE(CProfileStore().childGroups().contains(QStringLiteral("DB")));
    EXPECT_FALSE(CProfileStore().childGroups().contains(QStringLiteral("Admin")));
    EXPECT_FALSE(CProfileStore().childGroups().contains(QStringLiteral("Keys")));
    EXPECT_FALSE(m_log.contains(QStringLiteral("apply %1").arg(ID_TIMESHEETS)));
}

TEST_F(OptionsTest, ApplyStoresAndASecondApplyRunsNoPageApply)
{
    auto sheet = Sheet();
    auto* review = Open(*sheet, sheet->ReviewPage());
    auto* search = Open(*sheet, sheet->SearchPage());
    Choose(review->Control<QComboBox>(IDC_REVIEW_POSITION), 1);
    ASSERT_TRUE(sheet->IsApplyEnabled());
    sheet->Control<QPushButton>(ID_APPLY_NOW)->click();
    EXPECT_EQ(Stored(QStringLiteral("Admin/ReviewTimeRelative")).toInt(), 1);
    EXPECT_EQ(review->ApplyCount(), 1);
    // Opened but unchanged: no apply of its own.
    EXPECT_EQ(search->ApplyCount(), 0);
    EXPECT_FALSE(sheet->IsApplyEnabled());

    EXPECT_TRUE(sheet->OnApplyNow());
    EXPECT_EQ(review->ApplyCount(), 1);

    // An edit after Apply is dropped by Cancel; the applied value stays.
    Choose(review->Control<QComboBox>(IDC_REVIEW_POSITION), 0);
    sheet->OnCommand(IDCANCEL);
    EXPECT_EQ(Stored(QStringLiteral("Admin/ReviewTimeRelative")).toInt(), 1);
}

// ---- Page rules and limits ---------------------------------------------------------------

TEST_F(OptionsTest, StartUpCorrectsStartsBeyondTheIncrement)
{
    auto sheet = Sheet();
    auto* page = Open(*sheet, sheet->StartUpPage());
    auto* start = page->Control<QComboBox>(IDC_START_AT);
    auto* increment = page->Control<QComboBox>(IDC_INCREMENT);
    EXPECT_EQ(increment->currentText(), QStringLiteral("30 Mins"));
    EXPECT_EQ(start->count(), 15);
    EXPECT_EQ(start->currentText(), QStringLiteral("8"));

    // Both checks on: told, and the start becomes the last allowed.
    Choose(increment, QStringLiteral("1 Hour"));
    EXPECT_EQ(Messages().Last(),
              QStringLiteral("For 1 hour increments the start time must be 4 or less"));
    EXPECT_EQ(page->StartTime(), 4);
    EXPECT_EQ(start->count(), 5);

    Choose(increment, QStringLiteral("15 Mins"));
    Choose(start, 18);
    Choose(increment, QStringLiteral("30 Mins"));
    EXPECT_EQ(Messages().Last(),
              QStringLiteral("For 30 minute increments the start time must be 14 or less"));
    EXPECT_EQ(page->StartTime(), 14);

    // With "Start Time" off the list still bounds the start, without a word.
    const int told = Messages().Count();
    page->Control<QCheckBox>(IDC_SET_START_TIME)->click();
    EXPECT_FALSE(start->isEnabled());
    Choose(increment, QStringLiteral("1 Hour"));
    EXPECT_EQ(Messages().Count(), told);
    EXPECT_EQ(page->StartTime(), 4);

    // The day checks are a pair.
    page->Control<QCheckBox>(IDC_SAME_DAY)->click();
    EXPECT_FALSE(page->Control<QCheckBox>(IDC_CURRENT_DAY)->isChecked());
    page->Control<QCheckBox>(IDC_SAME_DAY)->click();
    EXPECT_TRUE(page->Control<QCheckBox>(IDC_SAME_DAY)->isChecked());
    sheet->OnCommand(IDOK);
    EXPECT_EQ(Stored(QStringLiteral("Admin/IncrTime")).toInt(), 60);
    EXPECT_EQ(Stored(QStringLiteral("Admin/StartTime")).toInt(), 4);
    EXPECT_EQ(Stored(QStringLiteral("Admin/OpenCurDay")).toInt(), 0);
    EXPECT_EQ(Stored(QStringLiteral("Admin/OpenSDay")).toInt(), 1);
}

TEST_F(OptionsTest, IncrementsFollowTheBookingInterval)
{
    EXPECT_EQ(CPropsStartUp::GetIncrementStep(0, 15), 60);
    EXPECT_EQ(CPropsStartUp::GetIncrementStep(2, 15), 15);
    EXPECT_EQ(CPropsStartUp::GetIncrementStep(1, 6), 12);
    EXPECT_EQ(CPropsStartUp::GetIncrementStep(7, 6), 30);
    for (int interval : {6, 15})
        for (int index = 0; index < 3; ++index)
            EXPECT_EQ(CPropsStartUp::GetIncrementRatio(
                          CPropsStartUp::GetIncrementStep(index, interval), interval),
                      index);

    Store(QStringLiteral("Admin/IncrTime"), 12);
    m_db.StartupInfo().BookingInterval = 6;
    auto sheet = Sheet();
    auto* page = Open(*sheet, sheet->StartUpPage());
    auto* increment = page->Control<QComboBox>(IDC_INCREMENT);
    EXPECT_EQ(increment->itemText(0), QStringLiteral("30 Mins"));
    EXPECT_EQ(increment->currentText(), QStringLiteral("12 Mins"));
    EXPECT_EQ(page->Control<QComboBox>(IDC_START_AT)->count(), 20);
}

TEST_F(OptionsTest, TimeSheetSizesAreCheckedAndDefaultsRestored)
{
    auto sheet = Sheet();
    auto* page = Open(*sheet, sheet->TimeSheetPage());
    auto* height = page->Control<QLineEdit>(IDC_DEF_HEIGHT);
    height->setText(QStringLiteral("tall"));
    sheet->OnCommand(IDOK);
    EXPECT_EQ(Messages().Last(), QStringLiteral("Please enter an integer between 1 and 9999."));
    // The sheet stays, on the page, and nothing was stored.
    EXPECT_EQ(sheet->EndCode(), 0);
    EXPECT_EQ(sheet->ActivePage(), page);
    EXPECT_FALSE(Stored(QStringLiteral("Admin/DefHeightVal")).isValid());
    // Nor may the page be left.
    sheet->Tabs()->setCurrentWidget(sheet->ReviewPage());
    EXPECT_EQ(sheet->ActivePage(), page);

    // An exponent is no integer, whatever it comes to.
    const int told = Messages().Count();
    height->setText(QStringLiteral("1e3"));
    sheet->OnCommand(IDOK);
    EXPECT_EQ(Messages().Count(), told + 1);
    EXPECT_EQ(Messages().Last(), QStringLiteral("Please enter an integer between 1 and 9999."));
    EXPECT_EQ(sheet->EndCode(), 0);
    EXPECT_FALSE(Stored(QStringLiteral("Admin/DefHeightVal")).isValid());

    page->Control<QLineEdit>(IDC_MIN_WIDTH)->setText(QStringLiteral("12"));
    page->findChild<QPushButton*>(QStringLiteral("setDefaultValues"))->click();
    EXPECT_EQ(height->text(), QStringLiteral("444"));
    EXPECT_EQ(page->Control<QLineEdit>(IDC_DEF_WIDTH)->text(), QStringLiteral("568"));
    EXPECT_EQ(page->Control<QLineEdit>(IDC_MIN_HEIGHT)->text(), QStringLiteral("444"));
    EXPECT_EQ(page->Control<QLineEdit>(IDC_MIN_WIDTH)->text(), QStringLiteral("225"));

    // The generated comment is chosen only while the save dialog does not ask.
    auto* comment = page->Control<QComboBox>(IDC_AUTO_COMMENT);
    EXPECT_FALSE(comment->isEnabled());
    page->Control<QCheckBox>(IDC_AUTO_SHOW_SAVE)->click();
    EXPECT_TRUE(comment->isEnabled());
    Choose(comment, QStringLiteral("Random"));
    page->Control<QRadioButton>(IDC_SAME_COMMENT)->click();
    sheet->OnCommand(IDOK);
    EXPECT_EQ(sheet->EndCode(), IDOK);
    EXPECT_EQ(Stored(QStringLiteral("Admin/MinWidthVal")).toInt(), 225);
    EXPECT_EQ(Stored(QStringLiteral("Admin/CommentTypeSel")).toInt(), 2);
    EXPECT_EQ(Stored(QStringLiteral("Admin/AutoShowSave")).toInt(), 0);
    EXPECT_EQ(Stored(QStringLiteral("Admin/BlankComment")).toInt(), 0);
}

TEST_F(OptionsTest, TheKeyPageTakesOnlyKeysThatTypeTheirCharacter)
{
    auto sheet = Sheet();
    auto* page = Open(*sheet, sheet->KeyCommandsPage());
    auto* remove = page->Control<QLineEdit>(IDC_REMOVE_HIGHLIGHT_KEY);
    remove->setText(QStringLiteral("(x"));
    sheet->OnCommand(IDOK);
    EXPECT_EQ(Messages().Last(),
              QStringLiteral("\"(\" cannot be the key of \"Remove highlight\": no key of its own "
                             "types it. Choose a letter, a digit, a punctuation mark typed "
                             "without Shift or the space bar."));
    EXPECT_EQ(sheet->EndCode(), 0);
    EXPECT_FALSE(Stored(QStringLiteral("Keys/RemHKey")).isValid());

    remove->setText(QStringLiteral("esc"));
    page->Control<QLineEdit>(IDC_TS_KEY)->setText(QString::fromUtf8("é"));
    sheet->OnCommand(IDOK);
    EXPECT_TRUE(Messages().Last().startsWith(
        QString::fromUtf8("\"é\" cannot be the key of \"Create timesheet entry\"")));
    EXPECT_EQ(sheet->EndCode(), 0);

    // The space bar types a blank.
    page->Control<QLineEdit>(IDC_TS_KEY)->setText(QStringLiteral(" "));
    page->Control<QLineEdit>(IDC_INSERTION_KEY)->setText(QStringLiteral("."));
    sheet->OnCommand(IDOK);
    EXPECT_EQ(sheet->EndCode(), IDOK);
    EXPECT_EQ(Stored(QStringLiteral("Keys/TSKey")).toString(), QStringLiteral(" "));
    EXPECT_EQ(Stored(QStringLiteral("Keys/IKey")).toString(), QStringLiteral("."));
    EXPECT_EQ(Stored(QStringLiteral("Keys/RemHKey")).toString(), QStringLiteral("esc"));
}

TEST_F(OptionsTest, AutoTimerStopMinuteMeansWhatTheAutoTimerReads)
{
    // Even with a 6-minute interval the choice is a quarter hour.
    m_db.StartupInfo().BookingInterval = 6;
    Store(QStringLiteral("Admin/AutoLogAdvBook"), 7);
    auto sheet = Sheet();
    auto* page = Open(*sheet, sheet->AutoTimerPage());
    auto* minute = page->Control<QComboBox>(IDC_STOP_MINUTE);
    ASSERT_EQ(minute->count(), 4);
    EXPECT_EQ(minute->currentText(), QStringLiteral("30"));
    EXPECT_EQ(CPropsAutoLogging::RoundingMinutes(minute->currentIndex()), 30);
    Choose(minute, QStringLiteral("45"));
    EXPECT_EQ(CPropsAutoLogging::RoundingMinutes(minute->currentIndex()), 45);
    EXPECT_EQ(CPropsAutoLogging::RoundingMinutes(7), 0);

    // Advance booking out of range loads as 3 and cannot be typed.
    auto* advance = page->Control<QLineEdit>(IDC_ADVANCE_BOOK);
    EXPECT_EQ(advance->text(), QStringLiteral("3"));
    advance->setText(QStringLiteral("9"));
    EXPECT_FALSE(sheet->OnApplyNow());
    EXPECT_EQ(Messages().Last(), QStringLiteral("Please enter an integer between 0 and 5."));
    advance->setText(QStringLiteral("5"));

    page->Control<QRadioButton>(IDC_START_NEAREST)->click();
    Choose(page->Control<QComboBox>(IDC_REFRESH_RATE), 0);
    EXPECT_TRUE(sheet->OnApplyNow());
    EXPECT_EQ(Stored(QStringLiteral("Admin/AutoLogStopMinVal")).toInt(), 3);
    EXPECT_EQ(Stored(QStringLiteral("Admin/AutoLogAdvBook")).toInt(), 5);
    EXPECT_EQ(Stored(QStringLiteral("Admin/AutoLogRoundStart")).toInt(), 0);
    EXPECT_EQ(Stored(QStringLiteral("Admin/AutoLogRoundStop")).toInt(), 1);
    EXPECT_EQ(Stored(QStringLiteral("Admin/timerVal")).toInt(), 1);
}

TEST_F(OptionsTest, AutoTimerPageIsLockedWhileTheAutoTimerRuns)
{
    m_hub->OnCommand(ID_AUTO_TIMER);
    ASSERT_TRUE(m_windows[ID_AUTO_TIMER]);
    m_windows[ID_AUTO_TIMER]->timing = true;
    const QString refusal = LoadStringRes(IDS_NO_PROPERTIES_WHILE_LOGGING);

    auto sheet = Sheet();
    auto* page = Open(*sheet, sheet->AutoTimerPage());
    EXPECT_EQ(Messages().Last(), refusal);
    for (int id : {IDC_STOP_HOUR, IDC_STOP_MINUTE, IDC_ADVANCE_BOOK, IDC_STOP_AT_INTERVAL,
                   IDC_STOP_NEAREST, IDC_START_NEAREST, IDC_START_AT_INTERVAL, IDC_NOTIFY_REMOVED,
                   IDC_MIN_BLOCK, IDC_REFRESH_RATE})
        EXPECT_FALSE(page->Control<QWidget>(id)->isEnabled()) << id;

    const int told = Messages().Count();
    auto* hour = page->Control<QComboBox>(IDC_STOP_HOUR);
    Choose(hour, 9);
    EXPECT_EQ(Messages().Count(), told + 1);
    EXPECT_EQ(hour->currentText(), QStringLiteral("17"));
    sheet->OnCommand(IDOK);
    EXPECT_EQ(Stored(QStringLiteral("Admin/AutoLogStopHrVal")).toInt(), 17);
}

TEST_F(OptionsTest, GeneralPageKeepsTheFullListPositionOfTheStartWindow)
{
    Store(QStringLiteral("Admin/UseContacts"), 0);
    Store(QStringLiteral("Admin/defProjStr"), QStringLiteral("Beta"));
    auto sheet = Sheet();
    auto* page = Open(*sheet, sheet->GeneralPage());
    auto* list = page->Control<QComboBox>(IDC_START_WINDOW);
    // No contacts entry, and no overview on a database file.
    EXPECT_EQ(list->findText(QStringLiteral("Contacts")), -1);
    EXPECT_EQ(list->findText(QStringLiteral("Overview")), -1);
    EXPECT_EQ(list->count(), 7);
    EXPECT_EQ(page->Control<QComboBox>(IDC_DEFAULT_PROJECT)->currentText(), QStringLiteral("Beta"));

    Choose(list, QStringLiteral("Change Requests"));
    // Hiding the chosen entry shows the time sheet, which the hub opens instead.
    page->Control<QCheckBox>(IDC_USE_CHANGE_REQUESTS)->click();
    EXPECT_EQ(list->currentText(), QStringLiteral("Timesheet"));
    page->Control<QCheckBox>(IDC_USE_CHANGE_REQUESTS)->click();
    EXPECT_EQ(list->currentText(), QStringLiteral("Change Requests"));
    page->Control<QCheckBox>(IDC_USE_CONTACTS)->click();
    EXPECT_EQ(list->findText(QStringLiteral("Contacts")), 3);
    sheet->OnCommand(IDOK);
    EXPECT_EQ(Stored(QStringLiteral("Admin/OpenDlg")).toInt(), 5);
    EXPECT_EQ(Stored(QStringLiteral("Admin/UseContacts")).toInt(), 1);
    EXPECT_EQ(Stored(QStringLiteral("Admin/defProjStr")).toString(), QStringLiteral("Beta"));
}

TEST_F(OptionsTest, PageKeysMoveTheFocusInsteadOfTickingBoxes)
{
    auto sheet = Sheet();
    auto* page = Open(*sheet, sheet->GeneralPage());
    sheet->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(sheet.get()));
    auto* list = page->Control<QComboBox>(IDC_START_WINDOW);
    auto* contacts = page->Control<QCheckBox>(IDC_USE_CONTACTS);
    list->setFocus();
    QTest::keyClick(list, Qt::Key_C, Qt::AltModifier);
    EXPECT_TRUE(contacts->hasFocus());
    // A mnemonic would click the box a moment later.
    Waiting::Pass(200);
    EXPECT_TRUE(contacts->isChecked());
    QTest::keyClick(contacts, Qt::Key_M, Qt::AltModifier);
    EXPECT_TRUE(page->Control<QComboBox>(IDC_DEFAULT_PROJECT)->hasFocus());

    auto* search = Open(*sheet, sheet->SearchPage());
    auto* limit = search->Control<QCheckBox>(IDC_LIMIT_SEARCH);
    limit->setFocus();
    QTest::keyClick(limit, Qt::Key_E, Qt::AltModifier);
    EXPECT_TRUE(search->Control<QLineEdit>(IDC_SEARCH_SIZE)->hasFocus());
}

TEST_F(OptionsTest, ContactsAndSearchPagesEnableWhatTheirChecksAllow)
{
    Store(QStringLiteral("Admin/isearchSize"), 250);
    auto sheet = Sheet();
    auto* contacts = Open(*sheet, sheet->ContactsPage());
    // The stored "todo" is the database's "ToDo".
    EXPECT_EQ(contacts->Control<QComboBox>(IDC_DEF_TASK_TYPE)->currentText(),
              QStringLiteral("ToDo"));
    auto* source = contacts->Control<QComboBox>(IDC_CONTACT_SOURCE);
    EXPECT_FALSE(source->isEnabled());
    contacts->Control<QCheckBox>(IDC_USE_KELVANE_CONTACTS)->click();
    EXPECT_TRUE(source->isEnabled());
    auto* actions = contacts->Control<QCheckBox>(IDC_COMMENTS_AS_ACTIONS);
    EXPECT_FALSE(actions->isEnabled());
    contacts->Control<QCheckBox>(IDC_BOOK_TIME)->click();
    EXPECT_TRUE(actions->isEnabled());
    sheet->OnApplyNow();
    // The department choice alone does not enable Apply, yet OK stores it.
    contacts->Control<QRadioButton>(IDC_ALL_DEPTS)->click();
    EXPECT_FALSE(sheet->IsApplyEnabled());

    auto* search = Open(*sheet, sheet->SearchPage());
    auto* size = search->Control<QLineEdit>(IDC_SEARCH_SIZE);
    EXPECT_EQ(size->text(), QStringLiteral("250"));
    size->setText(QStringLiteral("-5"));
    sheet->OnCommand(IDOK);
    EXPECT_EQ(sheet->EndCode(), 0);
    // Without a limit the number is neither used nor checked.
    search->Control<QCheckBox>(IDC_LIMIT_SEARCH)->click();
    EXPECT_FALSE(size->isEnabled());
    sheet->OnCommand(IDOK);
    EXPECT_EQ(sheet->EndCode(), IDOK);
    EXPECT_EQ(Stored(QStringLiteral("Admin/UseVekContact")).toInt(), 0);
    EXPECT_EQ(Stored(QStringLiteral("Admin/booktime")).toInt(), 1);
    EXPECT_EQ(Stored(QStringLiteral("Admin/withinDept")).toInt(), 0);
    EXPECT_EQ(Stored(QStringLiteral("Admin/DefTaskType")).toString(), QStringLiteral("ToDo"));
    EXPECT_EQ(Stored(QStringLiteral("Admin/bsearchSize")).toInt(), 0);
    EXPECT_EQ(Stored(QStringLiteral("Admin/isearchSize")).toInt(), 250);
}

TEST_F(OptionsTest, ARowLimitTakesTheDesktopsGroupSeparators)
{
    Store(QStringLiteral("Admin/bsearchSize"), 1);
    const struct {
        const char* locale;
        const char* typed;
        int stored; // 0: refused
    } cases[] = {{"fr_FR", "1 500", 1500},
                 {"en_US", "2,500", 2500},
                 {"de_DE", "3.500", 0}, // 3.5 or 3500
                 {"de_DE", "1.000.000", 1000000},
                 {"de_DE", "3.500,0", 0}, // an integer has no decimals
                 {"en_US", "1e3", 0},
                 {"en_US", "2.5", 0}};
    for (const auto& c : cases) {
        const CDesktopLocale desktop(c.locale);
        Store(QStringLiteral("Admin/isearchSize"), 250);
        auto sheet = Sheet();
        auto* search = Open(*sheet, sheet->SearchPage());
        search->Control<QLineEdit>(IDC_SEARCH_SIZE)->setText(QString::fromUtf8(c.typed));
        sheet->OnCommand(IDOK);
        EXPECT_EQ(sheet->EndCode(), c.stored ? IDOK : 0) << c.locale << " " << c.typed;
        EXPECT_EQ(Stored(QStringLiteral("Admin/isearchSize")).toInt(), c.stored ? c.stored : 250)
            << c.locale << " " << c.typed;
    }
}

// ---- The database page -------------------------------------------------------------------

TEST_F(OptionsTest, SelectChoosesAndOnlyApplySwitchesTheDatabase)
{
    const QString second = MakeDatabase(QStringLiteral("second.db"), QStringLiteral("Bob"));
    CFixedPrompt prompt(second);
    m_hub->OnCommand(ID_TIMESHEETS);

    {
        // Chosen, then cancelled: nothing changes.
        auto sheet = Sheet();
        auto* page = Open(*sheet, sheet->DatabasePage());
        page->Control<QPushButton>(IDC_SELECT_DATABASE)->click();
        EXPECT_EQ(page->Control<QTextEdit>(IDC_CONNECTION_TEXT)->toPlainText(), second);
        EXPECT_EQ(CProfile::DefDatabaseName(), m_first);
        sheet->OnCommand(IDCANCEL);
        EXPECT_EQ(CProfile::DefDatabaseName(), m_first);
        EXPECT_TRUE(m_windows[ID_TIMESHEETS]);
    }

    auto sheet = Sheet();
    auto* page = Open(*sheet, sheet->DatabasePage());
    page->Control<QPushButton>(IDC_SELECT_DATABASE)->click();
    ASSERT_TRUE(sheet->IsApplyEnabled());
    const QPointer<CFakeWindow> before = m_windows[ID_TIMESHEETS];
    sheet->OnApplyNow();
    EXPECT_EQ(CProfile::DefDatabaseName(), second);
    EXPECT_TRUE(page->DatabaseChanged());
    // The windows held rows of the old database: they open again on the new one.
    EXPECT_TRUE(Waiting::Until([&] { return !before && m_windows[ID_TIMESHEETS]; }));
    EXPECT_EQ(m_db.GetEmpIdByName(QStringLiteral("Bob")), 1);
    EXPECT_EQ(m_db.GetEmpIdByName(QStringLiteral("Ann")), -1);

    // Applying again, or choosing the same database, switches and closes nothing.
    sheet->OnApplyNow();
    page->Control<QPushButton>(IDC_SELECT_DATABASE)->click();
    sheet->OnApplyNow();
    sheet->OnCommand(IDOK);
    EXPECT_TRUE(m_windows[ID_TIMESHEETS]);
    EXPECT_EQ(Messages().Count(), 0) << Messages().Last().toStdString();
}

TEST_F(OptionsTest, AFailedSwitchKeepsTheDatabaseAndTheWindows)
{
    m_hub->OnCommand(ID_TIMESHEETS);
    m_hub->OnCommand(ID_REVIEW);
    const QString gone =
        CConnectionString::SqliteString(TestEnv::TestDir() + QStringLiteral("/gone.db"));
    auto sheet = Sheet();
    auto* page = Open(*sheet, sheet->DatabasePage());
    auto* text = page->Control<QTextEdit>(IDC_CONNECTION_TEXT);
    // Typed by hand: Apply leaves it, OK applies the page even without Select.
    text->setPlainText(gone);
    sheet->OnApplyNow();
    EXPECT_EQ(Messages().Count(), 0);
    sheet->OnCommand(IDOK);
    EXPECT_EQ(sheet->EndCode(), IDOK);

    const QStringList texts = Messages().Texts();
    ASSERT_EQ(texts.size(), 2);
    EXPECT_TRUE(texts.at(0).contains(QStringLiteral("does not exist")))
        << texts.at(0).toStdString();
    EXPECT_EQ(texts.at(1),
              QStringLiteral("Kelvane could not open the database %1 and goes on with %2.")
                  .arg(gone, m_first));
    EXPECT_EQ(CProfile::DefDatabaseName(), m_first);
    EXPECT_EQ(page->ConnectionString(), m_first);
    EXPECT_TRUE(m_windows[ID_TIMESHEETS]);
    EXPECT_TRUE(m_windows[ID_REVIEW]);
    EXPECT_EQ(m_db.GetEmpIdByName(QStringLiteral("Ann")), 1);
}

TEST_F(OptionsTest, ADatabaseWithoutKelvanesTablesIsNotSwitchedTo)
{
    const QString empty =
        TestDatabases::NewSqliteDatabase(TestEnv::TestDir(), QStringLiteral("empty.db"));
    auto sheet = Sheet();
    auto* page = Open(*sheet, sheet->DatabasePage());
    page->Control<QTextEdit>(IDC_CONNECTION_TEXT)->setPlainText(empty);
    sheet->OnCommand(IDOK);
    EXPECT_EQ(Messages().Texts(),
              QStringList{QStringLiteral("Kelvane could not open the database %1 and goes on "
                                         "with %2.")
                              .arg(empty, m_first)});
    EXPECT_EQ(CProfile::DefDatabaseName(), m_first);
    EXPECT_EQ(m_db.GetEmpIdByName(QStringLiteral("Ann")), 1);
}

TEST_F(OptionsTest, ThePasswordIsHiddenAndSurvivesAHandEdit)
{
    CProfile::SetDefDatabaseName(
        CConnectionString::PostgresString(QStringLiteral("db1"), 5432, QStringLiteral("kelvane"),
                                          QStringLiteral("ann"), QStringLiteral("s3cret;x")));
    auto sheet = Sheet();
    auto* page = Open(*sheet, sheet->DatabasePage());
    auto* text = page->Control<QTextEdit>(IDC_CONNECTION_TEXT);
    EXPECT_FALSE(text->toPlainText().contains(QStringLiteral("s3cret")));
    text->setPlainText(text->toPlainText().replace(QStringLiteral("db1"), QStringLiteral("db2")));
    ASSERT_TRUE(page->UpdateData(true));
    const CConnectionString edited(page->ConnectionString());
    EXPECT_EQ(edited.Value(QStringLiteral("Host")), QStringLiteral("db2"));
    EXPECT_EQ(edited.Value(QStringLiteral("Password")), QStringLiteral("s3cret;x"));
    sheet->OnCommand(IDCANCEL);
}

TEST_F(OptionsTest, SwitchToTheServerAndBack)
{
    if (!TestDatabases::PostgresConfigured()) {
        if (TestDatabases::PostgresRequired())
            FAIL() << "KELVANE_TEST_PG is required";
        GTEST_SKIP() << "no test PostgreSQL server (KELVANE_TEST_PG)";
    }
    const QString server = TestDatabases::NewPostgresDatabase(QStringLiteral("options"));
    // The tray's title names the version of the database in use.
    const double version = m_hub->TrayMenuState().dbVersion;
    ASSERT_GT(version, 0);
    {
        CDBConnection conn;
        conn.UseConnectionString(server);
        ASSERT_TRUE(conn.Connect(false));
        QString error;
        ASSERT_TRUE(CSchema::Create(conn, &error)) << error.toStdString();
        CSqlExecutor::RunNative(conn,
                                QStringLiteral("INSERT INTO tblFinEmployee (EmpFullName, DeptID, "
                                               "IsCurrent) VALUES ('Cleo', 1, 1)"),
                                {}, nullptr, nullptr);
    }
    {
        CFixedPrompt prompt(server);
        auto sheet = Sheet();
        auto* page = Open(*sheet, sheet->DatabasePage());
        page->Control<QPushButton>(IDC_SELECT_DATABASE)->click();
        // A password is never shown, yet the page keeps it.
        const QString password = CConnectionString(server).Value(QStringLiteral("Password"));
        if (!password.isEmpty()) {
            EXPECT_FALSE(
                page->Control<QTextEdit>(IDC_CONNECTION_TEXT)->toPlainText().contains(password));
        }
        sheet->OnCommand(IDOK);
        EXPECT_EQ(CProfile::DefDatabaseName(), server);
        EXPECT_EQ(m_db.GetProviderKind(), kProviderPostgres);
        EXPECT_EQ(m_db.GetEmpIdByName(QStringLiteral("Cleo")), 1);
        EXPECT_DOUBLE_EQ(m_hub->TrayMenuState().dbVersion, version);
    }
    {
        // The server's start-window list offers the overview.
        CFixedPrompt prompt(m_first);
        auto sheet = Sheet();
        auto* general = Open(*sheet, sheet->GeneralPage());
        EXPECT_GE(
            general->Control<QComboBox>(IDC_START_WINDOW)->findText(QStringLiteral("Overview")), 0);
        auto* page = Open(*sheet, sheet->DatabasePage());
        page->Control<QPushButton>(IDC_SELECT_DATABASE)->click();
        sheet->OnCommand(IDOK);
    }
    EXPECT_EQ(CProfile::DefDatabaseName(), m_first);
    EXPECT_EQ(m_db.GetProviderKind(), kProviderSqlite);
    EXPECT_EQ(m_db.GetEmpIdByName(QStringLiteral("Ann")), 1);
}
