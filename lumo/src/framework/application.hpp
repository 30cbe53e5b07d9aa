#pragma once
// The application object and its main loop over application states.

#include "framework/frame_pacer.hpp"

namespace lumo {

class ApplicationState;
class ControlQueue;

/// Base of an application. Construction makes it the current `lumo::application`. Each pass of
/// the loop in run() hands the measured milliseconds to the active state; when the buffer swap
/// does not wait for the display, the loop sleeps to keep to `frameRateLimit`.
class Application {
  public:
    Application();
    /// Ends the process through lumo::quit(); never returns.
    virtual ~Application();

    /// Reads events into `queue`; a quit request deletes the active state; then hands the
    /// queued triggers to the active state, oldest first.
    virtual void handleEvents(ControlQueue* queue);
    /// One pass: events, the state's perform stages, its draw stages.
    virtual void perform(unsigned int ticks);
    /// Loops until no state is active, pacing the passes through `pacer`.
    virtual void run();

    /// The active state, or null; states delete themselves and clear this field.
    ApplicationState* state = nullptr;
    /// The control queue the loop reads; not owned.
    ControlQueue* queue = nullptr;
    /// Learns from the swaps of flipScreen() and sleeps at the end of each pass as needed.
    FramePacer pacer;
};

/// The current application.
extern Application* application;

}  // namespace lumo
