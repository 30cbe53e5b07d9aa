#pragma once
// One playback of a sample on one source. Sounds are created, updated and destroyed by their
// pool (SourcePool::play); keep a Sound* only until the handler hears soundDone.

#include "audio/core/sound_properties.hpp"

namespace lumo {
namespace audio {

class Sample;
class SoundHandler;
class Source;
class SourcePool;

class Sound {
  public:
    /// Joins the pool's sounds and tells the handler (soundInit). Not owned by the caller.
    Sound(SourcePool* owner, const Sample* sample, SoundHandler* handler);
    /// Tells the handler (soundDone), frees the source when it still holds this sound and
    /// leaves the pool's lists.
    virtual ~Sound();
    Sound(const Sound&) = delete;
    Sound& operator=(const Sound&) = delete;

    /// Passes the number to the handler (soundUpdate) and marks the sound for destruction once
    /// its source has stopped. Does nothing without a source.
    virtual void perform(float f);
    /// Starts the source. Does nothing without a source.
    virtual void play();
    /// Stops the source and marks the sound for destruction (at the pool's next perform).
    virtual void stop();
    /// Sets the property `volume`; the source's gain becomes pool volume × v.
    void setVolume(float v);

    SourcePool* owner;
    const Sample* sample;
    SoundHandler* handler;
    Source* source = nullptr;
    SoundProperties properties;

  protected:
    /// OpenAL's name of the source, or 0 when there is none or audio is off.
    unsigned int alSource() const;
    /// True when the source has nothing more to play. Without audio a sound ends at once
    /// unless it loops, so silent runs keep the same lifetimes for looping sounds.
    bool sourceStopped() const;
    /// Halts the source and lets go of it when it still holds this sound.
    void detachFromSource();
};

/// Plays a cached sample from its single buffer. Successive cached sounds alternate between
/// the right (1, 1, 1) and the left (-1, 1, 1).
class CachedSound : public Sound {
  public:
    using Sound::Sound;
    void play() override;
};

}  // namespace audio
}  // namespace lumo
