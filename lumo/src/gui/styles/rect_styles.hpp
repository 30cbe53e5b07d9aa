#pragma once
// Rectangle styles: how a widget fills its area.

#include "gui/core/style.hpp"
#include "lumo/types.hpp"

namespace lumo {

namespace gfx {
class Image;
}

namespace gui {

class RectStyle : public Style {
  public:
    virtual void draw(const Rect& r) = 0;
};

/// A filled rectangle with a bevelled border drawn outside it: colorBorder[0] on the upper and
/// left edges, colorBorder[1] on the lower and right ones.
class PlainRectStyle : public RectStyle {
  public:
    /// Reads `border`, `color`, `colorBorder1`, `colorBorder2` after the name.
    void getFromNode(const xml::Node* node, GUI* gui) override;
    void draw(const Rect& r) override;

    Color color;
    Color colorBorder[2];
    float border = 0;
};

/// Nine images: the centre fills the rectangle, the edges and corners lie around it, outside.
/// Edges and centre are stretched to the rectangle, or drawn at natural scale (cropped or
/// repeated as the image's rectangle drawing does) when `stretch` is false.
class TexturedRectStyle : public RectStyle {
  public:
    /// Reads `stretch`, `color`, `colorBorder` and the nine image names after the name.
    void getFromNode(const xml::Node* node, GUI* gui) override;
    void draw(const Rect& r) override;

    /// Multiplied into every piece; transparent by default, so skins set it.
    Color color;
    /// Kept with the style; drawing uses `color` for every piece.
    Color colorBorder;
    gfx::Image* imgUpperLeft = nullptr;
    gfx::Image* imgUpper = nullptr;
    gfx::Image* imgUpperRight = nullptr;
    gfx::Image* imgLeft = nullptr;
    gfx::Image* imgCenter = nullptr;
    gfx::Image* imgRight = nullptr;
    gfx::Image* imgLowerLeft = nullptr;
    gfx::Image* imgLower = nullptr;
    gfx::Image* imgLowerRight = nullptr;
    bool stretch = true;
};

}  // namespace gui
}  // namespace lumo
