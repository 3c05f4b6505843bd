#include "support/tarvel_test.h"

#include "app/fit_check_view.h"
#include "app/fit_kind_switch.h"
#include "app/fit_report_page.h"
#include "toolkit/conversions.h"
#include "toolkit/error_display.h"
#include "toolkit/errors.h"
#include "toolkit/string_grid.h"

#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace {

// What a command prints.
std::string output(const std::string& command) {
    std::string text;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        while (const size_t got = std::fread(buffer, 1, sizeof buffer, pipe))
            text.append(buffer, got);
        pclose(pipe);
    }
    return text;
}

class FitReportPageTest : public TarvelTest {
  protected:
    // The PDF's text, or "" where poppler's tools are missing.
    std::string saved(const char* name) {
        const QString path = folder.filePath(name);
        guarded([&] { form.reportPage().savePdf(path); });
        EXPECT_TRUE(QFile::exists(path)) << errors().join("; ").toStdString();
        if (std::system("command -v pdftotext >/dev/null && command -v pdfinfo >/dev/null") != 0) {
            std::puts("skipped: reading the PDF, poppler-utils is not installed");
            return "";
        }
        const std::string file = path.toStdString();
        const std::string info = output("pdfinfo '" + file + "'");
        const size_t pages = info.find("Pages:");
        EXPECT_EQ(pages == std::string::npos ? -1 : std::atoi(info.c_str() + pages + 6), 1) << info;
        return output("pdftotext -layout '" + file + "' -");
    }

    TForm1 form;
    QTemporaryDir folder;
};

TEST_F(FitReportPageTest, TheDefaultPointsOnOnePage) {
    form.btnGetCoefficients->click();
    const std::string text = saved("report.pdf");
    if (text.empty())
        return;
    for (const char* shown :
         {"Tarvel: the fitted polynomial", "Tarvel 1.6.0", "Points (x, f(x))",
          "A + Bx^1 + Cx^2 + Dx^3", "((Dx + C)x + B)x + A", "2 + 3x^1 + -2x^2 + 1x^3",
          "Coefficient, shown, exact", "The shown coefficients are the exact fit"})
        EXPECT_NE(text.find(shown), std::string::npos) << shown << " in\n" << text;
}

// Least squares over `count` points and the blank row below them.
void leastSquaresPoints(TForm1& form, int count) {
    form.fitKind->leastSquares->trigger();
    CellTable& points = form.sgdResult->cells();
    points = CellTable(2, count + 2);
    points.setCell(0, 0, "x");
    points.setCell(1, 0, "f(x)");
    for (int k = 1; k <= count; ++k) {
        points.setCell(0, k, FloatToStr(k / 100.0));
        points.setCell(1, k, FloatToStr(1 + k / 100.0 + (k % 3) * 0.01));
    }
    form.sgdResult->sync();
}

TEST_F(FitReportPageTest, FortyPointsAreAllOnThePageBesideTheExactCoefficients) {
    leastSquaresPoints(form, 40);
    form.btnGetCoefficients->click();
    std::string text = saved("forty.pdf");
    if (text.empty())
        return;
    // One space for every run, as the words stand apart in the page's text.
    text.erase(
        std::unique(text.begin(), text.end(), [](char a, char b) { return a == ' ' && b == ' '; }),
        text.end());
    EXPECT_EQ(text.find("more points"), std::string::npos) << text;
    EXPECT_NE(text.find("\n0.4 1.41"), std::string::npos) << "the fortieth\n" << text;
    const CoefficientCheck& a = form.checkView->report()->coefficients[0];
    ASSERT_NE(a.shown, a.exact);
    EXPECT_NE(text.find("A " + a.shown + " " + a.exact), std::string::npos)
        << "shown and exact side by side\n"
        << text;
}

