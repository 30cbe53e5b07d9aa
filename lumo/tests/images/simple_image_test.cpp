#include "gfx/images/simple_image.hpp"

#include <gtest/gtest.h>
#include <png.h>

#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "debug/message_stack.hpp"
#include "support/gl_test_window.hpp"
#include "support/temp_dir.hpp"
#include "support/thrown.hpp"

using lumo::Rect;
using lumo::Vector2D;
using lumo::gfx::SimpleImage;
using lumo::testing::Rgba;

namespace {

const Rgba red{255, 0, 0, 255}, green{0, 255, 0, 255}, blue{0, 0, 255, 255};
const Rgba yellow{255, 255, 0, 255}, black{0, 0, 0, 255}, clear{0, 0, 0, 0};

// Texel (x, y) of level 0 of a texture, row 0 being the picture's top row.
Rgba texel(GLuint texture, int x, int y) {
    GLint w = 0, h = 0;
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &h);
    std::vector<unsigned char> t(std::size_t(w) * h * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, t.data());
    const unsigned char* p = &t[(std::size_t(y) * w + x) * 4];
    return {p[0], p[1], p[2], p[3]};
}

class SimpleImageTest : public ::testing::Test {
  protected:
    void SetUp() override { lumo::testing::openTestWindow(); }
    void TearDown() override {
        for (auto& image : images)
            image->release(true);
    }
    // The picture file `name` as a refreshed image, released with the test.
    SimpleImage* loaded(const std::string& name, float threshold = -1) {
        images.emplace_back(new SimpleImage("picture", dir.file(name)));
        images.back()->setBitmaskThreshold(threshold);
        images.back()->setFilterChoice(lumo::gfx::ifNone);
        images.back()->refresh(true);
        return images.back().get();
    }

    lumo::testing::TempDir dir;
    std::vector<std::unique_ptr<SimpleImage>> images;
};

TEST_F(SimpleImageTest, TexturesArePaddedToPowersOfTwoWithTransparentTexels) {
    const int sizes[][4] = {{100, 30, 128, 32}, {64, 64, 64, 64}, {1, 1, 1, 1}};
    for (const auto& s : sizes) {
        const std::string name = std::to_string(s[0]) + ".png";
        lumo::testing::writePicture(dir.file(name), s[0], s[1], [](int, int) {
            return Rgba{10, 20, 30, 255};
        });
        SimpleImage* image = loaded(name);
        EXPECT_EQ(Uint32(s[0]), image->getWidth());
        EXPECT_EQ(Uint32(s[2]), image->getTextureWidth());
        EXPECT_EQ(Uint32(s[3]), image->getTextureHeight());
        EXPECT_FLOAT_EQ(float(s[0]) / s[2], image->getRightTexCoord());  // 0.78125 for 100
        EXPECT_FLOAT_EQ(float(s[1]) / s[3], image->getLowerTexCoord());  // 0.9375 for 30
        EXPECT_EQ((Rgba{10, 20, 30, 255}), texel(image->getTextureName(), s[0] - 1, s[1] - 1));
    }
    EXPECT_EQ(clear, texel(images[0]->getTextureName(), 100, 0));
    EXPECT_EQ(clear, texel(images[0]->getTextureName(), 0, 30));
}

TEST_F(SimpleImageTest, EachDrawPutsTheCornersWhereTheyBelongInTheCurrentColour) {
    // 6 x 4 in 3 x 2 quadrants: red top left, green top right, blue and yellow below.
    lumo::testing::writePicture(dir.file("q.png"), 6, 4, [](int x, int y) {
        return y < 2 ? (x < 3 ? red : green) : (x < 3 ? blue : yellow);
    });
    SimpleImage* image = loaded("q.png");
    image->setHotspot(Vector2D(4, 2));
    image->draw(Vector2D(10, 10));  // bottom-left corner at (10 - 4, 10 + 2), upright
    image->draw(Rect(20, 30, 6, 4));
    image->draw(Rect(40, 40, 3, 2));            // cropped to the top-left part
    image->drawStretched(Rect(70, 10, 12, 8));  // scaled, top row at the bottom edge
    const struct {
        int x, y;
        Rgba colour;
    } expected[] = {{6, 12, blue},    {6, 15, red},    {11, 15, green}, {11, 12, yellow},
                    {5, 12, black},   {6, 11, black},  {12, 15, black}, {6, 16, black},
                    {20, 33, red},    {25, 33, green}, {20, 30, blue},  {25, 30, yellow},
                    {40, 40, red},    {42, 41, red},   {43, 40, black}, {40, 42, black},
                    {70, 10, red},    {81, 10, green}, {70, 17, blue},  {81, 17, yellow},
                    {76, 14, yellow}, {82, 10, black}, {70, 18, black}, {69, 10, black}};
    for (const auto& e : expected)
        EXPECT_EQ(e.colour, lumo::testing::pixelAt(e.x, e.y)) << e.x << "," << e.y;

    // The current colour tints the picture; texturing is left as it was.
    glBindTexture(GL_TEXTURE_2D, 0);
    lumo::Color(1, 1, 1, 0.5f).apply();
    image->draw(Vector2D(104, 98));
    image->draw(Rect(110, 100, 6, 4));
    image->drawStretched(Rect(120, 100, 6, 4));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    GLint bound = -1;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(0, bound);
    for (auto xy : {std::make_pair(100, 100), {110, 100}, {120, 103}}) {
        const Rgba halfBlue = lumo::testing::pixelAt(xy.first, xy.second);
        EXPECT_NEAR(128, halfBlue[2], 1) << xy.first;
        EXPECT_EQ(0, halfBlue[0] + halfBlue[1]) << xy.first;
    }

    // Without a texture nothing is drawn.
    image->release(true);
    image->draw(Vector2D(134, 98));
    image->draw(Rect(140, 100, 6, 4));
    image->drawStretched(Rect(150, 100, 6, 4));
    for (int x : {130, 140, 150})
        EXPECT_EQ(black, lumo::testing::pixelAt(x, 100)) << x;
}

