#include "data/SqlDialect.h"

#include "data/AdoTypes.h"
#include "data/ConnectionString.h"
#include "platform/Characters.h"

namespace {

// Whether a word between `before` and `after` stands beside a comparison
// operator (=, <>, !=, <, >, <=, >=), as a value compared with another.
bool IsComparedValue(QStringView before, QStringView after)
{
    before = before.trimmed();
    after = after.trimmed();
    const auto isOperator = [](QChar c) {
        return c == QLatin1Char('=') || c == QLatin1Char('<') || c == QLatin1Char('>');
    };
    return (!before.isEmpty() && isOperator(before.back())) ||
           (!after.isEmpty() &&
            (isOperator(after.front()) || after.startsWith(QLatin1String("!="))));
}

bool IsIdentStart(QChar c)
{
    return c.isLetter() || c == QLatin1Char('_');
}

bool IsIdentChar(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('$');
}

bool IsPlainIdentifier(QStringView name)
{
    if (name.isEmpty() || !IsIdentStart(name.front()))
        return false;
    for (QChar c : name)
        if (!IsIdentChar(c))
            return false;
    return true;
}

} // namespace

int CSqlDialect::DetectProvider(const QString& connectionString)
{
    const QString provider = CConnectionString(connectionString).Value(QStringLiteral("Provider"));
    if (provider == QLatin1String("PostgreSQL"))
        return kProviderPostgres;
    if (provider == QLatin1String("SQLite"))
        return kProviderSqlite;
    return kProviderUnknown;
}

QString CSqlDialect::DriverName(int kind)
{
    switch (kind) {
    case kProviderPostgres:
        return QStringLiteral("QPSQL");
    case kProviderSqlite:
        return QStringLiteral("QSQLITE");
    default:
        return QString();
    }
}

QString CSqlDialect::DateDelimiter() const
{
    return m_kind == kProviderSqlite ? QStringLiteral("#") : QStringLiteral("'");
}

QString CSqlDialect::DateLiteral(const CDateTime& value, bool withTime) const
{
    const CDateTime v = withTime ? value : CDateTime(value.Date());
    return QLatin1Char('\'') + v.ToIsoText() + QLatin1Char('\'');
}

QString CSqlDialect::DateLiteral(const QDate& value) const
{
    return DateLiteral(CDateTime(value), false);
}

QString CSqlDialect::QuoteText(const QString& text)
{
    QString quoted = text;
    quoted.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + quoted + QLatin1Char('\'');
}

QString CSqlDialect::TextLiteral(const QString& text) const
{
    if (m_kind != kProviderPostgres || !text.contains(QLatin1Char('\\')))
        return QuoteText(text);
    // An escape string means the same with standard_conforming_strings off.
    QString escaped = text;
    escaped.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    escaped.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1String("E'") + escaped + QLatin1Char('\'');
}

QString CSqlDialect::TextCondition(const QString& column, const QString& op, const QString& value,
                                   bool textColumn) const
{
    const QString subject = textColumn ? column : QStringLiteral("CAST(%1 AS TEXT)").arg(column);
    const bool like = op == QLatin1String("LIKE") || op == QLatin1String("NOT LIKE");
    if (m_kind == kProviderPostgres) {
        if (like) {
            // A backslash escapes in a pattern here; not in the file back end's.
            QString pattern = value;
            pattern.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
            return subject +
                   (op == QLatin1String("LIKE") ? QLatin1String(" ILIKE ")
                                                : QLatin1String(" NOT ILIKE ")) +
                   TextLiteral(pattern);
        }
        // Order by characters, as the file back end does, whatever the
        // server's language.
        const bool ordering = op != QLatin1String("=") && op != QLatin1String("<>");
        return QStringLiteral("lower(%1)%2 %3 lower(%4)")
            .arg(subject, ordering ? QStringLiteral(" COLLATE \"C\"") : QString(), op,
                 TextLiteral(value));
    }
    // lower() of this connection knows every letter (LIKE and NOCASE only
    // those of ASCII).
    return QStringLiteral("lower(%1) %2 lower(%3)").arg(subject, op, TextLiteral(value));
}

