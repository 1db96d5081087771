#include "data/ConnectionString.h"
#include "data/Schema.h"
#include "data/records/ProjectCommentSet.h"
#include "review/SearchKind.h"
#include "review/SearchQuery.h"
#include "tests/review/SearchFixture.h"
#include "ui/ResourceIds.h"

#include <algorithm>
#include <memory>

// The same rows, written through the program's own writes into a database
// file and a server database; every field of every search kind with every
// operator finds the same rows in both, for a value it holds, for nothing
// and for a zero.

namespace {

// One database with the rows, and its facade.
class CSearchSide {
public:
    explicit CSearchSide(bool server)
    {
        const QString name = QStringLiteral("matrix");
        const QString connectionString =
            server ? TestDatabases::NewPostgresDatabase(name)
                   : TestDatabases::NewSqliteDatabase(TestEnv::TestDir(), name + ".db");
        db.Connection()->UseConnectionString(connectionString);
        EXPECT_TRUE(db.OpenConnection());
        QString error;
        EXPECT_TRUE(CSchema::Create(*db.Connection(), &error)) << error.toStdString();
        db.StartupInfo().BookingInterval = 6;
        Seed();
    }
    ~CSearchSide() { db.ReleaseConnection(true, true); }
    CSearchSide(const CSearchSide&) = delete;
    CSearchSide& operator=(const CSearchSide&) = delete;

    // The rows the search finds ("" when the search failed, with why).
    bool Search(const CSearchQuery& query, const QString& key, QStringList& found, QString& why)
    {
        CKeptResults kept;
        db.SetSearchViewFactory(&kept);
        QList<CMyAdoRecordSet*> recordsets;
        QList<QObject*> views;
        why.clear();
        const bool ran =
            db.RunQueryToList(query.SearchText(), why, QString(), QString(), recordsets, views);
        db.SetSearchViewFactory(nullptr);
        found.clear();
        for (CMyAdoRecordSet* rs : std::as_const(recordsets))
            for (rs->MoveFirst(); !rs->IsEOF(); rs->MoveNext())
                found << rs->Value(key).toString();
        qDeleteAll(recordsets);
        std::sort(found.begin(), found.end());
        return ran;
    }
    // The values a column holds, sorted, without NULLs.
    QStringList Values(const QString& base, const QString& column)
    {
        CQueryResult rows;
        EXPECT_TRUE(CSqlExecutor::Run(
            *db.Connection(),
            QStringLiteral("SELECT %1 FROM %2 WHERE %1 IS NOT NULL").arg(column, base), {}, &rows,
            nullptr));
        QStringList values;
        for (int r = 0; r < rows.rows; ++r)
            values << CDBClass::VariantToString(rows.Value(r, 0));
        std::sort(values.begin(), values.end());
        return values;
    }

