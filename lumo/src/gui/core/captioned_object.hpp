#pragma once
// The caption and icon of captioned widgets (labels, text fields, buttons...), a second base
// next to Component.

#include <string>

namespace lumo {

namespace xml {
class Node;
}
namespace gfx {
class Image;
}

namespace gui {

class GUI;

class CaptionedObject {
  public:
    CaptionedObject() = default;
    /// Forgets the image (not owned).
    virtual ~CaptionedObject();

    /// Reads `caption` (default: the current caption) and `image`, the name of an image in the
    /// GUI's image bank (a name that is not there leaves the image unchanged).
    virtual void getSelfFromNode(const xml::Node* node, GUI* gui);
    /// The caption is UTF-8 text.
    virtual void setCaption(const std::string& c);
    virtual void setImage(gfx::Image* i);
    virtual std::string getCaption() const;
    virtual gfx::Image* getImage() const;

  protected:
    std::string caption;
    gfx::Image* image = nullptr;
};

}  // namespace gui
}  // namespace lumo
