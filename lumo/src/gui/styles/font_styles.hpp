#pragma once
// Font styles: how a widget prints its text into a rectangle.

#include "gui/core/style.hpp"
#include "lumo/types.hpp"

namespace lumo {

namespace fonts {
class Font;
}

namespace gui {

/// Prints text justified in a rectangle.
class FontStyle : public Style {
  public:
    /// Reads `horizontal` and `vertical` after the name.
    void getFromNode(const xml::Node* node, GUI* gui) override;
    /// Prints UTF-8 `text` into `r`; the pen (model-view matrix) is left moved.
    virtual void print(const Rect& r, const char* text) = 0;

    JustificationHorizontal justificationHorizontal = jhLeft;
    JustificationVertical justificationVertical = jvCenter;
};

/// One font of the GUI's font bank in one colour.
class SimpleFontStyle : public FontStyle {
  public:
    /// Also reads `color`, and `family` with `size` (the plain font of that family and size
    /// in the GUI's font bank; without `family` the style has no font).
    void getFromNode(const xml::Node* node, GUI* gui) override;
    /// Nothing without a font. Characters the font cannot draw in one byte print as '?'.
    void print(const Rect& r, const char* text) override;

    fonts::Font* font = nullptr;
    Color color{1, 1, 1, 1};
};

}  // namespace gui
}  // namespace lumo
