#pragma once
// A screen of the application: perform and draw stages driven by the main loop.

namespace lumo {

class Trigger;

class ApplicationState {
  public:
    ApplicationState() = default;
    /// Deactivates the state (clears Application::state when it is the active one).
    virtual ~ApplicationState();
    ApplicationState(const ApplicationState&) = delete;
    ApplicationState& operator=(const ApplicationState&) = delete;

    /// Deactivates the current state (even when it is this one) and makes this one active.
    virtual void activate();
    /// Clears Application::state when this is the active state.
    virtual void deactivate();
    virtual void handleEvent(const Trigger* trigger) = 0;
    /// Runs the perform stages while `terminate` is false; when it is set afterwards the state
    /// deletes itself, so the caller must not touch it after this returns.
    virtual void perform(unsigned int ticks);
    /// Runs every draw stage.
    virtual void draw();
    virtual void doPerform(int stage, unsigned int ticks) = 0;
    virtual void doDraw(int stage) = 0;

    bool terminate = false;
    int performStageCount = 0;
    int drawStageCount = 0;
};

}  // namespace lumo
