#pragma once
// The evaluator for keyboard and joystick bindings: a bank of triggers (bank type
// "inputEvaluator") that routes key, joystick-button and joystick-axis events to the matching
// translators and keeps "pressed" triggers firing every frame while their input is held.
// Main thread only.

#include <SDL.h>

#include <list>
#include <set>
#include <string>

#include "controls/control_queue.hpp"
#include "controls/translators.hpp"
#include "controls/trigger.hpp"
#include "resources/named_resource.hpp"

namespace lumo {

class InputEvaluator : public Evaluator, public NamedResourceBank<Trigger> {
  public:
    InputEvaluator() = default;
    /// Destroys every trigger.
    ~InputEvaluator() override;

    /// Queues every held trigger once, whatever its own `queue` flag says.
    void perform(float, ControlQueue* queue) override;
    /// False when the evaluator holds no trigger or no binding took the event.
    bool evaluate(const SDL_Event& event, ControlQueue* queue) override;
    /// Releases every held trigger (value 0, nothing queued).
    void flush() override;

    bool handleKeyEvent(const SDL_Event& event, ControlQueue* queue);
    bool handleJoyButtonEvent(const SDL_Event& event, ControlQueue* queue);
    bool handleJoyAxisEvent(const SDL_Event& event, ControlQueue* queue);

    /// Destroys every trigger and with them every binding.
    void clear();
    /// Replaces the content by copies of `other`'s triggers; copying from itself changes
    /// nothing.
    void copyFrom(const InputEvaluator* other);
    /// A copy owned by the caller.
    InputEvaluator* clone() const;
    void setDataOnAllTriggers(int data);

    std::string getNodeName() const override;
    /// Reads the controls format: `trigger` (on/off) and `axis` (analog) children; a trigger
    /// whose name is taken replaces the older one. Other elements are ignored; `path` unused.
    void getFromNode(const xml::Node* node, const std::string& path) override;
    /// Reads saved bindings: each `trigger` or `axis` child replaces the bindings of the
    /// trigger it names. An element naming no trigger of this evaluator is logged and skipped.
    void getTranslatorsFromNode(const xml::Node* node);
    /// Appends one `trigger` element per trigger, in name order, holding its bindings.
    void addTranslatorsToTree(xml::Node* node) const;

    /// Every binding of each kind, in creation order; maintained by the translators.
    std::list<KeyTranslator*> translatorsKey;
    std::list<JoyButtonTranslator*> translatorsJoyButton;
    std::list<JoyAxisTranslator*> translatorsJoyAxis;
    /// Triggers currently held by a pressed binding.
    std::set<Trigger*> activeTriggers;
};

/// Creates the input evaluators of "resources.xml".
class BasicResourceBankGenerator : public ResourceBankGenerator {
  public:
    /// A new InputEvaluator for "inputEvaluator", otherwise null.
    BasicResourceBank* generateBank(const std::string& type) const override;
};

extern const BasicResourceBankGenerator resourceBankGenerator;

}  // namespace lumo
