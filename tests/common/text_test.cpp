#include "common/text.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace zt;

TEST(Text, CutsCountCharactersNotBytes) {
    EXPECT_EQ(charCount("Età"), 3u);
    EXPECT_EQ(left("Età media", 3), "Età");
    EXPECT_EQ(left("Età", 10), "Età");
    EXPECT_EQ(left("Età", 0), "");
    EXPECT_EQ(left("Età", -2), "");
    EXPECT_EQ(right("città", 2), "tà");
    EXPECT_EQ(right("città", 9), "città");
    EXPECT_EQ(right("città", 0), "");
    EXPECT_EQ(mid("201403", 5, 2), "03");
    EXPECT_EQ(mid("Però sì", 4), "ò sì");
    EXPECT_EQ(mid("Però sì", 4, 3), "ò s");
    EXPECT_EQ(mid("abc", 7, 2), "");
    EXPECT_EQ(mid("abc", 2, 0), "");
    EXPECT_THROW(mid("abc", 0, 1), std::out_of_range);
}

TEST(Text, TrimAndPadTouchOnlyBlanks) {
    EXPECT_EQ(trim("  12 3  "), "12 3");
    EXPECT_EQ(trim("\t12\t"), "\t12\t");
    EXPECT_EQ(ltrim("  a "), "a ");
    EXPECT_EQ(rtrim("  a "), "  a");
    EXPECT_EQ(trim("    "), "");
    EXPECT_EQ(padLeft("7", 3), "  7");
    EXPECT_EQ(padLeft("123", 3), "123");
    EXPECT_EQ(padLeft("1234", 3), "1234");
    EXPECT_EQ(padRight("Età", 5), "Età  ");
    EXPECT_EQ(charCount(padRight("Età", 5)), 5u);
}

TEST(Text, ValReadsTheLeadingNumber) {
    EXPECT_DOUBLE_EQ(val("1.234,56"), 1.234);
    EXPECT_DOUBLE_EQ(val("1234.56"), 1234.56);
    EXPECT_DOUBLE_EQ(val("  12 34"), 1234);
    EXPECT_DOUBLE_EQ(val("\t1\r\n2"), 12);
    EXPECT_DOUBLE_EQ(val("- 3.5x"), -3.5);
    EXPECT_DOUBLE_EQ(val("+.5"), 0.5);
    EXPECT_DOUBLE_EQ(val("12abc"), 12);
    EXPECT_DOUBLE_EQ(val("1.5E2"), 150);
    EXPECT_DOUBLE_EQ(val("25d-1"), 2.5);
    EXPECT_DOUBLE_EQ(val("3e"), 3);
    EXPECT_DOUBLE_EQ(val("3e+x"), 3);
    EXPECT_DOUBLE_EQ(val("1e-400"), 0);
    EXPECT_EQ(val("abc"), 0);
    EXPECT_EQ(val(""), 0);
    EXPECT_EQ(val("-"), 0);
    EXPECT_EQ(val("."), 0);
    EXPECT_EQ(val("&H1F"), 0);
    EXPECT_THROW(val("1e400"), std::overflow_error);
}

TEST(Text, NamesAndQuoting) {
    EXPECT_TRUE(contains("K&U", "&"));
    EXPECT_FALSE(contains("KU", "&"));
    EXPECT_TRUE(equalsNoCase("PCLocal", "pclOCAL"));
    EXPECT_FALSE(equalsNoCase("PCLocal", "PCLocal2"));
    EXPECT_FALSE(equalsNoCase("Età", "ETÀ"));  // letters beyond ASCII are compared as they are
    EXPECT_EQ(sqlText("L'Aquila"), "'L''Aquila'");
    EXPECT_EQ(sqlText(""), "''");
    EXPECT_EQ(sqlText("''"), "''''''");
}
