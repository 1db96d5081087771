#include "tests/support/Faults.h"

#include "data/ConnectionString.h"
#include "data/DBClass.h"
#include "data/DBConnection.h"
#include "data/SqlExecutor.h"
#include "platform/FaultPoint.h"
#include "tests/support/TestDatabases.h"

#include <QElapsedTimer>
#include <QFile>
#include <QThread>

#include <arpa/inet.h>
#include <csignal>
#include <fcntl.h>
#include <netinet/in.h>
#include <sqlite3.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <string>
#include <thread>

namespace {

std::string s_killPoint;
std::string s_gatePoint;
std::atomic<bool> s_gateOpen{true};

void HoldAtGate(const char* name)
{
    if (s_gatePoint != name)
        return;
    while (!s_gateOpen.load())
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
}

void KillAtPoint(const char* name)
{
    if (s_killPoint == name)
        ::kill(::getpid(), SIGKILL);
}

// A port on 127.0.0.1 that was free a moment ago; with listen, a socket on it.
int BoundSocket(int* port, bool listening)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    socklen_t length = sizeof address;
    if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0 ||
        (listening && ::listen(fd, 16) != 0)) {
        if (fd >= 0)
            ::close(fd);
        return -1;
    }
    *port = ntohs(address.sin_port);
    return fd;
}

// Waits for the child; the status, or -1 when it had to be killed.
int WaitForChild(pid_t child, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    int status = 0;
    while (::waitpid(child, &status, WNOHANG) == 0) {
        if (timer.elapsed() > timeoutMs) {
            ::kill(child, SIGKILL);
            ::waitpid(child, &status, 0);
            return -1;
        }
        QThread::msleep(5);
    }
    return status;
}

QString Describe(int status)
{
    if (status < 0)
        return QStringLiteral("the child did not end in time");
    if (WIFSIGNALED(status))
        return QStringLiteral("the child died of signal %1").arg(WTERMSIG(status));
    return QStringLiteral("the child ended with code %1").arg(WEXITSTATUS(status));
}

} // namespace

namespace Faults {

QString DownServerConnectionString()
{
    int port = 0;
    const int fd = BoundSocket(&port, false);
    if (fd >= 0)
        ::close(fd); // bound but never listening: refused
    return CConnectionString::PostgresString(QStringLiteral("127.0.0.1"), port,
                                             QStringLiteral("kelvane"), QStringLiteral("postgres"),
                                             QString());
}

bool RunKilledAt(const char* point, const std::function<void()>& work, QString* why)
{
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child == 0) {
        s_killPoint = point;
        SetFaultHandler(&KillAtPoint);
        work();
        ::_exit(0); // never back into the test framework
    }
    if (child < 0) {
        if (why)
            *why = QStringLiteral("fork failed");
        return false;
    }
    const int status = WaitForChild(child, 60000);
    const bool killed = status >= 0 && WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
    if (!killed && why)
        *why = Describe(status);
    return killed;
}

bool RunInChild(const std::function<bool()>& work, QString* why)
{
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(work() ? 0 : 1);
    if (child < 0)
        return false;
    const int status = WaitForChild(child, 60000);
    const bool ok = status >= 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    if (!ok && why)
        *why = Describe(status);
    return ok;
}

} // namespace Faults

CSilentServer::CSilentServer()
{
    m_socket = BoundSocket(&m_port, true);
}

CSilentServer::~CSilentServer()
{
    if (m_socket >= 0)
        ::close(m_socket);
}

QString CSilentServer::ConnectionString() const
{
    return CConnectionString::PostgresString(QStringLiteral("127.0.0.1"), m_port,
                                             QStringLiteral("kelvane"), QStringLiteral("postgres"),
                                             QString());
}