QString CSqlDialect::NumberText(const QString& column, int type) const
{
    // No value has no text (NULL), on both back ends.
    switch (type) {
    case adSingle:
        // The shortest text of the single, as the server writes a real.
        return m_kind == kProviderPostgres ? QStringLiteral("CAST(%1 AS TEXT)").arg(column)
                                           : QStringLiteral("SingleText(%1)").arg(column);
    case adDouble:
    case adCurrency: {
        // Four decimals at most, without trailing zeros. printf makes "0"
        // of NULL.
        const QString fixed =
            m_kind == kProviderPostgres
                ? QStringLiteral("CAST(CAST(%1 AS NUMERIC(19,4)) AS TEXT)").arg(column)
                : QStringLiteral("CASE WHEN %1 IS NOT NULL THEN printf('%.4f', %1) END")
                      .arg(column);
        return QStringLiteral("rtrim(rtrim(%1, '0'), '.')").arg(fixed);
    }
    default:
        return QStringLiteral("CAST(%1 AS TEXT)").arg(column);
    }
}

QString CSqlDialect::SelectColumn(const QString& name) const
{
    if (m_kind != kProviderPostgres)
        return name;
    QString alias = name;
    alias.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QStringLiteral("%1 AS \"%2\"").arg(name, alias);
}

QStringList CSqlDialect::ReadOnlyBeginStatements() const
{
    // A search runs once: compiling it would cost the server most of a
    // second of the search's time for little gain in reading its rows.
    if (m_kind == kProviderPostgres)
        return {QStringLiteral("BEGIN READ ONLY"),
                QStringLiteral("SET LOCAL statement_timeout = %1").arg(kSearchTimeLimitMs),
                QStringLiteral("SET LOCAL jit = off")};
    // A deferred transaction takes no write lock; query_only refuses writes.
    return {QStringLiteral("PRAGMA query_only = 1"), QStringLiteral("BEGIN DEFERRED")};
}

QStringList CSqlDialect::ReadOnlyEndStatements() const
{
    if (m_kind == kProviderPostgres)
        return {QStringLiteral("ROLLBACK")};
    return {QStringLiteral("ROLLBACK"), QStringLiteral("PRAGMA query_only = 0")};
}

