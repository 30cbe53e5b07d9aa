#pragma once
// A foe: climbs the wall in spurts, pauses and steps aside at random, falls when knocked off
// and scores a point for the player when it falls out at the bottom.

#include "pimwarden_sprite.hpp"

namespace pimwarden {

/// The foe's last movement.
enum FoeMode { fmLeft = 0, fmRight = 1, fmClimb = 2 };

class Foe : public PimWardenSprite {
  public:
    /// Below the screen at a random x, climbing animation, at the back of the game's foe
    /// engine, with a random climbing threshold.
    Foe();
    /// A falling foe leaves the game's count of falling things.
    ~Foe() override;

    /// Starts falling (once) with the cry for its height.
    void fall();
    void perform(float ticks) override;
    /// Stones knock the foe off; so do falling foes 25 to 40 px below it.
    void onCollision(lumo::sprites::Sprite* spr) override;

    /// The cry of a foe knocked off at height `y`.
    static const lumo::audio::Sample* cryFor(float y);

    bool falling = false;
    int pauseTime = 0;
    int climbTime = 0;
    /// Negative while stepping left.
    int strafeTime = 0;
    FoeMode mode = fmClimb;
    int climbChance;

  private:
    void decide();
};

}  // namespace pimwarden
