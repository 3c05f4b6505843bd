#include "fitting/point_table.h"

#include "toolkit/cell_table.h"
#include "toolkit/conversions.h"

#include <algorithm>

namespace {

bool isFilled(const CellTable& points, int row) {
    return !IsBlank(points.cell(0, row)) || !IsBlank(points.cell(1, row));
}

} // namespace

std::optional<int> addPoint(CellTable& sgdResult, int currentRow, const std::string& x,
                            const std::string& fx, int& pointCount) {
    const int lastRow = sgdResult.rowCount() - 1;
    if (pointCount >= lastRow || isFilled(sgdResult, currentRow))
        return std::nullopt;
    sgdResult.setCell(0, currentRow, x);
    sgdResult.setCell(1, currentRow, fx);
    ++pointCount;
    return currentRow >= lastRow ? 1 : currentRow + 1;
}

void deletePoint(CellTable& sgdResult, int currentRow, int& pointCount) {
    if (!isFilled(sgdResult, currentRow))
        return;
    sgdResult.setCell(0, currentRow, {});
    sgdResult.setCell(1, currentRow, {});
    --pointCount;
}

void clearPoints(CellTable& sgdResult, int& pointCount) {
    pointCount = 0;
    for (int row = 1; row < sgdResult.rowCount(); ++row) {
        sgdResult.setCell(0, row, {});
        sgdResult.setCell(1, row, {});
    }
}

int droppedPoints(const CellTable& before, int rowCount) {
    int dropped = 0;
    for (int row = std::max(rowCount, 1); row < before.rowCount(); ++row)
        dropped += !IsBlank(before.cell(0, row)) || !IsBlank(before.cell(1, row));
    return dropped;
}
