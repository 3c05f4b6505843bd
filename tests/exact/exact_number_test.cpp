#include "exact/exact_number.h"

#include <gtest/gtest.h>

namespace {

// A text and its value, written as GMP reads a fraction: "1/10".
using Case = std::pair<const char*, const char*>;

class ExactDecimal : public ::testing::TestWithParam<Case> {};

TEST_P(ExactDecimal, ReadsTheTextsStrToFloatReadsWithoutRounding) {
    const auto decimal = exactDecimal(GetParam().first);
    ASSERT_TRUE(decimal) << GetParam().first;
    EXPECT_EQ(decimal->value(), mpq_class(GetParam().second)) << GetParam().first;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ExactDecimal,
    ::testing::Values(Case{"0.1", "1/10"}, Case{" -2.50 ", "-5/2"}, Case{"+3", "3"},
                      Case{".5", "1/2"}, Case{"5.", "5"}, Case{"1E3", "1000"},
                      Case{"12.5e-2", "1/8"}, Case{"000", "0"}, Case{"-0", "0"},
                      Case{"0.100000001490116", "25000000372529/250000000000000"},
                      Case{"2.5E-3", "1/400"}, Case{"0.0E99999999", "0"}));

TEST(ExactDecimal, KeepsTheDigitsAndThePowerOfTen) {
    const auto decimal = exactDecimal(" -12.500e3 ");
    ASSERT_TRUE(decimal);
    EXPECT_EQ(decimal->digits, -125);
    EXPECT_EQ(decimal->exponent, 2);
    EXPECT_EQ(decimal->value(), -12500);
}

TEST(ExactDecimalRefuses, TextThatIsNoNumberOrBeyondTheLimits) {
    for (const char* text :
         {"", " ", "abc", "1e", "1e+", "--1", "1.2.3", "0x10", "inf", "nan", "1 2", "\t1", "1E401",
          "1E-401", "1234567890123456789012345678901234567890.1"})
        EXPECT_FALSE(exactDecimal(text)) << text;
    EXPECT_TRUE(exactDecimal("1234567890123456789012345678901234567890"));
    EXPECT_TRUE(exactDecimal("1E-400"));
}

class RoundedText : public ::testing::TestWithParam<Case> {};

TEST_P(RoundedText, RoundsToFifteenDigitsAsFloatToStrWrites) {
    EXPECT_EQ(roundedText(mpq_class(GetParam().first)), GetParam().second);
}

const std::string tenTo400 = "1" + std::string(400, '0');
const std::string thirdOf10To400 = "1/3" + std::string(400, '0');

INSTANTIATE_TEST_SUITE_P(
    Values, RoundedText,
    ::testing::Values(Case{"0", "0"}, Case{"1/10", "0.1"}, Case{"-2/3", "-0.666666666666667"},
                      Case{"1/3", "0.333333333333333"}, Case{"2593742460", "2593742460"},
                      Case{"1/100000", "1E-5"}, Case{"999999999999999500", "1E18"},
                      Case{"1000000000000005000", "1E18"}, // a tie goes to the even digit
                      Case{"1000000000000015000", "1.00000000000002E18"},
                      Case{tenTo400.c_str(), "1E400"},
                      Case{thirdOf10To400.c_str(), "3.33333333333333E-401"}));

TEST(RoundedText, TakesFewerDigitsForSentences) {
    EXPECT_EQ(roundedText(mpq_class(17534326171875, 10000000000), 6), "1753.43");
    EXPECT_EQ(roundedText(mpq_class(-999999, 10), 5), "-100000");
}

TEST(DecimalArithmetic, SubtractsComparesAndRoundsLongDecimals) {
    const Decimal a = *exactDecimal("1.5"), b = *exactDecimal("0.25E1");
    EXPECT_EQ((a - b).value(), -1);
    EXPECT_EQ(compareMagnitude(a, b), -1);
    EXPECT_EQ(compareMagnitude(a - b, *exactDecimal("-1")), 0);
    EXPECT_EQ(compareMagnitude(Decimal{}, a), -1);
    // Rounded as the fraction with the same value is rounded.
    for (const char* text : {"123456789012345678901234567890", "-0.000999999999999999999",
                             "9.999999999999995", "1.000000000000025", "1.000000000000015", "7",
                             "1E-400", "-3.33333333333333333333E-300"}) {
        const Decimal value = *exactDecimal(text);
        EXPECT_EQ(roundedText(value), roundedText(value.value())) << text;
        EXPECT_EQ(roundedText(value, 6), roundedText(value.value(), 6)) << text;
    }
    EXPECT_EQ(roundedText(Decimal{mpz_class(1000), -3}), "1") << "trailing zeros in the digits";
}

TEST(WholeText, KeepsADecimalOfAnyLengthExactly) {
    const Decimal long_{mpz_class(std::string(300, '7') + "1", 10), -512};
    const Decimal back = fromWholeText(wholeText(long_));
    EXPECT_EQ(back.digits, long_.digits);
    EXPECT_EQ(back.exponent, -512);
    EXPECT_EQ(wholeText({-25, 3}), "-25e3");
}

TEST(SquareRootText, RoundsCorrectlyAtAnyScale) {
    EXPECT_EQ(squareRootText(2), "1.4142135623731") << "1.41421356237309505 rounds up";
    EXPECT_EQ(squareRootText(4), "2");
    EXPECT_EQ(squareRootText(mpq_class(1, 100)), "0.1");
    EXPECT_EQ(squareRootText(exactDecimal("2E-301")->value()), "4.47213595499958E-151");
    EXPECT_EQ(squareRootText(mpq_class(2 * powerOfTen(600)), 6), "1.41421E300");
    EXPECT_EQ(squareRootText(0), "0");
    // 1.25² = 1.5625: to two digits a tie, which goes to the even 1.2.
    EXPECT_EQ(squareRootText(mpq_class(15625, 10000), 2), "1.2");
    EXPECT_EQ(squareRootText(mpq_class(15626, 10000), 2), "1.3");
}

} // namespace
