#pragma once
// Styles that choose a label style by widget state: buttons, check boxes, drop-down lists.

#include "gui/core/style.hpp"
#include "lumo/types.hpp"

namespace lumo {

namespace gfx {
class Image;
}

namespace gui {

class LabelStyle;

/// Flags: a widget is down while pressed on it and hot while it holds the focus.
enum ButtonState { bsUp = 0, bsDown = 1, bsHot = 2 };

inline ButtonState operator|(ButtonState a, ButtonState b) {
    return static_cast<ButtonState>(static_cast<int>(a) | static_cast<int>(b));
}

class ButtonStyle : public Style {
  public:
    /// Reads the label style names `up`, `down`, `upHot`, `downHot` after the name.
    void getFromNode(const xml::Node* node, GUI* gui) override;
    /// downHot, down, upHot or up by the state's flags; may be null.
    LabelStyle* getStyle(ButtonState state) const;
    /// Nothing when the state has no label style.
    void draw(const Rect& r, ButtonState state);
    void print(const Rect& r, ButtonState state, const char* text, const gfx::Image* image);

    LabelStyle* up = nullptr;
    LabelStyle* down = nullptr;
    LabelStyle* upHot = nullptr;
    LabelStyle* downHot = nullptr;
};

class CheckboxStyle : public Style {
  public:
    /// Reads the button style names `checked` and `unchecked` after the name.
    void getFromNode(const xml::Node* node, GUI* gui) override;
    ButtonStyle* getStyle(bool isChecked) const;
    LabelStyle* getStyle(ButtonState state, bool isChecked) const;
    void draw(const Rect& r, ButtonState state, bool isChecked);
    void print(const Rect& r, ButtonState state, bool isChecked, const char* text,
               const gfx::Image* image);

    ButtonStyle* checked = nullptr;
    ButtonStyle* unchecked = nullptr;
};

/// A button style with an icon of its own, printed next to the selected item's caption.
class DropdownListStyle : public ButtonStyle {
  public:
    /// Reads the button style's attributes and `image`.
    void getFromNode(const xml::Node* node, GUI* gui) override;
    using ButtonStyle::print;
    void print(const Rect& r, ButtonState state, const char* text);

    gfx::Image* image = nullptr;
};

}  // namespace gui
}  // namespace lumo
