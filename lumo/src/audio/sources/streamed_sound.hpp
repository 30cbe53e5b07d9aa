#pragma once
// Plays a streamed sample: two OpenAL buffers are refilled from the file while they play.
// Looping is done by the loader, which wraps to the start of the file.

#include <AL/al.h>

#include "audio/sources/sound.hpp"

namespace lumo {
namespace audio {

class FileLoader;
class StreamedSample;

class StreamedSound : public Sound {
  public:
    /// Opens the sample's file and decodes the first two buffers with `properties` (null: the
    /// sample's own; the pool copies the same ones afterwards). Throws
    /// "Error loading file \"<file>\": <message>" when the file cannot be opened.
    /// Throws, and leaves nothing behind, when the file cannot be read or OpenAL refuses the
    /// buffers or their first data (the message names the sample).
    StreamedSound(SourcePool* owner, const StreamedSample* sample, SoundHandler* handler,
                  const SoundProperties* properties = nullptr);
    /// Frees the source, then deletes both buffers and the loader.
    ~StreamedSound() override;

    /// Streams, then notices the end like every sound.
    void perform(float f) override;
    void play() override;

    /// Decodes the next bufferSize bytes into `buffer`; sets fileComplete when nothing is left.
    /// A decoding error is logged and ends the stream (what was decoded still plays). Returns
    /// whether the buffer got data. An upload that OpenAL refuses is logged (naming the
    /// sample) and ends the stream as well.
    bool readBuffer(unsigned int buffer);
    /// Refills the processed buffers and restarts the source after an underrun.
    void stream();

    FileLoader* loader = nullptr;
    long bufferSize;
    bool fileComplete = false;
    ALuint buffers[2] = {0, 0};

  private:
    /// readBuffer(), but a refused upload throws its message.
    bool fillBuffer(unsigned int buffer);

    bool filled[2] = {false, false};
};

}  // namespace audio
}  // namespace lumo
