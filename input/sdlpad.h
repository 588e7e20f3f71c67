// A gamepad through SDL2's game-controller API. SDL runs no loop or thread of its own here: poll()
// takes its pending events (a pad plugged in or pulled out, axis moves), and the controller's
// tick calls it just before each command, so a pad's move goes out with the next command. The
// first pad that comes is used; when it goes, the next one still attached takes its place. SDL
// itself is loaded as the pad starts; where it is missing there is no pad.
#pragma once

#include "deflection.h"

#include <string>

struct _SDL_GameController;

class SdlPad
{
public:
    // Loads SDL and initialises its game controllers, without its signal handlers, which are the
    // tool's.
    SdlPad();
    ~SdlPad();
    SdlPad(const SdlPad &) = delete;
    SdlPad &operator=(const SdlPad &) = delete;

    // Whether SDL could be initialised; without it there is never a pad.
    bool available() const { return m_available; }
    // Takes SDL's pending events. Returns true when the pad in use changed.
    bool poll();
    // The pad's name, empty without a pad.
    std::string name() const;
    // Right thumbstick: x and y (up positive); left thumbstick horizontal: z. 0 without a pad.
    Deflection deflection() const;

private:
    void openFirstAttached();

    bool m_available = false;
    _SDL_GameController *m_pad = nullptr;
};
