#include "data/ConnectionString.h"

#include <QFileInfo>

namespace {

QString QuoteValue(const QString& value)
{
    const bool needsQuotes = value.contains(QLatin1Char(';')) || value.contains(QLatin1Char('"')) ||
                             value.contains(QLatin1Char('\'')) || value != value.trimmed();
    if (!needsQuotes)
        return value;
    QString quoted = value;
    quoted.replace(QLatin1String("\""), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

} // namespace

void CConnectionString::Parse(const QString& text)
{
    m_items.clear();
    int i = 0;
    const int n = text.size();
    while (i < n) {
        const int eq = text.indexOf(QLatin1Char('='), i);
        const int semi = text.indexOf(QLatin1Char(';'), i);
        if (eq < 0 || (semi >= 0 && semi < eq)) {
            // A part without '=' carries nothing; skip it.
            if (semi < 0)
                break;
            i = semi + 1;
            continue;
        }
        const QString key = text.mid(i, eq - i).trimmed();
        i = eq + 1;
        while (i < n && text.at(i) == QLatin1Char(' '))
            ++i;
        QString value;
        if (i < n && (text.at(i) == QLatin1Char('"') || text.at(i) == QLatin1Char('\''))) {
            const QChar quote = text.at(i++);
            while (i < n) {
                if (text.at(i) == quote) {
                    if (i + 1 < n && text.at(i + 1) == quote) {
                        value += quote;
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                value += text.at(i++);
            }
            const int next = text.indexOf(QLatin1Char(';'), i);
            i = next < 0 ? n : next + 1;
        } else {
            const int next = text.indexOf(QLatin1Char(';'), i);
            const int end = next < 0 ? n : next;
            value = text.mid(i, end - i).trimmed();
            i = end + 1;
        }
        if (!key.isEmpty())
            Set(key, value);
    }
}

QString CConnectionString::ToString() const
{
    QStringList parts;
    for (const auto& [key, value] : m_items)
        parts << key + QLatin1Char('=') + QuoteValue(value);
    return parts.join(QLatin1Char(';'));
}

QString CConnectionString::Value(const QString& key, const QString& fallback) const
{
    for (const auto& item : m_items)
        if (item.first.compare(key, Qt::CaseInsensitive) == 0)
            return item.second;
    return fallback;
}

bool CConnectionString::Has(const QString& key) const
{
    for (const auto& item : m_items)
        if (item.first.compare(key, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

void CConnectionString::Set(const QString& key, const QString& value)
{
    for (auto& item : m_items) {
        if (item.first.compare(key, Qt::CaseInsensitive) == 0) {
            item.second = value;
            return;
        }
    }
    m_items.append({key, value});
}

QString CConnectionString::Masked() const
{
    CConnectionString copy = *this;
    for (auto& item : copy.m_items)
        if (item.first.compare(QLatin1String("Password"), Qt::CaseInsensitive) == 0 &&
            !item.second.isEmpty())
            item.second = QStringLiteral("*****");
    return copy.ToString();
}

QString CConnectionString::DatabaseName() const
{
    const QString provider = Value(QStringLiteral("Provider"));
    if (provider == QLatin1String("SQLite")) {
        const QString file = Value(QStringLiteral("Data Source"));
        return file.isEmpty() ? QString() : QFileInfo(file).absoluteFilePath();
    }
    if (provider == QLatin1String("PostgreSQL"))
        return Value(QStringLiteral("Host")) + QLatin1Char('/') + Value(QStringLiteral("Database"));
    return QString();
}

QString CConnectionString::SqliteString(const QString& file)
{
    CConnectionString cs;
    cs.Set(QStringLiteral("Provider"), QStringLiteral("SQLite"));
    cs.Set(QStringLiteral("Data Source"), file);
    return cs.ToString();
}

QString CConnectionString::PostgresString(const QString& host, int port, const QString& database,
                                          const QString& user, const QString& password)
{
    CConnectionString cs;
    cs.Set(QStringLiteral("Provider"), QStringLiteral("PostgreSQL"));
    cs.Set(QStringLiteral("Host"), host);
    cs.Set(QStringLiteral("Port"), QString::number(port));
    cs.Set(QStringLiteral("Database"), database);
    cs.Set(QStringLiteral("User ID"), user);
    cs.Set(QStringLiteral("Password"), password);
    return cs.ToString();
}
