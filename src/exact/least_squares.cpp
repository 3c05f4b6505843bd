#include "exact/least_squares.h"

#include "exact/point_summer.h"
#include "exact/precision_ladder.h"
#include "exact/residues.h"
#include "toolkit/cell_table.h"
#include "toolkit/conversions.h"
#include "toolkit/packed_table.h"

#include <algorithm>
#include <future>
#include <mutex>
#include <thread>

namespace {

// Partial pivoting: the row from `i` on with the largest entry in column i
// swapped into row i; false when that entry is 0.
bool pivotDown(std::vector<Floats>& rows, size_t i) {
    size_t pivot = i;
    for (size_t r = i + 1; r < rows.size(); ++r)
        if (abs(rows[r][i]) > abs(rows[pivot][i]))
            pivot = r;
    std::swap(rows[i], rows[pivot]);
    return sgn(rows[i][i]) != 0;
}

// The free coefficients' powers, and the right-hand sides of their normal
// equations with the held terms moved over: Σ x^i y - Σ_h v_h Σ x^(i+h).
struct FreeSystem {
    std::vector<size_t> free;
    std::vector<mpq_class> rhs;
};

FreeSystem freeSystem(const PointSums& sums, const std::vector<mpq_class>& powers,
                      const HeldCoefficients& held) {
    FreeSystem system;
    for (size_t k = 0; k < sums.weighted.size(); ++k)
        if (!held.contains(k))
            system.free.push_back(k);
    for (const size_t i : system.free) {
        mpq_class rhs = sums.weighted[i].value();
        for (const auto& [h, value] : held)
            if (h < sums.weighted.size())
                rhs -= powers[i + h] * value.value();
        system.rhs.push_back(rhs);
    }
    return system;
}

// The free coefficients' values with the held ones put in their places.
std::vector<Decimal> withHeld(std::vector<Decimal> solved, const std::vector<size_t>& free,
                              const HeldCoefficients& held, size_t count) {
    std::vector<Decimal> all(count);
    for (size_t a = 0; a < free.size(); ++a)
        all[free[a]] = std::move(solved[a]);
    for (const auto& [h, value] : held)
        if (h < count)
            all[h] = value;
    return all;
}

// Gaussian elimination with partial pivoting on the normal matrix of the
// free coefficients (Σ x^(i+j), i and j free), at `bits` of precision, for
// each right-hand side of `columns`; the solutions, one for each. Empty when
// a pivot is zero.
std::vector<Floats> normalSolutions(const std::vector<mpq_class>& powers,
                                    const std::vector<size_t>& free,
                                    const std::vector<std::vector<mpq_class>>& columns,
                                    mp_bitcnt_t bits) {
    const size_t n = free.size(), m = columns.size();
    std::vector<Floats> rows(n);
    for (size_t i = 0; i < n; ++i) {
        for (size_t j = 0; j < n; ++j)
            rows[i].emplace_back(powers[free[i] + free[j]], bits);
        for (const std::vector<mpq_class>& column : columns)
            rows[i].emplace_back(column[i], bits);
    }
    mpf_class factor(0, bits), product(0, bits);
    for (size_t i = 0; i < n; ++i) {
        if (!pivotDown(rows, i))
            return {};
        for (size_t r = i + 1; r < n; ++r) {
            factor = rows[r][i] / rows[i][i];
            for (size_t c = i; c < n + m; ++c) {
                product = factor * rows[i][c];
                rows[r][c] -= product;
            }
        }
    }
    std::vector<Floats> solutions(m, Floats(n, mpf_class(0, bits)));
    for (size_t k = 0; k < m; ++k)
        for (size_t i = n; i-- > 0;) {
            mpf_class sum = rows[i][n + k];
            for (size_t c = i + 1; c < n; ++c) {
                product = rows[i][c] * solutions[k][c];
                sum -= product;
            }
            solutions[k][i] = sum / rows[i][i];
        }
    return solutions;
}

// The same solution modulo a prime, by elimination with any nonzero pivot.
std::optional<std::vector<uint64_t>> normalResidues(const PointSums& sums,
                                                    const std::vector<size_t>& free,
                                                    const HeldCoefficients& held,
                                                    const PrimeField& field) {
    const size_t n = free.size();
    std::vector<std::vector<uint64_t>> rows(n);
    for (size_t i = 0; i < n; ++i) {
        for (size_t j = 0; j <= n; ++j) {
            const auto value =
                field.of(j < n ? sums.powers[free[i] + free[j]] : sums.weighted[free[i]]);
            if (!value)
                return std::nullopt;
            rows[i].push_back(*value);
        }
        for (const auto& [h, amount] : held) {
            if (h >= sums.weighted.size())
                continue;
            const auto power = field.of(sums.powers[free[i] + h]), value = field.of(amount);
            if (!power || !value)
                return std::nullopt;
            rows[i][n] = field.sub(rows[i][n], field.mul(*power, *value));
        }
    }
    for (size_t i = 0; i < n; ++i) {
        size_t pivot = i;
        while (pivot < n && rows[pivot][i] == 0)
            ++pivot;
        if (pivot == n) // the prime divides the determinant
            return std::nullopt;
        std::swap(rows[i], rows[pivot]);
        const uint64_t inverse = field.inverse(rows[i][i]);
        for (size_t r = i + 1; r < n; ++r) {
            const uint64_t factor = field.mul(rows[r][i], inverse);
            for (size_t c = i; c <= n; ++c)
                rows[r][c] = field.sub(rows[r][c], field.mul(factor, rows[i][c]));
        }
    }
    std::vector<uint64_t> solution(n);
    for (size_t i = n; i-- > 0;) {
        uint64_t sum = rows[i][n];
        for (size_t c = i + 1; c < n; ++c)
            sum = field.sub(sum, field.mul(rows[i][c], solution[c]));
        solution[i] = field.mul(sum, field.inverse(rows[i][i]));
    }
    return solution;
}

} // namespace

