#pragma once
// The application object and its main loop over application states.

namespace lumo {

class ApplicationState;
class ControlQueue;

/// Base of an application. Construction makes it the current `lumo::application`. The loop in
/// run() has no frame cap: each pass hands the measured milliseconds to the active state.
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
    /// Loops until no state is active.
    virtual void run();

    /// The active state, or null; states delete themselves and clear this field.
    ApplicationState* state = nullptr;
    /// The control queue the loop reads; not owned.
    ControlQueue* queue = nullptr;
};

/// The current application.
extern Application* application;

}  // namespace lumo
