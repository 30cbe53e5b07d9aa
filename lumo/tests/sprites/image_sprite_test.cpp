#include "sprites/sprites/image_sprite.hpp"

#include <gtest/gtest.h>

#include <string>

#include "gfx/animations/animation.hpp"
#include "gfx/animations/animation_reference.hpp"
#include "gfx/images/image_bank.hpp"
#include "gfx/images/simple_image.hpp"
#include "sprites/sprites/sprite_engine.hpp"
#include "sprites/test_sprite.hpp"
#include "support/gl_test_window.hpp"
#include "support/temp_dir.hpp"

using lumo::basic_Vector2D;
using lumo::gfx::Animation;
using lumo::gfx::AnimationFrame;
using lumo::gfx::AnimationReference;
using lumo::gfx::ImageBank;
using lumo::gfx::RectInt;
using lumo::gfx::SimpleImage;
using lumo::sprites::ImageSprite;
using lumo::sprites::SpriteEngine;
using lumo::testing::pixelAt;
using lumo::testing::Rgba;

namespace {

const Rgba RED{255, 0, 0, 255}, BLACK{0, 0, 0, 255};

/// Counts destroyed references.
int referencesDestroyed = 0;
class CountedReference : public AnimationReference {
  public:
    using AnimationReference::AnimationReference;
    ~CountedReference() override { ++referencesDestroyed; }
};

/// A quarter-grey background that additive drawing adds to.
void fillGrey() {
    glColor4f(0.25f, 0.25f, 0.25f, 1);
    glBegin(GL_QUADS);
    glVertex2i(0, 0);
    glVertex2i(800, 0);
    glVertex2i(800, 600);
    glVertex2i(0, 600);
    glEnd();
}

class ImageSpriteTest : public ::testing::Test {
  protected:
    void SetUp() override {
        lumo::testing::openTestWindow();
        // "block": 8 x 6, opaque red; "ring": 10 x 10, opaque border around a clear middle
        // (masked), so its inner box is one border line.
        lumo::testing::writePicture(tmp.file("block.png"), 8, 6, [](int, int) { return RED; });
        lumo::testing::writePicture(tmp.file("ring.png"), 10, 10, [](int x, int y) {
            bool border = x == 0 || y == 0 || x == 9 || y == 9;
            return border ? Rgba{255, 255, 255, 255} : Rgba{0, 0, 0, 0};
        });
        block = new SimpleImage("block", tmp.file("block.png"));
        block->setHotspot(lumo::Vector2D(2, 1));
        ring = new SimpleImage("ring", tmp.file("ring.png"));
        ring->setBitmaskThreshold(0.5f);
        bank += block;
        bank += ring;
        bank.refresh(nullptr);
        animation.frames.push_back(AnimationFrame(block, 100));
        animation.frames.push_back(AnimationFrame(ring, 100));
        animation.loop = true;
    }
    void TearDown() override { bank.release(); }

