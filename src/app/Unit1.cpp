#include "app/Unit1.h"

#include "app/busy_cursor.h"
#include "app/coefficient_menu.h"
#include "app/elimination_player.h"
#include "app/fit_check_panel.h"
#include "app/fit_check_view.h"
#include "app/fit_kind_switch.h"
#include "app/fit_report_page.h"
#include "app/passing_note.h"
#include "app/point_files.h"
#include "app/polynomial_copy.h"
#include "app/summing_bar.h"
#include "app/window_actions.h"
#include "app/window_layout.h"
#include "app/window_steps.h"
#include "fitting/fit_kind.h"
#include "fitting/point_table.h"
#include "fitting/solver.h"
#include "fitting/x_for_value.h"
#include "model/coefficient_template.h"
#include "model/evaluation.h"
#include "model/template_paste.h"
#include "plot/chart_view.h"
#include "plot/fit_bands.h"
#include "plot/function_plot.h"
#include "plot/plot_range.h"
#include "toolkit/conversions.h"
#include "toolkit/error_display.h"
#include "toolkit/string_grid.h"
#include "toolkit/text_box.h"

#include <QAction>
#include <QIcon>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QTabWidget>

TForm1::TForm1(QWidget* parent)
    : QWidget(parent), history([this] { return captureState(); },
                               [this](const WindowState& state) { restoreState(state); }) {
    setObjectName("Form1");
    setWindowTitle("Tarvel");
    setWindowIcon(QIcon(":/org.tarvel.tarvel.svg"));
    layout = std::make_unique<WindowLayout>(*this, *this);
    checkView = new FitCheckView(*this, *txtResult, *sgdResult, *sdgCoefficients);
    layout->followsBelowPages(checkView->fitLine);
    player = new EliminationPlayer(*this);
    checkView->onShown = [this](const LastSolve& solve) { player->follow(solve.steps); };
    connect(checkView->panel->stepsButton, &QPushButton::clicked, player, &EliminationPlayer::open);
    polynomialCopy = new PolynomialCopy(*this, *txtResult, *sdgCoefficients, *checkView);
    note = new PassingNote(*TabSheet1, *sgdResult);
    actions = new WindowActions(*this, history.stack, *sgdResult, *sgdAns1);
    fitKind = new FitKindSwitch(*this, *actions->pointsMenu);
    steps = std::make_unique<WindowSteps>(history, *checkView, *note,
                                          std::vector{sgdResult, sdgCoefficients, sgdAns1}, boxes(),
                                          [this]() -> const FitKind& { return fitKind->kind(); });
    coefficientMenu = new CoefficientMenu(*sdgCoefficients, *fitKind, *steps);
    summingBar = new SummingBar(*TabSheet1, *sgdResult);
    steps->prepareSolve = [this] {
        return summingBar->sumFirst(sgdResult->cells(), fitKind->kind(), degree);
    };
    bindEvents();
    bindParts();
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
    using enum SolveEffect;
    const std::pair<QPushButton*, std::pair<void (TForm1::*)(), StepDescription>> buttons[] = {
        {btnGenerate,
         {&TForm1::btnGenerateClick,
          {.undoText = "Generate", .solve = forget, .reads = {txtDegree}, .mayDropPoints = true}}},
        {btnAdd, {&TForm1::btnAddClick, {.undoText = "Add", .reads = {txtX, txtFx}}}},
        {btnDel, {&TForm1::btnDelClick, {.undoText = "Del"}}},
        {btnClear, {&TForm1::btnClearClick, {.undoText = "Clear"}}},
        {btnGetCoefficients,
         {&TForm1::btnGetCoefficientsClick, {.undoText = "GetCoefficients", .solve = solve}}},
        {btnFx, {&TForm1::btnFxClick, {}}},
        {btnXForFx, {&TForm1::btnXForFxClick, {}}},
        {btnDraw, {&TForm1::btnDrawClick, {}}}};
    for (const auto& [button, step] : buttons)
        connect(button, &QPushButton::clicked, this,
                [this, step = step] { steps->run(step.second, [&] { (this->*step.first)(); }); });
    connect(Tarvel, &QTabWidget::currentChanged, this,
            [this] { steps->run({}, [this] { TarvelChange(); }); });
    WindowActions::pressOnEnter(*this);
    sgdResult->onSelectCell = [this](int col, int row) {
        guarded([&] { sgdResultSelectCell(col, row); });
    };
    sgdResult->onPaste = pasteStep(&TForm1::sgdResultPaste, "point");
    sdgCoefficients->onPaste = pasteStep(&TForm1::sdgCoefficientsPaste, "coefficient");
}

