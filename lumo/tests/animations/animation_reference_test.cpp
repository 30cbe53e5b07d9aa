#include "gfx/animations/animation_reference.hpp"

#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <random>
#include <vector>

#include "animations/fake_image.hpp"

using lumo::Rect;
using lumo::Vector2D;
using lumo::gfx::Animation;
using lumo::gfx::AnimationFrame;
using lumo::gfx::AnimationReference;
using lumo::testing::FakeImage;

namespace {

// An animation over fake images "f0", "f1", ... with the given frame delays.
struct Fixture {
    Fixture(const std::vector<float>& delays, bool loop) : animation("test") {
        animation.loop = loop;
        for (std::size_t i = 0; i < delays.size(); ++i) {
            images.emplace_back(new FakeImage("f" + std::to_string(i), 10 + i, 20 + i));
            animation.frames.push_back(AnimationFrame(images.back().get(), delays[i]));
        }
    }
    std::unique_ptr<AnimationReference> play(float speed = 1.0f) {
        return std::unique_ptr<AnimationReference>(animation.getReference(speed));
    }
    std::vector<std::unique_ptr<FakeImage>> images;
    Animation animation;
};

// The timing rule stepped literally, one frame at a time: the oracle for the reference.
struct LiteralPlayer {
    LiteralPlayer(const std::vector<float>& d, bool loop, float s)
        : delays(d), speed(s), target(loop ? d.size() : d.size() - 1) {}
    void perform(float ticks) {
        if (index == target)
            return;
        time += ticks;
        while (time > speed * delays[index]) {
            if (index != target) {
                index += target >= index ? 1 : -1;
                if (index >= delays.size())
                    index = 0;
            }
            time -= speed * delays[index];
        }
    }
    std::vector<float> delays;
    float speed;
    unsigned target;
    unsigned index = 0;
    float time = 0;
};

TEST(AnimationReference, NonLoopingAnimationPassesSeveralFramesPerCallAndStopsAtTheLast) {
    Fixture f({100, 100, 100}, false);
    auto ref = f.play();
    EXPECT_EQ(0u, ref->getIndex());
    EXPECT_FALSE(ref->isFinished());

    ref->perform(250);  // 250 - 100 - 100
    EXPECT_EQ(2u, ref->getIndex());
    EXPECT_EQ(50.0f, ref->getTimeIndex());
    EXPECT_TRUE(ref->isFinished());
    EXPECT_EQ(f.images[2].get(), ref->getImage());

    ref->perform(60);
    EXPECT_EQ(2u, ref->getIndex());
    EXPECT_EQ(50.0f, ref->getTimeIndex());
    EXPECT_TRUE(ref->isFinished());

    // Finished from the moment the last frame is entered, not when it has been shown.
    auto early = f.play();
    early->perform(201);
    EXPECT_EQ(2u, early->getIndex());
    EXPECT_TRUE(early->isFinished());

    // A huge step after a short last frame leaves the remainder where stepping in place would.
    Fixture shortEnd({10, 10, 7}, false);
    auto end = shortEnd.play();
    end->perform(1000000);
    EXPECT_EQ(2u, end->getIndex());
    LiteralPlayer literal({10, 10, 7}, false, 1);
    literal.perform(1000000);
    EXPECT_EQ(literal.time, end->getTimeIndex());
}

TEST(AnimationReference, LoopingAnimationLeavesAFrameOnlyWhenItsDelayIsExceededAndWraps) {
    Fixture f({100, 100}, true);
    auto ref = f.play();
    ref->perform(100);  // not greater than 100
    EXPECT_EQ(0u, ref->getIndex());
    ref->perform(1);
    EXPECT_EQ(1u, ref->getIndex());
    EXPECT_EQ(1.0f, ref->getTimeIndex());
    ref->perform(100);
    EXPECT_EQ(0u, ref->getIndex());
    EXPECT_EQ(1.0f, ref->getTimeIndex());
    EXPECT_FALSE(ref->isFinished());

    // Hours of elapsed time in one call: whole cycles change nothing but the time.
    ref->perform(3600000.5f);
    LiteralPlayer literal({100, 100}, true, 1);
    literal.perform(101);
    literal.perform(100);
    literal.perform(3600000.5f);
    EXPECT_EQ(literal.index, ref->getIndex());
    EXPECT_EQ(literal.time, ref->getTimeIndex());
    EXPECT_FALSE(ref->isFinished());
}

TEST(AnimationReference, CarryUsesTheDelayOfTheFrameEnteredAndSpeedScalesEveryDelay) {
    Fixture f({100, 300, 100}, false);
    auto ref = f.play();
    ref->perform(150);
    EXPECT_EQ(1u, ref->getIndex());
    EXPECT_EQ(-150.0f, ref->getTimeIndex());  // 150 - 300: frame 1 lasts 450 more
    ref->perform(449);
    EXPECT_EQ(1u, ref->getIndex());
    ref->perform(2);
    EXPECT_EQ(2u, ref->getIndex());

    auto slow = f.play(2.0f);
    slow->perform(200);
    EXPECT_EQ(0u, slow->getIndex());
    slow->perform(1);
    EXPECT_EQ(1u, slow->getIndex());
    EXPECT_EQ(-399.0f, slow->getTimeIndex());  // 201 - 2 x 300
}

TEST(AnimationReference, FollowsTheLiteralTimingRuleForRandomAnimations) {
    std::mt19937 random(20240611);
    const float speeds[] = {0.5f, 1.0f, 2.0f, 3.0f};
    for (int round = 0; round < 300; ++round) {
        std::vector<float> delays(1 + random() % 6);
        for (float& d : delays)
            d = static_cast<float>(1 + random() % 60);
        const bool loop = random() % 2;
        const float speed = speeds[random() % 4];
        Fixture f(delays, loop);
        auto ref = f.play(speed);
        LiteralPlayer literal(delays, loop, speed);
        for (int call = 0; call < 40; ++call) {
            // Mostly frame-sized steps, sometimes a long stall.
            const float ticks =
                static_cast<float>(random() % 10 == 0 ? random() % 100000 : random() % 150);
            ref->perform(ticks);
            literal.perform(ticks);
            ASSERT_EQ(literal.index, ref->getIndex()) << "round " << round << " call " << call;
            ASSERT_EQ(literal.time, ref->getTimeIndex()) << "round " << round << " call " << call;
            ASSERT_EQ(f.images[literal.index].get(), ref->getImage());
            ASSERT_EQ(!loop && literal.index == literal.target, ref->isFinished());
        }
    }
}

TEST(AnimationReference, CopiesTheCurrentFrameImageAndDrawsThroughIt) {
    Fixture f({10, 10}, true);
    f.images[1]->setHotspot(Vector2D(3, 4));
    auto ref = f.play();
    EXPECT_EQ(10u, ref->getWidth());
    EXPECT_EQ(20u, ref->getHeight());
    ref->perform(11);
    EXPECT_EQ(11u, ref->getWidth());
    EXPECT_EQ(21u, ref->getHeight());
    EXPECT_EQ(Vector2D(3, 4), ref->getHotspot());
    EXPECT_EQ(f.images[1]->getOuterBoundingBox(), ref->getOuterBoundingBox());

    FakeImage::calls().clear();
    ref->draw(Vector2D(5, 6));
    ref->draw(Rect(1, 2, 3, 4));
    ref->drawStretched(Rect(7, 8, 9, 10));
    const std::vector<std::string> expected = {"f1 at 5 6 0 0", "f1 rect 1 2 3 4",
                                               "f1 stretched 7 8 9 10"};
    EXPECT_EQ(expected, FakeImage::calls());
}

TEST(AnimationReference, FramesWithoutImagesAndAnimationsWithoutFramesAreSafe) {
    // The middle frame named an image its bank did not have.
    Fixture f({10, 10, 10}, true);
    f.animation.frames[1].image = nullptr;
    auto ref = f.play();
    ref->perform(11);
    EXPECT_EQ(1u, ref->getIndex());
    EXPECT_EQ(nullptr, ref->getImage());
    FakeImage::calls().clear();
    ref->draw(Vector2D(0, 0));
    ref->draw(Rect(0, 0, 1, 1));
    ref->drawStretched(Rect(0, 0, 1, 1));
    EXPECT_TRUE(FakeImage::calls().empty());
    ref->perform(10);
    EXPECT_EQ(2u, ref->getIndex());
    ref->draw(Vector2D(0, 0));
    EXPECT_EQ(1u, FakeImage::calls().size());

    for (bool loop : {false, true}) {
        Animation empty("empty");
        empty.loop = loop;
        std::unique_ptr<AnimationReference> none(empty.getReference(1.0f));
        none->perform(1000);
        none->draw(Vector2D(0, 0));
        none->draw(Rect(0, 0, 1, 1));
        none->drawStretched(Rect(0, 0, 1, 1));
        EXPECT_EQ(nullptr, none->getFrame());
        EXPECT_EQ(0u, none->getIndex());
        EXPECT_EQ(!loop, none->isFinished());
    }

    AnimationReference unset;
    unset.perform(5);
    unset.draw(Vector2D(0, 0));
    EXPECT_TRUE(unset.isFinished());
}

TEST(AnimationReference, DegenerateDelaysNeverHangAPerform) {
    // Zero delays (or a zero speed) in a looping animation: no time can ever be used up.
    Fixture zero({0, 0, 0}, true);
    auto ref = zero.play();
    ref->perform(5);
    EXPECT_EQ(0.0f, ref->getTimeIndex());
    EXPECT_LT(ref->getIndex(), 3u);

    Fixture negative({-5, 10}, false);
    auto neg = negative.play();
    neg->perform(1);
    EXPECT_TRUE(neg->isFinished());

    Fixture f({10, 10}, true);
    auto fast = f.play(0.0f);
    fast->perform(100);
    EXPECT_EQ(0.0f, fast->getTimeIndex());
    auto endless = f.play();
    endless->perform(std::numeric_limits<float>::infinity());
    EXPECT_EQ(0.0f, endless->getTimeIndex());
}

}  // namespace
