#include "delete_queue.hpp"

#include "sprites/sprites/sprite.hpp"

namespace pimwarden {

std::list<lumo::sprites::Sprite*> deleteQueue;

void deleteQueuedSprites() {
    // A destructor may queue nothing new, but take the list first all the same.
    std::list<lumo::sprites::Sprite*> doomed;
    doomed.swap(deleteQueue);
    for (lumo::sprites::Sprite* sprite : doomed)
        delete sprite;
}

}  // namespace pimwarden
