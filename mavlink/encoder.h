// The MAVLink 2 frame encoder: finalising a packed message record and writing its bytes.
#pragma once

#include "mavlink_types.h"

// Sets the header, trims trailing zero payload bytes, takes the next transmit sequence from
// `status` and computes the CRC. `min_length` belongs to the message API and does not change a
// MAVLink 2 frame. Returns the frame length.
std::uint16_t mavlink_finalize_message_buffer(mavlink_message_t *msg, std::uint8_t system_id,
                                              std::uint8_t component_id, mavlink_status_t *status,
                                              std::uint8_t min_length, std::uint8_t length,
                                              std::uint8_t crc_extra);

// Writes the frame of a finalised record into `buf` (room for MAVLINK_MAX_PACKET_LEN bytes).
// Returns the number of bytes written.
std::uint16_t mavlink_msg_to_send_buffer(std::uint8_t *buf, const mavlink_message_t *msg);
