#pragma once
// The game's resources: every bank of "resources.xml", the named images, animations, sounds
// and GUI components the game uses, the sound players, the window's render context and the
// high-score table with its file.

#include <string>
#include <vector>

#include "files/sys_dir_manager.hpp"
#include "highscore_entry.hpp"
#include "lumo/render_context.hpp"
#include "resources/resource_manager.hpp"

namespace lumo {
class ControlQueue;
class Evaluator;
class InputEvaluator;
class Trigger;
namespace audio {
class MusicManager;
class Sample;
class SampleBank;
class SourcePool;
}  // namespace audio
namespace fonts {
class Font;
class FontBank;
}  // namespace fonts
namespace gfx {
class Animation;
class AnimationBank;
class ImageBank;
class ImageResource;
}  // namespace gfx
namespace gui {
class Component;
class GUI;
}  // namespace gui
}  // namespace lumo

namespace pimwarden {

/// The system directories of the game; the home directory can be replaced (`homeDirectory`).
class GameDirs : public lumo::SysDirManager {
  public:
    GameDirs();

  protected:
    const char* passwordHomeDir() const override;
};

class Resources : public lumo::ResourceManager {
  public:
    /// Loads "resources.xml" from the constant-data directory, finds the banks by name and
    /// chains the input evaluators and the GUI into the control queue. Throws
    /// "<bank> not found" for a missing bank (or one of another type).
    Resources();
    /// Deletes the sound players; the banks live on until the process ends.
    ~Resources() override;

    /// Opens the window and applies the 800 x 600 render context. Throws SDL's message.
    void setResolution(int w, int h, int bpp, bool fullscreen);
    /// Reads the high-score file, refreshes the banks, looks up every named entry, creates the
    /// sound players and centres the panes. Throws "<kind> <name> not found" for an image,
    /// animation, font, trigger or GUI component that the data lacks.
    void init();
    /// Reads the high-score file of the user directory; a missing or unreadable file is logged
    /// at info level and leaves the table as it was.
    void loadHighscores();
    /// Writes the table to the user directory (an unreadable file found at start-up is kept
    /// aside first); failures are logged at info level.
    void saveHighscores();
    /// The high-score file in the user directory; `create` makes the directory.
    std::string highscoresFile(bool create) const;

    void initMenu() {}
    void uninitMenu() {}
    void initGame() {}
    void uninitGame() {}
    void loadControls() {}

    // The GUI as the screens use it.
    /// The GUI and the name-entry pane shown with the prompt, the text field focused.
    void showNameEntry();
    /// The text typed into the name field.
    std::string enteredName() const;
    /// The name-entry pane and the GUI hidden, the GUI inactive.
    void hideNameEntry();
    /// The GUI and the high-score pane shown.
    void showHighscorePane();
    /// The GUI takes key events (active, its evaluator on) or gives them back.
    void enableGuiInput();
    void disableGuiInput();
    /// Everything a game showed is hidden and the GUI takes no more events.
    void leaveGui();
    /// The GUI's per-frame work (text-field key repeat).
    void performGui(float ticks);
    /// Draws the GUI when it is visible.
    void drawGui();

    Highscores highscores;
    lumo::RenderContext2D renderContext;
    lumo::fonts::FontBank* fonts = nullptr;
    lumo::fonts::Font* font = nullptr;
    lumo::gfx::ImageBank* images = nullptr;
    lumo::gfx::AnimationBank* animations = nullptr;
    lumo::gfx::ImageResource* imageGreatPim = nullptr;
    lumo::gfx::ImageResource* imageTitle = nullptr;
    lumo::gfx::ImageResource* imageCredits = nullptr;
    lumo::gfx::ImageResource* imageWall = nullptr;
    lumo::gfx::ImageResource* imageStone = nullptr;
    lumo::gfx::ImageResource* imageTrunk = nullptr;
    lumo::gfx::ImageResource* imageGameOver = nullptr;
    lumo::gfx::ImageResource* imageFoeBase = nullptr;
    lumo::gfx::Animation* animPim = nullptr;
    lumo::gfx::Animation* animFoeClimb = nullptr;
    lumo::gfx::Animation* animFoeStrafe = nullptr;
    lumo::gfx::Animation* animFoeFall = nullptr;
    lumo::gfx::Animation* animFoeVictory = nullptr;
    lumo::audio::SampleBank* samples = nullptr;
    lumo::audio::SampleBank* music = nullptr;
    lumo::audio::Sample* sampleThrow = nullptr;
    lumo::audio::Sample* sampleHit = nullptr;
    lumo::audio::Sample* sampleFoeCryLow = nullptr;
    lumo::audio::Sample* sampleFoeCryMedium = nullptr;
    lumo::audio::Sample* sampleFoeCryHigh = nullptr;
    lumo::audio::Sample* sampleFoeCryVeryHigh = nullptr;
    lumo::audio::Sample* samplePlayerCry = nullptr;
    lumo::audio::Sample* musicTitle = nullptr;
    lumo::audio::Sample* musicGame = nullptr;
    lumo::audio::SourcePool* poolThrow = nullptr;
    lumo::audio::SourcePool* poolHit = nullptr;
    lumo::audio::SourcePool* poolCry = nullptr;
    lumo::audio::MusicManager* musicManager = nullptr;
    lumo::gui::GUI* gui = nullptr;
    lumo::gui::Component* pEnterName = nullptr;
    lumo::gui::Component* pHighscores = nullptr;
    lumo::gui::Component* lEnterName = nullptr;
    lumo::gui::Component* tfEnterName = nullptr;
    lumo::InputEvaluator* evaluatorCore = nullptr;
    lumo::InputEvaluator* evaluatorMenu = nullptr;
    lumo::InputEvaluator* evaluatorGameCore = nullptr;
    lumo::InputEvaluator* evaluatorGamePlayer = nullptr;
    lumo::ControlQueue* queue = nullptr;
    lumo::Trigger* playerTrigger = nullptr;
    GameDirs sysDirs;

  private:
    // Implemented next to the GUI toolkit's headers.
    /// The bank as a GUI, or null.
    static lumo::gui::GUI* asGui(lumo::BasicResourceBank* bank);
    /// The GUI's part that takes SDL events.
    lumo::Evaluator* guiEvaluator() const;
    /// The input evaluators and the GUI in the order they are put at the front of the control
    /// queue's chain (so the GUI comes first).
    std::vector<lumo::Evaluator*> evaluatorChain() const;
    /// Looks the four components up and centres the panes; throws for a missing one.
    void findComponents();

    /// The high-score file could not be read at start-up: keep it aside before saving.
    bool highscoresUnreadable = false;
};

}  // namespace pimwarden
