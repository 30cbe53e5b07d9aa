// Cost of a GUI of 200 components read from XML (20 panes, each with 5 labelled buttons and 4
// text fields): routing one mouse-motion event and one key event, and drawing one frame, next
// to drawing the same rectangles (fill and bevel) and texts with the font directly. Needs a
// display:
//   scripts/with-xvfb.sh build-x/bench/gui_bench
// Frames end with glFinish and are measured as the process's CPU time, so the software
// renderer's own threads count too.

#include <GL/gl.h>
#include <SDL.h>
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "controls/control_queue.hpp"
#include "debug/log.hpp"
#include "gfx/fonts/bitmap_font.hpp"
#include "gfx/fonts/font_bank.hpp"
#include "gui/core/gui.hpp"
#include "gui/standard/button.hpp"
#include "lumo/lumo.hpp"
#include "lumo/render_context.hpp"
#include "lumo/video.hpp"
#include "resources/resource_manager.hpp"
#include "sprites/sprites/image_sprite.hpp"

namespace {

const int PANES_X = 5, PANES_Y = 4, BUTTONS = 5, FIELDS = 4;
const float PANE_W = 150, PANE_H = 140, ROW_H = 14, BORDER = 2;

std::string sourceRoot() {
    std::string file = __FILE__;
    return file.substr(0, file.rfind("/bench/"));
}

/// The same layout as the description, for the direct drawing.
struct Box {
    float x, y, w, h;
    bool bevel;
    std::string text;
};

const char* const STYLES = R"(
  <SimpleFontStyle name="text" family="Arial" size="10" color="ffffffff" horizontal="center"/>
  <SimpleFontStyle name="left" family="Arial" size="10" color="ffffffff"/>
  <PlainRectStyle name="panel" color="1e2850ff" border="2" colorBorder1="dcdcffff"
                  colorBorder2="0a0a28ff"/>
  <PlainRectStyle name="raised" color="5a5a6eff" border="2" colorBorder1="b4b4c8ff"
                  colorBorder2="28283cff"/>
  <PlainRectStyle name="well" color="000000ff"/>
  <LabelStyle name="up" rect="raised" font="text"/>
  <LabelStyle name="field" rect="well" font="left"/>
  <ButtonStyle name="button" up="up" down="up" upHot="up" downHot="up"/>)";

/// The description and the boxes it produces, in absolute coordinates.
std::string makeDescription(std::vector<Box>& boxes) {
    std::string xml =
        "<gui name=\"gui\" fonts=\"fonts\" width=\"800\" height=\"600\" "
        "visible=\"1\">" +
        std::string(STYLES);
    for (int py = 0; py < PANES_Y; ++py)
        for (int px = 0; px < PANES_X; ++px) {
            const float x = 20 + px * (PANE_W + 8), y = 10 + py * (PANE_H + 8);
            const std::string pane = std::to_string(py * PANES_X + px);
            xml += "<Pane name=\"p" + pane + "\" style=\"panel\" x=\"" + std::to_string(x) +
                   "\" y=\"" + std::to_string(y) + "\" width=\"" + std::to_string(PANE_W) +
                   "\" height=\"" + std::to_string(PANE_H) + "\">";
            boxes.push_back(Box{x, y, PANE_W, PANE_H, true, ""});
            for (int i = 0; i < BUTTONS + FIELDS; ++i) {
                const bool button = i < BUTTONS;
                const float cy = 4 + i * (ROW_H + 1);
                const std::string caption =
                    (button ? "Button " : "Field ") + pane + "." + std::to_string(i);
                xml += std::string(button ? "<Button style=\"button\""
                                          : "<Textfield style=\"field\"") +
                       " name=\"c" + pane + "_" + std::to_string(i) + "\" x=\"4\" y=\"" +
                       std::to_string(cy) + "\" width=\"" + std::to_string(PANE_W - 8) +
                       "\" height=\"" + std::to_string(ROW_H) + "\" caption=\"" + caption + "\"/>";
                boxes.push_back(Box{x + 4, y + cy, PANE_W - 8, ROW_H, button, caption});
            }
            xml += "</Pane>";
        }
    return xml + "</gui>";
}

struct Scene {
    Scene() {
        lumo::init(lumo::ssVideo, false);
        lumo::setResolution(800, 600, 32, false, 16, 0);
        context.reset(new lumo::RenderContext2D(lumo::Vector2D(800, 600)));
        context->blending = true;
        context->apply();
        font = new lumo::fonts::BitmapFont(sourceRoot() + "/game/data/fonts/arial10/");
        fonts += font;
        manager.add("fonts", &fonts);
        manager.add("gui", &gui);

        char pattern[] = "/tmp/lumo-gui-bench-XXXXXX";
        dir = ::mkdtemp(pattern);
        const std::string file = dir + "/gui.xml";
        if (FILE* f = std::fopen(file.c_str(), "w")) {
            const std::string xml = makeDescription(boxes);
            std::fwrite(xml.data(), 1, xml.size(), f);
            std::fclose(f);
        }
        gui.load(file, dir + "/");
        gui.setActive(true);
        std::remove(file.c_str());
        ::rmdir(dir.c_str());
        // A cursor, so that motion is routed: an image sprite without image.
        gui.setMouseCursor(new lumo::sprites::ImageSprite(lumo::Vector2D(), false, nullptr));
    }
    ~Scene() { manager.clear(); }