QString CSqlDialect::Translate(const QString& sql) const
{
    QString out;
    out.reserve(sql.size() + 16);
    int limit = -1;
    const int n = sql.size();
    int i = 0;
    QString lastWord; // the previous keyword-like word, for TOP
    while (i < n) {
        const QChar c = sql.at(i);
        if (c == QLatin1Char('\'')) {
            // A string literal is copied as it stands, '' included.
            int j = i + 1;
            while (j < n) {
                if (sql.at(j) == QLatin1Char('\'')) {
                    if (j + 1 < n && sql.at(j + 1) == QLatin1Char('\'')) {
                        j += 2;
                        continue;
                    }
                    break;
                }
                ++j;
            }
            out += QStringView(sql).mid(i, qMin(j + 1, n) - i);
            i = j + 1;
            lastWord.clear();
            continue;
        }
        if (c == QLatin1Char('"')) {
            const int j = sql.indexOf(QLatin1Char('"'), i + 1);
            const int end = j < 0 ? n : j + 1;
            out += QStringView(sql).mid(i, end - i);
            i = end;
            lastWord.clear();
            continue;
        }
        if (c == QLatin1Char('[')) {
            const int j = sql.indexOf(QLatin1Char(']'), i + 1);
            if (j < 0) {
                out += QStringView(sql).mid(i);
                break;
            }
            const QStringView name = QStringView(sql).mid(i + 1, j - i - 1);
            if (m_kind == kProviderPostgres) {
                if (IsPlainIdentifier(name))
                    out += name;
                else
                    out += QLatin1Char('"') +
                           name.toString().toLower().replace(QLatin1String("\""),
                                                             QLatin1String("\"\"")) +
                           QLatin1Char('"');
            } else {
                out += QStringView(sql).mid(i, j - i + 1);
            }
            i = j + 1;
            lastWord.clear();
            continue;
        }
        if (c == QLatin1Char('#')) {
            const int j = sql.indexOf(QLatin1Char('#'), i + 1);
            if (j > i) {
                const CDateTime value = CDateTime::Parse(QStringView(sql).mid(i + 1, j - i - 1));
                if (value.IsValid()) {
                    out += DateLiteral(value, true);
                    i = j + 1;
                    lastWord.clear();
                    continue;
                }
            }
            out += c;
            ++i;
            continue;
        }
        if (c == QLatin1Char('&')) {
            out += QLatin1String("||");
            ++i;
            continue;
        }
        if (IsIdentStart(c)) {
            int j = i + 1;
            while (j < n && IsIdentChar(sql.at(j)))
                ++j;
            const QStringView word = QStringView(sql).mid(i, j - i);
            if (word.compare(QLatin1String("TOP"), Qt::CaseInsensitive) == 0 &&
                (lastWord.compare(QLatin1String("SELECT"), Qt::CaseInsensitive) == 0 ||
                 lastWord.compare(QLatin1String("DISTINCT"), Qt::CaseInsensitive) == 0)) {
                int k = j;
                while (k < n && sql.at(k).isSpace())
                    ++k;
                int m = k;
                while (m < n && sql.at(m).isDigit())
                    ++m;
                if (m > k) {
                    limit = QStringView(sql).mid(k, m - k).toInt();
                    i = m;
                    lastWord.clear();
                    continue;
                }
            }
            // Booleans are stored as 0 and 1 on both back ends: True and False
            // compared with a value are those numbers. Elsewhere (a function's
            // argument, IS TRUE) they are the back end's own.
            const bool isTrue = word.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0;
            if ((isTrue || word.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0) &&
                IsComparedValue(out, QStringView(sql).mid(j)))
                out += isTrue ? QLatin1Char('1') : QLatin1Char('0');
            else
                out += word;
            lastWord = word.toString();
            i = j;
            continue;
        }
        if (!c.isSpace())
            lastWord.clear();
        out += c;
        ++i;
    }
    if (limit >= 0) {
        while (!out.isEmpty() && (out.back().isSpace() || out.back() == QLatin1Char(';')))
            out.chop(1);
        out += QStringLiteral(" LIMIT %1").arg(limit);
    }
    return out;
}

QString CSqlDialect::ProcedureCall(const QString& name, int argumentCount) const
{
    QStringList marks;
    for (int i = 0; i < argumentCount; ++i)
        marks << QStringLiteral("?");
    return QStringLiteral("SELECT * FROM %1(%2)").arg(name, marks.join(QStringLiteral(", ")));
}

QString CSqlDialect::QuoteIdentifier(const QString& name) const
{
    QString n = name.trimmed();
    if (n.startsWith(QLatin1Char('[')) && n.endsWith(QLatin1Char(']')))
        n = n.mid(1, n.size() - 2);
    if (m_kind == kProviderPostgres)
        n = n.toLower();
    n.replace(QLatin1String("\""), QLatin1String("\"\""));
    return QLatin1Char('"') + n + QLatin1Char('"');
}

bool CSqlDialect::IsProcedureName(const QString& name)
{
    QString n = name.trimmed();
    if (n.startsWith(QLatin1Char('[')))
        n = n.mid(1);
    return n.startsWith(QLatin1String("sp_"), Qt::CaseInsensitive) ||
           n.startsWith(QLatin1String("up_"), Qt::CaseInsensitive);
}

