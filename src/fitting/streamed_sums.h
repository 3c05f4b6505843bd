#pragma once

#include "exact/least_squares.h"
#include "fitting/point_file.h"

#include <functional>
#include <memory>
#include <string>

// The least-squares sums of a point file of any length, made as the file
// streams (point_file.h): each point read exactly and summed, and nothing
// kept of it. While the next batch of lines is read, the one before is
// summed on another core. Blank points are skipped; a point with an x, an
// f(x) or a weight least squares cannot read is refused, naming its line
// and field. Weights are summed always, blank 1: without a w column the
// sums are those of the unweighted fit.
struct StreamedSums {
    StreamedPointFile file;
    std::shared_ptr<const SummedPoints> summed; // no table, no rows: sums only
};
// `read`, where given, hears the number of points read after each batch.
StreamedSums streamedSums(const std::string& path, int degree,
                          const std::function<void(size_t points)>& read = {});
