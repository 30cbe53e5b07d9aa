#include "gfx/fonts/messages.hpp"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "gfx/fonts/font.hpp"
#include "support/gl_test_window.hpp"

using lumo::fonts::BlinkMessage;
using lumo::fonts::Message;
using lumo::fonts::Messages;
typedef std::vector<std::string> Log;

namespace {

/// Ten pixels per character, ten high; logs each print with the pen position, and the deaths
/// of the messages that point at it.
class FakeFont : public lumo::fonts::Font {
  public:
    Uint8 getHeight() const override { return 10; }
    Uint16 getWidth(const char* text) const override { return Uint16(10 * std::strlen(text)); }
    void print(const char* text) override {
        log.push_back(std::string(text) + "@" + std::to_string(int(lumo::testing::penX())) + "," +
                      std::to_string(int(lumo::testing::penY())));
    }
    void release() override {}
    void load() override {}
    Log log;
};

struct TracedMessage : Message {
    TracedMessage(std::string text, float ttl, FakeFont* f) : Message(text, ttl) { font = f; }
    ~TracedMessage() override { static_cast<FakeFont*>(font)->log.push_back("~" + text); }
};

TEST(Messages, TimeToLiveReplacingAndCentredDrawing) {
    lumo::testing::openTestWindow();
    FakeFont font, queueFont;
    {
        Messages queue;
        queue.font = &queueFont;
        queue.rect = lumo::Rect(100, 50, 200, 40);
        TracedMessage* hi = new TracedMessage("hi", 100, &font);
        queue += hi;
        queue += hi;  // adding a held message again changes nothing
        queue += nullptr;
        queue.perform(60);
        EXPECT_FLOAT_EQ(hi->ttl, 40);
        // Centred: x = 100 + 100 - 10, y = 50 + 20 - 5.
        queue.draw();
        queue.perform(40);
        EXPECT_TRUE(queue.getMessages().empty());
        EXPECT_EQ(font.log, (Log{"hi@190,65", "~hi"}));

        // Without `multiple` a new message replaces the one shown; with it they add up, and a
        // message without a font takes the queue's.
        font.log.clear();
        queue += new TracedMessage("one", 100, &font);
        queue += new TracedMessage("two", 100, &font);
        queue.multiple = true;
        queue += new TracedMessage("three", 50, &font);
        queue += new Message("plain", 100);
        queue.draw();
        EXPECT_EQ(queueFont.log, (Log{"plain@175,65"}));
        // Only the expired one goes; a message already out goes at the next step, however short.
        queue.perform(50);
        queue += new TracedMessage("old", -1, &font);
        queue.perform(0);
        EXPECT_EQ(queue.getMessages().size(), 2u);
        font.log.push_back("|");
    }
    // The queue destroys what it still holds.
    EXPECT_EQ(font.log, (Log{"~one", "two@185,65", "three@175,65", "~three", "~old", "|", "~two"}));
}

TEST(Messages, BlinkPhasesMatchAStepByStepOracleAndZeroDurationsDoNotHang) {
    lumo::testing::openTestWindow();
    FakeFont font;
    BlinkMessage m("blink", 1000, 100, 50);
    m.font = &font;
    // Drawn only while on: on until 100 (the phase is over at 0), then off for 50.
    for (float step : {99.0f, 1.0f, 50.0f}) {
        m.perform(step);
        m.draw(lumo::Rect(0, 0, 100, 100), lumo::jhLeft, lumo::jvBottom);
    }
    EXPECT_EQ(font.log, (Log{"blink@0,0", "blink@0,0"}));
    EXPECT_FLOAT_EQ(m.ttl, 1000 - 150);

    // Against a step-by-step oracle; a negative off phase takes the on phase's length. Whole
    // numbers keep every float operation exact, so both sides must agree exactly.
    std::mt19937 random(7);
    std::uniform_int_distribution<int> duration(1, 50), step(0, 400);
    for (int run = 0; run < 200; ++run) {
        const float on = float(duration(random)), off = float(duration(random) - (run % 7 == 0));
        BlinkMessage b("x", 1e9f, on, run % 5 == 0 ? -1 : off);
        const float offLength = run % 5 == 0 ? on : off;
        bool visible = true;
        float counter = on;
        for (int i = 0; i < 20; ++i) {
            const float elapsed = float(run % 10 == 0 ? step(random) * 1000 : step(random));
            b.perform(elapsed);
            for (counter -= elapsed; counter <= 0;)
                counter += (visible = !visible) ? on : offLength;
            ASSERT_EQ(b.visible, visible) << "run " << run << " step " << i;
            ASSERT_EQ(b.blinkCounter, counter) << "run " << run << " step " << i;
        }
    }

    // Durations of zero (as after default construction) or below must not hang.
    BlinkMessage steady, zero("z", 100, 0, 0), lopsided("l", 100, -5, 3),
        fast("f", 1, 1e-3f, 1e-3f);
    steady.perform(10);
    zero.perform(1e30f);
    EXPECT_TRUE(steady.visible && zero.visible);
    lopsided.perform(1000);
    lopsided.perform(2.5f);
    fast.perform(1e9f);
    EXPECT_GT(lopsided.blinkCounter, 0);
    EXPECT_GT(fast.blinkCounter, 0);
}

}  // namespace
