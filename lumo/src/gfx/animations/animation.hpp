#pragma once
// A named sequence of frames, each an image of an image bank shown for a delay. The animation
// only holds the frames; each user plays it through its own AnimationReference. Main thread
// only.

#include <GL/gl.h>

#include <string>
#include <vector>

#include "resources/named_resource.hpp"
#include "xml/loop_data.hpp"

namespace lumo {
namespace xml {
class Node;
}

namespace gfx {

class AnimationBank;
class AnimationReference;
class Image;
class ImageBank;

/// One frame: an image (not owned; null when the bank had no image of that name) shown for
/// `delay` ticks.
struct AnimationFrame {
    AnimationFrame() = default;
    AnimationFrame(Image* i, float d) : image(i), delay(d) {}
    Image* image = nullptr;
    GLfloat delay = 0;
};

class Animation : public NamedResource<AnimationBank, std::string> {
  public:
    Animation() = default;
    explicit Animation(const std::string& name);
    ~Animation() override;

    /// Appends the `frame` entries of an `animation` element (and of the `loop` elements inside
    /// it), taking images from `images` (may be null). `loops` are the loops active around the
    /// element; frame image names are expanded with them and with the element's own loops.
    /// Frames without an image name are logged and skipped.
    void getFromNode(const xml::Node* root, ImageBank* images, xml::LoopStack loops);
    /// A new reference playing this animation; the caller owns it, and it must not outlive the
    /// animation or the image bank.
    AnimationReference* getReference(float speed);

    std::vector<AnimationFrame> frames;
    /// The delay of frames that name none.
    GLfloat delay = 10.0f;
    /// Whether playing restarts after the last frame.
    bool loop = false;

  private:
    void readEntry(const xml::Node& node, ImageBank* images, xml::LoopStack& loops);
};

}  // namespace gfx
}  // namespace lumo

// Creating or destroying an animation calls into its bank.
#include "gfx/animations/animation_bank.hpp"
