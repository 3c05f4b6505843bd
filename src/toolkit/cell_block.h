#pragma once

#include <string>
#include <string_view>
#include <vector>

// A rectangular block of cell texts as it crosses the clipboard, row by row.
using CellBlock = std::vector<std::vector<std::string>>;

// A block read from pasted or dropped text, and what the reading changed.
struct ReadBlock {
    CellBlock cells;
    bool decimalCommas = false; // some numbers were written with decimal commas
};

// Reads the shapes that spreadsheets, CSV files and text editors put on the
// clipboard: one row a line; cells separated by tabs (taken verbatim, but a
// cell that starts with a quote runs to its closing quote, as spreadsheets
// quote a cell holding a tab, and a tab at the end of a line starts no
// cell), or, in a line without a tab, by semicolons, else commas, else runs
// of spaces (trimmed of surrounding spaces). A final line break ends the last
// row. In a line separated by tabs or semicolons, "1,5" is a decimal comma
// and reads "1.5". A first row with no number above rows with numbers is a
// header, and is left out.
ReadBlock parseCellBlock(std::string_view text);

// The block as a spreadsheet reads it: cells separated by tabs, one line a
// row; a cell holding a tab, or starting with a quote, is quoted.
std::string cellBlockText(const CellBlock& block);
