#pragma once

#include <string>
#include <vector>

// Ticks for an axis from `min` to `max`: round values, whole multiples of 1,
// 2 or 5 times a power of ten, about `count` of them, each labelled as
// FloatToStr writes it ("1.2E15"), which is as short as tells them apart.
struct AxisTick {
    double value;
    std::string label;
};
std::vector<AxisTick> niceTicks(double min, double max, int count = 5);
