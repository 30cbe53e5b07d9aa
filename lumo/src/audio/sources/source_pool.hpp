#pragma once
// A fixed number of OpenAL sources shared by the sounds an application starts; priorities
// decide which playing sound gives way when every source is busy. One thread per pool: a pool
// and its sounds are not locked.

#include <list>
#include <queue>
#include <vector>

#include "audio/sources/source.hpp"

namespace lumo {
namespace audio {

class Sample;
class Sound;
class SoundHandler;
struct SoundProperties;

class SourcePool {
  public:
    /// `n` sources (none when 0). Throws as resize().
    explicit SourcePool(int n);
    /// Destroys the sounds waiting for destruction, then every source with its sound.
    virtual ~SourcePool();
    SourcePool(const SourcePool&) = delete;
    SourcePool& operator=(const SourcePool&) = delete;

    /// Destroys every source (and its sound), then makes `n` free ones. Throws
    /// "Could not create source name array." when OpenAL has not that many sources.
    void resize(unsigned n);
    unsigned getSize() const { return static_cast<unsigned>(sources.size()); }

    /// Starts `sample` (a CachedSample or StreamedSample; else throws "Unknown sample class.")
    /// with `properties` (null: the sample's own) and `priority` (negative: the sample's own).
    /// The pool owns the returned sound. When no source can be had the sound is returned
    /// without ever playing, already marked for destruction; its handler hears soundDone at the
    /// next perform like any ended sound. A streamed sample whose file cannot be read throws.
    Sound* play(const Sample* sample, const SoundProperties* properties = nullptr,
                SoundHandler* handler = nullptr, int priority = -1);
    /// Takes the best source for `priority` out of the queue (destroying a sound it carried),
    /// or returns null when every source plays something more important.
    Source* requestSource(int priority);

    /// Performs every sound, then destroys the ones that ended.
    void perform(float f);
    /// Stops and destroys every sound.
    void stopAll();

    /// The master volume for sounds started afterwards.
    void setVolume(float v) { volume = v; }
    float getVolume() const { return volume; }
    /// Sets the master volume and applies it to the playing sounds at once.
    void setPlayingVolumes(float v);

    /// Marks a sound of this pool for destruction at the end of the next perform (once).
    void markForDeletion(Sound* sound);

    const std::list<Sound*>& getSounds() const { return sounds; }
    /// The sources in queue order: the one to take next first.
    std::vector<const Source*> getSources() const;

  protected:
    friend class Sound;
    void deleteExpiredSounds();

    std::priority_queue<Source*, std::vector<Source*>, CompareSourcePointers> sources;
    std::list<Sound*> sounds;
    std::list<Sound*> deleteSounds;
    unsigned long stampCount = 0;
    float volume = 1.0f;
};

}  // namespace audio
}  // namespace lumo