    CDBClass db;

private:
    void Run(const QString& sql)
    {
        CDbError error;
        EXPECT_TRUE(CSqlExecutor::RunNative(*db.Connection(), sql, {}, nullptr, &error))
            << error.description.toStdString();
    }
    void Seed()
    {
        Run(QStringLiteral("INSERT INTO tblFinEmployee (EmpID, EmpFullName, NTUserName, DeptID, "
                           "IsCurrent, HourRateFactor) VALUES (1, 'Ann Lee', 'ann', 1, 1, 1.5), "
                           "(2, 'Zoë Ärger', 'zoe', 1, 1, 1)"));
        Run(QStringLiteral("INSERT INTO tblProject (ProjID, ProjName, UseTeamCheck, IsTemplate) "
                           "VALUES (5, 'Bridge', 0, 0), (6, 'Écluse', 0, 0)"));
        Run(QStringLiteral("INSERT INTO tblProjectOrderBook (OrderID, OrderCode, ProjID, "
                           "IsDefault, IsDone, OrderHourRate) VALUES (7, 'B-7', 5, 1, 0, 100), "
                           "(8, 'É-8', 6, 1, 0, 75)"));
        Run(QStringLiteral("INSERT INTO tblProjectTask (TaskID, Task, ProjID, State, "
                           "DefaultWorkTypeID) VALUES (9, 'Design', 5, 2, 2), "
                           "(10, 'Prüfung', 6, 2, 4), (11, 'design', 6, 2, 4)"));
        QList<int> ids;
        QString reason;
        CChgReqValues request;
        request.ProjID = 5;
        request.EmpID = 1;
        request.Contact = QStringLiteral("Jörg");
        request.DateCreated = CDateTime(2026, 11, 2, 14, 5);
        request.Priority = 1;
        EXPECT_EQ(db.AddChangeRequest(request, {QStringLiteral("Wider lanes")}, {1}, ids, reason),
                  ChgReqResult::Ok)
            << reason.toStdString();
        request.ProjID = 6;
        request.Priority = 3;
        request.Contact = QStringLiteral("JÖRG");
        request.DateCreated = CDateTime(2026, 11, 30);
        EXPECT_EQ(db.AddChangeRequest(request,
                                      {QStringLiteral("ÜBERHOLUNG"), QStringLiteral("überholung")},
                                      {1, 2}, ids, reason),
                  ChgReqResult::Ok)
            << reason.toStdString();

        // Hours of six-minute steps (1.3 is no exact single); costs with and
        // without cents.
        const QStringList comments = {
            QString::fromUtf8("école d'été"), QString::fromUtf8("École d'Été"),
            QString::fromUtf8("ÉCOLE D'ÉTÉ"), QString::fromUtf8("Straße"),
            QStringLiteral("100% done"),      QStringLiteral("a_b"),
            QStringLiteral("True story"),     QString(),
        };
        for (int i = 0; i < comments.size(); ++i) {
            CTimeSheetWrite e;
            const QDate day = QDate(2026, 12, 7 + i % 3);
            e.WorkDate = CDateTime(day);
            e.EmpID = 1 + i % 2;
            e.ProjID = i % 2 ? 6 : 5;
            e.OrderID = i % 2 ? 8 : 7;
            e.OrderHourRate = i % 2 ? 75 : 100;
            e.TaskID = i % 2 ? 10 : 9;
            e.Start = 8 * 60 + 75 * i;
            e.Stop = e.Start + 60 + 6 * (i % 5);
            e.Comment = comments.at(i);
            e.TimeID = i + 1;
            e.ObjectID = i == 2 ? ids.first() : -1;
            EXPECT_EQ(db.UpdateTimeData(nullptr, e), kWriteOk);
        }

        // A row without times, hours, cost or comment, as other programs
        // store one: where there is no value there is no text to match.
        Run(QStringLiteral("INSERT INTO tblTimeSheet (EmpID, ProjID, OrderID, TaskID, WorkDate, "
                           "TimeID) VALUES (1, 5, 7, 9, '2026-12-10 00:00:00', 20)"));

        int companyId = -1;
        int personId = -1;
        CCompanyValues company;
        company.CompanyName = QString::fromUtf8("Café Zürich");
        company.Phone = QStringLiteral("+41 44");
        company.Address1 = QString::fromUtf8("Bahnhofstraße 1");
        company.WWWpage = QStringLiteral("https://cafe.example");
        CPersonValues person;
        person.FirstName = QString::fromUtf8("Jörg");
        person.LastName = QString::fromUtf8("Müller");
        person.Email = QStringLiteral("JOERG@cafe.example");
        EXPECT_EQ(db.AddCompany(company, -1, person, companyId, reason), ContactResult::Ok)
            << reason.toStdString();
        person.FirstName = QString::fromUtf8("JÖRG");
        person.LastName = QString::fromUtf8("MÜLLER");
        person.Email = QStringLiteral("joerg2@cafe.example");
        EXPECT_EQ(db.AddPerson(companyId, person, personId, reason), ContactResult::Ok);
        company.CompanyName = QStringLiteral("Bridgeworks");
        company.Address1 = QStringLiteral("1 Quay");
        person.FirstName = QStringLiteral("Ann");
        person.LastName = QStringLiteral("O'Neil");
        EXPECT_EQ(db.AddCompany(company, -1, person, companyId, reason), ContactResult::Ok);

        // Comments as the add-comment dialog writes them.
        const QStringList texts = {QString::fromUtf8("Prüfen"), QString::fromUtf8("PRÜFEN"),
                                   QStringLiteral("Check the piers")};
        for (int i = 0; i < texts.size(); ++i) {
            CProjectCommentSet set(db.Connection());
            set.ClearFields();
            set.ClearStatus();
            set.m_ProjID = i % 2 ? 6 : 5;
            set.m_EmpID = 1 + i % 2;
            set.m_CompanyID = companyId;
            set.m_ProjectComment = texts.at(i);
            set.m_FullDetails = QString();
            set.m_Priority = 1 + i;
            set.m_CommentDate = CDateTime(2026, 10, 1 + i, 9, 30);
            set.m_ActionDate = CDateTime(2026, 10, 5 + i);
            set.m_ObjectTypeID = 2;
            set.m_ObjectID = i % 2 ? 10 : 9 + 2 * (i / 2);
            set.m_ContactName = i ? QString::fromUtf8("Jörg") : QStringLiteral("Ann");
            set.m_CommentType = i ? QStringLiteral("ToDo") : QStringLiteral("Info");
            set.m_Reference = QStringLiteral("R-%1").arg(i);
            EXPECT_TRUE(set.Recordset()->CheckAddNew())
                << set.Recordset()->ErrorText().toStdString();
        }
    }
};

// A row's key in each kind's results: a text no other row shares.
QString KeyOf(int kind)
{
    switch (kind) {
    case ID_TIMESHEETS:
        return QStringLiteral("TimesheetID");
    case ID_CONTACTS:
        return QStringLiteral("PersonID");
    case ID_TASKS:
        return QStringLiteral("CommentID");
    default:
        return QStringLiteral("ChgReqID");
    }
}

// What the user types for a field: one of its values, in other letters.
QString ValueFor(const CSearchQuery::CField& field, const QStringList& values, bool like)
{
    if (field.translation == 2)
        return QStringLiteral("DESIGN");
    if (field.translation == 1)
        return QStringLiteral("high");
    const QString value = values.value(values.size() / 2);
    if (field.type == adDate)
        return value.endsWith(QLatin1String(" 00:00:00")) ? value.left(10) : value;
    if (!like)
        return value.toUpper();
    // Part of the value, in capitals.
    return QLatin1Char('%') + value.mid(1, 3).toUpper() + QLatin1Char('%');
}

class SearchMatrixTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!TestDatabases::PostgresConfigured()) {
            if (TestDatabases::PostgresRequired())
                FAIL() << "the test PostgreSQL server is required but not configured";
            GTEST_SKIP() << "no test PostgreSQL server (KELVANE_TEST_PG)";
        }
    }
};

} // namespace

