// Shows the input layer: key bindings read from controls.xml become triggers that reach the
// active state. Opens a window, logs every trigger it receives (a held trigger once when its
// hold starts or its value changes) and moves a square with the analog "walk" trigger. Ends
// when the window is closed or Escape is pressed.

#include <SDL.h>

#include <iostream>
#include <map>
#include <string>

#include "controls/input_evaluator.hpp"
#include "debug/log.hpp"
#include "framework/application.hpp"
#include "framework/application_state.hpp"
#include "lumo/lumo.hpp"
#include "lumo/render_context.hpp"
#include "lumo/video.hpp"

namespace {

const int dbgDemo = 1;
// Trigger codes of controls.xml.
enum { idQuit = 1, idFire = 4, idWalk = 5 };
// Pixels per millisecond at full deflection.
const float walkSpeed = 0.4f;

class InputState : public lumo::ApplicationState {
  public:
    explicit InputState(const lumo::InputEvaluator* evaluator)
        : evaluator(evaluator), context(lumo::Vector2D(640, 480)) {
        performStageCount = 1;
        drawStageCount = 1;
    }

    void handleEvent(const lumo::Trigger* t) override {
        const bool held = evaluator->activeTriggers.count(const_cast<lumo::Trigger*>(t)) != 0;
        // A held trigger comes back every frame, and the queue hands out triggers, not copies:
        // entries queued before a release show the released value too. Each value is logged
        // once per hold, or once per frame.
        Seen& seen = lastSeen[t];
        const bool repeat = seen.logged && seen.value == t->value && (held || seen.frame == frame);
        seen = Seen{true, frame, t->value};
        if (repeat)
            return;
        lumo::debug::info(dbgDemo, "Trigger \"%s\" (code %d, %s): value %g%s", t->name.c_str(),
                          t->id, t->humanName.c_str(), t->value, held ? ", held" : "");
        if (t->id == idWalk)
            walk = t->value;
        else if (t->id == idFire)
            firing = held;
        else if (t->id == idQuit)
            terminate = true;
    }

    void doPerform(int, unsigned int ticks) override {
        // Held triggers are queued again here, to be handled in the next pass.
        lumo::queue.perform(static_cast<float>(ticks));
        ++frame;
        x = lumo::clamp(x + walk * walkSpeed * ticks, 0.0f, 640.0f - 64.0f);
    }

    void doDraw(int) override {
        lumo::clearScreen();
        context.apply();
        lumo::resetCursor();
        (firing ? lumo::Color(1, 0.4f, 0.1f, 1) : lumo::Color(0.3f, 0.6f, 1, 1)).apply();
        glRectf(x, 208, x + 64, 272);
        lumo::flipScreen();
        SDL_Delay(5);  // the loop has no frame cap of its own
    }

  private:
    const lumo::InputEvaluator* evaluator;
    lumo::RenderContext2D context;
    struct Seen {
        bool logged;
        unsigned long frame;
        float value;
    };
    std::map<const lumo::Trigger*, Seen> lastSeen;
    unsigned long frame = 0;
    float x = 288;
    float walk = 0;
    bool firing = false;
};

class InputDemo : public lumo::Application {
  public:
    InputDemo() {
        lumo::debug::groups[dbgDemo] = lumo::debug::Group("input_demo", lumo::debug::dlDebug);
        lumo::init(lumo::ssVideo | lumo::ssJoystick, true);
        lumo::setWindowCaption("Lumo input demo");
        lumo::setResolution(640, 480, 32, false, 0, 0);
        // Joystick bindings work only for opened joysticks; there may be none.
        joystick = lumo::initJoystick(0);
        evaluator.load(INPUT_DEMO_CONTROLS, "");
        lumo::debug::info(dbgDemo, "%u triggers bound; walk with %s, fire with %s.",
                          static_cast<unsigned>(evaluator.size()),
                          evaluator["walk"] ? evaluator["walk"]->keysToString(0).c_str() : "-",
                          evaluator["fire"] ? evaluator["fire"]->keysToString(0).c_str() : "-");
        lumo::queue.evaluators.push_back(&evaluator);
        queue = &lumo::queue;
        (new InputState(&evaluator))->activate();
    }
    ~InputDemo() override {
        lumo::queue.evaluators.remove(&evaluator);
        if (joystick)
            lumo::cleanUpJoystick(joystick);
    }

  private:
    lumo::InputEvaluator evaluator;
    SDL_Joystick* joystick = nullptr;
};

}  // namespace

int main(int, char**) {
    try {
        InputDemo* demo = new InputDemo;
        demo->run();
        delete demo;  // ends the process through lumo::quit()
    } catch (const std::string& message) {
        std::cerr << message << std::endl;
    }
    return 1;
}
