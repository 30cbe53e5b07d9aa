#include "audio/sources/streamed_sound.hpp"

#include <string>

#include "audio/core/audio.hpp"
#include "audio/loaders/file_loader.hpp"
#include "audio/resources/sample.hpp"
#include "audio/sources/source.hpp"
#include "audio/sources/source_pool.hpp"
#include "debug/log.hpp"

namespace lumo {
namespace audio {

StreamedSound::StreamedSound(SourcePool* owner_, const StreamedSample* sample_,
                             SoundHandler* handler_, const SoundProperties* properties_)
    : Sound(owner_, sample_, handler_), bufferSize(sample_->bufferSize) {
    // Looping decides how the first buffers are read, so it must be known before they are.
    properties = properties_ ? *properties_ : sample_->properties;
    debug::info(dbgAudio, "Creating StreamedSound for sample \"%s\".", sample_->name.c_str());
    try {
        debug::info(dbgAudio, "Creating loader...");
        loader = getFileLoader(sample_->filename);
        debug::info(dbgAudio, "Ok.");
    } catch (const std::string& e) {
        if (loader) {
            debug::info(dbgAudio, "Deleting loader...");
            delete loader;
            loader = nullptr;
            debug::info(dbgAudio, "Deleted.");
        }
        debug::info(dbgAudio, "Error loading file: %s", e.c_str());
        throw "Error loading file \"" + sample_->filename + "\": " + e;
    }
    if (!alActive())
        return;
    try {
        debug::info(dbgAudio, "Generating 2 buffers...");
        alGetError();
        alGenBuffers(2, buffers);
        if (ALenum error = alGetError()) {
            buffers[0] = buffers[1] = 0;
            throw "Could not create OpenAL buffers for \"" + sample_->name +
                "\": " + getALErrorString(error) + ".";
        }
        debug::info(dbgAudio, "Reading buffer 0.");
        filled[0] = fillBuffer(buffers[0]);
        debug::info(dbgAudio, "Reading buffer 1.");
        filled[1] = fillBuffer(buffers[1]);
    } catch (const std::string&) {
        // No destructor runs for a sound whose construction failed.
        if (buffers[0])
            alDeleteBuffers(2, buffers);
        delete loader;
        throw;
    }
    debug::info(dbgAudio, "Done creating streamed sound.");
}

StreamedSound::~StreamedSound() {
    // The buffers can only be deleted once no source holds them.
    detachFromSource();
    if (alActive() && buffers[0])
        alDeleteBuffers(2, buffers);
    delete loader;
}

bool StreamedSound::readBuffer(unsigned int buffer) {
    try {
        return fillBuffer(buffer);
    } catch (const std::string& e) {
        // While playing (on the music thread, too) a failed upload ends the stream.
        debug::error(dbgAudio, "%s", e.c_str());
        fileComplete = true;
        return false;
    }
}

bool StreamedSound::fillBuffer(unsigned int buffer) {
    if (fileComplete || !loader)
        return false;
    ALsizei size = static_cast<ALsizei>(bufferSize > 0 ? bufferSize : 0);
    const char* data = nullptr;
    try {
        data = loader->read(&size, properties.loop);
    } catch (const std::string& e) {
        debug::error(dbgAudio, "%s", e.c_str());
        size = 0;
    }
    if (size <= 0) {
        fileComplete = true;
        return false;
    }
    uploadBuffer(buffer, *loader, data, size, sample->name);
    return true;
}

void StreamedSound::stream() {
    ALuint s = alSource();
    if (!s || source->state != ssPlaying)
        return;

    ALint processed = 0;
    alGetSourcei(s, AL_BUFFERS_PROCESSED, &processed);
    while (processed-- > 0) {
        ALuint buffer = 0;
        alSourceUnqueueBuffers(s, 1, &buffer);
        if (readBuffer(buffer))
            alSourceQueueBuffers(s, 1, &buffer);
    }

    ALint state = AL_STOPPED;
    alGetSourcei(s, AL_SOURCE_STATE, &state);
    if (state != AL_STOPPED)
        return;
    if (!fileComplete) {
        debug::warning(dbgAudio, "Stream %p was interrupted.", static_cast<void*>(this));
        alSourcePlay(s);
    } else {
        source->state = ssStopped;
    }
}

void StreamedSound::perform(float f) {
    stream();
    Sound::perform(f);
}

void StreamedSound::play() {
    if (!source)
        return;
    if (ALuint s = alSource()) {
        for (int i = 0; i < 2; ++i)
            if (filled[i])
                alSourceQueueBuffers(s, 1, &buffers[i]);
        alSourcef(s, AL_GAIN, owner->getVolume() * properties.volume);
        alSourcef(s, AL_PITCH, properties.pitch);
        alSourcef(s, AL_ROLLOFF_FACTOR, 1.0f);
        alSource3f(s, AL_POSITION, properties.position.x, properties.position.y,
                   properties.position.z);
        alSourcei(s, AL_LOOPING, AL_FALSE);
    }
    Sound::play();
}

}  // namespace audio
}  // namespace lumo
