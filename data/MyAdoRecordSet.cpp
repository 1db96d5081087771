#include "data/MyAdoRecordSet.h"

#include "data/BindingSet.h"
#include "data/DBConnection.h"
#include "data/RowCursor.h"
#include "platform/Characters.h"
#include "platform/MessageBox.h"
#include "platform/Trace.h"

#include <QRegularExpression>

namespace {

// A column as the record class spells it where it names the database's
// column ("mby_MarkOutOf10" for "markoutof10"), else as the database does.
QString ColumnName(const QString& own, const QString& stored)
{
    if (own.compare(stored, Qt::CaseInsensitive) == 0)
        return own;
    static const QRegularExpression prefix(QStringLiteral("^m[a-z]*_"));
    QString plain = own;
    plain.remove(prefix).remove(QLatin1Char('_'));
    return plain.compare(stored, Qt::CaseInsensitive) == 0 ? plain : stored;
}

bool IsFloatValue(const QVariant& v)
{
    const int id = v.metaType().id();
    return id == QMetaType::Double || id == QMetaType::Float;
}

} // namespace

CMyAdoRecordSet::CMyAdoRecordSet(CDBConnection* connection, const QString& source,
                                 int firstWrittenColumn, CBindingSet* owner)
    : m_connection(connection)
    , m_owner(owner)
    , m_source(source)
    , m_firstWritten(firstWrittenColumn)
{}

CMyAdoRecordSet::~CMyAdoRecordSet() = default;

bool CMyAdoRecordSet::Close()
{
    m_open = false;
    m_cursor.reset();
    m_currentChanges.clear();
    m_currentDeleted = false;
    m_result.Clear();
    m_deleted.clear();
    m_visibleRows = 0;
    m_pos = -1;
    return true;
}

bool CMyAdoRecordSet::EnsureConnected()
{
    if (!m_connection)
        return false;
    if (!m_connection->IsConnected())
        m_connection->Connect(false);
    return m_connection->IsConnected();
}

bool CMyAdoRecordSet::OpenConnection(bool /*serverCursor*/)
{
    if (EnsureConnected())
        return true;
    ReportComError(CDbError(kE_NotConnected, QStringLiteral("Not connected to a database"),
                            QStringLiteral("Recordset")));
    return false;
}

QString CMyAdoRecordSet::TableName() const
{
    return m_connection->Dialect().QuoteIdentifier(m_source);
}

bool CMyAdoRecordSet::BuildSelect(QString& out, const QString* filter, const QString* sort) const
{
    const QString f = filter ? *filter : m_filter;
    const QString s = sort ? *sort : m_sort;
    const QString base = QStringLiteral("SELECT * from ");
    if (!f.isEmpty() && !s.isEmpty())
        out = QStringLiteral("%1  %2 WHERE %3 ORDER BY %4").arg(base, m_source, f, s);
    else if (!f.isEmpty())
        out = QStringLiteral("%1 %2 WHERE %3 ").arg(base, m_source, f);
    else if (!s.isEmpty())
        out = QStringLiteral("%1 %2 ORDER BY %3").arg(base, m_source, s);
    else
        out = QStringLiteral("%1 %2").arg(base, m_source);
    return true;
}

bool CMyAdoRecordSet::OpenStatement(const QString& sql, const QVariantList& params, bool translate)
{
    Close();
    if (!EnsureConnected())
        return false;
    m_connection->CountRecordsetOpen();
    m_lastSql = sql;
    m_lastParams = params;
    m_lastTranslated = translate;
    if (m_mode == CursorMode::ForwardOnly)
        return OpenCursor(sql, params, translate);
    CDbError error;
    const bool ok = translate
                        ? CSqlExecutor::Run(*m_connection, sql, params, &m_result, &error)
                        : CSqlExecutor::RunNative(*m_connection, sql, params, &m_result, &error);
    if (!ok) {
        ReportComError(error);
        return false;
    }
    m_open = true;
    m_deleted = QList<bool>(m_result.rows, false);
    m_visibleRows = m_result.rows;
    m_pos = 0;
    AfterMove();
    return true;
}

