#pragma once
// Translators: each binds one physical input (a key, a joystick button, a joystick axis) to its
// trigger and says how that input sets the trigger's value. A translator belongs to its
// trigger (which destroys it) and is listed by kind in the trigger's evaluator, so the trigger
// must belong to an evaluator before translators are attached. Main thread only.

#include <SDL.h>

#include "controls/key_names.hpp"

namespace lumo {

namespace xml {
class Node;
}

class ControlQueue;
class InputEvaluator;
class Trigger;

class Translator {
  public:
    /// Appends itself to `trigger`'s translators.
    explicit Translator(Trigger* trigger);
    /// Removes itself from its trigger's translators.
    virtual ~Translator();
    Translator(const Translator&) = delete;
    Translator& operator=(const Translator&) = delete;

    /// Applies a matching event to the trigger (the evaluator has already matched the input and
    /// the key state); true when the event was used.
    virtual bool translate(const SDL_Event& event, ControlQueue* queue) = 0;
    /// A new translator of the same kind and parameters on `target`, owned by it.
    virtual Translator* clone(Trigger* target) const = 0;
    /// A new element describing the binding; owned by the caller.
    virtual xml::Node* buildTranslatorTree() const = 0;

    /// The trigger this binding belongs to; not owned.
    Trigger* trigger;

  protected:
    /// The evaluator whose per-kind list this translator entered; it leaves the same one.
    InputEvaluator* evaluator;

    /// The key and button rule: a pressed binding holds the trigger active from down to the
    /// matching up; other bindings fire the trigger with `bindingValue` at once.
    bool translateState(bool down, KeyState state, float bindingValue, ControlQueue* queue);
    /// Called by a dying key or button binding: a trigger held by it could never be released.
    void releaseHeld(KeyState state, float bindingValue);
    /// The binding's state, with `ctrlDefault` replaced by the trigger's default.
    KeyState resolveState(KeyState state) const;
};

class KeyTranslator : public Translator {
  public:
    /// `state` `ctrlDefault` takes the trigger's `defaultKeyState`.
    KeyTranslator(Trigger* trigger, SDLKey key, KeyState state, float value);
    ~KeyTranslator() override;

    bool translate(const SDL_Event& event, ControlQueue* queue) override;
    Translator* clone(Trigger* target) const override;
    /// `keyTranslator` with `value`, `key` and, when it differs from the trigger's default,
    /// `state`.
    xml::Node* buildTranslatorTree() const override;

    SDLKey key;
    KeyState state;
    /// The value the binding gives the trigger.
    float value;
};

class JoyTranslator : public Translator {
  public:
    JoyTranslator(Trigger* trigger, unsigned char joy);

    /// Joystick index.
    Uint8 joy;
};

class JoyButtonTranslator : public JoyTranslator {
  public:
    /// `state` `ctrlDefault` takes the trigger's `defaultKeyState`.
    JoyButtonTranslator(Trigger* trigger, unsigned char joy, unsigned char button, KeyState state,
                        float value);
    ~JoyButtonTranslator() override;

    bool translate(const SDL_Event& event, ControlQueue* queue) override;
    Translator* clone(Trigger* target) const override;
    /// `joyButtonTranslator` with `value`, `joy`, `button` and `state` as for keys.
    xml::Node* buildTranslatorTree() const override;

    Uint8 button;
    KeyState state;
    float value;
};

class JoyAxisTranslator : public JoyTranslator {
  public:
    JoyAxisTranslator(Trigger* trigger, unsigned char joy, unsigned char axis,
                      signed char direction, short minPhysical, short maxPhysical);
    ~JoyAxisTranslator() override;

    /// Scales the deflection between the dead zone and full deflection to the trigger's range
    /// (on/off triggers: full value beyond the dead zone in either direction). Equal values are
    /// not applied again, so a resting stick queues nothing. False for a deflection against
    /// `direction` on an analog trigger.
    bool translate(const SDL_Event& event, ControlQueue* queue) override;
    Translator* clone(Trigger* target) const override;
    /// `joyAxisTranslator` with `joy`, `axis`, `direction` (when not 0), `min` and `max`.
    xml::Node* buildTranslatorTree() const override;

    Uint8 axis;
    /// -1, +1, or 0 for both directions.
    short direction;
    /// Dead zone, raw axis units.
    Sint16 minPhysical;
    /// Deflection that gives the full value.
    Sint16 maxPhysical;
};

}  // namespace lumo
