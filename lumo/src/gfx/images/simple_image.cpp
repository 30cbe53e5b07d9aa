#include "gfx/images/simple_image.hpp"

#include <GL/glu.h>
#include <SDL_image.h>

#include <cstdio>
#include <memory>
#include <string>

#include "debug/message_stack.hpp"
#include "gfx/images/image_bank.hpp"

namespace lumo {
namespace gfx {

namespace {

// Masks under which a surface's bytes lie in memory as R, G, B (and A), which is what OpenGL
// takes as GL_RGB / GL_RGBA with unsigned bytes.
#if SDL_BYTEORDER == SDL_BIG_ENDIAN
constexpr Uint32 RMASK32 = 0xFF000000, GMASK32 = 0x00FF0000, BMASK32 = 0x0000FF00,
                 AMASK32 = 0x000000FF;
constexpr Uint32 RMASK24 = 0xFF0000, GMASK24 = 0x00FF00, BMASK24 = 0x0000FF;
#else
constexpr Uint32 RMASK32 = 0x000000FF, GMASK32 = 0x0000FF00, BMASK32 = 0x00FF0000,
                 AMASK32 = 0xFF000000;
constexpr Uint32 RMASK24 = 0x0000FF, GMASK24 = 0x00FF00, BMASK24 = 0xFF0000;
#endif

struct SurfaceDeleter {
    void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
};
typedef std::unique_ptr<SDL_Surface, SurfaceDeleter> SurfacePtr;

bool hasMasks(const SDL_PixelFormat* f, Uint32 r, Uint32 g, Uint32 b, Uint32 a) {
    return f->Rmask == r && f->Gmask == g && f->Bmask == b && f->Amask == a;
}

// Whether the pixels can go to OpenGL as they are. A colour key would be lost on the way, so a
// keyed surface is converted too (the key becomes transparency).
bool uploadable(const SDL_Surface* s) {
    const SDL_PixelFormat* f = s->format;
    if (f->palette || (s->flags & SDL_SRCCOLORKEY))
        return false;
    if (f->BytesPerPixel == 4)
        return hasMasks(f, RMASK32, GMASK32, BMASK32, AMASK32);
    if (f->BytesPerPixel == 3)
        return hasMasks(f, RMASK24, GMASK24, BMASK24, 0);
    return false;
}

std::string loadError(const std::string& filename, const char* reason) {
    return "Could not load \"" + filename + "\": " + reason + ".";
}

// A new surface of w x h in `format`'s depth and masks (or RGBA when `format` is null), fully
// transparent, with `source` copied into its top-left corner. Alpha blending is switched off on
// the source so its alpha is copied, not blended; a colour key still leaves its pixels
// transparent.
SurfacePtr copyInto(SDL_Surface* source, int w, int h, const SDL_PixelFormat* format,
                    const std::string& filename) {
    SDL_Surface* target =
        format ? SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, format->BitsPerPixel, format->Rmask,
                                      format->Gmask, format->Bmask, format->Amask)
               : SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 32, RMASK32, GMASK32, BMASK32, AMASK32);
    if (!target)
        throw loadError(filename, SDL_GetError());
    SDL_FillRect(target, nullptr, SDL_MapRGBA(target->format, 0, 0, 0, 0));
    SDL_SetAlpha(source, 0, SDL_ALPHA_OPAQUE);
    if (SDL_BlitSurface(source, nullptr, target, nullptr) < 0)
        std::printf("Blitting failed: %s.\n", SDL_GetError());
    return SurfacePtr(target);
}

void upload(SDL_Surface* surface, ImageFilter filter) {
    const bool rgba = surface->format->BytesPerPixel == 4;
    const GLint internalFormat = rgba ? GL_RGBA8 : GL_RGB8;
    const GLenum format = rgba ? GL_RGBA : GL_RGB;
    // SDL pads rows to 4 bytes, as OpenGL expects by default; the default is set explicitly
    // in case other code changed it.
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
    const bool locked = SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) == 0;
    if (filter == ifNone || filter == ifLinear)
        glTexImage2D(GL_TEXTURE_2D, 0, internalFormat, surface->w, surface->h, 0, format,
                     GL_UNSIGNED_BYTE, surface->pixels);
    else
        gluBuild2DMipmaps(GL_TEXTURE_2D, internalFormat, surface->w, surface->h, format,
                          GL_UNSIGNED_BYTE, surface->pixels);
    if (locked)
        SDL_UnlockSurface(surface);
    glPopClientAttrib();
}

}  // namespace

