#include "data/DBClass.h"
#include "data/NameValueArray.h"
#include "data/Schema.h"
#include "data/UndoHistory.h"
#include "data/records/TimeSheetSet.h"
#include "platform/ProfileStore.h"
#include "tests/support/FacadeFixture.h"
#include "tests/support/TestEnv.h"

#include <QMutex>

#include <latch>
#include <thread>

namespace {

constexpr int kAnn = 1; // rate factor 1.5
constexpr int kBob = 2; // rate factor 1
constexpr int kProject = 5;
constexpr int kOrder = 7; // 100 an hour
constexpr int kTask = 9;  // work type 2 ("Design")
constexpr int kChangeRequest = 3;

// The time-sheet window as far as the history needs it: it writes the
// entry of a step again, as the window's handlers do.
class CReplayingView : public ITimeSheetView {
public:
    explicit CReplayingView(CDBClass& db)
        : m_db(db)
    {}
    int CommentSwitch() const override { return 0; }
    bool ApplyUndoStep(int kind, CUndoRecord* r) override
    {
        if (kind == CUndoStep::kInserted)
            return ApplyRedoStep(CUndoStep::kDeleted, r);
        if (kind == CUndoStep::kDeleted)
            return ApplyRedoStep(CUndoStep::kInserted, r);
        results << Write(*r, true, r->m_start, r->m_stop, true);
        return results.last() == kWriteOk;
    }
    bool ApplyRedoStep(int kind, CUndoRecord* r) override
    {
        if (kind == CUndoStep::kInserted)
            results << Write(*r, false, r->m_start, r->m_stop, true);
        else if (kind == CUndoStep::kDeleted)
            results << Write(*r, true, 0, 0, true); // zero length: removed
        else
            results << Write(*r, true, r->m_start, r->m_stop, false);
        return results.last() == kWriteOk;
    }

    QList<int> results;

private:
    int Write(const CUndoRecord& r, bool isUpdate, int start, int stop, bool fromHistory)
    {
        CTimeSheetWrite e;
        e.IsUpdate = isUpdate;
        e.WorkDate = r.m_WorkDate;
        e.EmpID = r.m_EmpID;
        e.ProjID = r.m_ProjID;
        e.OrderID = r.m_OrderID;
        e.TaskID = r.m_TaskID;
        e.OrderHourRate = r.m_rate;
        e.Start = start;
        e.Stop = stop;
        e.Comment = r.m_Comment;
        e.WorkTypeID = r.m_WorkTypeID;
        e.ObjectID = r.m_ObjectID;
        e.TimeID = r.m_TimeID;
        e.FromHistory = fromHistory;
        return m_db.UpdateTimeData(nullptr, e);
    }

    CDBClass& m_db;
};

// Message boxes from two threads at once.
class CLockedMessages : public IMessageBoxHook {
public:
    int Show(const QString& text, const QString&, unsigned type) override
    {
        QMutexLocker lock(&m_mutex);
        texts << text;
        return CautiousAnswer(type);
    }
    QStringList texts;

private:
    QMutex m_mutex;
};

} // namespace

// Time-sheet writes on both back ends: the server writes through its
// procedures, the database file through the time-sheet record class.
class TimeSheetWritesTest : public FacadeDbTest {
protected:
    void SetUp() override
    {
        FacadeDbTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        Exec(QStringLiteral("INSERT INTO tblFinEmployee (EmpID, EmpFullName, NTUserName, DeptID, "
                            "IsCurrent, HourRateFactor) VALUES (1, 'Ann', 'ann', 1, 1, 1.5), "
                            "(2, 'Bob', 'bob', 1, 1, 1)"));
        Exec(QStringLiteral(
            "INSERT INTO tblProject (ProjID, ProjName, UseTeamCheck) VALUES (5, 'Apollo', 0)"));
        Exec(QStringLiteral("INSERT INTO tblProjectOrderBook (OrderID, OrderCode, ProjID, "
                            "IsDefault, IsDone, OrderHourRate) VALUES (7, 'A-7', 5, 1, 0, 100), "
                            "(8, 'Cheap', 5, 0, 0, 0.29), (11, 'Odd', 5, 0, 0, 1.05)"));
        Exec(QStringLiteral("INSERT INTO tblProjectTask (TaskID, Task, ProjID, State, "
                            "DefaultWorkTypeID) VALUES (9, 'Build', 5, 2, 2), (10, 'Test', 5, 2, "
                            "NULL)"));
        Exec(QStringLiteral("INSERT INTO tblChgReq (ChgReqID, Item) VALUES (3, 'x')"));
        m_db.StartupInfo().BookingInterval = 15;
        m_db.SetTimeSheetView(&m_view);
    }
    void TearDown() override
    {
        if (IsPostgres() && !HasFatalFailure() && !IsSkipped()) {
            // The suite's schema outlives the test; its failing triggers must not.
            for (const char* table : {"tblTimeSheet", "tblChgReqAction"})
                for (const char* operation : {"insert", "update", "delete"})
                    Exec(QStringLiteral("DROP TRIGGER IF EXISTS kv_fail_%2 ON %1")
                             .arg(QLatin1String(table), QLatin1String(operation)));
        }
        m_db.SetTimeSheetView(nullptr);
        FacadeDbTest::TearDown();
    }

