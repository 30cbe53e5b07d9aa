#pragma once
// A check box: a captioned widget that toggles between checked and unchecked.

#include "gui/core/captioned_object.hpp"
#include "gui/core/click_hold.hpp"
#include "gui/core/component.hpp"
#include "gui/styles/button_styles.hpp"

namespace lumo {
namespace gui {

/// Toggles on a left-button release over it, on the Return or Space key and on joystick button
/// 0, firing `triggerOn` when it becomes checked and `triggerOff` when it becomes unchecked.
/// Takes the focus.
class Checkbox : public Component, public CaptionedObject {
  public:
    Checkbox();

    /// The component and caption attributes, then `style` (a check-box style), `trigger` (sets
    /// both triggers), `triggerOn` and `triggerOff`.
    void getSelfFromNode(const xml::Node* node, GUI* gui) override;
    void drawSelf() override;
    void mouseDown(ControlQueue* queue, const Vector2D& point, Uint8 button) override;
    void mouseUp(ControlQueue* queue, const Vector2D& point, Uint8 button) override;
    bool keyDown(ControlQueue* queue, SDLKey key, SDLMod mod, Uint16 unicode) override;
    bool joyButtonDown(ControlQueue* queue, Uint8 joystick, Uint8 button) override;

    /// Changes the state without firing anything.
    virtual void setChecked(bool c) { checked = c; }
    virtual bool getChecked() const { return checked; }
    virtual void setStyle(CheckboxStyle* s) { style = s; }
    virtual CheckboxStyle* getStyle() const { return style; }
    virtual void setTriggerOn(Trigger* t) { triggerOn = t; }
    virtual Trigger* getTriggerOn() const { return triggerOn; }
    virtual void setTriggerOff(Trigger* t) { triggerOff = t; }
    virtual Trigger* getTriggerOff() const { return triggerOff; }

    ButtonState getState() const;
    /// Held with the pointer on it.
    bool isDown() const { return hold.isDown(*this); }
    /// Toggles and fires the trigger of the new state.
    void doClick(ControlQueue* queue);

  private:
    ClickHold hold;
    bool checked = false;
    CheckboxStyle* style = nullptr;
    Trigger* triggerOn = nullptr;
    Trigger* triggerOff = nullptr;
};

}  // namespace gui
}  // namespace lumo
