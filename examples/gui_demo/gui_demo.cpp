// Shows the GUI toolkit: a form read from form.xml with every widget (panes, labels with and
// without icon, a text field, a normal and a repeating button, check boxes, an input captor,
// two drop-down lists, int and float sliders laid horizontally and vertically) and every style
// (plain bevelled frames, a stretched and a tiled nine-piece frame, font, label, button,
// check-box and drop-down list styles). It is driven by the mouse, the keyboard (Tab,
// Shift+Tab, cursor keys, Return, Space) and joystick 0, and logs every trigger the form fires.
// F12 saves "gui_demo_shot.png" in the current directory; the first frames are saved once as
// "gui_demo.png". Ends on Escape, the Quit button, a closed window, or after the number of
// seconds given as the only argument.
//
// The form's pictures are drawn by the program itself into a temporary folder at start.

#include <GL/gl.h>
#include <SDL.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "controls/input_evaluator.hpp"
#include "controls/key_names.hpp"
#include "debug/log.hpp"
#include "framework/application.hpp"
#include "framework/application_state.hpp"
#include "gfx/fonts/font_bank.hpp"
#include "gfx/images/image_bank.hpp"
#include "gfx/images/image_resource.hpp"
#include "gui/core/captioned_object.hpp"
#include "gui/core/gui.hpp"
#include "gui/standard/input_captor.hpp"
#include "lumo/lumo.hpp"
#include "lumo/render_context.hpp"
#include "lumo/screenshot.hpp"
#include "lumo/video.hpp"
#include "resources/resource_manager.hpp"

namespace {

const int dbgDemo = 1;
// Trigger codes of resources.xml.
enum {
    idQuit = 1,
    idShot = 2,
    idConfirm = 12,
    idCapture = 16,
    idCaptured = 17,
};
const int firstShotFrame = 10;

typedef std::function<SDL_Color(int x, int y)> Painter;

/// Writes a w x h RGBA picture; `paint` gets (x, y) with rows counted from the top.
void writePicture(const std::string& path, int w, int h, const Painter& paint) {
    SDL_Surface* s = SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 32, 0x000000FF, 0x0000FF00,
                                          0x00FF0000, 0xFF000000);
    for (int y = 0; y < h; ++y) {
        Uint32* row = reinterpret_cast<Uint32*>(static_cast<Uint8*>(s->pixels) + y * s->pitch);
        for (int x = 0; x < w; ++x) {
            SDL_Color c = paint(x, y);
            row[x] = SDL_MapRGBA(s->format, c.r, c.g, c.b, c.unused);
        }
    }
    lumo::savePng(s, path.c_str());
    SDL_FreeSurface(s);
}

SDL_Color rgba(Uint8 r, Uint8 g, Uint8 b, Uint8 a = 255) {
    return SDL_Color{r, g, b, a};
}

/// The pictures of form.xml: nine frame pieces of plain, distinct colours (corners red, upper
/// and lower edges green, left and right edges yellow, a dark blue centre), a checker tile, a
/// star icon and an arrow cursor.
std::vector<std::string> writePictures(const std::string& dir) {
    std::vector<std::string> files;
    auto write = [&](const char* name, int w, int h, const Painter& paint) {
        files.push_back(dir + name);
        writePicture(files.back(), w, h, paint);
    };
    auto plain = [](SDL_Color c) { return [c](int, int) { return c; }; };
    for (const char* corner :
         {"upper_left.png", "upper_right.png", "lower_left.png", "lower_right.png"})
        write(corner, 8, 8, plain(rgba(220, 40, 40)));
    write("upper.png", 8, 8, plain(rgba(40, 200, 40)));
    write("lower.png", 8, 8, plain(rgba(40, 200, 40)));
    write("left.png", 8, 8, plain(rgba(230, 200, 40)));
    write("right.png", 8, 8, plain(rgba(230, 200, 40)));
    write("center.png", 8, 8, plain(rgba(40, 60, 140)));
    write("checker.png", 16, 16, [](int x, int y) {
        return (x / 8 + y / 8) % 2 ? rgba(200, 200, 200) : rgba(100, 100, 100);
    });
    write("star.png", 16, 16, [](int x, int y) {
        const int d = std::abs(x * 2 - 15) + std::abs(y * 2 - 15);
        return d <= 15 ? rgba(255, 210, 0) : rgba(0, 0, 0, 0);
    });
    // Tip at the top left; the image's hotspot puts it on the pointer.
    write("cursor.png", 12, 12, [](int x, int y) {
        if (x > y || x + y > 16)
            return rgba(0, 0, 0, 0);
        return (x == y || x == 0 || y == 0 || x + y == 16) ? rgba(0, 0, 0) : rgba(255, 255, 255);
    });
    return files;
}

class FormState : public lumo::ApplicationState {
  public:
    FormState(lumo::gui::GUI* gui, Uint32 limit) : gui(gui), limit(limit) {
        performStageCount = 1;
        drawStageCount = 1;
    }

