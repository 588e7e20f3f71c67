// The frame parser for MAVLink 1 and 2 and the link's single receive channel.
#pragma once

#include "mavlink_types.h"

#include <cstddef>

// The link's channel status: one for the whole process, beside one receive record, both zero at
// start-up and never reset. The encoder takes its transmit sequence from the same status.
mavlink_status_t *mavlink_get_channel_status();

// Forgets the frame in progress on the link's receive channel. Called whenever a port is opened,
// so that a frame cut off by a close, or by a device that vanished mid-frame, is not continued
// with the next port's bytes. The transmit sequence is left as it is.
void mavlink_reset_receive();

// Advances `status` by one byte, building the frame in `rxmsg`; copies the frame to `r_message`
// when it completes: the header, the payload zero-filled to the message's full length, the CRC
// and any signature. Payload bytes beyond those keep what they held. Returns a mavlink_framing_t
// value.
std::uint8_t mavlink_frame_char_buffer(mavlink_message_t *rxmsg, mavlink_status_t *status,
                                       std::uint8_t c, mavlink_message_t *r_message);

// Feeds one byte of the link. MAVLINK_FRAMING_OK exactly for the byte that completes a frame
// whose CRC matches; a bad frame is dropped and reported as MAVLINK_FRAMING_INCOMPLETE.
std::uint8_t mavlink_parse_char(std::uint8_t c, mavlink_message_t *r_message);

// Feeds buf[0..len) to the receive channel (rxmsg, status) until a frame completes or the bytes
// run out, with the running state held in locals. Returns how many bytes were consumed.
// *result is MAVLINK_FRAMING_OK when a good frame completed (r_message holds it, as
// mavlink_frame_char_buffer would copy it), MAVLINK_FRAMING_BAD_CRC when a frame was dropped for
// its checksum (the restart rule of mavlink_parse_char has been applied), and
// MAVLINK_FRAMING_INCOMPLETE when all bytes were consumed without completing a frame.
std::size_t mavlink_frame_chunk(mavlink_message_t *rxmsg, mavlink_status_t *status,
                                const std::uint8_t *buf, std::size_t len,
                                mavlink_message_t *r_message, std::uint8_t *result);

// The same on the link's own receive channel (the one mavlink_parse_char uses).
std::size_t mavlink_parse_chunk(const std::uint8_t *buf, std::size_t len,
                                mavlink_message_t *r_message, std::uint8_t *result);
