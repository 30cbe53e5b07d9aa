#pragma once
// Anything drawable: a rectangle of pixels with a hotspot, an optional collision bitmask and
// three ways of being drawn. Drawing needs the OpenGL context, so it is main-thread only.

#include <SDL_types.h>

#include <string>

#include "gfx/bitmasks/bitmask.hpp"
#include "lumo/types.hpp"
#include "math/vector.hpp"

namespace lumo {
namespace gfx {

/// Texture filtering, in rising quality; the index into STR_IMAGEFILTER.
enum ImageFilter { ifNone = 0, ifLinear = 1, ifBilinear = 2, ifTrilinear = 3 };

/// "none", "linear", "bilinear", "trilinear".
extern const char* const STR_IMAGEFILTER[4];

/// The filter whose name is exactly `name`; false (and `filter` untouched) for any other text.
bool imageFilterFromString(const std::string& name, ImageFilter& filter);

class Image {
  public:
    Image() = default;
    /// Does not delete the bitmask: only the owning image resource does (animation references
    /// share their frame's mask).
    virtual ~Image() = default;

    /// Advances time-dependent images by `ticks` milliseconds; still images ignore it.
    virtual void perform(float ticks);
    /// Draws the image upright with its bottom-left corner at (pos.x - hotspot.x,
    /// pos.y + hotspot.y).
    virtual void draw(const Vector2D& pos) = 0;
    /// Draws the image upright at its own pixel scale with its top-left pixel at the rectangle's
    /// top-left corner: a smaller rectangle crops it, a larger one shows what lies beyond.
    virtual void draw(const Rect& rect) = 0;
    /// Scales the whole image onto the rectangle, mirrored top to bottom: the image's top row
    /// lies on the rectangle's bottom edge.
    virtual void drawStretched(const Rect& rect) = 0;

    Uint32 getWidth() const { return width; }
    Uint32 getHeight() const { return height; }
    /// Null when the image has no mask.
    Bitmask* getBitmask() const { return bitmask; }
    const Bitmask::RectInt& getOuterBoundingBox() const { return outerBoundingBox; }
    const Bitmask::RectInt& getInnerBoundingBox() const { return innerBoundingBox; }
    const Vector2D& getHotspot() const { return hotspot; }
    void setHotspot(const Vector2D& h) { hotspot = h; }

  protected:
    Uint32 width = 0;
    Uint32 height = 0;
    Vector2D hotspot;
    Bitmask* bitmask = nullptr;
    Bitmask::RectInt outerBoundingBox;
    Bitmask::RectInt innerBoundingBox;
};

}  // namespace gfx
}  // namespace lumo
