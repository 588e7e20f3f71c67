// A history of three values over time (the three angles of the reports, or the three rates of
// the commands), the last minute of it, and its reduction to one minimum and maximum per pixel
// column for drawing. Plain C++.
#pragma once

#include <deque>
#include <vector>

struct Sample
{
    // Seconds on a steady clock.
    double t;
    float value[3];
};

class SampleHistory
{
public:
    // Keeps what is newer than `keepSeconds` before the newest sample.
    explicit SampleHistory(double keepSeconds = 60.0) : m_keep(keepSeconds) {}

    void append(double t, float a, float b, float c);
    const std::deque<Sample> &samples() const { return m_samples; }

private:
    double m_keep;
    std::deque<Sample> m_samples;
};

struct Column
{
    float min = 0.0f;
    float max = 0.0f;
    bool valid = false;
    // The line does not come here from the column before: a silence or a value that is not a
    // number lies between them.
    bool gapBefore = false;
};

// Series `series` of the samples with t in [t0, t1), cut into `columns` equal slices of time: the
// smallest and largest value of each slice, so that a spike narrower than a column still shows.
// A slice without finite samples is not valid. Values that are not finite numbers are gaps, and
// so is a silence of more than a few of the samples' usual intervals (at least 0.1 s).
std::vector<Column> reduceToColumns(const std::deque<Sample> &samples, int series, double t0,
                                    double t1, int columns);
