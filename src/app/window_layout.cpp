#include "app/window_layout.h"

#include "app/Unit1.h"
#include "plot/chart_view.h"
#include "toolkit/string_grid.h"
#include "toolkit/text_box.h"

#include <QChart>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

namespace {

template <class Control> Control* place(Control* control, const char* name, QRect geometry) {
    control->setObjectName(name);
    control->setGeometry(geometry);
    return control;
}

// The letters-and-formula labels use the decorative face; the rest the window's font.
QLabel* label(QWidget* parent, const char* name, const QString& text, QRect geometry,
              bool decorative = false) {
    auto* control = place(new QLabel(text, parent), name, geometry);
    control->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    if (decorative) {
        QFont font("Comic Sans MS");
        font.setPixelSize(16);
        font.setItalic(true);
        control->setFont(font);
    }
    return control;
}

QLineEdit* edit(QWidget* parent, const char* name, const QString& text, QRect geometry) {
    auto* control = place(new QLineEdit(text, parent), name, geometry);
    limitLength(*control);
    return control;
}

// Each caption marks the letter that Alt reaches the button with; the style
// hides the marks, so captions look as laid out.
QPushButton* button(QWidget* parent, const char* name, const QString& caption, QRect geometry) {
    return place(new QPushButton(caption, parent), name, geometry);
}

StringGrid* grid(QWidget* parent, const char* name, int cols, int fixedCols, QRect geometry) {
    return place(new StringGrid(cols, fixedCols, parent), name, geometry);
}

void createControls(TForm1& form) {
    form.Label10 = label(&form, "Label10", "Degree", {16, 8, 52, 23}, true);
    form.txtDegree = edit(&form, "txtDegree", "3", {72, 8, 65, 24});
    form.btnGenerate = button(&form, "btnGenerate", "&Generate", {136, 8, 75, 25});
    form.Label1 = label(&form, "Label1", "f(x) = ", {16, 40, 47, 23}, true);
    form.txtFx1 = edit(&form, "txtFx1", "", {72, 40, 489, 24});
    form.Label2 = label(&form, "Label2", "f(x) = ", {16, 64, 47, 23}, true);
    form.txtFx2 = edit(&form, "txtFx2", "", {72, 64, 489, 24});

    form.Tarvel = place(new QTabWidget(&form), "Tarvel", {8, 96, 561, 401});
    form.TabSheet1 = new QWidget;
    form.TabSheet1->setObjectName("TabSheet1");
    form.TabSheet2 = new QWidget;
    form.TabSheet2->setObjectName("TabSheet2");
    form.Tarvel->addTab(form.TabSheet1, "Tarvel");
    form.Tarvel->addTab(form.TabSheet2, "Draw");

    form.sgdResult = grid(form.TabSheet1, "sgdResult", 2, 0, {0, 0, 185, 217});
    form.sgdResult->setColWidth(0, 83);
    form.sgdResult->setColWidth(1, 91);
    form.GroupBox1 =
        place(new QGroupBox("Set Result", form.TabSheet1), "GroupBox1", {184, 0, 177, 217});
    form.Label3 = label(form.GroupBox1, "Label3", "x = ", {24, 24, 27, 23}, true);
    form.Label4 = label(form.GroupBox1, "Label4", "f(x) = ", {8, 56, 47, 23}, true);
    form.txtX = edit(form.GroupBox1, "txtX", "", {56, 24, 105, 24});
    form.txtFx = edit(form.GroupBox1, "txtFx", "", {56, 56, 105, 24});
    form.btnAdd = button(form.GroupBox1, "btnAdd", "&Add", {32, 88, 113, 25});
    form.btnDel = button(form.GroupBox1, "btnDel", "&Del", {32, 112, 113, 25});
    form.btnClear = button(form.GroupBox1, "btnClear", "&Clear", {32, 136, 113, 25});
    form.btnGetCoefficients =
        button(form.GroupBox1, "btnGetCoefficients", "G&etCoefficients", {32, 168, 113, 33});
    form.sdgCoefficients = grid(form.TabSheet1, "sdgCoefficients", 2, 1, {360, 8, 193, 209});
    form.sdgCoefficients->setColWidth(0, 64);
    form.sdgCoefficients->setColWidth(1, 118);
    form.sgdAns1 = grid(form.TabSheet1, "sgdAns1", 2, 0, {0, 224, 553, 146});
    form.sgdAns1->setEditable(false);

    auto* chart = new QChart;
    chart->setTitle("TChart");
    form.Chart1 = place(new ChartView(chart, form.TabSheet2), "Chart1", {0, 0, 553, 337});
    form.Label8 = label(form.TabSheet2, "Label8", "Min", {8, 344, 21, 16});
    form.txtMin = edit(form.TabSheet2, "txtMin", "0", {32, 344, 121, 24});
    form.Max = label(form.TabSheet2, "Max", "Max", {160, 344, 25, 16});
    form.txtMax = edit(form.TabSheet2, "txtMax", "1000", {192, 344, 121, 24});
    form.Label9 = label(form.TabSheet2, "Label9", "Step", {320, 344, 27, 16});
    form.txtStep = edit(form.TabSheet2, "txtStep", "100", {352, 344, 121, 24});
    form.btnDraw = button(form.TabSheet2, "btnDraw", "D&raw", {478, 344, 75, 26});

    form.Label5 = label(&form, "Label5", "Result", {8, 504, 46, 23}, true);
    form.Label6 = label(&form, "Label6", "f(x) = ", {8, 528, 47, 23}, true);
    form.txtResult = edit(&form, "txtResult", "", {63, 528, 498, 24});
    form.Label7 = label(&form, "Label7", "x = ", {32, 560, 27, 23}, true);
    form.txtRX = edit(&form, "txtRX", "", {64, 560, 105, 24});
    form.btnFx = button(&form, "btnFx", "&f(x)", {168, 560, 75, 25});
    form.txtRfx = edit(&form, "txtRfx", "", {240, 560, 105, 24});
}

void nameForScreenReaders(TForm1& form) {
    // Each box and grid is named after its label, and the label points to it.
    const std::tuple<QWidget*, QLabel*, const char*> names[] = {
        {form.txtDegree, form.Label10, "Degree"},
        {form.txtFx1, form.Label1, "f(x), expanded"},
        {form.txtFx2, form.Label2, "f(x), nested"},
        {form.txtX, form.Label3, "x"},
        {form.txtFx, form.Label4, "f(x)"},
        {form.txtResult, form.Label6, "Result"},
        {form.txtRX, form.Label7, "x to evaluate"},
        {form.txtRfx, nullptr, "f(x) at x"},
        {form.txtMin, form.Label8, "Min"},
        {form.txtMax, form.Max, "Max"},
        {form.txtStep, form.Label9, "Step"},
        {form.sgdResult, nullptr, "Sample points"},
        {form.sdgCoefficients, nullptr, "Coefficients"},
        {form.sgdAns1, nullptr, "Answer"},
        {form.Chart1, nullptr, "Chart"}};
    for (const auto& [control, label, name] : names) {
        control->setAccessibleName(name);
        if (label)
            label->setBuddy(control);
    }
}

void chainTabOrder(TForm1& form) {
    // The layout's tab order: the window's own controls, then the page
    // control's pages; inside the group box "Clear" comes after
    // "GetCoefficients" although it stands above it.
    QWidget* const chain[] = {
        form.txtDegree, form.btnGenerate,     form.txtFx1,  form.txtFx2, form.txtResult,
        form.txtRX,     form.btnFx,           form.txtRfx,  form.Tarvel, form.sgdResult,
        form.txtX,      form.txtFx,           form.btnAdd,  form.btnDel, form.btnGetCoefficients,
        form.btnClear,  form.sdgCoefficients, form.sgdAns1, form.Chart1, form.btnDraw,
        form.txtMin,    form.txtMax,          form.txtStep};
    for (size_t i = 1; i < std::size(chain); ++i)
        QWidget::setTabOrder(chain[i - 1], chain[i]);
}

} // namespace

