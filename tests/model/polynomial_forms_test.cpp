#include "model/polynomial_forms.h"

#include "model/evaluation.h"
#include "toolkit/conversions.h"
#include "toolkit/errors.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

using Texts = std::vector<std::string>;
const Texts kLetters = {"A", "B", "C", "D", "E", "F", "G", "H", "I", "J"};

std::string written(PolynomialForm form, const Texts& values, const char* cell = "A1") {
    return polynomialText(form, Texts(kLetters.begin(), kLetters.begin() + long(values.size())),
                          values, cell);
}

struct Written {
    Texts values;
    const char* latex;
    const char* spreadsheet;
    const char* horner;
};

class PolynomialForms : public ::testing::TestWithParam<Written> {};

TEST_P(PolynomialForms, FoldSignsDropUnitsAndLeaveOutZeros) {
    const Written& w = GetParam();
    EXPECT_EQ(written(PolynomialForm::latex, w.values), w.latex);
    EXPECT_EQ(written(PolynomialForm::spreadsheet, w.values), w.spreadsheet);
    EXPECT_EQ(written(PolynomialForm::python, w.values),
              std::string("def f(x):\n    return ") + w.horner + "\n");
    EXPECT_EQ(written(PolynomialForm::cpp, w.values),
              std::string("double f(double x) {\n    return ") + w.horner + ";\n}\n");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PolynomialForms,
    ::testing::Values(Written{{"2", "3", "-2", "1"},
                              "2 + 3x - 2x^{2} + x^{3}",
                              "=2+3*A1-2*A1^2+A1^3",
                              "((x - 2)*x + 3)*x + 2"},
                      Written{{"0", "-1", "0", "1"}, "-x + x^{3}", "=-A1+A1^3", "(x*x - 1)*x"},
                      Written{{"0", "0", "-1"}, "-x^{2}", "=-1*A1^2", "-x*x"}, // not (-A1)^2
                      Written{{"-1"}, "-1", "=-1", "-1"}, Written{{"0", "-0"}, "0", "=0", "0"},
                      Written{{"1.5E-7", "-2.5E+300", "1E-7"},
                              "1.5\\times10^{-7} - 2.5\\times10^{300}x + 10^{-7}x^{2}",
                              "=1.5E-7-2.5E300*A1+1E-7*A1^2",
                              "(1E-7*x - 2.5E300)*x + 1.5E-7"},
                      // Written from their values: C reads "010" as eight.
                      Written{{"010", "+.5", "-0.250E+01"},
                              "10 + 0.5x - 0.250\\times10^{1}x^{2}",
                              "=10+0.5*A1-0.250E1*A1^2",
                              "(-0.250E1*x + 0.5)*x + 10"}));

TEST(PolynomialFormsColumn, IsTheLettersAndValuesAsTheGridCopiesThem) {
    EXPECT_EQ(written(PolynomialForm::column, {"2", "3", "-2", "1"}), "A\t2\nB\t3\nC\t-2\nD\t1\n");
    EXPECT_EQ(written(PolynomialForm::spreadsheet, {"2", "3"}, "$B$7"), "=2+3*$B$7");
}

TEST(PolynomialFormsRefuse, ANumberThatCannotBeWrittenOrACellThatIsNone) {
    const auto refusal = [](const Texts& values, const char* cell = "A1") {
        try {
            written(PolynomialForm::spreadsheet, values, cell);
        } catch (const Exception& error) {
            return std::string(error.what());
        }
        return std::string();
    };
    EXPECT_EQ(refusal({"2", "1E400"}), "The coefficient B cannot be written: '\u20681E400\u2069' "
                                       "is beyond the range of a double.");
    EXPECT_EQ(refusal({"abc"}), "The coefficient A cannot be written: '\u2068abc\u2069' is not a "
                                "valid floating point value.");
    for (const char* cell : {"A0", "1A", "A", "$$A1", "A1:B2", "", "AAAA1"})
        EXPECT_NE(refusal({"2"}, cell), "") << cell;
}

