#include "cli/fit_command.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

struct FitRun {
    int status;
    std::string out, err;
};

FitRun fit(std::vector<std::string> arguments) {
    std::ostringstream out, err;
    const int status = runFitCommand(arguments, out, err);
    return {status, out.str(), err.str()};
}

// A file of `text` in a folder of its own, gone with the test.
class FitCommand : public ::testing::Test {
  protected:
    std::string file(const std::string& name, const std::string& text) {
        const std::filesystem::path path = folder / name;
        std::ofstream(path, std::ios::binary) << text;
        return path.string();
    }
    void TearDown() override { std::filesystem::remove_all(folder); }

    std::filesystem::path folder = [] {
        const auto path =
            std::filesystem::temp_directory_path() /
            ("tarvel-fit-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(path);
        return path;
    }();
};

TEST_F(FitCommand, ThroughThePointsItPrintsThePolynomialTheCoefficientsAndTheVerdict) {
    const std::string points = file("points.csv", "x,f(x)\n1,4\n2,8\n3,20\n4,46\n");
    const FitRun text = fit({points});
    EXPECT_EQ(text.status, fitAgrees) << text.err;
    EXPECT_NE(text.out.find("f(x) = 2 + 3x^1 + -2x^2 + 1x^3\n"), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("A\t2\t2\t0\n"), std::string::npos) << text.out;
    const FitRun latex = fit({points, "--format", "latex"});
    EXPECT_EQ(latex.out, "2 + 3x - 2x^{2} + x^{3}\n");
    EXPECT_EQ(fit({points, "--format=python"}).out,
              "def f(x):\n    return ((x - 2)*x + 3)*x + 2\n");
    EXPECT_EQ(fit({points, "--format", "csv"}).out.substr(0, 31),
              "Coefficient,Shown,Exact,Differe");
}

TEST_F(FitCommand, ThroughTheOriginNoInt1HasItsCertifiedFiguresInJson) {
    const FitRun run = fit({TARVEL_TEST_DATA "/strd/NoInt1.csv", "--least-squares", "--degree", "1",
                            "--hold", "A=0", "--format", "json"});
    EXPECT_EQ(run.status, fitAgrees) << run.err;
    for (const char* figure :
         {"\"fit\": \"Least squares, A held at 0\"", "\"Exact\": \"2.07438016528926\"",
          "\"R2\": \"0.999365492298663\"", "\"residualSd\": \"3.56753034006338\"",
          "\"degreesOfFreedom\": 10", "\"verdict\": \"agrees\""})
        EXPECT_NE(run.out.find(figure), std::string::npos) << figure << "\n" << run.out;
}

// Σw 6.5, Σwx 5, Σwx² 12, Σwy 17, Σwxy 31: B = 116.5 / 53, A = (17 - 5 B) / 6.5.
TEST_F(FitCommand, AFileWithWeightsIsFittedWeighed) {
    const FitRun run = fit({file("w.csv", "x,f(x),w\n0,1,4\n1,3,\n2,4,0.5\n3,8,1\n"), "--degree",
                            "1", "--format", "json"});
    EXPECT_EQ(run.status, fitAgrees) << run.err;
    for (const char* figure :
         {"\"fit\": \"Weighted least squares\"", "\"Exact\": \"0.924528301886792\"",
          "\"Exact\": \"2.19811320754717\""})
        EXPECT_NE(run.out.find(figure), std::string::npos) << figure << "\n" << run.out;
}

TEST_F(FitCommand, AnIllConditionedSolveIsOffAndExactWritesTheExactPolynomial) {
    std::string points = "x,f(x)\n";
    for (int x = 1; x <= 10; ++x) {
        long long fx = 0;
        for (int k = 0; k < 10; ++k)
            fx = fx * x + 1;
        points += std::to_string(x) + "," + std::to_string(fx) + "\n";
    }
    const std::string path = file("ones.csv", points);
    EXPECT_EQ(fit({path}).status, fitOff);
    const FitRun exact = fit({path, "--exact", "--format", "python"});
    EXPECT_EQ(exact.out, "def f(x):\n    return ((((((((x + 1)*x + 1)*x + 1)*x + 1)*x + 1)*x + "
                         "1)*x + 1)*x + 1)*x + 1\n");
}

TEST_F(FitCommand, EachFaultHasItsExitCodeAndSaysWhere) {
    const std::string points = file("points.csv", "1,4\n2,8\n3,20\n");
    struct Case {
        std::vector<std::string> arguments;
        int status;
        std::string says;
    };
    const Case cases[] = {
        {{}, fitUsage, "which file?"},
        {{points, "--degree", "two"}, fitUsage, "--degree takes a whole number"},
        {{points, "--format", "pdf"}, fitUsage, "no format pdf"},
        {{points, "--least-squares"}, fitUsage, "least squares needs --degree"},
        {{points, "--colour"}, fitUsage, "no option --colour"},
        {{points, "--degree", "3"}, fitRefused, "takes 4 points; the file has 3"},
        {{points, "--degree", "1", "--hold", "Z=0"}, fitRefused, "no coefficient Z"},
        {{points, "--degree", "1", "--hold", "A=zero"}, fitRefused, "holds no number"},
        {{file("bad.csv", "1,4\n2,eight\n")}, fitRefused, "Points, row 2"},
        {{file("wide.csv", "1,4,5,6\n")}, fitRefused, "Line 1 has 4 fields"},
        {{(folder / "none.csv").string()}, fitUnreadable, "cannot read"},
        {{folder.string()}, fitUnreadable, "a folder"},
    };
    for (const Case& c : cases) {
        const FitRun run = fit(c.arguments);
        EXPECT_EQ(run.status, c.status) << c.says << ": " << run.err;
        EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
        EXPECT_EQ(run.out, "");
    }
}

} // namespace
