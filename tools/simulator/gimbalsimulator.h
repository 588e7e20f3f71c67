// A gimbal on the far end of a pseudo-terminal: it reports its joint angles at a chosen rate,
// turns them at the rates of the commands it receives, and sends a heartbeat once a second.
#pragma once

#include "commandlog.h"
#include "framereader.h"
#include "framewriter.h"
#include "pseudoterminal.h"

#include <QObject>
#include <QTimer>

#include <random>

struct SimulatorOptions
{
    double reportRateHz = 50.0;
    int mavlinkVersion = 2;
    // Random bytes put on the line before each report.
    int noiseBytes = 0;
    // The share of reports sent with one bit flipped.
    double bitErrorRate = 0.0;
    unsigned seed = 1;
};

class GimbalSimulator : public QObject
{
    Q_OBJECT

public:
    explicit GimbalSimulator(const SimulatorOptions &options, QObject *parent = nullptr);

    bool isOpen() const { return m_pty.isOpen(); }
    // The path that the tool opens as its serial port.
    QString devicePath() const { return m_pty.devicePath(); }
    const CommandLog &commands() const { return m_commands; }
    int badFrames() const { return m_reader.badFrames(); }
    int droppedFrames() const { return m_droppedFrames; }
    // Reports put on the line or lost because nobody read them.
    long long reportsSent() const { return m_reportsSent; }

private:
    void sendDueReports();
    void sendReport();
    void sendHeartbeat();
    void receive();
    void send(QByteArray frame);

    SimulatorOptions m_options;
    PseudoTerminal m_pty;
    FrameReader m_reader;
    FrameWriter m_writer;
    CommandLog m_commands;
    QTimer m_reportTimer;
    QTimer m_heartbeatTimer;
    std::mt19937 m_random;
    float m_rates[3] = {};
    float m_joints[3] = {};
    CommandLog::Clock::time_point m_lastReport = CommandLog::Clock::now();
    CommandLog::Clock::time_point m_start = CommandLog::Clock::now();
    long long m_reportsSent = 0;
    int m_droppedFrames = 0;
};
