#include "fitting/solver.h"

#include "fitting/solve_steps.h"
#include "model/coefficient_template.h"
#include "toolkit/arithmetic.h"
#include "toolkit/cell_table.h"
#include "toolkit/conversions.h"
#include "toolkit/errors.h"
#include "toolkit/on_exit.h"
#include "toolkit/round_trip.h"

#include <cmath>
#include <limits>
#include <string>
#include <unordered_map>
#include <vector>

namespace {

// A cell's text read as a number, an error naming the cell: column 0 still
// holding a point's f(x) verbatim is named as that point; any other cell,
// such as one holding a value written beyond the range of a double, as the
// answer grid's.
double answerValue(const CellTable& sgdAns1, const std::string& text, int col, int row,
                   bool verbatimFx) {
    return verbatimFx ? CellToFloat(text, "Points", row, "f(x)")
                      : CellToFloat(text, "Answer", row, sgdAns1.cell(col, 0));
}

// The answer grid during the elimination, which reads every cell many times
// and writes most of them many times. Each cell's text is read once and its
// value kept; a write keeps the value its text would read back as
// (roundTrip), and only the last one becomes text, when the elimination ends
// or fails. So every read sees exactly what the text would give, and the
// grid ends cell for cell as if each step had written its text.
class AnswerCells {
  public:
    explicit AnswerCells(CellTable& sgdAns1)
        : table(sgdAns1), cols(sgdAns1.colCount()), values(size_t(cols) * sgdAns1.rowCount()),
          states(values.size(), State::unread) {}

    // Leaves the last value of each cell written as its text.
    void writeTexts() {
        for (size_t k = 0; k < values.size(); ++k) {
            const int col = int(k % size_t(cols)), row = int(k / size_t(cols));
            if (states[k] == State::written || states[k] == State::writtenSingle)
                table.setCell(col, row, FloatToStr(values[k]));
            else if (states[k] == State::beyondADouble)
                table.setCell(col, row, unreadable.at(k));
        }
    }

    // The value of a cell's text; a text that is no number raises the error
    // that names the cell. A cell outside the grid reads as empty.
    double read(int col, int row) {
        if (col >= cols || row >= table.rowCount()) [[unlikely]]
            return outside(col, row);
        const size_t k = index(col, row);
        if (states[k] >= State::writtenSingle) [[unlikely]]
            return readUnreduced(k, col, row);
        return values[k];
    }

    // Whether a written cell's text reads back as a number.
    bool readsAsNumber(int col, int row) const {
        return states[index(col, row)] != State::beyondADouble;
    }

    // As writing FloatToStr(v): an infinite or NaN v raises before the cell
    // changes. A value whose 15 digits round beyond the largest double is
    // written as that text, and fails where it is read, as text would.
    void write(int col, int row, double v) {
        const size_t k = index(col, row);
        if (std::abs(v) < 1e308) [[likely]] { // every value but the largest, infinite and NaN
            values[k] = roundTrip(v);
            states[k] = State::written;
        } else {
            writeLarge(k, v);
        }
    }

    // single(read(col, row)). A single-precision value comes back from its
    // 15 digits as a double that reduces to it again: reduced, it needs no
    // round trip.
    double readSingle(int col, int row) {
        if (col < cols && row < table.rowCount()) [[likely]] {
            const size_t k = index(col, row);
            if (states[k] == State::writtenSingle)
                return values[k];
        }
        return single(read(col, row));
    }

    // The same for a single-precision value, which is never beyond a double:
    // its round trip waits until a read needs the value unreduced.
    void writeSingle(int col, int row, double v) {
        const size_t k = index(col, row);
        values[k] = v;
        states[k] = State::writtenSingle;
    }

    // Row r less `factor` times a row whose cells read `reduced`, already
    // single precision: the elimination's commonest step, in one pass over
    // the row's values, which after the first step below a pivot are all
    // single precision already. Cell by cell as writeSingle(c, r,
    // single(readSingle(c, r) - reduced[c] * factor)), an error included.
    void subtractRow(int r, const std::vector<double>& reduced, double factor) {
        const size_t from = index(0, r);
        double* const value = &values[from];
        State* const state = &states[from];
        for (int c = 0; c < cols; ++c) {
            const double h = state[c] == State::writtenSingle ? value[c]
                             : state[c] < State::unread       ? single(value[c])
                                                              : readSingle(c, r);
            value[c] = single(h - reduced[size_t(c)] * factor);
            state[c] = State::writtenSingle;
        }
    }

