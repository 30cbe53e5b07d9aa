#include "gfx/animations/animation.hpp"

#include "debug/log.hpp"
#include "debug/message_stack.hpp"
#include "gfx/animations/animation_bank.hpp"
#include "gfx/animations/animation_reference.hpp"
#include "gfx/images/image_bank.hpp"
#include "xml/checked_numbers.hpp"
#include "xml/node.hpp"

namespace lumo {
namespace gfx {

Animation::Animation(const std::string& name) : NamedResource<AnimationBank, std::string>(name) {}

Animation::~Animation() = default;

void Animation::getFromNode(const xml::Node* root, ImageBank* images, xml::LoopStack loops) {
    debug::MessageScope scope("Animation::getFromNode()");
    if (!root)
        return;
    for (const xml::Node* child : root->children)
        readEntry(*child, images, loops);
}

void Animation::readEntry(const xml::Node& node, ImageBank* images, xml::LoopStack& loops) {
    if (node.name == "loop") {
        xml::processLoop(node, loops, dbgAnimations,
                         [&](const xml::Node& child) { readEntry(child, images, loops); });
        return;
    }
    if (node.name != "frame")
        return;
    const std::string* imageName = node.getAttribute("image");
    if (!imageName) {
        debug::error(dbgImages, "No name specified for animation frame image. Skipping.");
        return;
    }
    Image* image = images ? images->at(loops.expand(*imageName)) : nullptr;
    frames.push_back(
        AnimationFrame(image, xml::getCheckedFloat(node, "delay", delay, dbgAnimations)));
}

AnimationReference* Animation::getReference(float speed) {
    return new AnimationReference(this, speed);
}

}  // namespace gfx
}  // namespace lumo
