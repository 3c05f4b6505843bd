#include "support/tarvel_test.h"

#include "plot/chart_view.h"
#include "toolkit/text_box.h"

#include <QAccessible>
#include <QApplication>
#include <QChart>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QToolTip>
#include <QValueAxis>

namespace {

using Texts = std::vector<std::string>;

class Usability : public TarvelTest {
  protected:
    void SetUp() override {
        TarvelTest::SetUp();
        ASSERT_TRUE(showActive(form));
    }
    void paste(StringGrid& grid, int col, int row, const QString& text) {
        grid.setCurrentIndex(grid.model()->index(row - 1, col - grid.fixedCols()));
        grid.setFocus();
        QApplication::clipboard()->setText(text);
        QTest::keyClick(&grid, Qt::Key_V, Qt::ControlModifier);
    }
    void selectRows(StringGrid& grid, int first, int last) {
        const QModelIndex from = grid.model()->index(first - 1, 0);
        const QModelIndex to = grid.model()->index(last - 1, grid.model()->columnCount() - 1);
        grid.setCurrentIndex(from);
        grid.selectionModel()->select(QItemSelection(from, to),
                                      QItemSelectionModel::ClearAndSelect);
    }

    TForm1 form;
};

// Paste and copy

TEST_F(Usability, PastesSpreadsheetRowsIntoThePointTableLikeTyping) {
    form.btnClear->click();
    paste(*form.sgdResult, 0, 1, "1\t4\n2\t8\n3\t20\n4\t46\n");
    EXPECT_EQ(columnTexts(form.sgdResult->cells(), 0), (Texts{"1", "2", "3", "4"}));
    EXPECT_EQ(columnTexts(form.sgdResult->cells(), 1), (Texts{"4", "8", "20", "46"}));
    EXPECT_EQ(TForm1State::pointCount(form), 0);
    form.btnGetCoefficients->click();
    EXPECT_EQ(form.txtResult->text(), "2 + 3x^1 + -2x^2 + 1x^3");
}

TEST_F(Usability, PastesCommaAndSpaceSeparatedBlocks) {
    paste(*form.sgdResult, 0, 2, "5, 92\n6, 170");
    EXPECT_EQ(columnTexts(form.sgdResult->cells(), 0), (Texts{"1", "5", "6", "4"}));
    paste(*form.sgdResult, 0, 1, "  -1   -4  ");
    EXPECT_EQ(rowTexts(form.sgdResult->cells(), 1), (Texts{"-1", "-4"}));
    EXPECT_TRUE(errors().isEmpty());
}

TEST_F(Usability, ASingleColumnFillsTheCurrentColumn) {
    paste(*form.sgdResult, 1, 2, "9\n10\n11");
    EXPECT_EQ(columnTexts(form.sgdResult->cells(), 0), (Texts{"1", "2", "3", "4"}));
    EXPECT_EQ(columnTexts(form.sgdResult->cells(), 1), (Texts{"4", "9", "10", "11"}));
    paste(*form.sdgCoefficients, 1, 1, "2\n3\n-2\n1\n");
    EXPECT_EQ(columnTexts(form.sdgCoefficients->cells(), 1), (Texts{"2", "3", "-2", "1"}));
}

TEST_F(Usability, ABlockTooTallIsRefusedWholeWithTheDegreeThatHoldsIt) {
    paste(*form.sgdResult, 0, 2, "1\t1\n2\t2\n3\t3\n4\t4\n5\t5");
    EXPECT_EQ(columnTexts(form.sgdResult->cells(), 0), (Texts{"1", "2", "3", "4"}));
    EXPECT_EQ(errors(),
              QStringList{"The clipboard holds 5 rows, but only 3 fit from the current row "
                          "down: the table holds 4 points. Degree 5 would hold them all."});
    paste(*form.sgdResult, 1, 1, "1\t2");
    EXPECT_EQ(errors().size(), 2) << "two columns do not fit right of column 1";
    EXPECT_EQ(rowTexts(form.sgdResult->cells(), 1), (Texts{"1", "4"}));
    paste(*form.sdgCoefficients, 1, 3, "7\n8\n9");
    ASSERT_EQ(errors().size(), 3) << "the coefficient values are checked the same way";
    EXPECT_EQ(errors().last(),
              "The clipboard holds 3 rows, but only 2 fit from the current row "
              "down: the table holds 4 coefficients. Degree 4 would hold them all.");
    EXPECT_EQ(columnTexts(form.sdgCoefficients->cells(), 1), (Texts{"", "", "", ""}));
}

TEST_F(Usability, TheAnswerGridTakesNoPasteButCopiesTheReducedSystem) {
    form.btnGetCoefficients->click();
    paste(*form.sgdAns1, 0, 1, "junk");
    EXPECT_EQ(form.sgdAns1->cells().cell(0, 1), "4");
    selectRows(*form.sgdAns1, 1, 4);
    QTest::keyClick(form.sgdAns1, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(),
              "4\t1\t1\t1\t1\n4\t0\t1\t3\t7\n4\t0\t0\t1\t6\n1\t0\t0\t0\t1\n");
}

TEST_F(Usability, DeleteEmptiesTheSelectedEditableCells) {
    selectRows(*form.sgdResult, 2, 3);
    QTest::keyClick(form.sgdResult, Qt::Key_Delete);
    EXPECT_EQ(columnTexts(form.sgdResult->cells(), 0), (Texts{"1", "", "", "4"}));
    EXPECT_EQ(TForm1State::pointCount(form), 0);
    form.btnGetCoefficients->click();
    selectRows(*form.sgdAns1, 1, 1);
    QTest::keyClick(form.sgdAns1, Qt::Key_Delete);
    EXPECT_EQ(form.sgdAns1->cells().cell(0, 1), "4");
}

// Keyboard

TEST_F(Usability, EnterInABoxRunsItsAction) {
    form.txtDegree->setText("2");
    QTest::keyClick(form.txtDegree, Qt::Key_Return);
    EXPECT_EQ(form.txtFx1->text(), "A + Bx^1 + Cx^2");

    form.txtDegree->setText("3");
    QTest::keyClick(form.txtDegree, Qt::Key_Enter);
    EXPECT_EQ(form.txtFx1->text(), "A + Bx^1 + Cx^2 + Dx^3");
    paste(*form.sdgCoefficients, 1, 1, "2\n3\n-2\n1");
    form.txtRX->setText("5");
    QTest::keyClick(form.txtRX, Qt::Key_Return);
    EXPECT_EQ(form.txtRfx->text(), "92");

    form.btnClear->click();
    form.txtX->setText("1");
    form.txtFx->setText("4");
    QTest::keyClick(form.txtX, Qt::Key_Return);
    form.txtX->setText("2");
    form.txtFx->setText("8");
    QTest::keyClick(form.txtFx, Qt::Key_Return);
    EXPECT_EQ(columnTexts(form.sgdResult->cells(), 0), (Texts{"1", "2", "", ""}));

    for (QLineEdit* box : {form.txtMin, form.txtMax, form.txtStep}) {
        form.Chart1->chart()->removeAllSeries();
        QTest::keyClick(box, Qt::Key_Return);
        EXPECT_EQ(form.Chart1->chart()->series().size(), 1) << box->objectName().toStdString();
    }
}

TEST_F(Usability, AltAndALetterReachEveryButtonWhoseCaptionLooksUnchanged) {
    const std::pair<QPushButton*, Qt::Key> buttons[] = {{form.btnGenerate, Qt::Key_G},
                                                        {form.btnAdd, Qt::Key_A},
                                                        {form.btnDel, Qt::Key_D},
                                                        {form.btnClear, Qt::Key_C},
                                                        {form.btnGetCoefficients, Qt::Key_E},
                                                        {form.btnFx, Qt::Key_F},
                                                        {form.btnXForFx, Qt::Key_X}};
    for (const auto& [button, key] : buttons) {
        bool clicked = false;
        const auto connection =
            QObject::connect(button, &QPushButton::clicked, [&] { clicked = true; });
        QTest::keyClick(&form, key, Qt::AltModifier);
        QTest::qWait(200); // the button animates its click
        EXPECT_TRUE(clicked) << button->objectName().toStdString();
        QObject::disconnect(connection);
    }
    EXPECT_EQ(QApplication::style()->styleHint(QStyle::SH_UnderlineShortcut), 0);
}

TEST_F(Usability, TabWalksTheWholeLayoutOrderOfEachPage) {
    const std::vector<QWidget*> common = {form.txtDegree, form.btnGenerate,     form.txtFx1,
                                          form.txtFx2,    form.txtResult,       form.txtRX,
                                          form.btnFx,     form.txtRfx,          form.btnXForFx,
                                          form.txtXForFx, form.Tarvel->tabBar()};
    std::vector<QWidget*> page1 = common, page2 = common;
    for (QWidget* control :
         {(QWidget*)form.sgdResult, (QWidget*)form.txtX, (QWidget*)form.txtFx,
          (QWidget*)form.btnAdd, (QWidget*)form.btnDel, (QWidget*)form.btnGetCoefficients,
          (QWidget*)form.btnClear, (QWidget*)form.sdgCoefficients, (QWidget*)form.sgdAns1})
        page1.push_back(control);
    for (QWidget* control : {(QWidget*)form.Chart1, (QWidget*)form.btnDraw, (QWidget*)form.txtMin,
                             (QWidget*)form.txtMax, (QWidget*)form.txtStep})
        page2.push_back(control);
    for (int page : {0, 1}) {
        const std::vector<QWidget*>& order = page == 0 ? page1 : page2;
        form.Tarvel->setCurrentIndex(page);
        form.txtDegree->setFocus();
        std::vector<QWidget*> forwards{QApplication::focusWidget()};
        for (size_t i = 1; i < order.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            forwards.push_back(QApplication::focusWidget());
        }
        EXPECT_EQ(forwards, order) << "page " << page;
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), form.txtDegree) << "and round again";
        std::vector<QWidget*> backwards;
        for (size_t i = 0; i < order.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
            backwards.insert(backwards.begin(), QApplication::focusWidget());
        }
        EXPECT_EQ(backwards, order) << "page " << page << ", Shift+Tab";
    }
}

