// The window, render contexts, screenshots and PNG files; runs inside its own Xvfb.

#include "lumo/video.hpp"

#include <GL/gl.h>
#include <SDL.h>
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <png.h>
#include <sys/stat.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "lumo/lumo.hpp"
#include "lumo/render_context.hpp"
#include "lumo/screenshot.hpp"
#include "support/temp_dir.hpp"
#include "support/thrown.hpp"

using namespace lumo;
using lumo::testing::TempDir;
using lumo::testing::thrown;

namespace {
std::map<int, int> requested;
}

// Once a mode is set SDL reports what the chosen visual has, not what was asked for (and cannot
// report the swap control here at all); so the requests are recorded on their way to SDL.
extern "C" int SDL_GL_SetAttribute(SDL_GLattr attr, int value) {
    requested[attr] = value;
    typedef int (*Real)(SDL_GLattr, int);
    static Real real = reinterpret_cast<Real>(dlsym(RTLD_NEXT, "SDL_GL_SetAttribute"));
    return real ? real(attr, value) : -1;
}

namespace {

// A PNG file decoded to 8-bit RGBA.
struct Png {
    explicit Png(const std::string& path) {
        png_image image{};
        image.version = PNG_IMAGE_VERSION;
        bool read = png_image_begin_read_from_file(&image, path.c_str());
        if (read) {
            image.format = PNG_FORMAT_RGBA;
            rgba.resize(PNG_IMAGE_SIZE(image));
            read = png_image_finish_read(&image, nullptr, rgba.data(), 0, nullptr);
        }
        if (!read)
            error = std::string("unreadable: ") + image.message;
        width = read ? static_cast<int>(image.width) : 0;
        height = read ? static_cast<int>(image.height) : 0;
    }
    /// Pixel (x, y), y counted from the top, as 0xRRGGBBAA.
    Uint32 at(int x, int y) const {
        const unsigned char* p = &rgba[(static_cast<std::size_t>(y) * width + x) * 4];
        return Uint32(p[0]) << 24 | p[1] << 16 | p[2] << 8 | p[3];
    }
    int width = 0, height = 0;
    std::vector<unsigned char> rgba;
    std::string error;  // empty when the file was read
};

class Video : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { init(ssVideo, false); }
    static void TearDownTestSuite() { SDL_Quit(); }
};

// A region of the test scene in virtual units (100 x 100) and the colour it must show.
struct Region {
    float x0, y0, x1, y1;
    Uint32 color;
};
const Uint32 background = 0x102030FF;
// Opaque orange at the lower left, opaque green at the upper right (placed by moving the
// cursor), half-transparent red blended over the clear colour at the upper left.
const Region scene[] = {
    {0, 0, 50, 25, 0xFF4000FF}, {75, 75, 100, 100, 0x00FF80FF}, {0, 75, 25, 100, 0x881018FF}};

void drawScene() {
    setClearColor(Color(16 / 255.f, 32 / 255.f, 48 / 255.f, 1));
    clearScreen();
    RenderContext2D context(Vector2D(100, 100));
    context.apply();
    resetCursor();
    Color(1, 64 / 255.f, 0, 1).apply();
    glRectf(0, 0, 50, 25);
    moveCursor(Vector2D(75, 75));
    Color(0, 1, 128 / 255.f, 1).apply();
    glRectf(0, 0, 25, 25);
    resetCursor();
    context.blending = true;
    context.apply();
    Color(1, 0, 0, 0.5f).apply();
    glRectf(0, 75, 25, 100);
}

