#pragma once
// The base of the game's sprites: an image sprite that can queue itself for deletion once.

#include "sprites/sprites/image_sprite.hpp"
#include "sprites/sprites/sprite_engine.hpp"

namespace lumo {
namespace audio {
class Sample;
class SourcePool;
}  // namespace audio
}  // namespace lumo

namespace pimwarden {

class PimWardenSprite : public lumo::sprites::ImageSprite {
  public:
    /// At (0, 0), invisible, without image.
    PimWardenSprite();
    ~PimWardenSprite() override;

    /// Puts the sprite at the front of the deletion queue; later calls do nothing.
    void deleteMe();
    /// Makes the sprite visible and colliding and appends it to `engine`.
    void enter(lumo::sprites::SpriteEngine& engine);

    /// Whether the sprite is in the deletion queue already.
    bool deleted = false;
};

/// Plays `sample` on `pool` with default properties; silent when either is missing.
void playSample(lumo::audio::SourcePool* pool, const lumo::audio::Sample* sample);

}  // namespace pimwarden
