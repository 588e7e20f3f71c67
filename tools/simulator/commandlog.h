// What arrived of the rate-command stream: how many commands, the gaps in the sender's sequence
// numbers, and the intervals between the commands' arrivals.
#pragma once

#include <chrono>
#include <cstdint>
#include <vector>

// The `fraction` quantile of `values` (0 the smallest, 0.5 the median, 1 the largest), by nearest
// rank; 0 for no values.
double quantile(std::vector<double> values, double fraction);

class CommandLog
{
public:
    using Clock = std::chrono::steady_clock;

    void record(std::uint8_t seq, Clock::time_point arrival);
    // Another frame of the same sender (a heartbeat, a request): it counts for the sequence only.
    void passed(std::uint8_t seq);

    int commands() const { return m_commands; }
    // Frames missing between two that arrived, from their wrapping 8-bit sequence numbers.
    int sequenceGaps() const { return m_gaps; }
    // Commands per second from the first arrival to the last.
    double rate() const;
    // The `fraction` quantile of the intervals in milliseconds (0.5 the median, 1 the largest).
    double intervalMs(double fraction) const;
    double minIntervalMs() const { return intervalMs(0.0); }

private:
    int m_commands = 0;
    int m_gaps = 0;
    bool m_anyFrame = false;
    std::uint8_t m_lastSeq = 0;
    Clock::time_point m_first;
    Clock::time_point m_last;
    std::vector<double> m_intervalsMs;
};
