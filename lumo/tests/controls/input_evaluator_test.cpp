// Key names, and the input evaluator and control queue fed with hand-made SDL events.

#include "controls/input_evaluator.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "controls/input_helpers.hpp"

using namespace lumo;
using namespace lumo::testing;
typedef std::vector<std::string> Taken;

TEST(KeyNames, EveryKeyNamedOnceBothWaysAndUnknownNamesThrow) {
    EXPECT_EQ(133u, getKeyNameMap().size());
    EXPECT_EQ(133u, getNameKeyMap().size()) << "two keys share a name";
    for (const auto& entry : getKeyNameMap()) {
        EXPECT_EQ(entry.first, strTo<SDLKey>(entry.second));
        // Character keys are named by their own character, the right bracket excepted.
        if (entry.first >= 33 && entry.first <= 122 && entry.first != SDLK_RIGHTBRACKET) {
            EXPECT_EQ(std::string(1, static_cast<char>(entry.first)), entry.second);
        }
    }
    std::string names;
    for (SDLKey key : {SDLK_RIGHTBRACKET, SDLK_RETURN, SDLK_KP_ENTER, SDLK_ESCAPE, SDLK_KP_PERIOD,
                       SDLK_LSUPER, SDLK_PRINT, SDLK_WORLD_0, SDLK_COMPOSE, SDLK_UNDO})
        names += toStr(key) + ";";
    EXPECT_EQ("};return;enter;esc;pad_.;lwin;printscreen;;;;", names);
    for (const char* name : {"Enter", "]", ""}) {
        try {
            strTo<SDLKey>(name);
            ADD_FAILURE() << "no throw for \"" << name << "\"";
        } catch (const std::string& message) {
            EXPECT_EQ(std::string(name) + " is no valid key identifier.", message);
        }
    }
    for (KeyState state : {ctrlDefault, ctrlDown, ctrlUp, ctrlPressed})
        EXPECT_EQ(state, strTo<KeyState>(toStr(state)));
    EXPECT_EQ("pressed", toStr(ctrlPressed));
    EXPECT_EQ(ctrlDefault, strTo<KeyState>("Pressed"));
}

namespace {

class Input : public ::testing::Test {
  protected:
    void SetUp() override { queue.evaluators.push_back(&evaluator); }
    bool send(const SDL_Event& event) { return evaluator.evaluate(event, &queue); }
    void frame() { queue.perform(16); }

    InputEvaluator evaluator;
    RecordingQueue queue;
};

}  // namespace

TEST_F(Input, HeldInputIsQueuedEveryFrameOnceMoreOnReleaseAndNotAfterFlush) {
    Trigger* fire = new Trigger(&evaluator, 7, "fire", "Fire", ctrlPressed);
    new KeyTranslator(fire, SDLK_SPACE, ctrlDefault, 1.0f);
    new JoyButtonTranslator(fire, 0, 5, ctrlDefault, 1.0f);
    for (bool key : {true, false}) {
        auto input = [key](bool down) {
            return key ? keyEvent(SDLK_SPACE, down) : buttonEvent(0, 5, down);
        };
        EXPECT_TRUE(send(input(true)));
        EXPECT_TRUE(queue.isEmpty()) << "a pressed binding queues nothing on its own";
        for (int i = 0; i < 3; ++i)
            frame();
        EXPECT_TRUE(send(input(false)));
        frame();
        EXPECT_EQ((Taken{"fire=1", "fire=1", "fire=1", "fire=0"}), queue.take());

        // Flushing while held forgets the hold without queueing; the late release changes
        // nothing.
        send(input(true));
        queue.flush();
        EXPECT_FALSE(fire->isActive());
        frame();
        EXPECT_TRUE(send(input(false)));
        frame();
        EXPECT_TRUE(queue.take().empty());
    }

    // A hold ends when its binding is destroyed, and a held trigger that is destroyed leaves
    // the held set: neither could ever see the release.
    send(keyEvent(SDLK_SPACE, true));
    fire->clearKeyTranslators(0);
    EXPECT_FALSE(fire->isActive());
    send(buttonEvent(0, 5, true));
    fire->trigger(nullptr, nullptr, 3.0f);  // a value the button's release would not end
    new Trigger(&evaluator, 7, "fire", "Fire", ctrlPressed);  // replaces the old one
    frame();
    EXPECT_TRUE(queue.take().empty());
    EXPECT_TRUE(evaluator.activeTriggers.empty());
}

