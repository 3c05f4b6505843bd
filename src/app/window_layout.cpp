#include "app/window_layout.h"

#include "app/window_controls.h"
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

void createControls(QWidget& window, WindowControls& controls) {
    controls.Label10 = label(&window, "Label10", "Degree", {16, 8, 52, 23}, true);
    controls.txtDegree = edit(&window, "txtDegree", "3", {72, 8, 65, 24});
    controls.btnGenerate = button(&window, "btnGenerate", "&Generate", {136, 8, 75, 25});
    controls.Label1 = label(&window, "Label1", "f(x) = ", {16, 40, 47, 23}, true);
    controls.txtFx1 = edit(&window, "txtFx1", "", {72, 40, 489, 24});
    controls.Label2 = label(&window, "Label2", "f(x) = ", {16, 64, 47, 23}, true);
    controls.txtFx2 = edit(&window, "txtFx2", "", {72, 64, 489, 24});

    controls.Tarvel = place(new QTabWidget(&window), "Tarvel", {8, 96, 561, 401});
    controls.TabSheet1 = new QWidget;
    controls.TabSheet1->setObjectName("TabSheet1");
    controls.TabSheet2 = new QWidget;
    controls.TabSheet2->setObjectName("TabSheet2");
    controls.Tarvel->addTab(controls.TabSheet1, "Tarvel");
    controls.Tarvel->addTab(controls.TabSheet2, "Draw");

    controls.sgdResult = grid(controls.TabSheet1, "sgdResult", 2, 0, {0, 0, 185, 217});
    WindowLayout::sizePointColumns(*controls.sgdResult, false);
    controls.GroupBox1 =
        place(new QGroupBox("Set Result", controls.TabSheet1), "GroupBox1", {184, 0, 177, 217});
    controls.Label3 = label(controls.GroupBox1, "Label3", "x = ", {24, 24, 27, 23}, true);
    controls.Label4 = label(controls.GroupBox1, "Label4", "f(x) = ", {8, 56, 47, 23}, true);
    controls.txtX = edit(controls.GroupBox1, "txtX", "", {56, 24, 105, 24});
    controls.txtFx = edit(controls.GroupBox1, "txtFx", "", {56, 56, 105, 24});
    controls.btnAdd = button(controls.GroupBox1, "btnAdd", "&Add", {32, 88, 113, 25});
    controls.btnDel = button(controls.GroupBox1, "btnDel", "&Del", {32, 112, 113, 25});
    controls.btnClear = button(controls.GroupBox1, "btnClear", "&Clear", {32, 136, 113, 25});
    controls.btnGetCoefficients =
        button(controls.GroupBox1, "btnGetCoefficients", "G&etCoefficients", {32, 168, 113, 33});
    controls.sdgCoefficients =
        grid(controls.TabSheet1, "sdgCoefficients", 2, 1, {360, 8, 193, 209});
    controls.sdgCoefficients->setColWidth(0, 64);
    controls.sdgCoefficients->setColWidth(1, 118);
    controls.sgdAns1 = grid(controls.TabSheet1, "sgdAns1", 2, 0, {0, 224, 553, 146});
    controls.sgdAns1->setEditable(false);

    auto* chart = new QChart;
    chart->setTitle("TChart");
    controls.Chart1 = place(new ChartView(chart, controls.TabSheet2), "Chart1", {0, 0, 553, 337});
    controls.Label8 = label(controls.TabSheet2, "Label8", "Min", {8, 344, 21, 16});
    controls.txtMin = edit(controls.TabSheet2, "txtMin", "0", {32, 344, 121, 24});
    controls.Max = label(controls.TabSheet2, "Max", "Max", {160, 344, 25, 16});
    controls.txtMax = edit(controls.TabSheet2, "txtMax", "1000", {192, 344, 121, 24});
    controls.Label9 = label(controls.TabSheet2, "Label9", "Step", {320, 344, 27, 16});
    controls.txtStep = edit(controls.TabSheet2, "txtStep", "100", {352, 344, 121, 24});
    controls.btnDraw = button(controls.TabSheet2, "btnDraw", "D&raw", {478, 344, 75, 26});

    controls.Label5 = label(&window, "Label5", "Result", {8, 504, 46, 23}, true);
    controls.Label6 = label(&window, "Label6", "f(x) = ", {8, 528, 47, 23}, true);
    controls.txtResult = edit(&window, "txtResult", "", {63, 528, 498, 24});
    controls.Label7 = label(&window, "Label7", "x = ", {32, 560, 27, 23}, true);
    controls.txtRX = edit(&window, "txtRX", "", {64, 560, 105, 24});
    controls.btnFx = button(&window, "btnFx", "&f(x)", {168, 560, 75, 25});
    controls.txtRfx = edit(&window, "txtRfx", "", {240, 560, 105, 24});
    controls.btnXForFx = button(&window, "btnXForFx", "&x for f(x)", {348, 560, 80, 25});
    controls.txtXForFx = edit(&window, "txtXForFx", "", {428, 560, 133, 24});
    controls.txtXForFx->setReadOnly(true);
}

