#include "data/DBClass.h"
#include "data/NameValueArray.h"
#include "data/StatementCache.h"
#include "data/records/CompanyDetailSet.h"
#include "tests/data/TestItemList.h"
#include "tests/support/FacadeFixture.h"
#include "tests/support/TestEnv.h"

#include "platform/FileChooser.h"
#include "platform/ProfileStore.h"

// The facade on seeded data, on both back ends.
class FacadeTest : public FacadeDbTest {
protected:
    void AddEmployee(int id, const QString& name, const QString& login,
                     const QVariant& pwd = QVariant(), int dept = 1, int current = 1)
    {
        Exec(QStringLiteral("INSERT INTO tblFinEmployee (EmpID, EmpFullName, NTUserName, Pwd, "
                            "DeptID, IsCurrent, "
                            "HourRateFactor) VALUES (?, ?, ?, ?, ?, ?, 1.5)"),
             {id, name, login, pwd, dept, current});
    }
    void Book(int emp, const CDateTime& day, int start, int stop, int timeId, double hours = 0.75)
    {
        Exec(QStringLiteral(
                 "INSERT INTO tblTimeSheet (EmpID, ProjID, WorkDate, StartTime, StopTime, TimeID, "
                 "HoursWorked) VALUES (?, 1, ?, ?, ?, ?, ?)"),
             {emp, QVariant::fromValue(day), QVariant::fromValue(day.AddSecs(start * 60)),
              QVariant::fromValue(day.AddSecs(stop * 60)), timeId, hours});
    }

    const CDateTime m_day{2026, 12, 8};
};

TEST_P(FacadeTest, UsesAreCountedAndOnlyTheLastReleaseClearsTheCaches)
{
    AddEmployee(1, QStringLiteral("Ann"), QStringLiteral("ann"));
    ASSERT_TRUE(m_db.LoadEmployees());
    ASSERT_TRUE(m_db.OpenConnection());
    const int uses = m_db.Connection()->UseCount();
    EXPECT_TRUE(m_db.ReleaseConnection(false, true));
    EXPECT_EQ(m_db.Employees().size(), 1); // uses remain: the caches stay
    EXPECT_TRUE(m_db.Connection()->IsConnected());
    EXPECT_EQ(m_db.Connection()->UseCount(), uses - 1);
    EXPECT_TRUE(m_db.ReleaseConnection(true, true));
    EXPECT_FALSE(m_db.Connection()->IsConnected());
    EXPECT_TRUE(m_db.Employees().isEmpty());
    // The next operation reconnects by itself.
    EXPECT_EQ(m_db.GetEmpIdByName(QStringLiteral("Ann")), 1);
}

TEST_P(FacadeTest, EmployeesAreFoundByNameWithOneReloadOnAMiss)
{
    AddEmployee(1, QStringLiteral("Ann"), QStringLiteral("ann"));
    EXPECT_EQ(m_db.GetEmpIdByName(QStringLiteral("Ann")), 1);
    AddEmployee(2, QStringLiteral("Bob"), QStringLiteral("Bob.Smith"));
    EXPECT_EQ(m_db.GetEmpIdByName(QStringLiteral("Bob")), 2);  // found after the one reload
    EXPECT_EQ(m_db.GetEmpIdByName(QStringLiteral("bob")), -1); // full names compare exactly
    EXPECT_EQ(m_db.GetEmpIdByName(QStringLiteral("All")), -1);
    EXPECT_EQ(m_db.FindEmpIdByName(QStringLiteral("bob.smith")), 2); // login names ignore case
    double factor = 0;
    EXPECT_TRUE(m_db.GetEmpRateFactor(2, factor));
    EXPECT_DOUBLE_EQ(factor, 1.5);
    EXPECT_FALSE(m_db.GetEmpRateFactor(99, factor));
    EXPECT_DOUBLE_EQ(factor, 1.0);
}

