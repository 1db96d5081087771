#include "platform/com/ClassLoader.h"
#include "platform/com/DispatchDriver.h"
#include "tests/platform/com/ComTestSupport.h"
#include "tests/support/TestEnv.h"

#include <gtest/gtest.h>

#include <vector>

using namespace TestCtrlIds;

namespace {

class DispatchTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(ComTest::RegisterTestCtrl(), kS_OK);
        ASSERT_EQ(CClassLoader::CreateInstance(kClsid, &m_object), kS_OK);
        m_driver.AttachDispatch(m_object);
    }

    HRESULT Invoke(DispId id, InvokeKind kind, std::vector<Variant> args, Variant* result = nullptr)
    {
        return m_object->Invoke(id, kind, args, result);
    }

    HRESULT Method(DispId id, std::vector<Variant> args, Variant* result = nullptr)
    {
        return Invoke(id, InvokeKind::Method, std::move(args), result);
    }

    ComPtr<IDispatch> m_object;
    CDispatchDriver m_driver;
};

Variant Long(std::int32_t v)
{
    return Variant(v);
}

} // namespace

TEST_F(DispatchTest, PropertiesKeepWhatIsPutByDispId)
{
    m_driver.SetProperty(kNumber, 42);
    EXPECT_EQ(m_driver.GetProperty<std::int32_t>(kNumber), 42);
    m_driver.SetProperty(kCaption, QStringLiteral("Montag"));
    EXPECT_EQ(m_driver.GetProperty<QString>(kCaption), QStringLiteral("Montag"));

    // A colour put as a long reads back as that colour, also under the
    // standard member's fixed number.
    m_driver.SetProperty(kBackColour, 0x00FF00);
    EXPECT_EQ(m_driver.GetProperty<OleColor>(kBackColour), OleColor(0x00FF00));
    EXPECT_EQ(m_driver.GetProperty<OleColor>(kStockBackColor), OleColor(0x00FF00));
    m_driver.SetProperty(kStockBackColor, OleColor(0x8000000F));
    EXPECT_EQ(m_driver.GetProperty<std::int32_t>(kBackColour),
              static_cast<std::int32_t>(0x8000000F));

    FontDesc font;
    font.name = "DejaVu Sans";
    font.pointSize = 10;
    font.italic = true;
    m_driver.SetProperty(kTextFont, font);
    EXPECT_EQ(m_driver.GetProperty<FontDesc>(kTextFont), font);
    EXPECT_EQ(m_driver.LastResult(), kS_OK);
}

TEST_F(DispatchTest, ArgumentsConvertToTheTypesTheMemberDeclares)
{
    Variant result;
    ASSERT_EQ(Method(kAdd, {Variant("3"), Variant(4.4)}, &result), kS_OK);
    EXPECT_EQ(result, Long(7));
    ASSERT_EQ(Method(kAdd, {Variant(true), Variant(OleColor(5))}, &result), kS_OK);
    EXPECT_EQ(result, Long(6));
    ASSERT_EQ(Method(kDescribe, {Long(1), Long(12)}, &result), kS_OK);
    EXPECT_EQ(result, Variant("yes 12"));
    ASSERT_EQ(Method(kDescribe, {Variant("false"), Variant("Über")}, &result), kS_OK);
    EXPECT_EQ(result, Variant("no Über"));
    ASSERT_EQ(Method(kHalf, {Variant("5")}, &result), kS_OK);
    EXPECT_EQ(result, Variant(2.5));
    EXPECT_EQ(Method(kHalf, {Variant(1.0)}, nullptr), kS_OK) << "the result may be left";
}

TEST_F(DispatchTest, ByReferenceArgumentsComeBackChanged)
{
    std::int16_t number = 41;
    std::string text = "Stop";
    EXPECT_TRUE(m_driver.Call<bool>(kBump, &number, &text));
    EXPECT_EQ(number, 42);
    EXPECT_EQ(text, "Stop!");

    std::int32_t width = -1;
    std::int32_t height = -1;
    m_driver.Call(kGetSize, &width, &height);
    EXPECT_EQ(m_driver.LastResult(), kS_OK);
    EXPECT_EQ(width, 0) << "no widget yet";
    EXPECT_EQ(height, 0);
}

TEST_F(DispatchTest, ObjectsAndArraysPassThrough)
{
    Variant result;
    const Variant self(ComPtr<IUnknown>(m_object.Get()));
    ASSERT_EQ(Method(kEcho, {self}, &result), kS_OK);
    EXPECT_EQ(result, self);

    const Variant items(VariantArray{Long(1), Variant("two"), Variant(VariantArray{})});
    ASSERT_EQ(Method(kEcho, {items}, &result), kS_OK);
    EXPECT_EQ(result, items);
    ASSERT_EQ(Method(kCountItems, {items}, &result), kS_OK);
    EXPECT_EQ(result, Long(3));
    EXPECT_EQ(Method(kCountItems, {Long(3)}, &result), kDISP_E_TYPEMISMATCH);
}

