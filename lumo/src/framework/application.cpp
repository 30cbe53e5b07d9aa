#include "framework/application.hpp"

#include "controls/control_queue.hpp"
#include "framework/application_state.hpp"
#include "lumo/lumo.hpp"
#include "lumo/video.hpp"
#include "tools/ticks.hpp"

namespace lumo {

Application* application = nullptr;

Application::Application() {
    application = this;
}

Application::~Application() {
    if (application == this)
        application = nullptr;
    quit();
}

void Application::handleEvents(ControlQueue* q) {
    if (!q->readEvents() && state)
        delete state;
    while (state) {
        Trigger* trigger = nullptr;
        *q >> trigger;
        if (!trigger)
            break;
        state->handleEvent(trigger);
    }
}

void Application::perform(unsigned int ticks) {
    if (state && queue)
        handleEvents(queue);
    if (state)
        state->perform(ticks);
    if (state)
        state->draw();
}

void Application::run() {
    getElapsedTicks();
    unsigned long swapsSeen = swapCounter;
    while (state) {
        perform(getElapsedTicks());
        if (swapCounter != swapsSeen) {
            pacer.swapped(lastSwapMicros);
            swapsSeen = swapCounter;
        }
        if (state)
            pacer.endFrame(frameRateLimit);
    }
}

void ApplicationState::activate() {
    if (application && application->state)
        application->state->deactivate();
    if (application)
        application->state = this;
}

ApplicationState::~ApplicationState() {
    ApplicationState::deactivate();
}

void ApplicationState::deactivate() {
    if (application && application->state == this)
        application->state = nullptr;
}

void ApplicationState::perform(unsigned int ticks) {
    for (int stage = 0; stage < performStageCount && !terminate; ++stage)
        doPerform(stage, ticks);
    if (terminate)
        delete this;
}

void ApplicationState::draw() {
    for (int stage = 0; stage < drawStageCount; ++stage)
        doDraw(stage);
}

}  // namespace lumo
