#pragma once
// The play state: one game from the first foe to the high-score table.

#include "game_state.hpp"
#include "sprites/sprites/sprite_engine.hpp"

namespace pimwarden {

class Pim;

enum GamePhase { gpPlaying = 1, gpGameOver = 2, gpEnterName = 3, gpHighscores = 4 };

class Game : public GameState {
  public:
    /// Sets the global `game` and creates Pim (who grabs his first stone).
    Game();
    /// Leaves the screen (the title menu comes back), clears `game` and deletes the game's
    /// sprites, also those still waiting in the deletion queue.
    ~Game() override;

    /// Blue background, the game's controls on, held keys forgotten.
    void activate() override;
    /// Hides the GUI and its panes, turns the game's controls off and activates the title menu.
    void deactivate() override;
    void togglePause() { paused = !paused; }
    /// While playing: Pim's cry, the held stone dropped, the pause left; phase `gpGameOver`.
    void gameOver();
    /// Asks for a name when the score enters the table, else shows the table.
    void highscores();

    void handleEvent(const lumo::Trigger* t) override;
    void doPerform(int stage, unsigned int ticks) override;
    void doDraw(int stage) override;

    GamePhase phase = gpPlaying;
    bool paused = false;
    int score = 0;
    lumo::sprites::SpriteEngine pimEngine;
    lumo::sprites::SpriteEngine stoneEngine;
    lumo::sprites::SpriteEngine foeEngine;
    Pim* pim = nullptr;
    float spawnTime = 0;
    float spawnInterval;
    int foePause;
    /// The table row of this game's entry, -1 when none.
    int highscoreRank = -1;
    /// Stones in flight plus falling foes.
    int fallingCount = 0;

    /// Runs the spawn clock for one frame: at most one new foe, each spawn shortening the
    /// interval and the foes' base pause down to their floors.
    void spawn(unsigned int ticks);

  private:
    void drawHighscores();
    void releaseSprites();
};

}  // namespace pimwarden
