// How a component carries an integer parameter in the 4-byte float field of PARAM_VALUE and
// PARAM_SET, and which of the two ways a given component uses.
#pragma once

#include <QString>

#include <cstdint>
#include <optional>

enum class ParamEncoding {
    // The integer's own bytes copied into the field (a union): 5 reads as a tiny denormal.
    Bytewise,
    // The integer converted to a float: 5 becomes 5.0, so a 32-bit integer beyond 2^24 loses its
    // low bits on the way.
    CCast,
};

struct ParamEncodingChoice
{
    ParamEncoding encoding = ParamEncoding::Bytewise;
    // For the user, in the installed language: the encoding and what it was decided by.
    QString text;
};

// The encoding of a component: the one its AUTOPILOT_VERSION announces where it sent one
// (`capabilities`) that names one, else the one known for the autopilot and type of its heartbeat,
// else byte-wise, which is how the float field was laid out in the first place.
ParamEncodingChoice chooseParamEncoding(std::optional<std::uint64_t> capabilities,
                                        std::uint8_t autopilot, std::uint8_t type);