TEST_P(FacadeTest, SignOnBindsThePassword)
{
    AddEmployee(1, QStringLiteral("Ann"), QStringLiteral("ann"), QStringLiteral("Secret"));
    AddEmployee(2, QStringLiteral("Bob"), QStringLiteral("bob"), QVariant());
    AddEmployee(3, QStringLiteral("Cy"), QStringLiteral("cy"), QString());
    EXPECT_TRUE(m_db.CheckUserPassword(1, QStringLiteral("Secret")));
    EXPECT_FALSE(m_db.CheckUserPassword(1, QStringLiteral("secret")));
    EXPECT_FALSE(m_db.CheckUserPassword(1, QString()));
    EXPECT_FALSE(m_db.CheckUserPassword(1, QStringLiteral("' OR '1'='1")));
    EXPECT_FALSE(m_db.CheckUserPassword(1, QStringLiteral("x' OR [Pwd] IS NOT NULL OR '1'='1")));
    EXPECT_TRUE(m_db.CheckUserPassword(2, QString())); // NULL password
    EXPECT_TRUE(m_db.CheckUserPassword(3, QString())); // empty password
    EXPECT_FALSE(m_db.CheckUserPassword(2, QStringLiteral("' OR '1'='1")));
    EXPECT_EQ(CRecordingMessages::Current().Count(), 0);

    ASSERT_TRUE(m_db.ChangePassword(2, QStringLiteral("n'ew")));
    EXPECT_TRUE(m_db.CheckUserPassword(2, QStringLiteral("n'ew")));
    EXPECT_FALSE(m_db.ChangePassword(99, QStringLiteral("x")));
}

TEST_P(FacadeTest, ATextNoDatabaseCanHoldIsRefusedInOneMessage)
{
    AddEmployee(1, QStringLiteral("Ann"), QStringLiteral("ann"), QStringLiteral("Secret"));
    const QString broken = QStringLiteral("ab") + QChar(0xD83D);
    CRecordingMessages& messages = CRecordingMessages::Current();
    // A look-up finds nothing, and says why once.
    EXPECT_EQ(m_db.GetProjIdByName(broken), -1);
    ASSERT_EQ(messages.Count(), 1) << messages.Texts().join('|').toStdString();
    EXPECT_TRUE(messages.Last().startsWith(QStringLiteral("The text holds half of a character")))
        << messages.Last().toStdString();
    // A refused password: one box, and the old one stays.
    messages.Clear();
    EXPECT_FALSE(m_db.ChangePassword(1, broken));
    ASSERT_EQ(messages.Count(), 1) << messages.Texts().join('|').toStdString();
    EXPECT_TRUE(messages.Last().startsWith(QStringLiteral("The text holds half of a character")))
        << messages.Last().toStdString();
    EXPECT_TRUE(m_db.CheckUserPassword(1, QStringLiteral("Secret")));
    // At sign-on such a password is simply wrong: the sign-on window's box is the only one.
    messages.Clear();
    EXPECT_FALSE(m_db.CheckUserPassword(1, broken));
    EXPECT_EQ(messages.Count(), 0) << messages.Texts().join('|').toStdString();
}

TEST_P(FacadeTest, TheVersionCheckComparesInHundredths)
{
    QString text;
    EXPECT_TRUE(m_db.CheckDbVersion(2.2, text, false)); // the seed carries 2.21
    EXPECT_EQ(text, QStringLiteral("2.21"));
    Exec(QStringLiteral("UPDATE ztlkpDbInfo SET dbVersion = 2.19"));
    EXPECT_FALSE(m_db.CheckDbVersion(2.2, text, false));
    Exec(QStringLiteral("UPDATE ztlkpDbInfo SET dbVersion = 2.199"));
    EXPECT_TRUE(m_db.CheckDbVersion(2.2, text, false));
    // An older active revision does not decide; the newest does.
    Exec(QStringLiteral("INSERT INTO ztlkpDbInfo (dbInfoDate, dbVersion, isActive) VALUES "
                        "('2001-01-01 00:00:00', 1.5, 1)"));
    EXPECT_TRUE(m_db.CheckDbVersion(2.2, text, false));

    // The cached version is used only when asked for and at least 2.0.
    {
        CProfileStore profile;
        profile.setValue(QStringLiteral("Query/bMulti"), 1);
    }
    Exec(QStringLiteral("UPDATE ztlkpDbInfo SET dbVersion = 1.0"));
    EXPECT_TRUE(m_db.CheckDbVersion(2.2, text, true));
    EXPECT_FALSE(m_db.CheckDbVersion(2.2, text, false));
    EXPECT_FALSE(m_db.CheckDbVersion(2.2, text, true)); // 1.0 known now: read again
}

