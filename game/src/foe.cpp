#include "foe.hpp"

#include <algorithm>
#include <cstdlib>

#include "game.hpp"
#include "math/random.hpp"
#include "pim.hpp"
#include "pimwarden.hpp"
#include "resources.hpp"
#include "specs.hpp"
#include "stone.hpp"

namespace pimwarden {

Foe::Foe() : climbChance(lumo::random_int(specs.foeClimbChanceMin, specs.foeClimbChanceMax)) {
    setAnimation(resources->animFoeClimb, 1.0f);
    pos = lumo::Vector2D(lumo::random(0.0f, 800.0f), -50.0f);
    enter(game->foeEngine);
}

Foe::~Foe() {
    if (falling && game)
        --game->fallingCount;
}

const lumo::audio::Sample* Foe::cryFor(float y) {
    if (y > specs.cryHeightVeryHigh)
        return resources->sampleFoeCryVeryHigh;
    if (y > specs.cryHeightHigh)
        return resources->sampleFoeCryHigh;
    if (y > specs.cryHeightMedium)
        return resources->sampleFoeCryMedium;
    return resources->sampleFoeCryLow;
}

void Foe::fall() {
    if (falling)
        return;
    ++game->fallingCount;
    setAnimation(resources->animFoeFall, 1.0f);
    falling = true;
    playSample(resources->poolCry, cryFor(pos.y));
}

void Foe::perform(float ticks) {
    ImageSprite::perform(ticks);
    if (falling) {
        pos.y -= ticks * specs.fallSpeed;
        if (pos.y < -60.0f) {
            game->pim->doHit();
            deleteMe();
        }
        return;
    }
    if (pos.y >= specs.wallTop)
        return;
    if (climbTime != 0) {
        if (ticks > climbTime) {
            climbTime = 0;
            pauseTime = lumo::random_int(specs.foePauseRandom) + game->foePause;
        } else {
            climbTime -= static_cast<int>(ticks);
        }
        pos.y += specs.foeClimbSpeed * ticks;
        if (pos.y > specs.wallTop) {
            pos.y = specs.wallTop;
            setAnimation(resources->animFoeVictory, 1.0f);
            game->gameOver();
        }
        return;
    }
    if (strafeTime != 0) {
        pos.x += (strafeTime < 0 ? -1 : 1) * specs.foeStrafeSpeed * ticks;
        if (ticks > std::abs(strafeTime)) {
            strafeTime = 0;
            pauseTime = lumo::random_int(specs.foePauseRandom) + specs.foePauseStart;
        } else {
            const int step = static_cast<int>(ticks);
            strafeTime += strafeTime < 0 ? step : -step;
        }
        return;
    }
    if (ticks <= pauseTime) {
        pauseTime -= static_cast<int>(ticks);
        return;
    }
    decide();
}

void Foe::decide() {
    if (lumo::random_int(specs.foeDecisionRange) >= climbChance) {
        if (mode != fmClimb)
            setAnimation(resources->animFoeClimb, 1.0f);
        mode = fmClimb;
        climbTime = specs.foeClimbTime;
        return;
    }
    bool right;
    if (pos.x < 50.0f)
        right = true;
    else if (pos.x > 750.0f)
        right = false;
    else if (mode == fmRight && pos.x < 750.0f)
        right = true;
    else if (mode == fmLeft && pos.x > 50.0f)
        right = false;
    else
        right = lumo::random_int(2) != 0;
    if (mode == fmClimb)
        setAnimation(resources->animFoeStrafe, 1.0f);
    strafeTime = right ? specs.foeStrafeTime : -specs.foeStrafeTime;
    mode = right ? fmRight : fmLeft;
}

void Foe::onCollision(lumo::sprites::Sprite* spr) {
    if (falling || !spr)
        return;
    if (Stone* stone = dynamic_cast<Stone*>(spr)) {
        if (!stone->hasHit) {
            stone->hasHit = true;
            Pim* pim = game->pim;
            pim->reloadDelay =
                std::max(pim->reloadDelay - specs.reloadDelayBonus, specs.reloadDelayMin);
        }
        playSample(resources->poolHit, resources->sampleHit);
        fall();
        return;
    }
    if (Foe* other = dynamic_cast<Foe*>(spr)) {
        if (!other->falling)
            return;
        const int d = static_cast<int>(pos.y - other->pos.y);
        if (d >= specs.knockDistanceMin && d <= specs.knockDistanceMax)
            fall();
    }
}

}  // namespace pimwarden
