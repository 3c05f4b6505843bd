#include "app/Unit1.h"

#include "app/fit_check_panel.h"
#include "app/point_files.h"
#include "fitting/point_file.h"
#include "fitting/point_table.h"
#include "fitting/solver.h"
#include "model/coefficient_template.h"
#include "model/evaluation.h"
#include "model/template_paste.h"
#include "plot/chart_view.h"
#include "plot/function_plot.h"
#include "plot/plot_range.h"
#include "toolkit/conversions.h"
#include "toolkit/error_display.h"
#include "toolkit/errors.h"
#include "toolkit/string_grid.h"
#include "toolkit/text_box.h"

#include <QAction>
#include <QApplication>
#include <QChart>
#include <QClipboard>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMimeData>
#include <QSaveFile>
#include <QSettings>
#include <QTimer>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QShortcut>
#include <QStyle>
#include <QToolButton>
#include <QTabWidget>

#include <tuple>
#include <utility>

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

// "Read 3 points with decimal commas".
QString decimalCommasNote(size_t rows, const char* what) {
    return QString("Read %1 %2%3 with decimal commas")
        .arg(rows)
        .arg(what)
        .arg(rows == 1 ? "" : "s");
}

} // namespace

TForm1::TForm1(QWidget* parent)
    : QWidget(parent), history([this] { return captureState(); },
                               [this](const WindowState& state) { restoreState(state); }) {
    setObjectName("Form1");
    setWindowTitle("Tarvel");
    QFont font("Arial");
    font.setPixelSize(13);
    setFont(font);
    // The layout's outer size 582 x 624 less a usual frame and caption.
    resize(574, 597);
    setMinimumSize(574, 597);
    move(286, 62);
    setWindowIcon(QIcon(":/org.tarvel.tarvel.svg"));
    createControls();
    anchorControls();
    nameForScreenReaders();
    chainTabOrder();
    bindEvents();
    bindKeyboard();
    createFitCheck();
    bindHistory();
    FormCreate();
}

void TForm1::createControls() {
    Label10 = label(this, "Label10", "Degree", {16, 8, 52, 23}, true);
    txtDegree = edit(this, "txtDegree", "3", {72, 8, 65, 24});
    btnGenerate = button(this, "btnGenerate", "&Generate", {136, 8, 75, 25});
    Label1 = label(this, "Label1", "f(x) = ", {16, 40, 47, 23}, true);
    txtFx1 = edit(this, "txtFx1", "", {72, 40, 489, 24});
    Label2 = label(this, "Label2", "f(x) = ", {16, 64, 47, 23}, true);
    txtFx2 = edit(this, "txtFx2", "", {72, 64, 489, 24});

    Tarvel = place(new QTabWidget(this), "Tarvel", {8, 96, 561, 401});
    TabSheet1 = new QWidget;
    TabSheet1->setObjectName("TabSheet1");
    TabSheet2 = new QWidget;
    TabSheet2->setObjectName("TabSheet2");
    Tarvel->addTab(TabSheet1, "Tarvel");
    Tarvel->addTab(TabSheet2, "Draw");

    sgdResult = grid(TabSheet1, "sgdResult", 2, 0, {0, 0, 185, 217});
    sgdResult->setColWidth(0, 83);
    sgdResult->setColWidth(1, 91);
    GroupBox1 = place(new QGroupBox("Set Result", TabSheet1), "GroupBox1", {184, 0, 177, 217});
    Label3 = label(GroupBox1, "Label3", "x = ", {24, 24, 27, 23}, true);
    Label4 = label(GroupBox1, "Label4", "f(x) = ", {8, 56, 47, 23}, true);
    txtX = edit(GroupBox1, "txtX", "", {56, 24, 105, 24});
    txtFx = edit(GroupBox1, "txtFx", "", {56, 56, 105, 24});
    btnAdd = button(GroupBox1, "btnAdd", "&Add", {32, 88, 113, 25});
    btnDel = button(GroupBox1, "btnDel", "&Del", {32, 112, 113, 25});
    btnClear = button(GroupBox1, "btnClear", "&Clear", {32, 136, 113, 25});
    btnGetCoefficients =
        button(GroupBox1, "btnGetCoefficients", "G&etCoefficients", {32, 168, 113, 33});
    sdgCoefficients = grid(TabSheet1, "sdgCoefficients", 2, 1, {360, 8, 193, 209});
    sdgCoefficients->setColWidth(0, 64);
    sdgCoefficients->setColWidth(1, 118);
    sgdAns1 = grid(TabSheet1, "sgdAns1", 2, 0, {0, 224, 553, 146});
    sgdAns1->setEditable(false);

    auto* chart = new QChart;
    chart->setTitle("TChart");
    Chart1 = place(new ChartView(chart, TabSheet2), "Chart1", {0, 0, 553, 337});
    Label8 = label(TabSheet2, "Label8", "Min", {8, 344, 21, 16});
    txtMin = edit(TabSheet2, "txtMin", "0", {32, 344, 121, 24});
    Max = label(TabSheet2, "Max", "Max", {160, 344, 25, 16});
    txtMax = edit(TabSheet2, "txtMax", "1000", {192, 344, 121, 24});
    Label9 = label(TabSheet2, "Label9", "Step", {320, 344, 27, 16});
    txtStep = edit(TabSheet2, "txtStep", "100", {352, 344, 121, 24});
    btnDraw = button(TabSheet2, "btnDraw", "D&raw", {478, 344, 75, 26});

    Label5 = label(this, "Label5", "Result", {8, 504, 46, 23}, true);
    Label6 = label(this, "Label6", "f(x) = ", {8, 528, 47, 23}, true);
    txtResult = edit(this, "txtResult", "", {63, 528, 498, 24});
    Label7 = label(this, "Label7", "x = ", {32, 560, 27, 23}, true);
    txtRX = edit(this, "txtRX", "", {64, 560, 105, 24});
    btnFx = button(this, "btnFx", "&f(x)", {168, 560, 75, 25});
    txtRfx = edit(this, "txtRfx", "", {240, 560, 105, 24});
}

