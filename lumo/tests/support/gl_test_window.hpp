#pragma once
// An 800 x 600 OpenGL window for tests that draw (run inside Xvfb), set up for 2D drawing one
// virtual unit per pixel with alpha blending, plus helpers to write test pictures and read
// pixels back.

#include <GL/gl.h>
#include <SDL.h>
#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <string>

#include "lumo/lumo.hpp"
#include "lumo/render_context.hpp"
#include "lumo/screenshot.hpp"
#include "lumo/video.hpp"

namespace lumo {
namespace testing {

typedef std::array<int, 4> Rgba;

/// Opens the window once per process; later calls only reset the drawing state: identity
/// model-view matrix, white colour, no texture bound, black background.
inline void openTestWindow() {
    static bool open = false;
    if (!open) {
        lumo::init(lumo::ssVideo, false);
        lumo::setResolution(800, 600, 32, false, 16, 0);
        open = true;
    }
    static RenderContext2D context(Vector2D(800, 600));
    context.blending = true;
    context.apply();
    glLoadIdentity();
    glColor4f(1, 1, 1, 1);
    glBindTexture(GL_TEXTURE_2D, 0);
    glDisable(GL_TEXTURE_2D);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
}

/// The colour of window pixel (x, y) in the buffer being drawn, y counted upwards.
inline Rgba pixelAt(int x, int y) {
    GLubyte p[4] = {0, 0, 0, 0};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
    return Rgba{p[0], p[1], p[2], p[3]};
}

/// The x translation of the current model-view matrix: where the pen stands.
inline float penX() {
    GLfloat m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    return m[12];
}
inline float penY() {
    GLfloat m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    return m[13];
}

/// Writes a w x h RGBA PNG whose pixel (x, y), rows counted from the top, is `colour(x, y)`.
inline void writePicture(const std::string& path, int w, int h,
                         const std::function<Rgba(int, int)>& colour) {
    SDL_Surface* s = SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 32, 0x000000FF, 0x0000FF00,
                                          0x00FF0000, 0xFF000000);
    ASSERT_NE(s, nullptr);
    for (int y = 0; y < h; ++y) {
        Uint32* row = reinterpret_cast<Uint32*>(static_cast<Uint8*>(s->pixels) + y * s->pitch);
        for (int x = 0; x < w; ++x) {
            Rgba c = colour(x, y);
            row[x] = SDL_MapRGBA(s->format, Uint8(c[0]), Uint8(c[1]), Uint8(c[2]), Uint8(c[3]));
        }
    }
    lumo::savePng(s, path.c_str());
    SDL_FreeSurface(s);
}

}  // namespace testing
}  // namespace lumo
