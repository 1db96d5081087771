#include "platform/com/Variant.h"
#include "tests/support/QtPrinters.h"

#include <QColor>
#include <gtest/gtest.h>

namespace {

template <typename T, typename V>
HRESULT Convert(const V& value, T* out)
{
    const Variant v(value);
    if constexpr (std::is_same_v<T, std::int16_t>)
        return v.ToShort(out);
    else if constexpr (std::is_same_v<T, std::int32_t>)
        return v.ToLong(out);
    else if constexpr (std::is_same_v<T, bool>)
        return v.ToBool(out);
    else if constexpr (std::is_same_v<T, double>)
        return v.ToDouble(out);
    else if constexpr (std::is_same_v<T, std::string>)
        return v.ToString(out);
    else
        return v.ToColor(out);
}

template <typename T, typename V>
T As(const V& value)
{
    T out{};
    EXPECT_EQ(Convert(value, &out), kS_OK);
    return out;
}

template <typename T, typename V>
HRESULT Error(const V& value)
{
    T out{};
    return Convert(value, &out);
}

} // namespace

TEST(Variant, IntegersRoundHalfToEvenAndRefuseWhatDoesNotFit)
{
    EXPECT_EQ(As<std::int16_t>(2.5), 2);
    EXPECT_EQ(As<std::int16_t>(3.5), 4);
    EXPECT_EQ(As<std::int32_t>(-2.5), -2);
    EXPECT_EQ(As<std::int16_t>(std::int32_t(-32768)), -32768);
    EXPECT_EQ(Error<std::int16_t>(std::int32_t(32768)), kDISP_E_OVERFLOW);
    EXPECT_EQ(Error<std::int32_t>(3e9), kDISP_E_OVERFLOW);
    EXPECT_EQ(As<std::int32_t>(std::int16_t(-7)), -7);
    EXPECT_EQ(As<double>(std::int32_t(1440)), 1440.0);
}

TEST(Variant, FlagsAreOneAndZeroAsNumbersAndAnyNonZeroNumberIsTrue)
{
    EXPECT_EQ(As<std::int16_t>(true), 1);
    EXPECT_EQ(As<std::int32_t>(false), 0);
    EXPECT_TRUE(As<bool>(std::int32_t(-1)));
    EXPECT_TRUE(As<bool>(0.5));
    EXPECT_FALSE(As<bool>(std::int16_t(0)));
}

TEST(Variant, TextConvertsToNumbersOnlyWhenItIsOne)
{
    EXPECT_EQ(As<std::int32_t>(" 42 "), 42);
    EXPECT_EQ(As<std::int32_t>("+7"), 7);
    EXPECT_EQ(As<std::int16_t>("12.5"), 12);
    EXPECT_EQ(As<double>("1e3"), 1000.0);
    EXPECT_EQ(Error<std::int32_t>("4x"), kDISP_E_TYPEMISMATCH);
    EXPECT_EQ(Error<std::int32_t>(""), kDISP_E_TYPEMISMATCH);
    EXPECT_EQ(Error<double>("nan"), kDISP_E_TYPEMISMATCH);
    EXPECT_EQ(Error<std::int16_t>("99999"), kDISP_E_OVERFLOW);
    EXPECT_TRUE(As<bool>("TRUE"));
    EXPECT_FALSE(As<bool>(" false"));
    EXPECT_TRUE(As<bool>("2"));
    EXPECT_EQ(Error<bool>("yes"), kDISP_E_TYPEMISMATCH);
}

TEST(Variant, ValuesBecomeText)
{
    EXPECT_EQ(As<std::string>(std::int32_t(-15)), "-15");
    EXPECT_EQ(As<std::string>(0.25), "0.25");
    EXPECT_EQ(As<std::string>(true), "True");
    EXPECT_EQ(As<std::string>(OleColor(0x8000000F)), "2147483663");
    EXPECT_EQ(As<std::string>(QStringLiteral("Zeit für Ü")), "Zeit für Ü");
    QString text;
    ASSERT_EQ(Variant("Zeit für Ü").ToQString(&text), kS_OK);
    EXPECT_EQ(text, QStringLiteral("Zeit für Ü"));
}