    // A valid new entry of Ann's on the test day.
    CTimeSheetWrite Entry(int timeId, int start, int stop) const
    {
        CTimeSheetWrite e;
        e.WorkDate = m_day;
        e.EmpID = kAnn;
        e.ProjID = kProject;
        e.OrderID = kOrder;
        e.TaskID = kTask;
        e.OrderHourRate = 100;
        e.Start = start;
        e.Stop = stop;
        e.Comment = QStringLiteral("wrote the plan");
        e.TimeID = timeId;
        return e;
    }
    int Write(CTimeSheetWrite e) { return m_db.UpdateTimeData(nullptr, e); }
    int Update(int timeId, int start, int stop)
    {
        CTimeSheetWrite e = Entry(timeId, start, stop);
        e.IsUpdate = true;
        return Write(e);
    }

    // The columns after the key, as stored.
    QVariantList Row(int timeId, int empId = kAnn)
    {
        CTimeSheetSet set(&m_conn);
        EXPECT_TRUE(set.OpenTableWithQuery(nullptr, QStringLiteral("[EmpID] = ? AND [TimeID] = ?"),
                                           QString(), {empId, timeId}));
        QVariantList values;
        if (set.Recordset()->IsEOF())
            return values;
        for (int i = 1; i < set.ColumnCount(); ++i) {
            QVariant v = set.BufferValue(i);
            if (i == 7) // HoursWorked is a 32-bit float on both back ends
                v = static_cast<double>(v.toFloat());
            values << v;
        }
        return values;
    }
    int Count()
    {
        return Query(QStringLiteral("SELECT count(*) FROM tblTimeSheet")).Value(0, 0).toInt();
    }
    // Makes the database refuse every insert or update of a table.
    void FailWrites(const QString& table, const QString& operation)
    {
        if (IsPostgres()) {
            Exec(QStringLiteral(
                "CREATE OR REPLACE FUNCTION kv_fail() RETURNS trigger LANGUAGE "
                "plpgsql AS $$ BEGIN RAISE EXCEPTION 'refused by the test'; END $$"));
            Exec(QStringLiteral("CREATE TRIGGER kv_fail_%3 BEFORE %1 ON %2 FOR EACH ROW EXECUTE "
                                "FUNCTION kv_fail()")
                     .arg(operation, table, operation.toLower()));
        } else {
            Exec(QStringLiteral("CREATE TRIGGER kv_fail_%3_%4 BEFORE %1 ON %2 BEGIN SELECT "
                                "RAISE(ABORT, 'refused by the test'); END")
                     .arg(operation, table, table, operation.toLower()));
        }
    }
    // The result an overlap gets: the server's procedure reports it as its
    // error, the record path by its own code.
    int OverlapResult() const { return IsPostgres() ? kWriteProcedureRefused : kWriteOverlap; }
    QStringList Messages() const { return CRecordingMessages::Current().Texts(); }

    CReplayingView m_view{m_db};
    const CDateTime m_day{2026, 12, 8};
};

TEST_P(TimeSheetWritesTest, InvalidEntriesAreRefusedInOrder)
{
    struct Case {
        int start, stop, timeId, orderId, expected;
    };
    const Case cases[] = {
        {-1, 600, 1, kOrder, kWriteBelowZero},   {1441, 600, 1, kOrder, kWriteAbove1440},
        {540, -5, 1, kOrder, kWriteBelowZero},   {540, 1500, 1, kOrder, kWriteAbove1440},
        {540, 600, -1, kOrder, kWriteBadTimeId}, {-1, 1500, -1, 0, kWriteBelowZero},
        {540, 600, 1, 0, kWriteNoOrder},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        CTimeSheetWrite e = Entry(c.timeId, c.start, c.stop);
        e.OrderID = c.orderId;
        EXPECT_EQ(Write(e), c.expected);
    }
    EXPECT_EQ(Messages(), QStringList{QStringLiteral("Choose an order before saving")});
    EXPECT_EQ(Count(), 0);
    EXPECT_EQ(m_db.UndoHistory().UndoCount(), 0);

    CTimeSheetWrite unknown = Entry(1, 540, 600);
    unknown.EmpID = 99;
    EXPECT_EQ(Write(unknown), kWriteNoRateFactor);
    m_db.StartupInfo().BookingInterval = 10;
    EXPECT_EQ(Write(Entry(1, 540, 600)), kWriteNotRounded);
    EXPECT_EQ(Count(), 0);
    EXPECT_EQ(m_db.UndoHistory().UndoCount(), 0);
}

