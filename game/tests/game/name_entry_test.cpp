// The end of a game: the name entry, the table, leaving them, and the high-score file in the
// user directory (a scratch home here).

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <memory>
#include <string>

#include "delete_queue.hpp"
#include "game.hpp"
#include "game_test_support.hpp"
#include "gui/core/captioned_object.hpp"
#include "gui/core/gui.hpp"
#include "highscore_entry.hpp"
#include "xml/node.hpp"

namespace pimwarden {
namespace {

using testing::gameResources;
using testing::trigger;

class GameEnd : public ::testing::Test {
  protected:
    void SetUp() override {
        gameResources();
        resources->highscores = Highscores();
        file = resources->highscoresFile(true);
        ::unlink(file.c_str());
        ::unlink((file + ".unreadable").c_str());
        g = new Game;
    }
    void TearDown() override {
        delete g;
        deleteQueuedSprites();
    }
    /// Ends the game with `score` points and nothing falling: the next frame consults the table.
    void endWith(int score) {
        g->score = score;
        g->phase = gpGameOver;
        g->doPerform(1, 16);
    }
    bool guiTakesKeys() const {
        return static_cast<lumo::Evaluator*>(resources->gui)->enabled &&
               resources->gui->getActive();
    }
    std::string file;
    Game* g = nullptr;
};

TEST_F(GameEnd, ScoreEqualToTheTenthRowGoesStraightToTheTable) {
    for (int i = 0; i < 10; ++i)
        resources->highscores.add(HighscoreEntry("old", 5));
    endWith(5);
    EXPECT_EQ(g->phase, gpHighscores);
    EXPECT_EQ(g->highscoreRank, -1);
    EXPECT_TRUE(resources->pHighscores->getVisible());
    EXPECT_FALSE(guiTakesKeys());
    g->handleEvent(trigger(resources->evaluatorGamePlayer, "drop"));
    g = nullptr;  // the game deleted itself
    EXPECT_EQ(game, nullptr);
    EXPECT_FALSE(resources->gui->getVisible());
}

TEST_F(GameEnd, ConfirmedNameEntersTheTableAndIsSaved) {
    endWith(7);
    ASSERT_EQ(g->phase, gpEnterName);
    EXPECT_TRUE(guiTakesKeys());
    EXPECT_FALSE(resources->evaluatorGamePlayer->enabled);
    auto* prompt = dynamic_cast<lumo::gui::CaptionedObject*>(resources->lEnterName);
    EXPECT_EQ(prompt->getCaption(), "Enter your name");
    dynamic_cast<lumo::gui::CaptionedObject*>(resources->tfEnterName)->setCaption("Ann");

    g->handleEvent(trigger(resources->evaluatorGameCore, "confirm"));
    EXPECT_EQ(g->phase, gpHighscores);
    EXPECT_EQ(g->highscoreRank, 0);
    EXPECT_FALSE(resources->pEnterName->getVisible());
    EXPECT_TRUE(resources->pHighscores->getVisible());
    EXPECT_FALSE(guiTakesKeys());
    EXPECT_TRUE(resources->evaluatorGamePlayer->enabled);
    std::unique_ptr<lumo::xml::Node> saved(lumo::xml::loadXML(file.c_str()));
    ASSERT_EQ(saved->children.size(), 10u);
    EXPECT_EQ(saved->children[0]->getAttribute("name", ""), "Ann");
    EXPECT_EQ(saved->children[0]->getAttribute("score", ""), "7");
}

TEST_F(GameEnd, LeavingDuringNameEntryHidesItAndSavesNothing) {
    endWith(3);
    ASSERT_EQ(g->phase, gpEnterName);
    g->handleEvent(trigger(resources->evaluatorCore, "quit"));
    g = nullptr;
    EXPECT_EQ(game, nullptr);
    EXPECT_FALSE(resources->pEnterName->getVisible());
    EXPECT_FALSE(resources->gui->getVisible());
    EXPECT_FALSE(guiTakesKeys());
    EXPECT_NE(::access(file.c_str(), F_OK), 0);
}

TEST_F(GameEnd, UnreadableFileIsKeptAsideUnderAFreeNameBeforeTheFirstSave) {
    const std::string broken = "<highscores><entry name=\"lost?\" score=\"9\"";
    std::ofstream(file) << broken;
    std::ofstream(file + ".unreadable") << "kept before";
    ::testing::internal::CaptureStdout();
    resources->loadHighscores();
    resources->saveHighscores();
    resources->saveHighscores();
    const std::string out = ::testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("[pimwarden:resources] (info) Could not load highscores: "),
              std::string::npos)
        << out;
    const std::string kept =
        "[pimwarden:resources] (info) Kept the unreadable high-score file as " + file +
        ".unreadable-2";
    EXPECT_NE(out.find(kept), std::string::npos) << out;
    EXPECT_EQ(out.find(kept), out.rfind(kept)) << "logged once";
    EXPECT_EQ(lumo::testing::readFileText(file + ".unreadable"), "kept before");
    EXPECT_EQ(lumo::testing::readFileText(file + ".unreadable-2"), broken);
    EXPECT_NE(::access((file + ".unreadable-3").c_str(), F_OK), 0);
    std::unique_ptr<lumo::xml::Node> saved(lumo::xml::loadXML(file.c_str()));
    EXPECT_EQ(saved->children.size(), 10u);
    EXPECT_EQ(keepFileAside(file + ".none"), "");
    ::unlink((file + ".unreadable-2").c_str());
}

}  // namespace
}  // namespace pimwarden
