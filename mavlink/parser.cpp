// The receive state machine. One byte in, at most one complete message out; constant work per
// byte except the catalogue lookup and the zero fill at the first CRC byte.
#include "parser.h"

#include "message_table.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace {
mavlink_message_t channel_buffer;
mavlink_status_t channel_status;

void start_frame(mavlink_message_t *rxmsg, mavlink_status_t *status, std::uint8_t magic)
{
    rxmsg->magic = magic;
    rxmsg->len = 0;
    if (magic == MAVLINK_STX_MAVLINK1)
        status->flags |= MAVLINK_STATUS_FLAG_IN_MAVLINK1;
    else
        status->flags &= static_cast<std::uint8_t>(~MAVLINK_STATUS_FLAG_IN_MAVLINK1);
    rxmsg->checksum = MAVLINK_CRC_SEED;
    status->parse_state = MAVLINK_PARSE_STATE_GOT_STX;
}

void accumulate(mavlink_message_t *rxmsg, std::uint8_t c)
{
    rxmsg->checksum = crc_accumulate(c, rxmsg->checksum);
}

bool in_mavlink1(const mavlink_status_t *status)
{
    return status->flags & MAVLINK_STATUS_FLAG_IN_MAVLINK1;
}

mavlink_parse_state_t after_msgid(std::uint8_t len)
{
    return len > 0 ? MAVLINK_PARSE_STATE_GOT_MSGID3 : MAVLINK_PARSE_STATE_GOT_PAYLOAD;
}

// Hands over what the frame defines: the header, the payload with its zero fill (packet_idx bytes
// once the payload is complete), the CRC and, when signed, the signature. The rest of `r_message`
// keeps leftovers of earlier frames, as `rxmsg` does: copying the whole record, 291 bytes for a
// gimbal manager's 23-byte status, was a large share of the parse of such short frames.
void deliver(const mavlink_message_t *rxmsg, const mavlink_status_t *status,
             mavlink_message_t *r_message)
{
    std::memcpy(r_message, rxmsg, offsetof(mavlink_message_t, payload) + status->packet_idx);
    std::memcpy(r_message->ck, rxmsg->ck, sizeof rxmsg->ck);
    if (rxmsg->incompat_flags & MAVLINK_IFLAG_SIGNED)
        std::memcpy(r_message->signature, rxmsg->signature, sizeof rxmsg->signature);
}

// Only a MAVLink 2 start byte that ended a bad frame is taken as the start of the next.
void restart_after_bad_crc(mavlink_message_t *rxmsg, mavlink_status_t *status, std::uint8_t c)
{
    status->parse_state = MAVLINK_PARSE_STATE_IDLE;
    if (c == MAVLINK_STX)
        start_frame(rxmsg, status, c);
}

// The fields that change with every byte. The chunk parser keeps them in registers: through the
// records, each byte would wait for the store of the one before.
struct Running
{
    mavlink_parse_state_t state;
    std::uint16_t crc;
    std::uint8_t idx;
    std::uint8_t len;
};

Running load(const mavlink_message_t *rxmsg, const mavlink_status_t *status)
{
    return {status->parse_state, rxmsg->checksum, status->packet_idx, rxmsg->len};
}

void store(const Running &run, mavlink_message_t *rxmsg, mavlink_status_t *status)
{
    status->parse_state = run.state;
    rxmsg->checksum = run.crc;
    status->packet_idx = run.idx;
    rxmsg->len = run.len;
}

bool is_start_byte(std::uint8_t c)
{
    return c == MAVLINK_STX || c == MAVLINK_STX_MAVLINK1;
}
} // namespace

mavlink_status_t *mavlink_get_channel_status()
{
    return &channel_status;
}

void mavlink_reset_receive()
{
    channel_status.parse_state = MAVLINK_PARSE_STATE_IDLE;
    channel_status.packet_idx = 0;
    channel_status.signature_wait = 0;
}