TEST_P(TimeSheetWritesTest, AnEntryIsStoredWithRoundedHoursAndItsCost)
{
    m_db.EnsureDayLoaded(kAnn, m_day.Date(), true);
    CTimeSheetWrite e = Entry(1, 600, 540); // given backwards
    e.Comment = QStringLiteral("It's \"done\"; DROP TABLE tblTimeSheet; -- 50%");
    e.WorkTypeName = QStringLiteral("meeting");
    e.ObjectID = kChangeRequest;
    e.ObjectTypeID = 7; // not ours to choose: a change request is type 40
    e.InvID = 12;
    {
        CProfileStore profile;
        profile.setValue(QStringLiteral("Admin/commentsAsActions"), 0);
    }
    ASSERT_EQ(m_db.UpdateTimeData(nullptr, e), kWriteOk) << Messages().join('|').toStdString();
    EXPECT_EQ(e.WorkTypeID, 3);
    EXPECT_GT(e.TimesheetID, 0);
    // EmpID, ProjID, OrderID, WorkDate, StartTime, StopTime, HoursWorked, TaskID, Comment,
    // InvCost, WorkTypeID, TimeID, InvID, ObjectTypeID, ObjectID
    const QVariantList expected = {kAnn,
                                   kProject,
                                   kOrder,
                                   QVariant::fromValue(m_day),
                                   QVariant::fromValue(CDateTime(2026, 12, 8, 9, 0)),
                                   QVariant::fromValue(CDateTime(2026, 12, 8, 10, 0)),
                                   1.0,
                                   kTask,
                                   e.Comment,
                                   150.0,
                                   3,
                                   1,
                                   QVariant(),
                                   40,
                                   kChangeRequest};
    EXPECT_EQ(Row(1), expected);
    EXPECT_EQ(Query(QStringLiteral("SELECT TimesheetID FROM tblTimeSheet")).Value(0, 0).toInt(),
              e.TimesheetID);
    ASSERT_EQ(m_db.DayEntries().size(), 1);
    EXPECT_EQ(m_db.DayEntries().first().StartTime.MinutesOfDay(), 540);
    EXPECT_EQ(m_db.DayEntries().first().ObjectID.toInt(), kChangeRequest);

    // Without a task the user is told, and the row is written anyway; the
    // work type then comes from nowhere and stays empty.
    CTimeSheetWrite noTask = Entry(2, 600, 650);
    noTask.TaskID = 0;
    ASSERT_EQ(Write(noTask), kWriteOk);
    EXPECT_TRUE(Messages().contains(QStringLiteral("Choose a task before saving")));
    const QVariantList second = Row(2);
    ASSERT_EQ(second.size(), 15);
    EXPECT_DOUBLE_EQ(second.at(6).toDouble(), 0.75); // 50 minutes at 15
    EXPECT_DOUBLE_EQ(second.at(9).toDouble(), 112.5);
    EXPECT_TRUE(second.at(10).isNull());
    EXPECT_TRUE(second.at(13).isNull()); // no change request: no object type
    EXPECT_EQ(m_db.DayEntries().size(), 2);
}

TEST_P(TimeSheetWritesTest, BothPathsOfTheServerWriteTheSameRow)
{
    if (!IsPostgres())
        GTEST_SKIP() << "the procedures live on the server";
    CTimeSheetWrite e = Entry(1, 545, 600);
    e.ObjectID = kChangeRequest;
    CTimeSheetWrite moved = e;
    moved.IsUpdate = true;
    moved.Start = 480;
    moved.Stop = 615;
    moved.WorkTypeName = QStringLiteral("Travel");
    ASSERT_EQ(Write(e), kWriteOk);
    // Invoiced meanwhile: an update keeps the mark while the link stays.
    Exec(QStringLiteral("UPDATE tblTimeSheet SET InvID = 44"));
    ASSERT_EQ(Write(moved), kWriteOk);
    const QVariantList byProcedure = Row(1);
    EXPECT_EQ(byProcedure.value(12).toInt(), 44);
    ASSERT_EQ(Update(1, 480, 615), kWriteOk); // unlinked: no object, no invoice
    const QVariantList unlinkedByProcedure = Row(1);
    EXPECT_TRUE(unlinkedByProcedure.value(12).isNull());
    Exec(QStringLiteral("DELETE FROM tblTimeSheet"));

    // Registered for a later database version: the record path is taken.
    CNameValueArray required;
    required.Add(QStringLiteral("sp_TimesheetInsert"), 9.0f);
    m_db.SetRequiredVersions(&required);
    ASSERT_EQ(Write(e), kWriteOk);
    Exec(QStringLiteral("UPDATE tblTimeSheet SET InvID = 44"));
    ASSERT_EQ(Write(moved), kWriteOk);
    EXPECT_EQ(Row(1), byProcedure);
    ASSERT_EQ(Update(1, 480, 615), kWriteOk);
    EXPECT_EQ(Row(1), unlinkedByProcedure);
    EXPECT_EQ(Messages(), QStringList());
    m_db.SetRequiredVersions(nullptr);
}

TEST_P(TimeSheetWritesTest, OverlapsAreRefusedByTheDatabase)
{
    ASSERT_EQ(Write(Entry(1, 600, 660)), kWriteOk);
    EXPECT_EQ(Write(Entry(2, 540, 600)), kWriteOk); // touching ends do not overlap
    EXPECT_EQ(Write(Entry(3, 660, 720)), kWriteOk);
    CRecordingMessages::Current().Clear();
    EXPECT_EQ(Write(Entry(4, 630, 700)), OverlapResult());
    ASSERT_EQ(Messages().size(), 1);
    EXPECT_TRUE(Messages().first().contains(QStringLiteral("overlaps")))
        << Messages().first().toStdString();
    EXPECT_EQ(Update(1, 590, 660), OverlapResult()); // moved over its neighbour
    EXPECT_EQ(Update(1, 610, 650), kWriteOk);        // moved within its own place
    CTimeSheetWrite bob = Entry(1, 630, 700);
    bob.EmpID = kBob;
    EXPECT_EQ(Write(bob), kWriteOk); // another employee's day
    const int refused = IsPostgres() ? kWriteProcedureRefused : kWriteDbError;
    EXPECT_EQ(Write(Entry(1, 800, 860)), refused); // the key is taken
    EXPECT_EQ(Update(9, 800, 860), IsPostgres() ? kWriteProcedureRefused : kWriteNotOpened);
    EXPECT_EQ(Count(), 4);
    EXPECT_EQ(m_db.UndoHistory().UndoCount(), 5); // refused writes record nothing
}