TEST_F(Usability, HoldingAltUnderlinesTheLettersThatReachTheButtons) {
    const auto underlined = [] {
        return QApplication::style()->styleHint(QStyle::SH_UnderlineShortcut);
    };
    EXPECT_EQ(underlined(), 0);
    QTest::keyPress(&form, Qt::Key_Alt, Qt::AltModifier);
    EXPECT_EQ(underlined(), 1);
    QTest::keyRelease(&form, Qt::Key_Alt);
    EXPECT_EQ(underlined(), 0);
}

// Hostile input

TEST_F(Usability, AHugePasteIntoABoxOrTheTableIsRefusedWithAMessage) {
    QApplication::clipboard()->setText(QString(10'000'000, '7'));
    form.txtDegree->selectAll();
    form.txtDegree->paste();
    QCoreApplication::processEvents();
    EXPECT_EQ(form.txtDegree->text(), "3");
    paste(*form.sgdResult, 1, 2, "1\t2\n");
    paste(*form.sgdResult, 0, 2, "5\t" + QString(10'000'000, '7'));
    paste(*form.sgdResult, 0, 2, "5\t" + QString(kMaxTextLength + 1, '7'));
    EXPECT_EQ(columnTexts(form.sgdResult->cells(), 1), (Texts{"4", "8", "20", "46"}));
    EXPECT_EQ(errors(),
              (QStringList{"The text is too long: a box holds at most 32768 characters.",
                           "The clipboard holds 2 columns, but only 1 fit from the current column "
                           "right.",
                           "The clipboard holds 10000002 characters, but a paste into a table "
                           "takes at most 1048576.",
                           "The text is too long: a cell holds at most 32768 characters."}));
}

