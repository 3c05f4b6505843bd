#include "fitting/normal_equations.h"

#include "exact/least_squares.h"
#include "fitting/point_table.h"
#include "toolkit/cell_table.h"
#include "toolkit/conversions.h"
#include "toolkit/errors.h"
#include "toolkit/message_text.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <string>
#include <vector>

namespace {

const char* columnName(int col) {
    return col == 0 ? "x" : col == 1 ? "f(x)" : "w";
}

// A sum's text, which the elimination must read back as a number and
// reduce to single precision.
std::string sumText(const Decimal& sum, const std::string& what, size_t points) {
    std::string text = roundedText(sum);
    const std::string said = "The sum of " + what + " over the " + IntToStr(int(points)) +
                             " points is " + roundedText(sum, 6);
    double value = 0;
    try {
        value = StrToFloat(text);
    } catch (const EConvertError&) {
        throw EMathError(said + ", beyond the range of a double.");
    }
    if (std::abs(value) > FLT_MAX)
        throw EMathError(said + ", beyond single precision, in which the elimination runs; "
                                "x in smaller units or a lower degree keeps it within.");
    return text;
}

std::string powerName(size_t k) {
    return k == 0 ? "1" : k == 1 ? "x" : "x^" + IntToStr(int(k));
}

} // namespace

void buildNormalEquations(const CellTable& sgdResult, CellTable& sgdAns1,
                          std::vector<std::string>* exactSums, const HeldValues& held) {
    const int degree = sgdAns1.colCount() - 2;
    if (degree < 0)
        return;
    const std::vector<int> rows = filledRows(sgdResult);
    const std::shared_ptr<const SummedPoints> summed = summedPoints(sgdResult, rows, degree);
    if (summed->tooMuchWork) // before a point is read
        throw Exception("A least-squares fit of degree " + IntToStr(degree) + " over " +
                        IntToStr(int(rows.size())) +
                        " points takes too long to sum exactly; take fewer points or a lower "
                        "degree.");
    if (summed->unread) {
        const auto [row, col] = *summed->unread;
        const std::string& text = sgdResult.cell(col, row);
        CellToFloat(text, "Points", row, columnName(col)); // raises for text that is no number
        if (col == 2)
            throw EConvertError(refusedWeight(row, text));
        throw EConvertError("Least squares reads numbers of at most " + IntToStr(kMaxExactDigits) +
                            " significant digits, from 1E-" + IntToStr(kMaxExactExponent) +
                            " to 1E" + IntToStr(kMaxExactExponent) + " in size; Points, row " +
                            IntToStr(row) + ", " + columnName(col) + " is " + quotedText(text) +
                            ".");
    }
    writeNormalEquations(*summed, sgdAns1, exactSums, held);
}

void writeNormalEquations(const SummedPoints& summed, CellTable& sgdAns1,
                          std::vector<std::string>* exactSums, const HeldValues& held) {
    const int degree = sgdAns1.colCount() - 2;
    const size_t unknowns = size_t(degree) + 1;
    const size_t heldHere = size_t(std::count_if(
        held.begin(), held.end(), [&](const auto& entry) { return entry.first < unknowns; }));
    if (summed.distinctXs < unknowns - heldHere)
        throw Exception(tooFewDistinctX(degree, summed.distinctXs, heldHere));
    const PointSums& sums = *summed.sums;
    const std::string w = summed.weighted ? "w·" : "";
    std::vector<std::string> powers, weighted;
    for (size_t k = 0; k < sums.powers.size(); ++k)
        powers.push_back(
            sumText(sums.powers[k], k == 0 && !w.empty() ? "w" : w + powerName(k), sums.count));
    for (size_t k = 0; k < sums.weighted.size(); ++k)
        weighted.push_back(
            sumText(sums.weighted[k], w + (k == 0 ? "f(x)" : powerName(k) + "·f(x)"), sums.count));

    if (exactSums) {
        exactSums->clear();
        for (const std::vector<Decimal>* sumsOf : {&sums.powers, &sums.weighted})
            for (const Decimal& sum : *sumsOf)
                exactSums->push_back(wholeText(sum));
    }
    for (int row = 1; row < sgdAns1.rowCount(); ++row)
        sgdAns1.clearRow(row);
    sgdAns1.setRowCount(int(unknowns) + 1);
    for (size_t i = 0; i < unknowns; ++i) {
        const auto hold = held.find(i);
        sgdAns1.setCell(0, int(i) + 1, hold == held.end() ? weighted[i] : hold->second);
        for (size_t j = 0; j < unknowns; ++j)
            sgdAns1.setCell(int(j) + 1, int(i) + 1,
                            hold == held.end() ? powers[i + j]
                            : i == j           ? "1"
                                               : "0");
    }
}

std::string refusedWeight(int row, const std::string& text) {
    return "Points, row " + IntToStr(row) + ", w is " + quotedText(text) +
           ": a weight is a number above 0, of at most " + IntToStr(kMaxExactDigits) +
           " significant digits; blank weighs 1.";
}

std::string tooFewDistinctX(int degree, size_t distinct, size_t held) {
    const int free = degree + 1 - int(held);
    return "A least-squares fit of degree " + IntToStr(degree) +
           (held == 0 ? "" : " with " + IntToStr(int(held)) + " held") + " needs at least " +
           IntToStr(free) + (free == 1 ? " point" : " points") +
           " with different x; the table has " + IntToStr(int(distinct)) + ".";
}
