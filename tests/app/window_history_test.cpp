#include "support/tarvel_test.h"

#include "app/passing_note.h"

#include "app/fit_check_panel.h"
#include "app/fit_check_view.h"
#include "app/fit_kind_switch.h"
#include "fitting/fit_kind.h"
#include "toolkit/packed_table.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <sys/stat.h>

namespace {

// Everything undo gives back, read from the window.
struct Snapshot {
    CellTable points, coefficients, answers;
    QStringList boxes;
    Texts coefNames;
    int pointCount, degree, col, row;
    bool operator==(const Snapshot&) const = default;
};

void PrintTo(const Snapshot& s, std::ostream* out) {
    *out << "points " << ::testing::PrintToString(dataRows(s.points)) << ", boxes "
         << s.boxes.join("|").toStdString() << ", pointCount " << s.pointCount << ", degree "
         << s.degree << ", cell (" << s.col << ", " << s.row << ")";
}

class WindowHistoryTest : public TarvelTest {
  protected:
    void SetUp() override {
        TarvelTest::SetUp();
        const auto select = form.sgdResult->onSelectCell;
        form.sgdResult->onSelectCell = [this, select](int col, int row) {
            ++selectionEvents;
            select(col, row);
        };
        shown = snapshot();
    }
    std::vector<QLineEdit*> boxes() const {
        return {form.txtDegree, form.txtFx1,  form.txtFx2,    form.txtX,  form.txtFx, form.txtMin,
                form.txtMax,    form.txtStep, form.txtResult, form.txtRX, form.txtRfx};
    }
    Snapshot snapshot() const {
        QStringList boxes;
        for (QLineEdit* box : this->boxes())
            boxes << box->text();
        return {form.sgdResult->cells(),      form.sdgCoefficients->cells(),
                form.sgdAns1->cells(),        boxes,
                TForm1State::coefNames(form), TForm1State::pointCount(form),
                TForm1State::degree(form),    form.sgdResult->col(),
                form.sgdResult->row()};
    }
    QUndoStack& stack() { return TForm1State::undoStack(form); }
    // Undo, then redo: each gives back exactly the state on its side of the step.
    void expectUndoAndRedo(const Snapshot& before, const Snapshot& after) {
        const int events = selectionEvents;
        stack().undo();
        EXPECT_EQ(snapshot(), before);
        stack().redo();
        EXPECT_EQ(snapshot(), after);
        EXPECT_EQ(selectionEvents, events) << "restoring raises no selection event";
        EXPECT_TRUE(errors().isEmpty()) << "undo and redo show no message";
    }
    // One step; the boxes it `reads` come back as they stood after the last
    // step, the rest as typed since.
    void step(const std::function<void()>& action, const std::vector<QLineEdit*>& reads = {}) {
        Snapshot before = snapshot();
        const std::vector<QLineEdit*> all = boxes();
        for (QLineEdit* box : reads) {
            const auto k = std::find(all.begin(), all.end(), box) - all.begin();
            before.boxes[k] = shown.boxes[k];
        }
        const int steps = stack().count();
        action();
        QCoreApplication::processEvents();
        ASSERT_EQ(stack().count(), steps + 1) << "one step";
        shown = snapshot();
        expectUndoAndRedo(before, shown);
    }
    QString write(const QString& name, const QByteArray& bytes) {
        const QString path = folder.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }

