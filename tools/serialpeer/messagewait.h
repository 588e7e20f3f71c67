// Reads every message that arrives at the far end of a pseudo-terminal and waits for the ones a
// test looks for, whatever else comes in between (heartbeats, other commands).
#pragma once

#include "framereader.h"

#include <functional>
#include <vector>

class PseudoTerminal;

class MessageWait
{
public:
    using Match = std::function<bool(const mavlink_message_t &)>;

    explicit MessageWait(PseudoTerminal &pty) : m_pty(pty) {}

    // Runs the event loop until `count` messages that `match` have arrived since the last call
    // (or skip()), or `timeoutMs` has passed; returns those that came, in order. `seen`, when
    // given, gets every message that arrived meanwhile.
    std::vector<mavlink_message_t> waitFor(const Match &match, int count = 1, int timeoutMs = 3000,
                                           std::vector<mavlink_message_t> *seen = nullptr);
    // Forgets what has arrived so far.
    void skip();

private:
    PseudoTerminal &m_pty;
    FrameReader m_reader;
    std::vector<mavlink_message_t> m_early;
};