void TForm1::anchorControls() {
    for (QWidget* control : {txtFx1, txtFx2})
        anchors.push_back({control, control->geometry(), Follow::growWidth});
    for (QWidget* control : {static_cast<QWidget*>(Tarvel), static_cast<QWidget*>(sgdAns1),
                             static_cast<QWidget*>(Chart1)})
        anchors.push_back({control, control->geometry(), Follow::grow});
    for (QWidget* control : std::initializer_list<QWidget*>{
             Label8, txtMin, Max, txtMax, Label9, txtStep, btnDraw, Label5, Label6, Label7, txtRX,
             btnFx, txtRfx})
        anchors.push_back({control, control->geometry(), Follow::moveDown});
    anchors.push_back({txtResult, txtResult->geometry(), Follow::moveDownGrowWidth});
}

void TForm1::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const int dx = std::max(0, width() - minimumWidth());
    const int dy = std::max(0, height() - minimumHeight());
    for (const auto& [control, laidOut, follow] : anchors) {
        QRect geometry = laidOut;
        if (follow != Follow::moveDown)
            geometry.setWidth(laidOut.width() + dx);
        if (follow == Follow::grow)
            geometry.setHeight(laidOut.height() + dy);
        if (follow == Follow::moveDown || follow == Follow::moveDownGrowWidth)
            geometry.moveTop(laidOut.top() + dy);
        control->setGeometry(geometry);
    }
    placeFitPanel();
}

void TForm1::placeFitPanel() {
    if (fitPanel) // over the pages, its lower edge just above Result
        fitPanel->setGeometry(8, 100, width() - 16, txtResult->y() - 104);
}

void TForm1::nameForScreenReaders() {
    // Each box and grid is named after its label, and the label points to it.
    const std::tuple<QWidget*, QLabel*, const char*> names[] = {
        {txtDegree, Label10, "Degree"},
        {txtFx1, Label1, "f(x), expanded"},
        {txtFx2, Label2, "f(x), nested"},
        {txtX, Label3, "x"},
        {txtFx, Label4, "f(x)"},
        {txtResult, Label6, "Result"},
        {txtRX, Label7, "x to evaluate"},
        {txtRfx, nullptr, "f(x) at x"},
        {txtMin, Label8, "Min"},
        {txtMax, Max, "Max"},
        {txtStep, Label9, "Step"},
        {sgdResult, nullptr, "Sample points"},
        {sdgCoefficients, nullptr, "Coefficients"},
        {sgdAns1, nullptr, "Answer"},
        {Chart1, nullptr, "Chart"}};
    for (const auto& [control, label, name] : names) {
        control->setAccessibleName(name);
        if (label)
            label->setBuddy(control);
    }
}

