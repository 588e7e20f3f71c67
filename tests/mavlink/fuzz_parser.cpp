// Arbitrary bytes into the link's parser. It may only ever answer OK or INCOMPLETE, an OK message
// must carry a CRC that really matches its bytes, and the sanitizers watch every index.
#include "message_table.h"
#include "parser.h"

#include <cstdlib>

namespace {
std::uint16_t crcOf(const mavlink_message_t &msg)
{
    std::uint16_t crc = MAVLINK_CRC_SEED;
    auto add = [&crc](std::uint32_t byte) {
        crc = crc_accumulate(static_cast<std::uint8_t>(byte), crc);
    };
    add(msg.len);
    if (msg.magic == MAVLINK_STX) {
        add(msg.incompat_flags);
        add(msg.compat_flags);
    }
    add(msg.seq);
    add(msg.sysid);
    add(msg.compid);
    add(msg.msgid);
    if (msg.magic == MAVLINK_STX) {
        add(msg.msgid >> 8);
        add(msg.msgid >> 16);
    }
    for (int i = 0; i < msg.len; ++i)
        add(msg.payload[i]);
    const mavlink_msg_entry_t *entry = mavlink_get_msg_entry(msg.msgid);
    add(entry ? entry->crc_extra : 0);
    return crc;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    // Each input starts between frames so that a finding replays on its own.
    mavlink_get_channel_status()->parse_state = MAVLINK_PARSE_STATE_IDLE;
    mavlink_message_t msg;
    for (std::size_t i = 0; i < size; ++i) {
        const std::uint8_t result = mavlink_parse_char(data[i], &msg);
        if (result == MAVLINK_FRAMING_INCOMPLETE)
            continue;
        if (result != MAVLINK_FRAMING_OK)
            std::abort();
        const std::uint16_t crc = crcOf(msg);
        if (msg.checksum != crc || msg.ck[0] != (crc & 0xFF) || msg.ck[1] != (crc >> 8))
            std::abort();
        if (msg.magic != MAVLINK_STX && msg.magic != MAVLINK_STX_MAVLINK1)
            std::abort();
    }
    return 0;
}
