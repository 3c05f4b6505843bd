#include "app/elimination_lesson_view.h"

#include "toolkit/errors.h"
#include "toolkit/string_grid_model.h"

#include <QAbstractListModel>
#include <QAbstractTableModel>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QSpinBox>
#include <QSplitter>
#include <QStandardItemModel>
#include <QStyle>
#include <QTableView>
#include <QVBoxLayout>

#include <climits>

namespace {

// The arithmetics offered, in the order of their boxes; "nothing" only beside.
enum Choice { nothing, single, doubles, exact, rounding, chopping };

std::optional<Arithmetic> arithmeticOf(int choice, int digits) {
    switch (Choice(choice)) {
    case nothing:
        return std::nullopt;
    case single:
        return Arithmetic{Arithmetic::Kind::singles};
    case doubles:
        return Arithmetic{Arithmetic::Kind::doubles};
    case exact:
        return Arithmetic{Arithmetic::Kind::exact};
    case rounding:
    case chopping:
        break;
    }
    return Arithmetic{Arithmetic::Kind::decimal, digits, choice == chopping};
}

// Every column as wide as the widest entry of the first row and the
// changed one: a fit's 191 unknowns measured cell by cell take longer than
// the step itself.
void fitColumns(QTableView& grid, int changed) {
    const QAbstractItemModel& system = *grid.model();
    int widest = grid.fontMetrics().horizontalAdvance("x000");
    for (const int row : {0, changed - 1})
        for (int col = 0; row >= 0 && col < system.columnCount(); ++col)
            widest = std::max(widest, grid.fontMetrics().horizontalAdvance(
                                          system.data(system.index(row, col)).toString()));
    grid.horizontalHeader()->setDefaultSectionSize(widest + 12);
}

} // namespace

// The steps' captions, made as the list shows them; each marked where it
// kept two digits fewer than the arithmetic carries.
class LessonStepsModel : public QAbstractListModel {
  public:
    using QAbstractListModel::QAbstractListModel;

    void show(const EliminationLesson* lesson) {
        beginResetModel();
        shown = lesson;
        endResetModel();
    }
    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() || !shown ? 0 : int(shown->steps());
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid() || !shown)
            return {};
        const size_t k = size_t(index.row());
        if (role == Qt::DisplayRole)
            return QString("%1. %2").arg(k).arg(QString::fromStdString(shown->caption(k)));
        const auto kept = k == 0 ? std::nullopt : shown->keptDigits(k);
        if (!kept)
            return {};
        if (role == Qt::ToolTipRole)
            return QString("Kept %1 of %2 digits").arg(*kept).arg(shown->carriedDigits());
        if (role == Qt::DecorationRole && *kept < shown->carriedDigits() - 2)
            return QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning);
        return {};
    }

  private:
    const EliminationLesson* shown = nullptr;
};

// One side's system after a step, each entry written as the grid shows it;
// the changed row tinted.
class LessonSystemModel : public QAbstractTableModel {
  public:
    using QAbstractTableModel::QAbstractTableModel;

    void show(std::optional<RowReduction> system, int changed) {
        beginResetModel();
        shown = std::move(system);
        changedRow = changed;
        endResetModel();
    }
    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() || !shown ? 0 : shown->size();
    }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() || !shown ? 0 : shown->size() + 1;
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid() || !shown)
            return {};
        if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
            return QString::fromStdString(shown->text(index.row() + 1, index.column() + 1));
        if (role == Qt::BackgroundRole && index.row() + 1 == changedRow) {
            const QPalette palette = QApplication::palette();
            return mixed(palette.color(QPalette::Base), palette.color(QPalette::Highlight), 0.18);
        }
        return {};
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (role != Qt::DisplayRole)
            return {};
        if (orientation == Qt::Vertical)
            return QString("R%1").arg(section + 1);
        return section == columnCount() - 1 ? QString("=") : QString("x%1").arg(section + 1);
    }

  private:
    std::optional<RowReduction> shown;
    int changedRow = 0;
};

EliminationLessonView::EliminationLessonView(QWidget& player) : QWidget(&player, Qt::Window) {
    setObjectName("EliminationLesson");
    setWindowTitle("The elimination in any arithmetic");
    setAccessibleName("The elimination in any arithmetic");
    resize(980, 620);
    makeControls();
    layOut();
    bindControls();
}