Uint32 textureSize(Uint32 size) {
    Uint32 power = 1;
    while (power < size && power < 0x80000000u)
        power <<= 1;
    return power;
}

void SimpleImage::load(bool last, bool makeBitmask) {
    debug::MessageScope scope("SimpleImage::load()");
    release(last);

    SurfacePtr surface(IMG_Load(filename.c_str()));
    if (!surface)
        throw loadError(filename, SDL_GetError());
    // OpenGL would refuse a larger texture and leave an empty one that seems to have loaded.
    GLint largest = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
    const Uint32 limit = static_cast<Uint32>(largest);
    if (largest > 0 && (textureSize(static_cast<Uint32>(surface->w)) > limit ||
                        textureSize(static_cast<Uint32>(surface->h)) > limit))
        throw loadError(filename, ("the picture (" + std::to_string(surface->w) + " x " +
                                   std::to_string(surface->h) +
                                   " pixels) is larger than the largest texture OpenGL takes (" +
                                   std::to_string(largest) + " x " + std::to_string(largest) + ")")
                                      .c_str());
    // Palettes, 16-bit pixels and other byte orders become RGBA before anything reads them, so
    // that the bitmask sees real alpha and the texture real colours.
    if (!uploadable(surface.get()))
        surface = copyInto(surface.get(), surface->w, surface->h, nullptr, filename);

    outerBoundingBox = Bitmask::RectInt(0, 0, static_cast<int>(width), static_cast<int>(height));
    innerBoundingBox = Bitmask::RectInt(0, 0, 0, 0);
    if (makeBitmask && bitmaskThreshold >= 0)
        createBitmask(surface.get(), last);

    width = static_cast<Uint32>(surface->w);
    height = static_cast<Uint32>(surface->h);
    textureWidth = textureSize(width);
    textureHeight = textureSize(height);
    if (textureWidth != width || textureHeight != height)
        surface = copyInto(surface.get(), static_cast<int>(textureWidth),
                           static_cast<int>(textureHeight), surface->format, filename);
    texCoordRect = Rect(0, 0, static_cast<GLfloat>(width) / static_cast<GLfloat>(textureWidth),
                        static_cast<GLfloat>(height) / static_cast<GLfloat>(textureHeight));

    if (!textureName)
        glGenTextures(1, &textureName);
    glBindTexture(GL_TEXTURE_2D, textureName);
    upload(surface.get(), filter);
    if (clamp) {
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    }
}

void SimpleImage::refresh(bool last) {
    debug::MessageScope scope("ImageResource::refresh()");
    if (!textureName)
        load(last, bitmask == nullptr);
    setFilter(filter);
}

void SimpleImage::release(bool last) {
    debug::MessageScope scope("SimpleImage::release()");
    if (textureName) {
        glDeleteTextures(1, &textureName);
        textureName = 0;
    }
    ImageResource::release(last);
}

void SimpleImage::setFilter(ImageFilter f) {
    debug::MessageScope scope("SimpleImage::setFilter()");
    if (!textureName)
        return;
    glBindTexture(GL_TEXTURE_2D, textureName);
    if (owner && owner->filter < f)
        f = owner->filter;
    GLint minification = GL_LINEAR, magnification = GL_LINEAR;
    switch (f) {
        case ifNone:
            minification = magnification = GL_NEAREST;
            break;
        case ifLinear:
            break;
        case ifBilinear:
            minification = GL_NEAREST_MIPMAP_LINEAR;
            break;
        case ifTrilinear:
            minification = GL_LINEAR_MIPMAP_LINEAR;
            break;
    }
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, minification);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, magnification);
}

}  // namespace gfx
}  // namespace lumo