void TForm1::chainTabOrder() {
    // The layout's tab order: the window's own controls, then the page
    // control's pages; inside the group box "Clear" comes after
    // "GetCoefficients" although it stands above it.
    QWidget* const chain[] = {txtDegree, btnGenerate,     txtFx1,  txtFx2, txtResult,
                              txtRX,     btnFx,           txtRfx,  Tarvel, sgdResult,
                              txtX,      txtFx,           btnAdd,  btnDel, btnGetCoefficients,
                              btnClear,  sdgCoefficients, sgdAns1, Chart1, btnDraw,
                              txtMin,    txtMax,          txtStep};
    for (size_t i = 1; i < std::size(chain); ++i)
        QWidget::setTabOrder(chain[i - 1], chain[i]);
}

void TForm1::bindEvents() {
    const auto bind = [this](QPushButton* button, void (TForm1::*handler)()) {
        connect(button, &QPushButton::clicked, this, [this, handler] { run(handler); });
    };
    bind(btnGenerate, &TForm1::btnGenerateClick);
    bind(btnAdd, &TForm1::btnAddClick);
    bind(btnDel, &TForm1::btnDelClick);
    bind(btnClear, &TForm1::btnClearClick);
    bind(btnGetCoefficients, &TForm1::btnGetCoefficientsClick);
    bind(btnFx, &TForm1::btnFxClick);
    bind(btnDraw, &TForm1::btnDrawClick);
    connect(Tarvel, &QTabWidget::currentChanged, this, [this] { run(&TForm1::TarvelChange); });
    sgdResult->onSelectCell = [this](int col, int row) {
        guarded([&] { sgdResultSelectCell(col, row); });
    };
    const auto paste = [this](void (TForm1::*handler)(const CellBlock&, const std::string&),
                              const char* rowsHold) {
        return [this, handler, rowsHold](const ReadBlock& block, const std::string& source) {
            bool pasted = false;
            history.record("Paste", [&] {
                pasted = guarded([&] { (this->*handler)(block.cells, source); });
            });
            if (pasted && block.decimalCommas)
                showNote(decimalCommasNote(block.cells.size(), rowsHold));
        };
    };
    sgdResult->onPaste = paste(&TForm1::sgdResultPaste, "point");
    sdgCoefficients->onPaste = paste(&TForm1::sdgCoefficientsPaste, "coefficient");
}

void TForm1::bindKeyboard() {
    // Enter in a box runs the action that box feeds.
    const std::pair<QLineEdit*, void (TForm1::*)()> actions[] = {
        {txtDegree, &TForm1::btnGenerateClick}, {txtRX, &TForm1::btnFxClick},
        {txtX, &TForm1::btnAddClick},           {txtFx, &TForm1::btnAddClick},
        {txtMin, &TForm1::btnDrawClick},        {txtMax, &TForm1::btnDrawClick},
        {txtStep, &TForm1::btnDrawClick}};
    for (const auto& [box, handler] : actions)
        connect(box, &QLineEdit::returnPressed, this, [this, handler = handler] { run(handler); });
}

void TForm1::run(void (TForm1::*handler)()) {
    commitEdits();
    if (handler == &TForm1::btnGetCoefficientsClick)
        fitCheck.prepare(sgdResult->cells());
    const auto body = [&] {
        const CellTable pointsBefore = sgdResult->cells();
        const bool succeeded = guarded([&] {
            const auto show = qScopeGuard([this] { showGrids(); }); // also what a failed handler wrote
            (this->*handler)();
        });
        if (handler == &TForm1::btnGetCoefficientsClick)
            fitCheck.start(sgdResult->cells(), sdgCoefficients->cells(), succeeded);
        else if (handler == &TForm1::btnGenerateClick)
            fitCheck.stop();
        fitCheck.follow(sgdResult->cells(), sdgCoefficients->cells());
        showFitCheck();
        if (const int dropped = droppedPoints(pointsBefore, sgdResult->cells().rowCount()))
            showNote(QString("%1 point%2 dropped with the smaller degree; Ctrl+Z "
                             "brings %3 back")
                         .arg(dropped)
                         .arg(dropped == 1 ? " was" : "s were")
                         .arg(dropped == 1 ? "it" : "them"));
    };
    const std::pair<void (TForm1::*)(), const char*> steps[] = {
        {&TForm1::btnGenerateClick, "Generate"}, {&TForm1::btnAddClick, "Add"},
        {&TForm1::btnDelClick, "Del"},           {&TForm1::btnClearClick, "Clear"},
        {&TForm1::btnGetCoefficientsClick, "GetCoefficients"}};
    for (const auto& [step, name] : steps)
        if (handler == step)
            return history.record(name, body);
    body(); // f(x), Draw and a page switch only recompute
}

