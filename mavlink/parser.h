// The frame parser for MAVLink 1 and 2 and the link's single receive channel.
#pragma once

#include "mavlink_types.h"

// The link's channel status: one for the whole process, beside one receive record, both zero at
// start-up and never reset. The encoder takes its transmit sequence from the same status.
mavlink_status_t *mavlink_get_channel_status();

// Forgets the frame in progress on the link's receive channel. Called whenever a port is opened,
// so that a frame cut off by a close, or by a device that vanished mid-frame, is not continued
// with the next port's bytes. The transmit sequence is left as it is.
void mavlink_reset_receive();

// Advances `status` by one byte, building the frame in `rxmsg`; copies the record to
// `r_message` when a frame completes. Returns a mavlink_framing_t value.
std::uint8_t mavlink_frame_char_buffer(mavlink_message_t *rxmsg, mavlink_status_t *status,
                                       std::uint8_t c, mavlink_message_t *r_message);

// Feeds one byte of the link. MAVLINK_FRAMING_OK exactly for the byte that completes a frame
// whose CRC matches; a bad frame is dropped and reported as MAVLINK_FRAMING_INCOMPLETE.
std::uint8_t mavlink_parse_char(std::uint8_t c, mavlink_message_t *r_message);
