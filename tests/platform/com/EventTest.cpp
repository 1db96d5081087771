#include "platform/com/ClassLoader.h"
#include "platform/com/DispatchDriver.h"
#include "platform/com/EventSinkMap.h"
#include "platform/com/IEventSource.h"
#include "tests/platform/com/ComTestSupport.h"
#include "tests/support/TestEnv.h"

#include <QStringList>
#include <gtest/gtest.h>

using namespace TestCtrlIds;

namespace {

class EventTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(ComTest::RegisterTestCtrl(), kS_OK);
        ASSERT_EQ(CClassLoader::CreateInstance(kClsid, &m_object), kS_OK);
        ASSERT_EQ(m_object.As(&m_source), kS_OK);
        m_driver.AttachDispatch(m_object);
    }

    std::uint32_t Advise(const ComPtr<CEventSinkMap>& sink)
    {
        std::uint32_t cookie = 0;
        EXPECT_EQ(m_source->Advise(sink.Get(), &cookie), kS_OK);
        return cookie;
    }

    ComPtr<IDispatch> m_object;
    ComPtr<IEventSource> m_source;
    CDispatchDriver m_driver;
    QStringList m_heard;
};

// A window's handlers, as member functions with the usual BOOL result.
class CHandlers {
public:
    int OnChanged(std::int32_t id, std::int32_t start, std::int32_t stop, std::int32_t project)
    {
        m_heard << QStringLiteral("%1 %2-%3 %4").arg(id).arg(start).arg(stop).arg(project);
        return 1;
    }
    int OnClicked(std::int32_t number)
    {
        m_heard << QString::number(number);
        return 1;
    }

    QStringList m_heard;
};

} // namespace

