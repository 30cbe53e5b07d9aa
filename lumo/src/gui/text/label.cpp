#include "gui/text/label.hpp"

#include <GL/gl.h>

#include "debug/message_stack.hpp"
#include "gui/core/component_factory.hpp"
#include "gui/core/gui_names.hpp"
#include "gui/core/references.hpp"
#include "gui/styles/label_style.hpp"

namespace lumo {
namespace gui {

static const ComponentRegistration registration(XML_GUI_LABEL, &newComponent<Label>);

void drawCaptioned(LabelStyle* style, const Vector2D& size, const char* text,
                   const gfx::Image* image) {
    if (!style)
        return;
    const Rect r(0, 0, size.x, size.y);
    style->draw(r);
    glPushMatrix();
    style->print(r, text, image);
    glPopMatrix();
}

void Label::getSelfFromNode(const xml::Node* node, GUI* gui) {
    debug::MessageScope scope("Label::getSelfFromNode()");
    Component::getSelfFromNode(node, gui);
    CaptionedObject::getSelfFromNode(node, gui);
    readStyle(node, XML_GUI_STYLE, gui, style);
}

void Label::drawSelf() {
    drawCaptioned(style, dimensions, caption.c_str(), image);
}

}  // namespace gui
}  // namespace lumo