int ExactPoint::unreadColumn() const {
    return !x ? 0 : !y ? 1 : !w || sgn(w->digits) <= 0 ? 2 : -1;
}

ExactPoint exactPoint(std::string_view x, std::string_view y, std::string_view w) {
    return {exactDecimal(x), exactDecimal(y), IsBlank(w) ? Decimal{1} : exactDecimal(w)};
}

namespace {

// Row `row` of a point table, its weight 1 where the table has no w.
ExactPoint readPoint(const CellTable& sgdResult, int row, bool weighted) {
    return exactPoint(sgdResult.cell(0, row), sgdResult.cell(1, row),
                      weighted ? std::string_view(sgdResult.cell(2, row)) : std::string_view());
}

} // namespace

ExactPoints exactPoints(const CellTable& sgdResult, const std::vector<int>& rows) {
    ExactPoints points;
    const bool weighted = sgdResult.colCount() > 2;
    for (const int row : rows) {
        ExactPoint point = readPoint(sgdResult, row, weighted);
        if (const int col = point.unreadColumn(); col >= 0) {
            points.unread = {row, col};
            break;
        }
        points.rows.push_back(row);
        points.xs.push_back(std::move(*point.x));
        points.ys.push_back(std::move(*point.y));
        if (weighted)
            points.ws.push_back(std::move(*point.w));
    }
    return points;
}

double sumWork(size_t points, int degree) {
    const double powers = 2.0 * degree + 1, unknowns = degree + 1.0;
    // Measured at 400,000 points from degree 3 to 60, and at a few hundred
    // from degree 30 to 190; a unit is about 20 ns of one core.
    const double sums = double(points) * powers * (1 + powers / 54) * 0.35;
    const double solve = unknowns * unknowns * unknowns * powers / 19;
    return sums + solve;
}

