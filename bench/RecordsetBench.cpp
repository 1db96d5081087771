#include "bench/BenchUtil.h"
#include "data/BindingSet.h"
#include "data/ConnectionString.h"
#include "data/DBConnection.h"
#include "data/DatabaseFile.h"
#include "data/MyAdoRecordSet.h"
#include "data/SqlExecutor.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <array>
#include <cstdio>

// Opening and walking a 100,000-row time-sheet table through a record class,
// beside the same SELECT stepped through SQLite's own interface.

namespace {

constexpr int kRows = 100000;

constexpr std::array<CColumnDef, 16> kColumns = {{
    Col("TimesheetID", adInteger),
    Col("EmpID", adInteger),
    Col("ProjID", adInteger),
    Col("OrderID", adInteger),
    Col("WorkDate", adDate),
    Col("StartTime", adDate),
    Col("StopTime", adDate),
    Col("HoursWorked", adSingle),
    Col("TaskID", adInteger),
    Text("Comment", 255),
    Col("InvCost", adCurrency),
    Col("WorkTypeID", adInteger),
    Col("TimeID", adInteger),
    Col("InvID", adInteger),
    Col("ObjectTypeID", adInteger),
    Col("ObjectID", adInteger),
}};

class CBenchSet : public CBindingSet {
public:
    explicit CBenchSet(CDBConnection* c)
        : CBindingSet(c, kColumns, 16, 1, QStringLiteral("tblTimeSheet"))
    {
        BindBuffers(m_TimesheetID, m_EmpID, m_ProjID, m_OrderID, m_WorkDate, m_StartTime,
                    m_StopTime, m_HoursWorked, m_TaskID, m_Comment, m_InvCost, m_WorkTypeID,
                    m_TimeID, m_InvID, m_ObjectTypeID, m_ObjectID);
    }
    int m_TimesheetID = 0, m_EmpID = 0, m_ProjID = 0, m_OrderID = 0;
    CDateTime m_WorkDate, m_StartTime, m_StopTime;
    float m_HoursWorked = 0;
    int m_TaskID = 0;
    QString m_Comment;
    double m_InvCost = 0;
    int m_WorkTypeID = 0, m_TimeID = 0, m_InvID = 0, m_ObjectTypeID = 0, m_ObjectID = 0;
};

void Fill(CDBConnection& conn)
{
    CSqlExecutor::RunScript(
        conn,
        QStringLiteral(
            "CREATE TABLE tblTimeSheet (TimesheetID INTEGER PRIMARY KEY, EmpID INTEGER, "
            "ProjID INTEGER, OrderID INTEGER, WorkDate TEXT, StartTime TEXT, StopTime TEXT, "
            "HoursWorked REAL, TaskID INTEGER, Comment TEXT, InvCost NUMERIC, WorkTypeID "
            "INTEGER, TimeID INTEGER, InvID INTEGER, ObjectTypeID INTEGER, ObjectID INTEGER)"),
        nullptr);
    conn.BeginTrans();
    for (int i = 0; i < kRows; ++i) {
        const CDateTime day = CDateTime(2024, 1, 1).AddDays(i / 40);
        const CDateTime start = day.AddSecs((8 * 60 + (i % 40) * 12) * 60);
        CSqlExecutor::RunNative(
            conn,
            QStringLiteral(
                "INSERT INTO tblTimeSheet VALUES (NULL,?,?,?,?,?,?,?,?,?,?,?,?,NULL,NULL,NULL)"),
            {i % 200, i % 1000, i % 3000, QVariant::fromValue(day), QVariant::fromValue(start),
             QVariant::fromValue(start.AddSecs(12 * 60)), 0.2, i % 5000,
             QStringLiteral("Worked on item %1 of the plan").arg(i), 17.5, i % 7, i % 40 + 1},
            nullptr, nullptr);
    }
    conn.CommitTrans();
}

qint64 WalkRecordset(CDBConnection& conn)
{
    CBenchSet set(&conn);
    set.Recordset()->OpenRecordSetRecEx();
    qint64 sum = 0;
    while (!set.Recordset()->IsEOF()) {
        sum += set.m_EmpID + set.m_StartTime.MinutesOfDay() + set.m_Comment.size();
        set.MoveNext();
    }
    set.Close();
    return sum;
}

qint64 WalkRaw(sqlite3* db)
{
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db, "SELECT * from tblTimeSheet", -1, &stmt, nullptr);
    qint64 sum = 0;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        for (int c = 0; c < 16; ++c) {
            switch (sqlite3_column_type(stmt, c)) {
            case SQLITE_INTEGER:
                sum += sqlite3_column_int64(stmt, c);
                break;
            case SQLITE_FLOAT:
                sum += static_cast<qint64>(sqlite3_column_double(stmt, c));
                break;
            case SQLITE_TEXT:
                sum += sqlite3_column_bytes(stmt, c) + sqlite3_column_text(stmt, c)[0];
                break;
            default:
                break;
            }
        }
    }
    sqlite3_finalize(stmt);
    return sum;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("bench.db"));
    QString error;
    if (!CreateSqliteDatabaseFile(file, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    CDBConnection conn;
    conn.UseConnectionString(CConnectionString::SqliteString(file));
    if (!conn.Connect(false))
        return 1;
    Fill(conn);

    sqlite3* raw = nullptr;
    sqlite3_open_v2(file.toUtf8().constData(), &raw, SQLITE_OPEN_READONLY, nullptr);
    qint64 sink = 0;
    const BenchPair p = TimePair(
        7, [&] { sink += WalkRecordset(conn); }, [&] { sink += WalkRaw(raw); });
    sqlite3_close(raw);
    PrintPair("open and walk 100,000 rows (record class)", p, 2.0);
    if (qEnvironmentVariableIsSet("BENCH_PHASES")) {
        CBenchSet set(&conn);
        QElapsedTimer t;
        t.start();
        set.Recordset()->OpenRecordSetRecEx();
        const double open = t.nsecsElapsed() / 1e6;
        t.restart();
        while (!set.Recordset()->IsEOF())
            set.MoveNext();
        std::printf("open %.1f ms, walk %.1f ms\n", open, t.nsecsElapsed() / 1e6);
    }
    std::printf("(checksum %lld)\n", static_cast<long long>(sink));
    return 0;
}
