#include "data/BackendRunners.h"

#include "data/DBConnection.h"

#include <QSqlDriver>

#include <libpq-fe.h>

#include <cmath>
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
    void operator()(PGresult* r) const { PQclear(r); }
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

CDbError ErrorOf(PGconn* conn, const PGresult* result)
{
    QString text =
        QString::fromUtf8(result ? PQresultErrorMessage(result) : PQerrorMessage(conn)).trimmed();
    if (text.startsWith(QLatin1String("ERROR:")))
        text = text.mid(6).trimmed();
    if (text.isEmpty())
        text = QStringLiteral("Unknown database error");
    const QString state =
        result ? QString::fromLatin1(PQresultErrorField(result, PG_DIAG_SQLSTATE)) : QString();
    HRESULT code = kE_CommandError;
    if (PQstatus(conn) != CONNECTION_OK || state.startsWith(QLatin1String("08")) ||
        state.startsWith(QLatin1String("57P")))
        code = kE_FAIL;
    else if (state.startsWith(QLatin1String("23")))
        code = kE_IntegrityViolation;
    else if (state == QLatin1String("55P03") || state == QLatin1String("57014"))
        code = kE_Timeout; // lock_timeout or statement_timeout ran out
    return CDbError(code, text, kSource, state);
}

// The rows as libpq delivered them, converted cell by cell when asked.
class CPgRows : public IRowStore {
public:
    explicit CPgRows(PGresult* result)
        : m_result(result)
    {
        const int columns = PQnfields(result);
        m_types.reserve(static_cast<std::size_t>(columns));
        for (int c = 0; c < columns; ++c)
            m_types.push_back(TypeOf(PQftype(result, c)));
    }

    CellType Type(int row, int column) const override
    {
        return PQgetisnull(m_result.get(), row, column) ? CellType::Null
                                                        : m_types[static_cast<std::size_t>(column)];
    }

    qint64 Int(int row, int column, bool* ok) const override
    {
        const char* text = PQgetvalue(m_result.get(), row, column);
        if (m_types[static_cast<std::size_t>(column)] == CellType::Bool) {
            *ok = true;
            return text[0] == 't' ? 1 : 0;
        }
        qint64 value = 0;
        *ok = RowStoreText::ToInt(text, PQgetlength(m_result.get(), row, column), &value);
        return value;
    }

    double Double(int row, int column, bool* ok) const override
    {
        const char* text = PQgetvalue(m_result.get(), row, column);
        const int length = PQgetlength(m_result.get(), row, column);
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

    QString Text(int row, int column) const override
    {
        if (m_types[static_cast<std::size_t>(column)] == CellType::Blob)
            return QString::fromUtf8(Bytes(row, column));
        const QString text = QString::fromUtf8(PQgetvalue(m_result.get(), row, column),
                                               PQgetlength(m_result.get(), row, column));
        return m_dialect.FromDbText(text);
    }

    QByteArray Bytes(int row, int column) const override
    {
        const char* text = PQgetvalue(m_result.get(), row, column);
        if (m_types[static_cast<std::size_t>(column)] != CellType::Blob)
            return QByteArray(text, PQgetlength(m_result.get(), row, column));
        // Hex or escape form, whichever the session's bytea_output gives.
        size_t length = 0;
        unsigned char* bytes =
            PQunescapeBytea(reinterpret_cast<const unsigned char*>(text), &length);
        if (!bytes)
            return QByteArray();
        QByteArray out(reinterpret_cast<const char*>(bytes), static_cast<qsizetype>(length));
        PQfreemem(bytes);
        return out;
    }

    CDateTime Date(int row, int column, bool* ok) const override
    {
        const CDateTime value = RowStoreText::ToDate(PQgetvalue(m_result.get(), row, column),
                                                     PQgetlength(m_result.get(), row, column));
        *ok = value.IsValid();
        return value;
    }

private:
    static CellType TypeOf(Oid type)
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

    Result m_result;
    std::vector<CellType> m_types;
    CSqlDialect m_dialect{kProviderPostgres};
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

bool RunPostgres(CDBConnection& connection, const QString& sql, const QVariantList& params,
                 CQueryResult* result, CDbError* error)
{
    PGconn* conn = Handle(connection);
    if (!conn) {
        *error = CDbError(kE_FAIL, QStringLiteral("The database connection is not open"), kSource);
        return false;
    }
    int expected = 0;
    const QByteArray text = NumberPlaceholders(sql, &expected).toUtf8();
    if (expected != params.size()) {
        *error = CDbError(kE_CommandError,
                          QStringLiteral("The statement expects %1 values, %2 were given")
                              .arg(expected)
                              .arg(params.size()),
                          kSource);
        return false;
    }
    const Params p = EncodeParams(params, connection.Dialect());
    Result r(PQexecParams(conn, text.constData(), static_cast<int>(params.size()), nullptr,
                          p.values.data(), p.lengths.data(), p.formats.data(), 0));
    const ExecStatusType status = r ? PQresultStatus(r.get()) : PGRES_FATAL_ERROR;
    if (status != PGRES_TUPLES_OK && status != PGRES_COMMAND_OK) {
        *error = ErrorOf(conn, r.get());
        return false;
    }
    if (!result)
        return true;
    result->Clear();
    const int columns = PQnfields(r.get());
    result->columns.reserve(columns);
    for (int c = 0; c < columns; ++c)
        result->columns << QString::fromUtf8(PQfname(r.get(), c));
    const char* affected = PQcmdTuples(r.get());
    result->rowsAffected = (affected && *affected) ? QByteArray(affected).toLongLong() : -1;
    const int rows = PQntuples(r.get());
    result->SetStore(std::make_shared<CPgRows>(r.release()), rows);
    return true;
}

bool RunPostgresScript(CDBConnection& connection, const QString& script, CDbError* error)
{
    PGconn* conn = Handle(connection);
    if (!conn) {
        *error = CDbError(kE_FAIL, QStringLiteral("The database connection is not open"), kSource);
        return false;
    }
    // PQexec runs several statements in one text; the last result tells.
    Result r(PQexec(conn, script.toUtf8().constData()));
    const ExecStatusType status = r ? PQresultStatus(r.get()) : PGRES_FATAL_ERROR;
    if (status != PGRES_TUPLES_OK && status != PGRES_COMMAND_OK && status != PGRES_EMPTY_QUERY) {
        *error = ErrorOf(conn, r.get());
        return false;
    }
    return true;
}

} // namespace BackendRunners
