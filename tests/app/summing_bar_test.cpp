#include "app/summing_bar.h"

#include "support/tarvel_test.h"
#include "toolkit/conversions.h"

#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QUndoStack>

namespace {

// Points enough, at a degree high enough, that summing them would keep the
// window busy for about a second or more.
class SummingBarTest : public TarvelTest {
  protected:
    void SetUp() override {
        form.switchFit(FitKind::leastSquares());
        form.txtDegree->setText(QString::number(kDegree));
        form.btnGenerate->click();
        CellTable& table = form.sgdResult->cells();
        table.setRowCount(kPoints + 2);
        for (int k = 1; k <= kPoints; ++k) {
            table.setCell(0, k, FloatToStr(-1 + 2.0 * k / kPoints, 6));
            table.setCell(1, k, std::to_string(k % 7));
        }
        form.sgdResult->sync();
    }
    // What the bar shows, and what typing into a box does, a moment into
    // the click; then `then`.
    void whileSumming(const std::function<void()>& then) {
        QTimer::singleShot(100, &form, [this, then] {
            shown = !form.summingBar->isHidden(); // the window itself is not shown
            label = form.summingBar->label->text();
            QTest::keyClicks(form.txtDegree, "9");
            then();
        });
    }

    static constexpr int kPoints = 400'000, kDegree = 60;
    TForm1 form;
    bool shown = false;
    QString label;
};

TEST_F(SummingBarTest, CancelStopsALongSumAndLeavesEverythingAsItWas) {
    const CellTable answers = form.sgdAns1->cells(), coefficients = form.sdgCoefficients->cells();
    const int steps = TForm1State::undoStack(form).count();
    whileSumming([this] { QTest::mouseClick(form.summingBar->cancel, Qt::LeftButton); });
    form.btnGetCoefficients->click();
    EXPECT_TRUE(shown);
    EXPECT_EQ(label, "Summing 400000 points exactly");
    EXPECT_EQ(form.txtDegree->text(), QString::number(kDegree)) << "no other input meanwhile";
    EXPECT_TRUE(form.summingBar->isHidden());
    EXPECT_EQ(form.sgdAns1->cells(), answers);
    EXPECT_EQ(form.sdgCoefficients->cells(), coefficients);
    EXPECT_EQ(TForm1State::undoStack(form).count(), steps) << "no step";
    EXPECT_TRUE(errors().isEmpty()) << errors().join("\n").toStdString();
}

TEST_F(SummingBarTest, ALongSumIsCountedAndTheSolveGoesOnWithIt) {
    const int steps = TForm1State::undoStack(form).count();
    whileSumming([] {});
    form.btnGetCoefficients->click();
    EXPECT_TRUE(shown);
    EXPECT_TRUE(form.summingBar->isHidden());
    EXPECT_EQ(TForm1State::undoStack(form).count(), steps + 1);
    EXPECT_EQ(form.sgdAns1->cells().rowCount(), kDegree + 2) << "the normal equations built";
}

// A short sum shows nothing: no bar for work of a moment.
TEST(SummingBarAlone, AQuickSumShowsNothing) {
    QWidget page;
    QWidget over(&page);
    SummingBar bar(page, over);
    CellTable points(2, 4);
    for (int row = 1; row < 4; ++row) {
        points.setCell(0, row, std::to_string(row));
        points.setCell(1, row, "1");
    }
    EXPECT_TRUE(bar.sumFirst(points, FitKind::leastSquares(), 1));
    EXPECT_TRUE(bar.isHidden());
}

} // namespace