std::uint8_t mavlink_frame_char_buffer(mavlink_message_t *rxmsg, mavlink_status_t *status,
                                       std::uint8_t c, mavlink_message_t *r_message)
{
    std::uint8_t result = MAVLINK_FRAMING_INCOMPLETE;

    switch (status->parse_state) {
    case MAVLINK_PARSE_STATE_UNINIT:
    case MAVLINK_PARSE_STATE_IDLE:
        if (c == MAVLINK_STX || c == MAVLINK_STX_MAVLINK1)
            start_frame(rxmsg, status, c);
        break;

    case MAVLINK_PARSE_STATE_GOT_STX:
        rxmsg->len = c;
        status->packet_idx = 0;
        accumulate(rxmsg, c);
        if (in_mavlink1(status)) {
            rxmsg->incompat_flags = 0;
            rxmsg->compat_flags = 0;
            status->parse_state = MAVLINK_PARSE_STATE_GOT_COMPAT_FLAGS;
        } else {
            status->parse_state = MAVLINK_PARSE_STATE_GOT_LENGTH;
        }
        break;

    case MAVLINK_PARSE_STATE_GOT_LENGTH:
        rxmsg->incompat_flags = c;
        if (c & ~MAVLINK_IFLAG_SIGNED) {
            // A feature this link does not understand: the frame cannot be read.
            status->parse_state = MAVLINK_PARSE_STATE_IDLE;
            break;
        }
        accumulate(rxmsg, c);
        status->parse_state = MAVLINK_PARSE_STATE_GOT_INCOMPAT_FLAGS;
        break;

    case MAVLINK_PARSE_STATE_GOT_INCOMPAT_FLAGS:
        rxmsg->compat_flags = c;
        accumulate(rxmsg, c);
        status->parse_state = MAVLINK_PARSE_STATE_GOT_COMPAT_FLAGS;
        break;

    case MAVLINK_PARSE_STATE_GOT_COMPAT_FLAGS:
        rxmsg->seq = c;
        accumulate(rxmsg, c);
        status->parse_state = MAVLINK_PARSE_STATE_GOT_SEQ;
        break;

    case MAVLINK_PARSE_STATE_GOT_SEQ:
        rxmsg->sysid = c;
        accumulate(rxmsg, c);
        status->parse_state = MAVLINK_PARSE_STATE_GOT_SYSID;
        break;

    case MAVLINK_PARSE_STATE_GOT_SYSID:
        rxmsg->compid = c;
        accumulate(rxmsg, c);
        status->parse_state = MAVLINK_PARSE_STATE_GOT_COMPID;
        break;

    case MAVLINK_PARSE_STATE_GOT_COMPID:
        rxmsg->msgid = c;
        accumulate(rxmsg, c);
        status->parse_state =
            in_mavlink1(status) ? after_msgid(rxmsg->len) : MAVLINK_PARSE_STATE_GOT_MSGID1;
        break;

    case MAVLINK_PARSE_STATE_GOT_MSGID1:
        rxmsg->msgid |= static_cast<std::uint32_t>(c) << 8;
        accumulate(rxmsg, c);
        status->parse_state = MAVLINK_PARSE_STATE_GOT_MSGID2;
        break;

    case MAVLINK_PARSE_STATE_GOT_MSGID2:
        rxmsg->msgid |= static_cast<std::uint32_t>(c) << 16;
        accumulate(rxmsg, c);
        status->parse_state = after_msgid(rxmsg->len);
        break;

    case MAVLINK_PARSE_STATE_GOT_MSGID3:
        rxmsg->payload[status->packet_idx++] = c;
        accumulate(rxmsg, c);
        if (status->packet_idx == rxmsg->len)
            status->parse_state = MAVLINK_PARSE_STATE_GOT_PAYLOAD;
        break;

    case MAVLINK_PARSE_STATE_GOT_PAYLOAD: {
        const mavlink_msg_entry_t *entry = mavlink_get_msg_entry(rxmsg->msgid);
        accumulate(rxmsg, entry ? entry->crc_extra : 0);
        rxmsg->ck[0] = c;
        // A sender may drop trailing zero bytes; the missing ones read as zero.
        if (entry && status->packet_idx < entry->max_msg_len) {
            std::memset(rxmsg->payload + status->packet_idx, 0,
                        entry->max_msg_len - status->packet_idx);
            status->packet_idx = entry->max_msg_len;
        }
        status->parse_state = c == (rxmsg->checksum & 0xFF) ? MAVLINK_PARSE_STATE_GOT_CRC1
                                                            : MAVLINK_PARSE_STATE_GOT_BAD_CRC1;
        break;
    }

    case MAVLINK_PARSE_STATE_GOT_CRC1:
    case MAVLINK_PARSE_STATE_GOT_BAD_CRC1:
        rxmsg->ck[1] = c;
        result =
            status->parse_state == MAVLINK_PARSE_STATE_GOT_BAD_CRC1 || c != (rxmsg->checksum >> 8)
                ? MAVLINK_FRAMING_BAD_CRC
                : MAVLINK_FRAMING_OK;
        if (rxmsg->incompat_flags & MAVLINK_IFLAG_SIGNED) {
            // The message is complete only with its signature block.
            status->signature_wait = MAVLINK_SIGNATURE_BLOCK_LEN;
            if (result == MAVLINK_FRAMING_OK)
                result = MAVLINK_FRAMING_INCOMPLETE;
            status->parse_state = MAVLINK_PARSE_STATE_SIGNATURE_WAIT;
        } else {
            deliver(rxmsg, status, r_message);
            status->parse_state = MAVLINK_PARSE_STATE_IDLE;
        }
        break;

    case MAVLINK_PARSE_STATE_SIGNATURE_WAIT:
        // The link holds no signing key: the signature is kept, not verified.
        rxmsg->signature[(MAVLINK_SIGNATURE_BLOCK_LEN - status->signature_wait) %
                         MAVLINK_SIGNATURE_BLOCK_LEN] = c;
        if (--status->signature_wait == 0) {
            result = MAVLINK_FRAMING_OK;
            deliver(rxmsg, status, r_message);
            status->parse_state = MAVLINK_PARSE_STATE_IDLE;
        }
        break;
    }
    return result;
}

