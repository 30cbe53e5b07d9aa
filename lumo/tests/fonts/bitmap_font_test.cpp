#include "gfx/fonts/bitmap_font.hpp"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <memory>
#include <string>

#include "gfx/fonts/font_bank.hpp"
#include "gfx/images/image_bank.hpp"
#include "support/gl_test_window.hpp"
#include "support/temp_dir.hpp"
#include "xml/node.hpp"

using lumo::Rect;
using lumo::fonts::BitmapFont;
using lumo::fonts::FontBank;
using lumo::fonts::FontDescriptor;
using lumo::testing::pixelAt;
using lumo::testing::readFileText;
using lumo::testing::Rgba;
using lumo::testing::TempDir;

namespace {

const Rgba RED{255, 0, 0, 255}, GREEN{0, 255, 0, 255}, BLUE{0, 0, 255, 255};
const Rgba CYAN{0, 255, 255, 255}, YELLOW{255, 255, 0, 255}, MAGENTA{255, 0, 255, 255};
const Rgba BLACK{0, 0, 0, 255}, CLEAR{0, 0, 0, 0};

/// A 64 x 64 glyph sheet for a font of height 16, hPadding 2, vPadding 2:
///   line 1 (rows 0-15):  'A' red at columns 0-3, 'C' green at columns 6-9;
///   line 3 (rows 36-51): 'E' blue at columns 0-3.
/// The rows that a line 3 ignoring vPadding would show (32-35) are yellow, the padding rows
/// (16-17) magenta, so that a wrong row shows a wrong colour.
Rgba sheetColour(int x, int y) {
    if (y < 16)
        return x < 4 ? RED : (x >= 6 && x < 10 ? GREEN : CLEAR);
    if (x >= 4)
        return CLEAR;
    if (y < 18)
        return MAGENTA;
    if (y >= 32 && y < 36)
        return YELLOW;
    if (y >= 36 && y < 52)
        return BLUE;
    return CLEAR;
}

const char* const TEST_FONT =
    "<bitmapfont name=\"T\" size=\"12\" height=\"16\" spacing=\"1\" hPadding=\"2\" "
    "vPadding=\"2\">\n"
    "  <char char=\"32\" width=\"3\"/>\n"
    "  <image file=\"sheet.png\">\n"
    "    <line index=\"1\"><char char=\"A\" width=\"4\"/><char char=\"C\" width=\"4\"/></line>\n"
    "    <line index=\"3\"><char char=\"0x45\" width=\"4\" yHotSpot=\"4\"/></line>\n"
    "  </image>\n"
    "</bitmapfont>\n";

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

    TempDir tmp;
};

TEST_F(BitmapFontTest, WidthsSpacingAndUndefinedCodes) {
    BitmapFont font(fontDir("t", TEST_FONT));
    EXPECT_EQ(font.name, FontDescriptor("T", 12, lumo::fonts::fsPlain));
    EXPECT_EQ(font.getHeight(), 16);
    EXPECT_EQ(font.getFirstChar(), 32);
    EXPECT_EQ(font.getCharCount(), 'E' - 32 + 1);
    EXPECT_NE(font.getListBase(), 0u);

    EXPECT_EQ(font.getWidth(""), 0);
    EXPECT_EQ(font.getWidth(nullptr), 0);
    EXPECT_EQ(font.getWidth(" "), 3 + 1);
    EXPECT_EQ(font.getWidth("AC"), 4 + 1 + 4 + 1);
    // 'B' lies inside the range but was never defined: spacing only.
    EXPECT_EQ(font.getWidth("AB"), 4 + 1 + 1);
    // Bytes outside the range count their spacing too.
    EXPECT_EQ(font.getWidth("A~"), 4 + 1 + 1);
    EXPECT_EQ(font.getWidth("A\xC8"), 4 + 1 + 1);
    EXPECT_EQ(font.getWidth("\x1f"), 1);
}

