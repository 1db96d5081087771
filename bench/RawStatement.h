#pragma once

#include "bench/RawSqlite.h"
#include "data/BackendRunners.h"
#include "data/DBConnection.h"
#include "data/MyAdoRecordSet.h"
#include "data/SqlDialect.h"
#include "data/SqlExecutor.h"

#include <QByteArray>
#include <QSqlDriver>
#include <QString>
#include <QVariantList>

#include <libpq-fe.h>
#include <sqlite3.h>

#include <string>
#include <vector>

// A statement of the program run directly through SQLite's own interface and
// through libpq: the very text the program sends (its SELECT after the
// dialect's rewriting) with the same values, every column of every row read
// in its own type, so that a baseline does the program's database work and
// nothing else.

// The text a record set opens with: its SELECT as the back end receives it.
inline QString ProgramStatement(CDBConnection& connection, const CMyAdoRecordSet& rs)
{
    QString select;
    rs.BuildSelect(select, nullptr, nullptr);
    return CSqlExecutor::Translate(connection, select);
}

// The values in the form the program binds them: numbers as numbers, the
// rest (dates too) as the dialect's text.
inline QVariantList ProgramValues(const CDBConnection& connection, const QVariantList& values)
{
    QVariantList out;
    for (const QVariant& v : values)
        out << connection.Dialect().ToDbValue(v);
    return out;
}

// ---- SQLite ----------------------------------------------------------------------------

inline void BindSqliteValues(sqlite3_stmt* stmt, const QVariantList& values)
{
    for (int i = 0; i < values.size(); ++i) {
        const QVariant& v = values.at(i);
        switch (v.metaType().id()) {
        case QMetaType::Int:
        case QMetaType::LongLong:
            sqlite3_bind_int64(stmt, i + 1, v.toLongLong());
            break;
        case QMetaType::Double:
            sqlite3_bind_double(stmt, i + 1, v.toDouble());
            break;
        default:
            sqlite3_bind_text(stmt, i + 1, v.toString().toUtf8().constData(), -1, SQLITE_TRANSIENT);
            break;
        }
    }
}

// Steps the bound statement to its end, reading each column of each row in
// its own type; a checksum. The statement is reset for its next run.
inline qint64 ReadSqliteRows(sqlite3_stmt* stmt, qint64* rows)
{
    qint64 sum = 0;
    *rows = 0;
    const int columns = sqlite3_column_count(stmt);
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        ++*rows;
        for (int c = 0; c < columns; ++c) {
            switch (sqlite3_column_type(stmt, c)) {
            case SQLITE_INTEGER:
                sum += sqlite3_column_int64(stmt, c);
                break;
            case SQLITE_FLOAT:
                sum += static_cast<qint64>(sqlite3_column_double(stmt, c));
                break;
            case SQLITE_TEXT:
                sum += sqlite3_column_bytes(stmt, c) + sqlite3_column_text(stmt, c)[0];
                break;
            default:
                break;
            }
        }
    }
    sqlite3_reset(stmt);
    return sum;
}

// The statement prepared once, as the program keeps it.
class CRawSqliteStatement {
public:
    CRawSqliteStatement(sqlite3* db, const QString& sql, const QVariantList& values)
        : m_values(values)
    {
        sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &m_stmt, nullptr);
    }
    ~CRawSqliteStatement() { sqlite3_finalize(m_stmt); }
    CRawSqliteStatement(const CRawSqliteStatement&) = delete;
    CRawSqliteStatement& operator=(const CRawSqliteStatement&) = delete;

    qint64 Read(qint64* rows)
    {
        BindSqliteValues(m_stmt, m_values);
        return ReadSqliteRows(m_stmt, rows);
    }

private:
    sqlite3_stmt* m_stmt = nullptr;
    QVariantList m_values;
};

// ---- PostgreSQL ------------------------------------------------------------------------

// The program's own server connection, for a baseline that should meet the
// same server process as the program does.
inline PGconn* ProgramHandle(CDBConnection& connection)
{
    const QVariant handle = connection.Database().driver()->handle();
    return *static_cast<PGconn* const*>(handle.constData());
}

// Sums the cells of one result's rows.
inline qint64 SumPgCells(const PGresult* r)
{
    qint64 sum = 0;
    const int columns = PQnfields(r);
    for (int row = 0; row < PQntuples(r); ++row)
        for (int c = 0; c < columns; ++c)
            if (!PQgetisnull(r, row, c))
                sum += PQgetlength(r, row, c) + PQgetvalue(r, row, c)[0];
    return sum;
}

// The statement prepared once on the server, as the program prepares a
// statement it runs again; read streamed (libpq's single-row mode, as the
// program reads forward) or whole (as the program takes a snapshot).
class CRawPgStatement {
public:
    CRawPgStatement(PGconn* conn, const QByteArray& name, const QString& sql,
                    const QVariantList& values)
        : m_conn(conn)
        , m_name(name)
    {
        // '?' marks to $1, $2 ... as the program numbers them.
        int n = 0;
        const QByteArray text = BackendRunners::NumberPlaceholders(sql, &n).toUtf8();
        PQclear(PQprepare(m_conn, m_name.constData(), text.constData(), n, nullptr));
        for (const QVariant& v : values)
            m_storage.push_back(v.metaType().id() == QMetaType::Double
                                    ? QByteArray::number(v.toDouble(), 'g', 17)
                                    : v.toString().toUtf8());
        for (const QByteArray& v : m_storage)
            m_values.push_back(v.constData());
    }
    CRawPgStatement(const CRawPgStatement&) = delete;
    CRawPgStatement& operator=(const CRawPgStatement&) = delete;

    qint64 Read(bool singleRow, qint64* rows)
    {
        *rows = 0;
        qint64 sum = 0;
        const int n = static_cast<int>(m_values.size());
        if (!singleRow) {
            PGresult* r =
                PQexecPrepared(m_conn, m_name.constData(), n, m_values.data(), nullptr, nullptr, 0);
            *rows = PQntuples(r);
            sum = SumPgCells(r);
            PQclear(r);
            return sum;
        }
        PQsendQueryPrepared(m_conn, m_name.constData(), n, m_values.data(), nullptr, nullptr, 0);
        PQsetSingleRowMode(m_conn);
        while (PGresult* r = PQgetResult(m_conn)) {
            *rows += PQntuples(r);
            sum += SumPgCells(r);
            PQclear(r);
        }
        return sum;
    }

private:
    PGconn* m_conn;
    QByteArray m_name;
    std::vector<QByteArray> m_storage;
    std::vector<const char*> m_values;
};
