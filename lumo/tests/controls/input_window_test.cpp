// The whole road of a key press: the X server (keys typed by xdotool) -> SDL -> readEvents ->
// input evaluator -> control queue -> the active state's handleEvent; and closing the window
// ends the loop. Runs inside its own Xvfb.

#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <new>
#include <string>
#include <vector>

#include "controls/input_evaluator.hpp"
#include "controls/window_close.hpp"
#include "framework/application.hpp"
#include "framework/application_state.hpp"
#include "lumo/lumo.hpp"
#include "lumo/video.hpp"

extern char** environ;

using namespace lumo;

namespace {

// Waits for the window, focuses it (without a window manager the focus would follow the
// pointer) and types.
const char* const TYPIST =
    "W=$(xdotool search --sync --onlyvisible --name '^lumo input window test$' | head -n 1) && "
    "xdotool windowfocus --sync \"$W\" && "
    "xdotool keydown Right && sleep 0.3 && xdotool keyup Right && xdotool key space Return";

std::vector<std::string> seen;  // "name=value" of each trigger handed to the state
bool closeRequested = false, stateDeleted = false, timedOut = false;

class KeyLogState : public ApplicationState {
  public:
    KeyLogState() { performStageCount = drawStageCount = 1; }
    ~KeyLogState() override { stateDeleted = true; }

    void handleEvent(const Trigger* t) override { seen.push_back(t->name + "=" + toStr(t->value)); }
    void doPerform(int, unsigned int ticks) override {
        queue.perform(static_cast<float>(ticks));  // held keys come back every frame
        if (!closeRequested && std::count(seen.begin(), seen.end(), "menu=1"))
            closeRequested = lumo::testing::requestWindowClose();
        waited += ticks;
        timedOut = terminate = waited > 20000;  // the keys never came
    }
    void doDraw(int) override {
        clearScreen();
        flipScreen();
        SDL_Delay(2);  // no need to spin a shared machine at full speed
    }
    unsigned int waited = 0;
};

// The typist's exit status; it may still be finishing its last key when the loop ends, and is
// killed if it hangs (waiting for a window that never showed, for instance).
int finishTypist(pid_t pid) {
    int status = 0;
    for (int i = 0; i < 100; ++i) {
        if (waitpid(pid, &status, WNOHANG) == pid)
            return status;
        SDL_Delay(50);
    }
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
    return status;
}

}  // namespace

TEST(InputWindow, TypedKeysReachTheStateAndClosingTheWindowEndsTheLoop) {
    init(ssVideo, false);
    setWindowCaption("lumo input window test");
    setResolution(320, 240, 32, false, 16, 0);
    InputEvaluator evaluator;
    Trigger* walk = new Trigger(&evaluator, 1, "walk", "", 1.0f);
    walk->queue = true;
    new KeyTranslator(walk, SDLK_LEFT, ctrlDefault, -1.0f);
    new KeyTranslator(walk, SDLK_RIGHT, ctrlDefault, 1.0f);
    new KeyTranslator(new Trigger(&evaluator, 2, "jump", "", ctrlDown), SDLK_SPACE, ctrlDefault, 1);
    new KeyTranslator(new Trigger(&evaluator, 3, "menu", "", ctrlDown), SDLK_RETURN, ctrlUp, 1);
    queue.evaluators.push_back(&evaluator);

    // The application's destructor ends the process, so it is never destroyed.
    alignas(Application) static unsigned char storage[sizeof(Application)];
    Application* app = new (storage) Application;
    app->queue = &queue;
    (new KeyLogState)->activate();
    const char* argv[] = {"sh", "-c", TYPIST, nullptr};
    pid_t typist = -1;
    ASSERT_EQ(0,
              posix_spawn(&typist, "/bin/sh", nullptr, nullptr, const_cast<char**>(argv), environ));
    app->run();
    const int status = finishTypist(typist);
    queue.evaluators.remove(&evaluator);
    SDL_Quit();

    EXPECT_FALSE(timedOut) << "keys seen: " << ::testing::PrintToString(seen);
    EXPECT_TRUE(closeRequested);
    EXPECT_TRUE(stateDeleted);
    EXPECT_EQ(nullptr, app->state);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "xdotool failed";
    // Right was held over many frames; its release set the value back to 0 (a trigger taken
    // out after the release already shows 0, hence the folding of repetitions).
    EXPECT_GE(std::count(seen.begin(), seen.end(), "walk=1"), 2);
    seen.erase(std::unique(seen.begin(), seen.end()), seen.end());
    EXPECT_EQ((std::vector<std::string>{"walk=1", "walk=0", "jump=1", "menu=1"}), seen);
}
