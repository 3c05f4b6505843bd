#include "app/Unit1.h"

#include "app/busy_cursor.h"
#include "app/elimination_player.h"
#include "app/fit_check_view.h"
#include "app/fit_mode_switch.h"
#include "app/fit_report_page.h"
#include "app/passing_note.h"
#include "app/point_files.h"
#include "app/polynomial_copy.h"
#include "app/window_actions.h"
#include "app/window_layout.h"
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
#include "toolkit/string_grid.h"
#include "toolkit/text_box.h"

#include <QAction>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QTabWidget>

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
    layout = std::make_unique<WindowLayout>(*this);
    bindEvents();
    checkView = new FitCheckView(*this, *txtResult, *sgdResult, *sdgCoefficients);
    layout->followsBelowPages(checkView->fitLine);
    checkView->runAsStep = [this](const std::function<void()>& write) {
        history.record("Use exact values", [&] { guarded(write); });
    };
    polynomialCopy = new PolynomialCopy(*this, *txtResult, *sdgCoefficients, *checkView);
    bindHistory();
    FormCreate();
    history.start();
}

TForm1::~TForm1() = default;

void TForm1::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (layout)
        layout->follow(size());
    if (checkView)
        checkView->placePanel();
}

void TForm1::bindEvents() {
    const std::pair<QPushButton*, Step> steps[] = {
        {btnGenerate, {&TForm1::btnGenerateClick, "Generate", CheckEffect::clear, {txtDegree}}},
        {btnAdd, {&TForm1::btnAddClick, "Add", CheckEffect::follow, {txtX, txtFx}}},
        {btnDel, {&TForm1::btnDelClick, "Del", CheckEffect::follow, {}}},
        {btnClear, {&TForm1::btnClearClick, "Clear", CheckEffect::follow, {}}},
        {btnGetCoefficients,
         {&TForm1::btnGetCoefficientsClick, "GetCoefficients", CheckEffect::solve, {}}},
        {btnFx, {&TForm1::btnFxClick, nullptr, CheckEffect::follow, {}}},
        {btnDraw, {&TForm1::btnDrawClick, nullptr, CheckEffect::follow, {}}}};
    for (const auto& [button, step] : steps)
        connect(button, &QPushButton::clicked, this, [this, step = step] { run(step); });
    connect(Tarvel, &QTabWidget::currentChanged, this, [this] {
        run({&TForm1::TarvelChange, nullptr, CheckEffect::follow, {}});
    });
    WindowActions::pressOnEnter({{txtDegree, btnGenerate},
                                 {txtRX, btnFx},
                                 {txtX, btnAdd},
                                 {txtFx, btnAdd},
                                 {txtMin, btnDraw},
                                 {txtMax, btnDraw},
                                 {txtStep, btnDraw}});
    sgdResult->onSelectCell = [this](int col, int row) {
        guarded([&] { sgdResultSelectCell(col, row); });
    };
    const auto paste = [this](void (TForm1::*handler)(const CellBlock&, const std::string&),
                              const char* rowsHold) {
        return [this, handler, rowsHold](const ReadBlock& block, const std::string& source) {
            bool pasted = false;
            const auto busy = busyCursor();
            history.record("Paste", [&] {
                pasted = guarded([&] { (this->*handler)(block.cells, source); });
                showGrids();         // a table the paste grew shows whole at once
                checkView->follow(); // before the step keeps the state after it
            });
            if (pasted && block.decimalCommas)
                note->passDecimalCommas(block.cells.size(), rowsHold, block.thousands);
        };
    };
    sgdResult->onPaste = paste(&TForm1::sgdResultPaste, "point");
    sdgCoefficients->onPaste = paste(&TForm1::sdgCoefficientsPaste, "coefficient");
}

void TForm1::run(const Step& step) {
    commitEdits();
    const auto busy = busyCursor();
    if (step.check == CheckEffect::solve)
        checkView->beforeSolve(fitMode->mode());
    const auto body = [&] {
        const std::vector<int> filledBefore = filledRows(sgdResult->cells());
        QString failure;
        guarded(
            [&] {
                const auto show =
                    qScopeGuard([this] { showGrids(); }); // also what a failed handler wrote
                (this->*step.handler)();
            },
            &failure);
        if (step.check == CheckEffect::solve)
            checkView->afterSolve(failure, fitMode->mode());
        else if (step.check == CheckEffect::clear)
            checkView->clear();
        if (step.check != CheckEffect::follow) // the coefficients are a solve's, or not
            polynomialCopy->solved = step.check == CheckEffect::solve && failure.isEmpty();
        checkView->follow();
        note->passDropped(filledBefore, sgdResult->cells().rowCount());
    };
    if (!step.undoText)
        return body();
    const std::vector<QLineEdit*> all = boxes();
    std::vector<size_t> reads;
    for (QLineEdit* box : step.reads)
        reads.push_back(size_t(std::find(all.begin(), all.end(), box) - all.begin()));
    history.record(step.undoText, body, reads);
}

void TForm1::switchFit(FitMode mode) {
    commitEdits();
    const auto busy = busyCursor();
    history.record(mode == FitMode::leastSquares ? "Least squares" : "Through the points", [&] {
        const std::vector<int> filledBefore = filledRows(sgdResult->cells());
        fitMode->show(mode);
        sizeForFit(sgdResult->cells(), mode, degree);
        checkView->clear();
        showGrids();
        note->passDropped(filledBefore, sgdResult->cells().rowCount());
    });
}

void TForm1::commitEdits() {
    for (StringGrid* grid : {sgdResult, sdgCoefficients, sgdAns1})
        grid->commitEdit();
}

