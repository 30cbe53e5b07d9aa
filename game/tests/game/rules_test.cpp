// The rules of play: spawning, the foes' decisions and climbing, knocking foes off, reloading,
// the big stone, pausing and the end of a game, driven frame by frame with chosen ticks and
// chosen random numbers.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "audio/resources/sample.hpp"
#include "delete_queue.hpp"
#include "foe.hpp"
#include "game.hpp"
#include "game_test_support.hpp"
#include "gfx/animations/animation_reference.hpp"
#include "gfx/images/image_resource.hpp"
#include "lumo/video.hpp"
#include "math/random.hpp"
#include "pim.hpp"
#include "specs.hpp"
#include "stone.hpp"

namespace pimwarden {
namespace {

using testing::gameResources;
using testing::seedWhere;
using testing::trigger;

class GameRules : public ::testing::Test {
  protected:
    void SetUp() override {
        gameResources();
        resources->highscores = Highscores();
        g = new Game;
    }
    void TearDown() override {
        delete g;
        deleteQueuedSprites();
    }
    /// A foe standing still at (x, y), pausing, about to decide.
    Foe* foeAt(float x, float y) {
        Foe* f = new Foe;
        f->pos = lumo::Vector2D(x, y);
        return f;
    }
    /// One frame of the game's own work and the deletion queue.
    void frame(unsigned int ticks) {
        g->doPerform(1, ticks);
        g->doPerform(2, ticks);
    }
    Game* g = nullptr;
};

TEST_F(GameRules, FoesComeEverFasterDownToTheirFloors) {
    std::vector<int> spawnedAt, pauseAfter;
    for (int t = 10; spawnedAt.size() < 125; t += 10) {
        const int before = g->foeEngine.size();
        g->spawn(10);
        if (g->foeEngine.size() > before) {
            spawnedAt.push_back(t);
            pauseAfter.push_back(g->foePause);
        }
        ASSERT_LE(g->foeEngine.size(), before + 1);
    }
    EXPECT_EQ(spawnedAt[0], 10);  // the first frame
    // (spawn, gap before it): from the 121st spawn on the gap stays 600.
    for (auto gap : {std::make_pair(1, 3000), {2, 2980}, {120, 620}, {121, 600}, {124, 600}})
        EXPECT_EQ(spawnedAt[gap.first] - spawnedAt[gap.first - 1], gap.second) << gap.first;
    EXPECT_EQ(pauseAfter[43], 12);
    EXPECT_EQ(pauseAfter[44], 10);  // after 45 spawns
    EXPECT_EQ(pauseAfter[60], 10);
}

TEST_F(GameRules, WhilePausedFoesStillComeButNothingMoves) {
    resources->playerTrigger->value = 1;
    g->togglePause();
    frame(16);
    ASSERT_EQ(g->foeEngine.size(), 1);
    Foe* foe = static_cast<Foe*>(g->foeEngine.getSprites().front());
    const lumo::Vector2D start = foe->pos;
    frame(2000);
    EXPECT_EQ(foe->pos, start);
    EXPECT_EQ(g->pim->direction, 0.0f);
    EXPECT_EQ(g->pim->pos.x, 400.0f);

    g->togglePause();
    frame(10);
    EXPECT_EQ(g->pim->direction, 1.0f);
    EXPECT_FLOAT_EQ(g->pim->pos.x, 402.0f);
    // The walk ends at the screen's edge and the stone follows.
    frame(5000);
    EXPECT_EQ(g->pim->pos.x, 800.0f);
    EXPECT_EQ(g->pim->stone->pos.x, 800.0f);
    resources->playerTrigger->value = 0;
}

TEST_F(GameRules, FoeDecidesByItsRollItsPlaceAndItsLastStep) {
    const int none = -1;
    struct Case {
        float x;
        FoeMode mode;
        int chance, roll, choice;  // choice: the draw between left (0) and right (1, 2)
        int climbTime, strafeTime;
    } cases[] = {
        {400, fmClimb, 3, 3, none, 400, 0}, {400, fmClimb, 3, 2, 0, 0, -200},
        {400, fmClimb, 3, 2, 1, 0, 200},    {400, fmLeft, 6, 10, none, 400, 0},
        {400, fmRight, 6, 5, none, 0, 200}, {400, fmLeft, 6, 5, none, 0, -200},
        {30, fmLeft, 3, 0, none, 0, 200},   {760, fmRight, 3, 0, none, 0, -200},
        {750, fmRight, 3, 2, 0, 0, -200},   {750, fmRight, 3, 2, 2, 0, 200},
        {50, fmLeft, 3, 2, 2, 0, 200},      {749, fmRight, 3, 2, none, 0, 200},
    };
    for (const Case& c : cases) {
        Foe* foe = foeAt(c.x, 100);
        foe->mode = c.mode;
        foe->climbChance = c.chance;
        seedWhere([&] {
            return lumo::random_int(10) == c.roll &&
                   (c.choice == none || lumo::random_int(2) == c.choice);
        });
        foe->perform(1);
        const std::string what = std::to_string(c.x) + " roll " + std::to_string(c.roll);
        EXPECT_EQ(foe->climbTime, c.climbTime) << what;
        EXPECT_EQ(foe->strafeTime, c.strafeTime) << what;
        EXPECT_EQ(foe->mode, c.climbTime ? fmClimb : c.strafeTime > 0 ? fmRight : fmLeft) << what;
        if (c.mode == fmClimb && c.strafeTime != 0) {
            auto* shown = dynamic_cast<lumo::gfx::AnimationReference*>(foe->getImage());
            ASSERT_NE(shown, nullptr);
            EXPECT_EQ(shown->getAnimation(), resources->animFoeStrafe) << what;
        }
        delete foe;
    }
}

TEST_F(GameRules, ClimbingSpurtCountsDownInWholeTicks) {
    struct Case {
        unsigned int ticks;
        int frames;
        bool newPause;
    } cases[] = {{16, 25, false}, {15, 27, true}};
    for (const Case& c : cases) {
        Foe* foe = foeAt(400, 100);
        foe->climbTime = 400;
        foe->pauseTime = 1000;  // left over from an earlier pause
        int frames = 0;
        while (foe->climbTime != 0 && frames < 100) {
            foe->perform(static_cast<float>(c.ticks));
            ++frames;
        }
        EXPECT_EQ(frames, c.frames) << c.ticks;
        if (c.newPause) {
            EXPECT_GE(foe->pauseTime, g->foePause);
            EXPECT_LE(foe->pauseTime, g->foePause + 100);
        } else {
            EXPECT_EQ(foe->pauseTime, 1000);
            EXPECT_NEAR(foe->pos.y, 100 + 25 * 1.28f, 1e-3);
        }
        delete foe;
    }
}

TEST_F(GameRules, FallingFoeKnocksOffOnlyFoesTwentyFiveToFortyAbove) {
    for (int d : {24, 25, 32, 40, 41, -30}) {
        Foe* climbing = foeAt(400, 200);
        Foe* falling = foeAt(400, 200.0f - static_cast<float>(d));
        falling->fall();
        climbing->onCollision(falling);
        EXPECT_EQ(climbing->falling, d >= 25 && d <= 40) << d;
        // A foe that is not falling knocks nobody off.
        falling->onCollision(climbing);
        delete climbing;
        delete falling;
    }
    EXPECT_EQ(g->fallingCount, 0);
}

TEST_F(GameRules, CryRisesWithTheHeight) {
    lumo::audio::Sample low, medium, high, veryHigh;
    resources->sampleFoeCryLow = &low;
    resources->sampleFoeCryMedium = &medium;
    resources->sampleFoeCryHigh = &high;
    resources->sampleFoeCryVeryHigh = &veryHigh;
    struct Case {
        float y;
        const lumo::audio::Sample* cry;
    } cases[] = {{-50, &low},  {150, &low},  {150.5f, &medium},  {300, &medium},
                 {301, &high}, {420, &high}, {420.5f, &veryHigh}};
    for (const Case& c : cases)
        EXPECT_EQ(Foe::cryFor(c.y), c.cry) << c.y;
    resources->sampleFoeCryLow = resources->sampleFoeCryMedium = nullptr;
    resources->sampleFoeCryHigh = resources->sampleFoeCryVeryHigh = nullptr;
}

TEST_F(GameRules, StoneShortensTheReloadOnceWhateverItKnocksOff) {
    Pim* pim = g->pim;
    Stone* first = pim->stone;
    pim->dropStone();
    EXPECT_EQ(pim->reloadTime, 1700.0f);
    Foe* a = foeAt(300, 100);
    Foe* b = foeAt(320, 100);
    a->onCollision(first);
    b->onCollision(first);
    EXPECT_TRUE(a->falling && b->falling && first->hasHit);
    EXPECT_EQ(pim->reloadDelay, 1675.0f);
    EXPECT_EQ(g->fallingCount, 3);

    Stone* second = new Stone(false);
    foeAt(340, 100)->onCollision(second);
    EXPECT_EQ(pim->reloadDelay, 1650.0f);
    pim->reloadDelay = 1010;
    foeAt(360, 100)->onCollision(new Stone(false));
    foeAt(380, 100)->onCollision(new Stone(false));
    EXPECT_EQ(pim->reloadDelay, 1000.0f);
}

TEST_F(GameRules, TrunkComesAfterFifteenPointsThenTwentyMore) {
    Pim* pim = g->pim;
    EXPECT_EQ(pim->stone->getImage(), static_cast<lumo::gfx::Image*>(resources->imageStone));
    for (int step : {15, 20}) {
        for (int i = 0; i < step; ++i)
            pim->doHit();
        EXPECT_EQ(pim->hitsToBonus, 0);
        pim->dropStone();
        pim->perform(pim->reloadDelay - 1);
        EXPECT_EQ(pim->stone, nullptr);
        pim->perform(1);
        ASSERT_NE(pim->stone, nullptr);
        EXPECT_EQ(pim->stone->getImage(), static_cast<lumo::gfx::Image*>(resources->imageTrunk))
            << step;
        EXPECT_EQ(pim->hitsToBonus, step + 5);
        EXPECT_EQ(pim->bonusHits, step + 5);
        // The next one is a normal stone again.
        pim->dropStone();
        pim->perform(pim->reloadDelay);
        EXPECT_EQ(pim->stone->getImage(), static_cast<lumo::gfx::Image*>(resources->imageStone));
    }
    EXPECT_EQ(g->score, 35);
}

TEST_F(GameRules, DroppingWithoutAStoneOnlySaysSo) {
    g->pim->dropStone();
    const int stones = g->stoneEngine.size();
    const float reload = g->pim->reloadTime;
    ::testing::internal::CaptureStdout();
    g->pim->dropStone();
    const std::string out = ::testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("[pimwarden:game] (info) Not holding a stone."), std::string::npos) << out;
    EXPECT_EQ(g->stoneEngine.size(), stones);
    EXPECT_EQ(g->pim->reloadTime, reload);
    EXPECT_EQ(g->fallingCount, 1);
}

TEST_F(GameRules, TriggersActOnlyInTheirPhasesAndAPausedGameStillEnds) {
    lumo::Trigger* pause = trigger(resources->evaluatorGamePlayer, "pause");
    g->handleEvent(pause);
    EXPECT_TRUE(g->paused);
    g->handleEvent(trigger(resources->evaluatorGamePlayer, "drop"));   // nothing while paused
    g->handleEvent(trigger(resources->evaluatorGameCore, "confirm"));  // nothing while playing
    EXPECT_NE(g->pim->stone, nullptr);
    EXPECT_EQ(g->phase, gpPlaying);
    // Ending the game leaves the pause, so the held stone falls and the table follows.
    g->handleEvent(trigger(resources->evaluatorCore, "quit"));
    EXPECT_EQ(g->phase, gpGameOver);
    EXPECT_FALSE(g->paused);
    EXPECT_EQ(g->fallingCount, 1);
    for (int i = 0; i < 200 && g->phase == gpGameOver; ++i)
        frame(16);
    // A score of 0 enters no table.
    EXPECT_EQ(g->phase, gpHighscores);
    EXPECT_EQ(g->highscoreRank, -1);
    g->handleEvent(pause);
    EXPECT_FALSE(g->paused);
}

TEST_F(GameRules, FoeAtTheTopEndsTheGameAndFallingFoesStillCount) {
    g->spawnTime = 1e9f;
    // Away from the stone Pim drops when the game is lost.
    Foe* winner = foeAt(600, specs.wallTop - 1);
    winner->climbTime = 400;
    Foe* loser = foeAt(200, 100);
    loser->fall();
    frame(16);
    EXPECT_EQ(winner->pos.y, specs.wallTop);
    EXPECT_EQ(g->phase, gpGameOver);
    for (int i = 0; i < 100 && g->phase == gpGameOver; ++i)
        frame(16);
    EXPECT_EQ(g->score, 1);
    // One point enters the empty table: the name is asked for.
    EXPECT_EQ(g->phase, gpEnterName);
}

TEST_F(GameRules, FinishedGameReleasesItsSpritesOnce) {
    Stone* stone = g->pim->stone;
    g->pim->dropStone();
    stone->pos.y = -29;
    stone->perform(10);  // below -30: queued, not yet deleted
    ASSERT_EQ(deleteQueue.size(), 1u);
    foeAt(100, 100);
    delete g;
    g = nullptr;
    EXPECT_TRUE(deleteQueue.empty());
    EXPECT_EQ(game, nullptr);
}

TEST_F(GameRules, RefusedFullScreenToggleIsLoggedAndPlayGoesOn) {
    // SDL refuses to toggle a surface that is not the window's.
    SDL_Surface* notTheWindow = SDL_CreateRGBSurface(SDL_SWSURFACE, 4, 4, 32, 0, 0, 0, 0);
    SDL_Surface* window = lumo::screen;
    lumo::screen = notTheWindow;
    ::testing::internal::CaptureStdout();
    EXPECT_NO_THROW(g->handleEvent(trigger(resources->evaluatorCore, "fullscreen")));
    const std::string out = ::testing::internal::GetCapturedStdout();
    lumo::screen = window;
    SDL_FreeSurface(notTheWindow);
    EXPECT_NE(out.find("Could not toggle fullscreen mode: "), std::string::npos) << out;
    EXPECT_FALSE(lumo::fullscreen);
}

}  // namespace
}  // namespace pimwarden
