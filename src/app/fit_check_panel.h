#pragma once

#include <QFrame>

#include <functional>
#include <memory>

struct FitReport;
class QLabel;
class QPushButton;
class QTableView;
class QTableWidget;
class PointChecksModel;

// The exact check in full, opened from the indicator in Result: the shown
// coefficients beside the exact ones, the shown polynomial at each point, why
// they differ, and the way to the exact values. It stands inside the window
// over the pages and leaves the window usable; Esc or Close hides it.
class FitCheckPanel : public QFrame {
    Q_OBJECT
  public:
    explicit FitCheckPanel(QWidget* parent);

    // Shows this report; the panel follows the check while it is open.
    void showReport(std::shared_ptr<const FitReport> report);

    // "Use exact values".
    std::function<void()> onUseExactValues;

    QLabel* summary;
    QTableWidget* coefficientTable;
    QTableView* pointTable; // a row per point: up to 100,000, made as they show
    QLabel* reason;
    QLabel* fitNumbers; // least squares: both fits' squared errors and R²
    QPushButton* copyButton;
    QPushButton* useButton;
    QPushButton* stepsButton; // the elimination step by step
    QPushButton* closeButton;

  private:
    std::string copyText;
    PointChecksModel* points;
};