void EliminationLessonView::makeControls() {
    systemBox = new QPlainTextEdit(this);
    systemBox->setAccessibleName("System, one equation a line, the right-hand side last");
    systemBox->setTabChangesFocus(true);
    useSystem = new QPushButton("&Use this system", this);
    const QStringList kinds = {"single precision", "double precision", "exact", "digits, rounding",
                               "digits, chopping"};
    for (int side = 0; side < 2; ++side) {
        arithmetics[size_t(side)] = new QComboBox(this);
        if (side == 1)
            arithmetics[1]->addItem("nothing");
        arithmetics[size_t(side)]->addItems(kinds);
        arithmetics[size_t(side)]->setAccessibleName(side == 0 ? "Arithmetic" : "Beside it");
        digits[size_t(side)] = new QSpinBox(this);
        digits[size_t(side)]->setRange(Arithmetic::kMinDecimalDigits,
                                       Arithmetic::kMaxDecimalDigits);
        digits[size_t(side)]->setValue(4);
        digits[size_t(side)]->setAccessibleName(side == 0 ? "Digits" : "Digits beside");
        gridNames[size_t(side)] = new QLabel(this);
        grids[size_t(side)] = new QTableView(this);
        grids[size_t(side)]->setEditTriggers(QAbstractItemView::NoEditTriggers);
        systemModels[size_t(side)] = new LessonSystemModel(this);
        grids[size_t(side)]->setModel(systemModels[size_t(side)]);
        verdicts[size_t(side)] = new QLabel(this);
        verdicts[size_t(side)]->setWordWrap(true);
    }
    arithmetics[0]->setCurrentIndex(0);                  // single, the window's
    arithmetics[1]->setCurrentIndex(int(Choice::exact)); // beside: exact
    grids[0]->setAccessibleName("System in the arithmetic");
    grids[1]->setAccessibleName("System beside it");
    pivoting = new QComboBox(this);
    pivoting->addItems({"none", "partial"});
    pivoting->setAccessibleName("Pivoting");
    steps = new QListView(this);
    steps->setAccessibleName("Steps");
    steps->setUniformItemSizes(true); // thousands of steps scroll at once
    stepsModel = new LessonStepsModel(this);
    steps->setModel(stepsModel);
    mostLost = new QLabel(this);
    mostLost->setWordWrap(true);
    operation = new QLineEdit(this);
    operation->setAccessibleName("Row operation");
    operation->setPlaceholderText("R2 <- R2 - 1764 R1,  R1 <-> R2,  R2 <- 0.5 R2");
    applyButton = new QPushButton("&Apply", this);
    undoButton = new QPushButton("U&ndo", this);
    ownSteps = new QPushButton("&Elimination's own steps", this);
    copyLatex = new QPushButton("Copy as &LaTeX", this);
    message = new QLabel(this);
    message->setWordWrap(true);
}

void EliminationLessonView::layOut() {
    auto* choices = new QHBoxLayout;
    const QString labels[] = {"&Arithmetic:", "&Beside it:"};
    for (int side = 0; side < 2; ++side) {
        auto* label = new QLabel(labels[side], this);
        label->setBuddy(arithmetics[size_t(side)]);
        choices->addWidget(label);
        choices->addWidget(arithmetics[size_t(side)]);
        choices->addWidget(digits[size_t(side)]);
        choices->addSpacing(12);
    }
    auto* pivotLabel = new QLabel("&Pivoting:", this);
    pivotLabel->setBuddy(pivoting);
    choices->addWidget(pivotLabel);
    choices->addWidget(pivoting);
    choices->addStretch();

    auto* systemRow = new QHBoxLayout;
    systemBox->setFixedHeight(systemBox->fontMetrics().height() * 5);
    systemRow->addWidget(systemBox, 1);
    systemRow->addWidget(useSystem, 0, Qt::AlignTop);

    auto* sides = new QWidget(this);
    auto* sidesLayout = new QHBoxLayout(sides);
    sidesLayout->setContentsMargins(0, 0, 0, 0);
    for (int side = 0; side < 2; ++side) {
        auto* column = new QVBoxLayout;
        column->addWidget(gridNames[size_t(side)]);
        column->addWidget(grids[size_t(side)], 1);
        column->addWidget(verdicts[size_t(side)]);
        sidesLayout->addLayout(column, 1);
    }
    auto* split = new QSplitter(this);
    split->addWidget(steps);
    split->addWidget(sides);
    split->setStretchFactor(1, 3);

    auto* operations = new QHBoxLayout;
    auto* operationLabel = new QLabel("&Row operation:", this);
    operationLabel->setBuddy(operation);
    operations->addWidget(operationLabel);
    operations->addWidget(operation, 1);
    for (QPushButton* button : {applyButton, undoButton, ownSteps, copyLatex})
        operations->addWidget(button);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(systemRow);
    layout->addLayout(choices);
    layout->addWidget(split, 1);
    layout->addWidget(mostLost);
    layout->addLayout(operations);
    layout->addWidget(message);
}

