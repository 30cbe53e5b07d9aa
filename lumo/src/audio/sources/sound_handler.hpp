#pragma once
// Callbacks about the life of a sound. A pool calls them on the thread that uses it.

namespace lumo {
namespace audio {

class Sound;

class SoundHandler {
  public:
    virtual ~SoundHandler() = default;
    /// The sound was created (before it gets a source).
    virtual void soundInit(Sound*) {}
    /// Each perform of the pool, with the number given to it.
    virtual void soundUpdate(Sound*, float) {}
    /// The sound is being destroyed: the last moment the pointer is valid.
    virtual void soundDone(Sound*) {}
};

}  // namespace audio
}  // namespace lumo
