#pragma once
// The options pane of the title screen: music and effects volume, full-screen mode and the keys
// of the game's actions, changed at once and saved when the pane closes. It is a pane of the
// game's GUI ("pOptions"); the title menu hands it every trigger first. Main thread only.

#include <SDL.h>

#include "controls/control_queue.hpp"
#include "controls/input_evaluator.hpp"
#include "key_bindings.hpp"

namespace lumo {
class Trigger;
namespace gui {
class Button;
class Checkbox;
class Component;
class InputCaptor;
class Label;
template <typename T>
class Slider;
}  // namespace gui
}  // namespace lumo

namespace pimwarden {

/// The id of the trigger (in the title menu's controls) that opens the pane.
const int OPTIONS_TRIGGER = 101;

/// While open, the pane also sits in the control queue's chain right after the GUI and takes
/// every key and joystick event the GUI leaves, so none reaches the title menu's controls;
/// Escape there closes it.
class OptionsPane : public lumo::Evaluator {
  public:
    /// Finds the pane's widgets in the game's GUI and joins the control queue's chain (closed,
    /// so disabled). Without settings or with a GUI that lacks one of the widgets the pane is
    /// unavailable (a warning says which): the trigger does not open it and no hint is drawn.
    OptionsPane();
    /// Closes the pane (saving) when open and leaves the chain.
    ~OptionsPane() override;
    OptionsPane(const OptionsPane&) = delete;
    OptionsPane& operator=(const OptionsPane&) = delete;

    bool isAvailable() const { return available; }
    bool isOpen() const { return open; }
    /// Shows the pane with the current settings, the music slider focused, the GUI taking input.
    void show();
    /// Hides the pane and the GUI, gives the input back to the title menu and saves the
    /// settings.
    void hide();

    /// The menu's triggers pass here first. Closed, only OPTIONS_TRIGGER is used (it opens the
    /// pane); open, every trigger is used, the pane's own ones act. True when used.
    bool handleEvent(const lumo::Trigger* t);
    /// Uses every key and joystick event while open; Escape (not being captured) closes.
    bool evaluate(const SDL_Event& event, lumo::ControlQueue* queue) override;
    /// Applies the sliders' volumes as they move; a capture whose captor lost the focus ends.
    void perform(float ticks, lumo::ControlQueue* queue) override;
    /// The line naming the key that opens the pane, at the top right in `alpha`; not while open.
    void drawHint(float alpha) const;

  private:
    enum Id { idClose = 110, idCapture, idKeyCaptured, idJoyCaptured, idScreenOn, idScreenOff };

    void findWidgets();
    void act(const lumo::Trigger* t);
    /// The captor of `a` takes the next key.
    void capture(GameAction a);
    /// Ends a capture: the action's button gets the focus back.
    void endCapture();
    void keyCaptured();
    void showKeys();
    void setStatus(const std::string& text);

    /// The pane's own triggers, fired by its widgets; not in the chain.
    lumo::InputEvaluator triggers;
    lumo::Trigger* closeTrigger = nullptr;
    bool available = false;
    bool open = false;
    /// The action whose key is being captured, or -1.
    int capturing = -1;

    lumo::gui::Component* pane = nullptr;
    lumo::gui::Slider<int>* music = nullptr;
    lumo::gui::Slider<int>* effects = nullptr;
    lumo::gui::Checkbox* fullscreen = nullptr;
    lumo::gui::Label* status = nullptr;
    lumo::gui::Button* done = nullptr;
    lumo::gui::Button* keyButtons[gaCount] = {};
    lumo::gui::InputCaptor* captors[gaCount] = {};
};

}  // namespace pimwarden
