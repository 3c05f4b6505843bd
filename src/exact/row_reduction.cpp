#include "exact/row_reduction.h"

#include "exact/exact_number.h"
#include "exact/rounded_numbers.h"
#include "toolkit/conversions.h"
#include "toolkit/message_text.h"

#include <algorithm>

namespace {

// The text with spaces gone, the typographic signs written plainly and
// every row's R in capitals.
std::string plainOperation(std::string_view text) {
    static const std::pair<std::string_view, std::string_view> signs[] = {
        {"←", "<-"}, {"↔", "<->"}, {"−", "-"}, {"·", "*"}, {"×", "*"}, {"÷", "/"}};
    std::string plain;
    for (size_t at = 0; at < text.size();) {
        const auto sign = std::find_if(std::begin(signs), std::end(signs), [&](const auto& s) {
            return text.substr(at).starts_with(s.first);
        });
        if (sign != std::end(signs)) {
            plain += sign->second;
            at += sign->first.size();
            continue;
        }
        const char c = text[at++];
        if (c != ' ' && c != '\t')
            plain += c == 'r' ? 'R' : c;
    }
    return plain;
}

// Reads "R<digits>" at `at`; the row, or 0.
int rowAt(const std::string& text, size_t& at) {
    if (at >= text.size() || text[at] != 'R')
        return 0;
    size_t end = at + 1;
    while (end < text.size() && isdigit(static_cast<unsigned char>(text[end])))
        ++end;
    if (end == at + 1 || end - at > 4)
        return 0;
    const int row = std::stoi(text.substr(at + 1, end - at - 1));
    at = end;
    return row;
}

// "R3". Appended: GCC 12 warns falsely of "literal" + string here.
std::string rowName(int row) {
    std::string name = "R";
    return name.append(IntToStr(row));
}

std::string rowsRefusal(int row, int rows) {
    return "There is no row " + IntToStr(row) + ": the system has " + IntToStr(rows) +
           (rows == 1 ? " row." : " rows.");
}

} // namespace

std::string RowOperation::text(const Arithmetic& arithmetic) const {
    const std::string r = rowName(row), o = rowName(other);
    switch (kind) {
    case Kind::swap:
        return "Swap Row " + IntToStr(row) + " and Row " + IntToStr(other);
    case Kind::scale:
        return r + " ← " + writtenIn(arithmetic, value) + "·" + r;
    case Kind::divide:
        return r + " ← " + r + " ÷ " + writtenIn(arithmetic, value);
    case Kind::addMultiple:
        break;
    }
    return r + " ← " + r + (sgn(value) < 0 ? " − " : " + ") + writtenIn(arithmetic, abs(value)) +
           "·" + o;
}

std::optional<mpq_class> readNumber(std::string_view text) {
    if (const size_t slash = text.find('/'); slash != std::string_view::npos) {
        const auto p = exactDecimal(text.substr(0, slash)),
                   q = exactDecimal(text.substr(slash + 1));
        if (p && q && sgn(q->digits) != 0)
            return p->value() / q->value();
        return std::nullopt;
    }
    if (const auto value = exactDecimal(text))
        return value->value();
    return std::nullopt;
}

