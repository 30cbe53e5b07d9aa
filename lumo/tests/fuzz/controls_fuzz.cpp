// libFuzzer target for the controls format: the input is a file with the root `inputEvaluator`,
// read by an InputEvaluator as a bank file. The bindings it made are then pressed and released
// (every bound key, button and axis, the axes at rest, in their dead zone and at both ends),
// the triggers taken out of the queue, and the evaluator copied and its saved bindings read
// back. Guarantees: trigger values stay finite, and a copy or a re-read of the saved bindings
// saves the same bindings again.

#include <cmath>
#include <cstdint>
#include <memory>
#include <string>

#include "controls/control_queue.hpp"
#include "controls/input_evaluator.hpp"
#include "controls/translators.hpp"
#include "fuzz/fuzz_support.hpp"
#include "xml/node.hpp"

namespace {

using lumo::InputEvaluator;

std::string savedBindings(const InputEvaluator& evaluator) {
    lumo::xml::Node root;
    root.name = "controls";
    evaluator.addTranslatorsToTree(&root);
    return root.toString(0);
}

void drain(lumo::ControlQueue& queue, const InputEvaluator& evaluator) {
    queue.perform(16.0f);
    lumo::Trigger* t = nullptr;
    for (queue >> t; t; queue >> t)
        if (!std::isfinite(t->value))
            lumo::fuzzing::violated("trigger \"" + t->name + "\" took the value " +
                                    std::to_string(t->value));
    for (auto it = evaluator.begin(); it != evaluator.end(); ++it)
        if (!std::isfinite((*it)->value))
            lumo::fuzzing::violated("trigger \"" + it.name() +
                                    "\" holds a value that is not finite");
}

void keyEvent(lumo::ControlQueue& queue, SDLKey key, bool down) {
    SDL_Event e{};
    e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.key.keysym.sym = key;
    queue << e;
}

void buttonEvent(lumo::ControlQueue& queue, Uint8 joy, Uint8 button, bool down) {
    SDL_Event e{};
    e.type = down ? SDL_JOYBUTTONDOWN : SDL_JOYBUTTONUP;
    e.jbutton.which = joy;
    e.jbutton.button = button;
    e.jbutton.state = down ? SDL_PRESSED : SDL_RELEASED;
    queue << e;
}

void axisEvent(lumo::ControlQueue& queue, Uint8 joy, Uint8 axis, Sint16 value) {
    SDL_Event e{};
    e.type = SDL_JOYAXISMOTION;
    e.jaxis.which = joy;
    e.jaxis.axis = axis;
    e.jaxis.value = value;
    queue << e;
}

void pressEverything(InputEvaluator& evaluator) {
    lumo::ControlQueue queue;
    queue.evaluators.push_back(&evaluator);
    // The lists change only when bindings are read, never while events are handled.
    for (lumo::KeyTranslator* t : evaluator.translatorsKey) {
        keyEvent(queue, t->key, true);
        drain(queue, evaluator);
    }
    for (lumo::KeyTranslator* t : evaluator.translatorsKey) {
        keyEvent(queue, t->key, false);
        drain(queue, evaluator);
    }
    for (lumo::JoyButtonTranslator* t : evaluator.translatorsJoyButton) {
        buttonEvent(queue, t->joy, t->button, true);
        drain(queue, evaluator);
        buttonEvent(queue, t->joy, t->button, false);
        drain(queue, evaluator);
    }
    static const Sint16 positions[] = {0, 300, -300, 12000, -12000, 32767, -32768, 0};
    for (lumo::JoyAxisTranslator* t : evaluator.translatorsJoyAxis)
        for (Sint16 v : positions) {
            axisEvent(queue, t->joy, t->axis, v);
            drain(queue, evaluator);
        }
    evaluator.flush();
    drain(queue, evaluator);
    queue.evaluators.clear();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string file = lumo::fuzzing::writeInput("controls.xml", data, size);
    InputEvaluator evaluator;
    try {
        evaluator.load(file, "");
    } catch (const std::string&) {
        return 0;
    }
    pressEverything(evaluator);

    const std::string saved = savedBindings(evaluator);
    std::unique_ptr<InputEvaluator> copy(evaluator.clone());
    if (savedBindings(*copy) != saved)
        lumo::fuzzing::violated("a copy saves other bindings:\n" + savedBindings(*copy) +
                                "instead of\n" + saved);
    lumo::xml::Node tree;
    tree.name = "controls";
    evaluator.addTranslatorsToTree(&tree);
    copy->getTranslatorsFromNode(&tree);
    if (savedBindings(*copy) != saved)
        lumo::fuzzing::violated("saved bindings read back save differently:\n" +
                                savedBindings(*copy) + "instead of\n" + saved);
    pressEverything(*copy);
    return 0;
}
