#include "gfx/animations/animation_bank.hpp"

#include "debug/log.hpp"
#include "debug/message_stack.hpp"
#include "gfx/images/image_bank.hpp"
#include "resources/resource_manager.hpp"
#include "xml/checked_numbers.hpp"
#include "xml/node.hpp"

namespace lumo {
namespace gfx {

const AnimationResourceBankGenerator animationResourceBankGenerator;

BasicResourceBank* AnimationResourceBankGenerator::generateBank(const std::string& type) const {
    return type == "animations" ? new AnimationBank : nullptr;
}

AnimationBank::~AnimationBank() {
    debug::debug(dbgAnimations, "Deleting animation bank %p.", static_cast<void*>(this));
}

std::string AnimationBank::getNodeName() const {
    return "animations";
}

void AnimationBank::getFromNode(const xml::Node* node, const std::string&) {
    getFromNode(node, static_cast<ImageBank*>(nullptr));
}

ImageBank* AnimationBank::imageBankOf(const xml::Node& node, ImageBank* fallback) const {
    const std::string* name = node.getAttribute("imageBank");
    if (!manager || !name)
        return fallback;
    ImageBank* bank = dynamic_cast<ImageBank*>((*manager)[*name]);
    if (!bank) {
        // Frames then take their images from the bank in use so far (or get none), which
        // leaves them invisible; say why.
        debug::warning(dbgAnimations, "Unknown image bank \"%s\".", name->c_str());
        return fallback;
    }
    return bank;
}

void AnimationBank::getFromNode(const xml::Node* node, ImageBank* images) {
    debug::MessageScope scope("AnimationBank::getFromNode()");
    if (!node)
        return;
    getContentsFromNode(node, imageBankOf(*node, images));
}

void AnimationBank::getContentsFromNode(const xml::Node* node, ImageBank* images) {
    debug::MessageScope scope("AnimationBank::getContentsFromNode()");
    if (!node)
        return;
    for (const xml::Node* child : node->children)
        readEntry(*child, images);
}

void AnimationBank::readEntry(const xml::Node& entry, ImageBank* images) {
    if (entry.name == "loop") {
        // The loop's entries are read as if they stood in a bank element of their own, so an
        // `imageBank` attribute on the loop switches the image bank for them.
        ImageBank* loopImages = imageBankOf(entry, images);
        xml::processLoop(entry, loops, dbgAnimations, [this, loopImages](const xml::Node& child) {
            readEntry(child, loopImages);
        });
    } else if (entry.name == "animation") {
        readAnimation(entry, images);
    }
}

void AnimationBank::readAnimation(const xml::Node& element, ImageBank* images) {
    const std::string* nameAttribute = element.getAttribute("name");
    if (!nameAttribute) {
        debug::error(dbgImages, "No name specified for animation. Skipping.");
        return;
    }
    // Animation names take the loop values in plain decimal, whatever their digits; frame
    // image names (expanded by the animation) keep the zero padding.
    xml::LoopStack plain = loops;
    for (xml::LoopData& loop : plain.loops)
        loop.digits = 0;
    const std::string name = plain.expand(*nameAttribute);

    Animation* animation = new Animation(name);
    try {
        animation->delay = xml::getCheckedFloat(element, "delay", 10.0f, dbgAnimations);
        animation->loop = element.getAttributeBool("loop", false);
        animation->getFromNode(&element, images, loops);
        *this += animation;
    } catch (const std::string& message) {
        debug::error(dbgAnimations, "Error reading animation \"%s\": %s", name.c_str(),
                     message.c_str());
        delete animation;
    }
}

}  // namespace gfx
}  // namespace lumo