// A database the previous version made and nobody has updated: the program
// names it at start, and a move it cannot store there says why. The update
// records the revision once, however often it runs.
TEST_P(TimeSheetWritesTest, ADatabaseOfThePreviousRevisionIsNamedUntilItIsUpdated)
{
    // The previous revision: no row of this one, and on the server the
    // procedure that found a row only at the midnight of its WorkDate.
    Exec(QStringLiteral("DELETE FROM ztlkpDbInfo WHERE dbVersion > 2.205"));
    if (IsPostgres())
        Exec(QStringLiteral(
            "CREATE OR REPLACE FUNCTION sp_TimeSheetUpdate(p_EmpID integer, p_ProjID integer, "
            "p_OrderID integer, p_WorkDate timestamp, p_StartTime timestamp, p_StopTime "
            "timestamp, p_HoursWorked real, p_TaskID integer, p_Comment text, p_InvCost numeric, "
            "p_WorkTypeID integer, p_TimeID integer, p_InvID integer, p_ObjectTypeID integer, "
            "p_ObjectID integer) RETURNS TABLE (TimesheetID integer, ErrorFlag integer, "
            "ErrorText text) LANGUAGE plpgsql AS $$ #variable_conflict use_column\n"
            "DECLARE v_id integer; BEGIN SELECT t.TimesheetID INTO v_id FROM tblTimeSheet t "
            "WHERE t.EmpID = p_EmpID AND t.WorkDate = p_WorkDate AND t.TimeID = p_TimeID; "
            "IF v_id IS NULL THEN RETURN QUERY SELECT NULL::integer, 3, "
            "'This entry does not exist anymore'::text; RETURN; END IF; "
            "UPDATE tblTimeSheet t SET StartTime = p_StartTime, StopTime = p_StopTime "
            "WHERE t.TimesheetID = v_id; RETURN QUERY SELECT v_id, 0, ''::text; END; $$"));
    // A row of the administration program: its WorkDate carries the start.
    Exec(QStringLiteral("INSERT INTO tblTimeSheet (EmpID, WorkDate, StartTime, StopTime, TimeID, "
                        "ProjID, OrderID, TaskID, HoursWorked) VALUES (1, '2026-12-08 09:00:00', "
                        "'2026-12-08 09:00:00', '2026-12-08 10:00:00', 1, 5, 7, 9, 1)"));
    QString version;
    EXPECT_FALSE(m_db.CheckDbVersion(CSchema::kVersion, version, false));
    EXPECT_EQ(version, QStringLiteral("2.20"));
    CRecordingMessages::Current().Clear();
    if (IsPostgres()) {
        EXPECT_EQ(Update(1, 540, 660), kWriteProcedureRefused);
        ASSERT_EQ(Messages().size(), 1);
        EXPECT_TRUE(Messages().first().contains(QStringLiteral("kelvane-createdb --update")))
            << Messages().first().toStdString();
    }

    const auto revisionRows = [this] {
        return Query(QStringLiteral("SELECT count(*) FROM ztlkpDbInfo WHERE dbVersion > 2.205"))
            .Value(0, 0)
            .toInt();
    };
    QString error;
    ASSERT_TRUE(CSchema::Update(m_conn, &error)) << error.toStdString();
    EXPECT_EQ(revisionRows(), 1);
    EXPECT_TRUE(m_db.CheckDbVersion(CSchema::kVersion, version, false));
    EXPECT_EQ(version, QStringLiteral("2.21"));
    ASSERT_TRUE(CSchema::Update(m_conn, &error)) << error.toStdString();
    EXPECT_EQ(revisionRows(), 1);
    EXPECT_EQ(Query(QStringLiteral("SELECT count(*) FROM ztlkpDbInfo")).Value(0, 0).toInt(), 2);
    CRecordingMessages::Current().Clear();
    EXPECT_EQ(Update(1, 540, 660), kWriteOk) << Messages().join('|').toStdString();
}

TEST_P(TimeSheetWritesTest, AFailedWriteLeavesNoRowNoStepAndAnUntouchedCache)
{
    ASSERT_EQ(Write(Entry(1, 540, 600)), kWriteOk);
    ASSERT_TRUE(m_db.EnsureDayLoaded(kAnn, m_day.Date(), true));
    const int steps = m_db.UndoHistory().UndoCount();
    const QVariantList before = Row(1);
    const int failure = IsPostgres() ? kWriteProcedureFailed : kWriteDbError;

    FailWrites(QStringLiteral("tblTimeSheet"), QStringLiteral("UPDATE"));
    CRecordingMessages::Current().Clear();
    EXPECT_EQ(Update(1, 540, 660), failure);
    EXPECT_TRUE(Messages().join('\n').contains(QStringLiteral("refused by the test")))
        << Messages().join('|').toStdString();
    EXPECT_EQ(Row(1), before);
    EXPECT_EQ(m_db.UndoHistory().UndoCount(), steps); // the snapshot was withdrawn
    EXPECT_EQ(m_db.UndoHistory().RedoCount(), 0);
    EXPECT_EQ(m_db.DayEntries().first().StopTime.MinutesOfDay(), 600);

    FailWrites(QStringLiteral("tblTimeSheet"), QStringLiteral("INSERT"));
    EXPECT_EQ(Write(Entry(2, 700, 760)), failure);
    EXPECT_EQ(Count(), 1);
    EXPECT_EQ(m_db.DayEntries().size(), 1);
    EXPECT_EQ(m_db.UndoHistory().UndoCount(), steps);
}

