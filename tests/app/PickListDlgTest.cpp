#include "app/PickListDlg.h"
#include "data/DBClass.h"
#include "platform/MessageBox.h"
#include "platform/ProfileStore.h"
#include "tests/support/TestDatabases.h"
#include "ui/ResourceIds.h"

#include <QCheckBox>
#include <QListWidget>
#include <QTest>

namespace {

// The window that opens the lists: it hears the "Show All" notices.
class COwnerDlg : public CDialogBase, public IPickListOwner {
public:
    COwnerDlg()
        : CDialogBase(147)
    {}
    CPickListContext* PickListContext() override { return &context; }
    bool OnCommand(int id) override
    {
        notices << id;
        return CDialogBase::OnCommand(id);
    }
    CPickListContext context;
    QList<int> notices;
};

class PickListTest : public KelvaneDbTest {
protected:
    void SetUp() override
    {
        KelvaneDbTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        Exec(QStringLiteral("INSERT INTO tblFinEmployee (EmpID, EmpFullName, NTUserName, DeptID, "
                            "IsCurrent) VALUES (1, 'Ann Lee', 'ann', 1, 1), "
                            "(2, 'Bob Ray', 'bob', 1, 1)"));
        Exec(QStringLiteral(
                 "INSERT INTO tblProject (ProjID, ProjName, UseTeamCheck, ProjLeader, IsTemplate) "
                 "VALUES "
                 "(1, 'Bridge', ?, 0, ?), (2, 'apollo', ?, 2, ?), (3, 'Template', ?, 0, ?)"),
             {false, false, true, false, false, true});
        Exec(QStringLiteral("INSERT INTO tblProjectTask (TaskID, Task, ProjID, State, Comment) "
                            "VALUES (1, 'Design', 1, 2, 'first draft  '), (2, 'Build', 1, 2, ''), "
                            "(3, 'Old', 1, 4, ''), (4, 'Launch', 2, 2, '')"));
        Exec(QStringLiteral("INSERT INTO tblProjectOrderBook (OrderID, OrderCode, ProjID, IsDone) "
                            "VALUES (1, 'B-100', 1, ?), (2, 'B-050', 1, ?), (3, 'A-1', 2, ?)"),
             {false, true, false});
        Exec(QStringLiteral("INSERT INTO tblAddrCompany (CompanyName, IsCurrent) VALUES "
                            "('Acme', ?)"),
             {true});
        m_db.Connection()->UseConnectionString(m_connectionString);
        ASSERT_TRUE(m_db.OpenConnection());
        CProfileStore().setValue(QStringLiteral("USER/DefUserName"), QStringLiteral("Ann Lee"));
    }
    void TearDown() override
    {
        m_db.ReleaseConnection(true, true);
        KelvaneDbTest::TearDown();
    }

    static QStringList Rows(const CPickListDlg& dlg)
    {
        QStringList rows;
        auto* list = dlg.Control<QListWidget>(1028);
        for (int i = 0; i < list->count(); ++i)
            rows << list->item(i)->text();
        return rows;
    }

