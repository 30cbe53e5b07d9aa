#pragma once
// Sprites waiting to be deleted. Nothing is deleted while an engine walks its sprites: sprites
// queue themselves (PimWardenSprite::deleteMe) and the active state deletes them once per frame.

#include <list>

namespace lumo {
namespace sprites {
class Sprite;
}
}  // namespace lumo

namespace pimwarden {

extern std::list<lumo::sprites::Sprite*> deleteQueue;

/// Deletes every queued sprite (each leaves its engine) and empties the queue.
void deleteQueuedSprites();

}  // namespace pimwarden
