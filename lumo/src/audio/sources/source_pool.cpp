#include "audio/sources/source_pool.hpp"

#include <algorithm>
#include <string>

#include <AL/al.h>

#include "audio/core/audio.hpp"
#include "audio/resources/sample.hpp"
#include "audio/sources/sound.hpp"
#include "audio/sources/streamed_sound.hpp"
#include "debug/log.hpp"

namespace lumo {
namespace audio {

SourcePool::SourcePool(int n) {
    if (n != 0)
        resize(static_cast<unsigned>(n));
}

SourcePool::~SourcePool() {
    deleteExpiredSounds();
    resize(0);
    // Sounds that never got a source are on no source; a handler may also have started one.
    while (!sounds.empty())
        delete sounds.front();
}

void SourcePool::resize(unsigned n) {
    // Empty the queue before destroying anything: a handler told of the end may play again.
    std::vector<Source*> old;
    while (!sources.empty()) {
        old.push_back(sources.top());
        sources.pop();
    }
    for (Source* s : old)
        delete s;

    if (n == 0)
        return;
    std::vector<ALuint> names(n, 0);
    if (alActive()) {
        alGetError();
        alGenSources(static_cast<ALsizei>(n), names.data());
        if (alGetError() != AL_NO_ERROR)
            throw std::string("Could not create source name array.");
    }
    for (ALuint name : names)
        sources.push(new Source(this, name));
}

Sound* SourcePool::play(const Sample* sample, const SoundProperties* properties,
                        SoundHandler* handler, int priority) {
    Sound* sound;
    if (auto cached = dynamic_cast<const CachedSample*>(sample))
        sound = new CachedSound(this, cached, handler);
    else if (auto streamed = dynamic_cast<const StreamedSample*>(sample))
        sound = new StreamedSound(this, streamed, handler, properties);
    else
        throw std::string("Unknown sample class.");

    if (priority < 0)
        priority = sample->priority;
    sound->properties = properties ? *properties : sample->properties;

    Source* source = requestSource(priority);
    if (!source) {
        debug::info(dbgAudio, "No source availabie, what to do??");
        markForDeletion(sound);
        return sound;
    }
    source->sound = sound;
    source->priority = priority;
    source->stamp = ++stampCount;
    sound->source = source;
    sources.push(source);
    sound->play();
    return sound;
}

Source* SourcePool::requestSource(int priority) {
    if (sources.empty())
        return nullptr;
    Source* source = sources.top();
    if (source->sound && priority < source->priority)
        return nullptr;
    sources.pop();
    if (Sound* victim = source->sound) {
        // Free the source before the victim's handler runs, so a handler that plays again
        // cannot be handed the same source.
        source->halt();
        source->sound = nullptr;
        source->stamp = 0;
        victim->source = nullptr;
        delete victim;
    }
    return source;
}

void SourcePool::perform(float f) {
    // A handler may destroy other sounds of the pool while we walk it.
    std::vector<Sound*> walk(sounds.begin(), sounds.end());
    for (Sound* s : walk)
        if (std::find(sounds.begin(), sounds.end(), s) != sounds.end())
            s->perform(f);
    deleteExpiredSounds();
}

void SourcePool::stopAll() {
    std::vector<Sound*> all(sounds.begin(), sounds.end());
    for (Sound* s : all)
        s->stop();
    for (Sound* s : all)
        if (std::find(sounds.begin(), sounds.end(), s) != sounds.end())
            delete s;
}

void SourcePool::setPlayingVolumes(float v) {
    volume = v;
    for (Sound* s : sounds)
        s->setVolume(s->properties.volume);
}

void SourcePool::markForDeletion(Sound* sound) {
    if (std::find(deleteSounds.begin(), deleteSounds.end(), sound) == deleteSounds.end())
        deleteSounds.push_back(sound);
}

void SourcePool::deleteExpiredSounds() {
    while (!deleteSounds.empty()) {
        Sound* s = deleteSounds.front();
        deleteSounds.pop_front();
        delete s;
    }
}

std::vector<const Source*> SourcePool::getSources() const {
    auto copy = sources;
    std::vector<const Source*> out;
    while (!copy.empty()) {
        out.push_back(copy.top());
        copy.pop();
    }
    return out;
}

}  // namespace audio
}  // namespace lumo
