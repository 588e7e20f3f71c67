#include "deflection.h"

#include <algorithm>
#include <cmath>

namespace {
double furthest(double a, double b)
{
    return std::fabs(b) > std::fabs(a) ? b : a;
}
} // namespace

Deflection combine(std::initializer_list<Deflection> inputs, double speedLimit)
{
    Deflection joined;
    for (const Deflection &input : inputs) {
        joined.x = furthest(joined.x, std::clamp(input.x, -1.0, 1.0));
        joined.y = furthest(joined.y, std::clamp(input.y, -1.0, 1.0));
        joined.z = furthest(joined.z, std::clamp(input.z, -1.0, 1.0));
    }
    const double limit = std::clamp(speedLimit, 0.1, 1.0);
    return {joined.x * limit, joined.y * limit, joined.z * limit};
}
