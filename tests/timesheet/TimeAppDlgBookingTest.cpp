#include "data/UndoHistory.h"
#include "tests/timesheet/TimeSheetWindowFixture.h"

#include <optional>

namespace {

class TimeSheetWindowBookingTest : public TimeSheetWindowTest {};

} // namespace

TEST_P(TimeSheetWindowBookingTest, ABlockNotSavedLeavesTheLine)
{
    const QPoint nine = Find(9 * 60);
    const QPoint ten = Find(10 * 60);
    ASSERT_GE(nine.y(), 0);
    ASSERT_GT(ten.y(), nine.y());

    // Drawn and cancelled, then drawn and escaped: nothing is stored or counted.
    CScriptedModals modals;
    modals.Then(Cancel);
    Draw(nine, ten);
    EXPECT_EQ(m_window->StatusText(), QStringLiteral("No entry created"));
    EXPECT_EQ(HoursOnTheLine().toStdString(), "Hours Worked 0.00");
    modals.Then(Escape);
    Draw(nine, ten);
    EXPECT_EQ(HoursOnTheLine().toStdString(), "Hours Worked 0.00");
    // The keyboard's new block too.
    modals.Then(Escape);
    m_window->Controller().RunKeyCommand(12863);
    Waiting::Settle();
    EXPECT_EQ(modals.seen.size(), 3);
    EXPECT_EQ(HoursOnTheLine().toStdString(), "Hours Worked 0.00");
    EXPECT_TRUE(Rows(m_day).isEmpty());

    // The place is free again: a block drawn there is stored.
    modals.Then([](CDialogBase& dialog) {
        dialog.Control<QTextEdit>(1116)->setPlainText(QStringLiteral("kept"));
        return Ok(dialog);
    });
    Draw(nine, ten);
    ASSERT_EQ(Rows(m_day).size(), 1);
    // Apollo, the first project of the list, is the line's current one.
    EXPECT_TRUE(Rows(m_day).first().endsWith(QStringLiteral(" 540-600 p2 t3 o2 'kept'")))
        << Rows(m_day).first().toStdString();
    EXPECT_EQ(HoursOnTheLine().toStdString(), "Hours Worked 1.00");
    EXPECT_EQ(CRecordingMessages::Current().Count(), 0)
        << CRecordingMessages::Current().Last().toStdString();
}

TEST_P(TimeSheetWindowBookingTest, UndoOnAReadOnlyLineLeavesNoBlockBehind)
{
    CScriptedModals modals;
    modals.Then(Ok);
    Draw(Find(9 * 60), Find(10 * 60));
    ASSERT_EQ(Rows(m_day).size(), 1);
    // As while the auto timer books, or for a user who may only view.
    m_window->Controller().UpdateReadOnlyState(1);
    m_window->OnCommand(ID_UNDO);
    EXPECT_TRUE(Rows(m_day).isEmpty());
    EXPECT_EQ(HoursOnTheLine().toStdString(), "Hours Worked 0.00");
}

