#pragma once
// Picture files made by the tests themselves, in the formats the image loader must handle, and
// a shared window to load them into.

#include <GL/gl.h>
#include <SDL.h>
#include <png.h>

#include <array>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "lumo/screenshot.hpp"
#include "lumo/video.hpp"

namespace lumo {
namespace testing {

typedef std::array<int, 4> Rgba;
/// The colour of pixel (x, y) of a picture, y counted from the top row.
typedef std::function<Rgba(int x, int y)> Painter;

/// Opens one 128 x 128 window for the whole test program (Xvfb provides the display).
inline void openWindow() {
    static bool open = false;
    if (open)
        return;
    if (SDL_Init(SDL_INIT_VIDEO) < 0)
        throw std::string(SDL_GetError());
    setResolution(128, 128, 32, false, 0, 0);
    open = true;
}

/// Writes an 8-bit RGBA PNG through the framework's own writer.
inline void writePng(const std::string& path, int w, int h, const Painter& paint) {
    SDL_Surface* s = SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 32, 0x000000FF, 0x0000FF00,
                                          0x00FF0000, 0xFF000000);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            Rgba c = paint(x, y);
            Uint32* row = reinterpret_cast<Uint32*>(static_cast<Uint8*>(s->pixels) + y * s->pitch);
            row[x] = SDL_MapRGBA(s->format, c[0], c[1], c[2], c[3]);
        }
    savePng(s, path.c_str());
    SDL_FreeSurface(s);
}

/// Writes a palette PNG whose entry 0 is fully transparent and all others opaque (which
/// SDL_image reads as an 8-bit surface with a colour key). `index(x, y)` picks the entry.
inline bool writePalettePng(const std::string& path, int w, int h, const std::vector<Rgba>& palette,
                            const std::function<int(int, int)>& index) {
    std::vector<png_byte> colormap;
    for (const Rgba& c : palette)
        for (int i = 0; i < 4; ++i)
            colormap.push_back(static_cast<png_byte>(c[i]));
    std::vector<png_byte> pixels;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            pixels.push_back(static_cast<png_byte>(index(x, y)));
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = w;
    image.height = h;
    image.format = PNG_FORMAT_RGBA_COLORMAP;
    image.colormap_entries = static_cast<png_uint_32>(palette.size());
    return png_image_write_to_file(&image, path.c_str(), 0, pixels.data(), 0, colormap.data()) != 0;
}

/// Writes an uncompressed 16-bit BMP (5 bits per channel, X1R5G5B5). Colours are cut to 5 bits.
inline void writeBmp16(const std::string& path, int w, int h, const Painter& paint) {
    const int rowBytes = (w * 2 + 3) & ~3;
    const Uint32 dataSize = static_cast<Uint32>(rowBytes * h);
    std::vector<Uint8> file(54 + dataSize, 0);
    auto put16 = [&](int at, Uint32 v) {
        file[at] = v & 0xFF;
        file[at + 1] = (v >> 8) & 0xFF;
    };
    auto put32 = [&](int at, Uint32 v) {
        put16(at, v & 0xFFFF);
        put16(at + 2, v >> 16);
    };
    file[0] = 'B';
    file[1] = 'M';
    put32(2, 54 + dataSize);
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<Uint32>(w));
    put32(22, static_cast<Uint32>(h));
    put16(26, 1);
    put16(28, 16);
    put32(34, dataSize);
    for (int y = 0; y < h; ++y) {
        const int row = 54 + (h - 1 - y) * rowBytes;  // bottom row first
        for (int x = 0; x < w; ++x) {
            Rgba c = paint(x, y);
            put16(row + 2 * x, ((c[0] >> 3) << 10) | ((c[1] >> 3) << 5) | (c[2] >> 3));
        }
    }
    FILE* out = std::fopen(path.c_str(), "wb");
    std::fwrite(file.data(), 1, file.size(), out);
    std::fclose(out);
}

/// Writes a 24-bit BMP through SDL (stored as B, G, R bytes).
inline void writeBmp24(const std::string& path, int w, int h, const Painter& paint) {
    SDL_Surface* s = SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 24, 0xFF0000, 0x00FF00, 0x0000FF, 0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            Rgba c = paint(x, y);
            Uint8* p = static_cast<Uint8*>(s->pixels) + y * s->pitch + x * 3;
            Uint32 v = SDL_MapRGB(s->format, c[0], c[1], c[2]);
            p[0] = v & 0xFF;
            p[1] = (v >> 8) & 0xFF;
            p[2] = (v >> 16) & 0xFF;
        }
    SDL_SaveBMP(s, path.c_str());
    SDL_FreeSurface(s);
}

/// Level 0 of a texture as RGBA bytes, row 0 first (the picture's top row for images).
struct TextureContents {
    explicit TextureContents(GLuint texture) {
        glBindTexture(GL_TEXTURE_2D, texture);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
        texels.resize(static_cast<std::size_t>(width) * height * 4);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
        glPixelStorei(GL_PACK_ALIGNMENT, 4);
    }
    Rgba at(int x, int y) const {
        const unsigned char* p = &texels[(static_cast<std::size_t>(y) * width + x) * 4];
        return {p[0], p[1], p[2], p[3]};
    }
    GLint width = 0, height = 0;
    std::vector<unsigned char> texels;
};

}  // namespace testing
}  // namespace lumo