TEST_F(BitmapFontTest, PenPositionAfterEachJustification) {
    BitmapFont font(fontDir("t", TEST_FONT));
    font.print("AC");
    EXPECT_EQ(lumo::testing::penX(), 10);

    glLoadIdentity();
    font.print(lumo::jhRight, "AC");
    EXPECT_EQ(lumo::testing::penX(), 0);

    // Centring rounds toward the left: -9 shifted right with sign is -5, then 9 of advance.
    glLoadIdentity();
    font.print(lumo::jhCenter, "A ");
    EXPECT_EQ(lumo::testing::penX(), 4);
    glLoadIdentity();
    font.print(lumo::jhCenter, "AC");
    EXPECT_EQ(lumo::testing::penX(), 5);

    // Undefined codes inside the range advance by spacing; bytes outside do not move the pen.
    glLoadIdentity();
    font.print(
        "A~\xC8"
        "B\n");
    EXPECT_EQ(lumo::testing::penX(), 5 + 1);

    // The rectangle print moves there and back: the net effect is the advance.
    glLoadIdentity();
    font.print(Rect(100, 100, 50, 20), lumo::jhRight, lumo::jvTop, "AC");
    EXPECT_EQ(lumo::testing::penX(), 10);
    EXPECT_EQ(lumo::testing::penY(), 0);

    // printf forms go the same way.
    glLoadIdentity();
    font.printf(lumo::jhRight, "%c%c", 'A', 'C');
    EXPECT_EQ(lumo::testing::penX(), 0);
    glLoadIdentity();
    font.printf("%s", "ACAC");
    EXPECT_EQ(lumo::testing::penX(), 20);
}

TEST_F(BitmapFontTest, GlyphsComeFromTheirRowsAndColumnsWithPadding) {
    BitmapFont font(fontDir("t", TEST_FONT));
    glTranslatef(100, 100, 0);
    font.print("ACE");
    // 'A' fills x 100-103, y 100-115; the spacing column stays empty.
    EXPECT_EQ(pixelAt(100, 100), RED);
    EXPECT_EQ(pixelAt(103, 115), RED);
    EXPECT_EQ(pixelAt(100, 116), BLACK);
    EXPECT_EQ(pixelAt(104, 105), BLACK);
    // 'C' starts after 'A' and its hPadding in the image.
    EXPECT_EQ(pixelAt(105, 100), GREEN);
    EXPECT_EQ(pixelAt(108, 115), GREEN);
    EXPECT_EQ(pixelAt(109, 105), BLACK);
    // 'E' comes from row (3 - 1) x (16 + 2) = 36 and hangs 4 pixels below the base line.
    EXPECT_EQ(pixelAt(110, 111), BLUE);
    EXPECT_EQ(pixelAt(113, 96), BLUE);
    EXPECT_EQ(pixelAt(110, 112), BLACK);
    EXPECT_EQ(pixelAt(110, 95), BLACK);

    // The text takes the current colour.
    glLoadIdentity();
    glTranslatef(200, 100, 0);
    glColor4f(0, 1, 0, 1);
    font.print("A");
    EXPECT_EQ(pixelAt(201, 105), BLACK);
    glColor4f(1, 1, 1, 1);
}

TEST_F(BitmapFontTest, SingleImageIsBoundOncePerPrintTwoImagesInsideTheLists) {
    BitmapFont single(fontDir("t", TEST_FONT));
    ASSERT_NE(single.getOnlyImage(), nullptr);

    // Whatever texture was bound before, the print binds its own and restores the binding.
    GLuint other = 0;
    glGenTextures(1, &other);
    glBindTexture(GL_TEXTURE_2D, other);
    GLubyte white[4] = {255, 255, 255, 255};
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, white);
    glTranslatef(10, 10, 0);
    single.print("A");
    EXPECT_EQ(pixelAt(11, 12), RED);
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(static_cast<GLuint>(bound), other);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));

    // A second image holds 'D' in cyan; each list binds its glyph's texture.
    std::string dir = fontDir("two",
                              "<bitmapfont name=\"Two\" height=\"16\" hPadding=\"2\" "
                              "vPadding=\"2\">"
                              "<image file=\"sheet.png\"><line index=\"1\">"
                              "<char char=\"A\" width=\"4\"/></line></image>"
                              "<image file=\"cyan.png\"><line index=\"1\">"
                              "<char char=\"D\" width=\"8\"/></line></image>"
                              "</bitmapfont>");
    lumo::testing::writePicture(tmp.file("two/cyan.png"), 8, 16, [](int, int) { return CYAN; });
    BitmapFont two(dir);
    EXPECT_EQ(two.getOnlyImage(), nullptr);
    ASSERT_NE(two.getImages(), nullptr);
    EXPECT_EQ(two.getImages()->size(), 2u);
    glLoadIdentity();
    glTranslatef(300, 10, 0);
    two.print("ADA");
    EXPECT_EQ(pixelAt(301, 12), RED);
    EXPECT_EQ(pixelAt(304, 12), CYAN);
    EXPECT_EQ(pixelAt(311, 25), CYAN);
    EXPECT_EQ(pixelAt(313, 12), RED);
    glDeleteTextures(1, &other);
}

