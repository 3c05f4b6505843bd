#include "plot/axis_ticks.h"

#include "toolkit/conversions.h"

#include <cmath>

std::vector<AxisTick> niceTicks(double min, double max, int count) {
    std::vector<AxisTick> ticks;
    if (!(max > min) || !std::isfinite(max - min))
        return ticks;
    const double rough = (max - min) / count;
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    double step = 10 * power;
    for (const double mantissa : {1.0, 2.0, 5.0})
        if (rough <= mantissa * power) {
            step = mantissa * power;
            break;
        }
    // Each tick a whole number of steps, so no rounding adds up; 15 digits
    // then show it without the noise of its last bits (3 * 0.1 is "0.3").
    const double slack = step * 1e-9;
    for (double k = std::ceil((min - slack) / step); k * step <= max + slack; ++k)
        ticks.push_back({k * step, FloatToStr(k * step)});
    return ticks;
}
