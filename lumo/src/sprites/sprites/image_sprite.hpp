#pragma once
// A sprite that shows an image or an animation. Size, hotspot and boxes follow the current
// image (for an animation, its current frame). Main thread only.

#include "sprites/sprites/sprite.hpp"

namespace lumo {
namespace gfx {
class Animation;
class AnimationReference;
class Image;
class SingleTextureImage;
}  // namespace gfx

namespace sprites {

class ImageSprite : public Sprite {
  public:
    /// `image` may be null. An AnimationReference passed here becomes the sprite's own.
    ImageSprite(basic_Vector2D<float> pos, bool visible, gfx::Image* image);
    /// Deletes an owned animation reference.
    ~ImageSprite() override;

    /// Shows `image` (may be null). An animation reference shown before is deleted; one given
    /// here is owned from now on. Any other image belongs to its bank.
    void setImage(gfx::Image* image);
    /// Shows a new reference to `animation` (not owned), played at `speed` (2 shows each frame
    /// twice as long). The sprite owns the reference; the pointer returned stays valid until
    /// the image is replaced or the sprite is destroyed. Null for a null animation.
    gfx::AnimationReference* setAnimation(gfx::Animation* animation, float speed);
    gfx::Image* getImage() const { return image; }
    /// Deletes the image when it is an animation reference; the sprite shows nothing after.
    void autoclearImage();
    /// Copies size, hotspot and both boxes from the current image (zero without one).
    void getImageData();

    /// Draws the image in the sprite's colour with its hotspot at `pos`. Inside its engine's
    /// draw pass a single-texture image (or animation frame) is drawn directly from the vertex
    /// arrays, leaving texturing on, its texture bound and the colour set for the next sprite
    /// (the engine restores them after the pass); elsewhere through the image's own draw.
    void drawSelf() override;
    /// Advances the image (an animation moves on) and follows its current frame.
    void perform(float ticks) override;
    gfx::Bitmask* getBitmask() const override;

    /// The quad last drawn inside an engine's pass, corners in the order bottom-left,
    /// top-left, top-right, bottom-right, with its texture coordinates.
    float vertexCoordinates[4][2] = {};
    float vertexTextureCoordinates[4][2] = {};
    /// Multiplied per corner with `color` inside an engine's pass; all 1 at start.
    float vertexColors[4][4];

  private:
    void drawQuad(const gfx::SingleTextureImage& single, const Vector2D& at);

    gfx::Image* image = nullptr;
};

}  // namespace sprites
}  // namespace lumo