void TForm1::commitEdits() {
    for (StringGrid* grid : {sgdResult, sdgCoefficients, sgdAns1})
        grid->commitEdit();
}

void TForm1::showGrids() {
    for (StringGrid* grid : {sgdResult, sdgCoefficients, sgdAns1})
        grid->sync();
}

void TForm1::createFitCheck() {
    fitIndicator = txtResult->addAction(QIcon(), QLineEdit::TrailingPosition);
    fitIndicator->setText("Exact check");
    fitIndicator->setVisible(false);
    fitPanel = new FitCheckPanel(this);
    placeFitPanel();
    connect(fitIndicator, &QAction::triggered, this, &TForm1::openFitPanel);
    connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_E), txtResult, nullptr, nullptr,
                          Qt::WidgetShortcut),
            &QShortcut::activated, this, &TForm1::openFitPanel);
    fitPanel->onUseExactValues = [this] { guarded([this] { useExactValues(); }); };
    // Any change to the points or the shown values, by typing, pasting or a handler.
    for (StringGrid* grid : {sgdResult, sdgCoefficients})
        connect(grid->model(), &QAbstractItemModel::dataChanged, this, &TForm1::followFitCheck);
}

void TForm1::followFitCheck() {
    if (fitCheck.follow(sgdResult->cells(), sdgCoefficients->cells()))
        showFitCheck();
}

void TForm1::showFitCheck() {
    const FitReport* report = fitCheck.report();
    StringGrid::CellNotes notes;
    if (report)
        for (size_t k = 0; k < report->coefficients.size(); ++k)
            if (report->coefficients[k].off)
                notes[{1, int(k) + 1}] = "The exact value is " + report->coefficients[k].exact +
                                         "; this one is off by " +
                                         report->coefficients[k].difference + ".";
    sdgCoefficients->setMarks(std::move(notes));
    fitIndicator->setVisible(report != nullptr);
    if (!report) {
        fitPanel->hide();
        return;
    }
    const bool agrees = report->verdict == FitReport::Verdict::agrees;
    fitIndicator->setIcon(
        style()->standardIcon(agrees ? QStyle::SP_DialogApplyButton : QStyle::SP_MessageBoxWarning));
    const QString summary = QString::fromStdString(report->summary);
    fitIndicator->setToolTip(summary);
    for (QToolButton* button : txtResult->findChildren<QToolButton*>())
        if (button->defaultAction() == fitIndicator) {
            button->setAccessibleName(agrees ? "Exact check: agrees" : "Exact check: off");
            button->setAccessibleDescription(summary);
        }
    if (!fitPanel->isHidden())
        fitPanel->showReport(*report);
}

void TForm1::openFitPanel() {
    if (const FitReport* report = fitCheck.report()) {
        fitPanel->showReport(*report);
        fitPanel->show();
        fitPanel->raise();
        fitPanel->closeButton->setFocus();
    }
}

void TForm1::useExactValues() {
    if (const ExactFit* exact = fitCheck.fit()) {
        exact->writeExactValues(sdgCoefficients->cells());
        SetText(*txtResult, resultText(sdgCoefficients->cells()));
        sdgCoefficients->sync();
    }
}

