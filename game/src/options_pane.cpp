#include "options_pane.hpp"

#include <algorithm>
#include <string>

#include "controls/trigger.hpp"
#include "debug/log.hpp"
#include "debug/message_stack.hpp"
#include "gfx/fonts/font.hpp"
#include "gfx/images/image_bank.hpp"
#include "gui/core/gui.hpp"
#include "gui/slider/slider.hpp"
#include "gui/standard/button.hpp"
#include "gui/standard/checkbox.hpp"
#include "gui/standard/input_captor.hpp"
#include "gui/text/label.hpp"
#include "lumo/video.hpp"
#include "pimwarden.hpp"
#include "resources.hpp"
#include "settings.hpp"
#include "sprites/sprites/image_sprite.hpp"

namespace pimwarden {

namespace {

/// The widget names end in these, action by action.
const char* const SUFFIXES[gaCount] = {"Left",  "Right", "Drop",      "Pause",
                                       "Start", "Back",  "Fullscreen"};

const char* const HELP = "Up and Down choose, Return changes; Escape closes";

template <class T>
T* widget(const std::string& name) {
    T* w = dynamic_cast<T*>((*resources->gui)[name]);
    if (!w)
        throw "component " + name + " not found";
    return w;
}

}  // namespace

OptionsPane::OptionsPane() {
    lumo::debug::MessageScope scope("OptionsPane::OptionsPane()");
    enabled = false;
    closeTrigger =
        new lumo::Trigger(&triggers, idClose, "close", "Close the options", lumo::ctrlDown);
    try {
        if (!settings)
            throw std::string("no settings");
        findWidgets();
        available = true;
    } catch (const std::string& message) {
        lumo::debug::warning(dbgMenu, "No options pane: %s", message.c_str());
        return;
    }
    // Right after the GUI, so that the GUI still sees every event first.
    auto& chain = resources->queue->evaluators;
    auto gui = std::find(chain.begin(), chain.end(), static_cast<lumo::Evaluator*>(resources->gui));
    chain.insert(gui == chain.end() ? chain.begin() : std::next(gui), this);
}

OptionsPane::~OptionsPane() {
    if (!resources)
        return;
    hide();
    if (available)
        resources->queue->evaluators.remove(this);
}

void OptionsPane::findWidgets() {
    pane = widget<lumo::gui::Component>("pOptions");
    music = widget<lumo::gui::Slider<int>>("sMusic");
    effects = widget<lumo::gui::Slider<int>>("sEffects");
    fullscreen = widget<lumo::gui::Checkbox>("cbFullscreen");
    status = widget<lumo::gui::Label>("lOptionsStatus");
    done = widget<lumo::gui::Button>("bOptionsDone");
    for (int i = 0; i < gaCount; ++i) {
        keyButtons[i] = widget<lumo::gui::Button>(std::string("bKey") + SUFFIXES[i]);
        captors[i] = widget<lumo::gui::InputCaptor>(std::string("ic") + SUFFIXES[i]);
    }
    pane->center(lumo::vpScreen.dimensions);

    lumo::Trigger* keyCaptured = new lumo::Trigger(&triggers, idKeyCaptured, "keyCaptured",
                                                   "A key captured", lumo::ctrlDown);
    lumo::Trigger* joyCaptured = new lumo::Trigger(&triggers, idJoyCaptured, "joyCaptured",
                                                   "A joystick input captured", lumo::ctrlDown);
    for (int i = 0; i < gaCount; ++i) {
        lumo::Trigger* t = new lumo::Trigger(&triggers, idCapture, "capture" + std::to_string(i),
                                             "Capture a key", lumo::ctrlDown);
        t->data = i;
        keyButtons[i]->setTrigger(t);
        captors[i]->setEnabled(false);
        captors[i]->setTriggerKey(keyCaptured);
        captors[i]->setTriggerJoyButton(joyCaptured);
        captors[i]->setTriggerJoyAxis(joyCaptured);
    }
    fullscreen->setTriggerOn(
        new lumo::Trigger(&triggers, idScreenOn, "screenOn", "Full screen", lumo::ctrlDown));
    fullscreen->setTriggerOff(
        new lumo::Trigger(&triggers, idScreenOff, "screenOff", "Windowed", lumo::ctrlDown));
    done->setTrigger(closeTrigger);
}

void OptionsPane::show() {
    lumo::debug::MessageScope scope("OptionsPane::show()");
    if (!available || open)
        return;
    music->setValue(settings->getMusicVolume());
    effects->setValue(settings->getEffectsVolume());
    fullscreen->setChecked(lumo::fullscreen);
    fullscreen->setCaption(lumo::fullscreen ? "On" : "Off");
    showKeys();
    setStatus(HELP);

    lumo::gui::GUI* gui = resources->gui;
    gui->setVisible(true);
    pane->setVisible(true);
    resources->enableGuiInput();
    if (lumo::gfx::Image* cursor = resources->images->at("cursor"))
        gui->setMouseCursor(
            new lumo::sprites::ImageSprite(gui->getDimensions() / 2.0f, true, cursor));
    music->setFocused(true);
    enabled = true;
    open = true;
}

void OptionsPane::hide() {
    lumo::debug::MessageScope scope("OptionsPane::hide()");
    if (!open)
        return;
    if (capturing >= 0)
        captors[capturing]->setEnabled(false);
    capturing = -1;
    lumo::gui::GUI* gui = resources->gui;
    pane->setVisible(false);
    gui->setMouseCursor(nullptr);
    gui->setVisible(false);
    gui->setActive(false);
    static_cast<lumo::gui::Component*>(gui)->setFocused(true);
    resources->disableGuiInput();
    enabled = false;
    open = false;
    settings->save();
}

bool OptionsPane::handleEvent(const lumo::Trigger* t) {
    if (t->owner == &triggers) {
        if (open)
            act(t);
        return true;
    }
    if (open)
        return true;
    if (t->id != OPTIONS_TRIGGER || !available)
        return false;
    show();
    return true;
}

void OptionsPane::act(const lumo::Trigger* t) {
    switch (t->id) {
        case idClose:
            hide();
            return;
        case idCapture:
            capture(static_cast<GameAction>(t->data));
            return;
        case idKeyCaptured:
            keyCaptured();
            return;
        case idJoyCaptured:
            endCapture();
            setStatus("Only keys are chosen here; the joystick stays as it is");
            return;
        case idScreenOn:
        case idScreenOff:
            if (!settings->setFullscreen(t->id == idScreenOn)) {
                fullscreen->setChecked(lumo::fullscreen);
                setStatus("The screen mode could not be changed");
            }
            fullscreen->setCaption(lumo::fullscreen ? "On" : "Off");
            return;
        default:
            return;
    }
}

void OptionsPane::capture(GameAction a) {
    if (capturing >= 0)
        endCapture();
    capturing = a;
    captors[a]->setEnabled(true);
    captors[a]->setFocused(true);
    keyButtons[a]->setCaption("press a key");
    setStatus(std::string("Press the new key for ") + KeyBindings::name(a) +
              "; Escape keeps the old one");
}

void OptionsPane::endCapture() {
    if (capturing < 0)
        return;
    const int a = capturing;
    capturing = -1;
    captors[a]->setEnabled(false);
    keyButtons[a]->setFocused(true);
    showKeys();
}

void OptionsPane::keyCaptured() {
    if (capturing < 0)
        return;
    const GameAction a = static_cast<GameAction>(capturing);
    const SDLKey key = captors[a]->getKey();
    endCapture();
    const std::string name = KeyBindings::name(a);
    if (key == SDLK_ESCAPE) {
        setStatus(capitalised(name) + " keeps its keys");
        return;
    }
    GameAction other = a;
    const BindResult result = settings->keys.bind(a, key, &other);
    showKeys();
    const std::string otherName = KeyBindings::name(other);
    switch (result) {
        case brBound:
        case brUnchanged:
            setStatus(capitalised(name) + ": " + settings->keys.describe(a));
            return;
        case brSwapped:
            setStatus(capitalised(otherName) + " took the former keys of " + name);
            return;
        case brEscapeReserved:
            setStatus("Escape stays with back");
            return;
        case brReserved:
            setStatus("O opens the options on the title screen");
            return;
        case brNoName:
            setStatus("That key cannot be chosen");
            return;
        case brLastKey:
            setStatus(capitalised(otherName) + " would be left without a key");
            return;
    }
}

void OptionsPane::showKeys() {
    for (int i = 0; i < gaCount; ++i)
        if (i != capturing)
            keyButtons[i]->setCaption(settings->keys.describe(static_cast<GameAction>(i)));
}

void OptionsPane::setStatus(const std::string& text) {
    status->setCaption(text);
}

bool OptionsPane::evaluate(const SDL_Event& event, lumo::ControlQueue* queue) {
    switch (event.type) {
        case SDL_KEYDOWN:
            if (event.key.keysym.sym == SDLK_ESCAPE)
                closeTrigger->trigger(queue);
            return true;
        case SDL_KEYUP:
        case SDL_JOYBUTTONDOWN:
        case SDL_JOYBUTTONUP:
        case SDL_JOYAXISMOTION:
        case SDL_JOYHATMOTION:
        case SDL_JOYBALLMOTION:
            return true;
        default:
            return false;
    }
}

void OptionsPane::perform(float, lumo::ControlQueue*) {
    if (!open)
        return;
    // The mouse moved the focus away from a captor that waited for a key.
    if (capturing >= 0 && !captors[capturing]->isFocused()) {
        captors[capturing]->setEnabled(false);
        capturing = -1;
        showKeys();
        setStatus(HELP);
    }
    if (music->getValue() != settings->getMusicVolume())
        settings->setMusicVolume(music->getValue());
    if (effects->getValue() != settings->getEffectsVolume())
        settings->setEffectsVolume(effects->getValue());
}

void OptionsPane::drawHint(float alpha) const {
    if (!available || open || !resources->font)
        return;
    const char* const hint = "O or joystick button 2: options";
    lumo::resetCursor();
    lumo::moveCursor(lumo::Vector2D(791, 581));
    lumo::Color(0, 0, 0, alpha).apply();
    resources->font->print(lumo::jhRight, hint);
    lumo::resetCursor();
    lumo::moveCursor(lumo::Vector2D(790, 582));
    lumo::Color(1, 1, 1, alpha).apply();
    resources->font->print(lumo::jhRight, hint);
}

}  // namespace pimwarden
