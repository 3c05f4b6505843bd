#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

class CellTable;

// The point table as a CSV file, as spreadsheets write and read them.

// The most a point file may hold; reading stops there, whatever the file
// says of its size.
inline constexpr size_t kMaxPointFileBytes = 64 << 20;

// Save: the line "x,f(x)", then one line for each point row with its two
// texts exactly as they are; "x,f(x),w" and three where the table weighs
// its points. A field holding the separator, a quote or a
// line break is quoted, its quotes doubled (RFC 4180). UTF-8, "\n" line
// ends. With `decimalCommas`, as spreadsheets in decimal-comma locales read
// them: semicolons between the fields, and every number's point a comma.
std::string pointsCsv(const CellTable& sgdResult, bool decimalCommas = false);

// The bytes of the file at `path`: only a regular file (a link is judged by
// what it points to) and only up to kMaxPointFileBytes. A folder, a named
// pipe, a device or a socket is refused before anything is read, so nothing
// waits for a writer or reads without end. Refusals are raised as Exception
// with the reason ("it is a folder, not a file."); the system's own words
// come isolated, as messages quote texts.
std::string readPointFileBytes(const std::string& path);

// A point's texts: x, f(x), and its weight w, empty where it has none.
using PointFields = std::array<std::string, 3>;

// The points of a file, x, f(x) and w texts as the file has them, whether
// any line has a weight, and whether numbers with decimal commas, and
// thousands dots, were read as numbers with points.
struct PointFile {
    std::vector<PointFields> points;
    bool weighted = false;
    bool decimalCommas = false;
    bool thousands = false;
};

// Open: fields are separated by commas, semicolons or tabs (whichever the
// first line uses), may be quoted as Save quotes them, and lines end in "\n"
// or "\r\n". UTF-8, with or without a byte order mark; UTF-16 and UTF-32
// with a byte order mark are read too. Where semicolons or tabs separate the
// fields, numbers may be written with decimal commas, as toolkit/
// decimal_commas reads them ("1.500,5" reads "1500.5"). A first line none of
// whose fields reads as a number is a header. Blank lines at the end are
// ignored, and a line with one field is a point whose f(x) is empty. A third
// field is the point's weight.
//
// Refused with an error that names the line: bytes that are no text, a
// decimal point beside decimal commas, a line
// with more than three fields, a field longer than a cell holds, more than
// `maxPoints` points (as soon as the next one is seen); and a file with no
// points at all. The reading takes one pass and keeps only the points.
PointFile readPointsCsv(std::string_view bytes, size_t maxPoints);

// The same reading for a file of any length, as it streams: the file passes
// in pieces of a megabyte, each point goes to `take` with its line as soon
// as the line is read, and nothing but a piece and an unfinished line is
// kept. Blank lines are no points. The file is refused as readPointFileBytes
// and readPointsCsv refuse it, less their limits of size and points, and a
// line longer than three fields can be. Where the file writes decimal commas
// and also numbers whose dots may group thousands ("1.500"), those were
// read with a decimal point: `startOver` is called, and the file is read
// again from the start with the dots read as thousands.
using PointTaker = std::function<void(PointFields& point, int line)>;
struct StreamedPointFile {
    size_t points = 0;
    bool weighted = false, decimalCommas = false, thousands = false;
};
StreamedPointFile streamPointFile(const std::string& path, const PointTaker& take,
                                  const std::function<void()>& startOver);
