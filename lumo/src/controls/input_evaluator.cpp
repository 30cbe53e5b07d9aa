#include "controls/input_evaluator.hpp"

#include <climits>

#include "debug/log.hpp"
#include "debug/message_stack.hpp"
#include "xml/checked_numbers.hpp"
#include "xml/node.hpp"

namespace lumo {

const BasicResourceBankGenerator resourceBankGenerator;

BasicResourceBank* BasicResourceBankGenerator::generateBank(const std::string& type) const {
    return type == "inputEvaluator" ? new InputEvaluator() : nullptr;
}

namespace {

// Whether a key or button binding of `state` reacts to an input going down or up.
bool stateFits(KeyState state, bool down) {
    return state == ctrlPressed || state == (down ? ctrlDown : ctrlUp);
}

// Offers the event to every binding in `list` that `matches` it, in creation order.
template <class T, class Match>
bool translateAll(const std::list<T*>& list, Match matches, const SDL_Event& event,
                  ControlQueue* queue) {
    bool used = false;
    for (T* t : list)
        if (matches(t) && t->translate(event, queue))
            used = true;
    return used;
}

}  // namespace

InputEvaluator::~InputEvaluator() {
    debug::MessageScope scope("InputEvaluator::~InputEvaluator()");
    clear();
}

void InputEvaluator::perform(float, ControlQueue* queue) {
    debug::MessageScope scope("InputEvaluator::perform()");
    if (!queue)
        return;
    for (Trigger* t : activeTriggers)
        *queue << t;
}

bool InputEvaluator::evaluate(const SDL_Event& event, ControlQueue* queue) {
    debug::MessageScope scope("InputEvaluator::evaluate()");
    if (empty())
        return false;
    switch (event.type) {
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            return handleKeyEvent(event, queue);
        case SDL_JOYAXISMOTION:
            return handleJoyAxisEvent(event, queue);
        case SDL_JOYBUTTONDOWN:
        case SDL_JOYBUTTONUP:
            return handleJoyButtonEvent(event, queue);
        default:
            return false;
    }
}

void InputEvaluator::flush() {
    debug::MessageScope scope("InputEvaluator::flush()");
    for (Trigger* t : activeTriggers)
        t->reset();
    activeTriggers.clear();
}

bool InputEvaluator::handleKeyEvent(const SDL_Event& event, ControlQueue* queue) {
    debug::MessageScope scope("InputEvaluator::handleKeyEvent()");
    const bool down = event.type == SDL_KEYDOWN;
    return translateAll(
        translatorsKey,
        [&](const KeyTranslator* t) {
            return t->key == event.key.keysym.sym && stateFits(t->state, down);
        },
        event, queue);
}

bool InputEvaluator::handleJoyButtonEvent(const SDL_Event& event, ControlQueue* queue) {
    debug::MessageScope scope("InputEvaluator::handleJoyButtonEvent()");
    const bool down = event.type == SDL_JOYBUTTONDOWN;
    return translateAll(
        translatorsJoyButton,
        [&](const JoyButtonTranslator* t) {
            return t->joy == event.jbutton.which && t->button == event.jbutton.button &&
                   stateFits(t->state, down);
        },
        event, queue);
}

bool InputEvaluator::handleJoyAxisEvent(const SDL_Event& event, ControlQueue* queue) {
    debug::MessageScope scope("InputEvaluator::handleJoyAxisEvent()");
    return translateAll(
        translatorsJoyAxis,
        [&](const JoyAxisTranslator* t) {
            return t->joy == event.jaxis.which && t->axis == event.jaxis.axis;
        },
        event, queue);
}

void InputEvaluator::clear() {
    debug::MessageScope scope("InputEvaluator::clear()");
    activeTriggers.clear();
    NamedResourceBank<Trigger>::clear();
    translatorsKey.clear();
    translatorsJoyButton.clear();
    translatorsJoyAxis.clear();
}

void InputEvaluator::copyFrom(const InputEvaluator* other) {
    debug::MessageScope scope("InputEvaluator::copyFrom()");
    // Clearing first would destroy what is about to be copied.
    if (!other || other == this)
        return;
    clear();
    for (const auto& entry : other->map)
        entry.second->clone(this);
}

InputEvaluator* InputEvaluator::clone() const {
    debug::MessageScope scope("InputEvaluator::clone()");
    InputEvaluator* copy = new InputEvaluator();
    copy->copyFrom(this);
    return copy;
}

void InputEvaluator::setDataOnAllTriggers(int data) {
    debug::MessageScope scope("InputEvaluator::setDataOnAllTriggers()");
    for (auto& entry : map)
        entry.second->data = data;
}

std::string InputEvaluator::getNodeName() const {
    return "inputEvaluator";
}

void InputEvaluator::getFromNode(const xml::Node* node, const std::string& path) {
    debug::MessageScope scope("InputEvaluator::getFromNode()");
    for (const xml::Node* child : node->children) {
        if (child->name != "trigger" && child->name != "axis")
            continue;
        const int code =
            static_cast<int>(xml::getCheckedLong(*child, "code", 0, INT_MIN, INT_MAX, dbgControls));
        const std::string name = child->getAttribute("name", "");
        const std::string description = child->getAttribute("description", "");
        Trigger* t;
        if (child->name == "trigger")
            t = new Trigger(this, code, name, description, ctrlDown);
        else if (child->name == "axis")
            t = new Trigger(this, code, name, description,
                            xml::getCheckedFloat(*child, "max", 1.0f, dbgControls));
        else
            continue;
        // The bindings are read here, after the element's default key state.
        t->getFromNode(child, path);
        t->queue = child->getAttributeBool("queue", t->queue);
        t->data = static_cast<int>(
            xml::getCheckedLong(*child, "data", t->data, INT_MIN, INT_MAX, dbgControls));
        t->dataString = child->getAttribute("dataString", t->dataString);
    }
}

void InputEvaluator::getTranslatorsFromNode(const xml::Node* node) {
    debug::MessageScope scope("InputEvaluator::getTranslatorsFromNode()");
    for (const xml::Node* child : node->children) {
        if (child->name != "trigger" && child->name != "axis")
            continue;
        const std::string name = child->getAttribute("name", "");
        Trigger* t = at(name);
        if (!t) {
            debug::warning(dbgControls, "No trigger \"%s\" to bind; its bindings are skipped.",
                           name.c_str());
            continue;
        }
        t->getTranslatorsFromNode(child);
    }
}

void InputEvaluator::addTranslatorsToTree(xml::Node* node) const {
    debug::MessageScope scope("InputEvaluator::addTranslatorsToTree()");
    for (const auto& entry : map)
        *node += entry.second->buildTranslatorTree();
}

}  // namespace lumo
