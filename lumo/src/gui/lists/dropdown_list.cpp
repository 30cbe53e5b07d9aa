#include "gui/lists/dropdown_list.hpp"

#include <GL/gl.h>

#include <memory>

#include "controls/control_queue.hpp"
#include "debug/log.hpp"
#include "debug/message_stack.hpp"
#include "gui/core/component_factory.hpp"
#include "gui/core/gui.hpp"
#include "gui/core/gui_names.hpp"
#include "gui/styles/button_styles.hpp"
#include "xml/node.hpp"

namespace lumo {
namespace gui {

namespace {
const ComponentRegistration registration(XML_GUI_DROPDOWNLIST, &newComponent<DropdownList>);
}

DropdownList::DropdownList() {
    wantsFocus = true;
}

DropdownList::~DropdownList() {
    if (items) {
        List* list = items;
        items = nullptr;
        list->unuse();
    }
}

void DropdownList::getSelfFromNode(const xml::Node* node, GUI* gui) {
    debug::MessageScope scope("DropdownList::getSelfFromNode()");
    Component::getSelfFromNode(node, gui);
    CaptionedObject::getSelfFromNode(node, gui);

    const std::string* styleName = node->getAttribute(XML_GUI_STYLE);
    if (styleName && gui) {
        style = gui->getStyles()->findStyle<DropdownListStyle>(*styleName);
        if (style)
            debug::debug(dbgGui, "Attached style \"%s\" to dropdown list \"%s\".",
                         styleName->c_str(), name.c_str());
        else
            debug::warning(dbgGui, "Could not find matching style for dropdown list \"%s\".",
                           name.c_str());
    }
    const std::string* triggerName = node->getAttribute(XML_GUI_TRIGGER);
    if (triggerName && gui)
        trigger = gui->findTrigger(*triggerName);

    // Held here until setItems takes it, so that a throw while reading frees it.
    std::unique_ptr<List> own;
    for (const xml::Node* child : node->children) {
        if (child->name != XML_GUI_ITEM)
            continue;
        if (!own)
            own.reset(new List);
        ListItem* item = new ListItem;
        *own += item;
        item->getFromNode(child);
    }
    if (own)
        setItems(own.release());
    else if (items)
        setItems(items);
}

void DropdownList::setItems(List* list) {
    debug::MessageScope scope("DropdownList::setItems()");
    if (list != items) {
        if (items)
            items->unuse();
        items = list;
        if (items)
            items->use();
    }
    // The selected item may have died with the released list: only compared, never read.
    if (!items || items->empty())
        selectItem(nullptr);
    else if (selected && items->contains(selected))
        selectItem(selected);
    else
        selectItem(items->front());
}

void DropdownList::selectItem(ListItem* item) {
    debug::MessageScope scope("DropdownList::selectItem()");
    selected = item;
    if (item) {
        setCaption(item->caption);
        debug::debug(dbgDdd, "Selected dropdown list item \"%s\".", item->caption.c_str());
    } else {
        setCaption("");
        debug::debug(dbgDdd, "Selected dropdown list item null.");
    }
}

ButtonState DropdownList::getState() const {
    return static_cast<ButtonState>((isDown() ? bsDown : bsUp) | (focused ? bsHot : bsUp));
}

bool DropdownList::isDown() const {
    return hold.isDown(*this);
}

void DropdownList::doClick(ControlQueue* queue) {
    debug::MessageScope scope("DropdownList::doClick()");
    if (items && !items->empty())
        selectItem(items->next(selected));
    fire(queue, trigger);
}

void DropdownList::mouseDown(ControlQueue*, const Vector2D&, Uint8 button) {
    hold.press(*this, button);
}

void DropdownList::mouseUp(ControlQueue* queue, const Vector2D&, Uint8 button) {
    if (hold.release(*this, button))
        doClick(queue);
}

bool DropdownList::keyDown(ControlQueue* queue, SDLKey key, SDLMod mod, Uint16 unicode) {
    if (ClickHold::isClickKey(key)) {
        doClick(queue);
        return true;
    }
    return Component::keyDown(queue, key, mod, unicode);
}

void DropdownList::drawSelf() {
    if (!style)
        return;
    const Rect r(0, 0, dimensions.x, dimensions.y);
    const ButtonState state = getState();
    style->draw(r, state);
    glPushMatrix();
    style->print(r, state, caption.c_str());
    glPopMatrix();
}

}  // namespace gui
}  // namespace lumo
