#include "commandlog.h"

#include <algorithm>
#include <cmath>

void CommandLog::record(std::uint8_t seq, Clock::time_point arrival)
{
    passed(seq);
    if (m_commands == 0)
        m_first = arrival;
    else
        m_intervalsMs.push_back(
            std::chrono::duration<double, std::milli>(arrival - m_last).count());
    m_last = arrival;
    ++m_commands;
}

void CommandLog::passed(std::uint8_t seq)
{
    if (m_anyFrame)
        m_gaps += static_cast<std::uint8_t>(seq - m_lastSeq - 1);
    m_anyFrame = true;
    m_lastSeq = seq;
}

double CommandLog::rate() const
{
    const double seconds = std::chrono::duration<double>(m_last - m_first).count();
    return seconds > 0 ? (m_commands - 1) / seconds : 0.0;
}

double CommandLog::intervalMs(double fraction) const
{
    return quantile(m_intervalsMs, fraction);
}

double quantile(std::vector<double> values, double fraction)
{
    if (values.empty())
        return 0.0;
    const auto rank = static_cast<std::size_t>(
        std::lround(std::clamp(fraction, 0.0, 1.0) * static_cast<double>(values.size() - 1)));
    std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(rank),
                     values.end());
    return values[rank];
}
