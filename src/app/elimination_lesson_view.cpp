#include "app/elimination_lesson_view.h"

#include "toolkit/errors.h"
#include "toolkit/string_grid_model.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QSpinBox>
#include <QSplitter>
#include <QStyle>
#include <QTableWidget>
#include <QVBoxLayout>

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

} // namespace

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
        grids[size_t(side)] = new QTableWidget(this);
        grids[size_t(side)]->setEditTriggers(QAbstractItemView::NoEditTriggers);
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
    steps = new QListWidget(this);
    steps->setAccessibleName("Steps");
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
    connect(steps, &QListWidget::currentRowChanged, this, [this](int k) { showStep(k); });
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
            QApplication::clipboard()->setText(QString::fromStdString(shown->latex()));
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
        message->clear();
        choose();
    } catch (const Exception& error) {
        message->setText(QString::fromStdString(error.what()));
    }
}

void EliminationLessonView::choose() {
    for (int side = 0; side < 2; ++side) {
        const int choice = arithmetics[size_t(side)]->currentIndex() + (side == 0 ? 1 : 0);
        digits[size_t(side)]->setEnabled(choice >= Choice::rounding);
    }
    if (!shown)
        return;
    const auto main = arithmeticOf(arithmetics[0]->currentIndex() + 1, digits[0]->value());
    changed([&] {
        shown->choose(*main, arithmeticOf(arithmetics[1]->currentIndex(), digits[1]->value()),
                      pivoting->currentIndex() == 1 ? Pivoting::partial : Pivoting::none);
    });
}

bool EliminationLessonView::changed(const std::function<void()>& change) {
    try {
        change();
        message->clear();
    } catch (const Exception& error) { // a value beyond single or double precision: nothing changed
        message->setText(QString::fromStdString(error.what()));
        return false;
    }
    showLesson();
    return true;
}

void EliminationLessonView::showLesson() {
    const QSignalBlocker quiet(steps);
    steps->clear();
    const int carried = shown->carriedDigits();
    for (size_t k = 0; k < shown->steps(); ++k) {
        auto* item = new QListWidgetItem(
            QString("%1. %2").arg(k).arg(QString::fromStdString(shown->caption(k))), steps);
        if (k == 0)
            continue;
        // What the step kept of its row against exact, marked where it lost more than two digits.
        const int kept = shown->keptDigits(k);
        item->setToolTip(QString("Kept %1 of %2 digits").arg(kept).arg(carried));
        if (kept < carried - 2)
            item->setIcon(style()->standardIcon(QStyle::SP_MessageBoxWarning));
    }
    mostLost->setText(QString::fromStdString(shown->mostLost()));
    for (int side = 0; side < 2; ++side)
        verdicts[size_t(side)]->setText(QString::fromStdString(shown->verdict(side)));
    const int last = int(shown->steps()) - 1;
    steps->setCurrentRow(last);
    showStep(last);
}

void EliminationLessonView::showStep(int k) {
    if (!shown || k < 0 || size_t(k) >= shown->steps())
        return;
    const int n = shown->unknowns(), changed = shown->changedRow(size_t(k));
    for (int side = 0; side < 2; ++side) {
        QTableWidget& grid = *grids[size_t(side)];
        const auto system = shown->system(size_t(k), side);
        gridNames[size_t(side)]->setText(QString::fromStdString(shown->arithmeticName(side)));
        grid.setVisible(!system.empty());
        grid.setRowCount(int(system.size()));
        grid.setColumnCount(n + 1);
        QStringList headers;
        for (int c = 1; c <= n; ++c)
            headers << QString("x%1").arg(c);
        headers << "=";
        grid.setHorizontalHeaderLabels(headers);
        for (int r = 0; r < int(system.size()); ++r)
            for (int c = 0; c <= n; ++c) {
                auto* item =
                    new QTableWidgetItem(QString::fromStdString(system[size_t(r)][size_t(c)]));
                item->setToolTip(item->text());
                if (r + 1 == changed)
                    item->setBackground(mixed(palette().color(QPalette::Base),
                                              palette().color(QPalette::Highlight), 0.18));
                grid.setItem(r, c, item);
            }
        grid.resizeColumnsToContents();
    }
}
