// Records shared by the whole codec: the message record, the link's channel status, the
// parse states and framing results, and the CRC step.
#pragma once

#include <cstdint>

#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ != __ORDER_LITTLE_ENDIAN__
#error "The codec copies little-endian wire fields straight into memory"
#endif

constexpr std::uint8_t MAVLINK_STX = 0xFD;
constexpr std::uint8_t MAVLINK_STX_MAVLINK1 = 0xFE;
constexpr std::uint8_t MAVLINK_IFLAG_SIGNED = 0x01;
constexpr std::uint8_t MAVLINK_STATUS_FLAG_IN_MAVLINK1 = 0x01;
constexpr std::uint8_t MAVLINK_SIGNATURE_BLOCK_LEN = 13;
constexpr std::uint8_t MAVLINK_NUM_HEADER_BYTES = 10;
constexpr std::uint8_t MAVLINK_NUM_CHECKSUM_BYTES = 2;
constexpr std::uint16_t MAVLINK_MAX_PACKET_LEN =
    255 + MAVLINK_NUM_HEADER_BYTES + MAVLINK_NUM_CHECKSUM_BYTES + MAVLINK_SIGNATURE_BLOCK_LEN;

#pragma pack(push, 1)
struct mavlink_message_t
{
    std::uint16_t checksum;
    std::uint8_t magic;
    std::uint8_t len;
    std::uint8_t incompat_flags;
    std::uint8_t compat_flags;
    std::uint8_t seq;
    std::uint8_t sysid;
    std::uint8_t compid;
    std::uint32_t msgid; // 24 bits used
    // 255 payload bytes and the two CRC bytes, rounded up to 33 64-bit words.
    std::uint8_t payload[33 * 8];
    std::uint8_t ck[2];
    std::uint8_t signature[MAVLINK_SIGNATURE_BLOCK_LEN];
};
#pragma pack(pop)

enum mavlink_parse_state_t : std::uint8_t {
    MAVLINK_PARSE_STATE_UNINIT = 0,
    MAVLINK_PARSE_STATE_IDLE,
    MAVLINK_PARSE_STATE_GOT_STX,
    MAVLINK_PARSE_STATE_GOT_LENGTH,
    MAVLINK_PARSE_STATE_GOT_INCOMPAT_FLAGS,
    MAVLINK_PARSE_STATE_GOT_COMPAT_FLAGS,
    MAVLINK_PARSE_STATE_GOT_SEQ,
    MAVLINK_PARSE_STATE_GOT_SYSID,
    MAVLINK_PARSE_STATE_GOT_COMPID,
    MAVLINK_PARSE_STATE_GOT_MSGID1,
    MAVLINK_PARSE_STATE_GOT_MSGID2,
    MAVLINK_PARSE_STATE_GOT_MSGID3,
    MAVLINK_PARSE_STATE_GOT_PAYLOAD,
    MAVLINK_PARSE_STATE_GOT_CRC1,
    MAVLINK_PARSE_STATE_GOT_BAD_CRC1,
    MAVLINK_PARSE_STATE_SIGNATURE_WAIT,
};

enum mavlink_framing_t : std::uint8_t {
    MAVLINK_FRAMING_INCOMPLETE = 0,
    MAVLINK_FRAMING_OK = 1,
    MAVLINK_FRAMING_BAD_CRC = 2,
};

struct mavlink_status_t
{
    mavlink_parse_state_t parse_state;
    std::uint8_t packet_idx;
    std::uint8_t current_tx_seq;
    std::uint8_t flags;
    std::uint8_t signature_wait;
};

namespace mavlink_detail {
// CRC-16/MCRF4XX, one table row per value of the low byte XOR the input byte. The table holds
// exactly what the bitwise step below computes, so both give the same function.
constexpr std::uint16_t crc_step_bitwise(std::uint8_t byte, std::uint16_t crc)
{
    std::uint8_t tmp = byte ^ static_cast<std::uint8_t>(crc & 0xFF);
    tmp = static_cast<std::uint8_t>(tmp ^ (tmp << 4));
    return static_cast<std::uint16_t>((crc >> 8) ^ (tmp << 8) ^ (tmp << 3) ^ (tmp >> 4));
}

struct CrcTable
{
    std::uint16_t row[256];
};

constexpr CrcTable make_crc_table()
{
    CrcTable t{};
    for (int i = 0; i < 256; ++i)
        t.row[i] = crc_step_bitwise(static_cast<std::uint8_t>(i), 0);
    return t;
}

inline constexpr CrcTable crc_table = make_crc_table();
} // namespace mavlink_detail

// One step of the MAVLink checksum (seed 0xFFFF, no final XOR): returns the CRC after `byte`.
constexpr std::uint16_t crc_accumulate(std::uint8_t byte, std::uint16_t crc)
{
    return static_cast<std::uint16_t>(
        (crc >> 8) ^ mavlink_detail::crc_table.row[static_cast<std::uint8_t>(byte ^ crc)]);
}

constexpr std::uint16_t MAVLINK_CRC_SEED = 0xFFFF;
