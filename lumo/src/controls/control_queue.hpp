#pragma once
// The hub between SDL's event stream and the application: each frame it drains SDL's events,
// offers each to a chain of evaluators, and collects the triggers they fire, oldest first.

#include <SDL.h>

#include <list>

namespace lumo {

class Trigger;
class ControlQueue;

/// Anything that turns events into triggers (input bindings, the GUI).
class Evaluator {
  public:
    virtual ~Evaluator() = default;
    /// Per-frame work (for example re-queueing held triggers).
    virtual void perform(float, ControlQueue*) {}
    /// True when the event was used; the queue stops offering it then.
    virtual bool evaluate(const SDL_Event& event, ControlQueue* queue) = 0;
    /// Forgets transient state such as held keys.
    virtual void flush() {}

    bool enabled = true;
};

/// Main thread only. Owns neither the triggers nor the evaluators it lists.
class ControlQueue {
  public:
    virtual ~ControlQueue();
    /// Offers the event to each enabled evaluator in order until one uses it.
    virtual ControlQueue& operator<<(const SDL_Event& event);
    /// Appends a fired trigger; the same trigger may stand in the queue several times.
    virtual ControlQueue& operator<<(Trigger* trigger);
    /// Takes the oldest trigger, or null when the queue is empty.
    virtual ControlQueue& operator>>(Trigger*& out);
    virtual void perform(float value);
    /// Flushes every evaluator, enabled or not; queued triggers stay.
    virtual void flush();
    virtual bool isEmpty() const;
    /// Polls every pending SDL event into the chain. Returns false when a quit request (the
    /// window was closed) was among them; the quit event itself is not offered to evaluators.
    bool readEvents();

    std::list<Trigger*> eventQueue;
    std::list<Evaluator*> evaluators;
};

/// The application's control queue.
extern ControlQueue queue;

}  // namespace lumo
