#include "support/tarvel_test.h"

#include "app/fit_report_page.h"
#include "toolkit/conversions.h"
#include "toolkit/error_display.h"
#include "toolkit/errors.h"

#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

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
        guarded([&] { FitReportPage::of(form).savePdf(path); });
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
         {"Tarvel: the fitted polynomial", "Tarvel 1.1.0", "Points (x, f(x))",
          "A + Bx^1 + Cx^2 + Dx^3", "((Dx + C)x + B)x + A", "2 + 3x^1 + -2x^2 + 1x^3",
          "Coefficient, shown, exact", "The shown coefficients are the exact fit"})
        EXPECT_NE(text.find(shown), std::string::npos) << shown << " in\n" << text;
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
    EXPECT_THROW(FitReportPage::of(form), Exception);
    form.btnGetCoefficients->click();
    const QString path = folder.filePath("no such folder/report.pdf");
    EXPECT_THROW(FitReportPage::of(form).savePdf(path), Exception);
    EXPECT_FALSE(QFile::exists(path));
}

} // namespace
