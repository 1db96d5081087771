#pragma once

#include "data/AdoTypes.h"

#include <QString>

class QSqlError;

// A database error as the data layer passes it around: a code that callers
// test (see AdoTypes.h), the description shown to the user, the source that
// raised it and the driver's own message.
struct CDbError {
    HRESULT code = kS_OK;
    QString description;
    QString source;
    QString message;

    CDbError() = default;
    CDbError(HRESULT c, QString desc, QString src = QString(), QString msg = QString())
        : code(c)
        , description(std::move(desc))
        , source(std::move(src))
        , message(std::move(msg))
    {}

    bool IsError() const { return code != kS_OK; }
    // The database could not be used at all (lost, unreachable, silent, or
    // kept locked past the limit), rather than refusing one statement.
    bool IsOutage() const
    {
        return code == kE_FAIL || code == kE_NotConnected || code == kE_Timeout;
    }

    // Classifies a driver error: lost connections become kE_FAIL, constraint
    // violations kE_IntegrityViolation, everything else kE_CommandError.
    static CDbError FromSql(const QSqlError& error, const QString& source);
};

// The one message for a step that failed: the window's heading over the
// reason; when the user's own text was refused before the database was asked,
// the reason alone, which says what is wrong with the text (a heading about
// the database would blame the wrong thing).
QString FailureMessage(const QString& heading, HRESULT code, const QString& reason);

// Tells the user of a failure of the database: what the running action did
// not do (heading, or the action's failure text) over the reason. Within one
// action only the first such message is shown (see UserAction).
void TellDbFailure(const CDbError& error, const QString& heading = QString());
