#pragma once

#include "exact/exact_number.h"
#include "toolkit/cell_table.h"

#include <gmpxx.h>

#include <future>
#include <optional>
#include <string>
#include <vector>

// The exact check of a solve. The solver works as the elimination by hand
// would, in single precision; the check finds the polynomial through the same
// points in exact arithmetic and says whether the values the coefficient grid
// shows are that polynomial, and if not, by how much they miss.

// How far a shown value may stand from the exact one, relative to the scale
// of the numbers, and still agree: 1E-5, where single precision keeps about
// 7 digits.
inline const mpq_class kAgreement{1, 100000};

struct CoefficientCheck {
    std::string letter, shown, exact, difference; // difference: shown less exact
    bool off;
};

struct PointCheck {
    std::string x, fx, shownValue, miss; // shownValue: the shown polynomial at x; miss: less f(x)
    bool off;
};

struct FitReport {
    // noExactFit: rows share an x. unchecked: a number beyond what the check reads.
    enum class Verdict { agrees, off, noExactFit, unchecked };
    Verdict verdict;
    std::string summary; // one line, with the worst difference
    std::string reason;  // why, in a sentence
    std::vector<CoefficientCheck> coefficients;
    std::vector<PointCheck> points;
};

// The polynomial of degree rowCount - 2 through the points of rows 1 to
// rowCount - 1 of a point table, its x and f(x) texts read as exact decimals;
// or the reason there is none.
class ExactFit {
  public:
    explicit ExactFit(const CellTable& sgdResult);

    // Whether these are the points it was made from, text for text.
    bool madeFrom(const CellTable& sgdResult) const { return sgdResult == points; }

    // The shown values of column 1 of the coefficient grid against the exact ones.
    FitReport compare(const CellTable& sdgCoefficients) const;

    // Writes the exact coefficients, 15 significant digits each, into column 1
    // of the coefficient grid. A coefficient beyond the range of a double
    // raises an error that names it, before anything is written.
    void writeExactValues(CellTable& sdgCoefficients) const;

  private:
    CellTable points;
    std::vector<Decimal> xs, fxs;
    std::vector<mpq_class> coefficients; // empty when there is no fit, or no check
    FitReport::Verdict noFit = FitReport::Verdict::noExactFit; // and then why
    std::string noFitReason;
};

// The check as the window shows it: made after a solve that succeeded, and
// kept current as the grids change.
class FitCheck {
  public:
    // Before a solve: fits these points exactly on another thread while the
    // solver works, unless they are the points of the last fit. The fit
    // needs only the points; start() waits for it.
    void prepare(const CellTable& sgdResult);

    // After every solve. The exact fit of the last points is kept, so solving
    // the same points again costs only the comparison. After a solve that
    // failed, the check stays only to say that no polynomial passes through
    // the points, which is why it failed.
    void start(const CellTable& sgdResult, const CellTable& sdgCoefficients, bool solved);
    // After Generate: there is nothing to check.
    void stop() { current.reset(); }

    // Follows what the grids hold now: once a point changes the check goes,
    // until the next start; once a shown value changes it compares again.
    // True when the report changed.
    bool follow(const CellTable& sgdResult, const CellTable& sdgCoefficients);

    // The check of what the window shows, if there is one.
    const FitReport* report() const { return current ? &*current : nullptr; }
    const ExactFit* fit() const { return current ? &*exact : nullptr; }

  private:
    std::future<ExactFit> pending;
    std::optional<ExactFit> exact;
    std::vector<std::string> comparedValues;
    std::optional<FitReport> current;
};

// The report's two tables, tab-separated as the grids copy, one after the other.
std::string reportText(const FitReport& report);
