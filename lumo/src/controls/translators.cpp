#include "controls/translators.hpp"

#include <algorithm>
#include <cstdlib>

#include "controls/control_queue.hpp"
#include "controls/input_evaluator.hpp"
#include "controls/trigger.hpp"
#include "debug/message_stack.hpp"
#include "xml/node.hpp"

namespace lumo {

Translator::Translator(Trigger* trigger) : trigger(trigger), evaluator(trigger->owner) {
    trigger->translators.push_back(this);
}

Translator::~Translator() {
    trigger->translators.remove(this);
}

bool Translator::translateState(bool down, KeyState state, float bindingValue,
                                ControlQueue* queue) {
    if (state != ctrlPressed) {
        trigger->trigger(queue, this, bindingValue);
    } else if (down) {
        // Nothing is queued now: the evaluator queues held triggers every frame.
        if (trigger->owner)
            trigger->owner->activeTriggers.insert(trigger);
        trigger->value = bindingValue;
    } else if (trigger->value == bindingValue) {
        // Another binding of the trigger took over since this one went down (right pressed
        // while left was held): its release must not end the other's hold.
        if (trigger->owner)
            trigger->owner->activeTriggers.erase(trigger);
        trigger->trigger(queue, this, 0);
    }
    return true;
}

void Translator::releaseHeld(KeyState state, float bindingValue) {
    if (state != ctrlPressed || !trigger->owner || trigger->value != bindingValue)
        return;
    if (trigger->owner->activeTriggers.erase(trigger))
        trigger->reset();
}

KeyState Translator::resolveState(KeyState state) const {
    return state == ctrlDefault ? trigger->defaultKeyState : state;
}

namespace {

// Lists `t` in the evaluator's per-kind list; the evaluator may be null for a trigger that
// belongs to none.
template <class T>
void enlist(InputEvaluator* evaluator, std::list<T*> InputEvaluator::*list, T* t) {
    if (evaluator)
        (evaluator->*list).push_back(t);
}

template <class T>
void delist(InputEvaluator* evaluator, std::list<T*> InputEvaluator::*list, T* t) {
    if (evaluator)
        (evaluator->*list).remove(t);
}

// The element of a key or button binding: `value`, and `state` unless it is the default.
xml::Node* stateNode(const char* name, const Trigger* trigger, KeyState state, float value) {
    xml::Node* node = new xml::Node(name, nullptr);
    node->setAttributeFloat("value", value);
    if (state != trigger->defaultKeyState)
        (*node)["state"] = toStr(state);
    return node;
}

}  // namespace

KeyTranslator::KeyTranslator(Trigger* trigger, SDLKey key, KeyState state, float value)
    : Translator(trigger), key(key), state(resolveState(state)), value(value) {
    enlist(evaluator, &InputEvaluator::translatorsKey, this);
}

KeyTranslator::~KeyTranslator() {
    releaseHeld(state, value);
    delist(evaluator, &InputEvaluator::translatorsKey, this);
}

bool KeyTranslator::translate(const SDL_Event& event, ControlQueue* queue) {
    debug::MessageScope scope("KeyTranslator::translate()");
    return translateState(event.type == SDL_KEYDOWN, state, value, queue);
}

Translator* KeyTranslator::clone(Trigger* target) const {
    return new KeyTranslator(target, key, state, value);
}

xml::Node* KeyTranslator::buildTranslatorTree() const {
    debug::MessageScope scope("KeyTranslator::buildTranslatorTree()");
    xml::Node* node = stateNode("keyTranslator", trigger, state, value);
    (*node)["key"] = toStr(key);
    return node;
}

JoyTranslator::JoyTranslator(Trigger* trigger, unsigned char joy) : Translator(trigger), joy(joy) {}

JoyButtonTranslator::JoyButtonTranslator(Trigger* trigger, unsigned char joy, unsigned char button,
                                         KeyState state, float value)
    : JoyTranslator(trigger, joy), button(button), state(resolveState(state)), value(value) {
    enlist(evaluator, &InputEvaluator::translatorsJoyButton, this);
}

JoyButtonTranslator::~JoyButtonTranslator() {
    releaseHeld(state, value);
    delist(evaluator, &InputEvaluator::translatorsJoyButton, this);
}

bool JoyButtonTranslator::translate(const SDL_Event& event, ControlQueue* queue) {
    debug::MessageScope scope("JoyButtonTranslator::translate()");
    return translateState(event.type == SDL_JOYBUTTONDOWN, state, value, queue);
}

Translator* JoyButtonTranslator::clone(Trigger* target) const {
    return new JoyButtonTranslator(target, joy, button, state, value);
}

xml::Node* JoyButtonTranslator::buildTranslatorTree() const {
    debug::MessageScope scope("JoyButtonTranslator::buildTranslatorTree()");
    xml::Node* node = stateNode("joyButtonTranslator", trigger, state, value);
    node->setAttributeLong("joy", joy);
    node->setAttributeLong("button", button);
    return node;
}

JoyAxisTranslator::JoyAxisTranslator(Trigger* trigger, unsigned char joy, unsigned char axis,
                                     signed char direction, short minPhysical, short maxPhysical)
    : JoyTranslator(trigger, joy),
      axis(axis),
      direction(direction),
      minPhysical(minPhysical),
      maxPhysical(maxPhysical) {
    enlist(evaluator, &InputEvaluator::translatorsJoyAxis, this);
}

JoyAxisTranslator::~JoyAxisTranslator() {
    delist(evaluator, &InputEvaluator::translatorsJoyAxis, this);
}

bool JoyAxisTranslator::translate(const SDL_Event& event, ControlQueue* queue) {
    debug::MessageScope scope("JoyAxisTranslator::translate()");
    const int raw = event.jaxis.value;
    const int mag = std::abs(raw);
    const int sign = (raw > 0) - (raw < 0);
    if (trigger->digital) {
        trigger->setValue(queue, this, mag > minPhysical ? trigger->max : 0.0f);
        return true;
    }
    if (direction != 0 && sign != 0 && direction != sign)
        return false;
    float v;
    if (mag < minPhysical)
        v = 0.0f;
    else if (mag < maxPhysical)
        v = static_cast<float>(mag - minPhysical) * sign * trigger->max /
            static_cast<float>(maxPhysical - minPhysical);
    else
        v = sign * trigger->max;
    trigger->setValue(queue, this, v);
    return true;
}

Translator* JoyAxisTranslator::clone(Trigger* target) const {
    return new JoyAxisTranslator(target, joy, axis, static_cast<signed char>(direction),
                                 minPhysical, maxPhysical);
}

xml::Node* JoyAxisTranslator::buildTranslatorTree() const {
    debug::MessageScope scope("JoyAxisTranslator::buildTranslatorTree()");
    xml::Node* node = new xml::Node("joyAxisTranslator", nullptr);
    node->setAttributeLong("joy", joy);
    node->setAttributeLong("axis", axis);
    if (direction != 0)
        node->setAttributeLong("direction", direction);
    node->setAttributeLong("min", minPhysical);
    node->setAttributeLong("max", maxPhysical);
    return node;
}

}  // namespace lumo
