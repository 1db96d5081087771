#include "bench/BenchUtil.h"
#include "bench/RawStatement.h"
#include "bench/scale/ScaleBench.h"
#include "data/ConnectionString.h"
#include "data/DBClass.h"
#include "data/records/TimeSheetSet.h"
#include "platform/MessageBox.h"
#include "review/ExportTimeSheetsDlg.h"
#include "review/ImportTimeSheetsDlg.h"
#include "review/TimeSheetFile.h"
#include "ui/ResourceIds.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <libpq-fe.h>
#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>

// The time-sheet file at scale: three years of every employee and project
// written through the Export dialog, its memory and its time beside the same
// rows read through the driver and written as text; and the Import dialog
// reading 4 MB of lines that are all refused, with its memory.

namespace {

constexpr int kRuns = 5;
constexpr double kExportGrowthMb = 150;
constexpr double kImportGrowthMb = 100;
constexpr qint64 kImportBytes = 4 * 1024 * 1024;

const QDate kFirstDay(kBenchFirstYear, 1, 1);
const QDate kLastDay(kBenchFirstYear + 2, 12, 31);

// The refused lines' messages, answered without a word.
class CQuietMessages : public IMessageBoxHook {
public:
    int Show(const QString&, const QString&, unsigned type) override
    {
        return CautiousAnswer(type);
    }
};

// Runs a dialog as a user would: `prepare` fills it in, OK is pressed, `read`
// takes what it did; then the dialog is closed.
template <typename Dialog>
void PressOk(CDBClass& db, const std::function<void(Dialog&)>& prepare,
             const std::function<void(Dialog&)>& read)
{
    struct CUser : IModalHook {
        std::function<void(Dialog&)> prepare;
        std::function<void(Dialog&)> read;
        int Run(CDialogBase& dialog) override
        {
            auto& dlg = static_cast<Dialog&>(dialog);
            prepare(dlg);
            dlg.OnCommand(IDOK);
            read(dlg);
            dlg.OnCommand(IDCANCEL);
            return dlg.EndCode();
        }
    } user;
    user.prepare = prepare;
    user.read = read;
    SetModalHook(&user);
    {
        Dialog dlg(db, nullptr);
        dlg.DoModal();
    }
    SetModalHook(nullptr);
}

int ExportThroughDialog(CDBClass& db, const QString& file)
{
    int written = -1;
    PressOk<CExportTimeSheetsDlg>(
        db,
        [&](CExportTimeSheetsDlg& dlg) {
            dlg.SetFileName(file);
            dlg.Control<QComboBox>(CExportTimeSheetsDlg::kIdWhoFor)->setCurrentIndex(0);
            dlg.SetProject(CExportTimeSheetsDlg::kAll);
            dlg.SetPeriod(kFirstDay, kLastDay);
        },
        [&](CExportTimeSheetsDlg& dlg) { written = dlg.Written(); });
    return written;
}

// ---- The raw baseline: the export's statement, each row as a line ----------------------

// "yyyy-mm-dd hh:mm:ss" as "dd/mm/yyyy hh:mm:ss" (or the date alone).
void AppendDate(std::string& line, const char* iso, bool withTime)
{
    if (!iso || std::strlen(iso) < 10)
        return;
    line.append(iso + 8, 2).append(1, '/').append(iso + 5, 2).append(1, '/').append(iso, 4);
    if (withTime)
        line.append(1, ' ').append(std::strlen(iso) >= 19 ? iso + 11 : "00:00:00", 8);
}

void AppendNumber(std::string& line, const char* text)
{
    if (!text)
        return;
    char out[64];
    line.append(out, std::snprintf(out, sizeof out, "%f", std::strtod(text, nullptr)));
}

// One line of the file from the columns of a row of tblTimeSheet, each as
// the driver gives it in text (null: none).
std::string RawLine(const std::function<const char*(int)>& cell)
{
    enum { EmpID = 1, ProjID, OrderID, WorkDate, StartTime, StopTime, Hours, TaskID, Comment };
    enum { InvCost = 10, WorkTypeID, TimeID, InvID, ObjectTypeID, ObjectID };
    std::string line;
    const auto text = [&](int c) {
        if (const char* t = cell(c))
            line.append(t);
    };
    const auto next = [&] { line.append(1, ','); };
    text(EmpID), next(), text(ProjID), next(), text(OrderID), next();
    AppendNumber(line, cell(Hours)), next(), text(TaskID), next();
    if (const char* c = cell(Comment))
        for (; *c; ++c)
            if (*c != ',' && *c != '\n' && *c != '\r')
                line.append(1, *c);
    next(), AppendNumber(line, cell(InvCost)), next(), text(WorkTypeID), next(), text(TimeID);
    next(), AppendDate(line, cell(StartTime), true), next(), AppendDate(line, cell(StopTime), true);
    next(), AppendDate(line, cell(WorkDate), false), next(), text(ObjectTypeID), next();
    text(ObjectID), next(), text(InvID);
    line.append(1, '\n');
    return line;
}

// The statement and values the export opens its rows with.
void ExportStatement(CDBConnection& connection, QString* sql, QVariantList* values)
{
    CTimeSheetSet set(&connection);
    const QVariantList filterValues{QVariant::fromValue(CDateTime(kFirstDay)),
                                    QVariant::fromValue(CDateTime(kLastDay.addDays(1)))};
    set.Recordset()->SetFilter(QStringLiteral("[WorkDate] >= ? AND [WorkDate] < ?"), filterValues);
    set.Recordset()->SetSort(QStringLiteral("[EmpID], [WorkDate], [TimeID]"));
    *sql = ProgramStatement(connection, *set.Recordset());
    *values = ProgramValues(connection, filterValues);
}

qint64 RawSqliteExport(const CScaleDatabase& database, const QString& sql,
                       const QVariantList& values, const QString& file)
{
    sqlite3* db = OpenRawSqlite(database.file, SQLITE_OPEN_READONLY);
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &stmt, nullptr);
    BindSqliteValues(stmt, values);
    FILE* out = std::fopen(QFile::encodeName(file).constData(), "wb");
    qint64 rows = 0;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        const std::string line = RawLine(
            [stmt](int c) { return reinterpret_cast<const char*>(sqlite3_column_text(stmt, c)); });
        std::fwrite(line.data(), 1, line.size(), out);
        ++rows;
    }
    std::fclose(out);
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return rows;
}

