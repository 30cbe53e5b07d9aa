#pragma once
// The title menu: fades in the big picture, then the title and the credits, plays the title
// music and waits for start (100), quit (1) or full screen (3).

#include "game_state.hpp"

namespace pimwarden {

class OptionsPane;

enum MenuState { msIntro = 0, msReady = 1 };

class Menu : public GameState {
  public:
    Menu();
    /// Stops the music; closes (saves) the options pane.
    ~Menu() override;

    /// Menu controls on, black background, the frame clock restarted, the title music from the
    /// start of its queue. The fade is not restarted.
    void activate() override;
    /// Stops the music; leaves the application without a state when the menu was active.
    void deactivate() override;
    /// msIntro hides everything, msReady shows everything at once.
    void setState(MenuState s);

    void handleEvent(const lumo::Trigger* t) override;
    void doPerform(int stage, unsigned int ticks) override;
    void doDraw(int stage) override;

    MenuState state = msIntro;
    float pictureAlpha = 0;
    float outlineAlpha = 0;
    float textAlpha = 0;
    /// The options pane the O key opens; owned.
    OptionsPane* options = nullptr;
};

}  // namespace pimwarden
