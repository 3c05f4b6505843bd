#pragma once

#include "toolkit/cell_table.h"

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// The exact fit of a solve, in numbers. The solver works as the elimination
// by hand would, in single precision; the exact fit is the polynomial through
// the same points in exact arithmetic, and the comparison says whether the
// values the coefficient grid shows are that polynomial, and if not, by how
// much they miss. fitting/fit_report says it in words.

// The exact values of a polynomial of degree n at a table's points run to
// n times the digits of x, exponents spread out included; the check does
// not wait for more than this many multiplications of 64-bit words, summed
// over the Horner steps of all the points: about a second.
inline constexpr double kMaxEvaluationWork = 2e9;

// How far a shown value may stand from the exact one and still agree, as a
// power of ten relative to the scale of the numbers: 1E-5, where single
// precision keeps about 7 digits.
inline constexpr int kAgreementDigits = 5;

struct CoefficientCheck {
    std::string letter, shown, exact, difference; // difference: shown less exact
    bool off;
    // The significant digits the shown text has, and how many of them, from
    // the first, are the exact value's, rounded to as many: 7 of 15 after a
    // solve in single precision.
    int shownDigits = 0, agreeingDigits = 0;
};

struct PointCheck {
    // shownValue: the shown polynomial at x. miss: through the points, that
    // less f(x); in least squares the residual, f(x) less that.
    std::string x, fx, shownValue, miss;
    bool off;
    int row; // of the point table
};

// The points of a check. Through the points each is made with the check; in
// least squares each is made when it is asked for, so that a check of a
// million points formats only the rows a view shows.
class PointChecks {
  public:
    using Make = std::function<PointCheck(size_t index)>;
    PointChecks() = default;
    PointChecks(std::initializer_list<PointCheck> points) : made(points) {}
    PointChecks(size_t count, Make make) : count(count), make(std::move(make)) {}

    void push_back(PointCheck point) { made.push_back(std::move(point)); }
    size_t size() const { return make ? count : made.size(); }
    bool empty() const { return size() == 0; }
    PointCheck operator[](size_t index) const { return make ? make(index) : made[index]; }

    struct Iterator {
        const PointChecks* checks;
        size_t index;
        PointCheck operator*() const { return (*checks)[index]; }
        Iterator& operator++() { return ++index, *this; }
        bool operator!=(const Iterator& other) const { return index != other.index; }
    };
    Iterator begin() const { return {this, 0}; }
    Iterator end() const { return {this, size()}; }

  private:
    std::vector<PointCheck> made;
    size_t count = 0;
    Make make;
};

// Least squares: how closely the shown and the exact polynomial follow the
// points, from the exact sums; 15 significant digits, and the line beside
// Result in fewer.
struct FitStatistics {
    size_t points = 0;
    std::string shownSquares, exactSquares; // Σ (f(x) - p(x))², the squared error
    // 1 - that / Σ (f(x) - mean)², never "1" unless it is 1; "-" when all
    // f(x) agree.
    std::string shownR2, exactR2;
    std::string shownRms;          // sqrt(squared error / points)
    std::string lineR2, lineRms;   // six digits, R² more where six would read 1
    std::optional<size_t> largest; // the point with the largest residual
    std::string largestResidual;   // its magnitude, six digits
    // Of the exact fit: points less coefficients; the residual standard
    // deviation s = sqrt(squared error / degrees of freedom); the adjusted
    // R²; and each coefficient's standard error, s times the root of its
    // entry on the diagonal of the inverse normal matrix, and its t value,
    // the coefficient over that. "-" where there are no degrees of freedom,
    // or a standard error is 0; standard errors and t values "-" beyond
    // kMaxUncertaintyDegree (least_squares.h).
    long degreesOfFreedom = 0;
    std::string residualSd, lineSd, adjustedR2; // lineSd: six digits
    std::vector<std::string> standardErrors, tValues;
    // What the bands around the curve are drawn from, up to kMaxUncertaintyDegree
    // and with degrees of freedom: s, and the inverse normal matrix in powers
    // of t = (x - bandCenter) / bandScale (exact/least_squares.h); empty
    // without.
    double bandSd = 0, bandCenter = 0, bandScale = 1;
    std::vector<double> bandInverse;
};