    void handleEvent(const lumo::Trigger* t) override {
        lumo::debug::info(dbgDemo, "Trigger \"%s\" (code %d): %s", t->name.c_str(), t->id,
                          t->humanName.c_str());
        lumo::gui::InputCaptor* captor = dynamic_cast<lumo::gui::InputCaptor*>((*gui)["icKey"]);
        lumo::gui::CaptionedObject* captured =
            dynamic_cast<lumo::gui::CaptionedObject*>((*gui)["lCaptured"]);
        switch (t->id) {
            case idQuit:
                terminate = true;
                break;
            case idShot:
                shotWanted = true;
                break;
            case idConfirm:
                if (auto* field = dynamic_cast<lumo::gui::CaptionedObject*>((*gui)["tfName"]))
                    lumo::debug::info(dbgDemo, "Name confirmed: \"%s\"",
                                      field->getCaption().c_str());
                break;
            case idCapture:
                if (captor && captured) {
                    captor->setEnabled(true);
                    captor->setFocused(true);
                    captured->setCaption("Press a key, a joystick button or move an axis");
                }
                break;
            case idCaptured:
                if (captor && captured) {
                    std::string what = captor->getKey() != SDLK_UNKNOWN
                                           ? "key " + lumo::toStr<SDLKey>(captor->getKey())
                                           : "joystick " + std::to_string(captor->getJoy()) +
                                                 " button " +
                                                 std::to_string(captor->getJoyButton());
                    captured->setCaption("Captured: " + what);
                    lumo::debug::info(dbgDemo, "Captured %s", what.c_str());
                    (*gui)["bCapture"]->setFocused(true);
                }
                break;
            default:
                break;
        }
    }

    void doPerform(int, unsigned int ticks) override {
        gui->perform(&lumo::queue, static_cast<float>(ticks));
        elapsed += ticks;
        if (limit && elapsed >= limit)
            terminate = true;
    }

    void doDraw(int) override {
        lumo::clearScreen();
        context.apply();
        lumo::resetCursor();
        gui->draw();
        ++frame;
        if (frame == firstShotFrame)
            lumo::saveScreenshot("gui_demo.png");
        if (shotWanted) {
            lumo::saveScreenshot("gui_demo_shot.png");
            lumo::debug::info(dbgDemo, "Saved gui_demo_shot.png");
            shotWanted = false;
        }
        lumo::flipScreen();
        SDL_Delay(5);  // the loop has no frame cap of its own
    }

  private:
    lumo::gui::GUI* gui;
    lumo::RenderContext2D context{lumo::Vector2D(800, 600)};
    Uint32 limit;
    Uint32 elapsed = 0;
    unsigned long frame = 0;
    bool shotWanted = false;
};

class GuiDemo : public lumo::Application {
  public:
    explicit GuiDemo(Uint32 limit) {
        lumo::debug::groups[dbgDemo] = lumo::debug::Group("gui_demo", lumo::debug::dlDebug);
        lumo::init(lumo::ssVideo | lumo::ssJoystick, true);
        lumo::setWindowCaption("lumo GUI demo");
        lumo::setResolution(800, 600, 32, false, 0, 0);
        lumo::showCursor(false);  // the form draws its own
        joystick = lumo::initJoystick(0);

        char pattern[] = "/tmp/lumo-gui-demo-XXXXXX";
        if (const char* made = ::mkdtemp(pattern))
            pictureDir = std::string(made) + "/";
        else
            throw std::string("Could not create a folder for the demo's pictures.");
        pictures = writePictures(pictureDir);

        manager.load(GUI_DEMO_DATA "resources.xml", "");
        fonts = dynamic_cast<lumo::fonts::FontBank*>(manager["fonts"]);
        evaluator = dynamic_cast<lumo::InputEvaluator*>(manager["demo"]);
        if (!fonts || !evaluator)
            throw std::string("resources.xml lacks the fonts or the demo triggers.");
        fonts->refresh();
        manager.add("gui", gui = new lumo::gui::GUI);
        gui->setImages(&images);
        gui->load(GUI_DEMO_DATA "form.xml", pictureDir);
        gui->setActive(true);

        // The GUI sees every event first; what it leaves goes to the demo's own bindings.
        lumo::queue.evaluators.push_back(gui);
        lumo::queue.evaluators.push_back(evaluator);
        queue = &lumo::queue;
        (new FormState(gui, limit))->activate();
    }
    ~GuiDemo() override {
        lumo::queue.evaluators.clear();
        images.release();
        for (const std::string& f : pictures)
            std::remove(f.c_str());
        ::rmdir(pictureDir.c_str());
        if (joystick)
            lumo::cleanUpJoystick(joystick);
    }

  private:
    SDL_Joystick* joystick = nullptr;
    std::string pictureDir;
    std::vector<std::string> pictures;
    lumo::ResourceManager manager;
    lumo::gfx::ImageBank images;
    lumo::fonts::FontBank* fonts = nullptr;
    lumo::InputEvaluator* evaluator = nullptr;
    lumo::gui::GUI* gui = nullptr;
};

}  // namespace

int main(int argc, char** argv) {
    try {
        const Uint32 limit = argc > 1 ? static_cast<Uint32>(std::atof(argv[1]) * 1000) : 0;
        GuiDemo* demo = new GuiDemo(limit);
        demo->run();
        delete demo;  // ends the process through lumo::quit()
    } catch (const std::string& message) {
        std::cerr << message << std::endl;
    }
    return 1;
}
