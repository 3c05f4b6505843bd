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
    bool thousands = false;     // and some with thousands dots
};

// Reads the shapes that spreadsheets, CSV files and text editors put on the
// clipboard, as toolkit/delimited_text reads them line by line: one row a
// line; cells separated by tabs (taken verbatim, but a cell that starts with
// a quote runs to its closing quote, as spreadsheets quote a cell holding a
// tab, and a tab at the end of a line starts no cell), or, in a line without
// a tab, by semicolons, else commas, else runs of spaces (trimmed of
// surrounding spaces). A final line break ends the last row. In lines separated by tabs or
// semicolons, numbers may be written with decimal commas, as toolkit/decimal_commas reads them
// ("1.500,5" reads "1500.5"; a decimal point beside them raises an error naming its line and cell).
// A first row with no number above rows with numbers is a header, and is left out.
ReadBlock parseCellBlock(std::string_view text);

// The block as a spreadsheet reads it: cells separated by tabs, one line a
// row; a cell holding a tab, a quote or a line break is quoted.
std::string cellBlockText(const CellBlock& block);