QString CSqlDialect::NullSafeEquals(const QString& column) const
{
    if (m_kind == kProviderPostgres)
        return column + QStringLiteral(" IS NOT DISTINCT FROM ?");
    return column + QStringLiteral(" IS ?");
}

QString CSqlDialect::ReturningClause(const QString& keyColumn) const
{
    if (m_kind == kProviderPostgres && !keyColumn.isEmpty())
        return QStringLiteral(" RETURNING ") + keyColumn;
    return QString();
}

QString CSqlDialect::StageCopiesStatement(int rows) const
{
    // Many rows a statement: a year of copies is a few statements, not hundreds.
    QString sql = QStringLiteral(
        "INSERT INTO tblTimeSheet_ImportExport (EmpID, ProjID, OrderID, WorkDate, StartTime, "
        "StopTime, HoursWorked, TaskID, Comment, InvCost, WorkTypeID, TimeID, BatchID, "
        "OperationType, IgnoreThis) VALUES ");
    const QString row = QStringLiteral("(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, 0, 0)");
    for (int i = 0; i < rows; ++i) {
        if (i > 0)
            sql += QStringLiteral(", ");
        sql += row;
    }
    return sql;
}

QString CSqlDialect::DayStart(const QString& value) const
{
    if (m_kind == kProviderPostgres)
        return QStringLiteral("date_trunc('day', %1)").arg(value);
    // Stored dates are "yyyy-MM-dd HH:mm:ss" texts, compared as texts.
    return QStringLiteral("(date(%1) || ' 00:00:00')").arg(value);
}

QString CSqlDialect::NextDayStart(const QString& value) const
{
    if (m_kind == kProviderPostgres)
        return QStringLiteral("(date_trunc('day', %1) + interval '1 day')").arg(value);
    // Stored dates have the form "yyyy-MM-dd HH:mm:ss" (the tables check it),
    // so the day's texts end below its "24:00:00"; date() has no year 10000.
    return QStringLiteral("(date(%1) || ' 24:00:00')").arg(value);
}

QString CSqlDialect::RowMinute(const QString& workDate, const QString& time) const
{
    // As StoredMinutes: a time on a later day than the row's is the day's
    // end, and so is 23:59; otherwise hours and minutes. NULL stays NULL.
    // Read for every row an overlap check meets: the cheapest forms each
    // back end has (no numeric arithmetic on the server, no date parsing in
    // the file, whose dates are "yyyy-MM-dd HH:mm:ss" texts).
    if (m_kind == kProviderPostgres)
        return QStringLiteral("(CASE WHEN %1 >= %2 OR CAST(%1 AS TIME) >= TIME '23:59' THEN 1440 "
                              "ELSE CAST(floor(date_part('epoch', CAST(%1 AS TIME)) / 60) AS "
                              "INTEGER) END)")
            .arg(time, NextDayStart(workDate));
    return QStringLiteral("(CASE WHEN substr(%1, 1, 10) > substr(%2, 1, 10) OR substr(%1, 12, 5) = "
                          "'23:59' THEN 1440 ELSE CAST(substr(%1, 12, 2) AS INTEGER) * 60 + "
                          "CAST(substr(%1, 15, 2) AS INTEGER) END)")
        .arg(time, workDate);
}

QString CSqlDialect::RowOverlaps(const QString& alias, const QString& start,
                                 const QString& stop) const
{
    // The span's start is named first, then its stop.
    const QString workDate = alias + QStringLiteral(".WorkDate");
    return QStringLiteral("%1 > %2 AND %3 < %4")
        .arg(RowMinute(workDate, alias + QStringLiteral(".StopTime")), start,
             RowMinute(workDate, alias + QStringLiteral(".StartTime")), stop);
}

QVariantList CSqlDialect::DayRange(const QDate& day)
{
    return {QVariant::fromValue(CDateTime(day)), DayEnd(day)};
}

