#include "pimwarden.hpp"

#include <unistd.h>

#include <climits>

#include "audio/core/audio.hpp"
#include "controls/control_queue.hpp"
#include "debug/log.hpp"
#include "debug/message_stack.hpp"
#include "game.hpp"
#include "lumo/lumo.hpp"
#include "lumo/video.hpp"
#include "math/random.hpp"
#include "menu.hpp"
#include "resources.hpp"

namespace pimwarden {

const std::string GAME_KEY = "pimwarden";
const char* const FILE_HIGHSCORES = "highscores.xml";

Resources* resources = nullptr;
Menu* menu = nullptr;
Game* game = nullptr;
std::string dataDirectory;
std::string homeDirectory;

std::string resolveDataDirectory(const std::string& configured) {
    if (configured.empty() || configured.front() == '/')
        return configured;
    char program[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", program, sizeof program - 1);
    if (n <= 0)
        return configured;
    const std::string path(program, static_cast<std::size_t>(n));
    return path.substr(0, path.rfind('/') + 1) + configured;
}

void registerLogGroups() {
    lumo::debug::groups[dbgCore] = lumo::debug::Group("pimwarden:core", lumo::debug::dlDebug);
    lumo::debug::groups[dbgGame] = lumo::debug::Group("pimwarden:game", lumo::debug::dlDebug);
    lumo::debug::groups[dbgMenu] = lumo::debug::Group("pimwarden:menu", lumo::debug::dlDebug);
    lumo::debug::groups[dbgResources] =
        lumo::debug::Group("pimwarden:resources", lumo::debug::dlDebug);
}

PimWarden::PimWarden() {
    game = nullptr;
    resources = nullptr;
    registerLogGroups();

    try {
        lumo::init(lumo::ssVideo | lumo::ssJoystick, true);
    } catch (const std::string& message) {
        fail("Init() failed: %s\n", message);
    }
    lumo::randomize();
    lumo::setWindowCaption("Pim Warden");
    lumo::showCursor(false);
    try {
        resources = new Resources;
    } catch (const std::string& message) {
        fail("Could not load resources: %s\n", message);
    }
    try {
        lumo::audio::init("", 44100);
    } catch (const std::string& message) {
        fail("Could not intialize lumo:audio: %s\n", message);
    }
    try {
        resources->setResolution(800, 600, 32, false);
    } catch (const std::string& message) {
        fail("InitScreen() failed: %s\n", message);
    }
    // Data that lacks a named image, animation or component ends the start-up here, before
    // the game could use it.
    try {
        resources->init();
    } catch (const std::string& message) {
        fail("Could not load resources: %s\n", message);
    }
    menu = new Menu;
    menu->activate();
    queue = resources->queue;
}

PimWarden::~PimWarden() {
    lumo::debug::MessageScope scope("PimWarden::~PimWarden()");
    release();
}

void PimWarden::release() {
    delete game;
    game = nullptr;
    delete resources;
    resources = nullptr;
}

void PimWarden::fail(const char* format, const std::string& message) {
    lumo::debug::critical(dbgCore, format, message.c_str());
    release();
    if (lumo::application == this)
        lumo::application = nullptr;
    lumo::quit(1);
}

}  // namespace pimwarden
