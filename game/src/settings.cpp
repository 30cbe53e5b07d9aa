#include "settings.hpp"

#include <sys/stat.h>

#include <algorithm>
#include <memory>

#include "audio/music/music_manager.hpp"
#include "audio/sources/source_pool.hpp"
#include "debug/log.hpp"
#include "debug/message_stack.hpp"
#include "highscore_entry.hpp"
#include "lumo/video.hpp"
#include "pimwarden.hpp"
#include "resources.hpp"
#include "xml/node.hpp"

namespace pimwarden {

const char* const FILE_SETTINGS = "settings.xml";

Settings* settings = nullptr;

namespace {

const char* const XML_SETTINGS = "settings";
const char* const XML_MUSIC_VOLUME = "musicVolume";
const char* const XML_EFFECTS_VOLUME = "effectsVolume";
const char* const XML_FULLSCREEN = "fullscreen";

int percent(long value) {
    return static_cast<int>(std::max(0L, std::min(100L, value)));
}

float gain(int percent) {
    return static_cast<float>(percent) / 100.0f;
}

}  // namespace

Settings::Settings(Resources& r) : keys(r), resources(r) {}

std::string Settings::file(bool create) const {
    return resources.sysDirs.getSubDir(lumo::sdUser, "", create) + FILE_SETTINGS;
}

void Settings::load() {
    lumo::debug::MessageScope scope("Settings::load()");
    std::string name;
    try {
        name = file(false);
        struct stat info;
        if (stat(name.c_str(), &info) != 0)
            return;
        std::unique_ptr<lumo::xml::Node> root(lumo::xml::loadXML(name.c_str()));
        if (root->name != XML_SETTINGS)
            throw name + " holds no settings";
        getFromNode(root.get());
    } catch (const std::string& message) {
        if (name.empty()) {
            lumo::debug::info(dbgResources, "Could not load settings: %s", message.c_str());
            return;
        }
        const std::string aside = keepFileAside(name);
        lumo::debug::info(dbgResources, "Could not load settings: %s; %s%s, the defaults are used",
                          message.c_str(), aside.empty() ? "could not move it aside" : "kept as ",
                          aside.c_str());
    }
}

void Settings::save() const {
    lumo::debug::MessageScope scope("Settings::save()");
    try {
        lumo::xml::Node root;
        putInNode(&root);
        root.saveXML(file(true).c_str());
    } catch (const std::string& message) {
        lumo::debug::info(dbgResources, "Could not save settings: %s", message.c_str());
    }
}

void Settings::putInNode(lumo::xml::Node* node) const {
    node->name = XML_SETTINGS;
    node->setAttributeLong(XML_MUSIC_VOLUME, musicVolume);
    node->setAttributeLong(XML_EFFECTS_VOLUME, effectsVolume);
    node->setAttributeBool(XML_FULLSCREEN, lumo::fullscreen);
    keys.putInNode(node);
}

void Settings::getFromNode(const lumo::xml::Node* node) {
    setMusicVolume(percent(node->getAttributeLong(XML_MUSIC_VOLUME, musicVolume)));
    setEffectsVolume(percent(node->getAttributeLong(XML_EFFECTS_VOLUME, effectsVolume)));
    setFullscreen(node->getAttributeBool(XML_FULLSCREEN, lumo::fullscreen));
    keys.getFromNode(node);
}

void Settings::setMusicVolume(int p) {
    musicVolume = percent(p);
    if (resources.musicManager)
        resources.musicManager->setPlayingVolumes(gain(musicVolume));
}

void Settings::setEffectsVolume(int p) {
    effectsVolume = percent(p);
    for (lumo::audio::SourcePool* pool :
         {resources.poolThrow, resources.poolHit, resources.poolCry})
        if (pool)
            pool->setPlayingVolumes(gain(effectsVolume));
}

bool Settings::setFullscreen(bool on) {
    try {
        lumo::setFullscreen(on);
        return true;
    } catch (const std::string& message) {
        lumo::debug::warning(dbgCore, "%s", message.c_str());
        return false;
    }
}

void loadSettings(Resources& r) {
    lumo::debug::MessageScope scope("loadSettings()");
    delete settings;
    settings = nullptr;
    try {
        settings = new Settings(r);
    } catch (const std::string& message) {
        lumo::debug::warning(dbgResources, "No settings: %s", message.c_str());
        return;
    }
    settings->load();
}

}  // namespace pimwarden