// The chart

class ChartExploring : public Usability {
  protected:
    void SetUp() override {
        Usability::SetUp();
        form.btnGetCoefficients->click();
        form.Tarvel->setCurrentIndex(1);
        form.btnDraw->click();
        QCoreApplication::processEvents();
    }
    QValueAxis& axisY() {
        return *qobject_cast<QValueAxis*>(form.Chart1->chart()->axes(Qt::Vertical).first());
    }
    QPoint plotCentre() {
        return form.Chart1->mapFromScene(form.Chart1->chart()->plotArea().center());
    }
};

TEST_F(ChartExploring, TheWheelZoomsDraggingPansADoubleClickRestores) {
    const double fullMin = axisY().min(), fullMax = axisY().max();
    QWheelEvent wheel(plotCentre(), form.Chart1->mapToGlobal(plotCentre()), {}, {0, 120},
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(form.Chart1->viewport(), &wheel);
    EXPECT_LT(axisY().max() - axisY().min(), fullMax - fullMin);

    const double zoomedMin = axisY().min();
    QTest::mousePress(form.Chart1->viewport(), Qt::LeftButton, {}, plotCentre());
    QTest::mouseMove(form.Chart1->viewport(), plotCentre() + QPoint(0, 40));
    QTest::mouseRelease(form.Chart1->viewport(), Qt::LeftButton, {}, plotCentre() + QPoint(0, 40));
    EXPECT_GT(axisY().min(), zoomedMin) << "dragging down shows lower values... of a higher range";
    const auto& axisX =
        *qobject_cast<QValueAxis*>(form.Chart1->chart()->axes(Qt::Horizontal).first());
    const double left = axisX.min();
    QTest::mousePress(form.Chart1->viewport(), Qt::LeftButton, {}, plotCentre());
    QTest::mouseMove(form.Chart1->viewport(), plotCentre() + QPoint(40, 0));
    QTest::mouseRelease(form.Chart1->viewport(), Qt::LeftButton, {}, plotCentre() + QPoint(40, 0));
    EXPECT_LT(axisX.min(), left)
        << "the line follows the pointer: dragging right shows what was left";

    QTest::mouseDClick(form.Chart1->viewport(), Qt::LeftButton, {}, plotCentre());
    EXPECT_DOUBLE_EQ(axisY().min(), fullMin);
    EXPECT_DOUBLE_EQ(axisY().max(), fullMax);
}

TEST_F(ChartExploring, HoveringNearAPointShowsItsXAndValue) {
    auto* series = qobject_cast<QLineSeries*>(form.Chart1->chart()->series().first());
    emit series->hovered(QPointF(1.2, 4.8), true);
    EXPECT_EQ(QToolTip::text(), "x = 1.3\nf(x) = 4.717");
    emit series->hovered(QPointF(1.7, 5.5), true);
    EXPECT_EQ(QToolTip::text(), "x = 1.6\nf(x) = 5.776") << "the nearest point, not the one before";
    emit series->hovered(QPointF(1.7, 5.5), false);
}

TEST_F(Usability, TheWindowShowsTheProgramsIcon) {
    EXPECT_FALSE(form.windowIcon().isNull());
}

// The user's way: typing the points into the grid and clicking with the mouse.
TEST_F(Usability, TypedPointsAndMouseClicksSolveAsButtonsDo) {
    QTest::mouseClick(form.btnClear, Qt::LeftButton);
    QCoreApplication::processEvents(); // as the event loop does before the next key
    StringGrid& grid = *form.sgdResult;
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {},
                      grid.visualRect(grid.model()->index(0, 0)).center());
    const Texts cells = {"1", "4", "2", "8", "3", "20", "4", "46"};
    for (size_t i = 0; i < cells.size(); ++i) {
        typeIntoCell(grid, QString::fromStdString(cells[i]));
        if (i + 1 == cells.size())
            break; // the last editor stays open: the click commits it
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCoreApplication::processEvents();
        QTest::keyClick(&grid, i % 2 == 0 ? Qt::Key_Right : Qt::Key_Down);
        if (i % 2 == 1)
            QTest::keyClick(&grid, Qt::Key_Left);
    }
    QTest::mouseClick(form.btnGetCoefficients, Qt::LeftButton);
    EXPECT_TRUE(errors().isEmpty()) << errors().join("; ").toStdString();
    EXPECT_EQ(columnTexts(form.sdgCoefficients->cells(), 1), (Texts{"2", "3", "-2", "1"}));
    EXPECT_EQ(form.txtResult->text(), "2 + 3x^1 + -2x^2 + 1x^3");
}

