#include "menu.hpp"

#include <algorithm>

#include "audio/music/music_manager.hpp"
#include "controls/input_evaluator.hpp"
#include "controls/trigger.hpp"
#include "game.hpp"
#include "gfx/images/image_resource.hpp"
#include "lumo/video.hpp"
#include "options_pane.hpp"
#include "pimwarden.hpp"
#include "resources.hpp"
#include "specs.hpp"
#include "tools/ticks.hpp"

namespace pimwarden {

Menu::Menu() {
    resources->initMenu();
    setState(msIntro);
    options = new OptionsPane;
}

Menu::~Menu() {
    delete options;
    if (resources->musicManager)
        resources->musicManager->stop();
    resources->uninitMenu();
    if (menu == this)
        menu = nullptr;
}

void Menu::activate() {
    ApplicationState::activate();
    resources->evaluatorMenu->enabled = true;
    lumo::setClearColor(lumo::Color(0, 0, 0, 0));
    lumo::getElapsedTicks();
    if (resources->musicTitle && resources->musicManager) {
        resources->musicManager->clearQueue();
        resources->musicManager->addAsLast(resources->musicTitle);
        resources->musicManager->play();
    }
}

void Menu::deactivate() {
    if (resources->musicManager)
        resources->musicManager->stop();
    ApplicationState::deactivate();
}

void Menu::setState(MenuState s) {
    state = s;
    if (s == msIntro)
        pictureAlpha = outlineAlpha = textAlpha = 0;
    else if (s == msReady)
        pictureAlpha = outlineAlpha = textAlpha = 1;
}

void Menu::handleEvent(const lumo::Trigger* t) {
    if (state == msIntro && t->id != 3) {
        setState(msReady);
        return;
    }
    // While the options pane is open, it takes every trigger.
    if (options->handleEvent(t))
        return;
    switch (t->id) {
        case 1:
            terminate = true;
            return;
        case 100:
            game = new Game;
            game->activate();
            return;
        default:
            GameState::handleEvent(t);
    }
}

void Menu::doPerform(int stage, unsigned int ticks) {
    if (stage != 1) {
        GameState::doPerform(stage, ticks);
        return;
    }
    if (state != msIntro)
        return;
    pictureAlpha += specs.menuPimFadeSpeed * static_cast<float>(ticks);
    if (pictureAlpha < 1.0f)
        return;
    pictureAlpha = 1.0f;
    outlineAlpha += specs.menuTitleFadeSpeed * static_cast<float>(ticks);
    textAlpha += specs.menuTitleFadeSpeed * static_cast<float>(ticks);
    if (textAlpha >= 1.0f)
        setState(msReady);
    else
        outlineAlpha = std::min(outlineAlpha, 1.0f);
}

void Menu::doDraw(int stage) {
    if (stage == 1) {
        lumo::resetCursor();
        lumo::Color(1, 1, 1, pictureAlpha).apply();
        if (resources->imageGreatPim)
            resources->imageGreatPim->draw(lumo::Vector2D(400, 0));
        lumo::resetCursor();
        const lumo::Color text(0, 0, 0, textAlpha);
        const lumo::Color outline(1, 1, 1, outlineAlpha);
        drawOutline(resources->imageTitle, 400, 350, text, outline, 2);
        drawOutline(resources->imageCredits, 400, -40, text, outline, 1);
        options->drawHint(textAlpha);
    }
    GameState::doDraw(stage);
}

}  // namespace pimwarden
