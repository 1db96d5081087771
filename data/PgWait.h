#pragma once

#include "data/DbError.h"

#include <libpq-fe.h>

class CDBConnection;

// What a wait for the server's answer ended with.
struct CPgAnswer {
    // The server gave no answer within the limit; the connection was given up.
    CDbError noAnswer;
    // The statement was stopped at the limit: why, in the user's words (the
    // sessions whose locks it waited for, when there were any).
    QString stopped;
};

// The next result of the statement sent on conn, as PQgetResult gives it,
// waited for within the connection's answer limit
// (CDBConnection::AnswerLimitMs): a statement still running near the limit
// is cancelled, and a server that does not answer even that by the limit is
// given up together with the connection (answer->noAnswer). Null at the end
// of the statement's results too.
PGresult* PgNextResult(CDBConnection& connection, PGconn* conn, CPgAnswer* answer);

// The error of a failed result (or of the connection when there is none), in
// the user's words where the driver's would only puzzle: a lost connection,
// a statement stopped at the limit. The driver's own text stays in `message`.
CDbError PgError(PGconn* conn, const PGresult* result, const CPgAnswer& answer);
