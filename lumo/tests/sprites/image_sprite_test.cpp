#include "sprites/sprites/image_sprite.hpp"

#include <gtest/gtest.h>

#include "gfx/animations/animation.hpp"
#include "gfx/animations/animation_reference.hpp"
#include "gfx/images/image_bank.hpp"
#include "gfx/images/simple_image.hpp"
#include "sprites/sprites/sprite_engine.hpp"
#include "support/gl_test_window.hpp"
#include "support/temp_dir.hpp"

using lumo::Color;
using lumo::gfx::AnimationReference;
using lumo::gfx::RectInt;
using lumo::sprites::ImageSprite;
using lumo::testing::pixelAt;
using lumo::testing::Rgba;
typedef lumo::basic_Vector2D<float> V;

namespace {

const Rgba RED{255, 0, 0, 255}, GREY{64, 64, 64, 255};

int referencesDestroyed = 0;
class CountedReference : public AnimationReference {
  public:
    using AnimationReference::AnimationReference;
    ~CountedReference() override { ++referencesDestroyed; }
};

class ImageSpriteTest : public ::testing::Test {
  protected:
    void SetUp() override {
        lumo::testing::openTestWindow();
        // "block": 8 x 6 opaque red with hotspot (2, 1); "ring": 10 x 10, a masked opaque
        // border around a clear middle, so its inner box is one border line.
        lumo::testing::writePicture(tmp.file("block.png"), 8, 6, [](int, int) { return RED; });
        lumo::testing::writePicture(tmp.file("ring.png"), 10, 10, [](int x, int y) {
            return x % 9 == 0 || y % 9 == 0 ? Rgba{255, 255, 255, 255} : Rgba{0, 0, 0, 0};
        });
        bank += block = new lumo::gfx::SimpleImage("block", tmp.file("block.png"));
        bank += ring = new lumo::gfx::SimpleImage("ring", tmp.file("ring.png"));
        block->setHotspot(lumo::Vector2D(2, 1));
        ring->setBitmaskThreshold(0.5f);
        bank.refresh(nullptr);
        animation.frames = {{block, 100}, {ring, 100}};
        animation.loop = true;
    }
    void TearDown() override { bank.release(); }

