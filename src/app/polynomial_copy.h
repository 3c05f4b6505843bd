#pragma once

#include "model/polynomial_forms.h"

#include <QObject>
#include <QString>

class FitCheckView;
class QLineEdit;
class QMenu;
class QWidget;
class StringGrid;

// Copy as…: the fitted polynomial put on the clipboard as LaTeX, C and C++,
// Python, a spreadsheet formula or a column, with the values the grid shows
// or, where the exact check has them, the exact ones. On the context menus
// of Result and of the coefficient grid.
class PolynomialCopy : public QObject {
  public:
    PolynomialCopy(QWidget& window, QLineEdit& result, StringGrid& coefficients,
                   const FitCheckView& check);

    // Puts the form on the clipboard. Refused with an error when the last
    // solve did not give the coefficients, when there are no exact values to
    // take, or when a number cannot be written.
    void copy(PolynomialForm form, bool exact, const QString& cellReference = "A1") const;

  private:
    // "Copy as" or "Copy exact values as", with one action for each form.
    QMenu* formsMenu(QWidget* parent, bool exact);

    QWidget& window;
    QLineEdit& result;
    StringGrid& coefficients;
    const FitCheckView& check;
};
