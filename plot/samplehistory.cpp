#include "samplehistory.h"

#include <algorithm>

void SampleHistory::append(double t, float a, float b, float c)
{
    m_samples.push_back({t, {a, b, c}});
    while (!m_samples.empty() && m_samples.front().t < t - m_keep)
        m_samples.pop_front();
}

std::vector<Column> reduceToColumns(const std::deque<Sample> &samples, int series, double t0,
                                    double t1, int columns)
{
    std::vector<Column> reduced(static_cast<std::size_t>(std::max(columns, 0)));
    if (columns <= 0 || t1 <= t0)
        return reduced;
    const auto first = std::lower_bound(samples.begin(), samples.end(), t0,
                                        [](const Sample &s, double t) { return s.t < t; });
    const double perColumn = columns / (t1 - t0);
    for (auto it = first; it != samples.end() && it->t < t1; ++it) {
        const auto at =
            std::min(static_cast<std::size_t>((it->t - t0) * perColumn), reduced.size() - 1);
        Column &column = reduced[at];
        const float value = it->value[series];
        if (!column.valid) {
            column = {value, value, true};
        } else {
            column.min = std::min(column.min, value);
            column.max = std::max(column.max, value);
        }
    }
    return reduced;
}
