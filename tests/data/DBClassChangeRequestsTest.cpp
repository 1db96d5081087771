#include "tests/support/ChgRqstFixture.h"

namespace {

class DBClassChangeRequestsTest : public ChgRqstTest {
protected:
    static CChgReqValues Values()
    {
        CChgReqValues v;
        v.ProjID = kBridge;
        v.EmpID = kBob;
        v.CompanyID = kAcme;
        v.Contact = QStringLiteral("Jane Roe");
        v.Reference = QStringLiteral("O'Brien's Ref");
        v.DateCreated = Day(4, 10, 15);
        v.Priority = 1;
        v.TeamList = QStringLiteral("Ann Lee,Cleo Ng");
        return v;
    }
    static CChgReqUpdate Update(int status, const CDateTime& completed = {})
    {
        CChgReqUpdate u;
        u.ProjID = kApollo;
        u.EmpID = kBob;
        u.Contact = QStringLiteral("Jörg O'Hara");
        u.Reference = QStringLiteral("R-2");
        u.Item = QStringLiteral("Changed item");
        u.FullDetail = QStringLiteral("Full ☕ details");
        u.TeamList = QStringLiteral("Ann Lee");
        u.StatusID = status;
        u.Priority = 3;
        u.DateCompleted = completed;
        return u;
    }
};

} // namespace

TEST_P(DBClassChangeRequestsTest, EachItemIsARequestOfItsOwnWithItsOwnTeamRows)
{
    const QStringList items = {QStringLiteral("First"), QStringLiteral("Second's"),
                               QStringLiteral("Third ☕")};
    QList<int> ids;
    QString reason;
    ASSERT_EQ(m_db.AddChangeRequest(Values(), items, {kAnn, kCleo, kAnn}, ids, reason),
              ChgReqResult::Ok)
        << reason.toStdString();
    ASSERT_EQ(ids.size(), 3);
    EXPECT_NE(ids[0], ids[1]);
    EXPECT_NE(ids[1], ids[2]);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(Stored(ids[i], QStringLiteral("Item")), items[i]);
        EXPECT_EQ(Stored(ids[i], QStringLiteral("Reference")), QStringLiteral("O'Brien's Ref"));
        EXPECT_EQ(Stored(ids[i], QStringLiteral("ProjID")), QString::number(kBridge));
        EXPECT_EQ(Stored(ids[i], QStringLiteral("EmpID")), QString::number(kBob));
        EXPECT_EQ(Stored(ids[i], QStringLiteral("StatusID")), QStringLiteral("1"));
        EXPECT_EQ(Stored(ids[i], QStringLiteral("Priority")), QStringLiteral("1"));
        EXPECT_EQ(Stored(ids[i], QStringLiteral("DateCompleted")), QStringLiteral("NULL"));
        EXPECT_EQ(Stored(ids[i], QStringLiteral("TeamList")), QStringLiteral("Ann Lee,Cleo Ng"));
        EXPECT_EQ(StoredDate(QStringLiteral("tblChgReq"), QStringLiteral("DateCreated"),
                             QStringLiteral("ChgReqID"), ids[i]),
                  Day(4, 10, 15).ToIsoText());
        // The same member twice is one row.
        EXPECT_EQ(Team(ids[i]), QList<int>({kAnn, kCleo}));
    }

    // No team: rows without team rows.
    ASSERT_EQ(m_db.AddChangeRequest(Values(), {QStringLiteral("Alone")}, {}, ids, reason),
              ChgReqResult::Ok);
    EXPECT_TRUE(Team(ids.value(0)).isEmpty());
}

TEST_P(DBClassChangeRequestsTest, AFailureAtTheSecondItemWritesNothing)
{
    Refuse(QStringLiteral("INSERT"), QStringLiteral("tblChgReq"), QStringLiteral("Item"),
           QStringLiteral("Second's"));
    QList<int> ids{99};
    QString reason;
    EXPECT_EQ(m_db.AddChangeRequest(
                  Values(),
                  {QStringLiteral("First"), QStringLiteral("Second's"), QStringLiteral("Third")},
                  {kAnn}, ids, reason),
              ChgReqResult::WriteFailed);
    EXPECT_TRUE(reason.contains(QStringLiteral("refused by the test"))) << reason.toStdString();
    EXPECT_TRUE(ids.isEmpty());
    EXPECT_EQ(Count(QStringLiteral("tblChgReq")), 0);
    EXPECT_EQ(Count(QStringLiteral("tblChgReqTeam")), 0);

    // A team row refused is the same.
    m_cleanup.clear();
    Exec(IsPostgres() ? QStringLiteral("DROP TRIGGER refuse_insert_tblchgreq ON tblChgReq")
                      : QStringLiteral("DROP TRIGGER refuse_insert_tblchgreq"));
    Refuse(QStringLiteral("INSERT"), QStringLiteral("tblChgReqTeam"));
    EXPECT_EQ(m_db.AddChangeRequest(Values(), {QStringLiteral("First")}, {kAnn}, ids, reason),
              ChgReqResult::WriteFailed);
    EXPECT_EQ(Count(QStringLiteral("tblChgReq")), 0);
}

