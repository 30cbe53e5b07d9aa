#pragma once
// Leveled logging to standard output by numbered groups. A line reads
//   [group name] (level name) message
// and is written whole and flushed, so lines of the main and the music thread never interleave.
// The framework's groups are negative numbers; applications use 0 and up.

#include <cstdarg>
#include <map>
#include <string>

namespace lumo {
namespace xml {
class Node;
}

namespace debug {

enum DebugLevel { dlNone = 0, dlCritical = 1, dlError = 2, dlWarning = 3, dlInfo = 4, dlDebug = 5 };

extern const char* const LEVEL_NAME[6];

struct Group {
    Group() = default;
    Group(std::string n, DebugLevel l) : name(std::move(n)), level(l) {}
    std::string name = "undefined";
    DebugLevel level = dlDebug;
};

/// The groups by number; looking up an unknown number inserts an "undefined" group at dlDebug.
/// Register groups before other threads start logging.
class Groups : public std::map<int, Group> {
  public:
    /// Applies the levels of a settings file (root `debug`, children `group` with `name` and
    /// `level`). Throws the reader's message when the file cannot be read.
    void loadSettings(const char* filename);
    void getSettingsFromNode(const xml::Node* node);
};

extern Groups groups;

/// The framework's groups.
enum {
    dbgCore = -1,
    dbgControls = -2,
    dbgGui = -3,
    dbgDdd = -4,
    dbgMath = -5,
    dbgSprites = -6,
    dbgImages = -7,
    dbgFonts = -8,
    dbgXml = -9,
    dbgAudio = -10,
    dbgCollision = -11,
    dbgAnimations = -12,
    dbgResources = -13
};

struct DebugGroupName {
    int group;
    const char* name;
};
/// (number, short name) pairs of the framework's groups, ended by number 0.
extern const DebugGroupName defDebugGroups[];

/// Names the framework groups "lumo:" + short name.
void nameFrameworkGroups();

/// The level named `name` in LEVEL_NAME; an unknown name gives dlNone.
DebugLevel debugLevel(const char* name);

/// Formats and prints one line when the group admits the level. Never throws. Thread-safe.
void vmessagef(DebugLevel level, int group, const char* fmt, va_list args);

void critical(int group, const char* fmt, ...) __attribute__((format(printf, 2, 3)));
void error(int group, const char* fmt, ...) __attribute__((format(printf, 2, 3)));
void warning(int group, const char* fmt, ...) __attribute__((format(printf, 2, 3)));
void info(int group, const char* fmt, ...) __attribute__((format(printf, 2, 3)));
void debug(int group, const char* fmt, ...) __attribute__((format(printf, 2, 3)));

}  // namespace debug

using debug::dbgAnimations;
using debug::dbgAudio;
using debug::dbgCollision;
using debug::dbgControls;
using debug::dbgCore;
using debug::dbgDdd;
using debug::dbgFonts;
using debug::dbgGui;
using debug::dbgImages;
using debug::dbgMath;
using debug::dbgResources;
using debug::dbgSprites;
using debug::dbgXml;

}  // namespace lumo
