#include "gfx/images/image_bank.hpp"

#include <SDL.h>
#include <gtest/gtest.h>

#include <iterator>
#include <memory>
#include <string>

#include "debug/log.hpp"
#include "gfx/images/image_loader.hpp"
#include "gfx/images/simple_image.hpp"
#include "lumo/convert.hpp"
#include "resources/resource_manager.hpp"
#include "support/gl_test_window.hpp"
#include "support/temp_dir.hpp"

using lumo::gfx::ImageBank;
using lumo::gfx::ImageResource;
using lumo::gfx::SimpleImage;

namespace {

GLuint texture(ImageResource* image) {
    return dynamic_cast<SimpleImage*>(image)->getTextureName();
}

GLint parameter(ImageResource* image, GLenum name) {
    glBindTexture(GL_TEXTURE_2D, texture(image));
    GLint value = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, name, &value);
    return value;
}

TEST(ImageBankReading, EntriesTakeTheirAttributesLoopsNumberThemAndBadOnesAreLogged) {
    lumo::debug::nameFrameworkGroups();
    lumo::testing::TempDir dir;
    lumo::ResourceManager manager;
    testing::internal::CaptureStdout();
    manager.load(dir.write("resources.xml", R"(<resources>
  <images name="pics" dir="gfx/">
    <image filename="enemy.png"/>
    <image name="orphan"/>
    <image/>
    <image name="hero" filename="hero.png" hotX="4.5" hotY="-2" bitmaskThreshold="0.5"
           clamp="t" filter="trilinear"/>
    <image name="odd" filename="odd.png" filter="Linear" clamp="yes"/>
    <image name="plain" filename="plain.png" filter="none"/>
    <loop var="i" from="1" to="3" digits="2"><image name="walk[i]" filename="walk[i].png"/></loop>
    <loop to="3"><image name="never" filename="never.png"/></loop>
    <sprite name="ignored" filename="ignored.png"/>
    <image name="plain" filename="again.png"/>
  </images>
</resources>)"),
                 "");
    const std::string log = testing::internal::GetCapturedStdout();
    std::unique_ptr<ImageBank> bank(dynamic_cast<ImageBank*>(manager["pics"]));
    manager.clear();
    ASSERT_NE(nullptr, bank);

    for (const char* line : {"(warning) No name specified for image. Using filename.",
                             "(error) No filename specified for image \"orphan\". Skipping entry.",
                             "(error) No filename specified for image \"\". Skipping entry.",
                             "(error) No variable specified for loop. Skipping loop."})
        EXPECT_NE(std::string::npos, log.find(std::string("[lumo:images] ") + line)) << line;
    // "<file> <hotspot> <threshold> <clamp> <filter>": a filter written Linear is not
    // recognised, "yes" is no boolean, and the later "plain" replaced the earlier one.
    const std::pair<const char*, const char*> expected[] = {
        {"enemy.png", "gfx/enemy.png 0,0 -1 0 1"}, {"hero", "gfx/hero.png 4.5,-2 0.5 1 3"},
        {"odd", "gfx/odd.png 0,0 -1 0 1"},         {"plain", "gfx/again.png 0,0 -1 0 1"},
        {"walk01", "gfx/walk01.png 0,0 -1 0 1"},   {"walk02", "gfx/walk02.png 0,0 -1 0 1"},
        {"walk03", "gfx/walk03.png 0,0 -1 0 1"}};
    EXPECT_EQ(std::size(expected), bank->size());
    for (const auto& e : expected) {
        const ImageResource* i = bank->at(e.first);
        ASSERT_NE(nullptr, i) << e.first;
        EXPECT_EQ(dir.path() + "/" + e.second,
                  i->getFilename() + " " + lumo::toStr(i->getHotspot().x) + "," +
                      lumo::toStr(i->getHotspot().y) + " " + lumo::toStr(i->getBitmaskThreshold()) +
                      " " + lumo::toStr(i->getClamp()) + " " + lumo::toStr(int(i->getFilter())));
        EXPECT_EQ(nullptr, i->getBitmask());  // no file is opened while reading
    }
}

class ImageBankTest : public ::testing::Test {
  protected:
    // A bank of images a, b and c (16 x 8, clear in the left 4 columns) and "bad", which has no
    // file yet; each wants a bitmask.
    void SetUp() override {
        lumo::testing::openTestWindow();
        for (const char* name : {"a", "b", "c", "bad"}) {
            if (std::string(name) != "bad")
                lumo::testing::writePicture(dir.file(name), 16, 8, [](int x, int) {
                    return lumo::testing::Rgba{255, 255, 255, x < 4 ? 0 : 255};
                });
            SimpleImage* image = new SimpleImage(name, dir.file(name));
            image->setBitmaskThreshold(0.5f);
            bank += image;
        }
    }
    void TearDown() override { bank.release(); }

    struct Counter : lumo::RefreshingBankHandler {
        void elementRefreshed() override { ++count; }
        int count = 0;
    } counter;
    lumo::testing::TempDir dir;
    ImageBank bank;
};

