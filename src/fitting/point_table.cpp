#include "fitting/point_table.h"

#include "model/coefficient_template.h"

#include "toolkit/cell_table.h"
#include "toolkit/conversions.h"
#include "toolkit/errors.h"

#include <algorithm>

namespace {

bool isFilled(const CellTable& points, int row) {
    return !IsBlank(points.cell(0, row)) || !IsBlank(points.cell(1, row));
}

} // namespace

std::optional<int> addPoint(CellTable& sgdResult, int currentRow, const std::string& x,
                            const std::string& fx, int& pointCount, FitMode mode) {
    const int lastRow = sgdResult.rowCount() - 1;
    const int fullAt = mode == FitMode::throughPoints ? lastRow : kMaxLeastSquaresPoints;
    if (pointCount >= fullAt || isFilled(sgdResult, currentRow))
        return std::nullopt;
    sgdResult.setCell(0, currentRow, x);
    sgdResult.setCell(1, currentRow, fx);
    ++pointCount;
    if (mode == FitMode::leastSquares) {
        keepOneEmptyRow(sgdResult);
        return std::min(currentRow + 1, sgdResult.rowCount() - 1);
    }
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

FitMode fitToOpen(FitMode mode, size_t points) {
    return points > size_t(kMaxDegree) + 1 ? FitMode::leastSquares : mode;
}

void putPoints(CellTable& sgdResult, const std::vector<std::array<std::string, 2>>& points,
               FitMode mode) {
    if (mode == FitMode::leastSquares) {
        sgdResult.setRowCount(1);
        sgdResult.setRowCount(int(points.size()) + 1);
    }
    for (size_t k = 0; k < points.size(); ++k) {
        sgdResult.setCell(0, int(k) + 1, points[k][0]);
        sgdResult.setCell(1, int(k) + 1, points[k][1]);
    }
    if (mode == FitMode::leastSquares)
        keepOneEmptyRow(sgdResult);
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

void sizeForFit(CellTable& sgdResult, FitMode mode, int degree) {
    if (mode == FitMode::leastSquares)
        keepOneEmptyRow(sgdResult);
    else if (degree >= 0)
        sgdResult.setRowCount(degree + 2);
}

int droppedPoints(const std::vector<int>& filledBefore, int rowCount) {
    return int(filledBefore.end() -
               std::lower_bound(filledBefore.begin(), filledBefore.end(), std::max(rowCount, 1)));
}
