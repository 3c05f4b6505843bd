#include "exact/elimination_lesson.h"

#include "exact/rounded_arithmetic.h"
#include "exact/row_reduction.h"
#include "toolkit/errors.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iomanip>
#include <map>
#include <sstream>

namespace {

constexpr const char* kClassic = "0.003000 59.14 59.17\n5.291 -6.130 46.78\n";
const Arithmetic kFourDigits{Arithmetic::Kind::decimal, 4, false};
const Arithmetic kExact{};

// 1 ÷ (r + c) × scale in twelve rows, each with its right-hand side.
std::string twelveUnknowns(double scale = 1) {
    std::string text;
    for (int r = 1; r <= 12; ++r) {
        for (int c = 1; c <= 13; ++c)
            text += (std::ostringstream() << std::setprecision(6) << scale / (r + c)).str() + " ";
        text += "\n";
    }
    return text;
}

TEST(EliminationLesson, TheClassicExampleSideBySideInFourDigitsAndExact) {
    EliminationLesson lesson(kClassic);
    lesson.choose(kFourDigits, kExact, Pivoting::none);
    ASSERT_EQ(lesson.steps(), 2u);
    EXPECT_EQ(lesson.caption(1), "R2 ← R2 − 1764·R1");
    EXPECT_EQ(lesson.system(1, 0)[1], (std::vector<std::string>{"0", "-104300", "-104400"}));
    EXPECT_EQ(lesson.verdict(0),
              "Upper triangular: x1 = -10.00, x2 = 1.001. Against exact: 0 of 4 digits kept.");
    EXPECT_EQ(lesson.verdict(1), "Upper triangular: x1 = 10, x2 = 1.");
    EXPECT_EQ(lesson.arithmeticName(0), "4-digit rounding");
    EXPECT_LT(lesson.keptDigits(1), 4) << lesson.mostLost();
    EXPECT_NE(lesson.mostLost().find("at step 1, R2 ← R2 − 1764·R1"), std::string::npos)
        << lesson.mostLost();

    lesson.choose(kFourDigits, kExact, Pivoting::partial);
    ASSERT_EQ(lesson.steps(), 3u);
    EXPECT_EQ(lesson.caption(1), "Swap Row 1 and Row 2");
    EXPECT_EQ(lesson.verdict(0),
              "Upper triangular: x1 = 10.00, x2 = 1.000. Against exact: 4 of 4 digits kept.");
    lesson.choose(kFourDigits, std::nullopt, Pivoting::partial);
    EXPECT_EQ(lesson.verdict(1), "") << "nothing beside";
}

TEST(EliminationLesson, AStudentsOperationsRunInBothArithmeticsAndUndoOneByOne) {
    EliminationLesson lesson(kClassic);
    lesson.choose(kFourDigits, kExact, Pivoting::none);
    EXPECT_EQ(lesson.apply("R3 <-> R1"), "There is no row 3: the system has 2 rows.");
    EXPECT_FALSE(lesson.studentRun()) << "a refusal changes nothing";
    EXPECT_EQ(lesson.apply("R1 <-> R2"), std::nullopt);
    EXPECT_TRUE(lesson.studentRun());
    EXPECT_EQ(lesson.steps(), 2u) << "the student's run starts from the system";
    EXPECT_EQ(lesson.verdict(0), "Not yet upper triangular.");
    EXPECT_EQ(lesson.apply("R2 <- R2 - 0.0005670 R1"), std::nullopt);
    EXPECT_EQ(lesson.verdict(0), "Upper triangular: x1 = 10.00, x2 = 1.000.")
        << "0.0005670 clears nothing exactly: no exact solution to hold it against";
    EXPECT_TRUE(lesson.undo());
    EXPECT_EQ(lesson.verdict(0), "Not yet upper triangular.");
    EXPECT_TRUE(lesson.undo());
    EXPECT_FALSE(lesson.undo());
    lesson.choose(kFourDigits, kExact, Pivoting::none);
    EXPECT_TRUE(lesson.studentRun()) << "a new arithmetic replays the student's steps";
}

// Beyond single precision: the change raises, and the lesson is as it was.
TEST(EliminationLesson, AnOverflowChangesNothing) {
    EliminationLesson lesson("1e30 1 2\n1e30 3 4\n");
    lesson.choose(Arithmetic{Arithmetic::Kind::singles}, kExact, Pivoting::none);
    const auto before = lesson.system(1, 0);
    EXPECT_THROW(lesson.apply("R2 <- R2 - 1e30 R1"), Exception);
    EXPECT_FALSE(lesson.studentRun());
    EXPECT_EQ(lesson.steps(), 2u);
    EXPECT_EQ(lesson.system(1, 0), before);
    EXPECT_EQ(lesson.apply("R2 <- R2 - 1 R1"), std::nullopt) << "and goes on from there";
}

TEST(EliminationLesson, ASystemThatIsNoneIsRefusedByLine) {
    for (const auto& [text, says] :
         {std::pair{"1 2 3\n4 5", "Line 2 has 2 numbers; 2 equations take 3 in each line"},
          {"1 x 3\n4 5 6", "Line 1: '\u2068x\u2069' is not a number."},
          {"\n \n", "Type the system"}}) {
        try {
            EliminationLesson lesson(text);
            ADD_FAILURE() << text;
        } catch (const Exception& error) {
            EXPECT_NE(std::string(error.what()).find(says), std::string::npos) << error.what();
        }
    }
    const int tooMany = EliminationLesson::kMaxUnknowns + 1;
    std::string rows;
    for (int r = 0; r < tooMany; ++r)
        rows += std::string(size_t(tooMany + 1) * 2, ' ').replace(0, 1, "1") + "\n";
    EXPECT_THROW(EliminationLesson{rows}, Exception);
}

// 1 ÷ (r + c + 1/2) in rows of `n`, a system exact arithmetic cannot follow
// past kMaxExactUnknowns.
std::string hilbertText(int n) {
    std::string text;
    for (int r = 1; r <= n; ++r) {
        for (int c = 1; c <= n + 1; ++c)
            text += "2/" + std::to_string(2 * (r + c) + 1) + " ";
        text += "\n";
    }
    return text;
}

// Twelve unknowns in double precision: every system fits the page's width.
TEST(EliminationLesson, LatexTakesTwelveUnknownsWithinTheWidth) {
    EliminationLesson lesson(twelveUnknowns());
    lesson.choose(Arithmetic{Arithmetic::Kind::doubles}, kExact, Pivoting::partial);
    const std::string latex = lesson.latex(0);
    size_t arrays = 0;
    for (size_t at = 0;
         (at = latex.find("\\resizebox{\\ifdim\\width>\\linewidth", at)) != std::string::npos; ++at)
        ++arrays;
    EXPECT_EQ(arrays, lesson.steps());
    EXPECT_NE(latex.find("{rrrrrrrrrrrr|r}"), std::string::npos);
    EXPECT_NE(latex.find("$R_{2} \\leftarrow"), std::string::npos) << latex.substr(0, 600);
}

// The LaTeX as TeX sets it, where pdflatex is installed (scripts/setup
// installs it): twelve unknowns in double precision and in three-digit
// chopping, its numbers in powers of ten, without an error or an overfull
// box.
TEST(EliminationLesson, LatexTypesetsWithoutOverfullBoxes) {
    if (std::system("pdflatex --version > /dev/null 2>&1") != 0)
        GTEST_SKIP() << "pdflatex is not installed";
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("tarvel-latex-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    const auto typesets = [&](const std::string& latex) {
        std::ofstream(folder / "steps.tex")
            << "\\documentclass{article}\n\\usepackage{graphicx}\n\\begin{document}\n"
            << latex << "\\end{document}\n";
        const std::string run = "cd '" + folder.string() +
                                "' && pdflatex -interaction=nonstopmode -halt-on-error steps.tex "
                                "> /dev/null 2>&1";
        std::stringstream log;
        const bool ran = std::system(run.c_str()) == 0;
        log << std::ifstream(folder / "steps.log").rdbuf();
        return ran && log.str().find("Overfull") == std::string::npos;
    };
    EliminationLesson twelve(twelveUnknowns(1e-9));
    for (const Arithmetic& arithmetic :
         {Arithmetic{Arithmetic::Kind::doubles}, Arithmetic{Arithmetic::Kind::decimal, 3, true}}) {
        twelve.choose(arithmetic, kExact, Pivoting::partial);
        ASSERT_NE(twelve.latex(0).find("\\times10^{-"), std::string::npos);
        EXPECT_TRUE(typesets(twelve.latex(0))) << arithmetic.name() << ": see " << folder;
    }
    // The largest system's step, its 192 columns in arrays of 64.
    EliminationLesson largest(hilbertText(EliminationLesson::kMaxUnknowns));
    EXPECT_TRUE(typesets(largest.latex(1000))) << "see " << folder;
    if (!HasFailure())
        std::filesystem::remove_all(folder);
}

// Past a dozen steps the lesson keeps only some systems on the way: each
// step made from the one kept before it is the step the elimination made,
// on the chosen side and beside it in the same arithmetic.
TEST(EliminationLesson, AnyStepOfALongRunIsTheStepTheEliminationMade) {
    const int n = EliminationLesson::kMaxExactUnknowns + 10;
    EliminationLesson lesson(hilbertText(n));
    lesson.choose(kFourDigits, kFourDigits, Pivoting::partial);
    RowReduction straight(*lesson.reduction(0, 0));
    std::map<size_t, std::string> made; // step: its changed row as written
    const auto rowText = [](const RowReduction& system, int row) {
        std::string text;
        for (int c = 1; c <= system.size() + 1; ++c)
            text += system.text(row, c) + " ";
        return text;
    };
    const auto operations = eliminate(straight, Pivoting::partial, [&](size_t done) {
        if (done % 7 == 0 || done < 3)
            made[done] = rowText(straight, n);
    });
    ASSERT_EQ(lesson.steps(), operations.size() + 1);
    for (const auto& [k, text] : made) {
        ASSERT_EQ(rowText(*lesson.reduction(k, 0), n), text) << "step " << k;
        ASSERT_EQ(rowText(*lesson.reduction(k, 1), n), text) << "beside, step " << k;
    }
}

// Past kMaxExactUnknowns: no exact run, digits go unmeasured, and the
// verdict names the first unknowns and the last.
TEST(EliminationLesson, ALargeSystemHasNoExactRun) {
    const int n = EliminationLesson::kMaxExactUnknowns + 1;
    EliminationLesson lesson(hilbertText(n));
    EXPECT_EQ(lesson.arithmeticName(0), "double") << "read in double, as exact would not follow";
    const size_t steps = lesson.steps();
    EXPECT_THROW(lesson.choose(kFourDigits, kExact, Pivoting::none), Exception);
    EXPECT_THROW(lesson.choose(kExact, std::nullopt, Pivoting::none), Exception);
    EXPECT_EQ(lesson.arithmeticName(0), "double") << "nothing changed";
    EXPECT_EQ(lesson.steps(), steps);
    lesson.choose(kFourDigits, std::nullopt, Pivoting::partial);
    EXPECT_EQ(lesson.keptDigits(1), std::nullopt);
    EXPECT_EQ(lesson.mostLost(), "Digits kept go unmeasured: exact arithmetic follows systems of "
                                 "up to 30 unknowns.");
    const std::string verdict = lesson.verdict(0);
    EXPECT_TRUE(verdict.starts_with("Upper triangular: x1 = ")) << verdict;
    EXPECT_NE(verdict.find(", x3 = "), std::string::npos) << verdict;
    EXPECT_NE(verdict.find(", …, x31 = "), std::string::npos) << verdict;
    EXPECT_EQ(verdict.find("x4 ="), std::string::npos) << verdict;
    const std::string latex = lesson.latex(5);
    EXPECT_NE(latex.find("Step 5"), std::string::npos);
    EXPECT_EQ(latex.find("Step 4"), std::string::npos) << "beyond a dozen unknowns, the step shown";
}

} // namespace