// Why there is no exact fit to compare with.
struct NoExactFit {
    // fewDistinctX, tooManySums: least squares only.
    // tooLong: through the points, the values at the points would run to
    // `count` digits, too many to wait for.
    enum class Why { sharedX, unreadPoint, unsettled, fewDistinctX, tooManySums, tooLong } why;
    int degree = 0;
    std::vector<int> rows; // sharedX: the rows that share an x; unreadPoint: its row
    int col = 0;           // unreadPoint: 0 for x, 1 for f(x), 2 for w
    std::string text;      // sharedX: the x; unreadPoint: the cell's text
    size_t count = 0;      // fewDistinctX: the different x; tooManySums: the points
};

struct FitComparison {
    // noExactFit: rows share an x. unchecked: a number beyond what the check reads.
    enum class Verdict { agrees, off, noExactFit, unchecked };
    Verdict verdict;
    std::vector<CoefficientCheck> coefficients;
    PointChecks points;
    std::optional<NoExactFit> noFit;
    // Where the shown values stand furthest from the exact ones; magnitudes
    // with 6 significant digits.
    std::optional<size_t> unreadable; // the first shown value that is no number
    std::optional<size_t> worstCoefficient;
    std::string worstDifference;
    bool coefficientsOff = false;
    std::optional<size_t> worstPoint;
    std::string worstMiss;
    std::string largestExact;
    int digitsKept = 15; // of the shown values, against the largest exact coefficient
    // Every shown value is its exact one rounded to 15 digits, as Use exact
    // values writes them: no single-precision solve stands in them.
    bool exactWritten = false;
    std::optional<FitStatistics> statistics; // least squares only
};

// Coefficients held at values in a least-squares fit, by power (0 for A),
// each value a text the exact reader takes.
using HeldValues = std::map<size_t, std::string>;

// The exact fit of a point table: the polynomial of degree rowCount - 2
// through the points of rows 1 to rowCount - 1, their x and f(x) texts read
// as exact decimals; or, made by nearest(), the polynomial of `degree`
// nearest the points of `rows` in the sum of the squares of its residuals,
// with the `held` coefficients at their values, whose points are never off,
// so that only the coefficients decide the verdict. Or the reason there is
// none. With A held, R² and the adjusted R² are the uncentred ones, about 0
// rather than about the mean of f(x).
struct Decimal;
class PackedTable;
struct SummedPoints;

class ExactFit {
  public:
    explicit ExactFit(const CellTable& sgdResult);
    static ExactFit nearest(const CellTable& sgdResult, std::vector<int> rows, int degree,
                            const HeldValues& held = {});
    // The same from `points` points read and summed already, as a file too
    // long to hold is: no point is compared, the coefficients and the
    // figures from the sums are.
    static ExactFit nearest(const std::shared_ptr<const SummedPoints>& summed, size_t points,
                            int degree, const HeldValues& held = {});
    ExactFit(ExactFit&&) noexcept;
    ExactFit& operator=(ExactFit&&) noexcept;
    ~ExactFit();

    // Whether these are the points it was made from, text for text.
    bool madeFrom(const CellTable& sgdResult) const;
    // Those points, packed, for undo to keep the same texts once.
    std::shared_ptr<const PackedTable> points() const;

    // The shown values of column 1 of the coefficient grid against the exact ones.
    FitComparison compare(const CellTable& sdgCoefficients) const;

    // Writes the exact coefficients, 15 significant digits each, into column 1
    // of the coefficient grid. A coefficient beyond the range of a double
    // raises an error that names it, before anything is written.
    void writeExactValues(CellTable& sdgCoefficients) const;

    // The exact points and coefficients, and how each fit compares its
    // points; defined with the two fits in the source.
    struct Numbers;

  private:
    explicit ExactFit(std::unique_ptr<Numbers> numbers);
    // The shown values of the coefficient grid against the exact ones, into
    // `result`; the shown values that read as numbers.
    std::vector<Decimal> compareCoefficients(const CellTable& sdgCoefficients,
                                             FitComparison& result) const;
    std::unique_ptr<const Numbers> numbers;
};
