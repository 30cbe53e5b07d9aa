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
#include "support/temp_dir.hpp"

extern char** environ;

using namespace lumo;

namespace {

const char* const CAPTION = "lumo input window test";

const char* const CONTROLS = R"(<inputEvaluator>
  <axis code="1" name="walk" queue="true">
    <keyTranslator key="left" value="-1"/>
    <keyTranslator key="right"/>
  </axis>
  <trigger code="2" name="jump"><keyTranslator key="space"/></trigger>
  <trigger code="3" name="menu"><keyTranslator key="return" state="up"/></trigger>
</inputEvaluator>)";

// Waits for the window, focuses it (without a window manager the focus would follow the
// pointer) and types.
const char* const TYPIST =
    "W=$(xdotool search --sync --onlyvisible --name '^lumo input window test$' | head -n 1) && "
    "xdotool windowfocus --sync \"$W\" && "
    "xdotool keydown Right && sleep 0.3 && xdotool keyup Right && "
    "xdotool key space Return";

// Longest time the state waits for the keys before it gives up.
const unsigned int PATIENCE_MS = 20000;

struct Journal {
    std::vector<std::string> triggers;
    bool closeRequested = false;
    bool stateDeleted = false;
    bool timedOut = false;
} journal;

// The application's destructor ends the process, so it lives in static storage and is never
// destroyed.
Application& testApplication() {
    alignas(Application) static unsigned char storage[sizeof(Application)];
    static Application* app = new (storage) Application;
    return *app;
}

class KeyLogState : public ApplicationState {
  public:
    KeyLogState() {
        performStageCount = 1;
        drawStageCount = 1;
    }
    ~KeyLogState() override { journal.stateDeleted = true; }

    void handleEvent(const Trigger* t) override {
        journal.triggers.push_back(t->name + "=" + toStr(t->value));
    }
    void doPerform(int, unsigned int ticks) override {
        // Held keys come back every frame through here.
        queue.perform(static_cast<float>(ticks));
        const bool sawLastKey = std::find(journal.triggers.begin(), journal.triggers.end(),
                                          "menu=1") != journal.triggers.end();
        if (sawLastKey && !journal.closeRequested)
            journal.closeRequested = lumo::testing::requestWindowClose();
        waited += ticks;
        if (waited > PATIENCE_MS) {
            journal.timedOut = true;
            terminate = true;
        }
    }
    void doDraw(int) override {
        clearScreen();
        flipScreen();
        SDL_Delay(2);  // no need to spin a shared machine at full speed
    }

  private:
    unsigned int waited = 0;
};

pid_t startTypist() {
    const char* argv[] = {"sh", "-c", TYPIST, nullptr};
    pid_t pid = -1;
    if (posix_spawn(&pid, "/bin/sh", nullptr, nullptr, const_cast<char**>(argv), environ) != 0)
        return -1;
    return pid;
}

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

// Consecutive repetitions folded into one entry.
std::vector<std::string> folded(const std::vector<std::string>& entries) {
    std::vector<std::string> result;
    for (const std::string& e : entries)
        if (result.empty() || result.back() != e)
            result.push_back(e);
    return result;
}

}  // namespace

TEST(InputWindow, TypedKeysReachTheStateAndClosingTheWindowEndsTheLoop) {
    init(ssVideo, false);
    setWindowCaption(CAPTION);
    setResolution(320, 240, 32, false, 16, 0);

    lumo::testing::TempDir dir;
    InputEvaluator evaluator;
    evaluator.load(dir.write("controls.xml", CONTROLS), "");
    ASSERT_EQ(evaluator.size(), 3u);
    queue.evaluators.push_back(&evaluator);

    Application& app = testApplication();
    app.queue = &queue;
    (new KeyLogState)->activate();

    pid_t typist = startTypist();
    ASSERT_GT(typist, 0);
    app.run();

    int status = finishTypist(typist);
    queue.evaluators.remove(&evaluator);
    SDL_Quit();

    EXPECT_FALSE(journal.timedOut) << "keys seen: " << ::testing::PrintToString(journal.triggers);
    EXPECT_TRUE(journal.closeRequested);
    EXPECT_TRUE(journal.stateDeleted);
    EXPECT_EQ(app.state, nullptr);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "xdotool failed";
    // Right was held over many frames; its release set the value back to 0 (a trigger taken
    // out after the release already shows 0, hence the folding).
    EXPECT_GE(std::count(journal.triggers.begin(), journal.triggers.end(), "walk=1"), 2);
    EXPECT_EQ(folded(journal.triggers),
              (std::vector<std::string>{"walk=1", "walk=0", "jump=1", "menu=1"}));
}
