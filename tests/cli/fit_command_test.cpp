#include "cli/fit_command.h"

#include "exact/exact_number.h"

#include <gmpxx.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <sys/stat.h>

namespace {

struct FitRun {
    int status;
    std::string out, err;
};

FitRun fit(std::vector<std::string> arguments, bool progress = false) {
    std::ostringstream out, err;
    const int status = runFitCommand(arguments, out, err, progress);
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
        {{file("bad.csv", "1,4\n2,eight\n"), "--least-squares", "--degree", "1"},
         fitRefused,
         "Line 2, f(x) is"},
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

// A line of the parabola 2 + 3x - x²/2 with a deterministic wobble, x and
// f(x) with 1 to 5 decimals so that the sums' scale changes on the way.
std::pair<std::string, std::string> wobblyPoint(int k) {
    const std::string x = std::to_string(k % 200 - 100) + "." + std::to_string(k % 7 * 1000 + 7);
    const mpq_class X = Decimal{*exactDecimal(x)}.value();
    const mpq_class y = 2 + 3 * X - X * X / 2 + mpq_class((k * 37) % 11 - 5, 100);
    return {x, roundedText(y, 12)};
}

// The least-squares parabola by the book, in fractions, from the texts.
std::vector<mpq_class>
parabolaByHand(const std::vector<std::pair<std::string, std::string>>& points) {
    mpq_class rows[3][4];
    for (const auto& [xText, yText] : points) {
        const mpq_class x = exactDecimal(xText)->value(), y = exactDecimal(yText)->value();
        const mpq_class power[5] = {1, x, x * x, x * x * x, x * x * x * x};
        for (int i = 0; i < 3; ++i) {
            for (int j = 0; j < 3; ++j)
                rows[i][j] += power[i + j];
            rows[i][3] += power[i] * y;
        }
    }
    for (int i = 0; i < 3; ++i)
        for (int r = 0; r < 3; ++r)
            if (r != i) {
                const mpq_class factor = rows[r][i] / rows[i][i];
                for (int c = 0; c < 4; ++c)
                    rows[r][c] -= factor * rows[i][c];
            }
    return {rows[0][3] / rows[0][0], rows[1][3] / rows[1][1], rows[2][3] / rows[2][2]};
}

// UTF-16 little-endian, with its byte order mark, of ASCII text.
std::string utf16Of(const std::string& text) {
    std::string bytes = "\xff\xfe";
    for (const char c : text)
        bytes += std::string{c, '\0'};
    return bytes;
}

// More lines than a batch and more bytes than a piece: the points pass
// through the reader in pieces and are summed on two threads, and the exact
// fit is the one worked out by hand, whatever the file's encoding.
TEST_F(FitCommand, ALongFileIsSummedAsItStreamsToTheExactFit) {
    std::vector<std::pair<std::string, std::string>> points;
    std::string csv = "x,f(x)\n";
    for (int k = 0; k < 40000; ++k) {
        points.push_back(wobblyPoint(k));
        csv += points.back().first + "," + points.back().second + "\n";
    }
    const std::vector<mpq_class> byHand = parabolaByHand(points);
    for (const std::string& path : {file("long.csv", csv), file("long16.csv", utf16Of(csv))}) {
        const FitRun run = fit({path, "--least-squares", "--degree", "2", "--format", "json"});
        EXPECT_NE(run.out.find("\"points\": 40000"), std::string::npos) << run.out << run.err;
        for (const mpq_class& c : byHand)
            EXPECT_NE(run.out.find("\"Exact\": \"" + roundedText(c) + "\""), std::string::npos)
                << roundedText(c) << "\n"
                << run.out;
    }
}

// "1.500" reads 1.5 until a decimal comma, far down the file, says the dots
// group thousands: the file is read again, and the fit is of 1500.
TEST_F(FitCommand, ADecimalCommaFarDownReadsTheDotsBeforeItAsThousands) {
    std::string csv = "x;f(x)\n1;1.500\n";
    for (int k = 2; k < 30000; ++k)
        csv += std::to_string(k) + ";" + std::to_string(k % 3) + "\n";
    csv += "30000;0,5\n";
    const FitRun run =
        fit({file("commas.csv", csv), "--least-squares", "--degree", "0", "--format", "json"});
    // A = the mean: (1500 + Σ k mod 3 over 2 .. 29999 + 0.5) / 30000.
    long sum = 0;
    for (int k = 2; k < 30000; ++k)
        sum += k % 3;
    const mpq_class mean = (mpq_class(1500) + sum + mpq_class(1, 2)) / 30000;
    EXPECT_NE(run.out.find("\"Exact\": \"" + roundedText(mean) + "\""), std::string::npos)
        << run.out << run.err;
}

TEST_F(FitCommand, ABadFileIsRefusedAtItsLineAndNothingWaits) {
    ASSERT_EQ(::mkfifo((folder / "pipe").c_str(), 0600), 0);
    struct Case {
        std::string path;
        int status;
        std::string says;
    };
    const Case cases[] = {
        {file("cut.csv", "1,2\n3,4\n5,"), fitRefused, "Line 3, f(x) is"},
        {file("digits.csv", "1,2\n3," + std::string(40000, '7') + "\n"), fitRefused,
         "Line 2 holds a field of more than"},
        {file("binary.csv", std::string("1,2\n\x01\0\xff\n", 8)), fitRefused, "Line 2 is not text"},
        {file("endless.csv", std::string(3 << 20, '1')), fitRefused,
         "Line 1 is longer than any line of a point"},
        {file("blank.csv", std::string(10'000'000, '\n')), fitRefused, "holds no points"},
        {file("weight.csv", "1,2,1\n2,3,-1\n"), fitRefused, "Line 2, w is"},
        {(folder / "pipe").string(), fitUnreadable, "a named pipe"},
        {"/dev/zero", fitUnreadable, "a device"},
    };
    for (const Case& c : cases) {
        const FitRun run = fit({c.path, "--least-squares", "--degree", "1"});
        EXPECT_EQ(run.status, c.status) << c.says << ": " << run.err;
        EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
    }
    // On a terminal the progress line is cleared before the refusal is said.
    const FitRun cut =
        fit({folder.string() + "/cut.csv", "--least-squares", "--degree", "1"}, true);
    EXPECT_TRUE(cut.err.starts_with("\r\033[Ktarvel fit: ")) << cut.err;
    const FitRun spaced = fit({file("spaced.csv", std::string(1'000'000, '\n') + "1,2\n2,3\n"),
                               "--least-squares", "--degree", "1"});
    EXPECT_EQ(spaced.status, fitAgrees) << spaced.err;
    EXPECT_NE(spaced.out.find("2 points"), std::string::npos) << spaced.out;
}

} // namespace
