// Loads an image bank and an animation bank from data/demo.xml and shows a still picture, the
// same picture drawn into a taller rectangle at its own scale, a small tile stretched large, and
// a running animation. After three seconds it saves the frame as "images_demo.png" in the
// current directory; it ends when the window is closed.

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "controls/control_queue.hpp"
#include "debug/log.hpp"
#include "debug/message_stack.hpp"
#include "framework/application.hpp"
#include "framework/application_state.hpp"
#include "gfx/animations/animation_bank.hpp"
#include "gfx/animations/animation_reference.hpp"
#include "gfx/images/image_bank.hpp"
#include "lumo/lumo.hpp"
#include "lumo/render_context.hpp"
#include "lumo/screenshot.hpp"
#include "lumo/video.hpp"
#include "resources/resource_manager.hpp"

#ifndef IMAGES_DEMO_DATA
#define IMAGES_DEMO_DATA "data/"
#endif

namespace {

const int dbgDemo = 1;
const unsigned int screenshotAfter = 3000;

class ShowState : public lumo::ApplicationState {
  public:
    ShowState(lumo::gfx::ImageBank* images, lumo::gfx::AnimationBank* animations)
        : context(lumo::Vector2D(320, 240)) {
        performStageCount = 1;
        drawStageCount = 1;
        context.blending = true;
        landscape = images->at("landscape");
        gem = images->at("gem");
        if (!landscape || !gem || !animations->at("bounce"))
            throw std::string("demo.xml lacks the landscape, the gem or the bounce animation.");
        bounce.reset(animations->at("bounce")->getReference(1.0f));
    }

    void handleEvent(const lumo::Trigger*) override {}

    void doPerform(int, unsigned int ticks) override {
        elapsed += ticks;
        bounce->perform(static_cast<float>(ticks));
    }

    void doDraw(int) override {
        lumo::debug::MessageScope scope("ShowState::doDraw()");
        lumo::clearScreen();
        context.apply();
        lumo::resetCursor();
        lumo::Color(1, 1, 1, 1).apply();
        // Still, at its hotspot (the picture's centre).
        landscape->draw(lumo::Vector2D(60, 180));
        // Into a rectangle at its own scale: the picture sits in the rectangle's top-left
        // corner; below it come the texture's transparent padding rows and then the texture
        // again, which repeats.
        landscape->draw(lumo::Rect(120, 132, 64, 96));
        // Stretched: a 16 x 16 tile scaled up to 96 x 96 (nearest filtering shows its pixels).
        gem->drawStretched(lumo::Rect(200, 20, 96, 96));
        // The running animation, with a dimmed copy drawn at half the colour.
        bounce->draw(lumo::Vector2D(60, 70));
        lumo::Color(0.5f, 0.5f, 1, 0.6f).apply();
        bounce->draw(lumo::Vector2D(130, 70));

        if (!shotTaken && elapsed >= screenshotAfter) {
            shotTaken = true;
            try {
                lumo::saveScreenshot("images_demo.png");
                lumo::debug::info(dbgDemo, "Saved the frame as images_demo.png.");
            } catch (const std::string& message) {
                lumo::debug::error(dbgDemo, "Could not save the screenshot: %s", message.c_str());
            }
        }
        lumo::flipScreen();
    }

  private:
    lumo::RenderContext2D context;
    lumo::gfx::ImageResource* landscape = nullptr;
    lumo::gfx::ImageResource* gem = nullptr;
    std::unique_ptr<lumo::gfx::AnimationReference> bounce;
    unsigned int elapsed = 0;
    bool shotTaken = false;
};

class Demo : public lumo::Application {
  public:
    Demo() {
        lumo::debug::groups[dbgDemo] = lumo::debug::Group("images_demo", lumo::debug::dlDebug);
    }
    ~Demo() override {
        // The references die with the state; textures go while the window is still open.
        delete state;
        animations.reset();
        if (images)
            images->release();
        images.reset();
    }

    /// Kept out of the constructor: a throw from there would run ~Application, which ends the
    /// process before the message could be shown. Throws a message when anything is missing.
    void start() {
        lumo::init(lumo::ssVideo, true);
        lumo::setWindowCaption("Lumo images demo");

        lumo::ResourceManager resources;
        resources.load(IMAGES_DEMO_DATA "demo.xml", "");
        images.reset(dynamic_cast<lumo::gfx::ImageBank*>(resources["demo-images"]));
        animations.reset(dynamic_cast<lumo::gfx::AnimationBank*>(resources["demo-animations"]));
        resources.clear();
        if (!images || !animations)
            throw std::string("demo.xml lacks the demo's image or animation bank.");

        lumo::setResolution(640, 480, 32, false, 0, 0);
        lumo::setClearColor(lumo::Color(0.12f, 0.12f, 0.18f, 1));
        images->refresh(nullptr);
        queue = &lumo::queue;
        (new ShowState(images.get(), animations.get()))->activate();
    }

    // Declared in this order so the animations, which point into the images, go first.
    std::unique_ptr<lumo::gfx::ImageBank> images;
    std::unique_ptr<lumo::gfx::AnimationBank> animations;
};

}  // namespace

int main(int, char**) {
    Demo* demo = new Demo;
    try {
        demo->start();
    } catch (const std::string& message) {
        std::fprintf(stderr, "images_demo: %s\n", message.c_str());
        if (!std::getenv("DISPLAY"))
            std::fprintf(stderr, "images_demo: no X display; run it under scripts/with-xvfb.sh.\n");
        lumo::quit(EXIT_FAILURE);
    }
    demo->run();
    delete demo;  // ends the process through lumo::quit()
    return 0;
}
