#include "data/BackendRunners.h"

#include "data/DBConnection.h"
#include "data/LibPq.h"
#include "data/PgWait.h"
#include "data/RowCursor.h"
#include "data/StatementCache.h"
#include "platform/Characters.h"

#include <QSqlDriver>

#include <cmath>
#include <cstring>
#include <deque>
#include <limits>
#include <memory>
#include <vector>

namespace {

const QString kSource = QStringLiteral("Database");

// Type ids of the built-in PostgreSQL types the program reads.
enum : Oid {
    kBoolOid = 16,
    kByteaOid = 17,
    kInt8Oid = 20,
    kInt2Oid = 21,
    kInt4Oid = 23,
    kOidOid = 26,
    kFloat4Oid = 700,
    kFloat8Oid = 701,
    kDateOid = 1082,
    kTimeOid = 1083,
    kTimestampOid = 1114,
    kTimestampTzOid = 1184,
    kNumericOid = 1700,
};

struct ResultDeleter {
    void operator()(PGresult* r) const { Pq().PQclear(r); }
};
using Result = std::unique_ptr<PGresult, ResultDeleter>;

PGconn* Handle(CDBConnection& connection)
{
    QSqlDatabase& db = connection.Database();
    if (!db.isValid() || !db.driver())
        return nullptr;
    const QVariant handle = db.driver()->handle();
    if (!handle.isValid() ||
        (qstrcmp(handle.typeName(), "PGconn*") != 0 && qstrcmp(handle.typeName(), "pg_conn*") != 0))
        return nullptr;
    return *static_cast<PGconn* const*>(handle.constData());
}

CDbError ErrorOf(PGconn* conn, const PGresult* result, const CPgAnswer& answer = {})
{
    return PgError(conn, result, answer);
}

CellType TypeOf(Oid type)
{
    switch (type) {
    case kBoolOid:
        return CellType::Bool;
    case kInt2Oid:
    case kInt4Oid:
    case kInt8Oid:
    case kOidOid:
        return CellType::Int;
    case kFloat4Oid:
    case kFloat8Oid:
    case kNumericOid:
        return CellType::Double;
    case kDateOid:
    case kTimestampOid:
    case kTimestampTzOid:
    case kTimeOid:
        return CellType::Date;
    case kByteaOid:
        return CellType::Blob;
    default:
        return CellType::Text;
    }
}

std::vector<CellType> TypesOf(const PGresult* result)
{
    std::vector<CellType> types;
    const int columns = Pq().PQnfields(result);
    types.reserve(static_cast<std::size_t>(columns));
    for (int c = 0; c < columns; ++c)
        types.push_back(TypeOf(Pq().PQftype(result, c)));
    return types;
}

// A numeric's text as the file database gives the same value: without the
// zeros the column's scale adds ("320.0000" reads "320", "12.5000" "12.5").
QString PlainNumeric(const char* text, int length)
{
    QString out = QString::fromLatin1(text, length);
    if (out.contains(QLatin1Char('.')) && !out.contains(QLatin1Char('e')) &&
        !out.contains(QLatin1Char('E'))) {
        while (out.endsWith(QLatin1Char('0')))
            out.chop(1);
        if (out.endsWith(QLatin1Char('.')))
            out.chop(1);
        if (out == QLatin1String("-0"))
            out = QStringLiteral("0");
    }
    return out;
}

// The conversions of a cell libpq delivered as text, by its column's type.
struct CPgCell {
    const PGresult* result;
    int row;
    int column;
    CellType type;

    bool IsNull() const { return Pq().PQgetisnull(result, row, column) != 0; }
    const char* Data() const { return Pq().PQgetvalue(result, row, column); }
    int Length() const { return Pq().PQgetlength(result, row, column); }

    qint64 Int(bool* ok) const
    {
        if (type == CellType::Bool) {
            *ok = true;
            return Data()[0] == 't' ? 1 : 0;
        }
        qint64 value = 0;
        *ok = RowStoreText::ToInt(Data(), Length(), &value);
        return value;
    }