WindowLayout::WindowLayout(TForm1& form) : laidOut(form.size()) {
    createControls(form);
    nameForScreenReaders(form);
    chainTabOrder(form);
    using enum Share;
    const auto follows = [&](QWidget* control, bool wider, Share down, Share taller) {
        anchors.push_back({control, control->geometry(), {wider, down, taller}});
    };
    for (QWidget* control : {form.txtFx1, form.txtFx2})
        follows(control, true, none, none);
    follows(form.Tarvel, true, none, all);
    follows(form.Chart1, true, none, all);
    // Page 1 shares its new height: the point table and the coefficients
    // take the upper half, the answer grid below them the lower.
    follows(form.sgdResult, false, none, upperHalf);
    follows(form.sdgCoefficients, true, none, upperHalf);
    follows(form.sgdAns1, true, upperHalf, lowerHalf);
    for (QWidget* control : std::initializer_list<QWidget*>{
             form.Label8, form.txtMin, form.Max, form.txtMax, form.Label9, form.txtStep,
             form.btnDraw, form.Label5, form.Label6, form.Label7, form.txtRX, form.btnFx,
             form.txtRfx})
        follows(control, false, all, none);
    follows(form.txtResult, true, all, none);
}

void WindowLayout::followsBelowPages(QWidget* control) {
    anchors.push_back({control, control->geometry(), {true, Share::all, Share::none}});
}

void WindowLayout::follow(QSize size) const {
    const int dx = std::max(0, size.width() - laidOut.width());
    const int dy = std::max(0, size.height() - laidOut.height());
    const auto part = [dy](Share share) {
        return share == Share::all         ? dy
               : share == Share::upperHalf ? dy / 2
               : share == Share::lowerHalf ? dy - dy / 2
                                           : 0;
    };
    for (const auto& [control, laidOutGeometry, follow] : anchors) {
        QRect geometry = laidOutGeometry;
        geometry.setWidth(laidOutGeometry.width() + (follow.wider ? dx : 0));
        geometry.moveTop(laidOutGeometry.top() + part(follow.down));
        geometry.setHeight(laidOutGeometry.height() + part(follow.taller));
        control->setGeometry(geometry);
    }
}
