#include "controls/input_evaluator.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/input_helpers.hpp"

using namespace lumo;
using lumo::testing::axisEvent;
using lumo::testing::buttonEvent;
using lumo::testing::keyEvent;
using lumo::testing::RecordingQueue;
typedef std::vector<std::string> Taken;

namespace {

class InputEvaluatorTest : public ::testing::Test {
  protected:
    bool send(const SDL_Event& event) { return evaluator.evaluate(event, &queue); }
    void frame() { queue.perform(16); }

    InputEvaluator evaluator;
    RecordingQueue queue;

    void SetUp() override { queue.evaluators.push_back(&evaluator); }
};

}  // namespace

TEST_F(InputEvaluatorTest, HeldKeyIsQueuedEveryFrameOnceMoreOnReleaseAndNotAfterFlush) {
    Trigger* fire = new Trigger(&evaluator, 7, "fire", "Fire", ctrlPressed);
    new KeyTranslator(fire, SDLK_SPACE, ctrlDefault, 1.0f);

    EXPECT_TRUE(send(keyEvent(SDLK_SPACE, true)));
    EXPECT_TRUE(queue.isEmpty()) << "a pressed binding queues nothing on its own";
    EXPECT_TRUE(fire->isActive());
    for (int i = 0; i < 3; ++i)
        frame();
    EXPECT_EQ(queue.take(), (Taken{"fire=1", "fire=1", "fire=1"}));

    EXPECT_TRUE(send(keyEvent(SDLK_SPACE, false)));
    EXPECT_EQ(queue.take(), (Taken{"fire=0"}));
    frame();
    EXPECT_TRUE(queue.isEmpty());

    // Flushing while held forgets the hold without queueing; the late release changes nothing.
    send(keyEvent(SDLK_SPACE, true));
    frame();
    EXPECT_EQ(queue.take(), (Taken{"fire=1"}));
    queue.flush();
    EXPECT_FALSE(fire->isActive());
    frame();
    EXPECT_TRUE(queue.isEmpty());
    EXPECT_TRUE(send(keyEvent(SDLK_SPACE, false)));
    frame();
    EXPECT_TRUE(queue.isEmpty());

    // A held trigger replaced by one of the same name is dropped from the held set.
    send(keyEvent(SDLK_SPACE, true));
    new Trigger(&evaluator, 7, "fire", "Fire", ctrlPressed);
    EXPECT_TRUE(evaluator.activeTriggers.empty());
    frame();
    EXPECT_TRUE(queue.isEmpty());
    EXPECT_FALSE(send(keyEvent(SDLK_SPACE, false)));
}

TEST_F(InputEvaluatorTest, LeftAndRightKeysShareOneAnalogTrigger) {
    Trigger* player = new Trigger(&evaluator, 1, "player", "Walk", 1.0f);
    new KeyTranslator(player, SDLK_LEFT, ctrlDefault, -1.0f);
    new KeyTranslator(player, SDLK_RIGHT, ctrlDefault, 1.0f);

    send(keyEvent(SDLK_LEFT, true));
    EXPECT_EQ(player->value, -1.0f);
    send(keyEvent(SDLK_RIGHT, true));
    EXPECT_EQ(player->value, 1.0f);
    // Letting go of left no longer concerns the trigger: right holds it now.
    send(keyEvent(SDLK_LEFT, false));
    EXPECT_EQ(player->value, 1.0f);
    frame();
    EXPECT_EQ(queue.take(), (Taken{"player=1"}));
    // Analog triggers are not queued on change by themselves, only while held.
    send(keyEvent(SDLK_RIGHT, false));
    EXPECT_EQ(player->value, 0.0f);
    frame();
    EXPECT_TRUE(queue.isEmpty());

    player->queue = true;
    send(keyEvent(SDLK_LEFT, true));
    send(keyEvent(SDLK_LEFT, false));
    EXPECT_EQ(queue.take(), (Taken{"player=0"}));
}

