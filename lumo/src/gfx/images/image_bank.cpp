#include "gfx/images/image_bank.hpp"

#include <iterator>

#include "debug/log.hpp"
#include "debug/message_stack.hpp"
#include "gfx/images/simple_image.hpp"
#include "xml/checked_numbers.hpp"
#include "xml/node.hpp"

namespace lumo {
namespace gfx {

const ImageResourceBankGenerator imageResourceBankGenerator;

BasicResourceBank* ImageResourceBankGenerator::generateBank(const std::string& type) const {
    return type == "images" ? new ImageBank : nullptr;
}

ImageBank::ImageBank() = default;

ImageBank::~ImageBank() {
    debug::debug(dbgImages, "Deleting image bank %p.", static_cast<void*>(this));
}

std::string ImageBank::getNodeName() const {
    return "images";
}

void ImageBank::getFromNode(const xml::Node* node, const std::string& path) {
    if (!node)
        return;
    for (const xml::Node* child : node->children)
        readEntry(*child, path);
}

void ImageBank::readEntry(const xml::Node& node, const std::string& path) {
    if (node.name == "loop")
        xml::processLoop(node, loops, dbgAnimations, dbgImages,
                         [this, &path](const xml::Node& child) { readEntry(child, path); });
    else if (node.name == "image")
        readImage(node, path);
}

void ImageBank::readImage(const xml::Node& node, const std::string& path) {
    const std::string* filenameAttribute = node.getAttribute("filename");
    const std::string* nameAttribute = node.getAttribute("name");
    std::string name;
    if (nameAttribute) {
        name = *nameAttribute;
    } else {
        debug::warning(dbgImages, "No name specified for image. Using filename.");
        if (filenameAttribute)
            name = *filenameAttribute;
    }
    if (!filenameAttribute) {
        debug::error(dbgImages, "No filename specified for image \"%s\". Skipping entry.",
                     name.c_str());
        return;
    }
    name = loops.expand(name);
    const std::string filename = loops.expand(*filenameAttribute);

    SimpleImage* image = new SimpleImage(name, path + filename);
    image->setHotspot(Vector2D(xml::getCheckedFloat(node, "hotX", 0, dbgImages),
                               xml::getCheckedFloat(node, "hotY", 0, dbgImages)));
    image->setBitmaskThreshold(xml::getCheckedFloat(node, "bitmaskThreshold", -1.0f, dbgImages));
    image->setClamp(node.getAttributeBool("clamp", false));
    ImageFilter f = ifLinear;
    if (const std::string* filterName = node.getAttribute("filter"))
        imageFilterFromString(*filterName, f);
    image->setFilterChoice(f);
    *this += image;
}

std::size_t ImageBank::size() const {
    return map.size();
}

namespace {

// Calls `action(image, last)` for every image in name order, `last` being true for the final
// one (which lets the bitmask row cache go).
template <typename Action>
void forEachImage(ImageBank& bank, Action action) {
    try {
        for (ImageBank::iterator it = bank.begin(); it != bank.end();) {
            ImageResource* image = *it;
            ++it;
            action(image, it == bank.end());
        }
    } catch (...) {
        // The last image, which would have let the row cache go, is never reached.
        clearBitmaskCache();
        throw;
    }
}

}  // namespace

void ImageBank::refresh(RefreshingBankHandler* handler) {
    debug::MessageScope scope("ImageBank::refresh()");
    forEachImage(*this, [handler](ImageResource* image, bool last) {
        image->refresh(last);
        if (handler)
            handler->elementRefreshed();
    });
}

void ImageBank::reload() {
    debug::MessageScope scope("ImageBank::reload()");
    forEachImage(*this, [](ImageResource* image, bool last) { image->reload(last); });
}

void ImageBank::release() {
    debug::MessageScope scope("ImageBank::release()");
    forEachImage(*this, [](ImageResource* image, bool last) { image->release(last); });
}

}  // namespace gfx
}  // namespace lumo