TEST_P(TimeSheetWindowBookingTest, UndoAndRedoShowTheBlockAsItIsStored)
{
    // An earlier block of the day, first on the line.
    Book(m_day, 1, 7 * 60, 8 * 60, kBridge, 1, 1, QStringLiteral("early"));
    m_window->OnCommand(ID_REFRESH_TIMESHEET);
    Waiting::Settle();
    CScriptedModals modals;
    modals.Then([](CDialogBase& dialog) {
        dialog.Control<QTextEdit>(1116)->setPlainText(QStringLiteral("Site visit, Zoë"));
        return Ok(dialog);
    });
    const QPoint block = Find(9 * 60 + 30);
    Draw(Find(9 * 60), Find(10 * 60));
    ASSERT_EQ(Rows(m_day).size(), 2);
    const auto comment = [this] { return m_window->Control<QTextEdit>(1117)->toPlainText(); };
    const auto start = [this] { return m_window->Control<QLabel>(1013)->text().trimmed(); };

    m_window->OnCommand(ID_UNDO);
    Waiting::Settle();
    EXPECT_EQ(Rows(m_day).size(), 1);
    EXPECT_EQ(m_window->StatusText(), QStringLiteral("Delete  09:00, to  10:00"));
    EXPECT_EQ(start(), QStringLiteral("00:00"));
    EXPECT_EQ(comment(), QString());

    m_window->OnCommand(ID_REDO);
    Waiting::Settle();
    ASSERT_EQ(Rows(m_day).size(), 2);
    EXPECT_TRUE(Rows(m_day).last().endsWith(QStringLiteral("'Site visit, Zoë'")))
        << Rows(m_day).first().toStdString();
    EXPECT_EQ(m_window->StatusText(), QStringLiteral("Active 09:00 to 10:00 Apollo"));
    EXPECT_EQ(start(), QStringLiteral("09:00"));
    EXPECT_EQ(comment(), QStringLiteral("Site visit, Zoë"));

    // A change of the comment, undone and redone.
    modals.Then([](CDialogBase& dialog) {
        dialog.Control<QTextEdit>(1116)->setPlainText(QStringLiteral("Changed"));
        return Ok(dialog);
    });
    ASSERT_TRUE(Menu(block, QStringLiteral("Edit")));
    ASSERT_TRUE(Rows(m_day).last().endsWith(QStringLiteral("'Changed'")));
    m_window->OnCommand(ID_UNDO);
    Waiting::Settle();
    EXPECT_TRUE(Rows(m_day).last().endsWith(QStringLiteral("'Site visit, Zoë'")));
    EXPECT_EQ(comment(), QStringLiteral("Site visit, Zoë"));
    m_window->OnCommand(ID_REDO);
    Waiting::Settle();
    EXPECT_TRUE(Rows(m_day).last().endsWith(QStringLiteral("'Changed'")));
    EXPECT_EQ(comment(), QStringLiteral("Changed"));

    // A delete, undone: the block is back with its comment.
    CRecordingMessages::Current().Answer(kIdYes);
    ASSERT_TRUE(Menu(block, QStringLiteral("Delete")));
    ASSERT_EQ(Rows(m_day).size(), 1);
    m_window->OnCommand(ID_UNDO);
    Waiting::Settle();
    ASSERT_EQ(Rows(m_day).size(), 2);
    EXPECT_EQ(start(), QStringLiteral("09:00"));
    EXPECT_EQ(comment(), QStringLiteral("Changed"));
    m_window->OnCommand(ID_REDO);
    Waiting::Settle();
    EXPECT_EQ(Rows(m_day).size(), 1);
    EXPECT_EQ(start(), QStringLiteral("00:00"));
    EXPECT_EQ(comment(), QString());

    // Back once more, as a row of its own; the change of its comment is
    // still undone on it.
    m_window->OnCommand(ID_UNDO);
    Waiting::Settle();
    m_window->OnCommand(ID_UNDO);
    Waiting::Settle();
    ASSERT_EQ(Rows(m_day).size(), 2);
    EXPECT_TRUE(Rows(m_day).last().endsWith(QStringLiteral("'Site visit, Zoë'")))
        << Rows(m_day).last().toStdString();
    EXPECT_FALSE(CRecordingMessages::Current().Texts().join('|').contains(
        QStringLiteral("changed or deleted since")));
}

