#include "gui/core/utf8.hpp"

#include "gfx/fonts/bitmap_font.hpp"

namespace lumo {
namespace gui {

namespace {

/// The length of the valid sequence starting at `s` (1 to 3 bytes for codes up to U+FFFF,
/// 4 for the rest), or 0 when `s` starts none; `code` receives its value.
int decode(const unsigned char* s, Uint32& code) {
    const unsigned char c = s[0];
    int n;
    if (c < 0x80) {
        code = c;
        return 1;
    } else if ((c & 0xE0) == 0xC0) {
        n = 2;
        code = c & 0x1F;
    } else if ((c & 0xF0) == 0xE0) {
        n = 3;
        code = c & 0x0F;
    } else if ((c & 0xF8) == 0xF0) {
        n = 4;
        code = c & 0x07;
    } else {
        return 0;
    }
    for (int i = 1; i < n; ++i) {
        if ((s[i] & 0xC0) != 0x80)
            return 0;  // also stops at the terminating zero
        code = (code << 6) | (s[i] & 0x3F);
    }
    static const Uint32 smallest[5] = {0, 0, 0x80, 0x800, 0x10000};
    return code < smallest[n] || code > 0x10FFFF ? 0 : n;
}

}  // namespace

void appendUtf8(std::string& text, Uint16 code) {
    if (code < 0x80) {
        text += static_cast<char>(code);
    } else if (code < 0x800) {
        text += static_cast<char>(0xC0 | (code >> 6));
        text += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        text += static_cast<char>(0xE0 | (code >> 12));
        text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (code & 0x3F));
    }
}

void removeLastUtf8(std::string& text) {
    if (text.empty())
        return;
    // Walk back over continuation bytes to a lead byte whose sequence ends at the string's end.
    std::size_t start = text.size() - 1;
    for (std::size_t back = 0; back < 3 && start > 0; ++back) {
        if ((static_cast<unsigned char>(text[start]) & 0xC0) != 0x80)
            break;
        --start;
    }
    Uint32 code;
    int n = decode(reinterpret_cast<const unsigned char*>(text.c_str()) + start, code);
    if (n > 0 && start + static_cast<std::size_t>(n) == text.size())
        text.erase(start);
    else
        text.erase(text.size() - 1);
}

std::size_t utf8Length(const std::string& text) {
    std::size_t count = 0;
    const unsigned char* s = reinterpret_cast<const unsigned char*>(text.c_str());
    const unsigned char* end = s + text.size();
    while (s < end) {
        Uint32 code;
        int n = decode(s, code);
        s += n > 0 ? n : 1;
        ++count;
    }
    return count;
}

bool isAscii(const char* text) {
    for (; *text; ++text)
        if (static_cast<unsigned char>(*text) >= 0x80)
            return false;
    return true;
}

std::string utf8ToFontBytes(const char* text) {
    std::string out;
    const unsigned char* s = reinterpret_cast<const unsigned char*>(text);
    while (*s) {
        Uint32 code;
        int n = decode(s, code);
        if (n == 0) {
            out += static_cast<char>(*s);
            ++s;
            continue;
        }
        out += code < 256 ? static_cast<char>(code) : '?';
        s += n;
    }
    return out;
}

bool fontCanDraw(const fonts::Font* font, Uint16 code) {
    if (!font || code < 32 || code > 255 || code == 127)
        return false;
    if (const fonts::BitmapFont* bitmap = dynamic_cast<const fonts::BitmapFont*>(font))
        return bitmap->getCharWidth(static_cast<unsigned char>(code)) > 0;
    const char text[2] = {static_cast<char>(code), 0};
    return font->getWidth(text) > 0;
}

}  // namespace gui
}  // namespace lumo
