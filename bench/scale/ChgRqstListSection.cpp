#include "bench/BenchUtil.h"
#include "bench/RawStatement.h"
#include "bench/scale/ScaleBench.h"
#include "data/DBClass.h"
#include "data/Schema.h"
#include "data/records/ChgRqstBriefSet2.h"
#include "records/ChgRqstFilter.h"
#include "records/ChgRqstRow.h"

#include <cstdio>

// One user's change-request list as the window opens it: the team member's
// open requests of every project, through the list's record class, at the
// small size and at the scale's, beside the same statement through the
// back end's own interface.

namespace {

constexpr int kMember = kBenchListMember;
constexpr int kRuns = 11;
const QString kSort = QStringLiteral("[DateCreated] DESC, [ChgReqID] DESC");

struct CListFigures {
    qint64 rows = 0;
    BenchPair pair;
};

bool ReadList(CDBClass& db, const CBoundFilter& where, qint64* rows)
{
    CChgRqstBriefSet2 set(db.Connection());
    set.Recordset()->SetQuiet(true);
    set.Recordset()->SetFilter(where.sql, where.values);
    set.Recordset()->SetSort(kSort);
    if (!db.OpenRecordSet(&set))
        return false;
    QList<CChgRqstRow> read;
    for (; !set.Recordset()->IsBOF() && !set.Recordset()->IsEOF(); set.MoveNext())
        read << CChgRqstRow::FromSet(set);
    db.CloseRecordSet(&set);
    *rows = read.size();
    return true;
}

bool MeasureList(const CScaleDatabase& database, CListFigures* out)
{
    CDBClass db;
    db.Connection()->UseConnectionString(database.connectionString);
    QString error;
    if (!db.OpenConnection() || !CSchema::Update(*db.Connection(), &error)) {
        std::fprintf(stderr, "bench_scale: %s\n", qPrintable(error));
        return false;
    }
    const CBoundFilter where = CChgRqstFilter::ForQuery(-1, kMember, -2, true, QString());
    QString sql;
    {
        CChgRqstBriefSet2 set(db.Connection());
        set.Recordset()->SetFilter(where.sql, where.values);
        set.Recordset()->SetSort(kSort);
        sql = ProgramStatement(*db.Connection(), *set.Recordset());
    }
    const QVariantList values = ProgramValues(*db.Connection(), where.values);
    qint64 rawRows = 0;
    qint64 sum = 0;
    std::function<void()> raw;
    sqlite3* handle = nullptr;
    std::unique_ptr<CRawSqliteStatement> sqliteStatement;
    std::unique_ptr<CRawPgStatement> pgStatement;
    if (database.postgres) {
        pgStatement = std::make_unique<CRawPgStatement>(ProgramHandle(*db.Connection()),
                                                        "chgrqst_list", sql, values);
        raw = [&] { sum += pgStatement->Read(true, &rawRows); };
    } else {
        handle = OpenRawSqlite(database.file, SQLITE_OPEN_READONLY);
        sqliteStatement = std::make_unique<CRawSqliteStatement>(handle, sql, values);
        raw = [&] { sum += sqliteStatement->Read(&rawRows); };
    }
    bool ok = true;
    out->pair = TimePair(
        kRuns, [&] { ok = ReadList(db, where, &out->rows) && ok; }, raw);
    sqliteStatement.reset();
    pgStatement.reset();
    if (handle)
        sqlite3_close(handle);
    std::printf("[%s] %lld bookings: %lld requests listed (raw %lld), %.2f ms, raw %.2f ms\n",
                database.Backend(), static_cast<long long>(database.rows),
                static_cast<long long>(out->rows), static_cast<long long>(rawRows),
                out->pair.subjectMs, out->pair.baselineMs);
    db.ReleaseConnection(true, true);
    return ok;
}

const bool s_registered = RegisterScaleSection(
    {"chgrqst-list", "a team member's change-request list at the small size and at scale",
     [](const CScaleBackend& backend) {
         PrintLoad("chgrqst-list");
         CScaleDatabase small;
         CScaleDatabase large;
         CListFigures atSmall;
         CListFigures atLarge;
         if (!backend.Database(kSmallRows, &small) || !backend.Database(ScaleRows(), &large) ||
             !MeasureList(small, &atSmall) || !MeasureList(large, &atLarge))
             return;
         PrintPair("  the list at scale against the raw statement", atLarge.pair, 1.5);
         const double growth =
             atSmall.pair.subjectMs > 0 ? atLarge.pair.subjectMs / atSmall.pair.subjectMs : 0;
         const double rawGrowth =
             atSmall.pair.baselineMs > 0 ? atLarge.pair.baselineMs / atSmall.pair.baselineMs : 0;
         PrintFigure(backend.Name(), "the list at scale / at 100,000 bookings", growth, "x", 2);
         std::printf("[%s] (the raw statement grew %.1fx; rows %lld -> %lld)\n", backend.Name(),
                     rawGrowth, static_cast<long long>(atSmall.rows),
                     static_cast<long long>(atLarge.rows));
         // The list holds more rows at scale: per row, the growth left is the query's.
         const auto perRow = [](const CListFigures& f) {
             return f.rows > 0 ? f.pair.subjectMs * 1000 / f.rows : 0;
         };
         std::printf("[%s] per request listed: %.2f us at 100,000, %.2f us at scale (%.1fx)\n",
                     backend.Name(), perRow(atSmall), perRow(atLarge),
                     perRow(atSmall) > 0 ? perRow(atLarge) / perRow(atSmall) : 0);
     }});

} // namespace
