#include "exact/point_summer.h"

#include "toolkit/cell_table.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

// Decimals of every scale, some whole, some with many places, some
// written with exponents: each rescales the sums before it. Every seventh
// has 25 digits, more than a machine word holds.
std::vector<Decimal> mixedDecimals(unsigned seed, size_t count) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<long> digits(-99999, 99999), exponent(-7, 3);
    std::vector<Decimal> values;
    for (size_t k = 0; k < count; ++k) {
        mpz_class value = digits(random);
        if (k % 7 == 3)
            value = value * powerOfTen(20) + 1;
        values.push_back({value, exponent(random)});
    }
    return values;
}

// The sums term by term in fractions.
void expectSumsOf(const PointSums& sums, const std::vector<Decimal>& xs,
                  const std::vector<Decimal>& ys, const std::vector<Decimal>& ws, int degree) {
    std::vector<mpq_class> powers(size_t(2 * degree + 1)), weighted(size_t(degree + 1));
    mpq_class squares;
    for (size_t t = 0; t < xs.size(); ++t) {
        const mpq_class w = ws.empty() ? mpq_class(1) : ws[t].value(), y = ys[t].value();
        mpq_class power = w;
        for (size_t k = 0; k < powers.size(); ++k, power *= xs[t].value()) {
            powers[k] += power;
            if (k < weighted.size())
                weighted[k] += power * y;
        }
        squares += w * y * y;
    }
    EXPECT_EQ(sums.count, xs.size());
    for (size_t k = 0; k < powers.size(); ++k)
        EXPECT_EQ(sums.powers[k].value(), powers[k]) << "Σ w x^" << k;
    for (size_t k = 0; k < weighted.size(); ++k)
        EXPECT_EQ(sums.weighted[k].value(), weighted[k]) << "Σ w x^" << k << " y";
    EXPECT_EQ(sums.squares.value(), squares);
}

TEST(PointSummer, SumsPointsOfEveryScaleExactlyAndInAnyParts) {
    const int degree = 3;
    const std::vector<Decimal> xs = mixedDecimals(1, 60), ys = mixedDecimals(2, 60),
                               ws = mixedDecimals(3, 60);
    for (const bool weighted : {false, true}) {
        const std::vector<Decimal> w = weighted ? ws : std::vector<Decimal>();
        PointSummer whole(degree, weighted), first(degree, weighted), second(degree, weighted);
        for (size_t t = 0; t < xs.size(); ++t) {
            const Decimal one{1};
            whole.add(xs[t], ys[t], weighted ? ws[t] : one);
            (t < 25 ? first : second).add(xs[t], ys[t], weighted ? ws[t] : one);
        }
        expectSumsOf(whole.sums(), xs, ys, w, degree);
        first.add(second); // the second half's scales are not the first's
        expectSumsOf(first.sums(), xs, ys, w, degree);
        EXPECT_EQ(first.lowestX(), whole.lowestX());
        EXPECT_EQ(first.highestX(), whole.highestX());
    }
}

TEST(PointSummer, KeepsTheRangeAndCountsDifferentXUpToTheUnknowns) {
    PointSummer summer(2, false);
    for (const char* x : {"5", "5.00", "-0.25", "5", "1e1"})
        summer.add(*exactDecimal(x), Decimal{1});
    EXPECT_EQ(summer.distinctXs(), 3u) << "5 and 5.00 are one x";
    EXPECT_EQ(summer.lowestX(), mpq_class(-1, 4));
    EXPECT_EQ(summer.highestX(), 10);
    summer.add(*exactDecimal("7"), Decimal{1});
    EXPECT_EQ(summer.distinctXs(), 3u) << "three x are all a parabola asks for";
}

// Enough rows that they are summed on every core: an unread cell in a later
// part still stops the points where it stands.
TEST(SummedPoints, ManyRowsAreSummedInPartsAndStopAtTheFirstUnreadCell) {
    const int count = 5000;
    CellTable table(2, count + 1);
    std::vector<Decimal> xs, ys;
    std::vector<int> rows;
    for (int k = 0; k < count; ++k) {
        const std::string x = std::to_string(k % 97) + "." + std::to_string(k % 13),
                          y = std::to_string(k * 7 % 101) + "e-" + std::to_string(k % 5);
        table.setCell(0, k + 1, x);
        table.setCell(1, k + 1, y);
        xs.push_back(*exactDecimal(x));
        ys.push_back(*exactDecimal(y));
        rows.push_back(k + 1);
    }
    const auto summed = summedPoints(table, rows, 2);
    ASSERT_TRUE(summed->sums);
    expectSumsOf(*summed->sums, xs, ys, {}, 2);
    EXPECT_EQ(summed->rows.size(), size_t(count));

    table.setCell(1, 4001, "none");
    const auto stopped = summedPoints(table, rows, 2);
    ASSERT_TRUE(stopped->unread);
    EXPECT_EQ(*stopped->unread, std::make_pair(4001, 1));
    EXPECT_EQ(stopped->rows.size(), 4000u);
    EXPECT_FALSE(stopped->sums);
}

} // namespace