TEST(PolynomialFormsSpreadsheet, TakesAnyColumnASpreadsheetHas) {
    for (const char* cell : {"AAA1", "$XFD$1048576", "b7"})
        EXPECT_EQ(written(PolynomialForm::spreadsheet, {"2", "3", "0", "1"}, cell),
                  std::string("=2+3*") + cell + "+" + cell + "^3")
            << cell;
}

// Readers of each form, independent of the writer: a spreadsheet's and
// LaTeX's own rules, and the real Python and C++ where the machine has them.

// A spreadsheet formula at x: + - * ^, numbers, the cell; a minus before a
// value binds tighter than ^, as spreadsheets have it.
class FormulaReader {
  public:
    FormulaReader(std::string text, std::string cell, double x)
        : text(std::move(text)), cell(std::move(cell)), x(x) {}
    double read() {
        EXPECT_EQ(text[at++], '=');
        const double value = sum();
        EXPECT_EQ(at, text.size()) << text;
        return value;
    }

  private:
    double sum() {
        double value = product();
        while (at < text.size() && (text[at] == '+' || text[at] == '-'))
            value = text[at++] == '+' ? value + product() : value - product();
        return value;
    }
    double product() {
        double value = power();
        while (at < text.size() && text[at] == '*')
            ++at, value *= power();
        return value;
    }
    double power() {
        const double base = signedValue();
        if (at < text.size() && text[at] == '^')
            return ++at, std::pow(base, signedValue());
        return base;
    }
    double signedValue() {
        if (text[at] == '-')
            return ++at, -signedValue();
        if (text.compare(at, cell.size(), cell) == 0)
            return at += cell.size(), x;
        size_t end = at;
        while (end < text.size() &&
               (std::isdigit(static_cast<unsigned char>(text[end])) || text[end] == '.' ||
                text[end] == 'E' ||
                ((text[end] == '-' || text[end] == '+') && text[end - 1] == 'E')))
            ++end;
        const double value = StrToFloat(text.substr(at, end - at));
        at = end;
        return value;
    }
    std::string text, cell;
    double x;
    size_t at = 0;
};

// LaTeX as written here: terms joined by + and -, each a number (a\times10^{e}
// or 10^{e} or digits) and x or x^{k}, side by side.
double readLatex(const std::string& text, double x) {
    double total = 0;
    size_t at = 0;
    while (at < text.size()) {
        double sign = 1;
        if (text.compare(at, 3, " + ") == 0)
            at += 3;
        else if (text.compare(at, 3, " - ") == 0)
            at += 3, sign = -1;
        else if (text[at] == '-')
            at += 1, sign = -1;
        size_t end = text.find_first_of(" ", at);
        const std::string term =
            text.substr(at, end == std::string::npos ? std::string::npos : end - at);
        at = end == std::string::npos ? text.size() : end;
        double coefficient = 1;
        std::string rest = term;
        const size_t xAt = rest.find('x');
        std::string number = rest.substr(0, xAt);
        if (const size_t times = number.find("\\times"); times != std::string::npos) {
            coefficient = StrToFloat(number.substr(0, times));
            number = number.substr(times + 6);
        }
        if (number.starts_with("10^{"))
            coefficient *= std::pow(10.0, StrToIntDef(number.substr(4, number.size() - 5), 0));
        else if (!number.empty())
            coefficient = StrToFloat(number);
        double power = 0;
        if (xAt != std::string::npos)
            power = rest.size() == xAt + 1
                        ? 1
                        : StrToIntDef(rest.substr(xAt + 3, rest.size() - xAt - 4), -1);
        total += sign * coefficient * std::pow(x, power);
    }
    return total;
}

// Runs `command` and reads the numbers it prints, one a line.
std::vector<double> printed(const std::string& command) {
    std::vector<double> values;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return values;
    char line[128];
    while (std::fgets(line, sizeof line, pipe))
        values.push_back(std::strtod(line, nullptr));
    pclose(pipe);
    return values;
}

bool have(const char* tool) {
    return std::system((std::string("command -v ") + tool + " >/dev/null 2>&1").c_str()) == 0;
}

struct Fit {
    Texts values;
    std::vector<double> xs;
};