std::uint8_t mavlink_parse_char(std::uint8_t c, mavlink_message_t *r_message)
{
    const std::uint8_t result =
        mavlink_frame_char_buffer(&channel_buffer, &channel_status, c, r_message);
    if (result != MAVLINK_FRAMING_BAD_CRC)
        return result;
    restart_after_bad_crc(&channel_buffer, &channel_status, c);
    return MAVLINK_FRAMING_INCOMPLETE;
}

std::size_t mavlink_frame_chunk(mavlink_message_t *rxmsg, mavlink_status_t *status,
                                const std::uint8_t *buf, std::size_t len,
                                mavlink_message_t *r_message, std::uint8_t *result)
{
    const std::uint8_t *p = buf;
    const std::uint8_t *const end = buf + len;
    Running run = load(rxmsg, status);
    // A header byte: into the CRC, then on to `next`.
    auto take = [&p, &run](mavlink_parse_state_t next) {
        const std::uint8_t c = *p++;
        run.crc = crc_accumulate(c, run.crc);
        run.state = next;
        return c;
    };

    *result = MAVLINK_FRAMING_INCOMPLETE;
    while (p != end) {
        switch (run.state) {
        case MAVLINK_PARSE_STATE_UNINIT:
        case MAVLINK_PARSE_STATE_IDLE:
            p = std::find_if(p, end, is_start_byte);
            if (p != end) {
                store(run, rxmsg, status);
                start_frame(rxmsg, status, *p++);
                run = load(rxmsg, status);
            }
            break;

        case MAVLINK_PARSE_STATE_GOT_STX:
            run.idx = 0;
            if (in_mavlink1(status)) {
                run.len = take(MAVLINK_PARSE_STATE_GOT_COMPAT_FLAGS);
                rxmsg->incompat_flags = 0;
                rxmsg->compat_flags = 0;
            } else {
                run.len = take(MAVLINK_PARSE_STATE_GOT_LENGTH);
            }
            break;

        case MAVLINK_PARSE_STATE_GOT_LENGTH:
            rxmsg->incompat_flags = *p;
            if (*p & ~MAVLINK_IFLAG_SIGNED) {
                // A feature this link does not understand: the byte is spent, nothing reported.
                ++p;
                run.state = MAVLINK_PARSE_STATE_IDLE;
            } else {
                take(MAVLINK_PARSE_STATE_GOT_INCOMPAT_FLAGS);
            }
            break;

        case MAVLINK_PARSE_STATE_GOT_INCOMPAT_FLAGS:
            rxmsg->compat_flags = take(MAVLINK_PARSE_STATE_GOT_COMPAT_FLAGS);
            break;
        case MAVLINK_PARSE_STATE_GOT_COMPAT_FLAGS:
            rxmsg->seq = take(MAVLINK_PARSE_STATE_GOT_SEQ);
            break;
        case MAVLINK_PARSE_STATE_GOT_SEQ:
            rxmsg->sysid = take(MAVLINK_PARSE_STATE_GOT_SYSID);
            break;
        case MAVLINK_PARSE_STATE_GOT_SYSID:
            rxmsg->compid = take(MAVLINK_PARSE_STATE_GOT_COMPID);
            break;
        case MAVLINK_PARSE_STATE_GOT_COMPID:
            rxmsg->msgid =
                take(in_mavlink1(status) ? after_msgid(run.len) : MAVLINK_PARSE_STATE_GOT_MSGID1);
            break;
        case MAVLINK_PARSE_STATE_GOT_MSGID1:
            rxmsg->msgid |= static_cast<std::uint32_t>(take(MAVLINK_PARSE_STATE_GOT_MSGID2)) << 8;
            break;
        case MAVLINK_PARSE_STATE_GOT_MSGID2:
            rxmsg->msgid |= static_cast<std::uint32_t>(take(after_msgid(run.len))) << 16;
            break;

        case MAVLINK_PARSE_STATE_GOT_MSGID3: {
            // The bulk of a frame: one loop that carries nothing but the CRC and stores each byte
            // beside it, free while the CRC waits on its table. A memcpy before the loop became a
            // string move whose start-up cost was a third of the chunk parse of a gimbal
            // manager's short frames.
            const auto n = static_cast<std::uint8_t>(
                std::min<std::size_t>(run.len - run.idx, static_cast<std::size_t>(end - p)));
            std::uint8_t *out = rxmsg->payload + run.idx;
            std::uint16_t crc = run.crc;
            for (const std::uint8_t *stop = p + n; p != stop; ++p) {
                *out++ = *p;
                crc = crc_accumulate(*p, crc);
            }
            run.crc = crc;
            run.idx = static_cast<std::uint8_t>(run.idx + n);
            if (run.idx == run.len)
                run.state = MAVLINK_PARSE_STATE_GOT_PAYLOAD;
            break;
        }

        case MAVLINK_PARSE_STATE_GOT_PAYLOAD:
        case MAVLINK_PARSE_STATE_GOT_CRC1:
        case MAVLINK_PARSE_STATE_GOT_BAD_CRC1:
        case MAVLINK_PARSE_STATE_SIGNATURE_WAIT: {
            // The CRC and signature bytes, a few per frame: through the byte parser, so that a
            // frame ends exactly as it does there.
            const std::uint8_t c = *p++;
            store(run, rxmsg, status);
            const std::uint8_t r = mavlink_frame_char_buffer(rxmsg, status, c, r_message);
            if (r == MAVLINK_FRAMING_BAD_CRC)
                restart_after_bad_crc(rxmsg, status, c);
            if (r != MAVLINK_FRAMING_INCOMPLETE) {
                *result = r;
                return static_cast<std::size_t>(p - buf);
            }
            run = load(rxmsg, status);
            break;
        }
        }
    }
    store(run, rxmsg, status);
    return len;
}

std::size_t mavlink_parse_chunk(const std::uint8_t *buf, std::size_t len,
                                mavlink_message_t *r_message, std::uint8_t *result)
{
    return mavlink_frame_chunk(&channel_buffer, &channel_status, buf, len, r_message, result);
}