QVariant CSqlDialect::DayEnd(const QDate& day)
{
    return QVariant(day.toString(Qt::ISODate) + QStringLiteral(" 24:00:00"));
}

QString CSqlDialect::StagedClashCondition(const QString& staged) const
{
    // A booked row of the same employee and day (whatever time of day the
    // booked WorkDate carries) that overlaps the staged copy: CRowTimes::Overlaps.
    const QString workDate = staged + QStringLiteral(".WorkDate");
    return QStringLiteral("EXISTS (SELECT 1 FROM tblTimeSheet t "
                          "WHERE t.EmpID = %1.EmpID AND t.WorkDate >= %2 AND t.WorkDate < %3 "
                          "AND %4)")
        .arg(staged, DayStart(workDate), NextDayStart(workDate),
             RowOverlaps(QStringLiteral("t"),
                         RowMinute(workDate, staged + QStringLiteral(".StartTime")),
                         RowMinute(workDate, staged + QStringLiteral(".StopTime"))));
}

QString CSqlDialect::ClashMarkStatement() const
{
    if (m_kind == kProviderPostgres)
        return QStringLiteral("SELECT qupdTimeSheetClash(?, ?)");
    return QStringLiteral("UPDATE tblTimeSheet_ImportExport SET IgnoreThis = 1 "
                          "WHERE EmpID = ? AND BatchID = ? AND ") +
           StagedClashCondition(QStringLiteral("tblTimeSheet_ImportExport"));
}

QString CSqlDialect::ScheduleImportStatement() const
{
    if (m_kind == kProviderPostgres)
        return QStringLiteral("SELECT qappTimeSheet_Import(?, ?)");
    return QStringLiteral(
        "INSERT INTO tblTimeSheet (EmpID, ProjID, OrderID, WorkDate, StartTime, StopTime, "
        "HoursWorked, TaskID, Comment, InvCost, WorkTypeID, TimeID) "
        "SELECT EmpID, ProjID, OrderID, WorkDate, StartTime, StopTime, HoursWorked, TaskID, "
        "Comment, InvCost, WorkTypeID, TimeID FROM tblTimeSheet_ImportExport "
        "WHERE EmpID = ? AND BatchID = ? AND IgnoreThis = 0");
}

QString CSqlDialect::ScheduleFreeIdStatement() const
{
    // The next free number above a taken one ends the run of taken numbers
    // that starts there. A number is taken by any row of the copy's day.
    const QString staged = QStringLiteral("tblTimeSheet_ImportExport");
    const QString workDate = staged + QStringLiteral(".WorkDate");
    const QString onDay = QStringLiteral("%1.WorkDate >= ") + DayStart(workDate) +
                          QStringLiteral(" AND %1.WorkDate < ") + NextDayStart(workDate);
    return QStringLiteral("UPDATE tblTimeSheet_ImportExport SET TimeID = ("
                          "SELECT MIN(t.TimeID) + 1 FROM tblTimeSheet t "
                          "WHERE t.EmpID = tblTimeSheet_ImportExport.EmpID AND ") +
           onDay.arg(QStringLiteral("t")) +
           QStringLiteral(" AND t.TimeID >= tblTimeSheet_ImportExport.TimeID "
                          "AND NOT EXISTS (SELECT 1 FROM tblTimeSheet n WHERE n.EmpID = t.EmpID "
                          "AND ") +
           onDay.arg(QStringLiteral("n")) +
           QStringLiteral(" AND n.TimeID = t.TimeID + 1)) "
                          "WHERE EmpID = ? AND BatchID = ? AND IgnoreThis = 0 "
                          "AND EXISTS (SELECT 1 FROM tblTimeSheet k "
                          "WHERE k.EmpID = tblTimeSheet_ImportExport.EmpID AND ") +
           onDay.arg(QStringLiteral("k")) +
           QStringLiteral(" AND k.TimeID = tblTimeSheet_ImportExport.TimeID)");
}