TEST_F(Input, LeftAndRightKeysShareOneAnalogTrigger) {
    Trigger* player = new Trigger(&evaluator, 1, "player", "Walk", 1.0f);
    new KeyTranslator(player, SDLK_LEFT, ctrlDefault, -1.0f);
    new KeyTranslator(player, SDLK_RIGHT, ctrlDefault, 1.0f);
    send(keyEvent(SDLK_LEFT, true));
    EXPECT_EQ(-1.0f, player->value);
    send(keyEvent(SDLK_RIGHT, true));
    EXPECT_EQ(1.0f, player->value);
    // Letting go of left no longer concerns the trigger: right holds it now.
    send(keyEvent(SDLK_LEFT, false));
    EXPECT_EQ(1.0f, player->value);
    frame();
    // Analog triggers are not queued on change by themselves, only while held.
    send(keyEvent(SDLK_RIGHT, false));
    EXPECT_EQ(0.0f, player->value);
    frame();
    EXPECT_EQ((Taken{"player=1"}), queue.take());
    player->queue = true;
    send(keyEvent(SDLK_LEFT, true));
    send(keyEvent(SDLK_LEFT, false));
    EXPECT_EQ((Taken{"player=0"}), queue.take());
}

TEST_F(Input, DownAndUpBindingsFireAtTheirEdgeOnly) {
    Trigger* menu = new Trigger(&evaluator, 2, "menu", "Menu", ctrlDown);
    new KeyTranslator(menu, SDLK_a, ctrlDefault, 1.0f);
    new KeyTranslator(menu, SDLK_b, ctrlUp, 2.0f);
    new JoyButtonTranslator(menu, 1, 3, ctrlDefault, 3.0f);
    EXPECT_TRUE(send(keyEvent(SDLK_a, true)));
    EXPECT_FALSE(send(keyEvent(SDLK_a, false))) << "a down binding does not use the release";
    EXPECT_FALSE(send(keyEvent(SDLK_b, true)));
    EXPECT_TRUE(send(keyEvent(SDLK_b, false)));
    EXPECT_TRUE(send(buttonEvent(1, 3, true)));
    EXPECT_FALSE(send(buttonEvent(0, 3, true))) << "another joystick";
    EXPECT_FALSE(send(buttonEvent(1, 2, true))) << "another button";
    frame();
    // On/off triggers are queued at every firing, even with an unchanged value.
    send(keyEvent(SDLK_a, true));
    EXPECT_EQ((Taken{"menu=1", "menu=2", "menu=3", "menu=1"}), queue.take());

    // A trigger whose own default key state is "default" gives its default bindings nothing
    // to match, so they never fire.
    Trigger* inert = new Trigger(&evaluator, 3, "inert", "", ctrlDefault);
    new KeyTranslator(inert, SDLK_x, ctrlDefault, 1.0f);
    EXPECT_FALSE(send(keyEvent(SDLK_x, true)));
    EXPECT_FALSE(send(keyEvent(SDLK_x, false)));
}

