// How a keyboard or gamepad deflection becomes the one that is sent: a dead zone around the
// centre, an expo curve for fine control near it, and inversion, per axis.
#pragma once

struct Shaping
{
    // The share of the travel around the centre that gives 0.
    double deadZone = 0.10;
    // 0 linear; towards 1 the middle of the travel gives less and the ends the same.
    double expo = 0.0;
    bool inverted = false;
};

// `raw` lies in [-1, 1] (beyond is taken as full deflection). Inside the dead zone the result is
// 0; outside, the rest of the travel is stretched over the whole range, so that the result grows
// from 0 at the zone's edge to 1 at full deflection: d = (|raw| - deadZone) / (1 - deadZone).
// Then expo: (1 - expo) * d + expo * d³, with the sign of `raw`, negated when inverted.
double shape(double raw, const Shaping &shaping);
