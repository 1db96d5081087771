#pragma once

#include "app/DummyDlg.h"
#include "app/HubWindow.h"
#include "data/DBClass.h"
#include "platform/ProfileStore.h"
#include "records/CommentColumns.h"
#include "records/CommentDlg.h"
#include "tests/support/ScriptedModals.h"
#include "tests/support/TestDatabases.h"
#include "tests/support/TestEnv.h"
#include "ui/MyListCtrl.h"
#include "ui/MyPopMenu.h"
#include "ui/MyTreeCtrl.h"
#include "ui/ResourceIds.h"
#include "ui/Utilities.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QHeaderView>
#include <QMenu>
#include <QTreeWidgetItem>

#include <memory>

// A database of comments: Ann Lee (1), Bob O'Neil (2) and Cleo Ng (3);
// Acme (2) and Zeta's Café (3) beside the own company (1); Bridge (Acme;
// tasks Design and Build) and Apollo (Zeta's Café; task Launch), open to
// everyone, and Zephyr, for its team only. The five comments, by date:
//   4  Apollo  Bob  no company  "Old item"        Done  01/03 08:00  actioned 02/03
//   1  Bridge  Ann  Acme        "Check drawings"  ToDo  02/03 09:30  task Design, high
//   2  Bridge  Bob  Acme        hostile text      Info  03/03 10:00  actioned 04/03
//   3  Apollo  Ann  Zeta's      "Café crème ☕"   Bad   03/03 14:00  low
//   5  Bridge  Ann  no company  "Launch prep"     ToDo  05/03 11:00  task Build
class CommentTest : public KelvaneDbTest {
protected:
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
        KelvaneDbTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        Exec(QStringLiteral("INSERT INTO tblFinEmployee (EmpID, EmpFullName, NTUserName, DeptID, "
                            "IsCurrent) VALUES (1, 'Ann Lee', 'ann', 1, 1), "
                            "(2, 'Bob O''Neil', 'bob', 1, 1), (3, 'Cleo Ng', 'cleo', 1, 1)"));
        Exec(QStringLiteral("INSERT INTO tblAddrCompany (CompanyName, IsCurrent) VALUES "
                            "('Acme', 1), ('Zeta''s Café', 1)"));
        Exec(QStringLiteral("INSERT INTO tblAddrPerson (FirstName, LastName, FullName, CompanyID) "
                            "VALUES ('Jane', 'Roe', 'Jane Roe', 2), ('Jörg', 'O''Hara', '', 3)"));
        Exec(QStringLiteral("INSERT INTO tblProject (ProjID, ProjName, CompanyID, UseTeamCheck) "
                            "VALUES (1, 'Bridge', 2, ?), (2, 'Apollo', 3, ?), (3, 'Zephyr', NULL, "
                            "?)"),
             {false, false, true});
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
        CRegionalFormats formats;
        formats.dateFormat = QStringLiteral("%d/%m/%y");
        formats.timeFormat = QStringLiteral("%H:%M");
        SetRegionalFormats(formats);
        m_db.Connection()->UseConnectionString(m_connectionString);
        RegisterHubWindow(ID_TASKS, [this](CDummyDlg& hub) -> IHubWindow* {
            return new CCommentDlg(&hub, m_db, &hub);
        });
        m_hub = std::make_unique<CDummyDlg>(&m_db);
    }
    void TearDown() override
    {
        m_hub.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        UnregisterHubWindow(ID_TASKS);
        for (const QString& sql : std::as_const(m_cleanup))
            Exec(sql);
        m_db.ReleaseConnection(true, true);
        KelvaneDbTest::TearDown();
    }

    static CDateTime Day(int day, int hour = 0, int minute = 0)
    {
        return CDateTime(2026, 3, day, hour, minute);
    }
    static void Option(const char* key, const QVariant& value)
    {
        CProfileStore profile;
        profile.setValue(QLatin1String(key), value);
        profile.sync();
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
    // Makes the database refuse writes of a kind to the comment table until
    // the test ends. kind: INSERT, UPDATE or DELETE.
    void RefuseWrites(const QString& kind)
    {
        const QString trigger = QStringLiteral("refuse_%1").arg(kind.toLower());
        if (IsPostgres()) {
            Exec(QStringLiteral("CREATE OR REPLACE FUNCTION refuse_write() RETURNS trigger "
                                "LANGUAGE plpgsql AS $$ BEGIN RAISE EXCEPTION 'refused by the "
                                "test'; END $$"));
            Exec(QStringLiteral("CREATE TRIGGER %1 BEFORE %2 ON tblProjectComment FOR EACH ROW "
                                "EXECUTE FUNCTION refuse_write()")
                     .arg(trigger, kind));
            m_cleanup
                << QStringLiteral("DROP TRIGGER IF EXISTS %1 ON tblProjectComment").arg(trigger);
        } else {
            Exec(QStringLiteral("CREATE TRIGGER %1 BEFORE %2 ON tblProjectComment BEGIN SELECT "
                                "RAISE(ABORT, 'refused by the test'); END")
                     .arg(trigger, kind));
            m_cleanup << QStringLiteral("DROP TRIGGER IF EXISTS %1").arg(trigger);
        }
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

    // ---- The window ----------------------------------------------------------------------------
    void Open()
    {
        m_hub->OnCommand(ID_TASKS);
        m_window = dynamic_cast<CCommentDlg*>(m_hub->Window(ID_TASKS));
        ASSERT_NE(m_window, nullptr) << Messages().join(QLatin1Char('|')).toStdString();
        m_window->resize(1100, 500);
        QCoreApplication::processEvents();
    }
    void Close()
    {
        m_window->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        m_window = nullptr;
    }
    QComboBox* Combo(int id) const { return m_window->Control<QComboBox>(id); }
    // Chooses an entry of a combo as the user does.
    void Choose(int id, const QString& text)
    {
        QComboBox* combo = Combo(id);
        const int index = combo->findText(text);
        ASSERT_GE(index, 0) << text.toStdString();
        combo->setCurrentIndex(index);
        m_window->OnCommand(id);
    }
    void ShowEverything()
    {
        Choose(CCommentDlg::kIdUser, QStringLiteral("All"));
        Choose(CCommentDlg::kIdType, QStringLiteral("All"));
    }
    void SelectNode(const QString& text)
    {
        QTreeWidgetItem* item = m_window->Tree()->FindItemByText(text);
        ASSERT_NE(item, nullptr) << text.toStdString();
        m_window->Tree()->setCurrentItem(item);
    }
    QStringList Nodes() const
    {
        QStringList names;
        QTreeWidgetItem* root = m_window->Tree()->topLevelItem(0);
        for (int i = 0; root && i < root->childCount(); ++i)
            names << root->child(i)->text(0);
        return names;
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
    QString Cell(int row, int code) const
    {
        return m_window->List()->ItemText(row, m_window->ColumnOfCode(code));
    }
    void SelectRow(int row)
    {
        m_window->List()->clearSelection();
        m_window->List()->SelectItem(row);
    }
    // A point of the list over a row and a column, in the list's coordinates.
    QPoint PointAt(int row, int code) const
    {
        CMyListCtrl* list = m_window->List();
        const int column = m_window->ColumnOfCode(code);
        const QRect cell = list->visualItemRect(list->topLevelItem(row));
        const QPoint inView(list->header()->sectionViewportPosition(column) + 4, cell.center().y());
        return list->viewport()->mapTo(list, inView);
    }
    // Opens the list's context menu over a cell; its commands by object name.
    QStringList ListMenu(int row, int code)
    {
        SelectRow(row);
        const QPoint at = PointAt(row, code);
        m_window->ShowListMenu(at.x(), at.y(), true);
        QStringList items;
        for (QAction* action : m_window->PopupMenu()->actions())
            if (!action->isSeparator())
                items << action->text();
        m_window->PopupMenu()->hide();
        return items;
    }
    void TriggerMenu(int command)
    {
        QAction* action =
            m_window->PopupMenu()->findChild<QAction*>(QStringLiteral("cmd%1").arg(command));
        ASSERT_NE(action, nullptr) << command;
        action->trigger();
    }
    static QStringList Messages() { return CRecordingMessages::Current().Texts(); }

    CDBClass m_db;
    std::unique_ptr<CDummyDlg> m_hub;
    CCommentDlg* m_window = nullptr;
    QStringList m_cleanup;
};
