#include "toolkit/packed_table.h"

#include <mutex>

PackedTable::PackedTable(const CellTable& table) : cols(table.colCount()), rows(table.rowCount()) {
    size_t total = 0;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c)
            total += table.cell(c, r).size();
    chars.reserve(total);
    ends.reserve(size_t(cols) * size_t(rows));
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) {
            chars += table.cell(c, r);
            ends.push_back(uint32_t(chars.size()));
        }
}

CellTable PackedTable::unpack() const {
    CellTable table(cols, rows);
    size_t start = 0, k = 0;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c, ++k) {
            table.setCell(c, r, chars.substr(start, ends[k] - start));
            start = ends[k];
        }
    return table;
}

std::string_view PackedTable::cell(int col, int row) const {
    if (col < 0 || row < 0 || col >= cols || row >= rows)
        return {};
    const size_t k = size_t(row) * size_t(cols) + size_t(col);
    const size_t start = k == 0 ? 0 : ends[k - 1];
    return std::string_view(chars).substr(start, ends[k] - start);
}

bool PackedTable::holds(const CellTable& table) const {
    if (table.colCount() != cols || table.rowCount() != rows)
        return false;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c)
            if (cell(c, r) != table.cell(c, r))
                return false;
    return true;
}

std::shared_ptr<const PackedTable> PackedTable::sharedPoints(const CellTable& sgdResult) {
    static std::mutex guard;
    static std::weak_ptr<const PackedTable> last;
    const std::lock_guard lock(guard);
    if (auto packed = last.lock(); packed && packed->holds(sgdResult))
        return packed;
    auto packed = std::make_shared<const PackedTable>(sgdResult);
    last = packed;
    return packed;
}
