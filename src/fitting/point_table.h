#pragma once

#include <optional>
#include <string>

class CellTable;

// The sample points: sgdResult holds one point a row, x in column 0 and f(x)
// in column 1, as free text. A row is blank when both of its cells are blank
// (empty after Trim), and filled otherwise. pointCount counts the points put
// in through Add less those taken out through Del since the last Clear; it is
// Add's only guard, and may drift from what the cells hold.

// Add: writes `x` and `fx` verbatim into the current row when the table does
// not count as full and that row is blank, and returns the row the current
// cell moves on to, wrapping from the last row to row 1. Nothing when refused.
std::optional<int> addPoint(CellTable& sgdResult, int currentRow, const std::string& x,
                            const std::string& fx, int& pointCount);

// Del: empties the current row unless it is blank; the row stays as a gap.
void deletePoint(CellTable& sgdResult, int currentRow, int& pointCount);

// Clear: empties every point row and sets pointCount to 0.
void clearPoints(CellTable& sgdResult, int& pointCount);

// How many filled rows of `before` are gone from a table of `rowCount` rows
// now: the points a smaller degree dropped.
int droppedPoints(const CellTable& before, int rowCount);
