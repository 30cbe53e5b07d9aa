#include "lumo/video.hpp"

#include <GL/gl.h>
#include <SDL.h>
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "lumo/lumo.hpp"
#include "lumo/png_file.hpp"
#include "lumo/render_context.hpp"
#include "lumo/screenshot.hpp"
#include "support/temp_dir.hpp"

using lumo::Color;
using lumo::RenderContext2D;
using lumo::Vector2D;
using lumo::Vector3D;
using lumo::testing::readPng;
using lumo::testing::TempDir;

namespace {
std::map<int, int> requestedAttributes;
}

// Once a mode is set SDL reports what the chosen visual has, not what was asked for; so the
// requests are recorded on their way to SDL.
extern "C" int SDL_GL_SetAttribute(SDL_GLattr attr, int value) {
    requestedAttributes[attr] = value;
    typedef int (*Real)(SDL_GLattr, int);
    static Real real = reinterpret_cast<Real>(dlsym(RTLD_NEXT, "SDL_GL_SetAttribute"));
    return real ? real(attr, value) : -1;
}

namespace {

typedef std::array<int, 4> Rgba;

class Video : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { lumo::init(lumo::ssVideo, false); }
    static void TearDownTestSuite() { SDL_Quit(); }
};

void fillRect(float x, float y, float w, float h) {
    glBegin(GL_QUADS);
    glVertex2f(x, y);
    glVertex2f(x + w, y);
    glVertex2f(x + w, y + h);
    glVertex2f(x, y + h);
    glEnd();
}

// A region of the test scene in virtual units (100 x 100) and the colour it must show.
struct Region {
    float x0, y0, x1, y1;
    Rgba color;
};

const Rgba clearColor{16, 32, 48, 255};
// Opaque orange at the lower left, opaque green at the upper right (placed by moving the
// cursor), half-transparent red blended over the clear colour at the upper left.
const Region scene[] = {{0, 0, 50, 25, {255, 64, 0, 255}},
                        {75, 75, 100, 100, {0, 255, 128, 255}},
                        {0, 75, 25, 100, {136, 16, 24, 255}}};

void drawScene() {
    lumo::setClearColor(Color(16 / 255.f, 32 / 255.f, 48 / 255.f, 1));
    lumo::clearScreen();
    RenderContext2D context(Vector2D(100, 100));
    context.apply();
    lumo::resetCursor();
    Color(1, 64 / 255.f, 0, 1).apply();
    fillRect(0, 0, 50, 25);
    lumo::moveCursor(Vector2D(75, 75));
    Color(0, 1, 128 / 255.f, 1).apply();
    fillRect(0, 0, 25, 25);
    lumo::resetCursor();
    context.blending = true;
    context.apply();
    Color(1, 0, 0, 0.5f).apply();
    fillRect(0, 75, 25, 25);
}

// Compares every pixel of the PNG with the scene, skipping pixels whose centre lies within one
// pixel of a region's edge (rasterisation may go either way there). Returns "" or the first
// difference.
std::string compareWithScene(const lumo::testing::PngFile& png) {
    const float sx = png.width / 100.f, sy = png.height / 100.f;
    int checked = 0;
    for (int y = 0; y < png.height; ++y) {
        const float cy = png.height - y - 0.5f;  // OpenGL's y of the pixel centre
        for (int x = 0; x < png.width; ++x) {
            const float cx = x + 0.5f;
            Rgba expected = clearColor;
            bool nearEdge = false;
            for (const Region& r : scene) {
                const float x0 = r.x0 * sx, x1 = r.x1 * sx, y0 = r.y0 * sy, y1 = r.y1 * sy;
                if (std::fabs(cx - x0) < 1 || std::fabs(cx - x1) < 1 || std::fabs(cy - y0) < 1 ||
                    std::fabs(cy - y1) < 1)
                    nearEdge = true;
                if (cx > x0 && cx < x1 && cy > y0 && cy < y1)
                    expected = r.color;
            }
            if (nearEdge)
                continue;
            ++checked;
            const Rgba got = png.at(x, y);
            for (int c = 0; c < 4; ++c) {
                // Blending may round either way.
                if (std::abs(got[c] - expected[c]) > 1) {
                    std::ostringstream out;
                    out << "pixel (" << x << ", " << y << ") is " << got[0] << "," << got[1] << ","
                        << got[2] << "," << got[3] << " instead of " << expected[0] << ","
                        << expected[1] << "," << expected[2] << "," << expected[3];
                    return out.str();
                }
            }
        }
    }
    return checked > png.width * png.height / 2 ? "" : "too few pixels checked";
}

