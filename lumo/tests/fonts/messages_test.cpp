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

namespace {

/// Ten pixels per character, ten high; records each print with the pen position.
class FakeFont : public lumo::fonts::Font {
  public:
    Uint8 getHeight() const override { return 10; }
    Uint16 getWidth(const char* text) const override {
        return static_cast<Uint16>(10 * std::strlen(text));
    }
    void print(const char* text) override {
        printed.push_back(std::string(text) + "@" + std::to_string(int(lumo::testing::penX())) +
                          "," + std::to_string(int(lumo::testing::penY())));
    }
    void release() override {}
    void load() override {}
    std::vector<std::string> printed;
};

/// Tells when it is destroyed.
class TracedMessage : public Message {
  public:
    TracedMessage(std::string text, float ttl, int* deaths) : Message(text, ttl), count(deaths) {}
    ~TracedMessage() override { ++*count; }
    int* count;
};

class MessagesTest : public ::testing::Test {
  protected:
    void SetUp() override { lumo::testing::openTestWindow(); }
};

TEST_F(MessagesTest, TimeToLiveAndCentredDrawing) {
    FakeFont font;
    int deaths = 0;
    {
        Messages queue;
        queue.font = &font;
        queue.rect = lumo::Rect(100, 50, 200, 40);
        queue += new TracedMessage("hi", 100, &deaths);
        queue.perform(60);
        ASSERT_EQ(queue.getMessages().size(), 1u);
        EXPECT_FLOAT_EQ(queue.getMessages().front()->ttl, 40);

        // Centred: x = 100 + 100 - 10, y = 50 + 20 - 5.
        queue.draw();
        EXPECT_EQ(font.printed, (std::vector<std::string>{"hi@190,65"}));

        queue.perform(40);
        EXPECT_TRUE(queue.getMessages().empty());
        EXPECT_EQ(deaths, 1);

        // A message that already ran out goes at the next perform, whatever the step.
        queue += new TracedMessage("old", -1, &deaths);
        queue.perform(0);
        EXPECT_EQ(deaths, 2);
        queue += new TracedMessage("left", 1000, &deaths);
        queue += nullptr;
    }
    // The queue destroys what it still holds.
    EXPECT_EQ(deaths, 3);
}

TEST_F(MessagesTest, OneMessageAtATimeUnlessMultiple) {
    FakeFont queueFont, ownFont;
    int deaths = 0;
    Messages queue;
    queue.font = &queueFont;
    TracedMessage* first = new TracedMessage("one", 100, &deaths);
    queue += first;
    queue += first;  // adding a held message again changes nothing
    EXPECT_EQ(deaths, 0);
    queue += new TracedMessage("two", 100, &deaths);
    EXPECT_EQ(deaths, 1);
    ASSERT_EQ(queue.getMessages().size(), 1u);
    EXPECT_EQ(queue.getMessages().front()->text, "two");

    queue.multiple = true;
    Message* own = new Message("three", 50);
    own->font = &ownFont;
    queue += own;
    EXPECT_EQ(own->font, &ownFont);
    EXPECT_EQ(queue.getMessages().size(), 2u);
    queue.draw();
    EXPECT_EQ(queueFont.printed.size(), 1u);
    EXPECT_EQ(ownFont.printed.size(), 1u);

    // Only the expired one goes.
    queue.perform(50);
    ASSERT_EQ(queue.getMessages().size(), 1u);
    EXPECT_EQ(queue.getMessages().front()->text, "two");

    queue.clear();
    EXPECT_EQ(deaths, 2);
    EXPECT_TRUE(queue.getMessages().empty());

    // Without a font a message draws nothing.
    Messages bare;
    bare += new Message("nobody prints me", 10);
    bare.draw();
}

TEST_F(MessagesTest, BlinkPhases) {
    FakeFont font;
    BlinkMessage m("blink", 1000, 100, 50);
    m.font = &font;
    EXPECT_TRUE(m.visible);
    m.perform(99);
    EXPECT_TRUE(m.visible);
    m.perform(1);  // the on phase is over at 0
    EXPECT_FALSE(m.visible);
    EXPECT_FLOAT_EQ(m.blinkCounter, 50);
    m.draw(lumo::Rect(0, 0, 100, 100), lumo::jhLeft, lumo::jvBottom);
    EXPECT_TRUE(font.printed.empty());
    m.perform(50);
    EXPECT_TRUE(m.visible);
    m.draw(lumo::Rect(0, 0, 100, 100), lumo::jhLeft, lumo::jvBottom);
    EXPECT_EQ(font.printed.size(), 1u);
    // One long step flips several times: 100 on + 50 off + 100 on, ending 30 into off.
    m.perform(280);
    EXPECT_FALSE(m.visible);
    EXPECT_FLOAT_EQ(m.blinkCounter, 20);
    EXPECT_FLOAT_EQ(m.ttl, 1000 - 99 - 1 - 50 - 280);

    // A negative off phase takes the on phase's length.
    BlinkMessage even("even", 1000, 40, -1);
    EXPECT_FLOAT_EQ(even.blinkDurationOff, 40);
    even.perform(40);
    EXPECT_FALSE(even.visible);
    EXPECT_FLOAT_EQ(even.blinkCounter, 40);
}

TEST_F(MessagesTest, BlinkingMatchesAStepByStepOracleAndZeroDurationsDoNotHang) {
    std::mt19937 random(7);
    // Whole numbers keep every float operation exact, so both sides must agree exactly.
    std::uniform_int_distribution<int> duration(1, 50), step(0, 400);
    for (int run = 0; run < 200; ++run) {
        const float on = float(duration(random)), off = float(duration(random));
        BlinkMessage m("x", 1e9f, on, off);
        bool visible = true;
        float counter = on;
        for (int i = 0; i < 20; ++i) {
            const float elapsed = float(run % 10 == 0 ? step(random) * 1000 : step(random));
            m.perform(elapsed);
            counter -= elapsed;
            while (counter <= 0) {
                visible = !visible;
                counter += visible ? on : off;
            }
            ASSERT_EQ(m.visible, visible) << "run " << run << " step " << i;
            ASSERT_EQ(m.blinkCounter, counter) << "run " << run << " step " << i;
        }
    }

    // Durations of zero (the default construction) leave the phase alone.
    BlinkMessage steady;
    steady.perform(10);
    EXPECT_TRUE(steady.visible);
    BlinkMessage zero("z", 100, 0, 0);
    zero.perform(1e30f);
    EXPECT_TRUE(zero.visible);
    // A negative phase with a positive one still ends each step.
    BlinkMessage lopsided("l", 100, -5, 3);
    lopsided.perform(1000);
    lopsided.perform(2.5f);
    EXPECT_GT(lopsided.blinkCounter, 0);
    // Tiny phases against a huge step.
    BlinkMessage fast("f", 100, 1e-3f, 1e-3f);
    fast.perform(1e9f);
    EXPECT_GT(fast.blinkCounter, 0);
}

}  // namespace
