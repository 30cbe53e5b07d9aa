#pragma once
// Pim, the player's figure: walks along the top of the wall, holds a stone, drops it and
// grabs the next one after the reload time.

#include "pimwarden_sprite.hpp"

namespace pimwarden {

class Stone;

class Pim : public PimWardenSprite {
  public:
    /// At (400, 500) showing the walk animation, at the back of the game's Pim engine, holding
    /// a first stone.
    Pim();

    /// Grabs a stone when none is held: the trunk when the bonus count has run out.
    void grabStone();
    /// Drops the held stone and starts reloading; without a stone only logs
    /// "Not holding a stone.".
    void dropStone();
    void setDirection(float d) { direction = d; }
    /// Counts one point.
    void doHit();
    /// Walks (within the screen) and reloads while the game is being played; the held stone
    /// follows in every phase.
    void perform(float ticks) override;

    /// Input deflection: positive walks right, negative left.
    float direction = 0;
    /// The held stone (it lives in the stone engine), or null.
    Stone* stone = nullptr;
    /// Milliseconds until the next stone; 0 when none is pending.
    float reloadTime = 0;
    int hitsToBonus;
    int bonusHits;
    float reloadDelay;
};

}  // namespace pimwarden
