#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

class CellTable;

// The point table as a CSV file, as spreadsheets write and read them.

// Larger files are refused before they are read.
inline constexpr size_t kMaxPointFileBytes = 16 << 20;

// Save: the line "x,f(x)", then one line for each point row with its two
// texts exactly as they are. A field holding a comma, a quote or a line
// break is quoted, its quotes doubled (RFC 4180). UTF-8, "\n" line ends.
std::string pointsCsv(const CellTable& sgdResult);

// Open: the points of a file, x and f(x) texts exactly as the file has them.
// Fields are separated by commas, semicolons or tabs (whichever the first
// line uses), may be quoted as Save quotes them, and lines end in "\n" or
// "\r\n"; a UTF-8 byte order mark is skipped. A first line none of whose
// fields reads as a number is a header. Blank lines at the end are ignored,
// and a line with one field is a point whose f(x) is empty.
//
// Refused with an error that names the line: bytes that are no UTF-8 text, a
// line with more than two fields, more points than the largest degree takes,
// no points at all. Larger than kMaxPointFileBytes: refused whole.
std::vector<std::array<std::string, 2>> readPointsCsv(std::string_view bytes);