void TForm1::bindHistory() {
    for (StringGrid* grid : {sgdResult, sdgCoefficients})
        grid->onUserEdit = [this](const std::function<void()>& edit) {
            history.record("Edit", edit);
        };
    const auto shortcut = [this](QList<QKeySequence> keys, auto slot) {
        auto* shortcut = new QShortcut(this);
        shortcut->setKeys(keys);
        connect(shortcut, &QShortcut::activated, this, slot);
    };
    // Ctrl+Shift+Z and Ctrl+Y both redo, on every desktop.
    QList<QKeySequence> redoKeys = QKeySequence::keyBindings(QKeySequence::Redo);
    for (const QKeySequence& keys : {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z),
                                     QKeySequence(Qt::CTRL | Qt::Key_Y)})
        if (!redoKeys.contains(keys))
            redoKeys << keys;
    shortcut(QKeySequence::keyBindings(QKeySequence::Undo), [this] { history.stack.undo(); });
    shortcut(redoKeys, [this] { history.stack.redo(); });
    shortcut(QKeySequence::keyBindings(QKeySequence::Open), [this] { askToOpenPoints(); });
    shortcut(QKeySequence::keyBindings(QKeySequence::Save), [this] { askToSavePoints(); });

    sgdResult->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(sgdResult, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        QMenu* menu = pointsMenu();
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->popup(sgdResult->viewport()->mapToGlobal(at));
    });
    pointFiles = new PointFiles(*this, *sgdResult);
    pointFiles->onFileDropped = [this](const QString& path) { openPoints(path); };

    note = new QLabel(TabSheet1);
    note->setObjectName("note");
    note->setAutoFillBackground(true);
    note->setBackgroundRole(QPalette::ToolTipBase);
    note->setForegroundRole(QPalette::ToolTipText);
    note->setMargin(2);
    note->move(0, 202); // below the group box, over the gap above the answer grid
    note->hide();
}

QMenu* TForm1::pointsMenu() {
    auto* menu = new QMenu(this);
    const auto add = [&](const QString& text, const QKeySequence& keys, auto slot, bool enabled) {
        QAction* action = menu->addAction(text, keys, this, slot);
        action->setEnabled(enabled);
    };
    add("&Open…", QKeySequence::Open, [this] { askToOpenPoints(); }, true);
    add("&Save…", QKeySequence::Save, [this] { askToSavePoints(); }, true);
    menu->addSeparator();
    add("&Undo", QKeySequence::Undo, [this] { history.stack.undo(); }, history.stack.canUndo());
    add("&Redo", QKeySequence::Redo, [this] { history.stack.redo(); }, history.stack.canRedo());
    menu->addSeparator();
    add("Cu&t", QKeySequence::Cut, [this] { sgdResult->cutSelection(); }, true);
    add("&Copy", QKeySequence::Copy, [this] { sgdResult->copySelection(); }, true);
    add("&Paste", QKeySequence::Paste,
        [this] { sgdResult->pasteText(QApplication::clipboard()->text()); }, true);
    add("&Delete", QKeySequence::Delete, [this] { sgdResult->deleteSelection(); }, true);
    return menu;
}

std::vector<QLineEdit*> TForm1::boxes() const {
    return {txtDegree, txtFx1, txtFx2, txtX,      txtFx,  txtMin,
            txtMax,    txtStep, txtResult, txtRX, txtRfx};
}

WindowState TForm1::captureState() const {
    WindowState state;
    state.points = std::make_shared<const PackedTable>(sgdResult->cells());
    state.coefficients = std::make_shared<const PackedTable>(sdgCoefficients->cells());
    state.answers = std::make_shared<const PackedTable>(sgdAns1->cells());
    for (const QLineEdit* box : boxes())
        state.boxes.push_back(Text(*box));
    state.coefNames = coefNames;
    state.pointCount = pointCount;
    state.degree = degree;
    state.currentCol = sgdResult->col();
    state.currentRow = sgdResult->row();
    return state;
}

void TForm1::restoreState(const WindowState& state) {
    commitEdits();
    sgdResult->restore(state.points->unpack(), state.currentCol, state.currentRow);
    sdgCoefficients->restore(state.coefficients->unpack(), sdgCoefficients->col(),
                             sdgCoefficients->row());
    sgdAns1->restore(state.answers->unpack(), sgdAns1->col(), sgdAns1->row());
    const std::vector<QLineEdit*> all = boxes();
    for (size_t k = 0; k < all.size(); ++k)
        SetText(*all[k], state.boxes[k]);
    coefNames = state.coefNames;
    pointCount = state.pointCount;
    degree = state.degree;
    note->hide();
    followFitCheck();
}

void TForm1::openPoints(const QString& path) {
    commitEdits();
    guarded([&] {
        const PointFile file = PointFiles::read(path, size_t(kMaxDegree) + 1);
        const std::vector<std::array<std::string, 2>>& points = file.points;
        history.record("Open", [&] {
            const auto show = qScopeGuard([this] { showGrids(); });
            SetText(*txtDegree, IntToStr(int(points.size()) - 1));
            btnGenerateClick();
            fitCheck.stop();
            for (size_t k = 0; k < points.size(); ++k) {
                sgdResult->cells().setCell(0, int(k) + 1, points[k][0]);
                sgdResult->cells().setCell(1, int(k) + 1, points[k][1]);
            }
        });
        showFitCheck();
        if (file.decimalCommas)
            showNote(decimalCommasNote(points.size(), "point"));
    });
}