TEST_P(TimeSheetWritesTest, TheChangeRequestActionIsWrittenWithTheRowOrNeither)
{
    CTimeSheetWrite e = Entry(1, 540, 600);
    e.ObjectID = kChangeRequest;
    ASSERT_EQ(Write(e), kWriteOk); // "commentsAsActions" is on by default
    EXPECT_EQ(Query(QStringLiteral("SELECT Comment, StatusID FROM tblChgReqAction")).Value(0, 0),
              QVariant(QStringLiteral("wrote the plan")));

    FailWrites(QStringLiteral("tblChgReqAction"), QStringLiteral("INSERT"));
    e.TimeID = 2;
    e.Start = 700;
    e.Stop = 760;
    EXPECT_NE(Write(e), kWriteOk);
    EXPECT_EQ(Count(), 1); // the row went back with the failed action
    EXPECT_EQ(m_db.UndoHistory().UndoCount(), 1);
    e.Comment.clear(); // no comment, no action
    EXPECT_EQ(Write(e), kWriteOk);
}

TEST_P(TimeSheetWritesTest, AZeroLengthUpdateDeletesTheRow)
{
    ASSERT_EQ(Write(Entry(1, 540, 600)), kWriteOk);
    ASSERT_EQ(Write(Entry(2, 600, 660)), kWriteOk);
    m_db.EnsureDayLoaded(kAnn, m_day.Date(), true);
    EXPECT_EQ(Update(1, 1440, 1440), kWriteOk);
    EXPECT_EQ(Row(1), QVariantList());
    EXPECT_EQ(m_db.DayEntries().size(), 1);
    EXPECT_EQ(m_db.UndoHistory().NewestUndo()->m_kind, CUndoStep::kDeleted);
    EXPECT_FLOAT_EQ(m_db.UndoHistory().NewestUndo()->m_record->m_rate, 100.0f);
    EXPECT_EQ(m_db.DeleteTimeData(nullptr, false, m_day, kAnn, 1), kWriteNotOpened);
    EXPECT_EQ(m_db.DeleteTimeData(nullptr, true, m_day, kAnn, 2), kWriteOk);
    EXPECT_EQ(m_db.UndoHistory().UndoCount(), 3); // a delete from the history records nothing
    EXPECT_TRUE(m_db.DayEntries().isEmpty());

    ASSERT_EQ(Write(Entry(3, 700, 760)), kWriteOk);
    FailWrites(QStringLiteral("tblTimeSheet"), QStringLiteral("DELETE"));
    CRecordingMessages::Current().Clear();
    EXPECT_EQ(Update(3, 700, 700), kWriteDeleteError);
    EXPECT_TRUE(Messages().value(0).startsWith(QStringLiteral("Deletion Error")));
    EXPECT_EQ(Count(), 1);
    EXPECT_EQ(m_db.UndoHistory().UndoCount(), 4); // only the insert
}

TEST_P(TimeSheetWritesTest, DeleteTimeSheetEntryEndsOrDeletes)
{
    ASSERT_EQ(Write(Entry(1, 540, 600)), kWriteOk);
    m_db.EnsureDayLoaded(kAnn, m_day.Date(), true);
    EXPECT_EQ(m_db.DeleteTimeSheetEntry(1, kAnn, m_day, false, 540, 540), kWriteOk); // not applied
    EXPECT_EQ(m_db.DeleteTimeSheetEntry(1, kAnn, m_day, true, 1440, 1440), kWriteOk);
    EXPECT_EQ(Count(), 1);

    EXPECT_EQ(m_db.DeleteTimeSheetEntry(1, kAnn, m_day, true, 540, 570), kWriteOk);
    EXPECT_EQ(Row(1).value(5).value<CDateTime>(), CDateTime(2026, 12, 8, 9, 30));
    EXPECT_EQ(m_db.DayEntries().first().StopTime.MinutesOfDay(), 570);

    EXPECT_EQ(m_db.DeleteTimeSheetEntry(1, kAnn, m_day, true, 570, 570), kWriteOk);
    EXPECT_EQ(Count(), 0);
    EXPECT_TRUE(m_db.DayEntries().isEmpty());
    ASSERT_EQ(m_db.UndoHistory().NewestUndo()->m_kind, CUndoStep::kDeleted);
    // The rate of the row's own order: undoing it books the row at that rate.
    EXPECT_FLOAT_EQ(m_db.UndoHistory().NewestUndo()->m_record->m_rate, 100.0f);

    CRecordingMessages::Current().Clear();
    EXPECT_EQ(m_db.DeleteTimeSheetEntry(1, kAnn, m_day, true, 570, 570), kWriteDbError);
    EXPECT_EQ(Messages(), QStringList());
    EXPECT_EQ(m_db.DeleteTimeSheetEntry(1, kAnn, m_day, true, 540, 600), kWriteDbError);
    EXPECT_EQ(Messages(),
              QStringList{QStringLiteral("This record you are editing does not exist "
                                         "anymore - you need to refresh your timesheet")});
}

