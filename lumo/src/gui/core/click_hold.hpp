#pragma once
// Press-and-release bookkeeping of widgets that act on a left click.

#include <SDL.h>

#include "gui/core/component.hpp"

namespace lumo {
namespace gui {

/// A left press on the widget captures the pointer and holds; the matching left release frees
/// the pointer and counts as a click when the widget is still focused (the pointer is on it).
/// Return and Space click a focused widget from the keyboard.
class ClickHold {
  public:
    void press(Component& widget, Uint8 button) {
        if (button != SDL_BUTTON_LEFT)
            return;
        widget.captureMouse(true);
        holding = true;
    }
    /// True when the release is a click.
    bool release(Component& widget, Uint8 button) {
        if (button != SDL_BUTTON_LEFT)
            return false;
        const bool click = isDown(widget);
        holding = false;
        widget.captureMouse(false);
        return click;
    }
    /// Held with the pointer on the widget.
    bool isDown(const Component& widget) const { return holding && widget.isFocused(); }
    static bool isClickKey(SDLKey key) { return key == SDLK_RETURN || key == SDLK_SPACE; }

  private:
    bool holding = false;
};

}  // namespace gui
}  // namespace lumo
