#include "audio/core/audio.hpp"

#include <AL/al.h>

#include "debug/log.hpp"

namespace lumo {
namespace audio {

bool enabled = true;
ALCdevice* device = nullptr;
Context* context = nullptr;

Context::Context(int frequency) {
    if (context)
        throw std::string("Cannot create more than one audio context.");
    if (enabled && device) {
        const ALCint attributes[] = {ALC_FREQUENCY, frequency, 0};
        alcContext = alcCreateContext(device, attributes);
        if (!alcContext)
            throw getALCErrorString(alcGetError(device));
        if (!alcMakeContextCurrent(alcContext))
            debug::warning(dbgAudio, "%s", getALCErrorString(alcGetError(device)).c_str());
    }
    context = this;
}

Context::~Context() {
    if (alcContext) {
        if (alcGetCurrentContext() == alcContext)
            alcMakeContextCurrent(nullptr);
        alcDestroyContext(alcContext);
    }
    if (context == this)
        context = nullptr;
}

void init(const std::string& deviceName, int frequency) {
    if (context)
        throw std::string("Cannot create more than one audio context.");
    if (enabled && !device) {
        device = alcOpenDevice(deviceName.empty() ? nullptr : deviceName.c_str());
        if (!device) {
            std::string error = getALCErrorString(alcGetError(nullptr));
            if (!deviceName.empty())
                throw error;
            // A machine without sound must still run the game; it just stays silent.
            debug::warning(dbgAudio,
                           "Could not open the default OpenAL device (%s); running silent.",
                           error.c_str());
        } else {
            debug::info(dbgAudio, "Initialized OpenAL device \"%s\".",
                        alcGetString(device, ALC_DEVICE_SPECIFIER));
        }
    }
    new Context(frequency);
}

void cleanUp() {
    delete context;
    context = nullptr;
    if (device) {
        alcCloseDevice(device);
        device = nullptr;
    }
}

bool alActive() {
    return context && context->alcContext;
}

std::string getALErrorString(int error) {
    switch (error) {
        case AL_NO_ERROR:
            return "AL_NO_ERROR";
        case AL_INVALID_NAME:
            return "AL_INVALID_NAME";
        case AL_INVALID_VALUE:
            return "AL_INVALID_VALUE";
        case AL_OUT_OF_MEMORY:
            return "AL_OUT_OF_MEMORY";
        default:
            return "(Unknown AL error)";
    }
}

std::string getALCErrorString(int error) {
    switch (error) {
        case ALC_NO_ERROR:
            return "AL_NO_ERROR";
        case ALC_INVALID_DEVICE:
            return "ALC_INVALID_DEVICE";
        case ALC_INVALID_CONTEXT:
            return "ALC_INVALID_CONTEXT";
        case ALC_INVALID_ENUM:
            return "ALC_INVALID_ENUM";
        case ALC_INVALID_VALUE:
            return "ALC_INVALID_VALUE";
        case ALC_OUT_OF_MEMORY:
            return "ALC_OUT_OF_MEMORY";
        default:
            return "(Unknown ALC error)";
    }
}

}  // namespace audio
}  // namespace lumo
