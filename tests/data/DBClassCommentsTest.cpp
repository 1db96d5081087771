#include "data/DBClass.h"
#include "tests/support/FacadeFixture.h"
#include "tests/support/TestEnv.h"

// The facade's services for the comment windows, on seeded data.
class FacadeCommentsTest : public FacadeDbTest {};

TEST_P(FacadeCommentsTest, TheOwnCompanyWithItsId)
{
    int id = -5;
    QString name;
    ASSERT_TRUE(m_db.GetSetupCompany(id, name));
    EXPECT_EQ(id, 1);
    EXPECT_EQ(name, QStringLiteral("Our Company"));

    // Set up without an address-book entry: no id.
    Exec(QStringLiteral("UPDATE tlkpSetupCompany SET CompanyID = NULL"));
    ASSERT_TRUE(m_db.GetSetupCompany(id, name));
    EXPECT_EQ(id, -1);

    Exec(QStringLiteral("DELETE FROM tlkpSetupCompany"));
    id = 7;
    EXPECT_FALSE(m_db.GetSetupCompany(id, name));
    EXPECT_EQ(id, 7);
}

TEST_P(FacadeCommentsTest, AProjectsCompanyIsReadAfresh)
{
    Exec(QStringLiteral("INSERT INTO tblAddrCompany (CompanyName) VALUES ('O''Hara & Söhne')"));
    Exec(QStringLiteral("INSERT INTO tblProject (ProjID, ProjName, CompanyID) VALUES "
                        "(1, 'Bridge', 2), (2, 'Apollo', NULL)"));
    QString name;
    int id = -5;
    ASSERT_TRUE(m_db.GetProjectInfo(1, name, id));
    EXPECT_EQ(name, QStringLiteral("O'Hara & Söhne"));
    EXPECT_EQ(id, 2);
    ASSERT_TRUE(m_db.GetProjectInfo(2, name, id));
    EXPECT_EQ(id, -1);
    EXPECT_TRUE(name.isEmpty());

    // The company deleted meanwhile: the project has none.
    Exec(QStringLiteral("DELETE FROM tblAddrCompany WHERE CompanyID = 2"));
    ASSERT_TRUE(m_db.GetProjectInfo(1, name, id));
    EXPECT_EQ(id, -1);
    EXPECT_TRUE(name.isEmpty());
    EXPECT_FALSE(m_db.GetProjectInfo(99, name, id));
}

KELVANE_INSTANTIATE_BACKENDS(FacadeCommentsTest);