QString CSqlDialect::ScheduleSetupStatement() const
{
    // The planner's guess at the staging table's size is often far off (its
    // rows come and go in bulk); compiling the queries for a guess of
    // thousands of rows then costs many times what running them does.
    return m_kind == kProviderPostgres ? QStringLiteral("SET LOCAL jit = off") : QString();
}

QString CSqlDialect::ScheduleLockStatement() const
{
    if (m_kind != kProviderPostgres)
        return QString();
    // The same keys as DayLockStatement; one order for every caller, so two
    // schedules cannot wait on each other.
    return QStringLiteral(
        "SELECT count(*) FROM (SELECT pg_advisory_xact_lock(?, d) FROM "
        "(SELECT DISTINCT WorkDate::date - DATE '2000-01-01' AS d "
        "FROM tblTimeSheet_ImportExport WHERE EmpID = ? AND BatchID = ? ORDER BY d) days) "
        "locked");
}

namespace {

// "(?, ?, ...), (?, ...)": `rows` rows of `columns` values.
QString ValueRows(int rows, qsizetype columns)
{
    QString row = QStringLiteral("(?");
    for (qsizetype c = 1; c < columns; ++c)
        row += QStringLiteral(", ?");
    row += QLatin1Char(')');
    QString sql;
    sql.reserve(rows * (row.size() + 2));
    for (int i = 0; i < rows; ++i) {
        if (i > 0)
            sql += QStringLiteral(", ");
        sql += row;
    }
    return sql;
}

// One element of a server array literal.
void AppendElement(QByteArray& out, const QVariant& value)
{
    if (value.isNull()) {
        out += "NULL";
        return;
    }
    switch (value.metaType().id()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
        out += QByteArray::number(value.toLongLong());
        return;
    case QMetaType::Double:
    case QMetaType::Float:
        out += QByteArray::number(value.toDouble(), 'g', 17);
        return;
    default:
        break;
    }
    // Anything else as a quoted text: backslashes and quotes escaped.
    const QByteArray text = value.toString().toUtf8();
    out += '"';
    for (const char c : text) {
        if (c == '"' || c == '\\')
            out += '\\';
        out += c;
    }
    out += '"';
}

} // namespace

int CSqlDialect::BulkRowsPerStatement() const
{
    // The server parses one statement of arrays, however long; the file's
    // statements stay well below its limit of bound values.
    return m_kind == kProviderPostgres ? 5000 : 100;
}

QString CSqlDialect::BulkInsertStatement(const QString& table, const QList<CBulkColumn>& columns,
                                         int rows) const
{
    QStringList names;
    QStringList arrays;
    for (const CBulkColumn& column : columns) {
        names << QLatin1String(column.name);
        arrays << QStringLiteral("?::%1[]").arg(QLatin1String(column.type));
    }
    QString sql =
        QStringLiteral("INSERT INTO %1 (%2) ").arg(table, names.join(QStringLiteral(", ")));
    if (m_kind == kProviderPostgres)
        return sql +
               QStringLiteral("SELECT * FROM unnest(%1)").arg(arrays.join(QStringLiteral(", ")));
    return sql + QStringLiteral("VALUES ") + ValueRows(rows, columns.size());
}

QVariantList CSqlDialect::BulkInsertValues(const QList<QVariantList>& columns) const
{
    QVariantList values;
    if (columns.isEmpty())
        return values;
    const qsizetype rows = columns.first().size();
    if (m_kind == kProviderPostgres) {
        values.reserve(columns.size());
        for (const QVariantList& column : columns) {
            QByteArray array = "{";
            array.reserve(rows * 12);
            for (qsizetype r = 0; r < rows; ++r) {
                if (r > 0)
                    array += ',';
                AppendElement(array, ToDbValue(column.at(r)));
            }
            array += '}';
            values << QString::fromUtf8(array);
        }
        return values;
    }
    values.reserve(rows * columns.size());
    for (qsizetype r = 0; r < rows; ++r)
        for (const QVariantList& column : columns)
            values << column.at(r);
    return values;
}