TEST_P(DBClassChangeRequestsTest, ReadingARequestGivesItsNamesTeamAndActions)
{
    CRequest r;
    r.details = QStringLiteral("Details");
    r.team = {kCleo, kAnn};
    const int id = AddRequest(r);
    AddAction(id, QStringLiteral("From the time sheet"));
    AddAction(id, QStringLiteral("Second"), kAnn);
    CChgReqRecord record;
    QString reason;
    ASSERT_EQ(m_db.ReadChangeRequest(id, record, reason), ChgReqResult::Ok) << reason.toStdString();
    EXPECT_EQ(record.ProjName, QStringLiteral("Bridge"));
    EXPECT_EQ(record.Authority, QStringLiteral("Ann Lee"));
    EXPECT_EQ(record.CompanyName, QStringLiteral("Acme"));
    EXPECT_EQ(record.Team, QList<int>({kAnn, kCleo}));
    ASSERT_EQ(record.Actions.size(), 2);
    EXPECT_EQ(record.Actions[0].Comment, QStringLiteral("From the time sheet"));
    EXPECT_EQ(record.Actions[0].EmpID, kBob);
    EXPECT_GT(record.Actions[1].ChgActionID, record.Actions[0].ChgActionID);
    EXPECT_FALSE(record.IsCompleted());
    EXPECT_EQ(m_db.ReadChangeRequest(id + 100, record, reason), ChgReqResult::NotFound);
}

TEST_P(DBClassChangeRequestsTest, UpdateKeepsTheActionsStillListedAndFollowsTheStatus)
{
    const int id = AddRequest(CRequest());
    const int fromTimeSheet = AddAction(id, QStringLiteral("Booked 2h: it's done"));
    AddAction(id, QStringLiteral("Dropped"), kAnn);
    QString reason;
    // Completed: the date at midnight, actions completed too.
    const CDateTime done(QDate(2026, 3, 9));
    ASSERT_EQ(m_db.UpdateChangeRequest(
                  id, Update(7, done),
                  {QStringLiteral("Booked 2h: it's done"), QStringLiteral("New one")}, reason),
              ChgReqResult::Ok)
        << reason.toStdString();
    EXPECT_EQ(Stored(id, QStringLiteral("StatusID")), QStringLiteral("7"));
    EXPECT_EQ(StoredDate(QStringLiteral("tblChgReq"), QStringLiteral("DateCompleted"),
                         QStringLiteral("ChgReqID"), id),
              done.ToIsoText());
    EXPECT_EQ(Stored(id, QStringLiteral("ProjID")), QString::number(kApollo));
    EXPECT_EQ(Stored(id, QStringLiteral("Contact")), QStringLiteral("Jörg O'Hara"));
    EXPECT_EQ(Stored(id, QStringLiteral("Item")), QStringLiteral("Changed item"));
    EXPECT_EQ(Stored(id, QStringLiteral("Priority")), QStringLiteral("3"));
    EXPECT_EQ(Stored(id, QStringLiteral("CompanyID")), QString::number(kAcme));
    // The time sheet's row keeps its employee, deliverable and version.
    EXPECT_EQ(Actions(id), QStringList({QStringLiteral("Booked 2h: it's done|12|2|5|v1.2"),
                                        QStringLiteral("New one|12|2|0|")}));
    EXPECT_EQ(StoredDate(QStringLiteral("tblChgReqAction"), QStringLiteral("DateAssigned"),
                         QStringLiteral("ChgActionID"), fromTimeSheet),
              Day(1, 8, 15).ToIsoText());
    EXPECT_EQ(StoredDate(QStringLiteral("tblChgReqAction"), QStringLiteral("DateComplete"),
                         QStringLiteral("ChgActionID"), fromTimeSheet),
              done.ToIsoText());

    // Reopened: no date; the texts untouched when not to be written.
    CChgReqUpdate reopen = Update(6);
    reopen.writeItem = false;
    reopen.Item = QStringLiteral("not this");
    ASSERT_EQ(m_db.UpdateChangeRequest(id, reopen, {QStringLiteral("New one")}, reason),
              ChgReqResult::Ok);
    EXPECT_EQ(Stored(id, QStringLiteral("DateCompleted")), QStringLiteral("NULL"));
    EXPECT_EQ(Stored(id, QStringLiteral("Item")), QStringLiteral("Changed item"));
    EXPECT_EQ(Actions(id), QStringList({QStringLiteral("New one|6|2|0|")}));
    const CQueryResult open =
        Query(QStringLiteral("SELECT DateComplete FROM tblChgReqAction WHERE ChgReqID = ?"), {id});
    EXPECT_TRUE(open.Value(0, 0).isNull());

    // No actions listed: none left. Over-long texts are cut where a character ends.
    CChgReqUpdate longer = Update(4, done);
    longer.Reference = QString(49, QLatin1Char('x')) + QStringLiteral("☕☕");
    ASSERT_EQ(m_db.UpdateChangeRequest(id, longer, {}, reason), ChgReqResult::Ok);
    EXPECT_TRUE(Actions(id).isEmpty());
    EXPECT_EQ(Stored(id, QStringLiteral("Reference")),
              QString(49, QLatin1Char('x')) + QStringLiteral("☕"));
}