bool CMyAdoRecordSet::OpenCursor(const QString& sql, const QVariantList& params, bool translate)
{
    CDbError error;
    m_cursor = translate ? CSqlExecutor::OpenCursor(*m_connection, sql, params, &error)
                         : CSqlExecutor::OpenCursorNative(*m_connection, sql, params, &error);
    if (!m_cursor) {
        ReportComError(error);
        return false;
    }
    // The first row is read at once: a statement that fails on it fails the open.
    if (!m_cursor->Next() && m_cursor->Failed()) {
        const CDbError failed = m_cursor->Error();
        Close();
        ReportComError(failed);
        return false;
    }
    m_result.columns = m_cursor->Columns();
    m_open = true;
    m_pos = 0;
    AfterMove();
    return true;
}

bool CMyAdoRecordSet::OpenRecordSetRecEx()
{
    return OpenStatement(QStringLiteral("Select * from %1").arg(m_source), {}, true);
}

bool CMyAdoRecordSet::OpenTableWithQueryRecEx(int* fieldCount, int /*mode*/, const QString* filter,
                                              const QString* sort)
{
    QString text;
    BuildSelect(text, filter, sort);
    // Values go with the member filter; an override brings none.
    const QVariantList values = filter && *filter != m_filter ? QVariantList() : m_filterValues;
    if (!OpenStatement(text, values, true))
        return false;
    if (fieldCount)
        *fieldCount = m_result.ColumnCount();
    return true;
}

bool CMyAdoRecordSet::OpenSql(const QString& sql, const QVariantList& params)
{
    return OpenStatement(sql, params, true);
}

bool CMyAdoRecordSet::OpenRecordSetParam(const QString* filter, const QString* sort,
                                         const QList<int>* columns, bool bind)
{
    Close();
    if (!EnsureConnected())
        return false;
    const CSqlDialect& dialect = m_connection->Dialect();
    if (dialect.Kind() == kProviderUnknown) {
        ReportComError(CDbError(kE_CommandError, QStringLiteral("Unknown database provider"),
                                QStringLiteral("Command")));
        return false;
    }
    // The values come from the owner's buffers at the given columns, from
    // the first written position of the list on.
    QStringList names;
    QVariantList values;
    if (columns && m_owner) {
        for (int p = m_firstWritten; p < columns->size(); ++p) {
            const int column = columns->at(p);
            if (column < 0 || column >= m_owner->BoundColumnCount() ||
                m_owner->SkippedOnWrite(column))
                continue;
            names << m_owner->Descriptor(column).name;
            values << m_owner->BufferValue(column);
        }
    }
    QString sql;
    bool translate = true;
    if (CSqlDialect::IsProcedureName(m_source)) {
        if (!dialect.IsPostgres()) {
            ReportComError(CDbError(kE_CommandError,
                                    QStringLiteral("%1 needs the database server").arg(m_source),
                                    QStringLiteral("Command")));
            return false;
        }
        sql = dialect.ProcedureCall(dialect.QuoteIdentifier(m_source),
                                    static_cast<int>(values.size()));
        translate = false;
    } else {
        // A saved query with values reads as the view filtered on them; the
        // member filter's own values come first, as its marks do.
        QString where = filter ? *filter : m_filter;
        if (!filter || *filter == m_filter)
            values = m_filterValues + values;
        for (const QString& name : names) {
            if (!where.isEmpty())
                where += QStringLiteral(" AND ");
            where += QStringLiteral("[%1] = ?").arg(name);
        }
        BuildSelect(sql, &where, sort);
    }
    // Procedures may write: run them in a transaction of their own.
    const bool procedure = !translate;
    if (procedure) {
        CDbError error;
        if (!m_connection->BeginTrans(&error)) {
            ReportComError(error);
            return false;
        }
    }
    m_bind = bind;
    const bool ok = OpenStatement(sql, values, translate);
    m_bind = true;
    if (procedure) {
        if (ok) {
            CDbError error;
            if (!m_connection->CommitTrans(&error)) {
                ReportComError(error);
                Close();
                return false;
            }
        } else {
            m_connection->RollbackTrans();
        }
    }
    return ok;
}

bool CMyAdoRecordSet::Requery()
{
    if (m_lastSql.isEmpty())
        return false;
    const QString sql = m_lastSql;
    const QVariantList params = m_lastParams;
    return OpenStatement(sql, params, m_lastTranslated);
}

void CMyAdoRecordSet::AfterMove()
{
    if (!m_owner || !m_bind || !m_open || IsEOF() || IsBOF())
        return;
    if (m_cursor)
        m_owner->LoadRow(*m_cursor, 0, m_cursor->ColumnCount(), m_currentChanges);
    else
        m_owner->LoadRow(m_result, m_pos);
    TellUnheldValues();
}

