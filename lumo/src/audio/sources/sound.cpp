#include "audio/sources/sound.hpp"

#include <atomic>
#include <exception>
#include <string>

#include <AL/al.h>

#include "audio/core/audio.hpp"
#include "audio/resources/sample.hpp"
#include "audio/sources/sound_handler.hpp"
#include "audio/sources/source.hpp"
#include "audio/sources/source_pool.hpp"
#include "debug/log.hpp"

namespace lumo {
namespace audio {

Sound::Sound(SourcePool* owner_, const Sample* sample_, SoundHandler* handler_)
    : owner(owner_), sample(sample_), handler(handler_) {
    owner->sounds.push_back(this);
    if (handler)
        handler->soundInit(this);
}

Sound::~Sound() {
    // A handler runs inside a destructor here: a message escaping it would end the process.
    if (handler) {
        try {
            handler->soundDone(this);
        } catch (const std::string& e) {
            debug::error(dbgAudio, "%s", e.c_str());
        } catch (const std::exception& e) {
            debug::error(dbgAudio, "%s", e.what());
        }
    }
    detachFromSource();
    owner->sounds.remove(this);
    owner->deleteSounds.remove(this);
}

unsigned int Sound::alSource() const {
    return source && alActive() ? source->sourceName : 0;
}

bool Sound::sourceStopped() const {
    if (!alActive())
        return !properties.loop;
    ALint state = AL_STOPPED;
    if (ALuint s = alSource())
        alGetSourcei(s, AL_SOURCE_STATE, &state);
    return state == AL_STOPPED;
}

void Sound::detachFromSource() {
    if (source && source->sound == this) {
        source->halt();
        source->sound = nullptr;
    }
    source = nullptr;
}

void Sound::perform(float f) {
    if (!source)
        return;
    if (handler)
        handler->soundUpdate(this, f);
    if (source && sourceStopped()) {
        source->halt();
        owner->markForDeletion(this);
    }
}

void Sound::play() {
    if (!source)
        return;
    if (ALuint s = alSource())
        alSourcePlay(s);
    source->state = ssPlaying;
}

void Sound::stop() {
    if (source)
        source->halt();
    owner->markForDeletion(this);
}

void Sound::setVolume(float v) {
    properties.volume = v;
    if (ALuint s = alSource())
        alSourcef(s, AL_GAIN, owner->getVolume() * v);
}

namespace {
// Flipped on every cached play, from whichever thread plays.
std::atomic<unsigned long> cachedPlays{0};
}  // namespace

void CachedSound::play() {
    if (!source)
        return;
    const bool right = (++cachedPlays & 1) != 0;
    if (ALuint s = alSource()) {
        alSourcef(s, AL_GAIN, owner->getVolume() * properties.volume);
        alSourcef(s, AL_PITCH, properties.pitch);
        alSourcef(s, AL_ROLLOFF_FACTOR, properties.rolloff);
        alSourcei(s, AL_LOOPING, properties.loop ? AL_TRUE : AL_FALSE);
        ALuint buffer = static_cast<const CachedSample*>(sample)->bufferName;
        if (buffer)
            alSourceQueueBuffers(s, 1, &buffer);
        alSource3f(s, AL_POSITION, right ? 1.0f : -1.0f, 1.0f, 1.0f);
    }
    Sound::play();
}

}  // namespace audio
}  // namespace lumo
