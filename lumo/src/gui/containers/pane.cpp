#include "gui/containers/pane.hpp"

#include "debug/message_stack.hpp"
#include "gui/core/component_factory.hpp"
#include "gui/core/gui_names.hpp"
#include "gui/core/references.hpp"
#include "gui/styles/rect_styles.hpp"

namespace lumo {
namespace gui {

static const ComponentRegistration registration(XML_GUI_PANE, &newComponent<Pane>);

void Pane::getSelfFromNode(const xml::Node* node, GUI* gui) {
    debug::MessageScope scope("Pane::getSelfFromNode()");
    Component::getSelfFromNode(node, gui);
    readStyle(node, XML_GUI_STYLE, gui, style);
}

void Pane::drawSelf() {
    if (style)
        style->draw(Rect(0, 0, dimensions.x, dimensions.y));
}

}  // namespace gui
}  // namespace lumo