namespace {

constexpr const char* kOperationForms =
    "Write a swap as \"R1 <-> R2\", a scale as \"R2 <- 0.5 R2\" or \"R2 <- R2 / 4\", an "
    "addition as \"R3 <- R3 - 2 R1\".";

ReadOperation refused(const std::string& why) {
    return {std::nullopt, why};
}

// The number of a term: none is 1, a lone sign ±1.
std::optional<mpq_class> termNumber(std::string_view written) {
    if (written.empty() || written == "+")
        return mpq_class(1);
    if (written == "-")
        return mpq_class(-1);
    return readNumber(written);
}

ReadOperation notANumber(std::string_view written) {
    return refused(quotedText(std::string(written)) + " is not a number.");
}

// "R1R2": the two rows of a swap, as written without its arrow.
ReadOperation readSwap(const std::string& text, int rows) {
    size_t at = 0;
    const int a = rowAt(text, at), b = rowAt(text, at);
    if (!a || !b || at != text.size())
        return refused(kOperationForms);
    for (const int row : {a, b})
        if (row > rows)
            return refused(rowsRefusal(row, rows));
    return {RowOperation{RowOperation::Kind::swap, a, b, 0}, ""};
}

// "±m R<source>", what is added to row `target`.
ReadOperation readAddition(int target, const std::string& term, int rows) {
    const size_t r = term.rfind('R');
    if (r == std::string::npos)
        return refused(kOperationForms);
    size_t from = r;
    const int source = rowAt(term, from);
    if (!source || from != term.size())
        return refused(kOperationForms);
    if (source > rows)
        return refused(rowsRefusal(source, rows));
    if (source == target)
        return refused("A row less a multiple of itself is a scale: write it as \"" +
                       rowName(target) + " <- 0.5 " + rowName(target) + "\".");
    std::string multiple = term.substr(0, r);
    if (multiple.ends_with('*'))
        multiple.pop_back();
    const std::string digits = multiple.substr(1);
    const auto value = termNumber(digits);
    if (!value || digits == "+" || digits == "-")
        return notANumber(digits);
    return {RowOperation{RowOperation::Kind::addMultiple, target, source,
                         multiple[0] == '-' ? mpq_class(-*value) : *value},
            ""};
}

// What follows "R<target> <-": a division, an addition or a scale.
ReadOperation readAssignment(int target, const std::string& rest, int rows) {
    const std::string self = rowName(target);
    if (rest.starts_with(self + "/")) {
        const std::string divisor = rest.substr(self.size() + 1);
        const auto value = divisor.empty() ? std::nullopt : readNumber(divisor);
        if (!value)
            return notANumber(divisor);
        if (sgn(*value) == 0)
            return refused("A row divided by 0 is no row: divide by a number other than 0.");
        return {RowOperation{RowOperation::Kind::divide, target, 0, *value}, ""};
    }
    if (rest.starts_with(self) && rest.size() > self.size() &&
        (rest[self.size()] == '+' || rest[self.size()] == '-'))
        return readAddition(target, rest.substr(self.size()), rows);
    if (!rest.ends_with(self) || rest.size() == self.size())
        return refused(kOperationForms);
    std::string factor = rest.substr(0, rest.size() - self.size());
    if (factor.ends_with('*'))
        factor.pop_back();
    const auto value = termNumber(factor);
    if (!value)
        return notANumber(factor);
    if (sgn(*value) == 0)
        return refused("A row scaled by 0 is lost: scale by a number other than 0.");
    return {RowOperation{RowOperation::Kind::scale, target, 0, *value}, ""};
}

} // namespace

ReadOperation readOperation(std::string_view typed, int rows) {
    const std::string text = plainOperation(typed);
    if (text.starts_with("swap"))
        return readSwap(text.substr(4), rows);
    size_t at = 0;
    const int target = rowAt(text, at);
    if (!target)
        return refused(kOperationForms);
    if (target > rows)
        return refused(rowsRefusal(target, rows));
    if (text.compare(at, 3, "<->") == 0)
        return readSwap(text.substr(0, at) + text.substr(at + 3), rows);
    if (text.compare(at, 2, "<-") != 0)
        return refused(kOperationForms);
    return readAssignment(target, text.substr(at + 2), rows);
}

struct RowReduction::Cells {
    virtual ~Cells() = default;
    virtual std::unique_ptr<Cells> copy() const = 0;
    virtual mpq_class entry(int r, int c) const = 0;
    virtual bool isZero(int r, int c) const = 0;
    virtual void apply(const RowOperation& operation) = 0;
    virtual mpq_class clear(int r, int p, int c) = 0;
    virtual int largestInColumn(int c, int from) const = 0;
    virtual std::optional<std::vector<mpq_class>> backSubstitute() const = 0;
};

