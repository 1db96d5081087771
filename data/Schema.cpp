#include "data/Schema.h"

#include "data/DBClassTypes.h"
#include "data/DBConnection.h"
#include "data/SqlDialect.h"
#include "data/SqlExecutor.h"
#include "platform/DesktopUser.h"

#include <QFile>
#include <QRegularExpression>

namespace {

QString ReadResource(const QString& name)
{
    QFile file(QStringLiteral(":/schema/%1.sql").arg(name));
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}

// The names the script creates objects of one of the kinds under, in order.
// Read by hand: the start-up check asks for them, and a pattern would cost
// it a compile.
QStringList NamesIn(const QString& script, std::initializer_list<QLatin1StringView> kinds)
{
    const QLatin1StringView create("CREATE ");
    QStringList names;
    for (qsizetype at = script.indexOf(create); at >= 0; at = script.indexOf(create, at + 1)) {
        const QStringView rest = QStringView(script).mid(at + create.size());
        for (const QLatin1StringView kind : kinds) {
            if (!rest.startsWith(kind) || rest.mid(kind.size()).left(1) != u" ")
                continue;
            const QStringView tail = rest.mid(kind.size() + 1);
            qsizetype length = 0;
            while (length < tail.size() &&
                   (tail[length].isLetterOrNumber() || tail[length] == u'_'))
                ++length;
            if (length > 0)
                names << tail.left(length).toString();
            break;
        }
    }
    // An object written once per back end is one object.
    names.removeDuplicates();
    return names;
}

// "@sqlite CREATE ...;" and "@postgres CREATE ...;": a statement of one back
// end only, where the two plan the same query best in different forms.
QString KeepStatementsOf(const QString& sql, bool postgres)
{
    QString out = sql;
    out.remove(QRegularExpression(postgres ? QStringLiteral("@sqlite\\s[^;]*;")
                                           : QStringLiteral("@postgres\\s[^;]*;")));
    out.replace(QRegularExpression(postgres ? QStringLiteral("@postgres\\s")
                                            : QStringLiteral("@sqlite\\s")),
                QString());
    return out;
}

// The arguments of a macro call whose "(" is at `open`: split at the commas
// outside parentheses, trimmed; `end` past the closing ")". False when the
// call is not closed.
bool MacroArguments(const QString& sql, qsizetype open, QStringList& args, qsizetype& end)
{
    int depth = 1;
    qsizetype from = open + 1;
    for (qsizetype j = from; j < sql.size(); ++j) {
        const QChar c = sql.at(j);
        if (c == QLatin1Char('(')) {
            ++depth;
        } else if (c == QLatin1Char(')') && --depth == 0) {
            args << sql.mid(from, j - from).trimmed();
            end = j + 1;
            return true;
        } else if (c == QLatin1Char(',') && depth == 1) {
            args << sql.mid(from, j - from).trimmed();
            from = j + 1;
        }
    }
    return false;
}

// The reading of a stored time-sheet row, as the back end's SQL
// (CSqlDialect): @daystart(value), @nextday(value), @rowminute(workDate,
// time), @rowoverlaps(alias, start, stop) and @stagedclash(alias).
QString ExpandRowMacros(const QString& sql, int providerKind)
{
    const CSqlDialect dialect(providerKind);
    QString out = sql;
    const QRegularExpression call(
        QStringLiteral("@(daystart|nextday|rowminute|rowoverlaps|stagedclash)\\("));
    for (auto match = call.match(out); match.hasMatch(); match = call.match(out)) {
        QStringList args;
        qsizetype end = 0;
        if (!MacroArguments(out, match.capturedEnd() - 1, args, end))
            break;
        const QString name = match.captured(1);
        QString text;
        if (name == QLatin1String("daystart") && args.size() == 1)
            text = dialect.DayStart(args.at(0));
        else if (name == QLatin1String("nextday") && args.size() == 1)
            text = dialect.NextDayStart(args.at(0));
        else if (name == QLatin1String("rowminute") && args.size() == 2)
            text = dialect.RowMinute(args.at(0), args.at(1));
        else if (name == QLatin1String("rowoverlaps") && args.size() == 3)
            text = dialect.RowOverlaps(args.at(0), args.at(1), args.at(2));
        else if (name == QLatin1String("stagedclash") && args.size() == 1)
            text = dialect.StagedClashCondition(args.at(0));
        else
            break; // left as written: the script then fails where it stands
        out.replace(match.capturedStart(), end - match.capturedStart(), text);
    }
    return out;
}

// @ci(expr): the expression, compared ignoring case.
QString ExpandCaseInsensitive(const QString& sql, bool postgres)
{
    QString out;
    int i = 0;
    const QString tag = QStringLiteral("@ci(");
    for (;;) {
        const int start = sql.indexOf(tag, i);
        if (start < 0) {
            out += QStringView(sql).mid(i);
            return out;
        }
        out += QStringView(sql).mid(i, start - i);
        int depth = 1;
        int j = start + tag.size();
        for (; j < sql.size() && depth > 0; ++j) {
            if (sql.at(j) == QLatin1Char('('))
                ++depth;
            else if (sql.at(j) == QLatin1Char(')'))
                --depth;
        }
        const QString expr = sql.mid(start + tag.size(), j - start - tag.size() - 1);
        out += postgres ? QStringLiteral("CAST((%1) AS CITEXT)").arg(expr)
                        : QStringLiteral("(%1) COLLATE NOCASE").arg(expr);
        i = j;
    }
}

// The scripts in one transaction: all or nothing. `failure` words the error.
bool RunAll(CDBConnection& connection, const QStringList& scripts, const QString& failure,
            QString* error)
{
    CDbError dbError;
    if (!connection.BeginTrans(&dbError)) {
        *error = dbError.description;
        return false;
    }
    for (const QString& script : scripts) {
        if (!CSqlExecutor::RunScript(connection, script, &dbError)) {
            connection.RollbackTrans();
            *error = failure.arg(dbError.description);
            return false;
        }
    }
    if (!connection.CommitTrans(&dbError)) {
        *error = failure.arg(dbError.description);
        return false;
    }
    return true;
}

} // namespace

