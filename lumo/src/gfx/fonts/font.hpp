#pragma once
// Fonts: resources of the bank type "fonts", keyed by family, size and style. Printing draws at
// the current model-view matrix (the pen) in the current colour and leaves the pen moved right
// by the text's advance, so consecutive prints continue one after the other. Main thread only,
// with a current OpenGL context for printing, loading and releasing.

#include <GL/gl.h>
#include <SDL_types.h>

#include <string>

#include "lumo/types.hpp"
#include "resources/named_resource.hpp"

namespace lumo {
namespace fonts {

class FontBank;

/// Flag values; bitmap fonts are always fsPlain.
enum FontStyle { fsPlain = 0, fsBold = 1, fsItalic = 2, fsUnderlined = 4 };

/// The key of a font in its bank; ordered by family, then size, then style.
struct FontDescriptor {
    FontDescriptor() = default;
    FontDescriptor(std::string family_, unsigned int size_, FontStyle style_)
        : family(std::move(family_)), size(size_), style(style_) {}
    bool operator<(const FontDescriptor& o) const;
    bool operator==(const FontDescriptor& o) const {
        return family == o.family && size == o.size && style == o.style;
    }

    std::string family;
    unsigned int size = 0;
    FontStyle style = fsPlain;
};

/// Formatted forms write at most 1023 characters; a longer result is cut there.
constexpr int FONT_PRINTF_BUFFER = 1024;

class Font : public NamedResource<FontBank, FontDescriptor> {
  public:
    Font() = default;
    ~Font() override;
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    /// The line height in pixels.
    virtual Uint8 getHeight() const = 0;
    /// The advance of `text` in pixels; 0 for null.
    virtual Uint16 getWidth(const char* text) const = 0;
    /// Prints at the pen and leaves the pen after the text. Null prints nothing.
    virtual void print(const char* text) = 0;
    /// Releases and loads again (re-reading the font's description).
    virtual void refresh();
    /// Frees lists, textures and glyph images.
    virtual void release() = 0;
    /// Builds the font from its description; problems in the data are logged, never thrown.
    virtual void load() = 0;

    void print(const std::string& text) { print(text.c_str()); }
    /// Relative to the pen: jhLeft prints from it, jhRight ends at it (the pen comes back to
    /// where it was), jhCenter centres on it (rounded toward the left). No move back follows.
    void print(JustificationHorizontal jh, const char* text);
    /// Aligns the text in `r` (jvTop puts the line's top at the rectangle's top edge). The pen
    /// ends moved by the text's advance only.
    void print(const Rect& r, JustificationHorizontal jh, JustificationVertical jv,
               const char* text);
    void printf(const char* format, ...) __attribute__((format(printf, 2, 3)));
    void printf(JustificationHorizontal jh, const char* format, ...)
        __attribute__((format(printf, 3, 4)));
    void printf(const Rect& r, JustificationHorizontal jh, JustificationVertical jv,
                const char* format, ...) __attribute__((format(printf, 5, 6)));

    /// Font-wide default of how many pixels of a glyph lie below the base line.
    Uint8 yHotSpot = 0;
};

}  // namespace fonts
}  // namespace lumo

// Creating or destroying a font calls into its bank.
#include "gfx/fonts/font_bank.hpp"
