#pragma once
// A bank of animations read from `animations` elements (bank type "animations"), whose frames
// come from an image bank named by the `imageBank` attribute. Main thread only.

#include <string>

#include "gfx/animations/animation.hpp"
#include "resources/named_resource.hpp"
#include "resources/resource_bank.hpp"
#include "xml/loop_data.hpp"

namespace lumo {
namespace gfx {

class ImageBank;

class AnimationBank : public NamedResourceBank<Animation> {
  public:
    AnimationBank() = default;
    ~AnimationBank() override;

    std::string getNodeName() const override;
    /// Reads the bank's content; `path` is not used (frames name images, not files).
    void getFromNode(const xml::Node* node, const std::string& path) override;
    /// Reads `node`'s entries with frame images from the image bank its `imageBank` attribute
    /// names, when the manager knows it, else from `images` (may be null: frames get no image).
    void getFromNode(const xml::Node* node, ImageBank* images);
    /// Reads `animation` and `loop` entries; unnamed animations are logged and skipped, and an
    /// animation whose reading throws is logged and dropped.
    void getContentsFromNode(const xml::Node* node, ImageBank* images);

  private:
    /// The image bank named by `node`'s `imageBank` attribute, or `fallback` when there is no
    /// such attribute or the manager knows no image bank of that name (logged).
    ImageBank* imageBankOf(const xml::Node& node, ImageBank* fallback) const;
    void readEntry(const xml::Node& entry, ImageBank* images);
    void readAnimation(const xml::Node& element, ImageBank* images);

    /// The bank-level loops active while the bank is read.
    xml::LoopStack loops;
};

/// Creates animation banks for the bank type "animations".
class AnimationResourceBankGenerator : public ResourceBankGenerator {
  public:
    BasicResourceBank* generateBank(const std::string& type) const override;
};

extern const AnimationResourceBankGenerator animationResourceBankGenerator;

}  // namespace gfx
}  // namespace lumo