TEST(Variant, EmptyIsZeroFalseAndNoText)
{
    const Variant empty;
    std::int32_t n = 5;
    bool b = true;
    std::string s = "x";
    EXPECT_EQ(empty.ToLong(&n), kS_OK);
    EXPECT_EQ(empty.ToBool(&b), kS_OK);
    EXPECT_EQ(empty.ToString(&s), kS_OK);
    EXPECT_EQ(n, 0);
    EXPECT_FALSE(b);
    EXPECT_EQ(s, "");
    FontDesc font;
    EXPECT_EQ(empty.ToFont(&font), kDISP_E_TYPEMISMATCH);
}

TEST(Variant, ColoursAreThirtyTwoBitNumbers)
{
    EXPECT_EQ(As<OleColor>(static_cast<std::int32_t>(0x8000000F)).value, 0x8000000Fu);
    EXPECT_EQ(As<OleColor>(4294967295.0).value, 0xFFFFFFFFu);
    EXPECT_EQ(As<std::int32_t>(OleColor(0x8000000F)), static_cast<std::int32_t>(0x8000000F));
    EXPECT_EQ(Error<std::int16_t>(OleColor(0x00FFFFFF)), kDISP_E_OVERFLOW);
    EXPECT_EQ(Error<OleColor>(true), kDISP_E_TYPEMISMATCH);
    EXPECT_EQ(Error<OleColor>(4294967296.0), kDISP_E_OVERFLOW);

    EXPECT_EQ(OleColor(0x0000FF).ToQColor(), QColor(255, 0, 0));
    EXPECT_EQ(OleColor::FromQColor(QColor(1, 2, 3)).value, 0x030201u);
    EXPECT_TRUE(OleColor(0x8000000F).IsSystemColor());
    EXPECT_TRUE(OleColor(0x8000000F).ToQColor().isValid());
}

TEST(Variant, FontsObjectsAndArraysConvertOnlyToThemselves)
{
    FontDesc font;
    font.name = "DejaVu Sans";
    font.weight = 700;
    const Variant fontValue(font);
    FontDesc back;
    ASSERT_EQ(fontValue.ToFont(&back), kS_OK);
    EXPECT_EQ(back, font);
    std::int32_t n = 0;
    EXPECT_EQ(fontValue.ToLong(&n), kDISP_E_TYPEMISMATCH);
    std::string text;
    EXPECT_EQ(fontValue.ToString(&text), kDISP_E_TYPEMISMATCH);

    const Variant array(VariantArray{Variant(std::int32_t(1)), Variant("two"), Variant(3.0)});
    VariantArray items;
    ASSERT_EQ(array.ToArray(&items), kS_OK);
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[1], Variant("two"));
    EXPECT_EQ(array, Variant(VariantArray{Variant(std::int32_t(1)), Variant("two"), Variant(3.0)}));
    EXPECT_NE(array, Variant(VariantArray{Variant(std::int32_t(1))}));
    EXPECT_EQ(array.ToLong(&n), kDISP_E_TYPEMISMATCH);

    ComPtr<IUnknown> object;
    EXPECT_EQ(Variant(std::int32_t(1)).ToObject(&object), kDISP_E_TYPEMISMATCH);
}

TEST(Variant, ByReferenceValuesReadThroughTheirPointer)
{
    std::int16_t s = 12;
    std::int32_t l = -3;
    std::string text = "15";
    std::int32_t out = 0;
    EXPECT_EQ(Variant(&s).ToLong(&out), kS_OK);
    EXPECT_EQ(out, 12);
    EXPECT_EQ(Variant(&l).ToLong(&out), kS_OK);
    EXPECT_EQ(out, -3);
    EXPECT_EQ(Variant(&text).ToLong(&out), kS_OK);
    EXPECT_EQ(out, 15);
    EXPECT_EQ(Variant(&s).ShortRef(), &s);
    EXPECT_EQ(Variant(&s).LongRef(), nullptr);

    EXPECT_EQ(Variant(static_cast<std::int32_t*>(nullptr)).ToLong(&out), kE_POINTER);
    bool flag = false;
    EXPECT_EQ(Variant(static_cast<std::string*>(nullptr)).ToBool(&flag), kE_POINTER);
}