  private:
    // The states that need the cell's text come last.
    enum class State : unsigned char { read, written, writtenSingle, unread, beyondADouble };

    size_t index(int col, int row) const { return size_t(row) * size_t(cols) + size_t(col); }

    [[gnu::noinline]] double outside(int col, int row) const {
        return answerValue(table, table.cell(col, row), col, row, col == 0);
    }

    // The first read of a cell, the read of one written beyond a double, or
    // the unreduced read of a single-precision value: what its text gives.
    [[gnu::noinline]] double readUnreduced(size_t k, int col, int row) {
        if (states[k] == State::writtenSingle) {
            values[k] = roundTrip(values[k]);
            states[k] = State::written;
            return values[k];
        }
        if (states[k] == State::beyondADouble)
            answerValue(table, unreadable.at(k), col, row, false); // raises
        values[k] = answerValue(table, table.cell(col, row), col, row, col == 0);
        states[k] = State::read;
        return values[k];
    }

    [[gnu::noinline]] void writeLarge(size_t k, double v) {
        try {
            values[k] = roundTrip(v);
            states[k] = State::written;
        } catch (const EConvertError&) {
            unreadable[k] = FloatToStr(v);
            states[k] = State::beyondADouble;
        }
    }

    CellTable& table;
    const int cols;
    std::vector<double> values;
    std::vector<State> states;
    std::unordered_map<size_t, std::string> unreadable; // texts beyond a double, by cell
};

// Thrown where a replay reaches the step it stops before.
struct ReplayStop {};

// Starts a step of a hooked run; a replay's last step stops it here.
void begin(StepHook* hook, const SolveStep& step) {
    if (hook && !hook->begin(step))
        throw ReplayStop{};
}

constexpr double kNotRead = std::numeric_limits<double>::quiet_NaN();

// Each value reduced to single precision into `reduced`; false, with
// `reduced` unfinished, where one is beyond it or no number.
bool reducesToSingle(const std::vector<double>& values, std::vector<double>& reduced) {
    for (size_t c = 0; c < values.size(); ++c) {
        if (!(std::fabs(values[c]) < 0x1.ffffffp127))
            return false;
        reduced[c] = static_cast<float>(values[c]);
    }
    return true;
}

} // namespace

void buildSystem(const CellTable& sgdResult, CellTable& sgdAns1) {
    for (int row = 1; row < sgdAns1.rowCount(); ++row)
        sgdAns1.clearRow(row);
    sgdAns1.setRowCount(2);
    const int pointRows = sgdResult.rowCount() - 1;
    for (int k = 1; k <= pointRows; ++k) {
        sgdAns1.setCell(0, k, sgdResult.cell(1, k));
        if (sgdAns1.colCount() >= 2) { // the point's x is read for its first power
            const double x = single(CellToFloat(sgdResult.cell(0, k), "Points", k, "x"));
            for (int j = 0; j <= sgdAns1.colCount() - 2; ++j)
                sgdAns1.setCell(j + 1, k,
                                x == 0 && j == 0 ? "1" : FloatToStr(std::pow(x, double(j))));
        }
        sgdAns1.setRowCount(sgdAns1.rowCount() + 1);
    }
    sgdAns1.setRowCount(sgdAns1.rowCount() - 1);
}

