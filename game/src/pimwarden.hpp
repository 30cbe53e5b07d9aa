#pragma once
// The game's application object and the globals through which its screens, sprites and
// resources reach each other.

#include <string>

#include "framework/application.hpp"

namespace pimwarden {

class Game;
class Menu;
class Resources;

/// The game's log groups.
enum { dbgCore = 1, dbgGame = 2, dbgMenu = 3, dbgResources = 4 };

/// The application name under which the system directories are looked up.
extern const std::string GAME_KEY;
/// Registers the game's log groups (all at debug level).
void registerLogGroups();

/// The file name of the high-score table in the user directory.
extern const char* const FILE_HIGHSCORES;

/// Created by the application's constructor, deleted by its destructor; null otherwise.
extern Resources* resources;
/// The title screen; created once at start-up.
extern Menu* menu;
/// The running game, or null.
extern Game* game;

/// Where "resources.xml" is read from (ending in "/"); empty for the system's games data
/// directory. Set before the application is created.
extern std::string dataDirectory;
/// The data directory for a configured one: an absolute path as it is, a relative one taken
/// from the directory of the running program (so an installed copy finds its data wherever it
/// is installed).
std::string resolveDataDirectory(const std::string& configured);

/// Replaces the home directory of the password database when not empty (for tests).
extern std::string homeDirectory;

/// Starts everything (window, sound, resources, title menu). A start-up failure is logged at
/// critical level and ends the process with status 1; the destructor ends it with status 0.
class PimWarden : public lumo::Application {
  public:
    PimWarden();
    ~PimWarden() override;

  private:
    /// Deletes the running game and the resources.
    void release();
    /// Logs `format` with `message` at critical level, releases what was made and ends the
    /// process unsuccessfully.
    [[noreturn]] void fail(const char* format, const std::string& message);
};

}  // namespace pimwarden