TEST_P(TimeSheetWindowBookingTest, APasteKeepsTheCopiedValuesOrLeavesTheLine)
{
    const QDate next = m_day.addDays(1);
    Book(m_day, 1, 9 * 60, 10 * 60, kApollo, 3, 2, QStringLiteral("launch plan"));
    // The next day holds a row of the same id on another project.
    Book(next, 1, 13 * 60, 14 * 60, kBridge, 1, 1, QStringLiteral("bridge work"));
    m_window->OnCommand(ID_REFRESH_TIMESHEET);
    Waiting::Settle();
    const QPoint block = Find(9 * 60 + 30);
    const QPoint eleven = Find(11 * 60);
    ASSERT_GE(block.y(), 0);
    ASSERT_GE(eleven.y(), 0);
    ASSERT_TRUE(Menu(block, QStringLiteral("Copy")));

    m_window->OnDayButtonMsg(1132);
    ASSERT_EQ(m_window->Controller().ShownDay(), next);
    CScriptedModals modals;
    // While the pasted block is being saved the panels speak of it, not of the copied one.
    QString statusWhileSaving;
    QString timeWhileSaving;
    modals.Then([&](CDialogBase& dialog) {
        statusWhileSaving = m_window->StatusText();
        timeWhileSaving = m_window->Control<QLabel>(1013)->text().trimmed();
        return Ok(dialog);
    });
    ASSERT_TRUE(Menu(eleven, QStringLiteral("Paste")));
    ASSERT_EQ(modals.seen.size(), 1);
    EXPECT_EQ(statusWhileSaving, QStringLiteral("Entry 11:00 to 12:00"));
    EXPECT_EQ(timeWhileSaving, QStringLiteral("11:00"));
    const QStringList rows = Rows(next);
    ASSERT_EQ(rows.size(), 2);
    EXPECT_TRUE(rows.last().endsWith(QStringLiteral("660-720 p2 t3 o2 'launch plan'")))
        << rows.last().toStdString();
    EXPECT_EQ(m_window->StatusText(), QStringLiteral("Active 11:00 to 12:00 Apollo"));
    EXPECT_EQ(m_window->Control<QTextEdit>(1117)->toPlainText(), QStringLiteral("launch plan"));
    EXPECT_EQ(HoursOnTheLine().toStdString(), "Hours Worked 2.00");

    // A paste not saved leaves the line, and the panels say so.
    const QPoint three = Find(15 * 60);
    modals.Then(Cancel);
    ASSERT_TRUE(Menu(three, QStringLiteral("Paste")));
    EXPECT_EQ(Rows(next).size(), 2);
    EXPECT_EQ(m_window->StatusText(), QStringLiteral("No entry created"));
    EXPECT_EQ(m_window->Control<QLabel>(1013)->text().trimmed(), QStringLiteral("00:00"));
    EXPECT_EQ(HoursOnTheLine().toStdString(), "Hours Worked 2.00");
    EXPECT_EQ(CRecordingMessages::Current().Count(), 0)
        << CRecordingMessages::Current().Last().toStdString();
}

TEST_P(TimeSheetWindowBookingTest, ARichTextCommentShowsAsTextInTheInfoArea)
{
    Book(m_day, 1, 9 * 60, 10 * 60, kBridge, 1, 1,
         QStringLiteral("{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}\\viewkind4\\uc1"
                        "\\pard\\f0\\fs20 Site visit\\par\n}"));
    m_window->OnCommand(ID_REFRESH_TIMESHEET);
    m_window->Controller().OnHighlightTime(1, 540, 600, kBridge);
    EXPECT_EQ(m_window->Control<QTextEdit>(1117)->toPlainText(), QStringLiteral("Site visit"));
}

TEST_P(TimeSheetWindowBookingTest, ABlockNotStoredLeavesTheLineAtTheClocksTick)
{
    const QPoint nine = Find(9 * 60);
    const QPoint ten = Find(10 * 60);
    ASSERT_GE(nine.y(), 0);
    auto* clock = m_window->findChild<QTimer*>(QStringLiteral("clockTimer"));
    ASSERT_NE(clock, nullptr);
    m_app.Facade()->Connection()->SetWaitLimits({300, 3000});
    CScriptedModals modals;
    modals.Then(Ok);
    {
        // The database is lost while the block is saved.
        CDatabaseOutage outage(CDatabaseOutage::Kind::Lost, m_connectionString,
                               *m_app.Facade()->Connection(), m_conn);
        ASSERT_TRUE(outage.Began());
        Draw(nine, ten);
        ASSERT_EQ(modals.seen.size(), 1);
        EXPECT_EQ(HoursOnTheLine().toStdString(), "Hours Worked 1.00");
        // Told once, saying what was not done.
        ASSERT_EQ(CRecordingMessages::Current().Count(), 1)
            << CRecordingMessages::Current().Texts().join('|').toStdString();
        EXPECT_TRUE(CRecordingMessages::Current().Last().startsWith(
            QStringLiteral("The block was not stored.\n")));
    }
    EXPECT_TRUE(Rows(m_day).isEmpty());
    // A click whose hand trembles a pixel: the line posts that a block
    // begins after it has said the press is over, which must not pass for
    // a block being drawn.
    const QPoint noon = Find(12 * 60);
    QTest::mousePress(m_line, Qt::LeftButton, Qt::NoModifier, noon);
    QTest::mouseMove(m_line, noon + QPoint(0, 1));
    QTest::mouseRelease(m_line, Qt::LeftButton, Qt::NoModifier, noon + QPoint(0, 1));
    Waiting::Settle();
    // Nobody acts; the window's clock ticks.
    clock->setInterval(20);
    int ticks = 0;
    const QMetaObject::Connection counting =
        QObject::connect(clock, &QTimer::timeout, [&ticks] { ++ticks; });
    EXPECT_TRUE(Waiting::Until([&ticks] { return ticks >= 10; }));
    QObject::disconnect(counting);
    EXPECT_EQ(HoursOnTheLine().toStdString(), "Hours Worked 0.00");
    // Nor is the block that was never stored still described.
    for (const QLabel* label : m_window->findChildren<QLabel*>())
        EXPECT_FALSE(label->text().contains(QStringLiteral("09:00")))
            << label->text().toStdString();
}

