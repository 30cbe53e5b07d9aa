#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "framework/application.hpp"
#include "framework/application_state.hpp"
#include "framework/frame_pacer.hpp"
#include "lumo/video.hpp"
#include "support/test_application.hpp"

using namespace lumo;

namespace {

/// Time that moves only when the test works or the pacer sleeps; a sleep may overshoot.
class FakeClock : public FramePacer::Clock {
  public:
    std::int64_t nowMicros() override { return now; }
    void sleepMicros(std::int64_t micros) override {
        sleeps.push_back(micros);
        now += micros + overshoot;
    }
    std::int64_t now = 1000000;
    std::int64_t overshoot = 0;
    std::vector<std::int64_t> sleeps;
};

/// Runs frames of the given work durations (microseconds) through the pacer, each followed by a
/// swap of `swapMicros`; returns the time from the end of one frame to the end of the next.
std::vector<std::int64_t> runFrames(FramePacer& pacer, FakeClock& clock,
                                    const std::vector<std::int64_t>& work, int fps,
                                    std::int64_t swapMicros = 200) {
    std::vector<std::int64_t> frames;
    std::int64_t previousEnd = clock.now;
    for (std::int64_t w : work) {
        clock.now += w + swapMicros;
        pacer.swapped(swapMicros);
        pacer.endFrame(fps);
        frames.push_back(clock.now - previousEnd);
        previousEnd = clock.now;
    }
    return frames;
}

}  // namespace

TEST(FramePacerTest, FastFramesAreStretchedToTheRateAndOversleepIsMadeUp) {
    FakeClock clock;
    FramePacer pacer(&clock);
    // 50 fps = 20 ms a frame. The first frame only starts the clock.
    auto frames = runFrames(pacer, clock, {3000, 4800, 9800, 19800, 1000}, 50);
    EXPECT_EQ(frames, (std::vector<std::int64_t>{3200, 20000, 20000, 20000, 20000}));
    // The 20 ms frame needs no sleep at all.
    EXPECT_EQ(clock.sleeps, (std::vector<std::int64_t>{15000, 10000, 18800}));

    // A sleep that overshoots by 1.5 ms makes the next one that much shorter, so the average
    // rate holds.
    clock.overshoot = 1500;
    clock.sleeps.clear();
    frames = runFrames(pacer, clock, {5000, 5000}, 50);
    EXPECT_EQ(frames, (std::vector<std::int64_t>{21500, 20000}));
    EXPECT_EQ(clock.sleeps, (std::vector<std::int64_t>{14800, 13300}));
}

TEST(FramePacerTest, SlowFramesNeverSleepAndALoopFarBehindStartsAfresh) {
    FakeClock clock;
    FramePacer pacer(&clock);
    runFrames(pacer, clock, {1000}, 50);
    // 25 ms is behind by 5 ms: no sleep, and the next frame gets 5 ms less. 65 ms is more than
    // a frame behind: the loop does not then race through three short frames.
    auto frames = runFrames(pacer, clock, {24800, 9800, 64800, 4800, 4800}, 50);
    EXPECT_EQ(frames, (std::vector<std::int64_t>{25000, 15000, 65000, 20000, 20000}));
}

TEST(FramePacerTest, NoSleepWhenUnlimitedOrWhenTheSwapWaitsForTheDisplay) {
    struct Case {
        const char* what;
        int fps;
        std::vector<std::int64_t> swaps;  // one per frame, oldest first
        bool waits;
        bool sleepsAtEnd;
    };
    const std::vector<Case> cases = {
        {"unlimited", 0, {200, 200, 200}, false, false},
        {"swaps wait for a 60 Hz display", 60, {15000, 14000, 16000}, true, false},
        {"a few slow swaps among quick ones", 60, {200, 9000, 200, 8000, 200}, false, true},
        {"the display starts waiting",
         60,
         {200, 200, 200, 200, 5000, 5000, 5000, 5000, 5000},
         true,
         false},
        // Only the last 15 swaps count: 20 slow ones, then 15 quick ones.
        {"the display stops waiting", 60,
         [] {
             std::vector<std::int64_t> v(20, 16000);
             v.insert(v.end(), 15, 200);
             return v;
         }(),
         false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FakeClock clock;
        FramePacer pacer(&clock);
        EXPECT_FALSE(pacer.swapWaitsForDisplay());
        for (std::int64_t s : c.swaps) {
            clock.sleeps.clear();
            clock.now += 1000 + s;
            pacer.swapped(s);
            pacer.endFrame(c.fps);
        }
        EXPECT_EQ(pacer.swapWaitsForDisplay(), c.waits);
        EXPECT_EQ(!clock.sleeps.empty(), c.sleepsAtEnd);
    }
}

namespace {

/// Swaps the way flipScreen() reports it, taking `swapMicros` of the fake clock, and ends
/// itself after `passes` passes.
class SwappingState : public ApplicationState {
  public:
    SwappingState(FakeClock& c, std::int64_t swap, int n) : clock(c), swapMicros(swap), passes(n) {
        performStageCount = 1;
        drawStageCount = 1;
    }
    void handleEvent(const Trigger*) override {}
    void doPerform(int, unsigned int) override { terminate = ++performed == passes; }
    void doDraw(int) override {
        clock.now += 1000 + swapMicros;
        lastSwapMicros = swapMicros;
        ++swapCounter;
    }
    FakeClock& clock;
    std::int64_t swapMicros;
    int passes;
    int performed = 0;
};

}  // namespace

TEST(FramePacerTest, TheApplicationLoopPacesOnlyWhenTheSwapDoesNotWait) {
    lumo::testing::TestApplication& app = lumo::testing::testApplication();
    const int savedLimit = frameRateLimit;
    for (std::int64_t swap : {200, 16000}) {
        SCOPED_TRACE(swap);
        FakeClock clock;
        app.pacer = FramePacer(&clock);
        frameRateLimit = 100;
        (new SwappingState(clock, swap, 40))->activate();
        app.run();
        EXPECT_EQ(app.state, nullptr);
        if (swap == 200) {
            // 40 passes: the last deletes the state and the first starts the clock, so 38
            // sleeps fill 10 ms frames of 1.2 ms work.
            ASSERT_EQ(clock.sleeps.size(), 38u);
            EXPECT_EQ(clock.sleeps.back(), 8800);
        } else {
            EXPECT_TRUE(clock.sleeps.empty());
        }
    }
    frameRateLimit = savedLimit;
    app.pacer = FramePacer();
}
