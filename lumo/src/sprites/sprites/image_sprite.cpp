#include "sprites/sprites/image_sprite.hpp"

#include "debug/message_stack.hpp"
#include "gfx/animations/animation.hpp"
#include "gfx/animations/animation_reference.hpp"
#include "gfx/images/image.hpp"

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

void ImageSprite::drawSelf() {
    MessageScope scope("ImageSprite::draw()");
    if (!image)
        return;
    color.apply();
    // The image puts its bottom-left corner at (x - hotspot.x, y + hotspot.y); drawing at
    // pos.y - height puts its top-left corner at (pos.x - hotspot.x, pos.y + hotspot.y), which
    // is the hotspot (measured down from the top) on pos.
    image->draw(Vector2D(pos.x, pos.y - dimensions.y));
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
