// Frame cost of a play-like scene: an 800 x 600 background, N animated 32 x 32 sprites moving
// about and a line of text, drawn through the sprite engine and the font, next to a bare loop
// that draws the same textured quads with raw OpenGL. Needs a display:
//   scripts/with-xvfb.sh build-x/bench/scene_bench
// Each iteration is one whole frame, buffer swap included, so fps = iterations per second.

#include <GL/gl.h>
#include <SDL.h>
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "debug/log.hpp"
#include "gfx/animations/animation.hpp"
#include "gfx/animations/animation_reference.hpp"
#include "gfx/fonts/bitmap_font.hpp"
#include "gfx/images/image_bank.hpp"
#include "gfx/images/simple_image.hpp"
#include "lumo/lumo.hpp"
#include "lumo/render_context.hpp"
#include "lumo/screenshot.hpp"
#include "lumo/video.hpp"
#include "sprites/sprites/image_sprite.hpp"
#include "sprites/sprites/sprite_engine.hpp"

namespace {

const int FRAMES = 4;
const char* const TEXT = "Score: 1234   Stones: 5   Next trunk in 12";

std::string sourceRoot() {
    std::string file = __FILE__;
    return file.substr(0, file.rfind("/bench/"));
}

void writePicture(const std::string& path, int w, int h, Uint32 (*colour)(int, int, int),
                  int frame) {
    SDL_Surface* s = SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 32, 0x000000FF, 0x0000FF00,
                                          0x00FF0000, 0xFF000000);
    for (int y = 0; y < h; ++y) {
        Uint32* row = reinterpret_cast<Uint32*>(static_cast<Uint8*>(s->pixels) + y * s->pitch);
        for (int x = 0; x < w; ++x)
            row[x] = colour(x, y, frame);
    }
    lumo::savePng(s, path.c_str());
    SDL_FreeSurface(s);
}

Uint32 backgroundColour(int x, int y, int) {
    return 0xFF000000u | (Uint32(x * 255 / 800) << 16) | (Uint32(y * 255 / 600) << 8) | 0x40u;
}

/// A disc whose colour changes with the frame, transparent around it.
Uint32 spriteColour(int x, int y, int frame) {
    const int dx = x - 16, dy = y - 16;
    if (dx * dx + dy * dy > 15 * 15)
        return 0;
    return 0xFF000000u | Uint32(0x40 * frame) << 8 | 0xFFu;
}

/// Everything the scene needs, made once for the whole run.
struct Scene {
    Scene() {
        lumo::init(lumo::ssVideo, false);
        lumo::setResolution(800, 600, 32, false, 16, 0);
        context.reset(new lumo::RenderContext2D(lumo::Vector2D(800, 600)));
        context->blending = true;
        context->apply();

        char pattern[] = "/tmp/lumo-scene-XXXXXX";
        dir = ::mkdtemp(pattern);
        writePicture(dir + "/background.png", 800, 600, backgroundColour, 0);
        background = new lumo::gfx::SimpleImage("background", dir + "/background.png");
        images += background;
        for (int f = 0; f < FRAMES; ++f) {
            const std::string name = "disc" + std::to_string(f);
            writePicture(dir + "/" + name + ".png", 32, 32, spriteColour, f);
            auto* frame = new lumo::gfx::SimpleImage(name, dir + "/" + name + ".png");
            frame->setHotspot(lumo::Vector2D(16, 16));
            frame->setBitmaskThreshold(0.5f);
            images += frame;
            frames.push_back(frame);
        }
        images.refresh(nullptr);
        for (auto* frame : frames)
            animation.frames.push_back(lumo::gfx::AnimationFrame(frame, 80));
        animation.loop = true;
        font.reset(new lumo::fonts::BitmapFont(sourceRoot() + "/game/data/fonts/arial10/"));
    }
    ~Scene() {
        font.reset();
        images.release();
        for (int f = 0; f < FRAMES; ++f)
            std::remove((dir + "/disc" + std::to_string(f) + ".png").c_str());
        std::remove((dir + "/background.png").c_str());
        ::rmdir(dir.c_str());
    }

    std::unique_ptr<lumo::RenderContext2D> context;
    std::string dir;
    lumo::gfx::ImageBank images;
    lumo::gfx::SimpleImage* background = nullptr;
    std::vector<lumo::gfx::SimpleImage*> frames;
    lumo::gfx::Animation animation{"disc"};
    std::unique_ptr<lumo::fonts::BitmapFont> font;
};

Scene& scene() {
    static Scene s;
    return s;
}

