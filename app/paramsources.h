// Where the parameter client learns of the gimbals: each v2 gimbal device that the v2 link finds
// speaking for itself, and the sender of GIMBAL_REPORT. (Autopilots it finds by their heartbeats
// itself.)
#pragma once

class GimbalV2Link;
class MavlinkSession;
class ParamClient;

void feedParamComponents(ParamClient &client, GimbalV2Link &v2, MavlinkSession &session);
