#pragma once

#include "fitting/fit_kind.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

class CellTable;

// The sample points: sgdResult holds one point a row, x in column 0 and f(x)
// in column 1, as free text, and in weighted least squares its weight w in
// column 2. A row is blank when all of its cells are blank (empty after
// Trim), and filled otherwise. pointCount counts the points put
// in through Add less those taken out through Del since the last Clear; it is
// Add's only guard, and may drift from what the cells hold.

// Add: writes `x` and `fx` verbatim into the current row when the table does
// not count as full and that row is blank, and returns the row the current
// cell moves on to. Nothing when refused. The fit kind says when the table
// is full and where the current cell moves on to: through the points,
// wrapping from the last row to row 1.
std::optional<int> addPoint(CellTable& sgdResult, int currentRow, const std::string& x,
                            const std::string& fx, int& pointCount,
                            const FitKind& kind = FitKind::throughPoints());

// Del: empties the current row unless it is blank; the row stays as a gap.
void deletePoint(CellTable& sgdResult, int currentRow, int& pointCount);

// Clear: empties every point row and sets pointCount to 0.
void clearPoints(CellTable& sgdResult, int& pointCount);

// The rows that hold a point or part of one, in table order.
std::vector<int> filledRows(const CellTable& sgdResult);

// In least squares the table always ends with a blank row to type into:
// appends one when the last row is filled, below kMaxLeastSquaresPoints.
void keepOneEmptyRow(CellTable& sgdResult);

// Least squares: grows the table so that a pasted block of `rows` rows from
// `row` on fits, or raises an error, naming `source`, when it would hold more
// than kMaxLeastSquaresPoints.
void makeRoomForPaste(CellTable& sgdResult, int row, size_t rows, const std::string& source);

// How many of the rows that were filled, `filledBefore` (filledRows), are
// gone from a table of `rowCount` rows now: the points a smaller degree
// dropped.
int droppedPoints(const std::vector<int>& filledBefore, int rowCount);
