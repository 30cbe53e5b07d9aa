#include "gui/core/style.hpp"

#include "debug/log.hpp"
#include "debug/message_stack.hpp"
#include "gui/core/gui_names.hpp"
#include "xml/node.hpp"

namespace lumo {
namespace gui {

void Style::getFromNode(const xml::Node* node, GUI*) {
    debug::MessageScope scope("Style::getFromNode()");
    if (const std::string* n = node->getAttribute(XML_GUI_NAME)) {
        name = *n;
    } else {
        debug::error(dbgGui, "No name specified for style. Using empty name.");
        name.clear();
    }
}

}  // namespace gui
}  // namespace lumo
