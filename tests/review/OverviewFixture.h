#pragma once

#include "app/ControlRegistration.h"
#include "data/DBClass.h"
#include "platform/ProfileStore.h"
#include "review/EmpOverviewDlg.h"
#include "review/OverviewXmlSource.h"
#include "tests/support/PdfPrintHook.h"
#include "tests/support/TestDatabases.h"
#include "tests/support/TestEnv.h"
#include "tests/support/UserInput.h"
#include "treelist/SarvexIds.h"
#include "ui/Sarvex.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QMap>
#include <QMenu>
#include <QPrinter>
#include <QTest>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>
#include <QTreeWidget>

#include <functional>

// Answers the overview's procedures with documents set by the test, and
// keeps the calls in order ("name a,b").
class CFakeXmlSource : public IOverviewXmlSource {
public:
    bool Run(const QString& procedure, const QList<int>& args, QString& xml, QString& why) override
    {
        QStringList values;
        for (int arg : args)
            values << QString::number(arg);
        const QString call = procedure + QLatin1Char(' ') + values.join(QLatin1Char(','));
        calls << call;
        // A document for the very call wins over one for the procedure.
        const auto it = docs.constFind(docs.contains(call) ? call : procedure);
        if (it == docs.constEnd()) {
            why = QStringLiteral("function %1 does not exist").arg(procedure);
            return false;
        }
        xml = *it;
        return true;
    }

    QMap<QString, QString> docs;
    QStringList calls;
};

// What a person sees of the overview: its control's tree, list and browser.
class COverviewWindow {
public:
    explicit COverviewWindow(CEmpOverviewDlg* dialog)
        : m_dialog(dialog)
    {}

    CEmpOverviewDlg* operator->() const { return m_dialog; }
    CEmpOverviewDlg* Dialog() const { return m_dialog; }
    CSarvex& Control() const { return *m_dialog->Control(); }

    template <typename W = QWidget>
    W* Pane(int id) const
    {
        QWidget* control = Control().ControlWidget();
        return control ? control->findChild<W*>(QStringLiteral("id%1").arg(id)) : nullptr;
    }
    QTreeWidget* Tree() const { return Pane<QTreeWidget>(203); }
    QTreeWidget* List() const { return Pane<QTreeWidget>(202); }
    QTextBrowser* Browser() const
    {
        auto* browser = Pane<QTextBrowser>(208);
        return browser && !browser->isHidden() ? browser : nullptr;
    }
    QString PageText() const { return Browser() ? Browser()->toPlainText() : QString(); }

