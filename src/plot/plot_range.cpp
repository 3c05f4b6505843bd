#include "plot/plot_range.h"

#include "toolkit/cell_table.h"
#include "toolkit/conversions.h"

std::optional<PlotRange> proposeRange(const CellTable& sgdResult) {
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
        return std::nullopt;
    // The distance times one tenth, formed at extended precision.
    const double step = double((static_cast<long double>(max) - min) * 0.1L);
    return PlotRange{FloatToStr(min), FloatToStr(max), FloatToStr(step)};
}
