#include "exact/elimination_lesson.h"

#include "exact/exact_number.h"
#include "exact/rounded_arithmetic.h"
#include "exact/row_reduction.h"
#include "toolkit/conversions.h"
#include "toolkit/errors.h"
#include "toolkit/message_text.h"

#include <algorithm>
#include <array>
#include <functional>

namespace {

// One step: an operation in the chosen arithmetic's numbers; the
// elimination's own steps clear a column, each arithmetic with its own
// multiplier.
struct LessonStep {
    RowOperation operation;
    int clearsColumn = 0;
};

constexpr int kMain = 0, kBeside = 1, kExact = 2;

AugmentedMatrix systemOf(std::string_view text) {
    AugmentedMatrix rows;
    std::vector<int> lines;
    int line = 0;
    for (size_t start = 0; start <= text.size();) {
        const size_t end = std::min(text.find('\n', start), text.size());
        const std::string_view row = text.substr(start, end - start);
        start = end + 1;
        ++line;
        std::vector<mpq_class> numbers;
        for (size_t at = 0; at < row.size();) {
            const size_t stop = std::min(row.find_first_of(",; \t\r", at), row.size());
            if (stop > at) {
                const std::string_view field = row.substr(at, stop - at);
                const auto value = readNumber(field);
                if (!value)
                    throw Exception("Line " + IntToStr(line) + ": " +
                                    quotedText(std::string(field)) + " is not a number.");
                numbers.push_back(*value);
            }
            at = stop + 1;
        }
        if (!numbers.empty()) {
            rows.push_back(std::move(numbers));
            lines.push_back(line);
        }
    }
    const int n = int(rows.size());
    if (n == 0)
        throw Exception("Type the system: one equation a line, its coefficients and then the "
                        "right-hand side.");
    if (n > EliminationLesson::kMaxUnknowns)
        throw Exception("A lesson takes up to " + IntToStr(EliminationLesson::kMaxUnknowns) +
                        " equations; this system has " + IntToStr(n) + ".");
    for (int r = 0; r < n; ++r)
        if (int(rows[size_t(r)].size()) != n + 1)
            throw Exception("Line " + IntToStr(lines[size_t(r)]) + " has " +
                            IntToStr(int(rows[size_t(r)].size())) +
                            (rows[size_t(r)].size() == 1 ? " number; " : " numbers; ") +
                            IntToStr(n) + " equations take " + IntToStr(n + 1) +
                            " in each line, the last the right-hand side.");
    return rows;
}

// The significant digits `value` shares with `exact`, up to `carried`.
int agreeingDigits(const mpq_class& value, const mpq_class& exact, int carried) {
    if (sgn(exact) == 0)
        return sgn(value) == 0 ? carried : 0;
    return digitsKept((value - exact) / exact, carried);
}

// A caption or number as LaTeX: arrows, minus signs, dots and powers of ten.
std::string latexOf(std::string text) {
    static const std::pair<std::string_view, std::string_view> signs[] = {
        {"←", "\\leftarrow "}, {"−", "-"}, {"·", "\\,"}, {"÷", "\\div "}};
    std::string out;
    for (size_t at = 0; at < text.size();) {
        const auto sign = std::find_if(std::begin(signs), std::end(signs), [&](const auto& s) {
            return std::string_view(text).substr(at).starts_with(s.first);
        });
        if (sign != std::end(signs)) {
            out += sign->second;
            at += sign->first.size();
        } else if (text[at] == 'E') {
            out.append("\\times10^{").append(text.substr(at + 1)).append("}");
            break;
        } else if (text[at] == 'R' && at + 1 < text.size() &&
                   isdigit(static_cast<unsigned char>(text[at + 1]))) {
            out += "R_{";
            for (++at; at < text.size() && isdigit(static_cast<unsigned char>(text[at])); ++at)
                out += text[at];
            out += "}";
        } else {
            out += text[at++];
        }
    }
    return out;
}

} // namespace

