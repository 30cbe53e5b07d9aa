#pragma once
// The game's resources over the stand-in data set, made once per test process, and helpers
// to drive the rules with chosen random numbers.

#include <cstdlib>
#include <functional>
#include <string>

#include "audio/core/audio.hpp"
#include "controls/input_evaluator.hpp"
#include "controls/trigger.hpp"
#include "lumo/lumo.hpp"
#include "pimwarden.hpp"
#include "resources.hpp"
#include "stand_in_data.hpp"

namespace pimwarden {
namespace testing {

/// The scratch directories of the process: the data set and a home directory.
struct TestDirs {
    lumo::testing::TempDir data;
    lumo::testing::TempDir home;
};

inline TestDirs& testDirs() {
    static TestDirs dirs;
    return dirs;
}

/// Starts SDL, writes the stand-in data, points the game at it and at a scratch home.
inline void prepareStart(const StandInOptions& options = StandInOptions()) {
    SDL_Init(SDL_INIT_VIDEO);
    registerLogGroups();
    writeStandInData(testDirs().data, options);
    dataDirectory = testDirs().data.path() + "/";
    homeDirectory = testDirs().home.path();
}

/// Opens the window and makes the global `resources` over the data set prepared before.
inline Resources* startGame() {
    lumo::init(lumo::ssVideo, false);
    resources = new Resources;
    lumo::audio::init("", 44100);
    resources->setResolution(800, 600, 32, false);
    resources->init();
    return resources;
}

/// The global `resources` over the stand-in data with the window open, made on first use.
inline Resources* gameResources() {
    if (!resources) {
        prepareStart();
        startGame();
    }
    return resources;
}

/// A trigger of the game's controls by evaluator and name.
inline lumo::Trigger* trigger(lumo::InputEvaluator* evaluator, const char* name) {
    lumo::Trigger* t = evaluator->at(name);
    EXPECT_NE(t, nullptr) << name;
    return t;
}

/// Seeds the random numbers so that the draws `wanted` makes come out as it wants, then seeds
/// again with the same value, so the code under test draws the same numbers.
inline void seedWhere(const std::function<bool()>& wanted) {
    for (unsigned seed = 1; seed < 1000000; ++seed) {
        std::srand(seed);
        if (wanted()) {
            std::srand(seed);
            return;
        }
    }
    FAIL() << "no seed gives the wanted draws";
}

}  // namespace testing
}  // namespace pimwarden