std::function<void(const ReadBlock&, const std::string&)> TForm1::pasteStep(PasteHandler handler,
                                                                            const char* rowsHold) {
    return [this, handler, rowsHold](const ReadBlock& block, const std::string& source) {
        if (steps->run({.undoText = "Paste"}, [&] { (this->*handler)(block.cells, source); }) &&
            block.decimalCommas)
            note->passDecimalCommas(block.cells.size(), rowsHold, block.thousands);
    };
}

void TForm1::switchFit(const FitKind& kind) {
    steps->run({.undoText = kind.name(), .solve = SolveEffect::uncheck, .mayDropPoints = true},
               [&] {
                   fitKind->show(kind);
                   kind.sizeTable(sgdResult->cells(), degree);
               });
}

void TForm1::bindParts() {
    for (StringGrid* grid : {sgdResult, sdgCoefficients})
        grid->onUserEdit = [this](const std::function<void()>& edit) {
            steps->run({.undoText = "Edit", .commitsEdits = false}, [&] {
                edit();
                fitKind->kind().keepTable(sgdResult->cells());
            });
        };
    checkView->runAsStep = [this](const std::function<void()>& write) {
        steps->run({.undoText = "Use exact values"}, write);
    };
    connect(actions->steps, &QAction::triggered, player, &EliminationPlayer::open);
    fitKind->onSwitch = [this](const FitKind& kind) { switchFit(kind); };
    fitKind->onShown = [this](const FitKind& kind) {
        checkView->showHeld(kind.options().held);
        WindowLayout::sizePointColumns(*sgdResult, kind.options().weighted);
    };
    actions->passUndoFrom(boxes());
    pointFiles = new PointFiles(*this, *sgdResult);
    pointFiles->bind(
        *actions, {[this](const QString& path) { openPoints(path); },
                   [this](const QString& path, bool commas) { savePoints(path, commas); },
                   [this](const QString& path) { guarded([&] { reportPage().savePdf(path); }); }});
    connect(actions->print, &QAction::triggered, this,
            [this] { guarded([this] { reportPage().print(*this); }); });
    // Bands on the chart are drawn again at the new level.
    Chart1->onBandLevel = [this] {
        if (FitBands::of(*Chart1->chart()))
            btnDraw->click();
    };
}

std::vector<QLineEdit*> TForm1::boxes() const {
    return {txtDegree, txtFx1,  txtFx2,    txtX,  txtFx, txtMin,
            txtMax,    txtStep, txtResult, txtRX, txtRfx};
}

WindowState TForm1::captureState() const {
    WindowState state;
    // One copy of the points with the exact fit and its reading of them.
    state.points = PackedTable::sharedPoints(sgdResult->cells());
    state.coefficients = std::make_shared<const PackedTable>(sdgCoefficients->cells());
    state.answers = std::make_shared<const PackedTable>(sgdAns1->cells());
    for (const QLineEdit* box : boxes())
        state.boxes.push_back(Text(*box));
    state.coefNames = coefNames;
    state.pointCount = pointCount;
    state.degree = degree;
    state.solve = checkView->kept();
    state.kind = &fitKind->kind();
    state.currentCol = sgdResult->col();
    state.currentRow = sgdResult->row();
    return state;
}

void TForm1::restoreState(const WindowState& state) {
    for (StringGrid* grid : {sgdResult, sdgCoefficients, sgdAns1})
        grid->commitEdit();
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
    checkView->restore(state.solve);
    fitKind->show(*state.kind);
}

