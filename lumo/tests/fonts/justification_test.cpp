// The game's own font drawn in a window: the text must land where its justification says.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "gfx/fonts/bitmap_font.hpp"
#include "lumo/screenshot.hpp"
#include "support/gl_test_window.hpp"

using lumo::Rect;
using lumo::fonts::BitmapFont;

namespace {

/// The extent of lit pixels inside a band of the window.
struct Ink {
    int minX = 10000, maxX = -1, minY = 10000, maxY = -1;
    bool any() const { return maxX >= 0; }
};

Ink inkIn(const std::vector<GLubyte>& rgba, int x0, int y0, int x1, int y1) {
    Ink ink;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            const GLubyte* p = &rgba[(y * 800 + x) * 4];
            if (p[0] > 64 || p[1] > 64 || p[2] > 64) {
                ink.minX = std::min(ink.minX, x);
                ink.maxX = std::max(ink.maxX, x);
                ink.minY = std::min(ink.minY, y);
                ink.maxY = std::max(ink.maxY, y);
            }
        }
    return ink;
}

TEST(GameFont, TextLandsWhereItsJustificationSays) {
    lumo::testing::openTestWindow();
    BitmapFont font(LUMO_GAME_DATA "/fonts/arial10/");
    ASSERT_EQ(font.name.family, "Arial");
    EXPECT_EQ(font.name.size, 10u);
    ASSERT_NE(font.getListBase(), 0u);
    EXPECT_EQ(font.getFirstChar(), 32);
    EXPECT_EQ(font.getCharCount(), 126 - 32 + 1);
    ASSERT_NE(font.getOnlyImage(), nullptr);
    for (int c = 33; c <= 126; ++c)
        EXPECT_GT(font.getCharWidth(static_cast<unsigned char>(c)), 0) << c;
    const int h = font.getHeight();
    const int s = font.yHotSpot;

    const Rect r(100, 300, 600, 100);
    glColor4f(1, 1, 1, 1);
    // A print leaves the pen after the text, so each one starts from a fresh matrix.
    font.print(r, lumo::jhLeft, lumo::jvTop, "Left top");
    glLoadIdentity();
    font.print(r, lumo::jhCenter, lumo::jvCenter, "Centred");
    glLoadIdentity();
    font.print(r, lumo::jhRight, lumo::jvBottom, "Right bottom");
    // Relative prints: a right-justified text ends at the pen, a centred one straddles it.
    glLoadIdentity();
    glTranslatef(400, 150, 0);
    font.print(lumo::jhRight, "ends here");
    EXPECT_EQ(lumo::testing::penX(), 400);
    glTranslatef(0, -50, 0);
    font.printf(lumo::jhCenter, "%d points", 1234);
    glLoadIdentity();

    std::vector<GLubyte> rgba(800 * 600 * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, 800, 600, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    // Kept next to the test binary for a look by eye.
    lumo::saveScreenshot("fonts_justification.png");

    // Each line's glyph cells span from s below its base line to h - s above it.
    const int topBase = 400 - h, centreBase = 350 - (h >> 1), bottomBase = 300;
    Ink top = inkIn(rgba, 0, topBase - s, 800, topBase - s + h);
    Ink centre = inkIn(rgba, 0, centreBase - s, 800, centreBase - s + h);
    Ink bottom = inkIn(rgba, 0, bottomBase - s, 800, bottomBase - s + h);
    ASSERT_TRUE(top.any() && centre.any() && bottom.any());
    // Nothing strays outside the three lines within the rectangle's height.
    EXPECT_FALSE(inkIn(rgba, 0, topBase - s + h, 800, 600).any());
    EXPECT_FALSE(inkIn(rgba, 0, bottomBase - s + h, 800, centreBase - s).any());

    EXPECT_GE(top.minX, 100);
    EXPECT_LE(top.minX, 102);
    EXPECT_LE(top.maxX, 400);
    EXPECT_LE(bottom.maxX, 699);
    EXPECT_GE(bottom.maxX, 695);
    EXPECT_GE(bottom.minX, 400);
    EXPECT_NEAR((centre.minX + centre.maxX) / 2.0, 400, 3);
    // Capital letters reach well above the base line, and nothing of the first line lies on it
    // further down than the hot spot allows.
    EXPECT_GE(top.maxY, topBase + 7);
    EXPECT_GE(bottom.minY, bottomBase - s);

    Ink ends = inkIn(rgba, 0, 150 - s, 800, 150 - s + h);
    EXPECT_LE(ends.maxX, 399);
    EXPECT_GE(ends.maxX, 396);
    Ink points = inkIn(rgba, 0, 100 - s, 800, 100 - s + h);
    EXPECT_NEAR((points.minX + points.maxX) / 2.0, 400, 3);
}

}  // namespace
