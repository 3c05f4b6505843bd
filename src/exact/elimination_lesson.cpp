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

// Whether text[at] is the e of a number's power of ten: "1.5E-7", "2e+30".
bool powerOfTenAt(std::string_view text, size_t at) {
    return (text[at] == 'E' || text[at] == 'e') && at > 0 &&
           isdigit(static_cast<unsigned char>(text[at - 1])) && at + 1 < text.size() &&
           (text[at + 1] == '-' || text[at + 1] == '+' ||
            isdigit(static_cast<unsigned char>(text[at + 1])));
}

// A caption, number or sentence as LaTeX: arrows, minus signs, dots and
// powers of ten, these in math mode of their own where `inText`.
std::string latexOf(std::string_view text, bool inText = false) {
    static const std::pair<std::string_view, std::string_view> signs[] = {
        {"←", "\\leftarrow "}, {"−", "-"}, {"·", "\\,"}, {"÷", "\\div "}, {"…", "\\ldots "}};
    std::string out;
    for (size_t at = 0; at < text.size();) {
        const auto sign = std::find_if(std::begin(signs), std::end(signs), [&](const auto& s) {
            return text.substr(at).starts_with(s.first);
        });
        if (sign != std::end(signs)) {
            out += sign->second;
            at += sign->first.size();
        } else if (powerOfTenAt(text, at)) {
            size_t end = at + 2;
            while (end < text.size() && isdigit(static_cast<unsigned char>(text[end])))
                ++end;
            const std::string_view exponent = text.substr(at + (text[at + 1] == '+' ? 2 : 1),
                                                          end - at - (text[at + 1] == '+' ? 2 : 1));
            out.append(inText ? "$" : "").append("\\times10^{").append(exponent).append("}");
            out.append(inText ? "$" : "");
            at = end;
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

// The augmented matrix as arrays that the page's width takes whole, one for
// each kLatexColumns of its columns: pdflatex's memory sets 120 rows of 121
// columns in one box, but runs out on a fit's largest system, 191 of 192.
std::string latexArrays(const std::vector<std::vector<std::string>>& rows) {
    constexpr size_t kLatexColumns = 64;
    const size_t columns = rows.front().size();
    std::string text;
    for (size_t first = 0; first < columns; first += kLatexColumns) {
        const size_t end = std::min(first + kLatexColumns, columns);
        if (columns > kLatexColumns)
            text += "\\noindent Columns " + IntToStr(int(first + 1)) + " to " + IntToStr(int(end)) +
                    ":\n";
        text += "\\[\\resizebox{\\ifdim\\width>\\linewidth\\linewidth\\else\\width\\fi}{!}{$\\left("
                "\\begin{array}{" +
                std::string(std::min(end, columns - 1) - first, 'r') +
                (end == columns ? "|r" : "") + "}\n";
        for (const std::vector<std::string>& row : rows) {
            for (size_t c = first; c < end; ++c)
                text += (c > first ? " & " : "") + latexOf(row[c]);
            text += " \\\\\n";
        }
        text += "\\end{array}\\right)$}\\]\n";
    }
    return text;
}

} // namespace

struct EliminationLesson::Run {
    // A side's systems kept on the way: after step `step`, one every
    // kCheckpoints-th part of the run, and after the last.
    struct Checkpoint {
        size_t step;
        RowReduction system;
    };
    static constexpr size_t kCheckpoints = 16;

    std::shared_ptr<const AugmentedMatrix> system; // as read, shared by every change
    std::array<std::optional<Arithmetic>, 3> arithmetics;
    Pivoting pivoting = Pivoting::none;
    bool student = false;
    std::vector<LessonStep> steps;
    std::array<std::vector<Checkpoint>, 3> checkpoints; // by side
    std::vector<int> kept; // each step's kept digits against exact; none without an exact run

    explicit Run(std::shared_ptr<const AugmentedMatrix> read) : system(std::move(read)) {
        using enum Arithmetic::Kind;
        const bool exactFollows = int(system->size()) <= kMaxExactUnknowns;
        arithmetics = {Arithmetic{exactFollows ? exact : doubles}, std::nullopt,
                       exactFollows ? std::optional(Arithmetic{}) : std::nullopt};
    }

    // The system, choices and steps, without the systems made of them.
    Run asked() const {
        Run copy(system);
        copy.arithmetics = arithmetics;
        copy.pivoting = pivoting;
        copy.student = student;
        copy.steps = steps;
        return copy;
    }
    // One step on `reduction`: a clearing of the elimination's own with the
    // side's own multiplier.
    void stepOn(RowReduction& reduction, const LessonStep& step) const {
        if (step.clearsColumn)
            reduction.clear(step.operation.row, step.operation.other, step.clearsColumn);
        else
            reduction.apply(step.operation);
    }
    // The sides run again from the system by the steps, their checkpoints
    // kept; and each step's digits held against the exact run. The chosen
    // arithmetic's own steps keep its checkpoints as they go, and it runs
    // again only beside an exact run, which is small.
    void replay(bool mainKept = false) {
        std::array<std::optional<RowReduction>, 3> reductions;
        const size_t spacing = checkpointSpacing(steps.size());
        kept.clear();
        for (int side = 0; side < 3; ++side) {
            if (side == kMain && mainKept && !arithmetics[kExact])
                continue;
            checkpoints[size_t(side)].clear();
            if (arithmetics[size_t(side)])
                reductions[size_t(side)].emplace(*system, *arithmetics[size_t(side)]);
        }
        for (size_t k = 0; k <= steps.size(); ++k) {
            for (int side = 0; side < 3; ++side) {
                auto& reduction = reductions[size_t(side)];
                if (!reduction)
                    continue;
                if (k > 0)
                    stepOn(*reduction, steps[k - 1]);
                if (k % spacing == 0 || k == steps.size())
                    checkpoints[size_t(side)].push_back({k, *reduction});
            }
            if (reductions[kExact])
                kept.push_back(keptAt(k, *reductions[kMain], *reductions[kExact]));
        }
    }
    static size_t checkpointSpacing(size_t steps) {
        return std::max<size_t>(1, steps / kCheckpoints);
    }
    // The elimination's own steps, as the chosen arithmetic takes them.
    void ownSteps() {
        RowReduction reduction(*system, *arithmetics[kMain]);
        auto& mainKept = checkpoints[kMain];
        mainKept.assign(1, {0, reduction});
        // Steps to come: at most a swap and n - 1 clearings a column.
        const size_t n = system->size(), spacing = checkpointSpacing(n * (n + 1) / 2);
        const auto operations = eliminate(reduction, pivoting, [&](size_t done) {
            if (done % spacing == 0)
                mainKept.push_back({done, reduction});
        });
        if (mainKept.back().step != operations.size())
            mainKept.push_back({operations.size(), reduction});
        steps.clear();
        for (const RowOperation& operation : operations)
            steps.push_back({operation, operation.kind == RowOperation::Kind::addMultiple
                                            ? operation.other
                                            : 0});
        student = false;
        replay(true);
    }
    RowReduction after(size_t k, int side) const {
        const auto& kept = checkpoints[size_t(side)];
        auto from = std::prev(std::upper_bound(
            kept.begin(), kept.end(), k, [](size_t k, const Checkpoint& c) { return k < c.step; }));
        RowReduction reduction = from->system;
        for (size_t step = from->step; step < k; ++step)
            stepOn(reduction, steps[step]);
        return reduction;
    }
    int carried() const {
        const Arithmetic& main = *arithmetics[kMain];
        using enum Arithmetic::Kind;
        return main.kind == decimal ? main.digits : main.kind == singles ? 7 : 15;
    }
    // The fewest digits the changed row kept of its exact values.
    int keptAt(size_t k, const RowReduction& main, const RowReduction& exact) const {
        int fewest = carried();
        if (k == 0)
            return fewest;
        const int row = steps[k - 1].operation.row;
        for (int c = 1; c <= main.size() + 1; ++c)
            fewest = std::min(fewest,
                              agreeingDigits(main.entry(row, c), exact.entry(row, c), carried()));
        return fewest;
    }
};

EliminationLesson::EliminationLesson(std::string_view text)
    : run(std::make_unique<Run>(std::make_shared<const AugmentedMatrix>(systemOf(text)))) {
    run->ownSteps();
}

EliminationLesson::~EliminationLesson() = default;
EliminationLesson::EliminationLesson(EliminationLesson&&) noexcept = default;
EliminationLesson& EliminationLesson::operator=(EliminationLesson&&) noexcept = default;

namespace {

// A change made on a copy of what was asked, and kept only when it ends: a
// value beyond single or double precision raises on the way, and the lesson
// stays as it was. Every change makes its systems again, so none is copied.
void changeWhole(std::unique_ptr<EliminationLesson::Run>& run,
                 const std::function<void(EliminationLesson::Run&)>& change) {
    auto next = std::make_unique<EliminationLesson::Run>(run->asked());
    change(*next);
    run = std::move(next);
}

} // namespace

void EliminationLesson::choose(const Arithmetic& main, const std::optional<Arithmetic>& beside,
                               Pivoting pivoting) {
    if (unknowns() > kMaxExactUnknowns && (main.kind == Arithmetic::Kind::exact ||
                                           (beside && beside->kind == Arithmetic::Kind::exact)))
        throw Exception("Exact arithmetic follows systems of up to " + IntToStr(kMaxExactUnknowns) +
                        " unknowns, whose fractions stay short "
                        "enough to show step by step; this one has " +
                        IntToStr(unknowns()) + ".");
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
    return int(run->system->size());
}

size_t EliminationLesson::steps() const {
    return run->steps.size() + 1;
}

std::string EliminationLesson::caption(size_t k) const {
    return k == 0 ? "The system" : run->steps[k - 1].operation.text(*run->arithmetics[kMain]);
}

std::optional<RowReduction> EliminationLesson::reduction(size_t k, int side) const {
    if (!run->arithmetics[size_t(side)])
        return std::nullopt;
    return run->after(k, side);
}

std::vector<std::vector<std::string>> EliminationLesson::system(size_t k, int side) const {
    std::vector<std::vector<std::string>> texts;
    const auto shown = reduction(k, side);
    for (int r = 1; shown && r <= shown->size(); ++r) {
        texts.emplace_back();
        for (int c = 1; c <= shown->size() + 1; ++c)
            texts.back().push_back(shown->text(r, c));
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

int EliminationLesson::clearedColumn(size_t k) const {
    return k == 0 ? 0 : run->steps[k - 1].clearsColumn;
}

int EliminationLesson::carriedDigits() const {
    return run->carried();
}

std::optional<int> EliminationLesson::keptDigits(size_t k) const {
    return run->kept.empty() ? std::nullopt : std::optional(run->kept[k]);
}

std::string EliminationLesson::mostLost() const {
    if (run->kept.empty())
        return "Digits kept go unmeasured: exact arithmetic follows systems of up to " +
               IntToStr(kMaxExactUnknowns) + " unknowns.";
    const size_t worst =
        size_t(std::min_element(run->kept.begin(), run->kept.end()) - run->kept.begin());
    if (worst == 0)
        return "Every step kept all " + IntToStr(run->carried()) + " digits.";
    return "Fewest digits kept: " + IntToStr(run->kept[worst]) + " of " + IntToStr(run->carried()) +
           ", at step " + IntToStr(int(worst)) + ", " + caption(worst);
}

std::string EliminationLesson::verdict(int side) const {
    const auto& arithmetic = run->arithmetics[size_t(side)];
    if (!arithmetic)
        return "";
    const RowReduction& last = run->checkpoints[size_t(side)].back().system;
    if (!last.upperTriangular())
        return "Not yet upper triangular.";
    const auto x = last.backSubstitute();
    if (!x)
        return "Upper triangular, with a 0 on the diagonal: no single solution.";
    // Every unknown up to the LaTeX's own size; beyond, the first three and the last.
    std::string text = "Upper triangular: ";
    const size_t n = x->size();
    for (size_t k = 0; k < n; ++k) {
        if (n > size_t(kMaxLatexStepsUnknowns) && k >= 3 && k + 1 < n)
            continue;
        text += (k ? ", x" : "x") + IntToStr(int(k + 1)) + " = " + writtenIn(*arithmetic, (*x)[k]);
        if (n > size_t(kMaxLatexStepsUnknowns) && k == 2)
            text += ", …";
    }
    text += ".";
    // Against the same steps in exact arithmetic, what the solution kept.
    if (run->checkpoints[kExact].empty())
        return text;
    const RowReduction& exact = run->checkpoints[kExact].back().system;
    const auto exactX = exact.upperTriangular() ? exact.backSubstitute() : std::nullopt;
    if (side != kMain || !exactX || arithmetic->kind == Arithmetic::Kind::exact)
        return text;
    int kept = run->carried();
    for (size_t k = 0; k < x->size(); ++k)
        kept = std::min(kept, agreeingDigits((*x)[k], (*exactX)[k], run->carried()));
    return text + " Against exact: " + IntToStr(kept) + " of " + IntToStr(run->carried()) +
           " digits kept.";
}

std::string EliminationLesson::latex(size_t shown) const {
    const Arithmetic& main = *run->arithmetics[kMain];
    const int n = unknowns();
    std::string text =
        "% Gaussian elimination in " + main.name() + "; needs \\usepackage{graphicx}\n";
    const bool every = n <= kMaxLatexStepsUnknowns;
    for (size_t k = every ? 0 : shown; k < (every ? steps() : shown + 1); ++k) {
        text += "\\noindent\\textit{" +
                (k == 0 ? std::string("The system") : "Step " + IntToStr(int(k))) + "}" +
                (k == 0 ? "" : ": $" + latexOf(caption(k)) + "$") + "\n";
        text += latexArrays(system(k, kMain));
    }
    // Ragged right: a line of long numbers cannot stretch to the margin.
    return text + "{\\raggedright\\noindent " + latexOf(verdict(kMain), true) + "\\par}\n";
}
