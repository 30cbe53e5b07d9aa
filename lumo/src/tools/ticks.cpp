#include "tools/ticks.hpp"

#include <SDL.h>

namespace lumo {

int fpsResolution = 10;

namespace {
Uint32 previousTicks = 0;
int fpsSamples = 0;
int fpsTickSum = 0;
int fpsRate = 0;
}  // namespace

unsigned int getCurrentTicks() {
    return SDL_GetTicks();
}

unsigned int getElapsedTicks() {
    Uint32 now = SDL_GetTicks();
    Uint32 elapsed = now - previousTicks;
    previousTicks = now;
    return elapsed;
}

int calcFPS(int ticks) {
    ++fpsSamples;
    fpsTickSum += ticks;
    if (fpsResolution > 0 && fpsSamples >= fpsResolution) {
        fpsSamples -= fpsResolution;
        // A block too fast to measure in whole milliseconds counts as one millisecond, the
        // counter's resolution, instead of dividing by zero.
        int sum = fpsTickSum > 0 ? fpsTickSum : 1;
        fpsRate = static_cast<int>(fpsResolution * 1000.0 / sum + 0.5);
        fpsTickSum = 0;
    }
    return fpsRate;
}

}  // namespace lumo
