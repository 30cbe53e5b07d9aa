#include <gtest/gtest.h>

#include <SDL.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "controls/control_queue.hpp"
#include "framework/application.hpp"
#include "framework/application_state.hpp"
#include "support/test_application.hpp"

using namespace lumo;
using lumo::testing::TestApplication;
using lumo::testing::testApplication;

namespace {

std::vector<std::string> journal;

class RecordingState : public ApplicationState {
  public:
    explicit RecordingState(std::string n, int terminateAtStage = -1)
        : name(std::move(n)), terminateAt(terminateAtStage) {
        performStageCount = 3;
        drawStageCount = 2;
    }
    ~RecordingState() override { journal.push_back(name + " deleted"); }
    void deactivate() override {
        journal.push_back(name + " deactivate");
        ApplicationState::deactivate();
    }
    void handleEvent(const Trigger* t) override {
        journal.push_back(name + " event " + std::to_string(reinterpret_cast<std::uintptr_t>(t)));
        if (next && reinterpret_cast<std::uintptr_t>(t) == 2)
            next->activate();
    }
    void doPerform(int stage, unsigned int ticks) override {
        journal.push_back(name + " perform " + std::to_string(stage) + " " + std::to_string(ticks));
        if (stage == terminateAt)
            terminate = true;
    }
    void doDraw(int stage) override { journal.push_back(name + " draw " + std::to_string(stage)); }

    std::string name;
    int terminateAt;
    RecordingState* next = nullptr;
};

Trigger* fakeTrigger(std::uintptr_t n) {
    return reinterpret_cast<Trigger*>(n);
}

class ApplicationTest : public ::testing::Test {
  protected:
    void SetUp() override {
        journal.clear();
        app = &testApplication();
        app->state = nullptr;
        app->queue = nullptr;
    }
    TestApplication* app = nullptr;
};

}  // namespace

TEST_F(ApplicationTest, OnePassPerformsThenDrawsTheActiveStateAndActivationSwitches) {
    RecordingState s("s");
    s.activate();
    app->perform(16);
    EXPECT_EQ(journal, (std::vector<std::string>{"s perform 0 16", "s perform 1 16",
                                                 "s perform 2 16", "s draw 0", "s draw 1"}));
    s.deactivate();
    EXPECT_EQ(app->state, nullptr);

    // Activation deactivates the old state, even when it is the same one.
    RecordingState a("a"), b("b");
    journal.clear();
    a.activate();
    a.activate();
    EXPECT_EQ(journal, std::vector<std::string>{"a deactivate"});
    b.activate();
    EXPECT_EQ(app->state, &b);
    a.deactivate();  // not active: changes nothing
    EXPECT_EQ(app->state, &b);
    b.deactivate();
}

TEST_F(ApplicationTest, TerminatingStateSkipsLaterStagesIsNotDrawnAndEndsTheLoop) {
    auto* s = new RecordingState("s", 0);
    s->activate();
    app->run();  // returns because the only state deleted itself
    // The destructor deactivates through the base class, never through an override.
    ASSERT_EQ(journal.size(), 2u);
    EXPECT_EQ(journal[0].rfind("s perform 0 ", 0), 0u);
    EXPECT_EQ(journal[1], "s deleted");
    EXPECT_EQ(app->state, nullptr);
}

TEST_F(ApplicationTest, QuitRequestDeletesTheStateBeforeAnyTriggerIsHandled) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
    ASSERT_NE(SDL_SetVideoMode(16, 16, 0, SDL_SWSURFACE), nullptr) << SDL_GetError();

    ControlQueue q;
    auto* s = new RecordingState("s");
    s->activate();
    app->queue = &q;
    q << fakeTrigger(7);
    SDL_Event quitEvent{};
    quitEvent.type = SDL_QUIT;
    ASSERT_EQ(SDL_PushEvent(&quitEvent), 0);

    app->perform(5);
    EXPECT_EQ(journal, std::vector<std::string>{"s deleted"});
    EXPECT_EQ(app->state, nullptr);
    // The trigger of that pass stays queued: no state took it.
    EXPECT_FALSE(q.isEmpty());

    // Without a quit request, triggers go oldest first; a handler that switches states hands
    // the remaining triggers to the new state.
    q.eventQueue.clear();
    RecordingState a("a"), b("b");
    a.next = &b;
    a.activate();
    q << fakeTrigger(1) << fakeTrigger(2) << fakeTrigger(3);
    journal.clear();
    app->handleEvents(&q);
    EXPECT_EQ(journal,
              (std::vector<std::string>{"a event 1", "a event 2", "a deactivate", "b event 3"}));
    EXPECT_TRUE(q.isEmpty());
    b.deactivate();
    SDL_Quit();
}
