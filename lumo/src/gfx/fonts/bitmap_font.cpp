#include "gfx/fonts/bitmap_font.hpp"

#include <cstdlib>
#include <cstring>
#include <map>

#include "debug/log.hpp"
#include "debug/message_stack.hpp"
#include "gfx/images/image_bank.hpp"
#include "gfx/images/simple_image.hpp"
#include "xml/node.hpp"

namespace lumo {
namespace fonts {

using debug::MessageScope;

namespace {

/// Only codes that a signed byte can hold are usable: the lists are called with bytes.
constexpr int MAX_CODE = 127;

/// A value of exactly one character is that character's code; anything else is read like every
/// integer attribute (any base strtol knows, trailing text ignored). Logs why and returns false
/// for an empty value, one that neither is one character nor starts with a number, and codes
/// outside 0 to 127.
bool parseCharCode(const std::string& value, int& code) {
    long v;
    if (value.size() == 1) {
        v = static_cast<unsigned char>(value[0]);
    } else {
        char* end = nullptr;
        v = std::strtol(value.c_str(), &end, 0);
        if (end == value.c_str()) {
            debug::warning(dbgFonts,
                           "Character code \"%s\" is neither one character nor a number. "
                           "Skipping character.",
                           value.c_str());
            return false;
        }
    }
    if (v < 0 || v > MAX_CODE) {
        debug::warning(dbgFonts,
                       "Character code \"%s\" is not one of 0 to 127. Skipping character.",
                       value.c_str());
        return false;
    }
    code = static_cast<int>(v);
    return true;
}

template <typename T>
T attribute(const xml::Node* node, const char* name, T def) {
    // Stored truncated to the field's width, like the original data expects.
    return static_cast<T>(node->getAttributeLong(name, def));
}

}  // namespace

BitmapFont::BitmapFont(std::string dir_) : dir(std::move(dir_)) {
    MessageScope scope("BitmapFont::BitmapFont()");
    if (dir.empty() || dir.back() != '/')
        dir += '/';
    refresh();
}

BitmapFont::~BitmapFont() {
    MessageScope scope("BitmapFont::~BitmapFont()");
    debug::debug(dbgFonts, "Deleting BitmapFont %p.", static_cast<void*>(this));
    release();
}

Uint8 BitmapFont::getCharWidth(unsigned char code) const {
    return defines(code) ? widths[code - firstChar] : 0;
}

Uint16 BitmapFont::getWidth(const char* text) const {
    if (!text)
        return 0;
    Uint16 width = 0;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) {
        if (defines(*p))
            width = static_cast<Uint16>(width + widths[*p - firstChar]);
        width = static_cast<Uint16>(width + spacing);
    }
    return width;
}

void BitmapFont::print(const char* text) {
    MessageScope scope("BitmapFont::print(const char*)");
    if (!text || listBase == 0)
        return;
    const std::size_t length = std::strlen(text);
    const GLubyte* bytes = reinterpret_cast<const GLubyte*>(text);
    // A byte outside the font would call some other list (maybe another font's), so such
    // bytes are left out.
    std::string defined;
    for (std::size_t i = 0; i < length; ++i) {
        if (!defines(bytes[i])) {
            for (std::size_t j = 0; j < length; ++j)
                if (defines(bytes[j]))
                    defined += text[j];
            bytes = reinterpret_cast<const GLubyte*>(defined.data());
            break;
        }
    }
    const GLsizei count = static_cast<GLsizei>(
        bytes == reinterpret_cast<const GLubyte*>(text) ? length : defined.size());
    glPushAttrib(GL_CURRENT_BIT | GL_ENABLE_BIT | GL_TEXTURE_BIT | GL_LIST_BIT);
    glEnable(GL_TEXTURE_2D);
    if (onlyImage)
        glBindTexture(GL_TEXTURE_2D, onlyImage->getTextureName());
    glListBase(listBase - firstChar);
    glCallLists(count, GL_UNSIGNED_BYTE, bytes);
    glPopAttrib();
}

void BitmapFont::release() {
    MessageScope scope("BitmapFont::release()");
    widths.clear();
    if (listBase != 0)
        glDeleteLists(listBase, charCount);
    listBase = 0;
    firstChar = 0;
    charCount = 0;
    onlyImage = nullptr;
    if (images) {
        // Destroying an image bank leaves its textures alive; a font owns its textures.
        images->release();
        images.reset();
    }
    debug::debug(dbgFonts, "Released font %p...", static_cast<void*>(this));
}

void BitmapFont::load() {
    MessageScope scope("BitmapFont::load()");
    debug::debug(dbgFonts, "Loading font %p from dir %s...", static_cast<void*>(this), dir.c_str());
    std::unique_ptr<xml::Node> root;
    try {
        root.reset(xml::loadXML((dir + "bitmapfont.xml").c_str()));
    } catch (const std::string& message) {
        // The font stays empty; the reason is worth a line in the log.
        debug::warning(dbgFonts, "%s", message.c_str());
        return;
    }
    if (root && root->name == "bitmapfont")
        getFromNode(root.get());
}

void BitmapFont::getFromNode(const xml::Node* node) {
    MessageScope scope("BitmapFont::getFromNode()");
    if (!node)
        return;
    if (dir.empty() || dir.back() != '/')
        dir += '/';
    onlyImage = nullptr;
    images.reset(new gfx::ImageBank);

    std::string family;
    if (const std::string* value = node->getAttribute("name")) {
        family = *value;
    } else {
        debug::warning(dbgFonts, "No name specified for font. Using directory name.");
        family = dir;
    }
    const unsigned int size = attribute<unsigned int>(node, "size", name.size);
    if (FontBank* bank = owner) {
        // The bank's key must follow the descriptor.
        *bank -= static_cast<Font*>(this);
        name.family = family;
        name.size = size;
        *bank += this;
    } else {
        name.family = family;
        name.size = size;
    }

    charHeight = attribute<Uint8>(node, "height", charHeight);
    spacing = attribute<Uint8>(node, "spacing", spacing);
    yHotSpot = attribute<Uint8>(node, "yHotSpot", yHotSpot);
    const Uint8 defaultWidth = attribute<Uint8>(node, "width", 0);
    const Uint16 hPadding = attribute<Uint16>(node, "hPadding", 0);
    const Uint16 vPadding = attribute<Uint16>(node, "vPadding", 0);

    std::map<int, BitmapFontCharacterData> glyphs;
    auto define = [&glyphs](const std::string& value, const BitmapFontCharacterData& glyph) {
        int code = 0;
        if (!parseCharCode(value, code))
            return;
        glyphs.erase(code);
        glyphs.emplace(code, glyph);
    };

    for (const xml::Node* child : node->children) {
        if (child->name == "char") {
            std::string value = "32";
            if (const std::string* c = child->getAttribute("char"))
                value = *c;
            else
                debug::error(dbgFonts,
                             "No character index specified for blank character node. Using #32.");
            BitmapFontCharacterData blank(nullptr);
            blank.width = attribute<Uint8>(child, "width", 0);
            blank.height = attribute<Uint8>(child, "height", 0);
            blank.yHotSpot = attribute<Sint8>(child, "yHotSpot", yHotSpot);
            define(value, blank);
        } else if (child->name == "image") {
            const std::string* file = child->getAttribute("file");
            if (!file) {
                debug::error(dbgFonts, "No filename specified for font image. Skipping image.");
                continue;
            }
            // Two elements naming one file share the image: a replaced one would leave its
            // glyphs pointing at a destroyed image.
            gfx::SingleTextureImage* image = nullptr;
            if (gfx::ImageResource* known = images->at(family + *file))
                image = dynamic_cast<gfx::SingleTextureImage*>(known);
            if (!image) {
                gfx::SimpleImage* created = new gfx::SimpleImage(family + *file, dir + *file);
                *images += created;
                image = created;
            }
            for (const xml::Node* line : child->children) {
                if (line->name != "line")
                    continue;
                const long index = line->getAttributeLong("index", 0);
                Uint16 penX = 0;
                const Uint16 penY = static_cast<Uint16>((index - 1) * (charHeight + vPadding));
                for (const xml::Node* c : line->children) {
                    if (c->name != "char")
                        continue;
                    const std::string* value = c->getAttribute("char");
                    if (!value) {
                        debug::error(dbgFonts,
                                     "No character index specified for character "
                                     "node. Skipping character.");
                        continue;
                    }
                    BitmapFontCharacterData glyph(image);
                    glyph.x = penX;
                    glyph.y = penY;
                    glyph.width = attribute<Uint8>(c, "width", defaultWidth);
                    glyph.height = attribute<Uint8>(c, "height", charHeight);
                    glyph.yHotSpot = attribute<Sint8>(c, "yHotSpot", yHotSpot);
                    define(*value, glyph);
                    // The glyph takes its room in the image even when its code is unusable.
                    penX = static_cast<Uint16>(penX + glyph.width + hPadding);
                }
            }
        }
    }

    if (glyphs.empty()) {
        // Nothing to print: no lists, no textures.
        images->release();
        images.reset();
        return;
    }
    firstChar = static_cast<Uint8>(glyphs.begin()->first);
    charCount = glyphs.rbegin()->first - firstChar + 1;
    widths.assign(static_cast<std::size_t>(charCount), 0);
    for (const auto& g : glyphs)
        widths[g.first - firstChar] = g.second.width;

    try {
        images->refresh(nullptr);
    } catch (const std::string& message) {
        debug::error(dbgFonts, "Could not load the images of font \"%s\": %s", family.c_str(),
                     message.c_str());
        release();
        return;
    }

    std::vector<BitmapFontCharacterData> table(static_cast<std::size_t>(charCount),
                                               BitmapFontCharacterData(nullptr));
    for (const auto& g : glyphs)
        table[g.first - firstChar] = g.second;
    compileLists(table);
}

void BitmapFont::compileLists(const std::vector<BitmapFontCharacterData>& glyphs) {
    listBase = glGenLists(charCount);
    if (listBase == 0) {
        // No context (yet): widths still work, printing waits for the next refresh.
        debug::debug(dbgFonts, "No display lists for font %p yet (no OpenGL context).",
                     static_cast<void*>(this));
        return;
    }
    const bool oneImage = images->size() == 1;
    for (int i = 0; i < charCount; ++i) {
        const BitmapFontCharacterData& g = glyphs[i];
        glNewList(listBase + i, GL_COMPILE);
        if (g.image) {
            if (onlyImage || oneImage)
                onlyImage = g.image;
            else
                glBindTexture(GL_TEXTURE_2D, g.image->getTextureName());
            // Texture coordinates run over the whole (power-of-two) texture, of which the
            // image covers the top-left part.
            const GLfloat tw = static_cast<GLfloat>(g.image->getTextureWidth());
            const GLfloat th = static_cast<GLfloat>(g.image->getTextureHeight());
            if (tw > 0 && th > 0) {
                const GLfloat left = g.x / tw, right = (g.x + g.width) / tw;
                const GLfloat top = g.y / th, bottom = (g.y + g.height) / th;
                const GLint w = g.width, h = g.height, s = g.yHotSpot;
                glBegin(GL_QUADS);
                glTexCoord2f(left, bottom);
                glVertex2i(0, -s);
                glTexCoord2f(left, top);
                glVertex2i(0, h - s);
                glTexCoord2f(right, top);
                glVertex2i(w, h - s);
                glTexCoord2f(right, bottom);
                glVertex2i(w, -s);
                glEnd();
            }
        }
        glTranslatef(static_cast<GLfloat>(g.width + spacing), 0, 0);
        glEndList();
    }
}

}  // namespace fonts
}  // namespace lumo
