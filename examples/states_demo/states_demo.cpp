// Shows the application loop: two states take turns, each logging through its own group, until
// the second one ends the program. Runs without a window.

#include <SDL.h>

#include <iostream>
#include <string>

#include "debug/log.hpp"
#include "debug/message_stack.hpp"
#include "framework/application.hpp"
#include "framework/application_state.hpp"
#include "lumo/lumo.hpp"
#include "tools/ticks.hpp"

namespace {

enum { grpDemo = 1, grpCounting = 2 };

class CountingState;

// Waits for a while, then hands over to the counting state.
class WaitingState : public lumo::ApplicationState {
  public:
    WaitingState() {
        performStageCount = 1;
        drawStageCount = 1;
    }
    void activate() override {
        lumo::debug::info(grpDemo, "Waiting state active.");
        waited = 0;
        ApplicationState::activate();
    }
    void handleEvent(const lumo::Trigger*) override {}
    void doPerform(int, unsigned int ticks) override;
    void doDraw(int) override { ++frames; }

    CountingState* next = nullptr;
    unsigned int waited = 0;
    unsigned long frames = 0;
};

// Counts rounds, switching back to waiting between them; ends the program after three.
class CountingState : public lumo::ApplicationState {
  public:
    CountingState() {
        performStageCount = 2;
        drawStageCount = 1;
    }
    void activate() override {
        ++round;
        lumo::debug::info(grpCounting, "Round %d begins.", round);
        ApplicationState::activate();
    }
    void handleEvent(const lumo::Trigger*) override {}
    void doPerform(int stage, unsigned int ticks) override {
        lumo::debug::MessageScope scope("CountingState::doPerform()");
        if (stage == 0) {
            elapsed += ticks;
            fps = lumo::calcFPS(static_cast<int>(ticks));
            return;
        }
        if (elapsed < 300)
            return;
        elapsed = 0;
        lumo::debug::info(grpCounting, "Round %d done at about %d passes per second.", round, fps);
        if (round == 3) {
            lumo::debug::info(grpDemo, "Three rounds counted; ending.");
            terminate = true;
        } else {
            back->activate();
        }
    }
    void doDraw(int) override {}

    WaitingState* back = nullptr;
    int round = 0;
    unsigned int elapsed = 0;
    int fps = 0;
};

void WaitingState::doPerform(int, unsigned int ticks) {
    waited += ticks;
    if (waited >= 200)
        next->activate();
}

class Demo : public lumo::Application {
  public:
    Demo() {
        lumo::debug::groups[grpDemo] = lumo::debug::Group("demo:core", lumo::debug::dlDebug);
        lumo::debug::groups[grpCounting] = lumo::debug::Group("demo:counting", lumo::debug::dlInfo);
        lumo::init(lumo::ssNone, true);
        if (SDL_Init(SDL_INIT_TIMER) < 0)
            throw std::string(SDL_GetError());
        lumo::fpsResolution = 100;
        waiting = new WaitingState;
        counting = new CountingState;
        waiting->next = counting;
        counting->back = waiting;
        waiting->activate();
    }
    ~Demo() override {
        lumo::debug::info(grpDemo, "Waiting state drew %lu frames.", waiting->frames);
        delete waiting;
    }
    WaitingState* waiting;
    CountingState* counting;
};

}  // namespace

int main(int, char**) {
    try {
        Demo* demo = new Demo;
        demo->run();
        delete demo;  // ends the process through lumo::quit()
    } catch (const std::string& message) {
        std::cerr << message << std::endl;
    }
    return 1;
}