TEST_F(BitmapFontTest, BadDescriptionsLeaveUsableFonts) {
    // No description at all: an empty font that prints nothing.
    BitmapFont missing(tmp.file("nowhere"));
    EXPECT_EQ(missing.getDir(), tmp.file("nowhere") + "/");
    EXPECT_EQ(missing.getListBase(), 0u);
    EXPECT_EQ(missing.getImages(), nullptr);
    missing.print("abc");
    missing.printf(lumo::jhRight, "%d", 42);
    EXPECT_EQ(lumo::testing::penX(), 0);

    BitmapFont wrongRoot(fontDir("root", "<font name=\"X\"/>", false));
    EXPECT_EQ(wrongRoot.name.family, "");
    EXPECT_EQ(wrongRoot.getListBase(), 0u);

    // Defines nothing: no lists, yet the spacing counts.
    BitmapFont none(fontDir("none", "<bitmapfont name=\"N\" spacing=\"2\"/>", false));
    EXPECT_EQ(none.name.family, "N");
    EXPECT_EQ(none.getCharCount(), 0);
    EXPECT_EQ(none.getListBase(), 0u);
    EXPECT_EQ(none.getWidth("ab"), 4);
    none.print("ab");
    EXPECT_EQ(lumo::testing::penX(), 0);

    // Codes above 127 and unreadable codes are skipped; a blank without a code becomes #32;
    // an unnamed font is named after its directory; an image without a file is skipped with
    // its lines.
    testing::internal::CaptureStdout();
    std::string dir = fontDir("odd",
                              "<bitmapfont height=\"16\">"
                              "<char char=\"200\" width=\"3\"/>"
                              "<char char=\"\xC3\xA9\" width=\"3\"/>"
                              "<char char=\"12x\" width=\"3\"/>"
                              "<char width=\"5\"/>"
                              "<image><line index=\"1\"><char char=\"Q\" width=\"4\"/></line>"
                              "</image>"
                              "<image file=\"sheet.png\"><line index=\"1\">"
                              "<char width=\"9\"/><char char=\"A\" width=\"4\"/>"
                              "<char char=\"255\" width=\"2\"/><char char=\"C\" width=\"4\"/>"
                              "</line></image>"
                              "</bitmapfont>");
    BitmapFont odd(dir);
    std::string log = testing::internal::GetCapturedStdout();
    EXPECT_NE(log.find("No name specified for font. Using directory name."), std::string::npos);
    EXPECT_NE(log.find("No character index specified for blank character node. Using #32."),
              std::string::npos);
    EXPECT_NE(log.find("No filename specified for font image. Skipping image."), std::string::npos);
    EXPECT_NE(log.find("No character index specified for character node. Skipping character."),
              std::string::npos);
    EXPECT_EQ(odd.name.family, dir);
    EXPECT_EQ(odd.getFirstChar(), 32);
    EXPECT_EQ(odd.getCharCount(), 'C' - 32 + 1);
    EXPECT_EQ(odd.getCharWidth(' '), 5);
    EXPECT_EQ(odd.getCharWidth('Q'), 0);
    EXPECT_EQ(odd.getWidth("\xC8\xE9"), 0);
    // The missing code left the pen in place, the unusable one (255) still took its room:
    // 'A' comes from column 0, 'C' from 4 + 2 = 6.
    glTranslatef(400, 300, 0);
    odd.print("AC");
    EXPECT_EQ(pixelAt(401, 305), RED);
    EXPECT_EQ(pixelAt(404, 305), GREEN);
    EXPECT_EQ(pixelAt(407, 305), GREEN);

    // A glyph image that cannot be loaded leaves the font empty.
    BitmapFont noSheet(fontDir("nosheet", TEST_FONT, false));
    EXPECT_EQ(noSheet.getListBase(), 0u);
    EXPECT_EQ(noSheet.getCharCount(), 0);
    EXPECT_EQ(noSheet.getImages(), nullptr);
}

