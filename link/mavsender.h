// One identity of the tool on the link (a system and component id) with its own transmit
// sequence, so that each identity's frames count on unbroken whatever else the tool sends.
#pragma once

#include <mavlink_types.h>

#include <cstdint>

class MavlinkSession;
class TickBudget;

class MavSender
{
public:
    MavSender(MavlinkSession &session, std::uint8_t system, std::uint8_t component);

    std::uint8_t system() const { return m_system; }
    std::uint8_t component() const { return m_component; }

    // Packs a frame with `pack(mavlink_message_t *)`, one of the codec's pack functions, and
    // sends it under this identity. With a budget, only when the frame fits in it. True when it
    // was handed to the link (which may still drop it where the far end does not keep up), false
    // when the budget held it back.
    template <typename Pack> bool send(Pack pack, TickBudget *budget = nullptr);

private:
    bool sendPacked(mavlink_message_t &msg, TickBudget *budget);

    MavlinkSession &m_session;
    std::uint8_t m_system;
    std::uint8_t m_component;
    mavlink_status_t m_sequence{};
};

// The codec's pack functions number their frames from the link's own channel, whose sequence
// belongs to the report gimbal's rate commands; it is put back after packing.
class ChannelSequenceGuard
{
public:
    ChannelSequenceGuard();
    ~ChannelSequenceGuard();
    ChannelSequenceGuard(const ChannelSequenceGuard &) = delete;
    ChannelSequenceGuard &operator=(const ChannelSequenceGuard &) = delete;

private:
    std::uint8_t m_sequence;
};

template <typename Pack> bool MavSender::send(Pack pack, TickBudget *budget)
{
    mavlink_message_t msg;
    {
        const ChannelSequenceGuard guard;
        pack(&msg);
    }
    return sendPacked(msg, budget);
}