namespace {

// The points of rows [from, to) summed, stopping at the first unread cell.
struct SummedPart {
    PointSummer summer;
    size_t read = 0; // rows summed
    std::optional<std::pair<int, int>> unread;
    bool stopped = false;
};

SummedPart sumPart(const CellTable& sgdResult, const std::vector<int>& rows, size_t from, size_t to,
                   int degree, bool weighted, SumProgress* progress) {
    constexpr size_t kCounted = 4096; // rows between two looks at the progress
    SummedPart part{PointSummer(degree, weighted), 0, std::nullopt};
    for (size_t k = from; k < to; ++k, ++part.read) {
        if (progress && (k - from) % kCounted == kCounted - 1) {
            progress->rowsRead += kCounted;
            if (progress->stop) {
                part.stopped = true;
                break;
            }
        }
        const ExactPoint point = readPoint(sgdResult, rows[k], weighted);
        if (const int col = point.unreadColumn(); col >= 0) {
            part.unread = {rows[k], col};
            break;
        }
        part.summer.add(*point.x, *point.y, *point.w);
    }
    return part;
}

// The rows split among the cores, each part summed on its own and the sums
// added in order; the rows up to the first unread cell. False when stopped.
bool sumPoints(const CellTable& sgdResult, const std::vector<int>& rows, int degree,
               SummedPoints& summed, SumProgress* progress) {
    summed.weighted = sgdResult.colCount() > 2;
    const size_t parts = rows.size() < 2000 ? 1 : std::max(1u, std::thread::hardware_concurrency());
    std::vector<std::future<SummedPart>> others;
    for (size_t p = 1; p < parts; ++p)
        others.push_back(std::async(std::launch::async, sumPart, std::cref(sgdResult),
                                    std::cref(rows), rows.size() * p / parts,
                                    rows.size() * (p + 1) / parts, degree, summed.weighted,
                                    progress));
    SummedPart all =
        sumPart(sgdResult, rows, 0, rows.size() / parts, degree, summed.weighted, progress);
    bool stopped = all.stopped;
    for (std::future<SummedPart>& other : others) {
        const SummedPart part = other.get();
        stopped = stopped || part.stopped;
        if (all.unread)
            continue;
        all.summer.add(part.summer);
        all.read += part.read;
        all.unread = part.unread;
    }
    summed.rows.assign(rows.begin(), rows.begin() + long(all.read));
    summed.unread = all.unread;
    summed.distinctXs = all.summer.distinctXs();
    summed.lowestX = all.summer.lowestX();
    summed.highestX = all.summer.highestX();
    if (!summed.unread)
        summed.sums = all.summer.sums();
    return !stopped;
}

// The last reading asked for, or being made: what it was made from, and it.
struct LastSummed {
    std::shared_ptr<const PackedTable> table;
    std::vector<int> rows;
    int degree;
    std::shared_future<std::shared_ptr<const SummedPoints>> summed;
};

} // namespace

std::shared_ptr<const SummedPoints> summedPoints(const CellTable& sgdResult,
                                                 const std::vector<int>& rows, int degree,
                                                 SumProgress* progress) {
    static std::mutex guard;
    static std::optional<LastSummed> last;
    std::promise<std::shared_ptr<const SummedPoints>> made;
    std::shared_ptr<const PackedTable> table;
    {
        std::unique_lock lock(guard);
        if (last && last->degree == degree && last->rows == rows && last->table->holds(sgdResult)) {
            const auto summed = last->summed;
            lock.unlock();
            if (auto got = summed.get()) // made, or as soon as the other thread has made it
                return got;
            return summedPoints(sgdResult, rows, degree, progress); // that one was stopped
        }
        last = LastSummed{PackedTable::sharedPoints(sgdResult), rows, degree,
                          made.get_future().share()};
        table = last->table;
    }
    auto summed = std::make_shared<SummedPoints>();
    summed->table = std::move(table);
    summed->tooMuchWork = sumWork(rows.size(), degree) > kMaxSumWork;
    if (!summed->tooMuchWork && !sumPoints(sgdResult, rows, degree, *summed, progress)) {
        {
            std::lock_guard lock(guard);
            last.reset();
        }
        made.set_value(nullptr);
        return nullptr;
    }
    made.set_value(summed);
    return summed;
}

