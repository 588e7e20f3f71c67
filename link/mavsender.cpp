#include "mavsender.h"

#include "frameparser.h"
#include "mavlinksession.h"
#include "tickbudget.h"

#include <encoder.h>
#include <message_table.h>
#include <parser.h>

MavSender::MavSender(MavlinkSession &session, std::uint8_t system, std::uint8_t component)
    : m_session(session), m_system(system), m_component(component)
{
}

bool MavSender::sendPacked(mavlink_message_t &msg, TickBudget *budget)
{
    // Checked before the frame takes a sequence number, so that a frame held back leaves no gap.
    if (budget && !budget->take(wireLength(msg)))
        return false;
    const mavlink_msg_entry_t *entry = mavlink_get_msg_entry(msg.msgid);
    const std::uint8_t crcExtra = entry ? entry->crc_extra : 0;
    mavlink_finalize_message_buffer(&msg, m_system, m_component, &m_sequence, msg.len, msg.len,
                                    crcExtra);
    m_session.send(msg);
    return true;
}

ChannelSequenceGuard::ChannelSequenceGuard()
    : m_sequence(mavlink_get_channel_status()->current_tx_seq)
{
}

ChannelSequenceGuard::~ChannelSequenceGuard()
{
    mavlink_get_channel_status()->current_tx_seq = m_sequence;
}
