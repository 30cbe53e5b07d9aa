#pragma once
// SDL events built by hand (there is no joystick on a test machine) and a control queue that
// notes what is queued, for the controls tests.

#include <SDL.h>

#include <string>
#include <vector>

#include "controls/control_queue.hpp"
#include "controls/trigger.hpp"
#include "lumo/convert.hpp"

namespace lumo {
namespace testing {

inline SDL_Event keyEvent(SDLKey key, bool down) {
    SDL_Event event = {};
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.keysym.sym = key;
    return event;
}

inline SDL_Event buttonEvent(Uint8 joy, Uint8 button, bool down) {
    SDL_Event event = {};
    event.type = down ? SDL_JOYBUTTONDOWN : SDL_JOYBUTTONUP;
    event.jbutton.which = joy;
    event.jbutton.button = button;
    return event;
}

inline SDL_Event axisEvent(Uint8 joy, Uint8 axis, Sint16 value) {
    SDL_Event event = {};
    event.type = SDL_JOYAXISMOTION;
    event.jaxis.which = joy;
    event.jaxis.axis = axis;
    event.jaxis.value = value;
    return event;
}

/// Notes each trigger as it is queued, "name=value" with the value it has at that moment.
struct RecordingQueue : ControlQueue {
    using ControlQueue::operator<<;
    ControlQueue& operator<<(Trigger* trigger) override {
        fired.push_back(trigger->name + "=" + toStr(trigger->value));
        return ControlQueue::operator<<(trigger);
    }
    /// The notes since the last call; empties the queue.
    std::vector<std::string> take() {
        std::vector<std::string> taken;
        taken.swap(fired);
        eventQueue.clear();
        return taken;
    }
    std::vector<std::string> fired;
};

}  // namespace testing
}  // namespace lumo
