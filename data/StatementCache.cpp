#include "data/StatementCache.h"

#include <sqlite3.h>

namespace {

// Texts counted on the server back end before the unprepared ones are
// forgotten again (their counts start afresh).
constexpr int kPgTextsCounted = 2000;

bool OnlyBlanks(const char* tail)
{
    for (; tail && *tail; ++tail)
        if (*tail != ' ' && *tail != '\t' && *tail != '\n' && *tail != '\r' && *tail != ';')
            return false;
    return true;
}

} // namespace

// Transaction statements run as they are on the server: preparing them gains
// nothing.
bool CStatementCache::Preparable(const QByteArray& sql)
{
    int i = 0;
    while (i < sql.size() && (sql.at(i) == ' ' || sql.at(i) == '\n' || sql.at(i) == '\t' ||
                              sql.at(i) == '(' || sql.at(i) == '\r'))
        ++i;
    const QByteArray word = sql.mid(i, 6).toUpper();
    return word.startsWith("SELECT") || word.startsWith("INSERT") || word.startsWith("UPDATE") ||
           word.startsWith("DELETE") || word.startsWith("WITH") || word.startsWith("VALUES");
}

CStatementCache::CStatementCache() = default;

CStatementCache::~CStatementCache()
{
    Clear();
}

void CStatementCache::Touch(std::list<QString>::iterator& age)
{
    m_sqliteAge.splice(m_sqliteAge.begin(), m_sqliteAge, age);
}

void CStatementCache::MakeRoomSqlite()
{
    // The oldest statement nobody holds goes.
    for (auto it = m_sqliteAge.end(); it != m_sqliteAge.begin() && m_sqlite.size() >= kCapacity;) {
        --it;
        const auto entry = m_sqlite.find(*it);
        if (entry == m_sqlite.end() || entry->inUse)
            continue;
        sqlite3_finalize(entry->stmt);
        m_sqlite.erase(entry);
        it = m_sqliteAge.erase(it);
    }
}

sqlite3_stmt* CStatementCache::AcquireSqlite(sqlite3* db, const QString& sql, int* rc,
                                             bool* extraText)
{
    *rc = SQLITE_OK;
    *extraText = false;
    const auto found = m_sqlite.find(sql);
    if (found != m_sqlite.end() && !found->inUse) {
        found->inUse = true;
        Touch(found->age);
        m_lent.insert(found->stmt, sql);
        return found->stmt;
    }
    sqlite3_stmt* stmt = nullptr;
    const char* tail = nullptr;
    ++m_prepares;
    const QByteArray utf8 = sql.toUtf8();
    *rc = sqlite3_prepare_v3(db, utf8.constData(), static_cast<int>(utf8.size()),
                             SQLITE_PREPARE_PERSISTENT, &stmt, &tail);
    if (*rc != SQLITE_OK || !stmt)
        return nullptr;
    if (!OnlyBlanks(tail)) {
        *extraText = true;
        return stmt;
    }
    // A text in use elsewhere gets a statement of its own, not kept.
    if (found != m_sqlite.end())
        return stmt;
    MakeRoomSqlite();
    m_sqliteAge.push_front(sql);
    m_sqlite.insert(sql, CSqliteEntry{stmt, true, m_sqliteAge.begin(), QStringList()});
    m_lent.insert(stmt, sql);
    return stmt;
}

QStringList CStatementCache::ColumnNames(sqlite3_stmt* stmt)
{
    const int count = sqlite3_column_count(stmt);
    const auto lent = m_lent.constFind(stmt);
    const auto entry = lent == m_lent.constEnd() ? m_sqlite.end() : m_sqlite.find(*lent);
    // A statement prepared again after a schema change may name others.
    if (entry != m_sqlite.end() && entry->columns.size() == count)
        return entry->columns;
    QStringList names;
    names.reserve(count);
    for (int c = 0; c < count; ++c)
        names << QString::fromUtf8(sqlite3_column_name(stmt, c));
    if (entry != m_sqlite.end())
        entry->columns = names;
    return names;
}

void CStatementCache::ReleaseSqlite(sqlite3_stmt* stmt)
{
    if (!stmt)
        return;
    const auto lent = m_lent.find(stmt);
    if (lent == m_lent.end()) {
        sqlite3_finalize(stmt);
        return;
    }
    const auto entry = m_sqlite.find(*lent);
    m_lent.erase(lent);
    sqlite3_reset(stmt);
    sqlite3_clear_bindings(stmt);
    if (entry != m_sqlite.end())
        entry->inUse = false;
}

CStatementCache::CPgStatement& CStatementCache::Postgres(const QString& sql)
{
    auto it = m_pg.find(sql);
    if (it == m_pg.end()) {
        if (m_pg.size() >= kPgTextsCounted) {
            // Forget the texts that never came back.
            for (auto e = m_pg.begin(); e != m_pg.end();)
                e = e->name.isEmpty() ? m_pg.erase(e) : std::next(e);
        }
        it = m_pg.insert(sql, CPgStatement());
    }
    return *it;
}

QByteArray CStatementCache::NewPostgresName()
{
    int prepared = 0;
    for (const CPgStatement& s : std::as_const(m_pg))
        prepared += s.name.isEmpty() ? 0 : 1;
    if (prepared >= kCapacity)
        return QByteArray();
    ++m_prepares;
    return "kv_stmt" + QByteArray::number(++m_nextName);
}

void CStatementCache::ForgetPostgres(const QString& sql)
{
    const auto it = m_pg.find(sql);
    if (it != m_pg.end()) {
        it->name.clear();
        it->uses = 0;
    }
}

const QString* CStatementCache::Translation(const QString& sql) const
{
    const auto it = m_translations.constFind(sql);
    return it == m_translations.constEnd() ? nullptr : &*it;
}

void CStatementCache::KeepTranslation(const QString& sql, const QString& translated)
{
    if (m_translations.size() >= kPgTextsCounted)
        m_translations.clear();
    m_translations.insert(sql, translated);
}

void CStatementCache::Clear()
{
    for (const CSqliteEntry& entry : std::as_const(m_sqlite))
        sqlite3_finalize(entry.stmt);
    // Statements lent out and not kept are their users' to finalize.
    m_sqlite.clear();
    m_sqliteAge.clear();
    m_lent.clear();
    m_pg.clear();
    m_translations.clear();
}