void nameForScreenReaders(const WindowControls& controls) {
    // Each box and grid is named after its label, and the label points to it.
    const std::tuple<QWidget*, QLabel*, const char*> names[] = {
        {controls.txtDegree, controls.Label10, "Degree"},
        {controls.txtFx1, controls.Label1, "f(x), expanded"},
        {controls.txtFx2, controls.Label2, "f(x), nested"},
        {controls.txtX, controls.Label3, "x"},
        {controls.txtFx, controls.Label4, "f(x)"},
        {controls.txtResult, controls.Label6, "Result"},
        {controls.txtRX, controls.Label7, "x to evaluate"},
        {controls.txtRfx, nullptr, "f(x) at x"},
        {controls.txtXForFx, nullptr, "x for f(x)"},
        {controls.txtMin, controls.Label8, "Min"},
        {controls.txtMax, controls.Max, "Max"},
        {controls.txtStep, controls.Label9, "Step"},
        {controls.sgdResult, nullptr, "Sample points"},
        {controls.sdgCoefficients, nullptr, "Coefficients"},
        {controls.sgdAns1, nullptr, "Answer"},
        {controls.Chart1, nullptr, "Chart"}};
    for (const auto& [control, label, name] : names) {
        control->setAccessibleName(name);
        if (label)
            label->setBuddy(control);
    }
}

void chainTabOrder(const WindowControls& controls) {
    // The layout's tab order: the window's own controls, then the page
    // control's pages; inside the group box "Clear" comes after
    // "GetCoefficients" although it stands above it.
    QWidget* const chain[] = {controls.txtDegree,
                              controls.btnGenerate,
                              controls.txtFx1,
                              controls.txtFx2,
                              controls.txtResult,
                              controls.txtRX,
                              controls.btnFx,
                              controls.txtRfx,
                              controls.btnXForFx,
                              controls.txtXForFx,
                              controls.Tarvel,
                              controls.sgdResult,
                              controls.txtX,
                              controls.txtFx,
                              controls.btnAdd,
                              controls.btnDel,
                              controls.btnGetCoefficients,
                              controls.btnClear,
                              controls.sdgCoefficients,
                              controls.sgdAns1,
                              controls.Chart1,
                              controls.btnDraw,
                              controls.txtMin,
                              controls.txtMax,
                              controls.txtStep};
    for (size_t i = 1; i < std::size(chain); ++i)
        QWidget::setTabOrder(chain[i - 1], chain[i]);
}

} // namespace

WindowLayout::WindowLayout(QWidget& window, WindowControls& controls) {
    QFont font("Arial");
    font.setPixelSize(13);
    window.setFont(font);
    // The layout's outer size 582 x 624 less a usual frame and caption.
    window.resize(574, 597);
    window.setMinimumSize(574, 597);
    window.move(286, 62);
    laidOut = window.size();
    createControls(window, controls);
    nameForScreenReaders(controls);
    chainTabOrder(controls);
    using enum Share;
    const auto follows = [&](QWidget* control, bool wider, Share down, Share taller) {
        anchors.push_back({control, control->geometry(), {wider, down, taller}});
    };
    for (QWidget* control : {controls.txtFx1, controls.txtFx2})
        follows(control, true, none, none);
    follows(controls.Tarvel, true, none, all);
    follows(controls.Chart1, true, none, all);
    // Page 1 shares its new height: the point table and the coefficients
    // take the upper half, the answer grid below them the lower.
    follows(controls.sgdResult, false, none, upperHalf);
    follows(controls.sdgCoefficients, true, none, upperHalf);
    follows(controls.sgdAns1, true, upperHalf, lowerHalf);
    for (QWidget* control : std::initializer_list<QWidget*>{
             controls.Label8, controls.txtMin, controls.Max, controls.txtMax, controls.Label9,
             controls.txtStep, controls.btnDraw, controls.Label5, controls.Label6, controls.Label7,
             controls.txtRX, controls.btnFx, controls.txtRfx, controls.btnXForFx})
        follows(control, false, all, none);
    follows(controls.txtResult, true, all, none);
    follows(controls.txtXForFx, true, all, none);
}

void WindowLayout::followsBelowPages(QWidget* control) {
    anchors.push_back({control, control->geometry(), {true, Share::all, Share::none}});
}

void WindowLayout::sizePointColumns(StringGrid& points, bool weighted) {
    const int widths[2][3] = {{83, 91, 0}, {62, 62, 50}};
    for (int col = 0; col < (weighted ? 3 : 2); ++col)
        points.setColWidth(col, widths[weighted][col]);
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
