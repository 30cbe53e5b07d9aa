#pragma once
// Saving the window or any software surface as a PNG file.

#include <SDL.h>

namespace lumo {

/// Writes the window's current read buffer (the back buffer before flipScreen()) to `filename`
/// as PNG. Main thread only. Throws SDL's error text when no surface can be made, "Out of
/// memory", or the messages of savePng().
void saveScreenshot(const char* filename);

/// Writes `surface` as an 8-bit RGBA PNG (Adam7-interlaced), converting each pixel through the
/// surface's format. Throws "Could not open file \"<name>\" for writing." when the file cannot be
/// opened, "Could not create libpng data structures." or "Could not set libpng error callback."
/// when libpng fails, and "Could not write file \"<name>\"." when the data cannot be flushed; a
/// regular file left partly written by a failure is removed. The surface is read unlocked, so it
/// must be a software surface.
void savePng(SDL_Surface* surface, const char* filename);

/// The raw pixel value at (x, y) of a software surface with 1 to 4 bytes per pixel (for 8-bit
/// surfaces the palette index). Other formats log a critical message and give 0. No bounds
/// checks.
Uint32 getPixel(SDL_Surface* surface, int x, int y);

}  // namespace lumo
