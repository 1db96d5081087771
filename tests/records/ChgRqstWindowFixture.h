#pragma once

#include "records/ChgRqstColumns.h"
#include "records/ChgRqstDlg.h"
#include "tests/records/HubWindowFixture.h"
#include "tests/support/ChgRqstFixture.h"
#include "tests/support/ScriptedModals.h"
#include "ui/ResourceIds.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QMenu>

// The change-request database in the user's short formats of the windows.
class ChgRqstUiTest : public ChgRqstTest {
protected:
    void SetUp() override
    {
        ChgRqstTest::SetUp();
        UseShortFormats();
    }
};

// The change-request database of ChgRqstTest with five requests, and the
// hub that opens the change-request window. By date:
//   4  R-9            Bridge  Bob   Acme     "Old item"      completed 04/03  no team
//   1  R-1            Bridge  Ann   Acme     "Check drawings" high  team Bob, Cleo
//   2  R-1            Bridge  Ann   Acme     "Order steel"    high  team Bob, Cleo
//   3  O'Brien's Ref  Apollo  Bob   Zeta's   "Café crème ☕"   low   team Ann
//   5  R-2            Zephyr  Cleo  none     "Zephyr thing"         no team
class ChgRqstWindowTest : public HubWindowTest<ChgRqstUiTest, CChgRqstDlg, ID_CHANGE_REQUESTS> {
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
        StartHub(
            [this](CDummyDlg& hub) -> IHubWindow* { return new CChgRqstDlg(&hub, m_db, &hub); });
    }

    // The id of the n-th request added (1 to 5).
    int Id(int n) const { return m_ids.value(n - 1, -1); }

    // Every request, completed ones too, of every authority and member.
    void ShowEverything()
    {
        Choose(CChgRqstDlg::kIdTeamMember, QStringLiteral("Any"));
        Choose(CChgRqstDlg::kIdAuthority, QStringLiteral("Any"));
        if (m_window->Control<QCheckBox>(CChgRqstDlg::kIdOpenOnly)->isChecked())
            m_window->Control<QCheckBox>(CChgRqstDlg::kIdOpenOnly)->click();
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

    QList<int> m_ids;
};
