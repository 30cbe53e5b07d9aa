#include "sprites/sprites/sprite.hpp"

#include <GL/gl.h>

#include <cassert>

#include "debug/message_stack.hpp"
#include "lumo/convert.hpp"
#include "sprites/sprites/sprite_engine.hpp"

namespace lumo {
namespace sprites {

using debug::MessageScope;

void setBlendMode(BlendMode mode) {
    MessageScope scope("SpriteEngine::setBlendMode()");
    switch (mode) {
        case bmDefault:
        case bmNormal:
            glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
            break;
        case bmAdd:
            glBlendFunc(GL_SRC_ALPHA, GL_ONE);
            break;
        default:
            assert(!"invalid blend mode");
    }
}

Sprite::Sprite(basic_Vector2D<float> pos_, bool visible_) : pos(pos_), visible(visible_) {}

Sprite::~Sprite() {
    MessageScope scope("Sprite::~Sprite()");
    if (owner)
        owner->remove(this);
}

void Sprite::perform(float) {}

gfx::Bitmask* Sprite::getBitmask() const {
    return nullptr;
}

void Sprite::onCollision(Sprite*) {}

void Sprite::draw() {
    MessageScope scope("Sprite::draw()");
    const BlendMode engineMode = owner ? owner->blendMode : bmDefault;
    if (blendMode == engineMode) {
        drawSelf();
        return;
    }
    // Inside the owner's pass the colour-buffer state is saved already. Saving it again there
    // is not only redundant: Mesa then fails to restore the texture binding and the colour
    // that the pass itself saved, so they would leak out of the engine's draw.
    const bool save = !(owner && owner->isDrawing());
    if (save)
        glPushAttrib(GL_COLOR_BUFFER_BIT);
    setBlendMode(blendMode);
    drawSelf();
    if (save)
        glPopAttrib();
    else
        setBlendMode(engineMode);
}

namespace {

/// A box in image pixels moved to where the sprite stands, by the integer part (toward zero) of
/// the image's top-left corner.
gfx::RectInt placed(const gfx::RectInt& box, const Sprite* s) {
    gfx::RectInt r = box;
    r.pos += basic_Vector2D<int>(static_cast<int>(s->pos.x - s->hotspot.x),
                                 static_cast<int>(s->pos.y - s->hotspot.y));
    return r;
}

bool isEmpty(const gfx::RectInt& r) {
    return r.dimensions.x == 0 || r.dimensions.y == 0;
}

}  // namespace

bool Sprite::checkCollisionOuterBoundingBox(const Sprite* spr) {
    MessageScope scope("Sprite::checkCollisionOuterBoundingBox()");
    return placed(outerBoundingBox, this).overlap(placed(spr->outerBoundingBox, spr));
}

bool Sprite::checkCollisionInnerBoundingBox(const Sprite* spr) {
    MessageScope scope("Sprite::checkCollisionInnerBoundingBox()");
    if (isEmpty(innerBoundingBox) || isEmpty(spr->innerBoundingBox))
        return false;
    return placed(innerBoundingBox, this).overlap(placed(spr->innerBoundingBox, spr));
}

bool Sprite::checkCollisionBitmask(const Sprite* spr) const {
    MessageScope scope("Sprite::checkCollisionBitmask()");
    // Mask rows run down from the image's top edge, which is drawn at pos.y + hotspot.y, while
    // the y axis points up: hence the opposite order of the y terms.
    const Sint32 xOffset = round<Sint32>((spr->pos.x - spr->hotspot.x) - (pos.x - hotspot.x));
    const Sint32 yOffset = round<Sint32>((pos.y + hotspot.y) - (spr->pos.y + spr->hotspot.y));
    return gfx::checkCollisionBitmask(getBitmask(), spr->getBitmask(), xOffset, yOffset);
}

bool Sprite::checkCollision(const Sprite* spr) {
    MessageScope scope("Sprite::checkCollision()");
    if (!checkCollisionOuterBoundingBox(spr))
        return false;
    if (checkCollisionInnerBoundingBox(spr))
        return true;
    if (getBitmask() && spr->getBitmask())
        return checkCollisionBitmask(spr);
    return true;
}

}  // namespace sprites
}  // namespace lumo
