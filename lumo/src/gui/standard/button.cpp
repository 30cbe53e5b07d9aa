#include "gui/standard/button.hpp"

#include <GL/gl.h>

#include "debug/message_stack.hpp"
#include "gui/core/component_factory.hpp"
#include "gui/core/gui.hpp"
#include "gui/core/gui_names.hpp"
#include "gui/core/references.hpp"

namespace lumo {
namespace gui {

static const ComponentRegistration registration(XML_GUI_BUTTON, &newComponent<Button>);

Button::Button() {
    wantsFocus = true;
}

void Button::getSelfFromNode(const xml::Node* node, GUI* gui) {
    debug::MessageScope scope("Button::getSelfFromNode()");
    Component::getSelfFromNode(node, gui);
    CaptionedObject::getSelfFromNode(node, gui);
    setRepeat(node->getAttributeBool(XML_GUI_REPEAT, repeat));
    readStyle(node, XML_GUI_STYLE, gui, style);
    readTrigger(node, XML_GUI_TRIGGER, gui, trigger);
}

ButtonState Button::getState() const {
    return (isDown() ? bsDown : bsUp) | (focused ? bsHot : bsUp);
}

bool Button::isDown() const {
    return holding && (repeat || focused);
}

void Button::drawSelf() {
    if (!style)
        return;
    const Rect r(0, 0, dimensions.x, dimensions.y);
    const ButtonState state = getState();
    style->draw(r, state);
    glPushMatrix();
    style->print(r, state, caption.c_str(), image);
    glPopMatrix();
}

void Button::mouseDown(ControlQueue* queue, const Vector2D&, Uint8 button) {
    if (button != SDL_BUTTON_LEFT)
        return;
    captureMouse(true);
    holding = true;
    if (repeat) {
        doClick(queue);
        const GUI* root = getRoot();
        repeatTimer = root ? root->getKeyDelay() : 300;
    }
}

void Button::mouseUp(ControlQueue* queue, const Vector2D&, Uint8 button) {
    if (button != SDL_BUTTON_LEFT)
        return;
    if (isDown())
        doClick(queue);
    repeatTimer = 0;
    holding = false;
    captureMouse(false);
}

bool Button::keyDown(ControlQueue* queue, SDLKey key, SDLMod mod, Uint16 unicode) {
    if (unicode == 13 || unicode == 32) {
        doClick(queue);
        return true;
    }
    return Component::keyDown(queue, key, mod, unicode);
}

bool Button::joyButtonDown(ControlQueue* queue, Uint8, Uint8 button) {
    if (button != 0)
        return false;
    doClick(queue);
    return true;
}

void Button::performSelf(ControlQueue* queue, float elapsed) {
    if (repeatTimer == 0)
        return;
    const GUI* root = getRoot();
    const float interval = root ? root->getKeyRepeat() : 30;
    if (interval <= 0)
        return;  // no auto-repeat
    repeatTimer -= elapsed;
    while (repeatTimer <= 0) {
        repeatTimer += interval;
        doClick(queue);
    }
}

void Button::doClick(ControlQueue* queue) {
    if (onClick)
        onClick->handleClickEvent(this);
    fire(queue, trigger);
}

void Button::setRepeat(bool r) {
    repeat = r;
    repeatTimer = 0;
}

}  // namespace gui
}  // namespace lumo
