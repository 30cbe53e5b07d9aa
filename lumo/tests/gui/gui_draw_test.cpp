// Styles and components drawn into a real window (inside Xvfb), checked pixel by pixel (the
// bevels are checked in gui_demo's screenshot): the nine pieces, icon placement, the text cursor,
// and clipping at any window size.

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>

#include "gfx/fonts/bitmap_font.hpp"
#include "gfx/fonts/font_bank.hpp"
#include "gfx/images/image_bank.hpp"
#include "gfx/images/simple_image.hpp"
#include "gui/core/gui.hpp"
#include "gui/styles/font_styles.hpp"
#include "gui/styles/label_style.hpp"
#include "gui/styles/rect_styles.hpp"
#include "gui/text/textfield.hpp"
#include "sprites/sprites/image_sprite.hpp"
#include "support/gl_test_window.hpp"
#include "support/temp_dir.hpp"

using namespace lumo;
using namespace lumo::gui;
using lumo::testing::openTestWindow;
using lumo::testing::pixelAt;
using lumo::testing::Rgba;

namespace {

const Rgba BLACK{0, 0, 0, 255};
const Rgba RED{255, 0, 0, 255};

/// A GUI with the game's font and an image bank, read from `body`.
class DrawnGui {
  public:
    explicit DrawnGui(const std::string& body) {
        fonts += new fonts::BitmapFont(LUMO_GAME_DATA "/fonts/arial10/");
        gui.setFonts(&fonts);
        gui.setImages(&images);
        const std::string file = dir.write("gui.xml", R"(<gui name="g" width="800" height="600"
            visible="1">)" + body + "</gui>");
        gui.load(file, dir.path() + "/");
    }
    ~DrawnGui() { images.release(); }
    lumo::testing::TempDir dir;
    fonts::FontBank fonts;
    gfx::ImageBank images;
    GUI gui;
};

}  // namespace

TEST(GuiDraw, NinePiecesAroundTheRectangleAndTheImagesElement) {
    openTestWindow();
    const char* const pieces[] = {"upperLeft", "upper",     "upperRight", "left",      "center",
                                  "right",     "lowerLeft", "lower",      "lowerRight"};
    std::string images = "<images>", attributes;
    for (const char* p : pieces) {
        images += std::string("<image name=\"") + p + "\" filename=\"" + p + ".png\"/>";
        attributes += std::string(" ") + p + "=\"" + p + "\"";
    }
    images += "</images>";
    // The pictures exist before the description is read; the GUI loads them at once.
    lumo::testing::TempDir pictures;
    const Rgba colours[9] = {{255, 0, 0, 255},   {0, 255, 0, 255},   {0, 0, 255, 255},
                             {255, 255, 0, 255}, {0, 255, 255, 255}, {255, 0, 255, 255},
                             {128, 0, 0, 255},   {0, 128, 0, 255},   {0, 0, 128, 255}};
    for (int i = 0; i < 9; ++i) {
        const Rgba c = colours[i];
        lumo::testing::writePicture(pictures.file(std::string(pieces[i]) + ".png"), 4, 4,
                                    [c](int, int) { return c; });
    }
    gfx::ImageBank bank;
    GUI gui;
    gui.setImages(&bank);
    gui.load(pictures.write("gui.xml",
                            "<gui name=\"g\" width=\"800\" height=\"600\" visible=\"1\">" + images +
                                "<TexturedRectStyle name=\"skin\" color=\"ffffffff\"" + attributes +
                                "/><TexturedRectStyle name=\"ghost\"" + attributes +
                                "/><Pane name=\"p\" x=\"100\" y=\"100\" width=\"40\" "
                                "height=\"20\" style=\"skin\"/><Pane name=\"q\" x=\"300\" "
                                "y=\"100\" width=\"40\" height=\"20\" style=\"ghost\"/></gui>"),
             pictures.path() + "/");
    ASSERT_EQ(9u, bank.size());
    gui.draw();
    // Pane p covers x 100..140, y 100..120; the pieces are 4 x 4.
    const int xs[3] = {98, 120, 141}, ys[3] = {121, 110, 98};
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col)
            EXPECT_EQ(colours[row * 3 + col], pixelAt(xs[col], ys[row])) << pieces[row * 3 + col];
    EXPECT_EQ(BLACK, pixelAt(95, 110));  // nothing beyond the pieces
    // Without a colour the pieces are drawn fully transparent.
    EXPECT_EQ(BLACK, pixelAt(320, 110));
    EXPECT_EQ(BLACK, pixelAt(298, 121));
    bank.release();
}

