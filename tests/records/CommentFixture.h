#pragma once

#include "records/CommentColumns.h"
#include "records/CommentDlg.h"
#include "tests/records/HubWindowFixture.h"
#include "tests/support/FacadeFixture.h"
#include "tests/support/ScriptedModals.h"
#include "tests/support/SeedRows.h"
#include "ui/ResourceIds.h"

#include <QHeaderView>
#include <QMenu>

// A database of comments: Ann Lee (1), Bob O'Neil (2) and Cleo Ng (3);
// Acme (2) and Zeta's Café (3) beside the own company (1); Bridge (Acme;
// tasks Design and Build) and Apollo (Zeta's Café; task Launch), open to
// everyone, and Zephyr, for its team only. The five comments, by date:
//   4  Apollo  Bob  no company  "Old item"        Done  01/03 08:00  actioned 02/03
//   1  Bridge  Ann  Acme        "Check drawings"  ToDo  02/03 09:30  task Design, high
//   2  Bridge  Bob  Acme        hostile text      Info  03/03 10:00  actioned 04/03
//   3  Apollo  Ann  Zeta's      "Café crème ☕"   Bad   03/03 14:00  low
//   5  Bridge  Ann  no company  "Launch prep"     ToDo  05/03 11:00  task Build
class CommentTest : public HubWindowTest<FacadeDbTest, CCommentDlg, ID_TASKS> {
protected:
    CommentTest()
        : HubWindowTest(Connect::ByWindows)
    {}

    static constexpr int kAnn = 1;
    static constexpr int kBob = 2;
    static constexpr int kBridge = 1;
    static constexpr int kApollo = 2;
    static constexpr int kAcme = 2;
    static constexpr int kZeta = 3;
    static constexpr int kDesign = 1;
    static constexpr int kBuild = 2;

    static QString Hostile()
    {
        return QStringLiteral("It's fine; DROP TABLE tblProjectComment;--");
    }

    void SetUp() override
    {
        HubWindowTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        Exec(QStringLiteral("INSERT INTO tblFinEmployee (EmpID, EmpFullName, NTUserName, DeptID, "
                            "IsCurrent) VALUES (1, 'Ann Lee', 'ann', 1, 1), "
                            "(2, 'Bob O''Neil', 'bob', 1, 1), (3, 'Cleo Ng', 'cleo', 1, 1)"));
        SeedCompaniesAndProjects(
            [this](const QString& sql, const QVariantList& values) { Exec(sql, values); });
        Exec(QStringLiteral("INSERT INTO tblProjectTask (TaskID, Task, ProjID, State) VALUES "
                            "(1, 'Design', 1, 2), (2, 'Build', 1, 2), (3, 'Launch', 2, 2)"));
        AddComment(kBridge, kAnn, kAcme, QStringLiteral("Check drawings"), Day(2, 9, 30), {}, 1,
                   QStringLiteral("Jane Roe"), QStringLiteral("ToDo"), kDesign,
                   QStringLiteral("R-1"));
        AddComment(kBridge, kBob, kAcme, Hostile(), Day(3, 10, 0), Day(4), 2,
                   QStringLiteral("O'Brien"), QStringLiteral("Info"), -1, QString());
        AddComment(kApollo, kAnn, kZeta, QStringLiteral("Café crème ☕"), Day(3, 14, 0), {}, 3,
                   QStringLiteral("Jörg O'Hara"), QStringLiteral("Bad"), -1, QString());
        AddComment(kApollo, kBob, -1, QStringLiteral("Old item"), Day(1, 8, 0), Day(2), 1,
                   QString(), QStringLiteral("Done"), -1, QString());
        AddComment(kBridge, kAnn, -1, QStringLiteral("Launch prep"), Day(5, 11, 0), {}, 2,
                   QString(), QStringLiteral("ToDo"), kBuild, QString());
        Option("USER/DefUserName", QStringLiteral("Ann Lee"));
        UseShortFormats();
        StartHub(
            [this](CDummyDlg& hub) -> IHubWindow* { return new CCommentDlg(&hub, m_db, &hub); });
    }

    void AddComment(int projId, int empId, int companyId, const QString& text,
                    const CDateTime& entered, const CDateTime& actioned, int priority,
                    const QString& contact, const QString& type, int taskId,
                    const QString& reference)
    {
        const auto nullable = [](int id) { return id < 0 ? QVariant() : QVariant(id); };
        const auto date = [](const CDateTime& d) {
            return d.IsValid() ? QVariant::fromValue(d) : QVariant();
        };
        Exec(QStringLiteral("INSERT INTO tblProjectComment (ProjID, EmpID, CompanyID, "
                            "ProjectComment, CommentDate, ActionDate, Priority, ContactName, "
                            "CommentType, ObjectTypeID, ObjectID, FullDetails, Reference) VALUES "
                            "(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
             {projId, empId, nullable(companyId), text, date(entered), date(actioned), priority,
              contact, type, taskId < 0 ? QVariant() : QVariant(2), nullable(taskId),
              QStringLiteral("details of ") + text, reference});
    }
    // A column of a comment as stored ("NULL" for none).
    QString Stored(int commentId, const QString& column)
    {
        const CQueryResult rows = Query(
            QStringLiteral("SELECT %1 FROM tblProjectComment WHERE CommentID = ?").arg(column),
            {commentId});
        if (rows.rows != 1)
            return QStringLiteral("(no row)");
        const QVariant v = rows.Value(0, 0);
        return v.isNull() ? QStringLiteral("NULL") : v.toString();
    }
    int CommentCount()
    {
        return Query(QStringLiteral("SELECT COUNT(*) FROM tblProjectComment")).Value(0, 0).toInt();
    }

    void ShowEverything()
    {
        Choose(CCommentDlg::kIdUser, QStringLiteral("All"));
        Choose(CCommentDlg::kIdType, QStringLiteral("All"));
    }
    // The comment ids of the list, top to bottom.
    QList<int> Ids() const
    {
        QList<int> ids;
        for (int r = 0; r < m_window->CommentRowCount(); ++r)
            ids << m_window->RowAt(r)->CommentID;
        return ids;
    }
    int RowOf(int commentId) const { return static_cast<int>(Ids().indexOf(commentId)); }
};