    double Double(bool* ok) const
    {
        const char* text = Data();
        const int length = Length();
        double value = 0;
        *ok = RowStoreText::ToDouble(text, length, &value);
        if (!*ok) {
            const QByteArray raw = QByteArray::fromRawData(text, length);
            *ok = true;
            if (raw == "NaN")
                value = std::numeric_limits<double>::quiet_NaN();
            else if (raw == "Infinity")
                value = std::numeric_limits<double>::infinity();
            else if (raw == "-Infinity")
                value = -std::numeric_limits<double>::infinity();
            else if (raw == "t" || raw == "f")
                value = raw == "t" ? 1 : 0;
            else
                *ok = false;
        }
        return value;
    }

    QString Text() const
    {
        if (type == CellType::Blob)
            return TextFromUtf8(Bytes());
        if (Pq().PQftype(result, column) == kNumericOid)
            return PlainNumeric(Data(), Length());
        static const CSqlDialect dialect(kProviderPostgres);
        return dialect.FromDbText(TextFromUtf8(Data(), Length()));
    }

    QByteArray Bytes() const
    {
        if (type != CellType::Blob)
            return QByteArray(Data(), Length());
        // Hex or escape form, whichever the session's bytea_output gives.
        size_t length = 0;
        unsigned char* bytes =
            Pq().PQunescapeBytea(reinterpret_cast<const unsigned char*>(Data()), &length);
        if (!bytes)
            return QByteArray();
        QByteArray out(reinterpret_cast<const char*>(bytes), static_cast<qsizetype>(length));
        Pq().PQfreemem(bytes);
        return out;
    }

    CDateTime Date(bool* ok) const
    {
        const CDateTime value = RowStoreText::ToDate(Data(), Length());
        *ok = value.IsValid();
        return value;
    }
};

// The cell as a text view, which the binding reads with one lookup. Cells
// whose reading differs from a plain text's (booleans, bytes, and the words
// the server writes for special numbers) go through CPgCell instead.
bool PeekPg(const PGresult* result, int row, int column, CellType type, CCellView* view)
{
    if (type == CellType::Bool || type == CellType::Blob)
        return false;
    if (Pq().PQgetisnull(result, row, column)) {
        *view = CCellView();
        return true;
    }
    const char* data = Pq().PQgetvalue(result, row, column);
    const int length = Pq().PQgetlength(result, row, column);
    if (length > 0 && length <= 9 &&
        (data[0] == 'N' || data[0] == 'I' || data[0] == '-' || data[0] == 't' || data[0] == 'f')) {
        const QByteArray raw = QByteArray::fromRawData(data, length);
        if (raw == "NaN" || raw == "Infinity" || raw == "-Infinity" || raw == "t" || raw == "f")
            return false;
    }
    // A numeric's scale zeros are left out, as the file database shows the
    // value ("320.0000" reads "320"); the view just ends sooner.
    if (type == CellType::Double && length > 0 && data[length - 1] == '0' &&
        std::memchr(data, '.', static_cast<std::size_t>(length)) &&
        !std::memchr(data, 'e', static_cast<std::size_t>(length)) &&
        !std::memchr(data, 'E', static_cast<std::size_t>(length))) {
        int end = length;
        while (data[end - 1] == '0')
            --end;
        if (data[end - 1] == '.')
            --end;
        // "-0.00" reads "0" there.
        if (end == 2 && data[0] == '-' && data[1] == '0')
            return false;
        view->type = CellType::Text;
        view->data = data;
        view->length = end;
        return true;
    }
    view->type = CellType::Text;
    view->data = data;
    view->length = length;
    return true;
}

// The rows as libpq delivered them, converted cell by cell when asked.
class CPgRows : public IRowStore {
public:
    explicit CPgRows(PGresult* result)
        : m_result(result)
        , m_types(TypesOf(result))
    {}

    CellType Type(int row, int column) const override
    {
        return Pq().PQgetisnull(m_result.get(), row, column)
                   ? CellType::Null
                   : m_types[static_cast<std::size_t>(column)];
    }
    qint64 Int(int row, int column, bool* ok) const override { return Cell(row, column).Int(ok); }
    double Double(int row, int column, bool* ok) const override
    {
        return Cell(row, column).Double(ok);
    }
    QString Text(int row, int column) const override { return Cell(row, column).Text(); }
    QByteArray Bytes(int row, int column) const override { return Cell(row, column).Bytes(); }
    CDateTime Date(int row, int column, bool* ok) const override
    {
        return Cell(row, column).Date(ok);
    }
    bool Peek(int row, int column, CCellView* cell) const override
    {
        return PeekPg(m_result.get(), row, column, m_types[static_cast<std::size_t>(column)], cell);
    }

private:
    CPgCell Cell(int row, int column) const
    {
        return {m_result.get(), row, column, m_types[static_cast<std::size_t>(column)]};
    }

