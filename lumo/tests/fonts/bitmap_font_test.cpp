#include "gfx/fonts/bitmap_font.hpp"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "gfx/fonts/font_bank.hpp"
#include "gfx/images/image_bank.hpp"
#include "support/gl_test_window.hpp"
#include "support/temp_dir.hpp"
#include "xml/node.hpp"

using lumo::Rect;
using lumo::fonts::BitmapFont;
using lumo::fonts::FontDescriptor;
using lumo::testing::penX;
using lumo::testing::pixelAt;
using lumo::testing::Rgba;

namespace {

const Rgba RED{255, 0, 0, 255}, GREEN{0, 255, 0, 255}, BLUE{0, 0, 255, 255};
const Rgba CYAN{0, 255, 255, 255}, BLACK{0, 0, 0, 255}, CLEAR{0, 0, 0, 0};

/// A 64 x 64 glyph sheet for height 16, hPadding 2, vPadding 2: line 1 (rows 0-15) holds 'A'
/// in red at columns 0-3 and 'C' in green at 6-9; line 3 (rows 36-51) 'E' in blue at 0-3.
/// Everything else is clear, so a glyph cut from a wrong row or column shows.
Rgba sheetColour(int x, int y) {
    if (y < 16)
        return x < 4 ? RED : (x >= 6 && x < 10 ? GREEN : CLEAR);
    return x < 4 && y >= 36 && y < 52 ? BLUE : CLEAR;
}

const std::string TEST_FONT =
    "<bitmapfont name=\"T\" size=\"12\" height=\"16\" spacing=\"1\" hPadding=\"2\" "
    "vPadding=\"2\"><char char=\"32\" width=\"3\"/><image file=\"sheet.png\">"
    "<line index=\"1\"><char char=\"A\" width=\"4\"/><char char=\"C\" width=\"4\"/></line>"
    "<line index=\"3\"><char char=\"0x45\" width=\"4\" yHotSpot=\"4\"/></line></image>"
    "</bitmapfont>";

class BitmapFontTest : public ::testing::Test {
  protected:
    void SetUp() override { lumo::testing::openTestWindow(); }

    /// Writes `xml` as dir/bitmapfont.xml (and the sheet as dir/sheet.png) and returns dir/.
    std::string fontDir(const std::string& dir, const std::string& xml, bool sheet = true) {
        ::mkdir(tmp.file(dir).c_str(), 0755);
        tmp.write(dir + "/bitmapfont.xml", xml);
        if (sheet)
            lumo::testing::writePicture(tmp.file(dir + "/sheet.png"), 64, 64, sheetColour);
        return tmp.file(dir) + "/";
    }

    /// Where the pen stands after `print` ran from the origin.
    static float penAfter(const std::function<void()>& print) {
        glLoadIdentity();
        print();
        return penX();
    }

