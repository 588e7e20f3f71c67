// The bytes that helper traffic (heartbeats, requests) may send in one 20 ms tick, after the
// tick's steering command has gone out.
#pragma once

class TickBudget
{
public:
    explicit TickBudget(int bytes) : m_left(bytes) {}

    int left() const { return m_left; }
    // Takes `bytes` from the budget when they fit; false, and nothing taken, when not.
    bool take(int bytes)
    {
        if (bytes > m_left)
            return false;
        m_left -= bytes;
        return true;
    }

private:
    int m_left;
};