TEST_F(Input, AxisDeflectionIsScaledBetweenDeadZoneAndFullDeflection) {
    Trigger* steer = new Trigger(&evaluator, 5, "steer", "Steer", 2.0f);
    steer->queue = true;  // to see every change
    new JoyAxisTranslator(steer, 0, 1, 0, 8000, 32000);
    const std::pair<Sint16, float> cases[] = {
        {20000, 1.0f},   {32767, 2.0f}, {32000, 2.0f}, {-4000, 0.0f}, {8000, 0.0f}, {-14000, -0.5f},
        {-32768, -2.0f}, {100, 0.0f},   {-200, 0.0f},  {7999, 0.0f},  {-7999, 0.0f}};
    for (const auto& c : cases) {
        EXPECT_TRUE(send(axisEvent(0, 1, c.first)));
        EXPECT_FLOAT_EQ(c.second, steer->value) << c.first;
    }
    // Equal values are never queued twice: a stick resting in the dead zone queues one 0.
    EXPECT_EQ((Taken{"steer=1", "steer=2", "steer=0", "steer=-0.5", "steer=-2", "steer=0"}),
              queue.take());
    EXPECT_FALSE(send(axisEvent(0, 0, 20000))) << "another axis";
    EXPECT_FALSE(send(axisEvent(1, 1, 20000))) << "another joystick";

    // A binding of direction -1 ignores positive deflection on an analog trigger...
    Trigger* left = new Trigger(&evaluator, 6, "left", "Left", 1.0f);
    new JoyAxisTranslator(left, 2, 0, -1, 1000, 11000);
    send(axisEvent(2, 0, -6000));
    EXPECT_FALSE(send(axisEvent(2, 0, 20000))) << "against the binding's direction";
    EXPECT_FLOAT_EQ(-0.5f, left->value);
    EXPECT_TRUE(send(axisEvent(2, 0, 0)));
    EXPECT_EQ(0.0f, left->value);
    // ... but an on/off trigger takes its full value beyond the dead zone either way.
    Trigger* fire = new Trigger(&evaluator, 8, "fire", "Fire", ctrlDown);
    new JoyAxisTranslator(fire, 3, 0, -1, 1000, 11000);
    for (Sint16 raw : {20000, 1000, -1500, 500})
        EXPECT_TRUE(send(axisEvent(3, 0, raw)));
    EXPECT_EQ((Taken{"fire=1", "fire=0", "fire=1", "fire=0"}), queue.take());
}

TEST(ControlQueue, EvaluatorChainThroughSdlsEventQueue) {
    // SDL's event queue needs the video subsystem; the dummy driver opens no window.
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    ASSERT_EQ(0, SDL_Init(SDL_INIT_VIDEO)) << SDL_GetError();
    auto push = [](SDL_Event event) { ASSERT_EQ(0, SDL_PushEvent(&event)); };
    SDL_Event quit = {};
    quit.type = SDL_QUIT;

    // An evaluator without triggers uses nothing; then two evaluators bind the same key.
    InputEvaluator empty, first, second;
    new KeyTranslator(new Trigger(&first, 1, "first", "", ctrlDown), SDLK_a, ctrlDefault, 1.0f);
    new KeyTranslator(new Trigger(&second, 2, "second", "", ctrlDown), SDLK_a, ctrlDefault, 1.0f);
    Trigger* held = new Trigger(&second, 3, "held", "", ctrlPressed);
    new KeyTranslator(held, SDLK_b, ctrlDefault, 1.0f);
    RecordingQueue queue;
    Trigger* out = held;
    queue >> out;
    EXPECT_EQ(nullptr, out) << "an empty queue yields null";
    queue.evaluators = {&empty, &first, &second};

    push(keyEvent(SDLK_a, true));
    push(keyEvent(SDLK_b, true));  // held from now on
    EXPECT_TRUE(queue.readEvents());
    first.enabled = false;
    push(keyEvent(SDLK_a, true));
    EXPECT_TRUE(queue.readEvents());
    for (const char* expected : {"first", "second"}) {
        queue >> out;
        ASSERT_NE(nullptr, out);
        EXPECT_EQ(expected, out->name);
    }
    EXPECT_TRUE(queue.isEmpty());

    // A quit request among other events: the others are still offered.
    first.enabled = true;
    push(keyEvent(SDLK_a, true));
    push(quit);
    push(keyEvent(SDLK_a, true));
    EXPECT_FALSE(queue.readEvents());
    EXPECT_TRUE(queue.readEvents()) << "the request was consumed";
    // Performing skips disabled evaluators; flushing reaches them, and queued entries stay.
    queue.perform(16);
    second.enabled = false;
    queue.perform(16);
    EXPECT_EQ((Taken{"first=1", "second=1", "first=1", "first=1", "held=1"}), queue.take());
    queue << held;
    queue.flush();
    EXPECT_FALSE(held->isActive());
    EXPECT_FALSE(queue.isEmpty());
    SDL_Quit();
}
