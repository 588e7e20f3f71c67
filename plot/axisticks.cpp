#include "axisticks.h"

#include <algorithm>
#include <cmath>

namespace {
// Room above and below the series, as a share of their span.
constexpr double Padding = 0.05;
// Beyond this many ticks the range and step cannot have come from the steps below.
constexpr int MaxTicks = 64;

// The round step (1, 2 or 5 × 10^n) nearest above `raw`.
double roundStep(double raw)
{
    const double decade = std::pow(10.0, std::floor(std::log10(raw)));
    for (const double multiple : {1.0, 2.0, 5.0}) {
        if (multiple * decade >= raw)
            return multiple * decade;
    }
    return 10.0 * decade;
}
} // namespace

AxisTicks axisTicks(double low, double high, int intervals)
{
    if (!std::isfinite(low) || !std::isfinite(high) || high < low)
        low = high = 0.0;
    const double magnitude = std::max(std::fabs(low), std::fabs(high));
    // A flat line, or one whose spread the values cannot even hold, gets a unit around it, or a
    // tenth of its size when that is more.
    if (high - low <= std::max(1e-6, magnitude * 1e-6)) {
        const double middle = low + (high - low) / 2;
        const double room = std::max(1.0, std::fabs(middle) * 0.1);
        low = middle - room;
        high = middle + room;
    }
    const double padding = (high - low) * Padding;
    const double step = roundStep((high - low + 2 * padding) / std::max(intervals, 1));
    AxisTicks axis;
    axis.step = step;
    axis.bottom = std::floor((low - padding) / step) * step;
    axis.top = std::ceil((high + padding) / step) * step;
    axis.decimals = static_cast<int>(std::clamp(-std::floor(std::log10(step)), 0.0, 12.0));
    const double first = std::floor((low - padding) / step);
    for (int k = 0; k < MaxTicks && (first + k) * step <= axis.top; ++k)
        axis.values.push_back((first + k) * step + 0.0);
    return axis;
}
