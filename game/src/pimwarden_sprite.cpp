#include "pimwarden_sprite.hpp"

#include "audio/sources/source_pool.hpp"
#include "delete_queue.hpp"

namespace pimwarden {

PimWardenSprite::PimWardenSprite() : ImageSprite(lumo::Vector2D(0, 0), false, nullptr) {}

PimWardenSprite::~PimWardenSprite() = default;

void PimWardenSprite::deleteMe() {
    if (deleted)
        return;
    deleted = true;
    deleteQueue.push_front(this);
}

void PimWardenSprite::enter(lumo::sprites::SpriteEngine& engine) {
    visible = true;
    canCollide = true;
    engine.addBack(this);
}

void playSample(lumo::audio::SourcePool* pool, const lumo::audio::Sample* sample) {
    if (pool && sample)
        pool->play(sample, nullptr, nullptr, -1);
}

}  // namespace pimwarden
