// Sprites bouncing about an 800 x 600 window, tinted red while they touch one another (pixel
// masks decide), with text printed left, centred and right in the game's font and a blinking
// message. Saves the first frame after 1.5 seconds that shows a touch (at 3 seconds at the
// latest) as "sprites_demo.png" in the current directory and ends after four seconds, or
// earlier when the window is closed or Escape is pressed.
//
// The sprite pictures are drawn by the program itself into a temporary folder at start.

#include <GL/gl.h>
#include <SDL.h>
#include <unistd.h>

#include <cmath>
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
#include "gfx/fonts/messages.hpp"
#include "gfx/images/image_bank.hpp"
#include "gfx/images/simple_image.hpp"
#include "lumo/lumo.hpp"
#include "lumo/render_context.hpp"
#include "lumo/screenshot.hpp"
#include "lumo/video.hpp"
#include "sprites/sprites/image_sprite.hpp"
#include "sprites/sprites/sprite_engine.hpp"

namespace {

const int dbgDemo = 1;
const Uint32 runMilliseconds = 4000;
const Uint32 screenshotAt = 1500;
const int FRAMES = 6;

/// A star-like blob whose arms turn a little from frame to frame: its mask is not a plain box,
/// so touching boxes are not yet touching sprites.
void writeFrame(const std::string& path, int frame) {
    const int size = 48;
    SDL_Surface* s = SDL_CreateRGBSurface(SDL_SWSURFACE, size, size, 32, 0x000000FF, 0x0000FF00,
                                          0x00FF0000, 0xFF000000);
    const float turn = frame * 3.14159f / (2 * FRAMES);
    for (int y = 0; y < size; ++y) {
        Uint32* row = reinterpret_cast<Uint32*>(static_cast<Uint8*>(s->pixels) + y * s->pitch);
        for (int x = 0; x < size; ++x) {
            const float dx = x - 23.5f, dy = y - 23.5f;
            const float r = std::sqrt(dx * dx + dy * dy), a = std::atan2(dy, dx);
            const float edge = 17 + 6 * std::cos(4 * (a + turn));
            const Uint8 shade = static_cast<Uint8>(255 - r * 4);
            row[x] = r <= edge ? SDL_MapRGBA(s->format, shade, shade, 255, 255) : 0;
        }
    }
    lumo::savePng(s, path.c_str());
    SDL_FreeSurface(s);
}

class Ball : public lumo::sprites::ImageSprite {
  public:
    Ball(float x, float y, float vx_, float vy_, lumo::gfx::Animation* animation)
        : ImageSprite(lumo::basic_Vector2D<float>(x, y), true, nullptr), vx(vx_), vy(vy_) {
        setAnimation(animation, 1.0f);
        canCollide = true;
    }
    void perform(float ticks) override {
        ImageSprite::perform(ticks);
        pos.x += vx * ticks;
        pos.y += vy * ticks;
        if ((pos.x < 24 && vx < 0) || (pos.x > 776 && vx > 0))
            vx = -vx;
        if ((pos.y < 84 && vy < 0) || (pos.y > 530 && vy > 0))
            vy = -vy;
        touched = std::max(0.0f, touched - ticks);
        setColor(touched > 0 ? lumo::Color(1, 0.3f, 0.3f, 1) : lumo::Color(1, 1, 1, 1));
    }
    /// Within one engine only the earlier sprite of a pair is called back: tint both.
    void onCollision(Sprite* other) override {
        touched = 150;
        static_cast<Ball*>(other)->touched = 150;
    }

    float vx, vy;
    float touched = 0;
};

struct Picture {
    std::string dir;
    std::vector<std::string> files;
    ~Picture() {
        for (const std::string& f : files)
            std::remove(f.c_str());
        if (!dir.empty())
            ::rmdir(dir.c_str());
    }
};

}  // namespace

