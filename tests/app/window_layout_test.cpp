#include "support/tarvel_test.h"

#include "plot/chart_view.h"

#include <QAccessible>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

#include <set>

namespace {

struct Placement {
    const char* name;
    const char* parent;
    QRect geometry;
    const char* text;
};

class WindowLayout : public TarvelTest, public ::testing::WithParamInterface<Placement> {};
using WindowLayoutTest = TarvelTest;

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

TEST_F(WindowLayoutTest, UsesTheLayoutFonts) {
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

TEST_F(WindowLayoutTest, ALargerWindowGivesTheRoomToThePagesTheGridsAndTheChart) {
    TForm1 form;
    EXPECT_EQ(form.minimumSize(), QSize(574, 597)) << "never smaller than laid out";
    form.resize(1600, 1000);
    form.show();
    const int dx = 1600 - 574, dy = 1000 - 597;
    EXPECT_EQ(form.Tarvel->geometry(), QRect(8, 96, 561 + dx, 401 + dy));
    EXPECT_EQ(form.sgdAns1->geometry(), QRect(0, 224 + dy / 2, 553 + dx, 146 + dy - dy / 2));
    EXPECT_EQ(form.Chart1->geometry(), QRect(0, 0, 553 + dx, 337 + dy));
    EXPECT_EQ(form.txtFx1->geometry(), QRect(72, 40, 489 + dx, 24));
    EXPECT_EQ(form.txtResult->geometry(), QRect(63, 528 + dy, 498 + dx, 24));
    EXPECT_EQ(form.btnDraw->geometry(), QRect(478, 344 + dy, 75, 26)) << "below the chart";
    EXPECT_EQ(form.btnFx->geometry(), QRect(168, 560 + dy, 75, 25));
    EXPECT_EQ(form.sgdResult->geometry(), QRect(0, 0, 185, 217 + dy / 2)) << "more points show";
    EXPECT_EQ(form.sdgCoefficients->geometry(), QRect(360, 8, 193 + dx, 209 + dy / 2));
    EXPECT_EQ(form.GroupBox1->geometry(), QRect(184, 0, 177, 217)) << "the buttons stay";
    form.resize(574, 597);
    EXPECT_EQ(form.Chart1->geometry(), QRect(0, 0, 553, 337)) << "and back";
    EXPECT_EQ(form.txtResult->geometry(), QRect(63, 528, 498, 24));
}

// Every control a screen reader lands on says what it is, and each label
// that stands just left of a box on its row names that box.
TEST_F(WindowLayoutTest, EveryBoxGridAndButtonHasANameAndEachLabelNamesTheBoxBesideIt) {
    TForm1 form;
    std::set<std::pair<QAccessible::Role, QString>> names; // a box and a button may share one
    QList<QWidget*> controls;
    for (QWidget* control : form.findChildren<QWidget*>())
        for (const char* kind : {"txt", "btn", "sgd", "sdg"})
            if (control->objectName().startsWith(kind))
                controls << control;
    controls << form.Chart1;
    for (QWidget* control : controls) {
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(control);
        const QString name = accessible->text(QAccessible::Name);
        EXPECT_FALSE(name.isEmpty()) << control->objectName().toStdString();
        EXPECT_TRUE(names.insert({accessible->role(), name}).second)
            << "two controls of a kind called " << name.toStdString();
    }
    int labelled = 0;
    for (QLabel* label : form.findChildren<QLabel*>())
        for (QLineEdit* box :
             label->parentWidget()->findChildren<QLineEdit*>(Qt::FindDirectChildrenOnly))
            if (box->y() == label->y() && box->x() > label->x() &&
                box->x() - (label->x() + label->width()) <= 12) {
                EXPECT_EQ(label->buddy(), box) << label->objectName().toStdString();
                ++labelled;
            }
    EXPECT_EQ(labelled, 10) << "every label that stands beside a box";
}

} // namespace
