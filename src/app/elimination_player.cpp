#include "app/elimination_player.h"

#include "app/elimination_lesson_view.h"
#include "fitting/steps_export.h"
#include "toolkit/conversions.h"
#include "toolkit/string_grid_model.h"

#include <QAbstractListModel>
#include <QAbstractTableModel>
#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QListView>
#include <QPainter>
#include <QPushButton>
#include <QScopeGuard>
#include <QShortcut>
#include <QSplitter>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QTableWidget>
#include <QVBoxLayout>

#include <map>

namespace {

// The pivot cell's outline, drawn by the grid's delegate.
constexpr int kPivotRole = Qt::UserRole + 1;

// "5,150".
QString countText(size_t n) {
    QString digits = QString::number(n);
    for (int at = int(digits.size()) - 3; at > 0; at -= 3)
        digits.insert(at, ',');
    return digits;
}

class PivotOutline : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyledItemDelegate::paint(painter, option, index);
        if (index.data(kPivotRole).toBool()) {
            painter->save();
            painter->setPen(QPen(option.palette.color(QPalette::Highlight), 2));
            painter->drawRect(QRectF(option.rect).adjusted(1, 1, -1, -1));
            painter->restore();
        }
    }
};

// The classic exercise: 0.003000 x + 59.14 y = 59.17, 5.291 x - 6.130 y =
// 46.78, whose x four-digit rounding loses without pivoting.
constexpr const char* kClassicSystem = "0.003000 59.14 59.17\n5.291 -6.130 46.78\n";

// The system Build wrote, as a lesson takes it: each equation's
// coefficients, then its right-hand side.
std::string lessonText(const CellTable& built) {
    if (built.rowCount() < 2)
        return kClassicSystem;
    std::string text;
    for (int row = 1; row < built.rowCount(); ++row) {
        for (int col = 1; col <= built.colCount(); ++col)
            text.append(built.cell(col % built.colCount(), row)).append(" ");
        text += "\n";
    }
    return text;
}

} // namespace

// The steps' captions, made as the list shows them.
class StepListModel : public QAbstractListModel {
  public:
    using QAbstractListModel::QAbstractListModel;

    void show(const SolveSteps* steps, const ExactSteps* exact) {
        beginResetModel();
        shown = steps;
        audit = exact;
        endResetModel();
    }
    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() || !shown ? 0 : int(shown->steps.size());
    }
    QVariant data(const QModelIndex& index, int role) const override {
        const size_t k = size_t(index.row());
        const bool failed = !shown->failure.empty() && k + 1 == shown->steps.size();
        const bool off = audit && audit->steps[k].fewestKept < kSingleDigits - 2;
        if (role == Qt::DisplayRole) {
            QString text =
                QString("%1. %2").arg(k + 1).arg(QString::fromStdString(caption(*shown, k)));
            if (failed)
                text += ": " + QString::fromStdString(shown->failure);
            return text;
        }
        if (role == Qt::DecorationRole && (failed || off))
            return QApplication::style()->standardIcon(failed ? QStyle::SP_MessageBoxCritical
                                                              : QStyle::SP_MessageBoxWarning);
        if (role == Qt::ToolTipRole && audit && !audit->steps[k].cells.empty())
            return QString::fromStdString(keptDigitsText(audit->steps[k].fewestKept));
        return {};
    }

  private:
    const SolveSteps* shown = nullptr;
    const ExactSteps* audit = nullptr;
};

// The system after one step, with its pivot, changed row and finished rows.
class StepGridModel : public QAbstractTableModel {
  public:
    using QAbstractTableModel::QAbstractTableModel;

