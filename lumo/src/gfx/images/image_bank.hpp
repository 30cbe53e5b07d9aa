#pragma once
// A bank of images read from `images` elements (bank type "images"); its textures are created
// when it is refreshed. Main thread only; refresh, reload and release need the OpenGL context.

#include <string>

#include "gfx/images/image_resource.hpp"
#include "resources/named_resource.hpp"
#include "resources/refreshing_bank.hpp"
#include "resources/resource_bank.hpp"
#include "xml/loop_data.hpp"

namespace lumo {
namespace gfx {

class ImageBank : public NamedResourceBank<ImageResource>, public RefreshingBank {
  public:
    ImageBank();
    /// Destroys the images without freeing their textures (call release() for that first).
    ~ImageBank() override;

    std::string getNodeName() const override;
    /// Reads `image` and `loop` entries; file names are relative to `path`. Entries without a
    /// file name are logged and skipped; no file is opened here.
    void getFromNode(const xml::Node* node, const std::string& path) override;
    std::size_t size() const override;
    /// Refreshes every image in name order, telling `handler` (may be null) after each. Throws
    /// the message of the first image that cannot be loaded; the images before it keep their
    /// textures.
    void refresh(RefreshingBankHandler* handler) override;
    /// Loads every image again, in name order. Throws as refresh().
    void reload();
    /// Frees every texture.
    void release();

    /// The highest filter any image of the bank may use.
    ImageFilter filter = ifLinear;

  private:
    void readEntry(const xml::Node& node, const std::string& path);
    void readImage(const xml::Node& node, const std::string& path);

    /// The loops active while the bank is read.
    xml::LoopStack loops;
};

/// Creates image banks for the bank type "images".
class ImageResourceBankGenerator : public ResourceBankGenerator {
  public:
    BasicResourceBank* generateBank(const std::string& type) const override;
};

extern const ImageResourceBankGenerator imageResourceBankGenerator;

}  // namespace gfx
}  // namespace lumo