    lumo::testing::TempDir tmp;
};

TEST_F(BitmapFontTest, WidthsUndefinedCodesAndThePenAfterEachJustification) {
    BitmapFont font(fontDir("t", TEST_FONT));
    EXPECT_EQ(font.getFirstChar(), 32);
    EXPECT_EQ(font.getCharCount(), 'E' - 32 + 1);
    EXPECT_EQ(font.getWidth(nullptr), 0);
    // Spacing 1 after every byte, ' ' 3 wide, 'A' and 'C' 4. 'B' lies inside the range but was
    // never defined: it advances by the spacing. Bytes outside the range count their spacing in
    // the width, yet do not move the pen.
    const struct {
        const char* text;
        int width, pen;
    } widths[] = {{"", 0, 0},   {" ", 4, 4},      {"AC", 10, 10},
                  {"AB", 6, 6}, {"A~\xC8", 7, 5}, {"\x1f", 1, 0}};
    for (const auto& c : widths) {
        EXPECT_EQ(font.getWidth(c.text), c.width) << c.text;
        EXPECT_EQ(penAfter([&] { font.print(c.text); }), c.pen) << c.text;
    }
    // jhRight ends at the pen, which comes back to where it was; jhCenter rounds toward the
    // left (-9 >> 1 is -5); the rectangle print moves there and back.
    EXPECT_EQ(penAfter([&] { font.print(lumo::jhLeft, "AC"); }), 10);
    EXPECT_EQ(penAfter([&] { font.print(lumo::jhRight, "AC"); }), 0);
    EXPECT_EQ(penAfter([&] { font.print(lumo::jhCenter, "AC"); }), 5);
    EXPECT_EQ(
        penAfter([&] { font.print(Rect(100, 100, 50, 20), lumo::jhRight, lumo::jvTop, "AC"); }),
        10);
    EXPECT_EQ(lumo::testing::penY(), 0);
    // Formatted prints go the same way, cut at 1023 characters.
    const std::string longText(5000, ' ');
    const char* spaces = longText.c_str();
    EXPECT_EQ(penAfter([&] { font.printf("%s", spaces); }), 1023 * 4);
    EXPECT_EQ(penAfter([&] { font.printf(lumo::jhCenter, "%s%s", spaces, "AC"); }), 1023 * 2);
    EXPECT_EQ(penAfter([&] {
                  font.printf(Rect(0, 0, 9, 9), lumo::jhLeft, lumo::jvBottom, "%s", spaces);
              }),
              1023 * 4);
}

TEST_F(BitmapFontTest, GlyphsComeFromTheirRowsWithPaddingAndOneImageIsBoundOncePerPrint) {
    BitmapFont font(fontDir("t", TEST_FONT));
    ASSERT_NE(font.getOnlyImage(), nullptr);
    // Whatever texture was bound before, the print binds its own and then restores the state.
    GLuint white = 0;
    glGenTextures(1, &white);
    glBindTexture(GL_TEXTURE_2D, white);
    const GLubyte texel[4] = {255, 255, 255, 255};
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, texel);
    glTranslatef(100, 100, 0);
    font.print("ACE");
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(static_cast<GLuint>(bound), white);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    glDeleteTextures(1, &white);
    // 'A' fills x 100-103, y 100-115, then a spacing column; 'C' comes from after 'A' and the
    // hPadding; 'E' from row (3 - 1) x (16 + 2) = 36, hanging 4 pixels below the base line.
    const struct {
        int x, y;
        Rgba colour;
    } pixels[] = {{100, 100, RED},   {103, 115, RED},   {100, 116, BLACK}, {104, 105, BLACK},
                  {105, 100, GREEN}, {108, 115, GREEN}, {109, 105, BLACK}, {110, 111, BLUE},
                  {113, 96, BLUE},   {110, 112, BLACK}, {110, 95, BLACK}};
    for (const auto& p : pixels)
        EXPECT_EQ(pixelAt(p.x, p.y), p.colour) << p.x << "," << p.y;

    // The text takes the current colour.
    glLoadIdentity();
    glTranslatef(200, 100, 0);
    glColor4f(0, 1, 0, 1);
    font.print("A");
    EXPECT_EQ(pixelAt(201, 105), BLACK);
}