    static void Pump()
    {
        for (int i = 0; i < 3; ++i) {
            QCoreApplication::processEvents();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
    }

    QTreeWidgetItem* TreeItem(const QString& text, int nth = 0) const
    {
        const auto found = Tree()->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
        return nth < found.size() ? found.at(nth) : nullptr;
    }
    void ClickTree(const QString& text, int nth = 0)
    {
        QTreeWidgetItem* item = TreeItem(text, nth);
        ASSERT_NE(item, nullptr) << text.toStdString();
        Tree()->scrollToItem(item);
        QTest::mouseClick(Tree()->viewport(), Qt::LeftButton, Qt::NoModifier,
                          Tree()->visualItemRect(item).center());
        Pump();
    }
    // The row of the list whose first cell is text.
    void ClickListRow(const QString& text)
    {
        const auto found = List()->findItems(text, Qt::MatchExactly, 0);
        ASSERT_FALSE(found.isEmpty()) << text.toStdString();
        QTest::mouseClick(List()->viewport(), Qt::LeftButton, Qt::NoModifier,
                          List()->visualItemRect(found.first()).center());
        Pump();
    }
    // The user moves onto a link of the page and clicks it.
    void ClickLink(const QString& text) { ::ClickLink(Browser(), text); }
    // Right-clicks a tree node and hands its popup to `inspect`, which may
    // trigger an action; the popup closes afterwards.
    bool TreeMenu(const QString& text, const std::function<void(QMenu&)>& inspect)
    {
        QTreeWidgetItem* item = TreeItem(text);
        if (!item)
            return false;
        Tree()->scrollToItem(item);
        const QPoint at = Tree()->visualItemRect(item).center();
        return InspectPopup(
            [&] {
                QTest::mousePress(Tree()->viewport(), Qt::RightButton, Qt::NoModifier, at);
                QTest::mouseRelease(Tree()->viewport(), Qt::RightButton, Qt::NoModifier, at);
                Pump();
            },
            inspect);
    }
    static QAction* Action(const QMenu& menu, const QString& text)
    {
        for (QAction* action : menu.actions())
            if (action->text() == text)
                return action;
        return nullptr;
    }

    // The tree's texts under a node, in order.
    QStringList Children(int key) const
    {
        QStringList texts;
        for (int pos = 0; pos < Control().NumberChildren(key); ++pos)
            texts << Control().GetChildTreeText(key, pos);
        return texts;
    }

private:
    CEmpOverviewDlg* m_dialog;
};

inline QString ReadText(const QString& fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// Rows for the server's overview procedures. Ann O'Lee (1, signing on as
// `login`) leads Bridge (1), is on Apollo's team (3) and booked on Café
// 'Zeta' (2); Bøb Smith (2) leads the others; Cleo (3) has nothing.
//   time sheets: Ann 02/05/2024 09:00-10:30 Bridge/Design, 03/06/2024
//                22:00-23:59 Café; Bob 03/06/2023 Bridge/Build
//   change requests: 1 "Widen, the 'deck'" by Ann, In Progress, high, with
//                an open action of Bob's; 2 "Other" by Bob, Completed,
//                medium, Ann on its team; 3 by Bob alone
//   comments: Ann 04/05/2024 "Check ☕" and one undated; Bob one
inline void SeedOverviewRows(const std::function<void(const QString&, const QVariantList&)>& exec,
                             const QString& login)
{
    exec(QStringLiteral("INSERT INTO tblFinEmployee (EmpID, EmpFullName, NTUserName, DeptID, "
                        "IsCurrent, SecLevel) VALUES (1, 'Ann O''Lee', ?, 1, 1, 2), "
                        "(2, 'Bøb Smith', 'bob', 1, 1, 0), (3, 'Cleo', 'cleo', 1, 1, 0)"),
         {login});
    exec(QStringLiteral(
             "INSERT INTO tblProject (ProjID, ProjName, ProjLeader, ProjState, CompanyID, "
             "ProjStartDate, UseTeamCheck) VALUES "
             "(1, 'Bridge', 1, 2, 1, '2024-01-02', 0), "
             "(2, 'Café ''Zeta''', 2, 4, NULL, NULL, 0), (3, 'Apollo', 2, 1, NULL, NULL, 1), "
             "(4, 'Zephyr', 2, 2, NULL, NULL, 1)"),
         {});
    exec(QStringLiteral("INSERT INTO tblProjectTeam (ProjID, EmpID) VALUES (3, 1)"), {});
    exec(QStringLiteral("INSERT INTO tblProjectOrderBook (OrderID, OrderCode, ProjID) VALUES "
                        "(1, 'B-1', 1)"),
         {});
    exec(QStringLiteral(
             "INSERT INTO tblProjectTask (TaskID, Task, ProjID, OrderID, State, EstHours, "
             "ActHours, AllocatedTo, TaskOrder) VALUES "
             "(1, 'Design', 1, 1, 2, 10, 3, 1, '1'), (2, 'Build', 1, 1, 1, 20, 0, 2, '2')"),
         {});
    exec(QStringLiteral(
             "INSERT INTO tblTimeSheet (EmpID, ProjID, OrderID, WorkDate, StartTime, StopTime, "
             "HoursWorked, TaskID, Comment, TimeID) VALUES "
             "(1, 1, 1, '2024-05-02 00:00:00', '2024-05-02 09:00:00', '2024-05-02 10:30:00', 1.5, "
             "1, 'It''s <done> & ok', 1), "
             "(1, 2, NULL, '2024-06-03 00:00:00', '2024-06-03 22:00:00', '2024-06-03 23:59:00', 2, "
             "NULL, NULL, 1), "
             "(2, 1, 1, '2023-06-03 00:00:00', '2023-06-03 08:00:00', '2023-06-03 09:00:00', 1, 2, "
             "'x', 1)"),
         {});
    exec(QStringLiteral("INSERT INTO tblChgReq (ChgReqID, ProjID, EmpID, Item, StatusID, Priority, "
                        "DateCreated, DateCompleted) VALUES "
                        "(1, 1, 1, 'Widen, the ''deck''', 3, 1, '2024-03-01 00:00:00', NULL), "
                        "(2, 1, 2, 'Other', 7, 2, '2024-04-01 00:00:00', '2024-05-01 00:00:00'), "
                        "(3, 4, 2, 'Not hers', 1, 3, '2024-04-02 00:00:00', NULL)"),
         {});
    exec(QStringLiteral("INSERT INTO tblChgReqTeam (ChgReqID, EmpID, Comment) VALUES "
                        "(2, 1, 'reviewer')"),
         {});
    exec(QStringLiteral("INSERT INTO tblChgReqAction (ChgReqID, EmpID, DateAssigned, Comment, "
                        "StatusID, DateComplete) VALUES "
                        "(1, 2, '2024-03-02 00:00:00', 'look', 8, '1899-12-30 00:00:00')"),
         {});
    exec(
        QStringLiteral("INSERT INTO tblProjectComment (ProjID, EmpID, ProjectComment, CommentDate, "
                       "Priority, ContactName, CommentType) VALUES "
                       "(1, 1, 'Check ☕', '2024-05-04 10:00:00', 1, 'Jane', 'ToDo'), "
                       "(1, 1, 'undated', NULL, 2, '', 'Info'), "
                       "(4, 2, 'Bob''s', '2024-05-05 10:00:00', 3, '', 'Info')"),
        {});
}
