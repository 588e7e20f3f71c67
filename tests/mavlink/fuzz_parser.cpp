// Arbitrary bytes into the link's parser. It may only ever answer OK or INCOMPLETE, an OK message
// must carry a CRC that really matches its bytes, and the sanitizers watch every index. The same
// bytes go in chunks through the chunk parser on a channel of its own, which must end the same
// frames on the same bytes.
#include "message_table.h"
#include "parser.h"

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {
// Sees the same bytes as the link's channel from the same start, so its status must match.
mavlink_message_t chunk_rx;
mavlink_status_t chunk_status;

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

// What a caller may read of a good frame: header, payload with its zero fill, CRC, and the
// signature of a signed frame. The rest holds leftovers of earlier frames.
bool sameFrame(const mavlink_message_t &a, const mavlink_message_t &b)
{
    const mavlink_msg_entry_t *entry = mavlink_get_msg_entry(a.msgid);
    const std::size_t payload = std::max<std::size_t>(a.len, entry ? entry->max_msg_len : 0);
    return std::memcmp(&a, &b, offsetof(mavlink_message_t, payload) + payload) == 0 &&
           std::memcmp(a.ck, b.ck, sizeof a.ck) == 0 &&
           (!(a.incompat_flags & MAVLINK_IFLAG_SIGNED) ||
            std::memcmp(a.signature, b.signature, sizeof a.signature) == 0);
}

// The byte that ended a frame, how it ended, and the frame if it was good.
struct Ending
{
    std::size_t at;
    std::uint8_t result;
    mavlink_message_t msg;

    bool operator==(const Ending &o) const
    {
        return at == o.at && result == o.result &&
               (result != MAVLINK_FRAMING_OK || sameFrame(msg, o.msg));
    }
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    // Each input starts between frames so that a finding replays on its own.
    mavlink_status_t *link = mavlink_get_channel_status();
    link->parse_state = MAVLINK_PARSE_STATE_IDLE;
    chunk_status.parse_state = MAVLINK_PARSE_STATE_IDLE;
    std::vector<Ending> byteEnds;
    mavlink_message_t msg;
    for (std::size_t i = 0; i < size; ++i) {
        const mavlink_parse_state_t before = link->parse_state;
        const std::uint8_t result = mavlink_parse_char(data[i], &msg);
        if (result == MAVLINK_FRAMING_INCOMPLETE) {
            // The link drops a bad frame unreported on its last CRC byte.
            if ((before == MAVLINK_PARSE_STATE_GOT_CRC1 ||
                 before == MAVLINK_PARSE_STATE_GOT_BAD_CRC1) &&
                link->parse_state != MAVLINK_PARSE_STATE_SIGNATURE_WAIT)
                byteEnds.push_back({i, MAVLINK_FRAMING_BAD_CRC, msg});
            continue;
        }
        if (result != MAVLINK_FRAMING_OK)
            std::abort();
        const std::uint16_t crc = crcOf(msg);
        if (msg.checksum != crc || msg.ck[0] != (crc & 0xFF) || msg.ck[1] != (crc >> 8))
            std::abort();
        if (msg.magic != MAVLINK_STX && msg.magic != MAVLINK_STX_MAVLINK1)
            std::abort();
        byteEnds.push_back({i, result, msg});
    }

    // Reads of two sizes in turn, both taken from the first byte.
    std::vector<Ending> chunkEnds;
    const std::uint8_t shape = size ? data[0] : 0;
    const std::size_t reads[2] = {1u + (shape & 0x0Fu), 1u + (shape >> 4) * 17u};
    for (std::size_t at = 0, turn = 0; at < size; turn ^= 1) {
        const std::size_t end = std::min(size, at + reads[turn]);
        while (at < end) {
            std::uint8_t result;
            const std::size_t n =
                mavlink_frame_chunk(&chunk_rx, &chunk_status, data + at, end - at, &msg, &result);
            if (n == 0 || n > end - at || (result == MAVLINK_FRAMING_INCOMPLETE && n != end - at))
                std::abort();
            at += n;
            if (result != MAVLINK_FRAMING_INCOMPLETE)
                chunkEnds.push_back({at - 1, result, msg});
        }
    }
    if (chunkEnds != byteEnds || std::memcmp(&chunk_status, link, sizeof chunk_status) != 0)
        std::abort();
    return 0;
}
