#include "gfx/fonts/font_bank.hpp"

#include <algorithm>
#include <vector>

#include "debug/log.hpp"
#include "debug/message_stack.hpp"
#include "gfx/fonts/bitmap_font.hpp"
#include "xml/node.hpp"

namespace lumo {
namespace fonts {

using debug::MessageScope;

const FontResourceBankGenerator resourceBankGenerator;

BasicResourceBank* FontResourceBankGenerator::generateBank(const std::string& type) const {
    return type == "fonts" ? new FontBank : nullptr;
}

FontBank::~FontBank() {
    debug::debug(dbgFonts, "Deleting font bank %p.", static_cast<void*>(this));
}

std::string FontBank::getNodeName() const {
    return "fonts";
}

void FontBank::getFromNode(const xml::Node* node, const std::string& path) {
    MessageScope scope("FontBank::getFromNode()");
    if (!node)
        return;
    for (const xml::Node* child : node->children) {
        if (child->name == "bitmapfont")
            *this += new BitmapFont(path + child->getAttribute("dir", ""));
    }
}

void FontBank::refresh() {
    MessageScope scope("FontBank::refresh()");
    // Loading re-keys fonts inside the bank, which would upset a walk over the map.
    std::vector<Font*> fonts;
    for (auto& entry : map)
        fonts.push_back(entry.second);
    for (Font* font : fonts) {
        // A font that took over another's key has destroyed it.
        auto stillHere = [font](const Map::value_type& e) { return e.second == font; };
        if (std::find_if(map.begin(), map.end(), stillHere) != map.end())
            font->refresh();
    }
    debug::debug(dbgFonts, "FontBank %p now has %d entries.", static_cast<void*>(this),
                 static_cast<int>(size()));
}

}  // namespace fonts
}  // namespace lumo
