#include "paramclient.h"

#include <frameparser.h>
#include <mavlinksession.h>
#include <mavsender.h>
#include <tickbudget.h>

#include <command.h>
#include <gimbal_v2.h>
#include <messages.h>

#include <algorithm>

namespace {
// MAV_RESULT_IN_PROGRESS: the answer is still to come.
constexpr std::uint8_t ResultInProgress = 5;

// The length on the line of the frame that `pack` makes.
template <typename Pack> int frameBytes(Pack pack)
{
    mavlink_message_t msg{};
    {
        const ChannelSequenceGuard guard;
        pack(&msg);
    }
    return wireLength(msg);
}
} // namespace

ParamClient::ParamClient(MavlinkSession &session, std::uint8_t system, std::uint8_t component,
                         QObject *parent)
    : QObject(parent), m_session(session), m_sender(session.sender(system, component))
{
    m_clock.start();
    // A read by index and a write have the same length whatever the index, name or value: a
    // read's last bytes are the name's NULs, a write's is the type; the target is never 0.
    m_readBytes = frameBytes([](mavlink_message_t *msg) {
        mavlink_msg_param_request_read_pack(0, 0, msg, 1, 1, {}, 0);
    });
    m_setBytes = frameBytes([](mavlink_message_t *msg) {
        mavlink_msg_param_set_pack(0, 0, msg, 1, 1, {}, 0, MAV_PARAM_TYPE_REAL32);
    });
    m_commandBytes = frameBytes([](mavlink_message_t *msg) {
        mavlink_msg_command_long_pack(0, 0, msg, 1, 1, MAV_CMD_REQUEST_MESSAGE, 0,
                                      MAVLINK_MSG_ID_AUTOPILOT_VERSION, 0, 0, 0, 0, 0, 0);
    });
    session.addHelper(this, [this](TickBudget &budget) { serve(budget); });
    session.subscribe(MAVLINK_MSG_ID_PARAM_VALUE, this,
                      [this](const mavlink_message_t &msg) { takeValue(msg); });
    session.subscribe(MAVLINK_MSG_ID_HEARTBEAT, this,
                      [this](const mavlink_message_t &msg) { takeHeartbeat(msg); });
    session.subscribe(MAVLINK_MSG_ID_AUTOPILOT_VERSION, this,
                      [this](const mavlink_message_t &msg) { takeVersion(msg); });
    session.subscribe(MAVLINK_MSG_ID_COMMAND_ACK, this,
                      [this](const mavlink_message_t &msg) { takeAck(msg); });
    connect(&session, &MavlinkSession::openChanged, this, &ParamClient::linkChanged);
}

ParamClient::~ParamClient() = default;

void ParamClient::addComponent(std::uint8_t system, std::uint8_t component, Role role)
{
    if (ParamComponent *known = find(system, component)) {
        if (known->role() == Role::Autopilot && role != Role::Autopilot) {
            known->setRole(role);
            emit changed(known);
            emit answeredChanged();
        }
        return;
    }
    m_components.push_back(std::make_unique<ParamComponent>(system, component, role));
    if (m_active)
        enqueue(m_components.back().get());
}

void ParamClient::setActive(bool active)
{
    m_active = active;
    if (!active)
        return;
    for (const std::unique_ptr<ParamComponent> &component : m_components) {
        if (component->download().state() == ParamDownload::State::Idle)
            enqueue(component.get());
    }
}

ParamComponent *ParamClient::find(std::uint8_t system, std::uint8_t component) const
{
    for (const std::unique_ptr<ParamComponent> &known : m_components) {
        if (known->system() == system && known->component() == component)
            return known.get();
    }
    return nullptr;
}

void ParamClient::refresh(ParamComponent *component)
{
    if (component == m_downloading)
        return;
    m_queue.erase(std::remove(m_queue.begin(), m_queue.end(), component), m_queue.end());
    m_queue.push_front(component);
}

QStringList ParamClient::write(ParamComponent *component, const QVector<ParamValue> &values)
{
    const QStringList left = component->startWrite(values);
    if (component->writing() &&
        std::find(m_writing.begin(), m_writing.end(), component) == m_writing.end())
        m_writing.push_back(component);
    emit changed(component);
    return left;
}

void ParamClient::enqueue(ParamComponent *component)
{
    if (component != m_downloading &&
        std::find(m_queue.begin(), m_queue.end(), component) == m_queue.end())
        m_queue.push_back(component);
}

// Writes first: a user waits on them, where a download runs on its own.
void ParamClient::serve(TickBudget &budget)
{
    const qint64 t = now();
    serveWrites(budget, t);
    serveDownload(budget, t);
    // By index: what the signals set off may add components.
    for (std::size_t i = 0; i < m_components.size(); ++i)
        settle(m_components[i].get(), t);
}

