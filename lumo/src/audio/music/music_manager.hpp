#pragma once
// Plays a queue of music samples one after another on a thread of its own, so that streaming
// goes on whatever the main loop does. Every public operation may be called from any thread;
// the state is guarded by one recursive SDL mutex. Callbacks to `handler` run on the music
// thread (or on the calling thread for play/stop) with the mutex held.

#include <atomic>
#include <cstddef>
#include <list>

#include <SDL.h>
#include <SDL_thread.h>

#include "audio/sources/sound_handler.hpp"

namespace lumo {
namespace audio {

class Sample;
class SourcePool;

enum MusicManagerMode { mmmNormal = 0, mmmFadeOut = 1 };

class MusicManager : public SoundHandler {
  public:
    /// Creates the pool (2 sources), the mutex and the music thread, which starts at once.
    MusicManager();
    /// Ends the thread, then stops and destroys the sounds and the pool.
    ~MusicManager() override;
    MusicManager(const MusicManager&) = delete;
    MusicManager& operator=(const MusicManager&) = delete;

    void soundInit(Sound* s) override;
    void soundUpdate(Sound* s, float f) override;
    /// When the current piece ends while playing, the next queued one starts.
    void soundDone(Sound* s) override;

    /// stop(), then play().
    virtual bool skipToNext();
    /// Drops queued pieces until one is left, then stop() and play().
    virtual bool skipToLast();
    /// Samples are not owned and must outlive their time in the queue.
    virtual void addAsNext(const Sample* sample);
    virtual void addAsLast(const Sample* sample);
    /// Empties the queue; the playing piece goes on.
    virtual void clearQueue();
    /// One step of the music thread: fading, streaming and noticing ends.
    virtual void perform(unsigned int ticks);
    /// Starts the first queued piece (nothing when the queue is empty); a playing piece is not
    /// stopped first. Throws the pool's message when the piece's file cannot be read.
    virtual void play();
    /// Stops the current piece; the queue waits for the next play().
    virtual void stop();

    /// The thread's body: perform about every 25 ms while running.
    int run();
    /// Ends the thread and returns its result. Not from the music thread itself.
    int terminate();
    void setPlayingVolumes(float v);
    void setVolume(float v);
    /// Sets the current piece's volume (nothing when there is none).
    void setCurrentVolume(float v);
    /// Fades the current piece out over `ticks` ms from currentVolume, then stops playback.
    void fadeOut(unsigned int ticks);
    bool isPlaying();

    /// The handler to which sound callbacks are passed on (not owned; null for none).
    void setHandler(SoundHandler* h);
    /// The sample of the playing piece, or null.
    const Sample* getCurrentSample();
    float getCurrentVolume();
    MusicManagerMode getMode();
    std::size_t getQueueLength();

  protected:
    /// Queues under the mutex (the log line comes after it is released); returns the length.
    int enqueue(const Sample* sample, bool asNext);
    /// After a piece ended: starts the next queued one that can be read.
    void playNextReadable();

    bool stopped = true;
    SourcePool* pool;
    std::list<const Sample*> queue;
    Sound* currentSound = nullptr;
    std::atomic<bool> running{true};
    SDL_Thread* thread = nullptr;
    SDL_mutex* mutex;
    float volume = 1.0f;
    float currentVolume = 1.0f;
    MusicManagerMode mode = mmmNormal;
    float modeParam = 0.0f;
    SoundHandler* handler = nullptr;
};

/// The music thread's entry: runs `((MusicManager*)manager)->run()`.
int MusicManager_run(void* manager);

}  // namespace audio
}  // namespace lumo