TEST_P(FacadeTest, StartUpInformationNamesTheCompanyOnBothBackEnds)
{
    CNameValueArray required;
    required.Add(QStringLiteral("qselStartUpInfo"), 2.2f);
    m_db.SetRequiredVersions(&required);
    m_db.StartupInfo().DbVersion = 2.2;
    ASSERT_TRUE(m_db.Connect());
    EXPECT_EQ(m_db.StartupInfo().BookingInterval, 15);
    // The captions of a database file name the company as well.
    EXPECT_EQ(m_db.StartupInfo().CompanyName, QStringLiteral("Our Company"));
    // No quick-start property: the long wait at start.
    EXPECT_EQ(m_db.StartupInfo().StartupFlag, 0);
    m_db.Connection()->ReleaseConnection(false);

    Exec(QStringLiteral("INSERT INTO tblProperty (PropertyName, intValue) VALUES (?, 1)"),
         {QString::fromLatin1(kQuickStartProperty)});
    m_db.StartupInfo() = CStartupInfo();
    ASSERT_TRUE(m_db.Connect());
    EXPECT_EQ(m_db.StartupInfo().StartupFlag, 1);
    m_db.Connection()->ReleaseConnection(false);
}

TEST_P(FacadeTest, PropertiesAreReadBoundAndDefaulted)
{
    int value = 0;
    EXPECT_TRUE(m_db.GetPropertyInt(value, QStringLiteral("requirePwd"), 7));
    EXPECT_EQ(value, 0);
    EXPECT_TRUE(m_db.GetPropertyInt(value, QStringLiteral("' OR 1=1 --"), 7));
    EXPECT_EQ(value, 7);
    Exec(QStringLiteral("DELETE FROM tblProperty WHERE PropertyName = 'minBookingInterval'"));
    int minutes = 0;
    EXPECT_TRUE(m_db.ReadMinBookingInterval(minutes));
    EXPECT_EQ(minutes, 15);
    Exec(QStringLiteral("INSERT INTO tblProperty VALUES ('minBookingInterval', 6)"));
    EXPECT_TRUE(m_db.ReadMinBookingInterval(minutes));
    EXPECT_EQ(minutes, 6);
}

TEST_P(FacadeTest, OrdersAndTasksFollowTheDefaultRules)
{
    Exec(QStringLiteral(
        "INSERT INTO tblProjectOrderBook (OrderID, OrderCode, ProjID, IsDefault, IsDone, "
        "OrderHourRate) VALUES (1, 'DONE', 5, 0, 1, 10), (2, 'A', 5, 0, 0, 85.5), "
        "(3, 'B', 5, 0, 0, 90), (4, 'X', 6, 1, 0, 70), (5, 'Y', 6, 0, 0, 75)"));
    QString code;
    int id = -1;
    double rate = 0;
    ASSERT_TRUE(m_db.GetDefaultOrderOfProject(5, code, id, rate)); // no default: first not done
    EXPECT_EQ(id, 2);
    EXPECT_DOUBLE_EQ(rate, 85.5); // the fraction stays
    ASSERT_TRUE(m_db.GetDefaultOrderOfProject(6, code, id, rate));
    EXPECT_EQ(code, QStringLiteral("X"));
    EXPECT_EQ(m_db.GetOrderIdByCode(QStringLiteral("b"), 5), 3);
    EXPECT_TRUE(m_db.GetOrderCodeAndRate(5, 3, rate, code));
    EXPECT_FALSE(m_db.GetOrderCodeAndRate(6, 3, rate, code));
    EXPECT_DOUBLE_EQ(rate, 0);

    Exec(QStringLiteral(
        "INSERT INTO tblProjectTask (TaskID, Task, ProjID, State, DefaultWorkTypeID) VALUES "
        "(10, 'old', 5, 1, NULL), (11, 'active', 5, 2, 3), (12, 'later', 5, 2, 99), (13, 'x', 6, "
        "1, 1)"));
    int task = -1;
    QString name;
    m_db.GetDefaultTaskOfProject(5, task, name, false);
    EXPECT_EQ(task, 12); // the last active one
    task = -1;
    m_db.GetDefaultTaskOfProject(6, task, name, false);
    EXPECT_EQ(task, -1); // none qualifies: untouched
    m_db.GetDefaultTaskOfProject(6, task, name, true);
    EXPECT_EQ(task, 13);
    int workType = 0;
    ASSERT_TRUE(m_db.GetTaskWorkType(5, 11, name, workType));
    EXPECT_EQ(name, QStringLiteral("Meeting"));
    ASSERT_TRUE(m_db.GetTaskWorkType(5, 12, name, workType)); // unknown work type: the first
    EXPECT_EQ(workType, 1);
    EXPECT_FALSE(m_db.GetTaskWorkType(6, 11, name, workType));
}