TEST_P(TimeSheetWritesTest, UndoAndRedoOfInsertsAndDeletes)
{
    CTimeSheetWrite e = Entry(1, 540, 600);
    e.TaskID = 10;
    e.WorkTypeID = 4;
    e.ObjectID = kChangeRequest;
    e.Comment.clear();
    ASSERT_EQ(Write(e), kWriteOk);
    const QVariantList written = Row(1);
    EXPECT_TRUE(m_db.Undo());
    EXPECT_EQ(Count(), 0);
    EXPECT_EQ(m_db.UndoHistory().UndoCount(), 0); // the delete from the history recorded nothing
    EXPECT_TRUE(m_db.Redo());
    EXPECT_EQ(Row(1), written); // the same task, order, work type and link

    ASSERT_EQ(m_db.DeleteTimeData(nullptr, false, m_day, kAnn, 1), kWriteOk);
    EXPECT_TRUE(m_db.Undo());
    EXPECT_EQ(Row(1), written);
    EXPECT_TRUE(m_db.Redo());
    EXPECT_EQ(Count(), 0);
    EXPECT_TRUE(m_db.Undo());
    EXPECT_TRUE(m_db.Undo()); // and the insert before it
    EXPECT_EQ(Count(), 0);
    EXPECT_EQ(m_db.UndoHistory().UndoCount(), 0);
    EXPECT_EQ(m_db.UndoHistory().RedoCount(), 2);
    EXPECT_EQ(m_view.results.count(kWriteOk), m_view.results.size());
}

TEST_P(TimeSheetWritesTest, UndoAndRedoOfAnUpdate)
{
    ASSERT_EQ(Write(Entry(1, 540, 600)), kWriteOk);
    // The window holds the day, as it does while the user edits.
    ASSERT_TRUE(m_db.EnsureDayLoaded(kAnn, m_day.Date(), true));
    ASSERT_EQ(Update(1, 540, 690), kWriteOk);
    ASSERT_EQ(m_db.UndoHistory().UndoCount(), 2);
    const CUndoStep* step = m_db.UndoHistory().NewestUndo();
    EXPECT_EQ(step->m_kind, CUndoStep::kUpdated);
    EXPECT_EQ(step->m_record->m_stop, 600); // the row as it was

    EXPECT_TRUE(m_db.Undo());
    EXPECT_EQ(Row(1).value(5).value<CDateTime>(), CDateTime(2026, 12, 8, 10, 0));
    EXPECT_EQ(m_db.DayEntries().first().StopTime.MinutesOfDay(), 600);
    ASSERT_EQ(m_db.UndoHistory().RedoCount(), 1); // the re-applied write's own step
    EXPECT_EQ(m_db.UndoHistory().NewestRedo()->m_record->m_stop, 690);
    EXPECT_EQ(m_db.UndoHistory().UndoCount(), 1);

    EXPECT_TRUE(m_db.Redo());
    EXPECT_EQ(Row(1).value(5).value<CDateTime>(), CDateTime(2026, 12, 8, 11, 30));
    EXPECT_EQ(m_db.UndoHistory().RedoCount(), 0);
    ASSERT_EQ(m_db.UndoHistory().UndoCount(), 2);
    EXPECT_TRUE(m_db.Undo()); // and back once more
    EXPECT_EQ(Row(1).value(5).value<CDateTime>(), CDateTime(2026, 12, 8, 10, 0));

    // Without the day in the cache the old row is read from the database.
    m_db.ResetDayKey();
    ASSERT_EQ(Update(1, 500, 600), kWriteOk);
    EXPECT_EQ(m_db.UndoHistory().NewestUndo()->m_record->m_start, 540);
    EXPECT_TRUE(m_db.Undo());
    EXPECT_EQ(Row(1).value(4).value<CDateTime>(), CDateTime(2026, 12, 8, 9, 0));
}

TEST_P(TimeSheetWritesTest, UndoBooksARowAgainUntilMidnightAndAtItsOwnRate)
{
    const auto hoursAndCost = [this](int timeId) {
        const QVariantList row = Row(timeId);
        return QStringLiteral("%1 h %2").arg(row.value(6).toDouble()).arg(row.value(9).toDouble());
    };
    // Midnight is stored as 23:59; a step must read it back as 24:00.
    ASSERT_EQ(Write(Entry(1, 1425, 1440)), kWriteOk);
    // The window holds the day, as it does while the user edits.
    ASSERT_TRUE(m_db.EnsureDayLoaded(kAnn, m_day.Date(), true));
    ASSERT_EQ(m_db.DeleteTimeData(nullptr, false, m_day, kAnn, 1), kWriteOk);
    EXPECT_EQ(m_db.UndoHistory().NewestUndo()->m_record->m_stop, 1440);
    EXPECT_TRUE(m_db.Undo());
    EXPECT_EQ(hoursAndCost(1), QStringLiteral("0.25 h 37.5"));
    ASSERT_EQ(Update(1, 1380, 1440), kWriteOk);
    ASSERT_EQ(Update(1, 1380, 1410), kWriteOk);
    EXPECT_EQ(m_db.UndoHistory().NewestUndo()->m_record->m_stop, 1440);
    EXPECT_TRUE(m_db.Undo());
    EXPECT_EQ(hoursAndCost(1), QStringLiteral("1 h 150"));

    // A change to another order is undone at the rate of the row's own order.
    ASSERT_EQ(Write(Entry(2, 540, 600)), kWriteOk); // 100 an hour
    CTimeSheetWrite cheaper = Entry(2, 540, 600);
    cheaper.IsUpdate = true;
    cheaper.OrderID = 11; // 1.05 an hour
    cheaper.OrderHourRate = 1.05f;
    ASSERT_EQ(Write(cheaper), kWriteOk);
    EXPECT_FLOAT_EQ(m_db.UndoHistory().NewestUndo()->m_record->m_rate, 100.0f);
    EXPECT_TRUE(m_db.Undo());
    EXPECT_EQ(hoursAndCost(2), QStringLiteral("1 h 150"));
    // So is a block taken off the time line.
    ASSERT_EQ(m_db.DeleteTimeSheetEntry(2, kAnn, m_day, true, 540, 540), kWriteOk);
    EXPECT_FLOAT_EQ(m_db.UndoHistory().NewestUndo()->m_record->m_rate, 100.0f);
    EXPECT_TRUE(m_db.Undo());
    EXPECT_EQ(hoursAndCost(2), QStringLiteral("1 h 150"));
    EXPECT_EQ(m_view.results.count(kWriteOk), m_view.results.size());
}

