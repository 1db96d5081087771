#pragma once

#include <QByteArray>
#include <QString>

// Files a user names (typed, chosen or kept in the profile) are read only
// when they are regular files, links followed, within the caller's size
// limit: a named pipe waits for a writer for good and a device never ends.
// Every place that reads or hands on such a file checks it here.
enum class UserFileProblem {
    None,
    Missing,
    Folder,
    NotRegular, // a device, a named pipe or a socket
    TooLarge,
    Unreadable,
};

constexpr qint64 kNoSizeLimit = -1;

// Whether the file may be read, without reading it; `why` says what is wrong
// in words for the user.
UserFileProblem CheckUserFile(const QString& path, qint64 maxBytes, QString* why = nullptr);

// The whole file. The check is made on the opened file itself, so a file
// swapped for a pipe after a check is still refused, and no more than
// maxBytes are read whatever size the file claims.
UserFileProblem ReadUserFile(const QString& path, qint64 maxBytes, QByteArray& bytes,
                             QString* why = nullptr);

// "12.5" for a size in megabytes, as the messages show it.
QString MegabytesText(qint64 bytes);
