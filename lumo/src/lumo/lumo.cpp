#include "lumo/lumo.hpp"

#include <SDL.h>

#include <cstdlib>
#include <string>

#include "debug/log.hpp"
#include "debug/profiler.hpp"

namespace lumo {

bool quitting = false;

void init(int systems, bool /*debug*/) {
    currentViewport = nullptr;
    debug::nameFrameworkGroups();
    debug::init();
    debug::info(dbgCore, "Lumo version %s.", "0.0");
    if (systems > 0) {
        if (SDL_Init(static_cast<Uint32>(systems) | SDL_INIT_NOPARACHUTE) < 0)
            throw std::string(SDL_GetError());
        SDL_EnableUNICODE(1);
    }
}

void cleanUp() {
    debug::debug(dbgCore, "Cleaning up.");
    SDL_ShowCursor(SDL_ENABLE);
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