class PolynomialFormsReadBack : public ::testing::TestWithParam<Fit> {
  protected:
    // The shown polynomial at each x, as f(x) gives it.
    std::vector<double> shown() const {
        std::vector<double> coefficients;
        for (const std::string& value : GetParam().values)
            coefficients.push_back(StrToFloat(value));
        std::vector<double> ys;
        for (const double x : GetParam().xs)
            ys.push_back(poly(x, int(coefficients.size()) - 1, coefficients.data()));
        return ys;
    }
    void expectAgree(const std::vector<double>& read, const char* reader) const {
        const std::vector<double> expected = shown();
        ASSERT_EQ(read.size(), expected.size()) << reader;
        for (size_t k = 0; k < read.size(); ++k)
            EXPECT_NEAR(read[k], expected[k], 1e-12 * std::max(1.0, std::abs(expected[k])))
                << reader << " at x = " << GetParam().xs[k];
    }
    std::filesystem::path folder = std::filesystem::temp_directory_path() / "tarvel-forms";
};

TEST_P(PolynomialFormsReadBack, EveryFormReadsBackAsTheShownPolynomial) {
    const Texts& values = GetParam().values;
    std::vector<double> formula, latex;
    for (const double x : GetParam().xs) {
        formula.push_back(
            FormulaReader(written(PolynomialForm::spreadsheet, values, "B2"), "B2", x).read());
        latex.push_back(readLatex(written(PolynomialForm::latex, values), x));
    }
    expectAgree(formula, "the spreadsheet formula");
    expectAgree(latex, "LaTeX");

    std::filesystem::create_directories(folder);
    std::string xs;
    for (const double x : GetParam().xs)
        xs += FloatToStr(x) + ", ";
    if (have("python3")) {
        std::ofstream(folder / "f.py") << written(PolynomialForm::python, values) << "for x in ["
                                       << xs << "]:\n    print(repr(float(f(x))))\n";
        expectAgree(printed("python3 " + (folder / "f.py").string()), "Python");
    } else {
        std::puts("skipped: Python, no python3 here");
    }
    // The same source is C and C++.
    std::ofstream(folder / "f.c") << "#include <stdio.h>\n"
                                  << written(PolynomialForm::cpp, values)
                                  << "int main(void) {\n    const double xs[] = {" << xs << "};\n"
                                  << "    for (unsigned k = 0; k < sizeof xs / sizeof xs[0]; ++k)\n"
                                  << "        printf(\"%.17g\\n\", f(xs[k]));\n    return 0;\n}\n";
    for (const auto& [compiler, language] : {std::pair{"gcc", "c"}, std::pair{"g++", "c++"}}) {
        if (!have(compiler)) {
            std::printf("skipped: %s, no %s here\n", language, compiler);
            continue;
        }
        const std::string program = (folder / "f").string();
        ASSERT_EQ(std::system((std::string(compiler) + " -x " + language +
                               " -ffp-contract=off -o " + program + " " + (folder / "f.c").string())
                                  .c_str()),
                  0);
        expectAgree(printed(program), language);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Fits, PolynomialFormsReadBack,
    ::testing::Values(Fit{{"2", "3", "-2", "1"}, {1, 2, 3, 4}},
                      // x = 1..10 at degree 9, with the exact values
                      Fit{Texts(10, "1"), {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}},
                      // and as single precision leaves them
                      Fit{{"-627.78466796875", "1754.4326171875", "-1962.7919921875",
                           "1182.56909179688", "-425.27001953125", "97.4998168945313",
                           "-12.8020572662354", "2.20951509475708", "0.940804362297058",
                           "1.00123798847198"},
                          {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}},
                      Fit{{"1.5E-7", "-2.5E+30", "1E-7"}, {-1, 0.5, 3e10}},
                      Fit{{"0", "0", "-1"}, {-2, 3}},
                      // as typed: "08" is no C number at all, and a whole
                      // number past C's integers does not compile
                      Fit{{"010", "08", "12345678901234567890"}, {-1, 0.5, 2}}));

} // namespace