void CMyAdoRecordSet::TellUnheldValues()
{
    QStringList values;
    QString key;
    for (int i = 0; i < m_owner->BoundColumnCount() && i < m_result.ColumnCount(); ++i) {
        const CColumnDescriptor& d = m_owner->Descriptor(i);
        if (!d.buffer || (d.status != adFldDataOverFlow && d.status != adFldCantConvertValue))
            continue;
        if (key.isEmpty())
            key = RowKeyText();
        const QString name = ColumnName(d.name, m_result.columns.at(i));
        const QString value = Cell(i).Text();
        if (!m_connection->FirstTelling(key.toLower() + QLatin1Char('|') + name.toLower() +
                                        QLatin1Char('=') + value))
            continue;
        values << QStringLiteral("%1 %2").arg(name, LeftCharacters(value, 40));
    }
    if (values.isEmpty())
        return;
    QString table = m_source;
    table.remove(QLatin1Char('[')).remove(QLatin1Char(']'));
    const bool one = values.size() == 1;
    ShowMessageBox(QStringLiteral("The row of %1 with %2 holds %3 Kelvane cannot show: %4. The "
                                  "rest of the row is shown, and %5 kept as stored unless changed "
                                  "here.")
                       .arg(table, key, one ? QStringLiteral("a value") : QStringLiteral("values"),
                            values.join(QStringLiteral(", ")),
                            one ? QStringLiteral("the value is") : QStringLiteral("they are")),
                   kMbOk | kMbIconWarning);
}

QString CMyAdoRecordSet::RowKeyText() const
{
    // The table's key, or the first column of a query.
    QStringList names = m_connection->PrimaryKey(m_source);
    if (names.isEmpty() && m_result.ColumnCount() > 0)
        names << m_result.columns.first();
    QStringList parts;
    for (const QString& name : std::as_const(names)) {
        const int column = m_result.ColumnIndex(name);
        if (column < 0)
            continue;
        const QString own = column < m_owner->BoundColumnCount()
                                ? ColumnName(m_owner->Descriptor(column).name, name)
                                : name;
        parts << QStringLiteral("%1 %2").arg(own, CurrentValue(column).toString());
    }
    return parts.join(QStringLiteral(", "));
}

bool CMyAdoRecordSet::IsBOF() const
{
    if (m_cursor)
        return !m_cursor->HasRow() && m_cursor->Position() == 0;
    return m_pos < 0 || m_visibleRows == 0;
}

bool CMyAdoRecordSet::IsEOF() const
{
    if (m_cursor)
        return !m_cursor->HasRow();
    return m_pos >= m_result.rows || m_visibleRows == 0;
}

bool CMyAdoRecordSet::HasCurrentRow() const
{
    if (!m_open || IsBOF() || IsEOF())
        return false;
    return m_cursor ? !m_currentDeleted : !m_deleted.at(m_pos);
}

const QVariant* CMyAdoRecordSet::ChangedValue(int column) const
{
    if (m_cursor) {
        const auto it = m_currentChanges.constFind(column);
        return it == m_currentChanges.constEnd() ? nullptr : &*it;
    }
    return nullptr;
}

QVariant CMyAdoRecordSet::CurrentValue(int column) const
{
    if (m_cursor) {
        if (const QVariant* changed = ChangedValue(column))
            return *changed;
        return m_cursor->Value(0, column);
    }
    return m_result.Value(m_pos, column);
}

void CMyAdoRecordSet::SetCurrentValue(int column, const QVariant& value)
{
    if (m_cursor)
        m_currentChanges.insert(column, value);
    else
        m_result.SetValue(m_pos, column, value);
}

CCellRef CMyAdoRecordSet::Cell(int column) const
{
    if (!HasCurrentRow() || column < 0 || column >= m_result.ColumnCount())
        return CCellRef();
    if (!m_cursor)
        return m_result.Cell(m_pos, column);
    if (const QVariant* changed = ChangedValue(column))
        return CCellRef(*changed);
    return CCellRef(m_cursor.get(), 0, column);
}

CDbError CMyAdoRecordSet::NoCurrentRecordError()
{
    return CDbError(kE_NoCurrentRecord,
                    QStringLiteral("Either BOF or EOF is True, or the current record has been "
                                   "deleted. Requested operation requires a current record."),
                    QStringLiteral("Recordset"));
}

