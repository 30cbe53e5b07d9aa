#include "lumo/screenshot.hpp"

#include <GL/gl.h>
#include <png.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "debug/log.hpp"
#include "debug/message_stack.hpp"
#include "lumo/video.hpp"

namespace lumo {

void saveScreenshot(const char* filename) {
    debug::MessageScope scope("saveScreenshot()");
    if (!screen)
        throw std::string("There is no window to take a screenshot of.");
    const int width = screen->w;
    const int height = screen->h;

    SDL_Surface* surface =
        SDL_CreateRGBSurface(SDL_SWSURFACE, width, height, 24, 0x0000FF, 0x00FF00, 0xFF0000, 0);
    if (!surface)
        throw std::string(SDL_GetError());

    const std::size_t rowBytes = static_cast<std::size_t>(width) * 3;
    unsigned char* pixels = static_cast<unsigned char*>(std::malloc(rowBytes * height));
    if (!pixels) {
        SDL_FreeSurface(surface);
        throw std::string("Out of memory");
    }

    // Rows are taken as exactly width * 3 bytes, so OpenGL must not pad them to its default
    // 4-byte alignment (which would shear every window whose width * 3 is not a multiple of 4).
    GLint previousAlignment = 4;
    glGetIntegerv(GL_PACK_ALIGNMENT, &previousAlignment);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, pixels);
    glPixelStorei(GL_PACK_ALIGNMENT, previousAlignment);

    // OpenGL's row 0 is the bottom line of the window; the image's is the top one.
    unsigned char* target = static_cast<unsigned char*>(surface->pixels);
    for (int y = 0; y < height; ++y)
        std::memcpy(target + static_cast<std::size_t>(y) * surface->pitch,
                    pixels + static_cast<std::size_t>(height - 1 - y) * rowBytes, rowBytes);
    std::free(pixels);

    try {
        savePng(surface, filename);
    } catch (...) {
        SDL_FreeSurface(surface);
        throw;
    }
    SDL_FreeSurface(surface);
}

namespace {

// Everything libpng may jump out of lives in this function, whose only locals are plain values:
// longjmp must not skip a destructor. Returns false when libpng reported an error.
bool writePngImage(png_structp png, png_infop info, SDL_Surface* surface, png_bytep* rows) {
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_IHDR(png, info, surface->w, surface->h, 8, PNG_COLOR_TYPE_RGB_ALPHA,
                 PNG_INTERLACE_ADAM7, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < surface->h; ++y) {
        png_bytep out = rows[y];
        for (int x = 0; x < surface->w; ++x) {
            Uint8 r, g, b, a;
            SDL_GetRGBA(getPixel(surface, x, y), surface->format, &r, &g, &b, &a);
            *out++ = r;
            *out++ = g;
            *out++ = b;
            *out++ = a;
        }
    }
    png_write_image(png, rows);
    png_write_end(png, info);
    return true;
}

}  // namespace

void savePng(SDL_Surface* surface, const char* filename) {
    FILE* file = std::fopen(filename, "wb");
    if (!file)
        throw std::string("Could not open file \"") + filename + "\" for writing.";
    // Only a regular file is removed after a failure: the name may as well be a device.
    struct stat fileInfo;
    const bool regular = fstat(fileno(file), &fileInfo) == 0 && S_ISREG(fileInfo.st_mode);
    auto discard = [&]() {
        std::fclose(file);
        if (regular)
            std::remove(filename);
    };

    // The version must be the one of the headers we were compiled with, or libpng refuses.
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info) {
        png_destroy_write_struct(png ? &png : nullptr, nullptr);
        discard();
        throw std::string("Could not create libpng data structures.");
    }
    png_init_io(png, file);

    const int width = surface->w > 0 ? surface->w : 0;
    const int height = surface->h > 0 ? surface->h : 0;
    std::vector<png_byte> data(static_cast<std::size_t>(width) * height * 4);
    std::vector<png_bytep> rows(height);
    for (int y = 0; y < height; ++y)
        rows[y] = data.data() + static_cast<std::size_t>(y) * width * 4;

    const bool written = writePngImage(png, info, surface, rows.data());
    png_destroy_write_struct(&png, &info);
    if (!written) {
        discard();
        throw std::string("Could not set libpng error callback.");
    }
    // Buffered data reaches the file only now; a full disk shows up here, not in libpng.
    const bool flushed = std::fflush(file) == 0 && !std::ferror(file);
    if (std::fclose(file) != 0 || !flushed) {
        if (regular)
            std::remove(filename);
        throw std::string("Could not write file \"") + filename + "\".";
    }
}

Uint32 getPixel(SDL_Surface* surface, int x, int y) {
    const int bytes = surface->format->BytesPerPixel;
    const Uint8* p = static_cast<const Uint8*>(surface->pixels) +
                     static_cast<std::ptrdiff_t>(y) * surface->pitch + x * bytes;
    switch (bytes) {
        case 1:
            return *p;
        case 2: {
            Uint16 v;
            std::memcpy(&v, p, sizeof v);
            return v;
        }
        case 3:
            return static_cast<Uint32>(p[0]) | static_cast<Uint32>(p[1]) << 8 |
                   static_cast<Uint32>(p[2]) << 16;
        case 4: {
            Uint32 v;
            std::memcpy(&v, p, sizeof v);
            return v;
        }
        default:
            debug::critical(dbgCore, "Unknown surface format (bpp=%d).", bytes);
            return 0;
    }
}

}  // namespace lumo
