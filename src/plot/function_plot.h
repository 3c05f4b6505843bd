#pragma once

#include <string>
#include <string_view>

class CellTable;
struct BandBasis;
class QChart;

// Draw: samples x from Min by repeated addition of Step up to Max (samples.h),
// evaluates each sample as f(x) does through the texts of txtRX and txtRfx,
// given in `rx` and `rfx`, and plots the values as one red line with value
// marks, point k at position k and labelled with its x. Every Draw replaces
// the chart's series (the old one is deleted). `rx` and `rfx` end as f(x)
// would leave the boxes after the last sample, also when an error ends Draw
// part-way; the points drawn by then stay.
//
// With `sgdResult`, its points are marked over the line (point_marks.h),
// with stems to it when `stems` is set; with `bands`, the confidence and
// prediction bands of a least-squares fit surround it (fit_bands.h).
void drawFunction(QChart& chart, std::string_view minText, std::string_view maxText,
                  std::string_view stepText, const CellTable& sdgCoefficients, int degree,
                  std::string& rx, std::string& rfx, const CellTable* sgdResult = nullptr,
                  bool stems = false, const BandBasis* bands = nullptr);
