#include "lumo/video.hpp"

#include <GL/gl.h>

#include <chrono>
#include <string>

#include "debug/log.hpp"

namespace lumo {

SDL_Surface* screen = nullptr;
bool fullscreen = false;
long long lastSwapMicros = 0;
unsigned long swapCounter = 0;

namespace {
// Kept here rather than set straight into SDL because setResolution() sets every attribute
// afresh; enableDoubleBuffer() must survive that.
bool doubleBuffer = true;
}  // namespace

void setResolution(int width, int height, int bpp, bool full, int depth, int stencil) {
    const int channelBits = bpp / 4;
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, channelBits);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, channelBits);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, channelBits);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, channelBits);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, doubleBuffer ? 1 : 0);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, depth);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, stencil);
    // Where the driver honours this, the swap paces the application loop; elsewhere the loop
    // paces itself (framework/frame_pacer).
    SDL_GL_SetAttribute(SDL_GL_SWAP_CONTROL, 1);

    Uint32 flags = SDL_OPENGL;
    if (full)
        flags |= SDL_FULLSCREEN;
    SDL_Surface* surface = SDL_SetVideoMode(width, height, bpp, flags);
    if (!surface)
        throw std::string(SDL_GetError());
    screen = surface;

    const GLubyte* version = glGetString(GL_VERSION);
    debug::info(dbgCore, "Lumo is now using OpenGL version \"%s\".",
                version ? reinterpret_cast<const char*>(version) : "");

    vpScreen = Viewport(0, 0, static_cast<float>(width), static_cast<float>(height));
    vpScreen.apply();

    fullscreen = full;
    setClearColor(Color(0, 0, 0, 0));
}

void toggleFullscreen() {
    if (!SDL_WM_ToggleFullScreen(screen))
        throw std::string("Could not toggle fullscreen mode: ") + SDL_GetError();
    fullscreen = !fullscreen;
}

void setFullscreen(bool on) {
    if (on != fullscreen)
        toggleFullscreen();
}

void setWindowCaption(const char* title) {
    SDL_WM_SetCaption(title, title);
}

void showCursor(bool show) {
    SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE);
}

void enableDoubleBuffer(bool on) {
    doubleBuffer = on;
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, on ? 1 : 0);
}

void setClearColor(const Color& color) {
    glClearColor(color.r, color.g, color.b, color.a);
}

void clearScreen() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void flipScreen() {
    // Renderers that draw lazily (Mesa's software rasteriser) would do the whole frame's work
    // inside the swap; finishing first leaves only the copy and any wait for the display.
    glFinish();
    const auto start = std::chrono::steady_clock::now();
    SDL_GL_SwapBuffers();
    lastSwapMicros = std::chrono::duration_cast<std::chrono::microseconds>(
                         std::chrono::steady_clock::now() - start)
                         .count();
    ++swapCounter;
}

SDL_Joystick* initJoystick(int index) {
    return SDL_JoystickOpen(index);
}

void cleanUpJoystick(SDL_Joystick* joystick) {
    if (joystick)
        SDL_JoystickClose(joystick);
}

void resetCursor() {
    glLoadIdentity();
}

void moveCursor(const Vector2D& offset) {
    glTranslatef(offset.x, offset.y, 0.0f);
}

void moveCursor(const Vector3D& offset) {
    glTranslatef(offset.x, offset.y, offset.z);
}

void rotateCursor(float angle, const Vector3D& axis) {
    glRotatef(angle, axis.x, axis.y, axis.z);
}

}  // namespace lumo
