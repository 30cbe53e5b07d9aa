#pragma once
// The OpenGL window and the little window and drawing state the rest of the framework needs.
// Main thread only: SDL 1.2 video and the OpenGL context belong to the thread that opened them.

#include <SDL.h>

#include "lumo/types.hpp"
#include "math/vector.hpp"

namespace lumo {

/// The window surface returned by SDL; owned by SDL; null before the first setResolution().
extern SDL_Surface* screen;
/// Whether the window is in full-screen mode.
extern bool fullscreen;

/// Opens (or re-opens) the OpenGL window: `bpp`/4 bits for each of red, green, blue and alpha,
/// double buffering (unless switched off by enableDoubleBuffer), `depth` depth bits, `stencil`
/// stencil bits, and swaps synchronised with the display. Sets `vpScreen` to the whole window,
/// applies it and clears the clear colour to transparent black. Throws SDL's error text when
/// the mode cannot be set; nothing changes then.
void setResolution(int width, int height, int bpp, bool fullscreen, int depth, int stencil);
/// Switches between window and full screen. Throws "Could not toggle fullscreen mode: " + SDL's
/// error when SDL cannot, leaving `fullscreen` as it was.
void toggleFullscreen();
/// Toggles only when `on` differs from the current mode; throws as toggleFullscreen().
void setFullscreen(bool on);
/// Sets the window title and the icon title.
void setWindowCaption(const char* title);
void showCursor(bool show);
/// Asks for a double-buffered window at the next setResolution() (the default) or not.
void enableDoubleBuffer(bool on);
void setClearColor(const Color& color);
/// Clears the colour and the depth buffer.
void clearScreen();
/// Finishes the drawing and swaps the buffers (waits for the display's refresh where the driver
/// honours the swap-control request). The swap alone is timed into lastSwapMicros.
void flipScreen();
/// Microseconds the latest flipScreen() spent in the swap itself, and the number of swaps so
/// far: the application loop tells from them whether the display paces it.
extern long long lastSwapMicros;
extern unsigned long swapCounter;

/// Opens SDL joystick `index`; null when it cannot be opened. The caller closes it with
/// cleanUpJoystick().
SDL_Joystick* initJoystick(int index);
void cleanUpJoystick(SDL_Joystick* joystick);

// The drawing position ("cursor") is the OpenGL model-view matrix.
/// Loads the identity matrix.
void resetCursor();
void moveCursor(const Vector2D& offset);
void moveCursor(const Vector3D& offset);
/// Rotates by `angle` degrees about `axis`.
void rotateCursor(float angle, const Vector3D& axis);

}  // namespace lumo