struct EliminationLesson::Run {
    AugmentedMatrix system;
    std::array<std::optional<Arithmetic>, 3> arithmetics{Arithmetic{Arithmetic::Kind::singles},
                                                         Arithmetic{}, Arithmetic{}};
    Pivoting pivoting = Pivoting::none;
    bool student = false;
    std::vector<LessonStep> steps;
    std::array<std::vector<AugmentedMatrix>, 3> states; // after each step, by side

    // Every side's systems made again from the system by the steps.
    void replay() {
        for (int side = 0; side < 3; ++side) {
            states[size_t(side)].clear();
            if (!arithmetics[size_t(side)])
                continue;
            RowReduction reduction(system, *arithmetics[size_t(side)]);
            states[size_t(side)].push_back(reduction.rows());
            for (const LessonStep& step : steps) {
                RowOperation operation = step.operation;
                if (step.clearsColumn)
                    operation.value =
                        -reduction.multiplier(operation.row, operation.other, step.clearsColumn);
                reduction.apply(operation);
                states[size_t(side)].push_back(reduction.rows());
            }
        }
    }
    // The elimination's own steps, as the chosen arithmetic takes them.
    void ownSteps() {
        RowReduction reduction(system, *arithmetics[kMain]);
        steps.clear();
        for (const RowOperation& operation : eliminate(reduction, pivoting))
            steps.push_back({operation, operation.kind == RowOperation::Kind::addMultiple
                                            ? operation.other
                                            : 0});
        student = false;
        replay();
    }
    int carried() const {
        const Arithmetic& main = *arithmetics[kMain];
        using enum Arithmetic::Kind;
        return main.kind == decimal ? main.digits : main.kind == singles ? 7 : 15;
    }
};

EliminationLesson::EliminationLesson(std::string_view text) : run(std::make_unique<Run>()) {
    run->system = systemOf(text);
    run->ownSteps();
}

EliminationLesson::~EliminationLesson() = default;
EliminationLesson::EliminationLesson(EliminationLesson&&) noexcept = default;
EliminationLesson& EliminationLesson::operator=(EliminationLesson&&) noexcept = default;

namespace {

// A change made on a copy and kept only when it ends: a value beyond single
// or double precision raises on the way, and the lesson stays as it was.
void changeWhole(std::unique_ptr<EliminationLesson::Run>& run,
                 const std::function<void(EliminationLesson::Run&)>& change) {
    auto next = std::make_unique<EliminationLesson::Run>(*run);
    change(*next);
    run = std::move(next);
}

} // namespace

void EliminationLesson::choose(const Arithmetic& main, const std::optional<Arithmetic>& beside,
                               Pivoting pivoting) {
    changeWhole(run, [&](Run& next) {
        next.arithmetics[kMain] = main;
        next.arithmetics[kBeside] = beside;
        next.pivoting = pivoting;
        if (next.student)
            next.replay();
        else
            next.ownSteps();
    });
}

std::optional<std::string> EliminationLesson::apply(std::string_view typed) {
    const ReadOperation read = readOperation(typed, unknowns());
    if (!read.operation)
        return read.refusal;
    changeWhole(run, [&](Run& next) {
        if (!next.student) {
            next.student = true;
            next.steps.clear();
        }
        next.steps.push_back({*read.operation, 0});
        next.replay();
    });
    return std::nullopt;
}

bool EliminationLesson::undo() {
    if (!run->student || run->steps.empty())
        return false;
    changeWhole(run, [](Run& next) {
        next.steps.pop_back();
        next.replay();
    });
    return true;
}

void EliminationLesson::startOver() {
    changeWhole(run, [](Run& next) { next.ownSteps(); });
}

bool EliminationLesson::studentRun() const {
    return run->student;
}

int EliminationLesson::unknowns() const {
    return int(run->system.size());
}

size_t EliminationLesson::steps() const {
    return run->steps.size() + 1;
}

std::string EliminationLesson::caption(size_t k) const {
    return k == 0 ? "The system" : run->steps[k - 1].operation.text(*run->arithmetics[kMain]);
}

std::vector<std::vector<std::string>> EliminationLesson::system(size_t k, int side) const {
    std::vector<std::vector<std::string>> texts;
    if (!run->arithmetics[size_t(side)])
        return texts;
    for (const std::vector<mpq_class>& row : run->states[size_t(side)][k]) {
        texts.emplace_back();
        for (const mpq_class& entry : row)
            texts.back().push_back(writtenIn(*run->arithmetics[size_t(side)], entry));
    }
    return texts;
}