    void show(CellTable system, const SolveStep& step, const StepAudit* audit) {
        beginResetModel();
        table = std::move(system);
        changedRow = step.kind == SolveStep::Kind::substitute ? 0 : step.row;
        if (step.kind == SolveStep::Kind::build)
            changedRow = 0;
        pivotRow = step.kind == SolveStep::Kind::divide     ? step.row
                   : step.kind == SolveStep::Kind::subtract ? step.pivotRow
                                                            : 0;
        finishedThrough = step.kind == SolveStep::Kind::divide       ? step.row - 1
                          : step.kind == SolveStep::Kind::subtract   ? step.pivotRow
                          : step.kind == SolveStep::Kind::substitute ? table.rowCount()
                                                                     : 0;
        notes.clear();
        if (audit && changedRow > 0)
            for (int c = 0; c < int(audit->cells.size()) && c < table.colCount(); ++c)
                if (audit->cells[size_t(c)].off)
                    notes[c] =
                        QString::fromStdString("Exact: " + audit->cells[size_t(c)].exact + "; " +
                                               keptDigitsText(audit->cells[size_t(c)].keptDigits));
        endResetModel();
    }
    const CellTable& system() const { return table; }

    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : std::max(table.rowCount() - 1, 0);
    }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : table.colCount();
    }
    QVariant data(const QModelIndex& index, int role) const override {
        const int col = index.column(), row = index.row() + 1;
        const QPalette palette = QApplication::palette();
        switch (role) {
        case Qt::DisplayRole:
            return QString::fromStdString(table.cell(col, row));
        case Qt::ToolTipRole:
            if (row == changedRow && notes.contains(col))
                return QString::fromStdString(table.cell(col, row)) + "\n" + notes.at(col);
            return QString::fromStdString(table.cell(col, row));
        case Qt::BackgroundRole:
            if (row == changedRow && notes.contains(col))
                return attentionTint(palette);
            if (row == changedRow)
                return mixed(palette.color(QPalette::Base), palette.color(QPalette::Highlight),
                             0.18);
            return {};
        case Qt::ForegroundRole:
            if (row <= finishedThrough && row != changedRow)
                return palette.color(QPalette::Disabled, QPalette::Text);
            return {};
        case kPivotRole:
            return pivotRow > 0 && row == pivotRow && col == pivotRow;
        }
        return {};
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (role != Qt::DisplayRole)
            return {};
        if (orientation == Qt::Horizontal)
            return QString::fromStdString(table.cell(section, 0));
        return QString("Row %1").arg(section + 1);
    }

  private:
    CellTable table{0, 0};
    int changedRow = 0, pivotRow = 0, finishedThrough = 0;
    std::map<int, QString> notes; // the changed row's cells that strayed
};

EliminationPlayer::EliminationPlayer(QWidget& window) : QWidget(&window, Qt::Window) {
    setObjectName("EliminationPlayer");
    setWindowTitle("Steps of GetCoefficients");
    setAccessibleName("Steps of GetCoefficients");
    resize(820, 560);

    makeControls();
    layOut();
    bindControls();
}

void EliminationPlayer::makeControls() {
    list = new QListView(this);
    list->setObjectName("Steps");
    list->setAccessibleName("Steps");
    list->setUniformItemSizes(true); // tens of thousands of steps scroll at once
    list->setIconSize(QSize(16, 16));
    listModel = new StepListModel(this);
    list->setModel(listModel);

    grid = new QTableView(this);
    grid->setObjectName("System after the step");
    grid->setAccessibleName("System after the step");
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setItemDelegate(new PivotOutline(grid));
    gridModel = new StepGridModel(this);
    grid->setModel(gridModel);
    grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 6);

    exactNote = new QLabel(this);
    exactNote->setWordWrap(true);
    exactCells = new QTableWidget(0, 4, this);
    exactCells->setObjectName("Exact values of the changed cells");
    exactCells->setAccessibleName("Exact values of the changed cells");
    exactCells->setHorizontalHeaderLabels({"Cell", "Single precision", "Exact", "Digits kept"});
    exactCells->setEditTriggers(QAbstractItemView::NoEditTriggers);
    exactCells->verticalHeader()->hide();
    exactCells->horizontalHeader()->setStretchLastSection(true);

    position = new QLabel(this);
    worst = new QLabel(this);
    worst->setWordWrap(true);
    toWorst = new QPushButton("Go to it", this);
    first = new QPushButton("First", this);
    previous = new QPushButton("Previous", this);
    next = new QPushButton("Next", this);
    last = new QPushButton("Last", this);
    copyText = new QPushButton("Copy steps", this);
    copyLatex = new QPushButton("Copy as LaTeX", this);
    anyArithmetic = new QPushButton("Any arithmetic…", this);
    lesson = new EliminationLessonView(*this);
    closeButton = new QPushButton("Close", this);
    for (QPushButton* button : {first, previous, next, last})
        button->setFocusPolicy(Qt::TabFocus);
}

// The steps on the left; the system, the exact note and cells on the right;
// the worst step and the moves below.
void EliminationPlayer::layOut() {
    auto* right = new QWidget(this);
    auto* rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    rightLayout->addWidget(grid, 3);
    rightLayout->addWidget(exactNote);
    rightLayout->addWidget(exactCells, 2);
    auto* split = new QSplitter(this);
    split->addWidget(list);
    split->addWidget(right);
    split->setStretchFactor(1, 2);

    auto* moves = new QHBoxLayout;
    for (QWidget* control : std::initializer_list<QWidget*>{first, previous, position, next, last})
        moves->addWidget(control);
    moves->addStretch();
    moves->addWidget(copyText);
    moves->addWidget(copyLatex);
    moves->addWidget(anyArithmetic);
    moves->addWidget(closeButton);
    auto* worstLine = new QHBoxLayout;
    worstLine->addWidget(worst, 1);
    worstLine->addWidget(toWorst);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(split, 1);
    layout->addLayout(worstLine);
    layout->addLayout(moves);
}

