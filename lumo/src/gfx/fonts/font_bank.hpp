#pragma once
// The bank of fonts (bank type "fonts"): reads `bitmapfont` entries, each naming the directory
// of a font's "bitmapfont.xml". Main thread only; reading and refreshing need the OpenGL
// context for the glyph lists and textures.

#include <string>

#include "gfx/fonts/font.hpp"
#include "resources/named_resource.hpp"
#include "resources/resource_bank.hpp"

namespace lumo {
namespace fonts {

class FontBank : public NamedResourceBank<Font> {
  public:
    FontBank() = default;
    /// Destroys the fonts (each releases its lists and textures).
    ~FontBank() override;

    std::string getNodeName() const override;
    /// Creates one BitmapFont per `bitmapfont` child, from `path` + its `dir` attribute; a font
    /// of the same family and size replaces the one read before.
    void getFromNode(const xml::Node* node, const std::string& path) override;
    /// Rebuilds every font from its description. A font destroyed because another one now has
    /// its key is skipped.
    void refresh();
};

/// Creates font banks for the bank type "fonts".
class FontResourceBankGenerator : public ResourceBankGenerator {
  public:
    BasicResourceBank* generateBank(const std::string& type) const override;
};

extern const FontResourceBankGenerator resourceBankGenerator;

}  // namespace fonts
}  // namespace lumo
