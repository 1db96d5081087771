#include "ui/ConnectionDlg.h"
#include "data/ConnectionString.h"
#include "tests/support/TestEnv.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>

TEST(ConnectionDlg, BuildsAFileConnectionString)
{
    CConnectionDlg dlg;
    dlg.SetFileChooser([](const QString&) { return QStringLiteral("/data/it's;here.db"); });
    QTest::mouseClick(dlg.findChild<QPushButton*>(QStringLiteral("browse")), Qt::LeftButton);
    const CConnectionString cs(dlg.ConnectionString());
    EXPECT_EQ(cs.Value(QStringLiteral("Provider")), QStringLiteral("SQLite"));
    EXPECT_EQ(cs.Value(QStringLiteral("Data Source")), QStringLiteral("/data/it's;here.db"));
}

TEST(ConnectionDlg, BuildsAServerConnectionStringFromTheFields)
{
    CConnectionDlg dlg;
    dlg.findChild<QRadioButton*>(QStringLiteral("providerServer"))->setChecked(true);
    QTest::keyClicks(dlg.findChild<QLineEdit*>(QStringLiteral("database")),
                     QStringLiteral("kelvane"));
    QTest::keyClicks(dlg.findChild<QLineEdit*>(QStringLiteral("user")), QStringLiteral("anna"));
    QTest::keyClicks(dlg.findChild<QLineEdit*>(QStringLiteral("password")),
                     QStringLiteral("p;w\""));
    dlg.findChild<QSpinBox*>(QStringLiteral("port"))->setValue(5544);
    const CConnectionString cs(dlg.ConnectionString());
    EXPECT_EQ(cs.Value(QStringLiteral("Provider")), QStringLiteral("PostgreSQL"));
    EXPECT_EQ(cs.Value(QStringLiteral("Host")), QStringLiteral("localhost"));
    EXPECT_EQ(cs.Value(QStringLiteral("Port")), QStringLiteral("5544"));
    EXPECT_EQ(cs.Value(QStringLiteral("Database")), QStringLiteral("kelvane"));
    EXPECT_EQ(cs.Value(QStringLiteral("Password")), QStringLiteral("p;w\""));
}

TEST(ConnectionDlg, StartsFromAGivenStringAndRefusesAnEmptyChoice)
{
    CConnectionDlg dlg;
    dlg.SetConnectionString(CConnectionString::PostgresString(
        QStringLiteral("db"), 6000, QStringLiteral("k"), QStringLiteral("u"), QString()));
    EXPECT_TRUE(dlg.findChild<QRadioButton*>(QStringLiteral("providerServer"))->isChecked());
    EXPECT_EQ(dlg.findChild<QSpinBox*>(QStringLiteral("port"))->value(), 6000);
    dlg.findChild<QLineEdit*>(QStringLiteral("database"))->clear();
    dlg.accept();
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
    EXPECT_EQ(CRecordingMessages::Current().Count(), 1);
}
