#include "data/ConnectionString.h"
#include "data/DBConnection.h"
#include "data/DatabaseFile.h"
#include "data/Schema.h"

#include "platform/MessageBox.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <cstdio>

namespace {

// Errors are printed once, by main; nobody is asked anything.
class CQuietMessages : public IMessageBoxHook {
public:
    int Show(const QString&, const QString&, unsigned type) override
    {
        return CautiousAnswer(type);
    }
};

} // namespace

// kelvane-createdb "<connection string>": creates the Kelvane tables, saved
// queries, procedures and seed rows in an empty database, with the rows a
// first start writes: the person running it as the first employee (signing
// on by login name), the quick start and the project "General", so that the
// database can be signed on to and booked on at once. A database file is
// created when it does not exist; a server database must exist already.
// kelvane-createdb --update "<connection string>": adds what a database made
// by an earlier version lacks (indexes, current saved queries and server
// functions); rows stay.
int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    CQuietMessages quiet;
    SetMessageBoxHook(&quiet);
    QStringList args = QCoreApplication::arguments();
    const bool update = args.size() == 3 && args.at(1) == QLatin1String("--update");
    if (update)
        args.removeAt(1);
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: kelvane-createdb [--update] \"<connection string>\"\n"
                             "  e.g. \"Provider=PostgreSQL;Host=db;Port=5432;Database=kelvane;User "
                             "ID=me;Password=...\"\n"
                             "    or \"Provider=SQLite;Data Source=/path/kelvane.db\"\n");
        return 2;
    }
    const QString connectionString = args.at(1);
    const int kind = CSqlDialect::DetectProvider(connectionString);
    if (kind == kProviderUnknown) {
        std::fprintf(stderr, "kelvane-createdb: the connection string names no known provider "
                             "(Provider=PostgreSQL or Provider=SQLite)\n");
        return 2;
    }
    QString error;
    if (kind == kProviderSqlite && !update) {
        const QString file =
            CConnectionString(connectionString).Value(QStringLiteral("Data Source"));
        if (!QFileInfo::exists(file) && !CreateSqliteDatabaseFile(file, &error)) {
            std::fprintf(stderr, "kelvane-createdb: %s\n", qPrintable(error));
            return 1;
        }
    }
    CDBConnection connection;
    connection.UseConnectionString(connectionString);
    // Indexes on a large existing time sheet take longer than a window waits.
    connection.SetWaitLimits({0, 0});
    if (!connection.Connect(false)) {
        std::fprintf(stderr, "kelvane-createdb: cannot connect: %s\n",
                     qPrintable(connection.LastOpenError()));
        return 1;
    }
    const QString target = CConnectionString(connectionString).Masked();
    if (update) {
        if (!CSchema::Update(connection, &error)) {
            std::fprintf(stderr, "kelvane-createdb: %s\n", qPrintable(error));
            return 1;
        }
        std::printf("Updated the Kelvane schema in %s\n", qPrintable(target));
        return 0;
    }
    QString fullName;
    QString note;
    // All or nothing: a failure leaves the database as empty as it was.
    CDbError dbError;
    bool ok = connection.BeginTrans(&dbError);
    if (!ok)
        error = dbError.description;
    ok = ok && CSchema::Create(connection, &error) &&
         CSchema::AddFirstRows(connection, &fullName, &error, &note);
    if (ok && !connection.CommitTrans(&dbError)) {
        ok = false;
        error = dbError.description;
    }
    if (!ok) {
        if (connection.TransactionDepth() > 0)
            connection.RollbackTrans();
        std::fprintf(stderr, "kelvane-createdb: %s\n", qPrintable(error));
        return 1;
    }
    std::printf("Created the Kelvane schema in %s\n"
                "First employee: %s; first project: General\n",
                qPrintable(target), qPrintable(fullName));
    if (!note.isEmpty())
        std::fprintf(stderr, "kelvane-createdb: %s\n", qPrintable(note));
    return 0;
}
