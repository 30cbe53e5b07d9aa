// Opens an 800 x 600 OpenGL window, draws a few coloured quads in a 2D render context, saves the
// first frame as "window_demo.png" in the current directory and ends after two seconds, or
// earlier when the window is closed or Escape is pressed.

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "debug/log.hpp"
#include "lumo/lumo.hpp"
#include "lumo/render_context.hpp"
#include "lumo/screenshot.hpp"
#include "lumo/video.hpp"

namespace {

const int dbgDemo = 1;
const Uint32 runMilliseconds = 2000;

void quad(float x, float y, float w, float h, const lumo::Color& color) {
    color.apply();
    glBegin(GL_QUADS);
    glVertex2f(x, y);
    glVertex2f(x + w, y);
    glVertex2f(x + w, y + h);
    glVertex2f(x, y + h);
    glEnd();
}

void drawFrame(lumo::RenderContext2D& context, float seconds) {
    lumo::clearScreen();
    context.apply();
    lumo::resetCursor();
    quad(40, 40, 320, 240, lumo::Color(0.9f, 0.3f, 0.1f, 1));     // lower left
    quad(440, 320, 320, 240, lumo::Color(0.1f, 0.7f, 0.3f, 1));   // upper right
    quad(40, 320, 320, 240, lumo::Color(0.2f, 0.4f, 0.9f, 1));    // upper left
    quad(440, 40, 320, 240, lumo::Color(0.95f, 0.85f, 0.2f, 1));  // lower right
    // A translucent square turning about the centre: the cursor moves, then rotates.
    lumo::moveCursor(lumo::Vector2D(400, 300));
    lumo::rotateCursor(seconds * 90.0f, lumo::Vector3D(0, 0, 1));
    quad(-100, -100, 200, 200, lumo::Color(1, 1, 1, 0.5f));
    lumo::resetCursor();
}

}  // namespace

int main() {
    lumo::debug::groups[dbgDemo] = lumo::debug::Group("window_demo", lumo::debug::dlDebug);
    try {
        lumo::init(lumo::ssVideo, true);
        lumo::setWindowCaption("Lumo window demo");
        lumo::setResolution(800, 600, 32, false, 0, 0);
    } catch (const std::string& message) {
        std::fprintf(stderr, "window_demo: could not open an OpenGL window: %s\n", message.c_str());
        if (!std::getenv("DISPLAY"))
            std::fprintf(stderr,
                         "window_demo: no X display (DISPLAY is not set); run it from a desktop "
                         "session or under scripts/with-xvfb.sh.\n");
        lumo::quit(EXIT_FAILURE);
    }

    lumo::setClearColor(lumo::Color(0.05f, 0.05f, 0.15f, 1));
    lumo::RenderContext2D context(lumo::Vector2D(800, 600));
    context.blending = true;

    int status = EXIT_SUCCESS;
    bool shotTaken = false;
    int frames = 0;
    const Uint32 start = SDL_GetTicks();
    for (bool running = true; running && SDL_GetTicks() - start < runMilliseconds;) {
        SDL_Event event;
        while (SDL_PollEvent(&event)) {
            if (event.type == SDL_QUIT ||
                (event.type == SDL_KEYDOWN && event.key.keysym.sym == SDLK_ESCAPE))
                running = false;
        }
        drawFrame(context, (SDL_GetTicks() - start) / 1000.0f);
        if (!shotTaken) {
            // Read back before the swap, while the back buffer holds this frame.
            shotTaken = true;
            try {
                lumo::saveScreenshot("window_demo.png");
                lumo::debug::info(dbgDemo, "Saved the first frame as window_demo.png.");
            } catch (const std::string& message) {
                lumo::debug::error(dbgDemo, "Could not save the screenshot: %s", message.c_str());
                status = EXIT_FAILURE;
            }
        }
        lumo::flipScreen();
        ++frames;
    }
    const Uint32 elapsed = SDL_GetTicks() - start;
    lumo::debug::info(dbgDemo, "Drew %d frames in %u ms.", frames, static_cast<unsigned>(elapsed));
    lumo::quit(status);
}
