// A company's busy hour for real: more programs than the server has
// connections for, each a process of its own with its own employee, started
// within a second. Each works as its employee or is told once, in plain
// words, that the server is full; when a program ends, the next step of one
// that waited works without a restart, and no booking is lost or doubled.
#include "app/UnreadWindows.h"
#include "data/ConnectionString.h"
#include "platform/MessageBox.h"
#include "platform/UserAction.h"
#include "tests/app/HubScenarios.h"
#include "tests/support/PrivateServer.h"
#include "tests/support/TestDatabases.h"
#include "tests/support/TestEnv.h"
#include "tests/support/Waiting.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdio>
#include <iostream>
#include <memory>
#include <string>

namespace {

constexpr char kChildVariable[] = "KELVANE_BUSY_HOUR_CHILD";
// Three connections for the program's role; five programs.
constexpr int kSlots = 3;
constexpr int kPrograms = kSlots + 2;
constexpr int kWaitMs = 60000;
const QString kRole = QStringLiteral("kelvane_app");

// ---- One employee's program, in a process of its own --------------------------------------

void Say(const QString& line)
{
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

QString Hear()
{
    std::string line;
    std::getline(std::cin, line);
    return QString::fromStdString(line);
}

// The program's messages go to the test, which answers its questions.
class CToldParent : public IMessageBoxHook {
public:
    int Show(const QString& text, const QString&, unsigned type) override
    {
        Say(QStringLiteral("MESSAGE ") +
            QString(text).replace(QLatin1Char('\n'), QLatin1Char(' ')));
        if ((type & kMbButtonMask) != kMbRetryCancel)
            return CautiousAnswer(type);
        Say(QStringLiteral("ASK"));
        return Hear() == QLatin1String("retry") ? kIdRetry : kIdCancel;
    }
};

void DrawAndSay(CTimeAppDlg* sheet)
{
    HubScenarios::DrawAndSave(sheet);
    Say(QStringLiteral("DREW"));
}

} // namespace

TEST(BusyHourChild, WorksAsItsEmployee)
{
    if (!qEnvironmentVariableIsSet(kChildVariable))
        GTEST_SKIP() << "run by BusyHour.MoreProgramsThanConnections";
    CProfile::SetDefDatabaseName(qEnvironmentVariable(kChildVariable));
    CToldParent told;
    SetMessageBoxHook(&told);
    HubScenarios::RegisterWindows();
    CKelvaneApp app;
    if (!app.Start()) {
        Say(QStringLiteral("GAVE-UP"));
        return;
    }
    CDummyDlg* hub = app.Hub();
    hub->SetStartupDelayOverride(1000000);
    hub->Create();
    UserAction::Next();
    hub->OnCommand(ID_TIMESHEETS);
    CTimeAppDlg* sheet = nullptr;
    // Shown, and its first fill done (or told that it could not read).
    ASSERT_TRUE(Waiting::Until([&] {
        IHubWindow* window = hub->Window(ID_TIMESHEETS);
        sheet = window ? dynamic_cast<CTimeAppDlg*>(window->Widget()) : nullptr;
        return sheet && sheet->Controller().ReadyCount() > 0;
    }));
    Waiting::Settle();
    // Only the test's steps try the database again: no clock tick takes a
    // freed connection before the program the test means.
    if (auto* clock = sheet->findChild<QTimer*>(QStringLiteral("clockTimer")))
        clock->stop();
    if (sheet->windowTitle().endsWith(CUnreadWindows::CaptionNote()))
        Say(QStringLiteral("UNREAD"));
    else
        DrawAndSay(sheet);
    for (QString command = Hear(); command == QLatin1String("click"); command = Hear()) {
        // The next step: a click on the line, then the block.
        QTest::mouseClick(sheet->TimeLine().ControlWidget(), Qt::LeftButton, {}, QPoint(2, 2));
        DrawAndSay(sheet);
    }
    app.Shutdown();
}

namespace {

// ---- The company ------------------------------------------------------------------------

class CProgram {
public:
    CProgram(int employee, const QString& connectionString)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QLatin1String(kChildVariable), connectionString);
        environment.insert(QStringLiteral("USER"), QStringLiteral("u%1").arg(employee));
        environment.insert(QStringLiteral("LOGNAME"), QStringLiteral("u%1").arg(employee));
        m_process.setProcessEnvironment(environment);
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(QCoreApplication::applicationFilePath(),
                        {QStringLiteral("--gtest_filter=BusyHourChild.*")});
    }
    ~CProgram()
    {
        End();
        // What it said, when the test did not go as it should.
        if (::testing::Test::HasFailure())
            std::fprintf(stderr, "program said:\n    %s\n",
                         qPrintable(m_log.join(QStringLiteral("\n    "))));
    }

    // Waits for a line among the given; "" when none came in time.
    QString WaitFor(const QStringList& lines, int ms = kWaitMs)
    {
        QElapsedTimer clock;
        clock.start();
        for (;;) {
            while (m_process.canReadLine()) {
                const QString line = QString::fromUtf8(m_process.readLine()).trimmed();
                m_log << line;
                if (line.startsWith(QLatin1String("MESSAGE ")))
                    m_messages << line.mid(8);
                if (lines.contains(line))
                    return line;
            }
            if (clock.elapsed() > ms || m_process.state() == QProcess::NotRunning)
                return QString();
            m_process.waitForReadyRead(100);
        }
    }
    void Send(const QString& line) { m_process.write(line.toUtf8() + '\n'); }
    void End()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(5000);
        }
    }
    // The messages since last asked.
    QStringList TakeMessages() { return std::exchange(m_messages, {}); }

    QString state;