TEST_P(TimeSheetWindowBookingTest, ABlockWhoseSaveFailedLeavesTheLineOnceTheDatabaseAnswers)
{
    const QPoint eight = Find(8 * 60);
    const QPoint nine = Find(9 * 60);
    const QPoint ten = Find(10 * 60);
    const QPoint eleven = Find(11 * 60);
    ASSERT_GE(eight.y(), 0);
    auto* clock = m_window->findChild<QTimer*>(QStringLiteral("clockTimer"));
    ASSERT_NE(clock, nullptr);
    m_app.Facade()->Connection()->SetWaitLimits({300, 3000});
    CScriptedModals modals;
    modals.Then(Ok);
    Draw(eight, nine);
    ASSERT_EQ(Rows(m_day).size(), 1);
    {
        // A full disk under the file; the server gone.
        std::optional<CDiskFull> full;
        std::optional<CDatabaseOutage> outage;
        if (IsPostgres()) {
            outage.emplace(CDatabaseOutage::Kind::Lost, m_connectionString,
                           *m_app.Facade()->Connection(), m_conn);
            ASSERT_TRUE(outage->Began());
        } else {
            full.emplace(0);
        }
        modals.Then(Ok);
        Draw(ten, eleven);
        ASSERT_EQ(CRecordingMessages::Current().Count(), 1)
            << CRecordingMessages::Current().Texts().join('|').toStdString();
        EXPECT_TRUE(CRecordingMessages::Current().Last().startsWith(
            QStringLiteral("The block was not stored.\n")));
    }
    EXPECT_EQ(Rows(m_day).size(), 1);
    // The database answers; the user clicks the block that was not stored,
    // and the clock ticks.
    QTest::mouseClick(m_line, Qt::LeftButton, Qt::NoModifier, Find(10 * 60 + 30));
    Waiting::Settle();
    clock->setInterval(20);
    EXPECT_TRUE(Waiting::Until([this] { return HoursOnTheLine() == "Hours Worked 1.00"; }))
        << HoursOnTheLine().toStdString();
    // Nor does the status line still speak of it.
    clock->setInterval(1000000);
    Waiting::Settle();
    EXPECT_FALSE(m_window->StatusText().contains(QStringLiteral("10:00")))
        << m_window->StatusText().toStdString();
    for (const QLabel* label : m_window->findChildren<QLabel*>())
        EXPECT_FALSE(label->text().contains(QStringLiteral("10:00")))
            << label->text().toStdString();
    // The next block is stored and counted alone beside the first.
    modals.Then(Ok);
    Draw(Find(12 * 60), Find(13 * 60));
    EXPECT_EQ(Rows(m_day).size(), 2);
    EXPECT_EQ(HoursOnTheLine().toStdString(), "Hours Worked 2.00");
}

