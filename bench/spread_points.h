#pragma once

#include "app/Unit1.h"
#include "toolkit/conversions.h"
#include "toolkit/string_grid.h"

#include <QLineEdit>
#include <QPushButton>

// A window with degree + 1 points spread evenly over [-1, 1] on 1 + x + x^2:
// the solver's and the player's benchmarks at every degree.
inline void setUpSpreadPoints(TForm1& form, int degree) {
    form.txtDegree->setText(QString::number(degree));
    form.btnGenerate->click();
    for (int k = 0; k <= degree; ++k) {
        const double x = -1.0 + 2.0 * k / degree;
        form.sgdResult->setCell(0, k + 1, FloatToStr(x));
        form.sgdResult->setCell(1, k + 1, FloatToStr(1 + x + x * x));
    }
}
