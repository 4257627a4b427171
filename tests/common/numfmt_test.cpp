#include "common/numfmt.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>

using namespace zt;

namespace {
const Separators kC{".", ","};
const Separators kItalian{",", "."};
}  // namespace

TEST(NumFmt, MoneyPattern) {
    EXPECT_EQ(formatMoney(1234.5, kItalian), "1.234,50");
    EXPECT_EQ(formatMoney(1234567.891, kC), "1,234,567.89");
    EXPECT_EQ(formatMoney(0, kC), "0.00");
    EXPECT_EQ(formatMoney(0.5, kC), "0.50");
    EXPECT_EQ(formatMoney(123, kC), "123.00");
    EXPECT_EQ(formatMoney(123456, kC), "123,456.00");
    EXPECT_EQ(formatMoney(-1234.5, kC), "-1,234.50");
    EXPECT_EQ(formatMoney(1.005, kC), "1.01");
    EXPECT_EQ(formatMoney(0.125, kC), "0.13");
    EXPECT_EQ(formatMoney(-0.125, kC), "-0.13");
    EXPECT_EQ(formatMoney(999999.995, kC), "1,000,000.00");
    EXPECT_EQ(formatMoney(-0.001, kC), "0.00");
    EXPECT_EQ(formatMoney(-0.0, kC), "0.00");
    EXPECT_EQ(formatMoney(0.1 + 0.2, kItalian), "0,30");
    EXPECT_EQ(formatMoney(1234.5, Separators{",", "\u00A0"}), "1\u00A0234,50");
}

TEST(NumFmt, PlainAndPercent) {
    EXPECT_EQ(formatPlain(12, kC), "12");
    EXPECT_EQ(formatPlain(1234.5, kItalian), "1234,5");
    EXPECT_EQ(formatPlain(-0.0, kC), "0");
    EXPECT_EQ(formatPlain(-7.25, kC), "-7.25");
    EXPECT_EQ(formatPlain(0.1 + 0.2, kC), "0.3");
    EXPECT_EQ(formatPlain(1.0 / 3.0, kC), "0.333333333333333");
    EXPECT_EQ(formatPlain(0.0001, kC), "0.0001");
    EXPECT_EQ(formatPlain(1e20, kC), "100000000000000000000");
    EXPECT_EQ(formatPlain(123456789012345678.0, kC), "123456789012346000");
    EXPECT_EQ(formatPlain(std::nan(""), kC), "NaN");

    EXPECT_EQ(formatPercent(12.6), "13");
    EXPECT_EQ(formatPercent(0), "0");
    EXPECT_EQ(formatPercent(-4.4), "-4");
    EXPECT_EQ(formatPercent(-0.4), "0");
    EXPECT_EQ(formatPercent(2.5), "3");
    EXPECT_EQ(formatPercent(-2.5), "-3");
    EXPECT_EQ(formatPercent(99.5), "100");
    EXPECT_EQ(formatPercent(12345.4), "12345");
    EXPECT_EQ(formatPercent(-HUGE_VAL), "-Inf");
}

// QLocale reads the environment once per process, so each case runs in a fresh
// process (the death-test machinery re-runs this program) and reports what it got.
namespace {
void printSeparatorsFor(const char* lang) {
    unsetenv("LC_ALL");
    unsetenv("LC_NUMERIC");
    setenv("LANG", lang, 1);
    const Separators s = localeSeparators();
    std::fprintf(stderr, "[%s][%s]\n", s.decimal.c_str(), s.group.c_str());
    std::exit(0);
}
}  // namespace

TEST(NumFmt, LocaleSeparatorsFollowTheEnvironment) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(printSeparatorsFor("C"), testing::ExitedWithCode(0), "\\[\\.\\]\\[,\\]");
    EXPECT_EXIT(printSeparatorsFor("POSIX"), testing::ExitedWithCode(0), "\\[\\.\\]\\[,\\]");
    EXPECT_EXIT(printSeparatorsFor("it_IT.UTF-8"), testing::ExitedWithCode(0), "\\[,\\]\\[\\.\\]");
    EXPECT_EXIT(printSeparatorsFor("en_US.UTF-8"), testing::ExitedWithCode(0), "\\[\\.\\]\\[,\\]");
}

TEST(ParseNumber, ReadsWhatTheGridWritesAndPlainNumbersAndRefusesTheRest) {
    const zt::Separators it{",", "."};
    const zt::Separators c{".", ","};
    struct Case {
        const char* text;
        const zt::Separators* sep;
        std::optional<double> want;
    };
    const Case cases[] = {
        {"1.234,50", &it, 1234.5},   {"1234.56", &it, 1234.56},  {"1.234", &it, 1234.0},
        {"1.234.567,8", &it, 1234567.8}, {"", &it, 0.0},         {"   ", &it, 0.0},
        {" -12,5 ", &it, -12.5},     {"+7", &it, 7.0},          {"1,234.50", &c, 1234.5},
        {"1234.56", &c, 1234.56},    {"0,5", &it, 0.5},         {"12abc", &it, std::nullopt},
        {"1.23.4", &it, std::nullopt}, {"12.34,5", &it, std::nullopt}, {"1,", &it, std::nullopt},
        {"abc", &it, std::nullopt},  {"1 234", &it, std::nullopt}, {"--1", &it, std::nullopt},
        {"1.234,50", &c, std::nullopt}, {"1e5", &it, std::nullopt}, {"-", &it, std::nullopt},
    };
    for (const auto& k : cases) {
        const auto got = zt::parseNumber(k.text, *k.sep);
        EXPECT_EQ(got.has_value(), k.want.has_value()) << k.text;
        if (got && k.want) {
            EXPECT_DOUBLE_EQ(*got, *k.want) << k.text;
        }
    }
}
