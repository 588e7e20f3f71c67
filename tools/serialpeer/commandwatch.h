// Watches the far end of a pseudo-terminal for the controller's rate commands.
#pragma once

#include "framereader.h"

class PseudoTerminal;

class CommandWatch
{
public:
    explicit CommandWatch(PseudoTerminal &pty) : m_pty(pty) {}

    // Runs the event loop until a GIMBAL_CONTROL arrives as the controller sends it (from system
    // and component 0, to 1 and 1) whose three rates are within `tolerance` of x, y and z
    // (rad/s; 0 asks for the exact values). False after `timeoutMs`. `before`, when given, gets
    // the number of other commands that came first.
    bool waitFor(float x, float y, float z, float tolerance = 0.0f, int timeoutMs = 2000,
                 int *before = nullptr);
    // Forgets what has arrived so far, so that the next wait sees only later commands.
    void skip();

private:
    PseudoTerminal &m_pty;
    FrameReader m_reader;
};
