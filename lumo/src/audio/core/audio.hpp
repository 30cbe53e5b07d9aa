#pragma once
// The one OpenAL device and context of a run. Without a device the framework runs silent:
// nothing touches OpenAL and sounds end (or, when looping, idle) as if played.

#include <string>

#include <AL/alc.h>

namespace lumo {
namespace audio {

class Context;

/// True at start; when false no device or context is opened.
extern bool enabled;
/// The OpenAL device, null when none.
extern ALCdevice* device;
/// The one Context, null when none.
extern Context* context;

/// Owns the OpenAL context. Only one may exist at a time.
class Context {
  public:
    /// Throws "Cannot create more than one audio context." when one exists, or the ALC error name
    /// when OpenAL cannot create the context. Holds no OpenAL context while audio is disabled.
    explicit Context(int frequency);
    virtual ~Context();
    Context(const Context&) = delete;
    Context& operator=(const Context&) = delete;

    virtual void perform(float) {}

    ALCcontext* alcContext = nullptr;
};

/// Opens the named device (the default one when `deviceName` is empty) and creates the context.
/// A named device that cannot be opened throws its ALC error name; a missing default device
/// (no sound card, no sound server) is logged and audio is disabled for the run. Throws
/// "Cannot create more than one audio context." when a context already exists.
void init(const std::string& deviceName, int frequency);
/// Destroys the context and closes the device. Pools and sounds must be gone before.
void cleanUp();

/// True while an OpenAL context is current; every OpenAL call of the framework checks it.
bool alActive();

/// Names of AL and ALC error codes ("AL_INVALID_NAME", "ALC_INVALID_DEVICE", ...).
std::string getALErrorString(int error);
std::string getALCErrorString(int error);

}  // namespace audio
}  // namespace lumo
