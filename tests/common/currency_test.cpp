#include "common/currency.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace zt;

namespace {
std::int64_t units(double v) { return Currency::fromDouble(v).value().tenThousandths(); }
std::optional<std::int64_t> parsed(std::string_view s) {
    const auto c = Currency::parse(s);
    return c ? std::optional(c->tenThousandths()) : std::nullopt;
}
}  // namespace

TEST(Currency, FromDoubleRoundsTheDecimalForm) {
    EXPECT_EQ(units(0.1 + 0.2), 3000);
    EXPECT_EQ(units(1234.5), 12345000);
    EXPECT_EQ(units(2.00025), 20003);      // the double lies just below the half
    EXPECT_EQ(units(-0.00015), -2);
    EXPECT_EQ(units(0.00004), 0);
    EXPECT_EQ(units(-0.00004), 0);
    EXPECT_EQ(units(123456789.12345), 1234567891235);
    EXPECT_EQ(units(9e14), 9000000000000000000);
    EXPECT_FALSE(Currency::fromDouble(1e15));
    EXPECT_FALSE(Currency::fromDouble(-1e300));
    EXPECT_FALSE(Currency::fromDouble(std::nan("")));
    EXPECT_FALSE(Currency::fromDouble(std::numeric_limits<double>::infinity()));
}

TEST(Currency, ParseIsExactAndStrict) {
    EXPECT_EQ(parsed("1234.5"), 12345000);
    EXPECT_EQ(parsed("-0.0001"), -1);
    EXPECT_EQ(parsed("12"), 120000);
    EXPECT_EQ(parsed("12.3400"), 123400);  // libmdb's form
    EXPECT_EQ(parsed("922337203685477.5807"), std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(parsed("-922337203685477.5808"), std::numeric_limits<std::int64_t>::min());
    for (const char* bad : {"", "-", ".", "+5", " 5", "5 ", "1,234.5", "1.23456", "1.2.3",
                            "1e3", "abc", "922337203685477.5808", "99999999999999999999"})
        EXPECT_FALSE(Currency::parse(bad)) << bad;
}

TEST(Currency, ArithmeticAndText) {
    const Currency a = *Currency::parse("0.1");
    const Currency b = *Currency::parse("0.2");
    EXPECT_EQ(a + b, *Currency::parse("0.3"));
    EXPECT_EQ((a - b).toString(), "-0.1");
    EXPECT_EQ((a * 3).toString(), "0.3");
    EXPECT_LT(-a, a);
    EXPECT_EQ(Currency::fromTenThousandths(12345000).toString(), "1234.5");
    EXPECT_EQ(Currency::fromTenThousandths(-30000).toString(), "-3");
    EXPECT_EQ(Currency::fromTenThousandths(1).toString(), "0.0001");
    EXPECT_EQ(Currency::fromTenThousandths(-5000).toString(), "-0.5");
    EXPECT_EQ(Currency().toString(), "0");
    EXPECT_EQ(Currency::fromTenThousandths(std::numeric_limits<std::int64_t>::min()).toString(),
              "-922337203685477.5808");
    EXPECT_DOUBLE_EQ(Currency::fromTenThousandths(12345000).toDouble(), 1234.5);
    for (const char* text : {"0.0001", "-12.5", "922337203685477.5807"})
        EXPECT_EQ(Currency::parse(text)->toString(), text);
}
