#include "data/RowCursor.h"

#include "data/DBConnection.h"
#include "data/SqlExecutor.h"

CRowCursor::CRowCursor(CDBConnection& connection)
    : m_connection(&connection)
    , m_owner(&connection)
{
    connection.RegisterCursor(this);
}

CRowCursor::~CRowCursor()
{
    Unregister();
}

void CRowCursor::Unregister()
{
    if (m_connection)
        m_connection->UnregisterCursor(this);
    m_connection = nullptr;
}

int CRowCursor::ColumnIndex(const QString& name) const
{
    for (int i = 0; i < m_columns.size(); ++i)
        if (m_columns.at(i).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

bool CRowCursor::Next()
{
    if (m_atEnd)
        return false;
    m_onRow = Fetch();
    if (m_onRow) {
        ++m_delivered;
        return true;
    }
    m_atEnd = true;
    if (Failed() && m_owner)
        NoteStatementFailure(*m_owner, m_error);
    Unregister();
    return false;
}

int CRowCursor::IntAt(int column, int fallback) const
{
    if (IsNull(0, column))
        return fallback;
    bool ok = false;
    const qint64 value = Int(0, column, &ok);
    return ok ? static_cast<int>(value) : fallback;
}

double CRowCursor::DoubleAt(int column) const
{
    bool ok = false;
    const double value = Double(0, column, &ok);
    return ok ? value : 0.0;
}

CDateTime CRowCursor::DateAt(int column) const
{
    bool ok = false;
    return Date(0, column, &ok);
}
