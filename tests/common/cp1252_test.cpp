#include "common/cp1252.h"

#include <gtest/gtest.h>

using namespace zt;

TEST(Cp1252, EncodesTheCodePage) {
    EXPECT_EQ(toCp1252("Età 10€ “ok” – Œ Ÿ ™"),
              "Et\xE0 10\x80 \x93ok\x94 \x96 \x8C \x9F \x99");
    EXPECT_EQ(toCp1252("\u00A0\u00FF"), "\xA0\xFF");
    EXPECT_EQ(toCp1252("Ā 中 😀"), "? ? ?");                // not in the code page
    EXPECT_EQ(toCp1252("\u0080", '_'), "_");               // a C1 control that 0x80 does not hold
    EXPECT_EQ(toCp1252("a\xFF" "b\xC3"), "a?b?");          // invalid and cut-short UTF-8
    EXPECT_EQ(toCp1252("\xC0\xAF\xED\xA0\x80"), "?????");  // overlong form, surrogate
}

TEST(Cp1252, EveryByteSurvivesARoundTrip) {
    EXPECT_EQ(fromCp1252("\x80\x85\x8A\x99\x9F"), "€…Š™Ÿ");
    EXPECT_EQ(fromCp1252("\x81\x8D"), "\u0081\u008D");
    EXPECT_EQ(fromCp1252("Et\xE0"), "Età");
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    EXPECT_EQ(toCp1252(fromCp1252(all)), all);
}