TEST_F(SearchMatrixTest, EveryFieldAndOperatorFindsTheSameRowsOnBothBackEnds)
{
    CSearchSide file(false);
    CSearchSide server(true);
    const QStringList operators = {QStringLiteral("="),    QStringLiteral("<"),
                                   QStringLiteral(">"),    QStringLiteral("<>"),
                                   QStringLiteral("<="),   QStringLiteral(">="),
                                   QStringLiteral("LIKE"), QStringLiteral("NOT LIKE")};
    int searches = 0;
    int nonEmpty = 0;
    for (const int kind : {ID_TIMESHEETS, ID_CONTACTS, ID_TASKS, ID_CHANGE_REQUESTS}) {
        const CSearchQuery fields(kind, &file.db);
        ASSERT_TRUE(fields.IsKnownKind());
        for (int f = 0; f < fields.Fields().size(); ++f) {
            const CSearchQuery::CField& field = fields.Fields().at(f);
            const QStringList values = file.Values(fields.BaseName(), field.name);
            for (const QString& op : operators) {
                const QString held = ValueFor(field, values, op.endsWith(QLatin1String("LIKE")));
                for (const QString& value : {held, QString(), QStringLiteral("0")}) {
                    const std::string what = QStringLiteral("%1 %2 %3 %4")
                                                 .arg(fields.BaseName(), field.caption, op, value)
                                                 .toStdString();
                    CSearchQuery onFile(kind, &file.db);
                    CSearchQuery onServer(kind, &server.db);
                    QString fileMessage;
                    QString serverMessage;
                    const auto added = onFile.AddSection(f, op, value, QString(), fileMessage);
                    ASSERT_EQ(onServer.AddSection(f, op, value, QString(), serverMessage), added)
                        << what;
                    if (added != CSearchQuery::AddResult::Added) {
                        EXPECT_EQ(serverMessage, fileMessage) << what;
                        continue;
                    }
                    QStringList fileRows;
                    QStringList serverRows;
                    QString fileWhy;
                    QString serverWhy;
                    EXPECT_TRUE(file.Search(onFile, KeyOf(kind), fileRows, fileWhy))
                        << what << "\n"
                        << fileWhy.toStdString();
                    EXPECT_TRUE(server.Search(onServer, KeyOf(kind), serverRows, serverWhy))
                        << what << "\n"
                        << serverWhy.toStdString();
                    EXPECT_EQ(serverRows, fileRows) << what << "\n"
                                                    << onFile.SearchText().toStdString() << "\n"
                                                    << onServer.SearchText().toStdString();
                    ++searches;
                    nonEmpty += fileRows.isEmpty() || value != held ? 0 : 1;
                }
            }
        }
    }
    EXPECT_GT(searches, 900);
    EXPECT_GT(nonEmpty, searches / 6);
}