void EliminationPlayer::bindControls() {
    const auto go = [this](auto where) {
        return [this, where] {
            if (shown && !shown->steps.empty())
                showStep(where());
        };
    };
    connect(first, &QPushButton::clicked, this, go([] { return size_t(0); }));
    connect(previous, &QPushButton::clicked, this,
            go([this] { return current > 0 ? current - 1 : 0; }));
    connect(next, &QPushButton::clicked, this,
            go([this] { return std::min(current + 1, shown->steps.size() - 1); }));
    connect(last, &QPushButton::clicked, this, go([this] { return shown->steps.size() - 1; }));
    connect(toWorst, &QPushButton::clicked, this, go([this] { return audit->worst.value_or(0); }));
    // The list takes Up, Down, Home and End itself; Left and Right step too.
    list->installEventFilter(this);
    connect(list->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& index) {
                if (index.isValid() && size_t(index.row()) != current)
                    showStep(size_t(index.row()));
            });
    connect(copyText, &QPushButton::clicked, this, [this] {
        if (shown)
            QApplication::clipboard()->setText(QString::fromStdString(stepsText(*shown)));
    });
    connect(copyLatex, &QPushButton::clicked, this, [this] {
        if (shown)
            QApplication::clipboard()->setText(QString::fromStdString(stepsLatex(*shown)));
    });
    connect(anyArithmetic, &QPushButton::clicked, this,
            [this] { lesson->open(shown ? lessonText(builtSystem(*shown)) : kClassicSystem); });
    connect(closeButton, &QPushButton::clicked, this, &QWidget::close);
    connect(new QShortcut(Qt::Key_Escape, this, nullptr, nullptr, Qt::WidgetWithChildrenShortcut),
            &QShortcut::activated, this, &QWidget::close);
}

EliminationPlayer::~EliminationPlayer() = default;

bool EliminationPlayer::eventFilter(QObject* watched, QEvent* event) {
    if (watched == list && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Left || key == Qt::Key_Right) {
            (key == Qt::Key_Left ? previous : next)->click();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void EliminationPlayer::follow(std::shared_ptr<const SolveSteps> steps) {
    if (steps == shown)
        return;
    shown = std::move(steps);
    audit.reset();
    if (!shown) {
        listModel->show(nullptr, nullptr);
        close();
        return;
    }
    if (isVisible())
        showSteps();
}

void EliminationPlayer::open() {
    if (!shown || shown->steps.empty())
        return;
    showSteps();
    show();
    raise();
    activateWindow();
    list->setFocus();
}

void EliminationPlayer::showSteps() {
    if (!audit)
        audit = exactSteps(*shown);
    listModel->show(shown.get(), &*audit);
    worst->setText("Most digits lost: " + QString::fromStdString(worstStepText(*shown, *audit)));
    toWorst->setEnabled(audit->worst.has_value());
    showStep(shown->steps.size() - 1);
}

void EliminationPlayer::showStep(size_t k) {
    if (!shown || k >= shown->steps.size())
        return;
    current = k;
    gridModel->show(systemAfter(*shown, k), shown->steps[k], audit ? &audit->steps[k] : nullptr);
    position->setText(
        QString("step %1 of %2").arg(countText(k + 1), countText(shown->steps.size())));
    const QModelIndex index = listModel->index(int(k));
    if (list->currentIndex() != index) {
        list->setCurrentIndex(index);
        list->scrollTo(index);
    }
    if (const SolveStep& step = shown->steps[k];
        step.kind != SolveStep::Kind::build && step.kind != SolveStep::Kind::substitute) {
        grid->scrollTo(gridModel->index(
            step.row - 1, step.kind == SolveStep::Kind::divide ? step.row : step.pivotRow));
    }
    showExactCells();
}

void EliminationPlayer::showExactCells() {
    if (!audit)
        return;
    const StepAudit* step = &audit->steps[current];
    exactNote->setText(!audit->unavailable.empty() && step->cells.empty()
                           ? QString::fromStdString(audit->unavailable)
                           : "Exact values of the cells this step changed, by the same "
                             "operation on the exact inputs:");
    exactCells->setRowCount(int(step->cells.size()));
    for (int r = 0; r < int(step->cells.size()); ++r) {
        const CellAudit& cell = step->cells[size_t(r)];
        const QString kept = QString::fromStdString(keptDigitsText(cell.keptDigits));
        const QString texts[] = {QString::fromStdString(cell.where),
                                 QString::fromStdString(cell.single),
                                 QString::fromStdString(cell.exact), kept};
        for (int c = 0; c < 4; ++c) {
            auto* item = new QTableWidgetItem(texts[c]);
            item->setToolTip(texts[c]);
            if (cell.off)
                item->setBackground(attentionTint(palette()));
            exactCells->setItem(r, c, item);
        }
    }
    exactCells->resizeColumnsToContents();
}
