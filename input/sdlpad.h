// A gamepad through SDL2's game-controller API. SDL runs no loop or thread of its own here: poll()
// takes its pending events (a pad plugged in or pulled out, axis moves), and the controller's
// tick calls it just before each command, so a pad's move goes out with the next command. The
// first pad that comes is used; when it goes, the next one still attached takes its place. SDL
// itself is loaded as the pad starts; where it is missing or fails there is no pad, and the pad
// says why.
#pragma once

#include "deflection.h"

#include <string>

struct _SDL_GameController;

class SdlPad
{
public:
    // Loads SDL and initialises its game controllers, without its signal handlers, which are the
    // tool's. The library is the system's SDL2, or the one that the environment variable
    // GIMBAL_SDL2_LIBRARY names (a path or a library name), for an SDL2 kept elsewhere.
    SdlPad();
    ~SdlPad();
    SdlPad(const SdlPad &) = delete;
    SdlPad &operator=(const SdlPad &) = delete;

    enum class Problem {
        None,
        // There is no SDL2 library to load.
        LibraryMissing,
        // The library loaded but did not work: error() says why.
        Failed,
    };
    // Why there is never a pad, if there is a reason.
    Problem problem() const { return m_problem; }
    // For Problem::Failed: the loader's or SDL's own words.
    std::string error() const { return m_error; }
    // Takes SDL's pending events. Returns true when the pad in use changed.
    bool poll();
    // The pad's name, empty without a pad.
    std::string name() const;
    // Right thumbstick: x and y (up positive); left thumbstick horizontal: z. 0 without a pad.
    Deflection deflection() const;

private:
    void openFirstAttached();

    Problem m_problem = Problem::None;
    std::string m_error;
    _SDL_GameController *m_pad = nullptr;
};
