// The chain of evaluators behind the control queue, fed through SDL's own event queue.

#include "controls/control_queue.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "controls/input_evaluator.hpp"
#include "controls/input_helpers.hpp"

using namespace lumo;
using lumo::testing::keyEvent;
using lumo::testing::RecordingQueue;
typedef std::vector<std::string> Taken;

namespace {

// Notes the type of every event offered to it and uses none.
class SpyEvaluator : public Evaluator {
  public:
    bool evaluate(const SDL_Event& event, ControlQueue*) override {
        offered.push_back(event.type);
        return false;
    }
    std::vector<int> offered;
};

class ControlQueueTest : public ::testing::Test {
  protected:
    // SDL's event queue needs the video subsystem; the dummy driver opens no window, so these
    // tests need no display.
    static void TearDownTestSuite() { SDL_Quit(); }

    void SetUp() override {
        if (!SDL_WasInit(SDL_INIT_VIDEO)) {
            setenv("SDL_VIDEODRIVER", "dummy", 1);
            ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
        }
        SDL_Event stale;
        while (SDL_PollEvent(&stale)) {
        }
    }

    static void push(SDL_Event event) { ASSERT_EQ(SDL_PushEvent(&event), 0); }
    static void pushQuit() {
        SDL_Event quit = {};
        quit.type = SDL_QUIT;
        push(quit);
    }

    // Two evaluators binding the same key to triggers of different names.
    InputEvaluator first;
    InputEvaluator second;
    RecordingQueue queue;
};

}  // namespace

TEST_F(ControlQueueTest, FirstEnabledEvaluatorThatUsesAnEventEndsTheOffer) {
    InputEvaluator empty;
    SpyEvaluator spy;
    new KeyTranslator(new Trigger(&first, 1, "first", "", ctrlDown), SDLK_a, ctrlDefault, 1.0f);
    new KeyTranslator(new Trigger(&second, 2, "second", "", ctrlDown), SDLK_a, ctrlDefault, 1.0f);
    new KeyTranslator(second.at("second"), SDLK_b, ctrlDefault, 2.0f);
    queue.evaluators = {&empty, &first, &second, &spy};

    push(keyEvent(SDLK_a, true));
    push(keyEvent(SDLK_b, true));
    push(keyEvent(SDLK_c, true));
    EXPECT_TRUE(queue.readEvents());
    EXPECT_EQ(queue.take(), (Taken{"first=1", "second=2"}));
    EXPECT_EQ(spy.offered, (std::vector<int>{SDL_KEYDOWN})) << "only the unbound key reaches it";

    first.enabled = false;
    push(keyEvent(SDLK_a, true));
    EXPECT_TRUE(queue.readEvents());
    EXPECT_EQ(queue.take(), (Taken{"second=1"}));

    // A quit request among other events: the others are still offered, the request is not.
    first.enabled = true;
    spy.offered.clear();
    push(keyEvent(SDLK_a, true));
    pushQuit();
    push(keyEvent(SDLK_b, true));
    push(keyEvent(SDLK_z, false));
    EXPECT_FALSE(queue.readEvents());
    EXPECT_EQ(queue.take(), (Taken{"first=1", "second=2"}));
    EXPECT_EQ(spy.offered, (std::vector<int>{SDL_KEYUP}));
    EXPECT_TRUE(queue.readEvents()) << "the request was consumed";
}

TEST_F(ControlQueueTest, TriggersComeOutOldestFirstAndPerformSkipsDisabledEvaluators) {
    Trigger* held = new Trigger(&first, 1, "held", "", ctrlPressed);
    new KeyTranslator(held, SDLK_h, ctrlDefault, 1.0f);
    Trigger* other = new Trigger(&second, 2, "other", "", ctrlPressed);
    new KeyTranslator(other, SDLK_o, ctrlDefault, 1.0f);
    queue.evaluators = {&first, &second};

    Trigger* out = held;
    queue >> out;
    EXPECT_EQ(out, nullptr) << "an empty queue yields null";

    push(keyEvent(SDLK_h, true));
    push(keyEvent(SDLK_o, true));
    queue.readEvents();
    second.enabled = false;
    queue.perform(16);
    EXPECT_EQ(queue.fired, (Taken{"held=1"}));
    queue << other << held;
    for (Trigger* expected : {held, other, held}) {
        queue >> out;
        EXPECT_EQ(out, expected);
    }
    EXPECT_TRUE(queue.isEmpty());

    // Flushing reaches disabled evaluators too; queued entries stay.
    queue << held;
    queue.flush();
    EXPECT_FALSE(held->isActive());
    EXPECT_FALSE(other->isActive());
    EXPECT_FALSE(queue.isEmpty());
}