    Result m_result;
    std::vector<CellType> m_types;
};

// Values go as text, except bytes, which go as binary so nothing escapes them.
struct Params {
    std::vector<QByteArray> storage;
    std::vector<const char*> values;
    std::vector<int> lengths;
    std::vector<int> formats;
};

Params EncodeParams(const QVariantList& params, const CSqlDialect& dialect)
{
    Params p;
    p.storage.reserve(params.size());
    for (const QVariant& raw : params) {
        const QVariant v = dialect.ToDbValue(raw);
        if (v.isNull()) {
            p.storage.emplace_back();
            p.values.push_back(nullptr);
            p.lengths.push_back(0);
            p.formats.push_back(0);
            continue;
        }
        QByteArray bytes;
        int format = 0;
        switch (v.metaType().id()) {
        case QMetaType::Double:
        case QMetaType::Float:
            bytes = QByteArray::number(v.toDouble(), 'g', 17);
            break;
        case QMetaType::QByteArray:
            bytes = v.toByteArray();
            format = 1;
            break;
        default:
            bytes = v.toString().toUtf8();
            break;
        }
        p.storage.push_back(bytes);
        p.values.push_back(p.storage.back().constData());
        p.lengths.push_back(static_cast<int>(p.storage.back().size()));
        p.formats.push_back(format);
    }
    return p;
}

} // namespace

namespace BackendRunners {

QString NumberPlaceholders(const QString& sql, int* count)
{
    QString out;
    out.reserve(sql.size() + 8);
    int n = 0;
    const int size = sql.size();
    for (int i = 0; i < size; ++i) {
        const QChar c = sql.at(i);
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            const int end = sql.indexOf(c, i + 1);
            const int stop = end < 0 ? size : end + 1;
            out += QStringView(sql).mid(i, stop - i);
            i = stop - 1;
        } else if (c == QLatin1Char('-') && i + 1 < size && sql.at(i + 1) == QLatin1Char('-')) {
            const int end = sql.indexOf(QLatin1Char('\n'), i);
            const int stop = end < 0 ? size : end;
            out += QStringView(sql).mid(i, stop - i);
            i = stop - 1;
        } else if (c == QLatin1Char('?')) {
            out += QLatin1Char('$') + QString::number(++n);
        } else {
            out += c;
        }
    }
    *count = n;
    return out;
}

} // namespace BackendRunners

