#pragma once
// The movable, drawable and collidable objects of a scene. A sprite is listed by at most one
// SpriteEngine, which advances, draws and collision-tests it; whoever creates a sprite deletes
// it. Main thread only.

#include "gfx/bitmasks/bitmask.hpp"
#include "lumo/types.hpp"
#include "math/vector.hpp"

namespace lumo {
namespace sprites {

class SpriteEngine;

enum BlendMode { bmDefault = 0, bmNormal = 1, bmAdd = 2 };

/// Sets the OpenGL blend function: alpha blending for bmDefault and bmNormal, additive
/// (source alpha, one) for bmAdd. Any other value is a programming error (assertion).
void setBlendMode(BlendMode mode);

class Sprite {
  public:
    Sprite(basic_Vector2D<float> pos, bool visible);
    /// Leaves the owning engine, if any.
    virtual ~Sprite();
    Sprite(const Sprite&) = delete;
    Sprite& operator=(const Sprite&) = delete;

    virtual void drawSelf() = 0;
    /// Advances the sprite by the elapsed milliseconds; does nothing here.
    virtual void perform(float ticks);
    /// The pixel mask of the current image, not owned; null when there is none.
    virtual gfx::Bitmask* getBitmask() const;
    /// Called by the collision tests with the sprite this one touches. Must not remove or
    /// destroy sprites of an engine that is being walked (defer that until the pass is over).
    virtual void onCollision(Sprite* spr);

    void setColor(const Color& c) { color = c; }
    const Color& getColor() const { return color; }
    /// The engine whose list holds this sprite, or null; changed only by SpriteEngine.
    SpriteEngine* getOwner() const { return owner; }

    /// Draws with the sprite's blend mode (switched only when it differs from the owner's).
    /// Meant to be called by the owning engine's draw(), which has saved the blend state; called
    /// elsewhere, it saves and restores that state itself.
    void draw();

    /// The outer boxes, placed by position and hotspot, overlap.
    bool checkCollisionOuterBoundingBox(const Sprite* spr);
    /// Both inner boxes are non-empty and, placed like the outer ones, overlap.
    bool checkCollisionInnerBoundingBox(const Sprite* spr);
    /// The pixel masks overlap; false when either sprite has none.
    bool checkCollisionBitmask(const Sprite* spr) const;
    /// The layered test: outer boxes reject, inner boxes accept, masks decide what lies between
    /// (two sprites of which one has no mask collide when their outer boxes overlap).
    bool checkCollision(const Sprite* spr);

    /// Tint applied before drawing; opaque white at start.
    Color color{1, 1, 1, 1};
    /// Where the image's hotspot is drawn; x to the right, y upwards.
    basic_Vector2D<float> pos;
    /// Width and height in pixels.
    basic_Vector2D<float> dimensions;
    /// Hotspot of the current image, from its top-left corner, y downwards.
    basic_Vector2D<float> hotspot;
    bool visible;
    /// Only sprites with this set take part in collision tests.
    bool canCollide = false;
    BlendMode blendMode = bmDefault;
    /// Copies of the current image's boxes, in image pixels with rows running downwards.
    gfx::RectInt outerBoundingBox;
    gfx::RectInt innerBoundingBox;

  private:
    friend class SpriteEngine;
    SpriteEngine* owner = nullptr;
};

}  // namespace sprites
}  // namespace lumo
