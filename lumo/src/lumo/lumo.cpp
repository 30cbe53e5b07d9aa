#include "lumo/lumo.hpp"

#include <SDL.h>

#include <cstdlib>
#include <string>

#include "buildinfo/build_info.hpp"
#include "debug/log.hpp"
#include "debug/profiler.hpp"
#include "lumo/parachute.hpp"
#include "lumo/video.hpp"
#include "resources/background_task.hpp"

namespace lumo {

bool quitting = false;

void init(int systems, bool withParachute) {
    currentViewport = nullptr;
    debug::nameFrameworkGroups();
    debug::init();
    if (withParachute)
        installParachute();
    debug::info(dbgCore, "Lumo version %s.", getFullVersion().c_str());
    fullscreen = false;
    if (systems > 0) {
        // SDL's own parachute stays off: ours prints the message stack.
        if (SDL_Init(static_cast<Uint32>(systems) | SDL_INIT_NOPARACHUTE) < 0)
            throw std::string(SDL_GetError());
        SDL_EnableUNICODE(1);
    }
}

void cleanUp() {
    debug::debug(dbgCore, "Cleaning up.");
    SDL_ShowCursor(SDL_ENABLE);
    deleteBackgroundTasks();
}

void quit(int status) {
    if (!quitting) {
        quitting = true;
        debug::debug(dbgCore, "Quitting program.");
        cleanUp();
    } else {
        debug::warning(dbgCore, "Quit called again.");
    }
    SDL_Quit();
    std::exit(status);
}

}  // namespace lumo
