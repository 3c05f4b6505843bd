#pragma once

class QLineEdit;
class StringGrid;

// The sample points: sgdResult holds one point a row, x in column 0 and f(x)
// in column 1, as free text. A row is blank when both of its cells are blank
// (empty after Trim), and filled otherwise. pointCount counts the points put
// in through Add less those taken out through Del since the last Clear; it is
// Add's only guard, and may drift from what the cells hold.

// Add: writes txtX and txtFx verbatim into the current row when the table
// does not count as full and that row is blank, then moves the current row
// on, wrapping from the last row to row 1.
void addPoint(StringGrid& sgdResult, const QLineEdit& txtX, const QLineEdit& txtFx,
              int& pointCount);

// Del: empties the current row unless it is blank; the row stays as a gap.
void deletePoint(StringGrid& sgdResult, int& pointCount);

// Clear: empties every point row and sets pointCount to 0.
void clearPoints(StringGrid& sgdResult, int& pointCount);

// Selection: shows the cells of `row` in txtX and txtFx, verbatim.
void loadPoint(const StringGrid& sgdResult, int row, QLineEdit& txtX, QLineEdit& txtFx);