qint64 RawPgExport(PGconn* conn, const QString& sql, const QVariantList& values,
                   const QString& file)
{
    int n = 0;
    const QByteArray text = BackendRunners::NumberPlaceholders(sql, &n).toUtf8();
    std::vector<QByteArray> storage;
    std::vector<const char*> params;
    for (const QVariant& v : values)
        storage.push_back(v.toString().toUtf8());
    for (const QByteArray& v : storage)
        params.push_back(v.constData());
    PQsendQueryParams(conn, text.constData(), n, nullptr, params.data(), nullptr, nullptr, 0);
    PQsetSingleRowMode(conn);
    FILE* out = std::fopen(QFile::encodeName(file).constData(), "wb");
    qint64 rows = 0;
    while (PGresult* r = PQgetResult(conn)) {
        for (int row = 0; row < PQntuples(r); ++row) {
            const std::string line = RawLine([r, row](int c) -> const char* {
                return PQgetisnull(r, row, c) ? nullptr : PQgetvalue(r, row, c);
            });
            std::fwrite(line.data(), 1, line.size(), out);
            ++rows;
        }
        PQclear(r);
    }
    std::fclose(out);
    return rows;
}

// Whether the export's data lines are the baseline's.
bool SameDataLines(const QString& exported, const QString& raw)
{
    QFile a(exported);
    QFile b(raw);
    if (!a.open(QIODevice::ReadOnly) || !b.open(QIODevice::ReadOnly))
        return false;
    a.readLine();
    a.readLine();
    return a.readAll() == b.readAll();
}

bool Connect(CDBClass& db, const CScaleDatabase& database)
{
    db.Connection()->UseConnectionString(database.connectionString);
    if (db.OpenConnection())
        return true;
    std::printf("[%s] cannot open the database\n", database.Backend());
    return false;
}

