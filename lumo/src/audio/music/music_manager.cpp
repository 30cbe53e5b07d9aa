#include "audio/music/music_manager.hpp"

#include <exception>
#include <string>

#include "audio/resources/sample.hpp"
#include "audio/sources/sound.hpp"
#include "audio/sources/source_pool.hpp"
#include "debug/log.hpp"

namespace lumo {
namespace audio {

namespace {
class Lock {
  public:
    explicit Lock(SDL_mutex* m) : mutex(m) { SDL_mutexP(mutex); }
    ~Lock() { SDL_mutexV(mutex); }
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;

  private:
    SDL_mutex* mutex;
};
}  // namespace

int MusicManager_run(void* manager) {
    return static_cast<MusicManager*>(manager)->run();
}

MusicManager::MusicManager() : pool(new SourcePool(2)), mutex(SDL_CreateMutex()) {
    if (!mutex) {
        delete pool;
        throw std::string(SDL_GetError());
    }
    thread = SDL_CreateThread(MusicManager_run, this);
    if (!thread) {
        SDL_DestroyMutex(mutex);
        delete pool;
        throw std::string(SDL_GetError());
    }
}

MusicManager::~MusicManager() {
    if (thread)
        terminate();
    {
        Lock lock(mutex);
        // Sounds destroyed now must not start the next piece.
        stopped = true;
        queue.clear();
        pool->stopAll();
        currentSound = nullptr;
    }
    delete pool;
    SDL_DestroyMutex(mutex);
}

int MusicManager::run() {
    Uint32 last = SDL_GetTicks();
    while (running) {
        Uint32 now = SDL_GetTicks();
        // Nothing may escape the thread: it would end the process.
        try {
            perform(now - last);
        } catch (const std::string& e) {
            debug::error(dbgAudio, "MusicManager: %s", e.c_str());
        } catch (const std::exception& e) {
            debug::error(dbgAudio, "MusicManager: %s", e.what());
        }
        SDL_Delay(25);
        last = now;
    }
    return 0;
}

int MusicManager::terminate() {
    running = false;
    int status = 0;
    if (thread)
        SDL_WaitThread(thread, &status);
    thread = nullptr;
    return status;
}

int MusicManager::enqueue(const Sample* sample, bool asNext) {
    Lock lock(mutex);
    if (asNext)
        queue.push_front(sample);
    else
        queue.push_back(sample);
    return static_cast<int>(queue.size());
}

void MusicManager::addAsNext(const Sample* sample) {
    int n = enqueue(sample, true);
    debug::warning(dbgAudio, "MusicManager::addAsNext - Queue now contains %d elements.", n);
}

void MusicManager::addAsLast(const Sample* sample) {
    int n = enqueue(sample, false);
    debug::warning(dbgAudio, "MusicManager::addAsLast - Queue now contains %d elements.", n);
}

void MusicManager::clearQueue() {
    Lock lock(mutex);
    queue.clear();
}

void MusicManager::play() {
    Lock lock(mutex);
    if (queue.empty())
        return;
    debug::warning(dbgAudio, "MusicManager: Queue not empty...starting sound...");
    stopped = false;
    const Sample* sample = queue.front();
    queue.pop_front();
    debug::warning(dbgAudio, "MusicManager: Starting sample %p.", static_cast<const void*>(sample));
    currentSound = pool->play(sample, nullptr, this, -1);
    debug::warning(dbgAudio, "MusicManager: Sound started: %p", static_cast<void*>(currentSound));
}

void MusicManager::stop() {
    Lock lock(mutex);
    stopped = true;
    mode = mmmNormal;
    if (currentSound) {
        debug::warning(dbgAudio, "MusicManager: Stopping sound %p",
                       static_cast<void*>(currentSound));
        pool->stopAll();
        currentSound = nullptr;
    } else {
        debug::warning(dbgAudio, "No sound to stop!");
    }
}

bool MusicManager::skipToNext() {
    Lock lock(mutex);
    stop();
    play();
    debug::warning(dbgAudio, "MusicManager - Skipped to next.");
    return true;
}

bool MusicManager::skipToLast() {
    Lock lock(mutex);
    while (queue.size() > 1)
        queue.pop_front();
    stop();
    play();
    debug::warning(dbgAudio, "MusicManager - Skipped to last.");
    return true;
}

void MusicManager::fadeOut(unsigned int ticks) {
    float factor;
    {
        Lock lock(mutex);
        mode = mmmFadeOut;
        // A fade of 0 ms would divide by zero and never end; it ends at the next step instead.
        modeParam = 1.0f / static_cast<float>(ticks ? ticks : 1);
        factor = modeParam;
    }
    debug::warning(dbgAudio, "Fading out in %d ticks -> Factor %.5f per tick.",
                   static_cast<int>(ticks), factor);
}

void MusicManager::perform(unsigned int ticks) {
    bool fadeFinished = false;
    {
        Lock lock(mutex);
        if (mode == mmmFadeOut) {
            float v = currentVolume - static_cast<float>(ticks) * modeParam;
            if (v <= 0.0f) {
                currentVolume = volume;
                fadeFinished = true;
            } else {
                setCurrentVolume(v);
            }
        }
        if (!fadeFinished)
            pool->perform(static_cast<float>(ticks));
    }
    if (fadeFinished)
        stop();
}

void MusicManager::setCurrentVolume(float v) {
    Lock lock(mutex);
    if (!currentSound)
        return;
    currentSound->setVolume(v);
    currentVolume = v;
}

void MusicManager::setVolume(float v) {
    Lock lock(mutex);
    pool->setVolume(v);
}

void MusicManager::setPlayingVolumes(float v) {
    Lock lock(mutex);
    pool->setPlayingVolumes(v);
}

bool MusicManager::isPlaying() {
    Lock lock(mutex);
    return !stopped;
}

void MusicManager::soundInit(Sound* s) {
    debug::warning(dbgAudio, "MusicManager: soundInit(%p)", static_cast<void*>(s));
    if (handler)
        handler->soundInit(s);
}

void MusicManager::soundUpdate(Sound* s, float f) {
    if (handler)
        handler->soundUpdate(s, f);
}

void MusicManager::soundDone(Sound* s) {
    if (handler)
        handler->soundDone(s);
    if (!stopped && s == currentSound) {
        debug::warning(dbgAudio, "MusicManager: Sound finished: %p", static_cast<void*>(s));
        currentSound = nullptr;
        playNextReadable();
    }
}

void MusicManager::playNextReadable() {
    // Runs inside a sound's destruction on the music thread: a piece that cannot be read is
    // reported and skipped instead of thrown.
    for (;;) {
        try {
            play();
            return;
        } catch (const std::string& e) {
            debug::error(dbgAudio, "MusicManager: %s", e.c_str());
        }
        Lock lock(mutex);
        if (queue.empty())
            return;
    }
}

void MusicManager::setHandler(SoundHandler* h) {
    Lock lock(mutex);
    handler = h;
}

const Sample* MusicManager::getCurrentSample() {
    Lock lock(mutex);
    return currentSound ? currentSound->sample : nullptr;
}

float MusicManager::getCurrentVolume() {
    Lock lock(mutex);
    return currentVolume;
}

MusicManagerMode MusicManager::getMode() {
    Lock lock(mutex);
    return mode;
}

std::size_t MusicManager::getQueueLength() {
    Lock lock(mutex);
    return queue.size();
}

}  // namespace audio
}  // namespace lumo
