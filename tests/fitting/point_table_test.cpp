#include "support/tarvel_test.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

using Texts = std::vector<std::string>;
using Boxes = std::pair<QString, QString>;

class PointTable : public TarvelTest {
  protected:
    void add(const char* x, const char* fx) {
        form.txtX->setText(x);
        form.txtFx->setText(fx);
        form.btnAdd->click();
    }
    int pointCount() const { return TForm1State::pointCount(form); }
    Texts xs() const { return columnTexts(form.sgdResult->cells(), 0); }
    Texts fxs() const { return columnTexts(form.sgdResult->cells(), 1); }
    Boxes boxes() const { return {form.txtX->text(), form.txtFx->text()}; }

    TForm1 form;
};

// The full-table guard and the counter.

TEST_F(PointTable, AtStartEveryRowIsFilledSoAddWritesNothing) {
    for (int row = 1; row <= 4; ++row) {
        form.sgdResult->setRow(row);
        add("9", "9");
    }
    EXPECT_EQ(xs(), (Texts{"1", "2", "3", "4"}));
    EXPECT_EQ(pointCount(), 0);
}

TEST_F(PointTable, DelOnADefaultPointEmptiesItAndCountsBelowZero) {
    form.sgdResult->setRow(2);
    form.btnDel->click();
    EXPECT_EQ(xs(), (Texts{"1", "", "3", "4"}));
    EXPECT_EQ(fxs(), (Texts{"4", "", "20", "46"}));
    EXPECT_EQ(pointCount(), -1);
    EXPECT_EQ(form.sgdResult->row(), 2);
}

TEST_F(PointTable, AfterClearAddsFillFromTheCurrentRowWrapToRowOneAndStopWhenFull) {
    form.sgdResult->setRow(3);
    form.btnClear->click();
    EXPECT_EQ(pointCount(), 0);
    EXPECT_EQ(form.sgdResult->row(), 3);
    add("a", "1");
    add("b", "2");
    add("c", "3");
    add("d", "4");
    EXPECT_EQ(xs(), (Texts{"c", "d", "a", "b"}));
    EXPECT_EQ(pointCount(), 4);
    form.sgdResult->setCell(0, 2, ""); // a blank row again
    form.sgdResult->setCell(1, 2, "");
    form.sgdResult->setRow(2);
    add("e", "5");
    EXPECT_EQ(form.sgdResult->cells().cell(0, 2), "") << "a full table refuses the point";
    EXPECT_EQ(pointCount(), 4);
}

TEST_F(PointTable, AddWithEmptyBoxesCountsABlankRowUntilTheTableIsFull) {
    form.btnClear->click();
    for (int i = 0; i < 4; ++i)
        add("", "");
    EXPECT_EQ(pointCount(), 4);
    add("1", "1");
    EXPECT_EQ(xs(), (Texts{"", "", "", ""}));
    form.btnDel->click();
    EXPECT_EQ(pointCount(), 4) << "Del finds only blank rows";
    form.btnClear->click();
    add("1", "1");
    EXPECT_EQ(form.sgdResult->cells().cell(0, 1), "1");
}

TEST_F(PointTable, GenerateNeitherCountsNorResetsTheCounter) {
    form.btnClear->click();
    add("1", "1");
    add("2", "2");
    add("3", "3");
    form.txtDegree->setText("1");
    form.btnGenerate->click();
    EXPECT_EQ(pointCount(), 3);
    form.sgdResult->setCell(0, 1, "");
    form.sgdResult->setCell(1, 1, "");
    form.sgdResult->setRow(1);
    add("9", "9");
    EXPECT_EQ(form.sgdResult->cells().cell(0, 1), "") << "3 points counted in a 2-row table";
    form.btnClear->click();
    add("9", "9");
    EXPECT_EQ(form.sgdResult->cells().cell(0, 1), "9");
}

// Blank and filled rows.

TEST_F(PointTable, AHalfFilledRowIsFilled) {
    form.btnClear->click();
    form.sgdResult->setCell(1, 1, "7");
    add("1", "2");
    EXPECT_EQ(rowTexts(form.sgdResult->cells(), 1), (Texts{"", "7"}));
    EXPECT_EQ(pointCount(), 0);
    form.btnDel->click();
    EXPECT_EQ(rowTexts(form.sgdResult->cells(), 1), (Texts{"", ""}));
    EXPECT_EQ(pointCount(), -1);
}

TEST_F(PointTable, ARowOfSpacesIsBlankAndKeepsItsSpaces) {
    form.btnClear->click();
    form.sgdResult->setCell(0, 1, "  ");
    form.sgdResult->setCell(1, 1, "\t");
    form.btnDel->click();
    EXPECT_EQ(rowTexts(form.sgdResult->cells(), 1), (Texts{"  ", "\t"}));
    EXPECT_EQ(pointCount(), 0);
    add(" 1.5 ", "x");
    EXPECT_EQ(rowTexts(form.sgdResult->cells(), 1), (Texts{" 1.5 ", "x"})) << "written verbatim";
    EXPECT_EQ(pointCount(), 1);
}

// The wrap and the selection event.

TEST_F(PointTable, AddIntoTheLastRowMovesToRowOneAndLoadsIt) {
    form.sgdResult->setRow(4);
    form.btnDel->click();
    add("5", "92");
    EXPECT_EQ(form.sgdResult->row(), 1);
    EXPECT_EQ(boxes(), Boxes("1", "4"));
    add("6", "6");
    EXPECT_EQ(xs(), (Texts{"1", "2", "3", "5"})) << "row 1 is filled";
}

TEST_F(PointTable, AddMovesToABlankRowAndEmptiesTheBoxes) {
    form.btnClear->click();
    add("1", "4");
    EXPECT_EQ(form.sgdResult->row(), 2);
    EXPECT_EQ(boxes(), Boxes("", ""));
}

TEST_F(PointTable, ClearLeavesTheCurrentCellAndTheBoxes) {
    form.sgdResult->setRow(3);
    form.btnClear->click();
    EXPECT_EQ(form.sgdResult->row(), 3);
    EXPECT_EQ(boxes(), Boxes("3", "20"));
    EXPECT_EQ(xs(), (Texts{"", "", "", ""}));
    EXPECT_EQ(rowTexts(form.sgdResult->cells(), 0), (Texts{"x", "f(x)"}));
}

TEST_F(PointTable, ClickingEitherCellOfARowLoadsBothBoxes) {
    ASSERT_TRUE(showActive(form));
    StringGrid& grid = *form.sgdResult;
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {},
                      grid.visualRect(grid.model()->index(2, 1)).center());
    EXPECT_EQ(boxes(), Boxes("3", "20"));
    grid.setCell(0, 3, "30"); // typed into the grid: the boxes wait for a selection
    EXPECT_EQ(boxes(), Boxes("3", "20"));
    QTest::keyClick(&grid, Qt::Key_Up);
    QTest::keyClick(&grid, Qt::Key_Down);
    EXPECT_EQ(boxes(), Boxes("30", "20"));
}

} // namespace
