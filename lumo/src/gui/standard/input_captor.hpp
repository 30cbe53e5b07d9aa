#pragma once
// An input captor records the next key, joystick button or joystick axis the user presses
// (for rebinding controls).

#include "gui/core/component.hpp"

namespace lumo {
namespace gui {

/// Captures while enabled; one capture disables it. Every key down and joystick event it
/// receives is used, enabled or not, so Tab and the cursor keys are recorded instead of moving
/// the focus. It does not take the focus by itself: the owner enables and focuses it to start a
/// capture and reads the result when the trigger arrives.
class InputCaptor : public Component {
  public:
    /// Also reads `triggerKey`, `triggerJoyButton` and `triggerJoyAxis`.
    void getSelfFromNode(const xml::Node* node, GUI* gui) override;
    bool keyDown(ControlQueue* queue, SDLKey key, SDLMod mod, Uint16 unicode) override;
    bool joyButtonDown(ControlQueue* queue, Uint8 joystick, Uint8 button) override;
    /// A centred axis (0) is ignored; -1 or 1 is captured with its direction.
    bool joyAxisMotion(ControlQueue* queue, Uint8 joystick, Uint8 axis, Sint16 value) override;

    SDLKey getKey() const { return key; }
    Uint8 getJoy() const { return joy; }
    Uint8 getJoyButton() const { return joyButton; }
    Uint8 getJoyAxis() const { return joyAxis; }
    short getJoyAxisDirection() const { return joyAxisDirection; }
    void setTriggerKey(Trigger* t) { triggerKey = t; }
    void setTriggerJoyButton(Trigger* t) { triggerJoyButton = t; }
    void setTriggerJoyAxis(Trigger* t) { triggerJoyAxis = t; }

  private:
    Trigger* triggerKey = nullptr;
    Trigger* triggerJoyButton = nullptr;
    Trigger* triggerJoyAxis = nullptr;
    SDLKey key = SDLK_UNKNOWN;
    Uint8 joy = 0;
    Uint8 joyButton = 0;
    Uint8 joyAxis = 0;
    short joyAxisDirection = 0;
};

}  // namespace gui
}  // namespace lumo
