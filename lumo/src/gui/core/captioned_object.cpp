#include "gui/core/captioned_object.hpp"

#include "debug/log.hpp"
#include "debug/message_stack.hpp"
#include "gfx/images/image_bank.hpp"
#include "gui/core/gui.hpp"
#include "gui/core/gui_names.hpp"
#include "xml/node.hpp"

namespace lumo {
namespace gui {

CaptionedObject::~CaptionedObject() {
    image = nullptr;
}

void CaptionedObject::getSelfFromNode(const xml::Node* node, GUI* gui) {
    debug::MessageScope scope("CaptionedObject::getSelfFromNode()");
    setCaption(node->getAttribute(XML_GUI_CAPTION, caption));
    const std::string* imageName = node->getAttribute(XML_GUI_IMAGE);
    if (!imageName)
        return;
    gfx::ImageBank* bank = gui ? gui->getImages() : nullptr;
    gfx::Image* found = bank ? bank->at(*imageName) : nullptr;
    if (!found) {
        debug::warning(dbgGui, "Image \"%s\" not found.", imageName->c_str());
        return;
    }
    setImage(found);
    debug::debug(dbgGui, "Attached image \"%s\": %p (%s)", imageName->c_str(),
                 static_cast<void*>(found), caption.c_str());
}

void CaptionedObject::setCaption(const std::string& c) {
    caption = c;
}

void CaptionedObject::setImage(gfx::Image* i) {
    image = i;
}

std::string CaptionedObject::getCaption() const {
    return caption;
}

gfx::Image* CaptionedObject::getImage() const {
    return image;
}

}  // namespace gui
}  // namespace lumo