// A weighted fit's page lists each point's weight, a blank one as the 1
// it counts as: the page alone gives the fit again.
TEST_F(FitReportPageTest, AWeightedFitListsTheWeights) {
    form.fitKind->weights->trigger();
    form.btnClear->click();
    form.sgdResult->setCurrentIndex(form.sgdResult->model()->index(0, 0));
    form.sgdResult->pasteText("0\t0.0004\t400\n1\t0.0478\t\n2\t0.0965\t200\n5\t0.2352\t50\n");
    form.btnGetCoefficients->click();
    ASSERT_TRUE(errors().isEmpty()) << errors().join("; ").toStdString();
    const FitReportPage page = form.reportPage();
    ASSERT_TRUE(page.weighted);
    EXPECT_EQ(page.points[0], (std::vector<std::string>{"0", "0.0004", "400"}));
    EXPECT_EQ(page.points[1], (std::vector<std::string>{"1", "0.0478", "1"}));
    const std::string text = saved("weighted.pdf");
    if (text.empty())
        return;
    EXPECT_NE(text.find("Points (x, f(x), w)"), std::string::npos) << text;
    EXPECT_NE(text.find("5 0.2352 50"), std::string::npos) << text;
}

TEST_F(FitReportPageTest, InLeastSquaresItSaysWhichFitAndItsNumbersAndNothingOfTheScreen) {
    leastSquaresPoints(form, 41);
    form.resize(1600, 1000); // the chart is laid out for the page, not the window
    form.show();
    form.btnGetCoefficients->click();
    form.Tarvel->setCurrentIndex(1);
    form.btnDraw->click();
    ASSERT_TRUE(errors().isEmpty()) << errors().join("; ").toStdString();
    const std::string text = saved("least-squares.pdf");
    if (text.empty())
        return;
    EXPECT_NE(text.find("Least squares: 41 points, R² 0."), std::string::npos) << text;
    EXPECT_NE(text.find("largest residual"), std::string::npos) << text;
    EXPECT_NE(text.find("and 1 more points"), std::string::npos) << "the blank row is no point";
    EXPECT_EQ(text.find("Click"), std::string::npos) << "the window's words stay on the screen";
    // The chart's x labels, the last words on the page, stand apart at a
    // size one reads, however large the window that drew them.
    const std::string boxes =
        output("pdftotext -bbox '" + folder.filePath("least-squares.pdf").toStdString() + "' -");
    std::vector<std::array<double, 4>> words; // xMin, yMin, xMax, yMax
    for (size_t at = boxes.find("<word "); at != std::string::npos;
         at = boxes.find("<word ", at + 1)) {
        std::array<double, 4> box{};
        const char* names[] = {"xMin=\"", "yMin=\"", "xMax=\"", "yMax=\""};
        for (int k = 0; k < 4; ++k)
            box[k] = std::atof(boxes.c_str() + boxes.find(names[k], at) + 6);
        words.push_back(box);
    }
    ASSERT_FALSE(words.empty());
    std::vector<std::array<double, 4>> axis;
    for (const auto& box : words)
        if (std::abs(box[1] - words.back()[1]) < 1)
            axis.push_back(box);
    EXPECT_GE(axis.size(), 4u);
    std::sort(axis.begin(), axis.end());
    for (size_t k = 0; k < axis.size(); ++k) {
        EXPECT_GE(axis[k][3] - axis[k][1], 7) << "a label in points high";
        if (k + 1 < axis.size()) {
            EXPECT_LT(axis[k][2], axis[k + 1][0]) << "labels " << k << " and " << k + 1 << " touch";
        }
    }
}

TEST_F(FitReportPageTest, TheLargestDegreeStillFitsOnePage) {
    form.txtDegree->setText("190");
    form.btnGenerate->click();
    for (int k = 1; k <= 191; ++k) {
        form.sgdResult->setCell(0, k, FloatToStr(1 + k / 1000.0));
        form.sgdResult->setCell(1, k, "1");
    }
    form.btnGetCoefficients->click();
    const std::string text = saved("large.pdf");
    if (text.empty())
        return;
    EXPECT_NE(text.find("and 151 more points"), std::string::npos) << text;
    EXPECT_NE(text.find("more coefficients"), std::string::npos) << text;
}

TEST_F(FitReportPageTest, IsRefusedBeforeASolveAndNeverLeavesAPart) {
    EXPECT_THROW(form.reportPage(), Exception);
    form.btnGetCoefficients->click();
    const QString path = folder.filePath("no such folder/report.pdf");
    EXPECT_THROW(form.reportPage().savePdf(path), Exception);
    EXPECT_FALSE(QFile::exists(path));
}

} // namespace