void TForm1::savePoints(const QString& path) {
    commitEdits();
    guarded([&] { PointFiles::write(path, pointsCsv(sgdResult->cells())); });
}

void TForm1::askToOpenPoints() {
    if (const QString path = pointFiles->askForFileToOpen(); !path.isEmpty())
        openPoints(path);
}

void TForm1::askToSavePoints() {
    if (const QString path = pointFiles->askForFileToSave(); !path.isEmpty())
        savePoints(path);
}

void TForm1::showNote(const QString& text) {
    note->setText(text);
    note->adjustSize();
    note->show();
    note->raise();
    QTimer::singleShot(8000, note, &QWidget::hide);
}

void TForm1::FormCreate() {
    sgdResult->setCell(0, 0, "x");
    sgdResult->setCell(1, 0, "f(x)");
    sdgCoefficients->setCell(1, 0, "Coefficients");
    pointCount = 0;
    btnGenerateClick();
    const char* defaults[][2] = {{"1", "4"}, {"2", "8"}, {"3", "20"}, {"4", "46"}};
    for (int r = 1; r <= 4; ++r) {
        sgdResult->setCell(0, r, defaults[r - 1][0]);
        sgdResult->setCell(1, r, defaults[r - 1][1]);
    }
    showGrids();
}

void TForm1::btnGenerateClick() {
    const GeneratedTemplate generated =
        generateTemplate(Text(*txtDegree), coefNames, sgdResult->cells(),
                         sdgCoefficients->cells(), sgdAns1->cells());
    degree = generated.degree;
    SetText(*txtFx1, generated.expanded);
    SetText(*txtFx2, generated.nested);
}

void TForm1::btnAddClick() {
    if (const auto next =
            addPoint(sgdResult->cells(), sgdResult->row(), Text(*txtX), Text(*txtFx), pointCount))
        sgdResult->setRow(*next);
}

void TForm1::btnDelClick() {
    deletePoint(sgdResult->cells(), sgdResult->row(), pointCount);
}

void TForm1::btnClearClick() {
    clearPoints(sgdResult->cells(), pointCount);
}

void TForm1::sgdResultSelectCell(int, int ARow) {
    SetText(*txtX, sgdResult->cells().cell(0, ARow));
    SetText(*txtFx, sgdResult->cells().cell(1, ARow));
}

void TForm1::btnGetCoefficientsClick() {
    SetText(*txtResult, solveCoefficients(sgdResult->cells(), sgdAns1->cells(),
                                          sdgCoefficients->cells()));
}

void TForm1::btnFxClick() {
    if (const auto value = evaluateAtX(sdgCoefficients->cells(), degree, Text(*txtRX)))
        SetText(*txtRfx, *value);
}

void TForm1::btnDrawClick() {
    // The samples pass through these texts as through txtRX and txtRfx; the
    // boxes show them once Draw ends, however it ends.
    std::string rx = Text(*txtRX), rfx = Text(*txtRfx);
    const auto show = qScopeGuard([&] {
        SetText(*txtRX, rx);
        SetText(*txtRfx, rfx);
    });
    drawFunction(*Chart1->chart(), Text(*txtMin), Text(*txtMax), Text(*txtStep),
                 sdgCoefficients->cells(), degree, rx, rfx);
}

void TForm1::sgdResultPaste(const CellBlock& block, const std::string& source) {
    checkTemplatePaste(sgdResult->cells(), sgdResult->col(), sgdResult->row(), block, "points",
                       source);
    sgdResult->pasteBlock(block);
}

void TForm1::sdgCoefficientsPaste(const CellBlock& block, const std::string& source) {
    checkTemplatePaste(sdgCoefficients->cells(), sdgCoefficients->col(), sdgCoefficients->row(),
                       block, "coefficients", source);
    sdgCoefficients->pasteBlock(block);
}

void TForm1::TarvelChange() {
    if (const auto range = proposeRange(sgdResult->cells())) {
        SetText(*txtMin, range->min);
        SetText(*txtMax, range->max);
        SetText(*txtStep, range->step);
    }
}