void ParamClient::serveWrites(TickBudget &budget, qint64 now)
{
    const std::vector<ParamComponent *> writing = m_writing;
    for (ParamComponent *component : writing) {
        ParamWriter &writer = *component->writer();
        bool sent = false;
        while (budget.fits(m_setBytes)) {
            const std::optional<ParamWriter::Send> send = writer.nextSend(now);
            if (!send)
                break;
            const QByteArray name = send->value.name().toLatin1();
            m_sender.send(
                [&](mavlink_message_t *msg) {
                    mavlink_msg_param_set_pack(m_sender.system(), m_sender.component(), msg,
                                               component->system(), component->component(),
                                               std::string_view(name.constData(), name.size()),
                                               send->field, send->value.type());
                },
                &budget);
            sent = true;
        }
        // Tries given up on are outcomes too.
        if (sent || !component->writing())
            emit changed(component);
    }
}

void ParamClient::serveDownload(TickBudget &budget, qint64 now)
{
    if (!m_downloading) {
        if (m_queue.empty())
            return;
        m_downloading = m_queue.front();
        m_queue.pop_front();
        m_downloading->startDownload(now);
        emit changed(m_downloading);
    }
    ParamComponent *component = m_downloading;
    if (component->versionDue() && budget.fits(m_commandBytes)) {
        m_sender.send(
            [&](mavlink_message_t *msg) {
                mavlink_msg_command_long_pack(m_sender.system(), m_sender.component(), msg,
                                              component->system(), component->component(),
                                              MAV_CMD_REQUEST_MESSAGE, 0,
                                              MAVLINK_MSG_ID_AUTOPILOT_VERSION, 0, 0, 0, 0, 0, 0);
            },
            &budget);
        component->versionAsked(now);
    }
    ParamDownload &download = component->download();
    // A list request is shorter than a read.
    while (budget.fits(m_readBytes)) {
        const std::optional<ParamDownload::Request> request = download.nextRequest(now);
        if (!request)
            break;
        m_sender.send(
            [&](mavlink_message_t *msg) {
                if (request->kind == ParamDownload::Request::List) {
                    mavlink_msg_param_request_list_pack(m_sender.system(), m_sender.component(),
                                                        msg, component->system(),
                                                        component->component());
                } else {
                    mavlink_msg_param_request_read_pack(
                        m_sender.system(), m_sender.component(), msg, component->system(),
                        component->component(), {}, static_cast<std::int16_t>(request->index));
                }
            },
            &budget);
    }
    if (download.state() != ParamDownload::State::Running)
        m_downloading = nullptr;
}

void ParamClient::settle(ParamComponent *component, qint64 now)
{
    const bool hadValues = component->hasValues();
    if (component->settle(now))
        emit changed(component);
    if (!hadValues && component->hasValues())
        emit downloadEnded(component);
    if (component->writer() && !component->writing()) {
        const auto writing = std::find(m_writing.begin(), m_writing.end(), component);
        if (writing != m_writing.end()) {
            m_writing.erase(writing);
            emit writeEnded(component);
        }
    }
}

void ParamClient::takeValue(const mavlink_message_t &msg)
{
    ParamComponent *component = find(msg.sysid, msg.compid);
    if (!component)
        return;
    const qint64 t = now();
    const int count = component->download().count();
    const int received = component->download().received();
    component->take(mavlink_msg_param_value_decode(&msg), t);
    if (count == 0 && component->download().count() > 0 &&
        std::find(m_answered.begin(), m_answered.end(), component) == m_answered.end()) {
        m_answered.push_back(component);
        emit answeredChanged();
    }
    if (component->download().received() != received || component->hasValues() ||
        component->writer())
        emit changed(component);
    settle(component, t);
}

void ParamClient::takeHeartbeat(const mavlink_message_t &msg)
{
    const mavlink_heartbeat_t heartbeat = mavlink_msg_heartbeat_decode(&msg);
    if (heartbeat.autopilot != MAV_AUTOPILOT_INVALID && heartbeat.type != MAV_TYPE_GCS)
        addComponent(msg.sysid, msg.compid, Role::Autopilot);
    if (ParamComponent *component = find(msg.sysid, msg.compid))
        component->setHeartbeat(heartbeat.autopilot, heartbeat.type);
}

void ParamClient::takeVersion(const mavlink_message_t &msg)
{
    if (ParamComponent *component = find(msg.sysid, msg.compid))
        component->takeCapabilities(mavlink_msg_autopilot_version_get_capabilities(&msg));
}

// The answer to a request for a message does not say which message: a refusal of the gimbal
// device's information request would end the wait early, and the heartbeat decide. That only
// costs the AUTOPILOT_VERSION of a component that refuses one request and answers the other.
void ParamClient::takeAck(const mavlink_message_t &msg)
{
    const mavlink_command_ack_t ack = mavlink_msg_command_ack_decode(&msg);
    if (ack.command != MAV_CMD_REQUEST_MESSAGE || ack.result == MAV_RESULT_ACCEPTED ||
        ack.result == ResultInProgress)
        return;
    if (ParamComponent *component = find(msg.sysid, msg.compid))
        component->versionRefused();
}

void ParamClient::linkChanged()
{
    if (m_session.isOpen())
        return;
    m_queue.clear();
    m_writing.clear();
    m_downloading = nullptr;
    m_answered.clear();
    m_components.clear();
    emit answeredChanged();
}