TEST_P(FacadeTest, TasksOfTheShownProjectsFirstOthersWhenAsked)
{
    Exec(QStringLiteral(
        "INSERT INTO tblProjectTask (TaskID, Task, ProjID, State) VALUES (10, 'a', 5, 2), (11, "
        "'b', 5, 2), (20, 'c', 6, 2), (30, 'same', 7, 2), (31, 'same', 8, 2)"));
    ASSERT_TRUE(m_db.LoadTasksOfProjects({5, 7}));
    QList<int> held;
    for (const CTaskEntry& t : m_db.Tasks())
        held << t.TaskID;
    EXPECT_EQ(held, (QList<int>{10, 11, 30}));
    // Another project's tasks come when that project is asked for.
    EXPECT_TRUE(m_db.IsTaskOfProject(20, 6));
    EXPECT_EQ(m_db.GetTaskNameForProject(20, 6), QStringLiteral("c"));
    EXPECT_EQ(m_db.Tasks().size(), 4);
    CTestItemList combo;
    int selected = -1;
    ASSERT_TRUE(m_db.FillTaskCombo(combo, selected, 8, true));
    EXPECT_EQ(combo.Texts(), QStringList{QStringLiteral("same")});
    // A lookup by id alone, or by name over every project, reads them all.
    EXPECT_EQ(m_db.GetTaskName(31), QStringLiteral("same"));
    EXPECT_EQ(m_db.GetTaskIdByName(QStringLiteral("same")), 30);
    EXPECT_EQ(m_db.Tasks().size(), 5);
}

TEST_P(FacadeTest, OrdersOfTheShownProjectsFirstOthersWhenAsked)
{
    Exec(QStringLiteral(
        "INSERT INTO tblProjectOrderBook (OrderID, OrderCode, ProjID, IsDefault, IsDone, "
        "OrderHourRate) VALUES (1, 'A', 5, 1, 0, 80), (2, 'B', 6, 0, 1, 81), (3, 'C', 6, 0, 0, "
        "82), (4, 'D', 7, 0, 0, 83), (5, 'E', 8, 0, 0, 84)"));
    ASSERT_TRUE(m_db.LoadOrdersOfProjects({5}));
    EXPECT_EQ(m_db.Orders().size(), 1);
    // Each lookup answers as with every order read.
    QString code;
    int id = -1;
    double rate = 0;
    ASSERT_TRUE(m_db.GetDefaultOrderOfProject(6, code, id, rate));
    EXPECT_EQ(id, 3);
    EXPECT_EQ(m_db.GetOrderIdByCode(QStringLiteral("d"), 7), 4);
    CTestItemList combo;
    m_db.FillOrderCombo(combo, 6, 2);
    EXPECT_EQ(combo.Texts(), (QStringList{"B", "C"}));
    EXPECT_EQ(m_db.Orders().size(), 4);
    // By id alone: the order's project is read.
    EXPECT_EQ(m_db.GetOrderCode(5), QStringLiteral("E"));
    EXPECT_EQ(m_db.Orders().size(), 5);
    EXPECT_EQ(m_db.GetOrderCode(99), QString());
    // An order added to a project read already is found after a miss.
    ASSERT_TRUE(m_db.LoadOrdersOfProjects({5, 6}));
    Exec(QStringLiteral("INSERT INTO tblProjectOrderBook (OrderID, OrderCode, ProjID, IsDefault, "
                        "IsDone, OrderHourRate) VALUES (6, 'G', 5, 0, 0, 86)"));
    EXPECT_FALSE(m_db.GetOrderCodeAndRate(5, 6, rate, code));
    EXPECT_TRUE(m_db.GetOrderCodeAndRate(5, 6, rate, code));
    EXPECT_DOUBLE_EQ(rate, 86);
    EXPECT_EQ(m_db.Orders().size(), 4);
}

