#pragma once

#include <QDir>
#include <QFile>
#include <QList>

// The living processes (zombies left out) whose stat field `field` (after
// the state: 1 parent, 2 process group) is `value`, read from /proc.
inline QList<qint64> ProcessesWhere(int field, qint64 value)
{
    QList<qint64> pids;
    for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(entry));
        if (entry.toLongLong() <= 0 || !stat.open(QIODevice::ReadOnly))
            continue;
        const QByteArray line = stat.readAll();
        const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > field && fields.at(0) != "Z" && fields.at(field).toLongLong() == value)
            pids << entry.toLongLong();
    }
    return pids;
}

// The living processes of a process group.
inline QList<qint64> GroupProcesses(qint64 group)
{
    return ProcessesWhere(2, group);
}

// The living children of a process.
inline QList<qint64> ChildProcesses(qint64 parent)
{
    return ProcessesWhere(1, parent);
}