const QList<CSqlDialect::CBulkColumn>& CSqlDialect::ImportStageColumns()
{
    static const QList<CBulkColumn> columns = {
        {"Line", "integer"},      {"EmpID", "integer"},       {"WorkDate", "timestamp"},
        {"NextDay", "timestamp"}, {"StartMinute", "integer"}, {"StopMinute", "integer"},
        {"TimeID", "integer"}};
    return columns;
}

const QList<CSqlDialect::CBulkColumn>& CSqlDialect::TimeSheetColumns()
{
    static const QList<CBulkColumn> columns = {
        {"EmpID", "integer"},      {"ProjID", "integer"},       {"OrderID", "integer"},
        {"WorkDate", "timestamp"}, {"StartTime", "timestamp"},  {"StopTime", "timestamp"},
        {"HoursWorked", "real"},   {"TaskID", "integer"},       {"Comment", "text"},
        {"InvCost", "numeric"},    {"WorkTypeID", "integer"},   {"TimeID", "integer"},
        {"InvID", "integer"},      {"ObjectTypeID", "integer"}, {"ObjectID", "integer"}};
    return columns;
}

QString CSqlDialect::ImportSetupStatement() const
{
    // As for scheduling: a temporary table has no statistics, and compiling
    // the check for a wrong guess costs more than running it.
    return m_kind == kProviderPostgres ? QStringLiteral("SET LOCAL jit = off") : QString();
}

QString CSqlDialect::ImportStageDropStatement() const
{
    return m_kind == kProviderPostgres ? QStringLiteral("DROP TABLE IF EXISTS pg_temp.kv_import")
                                       : QStringLiteral("DROP TABLE IF EXISTS temp.kv_import");
}

QString CSqlDialect::ImportStageCreateStatement() const
{
    if (m_kind == kProviderPostgres)
        return QStringLiteral(
            "CREATE TEMPORARY TABLE kv_import (Line integer PRIMARY KEY, EmpID integer, "
            "WorkDate timestamp(0), NextDay timestamp(0), StartMinute integer, "
            "StopMinute integer, TimeID integer) ON COMMIT DROP");
    return QStringLiteral("CREATE TEMPORARY TABLE kv_import (Line INTEGER PRIMARY KEY, "
                          "EmpID INTEGER, WorkDate TEXT, NextDay TEXT, StartMinute INTEGER, "
                          "StopMinute INTEGER, TimeID INTEGER)");
}

QString CSqlDialect::ImportCheckStatement() const
{
    // Values: the first staged Line checked and the Line after the last.
    // Each staged day's booked rows, whatever time of day their WorkDate
    // carries, read as the time sheet reads them; touching ends do not
    // overlap, and a row without times overlaps nothing.
    const QString onDay = QStringLiteral("t.EmpID = s.EmpID AND t.WorkDate >= s.WorkDate AND "
                                         "t.WorkDate < s.NextDay");
    const QString overlaps = RowOverlaps(QStringLiteral("t"), QStringLiteral("s.StartMinute"),
                                         QStringLiteral("s.StopMinute"));
    if (m_kind == kProviderPostgres)
        // One pass over the day's rows, joined by the index's range.
        return QStringLiteral("SELECT s.Line, MAX(CASE WHEN %1 THEN 1 ELSE 0 END), "
                              "MAX(CASE WHEN t.TimeID = s.TimeID THEN 1 ELSE 0 END), "
                              "MAX(t.TimeID) FROM kv_import s LEFT JOIN tblTimeSheet t ON %2 "
                              "WHERE s.Line >= ? AND s.Line < ? GROUP BY s.Line")
            .arg(overlaps, onDay);
    // The file's planner, joining on a range, indexes the whole table by
    // employee on the fly (for minutes); asked row by row it takes the
    // range of (EmpID, WorkDate, TimeID).
    return QStringLiteral("SELECT s.Line, EXISTS (SELECT 1 FROM tblTimeSheet t WHERE %1 AND %2), "
                          "EXISTS (SELECT 1 FROM tblTimeSheet t WHERE %1 AND t.TimeID = s.TimeID), "
                          "(SELECT MAX(t.TimeID) FROM tblTimeSheet t WHERE %1) FROM kv_import s "
                          "WHERE s.Line >= ? AND s.Line < ?")
        .arg(onDay, overlaps);
}

