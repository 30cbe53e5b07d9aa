#include <GL/gl.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "gfx/images/simple_image.hpp"
#include "images/pictures.hpp"
#include "lumo/render_context.hpp"
#include "support/temp_dir.hpp"

using lumo::Rect;
using lumo::Vector2D;
using lumo::gfx::SimpleImage;
using lumo::testing::Rgba;
using lumo::testing::TempDir;

namespace {

typedef std::array<int, 3> Rgb;
const Rgb red{255, 0, 0}, green{0, 255, 0}, blue{0, 0, 255}, yellow{255, 255, 0};
const Rgb background{40, 40, 40};

// A 6 x 4 picture (texture 8 x 4) with 3 x 2 quadrants: red top left, green top right, blue
// bottom left, yellow bottom right. Window pixels are virtual units, y upwards.
class Drawing : public ::testing::Test {
  protected:
    void SetUp() override {
        lumo::testing::openWindow();
        path = dir.file("quadrants.png");
        lumo::testing::writePng(path, 6, 4, [](int x, int y) {
            const Rgb& c = y < 2 ? (x < 3 ? red : green) : (x < 3 ? blue : yellow);
            return Rgba{c[0], c[1], c[2], 255};
        });
        image = load(false);

        lumo::setClearColor(lumo::Color(40 / 255.f, 40 / 255.f, 40 / 255.f, 1));
        lumo::clearScreen();
        lumo::RenderContext2D context(Vector2D(128, 128));
        context.blending = true;
        context.apply();
        lumo::resetCursor();
        lumo::Color(1, 1, 1, 1).apply();
    }
    void TearDown() override {
        for (auto& i : loaded)
            i->release(true);
    }
    SimpleImage* load(bool clamp) {
        loaded.emplace_back(new SimpleImage("quadrants", path));
        loaded.back()->setFilterChoice(lumo::gfx::ifNone);
        loaded.back()->setClamp(clamp);
        loaded.back()->refresh(true);
        return loaded.back().get();
    }
    static Rgb pixel(int x, int y) {
        unsigned char p[4] = {0, 0, 0, 0};
        glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
        return {p[0], p[1], p[2]};
    }

    TempDir dir;
    std::string path;
    std::vector<std::unique_ptr<SimpleImage>> loaded;
    SimpleImage* image = nullptr;
};

TEST_F(Drawing, AtAPositionTheHotspotMovesThePictureLeftAndUp) {
    image->setHotspot(Vector2D(4, 2));
    image->draw(Vector2D(10, 10));
    // Bottom-left corner at (10 - 4, 10 + 2); upright.
    EXPECT_EQ(blue, pixel(6, 12));
    EXPECT_EQ(blue, pixel(8, 13));
    EXPECT_EQ(red, pixel(6, 15));
    EXPECT_EQ(green, pixel(11, 15));
    EXPECT_EQ(yellow, pixel(11, 12));
    EXPECT_EQ(background, pixel(5, 12));
    EXPECT_EQ(background, pixel(6, 11));
    EXPECT_EQ(background, pixel(12, 15));
    EXPECT_EQ(background, pixel(6, 16));

    // The model-view matrix is restored: a second draw lands where it is told.
    image->setHotspot(Vector2D(0, 0));
    image->draw(Vector2D(100, 100));
    EXPECT_EQ(blue, pixel(100, 100));
    EXPECT_EQ(green, pixel(105, 103));
}

TEST_F(Drawing, IntoARectangleAtPixelScaleCroppingOrShowingWhatLiesBeyond) {
    image->draw(Rect(20, 30, 6, 4));
    EXPECT_EQ(red, pixel(20, 33));
    EXPECT_EQ(green, pixel(25, 33));
    EXPECT_EQ(blue, pixel(20, 30));
    EXPECT_EQ(yellow, pixel(25, 30));

    // A smaller rectangle shows the top-left part only.
    image->draw(Rect(40, 40, 3, 2));
    EXPECT_EQ(red, pixel(40, 40));
    EXPECT_EQ(red, pixel(42, 41));
    EXPECT_EQ(background, pixel(43, 40));

    // A larger one shows the transparent padding at the right and, below the texture's four
    // rows, the texture again from its top, or its bottom row stretched when clamped.
    image->draw(Rect(50, 50, 8, 6));
    EXPECT_EQ(red, pixel(50, 55));
    EXPECT_EQ(background, pixel(56, 55));
    EXPECT_EQ(background, pixel(57, 52));
    EXPECT_EQ(blue, pixel(50, 52));
    EXPECT_EQ(red, pixel(50, 50));
    load(true)->draw(Rect(70, 50, 8, 6));
    EXPECT_EQ(red, pixel(70, 55));
    EXPECT_EQ(blue, pixel(70, 50));
    EXPECT_EQ(yellow, pixel(75, 50));
}

TEST_F(Drawing, StretchedOntoARectangleMirroredTopToBottom) {
    image->drawStretched(Rect(70, 10, 12, 8));
    // The picture's top row lies on the rectangle's bottom edge.
    EXPECT_EQ(red, pixel(70, 10));
    EXPECT_EQ(red, pixel(75, 13));
    EXPECT_EQ(green, pixel(81, 10));
    EXPECT_EQ(blue, pixel(70, 17));
    EXPECT_EQ(yellow, pixel(81, 17));
    EXPECT_EQ(yellow, pixel(76, 14));
    EXPECT_EQ(background, pixel(82, 10));
    EXPECT_EQ(background, pixel(70, 18));
}

TEST_F(Drawing, LeavesTexturingAsItWasAndDrawsNothingWithoutATexture) {
    glDisable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, 0);
    lumo::Color(1, 1, 1, 0.5f).apply();
    image->draw(Vector2D(0, 0));
    image->draw(Rect(10, 0, 6, 4));
    image->drawStretched(Rect(20, 0, 6, 4));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    GLint bound = -1;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(0, bound);
    GLfloat colour[4] = {0, 0, 0, 0};
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_FLOAT_EQ(0.5f, colour[3]);
    // The current colour tints the picture: half-transparent red over the grey background.
    const Rgb tinted = pixel(0, 3);
    EXPECT_NEAR(148, tinted[0], 1);
    EXPECT_NEAR(20, tinted[1], 1);
    EXPECT_NEAR(20, tinted[2], 1);

    SimpleImage unloaded("unloaded", path);
    unloaded.draw(Vector2D(30, 100));
    unloaded.draw(Rect(30, 100, 6, 4));
    unloaded.drawStretched(Rect(30, 100, 6, 4));
    EXPECT_EQ(background, pixel(30, 100));
    EXPECT_EQ(background, pixel(35, 103));
}

}  // namespace
