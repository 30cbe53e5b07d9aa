#include "gfx/images/image_resource.hpp"

#include "debug/message_stack.hpp"
#include "gfx/images/image_bank.hpp"

namespace lumo {
namespace gfx {

ImageResource::ImageResource() = default;

ImageResource::ImageResource(const std::string& name, const std::string& filename_)
    : NamedResource<ImageBank, std::string>(name), filename(filename_) {}

ImageResource::~ImageResource() {
    debug::MessageScope scope("ImageResource::~ImageResource()");
    delete bitmask;
    bitmask = nullptr;
}

void ImageResource::release(bool) {}

void ImageResource::reload(bool last) {
    debug::MessageScope scope("ImageResource::reload()");
    load(last, bitmask == nullptr);
}

void ImageResource::createBitmask(SDL_Surface* surface, bool last) {
    debug::MessageScope scope("ImageResource::createBitmask()");
    if (bitmaskThreshold < 0)
        return;
    delete bitmask;
    bitmask = nullptr;
    bitmask = new Bitmask(surface, bitmaskThreshold, !last);
    outerBoundingBox = *bitmask->getOuterBoundingBox();
    innerBoundingBox = *bitmask->getInnerBoundingBox();
}

}  // namespace gfx
}  // namespace lumo