TEST_F(Usability, AShortcutSolvesWithTheTextStillOpenInACellEditor) {
    form.sgdResult->setCurrentIndex(form.sgdResult->model()->index(3, 1));
    form.sgdResult->setFocus();
    typeIntoCell(*form.sgdResult, "47");
    QTest::keyClick(&form, Qt::Key_E, Qt::AltModifier); // no click: the focus stays in the editor
    QTest::qWait(200);                                  // the button animates its click
    EXPECT_EQ(form.sgdResult->cells().cell(1, 4), "47");
    EXPECT_EQ(form.sgdAns1->cells().cell(0, 4), "1.16666666666667") << "7 / 6: solved with 47";
}

TEST_F(Usability, TheGridsShowWhatAHandlerWrote) {
    QSignalSpy changed(form.sgdResult->model(), &QAbstractItemModel::dataChanged);
    form.btnClear->click();
    ASSERT_FALSE(changed.isEmpty()) << "the view was never told";
    const QModelIndex topLeft = changed.last()[0].toModelIndex();
    const QModelIndex bottomRight = changed.last()[1].toModelIndex();
    EXPECT_EQ(topLeft.row(), 0);
    EXPECT_EQ(bottomRight.row(), 3);
    EXPECT_EQ(form.sgdResult->model()->index(3, 1).data().toString(), "");

    QSignalSpy inserted(form.sgdResult->model(), &QAbstractItemModel::rowsInserted);
    form.txtDegree->setText("5");
    form.btnGenerate->click();
    EXPECT_EQ(inserted.size(), 1);
    EXPECT_EQ(form.sgdResult->model()->rowCount(), 6);
}

} // namespace
