#include "gfx/images/image_bank.hpp"

#include <SDL.h>
#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <string>

#include "gfx/images/image_loader.hpp"
#include "gfx/images/simple_image.hpp"
#include "images/pictures.hpp"
#include "resources/resource_manager.hpp"
#include "support/temp_dir.hpp"

using lumo::gfx::ImageBank;
using lumo::gfx::ImageLoader;
using lumo::gfx::ImageResource;
using lumo::gfx::SimpleImage;
using lumo::testing::Rgba;
using lumo::testing::TempDir;
using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

namespace {

SimpleImage* simple(ImageResource* image) {
    return dynamic_cast<SimpleImage*>(image);
}

struct Counter : lumo::RefreshingBankHandler {
    void elementRefreshed() override { ++count; }
    int count = 0;
};

TEST(ImageBankReading, EntriesTakeTheirAttributesAndLoopsNumberThem) {
    TempDir dir;
    const std::string file = dir.write("resources.xml", R"(<resources>
  <images name="pics" dir="gfx/">
    <image filename="enemy.png"/>
    <image name="orphan"/>
    <image name="hero" filename="hero.png" hotX="4.5" hotY="-2" bitmaskThreshold="0.5"
           clamp="t" filter="trilinear"/>
    <image name="odd" filename="odd.png" filter="Linear" clamp="yes"/>
    <image name="plain" filename="plain.png" filter="none"/>
    <loop var="i" from="1" to="3" digits="2">
      <image name="walk[i]" filename="walk[i].png"/>
    </loop>
    <loop to="3"><image name="never" filename="never.png"/></loop>
    <sprite name="ignored" filename="ignored.png"/>
    <image name="plain" filename="again.png"/>
  </images>
</resources>)");
    lumo::ResourceManager manager;
    CaptureStdout();
    manager.load(file, "");
    const std::string log = GetCapturedStdout();
    std::unique_ptr<ImageBank> bank(dynamic_cast<ImageBank*>(manager["pics"]));
    manager.clear();
    ASSERT_NE(nullptr, bank);

    EXPECT_NE(std::string::npos, log.find("No name specified for image. Using filename."));
    EXPECT_NE(std::string::npos,
              log.find("No filename specified for image \"orphan\". Skipping entry."));
    EXPECT_NE(std::string::npos,
              log.find("(error) No variable specified for loop. Skipping loop."));
    EXPECT_EQ(7u, bank->size());
    EXPECT_EQ(nullptr, bank->at("orphan"));
    EXPECT_EQ(nullptr, bank->at("ignored"));

    ImageResource* enemy = bank->at("enemy.png");
    ASSERT_NE(nullptr, enemy);
    EXPECT_EQ(dir.path() + "/gfx/enemy.png", enemy->getFilename());
    EXPECT_EQ(lumo::Vector2D(0, 0), enemy->getHotspot());
    EXPECT_EQ(-1.0f, enemy->getBitmaskThreshold());
    EXPECT_FALSE(enemy->getClamp());
    EXPECT_EQ(lumo::gfx::ifLinear, enemy->getFilter());

    ImageResource* hero = bank->at("hero");
    ASSERT_NE(nullptr, hero);
    EXPECT_EQ(lumo::Vector2D(4.5f, -2), hero->getHotspot());
    EXPECT_EQ(0.5f, hero->getBitmaskThreshold());
    EXPECT_TRUE(hero->getClamp());
    EXPECT_EQ(lumo::gfx::ifTrilinear, hero->getFilter());
    EXPECT_EQ(nullptr, hero->getBitmask());  // nothing is loaded while reading
    EXPECT_EQ(0u, hero->getWidth());

    EXPECT_EQ(lumo::gfx::ifLinear, bank->at("odd")->getFilter());
    EXPECT_FALSE(bank->at("odd")->getClamp());
    // The later "plain" replaced the earlier one, filter and all.
    EXPECT_EQ(dir.path() + "/gfx/again.png", bank->at("plain")->getFilename());
    EXPECT_EQ(lumo::gfx::ifLinear, bank->at("plain")->getFilter());

    for (const char* n : {"01", "02", "03"}) {
        ImageResource* walk = bank->at(std::string("walk") + n);
        ASSERT_NE(nullptr, walk) << n;
        EXPECT_EQ(dir.path() + "/gfx/walk" + n + ".png", walk->getFilename());
    }
    EXPECT_EQ(nullptr, bank->at("walk1"));
}

class ImageBankTest : public ::testing::Test {
  protected:
    void SetUp() override {
        lumo::testing::openWindow();
        for (const char* name : {"a", "b", "c"})
            lumo::testing::writePng(dir.file(std::string(name) + ".png"), 16, 8, [](int x, int) {
                return Rgba{255, 255, 255, x < 4 ? 0 : 255};
            });
    }
    // A bank of `names`, each loading <name>.png with a bitmask.
    std::unique_ptr<ImageBank> bankOf(std::initializer_list<const char*> names) {
        std::unique_ptr<ImageBank> bank(new ImageBank);
        for (const char* name : names) {
            SimpleImage* image = new SimpleImage(name, dir.file(std::string(name) + ".png"));
            image->setBitmaskThreshold(0.5f);
            *bank += image;
        }
        return bank;
    }
    TempDir dir;
};

TEST_F(ImageBankTest, RefreshLoadsEveryImageOnceAndReleaseFreesTheTextures) {
    std::unique_ptr<ImageBank> bank = bankOf({"c", "a", "b"});
    Counter counter;
    bank->refresh(&counter);
    EXPECT_EQ(3, counter.count);
    // The bitmask row cache kept between equally wide images is let go after the last.
    EXPECT_EQ(0, lumo::gfx::bitmaskCacheSize());
    for (ImageBank::iterator it = bank->begin(); it != bank->end(); ++it) {
        EXPECT_NE(0u, simple(*it)->getTextureName()) << it.name();
        ASSERT_NE(nullptr, it->getBitmask());
        EXPECT_EQ(lumo::gfx::Bitmask::RectInt(4, 0, 12, 8), it->getOuterBoundingBox());
    }
    const GLuint texture = simple(bank->at("a"))->getTextureName();
    const lumo::gfx::Bitmask* mask = bank->at("a")->getBitmask();
    bank->refresh(nullptr);  // nothing to load again
    EXPECT_EQ(texture, simple(bank->at("a"))->getTextureName());

    bank->reload();
    EXPECT_NE(0u, simple(bank->at("a"))->getTextureName());
    EXPECT_EQ(mask, bank->at("a")->getBitmask());

    bank->release();
    for (ImageBank::iterator it = bank->begin(); it != bank->end(); ++it) {
        EXPECT_EQ(0u, simple(*it)->getTextureName());
        EXPECT_EQ(16u, it->getWidth());
        EXPECT_NE(nullptr, it->getBitmask());
    }
    EXPECT_EQ(GL_FALSE, glIsTexture(texture));
    bank->refresh(nullptr);
    EXPECT_NE(0u, simple(bank->at("b"))->getTextureName());
    bank->release();
}

TEST_F(ImageBankTest, ABadFileStopsTheRefreshWithItsMessage) {
    std::unique_ptr<ImageBank> bank = bankOf({"a", "bad", "c"});
    std::ofstream(dir.file("bad.png")) << "not a picture";
    Counter counter;
    try {
        bank->refresh(&counter);
        ADD_FAILURE() << "refresh did not throw";
    } catch (const std::string& message) {
        EXPECT_NE(std::string::npos, message.find(dir.file("bad.png"))) << message;
    }
    EXPECT_EQ(1, counter.count);
    EXPECT_NE(0u, simple(bank->at("a"))->getTextureName());
    EXPECT_EQ(0u, simple(bank->at("c"))->getTextureName());
    EXPECT_EQ(0, lumo::gfx::bitmaskCacheSize());
    bank->release();
}

TEST_F(ImageBankTest, TheLoaderRefreshesImagesWithinItsDeadlinesAndGetsPastBadFiles) {
    std::unique_ptr<ImageBank> bank = bankOf({"a", "bad", "c"});
    ImageLoader loader(bank.get(), nullptr);
    EXPECT_EQ(3u, loader.totalCount);

    loader.perform(0);  // deadline passed already
    EXPECT_EQ(0u, loader.finishedCount);
    EXPECT_FALSE(loader.hasFinished);

    EXPECT_THROW(loader.perform(SDL_GetTicks() + 60000), std::string);
    EXPECT_EQ(2u, loader.finishedCount);
    EXPECT_NE(0u, simple(bank->at("a"))->getTextureName());
    loader.perform(SDL_GetTicks() + 60000);
    EXPECT_TRUE(loader.hasFinished);
    EXPECT_EQ(3u, loader.finishedCount);
    EXPECT_FLOAT_EQ(1.0f, loader.getProgressRelative());
    EXPECT_NE(0u, simple(bank->at("c"))->getTextureName());
    EXPECT_EQ(0, lumo::gfx::bitmaskCacheSize());
    bank->release();
}

TEST(ImageBankGenerator, MakesImageBanksOnlyForItsType) {
    std::unique_ptr<lumo::BasicResourceBank> bank(
        lumo::gfx::imageResourceBankGenerator.generateBank("images"));
    ASSERT_NE(nullptr, dynamic_cast<ImageBank*>(bank.get()));
    EXPECT_EQ("images", bank->getNodeName());
    EXPECT_EQ(nullptr, lumo::gfx::imageResourceBankGenerator.generateBank("image"));
}

}  // namespace