namespace {

// Every result of the statement sent, waited for within the limit: the first
// failure, else the last result (as PQexec gives it). Null when the server
// gave no answer (answer->noAnswer).
Result WaitAll(CDBConnection& connection, PGconn* conn, CPgAnswer* answer)
{
    Result kept;
    while (PGresult* next = PgNextResult(connection, conn, answer)) {
        Result r(next);
        const ExecStatusType status = Pq().PQresultStatus(next);
        const bool failed = status != PGRES_TUPLES_OK && status != PGRES_COMMAND_OK &&
                            status != PGRES_EMPTY_QUERY && status != PGRES_SINGLE_TUPLE;
        const bool keptFailed = kept && Pq().PQresultStatus(kept.get()) == PGRES_FATAL_ERROR;
        if (!keptFailed || failed)
            kept = std::move(r);
        if (answer->noAnswer.IsError())
            break;
    }
    if (answer->noAnswer.IsError())
        return Result();
    return kept;
}

// The statement of a text as the server runs it: prepared on its second use.
// False with the error when the connection is not open, the values do not fit
// the text, or the server refuses to prepare it.
struct CPgStatementRun {
    PGconn* conn = nullptr;
    CStatementCache::CPgStatement* statement = nullptr;
    Params params;
};

bool PreparePg(CDBConnection& connection, const QString& sql, const QVariantList& values,
               CPgStatementRun* run, CDbError* error)
{
    run->conn = Handle(connection);
    if (!run->conn) {
        *error = CDbError(kE_FAIL, QStringLiteral("The database connection is not open"), kSource);
        return false;
    }
    // A cursor still reading holds the connection: its rows go to memory.
    connection.BufferOpenCursors();
    CStatementCache& cache = connection.Statements();
    CStatementCache::CPgStatement& s = cache.Postgres(sql);
    if (s.text.isEmpty()) {
        s.text = BackendRunners::NumberPlaceholders(sql, &s.parameters).toUtf8();
        s.preparable = CStatementCache::Preparable(s.text);
    }
    run->statement = &s;
    if (s.parameters != values.size()) {
        *error = CDbError(kE_CommandError,
                          QStringLiteral("The statement expects %1 values, %2 were given")
                              .arg(s.parameters)
                              .arg(values.size()),
                          kSource);
        return false;
    }
    run->params = EncodeParams(values, connection.Dialect());
    if (s.preparable && s.name.isEmpty() && s.uses >= 1) {
        const QByteArray name = cache.NewPostgresName();
        if (!name.isEmpty()) {
            CPgAnswer answer;
            Result r;
            if (Pq().PQsendPrepare(run->conn, name.constData(), s.text.constData(), s.parameters,
                                   nullptr))
                r = WaitAll(connection, run->conn, &answer);
            if (!r || Pq().PQresultStatus(r.get()) != PGRES_COMMAND_OK) {
                *error = ErrorOf(run->conn, r.get(), answer);
                return false;
            }
            s.name = name;
        }
    }
    ++s.uses;
    return true;
}

// A prepared statement the server no longer takes as it was (its tables
// changed shape, or the session forgot it) is prepared afresh; outside a
// transaction the statement runs again at once.
bool RetryUnprepared(CDBConnection& connection, const QString& sql, CPgStatementRun& run,
                     const PGresult* failed)
{
    if (run.statement->name.isEmpty() || !failed)
        return false;
    const QByteArray state = Pq().PQresultErrorField(failed, PG_DIAG_SQLSTATE);
    if (state != "0A000" && state != "26000")
        return false;
    if (state == "0A000" && Pq().PQtransactionStatus(run.conn) == PQTRANS_IDLE &&
        Pq().PQsendQuery(run.conn, ("DEALLOCATE " + run.statement->name).constData())) {
        CPgAnswer answer;
        WaitAll(connection, run.conn, &answer);
        if (answer.noAnswer.IsError())
            return false;
    }
    connection.Statements().ForgetPostgres(sql);
    return Pq().PQtransactionStatus(run.conn) == PQTRANS_IDLE;
}

// Sends the statement without waiting for its answer.
bool SendPgQuery(const CPgStatementRun& run)
{
    const CStatementCache::CPgStatement& s = *run.statement;
    const int n = s.parameters;
    return s.name.isEmpty()
               ? Pq().PQsendQueryParams(run.conn, s.text.constData(), n, nullptr,
                                        run.params.values.data(), run.params.lengths.data(),
                                        run.params.formats.data(), 0)
               : Pq().PQsendQueryPrepared(run.conn, s.name.constData(), n, run.params.values.data(),
                                          run.params.lengths.data(), run.params.formats.data(), 0);
}

bool SendPg(const CPgStatementRun& run)
{
    if (!SendPgQuery(run))
        return false;
    Pq().PQsetSingleRowMode(run.conn);
    return true;
}

// The statement's result, waited for within the limit (see PgNextResult).
Result ExecPg(CDBConnection& connection, const CPgStatementRun& run, CPgAnswer* answer)
{
    if (!SendPgQuery(run))
        return Result();
    return WaitAll(connection, run.conn, answer);
}

bool IsFailure(const PGresult* r)
{
    const ExecStatusType status = r ? Pq().PQresultStatus(r) : PGRES_FATAL_ERROR;
    return status != PGRES_TUPLES_OK && status != PGRES_COMMAND_OK && status != PGRES_SINGLE_TUPLE;
}

// Rows as the server sends them, one result a row (libpq's single-row mode).
// Buffered rows wait in a queue of results.
class CPgCursor final : public CRowCursor {
public:
    CPgCursor(CDBConnection& connection, PGconn* conn)
        : CRowCursor(connection)
        , m_db(connection)
        , m_conn(conn)
    {}
    ~CPgCursor() override { StopReading(); }

