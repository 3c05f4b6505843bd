#include "toolkit/conversions.h"
#include "toolkit/errors.h"
#include "toolkit/message_text.h"

#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <random>
#include <thread>
#include <vector>

namespace {

struct FloatText {
    double value;
    const char* text;
};

class FloatToStrTest : public ::testing::TestWithParam<FloatText> {};

TEST_P(FloatToStrTest, WritesFifteenSignificantDigits) {
    EXPECT_EQ(FloatToStr(GetParam().value), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, FloatToStrTest,
    ::testing::Values(
        FloatText{0, "0"}, FloatText{-0.0, "0"}, FloatText{100, "100"}, FloatText{-2, "-2"},
        FloatText{0.1, "0.1"}, FloatText{2.5, "2.5"}, FloatText{1.0 / 3, "0.333333333333333"},
        FloatText{2.0 / 3, "0.666666666666667"}, FloatText{double(0.1f), "0.100000001490116"},
        FloatText{double(0.1f) * double(0.1f), "0.0100000002980232"}, FloatText{0.0001, "0.0001"},
        FloatText{0.00001, "1E-5"}, FloatText{0.000015, "1.5E-5"}, FloatText{1.5e-7, "1.5E-7"},
        FloatText{999999999999999, "999999999999999"}, FloatText{1e15, "1E15"},
        FloatText{999999999999999.9, "1E15"}, FloatText{-2.5e15, "-2.5E15"},
        FloatText{1e20, "1E20"}, FloatText{1e100, "1E100"}, FloatText{1e-100, "1E-100"},
        FloatText{998003002, "998003002"}, FloatText{0.3, "0.3"}, FloatText{0.1 + 0.2, "0.3"},
        FloatText{0.7 * 9, "6.3"}));

TEST(FloatToStr, RefusesValuesWithoutText) {
    EXPECT_THROW(FloatToStr(std::numeric_limits<double>::infinity()), EMathError);
    EXPECT_THROW(FloatToStr(-std::numeric_limits<double>::infinity()), EMathError);
    EXPECT_THROW(FloatToStr(std::nan("")), EMathError);
}

struct TextFloat {
    const char* text;
    double value;
};

class StrToFloatTest : public ::testing::TestWithParam<TextFloat> {};

TEST_P(StrToFloatTest, ReadsTheNumber) {
    const double value = StrToFloat(GetParam().text);
    EXPECT_EQ(value, GetParam().value);
    EXPECT_EQ(std::signbit(value), std::signbit(GetParam().value));
}

INSTANTIATE_TEST_SUITE_P(
    Texts, StrToFloatTest,
    ::testing::Values(TextFloat{"1", 1}, TextFloat{"1.", 1}, TextFloat{".5", 0.5},
                      TextFloat{"-1.5", -1.5}, TextFloat{"+2", 2}, TextFloat{" 2 ", 2},
                      TextFloat{"1e3", 1000}, TextFloat{"1E-3", 0.001}, TextFloat{"1e+3", 1000},
                      TextFloat{"-0", -0.0}, TextFloat{"0.100000001490116", 0.100000001490116},
                      TextFloat{"1e-400", 0.0}, TextFloat{"-1e-400", -0.0},
                      TextFloat{"0.0000001e-320", 0.0}, TextFloat{"4.9e-324", 4.9e-324},
                      TextFloat{"1.7976931348623157e308", 1.7976931348623157e308},
                      TextFloat{"007", 7}, TextFloat{"0e999999999999", 0}));

class StrToFloatRefusesTest : public ::testing::TestWithParam<const char*> {};

TEST_P(StrToFloatRefusesTest, RaisesTheConversionError) {
    try {
        StrToFloat(GetParam());
        FAIL() << "accepted '" << GetParam() << "'";
    } catch (const EConvertError& error) {
        EXPECT_EQ(error.what(), quotedText(GetParam()) + " is not a valid floating point value");
    }
}

INSTANTIATE_TEST_SUITE_P(Texts, StrToFloatRefusesTest,
                         ::testing::Values("", " ", "\t2", "2\t", "inf", "nan", "1,5", "0x10", "1e",
                                           "e5", ".", "-", "+", "1.5.5", "--1", "+-1", "1 2", "1e+",
                                           "abc", "\xd9\xa1"));

// A number beyond what a double holds is a number still: the message says so.
TEST(StrToFloat, SaysWhenANumberIsBeyondTheRangeOfADouble) {
    for (const char* text : {"1e400", "-1e400", "1.797693134862316E308"}) {
        try {
            StrToFloat(text);
            ADD_FAILURE() << "accepted " << text;
        } catch (const EConvertError& error) {
            EXPECT_EQ(error.what(), quotedText(text) + " is beyond the range of a double");
        }
    }
}

TEST(StrToFloat, QuotesALongTextOnlyInPart) {
    const std::string text = std::string(39, 'x') + "\xc3\xa9" + std::string(5000, 'y');
    try {
        StrToFloat(text);
        FAIL();
    } catch (const EConvertError& error) {
        EXPECT_EQ(error.what(), "'\u2068" + std::string(39, 'x') +
                                    "\u2026\u2069' is not a valid floating point value");
    }
}

TEST(StrToIntDef, ReadsSigned32BitIntegers) {
    EXPECT_EQ(StrToIntDef("3", -1), 3);
    EXPECT_EQ(StrToIntDef(" 3 ", -1), 3);
    EXPECT_EQ(StrToIntDef("+3", -1), 3);
    EXPECT_EQ(StrToIntDef("-5", -1), -5);
    EXPECT_EQ(StrToIntDef("2147483647", -1), 2147483647);
    EXPECT_EQ(StrToIntDef("-2147483648", -1), std::numeric_limits<int>::min());
}

TEST(StrToIntDef, GivesTheDefaultForAnythingElse) {
    for (const char* text : {"", " ", "abc", "3.0", "1e2", "2147483648", "-2147483649",
                             "99999999999999999999", "+-5", "--5", "\t3", "3\t", "- 3"})
        EXPECT_EQ(StrToIntDef(text, -1), -1) << text;
}

TEST(Trim, DropsBlanksAndControlCharactersAtBothEnds) {
    EXPECT_EQ(Trim(" a "), "a");
    EXPECT_EQ(Trim("\t\n a b\r\x01"), "a b");
    EXPECT_EQ(Trim("   "), "");
    EXPECT_EQ(Trim(""), "");
    EXPECT_EQ(Trim("\x7f"), "\x7f");
    EXPECT_EQ(Trim(" \xc3\xa9 "), "\xc3\xa9");
}

TEST(IntToStr, WritesPlainDecimal) {
    EXPECT_EQ(IntToStr(0), "0");
    EXPECT_EQ(IntToStr(-12), "-12");
}

} // namespace