void openDrawAndShoot(int width, int height, int bpp) {
    SCOPED_TRACE(std::to_string(width) + " x " + std::to_string(height) + " at " +
                 std::to_string(bpp) + " bits");
    requestedAttributes.clear();
    ::testing::internal::CaptureStdout();
    lumo::setResolution(width, height, bpp, false, 0, 0);
    const std::string log = ::testing::internal::GetCapturedStdout();

    const int channel = bpp / 4;
    EXPECT_EQ(channel, requestedAttributes[SDL_GL_RED_SIZE]);
    EXPECT_EQ(channel, requestedAttributes[SDL_GL_GREEN_SIZE]);
    EXPECT_EQ(channel, requestedAttributes[SDL_GL_BLUE_SIZE]);
    EXPECT_EQ(channel, requestedAttributes[SDL_GL_ALPHA_SIZE]);
    EXPECT_EQ(1, requestedAttributes[SDL_GL_DOUBLEBUFFER]);
    EXPECT_EQ(0, requestedAttributes[SDL_GL_DEPTH_SIZE]);
    EXPECT_EQ(0, requestedAttributes[SDL_GL_STENCIL_SIZE]);
    EXPECT_EQ(1, requestedAttributes[SDL_GL_SWAP_CONTROL]);
    EXPECT_NE(std::string::npos,
              log.find(std::string("[lumo:core] (info) Lumo is now using OpenGL version \"") +
                       reinterpret_cast<const char*>(glGetString(GL_VERSION)) + "\".\n"))
        << log;

    ASSERT_NE(nullptr, lumo::screen);
    EXPECT_EQ(width, lumo::screen->w);
    EXPECT_EQ(height, lumo::screen->h);
    EXPECT_EQ(lumo::Viewport(0, 0, width, height).dimensions, lumo::vpScreen.dimensions);
    EXPECT_EQ(Vector2D(0, 0), lumo::vpScreen.pos);
    EXPECT_EQ(&lumo::vpScreen, lumo::currentViewport);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(width, viewport[2]);
    EXPECT_EQ(height, viewport[3]);
    EXPECT_FALSE(lumo::fullscreen);
    // A 2D context made now covers the window in pixels.
    EXPECT_EQ(Vector2D(width, height), RenderContext2D().virtualDimensions);

    drawScene();
    TempDir dir;
    const std::string file = dir.file("shot.png");
    lumo::saveScreenshot(file.c_str());
    lumo::flipScreen();

    auto png = readPng(file);
    ASSERT_EQ("", png.error);
    ASSERT_EQ(width, png.width);
    ASSERT_EQ(height, png.height);
    EXPECT_EQ("", compareWithScene(png));
}

}  // namespace

TEST_F(Video, BeforeAWindowIsOpen) {
    ASSERT_EQ(nullptr, lumo::screen) << "must run first";
    EXPECT_EQ(nullptr, lumo::currentViewport);
    EXPECT_EQ(Vector2D(0, 0), RenderContext2D().virtualDimensions);
    EXPECT_THROW(lumo::saveScreenshot("never.png"), std::string);

    lumo::setFullscreen(false);
    EXPECT_FALSE(lumo::fullscreen);
    try {
        lumo::toggleFullscreen();
        ADD_FAILURE() << "no exception";
    } catch (const std::string& message) {
        EXPECT_EQ(0u, message.find("Could not toggle fullscreen mode: ")) << message;
    }
    EXPECT_FALSE(lumo::fullscreen);
}

TEST_F(Video, WindowShowsTheSceneInItsScreenshot) {
    openDrawAndShoot(640, 480, 32);
    // An odd width: rows of 999 bytes, which OpenGL's default packing would pad.
    openDrawAndShoot(333, 200, 16);
}

TEST_F(Video, DoubleBufferingCanBeSwitchedOff) {
    lumo::enableDoubleBuffer(false);
    requestedAttributes.clear();
    lumo::setResolution(320, 240, 32, false, 16, 8);
    EXPECT_EQ(0, requestedAttributes[SDL_GL_DOUBLEBUFFER]);
    EXPECT_EQ(16, requestedAttributes[SDL_GL_DEPTH_SIZE]);
    EXPECT_EQ(8, requestedAttributes[SDL_GL_STENCIL_SIZE]);
    lumo::enableDoubleBuffer(true);
    requestedAttributes.clear();
    lumo::setResolution(320, 240, 32, false, 0, 0);
    EXPECT_EQ(1, requestedAttributes[SDL_GL_DOUBLEBUFFER]);
}

