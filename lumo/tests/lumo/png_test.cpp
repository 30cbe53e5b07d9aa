#include <SDL.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <array>
#include <cstring>
#include <string>

#include "lumo/png_file.hpp"
#include "lumo/screenshot.hpp"
#include "support/temp_dir.hpp"

using lumo::getPixel;
using lumo::savePng;
using lumo::testing::readPng;
using lumo::testing::TempDir;

namespace {

typedef std::array<int, 4> Rgba;

Uint8* pixelAt(SDL_Surface* s, int x, int y) {
    return static_cast<Uint8*>(s->pixels) + y * s->pitch + x * s->format->BytesPerPixel;
}

bool exists(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0;
}

}  // namespace

TEST(SavePng, SurfacesOfOneToFourBytesPerPixel) {
    // Raw values are stored least significant byte first (this is a little-endian target), which
    // is also how a 3-byte pixel is combined.
    const struct {
        int bits;
        Uint32 r, g, b, a;
        Uint32 raw[6];  // 3 x 2 pixels, top row first
        Rgba png[6];
    } cases[] = {
        // 8 bits: palette indices; the palette is set below.
        {8,
         0,
         0,
         0,
         0,
         {2, 1, 0, 0, 0, 1},
         {{1, 2, 3, 255},
          {200, 100, 50, 255},
          {10, 20, 30, 255},
          {10, 20, 30, 255},
          {10, 20, 30, 255},
          {200, 100, 50, 255}}},
        // 5-6-5: full channels expand to 255.
        {16,
         0xF800,
         0x07E0,
         0x001F,
         0,
         {0xF800, 0x07E0, 0x001F, 0x001F, 0x07E0, 0x0000},
         {{255, 0, 0, 255},
          {0, 255, 0, 255},
          {0, 0, 255, 255},
          {0, 0, 255, 255},
          {0, 255, 0, 255},
          {0, 0, 0, 255}}},
        // Red in the most significant of the three bytes.
        {24,
         0xFF0000,
         0x00FF00,
         0x0000FF,
         0,
         {0x112233, 0x010203, 0xFF0000, 0x0000FF, 0x00FF00, 0x123456},
         {{0x11, 0x22, 0x33, 255},
          {1, 2, 3, 255},
          {255, 0, 0, 255},
          {0, 0, 255, 255},
          {0, 255, 0, 255},
          {0x12, 0x34, 0x56, 255}}},
        // With alpha: translucency survives.
        {32,
         0x000000FF,
         0x0000FF00,
         0x00FF0000,
         0xFF000000,
         {0x80402010, 0xFF0000FF, 0x00000000, 0x01020304, 0xFFFFFFFF, 0x7F00FF00},
         {{0x10, 0x20, 0x40, 0x80},
          {0xFF, 0, 0, 0xFF},
          {0, 0, 0, 0},
          {4, 3, 2, 1},
          {255, 255, 255, 255},
          {0, 0xFF, 0, 0x7F}}},
    };
    TempDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.bits) + " bits");
        SDL_Surface* s = SDL_CreateRGBSurface(SDL_SWSURFACE, 3, 2, c.bits, c.r, c.g, c.b, c.a);
        ASSERT_NE(nullptr, s);
        if (c.bits == 8) {
            SDL_Color colors[3] = {{10, 20, 30, 0}, {200, 100, 50, 0}, {1, 2, 3, 0}};
            SDL_SetColors(s, colors, 0, 3);
        }
        for (int i = 0; i < 6; ++i)
            std::memcpy(pixelAt(s, i % 3, i / 3), &c.raw[i], s->format->BytesPerPixel);
        for (int i = 0; i < 6; ++i)
            EXPECT_EQ(c.raw[i], getPixel(s, i % 3, i / 3)) << "pixel " << i;

        const std::string file = dir.file("p" + std::to_string(c.bits) + ".png");
        savePng(s, file.c_str());
        SDL_FreeSurface(s);
        auto png = readPng(file);
        ASSERT_EQ("", png.error);
        ASSERT_EQ(3, png.width);
        ASSERT_EQ(2, png.height);
        for (int i = 0; i < 6; ++i)
            EXPECT_EQ(c.png[i], png.at(i % 3, i / 3)) << "pixel " << i;
    }
}

TEST(SavePng, FailuresThrowAndLeaveNoPartialFile) {
    TempDir dir;
    SDL_Surface* s =
        SDL_CreateRGBSurface(SDL_SWSURFACE, 3, 2, 32, 0xFF, 0xFF00, 0xFF0000, 0xFF000000);
    ASSERT_NE(nullptr, s);
    std::memset(s->pixels, 0x7F, s->pitch * s->h);

    const std::string missing = dir.file("no/such/dir.png");
    try {
        savePng(s, missing.c_str());
        ADD_FAILURE() << "no exception";
    } catch (const std::string& message) {
        EXPECT_EQ("Could not open file \"" + missing + "\" for writing.", message);
    }

    // libpng refuses a zero-width image in the middle of writing the header.
    const std::string broken = dir.file("broken.png");
    const int width = s->w;
    s->w = 0;
    try {
        savePng(s, broken.c_str());
        ADD_FAILURE() << "no exception";
    } catch (const std::string& message) {
        EXPECT_EQ("Could not set libpng error callback.", message);
    }
    s->w = width;
    EXPECT_FALSE(exists(broken));

    // A device that takes no data: the failure shows only when the data is flushed, and the
    // device itself must not be removed.
    struct stat full;
    if (stat("/dev/full", &full) == 0 && S_ISCHR(full.st_mode)) {
        try {
            savePng(s, "/dev/full");
            ADD_FAILURE() << "no exception";
        } catch (const std::string& message) {
            EXPECT_EQ("Could not write file \"/dev/full\".", message);
        }
        EXPECT_TRUE(stat("/dev/full", &full) == 0 && S_ISCHR(full.st_mode));
    }

    // The same surface still saves afterwards.
    savePng(s, broken.c_str());
    EXPECT_EQ((Rgba{0x7F, 0x7F, 0x7F, 0x7F}), readPng(broken).at(2, 1));
    SDL_FreeSurface(s);
}
