#pragma once
// How the GUI's virtual units map onto window pixels. The GUI is laid out in the virtual size of
// the current 2D render context; when the window (its viewport) has another size in pixels, after
// a switch to another full-screen resolution say, clipping boxes and pointer positions are
// converted so that the GUI looks and answers the same at any window size.

#include "math/vector.hpp"

namespace lumo {
namespace gui {

struct WindowScale {
    /// False when there is no 2D render context with a usable size: no conversion then.
    bool converted = false;
    /// Pixels per virtual unit.
    Vector2D scale{1, 1};
    /// The viewport's lower left corner in window pixels (y upward).
    Vector2D origin;
    /// The viewport's upper edge, in pixels from the window's top.
    float top = 0;
    /// The viewport's height in virtual units.
    float height = 0;
};

/// The mapping of the current 2D render context onto the current viewport (or the screen).
WindowScale windowScale();

}  // namespace gui
}  // namespace lumo
