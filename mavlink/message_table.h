// The catalogue of known message ids: the CRC seed byte and payload lengths of each.
#pragma once

#include <cstddef>
#include <cstdint>

struct mavlink_msg_entry_t
{
    std::uint32_t msgid;
    std::uint8_t crc_extra;
    std::uint8_t min_msg_len;
    std::uint8_t max_msg_len;
    std::uint8_t flags;
    std::uint8_t target_system_ofs;
    std::uint8_t target_component_ofs;
};

// The row for `msgid`, or nullptr when the id is not in the catalogue.
const mavlink_msg_entry_t *mavlink_get_msg_entry(std::uint32_t msgid);

// The whole table, sorted by msgid, for callers that walk every known message.
const mavlink_msg_entry_t *mavlink_msg_entries();
std::size_t mavlink_msg_entry_count();