void TForm1::openPoints(const QString& path) {
    const auto busy = busyCursor();
    std::optional<PointFile> file;
    if (!guarded([&] { file = PointFiles::read(path, size_t(kMaxLeastSquaresPoints)); }))
        return;
    const std::vector<PointFields>& points = file->points;
    const FitKind& kind = FitKind::toOpen(fitKind->kind(), points.size(), file->weighted);
    const bool switches = &kind != &fitKind->kind();
    steps->run({.undoText = "Open", .solve = SolveEffect::forget}, [&] {
        fitKind->show(kind);
        if (kind.pointsSetDegree()) { // otherwise the degree stays
            SetText(*txtDegree, IntToStr(int(points.size()) - 1));
            btnGenerateClick();
        }
        kind.putPoints(sgdResult->cells(), points);
    });
    note->passOpened(*file, switches);
}

FitReportPage TForm1::reportPage() const {
    return FitReportPage::of({checkView->lastSolve(), fitKind->kind(), sgdResult->cells(),
                              sdgCoefficients->cells(), Text(*txtFx1), Text(*txtFx2),
                              Text(*txtResult), Chart1});
}

void TForm1::savePoints(const QString& path, bool decimalCommas) {
    sgdResult->commitEdit();
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
    for (StringGrid* grid : {sgdResult, sdgCoefficients, sgdAns1})
        grid->sync();
}

void TForm1::btnGenerateClick() {
    const GeneratedTemplate generated =
        generateTemplate(Text(*txtDegree), coefNames, sdgCoefficients->cells(), sgdAns1->cells());
    degree = generated.degree;
    fitKind->kind().sizeTable(sgdResult->cells(), degree);
    SetText(*txtFx1, generated.expanded);
    SetText(*txtFx2, generated.nested);
}

void TForm1::btnAddClick() {
    if (const auto next = addPoint(sgdResult->cells(), sgdResult->row(), Text(*txtX), Text(*txtFx),
                                   pointCount, fitKind->kind()))
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
                              fitKind->kind(), checkView->recordSteps()));
}

void TForm1::btnFxClick() {
    if (const auto value = evaluateAtX(sdgCoefficients->cells(), degree, Text(*txtRX)))
        SetText(*txtRfx, *value);
}

void TForm1::btnXForFxClick() {
    const std::optional<BandBasis> bands = checkView->bands(Chart1->bandLevel());
    if (const auto answer = xForValue(sdgCoefficients->cells(), degree, Text(*txtRfx),
                                      Text(*txtMin), Text(*txtMax), bands ? &*bands : nullptr)) {
        SetText(*txtXForFx, xForValueText(*answer, Text(*txtRfx)));
        txtXForFx->setToolTip(txtXForFx->text());
        txtXForFx->setCursorPosition(0);
    }
}

void TForm1::btnDrawClick() {
    // The samples pass through these texts as through txtRX and txtRfx; the
    // boxes show them once Draw ends, however it ends.
    std::string rx = Text(*txtRX), rfx = Text(*txtRfx);
    const auto show = qScopeGuard([&] {
        SetText(*txtRX, rx);
        SetText(*txtRfx, rfx);
    });
    const std::optional<BandBasis> bands = checkView->bands(Chart1->bandLevel());
    drawFunction(*Chart1->chart(), Text(*txtMin), Text(*txtMax), Text(*txtStep),
                 sdgCoefficients->cells(), degree, rx, rfx, &sgdResult->cells(),
                 fitKind->kind().drawsResiduals(), bands ? &*bands : nullptr);
}

void TForm1::sgdResultPaste(const CellBlock& block, const std::string& source) {
    fitKind->kind().makeRoomForPaste(sgdResult->cells(), sgdResult->row(), block.size(), source);
    checkTemplatePaste(sgdResult->cells(), sgdResult->col(), sgdResult->row(), block, "points",
                       source);
    sgdResult->pasteBlock(block);
    fitKind->kind().keepTable(sgdResult->cells());
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
