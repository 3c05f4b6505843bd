#include "support/tarvel_test.h"

#include "app/application.h"
#include "plot/chart_view.h"

#include <QChart>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QTest>
#include <QXYSeries>

namespace {

using Texts = std::vector<std::string>;
using WindowStart = TarvelTest;
using Boxes = std::pair<QString, QString>;

TEST_F(WindowStart, ShowsTheDegreeThreeTemplateAndTheFourDefaultPoints) {
    TForm1 form;
    EXPECT_EQ(form.windowTitle(), "Tarvel");
    EXPECT_EQ(form.size(), QSize(574, 597));
    EXPECT_EQ(form.txtDegree->text(), "3");
    EXPECT_EQ(form.txtFx1->text(), "A + Bx^1 + Cx^2 + Dx^3");
    EXPECT_EQ(form.txtFx2->text(), "((Dx + C)x + B)x + A");
    EXPECT_EQ(rowTexts(form.sgdResult->cells(), 0), (Texts{"x", "f(x)"}));
    EXPECT_EQ(columnTexts(form.sgdResult->cells(), 0), (Texts{"1", "2", "3", "4"}));
    EXPECT_EQ(columnTexts(form.sgdResult->cells(), 1), (Texts{"4", "8", "20", "46"}));
    EXPECT_EQ(rowTexts(form.sdgCoefficients->cells(), 0), (Texts{"", "Coefficients"}));
    EXPECT_EQ(columnTexts(form.sdgCoefficients->cells(), 0), (Texts{"A", "B", "C", "D"}));
    EXPECT_EQ(columnTexts(form.sdgCoefficients->cells(), 1), (Texts{"", "", "", ""}));
    EXPECT_EQ(form.sgdAns1->cells().rowCount(), 2);
    EXPECT_EQ(rowTexts(form.sgdAns1->cells(), 0), (Texts{"Answer", "A", "B", "C", "D"}));
    EXPECT_EQ(rowTexts(form.sgdAns1->cells(), 1), (Texts{"", "", "", "", ""}));
    for (QLineEdit* empty : {form.txtResult, form.txtRX, form.txtRfx, form.txtX, form.txtFx})
        EXPECT_EQ(empty->text(), "") << empty->objectName().toStdString();
    EXPECT_EQ(form.Tarvel->currentWidget(), form.TabSheet1);
    EXPECT_EQ(form.txtMin->text(), "0");
    EXPECT_EQ(form.txtMax->text(), "1000");
    EXPECT_EQ(form.txtStep->text(), "100");
    EXPECT_EQ(form.Chart1->chart()->title(), "TChart");
    EXPECT_TRUE(form.Chart1->chart()->series().isEmpty());
    EXPECT_EQ(TForm1State::pointCount(form), 0);
    EXPECT_EQ(TForm1State::degree(form), 3);
    EXPECT_EQ(TForm1State::coefNames(form), (Texts{"A", "B", "C", "D"}));
    EXPECT_TRUE(errors().isEmpty());
}

struct Placement {
    const char* name;
    const char* parent;
    QRect geometry;
    const char* text;
};

class WindowLayout : public TarvelTest, public ::testing::WithParamInterface<Placement> {};

QString textOf(const QWidget* control) {
    if (auto* label = qobject_cast<const QLabel*>(control))
        return label->text();
    if (auto* edit = qobject_cast<const QLineEdit*>(control))
        return edit->text();
    if (auto* button = qobject_cast<const QPushButton*>(control))
        return QString(button->text()).remove('&'); // the mnemonic mark is hidden
    if (auto* group = qobject_cast<const QGroupBox*>(control))
        return group->title();
    return {};
}

TEST_P(WindowLayout, PutsEveryControlInItsPlace) {
    TForm1 form;
    const Placement& placement = GetParam();
    const auto* control = form.findChild<QWidget*>(placement.name);
    ASSERT_TRUE(control) << placement.name;
    EXPECT_EQ(control->parentWidget()->objectName(), placement.parent);
    EXPECT_EQ(control->geometry(), placement.geometry);
    EXPECT_EQ(textOf(control), placement.text);
}

INSTANTIATE_TEST_SUITE_P(
    Controls, WindowLayout,
    ::testing::Values(Placement{"Label10", "Form1", {16, 8, 52, 23}, "Degree"},
                      Placement{"txtDegree", "Form1", {72, 8, 65, 24}, "3"},
                      Placement{"btnGenerate", "Form1", {136, 8, 75, 25}, "Generate"},
                      Placement{"Label1", "Form1", {16, 40, 47, 23}, "f(x) = "},
                      Placement{"txtFx1", "Form1", {72, 40, 489, 24}, "A + Bx^1 + Cx^2 + Dx^3"},
                      Placement{"Label2", "Form1", {16, 64, 47, 23}, "f(x) = "},
                      Placement{"txtFx2", "Form1", {72, 64, 489, 24}, "((Dx + C)x + B)x + A"},
                      Placement{"Tarvel", "Form1", {8, 96, 561, 401}, ""},
                      Placement{"Label5", "Form1", {8, 504, 46, 23}, "Result"},
                      Placement{"Label6", "Form1", {8, 528, 47, 23}, "f(x) = "},
                      Placement{"txtResult", "Form1", {63, 528, 498, 24}, ""},
                      Placement{"Label7", "Form1", {32, 560, 27, 23}, "x = "},
                      Placement{"txtRX", "Form1", {64, 560, 105, 24}, ""},
                      Placement{"btnFx", "Form1", {168, 560, 75, 25}, "f(x)"},
                      Placement{"txtRfx", "Form1", {240, 560, 105, 24}, ""},
                      Placement{"sgdResult", "TabSheet1", {0, 0, 185, 217}, ""},
                      Placement{"GroupBox1", "TabSheet1", {184, 0, 177, 217}, "Set Result"},
                      Placement{"sdgCoefficients", "TabSheet1", {360, 8, 193, 209}, ""},
                      Placement{"sgdAns1", "TabSheet1", {0, 224, 553, 146}, ""},
                      Placement{"Label3", "GroupBox1", {24, 24, 27, 23}, "x = "},
                      Placement{"Label4", "GroupBox1", {8, 56, 47, 23}, "f(x) = "},
                      Placement{"txtX", "GroupBox1", {56, 24, 105, 24}, ""},
                      Placement{"txtFx", "GroupBox1", {56, 56, 105, 24}, ""},
                      Placement{"btnAdd", "GroupBox1", {32, 88, 113, 25}, "Add"},
                      Placement{"btnDel", "GroupBox1", {32, 112, 113, 25}, "Del"},
                      Placement{"btnClear", "GroupBox1", {32, 136, 113, 25}, "Clear"},
                      Placement{
                          "btnGetCoefficients", "GroupBox1", {32, 168, 113, 33}, "GetCoefficients"},
                      Placement{"Chart1", "TabSheet2", {0, 0, 553, 337}, ""},
                      Placement{"Label8", "TabSheet2", {8, 344, 21, 16}, "Min"},
                      Placement{"txtMin", "TabSheet2", {32, 344, 121, 24}, "0"},
                      Placement{"Max", "TabSheet2", {160, 344, 25, 16}, "Max"},
                      Placement{"txtMax", "TabSheet2", {192, 344, 121, 24}, "1000"},
                      Placement{"Label9", "TabSheet2", {320, 344, 27, 16}, "Step"},
                      Placement{"txtStep", "TabSheet2", {352, 344, 121, 24}, "100"},
                      Placement{"btnDraw", "TabSheet2", {478, 344, 75, 26}, "Draw"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(WindowStart, UsesTheLayoutFonts) {
    TForm1 form;
    EXPECT_EQ(form.font().family(), "Arial");
    EXPECT_EQ(form.font().pixelSize(), 13);
    for (QLabel* decorated : {form.Label1, form.Label2, form.Label3, form.Label4, form.Label5,
                              form.Label6, form.Label7, form.Label10}) {
        EXPECT_EQ(decorated->font().family(), "Comic Sans MS");
        EXPECT_EQ(decorated->font().pixelSize(), 16);
        EXPECT_TRUE(decorated->font().italic());
    }
    for (QLabel* plain : {form.Label8, form.Max, form.Label9})
        EXPECT_EQ(plain->font(), form.font());
    EXPECT_EQ(form.btnGetCoefficients->font(), form.font());
}

TEST_F(WindowStart, TabOrderFollowsTheLayout) {
    TForm1 form;
    const std::vector<QWidget*> expected = {
        form.txtDegree, form.btnGenerate,     form.txtFx1,  form.txtFx2, form.txtResult,
        form.txtRX,     form.btnFx,           form.txtRfx,  form.Tarvel, form.sgdResult,
        form.txtX,      form.txtFx,           form.btnAdd,  form.btnDel, form.btnGetCoefficients,
        form.btnClear,  form.sdgCoefficients, form.sgdAns1, form.Chart1, form.btnDraw,
        form.txtMin,    form.txtMax,          form.txtStep};
    // The chain holds the focusable widgets in order; Qt may slot internal
    // ones (such as the tab bar) in between.
    std::vector<QWidget*> chain;
    QWidget* widget = form.txtDegree;
    do {
        if (std::find(expected.begin(), expected.end(), widget) != expected.end())
            chain.push_back(widget);
        widget = widget->nextInFocusChain();
    } while (widget != form.txtDegree);
    EXPECT_EQ(chain, expected);
}

TEST_F(WindowStart, ALargerWindowGivesTheRoomToThePagesTheAnswerGridAndTheChart) {
    TForm1 form;
    EXPECT_EQ(form.minimumSize(), QSize(574, 597)) << "never smaller than laid out";
    form.resize(1600, 1000);
    form.show();
    const int dx = 1600 - 574, dy = 1000 - 597;
    EXPECT_EQ(form.Tarvel->geometry(), QRect(8, 96, 561 + dx, 401 + dy));
    EXPECT_EQ(form.sgdAns1->geometry(), QRect(0, 224, 553 + dx, 146 + dy));
    EXPECT_EQ(form.Chart1->geometry(), QRect(0, 0, 553 + dx, 337 + dy));
    EXPECT_EQ(form.txtFx1->geometry(), QRect(72, 40, 489 + dx, 24));
    EXPECT_EQ(form.txtResult->geometry(), QRect(63, 528 + dy, 498 + dx, 24));
    EXPECT_EQ(form.btnDraw->geometry(), QRect(478, 344 + dy, 75, 26)) << "below the chart";
    EXPECT_EQ(form.btnFx->geometry(), QRect(168, 560 + dy, 75, 25));
    EXPECT_EQ(form.sgdResult->geometry(), QRect(0, 0, 185, 217)) << "the top of page 1 stays";
    EXPECT_EQ(form.sdgCoefficients->geometry(), QRect(360, 8, 193, 209));
    form.resize(574, 597);
    EXPECT_EQ(form.Chart1->geometry(), QRect(0, 0, 553, 337)) << "and back";
    EXPECT_EQ(form.txtResult->geometry(), QRect(63, 528, 498, 24));
}

TEST_F(WindowStart, OnAScreenTooSmallTheWindowScrollsInsideIt) {
    auto* form = new TForm1;
    const std::unique_ptr<QWidget> shown(showFitted(*form, QSize(500, 400)));
    auto* frame = qobject_cast<QScrollArea*>(shown.get());
    ASSERT_TRUE(frame) << "a scrolling frame";
    EXPECT_EQ(frame->widget(), form);
    EXPECT_LE(frame->width(), 500);
    EXPECT_LE(frame->height(), 400);
    EXPECT_EQ(form->size(), QSize(574, 597)) << "the window keeps its size inside";
    EXPECT_EQ(frame->windowTitle(), "Tarvel");
    TForm1 fits;
    EXPECT_EQ(showFitted(fits, QSize(1024, 768)), &fits) << "a window that fits stays as it is";
}

TEST_F(WindowStart, ClosesWithoutAQuestion) {
    TForm1 form;
    form.show();
    EXPECT_TRUE(form.close());
    EXPECT_FALSE(form.isVisible());
}

// What each handler reads from the controls and writes back into them.

class Bindings : public TarvelTest {
  protected:
    void generate(const char* degreeText) {
        form.txtDegree->setText(degreeText);
        form.btnGenerate->click();
    }
    void add(const char* x, const char* fx) {
        form.txtX->setText(x);
        form.txtFx->setText(fx);
        form.btnAdd->click();
    }
    QString fx(const QString& x) {
        form.txtRX->setText(x);
        form.btnFx->click();
        return form.txtRfx->text();
    }
    void draw(const QString& min, const QString& max, const QString& step) {
        form.txtMin->setText(min);
        form.txtMax->setText(max);
        form.txtStep->setText(step);
        form.btnDraw->click();
    }
    void setCoefficients(const Texts& values) {
        for (size_t i = 0; i < values.size(); ++i)
            form.sdgCoefficients->setCell(1, int(i) + 1, values[i]);
    }
    Boxes boxes() const { return {form.txtX->text(), form.txtFx->text()}; }
    QStringList range() const {
        return {form.txtMin->text(), form.txtMax->text(), form.txtStep->text()};
    }
    void switchPage() { form.Tarvel->setCurrentIndex(1 - form.Tarvel->currentIndex()); }
    qsizetype plotted() const {
        return qobject_cast<QXYSeries*>(form.Chart1->chart()->series().first())->count();
    }

    TForm1 form;
};

TEST_F(Bindings, GenerateWritesTheDegreeAndBothFormsOrSaysWhyNot) {
    generate("2");
    EXPECT_EQ(TForm1State::degree(form), 2);
    EXPECT_EQ(form.txtFx1->text(), "A + Bx^1 + Cx^2");
    EXPECT_EQ(form.txtFx2->text(), "(Cx + B)x + A");
    generate("191");
    EXPECT_EQ(errors(), QStringList{"Degree 191 is too large: the largest degree is 190"});
    EXPECT_EQ(TForm1State::degree(form), 2);
    EXPECT_EQ(form.txtFx1->text(), "A + Bx^1 + Cx^2");
    generate("abc");
    EXPECT_EQ(TForm1State::degree(form), -1);
    EXPECT_EQ(form.txtFx1->text(), "");
}

TEST_F(Bindings, AddMovesOnAndLoadsTheBoxesWithTheRowItReaches) {
    form.sgdResult->setRow(4);
    form.btnDel->click();
    EXPECT_EQ(TForm1State::pointCount(form), -1);
    add("5", "92");
    EXPECT_EQ(form.sgdResult->cells().cell(0, 4), "5");
    EXPECT_EQ(form.sgdResult->row(), 1);
    EXPECT_EQ(boxes(), Boxes("1", "4"));
    form.btnClear->click();
    EXPECT_EQ(form.sgdResult->row(), 1) << "Clear leaves the current cell";
    EXPECT_EQ(boxes(), Boxes("1", "4")) << "and the boxes";
    add("1", "4");
    EXPECT_EQ(form.sgdResult->row(), 2);
    EXPECT_EQ(boxes(), Boxes("", ""));
}

TEST_F(Bindings, ClickingEitherCellOfARowLoadsBothBoxes) {
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

TEST_F(Bindings, FxWritesTheValueAndKeepsTheOldOneWhenThereIsNone) {
    form.txtRfx->setText("kept");
    EXPECT_EQ(fx("5"), "kept") << "right after start the values are empty";
    setCoefficients({"2", "3", "-2", "1"});
    EXPECT_EQ(fx("5"), "92");
    EXPECT_EQ(fx("five"), "92");
    EXPECT_EQ(errors(), QStringList{"'\u2068five\u2069' is not a valid floating point value"});
    generate("1");
    EXPECT_EQ(fx("10"), "32") << "the degree that Generate set";
}

TEST_F(Bindings, DrawReadsTheRangeBoxesAndShowsTheLastSampleInTheResultBoxes) {
    setCoefficients({"2", "3", "-2", "1"});
    form.btnDraw->click();
    EXPECT_EQ(plotted(), 11);
    EXPECT_EQ(form.txtRX->text(), "1000");
    EXPECT_EQ(form.txtRfx->text(), "998003002");
    setCoefficients({"0", "0", "0", "1E300"});
    draw("1E2", "1E10", "1E9");
    EXPECT_EQ(errors(), QStringList{"Floating point overflow"});
    EXPECT_EQ(plotted(), 1);
    EXPECT_EQ(form.txtRX->text(), "1000000100") << "also when an error ends Draw";
    EXPECT_EQ(form.txtRfx->text(), "1E306");
}

TEST_F(Bindings, EveryPageSwitchProposesTheRangeOfThePoints) {
    switchPage();
    EXPECT_EQ(range(), (QStringList{"1", "4", "0.3"}));
    form.txtMin->setText("typed");
    switchPage();
    EXPECT_EQ(range(), (QStringList{"1", "4", "0.3"}));
    form.btnClear->click();
    switchPage();
    EXPECT_EQ(range(), (QStringList{"1", "4", "0.3"})) << "no points, no proposal";
}

TEST_F(Bindings, ABadXCellLeavesAllThreeRangeBoxesOnEverySwitch) {
    form.sgdResult->setCell(0, 4, "four");
    switchPage();
    switchPage();
    EXPECT_EQ(range(), (QStringList{"0", "1000", "100"}));
    EXPECT_EQ(errors().size(), 2);
}

} // namespace