// Every pixel of the PNG against the scene, except within a pixel of a region's edge
// (rasterisation may go either way there); blending may round by 1.
void expectScene(const Png& png) {
    const float sx = png.width / 100.f, sy = png.height / 100.f;
    int checked = 0, wrong = 0;
    for (int y = 0; y < png.height; ++y)
        for (int x = 0; x < png.width; ++x) {
            const float cx = x + 0.5f, cy = png.height - y - 0.5f;  // OpenGL's pixel centre
            Uint32 expected = background;
            bool nearEdge = false;
            for (const Region& r : scene) {
                const float x0 = r.x0 * sx, x1 = r.x1 * sx, y0 = r.y0 * sy, y1 = r.y1 * sy;
                nearEdge = nearEdge || std::fabs(cx - x0) < 1 || std::fabs(cx - x1) < 1 ||
                           std::fabs(cy - y0) < 1 || std::fabs(cy - y1) < 1;
                if (cx > x0 && cx < x1 && cy > y0 && cy < y1)
                    expected = r.color;
            }
            if (nearEdge)
                continue;
            ++checked;
            const Uint32 got = png.at(x, y);
            bool differs = false;
            for (int shift = 0; shift < 32; shift += 8)
                differs = differs ||
                          std::abs(int(got >> shift & 0xFF) - int(expected >> shift & 0xFF)) > 1;
            if (differs && wrong++ == 0)
                ADD_FAILURE() << "pixel (" << x << ", " << y << ") is " << std::hex << got
                              << ", not " << expected;
        }
    EXPECT_GT(checked, png.width * png.height / 2);
}

GLint integer(GLenum name, int index = 0) {
    GLint v[4] = {0, 0, 0, 0};
    glGetIntegerv(name, v);
    return v[index];
}

void openDrawAndShoot(int width, int height, int bpp) {
    SCOPED_TRACE(std::to_string(width) + " x " + std::to_string(height) + " x " +
                 std::to_string(bpp));
    requested.clear();
    ::testing::internal::CaptureStdout();
    setResolution(width, height, bpp, false, 0, 0);
    const std::string log = ::testing::internal::GetCapturedStdout();

    // The swap waits for the display where the driver can (vsync): that request must reach SDL.
    const std::map<int, int> expected = {{SDL_GL_RED_SIZE, bpp / 4},  {SDL_GL_GREEN_SIZE, bpp / 4},
                                         {SDL_GL_BLUE_SIZE, bpp / 4}, {SDL_GL_ALPHA_SIZE, bpp / 4},
                                         {SDL_GL_DOUBLEBUFFER, 1},    {SDL_GL_DEPTH_SIZE, 0},
                                         {SDL_GL_STENCIL_SIZE, 0},    {SDL_GL_SWAP_CONTROL, 1}};
    EXPECT_EQ(expected, requested);

    EXPECT_NE(std::string::npos,
              log.find(std::string("[lumo:core] (info) Lumo is now using OpenGL version \"") +
                       reinterpret_cast<const char*>(glGetString(GL_VERSION)) + "\".\n"))
        << log;

    ASSERT_NE(nullptr, screen);
    EXPECT_EQ(width, screen->w);
    EXPECT_EQ(height, screen->h);
    EXPECT_EQ(width, integer(GL_VIEWPORT, 2));
    EXPECT_EQ(Vector2D(width, height), RenderContext2D().virtualDimensions);
    drawScene();
    TempDir dir;
    const std::string file = dir.file("shot.png");
    saveScreenshot(file.c_str());
    flipScreen();
    Png png(file);
    ASSERT_EQ("", png.error);
    ASSERT_EQ(width, png.width);
    ASSERT_EQ(height, png.height);
    expectScene(png);
}

}  // namespace

TEST_F(Video, BeforeAWindowIsOpen) {
    ASSERT_EQ(nullptr, screen) << "must run first";
    EXPECT_EQ(nullptr, currentViewport);
    EXPECT_EQ(Vector2D(0, 0), RenderContext2D().virtualDimensions);
    EXPECT_THROW(saveScreenshot("never.png"), std::string);
    setFullscreen(false);  // nothing to switch, so nothing to fail
    const std::string message = thrown(toggleFullscreen);
    EXPECT_EQ(0u, message.find("Could not toggle fullscreen mode: ")) << message;
    EXPECT_FALSE(fullscreen);
}

TEST_F(Video, WindowShowsTheSceneInItsScreenshot) {
    openDrawAndShoot(640, 480, 32);
    // An odd width: rows of 999 bytes, which OpenGL's default packing would pad.
    openDrawAndShoot(333, 200, 16);

    setFullscreen(true);
    EXPECT_TRUE(fullscreen);
    toggleFullscreen();
    EXPECT_FALSE(fullscreen);
}

