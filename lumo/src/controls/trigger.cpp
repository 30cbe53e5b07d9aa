#include "controls/trigger.hpp"

#include <limits>

#include "controls/control_queue.hpp"
#include "controls/input_evaluator.hpp"
#include "controls/translators.hpp"
#include "debug/log.hpp"
#include "debug/message_stack.hpp"
#include "xml/checked_numbers.hpp"
#include "xml/node.hpp"

namespace lumo {

namespace {

// Destroys the translators of kind T that `select` accepts; each unlinks itself.
template <class T, class Select>
void destroyTranslators(Trigger::Translators& translators, Select select) {
    Trigger::Translators doomed;
    for (Translator* t : translators)
        if (T* typed = dynamic_cast<T*>(t))
            if (select(typed))
                doomed.push_back(t);
    for (Translator* t : doomed)
        delete t;
}

// The texts that `describe` gives for the translators of kind T that `select` accepts,
// joined by ";".
template <class T, class Select, class Describe>
std::string joinTranslators(const Trigger::Translators& translators, Select select,
                            Describe describe) {
    std::string text;
    for (Translator* t : translators) {
        const T* typed = dynamic_cast<const T*>(t);
        if (!typed || !select(typed))
            continue;
        if (!text.empty())
            text += ";";
        text += describe(typed);
    }
    return text;
}

// A value or direction of 0 selects every binding of a kind.
template <class T>
bool selects(T wanted, T actual) {
    return wanted == 0 || actual == wanted;
}

// Key and button bindings giving the value `v`.
auto withValue(float v) {
    return [v](const auto* t) { return selects(v, t->value); };
}

// Axis bindings of direction `dir`.
auto withDirection(short dir) {
    return [dir](const JoyAxisTranslator* t) { return selects(dir, t->direction); };
}

// A whole-number attribute of a binding that must fit its field; a value that does not is
// reported and the default kept.
template <typename T>
T checked(const xml::Node& node, const char* name, T def) {
    return static_cast<T>(xml::getCheckedLong(node, name, def, std::numeric_limits<T>::min(),
                                              std::numeric_limits<T>::max(), dbgControls));
}

}  // namespace

Trigger::Trigger(InputEvaluator* owner, int id, const std::string& name,
                 const std::string& humanName, bool digital, float max, KeyState defaultKeyState,
                 bool queue)
    : NamedResource(name),
      id(id),
      humanName(humanName),
      digital(digital),
      max(max),
      defaultKeyState(defaultKeyState),
      queue(queue) {
    if (owner)
        *owner += this;
}

Trigger::Trigger(InputEvaluator* owner, int id, const std::string& name,
                 const std::string& humanName, KeyState defaultKeyState)
    : Trigger(owner, id, name, humanName, true, 1.0f, defaultKeyState, true) {}

Trigger::Trigger(InputEvaluator* owner, int id, const std::string& name,
                 const std::string& humanName, float max)
    : Trigger(owner, id, name, humanName, false, max, ctrlPressed, false) {}

Trigger::~Trigger() {
    debug::MessageScope scope("Trigger::~Trigger()");
    clearTranslators();
    // A held trigger left in the set would be queued by the evaluator after its death.
    if (owner)
        owner->activeTriggers.erase(this);
}

void Trigger::trigger(ControlQueue* q) {
    debug::MessageScope scope("Trigger::trigger()");
    if (queue && q)
        *q << this;
}

void Trigger::trigger(ControlQueue* q, Translator*, float v) {
    debug::MessageScope scope("Trigger::trigger()");
    value = v;
    if (queue && q)
        *q << this;
}

void Trigger::setValue(ControlQueue* q, Translator* source, float v) {
    debug::MessageScope scope("Trigger::setValue()");
    if (v != value)
        trigger(q, source, v);
}

void Trigger::reset() {
    value = 0;
}

Trigger* Trigger::clone(InputEvaluator* target) const {
    debug::MessageScope scope("Trigger::clone()");
    if (target && target == owner)
        throw "Trigger " + name + " cannot be cloned into its own evaluator.";
    Trigger* copy = new Trigger(target, id, name, humanName, defaultKeyState);
    copy->data = data;
    copy->dataString = dataString;
    copy->digital = digital;
    copy->max = max;
    copy->enabled = enabled;
    copy->queue = queue;
    for (const Translator* t : translators)
        t->clone(copy);
    return copy;
}

void Trigger::clearTranslators() {
    debug::MessageScope scope("Trigger::clearTranslators()");
    while (!translators.empty())
        delete translators.back();
}

void Trigger::clearKeyTranslators(float v) {
    debug::MessageScope scope("Trigger::clearKeyTranslators()");
    destroyTranslators<KeyTranslator>(translators, withValue(v));
}

void Trigger::clearJoyButtonTranslators(float v) {
    debug::MessageScope scope("Trigger::clearJoyButtonTranslators()");
    destroyTranslators<JoyButtonTranslator>(translators, withValue(v));
}

void Trigger::clearJoyAxisTranslators(short dir) {
    debug::MessageScope scope("Trigger::clearJoyAxisTranslators()");
    destroyTranslators<JoyAxisTranslator>(translators, withDirection(dir));
}

void Trigger::getFromNode(const xml::Node* node, const std::string&) {
    debug::MessageScope scope("Trigger::getFromNode()");
    if (const std::string* state = node->getAttribute("defaultKeyState")) {
        // "default" (or any other word) would give the bindings that rely on it a state that
        // no event matches: they would all be dead.
        const KeyState read = strTo<KeyState>(*state);
        if (read == ctrlDefault)
            debug::warning(dbgControls,
                           "Invalid defaultKeyState \"%s\" for trigger \"%s\"; keeping \"%s\".",
                           state->c_str(), name.c_str(), toStr<KeyState>(defaultKeyState).c_str());
        else
            defaultKeyState = read;
    }
    getTranslatorsFromNode(node);
}

void Trigger::getTranslatorsFromNode(const xml::Node* node) {
    debug::MessageScope scope("Trigger::getTranslatorsFromNode()");
    clearTranslators();
    for (const xml::Node* child : node->children) {
        if (child->name == "keyTranslator") {
            SDLKey key;
            try {
                key = strTo<SDLKey>(child->getAttribute("key", ""));
            } catch (const std::string& message) {
                debug::warning(dbgControls, "%s", message.c_str());
                continue;
            }
            new KeyTranslator(this, key, strTo<KeyState>(child->getAttribute("state", "default")),
                              xml::getCheckedFloat(*child, "value", 1.0f, dbgControls));
        } else if (child->name == "joyButtonTranslator") {
            new JoyButtonTranslator(this, checked<Uint8>(*child, "joy", 0),
                                    checked<Uint8>(*child, "button", 0),
                                    strTo<KeyState>(child->getAttribute("state", "default")),
                                    xml::getCheckedFloat(*child, "value", 1.0f, dbgControls));
        } else if (child->name == "joyAxisTranslator") {
            new JoyAxisTranslator(
                this, checked<Uint8>(*child, "joy", 0), checked<Uint8>(*child, "axis", 0),
                checked<signed char>(*child, "direction", 0), checked<Sint16>(*child, "min", 0),
                checked<Sint16>(*child, "max", 1));
        }
    }
}

xml::Node* Trigger::buildTranslatorTree() const {
    debug::MessageScope scope("Trigger::buildTranslatorTree()");
    xml::Node* node = new xml::Node("trigger", nullptr);
    (*node)["name"] = name;
    for (const Translator* t : translators)
        *node += t->buildTranslatorTree();
    return node;
}

std::string Trigger::keysToString(float v) const {
    debug::MessageScope scope("Trigger::keysToString()");
    return joinTranslators<KeyTranslator>(
        translators, withValue(v), [](const KeyTranslator* t) { return toStr<SDLKey>(t->key); });
}

std::string Trigger::joyButtonsToString(float v) const {
    debug::MessageScope scope("Trigger::joyButtonsToString()");
    return joinTranslators<JoyButtonTranslator>(
        translators, withValue(v), [](const JoyButtonTranslator* t) {
            return std::to_string(t->joy) + ":b" + std::to_string(t->button);
        });
}

std::string Trigger::joyAxisToString(short dir) const {
    debug::MessageScope scope("Trigger::joyAxisToString()");
    return joinTranslators<JoyAxisTranslator>(
        translators, withDirection(dir), [](const JoyAxisTranslator* t) {
            std::string text = std::to_string(t->joy) + ":a" + std::to_string(t->axis);
            if (t->direction == 1)
                text += "[+]";
            else if (t->direction == -1)
                text += "[-]";
            return text;
        });
}

std::string Trigger::joyToString(short dir, float v) const {
    debug::MessageScope scope("Trigger::joyToString()");
    std::string axes = joyAxisToString(dir);
    std::string buttons = joyButtonsToString(v);
    if (axes.empty())
        return buttons;
    if (buttons.empty())
        return axes;
    return axes + ";" + buttons;
}

}  // namespace lumo
