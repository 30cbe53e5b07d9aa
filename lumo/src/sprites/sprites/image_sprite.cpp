#include "sprites/sprites/image_sprite.hpp"

#include "debug/message_stack.hpp"
#include "gfx/animations/animation.hpp"
#include "gfx/animations/animation_reference.hpp"
#include "gfx/images/image.hpp"
#include "gfx/images/single_texture_image.hpp"
#include "sprites/sprites/sprite_engine.hpp"

namespace lumo {
namespace sprites {

using debug::MessageScope;

ImageSprite::ImageSprite(basic_Vector2D<float> pos_, bool visible_, gfx::Image* image_)
    : Sprite(pos_, visible_) {
    MessageScope scope("ImageSprite::ImageSprite()");
    for (auto& vertex : vertexColors)
        for (float& channel : vertex)
            channel = 1.0f;
    setImage(image_);
}

ImageSprite::~ImageSprite() {
    MessageScope scope("ImageSprite::~ImageSprite()");
    autoclearImage();
}

void ImageSprite::autoclearImage() {
    MessageScope scope("ImageSprite::autoclearImage()");
    if (dynamic_cast<gfx::AnimationReference*>(image))
        delete image;
    image = nullptr;
}

void ImageSprite::setImage(gfx::Image* newImage) {
    MessageScope scope("ImageSprite::setImage()");
    // Showing the reference already shown must not delete it.
    if (newImage != image)
        autoclearImage();
    image = newImage;
    getImageData();
}

gfx::AnimationReference* ImageSprite::setAnimation(gfx::Animation* animation, float speed) {
    MessageScope scope("ImageSprite::setAnimation()");
    gfx::AnimationReference* reference = animation ? animation->getReference(speed) : nullptr;
    setImage(reference);
    return reference;
}

void ImageSprite::getImageData() {
    MessageScope scope("ImageSprite::getImageData()");
    if (image) {
        dimensions = basic_Vector2D<float>(static_cast<float>(image->getWidth()),
                                           static_cast<float>(image->getHeight()));
        hotspot = image->getHotspot();
        outerBoundingBox = image->getOuterBoundingBox();
        innerBoundingBox = image->getInnerBoundingBox();
    } else {
        dimensions.clear();
        hotspot.clear();
        outerBoundingBox.clear();
        // A sprite without an image has no area that could accept a collision either.
        innerBoundingBox.clear();
    }
}

namespace {

/// The single texture an image draws from (for an animation, its current frame's), or null.
gfx::SingleTextureImage* textureImageOf(gfx::Image* image) {
    if (auto* reference = dynamic_cast<gfx::AnimationReference*>(image))
        image = reference->getImage();
    auto* single = dynamic_cast<gfx::SingleTextureImage*>(image);
    return single && single->getTextureName() ? single : nullptr;
}

}  // namespace

void ImageSprite::drawSelf() {
    MessageScope scope("ImageSprite::draw()");
    if (!image)
        return;
    // The point handed to the image: it puts its bottom-left corner at (x - hotspot.x,
    // y + hotspot.y), so its top-left corner lands at (pos.x - hotspot.x, pos.y + hotspot.y),
    // which is the hotspot (measured down from the top) on pos.
    const Vector2D at(pos.x, pos.y - dimensions.y);
    gfx::SingleTextureImage* single = textureImageOf(image);
    if (single && getOwner() && getOwner()->isDrawing()) {
        drawQuad(*single, at);
        return;
    }
    color.apply();
    image->draw(at);
}

void ImageSprite::drawQuad(const gfx::SingleTextureImage& single, const Vector2D& at) {
    // The same quad the image draws, without its own saving and restoring of the colour,
    // enable and texture state (the engine's pass saves them once): on the software renderer
    // that saving costs more than the drawing (a frame of 1000 sprites took twice as long).
    const GLfloat x = at.x - single.getHotspot().x, y = at.y + single.getHotspot().y;
    const GLfloat w = static_cast<GLfloat>(single.getWidth());
    const GLfloat h = static_cast<GLfloat>(single.getHeight());
    const GLfloat left = single.getLeftTexCoord(), right = single.getRightTexCoord();
    const GLfloat upper = single.getUpperTexCoord(), lower = single.getLowerTexCoord();
    const GLfloat corners[4][2] = {{x, y}, {x, y + h}, {x + w, y + h}, {x + w, y}};
    const GLfloat texture[4][2] = {{left, lower}, {left, upper}, {right, upper}, {right, lower}};
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, single.getTextureName());
    glBegin(GL_QUADS);
    for (int i = 0; i < 4; ++i) {
        vertexCoordinates[i][0] = corners[i][0];
        vertexCoordinates[i][1] = corners[i][1];
        vertexTextureCoordinates[i][0] = texture[i][0];
        vertexTextureCoordinates[i][1] = texture[i][1];
        // Per vertex, so that the colour travels with the vertices instead of changing the
        // current colour between quads (which splits the renderer's batches).
        glColor4f(color.r * vertexColors[i][0], color.g * vertexColors[i][1],
                  color.b * vertexColors[i][2], color.a * vertexColors[i][3]);
        glTexCoord2fv(vertexTextureCoordinates[i]);
        glVertex2fv(vertexCoordinates[i]);
    }
    glEnd();
}

void ImageSprite::perform(float ticks) {
    MessageScope scope("ImageSprite::perform()");
    if (!image)
        return;
    image->perform(ticks);
    getImageData();
}

gfx::Bitmask* ImageSprite::getBitmask() const {
    return image ? image->getBitmask() : nullptr;
}

}  // namespace sprites
}  // namespace lumo