bool CMyAdoRecordSet::MoveNext()
{
    if (!m_open || IsEOF()) {
        m_errorText = NoCurrentRecordError().description;
        return false;
    }
    if (m_cursor) {
        m_currentChanges.clear();
        m_currentDeleted = false;
        ++m_pos;
        if (!m_cursor->Next() && m_cursor->Failed()) {
            ReportComError(m_cursor->Error());
            return false;
        }
        AfterMove();
        return true;
    }
    do {
        ++m_pos;
    } while (m_pos < m_result.rows && m_deleted.at(m_pos));
    AfterMove();
    return true;
}

namespace {

const QString kForwardOnly =
    QStringLiteral("The recordset reads forward only; it cannot move back or to its last row.");

} // namespace

bool CMyAdoRecordSet::MovePrevious()
{
    if (m_cursor) {
        m_errorText = kForwardOnly;
        return false;
    }
    if (!m_open || IsBOF()) {
        m_errorText = NoCurrentRecordError().description;
        return false;
    }
    do {
        --m_pos;
    } while (m_pos >= 0 && m_deleted.at(m_pos));
    AfterMove();
    return true;
}

bool CMyAdoRecordSet::MoveFirst()
{
    if (m_cursor) {
        // Still on the first row; else the statement runs again.
        if (m_pos == 0 && !IsEOF()) {
            AfterMove();
            return true;
        }
        if (m_pos > 0 && !Requery())
            return false;
        if (IsEOF()) {
            m_errorText = NoCurrentRecordError().description;
            return false;
        }
        return true;
    }
    if (!m_open || m_visibleRows == 0) {
        m_errorText = NoCurrentRecordError().description;
        return false;
    }
    m_pos = 0;
    while (m_deleted.at(m_pos))
        ++m_pos;
    AfterMove();
    return true;
}

bool CMyAdoRecordSet::MoveLast()
{
    if (m_cursor) {
        m_errorText = kForwardOnly;
        return false;
    }
    if (!m_open || m_visibleRows == 0) {
        m_errorText = NoCurrentRecordError().description;
        return false;
    }
    m_pos = m_result.rows - 1;
    while (m_deleted.at(m_pos))
        --m_pos;
    AfterMove();
    return true;
}

QVariant CMyAdoRecordSet::Value(int column) const
{
    if (!HasCurrentRow() || column < 0 || column >= m_result.ColumnCount())
        return QVariant();
    return CurrentValue(column);
}

QVariant CMyAdoRecordSet::Value(const QString& name) const
{
    return Value(m_result.ColumnIndex(name));
}

bool CMyAdoRecordSet::KeyCondition(QString* where, QVariantList* values, bool* keyed,
                                   CDbError* error)
{
    const CSqlDialect& dialect = m_connection->Dialect();
    QStringList parts;
    const QStringList keys = m_connection->PrimaryKey(m_source);
    *keyed = !keys.isEmpty();
    for (const QString& key : keys)
        *keyed = *keyed && m_result.ColumnIndex(key) >= 0;
    if (*keyed) {
        for (const QString& key : keys) {
            parts << dialect.QuoteIdentifier(key) + QStringLiteral(" = ?");
            values->append(CurrentValue(m_result.ColumnIndex(key)));
        }
    } else {
        // No key: the row is the one equal in every column as read (floats
        // are no identity, the uniqueness check covers what they leave out).
        for (int c = 0; c < m_result.ColumnCount(); ++c) {
            const QVariant v = CurrentValue(c);
            if (IsFloatValue(v))
                continue;
            parts << dialect.NullSafeEquals(dialect.QuoteIdentifier(m_result.columns.at(c)));
            values->append(v);
        }
    }
    if (parts.isEmpty()) {
        *error = CDbError(kE_NotUnique,
                          QStringLiteral("The row of %1 cannot be identified").arg(m_source),
                          QStringLiteral("Recordset"));
        return false;
    }
    *where = parts.join(QStringLiteral(" AND "));
    return true;
}

bool CMyAdoRecordSet::NeedsOwnTransaction(bool keyed, qint64 expectedRows) const
{
    // A write that may touch more rows than it should is undone when it does.
    if (expectedRows >= 0 && !keyed)
        return true;
    // On the server a failed statement spoils the transaction around it; a
    // savepoint keeps the caller's work. A file database undoes just the
    // failed statement, and a single statement outside a transaction is one.
    return m_connection->Dialect().IsPostgres() && m_connection->TransactionDepth() > 0;
}

