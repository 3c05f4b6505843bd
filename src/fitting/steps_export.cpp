#include "fitting/steps_export.h"

#include "fitting/solve_steps.h"
#include "model/polynomial_forms.h"
#include "toolkit/cell_block.h"
#include "toolkit/conversions.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <vector>

namespace {

using Row = std::vector<std::string>;

// The texts of every step's changed row, as the grid would show them after it.
std::map<size_t, Row> changedRows(const SolveSteps& steps) {
    std::map<size_t, Row> rows;
    const int cols = builtSystem(steps).colCount();
    replay(steps, [&](size_t k, const std::function<double(int, int)>& value) {
        if (k >= steps.steps.size())
            return;
        Row& row = rows[k];
        for (int c = 0; c < cols; ++c)
            try {
                row.push_back(FloatToStr(value(c, steps.steps[k].row)));
            } catch (const std::exception&) {
                row.push_back("…"); // beyond a double
            }
    });
    return rows;
}

// Text as LaTeX's text mode takes it, its special characters escaped.
std::string latexText(const std::string& text) {
    std::string escaped;
    for (const char c : text) {
        switch (c) {
        case '\\':
            escaped += "\\textbackslash{}";
            break;
        case '{':
        case '}':
        case '$':
        case '&':
        case '#':
        case '_':
        case '%':
            escaped += '\\';
            escaped += c;
            break;
        case '^':
            escaped += "\\^{}";
            break;
        case '~':
            escaped += "\\~{}";
            break;
        default:
            escaped += c;
        }
    }
    return escaped;
}

std::string latexValue(double value) {
    return std::isnan(value) ? "\\ldots" : latexNumber(FloatToStr(value));
}

// The operation in LaTeX: R_{4} \leftarrow R_{4} - 6 R_{3}.
std::string latexOperation(const SolveStep& step) {
    const std::string row = "R_{" + IntToStr(step.row) + "}";
    switch (step.kind) {
    case SolveStep::Kind::build:
        return "\\text{Build}";
    case SolveStep::Kind::divide:
        return row + " \\leftarrow " + row + " \\div " +
               (step.operand < 0 ? std::string("(").append(latexValue(step.operand)).append(")")
                                 : latexValue(step.operand));
    case SolveStep::Kind::subtract: {
        const bool negative = !std::isnan(step.operand) && step.operand < 0;
        return row + " \\leftarrow " + row + (negative ? " + " : " - ") +
               latexValue(negative ? -step.operand : step.operand) + "\\,R_{" +
               IntToStr(step.pivotRow) + "}";
    }
    case SolveStep::Kind::substitute:
        break;
    }
    return "";
}

// [A B C D | Answer] of a grid, rows 1 on.
std::string latexMatrix(const std::vector<Row>& rows) {
    if (rows.empty())
        return "";
    const size_t unknowns = rows[0].size() - 1;
    std::string text = "\\left[\\begin{array}{" + std::string(unknowns, 'r') + "|r}\n";
    for (size_t r = 0; r < rows.size(); ++r) {
        for (size_t c = 1; c <= unknowns; ++c)
            text += latexNumber(rows[r][c]) + " & ";
        text += latexNumber(rows[r][0]) + (r + 1 < rows.size() ? " \\\\\n" : "\n");
    }
    return text + "\\end{array}\\right]";
}

std::string latexRow(const Row& row) {
    std::string text = "(";
    for (size_t c = 1; c < row.size(); ++c)
        text += latexNumber(row[c]) + ",\\allowbreak\\ ";
    return text + "\\mid " + (row.empty() ? "" : latexNumber(row[0])) + ")";
}

// A coefficient's line: D = 4 - 6 \cdot 1 = -2.
std::string latexSubstitution(const SolveSteps& steps, size_t k) {
    const SolveStep& step = steps.steps[k];
    const auto [first, end] = termRange(steps, k);
    std::string text = latexText(steps.letters.at(size_t(step.row - 1))) + " = ";
    if (end - first > 1) { // one term is the value itself
        text += latexValue(steps.terms[first]);
        for (size_t t = first + 1; t + 1 < end; t += 2) {
            const double a = steps.terms[t], b = steps.terms[t + 1];
            text += (a < 0 ? " + " : " - ") + latexValue(std::abs(a)) + " \\cdot ";
            text += b < 0 ? '(' + latexValue(b) + ')' : latexValue(b);
        }
        text += " = ";
    }
    return text + latexValue(step.operand);
}

// About how wide a number stands in a 10 pt math formula, in points: digits
// 5, a point 2.8, a minus 7.8, and "\times10^{e}" some 20 more.
double latexWidth(const std::string& text) {
    double width = 0;
    const size_t e = text.find_first_of("eE");
    for (size_t k = 0; k < std::min(e, text.size()); ++k)
        width += text[k] == '-' ? 7.8 : text[k] == '.' ? 2.8 : 5;
    return e == std::string::npos ? width : width + 20 + 3.5 * double(text.size() - e);
}

// The widest line of the aligned matrices, arrow and operation included.
double matrixLineWidth(const std::vector<Row>& first, const SolveSteps& steps,
                       const std::map<size_t, Row>& rows) {
    std::vector<double> columns(first.empty() ? 0 : first[0].size());
    const auto widen = [&](const Row& row) {
        for (size_t c = 0; c < row.size() && c < columns.size(); ++c)
            columns[c] = std::max(columns[c], latexWidth(row[c]));
    };
    for (const Row& row : first)
        widen(row);
    double label = 0; // the operation over the arrow, in script size
    for (const auto& [k, row] : rows) {
        widen(row);
        label = std::max(label, 0.7 * (55 + latexWidth(FloatToStr(steps.steps[k].operand))));
    }
    double width = 20 + label; // brackets, rule and arrow
    for (const double column : columns)
        width += column + 10; // and the space between columns
    return width;
}

// The built system's rows, rows 1 on.
std::vector<Row> builtRows(const CellTable& built) {
    std::vector<Row> matrix;
    for (int r = 1; r < built.rowCount(); ++r) {
        matrix.emplace_back();
        for (int c = 0; c < built.colCount(); ++c)
            matrix.back().push_back(built.cell(c, r));
    }
    return matrix;
}

std::string latexMatrices(std::vector<Row> matrix, const SolveSteps& steps,
                          const std::map<size_t, Row>& rows) {
    // A group of its own lets the display break between lines, and only here.
    std::string text = "{\\allowdisplaybreaks\n\\begin{align*}\n&" + latexMatrix(matrix);
    for (size_t k = 1; k < steps.steps.size(); ++k) {
        const SolveStep& step = steps.steps[k];
        if (step.kind == SolveStep::Kind::substitute)
            continue;
        if (const auto row = rows.find(k); row != rows.end())
            matrix[size_t(step.row - 1)] = row->second;
        text += " \\\\\n\\xrightarrow{" + latexOperation(step) + "}\\;&" + latexMatrix(matrix);
    }
    return text + "\n\\end{align*}}\n";
}

std::string latexOperations(const SolveSteps& steps, const std::map<size_t, Row>& rows) {
    // Ragged right: inline formulas have no stretch, so a full line could
    // only be had by running over the margin.
    std::string text = "{\\raggedright\n\\begin{enumerate}\n";
    for (size_t k = 1; k < steps.steps.size(); ++k) {
        const SolveStep& step = steps.steps[k];
        if (step.kind == SolveStep::Kind::substitute)
            continue;
        text += "\\item $" + latexOperation(step) + "$";
        if (const auto row = rows.find(k); row != rows.end())
            text += ": $" + latexRow(row->second) + "$";
        text += "\n";
    }
    return text + "\\end{enumerate}}\n";
}

std::string latexSubstitutions(const SolveSteps& steps) {
    std::string items;
    for (size_t k = 1; k < steps.steps.size(); ++k)
        if (steps.steps[k].kind == SolveStep::Kind::substitute)
            items += "\\item $" + latexSubstitution(steps, k) + "$\n";
    return items.empty() ? "" : "{\\raggedright\n\\begin{itemize}\n" + items + "\\end{itemize}}\n";
}

} // namespace