namespace {

// The entries, row after row, in one arithmetic's numbers.
template <typename Numbers> class CellsIn final : public RowReduction::Cells {
  public:
    using Number = typename Numbers::Number;

    CellsIn(const AugmentedMatrix& augmented, Numbers numbers)
        : numbers(numbers), n(int(augmented.size())) {
        values.reserve(size_t(n) * size_t(n + 1));
        for (const std::vector<mpq_class>& row : augmented)
            for (const mpq_class& value : row)
                values.push_back(numbers.from(value));
    }
    std::unique_ptr<Cells> copy() const override { return std::make_unique<CellsIn>(*this); }
    mpq_class entry(int r, int c) const override { return numbers.exact(at(r, c)); }
    bool isZero(int r, int c) const override { return Numbers::isZero(at(r, c)); }

    void apply(const RowOperation& operation) override {
        // A typed number is first a number of the arithmetic: 17 digits of
        // a double are that double.
        const Number value = numbers.from(operation.value);
        Number* row = &at(operation.row, 1);
        switch (operation.kind) {
        case RowOperation::Kind::swap:
            std::swap_ranges(row, row + n + 1, &at(operation.other, 1));
            return;
        case RowOperation::Kind::scale:
            for (int c = 0; c <= n; ++c)
                row[c] = numbers.multiply(value, row[c]);
            return;
        case RowOperation::Kind::divide:
            for (int c = 0; c <= n; ++c)
                row[c] = numbers.divide(row[c], value);
            return;
        case RowOperation::Kind::addMultiple:
            break;
        }
        const int p = operation.other;
        int lead = 1; // the pivot row's first nonzero entry
        while (lead <= n + 1 && Numbers::isZero(at(p, lead)))
            ++lead;
        const bool clears =
            lead <= n && value == Numbers::negated(multiplier(operation.row, p, lead));
        addMultiple(operation.row, p, value, clears ? lead : 0);
    }

    mpq_class clear(int r, int p, int c) override {
        if (Numbers::isZero(at(p, c)))
            return 0;
        const Number value = Numbers::negated(multiplier(r, p, c));
        addMultiple(r, p, value, c);
        return numbers.exact(value);
    }

    int largestInColumn(int c, int from) const override {
        int largest = from;
        for (int r = from + 1; r <= n; ++r)
            if (Numbers::smaller(at(largest, c), at(r, c)))
                largest = r;
        return largest;
    }

    std::optional<std::vector<mpq_class>> backSubstitute() const override {
        std::vector<Number> x(static_cast<size_t>(n));
        for (int i = n; i >= 1; --i) {
            if (Numbers::isZero(at(i, i)))
                return std::nullopt;
            Number sum = at(i, n + 1);
            for (int j = i + 1; j <= n; ++j)
                sum = numbers.add(sum,
                                  Numbers::negated(numbers.multiply(at(i, j), x[size_t(j - 1)])));
            x[size_t(i - 1)] = numbers.divide(sum, at(i, i));
        }
        std::vector<mpq_class> exact;
        for (const Number& value : x)
            exact.push_back(numbers.exact(value));
        return exact;
    }

  private:
    Number& at(int r, int c) { return values[size_t(r - 1) * size_t(n + 1) + size_t(c - 1)]; }
    const Number& at(int r, int c) const {
        return values[size_t(r - 1) * size_t(n + 1) + size_t(c - 1)];
    }
    Number multiplier(int r, int p, int c) const {
        return Numbers::isZero(at(p, c)) ? Number{} : numbers.divide(at(r, c), at(p, c));
    }
    // Row r plus `value` times row p, entry by entry, and column `cleared`
    // (none for 0) set to 0. A zero of row p leaves the entry as it was,
    // as adding a rounded 0 does.
    void addMultiple(int r, int p, const Number& value, int cleared) {
        Number* target = &at(r, 1);
        const Number* source = &at(p, 1);
        for (int c = 0; c <= n; ++c) {
            if (c + 1 == cleared)
                target[c] = Number{};
            else if (!Numbers::isZero(source[c]))
                target[c] = numbers.add(target[c], numbers.multiply(value, source[c]));
        }
    }

    Numbers numbers;
    int n;
    std::vector<Number> values;
};

std::unique_ptr<RowReduction::Cells> cellsIn(const Arithmetic& arithmetic,
                                             const AugmentedMatrix& augmented) {
    switch (arithmetic.kind) {
    case Arithmetic::Kind::exact:
        return std::make_unique<CellsIn<ExactNumbers>>(augmented, ExactNumbers{});
    case Arithmetic::Kind::doubles:
        return std::make_unique<CellsIn<BinaryNumbers<double>>>(augmented,
                                                                BinaryNumbers<double>{arithmetic});
    case Arithmetic::Kind::singles:
        return std::make_unique<CellsIn<BinaryNumbers<float>>>(augmented,
                                                               BinaryNumbers<float>{arithmetic});
    case Arithmetic::Kind::decimal:
        break;
    }
    return std::make_unique<CellsIn<DecimalNumbers>>(augmented, DecimalNumbers(arithmetic));
}

} // namespace