TEST_P(DBClassChangeRequestsTest, AFailedActionWriteLeavesTheRequestAsItWas)
{
    const int id = AddRequest(CRequest());
    AddAction(id, QStringLiteral("Old"));
    Refuse(QStringLiteral("INSERT"), QStringLiteral("tblChgReqAction"));
    QString reason;
    EXPECT_EQ(m_db.UpdateChangeRequest(id, Update(7, Day(9)), {QStringLiteral("New")}, reason),
              ChgReqResult::WriteFailed);
    EXPECT_EQ(Stored(id, QStringLiteral("StatusID")), QStringLiteral("1"));
    EXPECT_EQ(Stored(id, QStringLiteral("Item")), QStringLiteral("Item"));
    EXPECT_EQ(Actions(id), QStringList({QStringLiteral("Old|6|2|5|v1.2")}));

    // A request deleted elsewhere is told, and nothing is written for it.
    EXPECT_EQ(m_db.UpdateChangeRequest(id + 50, Update(1), {}, reason), ChgReqResult::NotFound);
    EXPECT_EQ(m_db.ReplaceChgReqTeam(id + 50, {kAnn}, reason), ChgReqResult::NotFound);
    EXPECT_EQ(Count(QStringLiteral("tblChgReqTeam")), 0);
}

TEST_P(DBClassChangeRequestsTest, ReplacingTheTeamKeepsTheMembersWhoStay)
{
    CRequest r;
    r.team = {kAnn, kDan};
    const int id = AddRequest(r);
    QString reason;
    ASSERT_EQ(m_db.ReplaceChgReqTeam(id, {kDan, kBob}, reason), ChgReqResult::Ok);
    EXPECT_EQ(Team(id), QList<int>({kBob, kDan}));
    const CQueryResult comment =
        Query(QStringLiteral("SELECT Comment FROM tblChgReqTeam WHERE ChgReqID = ? AND EmpID = ?"),
              {id, kDan});
    EXPECT_EQ(comment.Value(0, 0).toString(), QStringLiteral("member 4"));
    QList<int> ids;
    ASSERT_TRUE(m_db.FillChgReqTeamIds(id, ids));
    EXPECT_EQ(ids, QList<int>({kBob, kDan}));
    ASSERT_EQ(m_db.ReplaceChgReqTeam(id, {}, reason), ChgReqResult::Ok);
    EXPECT_TRUE(Team(id).isEmpty());
}

TEST_P(DBClassChangeRequestsTest, DeleteTakesTeamAndActionsAlongOrNothing)
{
    CRequest r;
    r.team = {kAnn, kBob};
    const int id = AddRequest(r);
    const int other = AddRequest(r);
    AddAction(id, QStringLiteral("One"));
    AddAction(other, QStringLiteral("Other"));

    Refuse(QStringLiteral("DELETE"), QStringLiteral("tblChgReq"));
    QString reason;
    EXPECT_EQ(m_db.DeleteChangeRequest(id, reason), ChgReqResult::WriteFailed);
    EXPECT_EQ(Team(id).size(), 2);
    EXPECT_EQ(Actions(id).size(), 1);
    for (const QString& sql : std::as_const(m_cleanup))
        Exec(sql);
    m_cleanup.clear();

    ASSERT_EQ(m_db.DeleteChangeRequest(id, reason), ChgReqResult::Ok) << reason.toStdString();
    EXPECT_EQ(Stored(id, QStringLiteral("Item")), QStringLiteral("(no row)"));
    EXPECT_TRUE(Team(id).isEmpty());
    EXPECT_TRUE(Actions(id).isEmpty());
    EXPECT_EQ(Team(other).size(), 2);
    EXPECT_EQ(Actions(other).size(), 1);
    EXPECT_EQ(m_db.DeleteChangeRequest(id, reason), ChgReqResult::NotFound);
}

KELVANE_INSTANTIATE_BACKENDS(DBClassChangeRequestsTest);