TEST_F(BitmapFontTest, FormattedPrintsAreCutAt1023Characters) {
    BitmapFont font(fontDir("dots",
                            "<bitmapfont name=\"D\" height=\"1\" width=\"1\">"
                            "<image file=\"sheet.png\"><line index=\"1\"><char char=\".\"/>"
                            "</line></image></bitmapfont>"));
    std::string longText(5000, '.');
    font.printf("%s", longText.c_str());
    EXPECT_EQ(lumo::testing::penX(), 1023);
    glLoadIdentity();
    font.printf(lumo::jhCenter, "%s%s", longText.c_str(), "tail");
    EXPECT_EQ(lumo::testing::penX(), 1023 - 512);
    glLoadIdentity();
    font.printf(Rect(0, 0, 10, 10), lumo::jhLeft, lumo::jvBottom, "%s", longText.c_str());
    EXPECT_EQ(lumo::testing::penX(), 1023);
}

TEST_F(BitmapFontTest, BankReplacesFontsOfTheSameKeyAndFollowsRenames) {
    EXPECT_EQ(lumo::fonts::resourceBankGenerator.generateBank("Fonts"), nullptr);
    std::unique_ptr<lumo::BasicResourceBank> generated(
        lumo::fonts::resourceBankGenerator.generateBank("fonts"));
    ASSERT_NE(dynamic_cast<FontBank*>(generated.get()), nullptr);
    EXPECT_EQ(generated->getNodeName(), "fonts");

    fontDir("f1", TEST_FONT);
    fontDir("f2", TEST_FONT);
    fontDir("f3", std::string(TEST_FONT).replace(std::string(TEST_FONT).find("\"T\""), 3, "\"U\""));
    lumo::xml::Node root("fonts", nullptr);
    for (const char* d : {"f1/", "f2/", "f3/", "f4/"}) {
        lumo::xml::Node* entry = new lumo::xml::Node("bitmapfont", nullptr);
        (*entry)["dir"] = d;
        root += entry;
    }
    root += new lumo::xml::Node("truetype", nullptr);

    FontBank bank;
    bank.getFromNode(&root, tmp.path() + "/");
    // f2 replaced f1 (same name and size); f4 has no description and is keyed ("", 0).
    ASSERT_EQ(bank.size(), 3u);
    BitmapFont* t = dynamic_cast<BitmapFont*>(bank[FontDescriptor("T", 12, lumo::fonts::fsPlain)]);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->getDir(), tmp.file("f2") + "/");
    ASSERT_NE(bank[FontDescriptor("U", 12, lumo::fonts::fsPlain)], nullptr);

    // A renamed description re-keys the font at the next refresh...
    tmp.write("f2/bitmapfont.xml",
              std::string(TEST_FONT).replace(std::string(TEST_FONT).find("size=\"12\""), 9,
                                             "size=\"14\""));
    bank.refresh();
    EXPECT_EQ(bank[FontDescriptor("T", 12, lumo::fonts::fsPlain)], nullptr);
    EXPECT_EQ(bank[FontDescriptor("T", 14, lumo::fonts::fsPlain)], t);
    EXPECT_EQ(t->owner, &bank);
    EXPECT_EQ(bank.size(), 3u);

    // ... and one that takes the key of a font refreshed after it destroys that font, which
    // the refresh then skips.
    tmp.write("f2/bitmapfont.xml", readFileText(tmp.file("f3/bitmapfont.xml")));
    bank.refresh();
    EXPECT_EQ(bank.size(), 2u);
    EXPECT_EQ(bank[FontDescriptor("U", 12, lumo::fonts::fsPlain)], t);
    EXPECT_NE(t->getListBase(), 0u);
    EXPECT_EQ(bank[FontDescriptor("T", 14, lumo::fonts::fsPlain)], nullptr);
}

}  // namespace
