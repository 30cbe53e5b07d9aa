#include "gui/standard/checkbox.hpp"

#include <GL/gl.h>

#include "debug/message_stack.hpp"
#include "gui/core/component_factory.hpp"
#include "gui/core/gui_names.hpp"
#include "gui/core/references.hpp"

namespace lumo {
namespace gui {

static const ComponentRegistration registration(XML_GUI_CHECKBOX, &newComponent<Checkbox>);

Checkbox::Checkbox() {
    wantsFocus = true;
}

void Checkbox::getSelfFromNode(const xml::Node* node, GUI* gui) {
    debug::MessageScope scope("Checkbox::getSelfFromNode()");
    Component::getSelfFromNode(node, gui);
    CaptionedObject::getSelfFromNode(node, gui);
    readStyle(node, XML_GUI_STYLE, gui, style);
    Trigger* both = nullptr;
    if (node->getAttribute(XML_GUI_TRIGGER)) {
        readTrigger(node, XML_GUI_TRIGGER, gui, both);
        triggerOn = triggerOff = both;
    }
    readTrigger(node, XML_GUI_TRIGGER_ON, gui, triggerOn);
    readTrigger(node, XML_GUI_TRIGGER_OFF, gui, triggerOff);
}

ButtonState Checkbox::getState() const {
    return (isDown() ? bsDown : bsUp) | (focused ? bsHot : bsUp);
}

void Checkbox::drawSelf() {
    if (!style)
        return;
    const Rect r(0, 0, dimensions.x, dimensions.y);
    const ButtonState state = getState();
    style->draw(r, state, checked);
    glPushMatrix();
    style->print(r, state, checked, caption.c_str(), image);
    glPopMatrix();
}

void Checkbox::mouseDown(ControlQueue*, const Vector2D&, Uint8 button) {
    hold.press(*this, button);
}

void Checkbox::mouseUp(ControlQueue* queue, const Vector2D&, Uint8 button) {
    if (hold.release(*this, button))
        doClick(queue);
}

bool Checkbox::keyDown(ControlQueue* queue, SDLKey key, SDLMod mod, Uint16 unicode) {
    if (ClickHold::isClickKey(key)) {
        doClick(queue);
        return true;
    }
    return Component::keyDown(queue, key, mod, unicode);
}

bool Checkbox::joyButtonDown(ControlQueue* queue, Uint8, Uint8 button) {
    if (button != 0)
        return false;
    doClick(queue);
    return true;
}

void Checkbox::doClick(ControlQueue* queue) {
    checked = !checked;
    fire(queue, checked ? triggerOn : triggerOff);
}

}  // namespace gui
}  // namespace lumo
