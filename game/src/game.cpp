#include "game.hpp"

#include <algorithm>

#include "controls/control_queue.hpp"
#include "controls/input_evaluator.hpp"
#include "controls/trigger.hpp"
#include "debug/message_stack.hpp"
#include "delete_queue.hpp"
#include "foe.hpp"
#include "gfx/fonts/font.hpp"
#include "gfx/images/image_resource.hpp"
#include "lumo/video.hpp"
#include "menu.hpp"
#include "pim.hpp"
#include "pimwarden.hpp"
#include "resources.hpp"
#include "specs.hpp"
#include "stone.hpp"

namespace pimwarden {

namespace {

const lumo::Color WHITE(1, 1, 1, 1);
const lumo::Color YELLOW(1, 1, 0, 1);

}  // namespace

Game::Game() : spawnInterval(specs.spawnIntervalStart), foePause(specs.foePauseStart) {
    resources->initGame();
    game = this;
    pim = new Pim;
}

Game::~Game() {
    lumo::debug::MessageScope scope("Game::~Game()");
    resources->uninitGame();
    deactivate();
    releaseSprites();
    game = nullptr;
}

void Game::releaseSprites() {
    // Queued sprites are taken out of the queue before they go, so none is deleted twice.
    for (lumo::sprites::SpriteEngine* engine : {&pimEngine, &stoneEngine, &foeEngine}) {
        const lumo::sprites::SpriteList sprites = engine->getSprites();
        for (lumo::sprites::Sprite* sprite : sprites) {
            deleteQueue.remove(sprite);
            delete sprite;
        }
    }
    pim = nullptr;
}

void Game::activate() {
    ApplicationState::activate();
    lumo::setClearColor(lumo::Color(0, 0.1f, 0.8f, 1.0f));
    resources->evaluatorGameCore->enabled = true;
    resources->evaluatorGamePlayer->enabled = true;
    resources->queue->flush();
}

void Game::deactivate() {
    resources->leaveGui();
    resources->evaluatorGamePlayer->enabled = false;
    resources->evaluatorGameCore->enabled = false;
    ApplicationState::deactivate();
    if (menu)
        menu->activate();
}

void Game::gameOver() {
    if (phase != gpPlaying)
        return;
    playSample(resources->poolCry, resources->samplePlayerCry);
    pim->dropStone();
    // A game ended while paused would otherwise stand still for good.
    paused = false;
    phase = gpGameOver;
}

void Game::highscores() {
    if (resources->highscores.rankOf(HighscoreEntry("", static_cast<unsigned int>(score))) < 0) {
        phase = gpHighscores;
        resources->showHighscorePane();
        return;
    }
    resources->showNameEntry();
    resources->evaluatorGamePlayer->enabled = false;
    resources->enableGuiInput();
    phase = gpEnterName;
}

void Game::handleEvent(const lumo::Trigger* t) {
    switch (t->id) {
        case 2:
            if (phase != gpEnterName)
                return;
            highscoreRank = resources->highscores.add(
                HighscoreEntry(resources->enteredName(), static_cast<unsigned int>(score)));
            resources->saveHighscores();
            resources->hideNameEntry();
            phase = gpHighscores;
            resources->evaluatorGamePlayer->enabled = true;
            resources->disableGuiInput();
            resources->showHighscorePane();
            return;
        case 1:
            if (phase == gpPlaying)
                gameOver();
            else
                delete this;
            return;
        case 200:
            if (phase == gpPlaying)
                togglePause();
            return;
        case 202:
            if (phase == gpHighscores)
                delete this;
            else if (phase == gpPlaying && !paused)
                pim->dropStone();
            return;
        default:
            GameState::handleEvent(t);
    }
}

void Game::spawn(unsigned int ticks) {
    spawnTime -= static_cast<float>(ticks);
    if (spawnTime > 0)
        return;
    spawnTime = spawnInterval;
    spawnInterval = std::max(spawnInterval - specs.spawnIntervalStep, specs.spawnIntervalMin);
    foePause = std::max(foePause - specs.foePauseStep, specs.foePauseMin);
    new Foe;
}

void Game::doPerform(int stage, unsigned int ticks) {
    if (stage != 1) {
        GameState::doPerform(stage, ticks);
        return;
    }
    if (phase == gpGameOver && fallingCount == 0)
        highscores();
    if (phase == gpPlaying) {
        if (!paused)
            pim->setDirection(resources->playerTrigger->value);
        spawn(ticks);
    }
    if (paused)
        return;
    const float elapsed = static_cast<float>(ticks);
    pimEngine.perform(elapsed);
    stoneEngine.perform(elapsed);
    foeEngine.perform(elapsed);
    stoneEngine.testCollisions(&foeEngine);
    foeEngine.testCollisions(&foeEngine);
}

void Game::doDraw(int stage) {
    if (stage == 1) {
        WHITE.apply();
        lumo::resetCursor();
        if (resources->imageWall)
            resources->imageWall->draw(lumo::Vector2D(0, 0));
        if (phase > gpPlaying) {
            lumo::resetCursor();
            drawOutline(resources->imageGameOver, 400, 500, lumo::Color(0.7f, 0, 0, 1), WHITE, 1);
            WHITE.apply();
        }
        lumo::resetCursor();
        pimEngine.draw();
        stoneEngine.draw();
        foeEngine.draw();
        WHITE.apply();
        lumo::resetCursor();
        lumo::moveCursor(lumo::Vector2D(780, 580));
        resources->font->printf(lumo::jhRight, "%6d", score);
        if (paused) {
            lumo::resetCursor();
            lumo::moveCursor(lumo::Vector2D(400, 300));
            resources->font->print(lumo::jhCenter, "P A U S E");
        }
    } else if (stage == 2 && phase == gpHighscores) {
        drawHighscores();
    }
    GameState::doDraw(stage);
}

void Game::drawHighscores() {
    lumo::fonts::Font* font = resources->font;
    lumo::resetCursor();
    lumo::moveCursor(lumo::Vector2D(400, 370));
    font->print(lumo::jhCenter, "- GREATEST PIMS -");
    for (int i = 0; i < 10; ++i) {
        const HighscoreEntry& row = resources->highscores[static_cast<std::size_t>(i)];
        const float y = 350.0f - 15.0f * static_cast<float>(i);
        (i == highscoreRank ? WHITE : YELLOW).apply();
        lumo::resetCursor();
        lumo::moveCursor(lumo::Vector2D(315, y));
        font->printf(lumo::jhRight, "%d.", i + 1);
        lumo::resetCursor();
        lumo::moveCursor(lumo::Vector2D(320, y));
        font->printf(lumo::jhLeft, "%s", row.name.c_str());
        lumo::resetCursor();
        lumo::moveCursor(lumo::Vector2D(500, y));
        font->printf(lumo::jhRight, "%d", row.score);
    }
}

}  // namespace pimwarden
