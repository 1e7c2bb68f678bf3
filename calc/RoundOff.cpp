#include "RoundOff.h"

#include <cstdint>
#include <limits>

double CRoundOff::Round(double value, int digits) const
{
    double scale = 1.0;
    // Stop multiplying once the scale is infinite: the result is then the
    // unchanged value anyway, and a huge `digits` must not spin.
    for (int i = 0; i < digits && scale <= std::numeric_limits<double>::max(); ++i) {
        scale *= 10.0;
    }
    const double offset = value < 0.0 ? -0.5 : 0.5;  // NaN and zero take +0.5
    const double scaled = value * scale;             // rounded to double before the add
    const double t = scaled + offset;

    // Truncation toward zero to int32 is defined only for -2^31 - 1 < t < 2^31.
    if (!(t > -2147483649.0 && t < 2147483648.0)) {
        return value;
    }
    const auto n = static_cast<std::int32_t>(t);
    return static_cast<double>(n) / scale;
}
