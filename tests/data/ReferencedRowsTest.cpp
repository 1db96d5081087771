#include "data/DBClass.h"
#include "tests/support/FacadeFixture.h"
#include "tests/support/Faults.h"
#include "tests/support/TestEnv.h"

// Rows other rows point at (a task, a company, a business type, a change
// request) are deleted only with what points at them, or not at all, also
// while a second session is writing such a pointer at that very moment. The
// second session runs in a child process through the program's own writes
// and commits a second and a half after it began.

namespace {

constexpr int kAnn = 1;
constexpr int kProject = 5;
constexpr int kOrder = 7;
constexpr int kTask = 4;
constexpr int kCommitAfterMs = 1500;

class ReferencedRowsTest : public FacadeDbTest {
protected:
    void SetUp() override
    {
        FacadeDbTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        Exec(QStringLiteral("INSERT INTO tblFinEmployee (EmpID, EmpFullName, NTUserName, DeptID, "
                            "IsCurrent, HourRateFactor) VALUES (1, 'Ann Lee', 'ann', 1, 1, 1)"));
        Exec(QStringLiteral(
            "INSERT INTO tblProject (ProjID, ProjName, UseTeamCheck) VALUES (5, 'Brücke', 0)"));
        Exec(QStringLiteral("INSERT INTO tblProjectOrderBook (OrderID, OrderCode, ProjID, "
                            "IsDefault, IsDone, OrderHourRate) VALUES (7, 'B-7', 5, 1, 0, 100)"));
        Exec(QStringLiteral("INSERT INTO tblProjectTask (TaskID, Task, ProjID, State) VALUES (4, "
                            "'Spare', 5, 2)"));
        QString reason;
        ASSERT_EQ(m_db.AddBusinessType(QStringLiteral("Einzelhandel"), m_type, reason),
                  ContactResult::Ok)
            << reason.toStdString();
        ASSERT_EQ(m_db.AddCompany(Company(), -1, CPersonValues(), m_company, reason),
                  ContactResult::Ok)
            << reason.toStdString();
        QList<int> ids;
        ASSERT_EQ(m_db.AddChangeRequest(Request(-1), {QStringLiteral("Ramp")}, {}, ids, reason),
                  ChgReqResult::Ok)
            << reason.toStdString();
        m_request = ids.value(0);
    }

    static CCompanyValues Company()
    {
        CCompanyValues company;
        company.CompanyName = QStringLiteral("Zeta's Café");
        return company;
    }
    static CChgReqValues Request(int companyId)
    {
        CChgReqValues values;
        values.ProjID = kProject;
        values.EmpID = kAnn;
        values.CompanyID = companyId;
        values.DateCreated = Day(2);
        return values;
    }
    // Ann's hour on the task, through the time-sheet write.
    static bool Book(CDBClass& db, int changeRequest)
    {
        db.StartupInfo().BookingInterval = 15;
        CTimeSheetWrite e;
        e.WorkDate = Day(3);
        e.EmpID = kAnn;
        e.ProjID = kProject;
        e.OrderID = kOrder;
        e.TaskID = kTask;
        e.OrderHourRate = 100;
        e.Start = 540;
        e.Stop = 600;
        e.Comment = QStringLiteral("Rampe montiert");
        e.ObjectID = changeRequest;
        e.TimeID = 1;
        return db.UpdateTimeData(nullptr, e) == kWriteOk;
    }
    int Count(const QString& sql, int id) { return Query(sql, {id}).Value(0, 0).toInt(); }

    int m_type = -1;
    int m_company = -1;
    int m_request = -1;
};

} // namespace

TEST_P(ReferencedRowsTest, ATaskIsKeptWhileAnotherSessionBooksToIt)
{
    CWriteUnderWay booking(
        m_connectionString, [](CDBClass& db) { return Book(db, -1); }, kCommitAfterMs);
    ASSERT_TRUE(booking.Started());
    int timeSheets = -1;
    int comments = -1;
    QString reason;
    EXPECT_EQ(m_db.DeleteProjectTask(kTask, timeSheets, comments, reason), TaskDeleteResult::InUse)
        << reason.toStdString();
    EXPECT_EQ(timeSheets, 1);
    EXPECT_TRUE(booking.Committed());
    EXPECT_EQ(Count(QStringLiteral("SELECT COUNT(*) FROM tblProjectTask WHERE TaskID = ?"), kTask),
              1);
    EXPECT_EQ(Count(QStringLiteral("SELECT COUNT(*) FROM tblTimeSheet WHERE TaskID = ?"), kTask),
              1);
}

