// The bytes that helper traffic (heartbeats, requests) may send in one 20 ms tick, after the
// tick's steering command has gone out, as long as the line takes more at all.
#pragma once

#include <functional>

class TickBudget
{
public:
    // `lineTakes`, when given, says whether the line would take another frame now.
    explicit TickBudget(int bytes, std::function<bool()> lineTakes = {})
        : m_left(bytes), m_lineTakes(std::move(lineTakes))
    {
    }

    int left() const { return m_left; }
    // Whether a frame of `bytes` may go now.
    bool fits(int bytes) const { return bytes <= m_left && (!m_lineTakes || m_lineTakes()); }
    // Takes `bytes` from the budget when they fit; false, and nothing taken, when not.
    bool take(int bytes)
    {
        if (!fits(bytes))
            return false;
        m_left -= bytes;
        return true;
    }

private:
    int m_left;
    std::function<bool()> m_lineTakes;
};