    // Sends the statement and reads its first result; false with the error.
    bool Start(const CPgStatementRun& run, CDbError* error)
    {
        if (!SendPg(run)) {
            *error = ErrorOf(m_conn, nullptr);
            return false;
        }
        m_live = true;
        Result first(NextResult());
        if (IsFailure(first.get())) {
            *error = ErrorOf(m_conn, first.get(), m_answer);
            m_failedResult = std::move(first);
            StopReading();
            return false;
        }
        m_types = TypesOf(first.get());
        QStringList names;
        for (int c = 0; c < Pq().PQnfields(first.get()); ++c)
            names << QString::fromUtf8(Pq().PQfname(first.get(), c));
        SetColumns(std::move(names));
        Take(std::move(first));
        return true;
    }
    // The result of a failed start, for a retry.
    const PGresult* FailedResult() const { return m_failedResult.get(); }

    void Buffer() override
    {
        if (!m_live)
            return;
        while (m_live)
            Take(Result(NextResult()));
        Unregister();
        SetBuffered();
    }

    void Abandon() override
    {
        StopReading();
        m_queue.clear();
        m_current.reset();
    }

    CellType Type(int, int column) const override
    {
        if (!Valid(column) || Pq().PQgetisnull(m_current.get(), m_row, column))
            return CellType::Null;
        return m_types[static_cast<std::size_t>(column)];
    }
    qint64 Int(int, int column, bool* ok) const override
    {
        if (!Valid(column)) {
            *ok = false;
            return 0;
        }
        return Cell(column).Int(ok);
    }
    double Double(int, int column, bool* ok) const override
    {
        if (!Valid(column)) {
            *ok = false;
            return 0;
        }
        return Cell(column).Double(ok);
    }
    QString Text(int, int column) const override
    {
        return Valid(column) ? Cell(column).Text() : QString();
    }
    QByteArray Bytes(int, int column) const override
    {
        return Valid(column) ? Cell(column).Bytes() : QByteArray();
    }
    CDateTime Date(int, int column, bool* ok) const override
    {
        if (!Valid(column)) {
            *ok = false;
            return CDateTime();
        }
        return Cell(column).Date(ok);
    }
    bool Peek(int, int column, CCellView* cell) const override
    {
        return Valid(column) && PeekPg(m_current.get(), m_row, column,
                                       m_types[static_cast<std::size_t>(column)], cell);
    }

private:
    bool Fetch() override
    {
        if (m_current && ++m_row < Pq().PQntuples(m_current.get()))
            return true;
        m_current.reset();
        for (;;) {
            if (m_queue.empty()) {
                if (!m_live)
                    break;
                Result next(NextResult());
                // The usual case: the next row, straight from the server.
                if (next && Pq().PQresultStatus(next.get()) == PGRES_SINGLE_TUPLE) {
                    m_current = std::move(next);
                    m_row = 0;
                    return true;
                }
                Take(std::move(next));
                continue;
            }
            Result next = std::move(m_queue.front());
            m_queue.pop_front();
            if (Pq().PQntuples(next.get()) > 0) {
                m_current = std::move(next);
                m_row = 0;
                return true;
            }
        }
        if (m_pendingError.IsError())
            Fail(m_pendingError);
        Unregister();
        return false;
    }

    // One result of the statement: rows join the queue; the end or an error
    // frees the connection.
    // The next result within the time limit; a server that gave no answer
    // ends the statement with that error.
    PGresult* NextResult()
    {
        PGresult* r = PgNextResult(m_db, m_conn, &m_answer);
        if (m_answer.noAnswer.IsError()) {
            m_live = false;
            m_pendingError = m_answer.noAnswer;
        }
        return r;
    }

    // Reads the statement's remaining results and drops them: the
    // connection is free again once there are none.
    void Drain()
    {
        while (m_live && !m_db.GivenUp()) {
            PGresult* r = NextResult();
            if (!r)
                break;
            Pq().PQclear(r);
        }
        m_live = false;
    }