TEST_F(Video, RenderContextsSetTheirState) {
    ASSERT_NE(nullptr, lumo::screen);
    auto integer = [](GLenum name) {
        GLint v[4] = {0, 0, 0, 0};
        glGetIntegerv(name, v);
        return v[0];
    };

    lumo::RenderContext base;
    base.qualityFog = -3;
    base.qualityPerspective = 7;
    base.qualityPolygons = -1;
    base.wireframe = true;
    base.shadeModel = lumo::smSmooth;
    base.lighting = true;
    base.apply();
    EXPECT_EQ(&base, lumo::currentRenderContext);
    EXPECT_EQ(GL_FASTEST, integer(GL_FOG_HINT));
    EXPECT_EQ(GL_NICEST, integer(GL_PERSPECTIVE_CORRECTION_HINT));
    EXPECT_EQ(GL_DONT_CARE, integer(GL_POINT_SMOOTH_HINT));
    EXPECT_EQ(GL_FASTEST, integer(GL_POLYGON_SMOOTH_HINT));
    EXPECT_EQ(GL_LINE, integer(GL_POLYGON_MODE));
    EXPECT_EQ(GL_SMOOTH, integer(GL_SHADE_MODEL));
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_EQ(GL_SINGLE_COLOR, integer(GL_LIGHT_MODEL_COLOR_CONTROL));
    GLfloat ambient[4];
    glGetFloatv(GL_LIGHT_MODEL_AMBIENT, ambient);
    EXPECT_FLOAT_EQ(0.2f, ambient[0]);
    EXPECT_FLOAT_EQ(0.1f, ambient[3]);
    base.qualityLight = 1;
    base.apply();
    EXPECT_EQ(GL_SEPARATE_SPECULAR_COLOR, integer(GL_LIGHT_MODEL_COLOR_CONTROL));

    lumo::RenderContext3D deep;
    deep.fogModel = lumo::fmExponential2;
    deep.fogDensity = 0.25f;
    deep.fogColor = Color(0.5f, 0, 0, 1);
    deep.qualityFog = 2;  // the 3D context's own fog quality wins while its fog is on
    deep.apply();
    EXPECT_EQ(GL_FILL, integer(GL_POLYGON_MODE));
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    EXPECT_TRUE(glIsEnabled(GL_NORMALIZE));
    EXPECT_TRUE(glIsEnabled(GL_FOG));
    EXPECT_EQ(GL_EXP2, integer(GL_FOG_MODE));
    EXPECT_EQ(GL_NICEST, integer(GL_FOG_HINT));
    GLfloat clearDepth = 0;
    glGetFloatv(GL_DEPTH_CLEAR_VALUE, &clearDepth);
    EXPECT_FLOAT_EQ(1.0f, clearDepth);

    RenderContext2D flat(Vector2D(800, 600));
    flat.apply();
    EXPECT_EQ(&flat, lumo::currentRenderContext);
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_CULL_FACE));
    EXPECT_FALSE(glIsEnabled(GL_FOG));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_EQ(GL_MODELVIEW, integer(GL_MATRIX_MODE));

    // The cursor: translations accumulate, a rotation turns the x axis onto y.
    lumo::resetCursor();
    lumo::moveCursor(Vector2D(3, 4));
    lumo::moveCursor(Vector3D(1, 1, 5));
    lumo::rotateCursor(90, Vector3D(0, 0, 1));
    GLfloat m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    EXPECT_FLOAT_EQ(4, m[12]);
    EXPECT_FLOAT_EQ(5, m[13]);
    EXPECT_FLOAT_EQ(5, m[14]);
    EXPECT_NEAR(0, m[0], 1e-6);
    EXPECT_NEAR(1, m[1], 1e-6);
    lumo::resetCursor();
}

TEST_F(Video, WindowSettings) {
    ASSERT_NE(nullptr, lumo::screen);
    lumo::setWindowCaption("Lumo caption test");
    char* title = nullptr;
    char* icon = nullptr;
    SDL_WM_GetCaption(&title, &icon);
    EXPECT_STREQ("Lumo caption test", title);
    EXPECT_STREQ("Lumo caption test", icon);

    lumo::showCursor(false);
    EXPECT_EQ(SDL_DISABLE, SDL_ShowCursor(SDL_QUERY));
    lumo::showCursor(true);
    EXPECT_EQ(SDL_ENABLE, SDL_ShowCursor(SDL_QUERY));

    lumo::setFullscreen(false);  // already windowed: nothing to do
    EXPECT_FALSE(lumo::fullscreen);
    lumo::setFullscreen(true);
    EXPECT_TRUE(lumo::fullscreen);
    lumo::setFullscreen(true);
    EXPECT_TRUE(lumo::fullscreen);
    lumo::toggleFullscreen();
    EXPECT_FALSE(lumo::fullscreen);

    EXPECT_EQ(nullptr, lumo::initJoystick(0));  // this machine has none
}