RowReduction::RowReduction(const AugmentedMatrix& augmented, Arithmetic arithmetic)
    : in(arithmetic), n(int(augmented.size())), cells(cellsIn(arithmetic, augmented)) {}

RowReduction::RowReduction(const RowReduction& other)
    : in(other.in), n(other.n), cells(other.cells->copy()) {}

RowReduction& RowReduction::operator=(const RowReduction& other) {
    if (this != &other)
        *this = RowReduction(other);
    return *this;
}

RowReduction::RowReduction(RowReduction&&) noexcept = default;
RowReduction& RowReduction::operator=(RowReduction&&) noexcept = default;
RowReduction::~RowReduction() = default;

mpq_class RowReduction::entry(int r, int c) const {
    return cells->entry(r, c);
}

std::string RowReduction::text(int r, int c) const {
    return writtenIn(in, entry(r, c));
}

bool RowReduction::isZero(int r, int c) const {
    return cells->isZero(r, c);
}

void RowReduction::apply(const RowOperation& operation) {
    cells->apply(operation);
}

mpq_class RowReduction::clear(int r, int p, int c) {
    return cells->clear(r, p, c);
}

int RowReduction::largestInColumn(int c, int from) const {
    return cells->largestInColumn(c, from);
}

bool RowReduction::upperTriangular() const {
    for (int r = 2; r <= n; ++r)
        for (int c = 1; c < r; ++c)
            if (!isZero(r, c))
                return false;
    return true;
}

std::optional<std::vector<mpq_class>> RowReduction::backSubstitute() const {
    return cells->backSubstitute();
}

std::vector<RowOperation> eliminate(RowReduction& system, Pivoting pivoting,
                                    const std::function<void(size_t steps)>& done) {
    std::vector<RowOperation> steps;
    const auto record = [&](RowOperation step) {
        steps.push_back(std::move(step));
        if (done)
            done(steps.size());
    };
    const int n = system.size();
    for (int i = 1; i <= n; ++i) {
        if (pivoting == Pivoting::partial) {
            if (const int largest = system.largestInColumn(i, i); largest != i) {
                system.apply({RowOperation::Kind::swap, i, largest, 0});
                record({RowOperation::Kind::swap, i, largest, 0});
            }
        }
        if (system.isZero(i, i))
            break;
        for (int r = i + 1; r <= n; ++r)
            if (!system.isZero(r, i))
                record({RowOperation::Kind::addMultiple, r, i, system.clear(r, i, i)});
    }
    return steps;
}
