#include "resources.hpp"

#include <sys/stat.h>

#include <vector>

#include "audio/music/music_manager.hpp"
#include "audio/resources/sample_bank.hpp"
#include "audio/sources/source_pool.hpp"
#include "controls/control_queue.hpp"
#include "controls/input_evaluator.hpp"
#include "debug/log.hpp"
#include "debug/message_stack.hpp"
#include "gfx/animations/animation_bank.hpp"
#include "gfx/fonts/font_bank.hpp"
#include "gfx/images/image_bank.hpp"
#include "lumo/video.hpp"
#include "pimwarden.hpp"
#include "settings.hpp"

namespace pimwarden {

namespace {

/// The bank `name` of `manager` as a `Bank`; throws `message` + " not found" otherwise.
template <class Bank>
Bank* findBank(const lumo::ResourceManager& manager, const std::string& name,
               const std::string& message) {
    Bank* bank = dynamic_cast<Bank*>(manager[name]);
    if (!bank)
        throw message + " not found";
    return bank;
}

/// The entry `name` of `bank`; throws "<kind> <name> not found" when the data lacks it.
template <class Bank>
typename Bank::Map::mapped_type require(const Bank* bank, const std::string& kind,
                                        const std::string& name) {
    auto entry = bank->at(name);
    if (!entry)
        throw kind + " " + name + " not found";
    return entry;
}

/// The banks of a Resources that is gone: banks live until the process ends (the list too, so
/// that they are still reachable while the process exits).
std::vector<lumo::BasicResourceBank*>* const keptBanks = new std::vector<lumo::BasicResourceBank*>;

bool fileExists(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0;
}

}  // namespace

GameDirs::GameDirs() : SysDirManager(GAME_KEY, lumo::sdGame) {
    constDataDir = dataDirectory;
}

const char* GameDirs::passwordHomeDir() const {
    return homeDirectory.empty() ? SysDirManager::passwordHomeDir() : homeDirectory.c_str();
}

Resources::Resources() {
    lumo::debug::MessageScope scope("Resources::Resources()");
    load(sysDirs.getSubDir(lumo::sdConstData, "", false) + "resources.xml", "");
    fonts = findBank<lumo::fonts::FontBank>(*this, "fonts", "fonts");
    images = findBank<lumo::gfx::ImageBank>(*this, "images", "images");
    animations = findBank<lumo::gfx::AnimationBank>(*this, "animations", "animations");
    samples = findBank<lumo::audio::SampleBank>(*this, "sounds", "samples");
    music = findBank<lumo::audio::SampleBank>(*this, "music", "music");
    gui = asGui((*this)["gui"]);
    if (!gui)
        throw std::string("gui not found");
    evaluatorCore = findBank<lumo::InputEvaluator>(*this, "evaluatorCore", "evaluatorCore");
    evaluatorMenu = findBank<lumo::InputEvaluator>(*this, "evaluatorMenu", "evaluatorMenu");
    evaluatorGameCore =
        findBank<lumo::InputEvaluator>(*this, "evaluatorGameCore", "evaluatorGameCore");
    evaluatorGamePlayer =
        findBank<lumo::InputEvaluator>(*this, "evaluatorGamePlayer", "evaluatorGamePlayer");
    // The play state reads this trigger every frame.
    playerTrigger = require(evaluatorGamePlayer, "trigger", "player");

    evaluatorGameCore->enabled = false;
    evaluatorGamePlayer->enabled = false;
    queue = &lumo::queue;
    for (lumo::Evaluator* e : evaluatorChain())
        queue->evaluators.push_front(e);
    loadControls();
    renderContext.blending = true;
}

Resources::~Resources() {
    lumo::debug::MessageScope scope("Resources::~Resources()");
    delete poolCry;
    poolCry = nullptr;
    delete poolHit;
    poolHit = nullptr;
    delete poolThrow;
    poolThrow = nullptr;
    delete musicManager;
    musicManager = nullptr;
    // The banks outlive the manager, but the control queue must not keep evaluators of a game
    // that is gone.
    if (queue && gui) {
        for (lumo::Evaluator* e : evaluatorChain())
            queue->evaluators.remove(e);
    }
    for (const Banks::value_type& entry : banks)
        keptBanks->push_back(entry.second);
}

void Resources::setResolution(int w, int h, int bpp, bool fullscreen) {
    lumo::setResolution(w, h, bpp, fullscreen, 0, 0);
    renderContext.virtualDimensions = lumo::Vector2D(800, 600);
    renderContext.apply();
}

void Resources::init() {
    lumo::debug::MessageScope scope("Resources::init()");
    loadHighscores();

    fonts->refresh();
    font = fonts->at(lumo::fonts::FontDescriptor("Arial", 10, lumo::fonts::fsPlain));
    if (!font)
        throw std::string("font Arial 10 not found");

    images->refresh(nullptr);
    imageGreatPim = require(images, "image", "greatPim");
    imageTitle = require(images, "image", "title");
    imageCredits = require(images, "image", "credits");
    imageWall = require(images, "image", "wall");
    imageStone = require(images, "image", "stone");
    imageTrunk = require(images, "image", "trunk");
    imageGameOver = require(images, "image", "gameover");
    imageFoeBase = require(images, "image", "foe_base");

    animPim = require(animations, "animation", "pim");
    animFoeClimb = require(animations, "animation", "foe_climb");
    animFoeStrafe = require(animations, "animation", "foe_strafe");
    animFoeFall = require(animations, "animation", "foe_fall");
    animFoeVictory = require(animations, "animation", "foe_victory");

    // Missing sounds only leave the game silent.
    samples->refresh();
    sampleThrow = samples->at("throw");
    sampleHit = samples->at("hit");
    sampleFoeCryLow = samples->at("foe_cry_low");
    sampleFoeCryMedium = samples->at("foe_cry_medium");
    sampleFoeCryHigh = samples->at("foe_cry_high");
    sampleFoeCryVeryHigh = samples->at("foe_cry_very_high");
    samplePlayerCry = samples->at("player_cry");
    music->refresh();
    musicTitle = music->at("music_title");
    musicGame = music->at("music_game");

    musicManager = new lumo::audio::MusicManager;
    poolThrow = new lumo::audio::SourcePool(1);
    poolHit = new lumo::audio::SourcePool(1);
    poolCry = new lumo::audio::SourcePool(5);

    findComponents();
    // The player's own volumes, screen mode and keys.
    loadSettings(*this);
}

std::vector<lumo::Evaluator*> Resources::evaluatorChain() const {
    return {evaluatorCore, evaluatorMenu, evaluatorGameCore, evaluatorGamePlayer, guiEvaluator()};
}

std::string Resources::highscoresFile(bool create) const {
    return sysDirs.getSubDir(lumo::sdUser, "", create) + FILE_HIGHSCORES;
}

void Resources::loadHighscores() {
    std::string file;
    try {
        file = highscoresFile(false);
        loadHighscoreFile(highscores, file);
    } catch (const std::string& message) {
        lumo::debug::info(dbgResources, "Could not load highscores: %s", message.c_str());
        // Saving would replace it; it is moved aside first.
        highscoresUnreadable = !file.empty() && fileExists(file);
    }
}

void Resources::saveHighscores() {
    try {
        const std::string file = highscoresFile(true);
        if (highscoresUnreadable && fileExists(file)) {
            const std::string aside = keepFileAside(file);
            if (aside.empty())
                throw "could not move the unreadable " + file + " aside";
            lumo::debug::info(dbgResources, "Kept the unreadable high-score file as %s",
                              aside.c_str());
        }
        highscoresUnreadable = false;
        saveHighscoreFile(highscores, file);
    } catch (const std::string& message) {
        lumo::debug::info(dbgResources, "Could not save highscores: %s", message.c_str());
    }
}

}  // namespace pimwarden
