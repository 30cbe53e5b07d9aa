#include <SDL.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <array>
#include <cstring>
#include <string>

#include "lumo/png_file.hpp"
#include "lumo/screenshot.hpp"
#include "xml/temp_dir.hpp"

using lumo::getPixel;
using lumo::savePng;
using lumo::testing::readPng;
using lumo::testing::TempDir;

namespace {

typedef std::array<int, 4> Rgba;

// A 3 x 2 software surface of the given depth and masks.
SDL_Surface* makeSurface(int bits, Uint32 r, Uint32 g, Uint32 b, Uint32 a) {
    return SDL_CreateRGBSurface(SDL_SWSURFACE, 3, 2, bits, r, g, b, a);
}

Uint8* pixelAt(SDL_Surface* s, int x, int y) {
    return static_cast<Uint8*>(s->pixels) + y * s->pitch + x * s->format->BytesPerPixel;
}

void putBytes(SDL_Surface* s, int x, int y, const void* bytes) {
    std::memcpy(pixelAt(s, x, y), bytes, s->format->BytesPerPixel);
}

bool exists(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0;
}

}  // namespace

TEST(SavePng, EightBitSurfacesGoThroughThePalette) {
    TempDir dir;
    SDL_Surface* s = makeSurface(8, 0, 0, 0, 0);
    ASSERT_NE(nullptr, s);
    SDL_Color colors[3] = {{10, 20, 30, 0}, {200, 100, 50, 0}, {1, 2, 3, 0}};
    SDL_SetColors(s, colors, 0, 3);
    const Uint8 indices[2][3] = {{2, 1, 0}, {0, 0, 1}};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            putBytes(s, x, y, &indices[y][x]);

    EXPECT_EQ(2u, getPixel(s, 0, 0));
    EXPECT_EQ(1u, getPixel(s, 2, 1));

    savePng(s, dir.file("p8.png").c_str());
    SDL_FreeSurface(s);
    auto png = readPng(dir.file("p8.png"));
    ASSERT_EQ("", png.error);
    ASSERT_EQ(3, png.width);
    ASSERT_EQ(2, png.height);
    EXPECT_EQ((Rgba{1, 2, 3, 255}), png.at(0, 0));
    EXPECT_EQ((Rgba{200, 100, 50, 255}), png.at(1, 0));
    EXPECT_EQ((Rgba{10, 20, 30, 255}), png.at(2, 0));
    EXPECT_EQ((Rgba{200, 100, 50, 255}), png.at(2, 1));
}

TEST(SavePng, SixteenTwentyFourAndThirtyTwoBitSurfaces) {
    TempDir dir;

    // 5-6-5: full channels expand to 255.
    SDL_Surface* s16 = makeSurface(16, 0xF800, 0x07E0, 0x001F, 0);
    ASSERT_NE(nullptr, s16);
    const Uint16 words[3] = {0xF800, 0x07E0, 0x001F};
    for (int x = 0; x < 3; ++x) {
        putBytes(s16, x, 0, &words[x]);
        putBytes(s16, x, 1, &words[2 - x]);
    }
    EXPECT_EQ(0x07E0u, getPixel(s16, 1, 0));
    savePng(s16, dir.file("p16.png").c_str());
    SDL_FreeSurface(s16);
    auto png16 = readPng(dir.file("p16.png"));
    ASSERT_EQ("", png16.error);
    EXPECT_EQ((Rgba{255, 0, 0, 255}), png16.at(0, 0));
    EXPECT_EQ((Rgba{0, 255, 0, 255}), png16.at(1, 0));
    EXPECT_EQ((Rgba{0, 0, 255, 255}), png16.at(2, 0));
    EXPECT_EQ((Rgba{0, 0, 255, 255}), png16.at(0, 1));

    // Three bytes, least significant first, with red in the high byte.
    SDL_Surface* s24 = makeSurface(24, 0xFF0000, 0x00FF00, 0x0000FF, 0);
    ASSERT_NE(nullptr, s24);
    const Uint8 bytes[3] = {0x33, 0x22, 0x11};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            putBytes(s24, x, y, bytes);
    const Uint8 other[3] = {0x03, 0x02, 0x01};
    putBytes(s24, 2, 1, other);
    EXPECT_EQ(0x112233u, getPixel(s24, 0, 0));
    EXPECT_EQ(0x010203u, getPixel(s24, 2, 1));
    savePng(s24, dir.file("p24.png").c_str());
    SDL_FreeSurface(s24);
    auto png24 = readPng(dir.file("p24.png"));
    ASSERT_EQ("", png24.error);
    EXPECT_EQ((Rgba{0x11, 0x22, 0x33, 255}), png24.at(1, 0));
    EXPECT_EQ((Rgba{0x01, 0x02, 0x03, 255}), png24.at(2, 1));

    // Four bytes with alpha: translucency survives.
    SDL_Surface* s32 = makeSurface(32, 0x000000FF, 0x0000FF00, 0x00FF0000, 0xFF000000);
    ASSERT_NE(nullptr, s32);
    const Uint32 values[3] = {0x80402010, 0xFF0000FF, 0x00000000};
    for (int x = 0; x < 3; ++x) {
        putBytes(s32, x, 0, &values[x]);
        putBytes(s32, x, 1, &values[x]);
    }
    EXPECT_EQ(0x80402010u, getPixel(s32, 0, 1));
    savePng(s32, dir.file("p32.png").c_str());
    SDL_FreeSurface(s32);
    auto png32 = readPng(dir.file("p32.png"));
    ASSERT_EQ("", png32.error);
    EXPECT_EQ((Rgba{0x10, 0x20, 0x40, 0x80}), png32.at(0, 1));
    EXPECT_EQ((Rgba{0xFF, 0, 0, 0xFF}), png32.at(1, 0));
    EXPECT_EQ((Rgba{0, 0, 0, 0}), png32.at(2, 1));
}

TEST(SavePng, FailuresThrowAndLeaveNoPartialFile) {
    TempDir dir;
    SDL_Surface* s = makeSurface(32, 0xFF, 0xFF00, 0xFF0000, 0xFF000000);
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
