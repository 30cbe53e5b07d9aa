// The player's settings: the file read at start-up, the rules for choosing keys, the volumes as
// the sound sources get them, an unreadable file, and the title menu with the options pane
// closed and open. One process over the stand-in data with the game's real sounds; the tests
// run in the order written (the first one starts the game over a prepared settings file).

#include <AL/al.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "../game/game_test_support.hpp"
#include "audio/music/music_manager.hpp"
#include "audio/resources/sample.hpp"
#include "audio/sources/sound.hpp"
#include "audio/sources/source_pool.hpp"
#include "controls/control_queue.hpp"
#include "game.hpp"
#include "gui/core/gui.hpp"
#include "key_bindings.hpp"
#include "lumo/video.hpp"
#include "menu.hpp"
#include "options_pane.hpp"
#include "pim.hpp"
#include "settings.hpp"
#include "xml/node.hpp"

namespace pimwarden {
namespace {

std::string userDir() {
    return GameDirs().getSubDir(lumo::sdUser, "", true);
}

/// The game's resources over the stand-in data, its sound banks replaced by the game's own
/// sounds and music, with a pointer image; `settingsText` (when not empty) is the settings file
/// found at start-up.
Resources* start(const std::string& settingsText = "") {
    if (resources)
        return resources;
    testing::prepareStart();
    const lumo::testing::TempDir& data = testing::testDirs().data;
    for (const char* dir : {"sounds", "music"})
        ::symlink((std::string(PIMWARDEN_SOURCE_DIR) + "/game/data/" + dir).c_str(),
                  data.file(dir).c_str());
    std::string description = lumo::testing::readFileText(data.file("resources.xml"));
    const std::string silent = "<samples name=\"sounds\"/>\n<samples name=\"music\"/>\n";
    description.replace(description.find(silent), silent.size(),
                        testing::readSourceFile("tools/resources/sounds.xml"));
    // The pointer the options pane shows.
    description.replace(description.find("</images>"), 0,
                        "<image name=\"cursor\" filename=\"stone.png\"/>\n");
    data.write("resources.xml", description);
    if (!settingsText.empty())
        std::ofstream(userDir() + FILE_SETTINGS) << settingsText;
    return testing::startGame();
}

bool exists(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0;
}

std::vector<SDLKey> keysOf(GameAction a) {
    return settings->keys.keys(a);
}

/// Reads the pending events into the control queue and hands the fired triggers to `state`.
/// Returns the ids of the triggers.
std::vector<int> readTriggers(lumo::ApplicationState* state) {
    resources->queue->readEvents();
    std::vector<int> ids;
    lumo::Trigger* t = nullptr;
    while ((*resources->queue >> t), t) {
        ids.push_back(t->id);
        state->handleEvent(t);
    }
    return ids;
}

/// Puts a key event of `type` (SDL_KEYDOWN or SDL_KEYUP) into SDL's queue.
void pushKey(SDLKey key, Uint8 type) {
    SDL_Event e = {};
    e.type = type;
    e.key.type = type;
    e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.key.keysym.sym = key;
    if (type == SDL_KEYDOWN && (key == SDLK_RETURN || key == SDLK_SPACE || key < 128))
        e.key.keysym.unicode = static_cast<Uint16>(key);
    SDL_PushEvent(&e);
}

/// Presses and releases `key`, then readTriggers.
std::vector<int> press(SDLKey key, lumo::ApplicationState* state) {
    pushKey(key, SDL_KEYDOWN);
    pushKey(key, SDL_KEYUP);
    return readTriggers(state);
}

/// The gain OpenAL has for the playing source of `pool`'s first sound.
float gainOf(const lumo::audio::SourcePool* pool) {
    if (pool->getSounds().empty() || !pool->getSounds().front()->source)
        return -1;
    float gain = -1;
    alGetSourcef(pool->getSounds().front()->source->sourceName, AL_GAIN, &gain);
    return gain;
}

/// The gains of every playing OpenAL source (the music manager keeps its sources to itself).
std::vector<float> playingGains() {
    std::vector<float> gains;
    for (ALuint id = 1; id < 256; ++id) {
        ALint state = 0;
        if (!alIsSource(id))
            continue;
        alGetSourcei(id, AL_SOURCE_STATE, &state);
        float gain = 0;
        alGetSourcef(id, AL_GAIN, &gain);
        if (state == AL_PLAYING)
            gains.push_back(gain);
    }
    return gains;
}

TEST(Settings, FileReadAtStartUpDrivesTheGame) {
    start(R"(<settings musicVolume="40" effectsVolume="250" fullscreen="false">
  <inputEvaluator name="evaluatorGamePlayer">
    <trigger name="drop"><keyTranslator key="x"/><joyButtonTranslator button="0"/></trigger>
  </inputEvaluator>
</settings>)");
    ASSERT_NE(settings, nullptr);
    EXPECT_EQ(settings->getMusicVolume(), 40);
    EXPECT_EQ(settings->getEffectsVolume(), 100);  // limited
    EXPECT_EQ(keysOf(gaDrop), std::vector<SDLKey>{SDLK_x});
    EXPECT_EQ(settings->keys.describe(gaLeft), "Left, A");  // not in the file: as the data has it

    // A game: Space no longer drops, X does.
    Menu m;
    menu = &m;
    m.setState(msReady);
    press(SDLK_RETURN, &m);
    ASSERT_NE(game, nullptr);
    ASSERT_NE(game->pim->stone, nullptr);
    press(SDLK_SPACE, game);
    EXPECT_NE(game->pim->stone, nullptr);
    const std::vector<int> fired = press(SDLK_x, game);
    EXPECT_NE(std::find(fired.begin(), fired.end(), 202), fired.end());
    EXPECT_EQ(game->pim->stone, nullptr);

    delete game;
    menu = nullptr;
}

TEST(Settings, ChoosingKeysFollowsTheRules) {
    start();
    const SDLKey noName = SDLK_WORLD_0;
    struct Case {
        std::pair<GameAction, SDLKey> before;  // bound first unless the key is SDLK_UNKNOWN
        GameAction action;
        SDLKey key;
        BindResult result;
        GameAction other;  // when the result names one
        std::map<GameAction, std::string> after;
    };
    const Case cases[] = {
        // Drop takes Left from walking left, which takes drop's keys in its place.
        {{}, gaDrop, SDLK_LEFT, brSwapped, gaLeft, {{gaDrop, "Left"}, {gaLeft, "Space, Down, A"}}},
        // Start and drop never fire on the same screen: both may have Space.
        {{}, gaStart, SDLK_SPACE, brBound, gaStart, {{gaStart, "Space"}, {gaDrop, "Space, Down"}}},
        // Back keeps Escape beside its new key; it gives Space's owners nothing in return.
        {{}, gaBack, SDLK_q, brBound, gaBack, {{gaBack, "Esc, Q"}}},
        {{},
         gaBack,
         SDLK_SPACE,
         brSwapped,
         gaDrop,
         {{gaBack, "Esc, Space"}, {gaDrop, "Down"}, {gaStart, "Return"}}},
        // ...unless that leaves one without a key: then nothing changes.
        {{gaStart, SDLK_RETURN},
         gaBack,
         SDLK_RETURN,
         brLastKey,
         gaStart,
         {{gaBack, "Esc"}, {gaStart, "Return"}}},
        // A former key that a third action needs on the other's screens is not handed on:
        // back fires in games too, where drop has Space.
        {{gaBack, SDLK_q},
         gaStart,
         SDLK_q,
         brSwapped,
         gaBack,
         {{gaStart, "Q"}, {gaBack, "Esc, Return"}, {gaDrop, "Space, Down"}}},
        {{}, gaLeft, SDLK_ESCAPE, brEscapeReserved, gaLeft, {{gaLeft, "Left, A"}}},
        {{}, gaBack, SDLK_ESCAPE, brUnchanged, gaBack, {{gaBack, "Esc"}}},
        {{}, gaFullscreen, OPTIONS_KEY, brReserved, gaFullscreen, {{gaFullscreen, "F"}}},
        {{}, gaDrop, OPTIONS_KEY, brBound, gaDrop, {{gaDrop, "O"}}},
        {{}, gaDrop, noName, brNoName, gaDrop, {{gaDrop, "Space, Down"}}},
    };
    for (std::size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
        const Case& c = cases[i];
        settings->keys.restoreDefaults();
        if (c.before.second != SDLK_UNKNOWN) {
            ASSERT_LE(settings->keys.bind(c.before.first, c.before.second), brSwapped) << i;
        }
        GameAction other = gaCount;
        EXPECT_EQ(settings->keys.bind(c.action, c.key, &other), c.result) << i;
        if (c.result == brSwapped || c.result == brLastKey) {
            EXPECT_EQ(other, c.other) << i;
        }
        for (const auto& expected : c.after)
            EXPECT_EQ(settings->keys.describe(expected.first), expected.second) << i;
        EXPECT_TRUE(settings->keys.valid()) << i;
    }

    // Any sequence of choices keeps every action bound and the rules kept; refused choices
    // change nothing, granted ones give the action just the key (and Escape for back).
    const std::vector<SDLKey> pool = {SDLK_a,    SDLK_d,      SDLK_f,    SDLK_o,     SDLK_p,
                                      SDLK_q,    SDLK_x,      SDLK_z,    SDLK_SPACE, SDLK_RETURN,
                                      SDLK_LEFT, SDLK_RIGHT,  SDLK_DOWN, SDLK_UP,    SDLK_ESCAPE,
                                      SDLK_TAB,  SDLK_LSHIFT, noName};
    settings->keys.restoreDefaults();
    std::srand(7);
    for (int step = 0; step < 3000; ++step) {
        const GameAction a = static_cast<GameAction>(std::rand() % gaCount);
        const SDLKey key = pool[static_cast<std::size_t>(std::rand()) % pool.size()];
        std::vector<SDLKey> before[gaCount];
        for (int j = 0; j < gaCount; ++j)
            before[j] = keysOf(static_cast<GameAction>(j));
        const BindResult r = settings->keys.bind(a, key);
        ASSERT_TRUE(settings->keys.valid()) << step;
        if (r == brBound || r == brSwapped) {
            std::vector<SDLKey> wanted{key};
            if (a == gaBack && key != SDLK_ESCAPE)
                wanted.insert(wanted.begin(), SDLK_ESCAPE);
            ASSERT_EQ(keysOf(a), wanted) << step;
        } else {
            for (int j = 0; j < gaCount; ++j)
                ASSERT_EQ(keysOf(static_cast<GameAction>(j)), before[j]) << step;
        }
    }
    settings->keys.restoreDefaults();
}

TEST(Settings, SavedFileReadsBackInTheEvaluatorsFormat) {
    start();
    settings->keys.bind(gaLeft, SDLK_j);
    settings->keys.bind(gaBack, SDLK_BACKSPACE);
    settings->setMusicVolume(35);
    settings->setEffectsVolume(0);
    settings->save();

    std::unique_ptr<lumo::xml::Node> root(lumo::xml::loadXML(settings->file(false).c_str()));
    EXPECT_EQ(root->name, "settings");
    // The player trigger's bindings, as the evaluator writes them (joystick included).
    const lumo::xml::Node* player = root->children[0]->children[0];
    EXPECT_EQ(player->getAttribute("name", ""), "player");
    EXPECT_NE(player->toString(0).find("<keyTranslator key=\"j\" value=\"-1\"/>"),
              std::string::npos);
    EXPECT_NE(player->toString(0).find("joyAxisTranslator"), std::string::npos);

    // The next start: the data's keys, then the file.
    settings->keys.restoreDefaults();
    loadSettings(*resources);
    EXPECT_EQ(settings->getMusicVolume(), 35);
    EXPECT_EQ(settings->getEffectsVolume(), 0);
    EXPECT_EQ(keysOf(gaLeft), std::vector<SDLKey>{SDLK_j});
    EXPECT_EQ(keysOf(gaRight), (std::vector<SDLKey>{SDLK_RIGHT, SDLK_d}));
    EXPECT_EQ(keysOf(gaBack), (std::vector<SDLKey>{SDLK_ESCAPE, SDLK_BACKSPACE}));
    settings->keys.restoreDefaults();
    settings->setMusicVolume(100);
    settings->setEffectsVolume(100);
    std::remove(settings->file(false).c_str());
}

TEST(Settings, UnreadableFileIsKeptAsideAndTheDefaultsUsed) {
    start();
    const std::string file = userDir() + FILE_SETTINGS;
    struct Case {
        const char* text;
        const char* aside;  // null: the file stays
        const char* line;   // the one info line
    };
    const Case cases[] = {
        {"<settings musicVolume=\"10\"", "settings.xml.unreadable", "Could not load settings: "},
        {"<highscores/>", "settings.xml.unreadable-2", "holds no settings"},
        // Readable, but the keys break the rules: the defaults, and the file stays.
        {"<settings musicVolume=\"10\"><inputEvaluator name=\"evaluatorGamePlayer\">"
         "<trigger name=\"pause\"><keyTranslator key=\"esc\"/></trigger>"
         "</inputEvaluator></settings>",
         nullptr, "The saved keys do not fit together; the default keys are used."},
    };
    for (const Case& c : cases) {
        std::ofstream(file) << c.text;
        ::testing::internal::CaptureStdout();
        loadSettings(*resources);
        const std::string out = ::testing::internal::GetCapturedStdout();
        EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 1) << out;
        EXPECT_NE(out.find(c.line), std::string::npos) << out;
        EXPECT_EQ(out.rfind("[pimwarden:resources] (info) ", 0), 0u) << out;
        if (c.aside) {
            EXPECT_FALSE(exists(file)) << c.text;
            EXPECT_TRUE(exists(userDir() + c.aside)) << c.text;
            EXPECT_NE(out.find(c.aside), std::string::npos) << out;
            EXPECT_EQ(settings->getMusicVolume(), 100);
        } else {
            EXPECT_TRUE(exists(file));
            EXPECT_EQ(settings->getMusicVolume(), 10);
            settings->setMusicVolume(100);
        }
        for (int a = 0; a < gaCount; ++a)
            EXPECT_FALSE(keysOf(static_cast<GameAction>(a)).empty());
        EXPECT_EQ(keysOf(gaPause), std::vector<SDLKey>{SDLK_p});
    }
    std::remove(file.c_str());
}

TEST(Settings, VolumesReachTheSoundSources) {
    start();
    Menu m;
    menu = &m;
    m.setState(msReady);
    for (lumo::audio::SourcePool* pool :
         {resources->poolThrow, resources->poolHit, resources->poolCry})
        pool->stopAll();
    m.activate();  // the title music plays, alone
    std::vector<float> gains = playingGains();
    ASSERT_EQ(gains.size(), 1u);
    const float full = gains[0];  // the music's own volume
    EXPECT_GT(full, 0.1f);

    // On the pane's music slider: Home, then two large steps up; Left is a small step down.
    press(OPTIONS_KEY, &m);
    ASSERT_TRUE(m.options->isOpen());
    const struct {
        SDLKey key;
        int percent;
    } steps[] = {{SDLK_HOME, 0}, {SDLK_PAGEDOWN, 25}, {SDLK_PAGEDOWN, 50}, {SDLK_LEFT, 45}};
    for (const auto& s : steps) {
        press(s.key, &m);
        resources->queue->perform(16);  // the pane applies what the slider shows
        EXPECT_EQ(settings->getMusicVolume(), s.percent);
        gains = playingGains();
        ASSERT_EQ(gains.size(), 1u);
        EXPECT_NEAR(gains[0], full * static_cast<float>(s.percent) / 100.0f, 1e-4);
    }
    // Down to the effects slider: 75 %.
    press(SDLK_DOWN, &m);
    press(SDLK_PAGEUP, &m);
    resources->queue->perform(16);
    EXPECT_EQ(settings->getEffectsVolume(), 75);
    press(SDLK_ESCAPE, &m);
    EXPECT_FALSE(m.options->isOpen());

    // A stone dropped in a game: its sound plays at 75 % of its own volume.
    press(SDLK_RETURN, &m);
    ASSERT_NE(game, nullptr);
    game->pim->dropStone();
    EXPECT_NEAR(gainOf(resources->poolThrow), 0.75f * resources->sampleThrow->properties.volume,
                1e-4);
    settings->setEffectsVolume(20);  // applied to the playing sound at once
    EXPECT_NEAR(gainOf(resources->poolThrow), 0.2f * resources->sampleThrow->properties.volume,
                1e-4);
    delete game;
    m.deactivate();
    menu = nullptr;
    settings->setMusicVolume(100);
    settings->setEffectsVolume(100);
    std::remove(settings->file(false).c_str());
}

TEST(Settings, TitleMenuUnchangedWhileThePaneIsClosed) {
    start();
    Menu m;
    menu = &m;
    // The fade: F switches the screen and lets it go on; O ends it like any key, opening nothing.
    for (bool full : {true, false}) {
        press(SDLK_f, &m);
        EXPECT_EQ(lumo::fullscreen, full);
        EXPECT_EQ(m.state, msIntro);
    }
    press(OPTIONS_KEY, &m);
    EXPECT_EQ(m.state, msReady);
    EXPECT_EQ(m.pictureAlpha, 1.0f);
    EXPECT_FALSE(m.options->isOpen());

    // Closed: Return starts a game, and the menu comes back complete when it ends; F switches
    // the screen, Escape quits.
    press(SDLK_RETURN, &m);
    ASSERT_NE(game, nullptr);
    EXPECT_TRUE(resources->evaluatorGamePlayer->enabled);
    delete game;
    EXPECT_FALSE(resources->evaluatorGamePlayer->enabled);
    EXPECT_TRUE(resources->evaluatorMenu->enabled);
    EXPECT_EQ(m.state, msReady);
    press(SDLK_f, &m);
    EXPECT_TRUE(lumo::fullscreen);
    press(SDLK_f, &m);
    EXPECT_FALSE(lumo::fullscreen);

    // Open (by the joystick's button 2): the menu's keys do nothing, Escape only closes.
    SDL_Event e = {};
    e.type = SDL_JOYBUTTONDOWN;
    e.jbutton.type = SDL_JOYBUTTONDOWN;
    e.jbutton.button = 2;
    SDL_PushEvent(&e);
    readTriggers(&m);
    ASSERT_TRUE(m.options->isOpen());
    EXPECT_TRUE(resources->gui->getVisible());
    for (SDLKey key : {SDLK_RETURN, SDLK_SPACE, SDLK_f, OPTIONS_KEY}) {
        EXPECT_EQ(press(key, &m), std::vector<int>()) << key;
        EXPECT_EQ(game, nullptr);
        EXPECT_FALSE(lumo::fullscreen);
    }
    // Music, effects, full screen, left, right, drop: Return arms the captor, X is taken;
    // Escape while capturing (pause's captor) keeps the keys and the pane open.
    for (SDLKey key : {SDLK_DOWN, SDLK_DOWN, SDLK_DOWN, SDLK_DOWN, SDLK_DOWN, SDLK_RETURN, SDLK_x,
                       SDLK_DOWN, SDLK_RETURN, SDLK_ESCAPE})
        press(key, &m);
    EXPECT_EQ(keysOf(gaDrop), std::vector<SDLKey>{SDLK_x});
    EXPECT_EQ(keysOf(gaPause), std::vector<SDLKey>{SDLK_p});
    EXPECT_TRUE(m.options->isOpen());
    EXPECT_FALSE(press(SDLK_ESCAPE, &m).empty());
    EXPECT_FALSE(m.options->isOpen());
    settings->keys.restoreDefaults();
    EXPECT_FALSE(m.terminate);
    EXPECT_FALSE(resources->gui->getVisible());
    EXPECT_TRUE(exists(settings->file(false)));  // closing saved

    press(SDLK_ESCAPE, &m);
    EXPECT_TRUE(m.terminate);
    menu = nullptr;
    std::remove(settings->file(false).c_str());
}

}  // namespace
}  // namespace pimwarden