void EliminationLessonView::bindControls() {
    connect(useSystem, &QPushButton::clicked, this, [this] { useTypedSystem(); });
    for (int side = 0; side < 2; ++side) {
        connect(arithmetics[size_t(side)], &QComboBox::currentIndexChanged, this,
                [this] { choose(); });
        connect(digits[size_t(side)], &QSpinBox::valueChanged, this, [this] { choose(); });
    }
    connect(pivoting, &QComboBox::currentIndexChanged, this, [this] { choose(); });
    connect(steps->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& index) {
                if (index.isValid() && index.row() != shownStep)
                    showStep(index.row());
            });
    const auto apply = [this] {
        if (!shown)
            return;
        std::optional<std::string> refusal;
        if (!changed([&] { refusal = shown->apply(operation->text().toStdString()); }))
            return;
        if (refusal) {
            message->setText(QString::fromStdString(*refusal));
            return;
        }
        operation->clear();
    };
    connect(applyButton, &QPushButton::clicked, this, apply);
    connect(operation, &QLineEdit::returnPressed, this, apply);
    connect(undoButton, &QPushButton::clicked, this, [this] {
        if (shown)
            changed([this] { shown->undo(); });
    });
    connect(ownSteps, &QPushButton::clicked, this, [this] {
        if (shown)
            changed([this] { shown->startOver(); });
    });
    connect(copyLatex, &QPushButton::clicked, this, [this] {
        if (shown)
            QApplication::clipboard()->setText(
                QString::fromStdString(shown->latex(size_t(shownStep))));
    });
    connect(new QShortcut(Qt::Key_Escape, this, nullptr, nullptr, Qt::WidgetWithChildrenShortcut),
            &QShortcut::activated, this, &QWidget::close);
}

void EliminationLessonView::open(const std::string& system) {
    systemBox->setPlainText(QString::fromStdString(system));
    useTypedSystem();
    show();
    raise();
    activateWindow();
}

void EliminationLessonView::useTypedSystem() {
    try {
        EliminationLesson read(
            systemBox->toPlainText().toStdString()); // the last stays if this throws
        shown = std::move(read);
        shownStep = INT_MAX; // a new system shows its last step
        message->clear();
        // Past the exact run's size, exact is offered no more, and double
        // precision takes its place where it was chosen.
        const bool exactFollows = shown->unknowns() <= EliminationLesson::kMaxExactUnknowns;
        for (int side = 0; side < 2; ++side) {
            QComboBox& box = *arithmetics[size_t(side)];
            const int exactAt = Choice::exact - (side == 0 ? 1 : 0);
            auto* item = static_cast<QStandardItemModel*>(box.model())->item(exactAt);
            item->setEnabled(exactFollows);
            item->setToolTip(exactFollows ? QString()
                                          : QString("Exact arithmetic follows systems of up "
                                                    "to %1 unknowns")
                                                .arg(EliminationLesson::kMaxExactUnknowns));
            if (!exactFollows && box.currentIndex() == exactAt) {
                const QSignalBlocker quiet(&box);
                box.setCurrentIndex(Choice::doubles - (side == 0 ? 1 : 0));
            }
        }
        // Where the chosen arithmetics cannot hold it, the system as read.
        if (!choose())
            showLesson(false);
    } catch (const Exception& error) {
        message->setText(QString::fromStdString(error.what()));
    }
}

bool EliminationLessonView::choose() {
    for (int side = 0; side < 2; ++side) {
        const int choice = arithmetics[size_t(side)]->currentIndex() + (side == 0 ? 1 : 0);
        digits[size_t(side)]->setEnabled(choice >= Choice::rounding);
    }
    if (!shown)
        return false;
    const auto main = arithmeticOf(arithmetics[0]->currentIndex() + 1, digits[0]->value());
    return changed(
        [&] {
            shown->choose(*main, arithmeticOf(arithmetics[1]->currentIndex(), digits[1]->value()),
                          pivoting->currentIndex() == 1 ? Pivoting::partial : Pivoting::none);
        },
        true);
}

bool EliminationLessonView::changed(const std::function<void()>& change, bool keepStep) {
    try {
        change();
        message->clear();
    } catch (const Exception& error) { // a value beyond single or double precision: nothing changed
        message->setText(QString::fromStdString(error.what()));
        return false;
    }
    showLesson(keepStep);
    return true;
}

void EliminationLessonView::showLesson(bool keepStep) {
    stepsModel->show(&*shown);
    mostLost->setText(QString::fromStdString(shown->mostLost()));
    for (int side = 0; side < 2; ++side)
        verdicts[size_t(side)]->setText(QString::fromStdString(shown->verdict(side)));
    const int last = int(shown->steps()) - 1;
    showStep(keepStep ? std::min(shownStep, last) : last);
}

void EliminationLessonView::showStep(int k) {
    if (!shown || k < 0 || size_t(k) >= shown->steps())
        return;
    shownStep = k;
    const QModelIndex index = stepsModel->index(k);
    if (steps->currentIndex() != index) {
        steps->setCurrentIndex(index);
        steps->scrollTo(index);
    }
    const int changed = shown->changedRow(size_t(k));
    for (int side = 0; side < 2; ++side) {
        QTableView& grid = *grids[size_t(side)];
        auto system = shown->reduction(size_t(k), side);
        gridNames[size_t(side)]->setText(QString::fromStdString(shown->arithmeticName(side)));
        grid.setVisible(system.has_value());
        systemModels[size_t(side)]->show(std::move(system), changed);
        fitColumns(grid, changed);
        if (changed > 0) // the changed row, at the column a clearing step cleared
            grid.scrollTo(systemModels[size_t(side)]->index(
                changed - 1, std::max(shown->clearedColumn(size_t(k)) - 1, 0)));
    }
}
