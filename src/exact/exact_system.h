#pragma once

#include <memory>
#include <string>
#include <vector>

class CellTable;

// A linear system held exactly, a row [answer | coefficients of the
// unknowns] per equation, worked a step at a time beside the single-precision
// elimination, so that each of its cells can be set against the value single
// precision made of it. Rows and unknowns count from 0.

// An exact value beside a single-precision one.
struct Agreement {
    std::string exact; // 15 significant digits
    double relative;   // |single - exact| / |exact|; 1 when only the exact value is 0
};

class ExactSystem {
  public:
    ExactSystem();
    ExactSystem(ExactSystem&&) noexcept;
    ExactSystem& operator=(ExactSystem&&) noexcept;
    ~ExactSystem();

    // One equation per row of a point table from row 1 on: f(x), then x^0 ..
    // x^(unknowns-1). Empty, with the reason in `unavailable`, when a cell is
    // no number the exact reader takes.
    static ExactSystem ofPoints(const CellTable& sgdResult, int unknowns, std::string& unavailable);
    // The normal equations of exact sums written by wholeText: Σ x^0 ..
    // Σ x^(2·unknowns-2), then Σ x^0 y .. Σ x^(unknowns-1) y.
    static ExactSystem ofSums(const std::vector<std::string>& sums, int unknowns,
                              std::string& unavailable);

    // Equation `row` becomes unknown `row` = value, for a coefficient held
    // at the value of a text the exact reader takes.
    void hold(int row, const std::string& value);

    // How many equations it holds; none when it cannot be had.
    int equations() const;

    // Divides row `row` by its pivot, the coefficient of unknown `row`;
    // false, changing nothing, when that is 0.
    bool divide(int row);
    // Subtracts row `pivot`, times row `row`'s coefficient of unknown
    // `pivot`, from row `row`.
    void subtract(int row, int pivot);
    // Back substitution in the reduced system: unknown `n` from its row and
    // the unknowns above it, solved before.
    void substitute(int n);

    // Cell `col` of row `row` (0 the answer), and solved unknown `n`,
    // beside a single-precision value.
    Agreement agreement(double single, int row, int col) const;
    Agreement solvedAgreement(double single, int n) const;

  private:
    struct Cells;
    std::unique_ptr<Cells> cells;
};
