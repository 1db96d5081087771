#include "records/TabPrjLocation.h"
#include "tests/records/ProjectInfoFixture.h"
#include "tests/records/RecordingLauncher.h"

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>

namespace {

class TabPrjLocationTest : public ProjectInfoTest {
protected:
    void SetPlaces(const QString& file, const QString& dir)
    {
        Exec(QStringLiteral("UPDATE tblProject SET ProjFilename = ?, ProjDir = ? WHERE ProjID = 1"),
             {file, dir});
    }
    CTabPrjLocation* Page() const { return m_window->LocationPage(); }
    QPushButton* Button(int id) const { return Page()->Control<QPushButton>(id); }
};

} // namespace

TEST_P(TabPrjLocationTest, EachButtonOpensAnExistingPlaceOnTheDesktop)
{
    // The folder column holds 50 characters.
    QTemporaryDir temp(QDir::tempPath() + QStringLiteral("/kvp-XXXXXX"));
    const QString dir = temp.path() + QStringLiteral("/Bridge plans");
    ASSERT_TRUE(QDir().mkpath(dir));
    const QString file = dir + QStringLiteral("/bridge#1.mpp");
    QFile plan(file);
    ASSERT_TRUE(plan.open(QIODevice::WriteOnly));
    plan.close();
    SetPlaces(file, dir);
    Open(kAnn, kBridge);
    EXPECT_EQ(Page()->PlanFile(), file);
    EXPECT_EQ(Page()->Directory(), dir);

    CRecordingLauncher launcher;
    Button(CTabPrjLocation::kIdOpenDirectory)->click();
    Button(CTabPrjLocation::kIdOpenPlanFile)->click();
    ASSERT_EQ(launcher.opened.size(), 2);
    EXPECT_EQ(QUrl::fromEncoded(launcher.opened.at(0).toLatin1()).toLocalFile(), dir);
    // The '#' is part of the name, not a fragment.
    EXPECT_EQ(QUrl::fromEncoded(launcher.opened.at(1).toLatin1()).toLocalFile(), file);
    EXPECT_TRUE(Messages().isEmpty()) << Messages().join(QLatin1Char('|')).toStdString();

    // Nothing on the desktop takes it.
    launcher.succeed = false;
    EXPECT_FALSE(Page()->OnOpenDirectory());
    EXPECT_EQ(CRecordingMessages::Current().Last(),
              QStringLiteral("No application can open ") + dir);
}

TEST_P(TabPrjLocationTest, MissingPlacesAreToldAndEmptyOnesCannotBeOpened)
{
    const QString missing = QDir::tempPath() + QStringLiteral("/kvp-gone-for-good");
    SetPlaces(missing + QStringLiteral("/plan.mpp"), missing);
    Open(kAnn, kBridge);
    CRecordingLauncher launcher;
    EXPECT_FALSE(Page()->OnOpenDirectory());
    EXPECT_EQ(CRecordingMessages::Current().Last(),
              QStringLiteral("The path '%1' does not exist or is not a directory").arg(missing));
    EXPECT_FALSE(Page()->OnOpenMsProject());
    EXPECT_EQ(
        CRecordingMessages::Current().Last(),
        QStringLiteral("The file '%1/plan.mpp' does not exist or is not a file").arg(missing));
    EXPECT_TRUE(launcher.opened.isEmpty());

    // Another project without either: both buttons off.
    Choose(kApollo);
    EXPECT_TRUE(Page()->PlanFile().isEmpty());
    EXPECT_FALSE(Button(CTabPrjLocation::kIdOpenPlanFile)->isEnabled());
    EXPECT_FALSE(Button(CTabPrjLocation::kIdOpenDirectory)->isEnabled());
    Choose(kBridge);
    EXPECT_TRUE(Button(CTabPrjLocation::kIdOpenDirectory)->isEnabled());
}

KELVANE_INSTANTIATE_BACKENDS(TabPrjLocationTest);
