#pragma once
// A pane: groups components on a background.

#include "gui/core/component.hpp"

namespace lumo {
namespace gui {

class RectStyle;

/// Does not take the focus itself.
class Pane : public Component {
  public:
    /// Also reads `style`, the name of a rectangle style.
    void getSelfFromNode(const xml::Node* node, GUI* gui) override;
    /// The background over (0, 0, width, height), when there is a style.
    void drawSelf() override;
    void setStyle(RectStyle* s) { style = s; }
    RectStyle* getStyle() const { return style; }

  private:
    RectStyle* style = nullptr;
};

}  // namespace gui
}  // namespace lumo
