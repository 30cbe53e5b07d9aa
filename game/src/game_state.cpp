#include "game_state.hpp"

#include <string>

#include "controls/control_queue.hpp"
#include "controls/trigger.hpp"
#include "debug/log.hpp"
#include "delete_queue.hpp"
#include "gfx/images/image.hpp"
#include "lumo/video.hpp"
#include "pimwarden.hpp"
#include "resources.hpp"
#include "tools/ticks.hpp"

namespace pimwarden {

GameState::GameState() {
    performStageCount = 3;
    drawStageCount = 3;
}

void GameState::handleEvent(const lumo::Trigger* t) {
    if (t->id != 3)
        return;
    try {
        lumo::toggleFullscreen();
    } catch (const std::string& message) {
        lumo::debug::error(dbgCore, "%s", message.c_str());
    }
}

void GameState::doPerform(int stage, unsigned int ticks) {
    if (stage == 0) {
        fps = lumo::calcFPS(static_cast<int>(ticks));
        resources->queue->perform(static_cast<float>(ticks));
        resources->performGui(static_cast<float>(ticks));
    } else if (stage == 2) {
        deleteQueuedSprites();
    }
}

void GameState::doDraw(int stage) {
    if (stage == 0) {
        lumo::clearScreen();
    } else if (stage == 1) {
        lumo::resetCursor();
        resources->drawGui();
    } else if (stage == 2) {
        lumo::flipScreen();
    }
}

void GameState::drawOutline(lumo::gfx::Image* image, float x, float y, const lumo::Color& color,
                            const lumo::Color& outline, int width) {
    if (!image)
        return;
    const float w = static_cast<float>(width);
    outline.apply();
    image->draw(lumo::Vector2D(x - w, y));
    image->draw(lumo::Vector2D(x + w, y));
    image->draw(lumo::Vector2D(x, y - w));
    image->draw(lumo::Vector2D(x, y + w));
    color.apply();
    image->draw(lumo::Vector2D(x, y));
}

}  // namespace pimwarden
