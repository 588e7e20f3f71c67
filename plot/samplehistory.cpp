#include "samplehistory.h"

#include <algorithm>
#include <cmath>
#include <iterator>

void SampleHistory::append(double t, float a, float b, float c)
{
    m_samples.push_back({t, {a, b, c}});
    while (!m_samples.empty() && m_samples.front().t < t - m_keep)
        m_samples.pop_front();
}

namespace {
// A silence is a gap from this many of the usual intervals on, and never below the floor, so that
// samples that come in bursts (several in one read from the port) are no gaps.
constexpr double GapIntervals = 4.0;
constexpr double MinGapSeconds = 0.1;
// The usual interval is the median of at most this many intervals, spread over the window.
constexpr std::ptrdiff_t IntervalSamples = 1024;

using SampleIt = std::deque<Sample>::const_iterator;

// The median time between neighbouring samples in [first, last): unlike the mean, a long silence
// does not stretch it.
double usualInterval(SampleIt first, SampleIt last)
{
    const std::ptrdiff_t count = std::distance(first, last) - 1;
    if (count < 1)
        return 0.0;
    const std::ptrdiff_t stride = std::max<std::ptrdiff_t>(1, count / IntervalSamples);
    std::vector<double> intervals;
    intervals.reserve(static_cast<std::size_t>(count / stride + 1));
    for (std::ptrdiff_t i = 0; i < count; i += stride)
        intervals.push_back(first[i + 1].t - first[i].t);
    const auto middle = intervals.begin() + static_cast<std::ptrdiff_t>(intervals.size() / 2);
    std::nth_element(intervals.begin(), middle, intervals.end());
    return *middle;
}
} // namespace

std::vector<Column> reduceToColumns(const std::deque<Sample> &samples, int series, double t0,
                                    double t1, int columns)
{
    std::vector<Column> reduced(static_cast<std::size_t>(std::max(columns, 0)));
    if (columns <= 0 || t1 <= t0)
        return reduced;
    const auto byTime = [](const Sample &s, double t) { return s.t < t; };
    const auto first = std::lower_bound(samples.begin(), samples.end(), t0, byTime);
    const auto last = std::lower_bound(first, samples.end(), t1, byTime);
    const double gap = std::max(MinGapSeconds, GapIntervals * usualInterval(first, last));
    const double perColumn = columns / (t1 - t0);
    // Whether the next finite value starts a new line, and when the last one came.
    bool broken = false;
    double previous = t0;
    bool any = false;
    for (auto it = first; it != last; ++it) {
        const float value = it->value[series];
        if (!std::isfinite(value)) {
            broken = true;
            continue;
        }
        broken = broken || (any && it->t - previous > gap);
        previous = it->t;
        any = true;
        const auto at =
            std::min(static_cast<std::size_t>((it->t - t0) * perColumn), reduced.size() - 1);
        Column &column = reduced[at];
        if (!column.valid) {
            column = {value, value, true, broken};
        } else {
            column.min = std::min(column.min, value);
            column.max = std::max(column.max, value);
        }
        broken = false;
    }
    return reduced;
}
