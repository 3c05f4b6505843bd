#include "exact/exact_system.h"

#include "exact/exact_number.h"
#include "exact/least_squares.h"
#include "toolkit/cell_table.h"
#include "toolkit/conversions.h"

#include <gmpxx.h>

struct ExactSystem::Cells {
    std::vector<std::vector<mpq_class>> rows;
    std::vector<mpq_class> solved;
};

namespace {

Agreement agreementOf(double single, const mpq_class& exact) {
    const mpq_class error = abs(mpq_class(single) - exact);
    double relative = 0;
    if (sgn(exact) != 0)
        relative = mpq_class(error / abs(exact)).get_d();
    else if (sgn(error) != 0)
        relative = 1;
    return {roundedText(exact), relative};
}

} // namespace

ExactSystem::ExactSystem() : cells(std::make_unique<Cells>()) {}
ExactSystem::ExactSystem(ExactSystem&&) noexcept = default;
ExactSystem& ExactSystem::operator=(ExactSystem&&) noexcept = default;
ExactSystem::~ExactSystem() = default;

ExactSystem ExactSystem::ofPoints(const CellTable& sgdResult, int unknowns,
                                  std::string& unavailable) {
    std::vector<int> rows;
    for (int row = 1; row < sgdResult.rowCount(); ++row)
        rows.push_back(row);
    const ExactPoints read = exactPoints(sgdResult, rows);
    ExactSystem system;
    if (read.unread) {
        unavailable = "Points, row " + IntToStr(read.unread->first) + ", " +
                      (read.unread->second == 0 ? "x" : "f(x)") +
                      " is no number the exact arithmetic reads.";
        return system;
    }
    for (size_t k = 0; k < read.xs.size(); ++k) {
        std::vector<mpq_class>& row = system.cells->rows.emplace_back();
        row.push_back(read.ys[k].value());
        mpq_class power = 1;
        for (int j = 0; j < unknowns; ++j, power *= read.xs[k].value())
            row.push_back(power);
    }
    return system;
}

ExactSystem ExactSystem::ofSums(const std::vector<std::string>& sums, int unknowns,
                                std::string& unavailable) {
    ExactSystem system;
    const size_t weighted = size_t(2 * unknowns - 1);
    if (sums.size() != weighted + size_t(unknowns)) {
        unavailable = "The exact sums were not formed.";
        return system;
    }
    const auto sum = [&](size_t k) { return fromWholeText(sums[k]).value(); };
    for (int i = 0; i < unknowns; ++i) {
        std::vector<mpq_class>& row = system.cells->rows.emplace_back();
        row.push_back(sum(weighted + size_t(i)));
        for (int j = 0; j < unknowns; ++j)
            row.push_back(sum(size_t(i + j)));
    }
    return system;
}

void ExactSystem::hold(int row, const std::string& value) {
    std::vector<mpq_class>& cellsOfRow = cells->rows[size_t(row)];
    std::fill(cellsOfRow.begin(), cellsOfRow.end(), 0);
    cellsOfRow[0] = exactDecimal(value).value().value();
    cellsOfRow[size_t(row) + 1] = 1;
}

int ExactSystem::equations() const {
    return int(cells->rows.size());
}

bool ExactSystem::divide(int row) {
    std::vector<mpq_class>& cellsOfRow = cells->rows[size_t(row)];
    const mpq_class pivot = cellsOfRow[size_t(row) + 1];
    if (sgn(pivot) == 0)
        return false;
    for (mpq_class& cell : cellsOfRow)
        cell /= pivot;
    return true;
}

void ExactSystem::subtract(int row, int pivot) {
    std::vector<mpq_class>& target = cells->rows[size_t(row)];
    const std::vector<mpq_class>& source = cells->rows[size_t(pivot)];
    const mpq_class factor = target[size_t(pivot) + 1];
    for (size_t c = 0; c < target.size(); ++c)
        target[c] -= factor * source[c];
}

void ExactSystem::substitute(int n) {
    const std::vector<mpq_class>& row = cells->rows[size_t(n)];
    std::vector<mpq_class>& solved = cells->solved;
    solved.resize(row.size() - 1);
    mpq_class s = row[0];
    for (size_t c = size_t(n) + 1; c < solved.size(); ++c)
        s -= row[c + 1] * solved[c];
    solved[size_t(n)] = s;
}

Agreement ExactSystem::agreement(double single, int row, int col) const {
    return agreementOf(single, cells->rows[size_t(row)][size_t(col)]);
}

Agreement ExactSystem::solvedAgreement(double single, int n) const {
    return agreementOf(single, cells->solved[size_t(n)]);
}