TEST_F(Video, SavePngConvertsSurfacesOfOneToFourBytesPerPixel) {
    // Raw pixels of a 3 x 2 surface, top row first, stored least significant byte first (a
    // little-endian target, which is also how getPixel combines a 3-byte pixel).
    const struct {
        int bits;
        Uint32 masks[4];
        Uint32 raw[6];
    } cases[] = {{8, {0, 0, 0, 0}, {2, 1, 0, 0, 0, 1}},  // palette indices
                 {16, {0xF800, 0x07E0, 0x001F, 0}, {0xF800, 0x07E0, 0x001F, 0x001F, 0x07E0, 0}},
                 {24, {0xFF0000, 0xFF00, 0xFF, 0}, {0x112233, 0x010203, 0xFF0000, 0xFF, 0, 9}},
                 {32, {0xFF, 0xFF00, 0xFF0000, 0xFF000000}, {0x80402010, 1, 0, 0x7F00FF00, 5, 6}}};
    TempDir dir;
    const std::string file = dir.file("surface.png");
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.bits) + " bits");
        SDL_Surface* s = SDL_CreateRGBSurface(SDL_SWSURFACE, 3, 2, c.bits, c.masks[0], c.masks[1],
                                              c.masks[2], c.masks[3]);
        ASSERT_NE(nullptr, s);
        SDL_Color palette[3] = {{10, 20, 30, 0}, {200, 100, 50, 0}, {1, 2, 3, 0}};
        SDL_SetColors(s, palette, 0, 3);
        const int bytes = s->format->BytesPerPixel;
        for (int i = 0; i < 6; ++i)
            std::memcpy(static_cast<Uint8*>(s->pixels) + i / 3 * s->pitch + i % 3 * bytes,
                        &c.raw[i], bytes);
        savePng(s, file.c_str());
        Png png(file);
        ASSERT_EQ("", png.error);
        ASSERT_EQ(3, png.width);
        ASSERT_EQ(2, png.height);
        for (int i = 0; i < 6; ++i) {
            EXPECT_EQ(c.raw[i], getPixel(s, i % 3, i / 3)) << "pixel " << i;
            Uint8 r, g, b, a;
            SDL_GetRGBA(c.raw[i], s->format, &r, &g, &b, &a);
            EXPECT_EQ(Uint32(r) << 24 | g << 16 | b << 8 | a, png.at(i % 3, i / 3)) << i;
        }
        SDL_FreeSurface(s);
    }
}

TEST_F(Video, SavePngFailuresThrowAndLeaveNoPartialFile) {
    auto saved = [](SDL_Surface* s, const std::string& file) {
        return thrown([&] { savePng(s, file.c_str()); });
    };
    TempDir dir;
    SDL_Surface* s = SDL_CreateRGBSurface(SDL_SWSURFACE, 3, 2, 32, 0xFF, 0xFF00, 0xFF0000, 0);
    ASSERT_NE(nullptr, s);
    std::memset(s->pixels, 0x7F, s->pitch * s->h);
    const std::string missing = dir.file("no/such/dir.png");
    EXPECT_EQ("Could not open file \"" + missing + "\" for writing.", saved(s, missing));

    // libpng refuses a zero-width image in the middle of writing the header.
    const std::string broken = dir.file("broken.png");
    s->w = 0;
    EXPECT_EQ("Could not set libpng error callback.", saved(s, broken));
    s->w = 3;
    EXPECT_TRUE(dir.entries().empty());

    // A device that takes no data: the failure shows only when the data is flushed, and the
    // device itself must not be removed.
    struct stat full;
    if (stat("/dev/full", &full) == 0 && S_ISCHR(full.st_mode)) {
        EXPECT_EQ("Could not write file \"/dev/full\".", saved(s, "/dev/full"));
        EXPECT_TRUE(stat("/dev/full", &full) == 0 && S_ISCHR(full.st_mode));
    }

    savePng(s, broken.c_str());
    EXPECT_EQ(0x7F7F7FFFu, Png(broken).at(2, 1));
    SDL_FreeSurface(s);
}
