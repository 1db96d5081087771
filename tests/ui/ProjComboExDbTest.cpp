#include "data/DBClass.h"
#include "tests/support/TestDatabases.h"
#include "tests/support/TestEnv.h"
#include "ui/ProjComboEx.h"

namespace {

class ProjComboExDbTest : public KelvaneDbTest {
protected:
    void SetUp() override
    {
        KelvaneDbTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        m_db.Connection()->UseConnectionString(m_connectionString);
    }
    void TearDown() override
    {
        m_db.ReleaseConnection(true, true);
        KelvaneDbTest::TearDown();
    }

    CDBClass m_db;
};

} // namespace

TEST_P(ProjComboExDbTest, FillsTheProjectsTheUserMayBookWithTheirColours)
{
    Exec(QStringLiteral("INSERT INTO tblFinEmployee (EmpID, EmpFullName, NTUserName, DeptID, "
                        "IsCurrent) VALUES (1, 'Ann A', 'ann', 1, 1), (2, 'Bob B', 'bob', 1, 1)"));
    Exec(QStringLiteral(
        "INSERT INTO tblProject (ProjID, ProjName, UseTeamCheck, ProjColour, ProjLeader) VALUES "
        "(7, 'Open', 0, 255, 2), (8, 'Team only', 1, 65280, 2)"));
    CProjComboEx combo;
    ASSERT_TRUE(combo.FillProjects(m_db, QStringLiteral("Ann A")));
    ASSERT_EQ(combo.count(), 1);
    EXPECT_EQ(combo.itemText(0), QStringLiteral("Open"));
    EXPECT_EQ(combo.itemData(0).toInt(), 7);
    const QSize size = combo.iconSize();
    EXPECT_EQ(combo.itemIcon(0).pixmap(size).toImage().pixelColor(size.width() / 2, 4),
              QColor(Qt::red));

    ASSERT_TRUE(combo.FillProjects(m_db, QStringLiteral("Bob B")));
    EXPECT_EQ(combo.count(), 2);
    // Nobody's projects add nothing; the list stays.
    EXPECT_FALSE(combo.FillProjects(m_db, QStringLiteral("Nobody")));
    EXPECT_EQ(combo.count(), 2);
}

KELVANE_INSTANTIATE_BACKENDS(ProjComboExDbTest);