std::string EliminationLesson::arithmeticName(int side) const {
    const auto& arithmetic = run->arithmetics[size_t(side)];
    return arithmetic ? arithmetic->name() : "";
}

int EliminationLesson::changedRow(size_t k) const {
    return k == 0 ? 0 : run->steps[k - 1].operation.row;
}

int EliminationLesson::carriedDigits() const {
    return run->carried();
}

int EliminationLesson::keptDigits(size_t k) const {
    int kept = run->carried();
    const int row = changedRow(k);
    if (row == 0)
        return kept;
    const auto& main = run->states[kMain][k][size_t(row - 1)];
    const auto& exact = run->states[kExact][k][size_t(row - 1)];
    for (size_t c = 0; c < main.size(); ++c)
        kept = std::min(kept, agreeingDigits(main[c], exact[c], run->carried()));
    return kept;
}

std::string EliminationLesson::mostLost() const {
    size_t worst = 0;
    for (size_t k = 1; k < steps(); ++k)
        if (keptDigits(k) < keptDigits(worst))
            worst = k;
    if (worst == 0)
        return "Every step kept all " + IntToStr(run->carried()) + " digits.";
    return "Fewest digits kept: " + IntToStr(keptDigits(worst)) + " of " +
           IntToStr(run->carried()) + ", at step " + IntToStr(int(worst)) + ", " + caption(worst);
}

std::string EliminationLesson::verdict(int side) const {
    const auto& arithmetic = run->arithmetics[size_t(side)];
    if (!arithmetic)
        return "";
    const RowReduction last(run->states[size_t(side)].back(), *arithmetic);
    if (!last.upperTriangular())
        return "Not yet upper triangular.";
    const auto x = last.backSubstitute();
    if (!x)
        return "Upper triangular, with a 0 on the diagonal: no single solution.";
    std::string text = "Upper triangular: ";
    for (size_t k = 0; k < x->size(); ++k)
        text += (k ? ", x" : "x") + IntToStr(int(k + 1)) + " = " + writtenIn(*arithmetic, (*x)[k]);
    text += ".";
    // Against the same steps in exact arithmetic, what the solution kept.
    const RowReduction exact(run->states[kExact].back(), Arithmetic{});
    const auto exactX = exact.upperTriangular() ? exact.backSubstitute() : std::nullopt;
    if (side != kMain || !exactX || arithmetic->kind == Arithmetic::Kind::exact)
        return text;
    int kept = run->carried();
    for (size_t k = 0; k < x->size(); ++k)
        kept = std::min(kept, agreeingDigits((*x)[k], (*exactX)[k], run->carried()));
    return text + " Against exact: " + IntToStr(kept) + " of " + IntToStr(run->carried()) +
           " digits kept.";
}

std::string EliminationLesson::latex() const {
    const Arithmetic& main = *run->arithmetics[kMain];
    const int n = unknowns();
    std::string text =
        "% Gaussian elimination in " + main.name() + "; needs \\usepackage{graphicx}\n";
    for (size_t k = 0; k < steps(); ++k) {
        text += "\\noindent\\textit{" +
                (k == 0 ? std::string("The system") : "Step " + IntToStr(int(k))) + "}" +
                (k == 0 ? "" : ": $" + latexOf(caption(k)) + "$") + "\n";
        text += "\\[\\resizebox{\\ifdim\\width>\\linewidth\\linewidth\\else\\width\\fi}{!}{$\\left("
                "\\begin{array}{" +
                std::string(size_t(n), 'r') + "|r}\n";
        for (const std::vector<std::string>& row : system(k, kMain)) {
            for (size_t c = 0; c < row.size(); ++c)
                text += (c ? " & " : "") + latexOf(row[c]);
            text += " \\\\\n";
        }
        text += "\\end{array}\\right)$}\\]\n";
    }
    return text + "\\noindent " + latexOf(verdict(kMain)) + "\n";
}
