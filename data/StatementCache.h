#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

#include <list>

struct sqlite3;
struct sqlite3_stmt;

// The statements of one connection, prepared once and kept by their SQL text,
// so that a text the program runs again is not parsed again (a day load, a
// write, a lookup run a thousand times cost one parse each). CDBConnection
// owns it; the back-end runners use it; it is emptied whenever the connection
// closes. The least recently used statements make room for new ones.
//
// SQLite statements are kept as sqlite3_stmt handles. A handle is lent to one
// user at a time: a text already in use (a cursor still reading it) gets a
// statement of its own that is finalized after use.
//
// PostgreSQL statements are prepared on the server on their second use, so
// statements run once cost no extra round trip; until then they run
// unprepared.
class CStatementCache {
public:
    static constexpr int kCapacity = 200;

    CStatementCache();
    ~CStatementCache();
    CStatementCache(const CStatementCache&) = delete;
    CStatementCache& operator=(const CStatementCache&) = delete;

    // ---- SQLite ---------------------------------------------------------
    // A statement ready to bind, or nullptr with SQLite's result code (and
    // no statement at all for an empty text: rc SQLITE_OK). extraText: the
    // text holds more than one statement (the statement is not kept).
    sqlite3_stmt* AcquireSqlite(sqlite3* db, const QString& sql, int* rc, bool* extraText);
    // The names of a statement's columns, made once for a kept statement.
    QStringList ColumnNames(sqlite3_stmt* stmt);
    // Hands a statement back: a kept one is reset and unbound, any other finalized.
    void ReleaseSqlite(sqlite3_stmt* stmt);

    // ---- PostgreSQL -------------------------------------------------------
    struct CPgStatement {
        QByteArray text; // the text with $n placeholders, as the server reads it
        int parameters = 0;
        bool preparable = false; // transaction statements run as they are
        QByteArray name;         // "" until prepared
        int uses = 0;
    };
    // The bookkeeping of a text: the server's form, its name once prepared,
    // and how often it ran. `text` is empty for a text not seen before.
    CPgStatement& Postgres(const QString& sql);
    // A name for a text about to be prepared.
    QByteArray NewPostgresName();
    // The server refused the prepared statement (its tables changed): it is
    // prepared again on a later use.
    void ForgetPostgres(const QString& sql);
    // Whether a text may be prepared on the server.
    static bool Preparable(const QByteArray& text);

    // ---- Both -------------------------------------------------------------
    // The dialect's translation of a Jet-style text, once made.
    const QString* Translation(const QString& sql) const;
    void KeepTranslation(const QString& sql, const QString& translated);

    // Finalizes every statement (before the connection closes) and forgets
    // the server's names.
    void Clear();
    int Size() const { return static_cast<int>(m_sqlite.size() + m_pg.size()); }
    // Statements parsed since the cache was made: the sign that a text is
    // prepared once.
    int Prepares() const { return m_prepares; }
    void CountPrepare() { ++m_prepares; }

private:
    struct CSqliteEntry {
        sqlite3_stmt* stmt = nullptr;
        bool inUse = false;
        std::list<QString>::iterator age;
        QStringList columns;
    };
    void Touch(std::list<QString>::iterator& age);
    void MakeRoomSqlite();

    QHash<QString, CSqliteEntry> m_sqlite;
    QHash<sqlite3_stmt*, QString> m_lent;
    std::list<QString> m_sqliteAge; // most recent first
    QHash<QString, CPgStatement> m_pg;
    QHash<QString, QString> m_translations;
    int m_nextName = 0;
    int m_prepares = 0;
};