std::string stepsText(const SolveSteps& steps) {
    const CellTable built = builtSystem(steps);
    const std::map<size_t, Row> rows = changedRows(steps);
    std::string text;
    for (size_t k = 0; k < steps.steps.size(); ++k) {
        text += caption(steps, k) + "\n";
        CellBlock block;
        const SolveStep& step = steps.steps[k];
        if (step.kind == SolveStep::Kind::build)
            for (int r = 1; r < built.rowCount(); ++r) {
                block.emplace_back();
                for (int c = 0; c < built.colCount(); ++c)
                    block.back().push_back(built.cell(c, r));
            }
        else if (step.kind == SolveStep::Kind::substitute && !std::isnan(step.operand))
            block.push_back({FloatToStr(step.operand)});
        else if (const auto row = rows.find(k); row != rows.end())
            block.push_back(row->second);
        if (!block.empty())
            text += cellBlockText(block); // a line each row
    }
    if (!steps.failure.empty())
        text += steps.failure + "\n";
    return text;
}

std::string stepsLatex(const SolveSteps& steps) {
    const std::vector<Row> built = builtRows(builtSystem(steps));
    const std::map<size_t, Row> rows = changedRows(steps);
    std::string text = matrixLineWidth(built, steps, rows) <= kLatexTextWidth
                           ? latexMatrices(built, steps, rows)
                           : latexOperations(steps, rows);
    text += latexSubstitutions(steps);
    if (!steps.failure.empty())
        text += "\\noindent\\textit{" + latexText(steps.failure) + "}\n";
    return text;
}
