#include "plot/samples.h"

#include "toolkit/conversions.h"
#include "toolkit/errors.h"

#include <cfloat>
#include <cmath>
#include <string>

namespace {

// How many samples a range would take, with the loop's allowance for
// rounding, worked out without forming Max - Min, which overflows for the
// widest ranges; only for the message.
std::string samplesNeeded(double min, double max, double step) {
    const long double count = std::floor(static_cast<long double>(max) / step -
                                         static_cast<long double>(min) / step + 0.001L) +
                              1;
    if (!(count < 1e18L))
        return "more than 1000000000000000000";
    return std::to_string(static_cast<long long>(count));
}

} // namespace

std::vector<double> sampleXs(double min, double max, double step) {
    std::vector<double> xs;
    if (!(min <= max))
        return xs;
    if (!(step > 0))
        throw Exception("Step must be greater than 0");
    const double last = std::min(max + step / 1000, DBL_MAX);
    for (double x = min; x <= last; x += step) {
        if (xs.size() == size_t(kMaxSamples))
            throw Exception("Too many samples: the range needs " + samplesNeeded(min, max, step) +
                            "; at most " + IntToStr(kMaxSamples) + " can be drawn");
        if (x + step == x)
            throw Exception("Step " + FloatToStr(step) + " is too small to move x on from " +
                            FloatToStr(x));
        xs.push_back(x);
    }
    return xs;
}
