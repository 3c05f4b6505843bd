#include "toolkit/cell_table.h"

#include <algorithm>
#include <utility>

CellTable::CellTable(int colCount, int rowCount)
    : cols(std::max(colCount, 0)), rows(std::max(rowCount, 0)), texts(size_t(cols) * rows) {}

void CellTable::clearRow(int row) {
    for (int c = 0; c < cols; ++c)
        setCell(c, row, {});
}

void CellTable::setRowCount(int count) {
    rows = std::max(count, 0);
    texts.resize(size_t(cols) * rows);
}

void CellTable::setColCount(int count) {
    count = std::max(count, 0);
    std::vector<std::string> reshaped(size_t(count) * rows);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < std::min(cols, count); ++c)
            reshaped[size_t(r) * count + c] = std::move(texts[index(c, r)]);
    texts = std::move(reshaped);
    cols = count;
}
