#include "simparamserver.h"

#include <mavlink_types.h>

#include <string>

SimParamServer::SimParamServer(SimParamSet params, std::uint8_t system, std::uint8_t component,
                               double lossShare, unsigned seed)
    : m_params(std::move(params)), m_system(system), m_component(component), m_lossShare(lossShare),
      m_random(seed)
{
}

bool SimParamServer::addressed(std::uint8_t system, std::uint8_t component) const
{
    return (system == m_system || system == 0) && (component == m_component || component == 0);
}

std::vector<SimParamServer::Reply> SimParamServer::receive(const mavlink_message_t &msg)
{
    if (msg.msgid == MAVLINK_MSG_ID_PARAM_REQUEST_LIST) {
        const mavlink_param_request_list_t request = mavlink_msg_param_request_list_decode(&msg);
        if (addressed(request.target_system, request.target_component) && m_params.size() > 0)
            m_streamNext = 0;
        return {};
    }
    if (msg.msgid == MAVLINK_MSG_ID_PARAM_REQUEST_READ) {
        const mavlink_param_request_read_t request = mavlink_msg_param_request_read_decode(&msg);
        if (!addressed(request.target_system, request.target_component))
            return {};
        const int index =
            request.param_index == MAVLINK_PARAM_INDEX_BY_NAME
                ? m_params.indexOf(std::string(mavlink_param_id_get(request.param_id)))
                : request.param_index;
        if (index < 0 || index >= m_params.size())
            return {};
        return {reply(index)};
    }
    if (msg.msgid == MAVLINK_MSG_ID_PARAM_SET) {
        const mavlink_param_set_t request = mavlink_msg_param_set_decode(&msg);
        if (!addressed(request.target_system, request.target_component))
            return {};
        const int index = m_params.indexOf(std::string(mavlink_param_id_get(request.param_id)));
        // An unknown name gets no answer at all.
        if (index < 0)
            return {};
        ++(m_params.set(index, request.param_value) ? m_tally.writesTaken : m_tally.writesRefused);
        return {reply(index)};
    }
    return {};
}

std::optional<SimParamServer::Reply> SimParamServer::nextStreamed()
{
    if (m_streamNext < 0)
        return std::nullopt;
    const Reply next = reply(m_streamNext);
    if (++m_streamNext == m_params.size())
        m_streamNext = -1;
    return next;
}

SimParamServer::Reply SimParamServer::reply(int index)
{
    const SimParamSet::Param &param = m_params.at(index);
    Reply reply{};
    reply.value.param_value = m_params.field(index);
    reply.value.param_count = static_cast<std::uint16_t>(m_params.size());
    reply.value.param_index = static_cast<std::uint16_t>(index);
    mavlink_param_id_put(reply.value.param_id, param.name);
    reply.value.param_type = param.type;
    reply.lost = std::uniform_real_distribution<double>(0.0, 1.0)(m_random) < m_lossShare;
    ++(reply.lost ? m_tally.repliesLost : m_tally.repliesSent);
    return reply;
}
