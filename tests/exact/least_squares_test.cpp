#include "exact/least_squares.h"

#include "exact/point_summer.h"

#include "toolkit/cell_table.h"

#include <gtest/gtest.h>

#include <thread>

#include <string>
#include <vector>

namespace {

std::vector<Decimal> decimals(const std::vector<std::string>& texts) {
    std::vector<Decimal> values;
    for (const std::string& text : texts)
        values.push_back(*exactDecimal(text));
    return values;
}

// The sums of the points, added one at a time.
PointSums pointSums(const std::vector<Decimal>& xs, const std::vector<Decimal>& ys, int degree) {
    PointSummer summer(degree, false);
    for (size_t k = 0; k < xs.size(); ++k)
        summer.add(xs[k], ys[k]);
    return summer.sums();
}

std::vector<mpq_class> rationals(const std::vector<Decimal>& values) {
    std::vector<mpq_class> out;
    for (const Decimal& value : values)
        out.push_back(value.value());
    return out;
}

// The normal equations solved in fractions, by the book: what the fit must be.
std::vector<mpq_class> solvedByHand(const std::vector<mpq_class>& xs,
                                    const std::vector<mpq_class>& ys, int degree) {
    const size_t n = size_t(degree) + 1;
    std::vector<std::vector<mpq_class>> rows(n, std::vector<mpq_class>(n + 1));
    for (size_t t = 0; t < xs.size(); ++t) {
        std::vector<mpq_class> powers(2 * n, 1);
        for (size_t k = 1; k < 2 * n; ++k)
            powers[k] = powers[k - 1] * xs[t];
        for (size_t i = 0; i < n; ++i) {
            for (size_t j = 0; j < n; ++j)
                rows[i][j] += powers[i + j];
            rows[i][n] += powers[i] * ys[t];
        }
    }
    for (size_t i = 0; i < n; ++i)
        for (size_t r = 0; r < n; ++r)
            if (r != i) {
                const mpq_class factor = rows[r][i] / rows[i][i];
                for (size_t c = i; c <= n; ++c)
                    rows[r][c] -= factor * rows[i][c];
            }
    std::vector<mpq_class> c(n);
    for (size_t i = 0; i < n; ++i)
        c[i] = rows[i][n] / rows[i][i];
    return c;
}

mpq_class polynomialAt(const std::vector<mpq_class>& c, const mpq_class& x) {
    mpq_class value;
    for (size_t i = c.size(); i-- > 0;)
        value = value * x + c[i];
    return value;
}

TEST(PointSums, AreTheExactSumsOfTheDecimalTexts) {
    const auto xs = decimals({"0.1", "-2.5", "1e-3", "7"}),
               ys = decimals({"3", "0.7", "-1.25", "2"});
    const PointSums sums = pointSums(xs, ys, 2);
    ASSERT_EQ(sums.powers.size(), 5u);
    ASSERT_EQ(sums.weighted.size(), 3u);
    for (size_t k = 0; k < 5; ++k) {
        mpq_class expected;
        for (const Decimal& x : xs) {
            mpq_class power = 1;
            for (size_t p = 0; p < k; ++p)
                power *= x.value();
            expected += power;
        }
        EXPECT_EQ(sums.powers[k].value(), expected) << "Σ x^" << k;
    }
    mpq_class weighted2, squares;
    for (size_t t = 0; t < xs.size(); ++t) {
        weighted2 += xs[t].value() * xs[t].value() * ys[t].value();
        squares += ys[t].value() * ys[t].value();
    }
    EXPECT_EQ(sums.weighted[2].value(), weighted2);
    EXPECT_EQ(sums.squares.value(), squares);
}

TEST(LeastSquares, ANoiselessQuadraticComesOutExactly) {
    std::vector<std::string> xTexts, yTexts;
    for (int k = 0; k < 20; ++k) {
        const double x = -3 + 0.5 * k;
        xTexts.push_back(std::to_string(x));
        yTexts.push_back(std::to_string(1 + 2 * x + 3 * x * x));
    }
    const PointSums sums = pointSums(decimals(xTexts), decimals(yTexts), 2);
    const auto fit = leastSquares(sums);
    ASSERT_TRUE(fit);
    EXPECT_EQ(rationals(*fit), (std::vector<mpq_class>{1, 2, 3}));
    EXPECT_EQ(squaredError(sums, rationals(*fit)), 0);
}

TEST(LeastSquares, ANoisySetGivesTheFractionsTheNormalEquationsHold) {
    const auto xs = decimals({"0", "1", "2", "3", "4", "5", "6.5"});
    const auto ys = decimals({"1.1", "2.9", "9.2", "19.1", "32.8", "51.3", "88"});
    const std::vector<mpq_class> exact = solvedByHand(rationals(xs), rationals(ys), 2);
    const PointSums sums = pointSums(xs, ys, 2);
    const auto fit = leastSquares(sums);
    ASSERT_TRUE(fit);
    for (size_t k = 0; k < 3; ++k) // 40 digits of the largest
        EXPECT_LT(abs((*fit)[k].value() - exact[k]), mpq_class(1, powerOfTen(37))) << k;

    mpq_class error, mean, total;
    for (size_t t = 0; t < xs.size(); ++t) {
        const mpq_class residual = polynomialAt(exact, xs[t].value()) - ys[t].value();
        error += residual * residual;
        mean += ys[t].value();
    }
    mean /= long(ys.size());
    for (const Decimal& y : ys)
        total += (y.value() - mean) * (y.value() - mean);
    EXPECT_EQ(squaredError(sums, exact), error);
    EXPECT_EQ(totalSquares(sums), total);
}

TEST(LeastSquares, AHeldCoefficientKeepsItsValueAndTheOthersFitWhatIsLeft) {
    const auto xs = decimals({"0", "1", "2", "3", "4", "5", "6.5"});
    const auto ys = decimals({"1.1", "2.9", "9.2", "19.1", "32.8", "51.3", "88"});
    // B held at 1: A and C fit y - x by 1 and x², two equations by hand.
    mpq_class s0, s2, s4, r0, r2;
    for (size_t t = 0; t < xs.size(); ++t) {
        const mpq_class x = xs[t].value(), x2 = x * x, rest = ys[t].value() - x;
        s0 += 1, s2 += x2, s4 += x2 * x2, r0 += rest, r2 += x2 * rest;
    }
    const mpq_class c = (s0 * r2 - s2 * r0) / (s0 * s4 - s2 * s2), a = (r0 - s2 * c) / s0;
    const PointSums sums = pointSums(xs, ys, 2);
    const HeldCoefficients held{{1, *exactDecimal("1")}};
    const auto fit = leastSquares(sums, held);
    ASSERT_TRUE(fit);
    EXPECT_EQ((*fit)[1].value(), 1);
    EXPECT_LT(abs((*fit)[0].value() - a), mpq_class(1, powerOfTen(37)));
    EXPECT_LT(abs((*fit)[2].value() - c), mpq_class(1, powerOfTen(37)));
    const auto diagonal = inverseDiagonal(sums, held);
    ASSERT_TRUE(diagonal);
    EXPECT_EQ((*diagonal)[1].value(), 0) << "a held value has no variance";
    const mpq_class varianceOfC = s0 / (s0 * s4 - s2 * s2); // times s²
    EXPECT_LT(abs((*diagonal)[2].value() - varianceOfC), varianceOfC / powerOfTen(37));
}

TEST(LeastSquares, ThroughTheOriginTheFittedValueVariesAsXSquared) {
    // y = Bx over (4, 3), (5, 4), (6, 4): var B = s² / Σx², var f(x) = s² x² / 77.
    const PointSums sums = pointSums(decimals({"4", "5", "6"}), decimals({"3", "4", "4"}), 1);
    const std::vector<double> inverse = centredInverse(sums, 5, 1, {{0, *exactDecimal("0")}});
    ASSERT_EQ(inverse.size(), 4u);
    for (const double t : {-1.0, 0.0, 1.0}) {
        const double form = inverse[0] + 2 * t * inverse[1] + t * t * inverse[3];
        EXPECT_NEAR(form, (5 + t) * (5 + t) / 77, 1e-15) << t;
    }
}

TEST(SummedPoints, TheSolveAndTheCheckShareOneReadingOfTheSamePoints) {
    CellTable table(2, 5);
    const char* cells[][2] = {{"0", "1.1"}, {"1", "2.9"}, {"2", "9.2"}, {"3", "19.1"}};
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 2; ++c)
            table.setCell(c, r + 1, cells[r][c]);
    const std::vector<int> rows = {1, 2, 3, 4};
    std::shared_ptr<const SummedPoints> fromThread;
    std::thread check([&] { fromThread = summedPoints(table, rows, 2); });
    const std::shared_ptr<const SummedPoints> fromSolve = summedPoints(table, rows, 2);
    check.join();
    EXPECT_EQ(fromThread, fromSolve) << "read and summed once";
    ASSERT_TRUE(fromSolve->sums);
    EXPECT_EQ(fromSolve->sums->weighted[2].value(),
              pointSums(decimals({"0", "1", "2", "3"}), decimals({"1.1", "2.9", "9.2", "19.1"}), 2)
                  .weighted[2]
                  .value());
    EXPECT_NE(summedPoints(table, rows, 1), fromSolve) << "another degree";
    table.setCell(1, 4, "19.2");
    const auto changed = summedPoints(table, rows, 2);
    EXPECT_NE(changed->sums->weighted[0].value(), fromSolve->sums->weighted[0].value());
}

TEST(SummedPoints, CountsTheDifferentXAndStopsAtACellItCannotRead) {
    CellTable table(2, 6);
    const char* cells[][2] = {{"1", "2"}, {"1.0", "3"}, {" 2 ", "4"}, {"1e1", "5"}, {"x", "6"}};
    for (int r = 0; r < 5; ++r)
        for (int c = 0; c < 2; ++c)
            table.setCell(c, r + 1, cells[r][c]);
    const auto read = summedPoints(table, {1, 2, 3, 4}, 3);
    EXPECT_EQ(read->rows, (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(read->distinctXs, 3u) << "1 and 1.0 are one x";
    EXPECT_EQ(read->lowestX, 1);
    EXPECT_EQ(read->highestX, 10);
    EXPECT_FALSE(read->unread);
    const auto stopped = summedPoints(table, {1, 5}, 3);
    ASSERT_TRUE(stopped->unread);
    EXPECT_EQ(*stopped->unread, std::make_pair(5, 0));
    EXPECT_FALSE(stopped->sums);
}

} // namespace
