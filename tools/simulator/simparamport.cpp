#include "simparamport.h"

SimParamPort::SimParamPort(SimParamSet params, FrameWriter &writer, std::uint8_t system,
                           std::uint8_t component, double lossShare, unsigned seed, QObject *parent)
    : QObject(parent), m_server(std::move(params), system, component, lossShare, seed),
      m_writer(writer)
{
}

void SimParamPort::receive(const mavlink_message_t &msg)
{
    for (const SimParamServer::Reply &reply : m_server.receive(msg))
        send(reply);
}

bool SimParamPort::sendStreamed()
{
    const std::optional<SimParamServer::Reply> next = m_server.nextStreamed();
    if (next)
        send(*next);
    return next.has_value();
}

void SimParamPort::send(const SimParamServer::Reply &reply)
{
    const QByteArray frame = m_writer.frame(MAVLINK_MSG_ID_PARAM_VALUE, reply.value);
    if (reply.lost)
        emit frameLost(frame);
    else
        emit frameReady(frame);
}