TEST_F(BitmapFontTest, BadDescriptionsAreLoggedAndLeaveUsableFonts) {
    // No description, another root, no character: empty fonts that print nothing.
    BitmapFont missing(tmp.file("nowhere"));
    EXPECT_EQ(missing.getDir(), tmp.file("nowhere") + "/");
    BitmapFont wrongRoot(fontDir("root", "<font name=\"X\"/>", false));
    EXPECT_EQ(wrongRoot.name.family, "");
    BitmapFont none(fontDir("none", "<bitmapfont name=\"N\" spacing=\"2\"/>", false));
    EXPECT_EQ(none.name.family, "N");
    EXPECT_EQ(none.getWidth("ab"), 4);
    // A glyph picture that cannot be loaded leaves the font empty too.
    BitmapFont noSheet(fontDir("nosheet", TEST_FONT, false));
    for (BitmapFont* f : {&missing, &wrongRoot, &none, &noSheet}) {
        EXPECT_EQ(f->getListBase(), 0u);
        EXPECT_EQ(f->getImages(), nullptr);
        f->print("abc");
        f->printf("%d", 42);
        EXPECT_EQ(penX(), 0);
    }

    // Codes above 127 are skipped, and so are values that are empty or neither one character
    // (byte) nor a number ("ab", an "e" with an accent in UTF-8), each with a warning; other
    // values are read as integers ("12x" is 12); a blank
    // without a code becomes #32; an unnamed font is named after its directory; an image
    // without a file is skipped with its lines; a line character without a code is skipped
    // and leaves the pen in place, while one whose code is unusable takes its room. With a
    // second image (holding 'D' in cyan) each list binds its glyph's texture.
    testing::internal::CaptureStdout();
    std::string dir = fontDir("odd",
                              "<bitmapfont height=\"16\"><char char=\"200\" width=\"3\"/>"
                              "<char char=\"12x\" width=\"7\"/><char width=\"5\"/>"
                              "<char char=\"\" width=\"6\"/><char char=\"ab\" width=\"6\"/>"
                              "<char char=\"\xc3\xa9\" width=\"6\"/>"
                              "<image><line index=\"1\"><char char=\"Q\" width=\"4\"/></line>"
                              "</image><image file=\"sheet.png\"><line index=\"1\">"
                              "<char width=\"9\"/><char char=\"A\" width=\"4\"/>"
                              "<char char=\"255\" width=\"2\"/><char char=\"C\" width=\"4\"/>"
                              "</line></image><image file=\"cyan.png\"><line index=\"1\">"
                              "<char char=\"D\" width=\"8\"/></line></image></bitmapfont>");
    lumo::testing::writePicture(tmp.file("odd/cyan.png"), 8, 16, [](int, int) { return CYAN; });
    BitmapFont odd(dir);
    const std::string log = testing::internal::GetCapturedStdout();
    for (const char* line : {"No name specified for font. Using directory name.",
                             "No character index specified for blank character node. Using #32.",
                             "No filename specified for font image. Skipping image.",
                             "No character index specified for character node. Skipping "
                             "character.",
                             "(warning) Character code \"\" is neither one character nor a number. "
                             "Skipping character.",
                             "Character code \"ab\" is neither one character nor a number.",
                             "Character code \"\xc3\xa9\" is neither one character nor a number.",
                             "(warning) Character code \"200\" is not one of 0 to 127. Skipping "
                             "character."})
        EXPECT_NE(log.find(line), std::string::npos) << line;
    EXPECT_EQ(odd.name.family, dir);
    EXPECT_EQ(odd.getFirstChar(), 12);
    EXPECT_EQ(odd.getCharCount(), 'D' - 12 + 1);
    EXPECT_EQ(odd.getCharWidth(12), 7);
    EXPECT_EQ(odd.getCharWidth(' '), 5);
    EXPECT_EQ(odd.getCharWidth('Q'), 0);
    EXPECT_EQ(odd.getOnlyImage(), nullptr);
    glTranslatef(400, 300, 0);
    odd.print("ADC");
    const std::pair<int, Rgba> columns[] = {
        {401, RED}, {404, CYAN}, {411, CYAN}, {412, GREEN}, {415, GREEN}};
    for (const auto& c : columns)
        EXPECT_EQ(pixelAt(c.first, 305), c.second) << c.first;
}

TEST_F(BitmapFontTest, BankReplacesFontsOfTheSameKeyAndFollowsRenames) {
    std::unique_ptr<lumo::BasicResourceBank> bank(
        lumo::fonts::resourceBankGenerator.generateBank("fonts"));
    lumo::fonts::FontBank& fonts = dynamic_cast<lumo::fonts::FontBank&>(*bank);

    auto withName = [](const std::string& family, const std::string& size) {
        std::string xml = TEST_FONT;
        xml.replace(xml.find("\"T\""), 3, "\"" + family + "\"");
        return xml.replace(xml.find("\"12\""), 4, "\"" + size + "\"");
    };
    fontDir("f1", TEST_FONT);
    fontDir("f2", TEST_FONT);
    fontDir("f3", withName("U", "12"));
    lumo::xml::Node root("fonts", nullptr);
    for (const char* d : {"f1/", "f2/", "f3/", "f4/"}) {
        root += new lumo::xml::Node("bitmapfont", nullptr);
        (*root.children.back())["dir"] = d;
    }
    root += new lumo::xml::Node("truetype", nullptr);
    fonts.getFromNode(&root, tmp.path() + "/");
    // f2 replaced f1 (same name and size); f4 has no description and is keyed ("", 0).
    ASSERT_EQ(fonts.size(), 3u);
    auto find = [&fonts](const char* family, unsigned size) {
        return dynamic_cast<BitmapFont*>(fonts[FontDescriptor(family, size, lumo::fonts::fsPlain)]);
    };
    BitmapFont* t = find("T", 12);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->getDir(), tmp.file("f2") + "/");
    ASSERT_NE(find("U", 12), nullptr);

    // A renamed description re-keys the font at the next refresh...
    tmp.write("f2/bitmapfont.xml", withName("T", "14"));
    fonts.refresh();
    EXPECT_EQ(find("T", 12), nullptr);
    EXPECT_EQ(find("T", 14), t);
    EXPECT_EQ(fonts.size(), 3u);
    // ... and one that takes the key of a font refreshed after it destroys that font, which the
    // refresh then skips.
    tmp.write("f2/bitmapfont.xml", withName("U", "12"));
    fonts.refresh();
    EXPECT_EQ(fonts.size(), 2u);
    EXPECT_EQ(find("U", 12), t);
    EXPECT_NE(t->getListBase(), 0u);
}

