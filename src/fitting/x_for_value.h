#pragma once

#include "model/prediction_band.h"

#include <optional>
#include <string>
#include <vector>

class CellTable;

// x for f(x): every x in the drawn range [min, max] where the polynomial
// whose coefficients the coefficient grid shows takes the value y, read
// exactly from the cells and correctly rounded to 15 digits
// (exact/polynomial_roots.h). With the bands of a least-squares fit, each x
// has its inverse prediction interval: the x around it whose prediction
// band at `basis.level` holds y.
struct XForValue {
    struct Root {
        std::string x;
        // The interval's ends, six digits each; empty without bands. An end
        // the band does not reach within the range is the range's end, open.
        std::string low, high;
        bool lowOpen = false, highOpen = false;
    };
    std::vector<Root> roots;
    bool everywhere = false;
    double level = 0; // of the intervals, when they are there
};

// Reads the coefficients as f(x) does, then y, min and max: a text that is
// not a number raises the conversion error; nothing when a coefficient is
// blank. A degree over kMaxRootDegree, or a coefficient with more digits
// than the exact reader takes, raises an error that says so.
std::optional<XForValue> xForValue(const CellTable& sdgCoefficients, int degree,
                                   const std::string& yText, const std::string& minText,
                                   const std::string& maxText, const BandBasis* basis);

// The answer in a line: "x = 1.4142135623731 (95 % interval 1.2 to 1.6)",
// an open end "below 0" or "above 10",
// several joined with "; ", or "No x in the drawn range gives f(x) = 7.".
std::string xForValueText(const XForValue& answer, const std::string& yText);
