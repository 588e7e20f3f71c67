#include "sdlpad.h"

// The tool has its own main(); SDL must not take it over.
#define SDL_MAIN_HANDLED
#include <SDL.h>

#include <QFile>
#include <QLibrary>

#include <type_traits>

namespace {
// SDL is loaded when the pad starts rather than linked: linked, it would bring its audio and
// display libraries into every start of the tool. Without it there is simply no pad.
struct Sdl
{
    decltype(&SDL_SetHint) setHint = nullptr;
    decltype(&SDL_InitSubSystem) initSubSystem = nullptr;
    decltype(&SDL_QuitSubSystem) quitSubSystem = nullptr;
    decltype(&SDL_PollEvent) pollEvent = nullptr;
    decltype(&SDL_NumJoysticks) numJoysticks = nullptr;
    decltype(&SDL_IsGameController) isGameController = nullptr;
    decltype(&SDL_GameControllerOpen) open = nullptr;
    decltype(&SDL_GameControllerClose) close = nullptr;
    decltype(&SDL_GameControllerGetJoystick) joystick = nullptr;
    decltype(&SDL_JoystickInstanceID) instanceId = nullptr;
    decltype(&SDL_GameControllerName) name = nullptr;
    decltype(&SDL_GameControllerGetAxis) axis = nullptr;
    decltype(&SDL_GetError) getError = nullptr;

    // Problem::None when the library is there with every function; for one without them (not
    // SDL2, or too old), the first function missing goes to `error`.
    SdlPad::Problem load(std::string &error)
    {
        const QString chosen = qEnvironmentVariable("GIMBAL_SDL2_LIBRARY");
#ifdef Q_OS_WIN
        QLibrary library(chosen.isEmpty() ? QStringLiteral("SDL2") : chosen);
#else
        QLibrary library;
        if (chosen.isEmpty())
            library.setFileNameAndVersion(QStringLiteral("SDL2-2.0"), 0);
        else
            library.setFileName(chosen);
#endif
        if (!library.load())
            return SdlPad::Problem::LibraryMissing;
        const auto resolve = [&library, &error](auto &function, const char *symbol) {
            function = reinterpret_cast<std::remove_reference_t<decltype(function)>>(
                library.resolve(symbol));
            if (!function)
                error = QFile::encodeName(library.fileName()).toStdString() +
                        ": undefined symbol " + symbol;
            return function != nullptr;
        };
        const bool complete =
            resolve(setHint, "SDL_SetHint") && resolve(initSubSystem, "SDL_InitSubSystem") &&
            resolve(quitSubSystem, "SDL_QuitSubSystem") && resolve(pollEvent, "SDL_PollEvent") &&
            resolve(numJoysticks, "SDL_NumJoysticks") &&
            resolve(isGameController, "SDL_IsGameController") &&
            resolve(open, "SDL_GameControllerOpen") && resolve(close, "SDL_GameControllerClose") &&
            resolve(joystick, "SDL_GameControllerGetJoystick") &&
            resolve(instanceId, "SDL_JoystickInstanceID") &&
            resolve(name, "SDL_GameControllerName") && resolve(axis, "SDL_GameControllerGetAxis") &&
            resolve(getError, "SDL_GetError");
        return complete ? SdlPad::Problem::None : SdlPad::Problem::Failed;
    }
};

Sdl sdl;

double axis(SDL_GameController *pad, SDL_GameControllerAxis which)
{
    // -32768 .. 32767; the negative side has one step more.
    const Sint16 value = sdl.axis(pad, which);
    return value < 0 ? value / 32768.0 : value / 32767.0;
}
} // namespace

SdlPad::SdlPad()
{
    m_problem = sdl.load(m_error);
    if (m_problem != Problem::None)
        return;
    sdl.setHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // A pad stays in use while another window has the focus: its sticks are read, not missed.
    sdl.setHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    if (sdl.initSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
        m_problem = Problem::Failed;
        m_error = sdl.getError();
        return;
    }
    openFirstAttached();
}

SdlPad::~SdlPad()
{
    if (m_pad)
        sdl.close(m_pad);
    if (m_problem == Problem::None)
        sdl.quitSubSystem(SDL_INIT_GAMECONTROLLER);
}

bool SdlPad::poll()
{
    if (m_problem != Problem::None)
        return false;
    bool changed = false;
    SDL_Event event;
    while (sdl.pollEvent(&event)) {
        if (event.type == SDL_CONTROLLERDEVICEADDED && !m_pad) {
            m_pad = sdl.open(event.cdevice.which);
            changed = m_pad != nullptr;
        } else if (event.type == SDL_CONTROLLERDEVICEREMOVED && m_pad &&
                   event.cdevice.which == sdl.instanceId(sdl.joystick(m_pad))) {
            sdl.close(m_pad);
            m_pad = nullptr;
            openFirstAttached();
            changed = true;
        }
    }
    return changed;
}

void SdlPad::openFirstAttached()
{
    for (int index = 0; index < sdl.numJoysticks() && !m_pad; ++index) {
        if (sdl.isGameController(index))
            m_pad = sdl.open(index);
    }
}

std::string SdlPad::name() const
{
    const char *name = m_pad ? sdl.name(m_pad) : nullptr;
    return name ? name : (m_pad ? "gamepad" : "");
}

Deflection SdlPad::deflection() const
{
    if (!m_pad)
        return {};
    return {axis(m_pad, SDL_CONTROLLER_AXIS_RIGHTX), -axis(m_pad, SDL_CONTROLLER_AXIS_RIGHTY),
            axis(m_pad, SDL_CONTROLLER_AXIS_LEFTX)};
}