    CDBClass m_db;
};

TEST_P(PickListTest, ProjectsOfTheUserOrAllOfThem)
{
    COwnerDlg owner;
    CPickListDlg dlg(CPickListDlg::kProject, &owner, nullptr, true, false, &m_db);
    dlg.SetPreselect(QStringLiteral("BRIDGE"));
    dlg.show();
    // Ann sees the open projects, not the team project of Bob.
    EXPECT_EQ(Rows(dlg), QStringList({"Bridge", "Template"}));
    EXPECT_EQ(dlg.PickedId(), 1);

    QTest::mouseClick(dlg.Control<QCheckBox>(1217), Qt::LeftButton);
    // All projects come from the project table, without templates.
    EXPECT_EQ(Rows(dlg), QStringList({"apollo", "Bridge"}));
    EXPECT_EQ(owner.notices, QList<int>({1217}));
    // Showing all loads the task and order caches for the project choice.
    EXPECT_FALSE(m_db.Tasks().isEmpty());

    CPickListDlg other(CPickListDlg::kProject, &owner, nullptr, true, false, &m_db);
    other.SetUserName(QStringLiteral("Bob Ray"));
    other.SetAllEntry(true);
    other.show();
    EXPECT_EQ(Rows(other), QStringList({"All", "apollo", "Bridge", "Template"}));

    // Without a context every project is offered, after a blank row.
    CPickListDlg plain(CPickListDlg::kProject, nullptr, nullptr, false, false, &m_db);
    plain.show();
    EXPECT_EQ(Rows(plain), QStringList({" ", "apollo", "Bridge"}));
}

TEST_P(PickListTest, TasksOfTheProjectWithTheirNotes)
{
    COwnerDlg owner;
    owner.context.projectId = 1;
    CPickListDlg dlg(CPickListDlg::kTask, &owner, nullptr, true, false, &m_db);
    dlg.SetPreselect(QStringLiteral("build \t[x]"));
    dlg.show();
    EXPECT_EQ(Rows(dlg), QStringList({"Design \t[first draft]", "Build"}));
    EXPECT_EQ(dlg.PickedId(), 2);

    QTest::mouseClick(dlg.Control<QCheckBox>(1217), Qt::LeftButton);
    EXPECT_TRUE(owner.context.showAllTasks);
    EXPECT_EQ(Rows(dlg).size(), 3);
    EXPECT_EQ(owner.notices, QList<int>({1080}));

    // A double click picks the name alone.
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    auto* list = dlg.Control<QListWidget>(1028);
    const QRect first = list->visualItemRect(list->item(0));
    // The first click of a double click comes as a click of its own.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, first.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, first.center());
    EXPECT_EQ(dlg.EndCode(), IDOK);
    EXPECT_EQ(dlg.PickedText(), QStringLiteral("Design"));
    EXPECT_EQ(dlg.PickedId(), 1);
}

TEST_P(PickListTest, ATaskWithANoteIsPreselectedByItsNameAndEnterPicksIt)
{
    Exec(QStringLiteral("INSERT INTO tblProjectTask (TaskID, Task, ProjID, State, Comment) "
                        "VALUES (5, 'Test', 1, 2, 'rig')"));
    COwnerDlg owner;
    owner.context.projectId = 1;
    // Save Times hands over the task name as the block holds it.
    for (const QString& preselect : {QStringLiteral("Test"), QStringLiteral("test \t[old note]")}) {
        CPickListDlg dlg(CPickListDlg::kTask, &owner, nullptr, true, false, &m_db);
        dlg.SetPreselect(preselect);
        dlg.show();
        ASSERT_EQ(Rows(dlg).last(), QStringLiteral("Test \t[rig]"));
        EXPECT_EQ(dlg.PickedId(), 5) << preselect.toStdString();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
        QTest::keyClick(dlg.Control<QListWidget>(1028), Qt::Key_Return);
        EXPECT_EQ(dlg.EndCode(), IDOK);
        EXPECT_EQ(dlg.PickedText(), QStringLiteral("Test"));
        EXPECT_EQ(dlg.PickedId(), 5);
    }
}

TEST_P(PickListTest, OrdersNotDoneUnlessAllAreAsked)
{
    CPickListContext context;
    context.projectId = 1;
    CPickListDlg dlg(CPickListDlg::kOrder, nullptr, &context, true, false, &m_db);
    dlg.show();
    EXPECT_EQ(Rows(dlg), QStringList({"B-100"}));
    QTest::mouseClick(dlg.Control<QCheckBox>(1217), Qt::LeftButton);
    EXPECT_TRUE(context.showAllOrders);
    EXPECT_EQ(Rows(dlg).size(), 2);
}

TEST_P(PickListTest, CompaniesAndWorkTypes)
{
    CPickListDlg companies(CPickListDlg::kCompany, nullptr, nullptr, false, false, &m_db);
    companies.SetAllEntry(true);
    companies.show();
    EXPECT_EQ(Rows(companies), QStringList({"All", " ", "Acme", "Our Company"}));
    EXPECT_FALSE(companies.Control<QCheckBox>(1217)->isEnabled());

    CPickListDlg types(CPickListDlg::kWorkType, nullptr, nullptr, false, false, &m_db);
    types.SetPreselect(QStringLiteral("meeting"));
    types.show();
    EXPECT_EQ(Rows(types).size(), 6);
    EXPECT_EQ(types.PickedText(), QStringLiteral("Meeting"));
    EXPECT_TRUE(types.Control<QCheckBox>(1217)->isHidden());
}

TEST_P(PickListTest, EachKindKeepsItsOwnPlace)
{
    {
        CPickListDlg dlg(CPickListDlg::kOrder, nullptr, nullptr, false, false, &m_db);
        dlg.show();
        dlg.resize(300, 420);
        dlg.OnCommand(IDCANCEL);
    }
    const QString stored =
        CProfileStore().value(QStringLiteral("Window Settings/OrderSelV")).toString();
    EXPECT_FALSE(stored.isEmpty());
    EXPECT_TRUE(CProfileStore().value(QStringLiteral("Window Settings/TaskSelV")).isNull());
    CPickListDlg again(CPickListDlg::kOrder, nullptr, nullptr, false, false, &m_db);
    again.show();
    EXPECT_EQ(again.height(), 420);
}

KELVANE_INSTANTIATE_BACKENDS(PickListTest);

} // namespace
