#include "pim.hpp"

#include <algorithm>

#include "debug/log.hpp"
#include "game.hpp"
#include "pimwarden.hpp"
#include "resources.hpp"
#include "specs.hpp"
#include "stone.hpp"

namespace pimwarden {

Pim::Pim()
    : hitsToBonus(specs.bonusHitsStart),
      bonusHits(specs.bonusHitsStart),
      reloadDelay(specs.reloadDelayStart) {
    setAnimation(resources->animPim, 1.0f);
    pos = lumo::Vector2D(400, 500);
    enter(game->pimEngine);
    grabStone();
}

void Pim::grabStone() {
    if (stone)
        return;
    const bool big = hitsToBonus == 0;
    stone = new Stone(big);
    stone->pos = lumo::Vector2D(pos.x, pos.y + specs.stoneOffsetY);
    if (big) {
        bonusHits += specs.bonusHitsStep;
        hitsToBonus = bonusHits;
    }
}

void Pim::dropStone() {
    if (!stone) {
        lumo::debug::info(dbgGame, "Not holding a stone.");
        return;
    }
    reloadTime = reloadDelay;
    stone->drop();
    stone = nullptr;
    playSample(resources->poolThrow, resources->sampleThrow);
}

void Pim::doHit() {
    if (hitsToBonus > 0)
        --hitsToBonus;
    ++game->score;
}

void Pim::perform(float ticks) {
    ImageSprite::perform(ticks);
    if (game->phase == gpPlaying) {
        pos.x += specs.pimSpeed * direction * ticks;
        pos.x = std::min(std::max(pos.x, specs.walkMin), specs.walkMax);
        if (reloadTime > 0) {
            reloadTime -= ticks * specs.reloadSpeed;
            if (reloadTime <= 0) {
                reloadTime = 0;
                grabStone();
            }
        }
    }
    if (stone)
        stone->pos.x = pos.x;
}

}  // namespace pimwarden