void eliminate(CellTable& sgdAns1, StepHook* hook) {
    const int equations = sgdAns1.rowCount() - 1;
    const int cols = sgdAns1.colCount();
    AnswerCells cells(sgdAns1);
    const OnExit leaveTexts([&] { cells.writeTexts(); }); // however the elimination ends
    const auto done = [&] {
        if (!hook)
            return;
        if (hook->done)
            hook->done(hook->next, [&](int col, int row) { return cells.read(col, row); });
        ++hook->next;
    };
    std::vector<double> pivotRow(size_t(std::max(cols, 0))), reducedPivotRow(pivotRow.size());
    try {
        for (int i = 1; i <= equations; ++i) {
            begin(hook, {SolveStep::Kind::divide, i, i, kNotRead});
            const double pivot = single(cells.read(i, i));
            if (hook)
                hook->operand(pivot);
            bool rowReads = true; // every cell of the pivot row reads as a number
            for (int c = 0; c < cols; ++c) {
                cells.write(c, i, checkedDivide(cells.read(c, i), pivot));
                if (cells.readsAsNumber(c, i))
                    pivotRow[size_t(c)] = cells.read(c, i); // unchanged for the rest of this step
                else
                    rowReads = false;
            }
            done();
            // Each row below, less its factor times the pivot row.
            const auto reduceRowsBelow = [&](auto subtract) {
                for (int r = i + 1; r <= equations; ++r) {
                    begin(hook, {SolveStep::Kind::subtract, r, i, kNotRead});
                    const double factor = cells.readSingle(i, r);
                    if (hook)
                        hook->operand(factor);
                    subtract(r, factor);
                    done();
                }
            };
            if (rowReads && reducesToSingle(pivotRow, reducedPivotRow))
                reduceRowsBelow(
                    [&](int r, double factor) { cells.subtractRow(r, reducedPivotRow, factor); });
            else // a value beyond single precision, or a cell beyond a double, fails where it is
                 // read
                reduceRowsBelow([&](int r, double factor) {
                    for (int c = 0; c < cols; ++c) {
                        const double h = cells.readSingle(c, r);
                        const double q = single(rowReads ? pivotRow[size_t(c)] : cells.read(c, i));
                        cells.writeSingle(c, r, single(h - q * factor));
                    }
                });
        }
    } catch (const ReplayStop&) {
        // a replay ends here, with the grid as it stands
    }
}

void backSubstitute(const CellTable& sgdAns1, CellTable& sdgCoefficients, StepHook* hook) {
    // Each coefficient is read back from the text written for it; if a later
    // one fails, the column gets its old values back.
    const std::vector<std::string> previous = coefficientTexts(sdgCoefficients);
    bool solved = false;
    const OnExit restore([&] {
        if (!solved)
            for (int row = 1; row < sdgCoefficients.rowCount(); ++row)
                sdgCoefficients.setCell(1, row, previous[size_t(row - 1)]);
    });
    std::vector<double>* terms = hook && hook->record ? &hook->record->terms : nullptr;
    const int cols = sgdAns1.colCount();
    const int equations = sgdAns1.rowCount() - 1;
    for (int n = equations; n >= 1; --n) {
        const int known = equations - n;
        begin(hook, {SolveStep::Kind::substitute, n, 0, kNotRead});
        double s = single(answerValue(sgdAns1, sgdAns1.cell(0, n), 0, n, false));
        if (terms)
            terms->push_back(s);
        for (int c = cols - 1; c >= cols - known; --c) {
            const double a = single(answerValue(sgdAns1, sgdAns1.cell(c, n), c, n, false));
            const double b = single(CellToFloat(sdgCoefficients.cell(1, c), "Coefficients", c,
                                                sdgCoefficients.cell(0, c)));
            if (terms)
                terms->insert(terms->end(), {a, b});
            s = single(s - a * b);
        }
        sdgCoefficients.setCell(1, n, FloatToStr(s));
        if (hook) {
            hook->operand(s);
            ++hook->next;
        }
    }
    solved = true;
}

std::string resultText(const CellTable& sdgCoefficients) {
    return expandedForm(coefficientTexts(sdgCoefficients));
}

std::string solveCoefficients(const CellTable& sgdResult, CellTable& sgdAns1,
                              CellTable& sdgCoefficients, const FitKind& kind, SolveSteps* record) {
    StepHook hook;
    hook.record = record;
    StepHook* const hooked = record ? &hook : nullptr;
    if (record) {
        *record = {};
        record->kind = &kind;
        record->letters = coefficientLetters(sdgCoefficients);
        hook.begin({SolveStep::Kind::build, 0, 0, kNotRead});
    }
    // What Build worked from, also when it failed.
    const auto keepBuilt = [&] {
        if (record && record->steps.size() == 1) {
            record->equations = sgdAns1.rowCount() - 1;
            kind.keepBuilt(sgdResult, sgdAns1, *record);
        }
    };
    try {
        kind.buildSystem(sgdResult, sgdAns1, record);
        keepBuilt();
        hook.next = 1;
        eliminate(sgdAns1, hooked);
        backSubstitute(sgdAns1, sdgCoefficients, hooked);
    } catch (const Exception& error) {
        keepBuilt();
        if (record)
            record->failure = error.what();
        throw;
    }
    return resultText(sdgCoefficients);
}