TEST_F(InputEvaluatorTest, DownAndUpBindingsFireAtTheirEdgeOnly) {
    Trigger* menu = new Trigger(&evaluator, 2, "menu", "Menu", ctrlDown);
    new KeyTranslator(menu, SDLK_a, ctrlDefault, 1.0f);
    new KeyTranslator(menu, SDLK_b, ctrlUp, 2.0f);
    new JoyButtonTranslator(menu, 1, 3, ctrlDefault, 3.0f);

    EXPECT_TRUE(send(keyEvent(SDLK_a, true)));
    EXPECT_FALSE(send(keyEvent(SDLK_a, false))) << "a down binding does not use the release";
    EXPECT_FALSE(send(keyEvent(SDLK_b, true)));
    EXPECT_TRUE(send(keyEvent(SDLK_b, false)));
    EXPECT_FALSE(send(keyEvent(SDLK_c, true)));
    EXPECT_TRUE(send(buttonEvent(1, 3, true)));
    EXPECT_FALSE(send(buttonEvent(0, 3, true))) << "another joystick";
    EXPECT_FALSE(send(buttonEvent(1, 2, true))) << "another button";
    EXPECT_FALSE(send(axisEvent(1, 3, 30000)));
    frame();
    // On/off triggers are queued at every firing, even with an unchanged value.
    send(keyEvent(SDLK_a, true));
    EXPECT_EQ(queue.take(), (Taken{"menu=1", "menu=2", "menu=3", "menu=1"}));
    EXPECT_TRUE(evaluator.activeTriggers.empty());

    // A trigger whose own default key state is "default" gives its default bindings nothing
    // to match, so they never fire.
    Trigger* inert = new Trigger(&evaluator, 3, "inert", "", ctrlDefault);
    new KeyTranslator(inert, SDLK_x, ctrlDefault, 1.0f);
    EXPECT_FALSE(send(keyEvent(SDLK_x, true)));
    EXPECT_FALSE(send(keyEvent(SDLK_x, false)));
}

TEST_F(InputEvaluatorTest, PressedJoystickButtonHoldsLikeAKey) {
    Trigger* jump = new Trigger(&evaluator, 4, "jump", "Jump", ctrlPressed);
    new JoyButtonTranslator(jump, 0, 5, ctrlDefault, 1.0f);
    EXPECT_TRUE(send(buttonEvent(0, 5, true)));
    frame();
    frame();
    EXPECT_TRUE(send(buttonEvent(0, 5, false)));
    frame();
    EXPECT_EQ(queue.take(), (Taken{"jump=1", "jump=1", "jump=0"}));
}

TEST_F(InputEvaluatorTest, AxisDeflectionIsScaledBetweenDeadZoneAndFullDeflection) {
    Trigger* steer = new Trigger(&evaluator, 5, "steer", "Steer", 2.0f);
    steer->queue = true;  // to see every change
    new JoyAxisTranslator(steer, 0, 1, 0, 8000, 32000);

    struct Case {
        Sint16 raw;
        float value;
    };
    for (Case c : {Case{20000, 1.0f}, Case{32767, 2.0f}, Case{32000, 2.0f}, Case{-4000, 0.0f},
                   Case{8000, 0.0f}, Case{-14000, -0.5f}, Case{-32768, -2.0f}}) {
        EXPECT_TRUE(send(axisEvent(0, 1, c.raw)));
        EXPECT_FLOAT_EQ(steer->value, c.value) << c.raw;
    }
    EXPECT_EQ(queue.take(), (Taken{"steer=1", "steer=2", "steer=0", "steer=-0.5", "steer=-2"}));

    // A stick resting in the dead zone queues its first 0 and nothing after it.
    for (Sint16 raw : {100, -200, 7999, 0, -7999})
        send(axisEvent(0, 1, raw));
    EXPECT_EQ(queue.take(), (Taken{"steer=0"}));
    EXPECT_FALSE(send(axisEvent(0, 0, 20000))) << "another axis";
    EXPECT_FALSE(send(axisEvent(1, 1, 20000))) << "another joystick";
    EXPECT_TRUE(queue.isEmpty());
}

TEST_F(InputEvaluatorTest, AxisDirectionLimitsAnalogTriggersButNotOnOffOnes) {
    Trigger* left = new Trigger(&evaluator, 6, "left", "Left", 1.0f);
    new JoyAxisTranslator(left, 0, 0, -1, 1000, 11000);
    send(axisEvent(0, 0, -6000));
    EXPECT_FLOAT_EQ(left->value, -0.5f);
    EXPECT_FALSE(send(axisEvent(0, 0, 20000))) << "against the binding's direction";
    EXPECT_FLOAT_EQ(left->value, -0.5f);
    EXPECT_TRUE(send(axisEvent(0, 0, 0)));
    EXPECT_EQ(left->value, 0.0f);

    // The same binding on an on/off trigger: full value beyond the dead zone either way.
    Trigger* fire = new Trigger(&evaluator, 8, "fire", "Fire", ctrlDown);
    new JoyAxisTranslator(fire, 2, 0, -1, 1000, 11000);
    for (Sint16 raw : {20000, -1500, 500, 1000, 1001})
        EXPECT_TRUE(send(axisEvent(2, 0, raw)));
    EXPECT_EQ(queue.take(), (Taken{"fire=1", "fire=0", "fire=1"}));
}

TEST_F(InputEvaluatorTest, EvaluatorWithoutTriggersUsesNothing) {
    EXPECT_FALSE(send(keyEvent(SDLK_SPACE, true)));
    new Trigger(&evaluator, 1, "idle", "", ctrlDown);
    EXPECT_FALSE(send(keyEvent(SDLK_SPACE, true)));
    SDL_Event motion = {};
    motion.type = SDL_MOUSEMOTION;
    EXPECT_FALSE(send(motion));
}
