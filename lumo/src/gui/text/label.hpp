#pragma once
// A label: a caption with an optional icon.

#include "gui/core/captioned_object.hpp"
#include "gui/core/component.hpp"

namespace lumo {
namespace gui {

class LabelStyle;

/// Does not take the focus.
class Label : public Component, public CaptionedObject {
  public:
    /// The component and caption attributes, then `style`, the name of a label style.
    void getSelfFromNode(const xml::Node* node, GUI* gui) override;
    /// The style's background, then the caption with the icon; nothing without a style.
    void drawSelf() override;
    virtual void setStyle(LabelStyle* s) { style = s; }
    virtual LabelStyle* getStyle() const { return style; }

  private:
    LabelStyle* style = nullptr;
};

/// Draws a captioned widget with a label style over `size`: the background, then the text
/// with the icon, the model-view matrix kept. Nothing without a style.
void drawCaptioned(LabelStyle* style, const Vector2D& size, const char* text,
                   const gfx::Image* image);

}  // namespace gui
}  // namespace lumo
