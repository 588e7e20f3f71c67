#include "sdlpad.h"

// The tool has its own main(); SDL must not take it over.
#define SDL_MAIN_HANDLED
#include <SDL.h>

namespace {
double axis(SDL_GameController *pad, SDL_GameControllerAxis which)
{
    // -32768 .. 32767; the negative side has one step more.
    const Sint16 value = SDL_GameControllerGetAxis(pad, which);
    return value < 0 ? value / 32768.0 : value / 32767.0;
}
} // namespace

SdlPad::SdlPad()
{
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // A pad stays in use while another window has the focus: its sticks are read, not missed.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    m_available = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
    if (m_available)
        openFirstAttached();
}

SdlPad::~SdlPad()
{
    if (m_pad)
        SDL_GameControllerClose(m_pad);
    if (m_available)
        SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

bool SdlPad::poll()
{
    if (!m_available)
        return false;
    bool changed = false;
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        if (event.type == SDL_CONTROLLERDEVICEADDED && !m_pad) {
            m_pad = SDL_GameControllerOpen(event.cdevice.which);
            changed = m_pad != nullptr;
        } else if (event.type == SDL_CONTROLLERDEVICEREMOVED && m_pad &&
                   event.cdevice.which ==
                       SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(m_pad))) {
            SDL_GameControllerClose(m_pad);
            m_pad = nullptr;
            openFirstAttached();
            changed = true;
        }
    }
    return changed;
}

void SdlPad::openFirstAttached()
{
    for (int index = 0; index < SDL_NumJoysticks() && !m_pad; ++index) {
        if (SDL_IsGameController(index))
            m_pad = SDL_GameControllerOpen(index);
    }
}

std::string SdlPad::name() const
{
    const char *name = m_pad ? SDL_GameControllerName(m_pad) : nullptr;
    return name ? name : (m_pad ? "gamepad" : "");
}

Deflection SdlPad::deflection() const
{
    if (!m_pad)
        return {};
    return {axis(m_pad, SDL_CONTROLLER_AXIS_RIGHTX), -axis(m_pad, SDL_CONTROLLER_AXIS_RIGHTY),
            axis(m_pad, SDL_CONTROLLER_AXIS_LEFTX)};
}
