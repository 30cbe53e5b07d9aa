// The title menu: the fade, the first key ending it, starting a game and coming back.

#include <gtest/gtest.h>

#include "game.hpp"
#include "game_test_support.hpp"
#include "lumo/video.hpp"
#include "menu.hpp"

namespace pimwarden {
namespace {

using testing::gameResources;
using testing::trigger;

TEST(TitleMenu, FadesInOverFiveSecondsAndAHalfWhateverTheFrameLength) {
    gameResources();
    for (unsigned int len : {1u, 16u, 50u}) {
        Menu m;
        unsigned int elapsed = 0, opaqueAt = 0;
        while (m.state == msIntro && elapsed < 10000) {
            m.doPerform(1, len);
            elapsed += len;
            if (!opaqueAt && m.pictureAlpha >= 1.0f)
                opaqueAt = elapsed;
            if (m.state == msIntro) {
                EXPECT_LE(m.outlineAlpha, 1.0f);
            }
        }
        EXPECT_GE(opaqueAt, 5000u - len) << len;
        EXPECT_LE(opaqueAt, 5000u + len) << len;
        EXPECT_GE(elapsed, 5500u - len) << len;
        EXPECT_LE(elapsed, 5500u + 2 * len) << len;
        EXPECT_EQ(m.textAlpha, 1.0f);
    }
}

TEST(TitleMenu, FirstKeyShowsEverythingTheNextStartsAGameThatComesBack) {
    gameResources();
    Menu m;
    menu = &m;
    lumo::Trigger* start = trigger(resources->evaluatorMenu, "start");
    // Full screen during the fade lets the fade go on.
    m.handleEvent(trigger(resources->evaluatorCore, "fullscreen"));
    EXPECT_EQ(m.state, msIntro);
    EXPECT_TRUE(lumo::fullscreen);
    m.handleEvent(trigger(resources->evaluatorCore, "fullscreen"));
    EXPECT_FALSE(lumo::fullscreen);

    m.handleEvent(start);
    EXPECT_EQ(m.state, msReady);
    EXPECT_EQ(m.pictureAlpha, 1.0f);
    EXPECT_EQ(game, nullptr);
    m.handleEvent(start);
    ASSERT_NE(game, nullptr);
    EXPECT_TRUE(resources->evaluatorGamePlayer->enabled);
    delete game;
    EXPECT_EQ(game, nullptr);
    EXPECT_FALSE(resources->evaluatorGamePlayer->enabled);
    EXPECT_TRUE(resources->evaluatorMenu->enabled);
    EXPECT_EQ(m.state, msReady);  // a menu coming back is shown complete

    m.handleEvent(trigger(resources->evaluatorCore, "quit"));
    EXPECT_TRUE(m.terminate);
    menu = nullptr;
}

}  // namespace
}  // namespace pimwarden
