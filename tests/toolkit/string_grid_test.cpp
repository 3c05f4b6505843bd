#include "support/tarvel_test.h"

#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QTest>

#include <utility>
#include <vector>

namespace {

class StringGridTest : public TarvelTest {
  protected:
    // A shown, active grid with 2 columns, 5 rows and a record of every
    // selection event.
    StringGrid& shownGrid(int fixedCols = 0) {
        grid = std::make_unique<StringGrid>(2, fixedCols);
        grid->setRowCount(5);
        grid->onSelectCell = [this](int col, int row) { selections.emplace_back(col, row); };
        grid->resize(300, 300);
        EXPECT_TRUE(showActive(*grid));
        grid->setFocus();
        return *grid;
    }

    QRect cellRect(int col, int row) {
        return grid->visualRect(grid->model()->index(row - 1, col - grid->fixedCols()));
    }

    std::unique_ptr<StringGrid> grid;
    std::vector<std::pair<int, int>> selections;
};

TEST_F(StringGridTest, CellsNeverWrittenReadEmptyAndOutsideCellsAreIgnored) {
    StringGrid cells(3, 0);
    EXPECT_EQ(cells.colCount(), 3);
    EXPECT_EQ(cells.rowCount(), 2);
    EXPECT_EQ(cells.cell(2, 1), "");
    cells.setCell(2, 1, "z");
    cells.setCell(3, 1, "outside");
    cells.setCell(0, 2, "outside");
    EXPECT_EQ(cells.cell(2, 1), "z");
    EXPECT_EQ(cells.cell(3, 1), "");
    EXPECT_EQ(cells.cell(-1, 0), "");
}

TEST_F(StringGridTest, ResizingKeepsTheCellsThatRemainAndDropsTheRest) {
    StringGrid cells(3, 0);
    cells.setRowCount(4);
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 3; ++c)
            cells.setCell(c, r, std::to_string(c) + "," + std::to_string(r));
    cells.setRowCount(3);
    cells.setColCount(2);
    EXPECT_EQ(rowTexts(cells, 2), (std::vector<std::string>{"0,2", "1,2"}));
    cells.setRowCount(4);
    cells.setColCount(4);
    EXPECT_EQ(rowTexts(cells, 0), (std::vector<std::string>{"0,0", "1,0", "", ""}));
    EXPECT_EQ(rowTexts(cells, 3), (std::vector<std::string>{"", "", "", ""}));
    cells.clearRow(1);
    EXPECT_EQ(rowTexts(cells, 1), (std::vector<std::string>{"", "", "", ""}));
}

TEST_F(StringGridTest, FixedCellsAreHeadersTheRestShowTheirTextAsStored) {
    StringGrid cells(2, 1);
    cells.setRowCount(3);
    cells.setCell(1, 0, "Coefficients");
    cells.setCell(0, 1, "A");
    cells.setCell(1, 1, " 2.50 ");
    const QAbstractItemModel& model = *cells.model();
    EXPECT_EQ(model.rowCount(), 2);
    EXPECT_EQ(model.columnCount(), 1);
    EXPECT_EQ(model.headerData(0, Qt::Horizontal).toString(), "Coefficients");
    EXPECT_EQ(model.headerData(0, Qt::Vertical).toString(), "A");
    EXPECT_EQ(model.index(0, 0).data().toString(), " 2.50 ");
    EXPECT_TRUE(model.flags(model.index(0, 0)) & Qt::ItemIsEditable);
    cells.setEditable(false);
    EXPECT_FALSE(model.flags(model.index(0, 0)) & Qt::ItemIsEditable);
}

TEST_F(StringGridTest, CurrentCellStartsAtRowOneWithoutAnEvent) {
    StringGrid& cells = shownGrid(1);
    EXPECT_EQ(cells.col(), 1);
    EXPECT_EQ(cells.row(), 1);
    EXPECT_TRUE(selections.empty());
}

TEST_F(StringGridTest, SettingTheRowRaisesTheSelectionEventOnlyForAMove) {
    StringGrid& cells = shownGrid();
    cells.setRow(3);
    cells.setRow(3);
    EXPECT_EQ(selections, (std::vector<std::pair<int, int>>{{0, 3}}));
    EXPECT_EQ(cells.row(), 3);
}

TEST_F(StringGridTest, MouseAndKeyboardMovesRaiseTheSelectionEvent) {
    StringGrid& cells = shownGrid();
    QTest::mouseClick(cells.viewport(), Qt::LeftButton, {}, cellRect(1, 2).center());
    QTest::keyClick(&cells, Qt::Key_Down);
    QTest::keyClick(&cells, Qt::Key_Left);
    QTest::mouseClick(cells.viewport(), Qt::LeftButton, {}, cellRect(0, 3).center());
    EXPECT_EQ(selections, (std::vector<std::pair<int, int>>{{1, 2}, {1, 3}, {0, 3}}));
}

TEST_F(StringGridTest, ShrinkingAwayTheCurrentRowMovesToTheNewLastRow) {
    StringGrid& cells = shownGrid();
    cells.setRow(4);
    selections.clear();
    cells.setRowCount(3);
    EXPECT_EQ(cells.row(), 2);
    EXPECT_EQ(selections, (std::vector<std::pair<int, int>>{{0, 2}}));
}

TEST_F(StringGridTest, TypingEditsTheCurrentCellLikeASpreadsheet) {
    StringGrid& cells = shownGrid();
    cells.setCell(0, 1, "old");
    QCoreApplication::processEvents(); // the view shows "old" before the user types
    typeIntoCell(cells, "5.25");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCoreApplication::processEvents(); // the delegate commits on a queued call
    EXPECT_EQ(cells.cell(0, 1), "5.25");
}

TEST_F(StringGridTest, CommitEditWritesAnOpenEditorsText) {
    StringGrid& cells = shownGrid();
    QTest::keyClick(&cells, Qt::Key_7);
    ASSERT_TRUE(qobject_cast<QLineEdit*>(QApplication::focusWidget()));
    cells.commitEdit();
    EXPECT_EQ(cells.cell(0, 1), "7");
    EXPECT_EQ(QApplication::focusWidget(), &cells);
}

TEST_F(StringGridTest, AGridThatIsNotEditableIgnoresTyping) {
    StringGrid& cells = shownGrid();
    cells.setEditable(false);
    QTest::keyClick(&cells, Qt::Key_7);
    EXPECT_EQ(cells.cell(0, 1), "");
}

} // namespace
