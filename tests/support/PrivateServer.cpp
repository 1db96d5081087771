#include "tests/support/PrivateServer.h"

#include "data/ConnectionString.h"
#include "data/DBConnection.h"
#include "data/Schema.h"
#include "data/SqlExecutor.h"
#include "tests/support/Processes.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <algorithm>
#include <csignal>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/types.h>
#include <unistd.h>

namespace {

QString ServerBinaries()
{
    QStringList versions =
        QDir(QStringLiteral("/usr/lib/postgresql")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    std::sort(versions.begin(), versions.end(),
              [](const QString& a, const QString& b) { return a.toInt() < b.toInt(); });
    for (auto it = versions.crbegin(); it != versions.crend(); ++it) {
        const QString bin = QStringLiteral("/usr/lib/postgresql/%1/bin").arg(*it);
        if (QFile::exists(bin + QStringLiteral("/pg_ctl")))
            return bin;
    }
    return QString();
}

int FreePort()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    int port = 0;
    if (fd >= 0 && ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        port = ntohs(address.sin_port);
    if (fd >= 0)
        ::close(fd);
    return port;
}

// The server refuses to run as root: it runs as postgres then.
bool Run(const QString& program, const QStringList& arguments, QString* output,
         const QStringList& environment = {})
{
    QProcess process;
    QProcessEnvironment variables = QProcessEnvironment::systemEnvironment();
    for (const QString& variable : environment)
        variables.insert(variable.section(QLatin1Char('='), 0, 0),
                         variable.section(QLatin1Char('='), 1));
    process.setProcessEnvironment(variables);
    if (::geteuid() == 0)
        process.start(QStringLiteral("runuser"),
                      QStringList{QStringLiteral("-u"), QStringLiteral("postgres"),
                                  QStringLiteral("--"), program} +
                          arguments);
    else
        process.start(program, arguments);
    process.setProcessChannelMode(QProcess::MergedChannels);
    if (!process.waitForFinished(120000))
        return false;
    *output = QString::fromLocal8Bit(process.readAll());
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

} // namespace

CPrivatePgServer::CPrivatePgServer(const QStringList& settings, const QStringList& environment)
    : m_dir(std::make_unique<QTemporaryDir>(QStringLiteral("/tmp/kelvane-pg-own-XXXXXX")))
    , m_bin(ServerBinaries())
    , m_settings(settings)
    , m_environment(environment)
{
    if (m_bin.isEmpty()) {
        m_problem = QStringLiteral("no PostgreSQL server binaries under /usr/lib/postgresql");
        return;
    }
    if (::geteuid() == 0)
        QProcess::execute(QStringLiteral("chown"), {QStringLiteral("postgres"), m_dir->path()});
    QString output;
    if (!Run(m_bin + QStringLiteral("/initdb"),
             {QStringLiteral("-D"), m_dir->filePath(QStringLiteral("data")), QStringLiteral("-U"),
              QStringLiteral("postgres"), QStringLiteral("-A"), QStringLiteral("trust"),
              QStringLiteral("-E"), QStringLiteral("UTF8"), QStringLiteral("--no-sync")},
             &output)) {
        m_problem = QStringLiteral("initdb failed: ") + output;
        return;
    }
    // One role signs on with a password, so that a changed one can be met.
    QFile hba(m_dir->filePath(QStringLiteral("data/pg_hba.conf")));
    if (hba.open(QIODevice::ReadOnly)) {
        const QByteArray rest = hba.readAll();
        hba.close();
        if (hba.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            hba.write("host all " + QByteArray(kPasswordRole) + " 127.0.0.1/32 scram-sha-256\n" +
                      rest);
            hba.close();
        }
    }
    m_port = FreePort();
    m_running = Start();
}

CPrivatePgServer::~CPrivatePgServer()
{
    if (m_frozen)
        Thaw();
    if (m_running)
        PgCtl({QStringLiteral("-m"), QStringLiteral("immediate"), QStringLiteral("stop")});
}

bool CPrivatePgServer::PgCtl(const QStringList& arguments)
{
    QString output;
    const QStringList common{QStringLiteral("-D"), m_dir->filePath(QStringLiteral("data")),
                             QStringLiteral("-w"), QStringLiteral("-t"), QStringLiteral("60")};
    if (Run(m_bin + QStringLiteral("/pg_ctl"), common + arguments, &output, m_environment))
        return true;
    m_problem =
        QStringLiteral("pg_ctl %1 failed: %2").arg(arguments.join(QLatin1Char(' ')), output);
    return false;
}

bool CPrivatePgServer::Start()
{
    m_running = PgCtl({QStringLiteral("-l"), m_dir->filePath(QStringLiteral("server.log")),
                       QStringLiteral("-o"),
                       QStringLiteral("-p %1 -k %2 -c listen_addresses=127.0.0.1 -c fsync=off "
                                      "-c synchronous_commit=off -c full_page_writes=off%3")
                           .arg(m_port)
                           .arg(m_dir->path(), m_settings.isEmpty()
                                                   ? QString()
                                                   : QStringLiteral(" -c ") +
                                                         m_settings.join(QStringLiteral(" -c "))),
                       QStringLiteral("start")});
    return m_running;
}

bool CPrivatePgServer::Stop()
{
    if (m_frozen)
        Thaw();
    const bool stopped =
        PgCtl({QStringLiteral("-m"), QStringLiteral("fast"), QStringLiteral("stop")});
    m_running = !stopped;
    return stopped;
}

bool CPrivatePgServer::SignalAll(int signal)
{
    QFile pidFile(m_dir->filePath(QStringLiteral("data/postmaster.pid")));
    if (!pidFile.open(QIODevice::ReadOnly))
        return false;
    const pid_t postmaster = pidFile.readLine().trimmed().toInt();
    if (postmaster <= 0)
        return false;
    // The postmaster first, so that it starts nobody new meanwhile.
    if (::kill(postmaster, signal) != 0)
        return false;
    // A child may end meanwhile (a session that gave up): that is no failure.
    for (const qint64 child : ChildProcesses(postmaster))
        ::kill(static_cast<pid_t>(child), signal);
    return true;
}

bool CPrivatePgServer::Freeze()
{
    m_frozen = SignalAll(SIGSTOP);
    return m_frozen;
}

bool CPrivatePgServer::Thaw()
{
    m_frozen = false;
    return SignalAll(SIGCONT);
}

QString CPrivatePgServer::Settings() const
{
    return QStringLiteral("host=127.0.0.1 port=%1 user=postgres").arg(m_port);
}

QString CPrivatePgServer::NewOwnedKelvaneDatabase(const QString& name, const QString& role)
{
    if (!m_running)
        return QString();
    CConnectionString cs(CConnectionString::PostgresString(QStringLiteral("127.0.0.1"), m_port,
                                                           QStringLiteral("postgres"),
                                                           QStringLiteral("postgres"), QString()));
    {
        CDBConnection admin;
        admin.UseConnectionString(cs.ToString());
        for (const QString& sql :
             {QStringLiteral("DO $$ BEGIN CREATE ROLE %1 LOGIN; EXCEPTION WHEN duplicate_object "
                             "THEN NULL; END $$")
                  .arg(role),
              QStringLiteral("CREATE DATABASE %1 OWNER %2").arg(name, role)}) {
            CDbError error;
            if (!admin.Connect(false) ||
                !CSqlExecutor::RunNative(admin, sql, {}, nullptr, &error)) {
                m_problem = QStringLiteral("cannot create %1: %2 %3")
                                .arg(name, admin.LastOpenError(), error.description);
                return QString();
            }
            admin.ReleaseConnection(true);
        }
    }
    // As the README has an administrator make it: filled by its owner.
    cs.Set(QStringLiteral("Database"), name);
    cs.Set(QStringLiteral("User ID"), role);
    CDBConnection owner;
    owner.UseConnectionString(cs.ToString());
    QString error;
    QString fullName;
    if (!owner.Connect(false) || !CSchema::Create(owner, &error) ||
        !CSchema::AddFirstRows(owner, &fullName, &error)) {
        m_problem = QStringLiteral("cannot fill %1: %2").arg(name, error);
        return QString();
    }
    return cs.ToString();
}

QString CPrivatePgServer::NewKelvaneDatabase(const QString& name)
{
    if (!m_running)
        return QString();
    const auto at = [this](const QString& database) {
        return CConnectionString::PostgresString(QStringLiteral("127.0.0.1"), m_port, database,
                                                 QStringLiteral("postgres"), QString());
    };
    {
        CDBConnection admin;
        admin.UseConnectionString(at(QStringLiteral("postgres")));
        CDbError error;
        if (!admin.Connect(false) ||
            !CSqlExecutor::RunNative(admin, QStringLiteral("CREATE DATABASE %1").arg(name), {},
                                     nullptr, &error)) {
            m_problem = QStringLiteral("cannot create %1: %2 %3")
                            .arg(name, admin.LastOpenError(), error.description);
            return QString();
        }
    }
    CDBConnection kelvane;
    kelvane.UseConnectionString(at(name));
    QString error;
    if (!kelvane.Connect(false) || !CSchema::Create(kelvane, &error)) {
        m_problem = QStringLiteral("cannot fill %1: %2").arg(name, error);
        return QString();
    }
    return at(name);
}
