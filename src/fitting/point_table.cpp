#include "fitting/point_table.h"

#include "toolkit/cell_table.h"
#include "toolkit/conversions.h"
#include "toolkit/errors.h"

#include <algorithm>

namespace {

bool isFilled(const CellTable& points, int row) {
    for (int col = 0; col < points.colCount(); ++col)
        if (!IsBlank(points.cell(col, row)))
            return true;
    return false;
}

void emptyRow(CellTable& points, int row) {
    for (int col = 0; col < points.colCount(); ++col)
        points.setCell(col, row, {});
}

} // namespace

std::optional<int> addPoint(CellTable& sgdResult, int currentRow, const std::string& x,
                            const std::string& fx, int& pointCount, const FitKind& kind) {
    if (pointCount >= kind.fullAt(sgdResult) || isFilled(sgdResult, currentRow))
        return std::nullopt;
    sgdResult.setCell(0, currentRow, x);
    sgdResult.setCell(1, currentRow, fx);
    ++pointCount;
    return kind.rowAfterAdd(sgdResult, currentRow);
}

void deletePoint(CellTable& sgdResult, int currentRow, int& pointCount) {
    if (!isFilled(sgdResult, currentRow))
        return;
    emptyRow(sgdResult, currentRow);
    --pointCount;
}

void clearPoints(CellTable& sgdResult, int& pointCount) {
    pointCount = 0;
    for (int row = 1; row < sgdResult.rowCount(); ++row)
        emptyRow(sgdResult, row);
}

std::vector<int> filledRows(const CellTable& sgdResult) {
    std::vector<int> rows;
    for (int row = 1; row < sgdResult.rowCount(); ++row)
        if (isFilled(sgdResult, row))
            rows.push_back(row);
    return rows;
}

void keepOneEmptyRow(CellTable& sgdResult) {
    const int last = sgdResult.rowCount() - 1;
    if (last < kMaxLeastSquaresPoints && (last < 1 || isFilled(sgdResult, last)))
        sgdResult.setRowCount(last + 2);
}

void makeRoomForPaste(CellTable& sgdResult, int row, size_t rows, const std::string& source) {
    const size_t lastRow = size_t(std::max(row, 1)) + rows - 1;
    if (lastRow > size_t(kMaxLeastSquaresPoints))
        throw Exception("The " + source + " holds " + std::to_string(rows) +
                        " rows; pasted from row " + IntToStr(row) + " they would reach row " +
                        std::to_string(lastRow) + ", and the table takes at most " +
                        IntToStr(kMaxLeastSquaresPoints) + " points.");
    if (int(lastRow) >= sgdResult.rowCount())
        sgdResult.setRowCount(int(lastRow) + 1);
}

int droppedPoints(const std::vector<int>& filledBefore, int rowCount) {
    return int(filledBefore.end() -
               std::lower_bound(filledBefore.begin(), filledBefore.end(), std::max(rowCount, 1)));
}
