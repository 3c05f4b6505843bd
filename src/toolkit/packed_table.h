#pragma once

#include "toolkit/cell_table.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// A cell table kept compactly while nobody edits it: its texts end to end in
// one string. Undo keeps every state of the grids this way; a solved grid of
// degree 190 takes about 0.6 MB packed against 2.5 MB as a CellTable.
class PackedTable {
  public:
    explicit PackedTable(const CellTable& table);
    // The point table packed, the same object as the last one packed this
    // way while that still lives and holds the same texts: undo, the shared
    // reading of the points and the exact fit keep one copy of the points.
    // From any thread.
    static std::shared_ptr<const PackedTable> sharedPoints(const CellTable& sgdResult);

    CellTable unpack() const;
    // A cell's text, as CellTable::cell gives it.
    std::string_view cell(int col, int row) const;
    // Whether `table` holds the same texts, without unpacking.
    bool holds(const CellTable& table) const;
    // What it holds on the heap, in bytes.
    size_t bytes() const { return chars.capacity() + ends.capacity() * sizeof(uint32_t); }

    bool operator==(const PackedTable&) const = default;

  private:
    int cols, rows;
    std::string chars;
    std::vector<uint32_t> ends; // where each cell's text ends in chars, row by row
};
