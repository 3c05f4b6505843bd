#pragma once

// How GetCoefficients fits the polynomial to the points. Through the points:
// one row per coefficient, each point an equation, solved exactly as the
// elimination by hand would. Least squares: any number of points, and the
// normal equations of the best fit take the points' place in the same grid.
enum class FitMode { throughPoints, leastSquares };

// The point table in least squares holds at most this many points.
inline constexpr int kMaxLeastSquaresPoints = 100000;
