// A simulated component's parameter server on the link: it takes the parameter messages that
// reach the component and frames the replies with the component's own writer, so that they are
// numbered in the sequence of its other frames. A reply lost on the way comes out as a lost frame,
// which still takes its time on the line.
#pragma once

#include "framewriter.h"
#include "simparamserver.h"

#include <QByteArray>
#include <QObject>

class SimParamPort : public QObject
{
    Q_OBJECT

public:
    // `writer` is the component's, and outlives the port.
    SimParamPort(SimParamSet params, FrameWriter &writer, std::uint8_t system,
                 std::uint8_t component, double lossShare, unsigned seed,
                 QObject *parent = nullptr);

    // A message from the link; anything but a read, list request or write for this component is
    // ignored.
    void receive(const mavlink_message_t &msg);
    // Sends the next value of a list stream; false when none runs.
    bool sendStreamed();
    const SimParamServer &server() const { return m_server; }
    SimParamServer &server() { return m_server; }

signals:
    void frameReady(const QByteArray &frame);
    void frameLost(const QByteArray &frame);

private:
    void send(const SimParamServer::Reply &reply);

    SimParamServer m_server;
    FrameWriter &m_writer;
};