bool CMyAdoRecordSet::RunWrite(const QString& sql, const QVariantList& params, qint64 expectedRows,
                               bool ownTransaction, CQueryResult* result)
{
    CDbError error;
    if (ownTransaction && !m_connection->BeginTrans(&error)) {
        ReportComError(error);
        return false;
    }
    CQueryResult local;
    CQueryResult& out = result ? *result : local;
    if (!CSqlExecutor::RunNative(*m_connection, sql, params, &out, &error)) {
        if (ownTransaction)
            m_connection->RollbackTrans();
        ReportComError(error);
        return false;
    }
    // With a key the row count is 0 or 1: nothing to undo when it is wrong.
    if (expectedRows >= 0 && out.rowsAffected != expectedRows) {
        if (ownTransaction)
            m_connection->RollbackTrans();
        const QString text =
            out.rowsAffected == 0
                ? QStringLiteral("The row of %1 was not found; another user may have changed or "
                                 "deleted it.")
                      .arg(m_source)
                : QStringLiteral("The row of %1 is not unique; nothing was changed.").arg(m_source);
        ReportComError(CDbError(kE_NotUnique, text, QStringLiteral("Recordset")));
        return false;
    }
    if (ownTransaction && !m_connection->CommitTrans(&error)) {
        ReportComError(error);
        return false;
    }
    return true;
}

bool CMyAdoRecordSet::UpdateCurrRecord()
{
    if (!m_owner || !HasCurrentRow()) {
        ReportComError(NoCurrentRecordError());
        return false;
    }
    if (!EnsureConnected())
        return false;
    QStringList sets;
    QVariantList values;
    QList<int> written;
    bool writable = false;
    const CSqlDialect& dialect = m_connection->Dialect();
    for (int i = m_firstWritten; i < m_columnCount && i < m_owner->BoundColumnCount(); ++i) {
        if (!m_owner->IsIncluded(i) || m_owner->SkippedOnWrite(i))
            continue;
        writable = true;
        // Only what the caller changed is written: a value left as read
        // stays as stored, however long or large another program made it.
        if (m_owner->HoldsReadValue(i, Cell(i)))
            continue;
        // A value read damaged is never written back.
        if (!CheckDataIntegrity(m_owner->Descriptor(i).status, i)) {
            ShowMessageBox(QStringLiteral("Data integrity error"), kMbOk | kMbIconError);
            return false;
        }
        sets << dialect.QuoteIdentifier(m_owner->Descriptor(i).name) + QStringLiteral("=?");
        values << m_owner->BufferValue(i);
        written << i;
    }
    // Every column as read: the row already holds what it would be given.
    if (writable && sets.isEmpty())
        return true;
    QString where;
    CDbError error;
    bool keyed = false;
    if (!KeyCondition(&where, &values, &keyed, &error)) {
        ReportComError(error);
        return false;
    }
    // With nothing to write the statement is left as it is and fails.
    const QString sql = QStringLiteral("UPDATE %1 SET %2 where %3")
                            .arg(TableName(), sets.join(QLatin1Char(',')), where);
    if (!RunWrite(sql, values, 1, NeedsOwnTransaction(keyed, 1), nullptr))
        return false;
    // The row as read now holds what was written, so a second write finds it.
    for (int k = 0; k < written.size(); ++k) {
        const int column = m_result.ColumnIndex(m_owner->Descriptor(written.at(k)).name);
        if (column >= 0)
            SetCurrentValue(column, values.at(k));
    }
    return true;
}

