#pragma once
// A one-line text field. The caption is the edited text, kept as UTF-8.

#include <cstddef>

#include "gui/core/captioned_object.hpp"
#include "gui/core/component.hpp"

namespace lumo {
namespace gui {

class LabelStyle;

/// Typing appends the characters that the style's font can draw (printable ASCII when the
/// style has no font), up to `maxlength` characters; backspace removes the last character.
/// Both repeat while the key is held: first after the GUI's key delay plus one key-repeat
/// interval, then every interval (never when the interval is 0 or less). Return fires the
/// confirm trigger. Takes the focus.
class Textfield : public Component, public CaptionedObject {
  public:
    Textfield();

    /// The component and caption attributes, then `style` (a label style), `triggerConfirm`
    /// and `maxlength` (characters; 0 or less, or missing, for no limit).
    void getSelfFromNode(const xml::Node* node, GUI* gui) override;
    /// As a label; while focused the text is followed by "_", the cursor.
    void drawSelf() override;
    /// Unicode 8 (backspace), 13 (return) and every printable character are used; other keys
    /// navigate.
    bool keyDown(ControlQueue* queue, SDLKey key, SDLMod mod, Uint16 unicode) override;
    /// Ends the repeat; always used.
    bool keyUp(ControlQueue* queue, SDLKey key, SDLMod mod, Uint16 unicode) override;
    void enter(ControlQueue* queue, const Vector2D& point) override;
    /// Ends the repeat.
    void leave(ControlQueue* queue, const Vector2D& point) override;
    void performSelf(ControlQueue* queue, float elapsed) override;

    virtual void setStyle(LabelStyle* s) { style = s; }
    virtual LabelStyle* getStyle() const { return style; }
    virtual void setTriggerConfirm(Trigger* t) { triggerConfirm = t; }
    virtual Trigger* getTriggerConfirm() const { return triggerConfirm; }
    /// Fires the confirm trigger, when set.
    void doConfirm(ControlQueue* queue);
    /// Characters; 0 for no limit.
    void setMaxLength(std::size_t n) { maxLength = n; }
    std::size_t getMaxLength() const { return maxLength; }

  private:
    bool accepts(Uint16 unicode) const;

    /// The Unicode value of the held key, 0 when none.
    Uint16 keydown = 0;
    float repeatTimer = 0;
    LabelStyle* style = nullptr;
    Trigger* triggerConfirm = nullptr;
    std::size_t maxLength = 0;
};

}  // namespace gui
}  // namespace lumo