void TForm1::showGrids() {
    for (StringGrid* grid : {sgdResult, sdgCoefficients, sgdAns1})
        grid->sync();
}

void TForm1::bindHistory() {
    for (StringGrid* grid : {sgdResult, sdgCoefficients})
        grid->onUserEdit = [this](const std::function<void()>& edit) {
            history.record("Edit", [&] {
                edit();
                if (fitMode->mode() == FitMode::leastSquares) {
                    keepOneEmptyRow(sgdResult->cells());
                    sgdResult->sync();
                }
                checkView->follow(); // before the step keeps the state after it
            });
        };
    actions = new WindowActions(*this, history.stack, *sgdResult, *sgdAns1);
    connect(actions->steps, &QAction::triggered, checkView->player, &EliminationPlayer::open);
    fitMode = new FitModeSwitch(*this, *actions->pointsMenu);
    fitMode->onSwitch = [this](FitMode mode) { switchFit(mode); };
    actions->passUndoFrom(boxes());
    pointFiles = new PointFiles(*this, *sgdResult);
    connect(actions->open, &QAction::triggered, this, [this] {
        if (const QString path = pointFiles->askForFileToOpen(); !path.isEmpty())
            openPoints(path);
    });
    for (const bool commas : {false, true})
        connect(commas ? actions->saveCommas : actions->save, &QAction::triggered, this,
                [this, commas] {
                    if (const QString path =
                            pointFiles->askForFileToSave("Save points", "Points (*.csv)");
                        !path.isEmpty())
                        savePoints(path, commas);
                });
    pointFiles->onFileDropped = [this](const QString& path) { openPoints(path); };
    connect(actions->print, &QAction::triggered, this,
            [this] { guarded([this] { reportPage().print(*this); }); });
    connect(actions->saveReport, &QAction::triggered, this, [this] {
        if (const QString path = pointFiles->askForFileToSave("Save report", "PDF (*.pdf)");
            !path.isEmpty())
            guarded([&] { reportPage().savePdf(path); });
    });

    note = new PassingNote(*TabSheet1, *sgdResult);
}

std::vector<QLineEdit*> TForm1::boxes() const {
    return {txtDegree, txtFx1,  txtFx2,    txtX,  txtFx, txtMin,
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
    state.check = checkView->snapshot();
    state.solved = polynomialCopy->solved;
    state.mode = fitMode->mode();
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
    checkView->restore(state.check);
    polynomialCopy->solved = state.solved;
    fitMode->show(state.mode);
}

void TForm1::openPoints(const QString& path) {
    commitEdits();
    const auto busy = busyCursor();
    guarded([&] {
        const PointFile file = PointFiles::read(path, size_t(kMaxLeastSquaresPoints));
        const std::vector<std::array<std::string, 2>>& points = file.points;
        const bool leastSquares =
            fitToOpen(fitMode->mode(), points.size()) == FitMode::leastSquares;
        const bool switches = leastSquares && fitMode->mode() != FitMode::leastSquares;
        history.record("Open", [&] {
            const auto show = qScopeGuard([this] { showGrids(); });
            if (switches)
                fitMode->show(FitMode::leastSquares);
            if (!leastSquares) { // in least squares the degree stays
                SetText(*txtDegree, IntToStr(int(points.size()) - 1));
                btnGenerateClick();
            }
            checkView->clear();
            polynomialCopy->solved = false;
            putPoints(sgdResult->cells(), points, fitMode->mode());
        });
        if (switches)
            note->passOpenedInLeastSquares(points.size(), file.decimalCommas);
        else if (file.decimalCommas)
            note->passDecimalCommas(points.size(), "point", file.thousands);
    });
}

FitReportPage TForm1::reportPage() const {
    return FitReportPage::of({polynomialCopy->solved, fitMode->mode(), sgdResult->cells(),
                              sdgCoefficients->cells(), Text(*txtFx1), Text(*txtFx2),
                              Text(*txtResult), checkView->report(), Chart1});
}

void TForm1::savePoints(const QString& path, bool decimalCommas) {
    commitEdits();
    if (guarded([&] { PointFiles::write(path, pointsCsv(sgdResult->cells(), decimalCommas)); }))
        actions->rememberSave(decimalCommas);
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
        generateTemplate(Text(*txtDegree), coefNames, sgdResult->cells(), sdgCoefficients->cells(),
                         sgdAns1->cells(), fitMode->mode());
    degree = generated.degree;
    SetText(*txtFx1, generated.expanded);
    SetText(*txtFx2, generated.nested);
}

void TForm1::btnAddClick() {
    if (const auto next = addPoint(sgdResult->cells(), sgdResult->row(), Text(*txtX), Text(*txtFx),
                                   pointCount, fitMode->mode()))
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
    SetText(*txtResult,
            solveCoefficients(sgdResult->cells(), sgdAns1->cells(), sdgCoefficients->cells(),
                              fitMode->mode(), checkView->recordSteps()));
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
                 sdgCoefficients->cells(), degree, rx, rfx, &sgdResult->cells(),
                 fitMode->mode() == FitMode::leastSquares);
}

void TForm1::sgdResultPaste(const CellBlock& block, const std::string& source) {
    if (fitMode->mode() == FitMode::leastSquares)
        makeRoomForPaste(sgdResult->cells(), sgdResult->row(), block.size(), source);
    checkTemplatePaste(sgdResult->cells(), sgdResult->col(), sgdResult->row(), block, "points",
                       source);
    sgdResult->pasteBlock(block);
    if (fitMode->mode() == FitMode::leastSquares)
        keepOneEmptyRow(sgdResult->cells());
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
