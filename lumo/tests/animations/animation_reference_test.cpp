#include "gfx/animations/animation_reference.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "lumo/convert.hpp"

using lumo::Rect;
using lumo::Vector2D;
using lumo::gfx::Animation;
using lumo::gfx::AnimationFrame;
using lumo::gfx::AnimationReference;

namespace {

// An image of a given size that only records what it is asked to draw.
class FakeImage : public lumo::gfx::Image {
  public:
    FakeImage(int n, Uint32 w, Uint32 h) : name("f" + std::to_string(n)) {
        width = w, height = h;
        outerBoundingBox = lumo::gfx::RectInt(1, 2, int(w), int(h));
    }
    void draw(const Vector2D& p) override { calls += name + " at " + lumo::toStr(p.x) + " "; }
    void draw(const Rect& r) override { calls += name + " rect " + lumo::toStr(r.pos.x) + " "; }
    void drawStretched(const Rect& r) override {
        calls += name + " stretched " + lumo::toStr(r.pos.x) + " ";
    }
    static std::string calls;
    std::string name;
};
std::string FakeImage::calls;

// An animation over fake images f0, f1, ... (f<i> is 10 + i by 20 + i) with the given delays.
struct Fixture {
    Fixture(const std::vector<float>& delays, bool loop) {
        animation.loop = loop;
        for (std::size_t i = 0; i < delays.size(); ++i) {
            images.emplace_back(new FakeImage(int(i), 10 + i, 20 + i));
            animation.frames.push_back(AnimationFrame(images.back().get(), delays[i]));
        }
    }
    std::unique_ptr<AnimationReference> play(float speed = 1.0f) {
        return std::unique_ptr<AnimationReference>(animation.getReference(speed));
    }
    std::vector<std::unique_ptr<FakeImage>> images;
    Animation animation{"test"};
};

// The timing rule stepped literally, one frame at a time: the oracle for the reference.
struct LiteralPlayer {
    LiteralPlayer(const std::vector<float>& d, bool loop, float s)
        : delays(d), speed(s), target(loop ? d.size() : d.size() - 1) {}
    void perform(float ticks) {
        if (index == target)
            return;
        for (time += ticks; time > speed * delays[index]; time -= speed * delays[index])
            if (index != target) {
                index += target >= index ? 1 : -1;
                index = index >= delays.size() ? 0 : index;
            }
    }
    std::vector<float> delays;
    float speed;
    unsigned target, index = 0;
    float time = 0;
};

TEST(AnimationReference, FollowsTheLiteralRuleForRandomAnimationsAndLongStalls) {
    std::mt19937 random(20240611);
    const float speeds[] = {0.5f, 1.0f, 2.0f, 3.0f};
    for (int round = 0; round < 300; ++round) {
        std::vector<float> delays(1 + random() % 6);
        for (float& d : delays)
            d = float(1 + random() % 60);
        const bool loop = random() % 2;
        const float speed = speeds[random() % 4];
        Fixture f(delays, loop);
        auto ref = f.play(speed);
        LiteralPlayer literal(delays, loop, speed);
        for (int call = 0; call < 40; ++call) {
            // Mostly frame-sized steps, sometimes a stall over many whole cycles.
            const float ticks = float(random() % 10 ? random() % 150 : random() % 100000);
            ref->perform(ticks);
            literal.perform(ticks);
            ASSERT_EQ(literal.index, ref->getIndex()) << "round " << round << " call " << call;
            ASSERT_EQ(literal.time, ref->getTimeIndex()) << "round " << round << " call " << call;
            ASSERT_EQ(!loop && literal.index == literal.target, ref->isFinished());
            ASSERT_EQ(f.images[literal.index].get(), ref->getImage());
        }
    }
}

TEST(AnimationReference, TakesOnTheFrameImageAndDrawsThroughItOrNotAtAll) {
    // The middle frame named an image its bank did not have: it draws nothing.
    Fixture f({10, 10, 10}, false);
    f.images[2]->setHotspot(Vector2D(3, 4));
    f.animation.frames[1].image = nullptr;
    auto ref = f.play();
    for (const char* expected :
         {"f0 at 5 f0 rect 1 f0 stretched 7 ", "", "f2 at 5 f2 rect 1 f2 stretched 7 "}) {
        FakeImage::calls.clear();
        ref->draw(Vector2D(5, 6));
        ref->draw(Rect(1, 2, 3, 4));
        ref->drawStretched(Rect(7, 8, 9, 10));
        EXPECT_EQ(expected, FakeImage::calls);
        ref->perform(11);
    }
    EXPECT_EQ(22u, ref->getHeight());
    EXPECT_EQ(Vector2D(3, 4), ref->getHotspot());
    EXPECT_EQ(f.images[2]->getOuterBoundingBox(), ref->getOuterBoundingBox());
}

TEST(AnimationReference, MissingFramesAndDegenerateDelaysAreSafe) {
    Animation empty("empty");
    for (bool loop : {false, true}) {
        empty.loop = loop;
        std::unique_ptr<AnimationReference> none(empty.getReference(1.0f));
        none->perform(1000);
        none->draw(Vector2D(0, 0));
        EXPECT_EQ(nullptr, none->getFrame());
        EXPECT_EQ(!loop, none->isFinished());
    }
    AnimationReference().perform(5);

    // A negative delay is over at once (zero delays and speeds are in the extreme test).
    Fixture negative({-5, 10}, false);
    auto neg = negative.play();
    neg->perform(1);
    EXPECT_TRUE(neg->isFinished());

    // A delay too small to change the time at its magnitude (found with delay="1e-17").
    Fixture tiny({1e-17f}, true);
    auto hang = tiny.play();
    hang->perform(16);
    EXPECT_LE(hang->getTimeIndex(), 1e-17f);
}

// Every call returns, with the time left below the current frame's delay, whatever the delays,
// speeds and elapsed times: none of them may stall the walk through the frames.
TEST(AnimationReference, ExtremeDelaysAndTickLengthsAlwaysEndTheStep) {
    const float big = std::numeric_limits<float>::max();
    const float delays[] = {
        0,  1e-40f, 1e-30f, 1e-17f, 1e-7f, 0.3f, 1,
        60, 1e7f,   1e20f,  1e38f,  big,   -1,   std::numeric_limits<float>::quiet_NaN()};
    const float ticks[] = {0,    1e-30f, 1e-3f, 1,     16,  1e4f,
                           3e7f, 1e9f,   1e20f, 1e38f, big, std::numeric_limits<float>::infinity()};
    const float speeds[] = {1, 0.5f, 0, 1e-20f, 1e20f};
    std::mt19937 random(16);
    auto pick = [&random](const auto& table) {
        return table[random() % (sizeof table / sizeof table[0])];
    };
    for (int round = 0; round < 400; ++round) {
        std::vector<float> frameDelays(1 + random() % 5);
        for (float& d : frameDelays)
            d = pick(delays);
        const bool loop = random() % 4 != 0;
        const float speed = pick(speeds);
        Fixture f(frameDelays, loop);
        auto ref = f.play(speed);
        for (int call = 0; call < 30; ++call) {
            ref->perform(pick(ticks));
            const float delay = speed * frameDelays[ref->getIndex()];
            ASSERT_LT(ref->getIndex(), frameDelays.size());
            ASSERT_TRUE(std::isfinite(ref->getTimeIndex())) << "round " << round;
            ASSERT_LE(ref->getTimeIndex(), std::max(0.0f, delay))
                << "round " << round << " call " << call;
        }
    }
}

}  // namespace
