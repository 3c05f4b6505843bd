#include "support/tarvel_test.h"

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
    }
    Snapshot snapshot() const {
        QStringList boxes;
        for (QLineEdit* box : {form.txtDegree, form.txtFx1, form.txtFx2, form.txtX, form.txtFx,
                               form.txtMin, form.txtMax, form.txtStep, form.txtResult, form.txtRX,
                               form.txtRfx})
            boxes << box->text();
        return {form.sgdResult->cells(),         form.sdgCoefficients->cells(),
                form.sgdAns1->cells(),           boxes,
                TForm1State::coefNames(form),    TForm1State::pointCount(form),
                TForm1State::degree(form),       form.sgdResult->col(),
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
    void step(const std::function<void()>& action) {
        const Snapshot before = snapshot();
        const int steps = stack().count();
        action();
        QCoreApplication::processEvents();
        ASSERT_EQ(stack().count(), steps + 1) << "one step";
        expectUndoAndRedo(before, snapshot());
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
};

TEST_F(WindowHistoryTest, EveryKindOfStepUndoesAndRedoesTheWholeState) {
    // What a user types into a box is no step: it belongs to the state before the next one.
    form.txtRX->setText("typed, not a step");
    form.txtDegree->setText("2");
    step([&] { form.btnGenerate->click(); });
    form.sgdResult->setRow(3);
    step([&] { form.btnDel->click(); });
    form.txtX->setText("9");
    form.txtFx->setText("81");
    step([&] { form.btnAdd->click(); });
    step([&] { form.btnGetCoefficients->click(); });
    step([&] { form.sdgCoefficients->model()->setData(form.sdgCoefficients->model()->index(0, 0), "7"); });
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
    form.txtDegree->setText("1");
    const Snapshot start = snapshot();
    form.btnGenerate->click();
    EXPECT_TRUE(form.note->isVisibleTo(&form));
    EXPECT_EQ(form.note->text(), "2 points were dropped with the smaller degree; Ctrl+Z brings them back");
    form.txtDegree->setText("3");
    form.btnGenerate->click();
    EXPECT_EQ(columnTexts(form.sgdResult->cells(), 0), (Texts{"1", "2", "", ""}));
    stack().undo();
    stack().undo();
    EXPECT_EQ(snapshot(), start);
    EXPECT_FALSE(form.note->isVisibleTo(&form));
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

} // namespace
