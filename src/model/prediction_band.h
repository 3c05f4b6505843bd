#pragma once

#include <string_view>
#include <vector>

// What the bands around a least-squares curve are made from: the residual
// standard deviation s with its degrees of freedom, and the inverse normal
// matrix G in powers of t = (x - center) / scale, row-major. At x the fitted
// value has the variance s² vᵀGv, v = (1, t, t², ...); a new observation
// s² (1 + vᵀGv).
struct BandBasis {
    double sd = 0;
    long degreesOfFreedom = 0;
    double center = 0, scale = 1;
    std::vector<double> inverse;
    double level = 0.95; // of both bands
};

// The level a text asks for, a number strictly between 0 and 1 (0.95 for
// 95 % bands); any other raises an error that says so.
double bandLevel(std::string_view text);

// The two-sided Student t quantile for `level` with these degrees of freedom.
double tQuantile(long degreesOfFreedom, double level);

// The half widths at x of the confidence band of the fitted curve and of
// the prediction band of a new observation, for the quantile `t`.
struct HalfWidths {
    double confidence, prediction;
};
HalfWidths halfWidths(const BandBasis& basis, double x, double t);