TEST_F(ImageBankTest, RefreshLoadsOnceMasksOutliveReleasesAndFiltersAreCappedByTheBank) {
    delete bank.at("bad");
    bank.at("a")->setBitmaskThreshold(-1);
    bank.at("a")->setFilterChoice(lumo::gfx::ifNone);
    bank.at("b")->setFilterChoice(lumo::gfx::ifTrilinear);
    bank.at("b")->setClamp(true);
    bank.refresh(&counter);
    EXPECT_EQ(3, counter.count);
    EXPECT_EQ(0, lumo::gfx::bitmaskCacheSize());
    const GLuint c = texture(bank.at("c"));
    const lumo::gfx::Bitmask* mask = bank.at("c")->getBitmask();
    ASSERT_NE(nullptr, mask);
    EXPECT_EQ(lumo::gfx::RectInt(4, 0, 12, 8), bank.at("c")->getOuterBoundingBox());
    EXPECT_EQ(lumo::gfx::RectInt(4, 0, 12, 8), bank.at("c")->getInnerBoundingBox());
    // Without a threshold: no mask, and the boxes cover the picture as it was before the load.
    EXPECT_EQ(nullptr, bank.at("a")->getBitmask());
    EXPECT_EQ(lumo::gfx::RectInt(0, 0, 0, 0), bank.at("a")->getOuterBoundingBox());

    EXPECT_EQ(GL_NEAREST, parameter(bank.at("a"), GL_TEXTURE_MIN_FILTER));
    EXPECT_EQ(GL_REPEAT, parameter(bank.at("a"), GL_TEXTURE_WRAP_S));
    // Mipmaps are uploaded, but the bank's linear filter is what is used.
    EXPECT_EQ(GL_LINEAR, parameter(bank.at("b"), GL_TEXTURE_MIN_FILTER));
    GLint level1 = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 1, GL_TEXTURE_WIDTH, &level1);
    EXPECT_EQ(8, level1);
    EXPECT_EQ(GL_CLAMP_TO_EDGE, parameter(bank.at("b"), GL_TEXTURE_WRAP_T));
    bank.filter = lumo::gfx::ifTrilinear;
    bank.at("b")->setFilter(lumo::gfx::ifBilinear);
    EXPECT_EQ(GL_NEAREST_MIPMAP_LINEAR, parameter(bank.at("b"), GL_TEXTURE_MIN_FILTER));
    bank.at("b")->setFilter(lumo::gfx::ifTrilinear);
    EXPECT_EQ(GL_LINEAR_MIPMAP_LINEAR, parameter(bank.at("b"), GL_TEXTURE_MIN_FILTER));
    EXPECT_EQ(GL_LINEAR, parameter(bank.at("b"), GL_TEXTURE_MAG_FILTER));
    EXPECT_EQ(lumo::gfx::ifTrilinear, bank.at("b")->getFilter());

    bank.refresh(nullptr);
    EXPECT_EQ(c, texture(bank.at("c")));  // nothing loaded again
    bank.reload();
    bank.release();
    EXPECT_EQ(GL_FALSE, glIsTexture(c));
    EXPECT_EQ(0u, texture(bank.at("c")));
    EXPECT_EQ(16u, bank.at("a")->getWidth());
    EXPECT_EQ(lumo::gfx::RectInt(0, 0, 16, 8), bank.at("a")->getOuterBoundingBox());
    EXPECT_EQ(mask, bank.at("c")->getBitmask());
    bank.refresh(nullptr);
    EXPECT_NE(0u, texture(bank.at("c")));
}

TEST_F(ImageBankTest, ABadFileStopsARefreshWithItsMessageAndTheLoaderGetsPastIt) {
    dir.write("bad", "not a picture");
    try {
        bank.refresh(&counter);
        ADD_FAILURE() << "refresh did not throw";
    } catch (const std::string& message) {
        EXPECT_NE(std::string::npos, message.find(dir.file("bad"))) << message;
    }
    EXPECT_EQ(2, counter.count);  // a and b, in name order
    EXPECT_NE(0u, texture(bank.at("b")));
    EXPECT_EQ(0u, texture(bank.at("c")));
    // The row cache that the last image would have let go is released anyway.
    EXPECT_EQ(0, lumo::gfx::bitmaskCacheSize());

    lumo::gfx::ImageLoader loader(&bank, nullptr);
    EXPECT_EQ(4u, loader.totalCount);
    loader.perform(0);  // the deadline has passed already
    EXPECT_EQ(0u, loader.finishedCount);
    EXPECT_THROW(loader.perform(SDL_GetTicks() + 60000), std::string);  // a, b, then bad
    EXPECT_EQ(3u, loader.finishedCount);
    EXPECT_FALSE(loader.hasFinished);
    loader.perform(SDL_GetTicks() + 60000);
    EXPECT_TRUE(loader.hasFinished);
    EXPECT_EQ(4u, loader.finishedCount);
    EXPECT_NE(0u, texture(bank.at("c")));
    EXPECT_EQ(0, lumo::gfx::bitmaskCacheSize());
}

}  // namespace
