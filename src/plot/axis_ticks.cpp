#include "plot/axis_ticks.h"

#include "toolkit/conversions.h"

#include <cmath>

std::vector<AxisTick> niceTicks(double min, double max, int count) {
    std::vector<AxisTick> ticks;
    // In long double, so that a range wider than the largest double, from
    // -1.7E308 to 1.7E308, still has its ticks.
    const long double low = min, high = max;
    if (!(high > low) || !std::isfinite(high - low))
        return ticks;
    const long double rough = (high - low) / count;
    const long double power = std::pow(10.0L, std::floor(std::log10(rough)));
    long double step = 10 * power;
    for (const long double mantissa : {1.0L, 2.0L, 5.0L})
        if (rough <= mantissa * power) {
            step = mantissa * power;
            break;
        }
    // Each tick a whole number of steps, so no rounding adds up; 15 digits
    // then show it without the noise of its last bits (3 * 0.1 is "0.3").
    const long double slack = step * 1e-9L;
    for (long double k = std::ceil((low - slack) / step); k * step <= high + slack; ++k) {
        const double value = double(k * step);
        if (std::isfinite(value))
            ticks.push_back({value, FloatToStr(value)});
    }
    return ticks;
}
