#include "gui/standard/input_captor.hpp"

#include "debug/message_stack.hpp"
#include "gui/core/component_factory.hpp"
#include "gui/core/gui_names.hpp"
#include "gui/core/references.hpp"

namespace lumo {
namespace gui {

static const ComponentRegistration registration(XML_GUI_INPUTCAPTOR, &newComponent<InputCaptor>);

void InputCaptor::getSelfFromNode(const xml::Node* node, GUI* gui) {
    debug::MessageScope scope("InputCaptor::getSelfFromNode()");
    Component::getSelfFromNode(node, gui);
    readTrigger(node, XML_GUI_TRIGGER_KEY, gui, triggerKey);
    readTrigger(node, XML_GUI_TRIGGER_JOYBUTTON, gui, triggerJoyButton);
    readTrigger(node, XML_GUI_TRIGGER_JOYAXIS, gui, triggerJoyAxis);
}

bool InputCaptor::keyDown(ControlQueue* queue, SDLKey k, SDLMod, Uint16) {
    if (enabled) {
        key = k;
        fire(queue, triggerKey);
        setEnabled(false);
    }
    return true;
}

bool InputCaptor::joyButtonDown(ControlQueue* queue, Uint8 joystick, Uint8 button) {
    if (enabled) {
        joy = joystick;
        joyButton = button;
        fire(queue, triggerJoyButton);
        setEnabled(false);
    }
    return true;
}

bool InputCaptor::joyAxisMotion(ControlQueue* queue, Uint8 joystick, Uint8 axis, Sint16 value) {
    if (enabled && value != 0) {
        joy = joystick;
        joyAxis = axis;
        joyAxisDirection = value < 0 ? -1 : 1;
        fire(queue, triggerJoyAxis);
        setEnabled(false);
    }
    return true;
}

}  // namespace gui
}  // namespace lumo