TEST_P(TimeSheetWritesTest, CommentsAreCutAtACharacterBoundary)
{
    const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80");
    const auto stored = [this](int timeId) {
        return Query(QStringLiteral("SELECT Comment FROM tblTimeSheet WHERE TimeID = ?"), {timeId})
            .Value(0, 0)
            .toString();
    };
    // The 254th character is the last kept; here it lies outside the basic plane.
    CTimeSheetWrite e = Entry(1, 540, 600);
    e.Comment = QString(253, QLatin1Char('x')) + emoji + QStringLiteral(" and more");
    ASSERT_EQ(Write(e), kWriteOk);
    EXPECT_EQ(stored(1), QString(253, QLatin1Char('x')) + emoji);
    e.IsUpdate = true;
    e.Comment = QString(252, QLatin1Char('y')) + emoji + emoji + emoji;
    ASSERT_EQ(Write(e), kWriteOk);
    EXPECT_EQ(stored(1), QString(252, QLatin1Char('y')) + emoji + emoji);
}

TEST_P(TimeSheetWritesTest, HalfACharacterIsRefusedInOneMessageThatBlamesNoDatabase)
{
    CTimeSheetWrite e = Entry(1, 540, 600);
    e.Comment = QStringLiteral("plan") + QChar(0xD83D);
    EXPECT_NE(Write(e), kWriteOk);
    const QStringList texts = CRecordingMessages::Current().Texts();
    ASSERT_EQ(texts.size(), 1) << texts.join('|').toStdString();
    EXPECT_TRUE(texts.first().startsWith(QStringLiteral("The text holds half of a character")))
        << texts.first().toStdString();
    EXPECT_EQ(Query(QStringLiteral("SELECT COUNT(*) FROM tblTimeSheet")).Value(0, 0).toInt(), 0);
}

TEST_P(TimeSheetWritesTest, BookedHoursRoundDownToTheBookingInterval)
{
    struct Case {
        int interval, minutes;
        double hours;
    };
    const Case cases[] = {{15, 50, 0.75}, {6, 50, 0.8},  {15, 14, 0},   {6, 5, 0},
                          {6, 6, 0.1},    {15, 60, 1.0}, {6, 1440, 24}, {15, 45, 0.75}};
    for (const Case& c : cases) {
        SCOPED_TRACE(QStringLiteral("%1 min at %2").arg(c.minutes).arg(c.interval).toStdString());
        m_db.StartupInfo().BookingInterval = c.interval;
        double hours = -1;
        EXPECT_TRUE(m_db.RoundToBookingInterval(600 + c.minutes, 600, hours));
        EXPECT_DOUBLE_EQ(hours, c.hours);
    }
    m_db.StartupInfo().BookingInterval = 10;
    double hours = 0;
    EXPECT_FALSE(m_db.RoundToBookingInterval(0, 50, hours));
    EXPECT_DOUBLE_EQ(hours, 50); // the minutes, unrounded

    // Written hours follow the interval too.
    m_db.StartupInfo().BookingInterval = 6;
    ASSERT_EQ(Write(Entry(1, 540, 590)), kWriteOk);
    EXPECT_DOUBLE_EQ(Row(1).value(6).toDouble(), static_cast<double>(0.8f));
    EXPECT_DOUBLE_EQ(Row(1).value(9).toDouble(), 120.0); // 100 x 1.5 x 0.8
}

TEST_P(TimeSheetWritesTest, CostTextsAreInWholeCents)
{
    QString text;
    EXPECT_TRUE(m_db.FormatEntryCost(text, kProject, 8, 0, 60, kBob));
    EXPECT_EQ(text, QStringLiteral("0.29"));
    EXPECT_TRUE(m_db.FormatEntryCost(text, kProject, 11, 0, 60, kBob));
    EXPECT_EQ(text, QStringLiteral("1.05"));
    EXPECT_TRUE(m_db.FormatEntryCost(text, kProject, kOrder, 0, 50, kBob));
    EXPECT_EQ(text, QStringLiteral("75.00"));
    EXPECT_TRUE(m_db.FormatEntryCost(text, kProject, kOrder, 0, 5, kAnn)); // under one interval
    EXPECT_EQ(text, QStringLiteral("0.00"));
    Exec(QStringLiteral("UPDATE tblProjectOrderBook SET OrderHourRate = 12.5 WHERE OrderID = 8"));
    m_db.LoadOrders();
    EXPECT_TRUE(m_db.FormatEntryCost(text, kProject, 8, 0, 60, kBob));
    EXPECT_EQ(text, QStringLiteral("12.50"));
    EXPECT_FALSE(m_db.FormatEntryCost(text, kProject, 99, 0, 60, kBob)); // no such order
    m_db.StartupInfo().BookingInterval = 10;
    EXPECT_FALSE(m_db.FormatEntryCost(text, kProject, kOrder, 0, 60, kBob));
}

