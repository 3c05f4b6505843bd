#include "app/fit_check_panel.h"

#include "exact/exact_fit.h"
#include "fitting/fit_report.h"
#include "support/solved_grids.h"
#include "support/tarvel_test.h"

#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>

namespace {

// The panel alone, shown a report as the check view hands it one.
class FitCheckPanelTest : public TarvelTest, public SolvedGrids {
  protected:
    std::shared_ptr<const FitReport> report() {
        return std::make_shared<const FitReport>(reportOn(ExactFit(points).compare(coefficients)));
    }

    QWidget window;
    FitCheckPanel panel{&window};
};

TEST_F(FitCheckPanelTest, ShowsEachCoefficientAndPointAndOffersTheExactValues) {
    solve({{"1", "4"}, {"2", "8"}, {"3", "20"}, {"4", "46"}});
    coefficients.setCell(1, 2, "-2.5");
    panel.showReport(report());
    EXPECT_TRUE(panel.summary->text().startsWith("The shown coefficients are off"))
        << panel.summary->text().toStdString();
    ASSERT_EQ(panel.coefficientTable->rowCount(), 4);
    EXPECT_EQ(panel.coefficientTable->item(1, 1)->text(), "-2.5");
    EXPECT_EQ(panel.coefficientTable->item(1, 2)->text(), "3");
    EXPECT_EQ(panel.pointTable->model()->rowCount(), 4);
    EXPECT_TRUE(panel.fitNumbers->isHidden()) << "through the points it has no fit numbers";
    bool used = false;
    panel.onUseExactValues = [&] { used = true; };
    panel.useButton->click();
    EXPECT_TRUE(used);
}

TEST_F(FitCheckPanelTest, ALeastSquaresReportHasTheFitsNumbers) {
    solveLeastSquares({{"1", "4"}, {"2", "8"}, {"3", "20"}, {"4", "46"}, {"5", "80"}}, 1);
    panel.showReport(std::make_shared<const FitReport>(
        reportOn(ExactFit::nearest(points, {1, 2, 3, 4, 5}, 1).compare(coefficients))));
    EXPECT_FALSE(panel.fitNumbers->isHidden());
    EXPECT_EQ(panel.pointTable->model()->rowCount(), 5);
    EXPECT_EQ(panel.pointTable->model()->headerData(3, Qt::Horizontal).toString(),
              "Residual f(x) − shown");
}

} // namespace
