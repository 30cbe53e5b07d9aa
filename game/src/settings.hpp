#pragma once
// The player's settings, kept between runs in "settings.xml" next to the high scores: the music
// and effects volumes, full-screen mode and the keys of the game's actions. Main thread only.

#include <string>

#include "key_bindings.hpp"

namespace lumo {
namespace xml {
class Node;
}
}  // namespace lumo

namespace pimwarden {

class Resources;

/// The file name of the settings in the user directory.
extern const char* const FILE_SETTINGS;

class Settings {
  public:
    /// Over the banks and sound players of `r`, which must outlive it; the keys the data gives
    /// are the defaults. Throws as KeyBindings does.
    explicit Settings(Resources& r);

    /// Reads the settings file of the user directory and applies it. Without a file the defaults
    /// stay. A file that cannot be read (or is no settings file) is renamed aside like an
    /// unreadable high-score file and the defaults stay; one info line says so.
    void load();
    /// Writes the settings file, replacing the old one atomically; a failure is logged at info
    /// level.
    void save() const;
    /// The settings file; `create` makes the user directory.
    std::string file(bool create) const;

    /// Root `settings` with the volumes (`musicVolume`, `effectsVolume`: whole percent), the
    /// mode (`fullscreen`) and the keys (KeyBindings::putInNode).
    void putInNode(lumo::xml::Node* node) const;
    /// Applies what the element gives (missing attributes keep the current values; volumes are
    /// limited to 0..100).
    void getFromNode(const lumo::xml::Node* node);

    int getMusicVolume() const { return musicVolume; }
    int getEffectsVolume() const { return effectsVolume; }
    /// Limited to 0..100 and applied at once to the playing sounds and to the sounds started
    /// later (the gain is the percentage over 100).
    void setMusicVolume(int percent);
    void setEffectsVolume(int percent);
    /// Switches the window's mode; a mode that SDL refuses is logged as a warning and false is
    /// returned.
    bool setFullscreen(bool on);

    KeyBindings keys;

  private:
    Resources& resources;
    int musicVolume = 100;
    int effectsVolume = 100;
};

/// The running game's settings; null before loadSettings() made them.
extern Settings* settings;

/// Makes the settings over `r` (whose sound players and window exist), reads and applies the
/// settings file. Failures are logged; `settings` then stays null.
void loadSettings(Resources& r);

}  // namespace pimwarden