// The game's own font: the text must land where its justification says.
TEST(GameFont, TextLandsWhereItsJustificationSays) {
    lumo::testing::openTestWindow();
    BitmapFont font(LUMO_GAME_DATA "/fonts/arial10/");
    ASSERT_EQ(font.name.family, "Arial");
    EXPECT_EQ(font.name.size, 10u);
    ASSERT_NE(font.getOnlyImage(), nullptr);
    EXPECT_EQ(font.getCharCount(), 126 - 32 + 1);
    const int h = font.getHeight(), s = font.yHotSpot;

    // A print leaves the pen after the text, so each one starts from a fresh matrix.
    const lumo::Rect r(100, 300, 600, 100);
    font.print(r, lumo::jhLeft, lumo::jvTop, "Left top");
    glLoadIdentity();
    font.print(r, lumo::jhCenter, lumo::jvCenter, "Centred");
    glLoadIdentity();
    font.print(r, lumo::jhRight, lumo::jvBottom, "Right bottom");
    // Relative prints: a right-justified text ends at the pen, a centred one straddles it.
    glLoadIdentity();
    glTranslatef(400, 150, 0);
    font.print(lumo::jhRight, "ends here");
    EXPECT_EQ(penX(), 400);
    glTranslatef(0, -50, 0);
    font.printf(lumo::jhCenter, "%d points", 1234);
    glLoadIdentity();

    std::vector<GLubyte> rgba(800 * 600 * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, 800, 600, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    // The lit columns (first, last) of the rows in [y0, y1); (800, -1) when none is lit.
    auto ink = [&rgba](int y0, int y1) {
        std::pair<int, int> cols(800, -1);
        for (int y = std::max(y0, 0); y < std::min(y1, 600); ++y)
            for (int x = 0; x < 800; ++x)
                if (std::max({rgba[(y * 800 + x) * 4], rgba[(y * 800 + x) * 4 + 1],
                              rgba[(y * 800 + x) * 4 + 2]}) > 64)
                    cols = {std::min(cols.first, x), std::max(cols.second, x)};
        return cols;
    };
    // Each line's glyphs span from s below its base line to h - s above it.
    auto line = [&](int base) { return ink(base - s, base - s + h); };
    const int topBase = 400 - h, centreBase = 350 - (h >> 1), bottomBase = 300;
    const auto top = line(topBase), centre = line(centreBase), bottom = line(bottomBase);
    // Nothing strays outside the lines, above the top one or between the bottom and centre.
    EXPECT_EQ(ink(topBase - s + h, 600).second, -1);
    EXPECT_EQ(ink(bottomBase - s + h, centreBase - s).second, -1);
    // Capital letters reach well above the base line.
    EXPECT_NE(ink(topBase + 7, topBase - s + h).second, -1);

    EXPECT_GE(top.first, 100);
    EXPECT_LE(top.first, 102);
    EXPECT_LE(top.second, 400);
    EXPECT_GE(bottom.first, 400);
    EXPECT_GE(bottom.second, 695);
    EXPECT_LE(bottom.second, 699);
    ASSERT_NE(centre.second, -1);
    EXPECT_NEAR((centre.first + centre.second) / 2.0, 400, 3);
    const auto ends = line(150), points = line(100);
    EXPECT_GE(ends.second, 396);
    EXPECT_LE(ends.second, 399);
    ASSERT_NE(points.second, -1);
    EXPECT_NEAR((points.first + points.second) / 2.0, 400, 3);
}

}  // namespace
