#include "platform/com/ClassRegistry.h"
#include "tests/platform/com/ComTestSupport.h"
#include "tests/support/TestEnv.h"

#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

using namespace TestCtrlIds;

namespace {

class ControlHostTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(ComTest::RegisterTestCtrl(), kS_OK); }
};

} // namespace

TEST_F(ControlHostTest, EmbedsTheControlsWidgetAndDrivesItThroughTheWrapper)
{
    CTestCtrlHost host;
    ASSERT_EQ(host.Create(), kS_OK);
    ASSERT_TRUE(host.HasControl());
    ASSERT_TRUE(host.ControlWidget());
    EXPECT_EQ(host.ControlWidget()->parentWidget(), &host);
    host.resize(240, 90);
    host.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));

    host.SetCaption(QStringLiteral("Tuesday"));
    auto* label = host.findChild<QLabel*>(QStringLiteral("caption"));
    ASSERT_TRUE(label);
    EXPECT_EQ(label->text(), QStringLiteral("Tuesday"));
    EXPECT_TRUE(label->isVisible());

    std::int32_t width = 0;
    std::int32_t height = 0;
    host.GetSize(&width, &height);
    EXPECT_EQ(width, 240);
    EXPECT_EQ(height, 90);
    EXPECT_EQ(host.Add(2, 40), 42);
}

TEST_F(ControlHostTest, APressInTheControlsWidgetComesBackAsAnEvent)
{
    CTestCtrlHost host;
    ASSERT_EQ(host.Create(), kS_OK);
    std::int32_t heard = 0;
    host.Events().On(kClicked, [&heard](std::int32_t number) { heard = number; });
    host.SetNumber(1033);
    host.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));

    auto* button = host.findChild<QPushButton*>(QStringLiteral("press"));
    ASSERT_TRUE(button);
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(heard, 1033);
}

TEST_F(ControlHostTest, AHandlerAnswersThroughTheWrapperWhileTheControlWaits)
{
    CTestCtrlHost host;
    int asked = 0;
    // Handlers can be mapped before the control exists.
    host.Events().On(kNotifyDeleteAll, [&host, &asked] {
        ++asked;
        host.DeleteAllOKRet(1);
    });
    ASSERT_EQ(host.Create(), kS_OK);
    EXPECT_TRUE(host.AskDeleteAll());
    EXPECT_EQ(asked, 1);
}

TEST_F(ControlHostTest, TheControlMayAskForANewSize)
{
    CTestCtrlHost host;
    ASSERT_EQ(host.Create(), kS_OK);
    host.show();
    EXPECT_TRUE(host.ResizeMe(300, 120));
    EXPECT_EQ(host.size(), QSize(300, 120));
    EXPECT_FALSE(host.ResizeMe(-1, 5));
}

TEST_F(ControlHostTest, AFailedCreationLeavesTheHostEmpty)
{
    CTestCtrlHost host;
    ASSERT_EQ(host.CreateControl(QString::fromLatin1(kProgId)), kS_OK);
    EXPECT_EQ(host.CreateControl(QStringLiteral("No.Such.Control")), kCO_E_CLASSSTRING);
    EXPECT_FALSE(host.HasControl());
    EXPECT_FALSE(host.ControlWidget());
    EXPECT_TRUE(host.findChildren<QLabel*>().isEmpty());
    EXPECT_EQ(host.Number(), 0);
    EXPECT_EQ(host.LastResult(), kE_POINTER);
    EXPECT_EQ(ComTest::TestCtrlLibrary()->CanUnloadNow(), kS_OK);
}

TEST_F(ControlHostTest, TheHostReleasesItsControlAndItsWidgetWhenItGoes)
{
    auto host = std::make_unique<CTestCtrlHost>();
    ASSERT_EQ(host->Create(), kS_OK);
    QPointer<QWidget> widget = host->ControlWidget();
    EXPECT_EQ(ComTest::TestCtrlLibrary()->CanUnloadNow(), kS_FALSE);
    host.reset();
    EXPECT_FALSE(widget);
    EXPECT_EQ(ComTest::TestCtrlLibrary()->CanUnloadNow(), kS_OK);
}

TEST_F(ControlHostTest, AControlHeldElsewhereOutlivesItsWindowWithoutHarm)
{
    auto window = std::make_unique<QWidget>();
    auto* host = new CTestCtrlHost(window.get());
    ASSERT_EQ(host->Create(), kS_OK);
    CDispatchDriver kept{ComPtr<IDispatch>(host->Dispatch())};
    QPointer<QWidget> widget = host->ControlWidget();
    window.reset();
    EXPECT_FALSE(widget);

    std::int32_t width = -1;
    std::int32_t height = -1;
    kept.Call(kGetSize, &width, &height);
    EXPECT_EQ(kept.LastResult(), kS_OK);
    EXPECT_EQ(width, 0);
    EXPECT_EQ(kept.Call<bool>(kResizeMe, std::int16_t(10), std::int16_t(10)), false)
        << "no site any more";
    kept.ReleaseDispatch();
    EXPECT_EQ(ComTest::TestCtrlLibrary()->CanUnloadNow(), kS_OK);
}

TEST_F(ControlHostTest, AControlThatCannotBeMadeNamesTheCauseInItsResult)
{
    constexpr Guid kOther = Guid::Literal("{5B0E7C2D-8A41-4F3B-9C6E-1D2F3A4B5C6D}");
    const QString gone = TestEnv::TestDir() + QStringLiteral("/libgone.so");
    const QString text = TestEnv::TestDir() + QStringLiteral("/libtext.so");
    QFile file(text);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a library\n");
    file.close();
    struct Case {
        QString library; // "": no registration
        HRESULT result;
        QStringList cause;
    };
    const QList<Case> cases = {
        {QString(), kREGDB_E_CLASSNOTREG, {kOther.ToString(), CClassRegistry::Location()}},
        {gone, kCO_E_DLLNOTFOUND, {gone}},
        {text, kCO_E_ERRORINDLL, {text, QStringLiteral("too short")}},
        {ComTest::NotAServerPath(), kCO_E_ERRORINDLL, {QStringLiteral("DllGetClassObject")}},
        {ComTest::TestCtrlPath(), kCLASS_E_CLASSNOTAVAILABLE, {kOther.ToString()}},
    };
    for (const Case& c : cases) {
        CClassRegistry().UnregisterClass(kOther);
        if (!c.library.isEmpty()) {
            CClassRegistry::ClassRecord record;
            record.clsid = kOther;
            record.progId = QStringLiteral("Kelvane.Other.1");
            record.library = c.library;
            ASSERT_EQ(CClassRegistry().RegisterClass(record), kS_OK);
        }
        CTestCtrlHost host;
        ASSERT_EQ(host.Create(), kS_OK);
        EXPECT_EQ(host.CreateControl(kOther), c.result) << c.library.toStdString();
        EXPECT_EQ(host.LastResult(), c.result) << c.library.toStdString();
        const QString said = HResultText(host.LastResult());
        for (const QString& cause : c.cause)
            EXPECT_TRUE(said.contains(cause)) << said.toStdString();
    }
    // A later success says so, without the old cause.
    CTestCtrlHost host;
    ASSERT_EQ(host.Create(), kS_OK);
    EXPECT_EQ(host.LastResult(), kS_OK);
    EXPECT_FALSE(HResultText(kCLASS_E_CLASSNOTAVAILABLE).contains(kOther.ToString()));
}
