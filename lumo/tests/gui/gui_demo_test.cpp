// gui_demo under Xvfb: its first screenshot shows the styles where the form puts them (bevel
// colours, the nine-piece frame, a tiled frame, an icon, text clipped by its pane); a real
// mouse click (xdotool) on a button fires its trigger; typed text shows in the text field and
// reaches the application on Return.

#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <fstream>
#include <functional>
#include <sstream>
#include <string>

#include "lumo/screenshot.hpp"
#include "support/temp_dir.hpp"

extern char** environ;

namespace {

// Window coordinates of the form's widgets (y downward from the top of the 600 high window).
// The form: pMain at (40, 40); bOk at (20, 350, 140, 30) in it, tfName at (20, 400, 300, 24),
// cbSound at (20, 300, 140, 30), bQuit at (20, 20, 140, 30).
const char* const SCRIPT =
    "W=$(xdotool search --sync --onlyvisible --name '^lumo GUI demo$' | head -n 1) && "
    "xdotool windowfocus --sync \"$W\" && "
    "for i in $(seq 600); do [ -s gui_demo.png ] && break; sleep 0.05; done && "
    "xdotool mousemove 130 195 && sleep 0.3 && xdotool click 1 && sleep 0.2 && "
    "xdotool mousemove 210 148 && sleep 0.3 && xdotool type 'Pim 42' && "
    "xdotool key Return && sleep 0.2 && xdotool key F12 && sleep 0.5 && "
    "xdotool mousemove 130 245 && sleep 0.3 && xdotool click 1 && sleep 0.2 && "
    "xdotool mousemove 130 525 && sleep 0.3 && xdotool click 1";

pid_t spawnShell(const std::string& command) {
    const char* argv[] = {"sh", "-c", command.c_str(), nullptr};
    pid_t pid = -1;
    if (posix_spawn(&pid, "/bin/sh", nullptr, nullptr, const_cast<char**>(argv), environ) != 0)
        return -1;
    return pid;
}

/// The exit status, or -1 after killing a process that did not end within `ms`.
int waitFor(pid_t pid, int ms) {
    int status = 0;
    for (int waited = 0; waited < ms; waited += 50) {
        if (waitpid(pid, &status, WNOHANG) == pid)
            return status;
        SDL_Delay(50);
    }
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
    return -1;
}

struct Picture {
    explicit Picture(const std::string& path) : surface(IMG_Load(path.c_str())) {}
    ~Picture() {
        if (surface)
            SDL_FreeSurface(surface);
    }
    /// The colour at (x, y) in the form's coordinates (y upward).
    SDL_Color at(int x, int y) const {
        SDL_Color c{0, 0, 0, 0};
        SDL_GetRGBA(lumo::getPixel(surface, x, surface->h - 1 - y), surface->format, &c.r, &c.g,
                    &c.b, &c.unused);
        return c;
    }
    /// Pixels of the rectangle (form coordinates, ends included) for which `match` holds.
    int count(int x0, int y0, int x1, int y1, const std::function<bool(SDL_Color)>& match) const {
        int n = 0;
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x)
                n += match(at(x, y)) ? 1 : 0;
        return n;
    }
    SDL_Surface* surface;
};

std::string rgb(SDL_Color c) {
    return std::to_string(c.r) + "," + std::to_string(c.g) + "," + std::to_string(c.b);
}

bool white(SDL_Color c) {
    return c.r > 200 && c.g > 200 && c.b > 200;
}

}  // namespace

TEST(GuiDemo, DrawsItsStylesAndAnswersRealMouseAndKeys) {
    lumo::testing::TempDir dir;
    const pid_t demo =
        spawnShell("cd '" + dir.path() + "' && exec '" GUI_DEMO "' 60 > log.txt 2>&1");
    ASSERT_GT(demo, 0);
    const pid_t typist = spawnShell("cd '" + dir.path() + "' && " + SCRIPT);
    ASSERT_GT(typist, 0);
    const int typed = waitFor(typist, 40000);
    const int ended = waitFor(demo, 10000);
    std::ifstream logFile(dir.file("log.txt"));
    std::stringstream log;
    log << logFile.rdbuf();
    EXPECT_TRUE(WIFEXITED(typed) && WEXITSTATUS(typed) == 0) << "xdotool failed";
    EXPECT_TRUE(ended != -1 && WIFEXITED(ended)) << "the Quit button did not end the demo";

    // The click on OK, the typed name, the check box and Quit, in this order.
    const std::string text = log.str();
    const std::string expected[] = {"Trigger \"ok\"", "Name confirmed: \"Pim 42\"",
                                    "Saved gui_demo_shot.png", "Trigger \"soundOn\"",
                                    "Trigger \"quit\""};
    std::string::size_type from = 0;
    for (const std::string& line : expected) {
        std::string::size_type found = text.find(line, from);
        EXPECT_NE(std::string::npos, found) << line << "\nlog:\n" << text;
        if (found != std::string::npos)
            from = found;
    }

    Picture first(dir.file("gui_demo.png"));
    ASSERT_NE(nullptr, first.surface) << IMG_GetError();
    struct Point {
        int x, y;
        const char* colour;
        const char* what;
    };
    const Point points[] = {
        {100, 562, "220,220,255", "pane bevel, upper strip"},
        {37, 300, "220,220,255", "pane bevel, left strip"},
        {37, 562, "220,220,255", "pane bevel, upper left corner"},
        {100, 37, "10,10,40", "pane bevel, lower strip"},
        {762, 300, "10,10,40", "pane bevel, right strip"},
        {762, 37, "10,10,40", "pane bevel, lower right corner"},
        {700, 540, "30,40,80", "pane fill"},
        {130, 421, "180,180,200", "button bevel, upper strip"},
        {130, 389, "40,40,60", "button bevel, lower strip"},
        {65, 395, "90,90,110", "button fill"},
        {436, 244, "220,40,40", "frame, upper left corner"},
        {520, 244, "40,200,40", "frame, upper edge"},
        {436, 190, "230,200,40", "frame, left edge"},
        {460, 160, "40,60,140", "frame, centre"},
        {604, 190, "230,200,40", "frame, right edge"},
        {520, 136, "40,200,40", "frame, lower edge"},
        {604, 136, "220,40,40", "frame, lower right corner"},
        {68, 492, "255,210,0", "icon on the left of its label"},
    };
    for (const Point& p : points)
        EXPECT_EQ(p.colour, rgb(first.at(p.x, p.y))) << p.what << " at " << p.x << "," << p.y;
    // The tiled frame shows both checker colours.
    auto grey = [](Uint8 v) {
        return [v](SDL_Color c) { return c.r == v && c.g == v && c.b == v; };
    };
    EXPECT_GT(first.count(632, 142, 728, 238, grey(200)), 1000);
    EXPECT_GT(first.count(632, 142, 728, 238, grey(100)), 1000);
    // The long caption is cut at its pane's right edge (x 560).
    EXPECT_GT(first.count(444, 392, 558, 418, white), 50);
    EXPECT_EQ(0, first.count(561, 392, 700, 418, white));
    // The name field is empty at first; after typing it shows the text (and the cursor).
    EXPECT_EQ(0, first.count(62, 442, 318, 462, white));
    Picture typedShot(dir.file("gui_demo_shot.png"));
    ASSERT_NE(nullptr, typedShot.surface) << IMG_GetError();
    EXPECT_GT(typedShot.count(62, 442, 318, 462, white), 40);
    EXPECT_EQ(0, typedShot.count(140, 442, 318, 462, white));  // short text, left justified
}
