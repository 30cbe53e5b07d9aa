// A real mouse (xdotool under Xvfb) drags slider handles and clicks a drop-down list; the values
// and the drawn handles follow the pointer by the expected amount.

#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <string>

#include "gui/lists/dropdown_list.hpp"
#include "gui/slider/slider.hpp"
#include "gui_lists_helpers.hpp"
#include "lumo/lumo.hpp"
#include "lumo/render_context.hpp"
#include "lumo/video.hpp"
#include "sprites/sprites/sprite.hpp"
#include "support/gl_test_window.hpp"

extern char** environ;

using namespace lumo;
using namespace lumo::gui;
using namespace lumo::testing;

namespace {

// Without a window manager the window opens at (0, 0). Window coordinates have y downward:
// the horizontal slider (GUI y 300..340) is crossed by window row 280, the vertical one (GUI x
// 600..640, y 100..500) by window column 620.
//   horizontal: value 0..100, bar 400 long at x 100, handle 80 long, 320 units of travel:
//               grabbed at x 140 and moved by 160 -> 50.
//   vertical:   value 0..1, bar 400 high at y 100, handle 100 high, 300 units of travel: at
//               value 1 the handle spans GUI y 400..500 (window rows 100..200); grabbed at
//               window row 150 and moved down by 75 -> 0.75.
const char* const MOUSE =
    "W=$(xdotool search --sync --onlyvisible --name '^lumo slider drag test$' | head -n 1) && "
    "xdotool mousemove --window \"$W\" --sync 140 280 && xdotool mousedown 1 && "
    "xdotool mousemove --window \"$W\" --sync 220 280 && "
    "xdotool mousemove --window \"$W\" --sync 300 280 && xdotool mouseup 1 && "
    "xdotool mousemove --window \"$W\" --sync 620 150 && xdotool mousedown 1 && "
    "xdotool mousemove --window \"$W\" --sync 620 225 && xdotool mouseup 1 && "
    "xdotool mousemove --window \"$W\" --sync 200 485 && xdotool click 1 && xdotool click 1 && "
    "xdotool mousemove --window \"$W\" --sync 10 10";

const char* const LAYOUT =
    "<PlainRectStyle name=\"bar\" color=\"0000ffff\"/>"
    "<PlainRectStyle name=\"grip\" color=\"ff0000ff\"/>"
    "<LabelStyle name=\"gripLabel\" rect=\"grip\"/>"
    "<ButtonStyle name=\"handle\" up=\"gripLabel\" down=\"gripLabel\" upHot=\"gripLabel\" "
    "downHot=\"gripLabel\"/>"
    "<Slider_int name=\"h\" x=\"100\" y=\"300\" width=\"400\" height=\"40\" min=\"0\" "
    "max=\"100\" value=\"0\" size=\"0.2\" barStyle=\"bar\" handleStyle=\"handle\"/>"
    "<Slider_float name=\"v\" x=\"600\" y=\"100\" width=\"40\" height=\"400\" "
    "orientation=\"vertical\" min=\"0\" max=\"1\" value=\"1\" barStyle=\"bar\" "
    "handleStyle=\"handle\"/>"
    "<DropdownList name=\"d\" x=\"100\" y=\"100\" width=\"200\" height=\"30\">"
    "<Item caption=\"A\"/><Item caption=\"B\"/><Item caption=\"C\"/></DropdownList>";

// A cursor that draws nothing: the GUI follows the pointer only when it has one.
struct InvisibleCursor : sprites::Sprite {
    InvisibleCursor() : Sprite(Vector2D(0, 0), true) {}
    void drawSelf() override {}
};

bool running(pid_t pid, int& status) {
    return waitpid(pid, &status, WNOHANG) == 0;
}

}  // namespace

TEST(ListsWindow, TheMouseDragsSliderHandlesAndStepsADropdownList) {
    lumo::init(ssVideo, false);
    setWindowCaption("lumo slider drag test");
    setResolution(800, 600, 32, false, 16, 0);
    RenderContext2D context(Vector2D(800, 600));
    context.blending = true;

    std::unique_ptr<GUI> gui = buildGui(LAYOUT);
    gui->setMouseCursor(new InvisibleCursor);
    Slider_int* h = dynamic_cast<Slider_int*>((*gui)["h"]);
    Slider_float* v = dynamic_cast<Slider_float*>((*gui)["v"]);
    DropdownList* d = dynamic_cast<DropdownList*>((*gui)["d"]);
    ASSERT_TRUE(h && v && d);

    const char* argv[] = {"sh", "-c", MOUSE, nullptr};
    pid_t mouse = -1;
    ASSERT_EQ(0,
              posix_spawn(&mouse, "/bin/sh", nullptr, nullptr, const_cast<char**>(argv), environ));
    NotingQueue queue;
    int status = 0;
    bool done = false;
    // Until the mouse script has ended and its last events are in, at most 20 s.
    for (Uint32 start = SDL_GetTicks(), end = 0; SDL_GetTicks() - start < 20000;) {
        SDL_Event event;
        while (SDL_PollEvent(&event))
            gui->evaluate(event, &queue);
        context.apply();
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        gui->draw();
        if (!done && !running(mouse, status)) {
            done = true;
            end = SDL_GetTicks();
        }
        if (done && SDL_GetTicks() - end > 300)
            break;
        SDL_GL_SwapBuffers();
        SDL_Delay(5);
    }
    if (!done) {
        kill(mouse, SIGKILL);
        waitpid(mouse, &status, 0);
    }
    ASSERT_TRUE(done) << "the mouse script did not finish";
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "xdotool failed";
    EXPECT_EQ(50, h->getValue());
    EXPECT_FLOAT_EQ(0.75f, v->getValue());
    EXPECT_EQ("C", d->getCaption());
    EXPECT_EQ(nullptr, gui->getMouseCaptured()) << "released with the button";

    // The picture of the last frame (not swapped yet): the horizontal handle now spans GUI x
    // 260..340, the vertical one GUI y 325..425.
    EXPECT_EQ((Rgba{255, 0, 0, 255}), pixelAt(300, 320));
    EXPECT_EQ((Rgba{0, 0, 255, 255}), pixelAt(200, 320)) << "the bar where the handle was";
    EXPECT_EQ((Rgba{255, 0, 0, 255}), pixelAt(620, 375));
    EXPECT_EQ((Rgba{0, 0, 255, 255}), pixelAt(620, 450));
    gui.reset();
    SDL_Quit();
}