TEST_P(TimeSheetWritesTest, ProjectTotalsSumTheBookedHoursOfEachTask)
{
    Exec(QStringLiteral(
        "INSERT INTO tblProject (ProjID, ProjName, UseTeamCheck) VALUES (6, 'Other', 0)"));
    Exec(QStringLiteral("INSERT INTO tblProjectTask (TaskID, Task, ProjID, State, ActHours) "
                        "VALUES (20, 'Elsewhere', 6, 2, 99)"));
    Exec(QStringLiteral("INSERT INTO tblProjectOrderBook (OrderID, OrderCode, ProjID, IsDefault, "
                        "IsDone, OrderHourRate) VALUES (21, 'O-6', 6, 1, 0, 10)"));
    ASSERT_EQ(Write(Entry(1, 540, 600)), kWriteOk);
    ASSERT_EQ(Write(Entry(2, 600, 645)), kWriteOk);
    CTimeSheetWrite other = Entry(3, 700, 730);
    other.ProjID = 6;
    other.OrderID = 21;
    other.TaskID = 20;
    ASSERT_EQ(Write(other), kWriteOk);
    const auto actHours = [this](int taskId) {
        return Query(QStringLiteral("SELECT ActHours FROM tblProjectTask WHERE TaskID = ?"),
                     {taskId})
            .Value(0, 0)
            .toFloat();
    };
    EXPECT_TRUE(m_db.RebuildProjectTotals(kProject));
    EXPECT_FLOAT_EQ(actHours(kTask), 1.75f);
    EXPECT_FLOAT_EQ(actHours(10), 0.0f);  // nothing booked on it
    EXPECT_FLOAT_EQ(actHours(20), 99.0f); // another project: left alone
    EXPECT_TRUE(m_db.RebuildProjectTotals(-1));
    EXPECT_FLOAT_EQ(actHours(20), 0.5f);
}

TEST_P(TimeSheetWritesTest, TwoWritersOfOverlappingBlocksAtOnce)
{
    CLockedMessages messages;
    SetMessageBoxHook(&messages);
    constexpr int kRounds = 12;
    // On the server the record path too, as taken by older databases.
    const int passes = IsPostgres() ? 2 : 1;
    QList<int> results[2];
    for (int pass = 0; pass < passes; ++pass) {
        std::latch ready(2);
        const auto writer = [&](int index) {
            CNameValueArray required;
            required.Add(QStringLiteral("sp_TimesheetInsert"), 9.0f);
            CDBClass db;
            db.Connection()->UseConnectionString(m_connectionString);
            if (pass == 1)
                db.SetRequiredVersions(&required);
            if (!db.OpenConnection())
                return;
            db.StartupInfo().BookingInterval = 15;
            db.LoadEmployees();
            db.LoadWorkTypes();
            db.LoadTasks();
            ready.arrive_and_wait();
            for (int round = 0; round < kRounds; ++round) {
                // Both book Ann's day at the same moment, on blocks that overlap.
                CTimeSheetWrite e = Entry(10 + index, 540 + index * 15, 600 + index * 15);
                e.WorkDate = m_day.AddDays(pass * kRounds + round);
                results[index] << db.UpdateTimeData(nullptr, e);
            }
            db.ReleaseConnection(true, true);
        };
        std::thread first(writer, 0);
        std::thread second(writer, 1);
        first.join();
        second.join();
    }
    SetMessageBoxHook(&CRecordingMessages::Current());

    ASSERT_EQ(results[0].size(), passes * kRounds);
    ASSERT_EQ(results[1].size(), passes * kRounds);
    for (int round = 0; round < passes * kRounds; ++round) {
        SCOPED_TRACE(round);
        const int overlap = round < kRounds ? OverlapResult() : kWriteOverlap;
        const int a = results[0].at(round);
        const int b = results[1].at(round);
        EXPECT_TRUE((a == kWriteOk && b == overlap) || (b == kWriteOk && a == overlap))
            << a << " " << b;
        EXPECT_EQ(Query(QStringLiteral("SELECT count(*) FROM tblTimeSheet WHERE WorkDate = ?"),
                        {QVariant::fromValue(m_day.AddDays(round))})
                      .Value(0, 0)
                      .toInt(),
                  1);
    }
    EXPECT_EQ(messages.texts.size(), passes * kRounds);
    for (const QString& text : std::as_const(messages.texts)) {
        EXPECT_TRUE(text.contains(QStringLiteral("overlaps"))) << text.toStdString();
        EXPECT_FALSE(text.contains(QStringLiteral("locked"), Qt::CaseInsensitive));
    }
}

KELVANE_INSTANTIATE_BACKENDS(TimeSheetWritesTest);