    lumo::testing::TempDir tmp;
    lumo::gfx::ImageBank bank;
    lumo::gfx::SimpleImage *block = nullptr, *ring = nullptr;
    lumo::gfx::Animation animation{"walk"};
};

TEST_F(ImageSpriteTest, ImageDataFollowsTheImageAndTheAnimationFrame) {
    // Without an image (from the start, or again later) everything is zero; perform is safe.
    ImageSprite sprite(V(5, 5), true, ring);
    EXPECT_EQ(sprite.innerBoundingBox.dimensions.x * sprite.innerBoundingBox.dimensions.y, 10);
    ASSERT_NE(ring->getBitmask(), nullptr);
    EXPECT_EQ(sprite.getBitmask(), ring->getBitmask());
    sprite.setImage(nullptr);
    sprite.perform(10);
    EXPECT_EQ(sprite.dimensions, V(0, 0));
    EXPECT_EQ(sprite.outerBoundingBox, RectInt());
    EXPECT_EQ(sprite.getBitmask(), nullptr);

    AnimationReference* ref = sprite.setAnimation(&animation, 1.0f);
    ASSERT_NE(ref, nullptr);
    EXPECT_EQ(sprite.getImage(), ref);
    EXPECT_EQ(sprite.hotspot, V(2, 1));
    EXPECT_EQ(sprite.getBitmask(), nullptr);
    sprite.perform(101);
    EXPECT_EQ(sprite.dimensions, V(10, 10));
    EXPECT_EQ(sprite.hotspot, V(0, 0));
    EXPECT_EQ(sprite.getBitmask(), ring->getBitmask());

    // Owned references go when replaced or with the sprite; showing the shown one keeps it;
    // bank images are never deleted.
    referencesDestroyed = 0;
    {
        ImageSprite owner(V(0, 0), true, new CountedReference(&animation, 1));
        owner.setImage(owner.getImage());
        EXPECT_EQ(referencesDestroyed, 0);
        owner.setImage(new CountedReference(&animation, 1));
        EXPECT_EQ(referencesDestroyed, 1);
        owner.setImage(block);
        EXPECT_EQ(referencesDestroyed, 2);
        owner.setImage(ring);
        owner.setImage(new CountedReference(&animation, 1));
    }
    EXPECT_EQ(referencesDestroyed, 3);
    EXPECT_EQ(bank["block"], block);
    EXPECT_EQ(bank.size(), 2u);
}

TEST_F(ImageSpriteTest, EngineDrawsAtHotspotsInOrderWithBlendModesAndPutsStateBack) {
    glClearColor(0.25f, 0.25f, 0.25f, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ZERO);
    GLuint other = 0;
    glGenTextures(1, &other);
    glBindTexture(GL_TEXTURE_2D, other);
    glColor4f(0.1f, 0.2f, 0.3f, 0.4f);

    // block's hotspot (2, 1) lies on pos: a at (100, 200) covers x 98 to 105, y 195 to 200.
    ImageSprite a(V(100, 200), true, block), hidden(V(300, 200), false, block);
    ImageSprite tinted(V(104, 200), true, block), half(V(100, 100), true, block);
    ImageSprite added(V(200, 100), true, block), animated(V(50.5f, 80), true, nullptr);
    tinted.setColor(Color(0.5f, 1, 1, 1));
    half.setColor(Color(1, 0, 0, 0.5f));
    added.setColor(Color(1, 0, 0, 0.5f));
    // A tinted animation frame, to be compared with the image's own drawing below.
    animated.setAnimation(&animation, 1.0f);
    animated.perform(101);
    animated.setColor(Color(1, 0.5f, 0.25f, 0.75f));
    // An additive engine: only `added` keeps its mode, the others (bmDefault) switch.
    lumo::sprites::SpriteEngine engine;
    engine.blendMode = added.blendMode = lumo::sprites::bmAdd;
    for (ImageSprite* s : {&a, &hidden, &tinted, &half, &added, &animated})
        engine.addBack(s);
    engine.draw();

    EXPECT_EQ(pixelAt(98, 195), RED);
    EXPECT_EQ(pixelAt(99, 200), RED);
    const int outside[][2] = {{97, 198}, {98, 201}, {98, 194}, {301, 198}};
    for (const auto& p : outside)
        EXPECT_EQ(pixelAt(p[0], p[1]), GREY) << p[0] << "," << p[1];
    // The later sprite covers the earlier one where they overlap.
    EXPECT_NEAR(pixelAt(103, 198)[0], 128, 1);
    // Half red over grey: 0.5 + 0.125 in red; added: 0.25 + 0.5 in red, green untouched.
    EXPECT_NEAR(pixelAt(100, 98)[0], 159, 2);
    EXPECT_NEAR(pixelAt(100, 98)[1], 32, 2);
    EXPECT_NEAR(pixelAt(200, 98)[0], 191, 2);
    EXPECT_NEAR(pixelAt(200, 98)[1], 64, 2);

    // Blending, its function, texturing, the bound texture and the colour are back.
    auto integer = [](GLenum name) {
        GLint v = 0;
        glGetIntegerv(name, &v);
        return v;
    };
    EXPECT_FALSE(glIsEnabled(GL_BLEND) || glIsEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(integer(GL_BLEND_SRC), GL_ONE);
    EXPECT_EQ(integer(GL_BLEND_DST), GL_ZERO);
    EXPECT_EQ(static_cast<GLuint>(integer(GL_TEXTURE_BINDING_2D)), other);
    GLfloat current[4];
    glGetFloatv(GL_CURRENT_COLOR, current);
    EXPECT_FLOAT_EQ(current[0], 0.1f);
    EXPECT_FLOAT_EQ(current[3], 0.4f);

    // Drawn outside a pass, through the image, the same sprite gives the same pixels.
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    animated.pos.x += 100;
    animated.drawSelf();
    glDeleteTextures(1, &other);
    int lit = 0;
    for (int y = 60; y < 100; ++y)
        for (int x = 40; x < 70; ++x) {
            ASSERT_EQ(pixelAt(x, y), pixelAt(x + 100, y)) << x << "," << y;
            lit += pixelAt(x, y) != GREY;
        }
    EXPECT_GT(lit, 30);
}

}  // namespace