/// Positions and velocities shared by both loops, so they draw the same picture.
struct Mover {
    float x, y, vx, vy;
    void step(float ticks) {
        x += vx * ticks;
        y += vy * ticks;
        if (x < 0 || x > 800)
            vx = -vx;
        if (y < 0 || y > 600)
            vy = -vy;
    }
};

std::vector<Mover> makeMovers(int n) {
    std::mt19937 random(42);
    std::uniform_real_distribution<float> px(0, 800), py(0, 600), v(-0.1f, 0.1f);
    std::vector<Mover> movers;
    for (int i = 0; i < n; ++i)
        movers.push_back(Mover{px(random), py(random), v(random), v(random)});
    return movers;
}

/// An image sprite that moves like a Mover.
class MovingSprite : public lumo::sprites::ImageSprite {
  public:
    MovingSprite(const Mover& m, lumo::gfx::Animation* animation)
        : ImageSprite(lumo::basic_Vector2D<float>(m.x, m.y), true, nullptr), mover(m) {
        setAnimation(animation, 1.0f);
    }
    void perform(float ticks) override {
        mover.step(ticks);
        pos = lumo::basic_Vector2D<float>(mover.x, mover.y);
        ImageSprite::perform(ticks);
    }
    Mover mover;
};

void reportFps(benchmark::State& state) {
    state.counters["fps"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_SceneFramework(benchmark::State& state) {
    Scene& s = scene();
    lumo::sprites::SpriteEngine engine;
    std::vector<std::unique_ptr<MovingSprite>> sprites;
    for (const Mover& m : makeMovers(static_cast<int>(state.range(0)))) {
        sprites.emplace_back(new MovingSprite(m, &s.animation));
        engine.addBack(sprites.back().get());
    }
    for (auto _ : state) {
        lumo::clearScreen();
        glLoadIdentity();
        glColor4f(1, 1, 1, 1);
        s.background->draw(lumo::Vector2D(0, 0));
        engine.perform(16);
        engine.draw();
        glColor4f(1, 1, 1, 1);
        s.font->print(lumo::Rect(0, 560, 800, 40), lumo::jhCenter, lumo::jvCenter, TEXT);
        lumo::flipScreen();
    }
    reportFps(state);
}

/// The same quads with nothing in between: one bind and one glBegin/glEnd per quad.
void quad(GLuint texture, float x, float y, float w, float h, float s1, float t1) {
    glBindTexture(GL_TEXTURE_2D, texture);
    glBegin(GL_QUADS);
    glTexCoord2f(0, t1);
    glVertex2f(x, y);
    glTexCoord2f(0, 0);
    glVertex2f(x, y + h);
    glTexCoord2f(s1, 0);
    glVertex2f(x + w, y + h);
    glTexCoord2f(s1, t1);
    glVertex2f(x + w, y);
    glEnd();
}

void BM_SceneBareOpenGL(benchmark::State& state) {
    Scene& s = scene();
    std::vector<Mover> movers = makeMovers(static_cast<int>(state.range(0)));
    const GLuint fontTexture = s.font->getOnlyImage()->getTextureName();
    const int textWidth = s.font->getWidth(TEXT);
    const int glyphs = static_cast<int>(std::string(TEXT).size());
    float clock = 0;
    for (auto _ : state) {
        lumo::clearScreen();
        glLoadIdentity();
        glColor4f(1, 1, 1, 1);
        glEnable(GL_TEXTURE_2D);
        glEnable(GL_BLEND);
        quad(s.background->getTextureName(), 0, 0, 800, 600, s.background->getRightTexCoord(),
             s.background->getLowerTexCoord());
        clock += 16;
        const GLuint frame = s.frames[static_cast<int>(clock / 80) % FRAMES]->getTextureName();
        for (Mover& m : movers) {
            m.step(16);
            quad(frame, m.x - 16, m.y - 16, 32, 32, 1, 1);
        }
        for (int i = 0; i < glyphs; ++i)
            quad(fontTexture, 400 - textWidth / 2 + i * 7, 573, 7, 15, 7 / 256.0f, 15 / 64.0f);
        glDisable(GL_TEXTURE_2D);
        lumo::flipScreen();
    }
    reportFps(state);
}

}  // namespace

BENCHMARK(BM_SceneFramework)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SceneBareOpenGL)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    // Silence the framework's debug lines, which would interleave with the table.
    scene();
    for (auto& group : lumo::debug::groups)
        group.second.level = lumo::debug::dlWarning;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
