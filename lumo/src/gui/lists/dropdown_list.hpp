#pragma once
// A drop-down list: shows the caption of one item of a (shared) List and steps to the next
// item, wrapping around, each time it is clicked. No pop-up opens; it behaves like a button
// whose caption cycles through the items. Main thread only.

#include "gui/core/captioned_object.hpp"
#include "gui/core/click_hold.hpp"
#include "gui/core/component.hpp"
#include "gui/lists/list.hpp"
#include "gui/styles/button_styles.hpp"

namespace lumo {

class Trigger;

namespace gui {

class DropdownList : public Component, public CaptionedObject {
  public:
    DropdownList();
    /// Releases the list (unuse).
    ~DropdownList() override;

    /// Component attributes, caption attributes, `style`, `trigger` and `Item` children. The
    /// first Item starts a list of the widget's own, which replaces the current one.
    void getSelfFromNode(const xml::Node* node, GUI* gui) override;
    void drawSelf() override;
    /// Button 1: captures the mouse and holds.
    void mouseDown(ControlQueue* queue, const Vector2D& point, Uint8 button) override;
    /// Button 1: clicks when down, then releases.
    void mouseUp(ControlQueue* queue, const Vector2D& point, Uint8 button) override;
    /// Return and space click; other keys navigate.
    bool keyDown(ControlQueue* queue, SDLKey key, SDLMod mod, Uint16 unicode) override;

    /// Holds `list` (use) and releases the previous one (unuse); setting the held list again
    /// changes no count. Keeps the selected item when the new list contains it, else selects
    /// the first item (nothing for an empty list). Null releases the list and selects nothing.
    virtual void setItems(List* list);
    /// Selects `item` (null for none) and shows its caption.
    virtual void selectItem(ListItem* item);
    virtual List* getItems() const { return items; }
    virtual ListItem* getSelected() const { return selected; }
    virtual void setStyle(DropdownListStyle* s) { style = s; }
    virtual DropdownListStyle* getStyle() const { return style; }
    virtual void setTrigger(Trigger* t) { trigger = t; }
    virtual Trigger* getTrigger() const { return trigger; }

    ButtonState getState() const;
    /// Held with the mouse and focused.
    bool isDown() const;
    /// Selects the next item (the first when none or an unknown one is selected), then fires
    /// the trigger, with or without items.
    void doClick(ControlQueue* queue);

  protected:
    ClickHold hold;
    DropdownListStyle* style = nullptr;
    Trigger* trigger = nullptr;
    List* items = nullptr;
    ListItem* selected = nullptr;
};

}  // namespace gui
}  // namespace lumo