TEST_P(FacadeTest, AMissedOrderIsReadAgainOnlyOnce)
{
    Exec(QStringLiteral("INSERT INTO tblProjectOrderBook (OrderID, OrderCode, ProjID, IsDefault, "
                        "IsDone, OrderHourRate) VALUES (1, 'A', 5, 1, 0, 80)"));
    double rate = 0;
    QString code;
    const CStatementCache& statements = m_db.Connection()->Statements();
    // No order yet: the list is read once, not twice.
    int prepares = statements.Prepares();
    EXPECT_FALSE(m_db.GetOrderCodeAndRate(5, -1, rate, code));
    EXPECT_EQ(m_db.Orders().size(), 1);
    EXPECT_LE(statements.Prepares() - prepares, 1);
    // An order added since is found on the call after the miss.
    Exec(QStringLiteral("INSERT INTO tblProjectOrderBook (OrderID, OrderCode, ProjID, IsDefault, "
                        "IsDone, OrderHourRate) VALUES (2, 'B', 5, 0, 0, 90)"));
    prepares = statements.Prepares();
    EXPECT_FALSE(m_db.GetOrderCodeAndRate(5, 2, rate, code));
    EXPECT_TRUE(m_db.GetOrderCodeAndRate(5, 2, rate, code));
    EXPECT_DOUBLE_EQ(rate, 90);
    // The list's statement is not parsed again (the server prepares it on
    // its second run).
    EXPECT_EQ(statements.Prepares() - prepares, IsPostgres() ? 1 : 0);
}

TEST_P(FacadeTest, TheDayCacheLoadsOnceAndKeepsFractions)
{
    Book(4, m_day, 540, 600, 1, 0.75);
    Book(4, m_day, 600, 660, 2, 1.0);
    Book(4, m_day.AddDays(1), 540, 600, 1);
    EXPECT_TRUE(m_db.LoadDayTimeSheets(m_day, 4));
    ASSERT_EQ(m_db.DayEntries().size(), 2);
    EXPECT_FLOAT_EQ(m_db.DayEntries().at(0).HoursWorked, 0.75f);
    EXPECT_TRUE(m_db.DayEntries().at(0).ObjectID.isNull());
    Book(4, m_day, 700, 710, 3);
    EXPECT_TRUE(m_db.LoadDayTimeSheets(m_day, 4)); // same key: not read again
    EXPECT_EQ(m_db.DayEntries().size(), 2);
    EXPECT_TRUE(m_db.EnsureDayLoaded(4, m_day.Date(), true));
    EXPECT_EQ(m_db.DayEntries().size(), 3);
    EXPECT_TRUE(m_db.EnsureDayLoaded(4, m_day.Date().addDays(1), false));
    EXPECT_EQ(m_db.DayEntries().size(), 1);
    EXPECT_FALSE(m_db.EnsureDayLoaded(5, m_day.Date(), false)); // a day without rows

    CTimeSheetEntry entry;
    EXPECT_TRUE(m_db.FindDayEntryForKey(entry, 2, 4, m_day)); // another day held: loads this one
    EXPECT_EQ(entry.StartTime.MinutesOfDay(), 600);
    EXPECT_FALSE(m_db.FindDayEntryForKey(entry, 9, 4, m_day));
    entry.Comment = QStringLiteral("changed");
    EXPECT_TRUE(m_db.UpdateDayEntry(true, entry));
    EXPECT_TRUE(m_db.RemoveDayEntry(2));
    EXPECT_FALSE(m_db.IsTimeIdInDayCache(2));
}

TEST_P(FacadeTest, NextTimeIdFollowsTheLastRow)
{
    int timeId = 0;
    EXPECT_TRUE(m_db.GetTimeIdOfDay(timeId, 4, m_day));
    EXPECT_EQ(timeId, 1);
    Book(4, m_day, 0, 10, 1);
    Book(4, m_day, 10, 20, 2);
    Book(4, m_day, 20, 30, 5);
    EXPECT_TRUE(m_db.GetNextTimeId(m_day, 4, timeId));
    EXPECT_EQ(timeId, 6);
}

struct ClashCase {
    int start, stop;
    bool overlap, found;
};

