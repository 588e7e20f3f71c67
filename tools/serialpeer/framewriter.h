// Frames messages the way a gimbal sends them, as MAVLink 1 or MAVLink 2, with a transmit
// sequence of its own.
#pragma once

#include <mavlink_types.h>

#include <QByteArray>

class FrameWriter
{
public:
    explicit FrameWriter(int mavlinkVersion = 2, std::uint8_t sysid = 1, std::uint8_t compid = 154);

    // The frame of message `msgid` with the first `length` bytes of `payload`. A MAVLink 2 frame
    // drops trailing zero bytes, a MAVLink 1 frame carries all of them.
    QByteArray frame(std::uint32_t msgid, const void *payload, std::uint8_t length);

    template <typename Record> QByteArray frame(std::uint32_t msgid, const Record &record)
    {
        return frame(msgid, &record, sizeof record);
    }

private:
    int m_version;
    std::uint8_t m_sysid;
    std::uint8_t m_compid;
    mavlink_status_t m_status{};
};
