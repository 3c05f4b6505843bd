#include "support/tarvel_test.h"

#include "toolkit/string_grid_model.h"
#include "toolkit/text_box.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QLineEdit>
#include <QProxyStyle>
#include <QSignalSpy>
#include <QStyleOptionViewItem>
#include <QTest>

#include <cmath>
#include <utility>
#include <vector>

namespace {

class StringGridTest : public TarvelTest {
  protected:
    // A shown, active grid with 2 columns, 5 rows and a record of every
    // selection event.
    StringGrid& shownGrid(int fixedCols = 0) {
        grid = std::make_unique<StringGrid>(2, fixedCols);
        grid->cells().setRowCount(5);
        grid->sync();
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

TEST_F(StringGridTest, FixedCellsAreHeadersTheRestShowTheirTextAsStored) {
    StringGrid cells(2, 1);
    cells.cells().setRowCount(3);
    cells.sync();
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

TEST_F(StringGridTest, AHugeTextPaintsOnlyItsEndsButItsTooltipShowsItAll) {
    StringGrid cells(2, 0);
    const std::string huge = "-1." + std::string(10'000'000, '5') + "E-10";
    cells.setCell(0, 1, huge);
    const QModelIndex index = cells.model()->index(0, 0);
    const QString shown = index.data(Qt::DisplayRole).toString();
    EXPECT_LT(shown.size(), 1000);
    EXPECT_TRUE(shown.startsWith("-1.555") && shown.endsWith("555E-10")) << "sign and exponent";
    EXPECT_EQ(index.data(Qt::EditRole).toString().size(), qsizetype(huge.size()));
    EXPECT_EQ(index.data(Qt::ToolTipRole).toString().toStdString(), huge);
    EXPECT_FALSE(cells.model()->index(0, 1).data(Qt::ToolTipRole).isValid()) << "empty: no tip";
}

// "\u202E12" would draw as "21": the override shows as a mark instead, and
// the cell keeps its text.
TEST_F(StringGridTest, InvisibleDirectionControlsShowAsMarks) {
    StringGrid cells(2, 0);
    cells.setCell(0, 1, "\u202E12");
    cells.setCell(1, 1, "1\t2");
    EXPECT_EQ(cells.model()->index(0, 0).data().toString(), "\uFFFD12");
    EXPECT_EQ(cells.model()->index(0, 1).data().toString(), "1\uFFFD2");
    EXPECT_EQ(cells.model()->index(0, 0).data(Qt::EditRole).toString(), "\u202E12");
}

TEST_F(StringGridTest, APasteOfTheMostAGridTakesIsReadAndOneMoreIsNot) {
    StringGrid& cells = shownGrid();
    int pasted = 0;
    cells.onPaste = [&](const ReadBlock&, const std::string&) { ++pasted; };
    cells.pasteText(QString(kMaxPasteLength, '1'));
    EXPECT_EQ(pasted, 1);
    EXPECT_TRUE(errors().isEmpty());
    cells.pasteText(QString(kMaxPasteLength + 1, '1'));
    EXPECT_EQ(pasted, 1);
    EXPECT_EQ(errors().size(), 1);
}

// A block the reader refuses (a decimal point beside decimal commas) is an
// error the guard shows, not an exception out of the key press.
TEST_F(StringGridTest, APasteTheReaderRefusesShowsWhyAndPastesNothing) {
    StringGrid& cells = shownGrid();
    int pasted = 0;
    cells.onPaste = [&](const ReadBlock&, const std::string&) { ++pasted; };
    EXPECT_NO_THROW(cells.pasteText("1,5\t2.5\n"));
    EXPECT_EQ(pasted, 0);
    ASSERT_EQ(errors().size(), 1);
    EXPECT_TRUE(errors()[0].startsWith("Line 1, cell 2")) << errors()[0].toStdString();
}

// WCAG contrast of two colours, 1 to 21.
double contrast(const QColor& a, const QColor& b) {
    const auto luminance = [](const QColor& c) {
        const auto linear = [](double v) {
            return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
    };
    const double x = luminance(a), y = luminance(b);
    return (std::max(x, y) + 0.05) / (std::min(x, y) + 0.05);
}

QPalette darkPalette() {
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(53, 53, 53));
    dark.setColor(QPalette::Base, QColor(35, 35, 35));
    dark.setColor(QPalette::Text, Qt::white);
    dark.setColor(QPalette::Highlight, QColor(42, 130, 218));
    return dark;
}

TEST_F(StringGridTest, MarkedCellsStayLegibleLightAndDark) {
    for (const QPalette& palette : {QPalette(QColor(240, 240, 240)), darkPalette()}) {
        StringGrid cells(2, 0);
        cells.setPalette(palette);
        cells.setMarks({{{0, 1}, "off"}});
        const QColor tint = cells.model()->index(0, 0).data(Qt::BackgroundRole).value<QColor>();
        EXPECT_NE(tint, palette.color(QPalette::Base)) << "a tint shows";
        EXPECT_GE(contrast(tint, palette.color(QPalette::Text)), 4.5) << "the text on it reads";
    }
}

// Tab into a grid shows where it went: only the grid with focus draws its
// current cell in the full highlight.
TEST_F(StringGridTest, TheCurrentCellOfAGridWithoutFocusIsDrawnAsInactive) {
    QWidget window;
    window.resize(620, 300);
    StringGrid focused(2, 0, &window), other(2, 0, &window);
    for (StringGrid* each : {&focused, &other}) {
        each->cells().setRowCount(5);
        each->sync();
    }
    focused.setGeometry(0, 0, 300, 300);
    other.setGeometry(310, 0, 300, 300);
    ASSERT_TRUE(showActive(window));
    focused.setFocus();
    QCoreApplication::processEvents();
    ASSERT_TRUE(focused.hasFocus());
    const auto currentColour = [](StringGrid& grid) {
        const QRect cell = grid.visualRect(grid.model()->index(0, 0));
        return grid.viewport()->grab().toImage().pixelColor(cell.center() +
                                                            QPoint(cell.width() / 3, 0));
    };
    const QColor highlight = focused.palette().color(QPalette::Active, QPalette::Highlight);
    const auto distance = [&](const QColor& colour) {
        return std::abs(colour.red() - highlight.red()) +
               std::abs(colour.green() - highlight.green()) +
               std::abs(colour.blue() - highlight.blue());
    };
    EXPECT_LT(distance(currentColour(focused)), 8) << "the highlight, give or take its shading";
    EXPECT_GT(distance(currentColour(other)), 100) << "muted";
}

// Records the text of every cell the grid paints.
class PaintedTexts : public QProxyStyle {
  public:
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override {
        if (element == CE_ItemViewItem)
            texts << static_cast<const QStyleOptionViewItem*>(option)->text;
        QProxyStyle::drawControl(element, option, painter, widget);
    }
    mutable QStringList texts;
};

// What cell (0, 1) shows in a column `width` pixels wide.
QString paintedText(StringGrid& cells, const std::string& text, int width) {
    PaintedTexts style;
    cells.setStyle(&style);
    cells.setColWidth(0, width);
    cells.setCell(0, 1, text);
    QCoreApplication::processEvents();
    cells.grab();
    cells.setStyle(nullptr);
    return style.texts.value(0);
}

TEST_F(StringGridTest, ANarrowCellKeepsANumbersSignFirstDigitsAndExponent) {
    StringGrid& cells = shownGrid();
    const QString exponent = paintedText(cells, "-1.23456789012345E-10", 90);
    EXPECT_TRUE(exponent.startsWith("-1.") && exponent.endsWith("E-10")) << exponent.toStdString();
    EXPECT_TRUE(exponent.contains(QChar(0x2026)));
    const QString fraction = paintedText(cells, "0.996755599975586", 83);
    EXPECT_TRUE(fraction.startsWith("0.9") && fraction.endsWith("86")) << fraction.toStdString();
    EXPECT_EQ(paintedText(cells, "-2.5", 83), "-2.5") << "a text that fits is shown whole";
}

TEST_F(StringGridTest, TheCellEditorAndEditsRefuseMoreThanACellHolds) {
    StringGrid& cells = shownGrid();
    QTest::keyClick(&cells, Qt::Key_7);
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    ASSERT_TRUE(editor);
    QApplication::clipboard()->setText(QString(kMaxTextLength, '1'));
    editor->paste();
    EXPECT_EQ(editor->text(), "7") << "the whole paste is refused, not cut short";
    QCoreApplication::processEvents();
    EXPECT_EQ(errors(),
              QStringList{"The text is too long: a cell holds at most 32768 characters."});
    cells.commitEdit();
    EXPECT_FALSE(
        cells.model()->setData(cells.model()->index(1, 0), QString(kMaxTextLength + 1, '2')));
    EXPECT_TRUE(cells.model()->setData(cells.model()->index(1, 0), QString(kMaxTextLength, '2')));
    EXPECT_EQ(cells.cells().cell(0, 2).size(), size_t(kMaxTextLength));
}

TEST_F(StringGridTest, TabLeavesTheGridAndArrowsMoveAmongCells) {
    QWidget window;
    QLineEdit before(&window), after(&window);
    StringGrid* cells = new StringGrid(2, 0, &window);
    cells->cells().setRowCount(5);
    cells->sync();
    QWidget::setTabOrder(&before, cells);
    QWidget::setTabOrder(cells, &after);
    ASSERT_TRUE(showActive(window));
    cells->setFocus();
    QTest::keyClick(cells, Qt::Key_Right);
    EXPECT_EQ(cells->col(), 1);
    QTest::keyClick(cells, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), &after);
    cells->setFocus();
    QTest::keyClick(cells, Qt::Key_Backtab);
    EXPECT_EQ(QApplication::focusWidget(), &before);
}

TEST_F(StringGridTest, CurrentCellStartsAtRowOneWithoutAnEvent) {
    StringGrid& cells = shownGrid(1);
    EXPECT_EQ(cells.col(), 1);
    EXPECT_EQ(cells.row(), 1);
    EXPECT_EQ(cells.currentIndex(), cells.model()->index(0, 0)) << "the view agrees";
    EXPECT_TRUE(selections.empty());
}

TEST_F(StringGridTest, SettingTheRowRaisesTheSelectionEventOnlyForAMove) {
    StringGrid& cells = shownGrid();
    cells.setRow(3);
    cells.setRow(3);
    cells.setRow(5); // past the last row: no move
    cells.setRow(0);
    EXPECT_EQ(selections, (std::vector<std::pair<int, int>>{{0, 3}}));
    EXPECT_EQ(cells.row(), 3);
    EXPECT_EQ(cells.currentIndex(), cells.model()->index(2, 0));
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
    cells.cells().setRowCount(3);
    cells.sync();
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
    EXPECT_EQ(cells.cells().cell(0, 1), "5.25");
}

TEST_F(StringGridTest, CommitEditWritesAnOpenEditorsText) {
    StringGrid& cells = shownGrid();
    QTest::keyClick(&cells, Qt::Key_7);
    ASSERT_TRUE(qobject_cast<QLineEdit*>(QApplication::focusWidget()));
    cells.commitEdit();
    EXPECT_EQ(cells.cells().cell(0, 1), "7");
    EXPECT_EQ(QApplication::focusWidget(), &cells);
}

TEST_F(StringGridTest, AGridThatIsNotEditableIgnoresTyping) {
    StringGrid& cells = shownGrid();
    cells.setEditable(false);
    QTest::keyClick(&cells, Qt::Key_7);
    EXPECT_EQ(cells.cells().cell(0, 1), "");
}

TEST_F(StringGridTest, AWrittenCellReachesTheViewOnceTheEventLoopRuns) {
    StringGrid& cells = shownGrid();
    QSignalSpy changed(cells.model(), &QAbstractItemModel::dataChanged);
    cells.setCell(1, 2, "a");
    cells.setCell(1, 3, "b");
    EXPECT_TRUE(changed.isEmpty()) << "many writes, one refresh";
    QCoreApplication::processEvents();
    ASSERT_EQ(changed.size(), 1);
    EXPECT_EQ(cells.model()->index(2, 1).data().toString(), "b");
}

TEST_F(StringGridTest, AGridThatIsNotEditableTakesNoPasteOrDelete) {
    StringGrid& cells = shownGrid();
    cells.setCell(0, 1, "kept");
    cells.setEditable(false);
    bool pasted = false;
    cells.onPaste = [&](const ReadBlock&, const std::string&) { pasted = true; };
    QApplication::clipboard()->setText("1\t2");
    QTest::keyClick(&cells, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(&cells, Qt::Key_Delete);
    EXPECT_FALSE(pasted);
    EXPECT_EQ(cells.cells().cell(0, 1), "kept");
}

TEST_F(StringGridTest, MarkedCellsShowATintAndTheirNoteAfterTheText) {
    StringGrid& cells = shownGrid();
    cells.setCell(1, 2, "3.5");
    cells.setMarks({{{1, 2}, "The exact value is 3."}, {{0, 3}, "A note alone."}});
    const QModelIndex marked = cells.model()->index(1, 1);
    EXPECT_EQ(marked.data(Qt::ToolTipRole).toString(), "3.5\nThe exact value is 3.");
    EXPECT_TRUE(marked.data(Qt::BackgroundRole).isValid());
    EXPECT_EQ(cells.model()->index(2, 0).data(Qt::ToolTipRole).toString(), "A note alone.");
    EXPECT_FALSE(cells.model()->index(0, 0).data(Qt::BackgroundRole).isValid());
    cells.setMarks({});
    EXPECT_FALSE(marked.data(Qt::BackgroundRole).isValid());
    EXPECT_EQ(marked.data(Qt::ToolTipRole).toString(), "3.5");
}

// The model alone owns the cells: an edit through Qt's interface reaches its
// table through runEdit, and the fixed row and column are headers.
TEST_F(StringGridTest, TheModelOwnsTheCellsAndRunsEachEditThroughItsOwner) {
    QWidget view;
    StringGridModel model(3, 1, view);
    model.cells().setCell(1, 0, "x");
    model.cells().setCell(0, 1, "A");
    model.showTable();
    EXPECT_EQ(model.headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), "x");
    EXPECT_EQ(model.headerData(0, Qt::Vertical, Qt::DisplayRole).toString(), "A");
    int edits = 0;
    model.runEdit = [&](const std::function<void()>& edit) {
        ++edits;
        edit();
    };
    EXPECT_TRUE(model.setData(model.indexOf(1, 1), "2.5", Qt::EditRole));
    EXPECT_EQ(model.cells().cell(1, 1), "2.5");
    EXPECT_EQ(edits, 1);
    model.setMarks({{{1, 1}, "off"}});
    EXPECT_EQ(model.data(model.indexOf(1, 1), Qt::ToolTipRole).toString(), "2.5\noff");
}

} // namespace
