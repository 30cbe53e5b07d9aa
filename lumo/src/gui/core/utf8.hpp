#pragma once
// UTF-8 helpers for GUI text. Captions are UTF-8 (as XML gives them); bitmap fonts draw one byte
// per character, the byte being the character's code (Latin-1 for codes up to 255).

#include <SDL.h>

#include <cstddef>
#include <string>

namespace lumo {

namespace fonts {
class Font;
}

namespace gui {

/// Appends the UTF-8 form of `code` (up to U+FFFF).
void appendUtf8(std::string& text, Uint16 code);
/// Removes the last character, a whole multi-byte sequence included. Nothing for "".
void removeLastUtf8(std::string& text);
/// Number of characters; a byte that starts no valid sequence counts as one.
std::size_t utf8Length(const std::string& text);
/// True when `text` holds only bytes below 128, where UTF-8 and the font's bytes agree.
bool isAscii(const char* text);
/// The font's bytes for UTF-8 `text`: codes up to 255 become one byte, larger ones '?'. Bytes
/// that start no valid sequence are kept as they are, so Latin-1 text still prints.
std::string utf8ToFontBytes(const char* text);
/// Whether `font` can draw the printable character `code` (32 to 255 but 127) as one byte: a
/// bitmap font must define it with a width, another font give it a width. False without font.
bool fontCanDraw(const fonts::Font* font, Uint16 code);

}  // namespace gui
}  // namespace lumo