TEST_P(ReferencedRowsTest, ACompanyIsKeptWhileARequestNamesItAndGoneForAPersonAddedMeanwhile)
{
    {
        CWriteUnderWay request(
            m_connectionString,
            [this](CDBClass& db) {
                QList<int> ids;
                QString reason;
                return db.AddChangeRequest(Request(m_company), {QStringLiteral("Lift")}, {}, ids,
                                           reason) == ChgReqResult::Ok;
            },
            kCommitAfterMs);
        ASSERT_TRUE(request.Started());
        QString reason;
        EXPECT_EQ(m_db.DeleteCompany(m_company, reason), ContactResult::InUse);
        EXPECT_EQ(reason, QStringLiteral("1 change request"));
        EXPECT_TRUE(request.Committed());
    }
    Exec(QStringLiteral("DELETE FROM tblChgReq WHERE CompanyID = ?"), {m_company});
    // The other way round: the company going while a person is added to it.
    CWriteUnderWay deletion(
        m_connectionString,
        [this](CDBClass& db) {
            QString reason;
            return db.DeleteCompany(m_company, reason) == ContactResult::Ok;
        },
        kCommitAfterMs);
    ASSERT_TRUE(deletion.Started());
    CPersonValues person;
    person.FirstName = QStringLiteral("Jörg");
    person.LastName = QStringLiteral("O'Hara");
    int personId = -1;
    QString reason;
    EXPECT_EQ(m_db.AddPerson(m_company, person, personId, reason), ContactResult::NotFound);
    EXPECT_TRUE(deletion.Committed());
    EXPECT_EQ(
        Count(QStringLiteral("SELECT COUNT(*) FROM tblAddrPerson WHERE CompanyID = ?"), m_company),
        0);
}

TEST_P(ReferencedRowsTest, ABusinessTypeTakesEveryLinkAlongEvenOneBeingWritten)
{
    {
        CWriteUnderWay link(
            m_connectionString,
            [this](CDBClass& db) {
                QString reason;
                return db.UpdateCompany(m_company, Company(), {m_type}, reason) ==
                       ContactResult::Ok;
            },
            kCommitAfterMs);
        ASSERT_TRUE(link.Started());
        QString reason;
        EXPECT_EQ(m_db.DeleteBusinessType(QStringLiteral("Einzelhandel"), reason),
                  ContactResult::Ok)
            << reason.toStdString();
        EXPECT_TRUE(link.Committed());
    }
    const QString links =
        QStringLiteral("SELECT COUNT(*) FROM tblAddrBusinessType WHERE BusinessTypeID = ?");
    EXPECT_EQ(Count(links, m_type), 0);
    // The other way round: a link written while the type goes is not written.
    QString reason;
    ASSERT_EQ(m_db.AddBusinessType(QStringLiteral("Großhandel"), m_type, reason),
              ContactResult::Ok);
    CWriteUnderWay deletion(
        m_connectionString,
        [](CDBClass& db) {
            QString reason;
            return db.DeleteBusinessType(QStringLiteral("Großhandel"), reason) == ContactResult::Ok;
        },
        kCommitAfterMs);
    ASSERT_TRUE(deletion.Started());
    EXPECT_EQ(m_db.UpdateCompany(m_company, Company(), {m_type}, reason), ContactResult::Ok)
        << reason.toStdString();
    EXPECT_TRUE(deletion.Committed());
    EXPECT_EQ(Count(links, m_type), 0);
}

TEST_P(ReferencedRowsTest, AChangeRequestTakesTheActionOfABookingUnderWayAlong)
{
    Option("Admin/commentsAsActions", 1);
    CWriteUnderWay booking(
        m_connectionString, [this](CDBClass& db) { return Book(db, m_request); }, kCommitAfterMs);
    ASSERT_TRUE(booking.Started());
    QString reason;
    EXPECT_EQ(m_db.DeleteChangeRequest(m_request, reason), ChgReqResult::Ok)
        << reason.toStdString();
    EXPECT_TRUE(booking.Committed());
    EXPECT_EQ(
        Count(QStringLiteral("SELECT COUNT(*) FROM tblChgReqAction WHERE ChgReqID = ?"), m_request),
        0);
}

KELVANE_INSTANTIATE_BACKENDS(ReferencedRowsTest);
