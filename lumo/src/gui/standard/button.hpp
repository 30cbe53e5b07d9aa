#pragma once
// A push button, optionally repeating while held.

#include "gui/core/captioned_object.hpp"
#include "gui/core/component.hpp"
#include "gui/styles/button_styles.hpp"

namespace lumo {
namespace gui {

/// Clicks on a left-button release over it, on Return or Space (by Unicode value) and on
/// joystick button 0. A repeating button clicks on the press, then after the GUI's key delay
/// and every key-repeat interval while held (no repeats when the interval is 0 or less), and
/// once more on release. A click tells the click handler, then fires the trigger. Takes the
/// focus.
class Button : public Component, public CaptionedObject {
  public:
    Button();

    /// The component and caption attributes, then `repeat`, `style` (a button style) and
    /// `trigger`.
    void getSelfFromNode(const xml::Node* node, GUI* gui) override;
    void drawSelf() override;
    void mouseDown(ControlQueue* queue, const Vector2D& point, Uint8 button) override;
    void mouseUp(ControlQueue* queue, const Vector2D& point, Uint8 button) override;
    bool keyDown(ControlQueue* queue, SDLKey key, SDLMod mod, Uint16 unicode) override;
    bool joyButtonDown(ControlQueue* queue, Uint8 joystick, Uint8 button) override;
    void performSelf(ControlQueue* queue, float elapsed) override;

    virtual void setStyle(ButtonStyle* s) { style = s; }
    virtual ButtonStyle* getStyle() const { return style; }
    virtual void setTrigger(Trigger* t) { trigger = t; }
    virtual Trigger* getTrigger() const { return trigger; }

    /// bsDown while down, plus bsHot while focused.
    ButtonState getState() const;
    /// Held, and (for a normal button) the pointer on it: it has the focus.
    bool isDown() const;
    void doClick(ControlQueue* queue);
    void setOnClick(ClickEventHandler* handler) { onClick = handler; }
    ClickEventHandler* getOnClick() const { return onClick; }
    /// Also stops a running repeat.
    void setRepeat(bool r);
    bool getRepeat() const { return repeat; }

  private:
    bool holding = false;
    ButtonStyle* style = nullptr;
    Trigger* trigger = nullptr;
    ClickEventHandler* onClick = nullptr;
    bool repeat = false;
    float repeatTimer = 0;
};

}  // namespace gui
}  // namespace lumo