std::optional<std::vector<Decimal>> leastSquares(const PointSums& sums,
                                                 const HeldCoefficients& held) {
    const std::vector<mpq_class> powers = valuesOf(sums.powers);
    const FreeSystem system = freeSystem(sums, powers, held);
    const std::vector<bool> zeros = exactZeros(
        [&](const PrimeField& field) { return normalResidues(sums, system.free, held, field); },
        system.free.size());
    auto solution = settledCoefficients(
        [&](mp_bitcnt_t bits) {
            std::vector<Floats> solutions =
                normalSolutions(powers, system.free, {system.rhs}, bits);
            return solutions.empty() ? Floats() : std::move(solutions[0]);
        },
        zeros);
    if (!solution || solution->size() != system.free.size())
        return std::nullopt;
    return withHeld(std::move(*solution), system.free, held, sums.weighted.size());
}

std::optional<std::vector<Decimal>> inverseDiagonal(const PointSums& sums,
                                                    const HeldCoefficients& held) {
    const std::vector<mpq_class> powers = valuesOf(sums.powers);
    const std::vector<size_t> free = freeSystem(sums, powers, held).free;
    const size_t n = free.size();
    std::vector<std::vector<mpq_class>> unit(n, std::vector<mpq_class>(n));
    for (size_t k = 0; k < n; ++k)
        unit[k][k] = 1;
    auto diagonal = settledCoefficients(
        [&](mp_bitcnt_t bits) {
            const std::vector<Floats> columns = normalSolutions(powers, free, unit, bits);
            Floats entries;
            for (size_t k = 0; k < columns.size(); ++k)
                entries.push_back(columns[k][k]);
            return entries;
        },
        std::vector<bool>(n, false));
    if (!diagonal || diagonal->size() != n)
        return std::nullopt;
    return withHeld(std::move(*diagonal), free, {}, sums.weighted.size());
}

namespace {

using RationalMatrix = std::vector<std::vector<mpq_class>>;

// The normal matrix in powers of t = (x - center) / scale: with
// t^k = Σ_j toT[k][j] x^j, it is toT S toTᵀ, exactly.
RationalMatrix normalMatrixInT(const PointSums& sums, const mpq_class& center,
                               const mpq_class& scale) {
    const size_t n = sums.weighted.size();
    RationalMatrix toT(n, std::vector<mpq_class>(n));
    toT[0][0] = 1;
    for (size_t k = 1; k < n; ++k)
        for (size_t j = 0; j <= k; ++j)
            toT[k][j] =
                ((j > 0 ? toT[k - 1][j - 1] : mpq_class(0)) - center * toT[k - 1][j]) / scale;
    const std::vector<mpq_class> powers = valuesOf(sums.powers);
    RationalMatrix half(n, std::vector<mpq_class>(n)), inT(n, std::vector<mpq_class>(n));
    for (size_t a = 0; a < n; ++a)
        for (size_t j = 0; j < n; ++j)
            for (size_t i = 0; i <= a; ++i)
                half[a][j] += toT[a][i] * powers[i + j];
    for (size_t a = 0; a < n; ++a)
        for (size_t b = 0; b < n; ++b)
            for (size_t j = 0; j <= b; ++j)
                inT[a][b] += half[a][j] * toT[b][j];
    return inT;
}

// M: the polynomials the free coefficients span, in powers of t. All of
// them when none is held; else x^f = (center + scale t)^f for each free f.
RationalMatrix spannedInT(size_t n, const mpq_class& center, const mpq_class& scale,
                          const HeldCoefficients& held) {
    RationalMatrix spanned;
    if (held.empty()) {
        spanned.assign(n, std::vector<mpq_class>(n));
        for (size_t k = 0; k < n; ++k)
            spanned[k][k] = 1;
        return spanned;
    }
    RationalMatrix xInT(n, std::vector<mpq_class>(n));
    xInT[0][0] = 1;
    for (size_t f = 1; f < n; ++f)
        for (size_t k = 0; k <= f; ++k)
            xInT[f][k] = center * xInT[f - 1][k] +
                         (k > 0 ? mpq_class(scale * xInT[f - 1][k - 1]) : mpq_class(0));
    for (size_t f = 0; f < n; ++f)
        if (!held.contains(f))
            spanned.push_back(xInT[f]);
    return spanned;
}

// Gauss-Jordan on [A | B] at `bits`: the rows of A⁻¹ B; empty when A is
// singular.
std::vector<Floats> solvedRows(std::vector<Floats> rows, size_t m, mp_bitcnt_t bits) {
    mpf_class factor(0, bits);
    for (size_t i = 0; i < m; ++i) {
        if (!pivotDown(rows, i))
            return {};
        factor = rows[i][i];
        for (mpf_class& cell : rows[i])
            cell /= factor;
        for (size_t r = 0; r < m; ++r)
            if (r != i && sgn(rows[r][i]) != 0) {
                factor = rows[r][i];
                for (size_t c = i; c < rows[r].size(); ++c)
                    rows[r][c] -= factor * rows[i][c];
            }
    }
    for (Floats& row : rows)
        row.erase(row.begin(), row.begin() + long(m));
    return rows;
}

} // namespace

