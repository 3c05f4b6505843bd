#include "fitting/point_table.h"

#include "toolkit/conversions.h"
#include "toolkit/string_grid.h"
#include "toolkit/text_box.h"

namespace {

bool isFilled(const StringGrid& points, int row) {
    return !IsBlank(points.cell(0, row)) || !IsBlank(points.cell(1, row));
}

} // namespace

void addPoint(StringGrid& sgdResult, const QLineEdit& txtX, const QLineEdit& txtFx,
              int& pointCount) {
    const int lastRow = sgdResult.rowCount() - 1;
    if (pointCount >= lastRow)
        return;
    const int row = sgdResult.row();
    if (isFilled(sgdResult, row))
        return;
    sgdResult.setCell(0, row, Text(txtX));
    sgdResult.setCell(1, row, Text(txtFx));
    ++pointCount;
    sgdResult.setRow(row >= lastRow ? 1 : row + 1);
}

void deletePoint(StringGrid& sgdResult, int& pointCount) {
    const int row = sgdResult.row();
    if (!isFilled(sgdResult, row))
        return;
    sgdResult.setCell(0, row, {});
    sgdResult.setCell(1, row, {});
    --pointCount;
}

void clearPoints(StringGrid& sgdResult, int& pointCount) {
    pointCount = 0;
    for (int row = 1; row < sgdResult.rowCount(); ++row) {
        sgdResult.setCell(0, row, {});
        sgdResult.setCell(1, row, {});
    }
}

void loadPoint(const StringGrid& sgdResult, int row, QLineEdit& txtX, QLineEdit& txtFx) {
    SetText(txtX, sgdResult.cell(0, row));
    SetText(txtFx, sgdResult.cell(1, row));
}
