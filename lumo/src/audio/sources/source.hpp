#pragma once
// One OpenAL source of a pool, with the priority and age that decide whether it may be taken.

#include <AL/al.h>

namespace lumo {
namespace audio {

class SourcePool;
class Sound;

enum SourceState { ssInitialized = 0, ssPlaying = 1, ssPaused = 2, ssStopped = 3 };

class Source {
  public:
    /// Wraps `name` (0 while audio is disabled); the source is free.
    Source(SourcePool* owner, ALuint name);
    /// Destroys the sound still on it, then the OpenAL source.
    ~Source();
    Source(const Source&) = delete;
    Source& operator=(const Source&) = delete;

    /// Queue order: a < b when b is the better one to take next. Free sources come first, then
    /// the lowest priority and, among equal priorities, the oldest stamp.
    bool operator<(const Source& b) const;
    /// Never used, or its sound was taken away.
    bool isFree() const { return stamp == 0; }
    /// Stops the OpenAL source, detaches its buffers and marks it ssStopped.
    void halt();

    SourcePool* owner;
    ALuint sourceName;
    SourceState state = ssInitialized;
    int priority = 0;
    Sound* sound = nullptr;
    unsigned long stamp = 0;
};

struct CompareSourcePointers {
    bool operator()(const Source* a, const Source* b) const { return *a < *b; }
};

}  // namespace audio
}  // namespace lumo