private:
    QProcess m_process;
    QStringList m_messages;
    QStringList m_log;
};

void ExpectPlainWords(const QStringList& texts)
{
    for (const QString& text : texts)
        for (const char* driver :
             {"QPSQL", "FATAL", "53300", "Unable to connect", "connection slots are reserved",
              "database corruption", "no employees", "invalid"})
            EXPECT_FALSE(text.contains(QLatin1String(driver))) << text.toStdString();
}

} // namespace

TEST(BusyHour, MoreProgramsThanConnectionsEachWorkOrWaitAndGoOnWhenOneEnds)
{
    CPrivatePgServer server({QStringLiteral("max_connections=%1").arg(kSlots + 3)});
    if (!server.Running()) {
        if (TestDatabases::PostgresRequired())
            FAIL() << server.Problem().toStdString();
        GTEST_SKIP() << server.Problem().toStdString();
    }
    const CConnectionString cs(server.NewOwnedKelvaneDatabase(QStringLiteral("busy_hour"), kRole));
    ASSERT_FALSE(cs.ToString().isEmpty()) << server.Problem().toStdString();
    CConnectionString admin = cs;
    admin.Set(QStringLiteral("User ID"), QStringLiteral("postgres"));
    {
        CDBConnection conn;
        conn.UseConnectionString(cs.ToString());
        ASSERT_TRUE(conn.Connect(false));
        for (int e = 1; e <= kPrograms; ++e)
            ASSERT_TRUE(CSqlExecutor::RunNative(
                conn,
                QStringLiteral("INSERT INTO tblFinEmployee (FirstName, LastName, EmpFullName, "
                               "NTUserName, IsCurrent, DeptID, SecLevel, HourRateFactor) VALUES "
                               "('Worker', ?, ?, ?, 1, 1, 1, 1)"),
                {QString::number(e), QStringLiteral("Worker %1").arg(e),
                 QStringLiteral("u%1").arg(e)},
                nullptr, nullptr));
    }

    std::vector<std::unique_ptr<CProgram>> programs;
    for (int e = 1; e <= kPrograms; ++e)
        programs.push_back(std::make_unique<CProgram>(e, cs.ToString()));
    int working = 0;
    for (auto& program : programs) {
        program->state = program->WaitFor(
            {QStringLiteral("DREW"), QStringLiteral("ASK"), QStringLiteral("UNREAD")});
        ASSERT_FALSE(program->state.isEmpty());
        const QStringList told = program->TakeMessages();
        ExpectPlainWords(told);
        if (program->state == QLatin1String("DREW")) {
            // Worked as its employee: nothing to tell.
            EXPECT_TRUE(told.isEmpty()) << told.join('|').toStdString();
            ++working;
        } else {
            // Refused at its start, or its window could not read: one message.
            ASSERT_EQ(told.size(), 1) << told.join('|').toStdString();
            EXPECT_TRUE(told.first().contains(QStringLiteral("has no free connection now")))
                << told.first().toStdString();
        }
    }
    EXPECT_LE(working, kSlots);
    EXPECT_GE(working, 1);

    // A program ends; one that waited takes its connection at its next step.
    for (auto& waiting : programs) {
        if (waiting->state != QLatin1String("ASK") && waiting->state != QLatin1String("UNREAD"))
            continue;
        for (auto& done : programs)
            if (done->state == QLatin1String("DREW")) {
                done->End();
                done->state = QStringLiteral("ENDED");
                break;
            }
        waiting->Send(waiting->state == QLatin1String("ASK") ? QStringLiteral("retry")
                                                             : QStringLiteral("click"));
        waiting->state = waiting->WaitFor({QStringLiteral("DREW"), QStringLiteral("ASK")});
        EXPECT_EQ(waiting->state, QStringLiteral("DREW"));
        const QStringList told = waiting->TakeMessages();
        EXPECT_TRUE(told.isEmpty()) << told.join('|').toStdString();
    }
    programs.clear();

    // Every employee booked once: nothing lost, nothing twice.
    CDBConnection conn;
    conn.UseConnectionString(admin.ToString());
    ASSERT_TRUE(conn.Connect(false));
    CQueryResult rows;
    ASSERT_TRUE(CSqlExecutor::RunNative(
        conn,
        QStringLiteral("SELECT e.NTUserName, count(t.TimesheetID) FROM tblFinEmployee e LEFT JOIN "
                       "tblTimeSheet t ON t.EmpID = e.EmpID WHERE e.NTUserName LIKE 'u%' GROUP BY "
                       "e.NTUserName ORDER BY e.NTUserName"),
        {}, &rows, nullptr));
    ASSERT_EQ(rows.rows, kPrograms);
    for (int r = 0; r < rows.rows; ++r)
        EXPECT_EQ(rows.Value(r, 1).toInt(), 1) << rows.Value(r, 0).toString().toStdString();
}