TEST_P(FacadeTest, BothClashRules)
{
    Book(4, m_day, 600, 660, 1); // 10:00-11:00
    const ClashCase cases[] = {
        {540, 600, false, false}, // ends where the row starts
        {660, 720, false, false}, // starts where it ends
        {540, 660, true, true},   // encloses it
        {600, 630, true, true},   // inside, same start
        {630, 700, true, true},   // over its end
        {540, 610, true, true},   // over its start
        {610, 620, true, true},   // inside
    };
    for (const ClashCase& c : cases) {
        SCOPED_TRACE(QStringLiteral("%1-%2").arg(c.start).arg(c.stop).toStdString());
        EXPECT_EQ(m_db.CheckTimeOverlap(m_day, 4, c.start, c.stop, -1), c.overlap);
        int stop = -1;
        EXPECT_EQ(m_db.FindOverlappingEntry(nullptr, m_day, 4, c.start, c.stop, stop, -1, 0),
                  c.found);
    }
    // An edited block never clashes with itself.
    EXPECT_FALSE(m_db.CheckTimeOverlap(m_day, 4, 590, 670, 1));
    int stop = -1;
    EXPECT_FALSE(m_db.FindOverlappingEntry(nullptr, m_day, 4, 590, 670, stop, 1, 0));
    EXPECT_TRUE(m_db.FindOverlappingEntry(nullptr, m_day, 4, 590, 670, stop, 1, 1));
    EXPECT_EQ(stop, 660);
}

TEST_P(FacadeTest, FillersListWhatTheCachesHold)
{
    AddEmployee(1, QStringLiteral("Ann A"), QStringLiteral("ann"), QVariant(), 1);
    AddEmployee(2, QStringLiteral("Bob B"), QStringLiteral("bob"), QVariant(), 1);
    AddEmployee(3, QStringLiteral("Cy C"), QStringLiteral("cy"), QVariant(), 2);
    AddEmployee(4, QStringLiteral("Old O"), QStringLiteral("old"), QVariant(), 1, 0);
    CTestItemList combo;
    EXPECT_EQ(m_db.FillEmployeeCombo(combo, QStringLiteral("bobb"), 1, QStringLiteral("Any")), 2);
    EXPECT_EQ(combo.Texts(), (QStringList{"Any", "Ann A", "Bob B"}));
    EXPECT_EQ(combo.ItemData(0), -2);
    EXPECT_EQ(m_db.FillEmployeeCombo(combo, QStringLiteral("Cy C"), -1),
              0); // the named one's department
    EXPECT_EQ(combo.Texts(), QStringList{"Cy C"});

    Exec(QStringLiteral("INSERT INTO tblProject (ProjID, ProjName, UseTeamCheck) VALUES (7, "
                        "'Beta', 0), (8, 'Alpha', 0)"));
    EXPECT_EQ(m_db.FillProjectCombo(combo, 1, QStringLiteral("Beta"), false), 1);
    EXPECT_EQ(combo.Texts(), (QStringList{"Alpha", "Beta"}));
    EXPECT_EQ(combo.ItemData(1), 7);

    EXPECT_EQ(m_db.FillCommentTypes(combo, QString(), true), 1); // "ToDo", after "All"
    EXPECT_EQ(combo.ItemText(1), QStringLiteral("ToDo"));
    EXPECT_EQ(m_db.FillCommentTypes(combo, QStringLiteral("info"), false), 3);
    EXPECT_EQ(m_db.FillStatusCombo(combo, 2, 12), 4);
    combo.valid = false;
    EXPECT_EQ(m_db.FillCommentTypes(combo, QString(), true), -1);
}