QString CSchema::Expand(const QString& sql, int providerKind)
{
    const bool pg = providerKind == kProviderPostgres;
    // Comments speak of the type words; they are not part of the script.
    QString out = sql;
    out.remove(QRegularExpression(QStringLiteral("^\\s*--[^\\n]*\\n"),
                                  QRegularExpression::MultilineOption));
    const auto replace = [&out](const QString& pattern, const QString& with) {
        out.replace(QRegularExpression(pattern), with);
    };
    // Stored dates are "yyyy-MM-dd HH:mm:ss" text on the file back end; the
    // check keeps anything else out, so comparisons and sorting stay right.
    const QString isoDate = QStringLiteral(
        "'[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9] [0-9][0-9]:[0-9][0-9]:[0-9][0-9]'");
    if (pg) {
        replace(QStringLiteral("@key\\b"),
                QStringLiteral("INTEGER GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY"));
        replace(QStringLiteral("(\\w+) @name\\((\\d+)\\)"),
                QStringLiteral("\\1 CITEXT CHECK (char_length(\\1) <= \\2)"));
        replace(QStringLiteral("@text\\((\\d+)\\)"), QStringLiteral("VARCHAR(\\1)"));
        replace(QStringLiteral("(\\w+) @bool\\b"),
                QStringLiteral("\\1 SMALLINT NOT NULL DEFAULT 0 CHECK (\\1 IN (0, 1))"));
        replace(QStringLiteral("@date\\b"), QStringLiteral("TIMESTAMP(0)"));
        replace(QStringLiteral("@single\\b"), QStringLiteral("REAL"));
        replace(QStringLiteral("@double\\b"), QStringLiteral("DOUBLE PRECISION"));
        replace(QStringLiteral("@money\\b"), QStringLiteral("NUMERIC(19,4)"));
        replace(QStringLiteral("@blob\\b"), QStringLiteral("BYTEA"));
        replace(QStringLiteral("@memo\\b"), QStringLiteral("TEXT"));
        replace(QStringLiteral("@int\\b"), QStringLiteral("INTEGER"));
        replace(QStringLiteral("\\s*@end"), QStringLiteral("\n)"));
    } else {
        replace(QStringLiteral("@key\\b"), QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT"));
        replace(QStringLiteral("@name\\(\\d+\\)"), QStringLiteral("TEXT COLLATE NOCASE"));
        replace(QStringLiteral("@text\\(\\d+\\)"), QStringLiteral("TEXT"));
        replace(QStringLiteral("(\\w+) @bool\\b"),
                QStringLiteral("\\1 INTEGER NOT NULL DEFAULT 0 CHECK (\\1 IN (0, 1))"));
        replace(QStringLiteral("(\\w+) @date\\b"),
                QStringLiteral("\\1 TEXT CHECK (\\1 IS NULL OR \\1 GLOB %1)").arg(isoDate));
        replace(QStringLiteral("@(single|double|money)\\b"), QStringLiteral("REAL"));
        replace(QStringLiteral("@blob\\b"), QStringLiteral("BLOB"));
        replace(QStringLiteral("@memo\\b"), QStringLiteral("TEXT"));
        replace(QStringLiteral("@int\\b"), QStringLiteral("INTEGER"));
        replace(QStringLiteral("\\s*@end"), QStringLiteral("\n) STRICT"));
    }
    return ExpandCaseInsensitive(ExpandRowMacros(KeepStatementsOf(out, pg), providerKind), pg);
}

QString CSchema::Script(const QString& name, int providerKind)
{
    return Expand(ReadResource(name), providerKind);
}

// The scripts are built in, so their names are read once.
QStringList CSchema::TableNames()
{
    static const QStringList names =
        NamesIn(ReadResource(QStringLiteral("tables")), {QLatin1StringView("TABLE")});
    return names;
}

QStringList CSchema::ViewNames()
{
    static const QStringList names =
        NamesIn(ReadResource(QStringLiteral("views")), {QLatin1StringView("VIEW")});
    return names;
}

QStringList CSchema::IndexNames()
{
    static const QStringList names =
        NamesIn(ReadResource(QStringLiteral("tables")),
                {QLatin1StringView("INDEX"), QLatin1StringView("UNIQUE INDEX")});
    return names;
}

QStringList CSchema::ProcedureNames()
{
    static const QStringList names = NamesIn(ReadResource(QStringLiteral("procedures-postgres")),
                                             {QLatin1StringView("FUNCTION")});
    return names;
}

bool CSchema::Exists(CDBConnection& connection, const QString& name)
{
    const bool pg = connection.Dialect().IsPostgres();
    const QString sql =
        pg ? QStringLiteral("SELECT 1 FROM information_schema.tables WHERE table_schema = "
                            "current_schema() AND table_name = lower(?)")
           : QStringLiteral("SELECT 1 FROM sqlite_master WHERE type IN ('table', 'view') AND "
                            "name = ? COLLATE NOCASE");
    CQueryResult result;
    return CSqlExecutor::RunNative(connection, sql, {name}, &result, nullptr) && result.rows > 0;
}

QStringList CSchema::PresentTables(CDBConnection& connection, CDbError* error)
{
    const QString sql =
        connection.Dialect().IsPostgres()
            ? QStringLiteral("SELECT table_name FROM information_schema.tables WHERE "
                             "table_schema = current_schema() AND table_type = 'BASE TABLE'")
            : QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table'");
    CQueryResult result;
    QStringList present;
    if (!CSqlExecutor::RunNative(connection, sql, {}, &result, error))
        return present;
    QStringList found;
    for (int row = 0; row < result.rows; ++row)
        found << result.Value(row, 0).toString();
    for (const QString& table : TableNames())
        if (found.contains(table, Qt::CaseInsensitive))
            present << table;
    return present;
}

QStringList CSchema::Missing(CDBConnection& connection)
{
    QStringList missing;
    for (const QString& name : TableNames() + ViewNames())
        if (!Exists(connection, name))
            missing << name;
    if (connection.Dialect().IsPostgres()) {
        for (const QString& name : ProcedureNames()) {
            CQueryResult result;
            if (!CSqlExecutor::RunNative(
                    connection,
                    QStringLiteral("SELECT 1 FROM pg_proc p JOIN pg_namespace n "
                                   "ON n.oid = p.pronamespace WHERE n.nspname = "
                                   "current_schema() AND p.proname = lower(?)"),
                    {name}, &result, nullptr) ||
                result.rows == 0)
                missing << name;
        }
    }
    return missing;
}

bool CSchema::Create(CDBConnection& connection, QString* error)
{
    const int kind = connection.ProviderKind();
    if (!connection.IsConnected() || (kind != kProviderSqlite && kind != kProviderPostgres)) {
        *error = QStringLiteral("No database is open to create the tables in.");
        return false;
    }
    QStringList present;
    for (const QString& name : TableNames() + ViewNames())
        if (Exists(connection, name))
            present << name;
    if (!present.isEmpty()) {
        *error =
            QStringLiteral("The database already holds Kelvane tables (%1); nothing was changed.")
                .arg(present.join(QStringLiteral(", ")));
        return false;
    }
    QStringList scripts;
    if (kind == kProviderPostgres)
        scripts << QStringLiteral("CREATE EXTENSION IF NOT EXISTS citext");
    scripts << Script(QStringLiteral("tables"), kind) << Script(QStringLiteral("views"), kind);
    if (kind == kProviderPostgres)
        scripts << Script(QStringLiteral("procedures-postgres"), kind);
    scripts << Script(QStringLiteral("seed"), kind) << Script(QStringLiteral("revisions"), kind);

    return RunAll(connection, scripts, QStringLiteral("Cannot create the database: %1"), error);
}

bool CSchema::Update(CDBConnection& connection, QString* error)
{
    const int kind = connection.ProviderKind();
    if (!connection.IsConnected() || (kind != kProviderSqlite && kind != kProviderPostgres)) {
        *error = QStringLiteral("No database is open to update.");
        return false;
    }
    // The tables make it a Kelvane database; queries and procedures an
    // earlier version lacked are what the update adds.
    QStringList missing;
    for (const QString& name : TableNames())
        if (!Exists(connection, name))
            missing << name;
    if (!missing.isEmpty()) {
        *error = QStringLiteral("This is no complete Kelvane database (it lacks %1); nothing was "
                                "changed.")
                     .arg(missing.join(QStringLiteral(", ")));
        return false;
    }
    QStringList statements;
    const QRegularExpression index(QStringLiteral("CREATE (UNIQUE )?INDEX (\\w+) ON [^;]+;"));
    for (auto it = index.globalMatch(Script(QStringLiteral("tables"), kind)); it.hasNext();) {
        QString statement = it.next().captured(0);
        statement.replace(QRegularExpression(QStringLiteral("INDEX (\\w+) ON")),
                          QStringLiteral("INDEX IF NOT EXISTS \\1 ON"));
        statements << statement;
    }
    // Later views may read earlier ones: dropped last to first.
    const QStringList views = ViewNames();
    for (auto it = views.crbegin(); it != views.crend(); ++it)
        statements << QStringLiteral("DROP VIEW IF EXISTS %1;").arg(*it);
    statements << Script(QStringLiteral("views"), kind);
    if (kind == kProviderPostgres) {
        // Each procedure in its current form; none changes its result type,
        // so replacing keeps whatever else refers to it.
        QString procedures = Script(QStringLiteral("procedures-postgres"), kind);
        procedures.replace(QRegularExpression(QStringLiteral("\\bCREATE FUNCTION\\b")),
                           QStringLiteral("CREATE OR REPLACE FUNCTION"));
        statements << procedures;
    }
    // Last, so a database carries the revision only once all of it is there.
    statements << Script(QStringLiteral("revisions"), kind);

    return RunAll(connection, statements, QStringLiteral("Cannot update the database: %1"), error);
}

bool CSchema::AddFirstRows(CDBConnection& connection, QString* fullName, QString* error,
                           QString* note)
{
    QString login;
    GetDesktopUser(login, *fullName);
    // A name is only shown: cut to what its column holds (the caller keeps
    // the same as the default user).
    constexpr int kFullNameWidth = 50;
    const QList<uint> name = fullName->toUcs4();
    if (name.size() > kFullNameWidth)
        *fullName =
            QString::fromUcs4(reinterpret_cast<const char32_t*>(name.constData()), kFullNameWidth);
    // Never cut to fit: two logins alike in their first characters would
    // sign on as each other.
    QVariant logonName = login;
    if (login.toUcs4().size() > kLogonNameWidth) {
        logonName = QVariant();
        if (note)
            *note = QStringLiteral("The login name \"%1\" is longer than the %2 characters a "
                                   "logon name may have, so it was not stored: %3 signs on in "
                                   "the logon dialog, without a password. To sign on by login "
                                   "name instead, make the database from a login of at most %2 "
                                   "characters.")
                        .arg(login)
                        .arg(kLogonNameWidth)
                        .arg(*fullName);
    }
    const struct {
        QString sql;
        QVariantList values;
    } steps[] = {
        // The person at the desktop signs on by login name, without a password.
        {QStringLiteral("UPDATE tblProperty SET intValue = 3 WHERE PropertyName = 'requirePwd'"),
         {}},
        // The first window comes up after 2 s, not 10.
        {QStringLiteral("INSERT INTO tblProperty (PropertyName, intValue) VALUES (?, 1)"),
         {QString::fromLatin1(kQuickStartProperty)}},
        {QStringLiteral("INSERT INTO tblFinEmployee (FirstName, LastName, EmpFullName, "
                        "NTUserName, IsCurrent, DeptID, SecLevel, HourRateFactor) "
                        "VALUES (?, ?, ?, ?, 1, 1, 1, 1)"),
         {fullName->section(QLatin1Char(' '), 0, 0), fullName->section(QLatin1Char(' '), 1),
          *fullName, logonName}},
        {QStringLiteral("INSERT INTO tblProject (ProjName, ProjState, UseTeamCheck, ProjColour, "
                        "CompanyID) VALUES ('General', 2, 0, 14120960, 1)"),
         {}},
        {QStringLiteral("INSERT INTO tblProjectOrderBook (OrderCode, Description, ProjID, "
                        "IsDefault, IsDone, OrderHourRate) "
                        "SELECT 'GEN', 'General work', ProjID, 1, 0, 0 FROM tblProject "
                        "WHERE ProjName = 'General'"),
         {}},
        {QStringLiteral("INSERT INTO tblProjectTask (Task, ProjID, OrderID, State, "
                        "DefaultWorkTypeID, TaskOrder) "
                        "SELECT 'General', o.ProjID, o.OrderID, 2, 1, '1' "
                        "FROM tblProjectOrderBook o JOIN tblProject p ON p.ProjID = o.ProjID "
                        "WHERE p.ProjName = 'General'"),
         {}},
    };
    for (const auto& step : steps) {
        CDbError dbError;
        if (!CSqlExecutor::RunNative(connection, step.sql, step.values, nullptr, &dbError)) {
            *error = dbError.description;
            return false;
        }
    }
    return true;
}
