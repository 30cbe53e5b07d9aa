#include "framework/frame_pacer.hpp"

#include <algorithm>
#include <chrono>
#include <thread>

namespace lumo {

int frameRateLimit = 60;

namespace {

class SteadyClock : public FramePacer::Clock {
  public:
    std::int64_t nowMicros() override {
        using namespace std::chrono;
        return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
    }
    void sleepMicros(std::int64_t micros) override {
        std::this_thread::sleep_for(std::chrono::microseconds(micros));
    }
};

SteadyClock steadyClock;

}  // namespace

FramePacer::FramePacer(Clock* c) : clock(c ? c : &steadyClock) {}

void FramePacer::swapped(std::int64_t micros) {
    swaps[swapCount % swapWindow] = micros;
    ++swapCount;
    // Keep the index small while remembering that the window is full.
    if (swapCount == 2 * swapWindow)
        swapCount = swapWindow;
}

bool FramePacer::swapWaitsForDisplay() const {
    const int n = std::min(swapCount, swapWindow);
    if (n == 0)
        return false;
    std::int64_t sorted[swapWindow];
    std::copy(swaps, swaps + n, sorted);
    // The lower median: while few swaps are known, a tie counts as not waiting, the safe side.
    std::nth_element(sorted, sorted + (n - 1) / 2, sorted + n);
    return sorted[(n - 1) / 2] >= waitingSwapMicros;
}

void FramePacer::endFrame(int fps) {
    if (fps <= 0 || swapWaitsForDisplay()) {
        pacing = false;
        return;
    }
    const std::int64_t now = clock->nowMicros();
    if (!pacing) {
        // The first paced pass has no known start; the next frame is measured from here.
        pacing = true;
        deadline = now;
        return;
    }
    deadline += 1000000 / fps;
    // More than a frame behind: the next frame is timed from now rather than the loop racing
    // through the frames it missed.
    if (now - deadline > 1000000 / fps)
        deadline = now;
    if (deadline > now)
        clock->sleepMicros(deadline - now);
}

}  // namespace lumo
