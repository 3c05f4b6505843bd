#include "plot/plot_range.h"

#include "toolkit/conversions.h"
#include "toolkit/string_grid.h"
#include "toolkit/text_box.h"

void proposeRange(const StringGrid& sgdResult, QLineEdit& txtMin, QLineEdit& txtMax,
                  QLineEdit& txtStep) {
    bool first = true;
    double min = 0, max = 0;
    for (int row = 1; row < sgdResult.rowCount(); ++row) {
        const std::string_view text = Trim(sgdResult.cell(0, row));
        if (text.empty())
            continue;
        const double v = CellToFloat(text, "Points", row, "x");
        if (first) {
            min = max = v;
            first = false;
        } else if (v > max) {
            max = v;
        } else if (v < min) {
            min = v;
        }
    }
    if (first)
        return;
    // The distance times one tenth, formed at extended precision.
    const double step = double((static_cast<long double>(max) - min) * 0.1L);
    SetText(txtMin, FloatToStr(min));
    SetText(txtMax, FloatToStr(max));
    SetText(txtStep, FloatToStr(step));
}
