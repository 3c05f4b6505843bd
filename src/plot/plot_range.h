#pragma once

#include <optional>
#include <string>

class CellTable;

// The texts for txtMin, txtMax and txtStep.
struct PlotRange {
    std::string min, max, step;
};

// Proposes the plot range from the x column of the point table: the smallest
// x, the largest, and a tenth of their distance. Blank cells are skipped; a
// cell that is not a number raises the conversion error. With no x at all
// there is no range to propose.
std::optional<PlotRange> proposeRange(const CellTable& sgdResult);
