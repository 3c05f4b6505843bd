#pragma once

class QLineEdit;
class StringGrid;

// Proposes the plot range from the x column of the point table: the smallest
// x into txtMin, the largest into txtMax and a tenth of their distance into
// txtStep. Blank cells are skipped; a cell that is not a number raises the
// conversion error before any box changes. With no x at all the boxes keep
// their texts.
void proposeRange(const StringGrid& sgdResult, QLineEdit& txtMin, QLineEdit& txtMax,
                  QLineEdit& txtStep);
