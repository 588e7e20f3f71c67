// The value axis of the plot: from the smallest to the largest value shown, widened a little and
// out to round ticks, one every 1, 2 or 5 × 10^n, about as many as asked for.
#pragma once

#include <vector>

struct AxisTicks
{
    double bottom;
    double top;
    double step;
    // The decimals that tell the ticks apart.
    int decimals;
    // From bottom to top, each a whole multiple of `step`.
    std::vector<double> values;
};

// `low` and `high` are what the shown series span; a flat line (or a range too small for the
// values' precision) gets room around it, and bounds that are not finite count as none.
AxisTicks axisTicks(double low, double high, int intervals);
