#pragma once
// Holds the application loop to a frame rate when the buffer swap does not wait for the display
// (software renderers and drivers that ignore the swap-control request), so an idle screen does
// not spin a whole core. Main thread only.

#include <cstdint>

namespace lumo {

/// Frames per second the loop keeps to when the swap does not wait for the display; 0 means
/// unlimited. Read at the end of every pass, so it may change at any time.
extern int frameRateLimit;

/// Decides from measured swap times whether the display paces the loop, and otherwise sleeps
/// away the rest of each frame. It only sleeps: the loop's ticks stay measured frame time.
class FramePacer {
  public:
    /// Where the pacer reads the time and how it sleeps; a seam for tests.
    class Clock {
      public:
        virtual ~Clock() = default;
        /// A monotonic time in microseconds.
        virtual std::int64_t nowMicros() = 0;
        virtual void sleepMicros(std::int64_t micros) = 0;
    };

    /// Swaps that take at least this long (the lower median of the last `swapWindow`) wait for the
    /// display. A swap of finished drawing that does not wait takes well under a millisecond.
    static constexpr std::int64_t waitingSwapMicros = 2000;
    static constexpr int swapWindow = 15;

    /// Uses `clock` (not owned), or the steady clock and a real sleep when null.
    explicit FramePacer(Clock* clock = nullptr);

    /// Records the duration of one buffer swap.
    void swapped(std::int64_t micros);
    /// True when the recent swaps waited for the display; false until any swap was recorded.
    bool swapWaitsForDisplay() const;
    /// Ends a pass of the loop: unless the swap waits for the display or `fps` is 0, sleeps
    /// until 1/fps seconds have passed since the previous paced pass ended. Frames are timed
    /// against a running deadline, so oversleeping one frame is made up in the next; a loop that
    /// fell more than a frame behind starts afresh instead of rushing to catch up. The first
    /// paced pass only starts the clock.
    void endFrame(int fps);

  private:
    Clock* clock;
    std::int64_t swaps[swapWindow] = {};
    int swapCount = 0;
    std::int64_t deadline = 0;
    bool pacing = false;
};

}  // namespace lumo