TEST_F(SearchMatrixTest, WhatTheUserTypesFindsItsRowsOnBothBackEnds)
{
    CSearchSide file(false);
    CSearchSide server(true);
    for (CSearchSide* side : {&file, &server}) {
        const auto found = [side](const QString& caption, const QString& op, const QString& value) {
            CSearchQuery query(ID_TIMESHEETS, &side->db);
            QString message;
            int field = -1;
            for (int i = 0; i < query.Fields().size(); ++i)
                if (query.Fields().at(i).caption == caption)
                    field = i;
            EXPECT_EQ(query.AddSection(field, op, value, QString(), message),
                      CSearchQuery::AddResult::Added);
            QStringList rows;
            QString why;
            EXPECT_TRUE(side->Search(query, QStringLiteral("TimesheetID"), rows, why))
                << why.toStdString();
            return rows.join(QLatin1Char(','));
        };
        const QString comment = QStringLiteral("Comment");
        // Every letter, not only those of ASCII; the entry without a comment
        // has an empty one.
        EXPECT_EQ(found(comment, QStringLiteral("="), QString::fromUtf8("école d'été")),
                  QStringLiteral("1,2,3"));
        EXPECT_EQ(found(comment, QStringLiteral("LIKE"), QString::fromUtf8("%ÉCOLE%")),
                  QStringLiteral("1,2,3"));
        EXPECT_EQ(found(comment, QStringLiteral("like"), QString::fromUtf8("%été")),
                  QStringLiteral("1,2,3"));
        EXPECT_EQ(found(comment, QStringLiteral("NOT LIKE"), QString::fromUtf8("%ÉTÉ%")),
                  QStringLiteral("4,5,6,7,8"));
        EXPECT_EQ(found(comment, QStringLiteral(">"), QString::fromUtf8("zzz")),
                  QStringLiteral("1,2,3"));
        EXPECT_EQ(found(comment, QStringLiteral("="), QString::fromUtf8("STRASSE")), QString());
        // Numbers as they are shown.
        EXPECT_EQ(found(QStringLiteral("Hours Worked"), QStringLiteral("="), QStringLiteral("1.3")),
                  QStringLiteral("4"));
        EXPECT_EQ(
            found(QStringLiteral("Hours Worked"), QStringLiteral("LIKE"), QStringLiteral("1.3")),
            QStringLiteral("4"));
        EXPECT_EQ(
            found(QStringLiteral("Hours Worked"), QStringLiteral("LIKE"), QStringLiteral("1")),
            QStringLiteral("1,6"));
        EXPECT_EQ(
            found(QStringLiteral("Invoiced Cost"), QStringLiteral("="), QStringLiteral("97.5")),
            QStringLiteral("4"));
        EXPECT_EQ(
            found(QStringLiteral("Invoiced Cost"), QStringLiteral("LIKE"), QStringLiteral("97.5")),
            QStringLiteral("4"));
        EXPECT_EQ(
            found(QStringLiteral("Invoiced Cost"), QStringLiteral("LIKE"), QStringLiteral("150")),
            QStringLiteral("1"));
        EXPECT_EQ(
            found(QStringLiteral("Invoiced Cost"), QStringLiteral(">"), QStringLiteral("100")),
            QStringLiteral("1,3,5,7"));
    }
}