    std::unique_ptr<lumo::RenderContext2D> context;
    std::string dir;
    lumo::fonts::FontBank fonts;
    lumo::fonts::BitmapFont* font = nullptr;
    lumo::gui::GUI gui;
    lumo::ResourceManager manager;
    std::vector<Box> boxes;
};

// Made and destroyed by main: the message stack that the destructors use is gone by the time
// static objects are destroyed.
std::unique_ptr<Scene> theScene;

Scene& scene() {
    return *theScene;
}

SDL_Event motionTo(int x, int y) {
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.x = static_cast<Uint16>(x);
    e.motion.y = static_cast<Uint16>(600 - y);
    return e;
}

/// Arg 0: the pointer moves within one button; 1: every event crosses to another button, so
/// focus, leave and enter change hands.
void BM_RouteMouseMotion(benchmark::State& state) {
    Scene& s = scene();
    lumo::ControlQueue queue;
    const Box& a = s.boxes[1 + 2 * (BUTTONS + FIELDS + 1)];
    const Box& b = s.boxes[2 + 2 * (BUTTONS + FIELDS + 1)];
    const SDL_Event events[2] = {
        motionTo(static_cast<int>(a.x + 10), static_cast<int>(a.y + 5)),
        state.range(0) ? motionTo(static_cast<int>(b.x + 10), static_cast<int>(b.y + 5))
                       : motionTo(static_cast<int>(a.x + 20), static_cast<int>(a.y + 6))};
    int i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(s.gui.evaluate(events[i], &queue));
        i ^= 1;
    }
    queue.eventQueue.clear();
}

/// A cursor key on a focused button: the focus moves to its grid neighbour.
void BM_RouteKeyDown(benchmark::State& state) {
    Scene& s = scene();
    lumo::ControlQueue queue;
    s.gui["c7_0"]->setFocused(true);
    SDL_Event e{};
    e.type = SDL_KEYDOWN;
    e.key.keysym.sym = SDLK_DOWN;
    for (auto _ : state)
        benchmark::DoNotOptimize(s.gui.evaluate(e, &queue));
}

void BM_FrameGui(benchmark::State& state) {
    Scene& s = scene();
    s.gui.setFocused(true);
    for (auto _ : state) {
        lumo::clearScreen();
        glLoadIdentity();
        s.gui.draw();
        glFinish();
    }
}

void rect(const Box& b, const lumo::Color& fill) {
    fill.apply();
    glRectf(b.x, b.y, b.x + b.w, b.y + b.h);
}

/// The same boxes, bevels and texts: raw quads and the font's rectangle print.
void BM_FrameDirect(benchmark::State& state) {
    Scene& s = scene();
    const lumo::Color panel(30 / 255.f, 40 / 255.f, 80 / 255.f, 1);
    const lumo::Color raised(90 / 255.f, 90 / 255.f, 110 / 255.f, 1);
    const lumo::Color light(0.8f, 0.8f, 0.9f, 1), dark(0.1f, 0.1f, 0.2f, 1);
    const lumo::Color black(0, 0, 0, 1), white(1, 1, 1, 1);
    for (auto _ : state) {
        lumo::clearScreen();
        glLoadIdentity();
        for (std::size_t i = 0; i < s.boxes.size(); ++i) {
            const Box& b = s.boxes[i];
            const bool isPane = b.text.empty();
            if (b.bevel) {
                const float x = b.x, y = b.y, w = b.w, h = b.h, d = BORDER;
                light.apply();
                glRectf(x - d, y + h, x + w + d, y + h + d);
                glRectf(x - d, y - d, x, y + h);
                dark.apply();
                glRectf(x, y - d, x + w + d, y);
                glRectf(x + w, y, x + w + d, y + h + d);
            }
            rect(b, isPane ? panel : (b.bevel ? raised : black));
            if (!isPane) {
                white.apply();
                glEnable(GL_TEXTURE_2D);
                glPushMatrix();
                s.font->print(lumo::Rect(b.x, b.y, b.w, b.h),
                              b.bevel ? lumo::jhCenter : lumo::jhLeft, lumo::jvCenter,
                              b.text.c_str());
                glPopMatrix();
                glDisable(GL_TEXTURE_2D);
            }
        }
        glFinish();
    }
}

}  // namespace

BENCHMARK(BM_RouteMouseMotion)->Arg(0)->Arg(1);
BENCHMARK(BM_RouteKeyDown);
BENCHMARK(BM_FrameGui)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(BM_FrameDirect)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    // Silence the framework's debug lines, which would interleave with the table.
    theScene.reset(new Scene);
    for (auto& group : lumo::debug::groups)
        group.second.level = lumo::debug::dlWarning;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    theScene.reset();
    return 0;
}
