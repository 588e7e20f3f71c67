#include "shaping.h"

#include <algorithm>
#include <cmath>

double shape(double raw, const Shaping &shaping)
{
    const double deadZone = std::clamp(shaping.deadZone, 0.0, 0.99);
    const double expo = std::clamp(shaping.expo, 0.0, 1.0);
    const double travel = std::min(std::fabs(raw), 1.0);
    if (travel <= deadZone)
        return 0.0;
    const double d = (travel - deadZone) / (1.0 - deadZone);
    const double curved = (1.0 - expo) * d + expo * d * d * d;
    const double signed_ = raw < 0 ? -curved : curved;
    return shaping.inverted ? -signed_ : signed_;
}