    TForm1 form;
    QTemporaryDir folder;
    int selectionEvents = 0;
    Snapshot shown{CellTable(0, 0), CellTable(0, 0), CellTable(0, 0), {}, {}, 0, 0, 0, 0};
};

TEST_F(WindowHistoryTest, EveryKindOfStepUndoesAndRedoesTheWholeState) {
    // What a user types into a box is no step: it belongs to the state before
    // the next one, unless that step reads it.
    form.txtRX->setText("typed, not a step");
    form.txtDegree->setText("2");
    step([&] { form.btnGenerate->click(); }, {form.txtDegree});
    form.sgdResult->setRow(3);
    step([&] { form.btnDel->click(); });
    form.txtX->setText("9");
    form.txtFx->setText("81");
    step([&] { form.btnAdd->click(); }, {form.txtX, form.txtFx});
    step([&] { form.btnGetCoefficients->click(); });
    step([&] {
        form.sdgCoefficients->model()->setData(form.sdgCoefficients->model()->index(0, 0), "7");
    });
    step([&] {
        form.sgdResult->setCurrentIndex(form.sgdResult->model()->index(0, 0));
        QApplication::clipboard()->setText("5\t6\n7\t8");
        QTest::keyClick(form.sgdResult, Qt::Key_V, Qt::ControlModifier);
    });
    step([&] { QTest::keyClick(form.sgdResult, Qt::Key_Delete); });
    step([&] { form.btnClear->click(); });
    EXPECT_EQ(stack().count(), 8);
}

TEST_F(WindowHistoryTest, ActionsThatChangeNoDataAreNoSteps) {
    form.btnAdd->click(); // the table counts as full
    form.txtRX->setText("2");
    form.btnFx->click();
    form.btnDraw->click();
    form.Tarvel->setCurrentIndex(1);
    EXPECT_EQ(stack().count(), 0);
}

TEST_F(WindowHistoryTest, ASmallerDegreeSaysWhatItDroppedAndUndoBringsItBack) {
    const Snapshot start = snapshot();
    form.txtDegree->setText("1");
    form.btnGenerate->click();
    EXPECT_TRUE(form.note->isVisibleTo(&form));
    EXPECT_EQ(form.note->text(),
              "2 points were dropped with the smaller degree; Ctrl+Z brings them back");
    form.txtDegree->setText("3");
    form.btnGenerate->click();
    EXPECT_EQ(columnTexts(form.sgdResult->cells(), 0), (Texts{"1", "2", "", ""}));
    stack().undo();
    stack().undo();
    EXPECT_EQ(snapshot(), start) << "Degree 3 beside the degree-3 table";
    EXPECT_FALSE(form.note->isVisibleTo(&form));
    stack().redo();
    EXPECT_EQ(form.txtDegree->text(), "1") << "and redo gives back what was typed";
}

// The note's promise, kept with the cursor still in Degree: the box undoes its
// own typing first, then the same key undoes the window's step.
TEST_F(WindowHistoryTest, CtrlZInABoxUndoesItsTypingThenTheWindowsStep) {
    ASSERT_TRUE(showActive(form));
    form.txtDegree->setFocus();
    form.txtDegree->selectAll();
    QTest::keyClicks(form.txtDegree, "1");
    QTest::keyClick(form.txtDegree, Qt::Key_Return);
    ASSERT_EQ(form.sgdResult->cells().rowCount(), 3);
    QTest::keyClick(form.txtDegree, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(form.txtDegree->text(), "3") << "the box's own typing first";
    EXPECT_EQ(form.sgdResult->cells().rowCount(), 3);
    QTest::keyClick(form.txtDegree, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(form.sgdResult->cells().rowCount(), 5) << "then the window's step";
    EXPECT_EQ(columnTexts(form.sgdResult->cells(), 0), (Texts{"1", "2", "3", "4"}));
    EXPECT_EQ(form.txtDegree->text(), "3");
    QTest::keyClick(form.txtDegree, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(form.sgdResult->cells().rowCount(), 3) << "and redo, from the box too";
}

TEST_F(WindowHistoryTest, KeepsTheNewestHundredSteps) {
    for (int k = 0; k <= WindowHistory::kMaxSteps; ++k)
        form.sdgCoefficients->model()->setData(form.sdgCoefficients->model()->index(0, 0),
                                               QString::number(k));
    EXPECT_EQ(stack().count(), WindowHistory::kMaxSteps);
    while (stack().canUndo())
        stack().undo();
    EXPECT_EQ(form.sdgCoefficients->cells().cell(1, 1), "0") << "the oldest step went";
}

// Steps that leave 2,000 points as they are keep them once: the undo
// states and the exact fit share one packed copy.
TEST_F(WindowHistoryTest, UndoAndTheExactFitKeepTheSamePointsOnce) {
    form.switchFit(FitKind::leastSquares());
    CellTable& table = form.sgdResult->cells();
    table.setRowCount(2'002); // and the blank row least squares keeps
    for (int k = 1; k <= 2'000; ++k) {
        table.setCell(0, k, std::to_string(k) + ".125");
        table.setCell(1, k, std::to_string(3 * k % 97) + ".5");
    }
    form.sgdResult->sync();
    form.btnGetCoefficients->click();
    const size_t onePointTable = PackedTable(form.sgdResult->cells()).bytes();
    for (int k = 0; k < 5; ++k)
        form.sdgCoefficients->model()->setData(form.sdgCoefficients->model()->index(0, 0),
                                               QString::number(k));
    EXPECT_LT(TForm1State::undoBytes(form), onePointTable * 3 / 2)
        << "one table of " << onePointTable << " bytes";
}

TEST_F(WindowHistoryTest, TheDropNoteCountsOnlyFilledRows) {
    form.sgdResult->setCell(0, 4, "   ");
    form.sgdResult->setCell(1, 4, "");
    form.txtDegree->setText("1"); // drops (3, 20) and the row of spaces
    form.btnGenerate->click();
    EXPECT_EQ(form.note->text(),
              "1 point was dropped with the smaller degree; Ctrl+Z brings it back");
}

// "Use exact values" is a step, and undo gives back the check as it stood.
TEST_F(WindowHistoryTest, UndoGivesBackTheExactCheckAndUseExactValuesIsAStep) {
    setPoints(form, allOnesPoints(10));
    form.btnGetCoefficients->click();
    ASSERT_TRUE(form.checkView->indicator->isVisible());
    const QString off = form.checkView->indicator->toolTip();
    const int steps = stack().count();
    form.checkView->panel->useButton->click();
    EXPECT_EQ(stack().count(), steps + 1);
    EXPECT_EQ(stack().undoText(), "Use exact values");
    const QString agrees = form.checkView->indicator->toolTip();
    EXPECT_NE(agrees, off);
    stack().undo();
    EXPECT_TRUE(form.checkView->indicator->isVisible());
    EXPECT_EQ(form.checkView->indicator->toolTip(), off) << "the check as it stood";
    stack().undo(); // the solve
    EXPECT_FALSE(form.checkView->indicator->isVisible());
    stack().redo();
    EXPECT_EQ(form.checkView->indicator->toolTip(), off) << "redo brings the check back";
    stack().redo();
    EXPECT_EQ(form.checkView->indicator->toolTip(), agrees);
    EXPECT_EQ(columnTexts(form.sdgCoefficients->cells(), 1), Texts(10, "1"));
}

TEST_F(WindowHistoryTest, RedoOfAnEditOrPasteGivesTheCheckAsItFollowedThePoints) {
    for (const bool leastSquares : {false, true}) {
        if (leastSquares)
            form.fitKind->leastSquares->trigger();
        form.btnGetCoefficients->click();
        ASSERT_TRUE(form.checkView->indicator->isVisible());
        const auto expectNoCheckAfterRedo = [&](const char* step) {
            EXPECT_FALSE(form.checkView->indicator->isVisible()) << step << ": a changed point";
            stack().undo();
            EXPECT_TRUE(form.checkView->indicator->isVisible()) << step;
            stack().redo();
            EXPECT_FALSE(form.checkView->indicator->isVisible())
                << step << " redone: the check does not fit the points";
            EXPECT_FALSE(form.checkView->fitLine->isVisible()) << step;
        };
        ASSERT_TRUE(showActive(form));
        form.sgdResult->setCurrentIndex(form.sgdResult->model()->index(1, 1));
        typeIntoCell(*form.sgdResult, leastSquares ? "6" : "5");
        form.sgdResult->commitEdit();
        expectNoCheckAfterRedo(leastSquares ? "an edit in least squares" : "an edit");
        form.btnGetCoefficients->click();
        form.sgdResult->setCurrentIndex(form.sgdResult->model()->index(1, 0));
        form.sgdResult->pasteText(leastSquares ? "1\t2" : "1\t3");
        expectNoCheckAfterRedo(leastSquares ? "a paste in least squares" : "a paste");
    }
}

TEST_F(WindowHistoryTest, CtrlZUndoesTheWindowOutsideABoxAndTheBoxsTypingInsideIt) {
    ASSERT_TRUE(showActive(form));
    form.btnClear->click();
    form.sgdResult->setFocus();
    QTest::keyClick(form.sgdResult, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(columnTexts(form.sgdResult->cells(), 0), (Texts{"1", "2", "3", "4"}));
    QTest::keyClick(form.sgdResult, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(columnTexts(form.sgdResult->cells(), 0), (Texts{"", "", "", ""}));
    QTest::keyClick(form.sgdResult, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(stack().index(), 1) << "nothing more to redo";
    form.txtX->setFocus();
    QTest::keyClicks(form.txtX, "12");
    QTest::keyClick(form.txtX, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(form.txtX->text(), "") << "the box's own typing";
    EXPECT_EQ(stack().index(), 1);
}

TEST_F(WindowHistoryTest, SaveThenOpenGivesBackTheTableAsOneStep) {
    const Texts awkward = {"1,5", "say \"hi\"", "a\nb", " 2 ", "", "\xc3\xa9"};
    for (int r = 1; r <= 4; ++r) {
        form.sgdResult->setCell(0, r, awkward[size_t(r - 1)]);
        form.sgdResult->setCell(1, r, awkward[size_t(r + 1)]);
    }
    const CellTable saved = form.sgdResult->cells();
    const QString path = folder.filePath("points.csv");
    form.savePoints(path);
    form.txtDegree->setText("6");
    form.btnGenerate->click();
    form.btnClear->click();
    const Snapshot before = snapshot();
    form.openPoints(path);
    EXPECT_TRUE(errors().isEmpty()) << errors().join("; ").toStdString();
    EXPECT_EQ(form.sgdResult->cells(), saved);
    EXPECT_EQ(form.txtDegree->text(), "3");
    EXPECT_EQ(TForm1State::degree(form), 3);
    expectUndoAndRedo(before, snapshot());
}

// The history alone, over states the test keeps: no window.
class WindowHistoryAlone : public ::testing::Test {
  protected:
    WindowHistoryAlone() {
        now.points = std::make_shared<const PackedTable>(tableOf(2, {{"1", "4"}}));
        now.coefficients = now.answers = std::make_shared<const PackedTable>(CellTable(2, 2));
        now.boxes = {"3", "typed"};
        history.start();
    }
    void setPoints(const Grid& rows) {
        now.points = std::make_shared<const PackedTable>(tableOf(2, rows));
    }

    WindowState now;
    WindowHistory history{[this] { return now; },
                          [this](const WindowState& state) { now = state; }};
};

TEST_F(WindowHistoryAlone, KeepsOnlyStepsThatChangeDataAndGivesBothStatesBack) {
    history.record("Nothing", [this] { now.boxes[1] = "typed more"; });
    EXPECT_EQ(history.stack.count(), 0) << "boxes alone are no step";
    history.record("Add", [this] { setPoints({{"1", "4"}, {"2", "8"}}); });
    ASSERT_EQ(history.stack.count(), 1);
    EXPECT_EQ(history.stack.undoText(), "Add");
    history.stack.undo();
    EXPECT_EQ(dataRows(now.points->unpack()), (Grid{{"1", "4"}}));
    history.stack.redo();
    EXPECT_EQ(dataRows(now.points->unpack()), (Grid{{"1", "4"}, {"2", "8"}}));
}

TEST_F(WindowHistoryAlone, AStepThatReadsABoxKeepsItAsItStoodBefore) {
    history.record("Generate", [this] { now.degree = 2; });
    now.boxes[0] = "5"; // typed after the step, then read by the next
    history.record("Generate", [this] { now.degree = 5; }, {0});
    history.stack.undo();
    EXPECT_EQ(now.degree, 2);
    EXPECT_EQ(now.boxes[0], "3") << "the box as the state before held it, not as typed";
}

TEST_F(WindowHistoryAlone, AFailedStepIsKeptAsFarAsItGot) {
    EXPECT_THROW(history.record("Paste",
                                [this] {
                                    setPoints({{"9", "9"}});
                                    throw std::runtime_error("stopped");
                                }),
                 std::runtime_error);
    ASSERT_EQ(history.stack.count(), 1);
    history.stack.undo();
    EXPECT_EQ(dataRows(now.points->unpack()), (Grid{{"1", "4"}}));
}

} // namespace
