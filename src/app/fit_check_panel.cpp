#include "app/fit_check_panel.h"

#include "fitting/fit_report.h"
#include "toolkit/string_grid_model.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QTableView>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

template <class View> View* table(View* view, const char* name) {
    view->setObjectName(name);
    view->setAccessibleName(name);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->verticalHeader()->hide();
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 6);
    view->horizontalHeader()->setStretchLastSection(true);
    return view;
}

QTableWidgetItem* item(const std::string& text, bool off, const QPalette& palette) {
    auto* cell = new QTableWidgetItem(QString::fromStdString(text));
    cell->setToolTip(cell->text());
    if (off) // the tint repeats what the difference column says
        cell->setBackground(attentionTint(palette));
    return cell;
}

void fill(QTableWidget& view, const std::vector<std::vector<std::string>>& rows,
          const std::vector<bool>& off) {
    view.setRowCount(int(rows.size()));
    for (size_t r = 0; r < rows.size(); ++r)
        for (size_t c = 0; c < rows[r].size(); ++c)
            view.setItem(int(r), int(c), item(rows[r][c], off[r], view.palette()));
    view.resizeColumnsToContents();
}

} // namespace

// The points of a report, each row made only when the view shows it.
class PointChecksModel : public QAbstractTableModel {
  public:
    using QAbstractTableModel::QAbstractTableModel;

    void show(std::shared_ptr<const FitReport> shown) {
        beginResetModel();
        report = std::move(shown);
        endResetModel();
    }
    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() || !report ? 0 : int(report->points.size());
    }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : 4;
    }
    QVariant data(const QModelIndex& index, int role) const override {
        const PointCheck& point = report->points[size_t(index.row())];
        const std::string* texts[] = {&point.x, &point.fx, &point.shownValue, &point.miss};
        if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
            return QString::fromStdString(*texts[index.column()]);
        if (role == Qt::BackgroundRole && point.off)
            return attentionTint(QApplication::palette());
        return {};
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (role != Qt::DisplayRole)
            return {};
        if (orientation == Qt::Vertical)
            return report ? report->points[size_t(section)].row : section + 1;
        return pointColumns(report ? *report : FitReport{})[size_t(section)];
    }

  private:
    std::shared_ptr<const FitReport> report;
};

FitCheckPanel::FitCheckPanel(QWidget* parent) : QFrame(parent) {
    setObjectName("FitCheckPanel");
    setAccessibleName("Exact check");
    setFrameShape(StyledPanel);
    setAutoFillBackground(true);
    summary = new QLabel(this);
    summary->setWordWrap(true);
    coefficientTable = table(new QTableWidget(0, int(kCoefficientColumns.size()), this),
                             "Coefficients, shown and exact");
    pointTable = table(new QTableView(this), "Points and the shown polynomial");
    points = new PointChecksModel(this);
    pointTable->setModel(points);
    reason = new QLabel(this);
    reason->setWordWrap(true);
    fitNumbers = new QLabel(this);
    fitNumbers->setObjectName("Least-squares numbers");
    fitNumbers->setWordWrap(true);
    copyButton = new QPushButton("Copy", this);
    useButton = new QPushButton("Use exact values", this);
    stepsButton = new QPushButton("Steps…", this);
    closeButton = new QPushButton("Close", this);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(copyButton);
    buttons->addWidget(useButton);
    buttons->addWidget(stepsButton);
    buttons->addStretch();
    buttons->addWidget(closeButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(summary);
    layout->addWidget(coefficientTable, 1);
    layout->addWidget(pointTable, 1);
    layout->addWidget(fitNumbers);
    layout->addWidget(reason);
    layout->addLayout(buttons);

    connect(copyButton, &QPushButton::clicked, this,
            [this] { QApplication::clipboard()->setText(QString::fromStdString(copyText)); });
    connect(useButton, &QPushButton::clicked, this, [this] {
        if (onUseExactValues)
            onUseExactValues();
    });
    connect(closeButton, &QPushButton::clicked, this, &QWidget::hide);
    connect(new QShortcut(Qt::Key_Escape, this, nullptr, nullptr, Qt::WidgetWithChildrenShortcut),
            &QShortcut::activated, this, &QWidget::hide);
    hide();
}

void FitCheckPanel::showReport(std::shared_ptr<const FitReport> shown) {
    const FitReport& report = *shown;
    summary->setText(QString::fromStdString(report.summary));
    reason->setText(QString::fromStdString(report.reason));
    fitNumbers->setVisible(report.statistics.has_value());
    if (const auto& fit = report.statistics)
        fitNumbers->setText(QString::fromStdString(fitNumbersText(*fit)));
    CellBlock rows = coefficientBlock(report);
    QStringList headers;
    for (const std::string& heading : rows.front())
        headers << QString::fromStdString(heading);
    coefficientTable->setColumnCount(int(headers.size()));
    coefficientTable->setHorizontalHeaderLabels(headers);
    rows.erase(rows.begin());
    std::vector<bool> off;
    for (const CoefficientCheck& c : report.coefficients)
        off.push_back(c.off);
    fill(*coefficientTable, rows, off);
    points->show(std::move(shown));
    pointTable->resizeColumnsToContents(); // measured on the rows in view
    useButton->setEnabled(report.verdict == FitReport::Verdict::agrees ||
                          report.verdict == FitReport::Verdict::off);
    copyText = reportText(report);
}
