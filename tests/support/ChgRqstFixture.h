#pragma once

#include "tests/support/FacadeFixture.h"
#include "tests/support/SeedRows.h"

#include <QScopeGuard>

// A database of change requests. Employees Ann Lee (1), Bob O'Neil (2),
// Cleo Ng (3, no e-mail) and Dan Old (4, left); Acme (2) and Zeta's Café (3)
// beside the own company (1), Jane Roe of Acme and Jörg O'Hara of Zeta's;
// projects Bridge (Acme) and Apollo (Zeta's Café), open to everyone, and
// Zephyr, for its team only. Requests are added by the tests.
class ChgRqstTest : public FacadeDbTest {
protected:
    static constexpr int kAnn = 1;
    static constexpr int kBob = 2;
    static constexpr int kCleo = 3;
    static constexpr int kDan = 4;
    static constexpr int kBridge = 1;
    static constexpr int kApollo = 2;
    static constexpr int kZephyr = 3;
    static constexpr int kAcme = 2;
    static constexpr int kZeta = 3;

    using FacadeDbTest::FacadeDbTest;

    void SetUp() override
    {
        FacadeDbTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        Exec(QStringLiteral("INSERT INTO tblFinEmployee (EmpID, EmpFullName, NTUserName, DeptID, "
                            "IsCurrent, Email) VALUES (1, 'Ann Lee', 'ann', 1, 1, "
                            "'ann@example.com'), (2, 'Bob O''Neil', 'bob', 1, 1, "
                            "'bob.o''neil@example.com#mailto:bob'), (3, 'Cleo Ng', 'cleo', 1, 1, "
                            "''), (4, 'Dan Old', 'dan', 1, 0, 'dan@example.com')"));
        SeedCompaniesAndProjects(
            [this](const QString& sql, const QVariantList& values) { Exec(sql, values); });
        Option("USER/DefUserName", QStringLiteral("Ann Lee"));
    }

    struct CRequest {
        int projId = kBridge;
        int empId = kAnn;
        int companyId = kAcme;
        QString contact = QStringLiteral("Jane Roe");
        QString reference = QStringLiteral("R-1");
        QString item = QStringLiteral("Item");
        CDateTime created = Day(2, 9, 30);
        CDateTime completed;
        int status = 1;
        int priority = 2;
        QString details;
        QList<int> team;
    };
    // Writes a request straight into the tables; its id.
    int AddRequest(const CRequest& r)
    {
        const auto date = [](const CDateTime& d) {
            return d.IsValid() ? QVariant::fromValue(d) : QVariant();
        };
        Exec(QStringLiteral("INSERT INTO tblChgReq (ProjID, EmpID, CompanyID, Contact, Reference, "
                            "Item, DateCreated, DateCompleted, StatusID, Priority, FullDetail, "
                            "TeamList) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
             {r.projId, r.empId, r.companyId < 0 ? QVariant() : QVariant(r.companyId), r.contact,
              r.reference, r.item, date(r.created), date(r.completed), r.status, r.priority,
              r.details, QString()});
        const int id =
            Query(QStringLiteral("SELECT MAX(ChgReqID) FROM tblChgReq")).Value(0, 0).toInt();
        for (int empId : r.team)
            Exec(QStringLiteral("INSERT INTO tblChgReqTeam (ChgReqID, EmpID, Comment) VALUES (?, "
                                "?, ?)"),
                 {id, empId, QStringLiteral("member %1").arg(empId)});
        return id;
    }
    // An action as the time sheet writes it.
    int AddAction(int chgReqId, const QString& comment, int empId = kBob,
                  const CDateTime& assigned = Day(1, 8, 15), int deliverable = 5,
                  const QString& version = QStringLiteral("v1.2"))
    {
        Exec(QStringLiteral("INSERT INTO tblChgReqAction (ChgReqID, DeliverableID, VersionMod, "
                            "EmpID, DateAssigned, DateComplete, Comment, StatusID) VALUES (?, ?, "
                            "?, ?, ?, NULL, ?, 6)"),
             {chgReqId, deliverable, version, empId, QVariant::fromValue(assigned), comment});
        return Query(QStringLiteral("SELECT MAX(ChgActionID) FROM tblChgReqAction"))
            .Value(0, 0)
            .toInt();
    }

    // A column of a request as stored ("NULL" for none, "(no row)" when gone).
    QString Stored(int chgReqId, const QString& column)
    {
        const CQueryResult rows = Query(
            QStringLiteral("SELECT %1 FROM tblChgReq WHERE ChgReqID = ?").arg(column), {chgReqId});
        if (rows.rows != 1)
            return QStringLiteral("(no row)");
        const QVariant v = rows.Value(0, 0);
        return v.isNull() ? QStringLiteral("NULL") : v.toString();
    }
    // A stored date as ISO text ("" for none).
    QString StoredDate(const QString& table, const QString& column, const QString& key, int id)
    {
        const CQueryResult rows =
            Query(QStringLiteral("SELECT %1 FROM %2 WHERE %3 = ?").arg(column, table, key), {id});
        const QVariant v = rows.rows == 1 ? rows.Value(0, 0) : QVariant();
        if (v.isNull())
            return QString();
        const CDateTime date = v.metaType() == QMetaType::fromType<CDateTime>()
                                   ? v.value<CDateTime>()
                                   : CDateTime::Parse(v.toString());
        return date.ToIsoText();
    }
    QList<int> Team(int chgReqId)
    {
        const CQueryResult rows = Query(
            QStringLiteral("SELECT EmpID FROM tblChgReqTeam WHERE ChgReqID = ? ORDER BY EmpID"),
            {chgReqId});
        QList<int> ids;
        for (int r = 0; r < rows.rows; ++r)
            ids << rows.Value(r, 0).toInt();
        return ids;
    }
    // The request's actions: "comment|status|employee|deliverable|version" by id.
    QStringList Actions(int chgReqId)
    {
        const CQueryResult rows =
            Query(QStringLiteral("SELECT Comment, StatusID, EmpID, DeliverableID, VersionMod FROM "
                                 "tblChgReqAction WHERE ChgReqID = ? ORDER BY ChgActionID"),
                  {chgReqId});
        QStringList out;
        for (int r = 0; r < rows.rows; ++r)
            out << QStringLiteral("%1|%2|%3|%4|%5")
                       .arg(rows.Value(r, 0).toString(), rows.Value(r, 1).toString(),
                            rows.Value(r, 2).toString(), rows.Value(r, 3).toString(),
                            rows.Value(r, 4).toString());
        return out;
    }
    int Count(const QString& table)
    {
        return Query(QStringLiteral("SELECT COUNT(*) FROM %1").arg(table)).Value(0, 0).toInt();
    }
};