TEST_P(TimeSheetWindowBookingTest, ADayNotReadSaysSoAndTheClickThatReadsItIsTold)
{
    const QDate next = m_day.addDays(1);
    Book(next, 1, 9 * 60, 10 * 60, kBridge, 1, 1, QStringLiteral("booked"));
    m_app.Facade()->Connection()->SetWaitLimits({300, 3000});
    // The clock's tick would read the day too, whenever a slow machine lets it.
    auto* clock = m_window->findChild<QTimer*>(QStringLiteral("clockTimer"));
    ASSERT_NE(clock, nullptr);
    clock->stop();
    const QString note = QStringLiteral(" (not read from the database)");
    {
        CDatabaseOutage outage(CDatabaseOutage::Kind::Lost, m_connectionString,
                               *m_app.Facade()->Connection(), m_conn);
        ASSERT_TRUE(outage.Began());
        UserAction::Next();
        m_window->OnDayButtonMsg(1132);
        ASSERT_EQ(m_window->Controller().ShownDay(), next);
        // Not shown as a day without bookings.
        EXPECT_TRUE(m_window->windowTitle().endsWith(note))
            << m_window->windowTitle().toStdString();
        EXPECT_TRUE(m_window->StatusText().contains(QStringLiteral("could not be read")))
            << m_window->StatusText().toStdString();
    }
    // The database answers: the press of a block drawn at once reads the day,
    // and draws nothing on it the user did not see; it says so.
    CScriptedModals modals;
    modals.Then(Ok);
    Draw(Find(11 * 60), Find(12 * 60));
    EXPECT_TRUE(modals.seen.isEmpty());
    EXPECT_FALSE(m_window->windowTitle().endsWith(note)) << m_window->windowTitle().toStdString();
    EXPECT_TRUE(m_window->StatusText().contains(QStringLiteral("read again")))
        << m_window->StatusText().toStdString();
    EXPECT_EQ(Rows(next).size(), 1);
    EXPECT_EQ(HoursOnTheLine().toStdString(), "Hours Worked 1.00");
    // Drawn again, it is stored.
    Draw(Find(11 * 60), Find(12 * 60));
    EXPECT_EQ(modals.seen.size(), 1);
    EXPECT_EQ(Rows(next).size(), 2);
}

TEST_P(TimeSheetWindowBookingTest, AddBlockNowAfterMidnightBooksOnTheDayItIsNow)
{
    // Left open over midnight, the window still shows the day before.
    CTestClock clock(m_day, 23, 50);
    const QDate next = m_day.addDays(1);
    clock.Advance(17 * 60);
    CScriptedModals modals;
    modals.Then(Ok);
    m_window->OnCommand(ID_ADD_BLOCK_NOW);
    Waiting::Settle();
    ASSERT_EQ(modals.seen.size(), 1);
    EXPECT_EQ(m_window->Controller().ShownDay(), next);
    EXPECT_TRUE(Rows(m_day).isEmpty()) << Rows(m_day).join('|').toStdString();
    const QStringList rows = Rows(next);
    ASSERT_EQ(rows.size(), 1);
    EXPECT_TRUE(rows.first().contains(QRegularExpression(QStringLiteral("^\\d+ 0-\\d+ "))))
        << rows.first().toStdString();
    EXPECT_EQ(CRecordingMessages::Current().Count(), 0)
        << CRecordingMessages::Current().Last().toStdString();

    // Today shown, the block goes on today as before.
    clock.Set(next, 9, 20);
    modals.Then(Ok);
    m_window->OnCommand(ID_ADD_BLOCK_NOW);
    Waiting::Settle();
    EXPECT_EQ(m_window->Controller().ShownDay(), next);
    EXPECT_EQ(Rows(next).size(), 2);
}

