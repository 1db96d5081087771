#pragma once

#include <QDir>
#include <QFile>
#include <QList>

// The living processes of a process group (zombies left out), read from /proc.
inline QList<qint64> GroupProcesses(qint64 group)
{
    QList<qint64> pids;
    for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(entry));
        if (entry.toLongLong() <= 0 || !stat.open(QIODevice::ReadOnly))
            continue;
        const QByteArray line = stat.readAll();
        const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 2 && fields.at(0) != "Z" && fields.at(2).toLongLong() == group)
            pids << entry.toLongLong();
    }
    return pids;
}
