#include "gfx/images/simple_image.hpp"

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <string>

#include "debug/message_stack.hpp"
#include "images/pictures.hpp"
#include "support/temp_dir.hpp"

using lumo::gfx::ImageBank;
using lumo::gfx::SimpleImage;
using lumo::testing::Rgba;
using lumo::testing::TempDir;
using lumo::testing::TextureContents;

namespace {

class SimpleImageTest : public ::testing::Test {
  protected:
    void SetUp() override { lumo::testing::openWindow(); }

    // A SimpleImage of the file, refreshed; released and destroyed with the test.
    SimpleImage* loaded(const std::string& path, float threshold = -1) {
        images.emplace_back(new SimpleImage("picture", path));
        images.back()->setBitmaskThreshold(threshold);
        images.back()->refresh(true);
        return images.back().get();
    }
    void TearDown() override {
        for (auto& image : images)
            image->release(true);
    }

    TempDir dir;
    std::vector<std::unique_ptr<SimpleImage>> images;
};

TEST_F(SimpleImageTest, TexturesArePaddedToPowersOfTwoWithTransparentTexels) {
    const std::string wide = dir.file("wide.png");
    lumo::testing::writePng(wide, 100, 30, [](int, int) { return Rgba{10, 20, 30, 255}; });
    SimpleImage* image = loaded(wide);
    EXPECT_EQ(100u, image->getWidth());
    EXPECT_EQ(30u, image->getHeight());
    EXPECT_EQ(128u, image->getTextureWidth());
    EXPECT_EQ(32u, image->getTextureHeight());
    EXPECT_FLOAT_EQ(0.0f, image->getLeftTexCoord());
    EXPECT_FLOAT_EQ(0.78125f, image->getRightTexCoord());
    EXPECT_FLOAT_EQ(0.0f, image->getUpperTexCoord());
    EXPECT_FLOAT_EQ(0.9375f, image->getLowerTexCoord());
    TextureContents texture(image->getTextureName());
    EXPECT_EQ(128, texture.width);
    EXPECT_EQ(32, texture.height);
    EXPECT_EQ((Rgba{10, 20, 30, 255}), texture.at(99, 29));
    EXPECT_EQ((Rgba{0, 0, 0, 0}), texture.at(100, 0));
    EXPECT_EQ((Rgba{0, 0, 0, 0}), texture.at(0, 30));

    for (int side : {64, 1}) {
        const std::string square = dir.file("square" + std::to_string(side) + ".png");
        lumo::testing::writePng(square, side, side, [](int, int) { return Rgba{1, 2, 3, 4}; });
        SimpleImage* s = loaded(square);
        EXPECT_EQ(static_cast<Uint32>(side), s->getTextureWidth());
        EXPECT_EQ(static_cast<Uint32>(side), s->getTextureHeight());
        EXPECT_FLOAT_EQ(1.0f, s->getRightTexCoord());
        EXPECT_FLOAT_EQ(1.0f, s->getLowerTexCoord());
        EXPECT_EQ((Rgba{1, 2, 3, 4}), TextureContents(s->getTextureName()).at(side - 1, side - 1));
    }
}

TEST_F(SimpleImageTest, PalettedSixteenBitAndBgrFilesAreUploadedWithTheirTrueColours) {
    // Columns: red, green, blue, then a fourth colour per format.
    auto columns = [](int x, int) {
        static const Rgba c[] = {
            {255, 0, 0, 255}, {0, 255, 0, 255}, {0, 0, 255, 255}, {255, 255, 255, 255}};
        return c[x % 4];
    };

    const std::string bgr = dir.file("bgr.bmp");
    lumo::testing::writeBmp24(bgr, 4, 2, columns);
    TextureContents fromBgr(loaded(bgr)->getTextureName());
    for (int x = 0; x < 4; ++x)
        EXPECT_EQ(columns(x, 0), fromBgr.at(x, 1)) << "24-bit column " << x;

    const std::string sixteen = dir.file("sixteen.bmp");
    lumo::testing::writeBmp16(sixteen, 4, 2, columns);
    TextureContents from16(loaded(sixteen)->getTextureName());
    for (int x = 0; x < 4; ++x) {
        const Rgba want = columns(x, 0);
        const Rgba got = from16.at(x, 0);
        for (int i = 0; i < 3; ++i)  // five bits per channel: 255 comes back as 248 or so
            EXPECT_NEAR(want[i], got[i], 8) << "16-bit column " << x << " channel " << i;
        EXPECT_EQ(255, got[3]);
    }

    // Entry 0 is the transparent key; the picture has a transparent left column.
    const std::string keyed = dir.file("keyed.png");
    ASSERT_TRUE(lumo::testing::writePalettePng(keyed, 4, 2,
                                               {{0, 0, 0, 0}, {255, 0, 0, 255}, {0, 0, 255, 255}},
                                               [](int x, int y) { return x == 0 ? 0 : 1 + y; }));
    SimpleImage* paletted = loaded(keyed, 0.5f);
    TextureContents fromPalette(paletted->getTextureName());
    EXPECT_EQ(0, fromPalette.at(0, 0)[3]);
    EXPECT_EQ((Rgba{255, 0, 0, 255}), fromPalette.at(1, 0));
    EXPECT_EQ((Rgba{0, 0, 255, 255}), fromPalette.at(3, 1));
    // The bitmask sees the key as transparency too.
    ASSERT_NE(nullptr, paletted->getBitmask());
    EXPECT_FALSE(paletted->getBitmask()->at(0, 0));
    EXPECT_TRUE(paletted->getBitmask()->at(1, 0));
    EXPECT_EQ(lumo::gfx::Bitmask::RectInt(1, 0, 3, 2), paletted->getOuterBoundingBox());
}

TEST_F(SimpleImageTest, UnreadableFilesThrowAMessageNamingTheFile) {
    const std::size_t depth = lumo::debug::messageCount();
    const std::string missing = dir.file("missing.png");
    std::ofstream(dir.file("junk.png")) << "this is no picture at all";
    std::ofstream(dir.file("empty.png"));
    const std::string full = dir.file("full.png");
    lumo::testing::writePng(full, 40, 40, [](int x, int y) { return Rgba{x, y, 0, 255}; });
    const std::string cut = lumo::testing::readFileText(full).substr(0, 120);
    std::ofstream(dir.file("cut.png"), std::ios::binary) << cut;

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
}

TEST_F(SimpleImageTest, BitmaskIsBuiltOnceAndOutlivesReleases) {
    const std::string path = dir.file("solid.png");
    // Opaque in a 4 x 3 block at (2, 1), counted from the top.
    lumo::testing::writePng(path, 8, 8, [](int x, int y) {
        return Rgba{255, 255, 255, x >= 2 && x < 6 && y >= 1 && y < 4 ? 255 : 0};
    });
    SimpleImage* image = loaded(path, 0.5f);
    const lumo::gfx::Bitmask* mask = image->getBitmask();
    ASSERT_NE(nullptr, mask);
    EXPECT_EQ(lumo::gfx::Bitmask::RectInt(2, 1, 4, 3), image->getOuterBoundingBox());
    EXPECT_EQ(lumo::gfx::Bitmask::RectInt(2, 1, 4, 3), image->getInnerBoundingBox());

    image->release(true);
    EXPECT_EQ(0u, image->getTextureName());
    EXPECT_EQ(mask, image->getBitmask());
    EXPECT_EQ(8u, image->getWidth());
    image->refresh(true);
    EXPECT_NE(0u, image->getTextureName());
    EXPECT_EQ(mask, image->getBitmask());
    image->reload(true);
    EXPECT_EQ(mask, image->getBitmask());

    // Without a threshold there is no mask, and the boxes cover the picture as it was before
    // the load.
    SimpleImage* plain = loaded(path);
    EXPECT_EQ(nullptr, plain->getBitmask());
    EXPECT_EQ(lumo::gfx::Bitmask::RectInt(0, 0, 0, 0), plain->getOuterBoundingBox());
    plain->reload(true);
    EXPECT_EQ(lumo::gfx::Bitmask::RectInt(0, 0, 8, 8), plain->getOuterBoundingBox());
}

TEST_F(SimpleImageTest, FiltersAreLimitedByTheBankAndClampingIsSet) {
    const std::string path = dir.file("f.png");
    lumo::testing::writePng(path, 8, 8, [](int, int) { return Rgba{0, 0, 0, 255}; });
    auto parameter = [](GLuint texture, GLenum name) {
        glBindTexture(GL_TEXTURE_2D, texture);
        GLint value = 0;
        glGetTexParameteriv(GL_TEXTURE_2D, name, &value);
        return value;
    };
    auto levelWidth = [](GLuint texture, int level) {
        glBindTexture(GL_TEXTURE_2D, texture);
        GLint value = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_WIDTH, &value);
        return value;
    };