TEST_P(FacadeTest, CompaniesAndTheirBusinessTypes)
{
    Exec(QStringLiteral(
        "INSERT INTO tblAddrCompany (CompanyID, CompanyName) VALUES (5, 'O''Neil & Sons')"));
    EXPECT_EQ(m_db.GetCompanyIdByName(QStringLiteral("o'neil & sons")), 5);
    QString name;
    EXPECT_TRUE(m_db.GetCompanyNameById(5, name));
    EXPECT_EQ(name, QStringLiteral("O'Neil & Sons"));
    CCompanyDetailSet detail(m_db.Connection());
    EXPECT_TRUE(m_db.GetCompanyById(5, detail));
    EXPECT_EQ(detail.m_Company_Name, QStringLiteral("O'Neil & Sons"));

    QStringList ids;
    EXPECT_TRUE(m_db.GetCompanyBusinessTypes(5, ids));
    EXPECT_TRUE(ids.isEmpty());
    EXPECT_TRUE(m_db.AddCompanyBusinessType(5, 1));
    EXPECT_TRUE(m_db.AddCompanyBusinessType(5, 3));
    EXPECT_TRUE(m_db.GetCompanyBusinessTypes(5, ids));
    EXPECT_EQ(ids.size(), 2);
    EXPECT_TRUE(m_db.DeleteCompanyBusinessTypes(5));
    ids.clear();
    m_db.GetCompanyBusinessTypes(5, ids);
    EXPECT_TRUE(ids.isEmpty());
    EXPECT_TRUE(m_db.GetSetupCompany(name));
    EXPECT_EQ(name, QStringLiteral("Our Company"));
}

TEST_P(FacadeTest, ChangeRequestActionsAndTeams)
{
    AddEmployee(1, QStringLiteral("Ann"), QStringLiteral("ann"));
    AddEmployee(2, QStringLiteral("Bob"), QStringLiteral("bob"));
    Exec(QStringLiteral("INSERT INTO tblChgReq (ChgReqID, Item) VALUES (9, 'x')"));
    Exec(QStringLiteral("INSERT INTO tblChgReqTeam (ChgReqID, EmpID) VALUES (9, 1), (9, 2)"));
    QStringList actions;
    EXPECT_TRUE(m_db.FillChgReqActions(9, actions));
    EXPECT_TRUE(actions.isEmpty());
    EXPECT_EQ(CRecordingMessages::Current().Count(), 0);
    EXPECT_TRUE(m_db.AddChgReqAction(9, QStringLiteral("booked 'time'"), 1));
    EXPECT_TRUE(m_db.FillChgReqActions(9, actions));
    EXPECT_EQ(actions, QStringList{QStringLiteral("booked 'time'")});
    EXPECT_EQ(Query(QStringLiteral("SELECT StatusID FROM tblChgReqAction")).Value(0, 0).toInt(), 6);
    QString team;
    EXPECT_TRUE(m_db.FillChgReqTeam(9, team));
    EXPECT_EQ(team, QStringLiteral("Ann, Bob"));
}

TEST_P(FacadeTest, AdHocSqlKeepsItsLiteralsAndCounts)
{
    QStringList out;
    QList<int> counts;
    ASSERT_TRUE(m_db.AddStrings(QStringLiteral("SELECT 'MiXeD' AS a, NULL AS b; SELECT 1"), out,
                                true, counts));
    EXPECT_EQ(out, (QStringList{"MiXeD", "", "1"}));
    EXPECT_EQ(counts, (QList<int>{1, 1}));
    Book(1, m_day, 0, 10, 1);
    Exec(QStringLiteral("UPDATE tblTimeSheet SET ProjID = 0"));
    int count = -1;
    EXPECT_EQ(m_db.CountTimeSheets(count, -1), 1);
    EXPECT_EQ(m_db.CountTimeSheets(count, 0), 1);
    EXPECT_EQ(m_db.CountTimeSheets(count, 3), 0);

    CMyAdoRecordSet* rs = nullptr;
    ASSERT_TRUE(m_db.ExecuteQuery(QStringLiteral("SELECT EmpID, Comment FROM tblTimeSheet"), rs));
    QStringList texts;
    int rows = 0;
    m_db.RecordsetToStringArray(rs, texts, rows, 2, 100);
    EXPECT_EQ(rows, 1);
    EXPECT_EQ(texts, (QStringList{"1", " "})); // NULL gives one blank
    delete rs;
    rs = nullptr;
    EXPECT_FALSE(m_db.ExecuteQuery(QStringLiteral("SELECT nothing FROM nowhere"), rs));
    EXPECT_EQ(rs, nullptr);
    EXPECT_EQ(CRecordingMessages::Current().Count(), 0);
}

