#pragma once
// The base of the game's two screens: three perform and three draw stages, the screen cleared
// first and swapped last, the GUI drawn over the scene, the control queue fed and the deletion
// queue emptied once per frame.

#include "framework/application_state.hpp"
#include "lumo/types.hpp"

namespace lumo {
namespace gfx {
class Image;
}
}  // namespace lumo

namespace pimwarden {

class GameState : public lumo::ApplicationState {
  public:
    GameState();

    /// Id 3 toggles full-screen mode; a toggle that SDL refuses is logged and changes nothing.
    void handleEvent(const lumo::Trigger* t) override;
    /// Stage 0: frame rate and the control queue; stage 2: the deletion queue.
    void doPerform(int stage, unsigned int ticks) override;
    /// Stage 0: clear; stage 1: the GUI when visible; stage 2: swap the buffers.
    void doDraw(int stage) override;
    /// Draws `image` with a border of `width` pixels in `outline` (the image drawn four times
    /// around the spot), then the image itself in `color` at (x, y). A null image draws nothing.
    void drawOutline(lumo::gfx::Image* image, float x, float y, const lumo::Color& color,
                     const lumo::Color& outline, int width);

    /// The frame rate last computed.
    int fps = 0;
};

}  // namespace pimwarden
