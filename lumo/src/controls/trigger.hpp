#pragma once
// A trigger: a named control (fire, left, menu up...) with a numeric code and a value, bound to
// physical inputs by the translators it owns. Triggers live in an input evaluator, which routes
// events to the translators; fired triggers reach the application through the control queue.
// Main thread only.

#include <SDL.h>

#include <list>
#include <string>

#include "controls/key_names.hpp"
#include "resources/named_resource.hpp"

namespace lumo {

namespace xml {
class Node;
}

class ControlQueue;
class InputEvaluator;
class Translator;

typedef Sint32 ControlId;

class Trigger : public NamedResource<InputEvaluator, std::string> {
  public:
    typedef std::list<Translator*> Translators;

    /// An on/off trigger (full value 1.0, queued on change). Both constructors add the trigger
    /// to `owner`, which takes ownership and destroys a trigger of the same name it held.
    Trigger(InputEvaluator* owner, int id, const std::string& name, const std::string& humanName,
            KeyState defaultKeyState);
    /// An analog trigger with full-scale value `max`; its bindings are pressed by default and
    /// it is not queued on change.
    Trigger(InputEvaluator* owner, int id, const std::string& name, const std::string& humanName,
            float max);
    /// Destroys the translators and leaves the evaluator's set of held triggers. A trigger
    /// must not be destroyed while it still stands in a control queue.
    ~Trigger() override;
    Trigger(const Trigger&) = delete;
    Trigger& operator=(const Trigger&) = delete;

    /// Queues the trigger when its `queue` flag is set; the value is unchanged.
    void trigger(ControlQueue* q);
    /// Sets the value, then queues as above, whether or not the value changed.
    void trigger(ControlQueue* q, Translator* source, float v);
    /// Sets the value and queues as above, only when `v` differs from the value.
    void setValue(ControlQueue* q, Translator* source, float v);
    /// Value 0, nothing queued.
    void reset();
    bool isActive() const { return value != 0; }

    /// A copy in `target` (same id, name, texts, flags and bindings; value 0), owned by
    /// `target`. Throws when `target` is this trigger's own evaluator, where the copy would
    /// replace (destroy) the original.
    Trigger* clone(InputEvaluator* target) const;

    void clearTranslators();
    /// Destroys the key bindings whose value is `v`, or all of them for 0.
    void clearKeyTranslators(float v);
    /// Destroys the joystick-button bindings whose value is `v`, or all of them for 0.
    void clearJoyButtonTranslators(float v);
    /// Destroys the axis bindings of direction `dir`, or all of them for 0.
    void clearJoyAxisTranslators(short dir);

    /// Reads `defaultKeyState` (when given) and then the bindings; `path` is not used.
    void getFromNode(const xml::Node* node, const std::string& path);
    /// Replaces every binding by the translator elements among the children; unknown key names
    /// are logged and skipped, other elements ignored.
    void getTranslatorsFromNode(const xml::Node* node);
    /// A new `trigger` element holding the bindings; owned by the caller.
    xml::Node* buildTranslatorTree() const;

    /// Bindings for the user, ";"-separated: key names ("left;a"); joystick buttons ("0:b3");
    /// axes ("1:a0[-]"). A value or direction of 0 selects every binding of the kind.
    std::string keysToString(float v) const;
    std::string joyButtonsToString(float v) const;
    std::string joyAxisToString(short dir) const;
    /// The axis text and the button text, joined by ";" when both are present.
    std::string joyToString(short dir, float v) const;

    ControlId id;
    std::string humanName;
    int data = 0;
    std::string dataString;
    /// Owned; each translator adds and removes itself.
    Translators translators;
    bool digital;
    float max;
    KeyState defaultKeyState;
    /// Whether a change of the trigger is put into the control queue.
    bool queue;
    /// Kept for the application; the input path does not consult it.
    bool enabled = true;
    /// 0 means inactive.
    float value = 0;

  private:
    Trigger(InputEvaluator* owner, int id, const std::string& name, const std::string& humanName,
            bool digital, float max, KeyState defaultKeyState, bool queue);
};

}  // namespace lumo
