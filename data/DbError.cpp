#include "data/DbError.h"

#include "platform/ActionOutcome.h"
#include "platform/MessageBox.h"
#include "platform/UserAction.h"

#include <QSqlError>

namespace {

// SQLite result codes and PostgreSQL SQLSTATE classes that mean "constraint".
bool IsConstraintViolation(const QSqlError& error)
{
    const QString native = error.nativeErrorCode();
    if (native.size() == 5 && native.startsWith(QLatin1String("23")))
        return true; // PostgreSQL integrity constraint violation class
    bool ok = false;
    const int code = native.toInt(&ok);
    if (ok && (code & 0xFF) == 19)
        return true; // SQLITE_CONSTRAINT and its extended codes
    return false;
}

bool IsConnectionLoss(const QSqlError& error)
{
    if (error.type() == QSqlError::ConnectionError)
        return true;
    const QString native = error.nativeErrorCode();
    // PostgreSQL connection exception class, and admin shutdown / crash.
    return native.startsWith(QLatin1String("08")) || native == QLatin1String("57P01") ||
           native == QLatin1String("57P02") || native == QLatin1String("57P03");
}

// "The block was not stored." said of a step the server may have carried out
// all the same: "The block may have been stored." A heading that does not say
// something was not done (a read that failed) stays.
QString MayHaveBeenDone(const QString& heading)
{
    for (const char* notDone : {" was not ", " were not ", " could not be "}) {
        const int at = heading.indexOf(QLatin1String(notDone));
        if (at > 0)
            return heading.left(at) + QStringLiteral(" may have been ") +
                   heading.mid(at + int(qstrlen(notDone)));
    }
    return heading;
}

} // namespace

CDbError CDbError::FromSql(const QSqlError& error, const QString& source)
{
    QString text = error.databaseText().trimmed();
    if (text.isEmpty())
        text = error.text().trimmed();
    if (text.isEmpty())
        text = QStringLiteral("Unknown database error");
    HRESULT code = kE_CommandError;
    if (IsConnectionLoss(error))
        code = kE_FAIL;
    else if (IsConstraintViolation(error))
        code = kE_IntegrityViolation;
    return CDbError(code, text, source, error.driverText());
}

QString FailureMessage(const QString& heading, HRESULT code, const QString& reason)
{
    if (code == kE_UnstorableValue && !reason.isEmpty())
        return reason;
    if (heading.isEmpty() || reason.isEmpty())
        return reason.isEmpty() ? heading : reason;
    return heading + QLatin1Char('\n') + reason;
}

void TellDbFailure(const CDbError& error, const QString& heading)
{
    if (error.IsOutage())
        UserAction::NoteFailure();
    const QString reason = error.description.isEmpty() ? error.message : error.description;
    QString said = heading.isEmpty() ? CActionFailureText::Current() : heading;
    if (UserAction::OutcomeUnknown())
        said = MayHaveBeenDone(said);
    ShowMessageBox(FailureMessage(said, error.code, reason), kMbOk | kMbIconError);
}