int main() {
    lumo::debug::groups[dbgDemo] = lumo::debug::Group("sprites_demo", lumo::debug::dlDebug);
    try {
        lumo::init(lumo::ssVideo, true);
        lumo::setWindowCaption("Lumo sprites demo");
        lumo::setResolution(800, 600, 32, false, 0, 0);
    } catch (const std::string& message) {
        std::fprintf(stderr, "sprites_demo: could not open an OpenGL window: %s\n",
                     message.c_str());
        if (!std::getenv("DISPLAY"))
            std::fprintf(stderr,
                         "sprites_demo: no X display (DISPLAY is not set); run it from a desktop "
                         "session or under scripts/with-xvfb.sh.\n");
        lumo::quit(EXIT_FAILURE);
    }
    // Keep the per-frame debug lines of the framework out of the way.
    for (auto& group : lumo::debug::groups)
        if (group.first < 0)
            group.second.level = lumo::debug::dlInfo;

    int status = EXIT_SUCCESS;
    {
        Picture pictures;
        char pattern[] = "/tmp/lumo-sprites-demo-XXXXXX";
        if (const char* made = ::mkdtemp(pattern))
            pictures.dir = made;
        lumo::gfx::ImageBank images;
        lumo::gfx::Animation spin("spin");
        spin.loop = true;
        for (int f = 0; f < FRAMES; ++f) {
            const std::string file = pictures.dir + "/star" + std::to_string(f) + ".png";
            writeFrame(file, f);
            pictures.files.push_back(file);
            auto* image = new lumo::gfx::SimpleImage("star" + std::to_string(f), file);
            image->setHotspot(lumo::Vector2D(24, 24));
            image->setBitmaskThreshold(0.5f);
            images += image;
            spin.frames.push_back(lumo::gfx::AnimationFrame(image, 60));
        }
        try {
            images.refresh(nullptr);
        } catch (const std::string& message) {
            lumo::debug::critical(dbgDemo, "%s", message.c_str());
            lumo::quit(EXIT_FAILURE);
        }

        lumo::fonts::BitmapFont font(SPRITES_DEMO_FONT);
        lumo::fonts::Messages messages;
        messages.font = &font;
        messages.rect = lumo::Rect(0, 0, 800, 60);
        messages += new lumo::fonts::BlinkMessage("Touching sprites turn red", 1e9f, 500, 250);

        lumo::sprites::SpriteEngine engine;
        std::vector<std::unique_ptr<Ball>> balls;
        std::mt19937 random(5);
        std::uniform_real_distribution<float> px(60, 740), py(90, 520), v(-0.25f, 0.25f);
        for (int i = 0; i < 20; ++i) {
            balls.emplace_back(new Ball(px(random), py(random), v(random), v(random), &spin));
            engine.addBack(balls.back().get());
        }

        lumo::setClearColor(lumo::Color(0.08f, 0.1f, 0.18f, 1));
        lumo::RenderContext2D context(lumo::Vector2D(800, 600));
        context.blending = true;
        const lumo::Rect header(20, 555, 760, 40);

        bool shotTaken = false;
        int frames = 0;
        const Uint32 start = SDL_GetTicks();
        Uint32 last = start;
        for (bool running = true; running && SDL_GetTicks() - start < runMilliseconds;) {
            SDL_Event event;
            while (SDL_PollEvent(&event))
                if (event.type == SDL_QUIT ||
                    (event.type == SDL_KEYDOWN && event.key.keysym.sym == SDLK_ESCAPE))
                    running = false;
            const Uint32 now = SDL_GetTicks();
            const float ticks = static_cast<float>(now - last);
            last = now;

            engine.perform(ticks);
            engine.testCollisions();
            messages.perform(ticks);

            lumo::clearScreen();
            context.apply();
            lumo::resetCursor();
            engine.draw();
            glColor4f(1, 1, 0.6f, 1);
            // Each print leaves the pen after its text, so the matrix is reset in between.
            font.print(header, lumo::jhLeft, lumo::jvTop, "Left: sprites and masks");
            lumo::resetCursor();
            font.print(header, lumo::jhCenter, lumo::jvTop, "Centred: lumo sprite engine");
            lumo::resetCursor();
            font.printf(header, lumo::jhRight, lumo::jvTop, "Right: %d sprites", engine.size());
            lumo::resetCursor();
            glColor4f(1, 1, 1, 1);
            messages.draw();
            lumo::resetCursor();

            bool touching = false;
            for (const auto& ball : balls)
                touching = touching || ball->touched > 0;
            // A frame that shows a touch, if one comes soon enough.
            if (!shotTaken && now - start >= screenshotAt &&
                (touching || now - start >= 2 * screenshotAt)) {
                shotTaken = true;
                try {
                    lumo::saveScreenshot("sprites_demo.png");
                    lumo::debug::info(dbgDemo, "Saved a frame as sprites_demo.png.");
                } catch (const std::string& message) {
                    lumo::debug::error(dbgDemo, "Could not save the screenshot: %s",
                                       message.c_str());
                    status = EXIT_FAILURE;
                }
            }
            lumo::flipScreen();
            ++frames;
        }
        lumo::debug::info(dbgDemo, "Drew %d frames in %u ms.", frames,
                          static_cast<unsigned>(SDL_GetTicks() - start));
        images.release();
    }
    lumo::quit(status);
}
