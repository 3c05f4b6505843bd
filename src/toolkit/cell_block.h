#pragma once

#include <string>
#include <string_view>
#include <vector>

// A rectangular block of cell texts as it crosses the clipboard, row by row.
using CellBlock = std::vector<std::vector<std::string>>;

// Reads the shapes that spreadsheets, CSV files and text editors put on the
// clipboard: one row a line; cells separated by tabs (taken verbatim), or, in
// a line without a tab, by semicolons, else commas, else runs of spaces
// (trimmed of surrounding spaces). A final line break ends the last row.
CellBlock parseCellBlock(std::string_view text);

// The block as a spreadsheet reads it: cells separated by tabs, one line a row.
std::string cellBlockText(const CellBlock& block);