// A palette PNG; SDL_image reads it as an 8-bit surface with entry 0 as its colour key.
bool writePalettePng(const std::string& path, int w, int h, const std::vector<Rgba>& palette,
                     int (*index)(int x, int y)) {
    std::vector<png_byte> colormap, pixels;
    for (const Rgba& c : palette)
        colormap.insert(colormap.end(), c.begin(), c.end());
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            pixels.push_back(png_byte(index(x, y)));
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = w;
    image.height = h;
    image.format = PNG_FORMAT_RGBA_COLORMAP;
    image.colormap_entries = png_uint_32(palette.size());
    return png_image_write_to_file(&image, path.c_str(), 0, pixels.data(), 0, colormap.data());
}

TEST_F(SimpleImageTest, BgrAndKeyedPalettePicturesKeepTheirColoursAndTransparency) {
    // A 24-bit BMP stores B, G, R.
    SDL_Surface* bgr = SDL_CreateRGBSurface(SDL_SWSURFACE, 3, 1, 24, 0xFF0000, 0xFF00, 0xFF, 0);
    for (int x = 0; x < 3; ++x) {
        SDL_Rect r = {Sint16(x), 0, 1, 1};
        SDL_FillRect(bgr, &r,
                     SDL_MapRGB(bgr->format, x == 0 ? 255 : 0, x == 1 ? 255 : 0, x == 2 ? 255 : 0));
    }
    SDL_SaveBMP(bgr, dir.file("bgr.bmp").c_str());
    SDL_FreeSurface(bgr);
    const GLuint texture = loaded("bgr.bmp")->getTextureName();
    EXPECT_EQ(red, texel(texture, 0, 0));
    EXPECT_EQ(green, texel(texture, 1, 0));
    EXPECT_EQ(blue, texel(texture, 2, 0));

    // The left column uses the transparent key entry.
    ASSERT_TRUE(writePalettePng(dir.file("keyed.png"), 4, 2, {clear, red, blue},
                                [](int x, int y) { return x == 0 ? 0 : 1 + y; }));
    SimpleImage* keyed = loaded("keyed.png", 0.5f);
    EXPECT_EQ(0, texel(keyed->getTextureName(), 0, 0)[3]);
    EXPECT_EQ(red, texel(keyed->getTextureName(), 1, 0));
    EXPECT_EQ(blue, texel(keyed->getTextureName(), 3, 1));
    // The bitmask sees the key as transparency too.
    ASSERT_NE(nullptr, keyed->getBitmask());
    EXPECT_EQ(lumo::gfx::RectInt(1, 0, 3, 2), keyed->getOuterBoundingBox());
}

TEST_F(SimpleImageTest, UnreadablePicturesThrowAMessageNamingTheFile) {
    const std::size_t depth = lumo::debug::messageCount();
    lumo::testing::writePicture(dir.file("full.png"), 40, 40, [](int x, int y) {
        return Rgba{x, y, 0, 255};
    });
    dir.write("cut.png", lumo::testing::readFileText(dir.file("full.png")).substr(0, 120));
    dir.write("junk.png", "this is no picture at all");
    dir.write("empty.png", "");
    for (const char* name : {"missing.png", "junk.png", "empty.png", "cut.png"}) {
        SimpleImage image("x", dir.file(name));
        try {
            image.refresh(true);
            ADD_FAILURE() << name << " loaded";
        } catch (const std::string& message) {
            const std::string start = "Could not load \"" + dir.file(name) + "\": ";
            EXPECT_EQ(start, message.substr(0, start.size())) << message;
            EXPECT_GT(message.size(), start.size() + 1) << message;
            EXPECT_EQ('.', message.back()) << message;
        }
        EXPECT_EQ(0u, image.getTextureName());
        EXPECT_EQ(depth, lumo::debug::messageCount());
    }

    // A picture larger than the largest texture would load as an empty texture.
    GLint largest = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
    ASSERT_GT(largest, 0);
    const std::string tall = dir.file("tall.png");
    lumo::testing::writePicture(tall, 2, largest + 1, [](int, int) { return Rgba{9, 9, 9, 255}; });
    SimpleImage image("tall", tall);
    const std::string size = std::to_string(largest);
    EXPECT_EQ(lumo::testing::thrown([&] { image.refresh(true); }),
              "Could not load \"" + tall + "\": the picture (2 x " + std::to_string(largest + 1) +
                  " pixels) is larger than the largest texture OpenGL takes (" + size + " x " +
                  size + ").");
    EXPECT_EQ(0u, image.getTextureName());
    EXPECT_EQ(0u, image.getWidth());
}

}  // namespace
