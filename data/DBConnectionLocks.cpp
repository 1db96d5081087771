#include "data/DBConnection.h"

#include "data/ConnectionString.h"
#include "data/SqlExecutor.h"

#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTime>

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <utility>

namespace {

QString ProcessName(qint64 pid)
{
    QFile comm(QStringLiteral("/proc/%1/comm").arg(pid));
    if (!comm.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromLocal8Bit(comm.readAll()).trimmed();
}

// The processes holding write locks on a file, from the kernel's list of
// locks. (Opening the file to ask would drop this process's own locks on it
// when closed, which the database library relies on.)
QList<qint64> WriteLockHolders(const QString& path)
{
    QList<qint64> holders;
    struct stat info {};
    if (stat(QFile::encodeName(path).constData(), &info) != 0)
        return holders;
    const QString device = QStringLiteral("%1:%2:%3")
                               .arg(major(info.st_dev), 2, 16, QLatin1Char('0'))
                               .arg(minor(info.st_dev), 2, 16, QLatin1Char('0'))
                               .arg(static_cast<qulonglong>(info.st_ino));
    QFile locks(QStringLiteral("/proc/locks"));
    if (!locks.open(QIODevice::ReadOnly | QIODevice::Text))
        return holders;
    // "1: POSIX  ADVISORY  WRITE 4242 08:01:1234 1073741824 1073741825"
    for (const QByteArray& line : locks.readAll().split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() < 6 || fields.at(3) != "WRITE" || fields.at(1) == "->")
            continue;
        const qint64 pid = fields.at(4).toLongLong();
        if (pid > 0 && pid != getpid() && QString::fromLatin1(fields.at(5)) == device &&
            !holders.contains(pid))
            holders << pid;
    }
    return holders;
}

} // namespace

QString CDBConnection::DescribeLockHolders()
{
    if (!m_connected)
        return QString();
    QStringList holders;
    if (m_dialect.IsSqlite()) {
        const QString file =
            CConnectionString(m_connectionString).Value(QStringLiteral("Data Source"));
        QList<qint64> pids;
        for (const QString& path : {file, file + QStringLiteral("-shm")})
            for (qint64 pid : WriteLockHolders(path))
                if (!pids.contains(pid))
                    pids << pid;
        for (qint64 pid : std::as_const(pids)) {
            const QString name = ProcessName(pid);
            holders << (name.isEmpty() ? QStringLiteral("process %1").arg(pid)
                                       : QStringLiteral("process %1 (%2)").arg(pid).arg(name));
        }
        return holders.isEmpty() ? QString()
                                 : QStringLiteral("the file is locked by %1")
                                       .arg(holders.join(QStringLiteral(", ")));
    }
    // Asked after a statement gave up waiting: this one must run all the same.
    const quint64 outage = std::exchange(m_outageAction, 0);
    const auto restore = qScopeGuard([this, outage] { m_outageAction = outage; });
    // Reading a table waits only for an exclusive lock on it; name those of
    // other sessions of this database, oldest first.
    CQueryResult rows;
    if (!CSqlExecutor::RunNative(
            *this,
            QStringLiteral(
                "SELECT c.relname, a.pid, a.usename, a.application_name, host(a.client_addr), "
                "to_char(coalesce(a.xact_start, a.backend_start), 'HH24:MI:SS') "
                "FROM pg_locks l JOIN pg_stat_activity a ON a.pid = l.pid "
                "JOIN pg_class c ON c.oid = l.relation "
                "WHERE l.granted AND l.locktype = 'relation' AND l.mode = 'AccessExclusiveLock' "
                "AND l.pid <> pg_backend_pid() AND c.relkind IN ('r', 'v', 'p') "
                "AND l.database = (SELECT oid FROM pg_database WHERE datname = "
                "current_database()) ORDER BY a.xact_start, c.relname LIMIT 5"),
            {}, &rows, nullptr))
        return QString();
    for (int r = 0; r < rows.rows; ++r) {
        QStringList who;
        if (!rows.Value(r, 2).toString().isEmpty())
            who << QStringLiteral("user %1").arg(rows.Value(r, 2).toString());
        if (!rows.Value(r, 3).toString().isEmpty())
            who << rows.Value(r, 3).toString();
        if (!rows.Value(r, 4).toString().isEmpty())
            who << QStringLiteral("from %1").arg(rows.Value(r, 4).toString());
        holders << QStringLiteral("table %1 is locked by session %2 (%3) since %4")
                       .arg(rows.Value(r, 0).toString(), rows.Value(r, 1).toString(),
                            who.join(QStringLiteral(", ")), rows.Value(r, 5).toString());
    }
    return holders.join(QStringLiteral("; "));
}