QString CSqlDialect::ImportLockStatement(int days) const
{
    if (m_kind != kProviderPostgres || days <= 0)
        return QString();
    if (days > kImportMaxDayLocks)
        return QStringLiteral("LOCK TABLE tblTimeSheet IN SHARE ROW EXCLUSIVE MODE");
    // The keys of DayLockStatement, in one order for every caller.
    return QStringLiteral("SELECT count(*) FROM (SELECT pg_advisory_xact_lock(EmpID, d) FROM "
                          "(SELECT DISTINCT EmpID, WorkDate::date - DATE '2000-01-01' AS d "
                          "FROM kv_import ORDER BY EmpID, d) days) locked");
}

QString CSqlDialect::DayLockStatement() const
{
    // The same lock the server's time-sheet procedures take.
    return m_kind == kProviderPostgres ? QStringLiteral("SELECT pg_advisory_xact_lock(?, ?)")
                                       : QString();
}

QString CSqlDialect::RowLockClause(RowLock lock) const
{
    if (m_kind != kProviderPostgres)
        return QString();
    return lock == RowLock::ForUpdate ? QStringLiteral(" FOR UPDATE")
                                      : QStringLiteral(" FOR KEY SHARE");
}

QString CSqlDialect::KeepTablesStatement(const QStringList& tables) const
{
    if (m_kind != kProviderPostgres || tables.isEmpty())
        return QString();
    // Share mode lets readers on and waits for, then keeps out, every writer.
    return QStringLiteral("LOCK TABLE %1 IN SHARE MODE").arg(tables.join(QStringLiteral(", ")));
}

int CSqlDialect::DayNumber(const QDate& day)
{
    return static_cast<int>(QDate(2000, 1, 1).daysTo(day));
}

QVariant CSqlDialect::ToDbValue(const QVariant& value) const
{
    if (value.isNull())
        return QVariant();
    if (value.metaType() == QMetaType::fromType<CDateTime>()) {
        const CDateTime dt = value.value<CDateTime>();
        return dt.IsValid() ? QVariant(dt.ToIsoText()) : QVariant();
    }
    switch (value.metaType().id()) {
    case QMetaType::QDateTime: {
        const CDateTime dt = CDateTime::FromQDateTime(value.toDateTime());
        return dt.IsValid() ? QVariant(dt.ToIsoText()) : QVariant();
    }
    case QMetaType::QDate: {
        const QDate d = value.toDate();
        return d.isValid() ? QVariant(CDateTime(d).ToIsoText()) : QVariant();
    }
    case QMetaType::Bool:
        return QVariant(value.toBool() ? 1 : 0);
    default:
        return value;
    }
}

QString CSqlDialect::FromDbText(const QString& text) const
{
    return text;
}

QString CSqlDialect::UnstorableText(const QString& text) const
{
    // Text is stored as typed; only what the back end cannot hold is refused.
    if (const qsizetype at = BrokenCharacterAt(text); at >= 0)
        return QStringLiteral("The text holds half of a character (at position %1), which no "
                              "database can store.")
            .arg(at + 1);
    if (m_kind == kProviderPostgres && text.contains(QChar(0)))
        return QStringLiteral("The text holds a NUL character (code 0), which the database "
                              "server cannot store.");
    return QString();
}