void RunExport(const CScaleBackend& backend)
{
    CScaleDatabase database;
    if (!backend.Database(ScaleRows(), &database))
        return;
    CQuietMessages quiet;
    SetMessageBoxHook(&quiet);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("export.txt"));
    const QString rawFile = dir.filePath(QStringLiteral("raw.txt"));
    {
        CDBClass db;
        if (!Connect(db, database))
            return;
        QString sql;
        QVariantList values;
        ExportStatement(*db.Connection(), &sql, &values);
        PGconn* conn = database.postgres ? PQconnectdb(database.conninfo.constData()) : nullptr;
        const auto raw = [&] {
            return database.postgres ? RawPgExport(conn, sql, values, rawFile)
                                     : RawSqliteExport(database, sql, values, rawFile);
        };
        PrintLoad("  export");
        int written = 0;
        const double growth = PeakRssGrowthMb([&] { written = ExportThroughDialog(db, file); });
        const qint64 rawRows = raw();
        std::printf("[%s] %s to %s: %d rows written (%.1f MB), raw %lld rows (%.1f MB), %s\n",
                    backend.Name(), qPrintable(kFirstDay.toString(Qt::ISODate)),
                    qPrintable(kLastDay.toString(Qt::ISODate)), written,
                    QFile(file).size() / 1048576.0, static_cast<long long>(rawRows),
                    QFile(rawFile).size() / 1048576.0,
                    SameDataLines(file, rawFile) ? "the same lines" : "LINES DIFFER");
        PrintFigure(backend.Name(), "export of three years: peak RSS growth", growth, "MB",
                    kExportGrowthMb);
        const BenchPair pair = TimePair(
            kRuns, [&] { ExportThroughDialog(db, file); }, raw);
        std::printf("[%s] ", backend.Name());
        // The range the program's other paths keep to the raw driver at scale.
        PrintPair("export of three years beside the raw read and write", pair, 2.1);
        if (conn)
            PQfinish(conn);
        PrintLoad("  export");
        db.ReleaseConnection(true, true);
    }
    SetMessageBoxHook(nullptr);
}

// ---- The import of refused lines ----------------------------------------------------

// 4 MB of lines after the database line and the header, each `line` with
// its number in place of %d.
QByteArray RefusedFile(const QString& databaseName, const char* line)
{
    QByteArray text = databaseName.toUtf8() + '\n' + TimeSheetFile::kHeader.toUtf8() + '\n';
    text.reserve(kImportBytes + 256);
    char buffer[256];
    for (int i = 1; text.size() < kImportBytes; ++i)
        text.append(buffer, std::snprintf(buffer, sizeof buffer, line, i % 10));
    return text;
}

qint64 LineCount(const QString& file)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    return f.readAll().count('\n');
}

void ImportRefused(const char* backend, CDBClass& db, const QString& file, const char* what)
{
    int refused = -1;
    int imported = -1;
    QString errorFile;
    QElapsedTimer timer;
    double ms = 0;
    const double growth = PeakRssGrowthMb([&] {
        timer.start();
        PressOk<CImportTimeSheetsDlg>(
            db, [&](CImportTimeSheetsDlg& dlg) { dlg.SetFileName(file); },
            [&](CImportTimeSheetsDlg& dlg) {
                refused = dlg.Refused();
                imported = dlg.Imported();
                errorFile = dlg.ErrorFile();
            });
        ms = timer.nsecsElapsed() / 1e6;
    });
    std::printf("[%s] %s: %d imported, %d refused, error file of %lld lines; %.0f ms\n", backend,
                what, imported, refused, static_cast<long long>(LineCount(errorFile)), ms);
    PrintFigure(backend, (QByteArray("import of 4 MB refused: ") + what + ", peak growth").data(),
                growth, "MB", kImportGrowthMb);
}

void RunImport(const CScaleBackend& backend)
{
    CScaleDatabase database;
    if (!backend.Database(ScaleRows(), &database))
        return;
    CQuietMessages quiet;
    SetMessageBoxHook(&quiet);
    QTemporaryDir dir;
    {
        CDBClass db;
        if (!Connect(db, database))
            return;
        PrintLoad("  import");
        const QString name = CConnectionString(database.connectionString).DatabaseName();
        // Lines that do not parse, and lines of an employee the database
        // does not have: nothing is written either way.
        const struct {
            const char* what;
            const char* line;
        } kinds[] = {
            {"short lines", "%d\n"},
            {"unknown employee", "9999999,1,1,,1,,,,1,1/1/2021,1/1/2021 1:0%d,1/1/2021,,,\n"},
        };
        for (const auto& kind : kinds) {
            const QString file = dir.filePath(QStringLiteral("refused.txt"));
            QFile out(file);
            if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
                out.write(RefusedFile(name, kind.line)) < 0)
                return;
            out.close();
            ImportRefused(backend.Name(), db, file, kind.what);
        }
        PrintLoad("  import");
        db.ReleaseConnection(true, true);
    }
    SetMessageBoxHook(nullptr);
}

const bool s_export = RegisterScaleSection(
    {"export", "three years of every employee and project through the Export dialog", RunExport});
const bool s_import =
    RegisterScaleSection({"import", "4 MB of refused lines through the Import dialog", RunImport});

} // namespace
