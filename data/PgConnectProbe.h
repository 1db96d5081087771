#pragma once

#include <QString>
#include <QStringList>

// Why a server refused a connection, asked of it with libpq's verbose errors:
// those carry the server's SQLSTATE, whatever language the server and libpq
// speak, where the driver's message has only the (translated) text.
struct CPgRefusal {
    // The code the server refused with ("53300": every connection is taken;
    // "57P03": it is starting or stopping; class "28": user or password);
    // "" when no server answered (not running, no network, no answer).
    QString sqlState;
    // The server took this connection: whatever refused the first is over.
    bool connectsNow = false;
    // No answer within the connect timeout.
    bool timedOut = false;
};

// Tries one connection with the given libpq keywords and values (pairs, in
// order) and closes it again at once.
CPgRefusal ProbePgConnect(const QStringList& keywordsAndValues, int timeoutMs);

// The refusal means the server takes no connection now but may in a moment:
// all of them are taken, or it is starting or stopping.
inline bool IsRefusedForNow(const QString& sqlState)
{
    return sqlState == QLatin1String("53300") || sqlState == QLatin1String("57P03");
}
