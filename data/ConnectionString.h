#pragma once

#include <QList>
#include <QPair>
#include <QString>

// "Key=Value;Key=Value" connection strings. Keys compare case-insensitively;
// values holding ';', quotes or outer blanks are written in double quotes with
// inner double quotes doubled.
class CConnectionString {
public:
    CConnectionString() = default;
    explicit CConnectionString(const QString& text) { Parse(text); }

    void Parse(const QString& text);
    QString ToString() const;

    QString Value(const QString& key, const QString& fallback = QString()) const;
    bool Has(const QString& key) const;
    void Set(const QString& key, const QString& value);

    // The text with the password replaced by asterisks, for messages.
    QString Masked() const;
    // What the program calls the database: a database file's full path, or
    // the server's host and the database's name (never a password).
    QString DatabaseName() const;

    static QString SqliteString(const QString& file);
    static QString PostgresString(const QString& host, int port, const QString& database,
                                  const QString& user, const QString& password);

private:
    QList<QPair<QString, QString>> m_items;
};
