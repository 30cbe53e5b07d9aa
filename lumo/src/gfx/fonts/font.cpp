#include "gfx/fonts/font.hpp"

#include <cstdarg>
#include <cstdio>

#include "debug/log.hpp"
#include "debug/message_stack.hpp"

namespace lumo {
namespace fonts {

using debug::MessageScope;

bool FontDescriptor::operator<(const FontDescriptor& o) const {
    if (family != o.family)
        return family < o.family;
    if (size != o.size)
        return size < o.size;
    return style < o.style;
}

Font::~Font() {
    debug::debug(dbgFonts, "Deleting font %p.", static_cast<void*>(this));
}

void Font::refresh() {
    MessageScope scope("Font::refresh()");
    debug::debug(dbgFonts, "Refreshing font %p...", static_cast<void*>(this));
    release();
    load();
    debug::debug(dbgFonts, "Refreshed font %p...", static_cast<void*>(this));
}

void Font::print(JustificationHorizontal jh, const char* text) {
    MessageScope scope("Font::print(JustificationHorizontal, const char*)");
    const int w = getWidth(text);
    switch (jh) {
        case jhLeft:
            break;
        case jhCenter:
            // An arithmetic shift of the negative width rounds toward the left.
            glTranslatef(static_cast<GLfloat>((-w) >> 1), 0, 0);
            break;
        case jhRight:
            glTranslatef(static_cast<GLfloat>(-w), 0, 0);
            break;
    }
    print(text);
}

void Font::print(const Rect& r, JustificationHorizontal jh, JustificationVertical jv,
                 const char* text) {
    MessageScope scope(
        "Font::print(const Rect&, JustificationHorizontal, JustificationVertical, const char*)");
    const int w = getWidth(text);
    const int h = getHeight();
    GLfloat x = r.pos.x;
    switch (jh) {
        case jhLeft:
            break;
        case jhCenter:
            x = r.pos.x + r.dimensions.x / 2 - (w >> 1);
            break;
        case jhRight:
            x = r.pos.x + r.dimensions.x - w;
            break;
    }
    GLfloat y = r.pos.y;
    switch (jv) {
        case jvTop:
            y = r.pos.y + r.dimensions.y - h;
            break;
        case jvCenter:
            y = r.pos.y + r.dimensions.y / 2 - (h >> 1);
            break;
        case jvBottom:
            break;
    }
    glTranslatef(x, y, 0);
    print(text);
    glTranslatef(-x, -y, 0);
}

namespace {

/// Formats into `buffer`; a result longer than the buffer is cut, a formatting error gives "".
void format(char (&buffer)[FONT_PRINTF_BUFFER], const char* fmt, va_list args) {
    if (!fmt || std::vsnprintf(buffer, sizeof buffer, fmt, args) < 0)
        buffer[0] = '\0';
}

}  // namespace

void Font::printf(const char* fmt, ...) {
    MessageScope scope("Font::printf(const char*, ...)");
    char buffer[FONT_PRINTF_BUFFER];
    va_list args;
    va_start(args, fmt);
    format(buffer, fmt, args);
    va_end(args);
    print(buffer);
}

void Font::printf(JustificationHorizontal jh, const char* fmt, ...) {
    MessageScope scope("Font::printf(JustificationHorizontal, const char*, ...)");
    char buffer[FONT_PRINTF_BUFFER];
    va_list args;
    va_start(args, fmt);
    format(buffer, fmt, args);
    va_end(args);
    print(jh, buffer);
}

void Font::printf(const Rect& r, JustificationHorizontal jh, JustificationVertical jv,
                  const char* fmt, ...) {
    MessageScope scope(
        "Font::printf(const Rect&, JustificationHorizontal, JustificationVertical, const char*, "
        "...)");
    char buffer[FONT_PRINTF_BUFFER];
    va_list args;
    va_start(args, fmt);
    format(buffer, fmt, args);
    va_end(args);
    print(r, jh, jv, buffer);
}

}  // namespace fonts
}  // namespace lumo