std::vector<double> centredInverse(const PointSums& sums, const mpq_class& center,
                                   const mpq_class& scale, const HeldCoefficients& held) {
    const size_t n = sums.weighted.size();
    const RationalMatrix inT = normalMatrixInT(sums, center, scale);
    const RationalMatrix spanned = spannedInT(n, center, scale, held);
    const size_t m = spanned.size();
    // [M S Mᵀ | M] at a precision far beyond what doubles keep.
    const mp_bitcnt_t bits = 512;
    std::vector<Floats> rows(m);
    for (size_t a = 0; a < m; ++a) {
        for (size_t b = 0; b < m; ++b) {
            mpq_class entry;
            for (size_t i = 0; i < n; ++i)
                for (size_t j = 0; j < n && sgn(spanned[a][i]) != 0; ++j)
                    if (sgn(spanned[b][j]) != 0)
                        entry += spanned[a][i] * inT[i][j] * spanned[b][j];
            rows[a].emplace_back(entry, bits);
        }
        for (size_t b = 0; b < n; ++b)
            rows[a].emplace_back(spanned[a][b], bits);
    }
    const std::vector<Floats> solved = solvedRows(std::move(rows), m, bits);
    if (solved.empty())
        return {};
    std::vector<double> inverse;
    for (size_t a = 0; a < n; ++a)
        for (size_t b = 0; b < n; ++b) {
            mpf_class entry(0, bits);
            for (size_t k = 0; k < m; ++k)
                entry += mpf_class(spanned[k][a], bits) * solved[k][b];
            inverse.push_back(entry.get_d());
        }
    return inverse;
}

mpq_class squaredError(const PointSums& sums, const std::vector<mpq_class>& coefficients) {
    // Σ (p - y)² = Σ y² - 2 Σ_i c_i Σ x^i y + Σ_i c_i Σ_j c_j Σ x^(i+j).
    mpq_class error = sums.squares.value(), inner;
    const size_t n = std::min(coefficients.size(), sums.weighted.size());
    const std::vector<mpq_class> powers = valuesOf(sums.powers);
    for (size_t i = 0; i < n; ++i) {
        inner = 0;
        for (size_t j = 0; j < n; ++j)
            inner += coefficients[j] * powers[i + j];
        error += coefficients[i] * (inner - 2 * sums.weighted[i].value());
    }
    return error;
}

mpq_class totalSquares(const PointSums& sums) {
    // Σ w y² - (Σ w y)² / Σ w; without weights Σ w is the count.
    if (sums.count == 0)
        return 0;
    const mpq_class total = sums.weighted.empty() ? mpq_class(0) : sums.weighted[0].value();
    return sums.squares.value() - total * total / sums.powers[0].value();
}
