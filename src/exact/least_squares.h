#pragma once

#include "exact/exact_number.h"

#include <gmpxx.h>

#include <atomic>
#include <map>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

class CellTable;
class PackedTable;

// One point's texts read exactly: x, f(x) and its weight w (blank 1); or
// the column of the first that least squares does not take (0 for x, 1
// for f(x), 2 for w: no number, or a weight not above 0), -1 when none.
struct ExactPoint {
    std::optional<Decimal> x, y, w;
    int unreadColumn() const;
};
ExactPoint exactPoint(std::string_view x, std::string_view y, std::string_view w);

// The points of the rows `rows` of a point table, x and f(x) read exactly,
// and where the table has a third column, each point's weight w (blank 1).
struct ExactPoints {
    std::vector<int> rows;
    std::vector<Decimal> xs, ys, ws; // ws: empty without weights
    // The first cell the exact reader does not take, or a weight that is
    // not above 0: its row, and its column (0 for x, 1 for f(x), 2 for w);
    // then the points stop before it.
    std::optional<std::pair<int, int>> unread;
};
ExactPoints exactPoints(const CellTable& sgdResult, const std::vector<int>& rows);

// The sums a least-squares polynomial of degree n is made from, exactly,
// over points (x, y): Σ x^k for k = 0 .. 2n, Σ x^k y for k = 0 .. n, and
// Σ y². The normal equations are row i: Σ_j c_j Σ x^(i+j) = Σ x^i y. With
// weights every term of every sum is weighed: Σ w x^k, Σ w x^k y, Σ w y².
struct PointSums {
    size_t count = 0;
    std::vector<Decimal> powers;   // Σ x^k
    std::vector<Decimal> weighted; // Σ x^k y
    Decimal squares;               // Σ y²
};

// Exact sums cost each point 2n + 1 powers, each a little dearer than the
// one before as its digits grow; the solve of the normal equations costs
// about (n + 1)³ operations on numbers of (2n + 1) times the digits of x.
// A unit is about 20 ns of one core here: beyond this many the window would
// wait several seconds, for a degree no data set of that many points
// supports. A million points at degree 40 pass, and any degree the table
// takes with a few hundred points.
inline constexpr double kMaxSumWork = 2e8;
double sumWork(size_t points, int degree);

// The points of `rows` read exactly, each once, and summed for `degree` on
// every core: nothing summed when a cell is unread; nothing read when the
// work would be beyond kMaxSumWork, so that the refusal comes at once.
struct SummedPoints {
    std::shared_ptr<const PackedTable> table; // the texts read, packed
    bool tooMuchWork = false;
    std::vector<int> rows; // read, up to the first unread
    // As ExactPoints: the first cell not read, and no sums.
    std::optional<std::pair<int, int>> unread;
    bool weighted = false;
    size_t distinctXs = 0; // counted up to the degree plus one
    mpq_class lowestX, highestX;
    std::optional<PointSums> sums;
};
// How far a reading has gone, for a window that shows it, and a request to
// stop it, from another thread.
struct SumProgress {
    std::atomic<size_t> rowsRead{0};
    std::atomic<bool> stop{false};
};
// The same, read and summed once for the same texts, rows and degree,
// however many ask and from whichever thread: the solve of a click and its
// exact check, which run side by side, share one reading of the points.
// With `progress`, nothing when it was stopped, and nothing kept of it.
std::shared_ptr<const SummedPoints> summedPoints(const CellTable& sgdResult,
                                                 const std::vector<int>& rows, int degree,
                                                 SumProgress* progress = nullptr);

// Coefficients held at values, by power (0 for A): the fit solves the normal
// equations of the others, the free ones, with the held terms moved to the
// right-hand side.
using HeldCoefficients = std::map<size_t, Decimal>;

// The solution of the normal equations, lowest power first, held values
// included, settled up the precision ladder (precision_ladder.h); nothing
// when it does not settle or the equations are singular (fewer different x
// than free coefficients).
std::optional<std::vector<Decimal>> leastSquares(const PointSums& sums,
                                                 const HeldCoefficients& held = {});

// The diagonal of the inverse of the free coefficients' normal matrix
// (Σ x^(i+j)), settled as the coefficients are, 0 for a held one: times the
// residual variance, the variance of each coefficient. Nothing when it does
// not settle or the matrix is singular.
std::optional<std::vector<Decimal>> inverseDiagonal(const PointSums& sums,
                                                    const HeldCoefficients& held = {});

// Standard errors and bands are worked out only up to this degree: beyond
// it no set of points pins a curve down, the bands' variances cancel past
// what doubles hold, and the inverse normal matrix takes seconds.
inline constexpr int kMaxUncertaintyDegree = 20;

// The inverse of the normal matrix in powers of t = (x - center) / scale,
// row-major, in doubles: the variance of the fitted value at x is s² vᵀGv
// with v = (1, t, t², ...), and in t, over [-1, 1], it keeps the digits that
// powers of x itself would cancel. Empty when the matrix is singular.
// With held coefficients the free ones span fewer polynomials: with F the
// free powers of x written in t, rows of M, G is Mᵀ (M S Mᵀ)⁻¹ M.
std::vector<double> centredInverse(const PointSums& sums, const mpq_class& center,
                                   const mpq_class& scale, const HeldCoefficients& held = {});

// Σ (p(x) - y)² for the polynomial with these coefficients: exactly, from
// the sums alone.
mpq_class squaredError(const PointSums& sums, const std::vector<mpq_class>& coefficients);
// Σ w (y - mean y)², exactly, the mean weighed too.
mpq_class totalSquares(const PointSums& sums);