    ImageBank bank;  // filter linear, as every bank starts
    auto add = [&](const char* name, lumo::gfx::ImageFilter f, bool clamp) {
        SimpleImage* image = new SimpleImage(name, path);
        image->setFilterChoice(f);
        image->setClamp(clamp);
        bank += image;
        return image;
    };
    SimpleImage* none = add("none", lumo::gfx::ifNone, false);
    SimpleImage* tri = add("tri", lumo::gfx::ifTrilinear, true);
    bank.refresh(nullptr);

    EXPECT_EQ(GL_NEAREST, parameter(none->getTextureName(), GL_TEXTURE_MIN_FILTER));
    EXPECT_EQ(GL_NEAREST, parameter(none->getTextureName(), GL_TEXTURE_MAG_FILTER));
    EXPECT_EQ(GL_REPEAT, parameter(none->getTextureName(), GL_TEXTURE_WRAP_S));
    EXPECT_EQ(0, levelWidth(none->getTextureName(), 1));
    // Mipmaps are uploaded, but the bank's linear filter is what is used.
    EXPECT_EQ(GL_LINEAR, parameter(tri->getTextureName(), GL_TEXTURE_MIN_FILTER));
    EXPECT_EQ(4, levelWidth(tri->getTextureName(), 1));
    EXPECT_EQ(GL_CLAMP_TO_EDGE, parameter(tri->getTextureName(), GL_TEXTURE_WRAP_S));
    EXPECT_EQ(GL_CLAMP_TO_EDGE, parameter(tri->getTextureName(), GL_TEXTURE_WRAP_T));
    EXPECT_EQ(lumo::gfx::ifTrilinear, tri->getFilter());

    bank.filter = lumo::gfx::ifTrilinear;
    tri->setFilter(lumo::gfx::ifBilinear);
    EXPECT_EQ(GL_NEAREST_MIPMAP_LINEAR, parameter(tri->getTextureName(), GL_TEXTURE_MIN_FILTER));
    EXPECT_EQ(GL_LINEAR, parameter(tri->getTextureName(), GL_TEXTURE_MAG_FILTER));
    tri->setFilter(lumo::gfx::ifTrilinear);
    EXPECT_EQ(GL_LINEAR_MIPMAP_LINEAR, parameter(tri->getTextureName(), GL_TEXTURE_MIN_FILTER));
    bank.filter = lumo::gfx::ifNone;
    tri->setFilter(lumo::gfx::ifTrilinear);
    EXPECT_EQ(GL_NEAREST, parameter(tri->getTextureName(), GL_TEXTURE_MIN_FILTER));
    bank.release();
}

}  // namespace