TEST(GuiDraw, IconsTakeTheirRoomFromTheTextOnTheirSide) {
    openTestWindow();
    fonts::FontBank fonts;
    fonts::BitmapFont* font = new fonts::BitmapFont(LUMO_GAME_DATA "/fonts/arial10/");
    fonts += font;
    SimpleFontStyle text;
    text.font = font;
    LabelStyle label;
    label.font = &text;
    lumo::testing::TempDir dir;
    lumo::testing::writePicture(dir.file("icon.png"), 16, 16, [](int, int) {
        return Rgba{255, 0, 0, 255};
    });
    gfx::ImageBank images;
    images += new gfx::SimpleImage("icon", dir.file("icon.png"));
    images.refresh(nullptr);
    const gfx::Image* icon = images.at("icon");
    // The white text's first and last lit columns, the label drawn over x 100..300.
    auto textColumns = [](int& first, int& last) {
        first = 1000, last = -1;
        for (int y = 100; y < 120; ++y)
            for (int x = 100; x < 300; ++x) {
                const Rgba p = pixelAt(x, y);
                if (p[0] > 200 && p[1] > 200 && p[2] > 200) {
                    first = std::min(first, x);
                    last = std::max(last, x);
                }
            }
    };
    struct Row {
        JustificationHorizontal image, text;
        int edge;  // where the text's first (left-justified) or last (right) column is
    };
    const Row rows[] = {
        {jhLeft, jhLeft, 116},    // the text starts after the icon
        {jhRight, jhRight, 283},  // the text ends before the icon
        {jhCenter, jhLeft, 100},  // a centred icon takes nothing
        {jhLeft, jhRight, 299},   // nor does an icon on the other side
    };
    for (const Row& r : rows) {
        openTestWindow();
        glTranslatef(100, 100, 0);
        label.imageHorizontal = r.image;
        text.justificationHorizontal = r.text;
        label.print(Rect(0, 0, 200, 20), "Hello", icon);
        int first, last;
        textColumns(first, last);
        const int seen = r.text == jhLeft ? first : last;
        EXPECT_LE(std::abs(seen - r.edge), 2) << r.image << " " << r.text << ": " << seen;
    }
    EXPECT_EQ(RED, pixelAt(108, 110));  // the last icon, left and vertically centred
    glLoadIdentity();
    images.release();
}

TEST(GuiDraw, ChildrenAreClippedToTheirParentAtAnyWindowSize) {
    openTestWindow();
    DrawnGui d(R"(<PlainRectStyle name="red" color="ff0000ff"/>
        <Pane name="p" x="100" y="100" width="200" height="200">
          <Pane name="c" x="50" y="50" width="200" height="200" style="red"/>
        </Pane>)");
    // The same virtual 800 x 600 drawn into half the window: the clip box must shrink too.
    for (float scale : {1.0f, 0.5f}) {
        openTestWindow();
        Viewport vp(0, 0, 800 * scale, 600 * scale);
        vp.apply();
        RenderContext2D context(Vector2D(800, 600));
        context.apply();
        d.gui.draw();
        auto px = [scale](float v) { return static_cast<int>(v * scale); };
        EXPECT_EQ(RED, pixelAt(px(290), px(290))) << scale;
        EXPECT_EQ(BLACK, pixelAt(px(310), px(290))) << scale;
        EXPECT_EQ(BLACK, pixelAt(px(290), px(310))) << scale;
        EXPECT_FALSE(glIsEnabled(GL_SCISSOR_TEST));
    }
    vpScreen.apply();
}

TEST(GuiDraw, AFocusedTextfieldShowsItsCursor) {
    openTestWindow();
    DrawnGui d(R"(<SimpleFontStyle name="white" family="Arial" size="10" color="ffffffff"/>
        <LabelStyle name="field" font="white"/>
        <Textfield name="empty" x="100" y="100" width="100" height="20" style="field"/>
        <Textfield name="typed" x="100" y="300" width="100" height="20" style="field"
                   caption="Abc"/>)");
    ASSERT_NE(nullptr, d.gui.getFonts()->at(fonts::FontDescriptor("Arial", 10, fonts::fsPlain)));
    auto lit = [](int x0, int y0) {
        int n = 0;
        for (int y = y0; y < y0 + 20; ++y)
            for (int x = x0; x < x0 + 100; ++x)
                n += pixelAt(x, y)[0] > 128 ? 1 : 0;
        return n;
    };
    d.gui.draw();
    EXPECT_EQ(0, lit(100, 100));
    const int unfocused = lit(100, 300);
    EXPECT_GT(unfocused, 10);
    d.gui["empty"]->setFocused(true);
    openTestWindow();
    d.gui.draw();
    EXPECT_GT(lit(100, 100), 3);  // just "_"
    EXPECT_EQ(unfocused, lit(100, 300));
    d.gui["typed"]->setFocused(true);
    openTestWindow();
    d.gui.draw();
    EXPECT_EQ(0, lit(100, 100));
    EXPECT_GT(lit(100, 300), unfocused);
}

TEST(GuiDraw, PointerPositionsAreConvertedLikeTheClipping) {
    openTestWindow();
    struct Probe : Component {
        Probe() { wantsFocus = true; }
        void mouseDown(ControlQueue*, const Vector2D& p, Uint8) override { down = p; }
        Vector2D down;
    };
    DrawnGui d("");
    Probe* probe = new Probe;
    probe->setDimensions(Rect(100, 100, 100, 50));
    d.gui += probe;
    d.gui.setMouseCursor(new sprites::ImageSprite(Vector2D(), false, nullptr));
    d.gui.setActive(true);
    // A window of 400 x 300 pixels showing the virtual 800 x 600.
    const Viewport screen = vpScreen;
    vpScreen = Viewport(0, 0, 400, 300);
    vpScreen.apply();
    RenderContext2D context(Vector2D(800, 600));
    context.apply();
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.x = 75;
    e.motion.y = 300 - 62;
    EXPECT_TRUE(d.gui.evaluate(e, nullptr));
    EXPECT_EQ(probe, d.gui.getFocused());
    EXPECT_EQ(Vector2D(150, 124), d.gui.getMouseCursor()->pos);
    e.type = SDL_MOUSEBUTTONDOWN;
    e.button.type = SDL_MOUSEBUTTONDOWN;
    e.button.button = SDL_BUTTON_LEFT;
    e.button.x = 80;
    e.button.y = 300 - 70;
    EXPECT_TRUE(d.gui.evaluate(e, nullptr));
    EXPECT_EQ(Vector2D(60, 40), probe->down);
    vpScreen = screen;
    vpScreen.apply();
}
