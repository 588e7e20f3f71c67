// The three rate axes that one input deflects, each in [-1, 1]: x and y the right stick's
// horizontal and vertical (up positive), z the left stick's horizontal.
#pragma once

#include <initializer_list>

struct Deflection
{
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
};

// The rule that joins the inputs, the same for every tick: on each axis the input deflected
// furthest wins (on a tie the one listed first), so that two inputs never add up past full
// deflection and with nothing held every axis is 0; then the speed limit (0.1 to 1) scales all
// three.
Deflection combine(std::initializer_list<Deflection> inputs, double speedLimit);
