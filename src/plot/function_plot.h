#pragma once

class QChart;
class QLineEdit;
class StringGrid;

// Draw: samples x from Min by repeated addition of Step up to Max (samples.h),
// evaluates each sample as f(x) does through the texts of txtRX and txtRfx,
// and plots the values as one red line with value marks, point k at position
// k and labelled with its x. Every Draw replaces the chart's series (the old
// one is deleted). Both boxes end as f(x) would leave them after the last
// sample, also when an error ends Draw part-way; the points drawn by then stay.
void drawFunction(QChart& chart, const QLineEdit& txtMin, const QLineEdit& txtMax,
                  const QLineEdit& txtStep, const StringGrid& sdgCoefficients, int degree,
                  QLineEdit& txtRX, QLineEdit& txtRfx);
