#include "exact/rounded_numbers.h"

#include "exact/exact_number.h"
#include "toolkit/errors.h"

#include <gtest/gtest.h>

#include <random>

namespace {

mpq_class number(const std::string& text) {
    return exactDecimal(text).value().value();
}

// Every operation of the words is the exact result rounded once, as the
// fractions round it: k from 2 to 15, chopping and rounding, over operands
// of all k digits a few decades apart, or very many, and of both signs.
TEST(DecimalNumbers, EachOperationIsTheExactResultRoundedOnce) {
    std::mt19937_64 draw(20261210);
    for (int k = Arithmetic::kMinDecimalDigits; k <= Arithmetic::kMaxDecimalDigits; ++k) {
        for (const bool chopping : {false, true}) {
            const Arithmetic arithmetic{Arithmetic::Kind::decimal, k, chopping};
            const DecimalNumbers numbers(arithmetic);
            std::uniform_int_distribution<std::int64_t> digits(-((std::int64_t(1) << 62) - 1),
                                                               (std::int64_t(1) << 62) - 1);
            std::uniform_int_distribution<int> near(-4, 4), far(-40, 40), spread(0, 3);
            const auto drawn = [&] {
                const int exponent = spread(draw) == 0 ? far(draw) : near(draw);
                return numbers.from(mpq_class(mpz_class(long(digits(draw) >> spread(draw) * 15))) *
                                    (exponent >= 0 ? mpq_class(powerOfTen(exponent))
                                                   : mpq_class(1, powerOfTen(-exponent))));
            };
            for (int trial = 0; trial < 2000; ++trial) {
                const DecimalWord a = drawn(), b = drawn();
                const mpq_class x = DecimalNumbers::exact(a), y = DecimalNumbers::exact(b);
                ASSERT_EQ(DecimalNumbers::exact(numbers.add(a, b)), roundedIn(arithmetic, x + y))
                    << arithmetic.name() << ": " << x << " + " << y;
                ASSERT_EQ(DecimalNumbers::exact(numbers.multiply(a, b)),
                          roundedIn(arithmetic, x * y))
                    << arithmetic.name() << ": " << x << " × " << y;
                if (b.digits != 0) {
                    ASSERT_EQ(DecimalNumbers::exact(numbers.divide(a, b)),
                              roundedIn(arithmetic, x / y))
                        << arithmetic.name() << ": " << x << " ÷ " << y;
                }
            }
        }
    }
}

// Reading in: decimals as a fit writes them, whole numbers past a word,
// fractions, each as the fractions round them.
TEST(DecimalNumbers, ValuesRoundInAsFractionsRoundThem) {
    const char* texts[] = {"0.003000", "-6.130",      "1.23456789012345E-100",
                           "9.9995",   "-9.99949999", "123456789012345678901234567890",
                           "1E+300",   "0.125",       "-2.5E-7",
                           "0"};
    for (const int k : {3, 4, 15})
        for (const bool chopping : {false, true}) {
            const Arithmetic arithmetic{Arithmetic::Kind::decimal, k, chopping};
            const DecimalNumbers numbers(arithmetic);
            for (const char* text : texts)
                EXPECT_EQ(DecimalNumbers::exact(numbers.from(number(text))),
                          roundedIn(arithmetic, number(text)))
                    << arithmetic.name() << ": " << text;
            for (const mpq_class& fraction :
                 {mpq_class(2, 3), mpq_class(-1, 7), mpq_class(1, 3 << 20)})
                EXPECT_EQ(DecimalNumbers::exact(numbers.from(fraction)),
                          roundedIn(arithmetic, fraction))
                    << arithmetic.name() << ": " << fraction;
        }
}

// The classic traps: a carry into a new decade, a tie, and a number far
// below the other that chopping still takes from the last place.
TEST(DecimalNumbers, CarriesTiesAndFarSmallerNumbers) {
    const DecimalNumbers rounding({Arithmetic::Kind::decimal, 4, false});
    const DecimalNumbers chopping({Arithmetic::Kind::decimal, 4, true});
    const auto value = [](const DecimalWord& word) { return DecimalNumbers::exact(word); };
    EXPECT_EQ(value(rounding.add(rounding.from(number("9.999")), rounding.from(number("0.0005")))),
              10);
    EXPECT_EQ(
        value(rounding.multiply(rounding.from(number("0.5")), rounding.from(number("2.001")))),
        number("1.001"))
        << "1.0005, a tie, goes away from zero";
    const DecimalWord tiny = chopping.from(number("-1E-30"));
    EXPECT_EQ(value(chopping.add(chopping.from(1000), tiny)), number("999.9"));
    EXPECT_EQ(value(chopping.add(chopping.from(1234), tiny)), 1233);
    EXPECT_EQ(value(rounding.add(rounding.from(1000), tiny)), 1000);
}

TEST(BinaryNumbers, AResultBeyondTheRangeRaisesTheOverflowError) {
    const BinaryNumbers<float> singles{{Arithmetic::Kind::singles}};
    EXPECT_THROW(singles.multiply(3e38f, 10), Exception);
    EXPECT_EQ(singles.add(1, 0x1p-25f), 1) << "each operation rounded to 24 bits";
    EXPECT_THROW(singles.from(mpq_class(number("1E+39"))), Exception);
}

} // namespace