namespace {

class CRecordingViews : public ISearchViewFactory {
public:
    QObject* CreateSearchView(const QString& kind, const QString& text, CMyAdoRecordSet* rows,
                              QObject*) override
    {
        made << kind + QLatin1Char('/') + text + QLatin1Char('/') +
                    QString::number(rows->RecordCount());
        return &m_view;
    }
    QStringList made;

private:
    QObject m_view;
};

class CChooser : public IFileChooserHook {
public:
    QString OpenFile(const QString& title, const QString& start, const QString& filters) override
    {
        asked << title << start << filters;
        return answer;
    }
    QStringList asked;
    QString answer;
};

} // namespace

TEST_P(FacadeTest, SearchesOpenAViewOfTheirRows)
{
    CRecordingViews views;
    m_db.SetSearchViewFactory(&views);
    QList<CMyAdoRecordSet*> recordsets;
    QList<QObject*> made;
    QString message;
    ASSERT_TRUE(m_db.RunQueryToList(
        QStringLiteral("SELECT * FROM tlkpWorkType WHERE WorkType = 'Design'"), message,
        QStringLiteral("kind"), QStringLiteral("Design"), recordsets, made));
    EXPECT_TRUE(message.isEmpty());
    ASSERT_EQ(recordsets.size(), 1);
    EXPECT_EQ(views.made, QStringList{QStringLiteral("kind/Design/1")});
    EXPECT_EQ(made.size(), 1);
    qDeleteAll(recordsets);
    recordsets.clear();
    EXPECT_TRUE(m_db.RunQueryToList(QStringLiteral("SELECT * FROM tlkpWorkType WHERE 1 = 0"),
                                    message, QString(), QString(), recordsets, made));
    EXPECT_EQ(message, QStringLiteral("No Records"));
    EXPECT_TRUE(recordsets.isEmpty());
    EXPECT_FALSE(m_db.RunQueryToList(QStringLiteral("SELECT * FROM nowhere"), message, QString(),
                                     QString(), recordsets, made));
    EXPECT_FALSE(message.isEmpty());
    m_db.SetSearchViewFactory(nullptr);
}

TEST_P(FacadeTest, FilesAreChosenThroughTheHook)
{
    CChooser chooser;
    SetFileChooserHook(&chooser);
    QString folder;
    QString file;
    EXPECT_FALSE(m_db.BrowseForFile(folder, file, QStringLiteral("Pick"), QStringLiteral("a.htm"),
                                    QStringLiteral("Web pages"), QStringLiteral("*.htm")));
    EXPECT_EQ(chooser.asked.value(2), QStringLiteral("Web pages (*.htm);;All Files (*)"));
    chooser.answer = TestEnv::TestDir() + QStringLiteral("/help/page.htm");
    EXPECT_TRUE(m_db.BrowseForFile(folder, file, QStringLiteral("Pick"), QStringLiteral("a.htm"),
                                   QStringLiteral("Web pages"), QStringLiteral("*.htm")));
    EXPECT_EQ(file, QStringLiteral("page.htm"));
    EXPECT_EQ(folder, TestEnv::TestDir() + QStringLiteral("/help/"));
    SetFileChooserHook(nullptr);
}

KELVANE_INSTANTIATE_BACKENDS(FacadeTest);

TEST(FacadeTexts, TimesOfDay)
{
    EXPECT_EQ(CDBClass::FormatTimeOfDay(75), QStringLiteral("01:15 "));
    EXPECT_EQ(CDBClass::FormatTimeOfDay(1441), QStringLiteral("00:00 "));
    EXPECT_EQ(CDBClass::FormatTimeOfDay(1440), QStringLiteral("24:00 "));
    CDBClass db;
    db.SetDisplayedDay(QDate(2026, 2, 28));
    CDateTime t;
    db.MinutesToDateTime(t, 1440);
    EXPECT_EQ(t, CDateTime(2026, 2, 28, 23, 59));
    db.MinutesToDateTime(t, 0);
    EXPECT_EQ(t, CDateTime(2026, 2, 28));
    EXPECT_EQ(CDBClass::QuoteSql(QStringLiteral("a'b''")), QStringLiteral("a''b''''"));
    EXPECT_EQ(CDBClass::VariantToString(0.5), QStringLiteral("0.5"));
    EXPECT_EQ(CDBClass::VariantToString(QVariant::fromValue(CDateTime(2026, 1, 2, 3, 4))),
              QStringLiteral("2026-01-02 03:04:00"));
}