TEST_P(TimeSheetWindowBookingTest, OnTheNightsTheClockChangesTheDayCountsTheTimeThatPassed)
{
    struct Case {
        const char* zone;
        QDate day;
        const char* hours;
        const char* length;
        const char* cost;
    };
    const Case cases[] = {
        {"Europe/Berlin", {2026, 3, 29}, "2.00", "02:00", "160.00"},
        {"Europe/Berlin", {2026, 10, 25}, "4.00", "04:00", "320.00"},
        {"America/New_York", {2026, 3, 8}, "2.00", "02:00", "160.00"},
        {"America/New_York", {2026, 11, 1}, "4.00", "04:00", "320.00"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(
            QStringLiteral("%1 %2").arg(QLatin1String(c.zone), c.day.toString()).toStdString());
        const CTimeZoneScope zone(c.zone);
        m_window->ShowDay(c.day);
        Book(c.day, 1, 30, 210, kBridge, 1, 1, QStringLiteral("night shift"));
        m_window->OnCommand(ID_REFRESH_TIMESHEET);
        Waiting::Settle();
        EXPECT_EQ(HoursOnTheLine(), QStringLiteral("Hours Worked %1").arg(QLatin1String(c.hours)));
        // The block in hand: its length and cost in the info area.
        m_window->Controller().OnHighlightTime(1, 30, 210, kBridge);
        EXPECT_EQ(m_window->Control<QLabel>(1011)->text().trimmed(), QLatin1String(c.length));
        EXPECT_EQ(m_window->Control<QLabel>(1115)->text().trimmed(), QLatin1String(c.cost));
    }
}

KELVANE_INSTANTIATE_BACKENDS(TimeSheetWindowBookingTest);

TEST_P(TimeSheetWindowBookingTest, UndoAndRedoActOnTheirOwnRowWhateverHoldsItsNumber)
{
    CScriptedModals modals;
    const auto draw = [&](int hour, const QString& comment) {
        modals.Then([comment](CDialogBase& dialog) {
            dialog.Control<QTextEdit>(1116)->setPlainText(comment);
            return Ok(dialog);
        });
        Draw(Find(hour * 60), Find((hour + 1) * 60));
    };
    const auto command = [this](int id) {
        m_window->OnCommand(id);
        Waiting::Settle();
    };
    // Each row's times and comment, whatever its number.
    const auto values = [this] {
        QStringList out;
        for (const QString& row : Rows(m_day))
            out << row.section(QLatin1Char(' '), 1, 1) + row.section(QLatin1Char(' '), 5);
        out.sort();
        return out;
    };
    draw(9, QStringLiteral("A"));
    draw(11, QStringLiteral("B"));
    command(ID_UNDO);
    command(ID_UNDO);
    command(ID_REDO);
    // C takes the number B's undo freed.
    draw(14, QStringLiteral("C"));
    ASSERT_EQ(values(), QStringList({QStringLiteral("540-600'A'"), QStringLiteral("840-900'C'")}));
    command(ID_UNDO);
    command(ID_UNDO);
    command(ID_REDO);
    command(ID_REDO);
    command(ID_REDO);
    const QStringList all = {QStringLiteral("540-600'A'"), QStringLiteral("660-720'B'"),
                             QStringLiteral("840-900'C'")};
    EXPECT_EQ(values(), all);
    QStringList numbers;
    for (const QString& row : Rows(m_day))
        numbers << row.section(QLatin1Char(' '), 0, 0);
    numbers.removeDuplicates();
    EXPECT_EQ(numbers.size(), 3) << Rows(m_day).join('|').toStdString();
    EXPECT_EQ(CRecordingMessages::Current().Count(), 0)
        << CRecordingMessages::Current().Texts().join('|').toStdString();

    // Another desk changes B: its undo is refused in one message, and the
    // history stays as it was.
    Exec(QStringLiteral("UPDATE tblTimeSheet SET Comment = 'desk' WHERE Comment = 'B'"));
    const CUndoHistory& history = m_app.Facade()->UndoHistory();
    const int undos = history.UndoCount();
    const int redos = history.RedoCount();
    command(ID_UNDO);
    ASSERT_EQ(CRecordingMessages::Current().Count(), 1);
    EXPECT_EQ(CRecordingMessages::Current().Last(),
              QStringLiteral("Undo was not done. The entry has been changed or deleted since."));
    EXPECT_EQ(history.UndoCount(), undos);
    EXPECT_EQ(history.RedoCount(), redos);
    EXPECT_EQ(values(), QStringList({QStringLiteral("540-600'A'"), QStringLiteral("660-720'desk'"),
                                     QStringLiteral("840-900'C'")}));
    EXPECT_EQ(HoursOnTheLine().toStdString(), "Hours Worked 3.00");
}

TEST_P(TimeSheetWindowBookingTest, APasteStoresTheValueTheBlockHadWhenCopied)
{
    Book(m_day, 1, 9 * 60, 10 * 60, kBridge, 1, 1, QStringLiteral("bridge work"));
    m_window->OnCommand(ID_REFRESH_TIMESHEET);
    Waiting::Settle();
    const QPoint block = Find(9 * 60 + 30);
    const QPoint eleven = Find(11 * 60);
    ASSERT_TRUE(Menu(block, QStringLiteral("Copy")));
    // Its row is booked on Apollo since, under the same number.
    Exec(QStringLiteral("UPDATE tblTimeSheet SET ProjID = 2, TaskID = 3, OrderID = 2, Comment = "
                        "'apollo work'"));
    m_window->OnCommand(ID_REFRESH_TIMESHEET);
    Waiting::Settle();
    CScriptedModals modals;
    modals.Then(Ok);
    ASSERT_TRUE(Menu(eleven, QStringLiteral("Paste")));
    ASSERT_EQ(modals.seen.size(), 1);
    const QStringList rows = Rows(m_day);
    ASSERT_EQ(rows.size(), 2);
    EXPECT_TRUE(rows.last().endsWith(QStringLiteral("660-720 p1 t1 o1 'bridge work'")))
        << rows.last().toStdString();
}

TEST_P(TimeSheetWindowBookingTest, AStepWhoseRowWasChangedSinceIsRefusedAndStaysOnItsList)
{
    CScriptedModals modals;
    const auto typed = [](const QString& comment) {
        return [comment](CDialogBase& dialog) {
            dialog.Control<QTextEdit>(1116)->setPlainText(comment);
            return Ok(dialog);
        };
    };
    const auto command = [this](int id) {
        m_window->OnCommand(id);
        Waiting::Settle();
    };
    const CUndoHistory& history = m_app.Facade()->UndoHistory();
    const auto lists = [&history] {
        return std::to_string(history.UndoCount()) + "/" + std::to_string(history.RedoCount());
    };
    const QPoint ten = Find(10 * 60);
    const QPoint quarter = Find(10 * 60 + 15);
    const QPoint half = Find(10 * 60 + 30);
    const QPoint threeQuarters = Find(10 * 60 + 45);
    modals.Then(typed(QStringLiteral("first")));
    Draw(ten, half);
    // Its stop dragged down, and the drag undone.
    QTest::mouseMove(m_line, quarter);
    Draw(half - QPoint(0, 1), threeQuarters);
    ASSERT_EQ(Rows(m_day), QStringList({"0 600-645 p2 t3 o2 'first'"}));
    command(ID_UNDO);
    ASSERT_EQ(Rows(m_day), QStringList({"0 600-630 p2 t3 o2 'first'"}));
    // Its comment changed since: the drag's redo would write over it.
    modals.Then(typed(QStringLiteral("second")));
    ASSERT_TRUE(Menu(quarter, QStringLiteral("Edit")));
    ASSERT_EQ(Rows(m_day), QStringList({"0 600-630 p2 t3 o2 'second'"}));
    ASSERT_EQ(lists(), "2/1");
    const QString refused =
        QStringLiteral("Redo was not done. The entry has been changed or deleted since.");
    command(ID_REDO);
    EXPECT_EQ(Rows(m_day), QStringList({"0 600-630 p2 t3 o2 'second'"}));
    EXPECT_EQ(lists(), "2/1");
    ASSERT_EQ(CRecordingMessages::Current().Count(), 1);
    EXPECT_EQ(CRecordingMessages::Current().Last(), refused);
    EXPECT_EQ(HoursOnTheLine().toStdString(), "Hours Worked 0.50");

    // The lists still tell the truth: the change goes and comes back, and
    // the drag is refused again while the row holds it.
    command(ID_UNDO);
    EXPECT_EQ(Rows(m_day), QStringList({"0 600-630 p2 t3 o2 'first'"}));
    command(ID_REDO);
    EXPECT_EQ(Rows(m_day), QStringList({"0 600-630 p2 t3 o2 'second'"}));
    command(ID_REDO);
    EXPECT_EQ(Rows(m_day), QStringList({"0 600-630 p2 t3 o2 'second'"}));
    EXPECT_EQ(lists(), "2/1");
    EXPECT_EQ(CRecordingMessages::Current().Count(), 2);
    EXPECT_EQ(CRecordingMessages::Current().Last(), refused);
}