bool CMyAdoRecordSet::CheckAddNew()
{
    if (!m_owner) {
        ReportComError(NoCurrentRecordError());
        return false;
    }
    if (!EnsureConnected())
        return false;
    const CSqlDialect& dialect = m_connection->Dialect();
    QStringList names;
    QStringList marks;
    QVariantList values;
    for (int i = m_firstWritten; i < m_columnCount && i < m_owner->BoundColumnCount(); ++i) {
        if (m_owner->SkippedOnWrite(i))
            continue;
        names << dialect.QuoteIdentifier(m_owner->Descriptor(i).name);
        marks << QStringLiteral("?");
        values << m_owner->BufferValue(i);
    }
    // The key the database assigns comes back when it is column 0.
    const QStringList keys = m_connection->PrimaryKey(m_source);
    const bool keyFirst =
        m_firstWritten == 1 && keys.size() == 1 && m_owner->BoundColumnCount() > 0 &&
        m_owner->Descriptor(0).name.compare(keys.first(), Qt::CaseInsensitive) == 0;
    QString sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                      .arg(TableName(), names.join(QLatin1Char(',')), marks.join(QLatin1Char(',')));
    if (keyFirst)
        sql += dialect.ReturningClause(dialect.QuoteIdentifier(keys.first()));
    CQueryResult result;
    m_lastInsertId.clear();
    if (!RunWrite(sql, values, -1, NeedsOwnTransaction(true, -1), &result))
        return false;
    if (dialect.IsPostgres())
        m_lastInsertId = result.rows > 0 ? result.Value(0, 0) : QVariant();
    else
        m_lastInsertId = result.lastInsertId;
    if (keyFirst && m_lastInsertId.isValid() && m_owner->Descriptor(0).buffer &&
        m_owner->Descriptor(0).type == adInteger) {
        *static_cast<int*>(m_owner->Descriptor(0).buffer) = m_lastInsertId.toInt();
        m_owner->Descriptor(0).status = adFldOK;
    }
    return true;
}

bool CMyAdoRecordSet::DeleteCurrRecord()
{
    if (!HasCurrentRow()) {
        ReportComError(NoCurrentRecordError());
        return false;
    }
    if (!EnsureConnected())
        return false;
    QString where;
    QVariantList values;
    CDbError error;
    bool keyed = false;
    if (!KeyCondition(&where, &values, &keyed, &error)) {
        ReportComError(error);
        return false;
    }
    const QString sql = QStringLiteral("DELETE FROM %1 WHERE %2").arg(TableName(), where);
    if (!RunWrite(sql, values, 1, NeedsOwnTransaction(keyed, 1), nullptr))
        return false;
    if (m_cursor) {
        m_currentDeleted = true;
        return true;
    }
    m_deleted[m_pos] = true;
    --m_visibleRows;
    return true;
}

bool CMyAdoRecordSet::CheckDataIntegrity(int status, int column) const
{
    const char* name = nullptr;
    switch (status) {
    case adFldOK:
    case adFldNull:
        return true;
    case adFldBadAccessor:
        name = "adFldBadAccessor";
        break;
    case adFldCantConvertValue:
        name = "adFldCantConvertValue";
        break;
    case adFldTruncated:
        name = "adFldTruncated";
        break;
    case adFldDataOverFlow:
        // Another program's value beyond the buffer: told with its row
        // (TellUnheldValues), the rest of the row is read.
        name = "adFldDataOverFlow";
        break;
    case adFldDefault:
        name = "adFldDefault";
        break;
    default:
        break;
    }
    const QString columnName = m_owner ? m_owner->Descriptor(column).name : QString();
    if (name) {
        qCDebug(lcData, "CheckDataIntegrity : %s (%s), %s, (%i)", name, qPrintable(m_source),
                qPrintable(columnName), column);
        return true;
    }
    qCWarning(lcData, "CheckDataIntegrity : status %i (%s), %s, (%i)", status, qPrintable(m_source),
              qPrintable(columnName), column);
    return false;
}

void CMyAdoRecordSet::FormatComError(const CDbError& error, QString& out)
{
    out = error.description;
    qCDebug(lcData, "\tCode = %08x Msg: %s Source: %s Description: %s",
            static_cast<unsigned>(error.code), qPrintable(error.message), qPrintable(error.source),
            qPrintable(error.description));
}

void CMyAdoRecordSet::ReportComError(const CDbError& error)
{
    FormatComError(error, m_errorText);
    m_errorCode = error.code;
    if (m_quiet) {
        if (error.code == kE_FAIL && m_connection)
            m_connection->DropConnection();
        return;
    }
    if (error.code == kE_NoCurrentRecord || error.code == kE_MultipleStep)
        return;
    TellDbFailure(error);
    if (error.code == kE_FAIL && m_connection)
        m_connection->DropConnection();
    if (error.code == kE_IntegrityViolation)
        ShowMessageBox(QStringLiteral("A specified value violated the integrity constraints for a "
                                      "column or table"),
                       kMbOk | kMbIconError);
}
