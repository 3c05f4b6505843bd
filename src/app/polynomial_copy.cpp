#include "app/polynomial_copy.h"

#include "app/fit_check_view.h"
#include "model/coefficient_template.h"
#include "toolkit/error_display.h"
#include "toolkit/errors.h"
#include "toolkit/string_grid.h"

#include <QApplication>
#include <QClipboard>
#include <QInputDialog>
#include <QLineEdit>
#include <QMenu>

PolynomialCopy::PolynomialCopy(QWidget& window, QLineEdit& result, StringGrid& coefficients,
                               const FitCheckView& check)
    : QObject(&window), window(window), result(result), coefficients(coefficients), check(check) {
    result.setContextMenuPolicy(Qt::CustomContextMenu);
    connect(&result, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        QMenu* menu = this->result.createStandardContextMenu(); // Qt makes it anew each time
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->addSeparator();
        menu->addMenu(formsMenu(menu, false));
        menu->addMenu(formsMenu(menu, true));
        menu->popup(this->result.mapToGlobal(at));
    });
    auto* gridMenu = new QMenu(&coefficients);
    gridMenu->addAction("&Copy", &coefficients, [&coefficients] { coefficients.copySelection(); });
    gridMenu->addMenu(formsMenu(gridMenu, false));
    gridMenu->addMenu(formsMenu(gridMenu, true));
    coefficients.setContextMenuPolicy(Qt::CustomContextMenu);
    connect(&coefficients, &QWidget::customContextMenuRequested, gridMenu,
            [gridMenu, &coefficients](const QPoint& at) {
                gridMenu->popup(coefficients.viewport()->mapToGlobal(at));
            });
}

QMenu* PolynomialCopy::formsMenu(QWidget* parent, bool exact) {
    auto* menu = new QMenu(exact ? "Copy e&xact values as" : "Copy &as", parent);
    const std::pair<const char*, PolynomialForm> forms[] = {
        {"&LaTeX", PolynomialForm::latex},
        {"&C and C++", PolynomialForm::cpp},
        {"&Python", PolynomialForm::python},
        {"&Spreadsheet formula…", PolynomialForm::spreadsheet},
        {"Coefficients c&olumn", PolynomialForm::column}};
    for (const auto& [text, form] : forms)
        menu->addAction(text, this, [this, form = form, exact] {
            QString cell = "A1";
            if (form == PolynomialForm::spreadsheet) {
                bool given = false;
                cell = QInputDialog::getText(&window, "Spreadsheet formula",
                                             "The cell that holds x:", QLineEdit::Normal, "A1",
                                             &given);
                if (!given)
                    return;
            }
            guarded([&] { copy(form, exact, cell); });
        });
    return menu;
}

void PolynomialCopy::copy(PolynomialForm form, bool exact, const QString& cellReference) const {
    if (!check.lastSolve().solved)
        throw Exception("Nothing to copy yet: GetCoefficients has not solved the points.");
    const std::vector<std::string> letters = coefficientLetters(coefficients.cells());
    std::vector<std::string> values = coefficientTexts(coefficients.cells());
    if (exact) {
        const FitReport* report = check.report();
        if (!report || report->coefficients.size() != values.size())
            throw Exception("The exact check has no exact values to copy.");
        for (size_t k = 0; k < values.size(); ++k)
            values[k] = report->coefficients[k].exact;
    }
    QApplication::clipboard()->setText(
        QString::fromStdString(polynomialText(form, letters, values, cellReference.toStdString())));
}
