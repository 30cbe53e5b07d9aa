#include "stone.hpp"

#include "game.hpp"
#include "gfx/images/image_resource.hpp"
#include "pimwarden.hpp"
#include "resources.hpp"
#include "specs.hpp"

namespace pimwarden {

Stone::Stone(bool big) {
    setImage(big ? resources->imageTrunk : resources->imageStone);
    enter(game->stoneEngine);
}

Stone::~Stone() {
    if (falling && game)
        --game->fallingCount;
}

void Stone::drop() {
    ++game->fallingCount;
    falling = true;
}

void Stone::perform(float ticks) {
    if (!falling)
        return;
    pos.y -= ticks * specs.fallSpeed;
    if (pos.y < -30.0f)
        deleteMe();
}

}  // namespace pimwarden
