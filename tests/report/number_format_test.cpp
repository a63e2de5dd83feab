#include <gtest/gtest.h>

#include "report/number_format.h"

using vormel::format_mask;

TEST(NumberText, StrHasLeadingBlankOnlyWhenNotNegative) {
    EXPECT_EQ(vormel::STR(5), " 5");
    EXPECT_EQ(vormel::STR(0), " 0");
    EXPECT_EQ(vormel::STR(-5), "-5");
    EXPECT_EQ(vormel::STR(1073741824), " 1073741824");
    EXPECT_EQ(vormel::TRIM(39), "39");
    EXPECT_EQ(vormel::TRIM(0.5), "0.5");
    EXPECT_EQ(vormel::TRIM(123456789012345678.0), "123456789012346000");  // 15 significant digits
}

TEST(NumberMask, FieldsAreRightAlignedAndWidenWhenTooNarrow) {
    EXPECT_EQ(format_mask("##", 7), " 7");
    EXPECT_EQ(format_mask("######", 123), "   123");
    EXPECT_EQ(format_mask("##", 12345), "12345");
    EXPECT_EQ(format_mask("## %", 7), " 7 %");
    EXPECT_EQ(format_mask("#### MB", 16384), "16384 MB");
    EXPECT_EQ(format_mask(" xlits=####", 12), " xlits=  12");
}

TEST(NumberMask, StarGivesFillCharacterAndTwoMorePositions) {
    EXPECT_EQ(format_mask("* ###   ", 5), "    5   ");
    EXPECT_EQ(format_mask("*0###", 42), "00042");
}

TEST(NumberMask, MinusSignTakesAPosition) {
    EXPECT_EQ(format_mask("###", -5), " -5");
    EXPECT_EQ(format_mask("##", -15), "-15");
    EXPECT_EQ(format_mask("#.##", -0.001), "0.00");
}

TEST(NumberMask, DecimalsRoundHalfToEvenOnTheDecimalDigits) {
    EXPECT_EQ(format_mask("#.##", 1.4949), "1.49");
    EXPECT_EQ(format_mask("#.##", 2.675), "2.68");  // binary 2.67499.. but decimal digits 2.675
    EXPECT_EQ(format_mask("#.##", 2.665), "2.66");
    EXPECT_EQ(format_mask("#.##", 0.125), "0.12");
    EXPECT_EQ(format_mask("#.##", 0.1251), "0.13");
    EXPECT_EQ(format_mask("#.#", 2.04), "2.0");
    EXPECT_EQ(format_mask("#.#", 9.96), "10.0");
    EXPECT_EQ(format_mask("###.#", 66.66666), " 66.7");
    EXPECT_EQ(format_mask("#", 2.5), "2");
    EXPECT_EQ(format_mask("#", 3.5), "4");
}

TEST(NumberMask, TimeTextPicksDecimalsBySize) {
    EXPECT_EQ(format_mask(" #.##", 3.14159), " 3.14");
    EXPECT_EQ(format_mask(" #.#", 42.27), " 42.3");
    EXPECT_EQ(format_mask(" #", 1234.4), " 1234");
}

TEST(NumberMask, RealsStoredIntoIntegersRoundHalfToEven) {
    EXPECT_EQ(vormel::round_half_even(2.5), 2);
    EXPECT_EQ(vormel::round_half_even(3.5), 4);
    EXPECT_EQ(vormel::round_half_even(-2.5), -2);
    EXPECT_EQ(vormel::round_half_even(2.4999), 2);
}