CLockHolder::CLockHolder(const QString& connectionString, const QString& table, Hold hold)
{
    if (CSqlDialect::DetectProvider(connectionString) == kProviderPostgres) {
        m_server = new CDBConnection;
        m_server->UseConnectionString(connectionString);
        CDbError error;
        m_holding = m_server->Connect(false) && m_server->BeginTrans(&error) &&
                    CSqlExecutor::RunNative(*m_server,
                                            QStringLiteral("LOCK TABLE %1 IN %2 MODE")
                                                .arg(table, hold == Hold::Everyone
                                                                ? QStringLiteral("ACCESS EXCLUSIVE")
                                                                : QStringLiteral("EXCLUSIVE")),
                                            {}, nullptr, &error);
        return;
    }
    const QByteArray file =
        QFile::encodeName(CConnectionString(connectionString).Value(QStringLiteral("Data Source")));
    const QByteArray write = QStringLiteral("UPDATE %1 SET rowid = rowid").arg(table).toUtf8();
    // Exclusive locking keeps the whole file, readers included, until the end.
    const char* begin = hold == Hold::Everyone ? "PRAGMA locking_mode=EXCLUSIVE; BEGIN EXCLUSIVE"
                                               : "BEGIN IMMEDIATE";
    int ready[2];
    int control[2];
    if (::pipe2(ready, O_CLOEXEC) != 0 || ::pipe2(control, O_CLOEXEC) != 0)
        return;
    std::fflush(nullptr);
    m_child = ::fork();
    if (m_child == 0) {
        ::close(ready[0]);
        ::close(control[1]);
        sqlite3* db = nullptr;
        const bool held =
            sqlite3_open_v2(file.constData(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK &&
            sqlite3_exec(db, begin, nullptr, nullptr, nullptr) == SQLITE_OK &&
            sqlite3_exec(db, write.constData(), nullptr, nullptr, nullptr) == SQLITE_OK;
        const char answer = held ? 'y' : 'n';
        (void)!::write(ready[1], &answer, 1);
        int delay = 0;
        if (::read(control[0], &delay, sizeof delay) == sizeof delay && delay > 0)
            ::usleep(static_cast<useconds_t>(delay) * 1000);
        ::_exit(0); // the transaction dies with the process
    }
    ::close(ready[1]);
    ::close(control[0]);
    m_control = control[1];
    char answer = 'n';
    m_holding = m_child > 0 && ::read(ready[0], &answer, 1) == 1 && answer == 'y';
    ::close(ready[0]);
}

void CLockHolder::ReleaseAfter(int ms)
{
    if (m_server) {
        // The server ends the idle session, and its locks, after that long.
        CSqlExecutor::RunNative(
            *m_server,
            QStringLiteral("SET idle_in_transaction_session_timeout = %1").arg(qMax(1, ms)), {},
            nullptr, nullptr);
        return;
    }
    if (m_control >= 0) {
        (void)!::write(m_control, &ms, sizeof ms);
        ::close(m_control);
        m_control = -1;
    }
}

CLockHolder::~CLockHolder()
{
    if (m_server) {
        m_server->RollbackTrans();
        m_server->ReleaseConnection(true);
        delete m_server;
    }
    if (m_control >= 0)
        ::close(m_control);
    if (m_child > 0)
        WaitForChild(m_child, 60000);
}

CWriteUnderWay::CWriteUnderWay(const QString& connectionString,
                               const std::function<bool(CDBClass&)>& work, int commitAfterMs)
{
    int ready[2];
    if (::pipe2(ready, O_CLOEXEC) != 0)
        return;
    std::fflush(nullptr);
    m_child = ::fork();
    if (m_child == 0) {
        ::close(ready[0]);
        bool ok = false;
        {
            CDBClass db;
            db.Connection()->UseConnectionString(connectionString);
            ok = db.OpenConnection() && db.Connection()->BeginTrans() && work(db);
            const char answer = ok ? 'y' : 'n';
            (void)!::write(ready[1], &answer, 1);
            ::usleep(static_cast<useconds_t>(qMax(0, commitAfterMs)) * 1000);
            ok = ok && db.Connection()->CommitTrans();
            db.ReleaseConnection(true, true);
        }
        ::_exit(ok ? 0 : 1); // never back into the test framework
    }
    ::close(ready[1]);
    char answer = 'n';
    m_started = m_child > 0 && ::read(ready[0], &answer, 1) == 1 && answer == 'y';
    ::close(ready[0]);
}

CWriteUnderWay::~CWriteUnderWay()
{
    Committed();
}

bool CWriteUnderWay::Committed()
{
    if (m_child > 0) {
        const int status = WaitForChild(m_child, 60000);
        m_committed = status >= 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
        m_child = 0;
    }
    return m_committed;
}

CFaultGate::CFaultGate(const char* point)
{
    s_gatePoint = point;
    s_gateOpen = false;
    SetFaultHandler(&HoldAtGate);
}

CFaultGate::~CFaultGate()
{
    Open();
    SetFaultHandler(nullptr);
}

void CFaultGate::Open()
{
    s_gateOpen = true;
}

CDiskFull::CDiskFull(qint64 bytes)
{
    // A write past the limit then fails with EFBIG instead of ending the process.
    m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    m_oldSoft = static_cast<qint64>(limit.rlim_cur);
    limit.rlim_cur = static_cast<rlim_t>(qMax<qint64>(0, bytes));
    ::setrlimit(RLIMIT_FSIZE, &limit);
}

CDiskFull::~CDiskFull()
{
    rlimit limit{};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = static_cast<rlim_t>(m_oldSoft);
    ::setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, m_oldHandler);
}
