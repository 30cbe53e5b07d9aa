#pragma once
// Frame timing on SDL's millisecond tick counter. Main thread only.

namespace lumo {

/// Frames over which calcFPS averages.
extern int fpsResolution;

/// SDL_GetTicks().
unsigned int getCurrentTicks();
/// Milliseconds since the previous call (wraps with the 32-bit counter); shared by all callers.
unsigned int getElapsedTicks();
/// Frames per second averaged over blocks of fpsResolution frames; 0 until the first block is
/// complete. A block whose ticks sum to 0 counts as 1 ms (the counter's resolution) and reports
/// fpsResolution * 1000.
int calcFPS(int ticks);

}  // namespace lumo