TEST_F(DispatchTest, AnUnknownMemberOrTheWrongKindOfCallIsNotFound)
{
    Variant result;
    for (DispId id : {0, -1, -502, 17, 1000})
        EXPECT_EQ(Method(id, {}, &result), kDISP_E_MEMBERNOTFOUND) << id;
    EXPECT_EQ(Method(kNumber, {}, &result), kDISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(Invoke(kAdd, InvokeKind::PropertyGet, {}, &result), kDISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(Invoke(kVersion, InvokeKind::PropertyPut, {Variant("2.0")}), kDISP_E_MEMBERNOTFOUND);
    ASSERT_EQ(Invoke(kVersion, InvokeKind::PropertyGet, {}, &result), kS_OK);
    EXPECT_EQ(result, Variant("1.0"));
}

TEST_F(DispatchTest, AWrongArgumentCountIsRefusedBeforeTheMemberRuns)
{
    m_driver.SetProperty(kNumber, 5);
    EXPECT_EQ(Method(kAdd, {Long(1)}), kDISP_E_BADPARAMCOUNT);
    EXPECT_EQ(Method(kAdd, {Long(1), Long(2), Long(3)}), kDISP_E_BADPARAMCOUNT);
    EXPECT_EQ(Invoke(kNumber, InvokeKind::PropertyPut, {}), kDISP_E_BADPARAMCOUNT);
    EXPECT_EQ(Invoke(kNumber, InvokeKind::PropertyPut, {Long(1), Long(2)}), kDISP_E_BADPARAMCOUNT);
    EXPECT_EQ(Invoke(kNumber, InvokeKind::PropertyGet, {Long(1)}), kDISP_E_BADPARAMCOUNT);
    EXPECT_EQ(m_driver.GetProperty<std::int32_t>(kNumber), 5);
}

TEST_F(DispatchTest, AnArgumentThatCannotBeConvertedIsRefused)
{
    m_driver.SetProperty(kNumber, 5);
    EXPECT_EQ(Invoke(kNumber, InvokeKind::PropertyPut, {Variant("five")}), kDISP_E_TYPEMISMATCH);
    EXPECT_EQ(Invoke(kNumber, InvokeKind::PropertyPut, {Variant(1e12)}), kDISP_E_OVERFLOW);
    EXPECT_EQ(m_driver.GetProperty<std::int32_t>(kNumber), 5);
    EXPECT_EQ(Method(kAdd, {Long(40000), Long(1)}), kDISP_E_OVERFLOW);
    EXPECT_EQ(Invoke(kTextFont, InvokeKind::PropertyPut, {Variant("Arial")}), kDISP_E_TYPEMISMATCH);

    // Out-parameters take only a reference of their own type, never null.
    std::int16_t s = 0;
    std::int32_t l = 0;
    std::string text;
    EXPECT_EQ(Method(kGetSize, {Long(1), Long(2)}), kDISP_E_TYPEMISMATCH);
    EXPECT_EQ(Method(kGetSize, {Variant(&s), Variant(&l)}), kDISP_E_TYPEMISMATCH);
    EXPECT_EQ(Method(kGetSize, {Variant(&l), Variant(static_cast<std::int32_t*>(nullptr))}),
              kE_POINTER);
    EXPECT_EQ(Method(kBump, {Variant(&s), Variant("text")}), kDISP_E_TYPEMISMATCH);
    EXPECT_EQ(Method(kBump, {Variant(&s), Variant(&text)}), kS_OK);
}

TEST_F(DispatchTest, NamesLeadToDispIdsWhateverTheirCase)
{
    DispId id = 0;
    ASSERT_EQ(m_object->GetIDsOfNames("number", &id), kS_OK);
    EXPECT_EQ(id, kNumber);
    ASSERT_EQ(m_object->GetIDsOfNames("DELETEALLOKRET", &id), kS_OK);
    EXPECT_EQ(id, kDeleteAllOKRet);
    ASSERT_EQ(m_object->GetIDsOfNames("BackColor", &id), kS_OK);
    EXPECT_EQ(id, kStockBackColor);
    EXPECT_EQ(m_object->GetIDsOfNames("Numbers", &id), kDISP_E_UNKNOWNNAME);
    EXPECT_EQ(m_object->GetIDsOfNames("", &id), kDISP_E_UNKNOWNNAME);
}

TEST_F(DispatchTest, TheDriverReturnsDefaultsAndKeepsTheReason)
{
    m_driver.SetProperty(kNumber, 42);
    EXPECT_EQ(m_driver.GetProperty<QString>(kNumber), QStringLiteral("42"));
    EXPECT_EQ(m_driver.Call<std::int32_t>(99), 0);
    EXPECT_EQ(m_driver.LastResult(), kDISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(m_driver.GetProperty<FontDesc>(kNumber), FontDesc());
    EXPECT_EQ(m_driver.LastResult(), kDISP_E_TYPEMISMATCH);
    EXPECT_EQ(m_driver.Call<std::int32_t>(kAdd, std::int16_t(2), 3), 5);
    EXPECT_EQ(m_driver.LastResult(), kS_OK);

    CDispatchDriver empty;
    EXPECT_EQ(empty.Call<bool>(kAskDeleteAll), false);
    EXPECT_EQ(empty.LastResult(), kE_POINTER);
}
