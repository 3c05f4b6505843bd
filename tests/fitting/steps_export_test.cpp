#include "fitting/steps_export.h"

#include "fitting/solve_steps.h"
#include "support/solved_grids.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <vector>

namespace {

const Grid kDefaultPoints = {{"1", "4"}, {"2", "8"}, {"3", "20"}, {"4", "46"}};

TEST(StepsText, IsEachCaptionThenTheRowItChanged) {
    const std::string text = stepsText(recordedSteps(kDefaultPoints));
    EXPECT_TRUE(text.starts_with("Build\n4\t1\t1\t1\t1\n8\t1\t2\t4\t8\n")) << text;
    EXPECT_NE(text.find("Row 4 − 6 × Row 3\n6\t0\t0\t0\t6\n"), std::string::npos) << text;
    EXPECT_TRUE(text.ends_with("A = 4 − 1 × 1 − 1 × -2 − 1 × 3\n2\n")) << text;
}

TEST(StepsText, AFailureEndsItWithTheMessage) {
    const std::string text = stepsText(recordedSteps({{"1", "4"}, {"1", "5"}, {"3", "20"}}));
    EXPECT_TRUE(text.ends_with("Row 2 ÷ 0\nFloating point division by zero\n")) << text;
}

// Every \begin has its \end, in order, and braces balance.
void expectBalanced(const std::string& latex) {
    std::vector<std::string> open;
    for (size_t at = latex.find('\\'); at != std::string::npos; at = latex.find('\\', at + 1)) {
        for (const std::string word : {"begin{", "end{"}) {
            if (latex.compare(at + 1, word.size(), word) != 0)
                continue;
            const size_t start = at + 1 + word.size();
            const std::string name = latex.substr(start, latex.find('}', start) - start);
            if (word == "begin{") {
                open.push_back(name);
            } else {
                ASSERT_FALSE(open.empty()) << "\\end{" << name << "} without its begin";
                EXPECT_EQ(open.back(), name);
                open.pop_back();
            }
        }
    }
    EXPECT_TRUE(open.empty());
    int depth = 0;
    for (size_t k = 0; k < latex.size(); ++k) {
        if (latex[k] == '\\' && k + 1 < latex.size()) {
            ++k; // an escaped character
            continue;
        }
        depth += latex[k] == '{' ? 1 : latex[k] == '}' ? -1 : 0;
        ASSERT_GE(depth, 0);
    }
    EXPECT_EQ(depth, 0);
}

// pdflatex's log of a document holding `latex`, or nothing without pdflatex.
std::optional<std::string> typesetLog(const std::string& latex, const std::string& name) {
    if (std::system("command -v pdflatex > /dev/null 2>&1") != 0)
        return std::nullopt;
    const auto folder = std::filesystem::temp_directory_path() / "tarvel-steps-latex";
    std::filesystem::create_directories(folder);
    std::ofstream(folder / (name + ".tex")) << "\\documentclass{article}\n\\usepackage{amsmath}\n"
                                               "\\begin{document}\n"
                                            << latex << "\\end{document}\n";
    const std::string command = "cd '" + folder.string() +
                                "' && pdflatex -interaction=nonstopmode -halt-on-error " + name +
                                ".tex > /dev/null 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0) << "see " << folder / (name + ".log");
    std::ifstream log(folder / (name + ".log"));
    return std::string(std::istreambuf_iterator<char>(log), {});
}

TEST(StepsLatex, TheDefaultPointsAreAnAlignedListOfMatrices) {
    const std::string latex = stepsLatex(recordedSteps(kDefaultPoints));
    EXPECT_TRUE(latex.starts_with("{\\allowdisplaybreaks\n\\begin{align*}\n&\\left[\\begin{"
                                  "array}{rrrr|r}\n1 & 1 & 1 & 1 & 4 \\\\\n"))
        << latex;
    EXPECT_NE(latex.find("\\xrightarrow{R_{4} \\leftarrow R_{4} - 6\\,R_{3}}"), std::string::npos);
    EXPECT_NE(latex.find("\\item $B = 4 - 7 \\cdot 1 - 3 \\cdot (-2) = 3$"), std::string::npos)
        << latex;
    EXPECT_NE(latex.find("\\item $D = 1$"), std::string::npos) << "one term is the value, once";
    expectBalanced(latex);
}

// Points whose steps run to wide numbers: x = 1 ... n, f(x) = x mod 3.
Grid wideSteps(int points) {
    Grid rows;
    for (int x = 1; x <= points; ++x)
        rows.push_back({std::to_string(x), std::to_string(x % 3)});
    return rows;
}

TEST(StepsLatex, MatricesWiderThanTheTextAreListedAsOperationsAndRows) {
    const std::string latex = stepsLatex(recordedSteps(wideSteps(11)));
    EXPECT_TRUE(latex.starts_with(
        "{\\raggedright\n\\begin{enumerate}\n\\item $R_{1} \\leftarrow R_{1} \\div 1$: "
        "$(1,\\allowbreak\\ 1,\\allowbreak\\ "))
        << latex.substr(0, 200);
    EXPECT_EQ(latex.find("\\left["), std::string::npos);
    expectBalanced(latex);
}

TEST(StepsLatex, TypesetsWithinTheTextWidthAtDegreesThreeTenAndTwelve) {
    for (const auto& [name, points] : {std::pair{"degree3", kDefaultPoints},
                                       {"degree10", wideSteps(11)},
                                       {"degree12", wideSteps(13)}}) {
        const auto log = typesetLog(stepsLatex(recordedSteps(points)), name);
        if (!log)
            GTEST_SKIP() << "no pdflatex here: the environments were checked for balance only";
        EXPECT_EQ(log->find("Overfull"), std::string::npos) << name << ": " << *log;
        EXPECT_NE(log->find("Output written on " + std::string(name) + ".pdf"), std::string::npos);
    }
}

TEST(StepsLatex, NegativeValuesFoldIntoTheirSigns) {
    const std::string latex =
        stepsLatex(recordedSteps({{"-1", "4"}, {"-2", "8"}, {"3", "-20"}, {"-4", "46"}}));
    EXPECT_EQ(latex.find("- -"), std::string::npos) << latex;
    EXPECT_NE(latex.find("R_{4} \\leftarrow R_{4} + 3\\,R_{2}"), std::string::npos) << latex;
    EXPECT_NE(latex.find("B = -4 - 7 \\cdot (-0.77142858505249) + 3 \\cdot (-0.400000005960464)"),
              std::string::npos)
        << latex;
    EXPECT_NE(latex.find("\\div (-1)"), std::string::npos) << latex;
}

TEST(StepsLatex, AFailureMessageIsEscaped) {
    const std::string latex = stepsLatex(recordedSteps({{"1", "4"}, {"2", "1_%"}, {"3", "20"}}));
    EXPECT_NE(latex.find("\\_\\%"), std::string::npos) << latex;
    expectBalanced(latex);
}

} // namespace
