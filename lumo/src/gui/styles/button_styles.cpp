#include "gui/styles/button_styles.hpp"

#include "debug/message_stack.hpp"
#include "gui/core/gui.hpp"
#include "gui/core/gui_names.hpp"
#include "gui/core/references.hpp"
#include "gui/styles/label_style.hpp"
#include "xml/node.hpp"

namespace lumo {
namespace gui {

using debug::MessageScope;

void ButtonStyle::getFromNode(const xml::Node* node, GUI* gui) {
    MessageScope scope("ButtonStyle::getFromNode()");
    Style::getFromNode(node, gui);
    readStyle(node, XML_GUI_UP, gui, up);
    readStyle(node, XML_GUI_DOWN, gui, down);
    readStyle(node, XML_GUI_UPHOT, gui, upHot);
    readStyle(node, XML_GUI_DOWNHOT, gui, downHot);
}

LabelStyle* ButtonStyle::getStyle(ButtonState state) const {
    if (state & bsDown)
        return (state & bsHot) ? downHot : down;
    return (state & bsHot) ? upHot : up;
}

void ButtonStyle::draw(const Rect& r, ButtonState state) {
    if (LabelStyle* s = getStyle(state))
        s->draw(r);
}

void ButtonStyle::print(const Rect& r, ButtonState state, const char* text,
                        const gfx::Image* image) {
    if (LabelStyle* s = getStyle(state))
        s->print(r, text, image);
}

void CheckboxStyle::getFromNode(const xml::Node* node, GUI* gui) {
    MessageScope scope("CheckboxStyle::getFromNode()");
    Style::getFromNode(node, gui);
    readStyle(node, XML_GUI_CHECKED, gui, checked);
    readStyle(node, XML_GUI_UNCHECKED, gui, unchecked);
}

ButtonStyle* CheckboxStyle::getStyle(bool isChecked) const {
    return isChecked ? checked : unchecked;
}

LabelStyle* CheckboxStyle::getStyle(ButtonState state, bool isChecked) const {
    ButtonStyle* b = getStyle(isChecked);
    return b ? b->getStyle(state) : nullptr;
}

void CheckboxStyle::draw(const Rect& r, ButtonState state, bool isChecked) {
    if (LabelStyle* s = getStyle(state, isChecked))
        s->draw(r);
}

void CheckboxStyle::print(const Rect& r, ButtonState state, bool isChecked, const char* text,
                          const gfx::Image* image) {
    if (LabelStyle* s = getStyle(state, isChecked))
        s->print(r, text, image);
}

void DropdownListStyle::getFromNode(const xml::Node* node, GUI* gui) {
    MessageScope scope("DropdownListStyle::getFromNode()");
    ButtonStyle::getFromNode(node, gui);
    readImage(node, XML_GUI_IMAGE, gui, image);
}

void DropdownListStyle::print(const Rect& r, ButtonState state, const char* text) {
    ButtonStyle::print(r, state, text, image);
}

}  // namespace gui
}  // namespace lumo
