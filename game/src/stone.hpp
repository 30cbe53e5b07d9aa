#pragma once
// A stone: held above Pim until dropped, then it falls and knocks off the foes it touches.

#include "pimwarden_sprite.hpp"

namespace pimwarden {

class Stone : public PimWardenSprite {
  public:
    /// Shows the trunk when `big`, else the stone; visible, colliding, at the back of the
    /// game's stone engine.
    explicit Stone(bool big);
    /// A falling stone leaves the game's count of falling things.
    ~Stone() override;

    /// Starts falling and joins the game's count of falling things.
    void drop();
    /// Falls while dropped; below -30 it queues itself for deletion.
    void perform(float ticks) override;

    bool falling = false;
    /// Whether it has knocked a foe off (the reload bonus is granted once per stone).
    bool hasHit = false;
};

}  // namespace pimwarden