    lumo::testing::TempDir tmp;
    ImageBank bank;
    SimpleImage* block = nullptr;
    SimpleImage* ring = nullptr;
    Animation animation{"walk"};
};

TEST_F(ImageSpriteTest, ImageDataFollowsTheImageAndTheAnimationFrame) {
    ImageSprite none(basic_Vector2D<float>(5, 5), true, nullptr);
    EXPECT_EQ(none.dimensions, basic_Vector2D<float>(0, 0));
    EXPECT_EQ(none.hotspot, basic_Vector2D<float>(0, 0));
    EXPECT_EQ(none.outerBoundingBox, RectInt());
    EXPECT_EQ(none.innerBoundingBox, RectInt());
    EXPECT_EQ(none.getBitmask(), nullptr);
    none.perform(10);
    none.drawSelf();
    for (int i = 0; i < 4; ++i)
        for (int c = 0; c < 4; ++c)
            EXPECT_EQ(none.vertexColors[i][c], 1.0f);

    ImageSprite sprite(basic_Vector2D<float>(5, 5), true, ring);
    EXPECT_EQ(sprite.dimensions, basic_Vector2D<float>(10, 10));
    ASSERT_NE(sprite.getBitmask(), nullptr);
    EXPECT_EQ(sprite.getBitmask(), ring->getBitmask());
    EXPECT_EQ(sprite.outerBoundingBox, RectInt(0, 0, 10, 10));
    EXPECT_EQ(sprite.innerBoundingBox, ring->getInnerBoundingBox());
    EXPECT_EQ(sprite.innerBoundingBox.dimensions.x * sprite.innerBoundingBox.dimensions.y, 10);

    // Back to no image: everything zero again.
    sprite.setImage(nullptr);
    EXPECT_EQ(sprite.dimensions, basic_Vector2D<float>(0, 0));
    EXPECT_EQ(sprite.outerBoundingBox, RectInt());
    EXPECT_EQ(sprite.innerBoundingBox, RectInt());
    EXPECT_EQ(sprite.getBitmask(), nullptr);

    AnimationReference* ref = sprite.setAnimation(&animation, 1.0f);
    ASSERT_NE(ref, nullptr);
    EXPECT_EQ(sprite.getImage(), ref);
    EXPECT_EQ(sprite.dimensions, basic_Vector2D<float>(8, 6));
    EXPECT_EQ(sprite.hotspot, basic_Vector2D<float>(2, 1));
    EXPECT_EQ(sprite.getBitmask(), nullptr);
    sprite.perform(101);
    EXPECT_EQ(ref->getIndex(), 1u);
    EXPECT_EQ(sprite.dimensions, basic_Vector2D<float>(10, 10));
    EXPECT_EQ(sprite.hotspot, basic_Vector2D<float>(0, 0));
    EXPECT_EQ(sprite.getBitmask(), ring->getBitmask());
    EXPECT_EQ(sprite.setAnimation(nullptr, 1.0f), nullptr);
    EXPECT_EQ(sprite.getImage(), nullptr);
}

TEST_F(ImageSpriteTest, OwnedReferencesAreDeletedWhenReplacedOrWithTheSprite) {
    referencesDestroyed = 0;
    {
        ImageSprite sprite(basic_Vector2D<float>(0, 0), true, new CountedReference(&animation, 1));
        // Showing the same reference again keeps it.
        sprite.setImage(sprite.getImage());
        EXPECT_EQ(referencesDestroyed, 0);
        sprite.setImage(new CountedReference(&animation, 1));
        EXPECT_EQ(referencesDestroyed, 1);
        // Bank images are never deleted by the sprite.
        sprite.setImage(block);
        EXPECT_EQ(referencesDestroyed, 2);
        sprite.setImage(ring);
        sprite.setImage(new CountedReference(&animation, 1));
    }
    EXPECT_EQ(referencesDestroyed, 3);
    EXPECT_EQ(bank.size(), 2u);
    EXPECT_EQ(bank["block"], block);
}

TEST_F(ImageSpriteTest, EngineDrawsVisibleSpritesAtTheirHotspotsInListOrder) {
    SpriteEngine engine;
    // block's hotspot (2, 1) lies on pos: its top-left corner is the point (98, 201), so it
    // covers the pixels x 98 to 105, y 195 to 200.
    ImageSprite a(basic_Vector2D<float>(100, 200), true, block);
    ImageSprite hidden(basic_Vector2D<float>(300, 200), false, block);
    ImageSprite tinted(basic_Vector2D<float>(104, 200), true, block);
    tinted.setColor(lumo::Color(0.5f, 1, 1, 1));
    engine.addBack(&a);
    engine.addBack(&hidden);
    engine.addBack(&tinted);
    engine.draw();
    EXPECT_EQ(pixelAt(98, 195), RED);
    EXPECT_EQ(pixelAt(99, 200), RED);
    EXPECT_EQ(pixelAt(97, 198), BLACK);
    EXPECT_EQ(pixelAt(98, 201), BLACK);
    EXPECT_EQ(pixelAt(98, 194), BLACK);
    // The later sprite covers the earlier one where they overlap.
    EXPECT_NEAR(pixelAt(103, 198)[0], 128, 1);
    EXPECT_NEAR(pixelAt(109, 198)[0], 128, 1);
    EXPECT_EQ(pixelAt(301, 198), BLACK);
}

TEST_F(ImageSpriteTest, BlendModesSwitchOnlyWhereTheyDifferAndAreRestored) {
    glBlendFunc(GL_ONE, GL_ZERO);
    glDisable(GL_BLEND);
    fillGrey();

    SpriteEngine engine;
    ImageSprite normal(basic_Vector2D<float>(100, 100), true, block);
    ImageSprite added(basic_Vector2D<float>(200, 100), true, block);
    normal.setColor(lumo::Color(1, 0, 0, 0.5f));
    added.setColor(lumo::Color(1, 0, 0, 0.5f));
    added.blendMode = lumo::sprites::bmAdd;
    engine.addBack(&normal);
    engine.addBack(&added);
    engine.draw();
    // Half red over grey: 0.5 + 0.125; added: 0.25 + 0.5 in red, grey untouched elsewhere.
    Rgba n = pixelAt(100, 98), a = pixelAt(200, 98);
    EXPECT_NEAR(n[0], 159, 2);
    EXPECT_NEAR(n[1], 32, 2);
    EXPECT_NEAR(a[0], 191, 2);
    EXPECT_NEAR(a[1], 64, 2);

    // The engine put blending and its function back as they were.
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    GLint src = 0, dst = 0;
    glGetIntegerv(GL_BLEND_SRC, &src);
    glGetIntegerv(GL_BLEND_DST, &dst);
    EXPECT_EQ(src, GL_ONE);
    EXPECT_EQ(dst, GL_ZERO);

    // An additive engine draws everything additively unless a sprite asks otherwise.
    engine.blendMode = lumo::sprites::bmAdd;
    normal.blendMode = lumo::sprites::bmAdd;
    added.blendMode = lumo::sprites::bmNormal;
    fillGrey();
    engine.draw();
    EXPECT_NEAR(pixelAt(100, 98)[0], 191, 2);
    EXPECT_NEAR(pixelAt(200, 98)[0], 159, 2);
}

TEST_F(ImageSpriteTest, EnginePassAndDirectDrawGiveTheSamePixelsAndStateComesBack) {
    // An animated sprite with a tint, drawn once by the engine and once on its own (through
    // the image's draw) 100 pixels further right.
    ImageSprite inPass(basic_Vector2D<float>(50.5f, 80), true, nullptr);
    inPass.setAnimation(&animation, 1.0f);
    inPass.perform(101);  // the ring frame
    inPass.setColor(lumo::Color(1, 0.5f, 0.25f, 0.75f));
    ImageSprite alone(basic_Vector2D<float>(150.5f, 80), true, nullptr);
    alone.setAnimation(&animation, 1.0f);
    alone.perform(101);
    alone.setColor(inPass.getColor());

    GLuint other = 0;
    glGenTextures(1, &other);
    glBindTexture(GL_TEXTURE_2D, other);
    glColor4f(0.1f, 0.2f, 0.3f, 0.4f);
    SpriteEngine engine;
    engine.addBack(&inPass);
    engine.draw();
    EXPECT_FALSE(engine.isDrawing());
    // Everything the pass touched is back.
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(static_cast<GLuint>(bound), other);
    GLfloat current[4];
    glGetFloatv(GL_CURRENT_COLOR, current);
    EXPECT_FLOAT_EQ(current[0], 0.1f);
    EXPECT_FLOAT_EQ(current[3], 0.4f);
    // The quad drawn in the pass is in the vertex arrays: bottom-left corner first.
    EXPECT_FLOAT_EQ(inPass.vertexCoordinates[0][0], 50.5f);
    EXPECT_FLOAT_EQ(inPass.vertexCoordinates[0][1], 70);
    EXPECT_FLOAT_EQ(inPass.vertexCoordinates[2][1], 80);

    alone.drawSelf();
    glBindTexture(GL_TEXTURE_2D, 0);
    glDeleteTextures(1, &other);
    int lit = 0;
    for (int y = 60; y < 100; ++y)
        for (int x = 40; x < 70; ++x) {
            ASSERT_EQ(pixelAt(x, y), pixelAt(x + 100, y)) << x << "," << y;
            lit += pixelAt(x, y) != BLACK;
        }
    EXPECT_GT(lit, 30);
}

TEST_F(ImageSpriteTest, OnlyVisibleSpritesAreDrawnInListOrder) {
    lumo::testing::CallLog drawn;
    lumo::testing::TestSprite a("A", nullptr, 0, 0), b("B", nullptr, 0, 0), c("C", nullptr, 0, 0);
    SpriteEngine engine;
    for (auto* s : {&a, &b, &c}) {
        s->drawLog = &drawn;
        engine.addBack(s);
    }
    b.visible = false;
    engine.addFront(&c);
    engine.draw();
    EXPECT_EQ(drawn, (lumo::testing::CallLog{"C", "A"}));
}

}  // namespace
