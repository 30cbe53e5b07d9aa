#pragma once
// A label style: a background, a font style, and where a widget's icon goes.

#include "gui/core/style.hpp"
#include "lumo/types.hpp"

namespace lumo {

namespace gfx {
class Image;
}

namespace gui {

class FontStyle;
class RectStyle;

class LabelStyle : public Style {
  public:
    /// Reads `rect`, `font` (names of styles read earlier), `imageHorizontal`, `imageVertical`
    /// and `imageColor` after the name.
    void getFromNode(const xml::Node* node, GUI* gui) override;
    /// The background, when there is a rectangle style.
    void draw(const Rect& r);
    /// Draws `image` (may be null) placed in `r`, then prints `text` with the font style (when
    /// there is one) in what is left of `r`: an icon on the side toward which the text is
    /// justified takes its width (or height) off the text's rectangle.
    void print(Rect r, const char* text, const gfx::Image* image);

    RectStyle* rect = nullptr;
    FontStyle* font = nullptr;
    JustificationHorizontal imageHorizontal = jhCenter;
    JustificationVertical imageVertical = jvCenter;
    Color imageColor{1, 1, 1, 1};
};

}  // namespace gui
}  // namespace lumo
