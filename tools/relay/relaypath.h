// One direction of the lossy relay: it passes datagrams on, dropping, duplicating and holding
// back the given shares of them at random, and counts what it did. A datagram held back goes
// after the next one, or in its own turn when none follows soon.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QTimer>

#include <random>

struct RelayFaults
{
    // Shares of the datagrams, 0 to 1.
    double drop = 0.0;
    double duplicate = 0.0;
    double reorder = 0.0;
};

struct RelayCounts
{
    long long received = 0;
    // Passed on, each once; their second copies are the duplicated.
    long long forwarded = 0;
    long long dropped = 0;
    long long duplicated = 0;
    // Sent after a datagram that arrived later.
    long long reordered = 0;
};

class RelayPath : public QObject
{
    Q_OBJECT

public:
    RelayPath(const RelayFaults &faults, unsigned seed, QObject *parent = nullptr);

    void pass(const QByteArray &datagram);
    // Sends the datagram held back, if any, now.
    void flush();
    const RelayCounts &counts() const { return m_counts; }

signals:
    void deliver(const QByteArray &datagram);

private:
    void forward(const QByteArray &datagram);
    bool chance(double share);

    RelayFaults m_faults;
    std::mt19937 m_random;
    QByteArray m_held;
    bool m_holding = false;
    QTimer m_holdTimer;
    RelayCounts m_counts;
};
