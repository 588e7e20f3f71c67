// Which frames of a recorded link the ground station sent. A telemetry log does not say which way
// a frame went (one writer marks it in bits of the time that others use for time), so it is told
// by what the frame is: what a ground station asks of a gimbal or an autopilot (rate and attitude
// commands, commands, parameter requests and changes) and a ground station's heartbeat.
#pragma once

struct mavlink_message_t;

bool isGroundStationFrame(const mavlink_message_t &msg);
