#pragma once
// A GUI built from an XML text inside a resource manager that also holds a bank "t" of
// triggers, fed with hand-made SDL events; fired triggers are read back by name.

#include <SDL.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "controls/control_queue.hpp"
#include "controls/input_evaluator.hpp"
#include "gui/core/gui.hpp"
#include "lumo/types.hpp"
#include "resources/resource_manager.hpp"
#include "support/temp_dir.hpp"

namespace lumo {
namespace testing {

class GuiTest : public ::testing::Test {
  protected:
    GuiTest() {
        gui::axisTable.clear();
        vpScreen = Viewport(0, 0, 800, 600);
        manager.add("t", triggers.get());
        manager.add("gui", root.get());
        for (const char* name :
             {"ok", "on", "off", "north", "south", "confirm", "key", "joyB", "joyA", "other"})
            new Trigger(triggers.get(), ++lastId, name, "", ctrlDown);
    }

    /// Reads `<gui ...>` + body + `</gui>` as the GUI's description, active and shown.
    void load(const std::string& body, const std::string& guiAttributes = "") {
        std::string file = dir.write("gui.xml", "<gui name=\"gui\" width=\"800\" height=\"600\" " +
                                                    guiAttributes + ">" + body + "</gui>");
        root->load(file, dir.path() + "/");
        root->setActive(true);
        root->setVisible(true);
    }

    gui::Component* at(const std::string& name) {
        gui::Component* c = (*root)[name];
        EXPECT_NE(nullptr, c) << name;
        return c;
    }
    template <class T>
    T* as(const std::string& name) {
        T* c = dynamic_cast<T*>(at(name));
        EXPECT_NE(nullptr, c) << name;
        return c;
    }

    /// The names of the fired triggers, oldest first; the queue is emptied.
    std::vector<std::string> fired() {
        std::vector<std::string> names;
        Trigger* t = nullptr;
        while ((queue >> t, t))
            names.push_back(t->name);
        return names;
    }

    bool key(SDLKey sym, Uint16 unicode = 0, SDLMod mod = KMOD_NONE, bool down = true) {
        SDL_Event e{};
        e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
        e.key.keysym.sym = sym;
        e.key.keysym.mod = mod;
        e.key.keysym.unicode = unicode;
        return root->evaluate(e, &queue);
    }
    /// A character typed: its key down (the symbol is that of 'a'; only Unicode matters).
    bool type(Uint16 unicode) { return key(SDLK_a, unicode); }
    /// Window coordinates: y downward from the top of the 600 pixel high window.
    bool motion(int x, int y) {
        SDL_Event e{};
        e.type = SDL_MOUSEMOTION;
        e.motion.x = static_cast<Uint16>(x);
        e.motion.y = static_cast<Uint16>(y);
        return root->evaluate(e, &queue);
    }
    bool button(bool down, int x, int y, Uint8 b = SDL_BUTTON_LEFT) {
        SDL_Event e{};
        e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
        e.button.type = e.type;
        e.button.button = b;
        e.button.x = static_cast<Uint16>(x);
        e.button.y = static_cast<Uint16>(y);
        return root->evaluate(e, &queue);
    }
    bool axis(Uint8 joystick, Uint8 a, Sint16 value) {
        SDL_Event e{};
        e.type = SDL_JOYAXISMOTION;
        e.jaxis.which = joystick;
        e.jaxis.axis = a;
        e.jaxis.value = value;
        return root->evaluate(e, &queue);
    }
    bool joyButton(Uint8 joystick, Uint8 b) {
        SDL_Event e{};
        e.type = SDL_JOYBUTTONDOWN;
        e.jbutton.which = joystick;
        e.jbutton.button = b;
        return root->evaluate(e, &queue);
    }
    void perform(float ms) { root->perform(&queue, ms); }
    const std::string& focusedName() { return root->getFocused()->getName(); }

    TempDir dir;
    ControlQueue queue;
    int lastId = 0;
    std::unique_ptr<InputEvaluator> triggers{new InputEvaluator};
    std::unique_ptr<gui::GUI> root{new gui::GUI};
    // Declared last, so it goes first: it clears the banks' pointers to itself.
    ResourceManager manager;
};

}  // namespace testing
}  // namespace lumo
