#include "controls/control_queue.hpp"

#include "debug/message_stack.hpp"

namespace lumo {

ControlQueue queue;

ControlQueue::~ControlQueue() {
    eventQueue.clear();
    evaluators.clear();
}

ControlQueue& ControlQueue::operator<<(const SDL_Event& event) {
    for (Evaluator* e : evaluators)
        if (e->enabled && e->evaluate(event, this))
            break;
    return *this;
}

ControlQueue& ControlQueue::operator<<(Trigger* trigger) {
    eventQueue.push_back(trigger);
    return *this;
}

ControlQueue& ControlQueue::operator>>(Trigger*& out) {
    if (eventQueue.empty()) {
        out = nullptr;
    } else {
        out = eventQueue.front();
        eventQueue.pop_front();
    }
    return *this;
}

void ControlQueue::perform(float value) {
    for (Evaluator* e : evaluators)
        if (e->enabled)
            e->perform(value, this);
}

void ControlQueue::flush() {
    for (Evaluator* e : evaluators)
        e->flush();
}

bool ControlQueue::isEmpty() const {
    return eventQueue.empty();
}

bool ControlQueue::readEvents() {
    debug::MessageScope scope("ControlQueue::readEvents()");
    bool noQuit = true;
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        if (event.type == SDL_QUIT)
            noQuit = false;
        else
            *this << event;
    }
    return noQuit;
}

}  // namespace lumo
