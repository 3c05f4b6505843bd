#include "model/prediction_band.h"

#include "toolkit/conversions.h"
#include "toolkit/errors.h"

#include <boost/math/distributions/students_t.hpp>

#include <algorithm>
#include <cmath>

double bandLevel(std::string_view text) {
    const double level = StrToFloat(text);
    if (!(level > 0 && level < 1))
        throw EMathError("A band level lies between 0 and 1, as 0.95 for 95 % bands; " +
                         std::string(Trim(text)) + " does not.");
    return level;
}

double tQuantile(long degreesOfFreedom, double level) {
    const boost::math::students_t distribution{double(degreesOfFreedom)};
    return boost::math::quantile(boost::math::complement(distribution, (1 - level) / 2));
}

HalfWidths halfWidths(const BandBasis& basis, double x, double t) {
    const size_t n = size_t(std::lround(std::sqrt(double(basis.inverse.size()))));
    std::vector<long double> v(n);
    const long double u = (x - basis.center) / basis.scale;
    long double power = 1;
    for (size_t k = 0; k < n; ++k, power *= u)
        v[k] = power;
    long double form = 0;
    for (size_t a = 0; a < n; ++a)
        for (size_t b = 0; b < n; ++b)
            form += v[a] * (long double)basis.inverse[a * n + b] * v[b];
    form = std::max(form, 0.0L); // a rounding below 0 is 0
    const double spread = t * basis.sd;
    return {double(spread * std::sqrt(form)), double(spread * std::sqrt(1 + form))};
}
