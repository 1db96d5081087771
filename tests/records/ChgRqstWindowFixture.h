#pragma once

#include "app/DummyDlg.h"
#include "app/HubWindow.h"
#include "records/ChgRqstColumns.h"
#include "records/ChgRqstDlg.h"
#include "tests/records/ListWindowProbe.h"
#include "tests/support/ChgRqstFixture.h"
#include "tests/support/ScriptedModals.h"
#include "tests/support/TestEnv.h"
#include "ui/MyListCtrl.h"
#include "ui/MyPopMenu.h"
#include "ui/MyTreeCtrl.h"
#include "ui/ResourceIds.h"
#include "ui/Utilities.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QHeaderView>
#include <QMenu>
#include <QTreeWidgetItem>

#include <memory>

// The change-request database in the user's short formats of the windows.
class ChgRqstUiTest : public ChgRqstTest {
protected:
    void SetUp() override
    {
        ChgRqstTest::SetUp();
        CRegionalFormats formats;
        formats.dateFormat = QStringLiteral("%d/%m/%y");
        formats.timeFormat = QStringLiteral("%H:%M");
        SetRegionalFormats(formats);
    }
};

// The change-request database of ChgRqstTest with five requests, and the
// hub that opens the change-request window. By date:
//   4  R-9            Bridge  Bob   Acme     "Old item"      completed 04/03  no team
//   1  R-1            Bridge  Ann   Acme     "Check drawings" high  team Bob, Cleo
//   2  R-1            Bridge  Ann   Acme     "Order steel"    high  team Bob, Cleo
//   3  O'Brien's Ref  Apollo  Bob   Zeta's   "Café crème ☕"   low   team Ann
//   5  R-2            Zephyr  Cleo  none     "Zephyr thing"         no team
class ChgRqstWindowTest : public ChgRqstUiTest {
protected:
    void SetUp() override
    {
        ChgRqstUiTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        CRequest r;
        r.reference = QStringLiteral("R-1");
        r.item = QStringLiteral("Check drawings");
        r.priority = 1;
        r.team = {kBob, kCleo};
        r.details = QStringLiteral("Details of the drawings");
        m_ids << AddRequest(r);
        r.item = QStringLiteral("Order steel");
        r.details.clear();
        m_ids << AddRequest(r);
        CRequest cafe;
        cafe.projId = kApollo;
        cafe.empId = kBob;
        cafe.companyId = kZeta;
        cafe.contact = QStringLiteral("Jörg O'Hara");
        cafe.reference = QStringLiteral("O'Brien's Ref");
        cafe.item = QStringLiteral("Café crème ☕");
        cafe.created = Day(3, 14, 0);
        cafe.priority = 3;
        cafe.team = {kAnn};
        m_ids << AddRequest(cafe);
        CRequest old;
        old.empId = kBob;
        old.reference = QStringLiteral("R-9");
        old.item = QStringLiteral("Old item");
        old.created = Day(1, 8, 0);
        old.completed = Day(4);
        old.status = 7;
        m_ids << AddRequest(old);
        CRequest zephyr;
        zephyr.projId = kZephyr;
        zephyr.empId = kCleo;
        zephyr.companyId = -1;
        zephyr.contact.clear();
        zephyr.reference = QStringLiteral("R-2");
        zephyr.item = QStringLiteral("Zephyr thing");
        zephyr.created = Day(5, 11, 0);
        m_ids << AddRequest(zephyr);
        RegisterHubWindow(ID_CHANGE_REQUESTS, [this](CDummyDlg& hub) -> IHubWindow* {
            return new CChgRqstDlg(&hub, m_db, &hub);
        });
        m_hub = std::make_unique<CDummyDlg>(&m_db);
    }
    void TearDown() override
    {
        m_hub.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        UnregisterHubWindow(ID_CHANGE_REQUESTS);
        ChgRqstUiTest::TearDown();
    }

    // The id of the n-th request added (1 to 5).
    int Id(int n) const { return m_ids.value(n - 1, -1); }

    // ---- The window ----------------------------------------------------------------------
    void Open()
    {
        m_hub->OnCommand(ID_CHANGE_REQUESTS);
        m_window = dynamic_cast<CChgRqstDlg*>(m_hub->Window(ID_CHANGE_REQUESTS));
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
    // Every request, completed ones too, of every authority and member.
    void ShowEverything()
    {
        Choose(CChgRqstDlg::kIdTeamMember, QStringLiteral("Any"));
        Choose(CChgRqstDlg::kIdAuthority, QStringLiteral("Any"));
        if (m_window->Control<QCheckBox>(CChgRqstDlg::kIdOpenOnly)->isChecked())
            m_window->Control<QCheckBox>(CChgRqstDlg::kIdOpenOnly)->click();
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
    // The request ids of the list, top to bottom.
    QList<int> Ids() const
    {
        QList<int> ids;
        for (int r = 0; r < m_window->ChgRqstRowCount(); ++r)
            ids << m_window->RowAt(r)->ChgReqID;
        return ids;
    }
    QList<int> IdsOf(std::initializer_list<int> numbers) const
    {
        QList<int> ids;
        for (int n : numbers)
            ids << Id(n);
        return ids;
    }
    int RowOf(int chgReqId) const { return static_cast<int>(Ids().indexOf(chgReqId)); }
    QString Cell(int row, int kind) const
    {
        return m_window->List()->ItemText(row, m_window->ColumnOfKind(kind));
    }
    void SelectRow(int row) { SelectListRow(m_window->List(), row); }
    // Opens the list's context menu over a cell; the texts of its entries.
    QStringList ListMenu(int row, int kind)
    {
        return OpenListMenu(*m_window, row, m_window->ColumnOfKind(kind));
    }
    void TriggerMenu(int command)
    {
        QAction* action = MenuCommand(m_window->PopupMenu(), command);
        ASSERT_NE(action, nullptr) << command;
        action->trigger();
    }
    static QStringList Messages() { return CRecordingMessages::Current().Texts(); }

    std::unique_ptr<CDummyDlg> m_hub;
    CChgRqstDlg* m_window = nullptr;
    QList<int> m_ids;
};