    void Take(Result r)
    {
        if (!r) {
            m_live = false;
            return;
        }
        const ExecStatusType status = Pq().PQresultStatus(r.get());
        if (status == PGRES_SINGLE_TUPLE ||
            (status == PGRES_TUPLES_OK && Pq().PQntuples(r.get()) > 0)) {
            m_queue.push_back(std::move(r));
            return;
        }
        if (IsFailure(r.get()))
            m_pendingError = ErrorOf(m_conn, r.get(), m_answer);
        // The closing result: nothing follows but the end.
        Drain();
    }

    void StopReading()
    {
        // A statement not read to its end is read and dropped: cancelling it
        // would abort the transaction it runs in.
        Drain();
        Unregister();
    }

    bool Valid(int column) const
    {
        return m_current && column >= 0 && column < static_cast<int>(m_types.size());
    }
    CPgCell Cell(int column) const
    {
        return {m_current.get(), m_row, column, m_types[static_cast<std::size_t>(column)]};
    }

    CDBConnection& m_db;
    PGconn* m_conn;
    CPgAnswer m_answer;
    bool m_live = false;
    std::deque<Result> m_queue;
    Result m_current;
    int m_row = 0;
    std::vector<CellType> m_types;
    CDbError m_pendingError;
    Result m_failedResult;
};

} // namespace

namespace BackendRunners {

bool RunPostgres(CDBConnection& connection, const QString& sql, const QVariantList& params,
                 CQueryResult* result, CDbError* error)
{
    CPgStatementRun run;
    if (!PreparePg(connection, sql, params, &run, error))
        return false;
    CPgAnswer answer;
    Result r(ExecPg(connection, run, &answer));
    if (IsFailure(r.get()) && !answer.noAnswer.IsError() &&
        RetryUnprepared(connection, sql, run, r.get()))
        r = ExecPg(connection, run, &answer);
    if (IsFailure(r.get())) {
        *error = ErrorOf(run.conn, r.get(), answer);
        return false;
    }
    if (!result)
        return true;
    result->Clear();
    const int columns = Pq().PQnfields(r.get());
    result->columns.reserve(columns);
    for (int c = 0; c < columns; ++c)
        result->columns << QString::fromUtf8(Pq().PQfname(r.get(), c));
    const char* affected = Pq().PQcmdTuples(r.get());
    result->rowsAffected = (affected && *affected) ? QByteArray(affected).toLongLong() : -1;
    const int rows = Pq().PQntuples(r.get());
    result->SetStore(std::make_shared<CPgRows>(r.release()), rows);
    return true;
}

std::unique_ptr<CRowCursor> OpenPostgresCursor(CDBConnection& connection, const QString& sql,
                                               const QVariantList& params, CDbError* error)
{
    CPgStatementRun run;
    if (!PreparePg(connection, sql, params, &run, error))
        return nullptr;
    auto cursor = std::make_unique<CPgCursor>(connection, run.conn);
    if (cursor->Start(run, error))
        return cursor;
    if (!RetryUnprepared(connection, sql, run, cursor->FailedResult()))
        return nullptr;
    cursor = std::make_unique<CPgCursor>(connection, run.conn);
    return cursor->Start(run, error) ? std::move(cursor) : nullptr;
}

bool RunPostgresScript(CDBConnection& connection, const QString& script, CDbError* error)
{
    connection.BufferOpenCursors();
    PGconn* conn = Handle(connection);
    if (!conn) {
        *error = CDbError(kE_FAIL, QStringLiteral("The database connection is not open"), kSource);
        return false;
    }
    // One text may hold several statements; the first failure tells.
    CPgAnswer answer;
    Result r;
    if (Pq().PQsendQuery(conn, script.toUtf8().constData()))
        r = WaitAll(connection, conn, &answer);
    const ExecStatusType status = r ? Pq().PQresultStatus(r.get()) : PGRES_FATAL_ERROR;
    if (status != PGRES_TUPLES_OK && status != PGRES_COMMAND_OK && status != PGRES_EMPTY_QUERY) {
        *error = ErrorOf(conn, r.get(), answer);
        return false;
    }
    return true;
}

} // namespace BackendRunners
