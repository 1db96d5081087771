#include "records/BusTypeManage.h"
#include "tests/support/ContactsFixture.h"
#include "tests/support/TestEnv.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace {

class BusTypeManageTest : public ContactsTest {
protected:
    QStringList Names() const
    {
        QStringList names;
        for (int row = 0; row < m_list->count(); ++row)
            names << m_list->item(row)->text();
        return names;
    }
    void Open(CBusTypeManage& dialog)
    {
        ASSERT_TRUE(dialog.Create());
        m_list = dialog.Control<QListWidget>(CBusTypeManage::kIdList);
        m_name = dialog.Control<QLineEdit>(CBusTypeManage::kIdName);
        ASSERT_NE(m_list, nullptr);
        ASSERT_NE(m_name, nullptr);
    }
    void Choose(const QString& name)
    {
        const QList<QListWidgetItem*> found = m_list->findItems(name, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << name.toStdString();
        m_list->setCurrentItem(found.first());
    }
    static void Press(CBusTypeManage& dialog, int id) { dialog.Control<QPushButton>(id)->click(); }

    QListWidget* m_list = nullptr;
    QLineEdit* m_name = nullptr;
};

} // namespace

TEST_P(BusTypeManageTest, AddsRenamesAndDeletesByTheNameInTheEdit)
{
    const int company = AddCompany(QStringLiteral("Kauri Ltd"), {QStringLiteral("Customer")});
    CBusTypeManage dialog(m_db);
    Open(dialog);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Manage Business Types"));
    EXPECT_EQ(Names(), QStringList({"Consultant", "Customer", "Partner", "Supplier"}));
    EXPECT_EQ(m_name->text(), QStringLiteral("Consultant"));
    CRecordingMessages& messages = CRecordingMessages::Current();

    // Another case of a stored name is the same name.
    m_name->setText(QStringLiteral("SUPPLIER"));
    Press(dialog, CBusTypeManage::kIdAdd);
    EXPECT_EQ(messages.Last(), QStringLiteral("This Business Type already exists"));
    m_name->setText(QStringLiteral("Men's Wear"));
    Press(dialog, CBusTypeManage::kIdAdd);
    EXPECT_TRUE(Names().contains(QStringLiteral("Men's Wear")));
    EXPECT_EQ(m_list->currentItem()->text(), QStringLiteral("Men's Wear"));

    // Renaming to another case of its own name is a rename; to another's is not.
    Choose(QStringLiteral("Customer"));
    EXPECT_EQ(m_name->text(), QStringLiteral("Customer"));
    m_name->setText(QStringLiteral("CUSTOMER"));
    Press(dialog, CBusTypeManage::kIdUpdate);
    EXPECT_TRUE(Names().contains(QStringLiteral("CUSTOMER")));
    EXPECT_EQ(TypeId(QStringLiteral("CUSTOMER")),
              Query(QStringLiteral("SELECT BusinessTypeID FROM tblAddrBusinessType WHERE "
                                   "CompanyID = ?"),
                    {company})
                  .Value(0, 0)
                  .toInt());
    const int before = messages.Count();
    m_name->setText(QStringLiteral("partner"));
    Press(dialog, CBusTypeManage::kIdUpdate);
    EXPECT_EQ(messages.Count(), before + 1);
    EXPECT_EQ(messages.Last(), QStringLiteral("This Business Type already exists"));
    EXPECT_TRUE(Names().contains(QStringLiteral("CUSTOMER")));

    m_name->setText(QStringLiteral("Nothing Like It"));
    Press(dialog, CBusTypeManage::kIdDelete);
    EXPECT_EQ(messages.Last(), QStringLiteral("This Business Type doesnt exist"));
    // Deleting a type in use takes the company's link with it.
    m_name->setText(QStringLiteral("customer"));
    Press(dialog, CBusTypeManage::kIdDelete);
    EXPECT_FALSE(Names().contains(QStringLiteral("CUSTOMER")));
    EXPECT_EQ(Count(QStringLiteral("SELECT COUNT(*) FROM tblAddrBusinessType WHERE CompanyID = ?"),
                    {company}),
              0);
    dialog.close();
}

KELVANE_INSTANTIATE_BACKENDS(BusTypeManageTest);