TEST_F(EventTest, MemberFunctionsServeAsHandlers)
{
    CHandlers handlers;
    const ComPtr<CEventSinkMap> sink = CEventSinkMap::Create();
    sink->On(kChanged, &handlers, &CHandlers::OnChanged);
    sink->On(kClicked, &handlers, &CHandlers::OnClicked);
    Advise(sink);

    m_driver.Call(kFireChange, 5, 600, 660, -1);
    const Variant click[] = {Variant("12")};
    EXPECT_EQ(sink->Invoke(kClicked, InvokeKind::Method, click, nullptr), kS_OK);
    sink->Remove(kClicked);
    EXPECT_EQ(sink->Invoke(kClicked, InvokeKind::Method, click, nullptr), kDISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(handlers.m_heard, (QStringList{"5 600-660 -1", "12"}));
}

TEST_F(EventTest, EventsReachEverySinkWithTheirArgumentsInAdviseOrder)
{
    const ComPtr<CEventSinkMap> first = CEventSinkMap::Create();
    const ComPtr<CEventSinkMap> second = CEventSinkMap::Create();
    first->On(kChanged, [this](std::int32_t id, std::int32_t start, std::int32_t stop,
                               std::int32_t project) {
        m_heard << QStringLiteral("first %1 %2 %3 %4").arg(id).arg(start).arg(stop).arg(project);
    });
    second->On(kChanged, [this](std::int32_t id, std::int32_t, std::int32_t, std::int32_t) {
        m_heard << QStringLiteral("second %1").arg(id);
    });
    Advise(second);
    Advise(first);

    m_driver.Call(kFireChange, 17, 480, 540, 4);
    EXPECT_EQ(m_heard, (QStringList{"second 17", "first 17 480 540 4"}));
}

TEST_F(EventTest, TextArgumentsArriveAsTheHandlerWantsThem)
{
    const ComPtr<CEventSinkMap> sink = CEventSinkMap::Create();
    std::string utf8;
    sink->On(kMsgUpdate, [this](const QString& text) { m_heard << text; });
    sink->On(kClicked, [](std::int32_t) {});
    const ComPtr<CEventSinkMap> raw = CEventSinkMap::Create();
    raw->On(kMsgUpdate, [&utf8](std::string text) { utf8 = text; });
    Advise(sink);
    Advise(raw);

    m_driver.SetProperty(kCaption, QStringLiteral("Hours Worked 7,50 €"));
    EXPECT_EQ(m_heard, QStringList{QStringLiteral("Hours Worked 7,50 €")});
    EXPECT_EQ(utf8, "Hours Worked 7,50 €");
}

TEST_F(EventTest, AHandlerCanAnswerTheControlFromInsideTheEvent)
{
    CDispatchDriver* driver = &m_driver;
    std::int16_t answer = 1;
    const ComPtr<CEventSinkMap> sink = CEventSinkMap::Create();
    sink->On(kNotifyDeleteAll, [driver, &answer] {
        // The control is still inside AskDeleteAll here.
        driver->Call(kDeleteAllOKRet, answer);
        EXPECT_EQ(driver->LastResult(), kS_OK);
    });
    const std::uint32_t cookie = Advise(sink);

    EXPECT_TRUE(m_driver.Call<bool>(kAskDeleteAll));
    answer = 0;
    EXPECT_FALSE(m_driver.Call<bool>(kAskDeleteAll));
    answer = 1;
    ASSERT_EQ(m_source->Unadvise(cookie), kS_OK);
    EXPECT_FALSE(m_driver.Call<bool>(kAskDeleteAll)) << "nobody answered";
    EXPECT_EQ(m_driver.LastResult(), kS_OK);
}

TEST_F(EventTest, ASinkUnadvisedByAnEarlierHandlerMissesTheRestOfTheEvent)
{
    const ComPtr<CEventSinkMap> first = CEventSinkMap::Create();
    const ComPtr<CEventSinkMap> second = CEventSinkMap::Create();
    std::uint32_t secondCookie = 0;
    first->On(kChanged,
              [this, &secondCookie](std::int32_t, std::int32_t, std::int32_t, std::int32_t) {
                  m_heard << QStringLiteral("first");
                  m_source->Unadvise(secondCookie);
              });
    second->On(kChanged, [this](std::int32_t, std::int32_t, std::int32_t, std::int32_t) {
        m_heard << QStringLiteral("second");
    });
    const std::uint32_t firstCookie = Advise(first);
    secondCookie = Advise(second);

    m_driver.Call(kFireChange, 1, 2, 3, 4);
    EXPECT_EQ(m_heard, QStringList{QStringLiteral("first")});
    // Unadvising itself from inside its own handler is fine as well.
    first->On(kChanged,
              [this, firstCookie](std::int32_t, std::int32_t, std::int32_t, std::int32_t) {
                  EXPECT_EQ(m_source->Unadvise(firstCookie), kS_OK);
              });
    m_driver.Call(kFireChange, 1, 2, 3, 4);
    m_driver.Call(kFireChange, 1, 2, 3, 4);
    EXPECT_EQ(m_heard.size(), 1);
}

TEST_F(EventTest, AHandlerWhoseParametersDoNotFitIsNotCalled)
{
    const ComPtr<CEventSinkMap> sink = CEventSinkMap::Create();
    sink->On(kChanged, [this](std::int32_t, std::int32_t) { m_heard << QStringLiteral("two"); });
    sink->On(kMsgUpdate, [this](FontDesc) { m_heard << QStringLiteral("font"); });
    Advise(sink);
    const Variant args[] = {Variant(1), Variant(2), Variant(3), Variant(4)};
    EXPECT_EQ(sink->Invoke(kChanged, InvokeKind::Method, args, nullptr), kDISP_E_BADPARAMCOUNT);
    EXPECT_EQ(sink->Invoke(kClicked, InvokeKind::Method, {}, nullptr), kDISP_E_MEMBERNOTFOUND);

    m_driver.Call(kFireChange, 1, 2, 3, 4);
    m_driver.SetProperty(kCaption, QStringLiteral("x"));
    EXPECT_TRUE(m_heard.isEmpty());
    EXPECT_EQ(m_driver.LastResult(), kS_OK) << "the source does not care what sinks answer";
}

TEST_F(EventTest, AdviseAndUnadviseRefuseBadArguments)
{
    std::uint32_t cookie = 0;
    EXPECT_EQ(m_source->Advise(nullptr, &cookie), kE_POINTER);
    EXPECT_EQ(m_source->Unadvise(12345), kE_INVALIDARG);
    const ComPtr<CEventSinkMap> sink = CEventSinkMap::Create();
    cookie = Advise(sink);
    EXPECT_EQ(m_source->Unadvise(cookie), kS_OK);
    EXPECT_EQ(m_source->Unadvise(cookie), kE_INVALIDARG);
}
