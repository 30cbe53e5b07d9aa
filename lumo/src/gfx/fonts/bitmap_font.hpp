#pragma once
// A font whose glyphs are rectangles cut out of one or more images, described by
// "bitmapfont.xml" in the font's directory. Every character code is compiled into one display
// list that draws the glyph and moves the pen right, so printing is one glCallLists over the
// text. Character codes 0 to 127 only. Main thread only, with a current OpenGL context.

#include <GL/gl.h>
#include <SDL_types.h>

#include <memory>
#include <string>
#include <vector>

#include "gfx/fonts/font.hpp"

namespace lumo {
namespace xml {
class Node;
}
namespace gfx {
class ImageBank;
class SingleTextureImage;
}  // namespace gfx

namespace fonts {

/// One glyph. `image` (not owned) is null for a blank character, which only advances.
struct BitmapFontCharacterData {
    explicit BitmapFontCharacterData(gfx::SingleTextureImage* image_) : image(image_) {}

    gfx::SingleTextureImage* image;
    /// Left column and top row in the image, rows counted from the top.
    Uint16 x = 0, y = 0;
    /// Glyph size; the width is also the advance.
    Uint8 width = 0, height = 0;
    /// Pixels of the glyph below the base line.
    Sint8 yHotSpot = 0;
};

class BitmapFont : public Font {
  public:
    /// Loads the font from `dir` (a '/' is appended when missing). A missing or malformed
    /// description leaves the font empty: it then prints nothing. Never throws.
    explicit BitmapFont(std::string dir);
    ~BitmapFont() override;

    using Font::print;
    Uint8 getHeight() const override { return charHeight; }
    /// Adds the width of every byte the font defines and `spacing` for every byte.
    Uint16 getWidth(const char* text) const override;
    /// Bytes the font does not define draw nothing and leave the pen where it is.
    void print(const char* text) override;
    void release() override;
    /// Reads dir + "bitmapfont.xml". Data problems are logged in dbgFonts and skipped; a glyph
    /// image that cannot be loaded leaves the font empty with an error logged.
    void load() override;
    /// Builds the font from the root element of its description.
    void getFromNode(const xml::Node* node);

    const std::string& getDir() const { return dir; }
    Uint8 getFirstChar() const { return firstChar; }
    int getCharCount() const { return charCount; }
    Uint8 getSpacing() const { return spacing; }
    /// The name of the first display list; 0 while there are none.
    GLuint getListBase() const { return listBase; }
    /// The advance of a defined code without `spacing`; 0 outside the font's range.
    Uint8 getCharWidth(unsigned char code) const;
    /// Set when all glyphs come from one image, whose texture is then bound once per print.
    gfx::SingleTextureImage* getOnlyImage() const { return onlyImage; }
    /// The font's own glyph images; null when it is empty.
    gfx::ImageBank* getImages() const { return images.get(); }

  private:
    bool defines(unsigned char code) const {
        return code >= firstChar && code < firstChar + charCount;
    }
    void compileLists(const std::vector<BitmapFontCharacterData>& glyphs);

    std::string dir;
    Uint8 firstChar = 0;
    int charCount = 0;
    Uint8 charHeight = 0;
    Uint8 spacing = 0;
    GLuint listBase = 0;
    std::vector<Uint8> widths;
    gfx::SingleTextureImage* onlyImage = nullptr;
    std::unique_ptr<gfx::ImageBank> images;
};

}  // namespace fonts
}  // namespace lumo
