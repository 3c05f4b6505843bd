#pragma once

#include "exact/exact_fit.h"

#include <string>
#include <vector>

class CellTable;

// Least squares: writes the normal equations of the points into the answer
// grid, in place of the one equation per point that buildSystem writes, for
// the same elimination to reduce. The points are the filled rows of the
// point table, any number of them; with N = the answer grid's columns - 1
// unknowns, row i + 1 holds Σ x^i f(x) in column 0 and Σ x^(i+j) in column
// j + 1. Each sum is formed exactly from the texts and written correctly
// rounded to 15 digits.
//
// In weighted least squares (a third column in the point table) every sum
// is weighed: Σ w x^(i+j) and Σ w x^i f(x).
//
// A filled row that is not two numbers, a weight that is not a number above
// 0 (blank is 1), fewer different x than unknowns, or a sum beyond single
// precision raises an error that says so, before the answer grid changes.
//
// With `exactSums`, the sums go there too, exactly (wholeText), the powers'
// Σ x^0 .. Σ x^2N-2 first, then Σ x^0 f(x) .. Σ x^N-1 f(x).
//
// A held coefficient's row says just that: its value in column 0 and 1 in
// its own column. The elimination moves the held terms over to the right of
// the equations below it, and solves the free coefficients' own normal
// equations.
void buildNormalEquations(const CellTable& sgdResult, CellTable& sgdAns1,
                          std::vector<std::string>* exactSums = nullptr,
                          const HeldValues& held = {});

// The same from points already read and summed, as a file too long to hold
// is (`summed.sums` present): the checks from the different x on.
struct SummedPoints;
void writeNormalEquations(const SummedPoints& summed, CellTable& sgdAns1,
                          std::vector<std::string>* exactSums = nullptr,
                          const HeldValues& held = {});

// Why the weight `text` of point row `row` is refused.
std::string refusedWeight(int row, const std::string& text);

// Why a least-squares fit of `degree` with `held` coefficients held is
// refused over `distinct` different x.
std::string tooFewDistinctX(int degree, size_t distinct, size_t held = 0);
