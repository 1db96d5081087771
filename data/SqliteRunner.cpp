#include "data/BackendRunners.h"

#include "data/DBConnection.h"
#include "data/SqliteFunctions.h"

#include <sqlite3.h>

namespace {

const QString kSource = QStringLiteral("Database");

CDbError SqliteError(sqlite3* db, int rc)
{
    const QString text = QString::fromUtf8(sqlite3_errmsg(db));
    const int primary = rc & 0xFF;
    HRESULT code = kE_CommandError;
    if (primary == SQLITE_CONSTRAINT)
        code = kE_IntegrityViolation;
    else if (primary == SQLITE_BUSY || primary == SQLITE_LOCKED)
        code = kE_Timeout;
    else if (primary == SQLITE_NOTADB || primary == SQLITE_CORRUPT || primary == SQLITE_IOERR ||
             primary == SQLITE_CANTOPEN)
        code = kE_FAIL;
    return CDbError(code, text, kSource, QString::fromUtf8(sqlite3_errstr(rc)));
}

bool BindSqlite(sqlite3_stmt* stmt, const QVariantList& params, const CSqlDialect& dialect)
{
    const int expected = sqlite3_bind_parameter_count(stmt);
    if (expected != params.size())
        return false;
    for (int i = 0; i < params.size(); ++i) {
        const QVariant v = dialect.ToDbValue(params.at(i));
        int rc = SQLITE_OK;
        if (v.isNull()) {
            rc = sqlite3_bind_null(stmt, i + 1);
        } else {
            switch (v.metaType().id()) {
            case QMetaType::Int:
            case QMetaType::UInt:
            case QMetaType::LongLong:
            case QMetaType::ULongLong:
            case QMetaType::Short:
            case QMetaType::UShort:
            case QMetaType::Char:
            case QMetaType::UChar:
                rc = sqlite3_bind_int64(stmt, i + 1, v.toLongLong());
                break;
            case QMetaType::Double:
            case QMetaType::Float:
                rc = sqlite3_bind_double(stmt, i + 1, v.toDouble());
                break;
            case QMetaType::QByteArray: {
                const QByteArray bytes = v.toByteArray();
                rc = sqlite3_bind_blob64(stmt, i + 1, bytes.constData(),
                                         static_cast<sqlite3_uint64>(bytes.size()),
                                         SQLITE_TRANSIENT);
                break;
            }
            default: {
                const QString text = v.toString();
                rc = sqlite3_bind_text16(stmt, i + 1, text.utf16(),
                                         static_cast<int>(text.size() * sizeof(char16_t)),
                                         SQLITE_TRANSIENT);
                break;
            }
            }
        }
        if (rc != SQLITE_OK)
            return false;
    }
    return true;
}

// Values are read through sqlite3_value, which (unlike the sqlite3_column_*
// calls) takes no connection mutex per call.
void PackColumn(CPackedRows& rows, sqlite3_stmt* stmt, int column)
{
    sqlite3_value* value = sqlite3_column_value(stmt, column);
    switch (sqlite3_value_type(value)) {
    case SQLITE_INTEGER:
        rows.AddInt(sqlite3_value_int64(value));
        break;
    case SQLITE_FLOAT:
        rows.AddDouble(sqlite3_value_double(value));
        break;
    case SQLITE_NULL:
        rows.AddNull();
        break;
    case SQLITE_BLOB: {
        const void* data = sqlite3_value_blob(value);
        rows.AddBlob(data, sqlite3_value_bytes(value));
        break;
    }
    default: {
        const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(value));
        rows.AddText(text, sqlite3_value_bytes(value));
        break;
    }
    }
}

bool OnlyBlanks(const char* tail)
{
    for (; tail && *tail; ++tail)
        if (*tail != ' ' && *tail != '\t' && *tail != '\n' && *tail != '\r' && *tail != ';')
            return false;
    return true;
}

bool RunSqliteImpl(CDBConnection& connection, const QString& sql, const QVariantList& params,
                   CQueryResult* result, CDbError* error)
{
    sqlite3* db = SqliteHandle(connection.Database());
    if (!db) {
        *error = CDbError(kE_FAIL, QStringLiteral("The database connection is not open"), kSource);
        return false;
    }
    const QByteArray utf8 = sql.toUtf8();
    sqlite3_stmt* stmt = nullptr;
    const char* tail = nullptr;
    int rc = sqlite3_prepare_v2(db, utf8.constData(), static_cast<int>(utf8.size()), &stmt, &tail);
    if (rc != SQLITE_OK) {
        *error = SqliteError(db, rc);
        return false;
    }
    if (!stmt) {
        *error =
            CDbError(kE_CommandError, QStringLiteral("The SQL text holds no statement"), kSource);
        return false;
    }
    if (!OnlyBlanks(tail)) {
        sqlite3_finalize(stmt);
        *error = CDbError(kE_CommandError,
                          QStringLiteral("Only one SQL statement can be run at a time"), kSource);
        return false;
    }
    if (!BindSqlite(stmt, params, connection.Dialect())) {
        const int expected = sqlite3_bind_parameter_count(stmt);
        sqlite3_finalize(stmt);
        *error = CDbError(kE_CommandError,
                          QStringLiteral("The statement expects %1 values, %2 were given")
                              .arg(expected)
                              .arg(params.size()),
                          kSource);
        return false;
    }
    const int columns = sqlite3_column_count(stmt);
    auto rows = std::make_shared<CPackedRows>(columns);
    if (result) {
        result->Clear();
        result->columns.reserve(columns);
        for (int c = 0; c < columns; ++c)
            result->columns << QString::fromUtf8(sqlite3_column_name(stmt, c));
    }
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        if (!result)
            continue;
        for (int c = 0; c < columns; ++c)
            PackColumn(*rows, stmt, c);
    }
    if (rc != SQLITE_DONE) {
        *error = SqliteError(db, rc);
        sqlite3_finalize(stmt);
        if (result)
            result->Clear();
        return false;
    }
    if (result) {
        result->SetStore(rows, rows->Rows());
        result->rowsAffected = columns == 0 ? sqlite3_changes64(db) : -1;
        result->lastInsertId = QVariant(static_cast<qlonglong>(sqlite3_last_insert_rowid(db)));
    }
    sqlite3_finalize(stmt);
    return true;
}

} // namespace

namespace BackendRunners {

bool RunSqlite(CDBConnection& connection, const QString& sql, const QVariantList& params,
               CQueryResult* result, CDbError* error)
{
    return RunSqliteImpl(connection, sql, params, result, error);
}

bool RunSqliteScript(CDBConnection& connection, const QString& script, CDbError* error)
{
    sqlite3* db = SqliteHandle(connection.Database());
    if (!db) {
        *error = CDbError(kE_FAIL, QStringLiteral("The database connection is not open"), kSource);
        return false;
    }
    char* message = nullptr;
    const int rc = sqlite3_exec(db, script.toUtf8().constData(), nullptr, nullptr, &message);
    if (rc != SQLITE_OK) {
        *error = SqliteError(db, rc);
        if (message) {
            error->description = QString::fromUtf8(message);
            sqlite3_free(message);
        }
        return false;
    }
    return true;
}

} // namespace BackendRunners
