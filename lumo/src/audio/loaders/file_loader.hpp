#pragma once
// Decoders of sound files into 16-bit PCM for OpenAL. A loader is used by one thread at a time.

#include <cstdio>
#include <string>

#include <AL/al.h>

namespace lumo {
namespace audio {

class FileLoader {
  public:
    /// Opens `filename` for reading (the FILE* argument is not used). Throws
    /// "Could not open file \"<filename>\"." when it cannot be opened.
    FileLoader(FILE* unused, const std::string& filename);
    /// Frees the output buffer and closes the file when it is still held.
    virtual ~FileLoader();
    FileLoader(const FileLoader&) = delete;
    FileLoader& operator=(const FileLoader&) = delete;

    /// Decodes up to *size bytes (the whole file when `size` is null) and returns the output
    /// buffer, owned by the loader and valid until the next read. With `loop` the decoder wraps
    /// to the start of the file; when it cannot, what was decoded is delivered and the stream
    /// counts as finished. *size becomes the number of bytes delivered (0 at the end). Throws
    /// the decoder's message on corrupt data.
    virtual char* read(ALsizei* size, bool loop) = 0;
    /// Goes back to the start; false when the stream cannot seek.
    virtual bool rewind() = 0;

    ALenum getFormat() const { return format; }
    /// Decoded bytes of the whole file.
    ALsizei getSize() const { return size; }
    ALsizei getFrequency() const { return frequency; }
    /// Frees the output buffer.
    void freeBuffer();

  protected:
    /// The buffer for `wanted` bytes (reallocated when the size changes).
    char* prepareBuffer(ALsizei wanted);

    FILE* file = nullptr;
    ALenum format = 0;
    ALsizei size = 0;
    ALsizei frequency = 0;
    ALsizei bufferSize = 0;
    char* buffer = nullptr;
    std::string filename;
};

/// Puts `size` bytes of `data`, decoded by `loader`, into the OpenAL buffer `buffer` and checks
/// that OpenAL took them (a wild sample rate is refused there). Throws "Could not upload sound
/// \"<sampleName>\" to OpenAL: <AL error>." when it did not.
void uploadBuffer(ALuint buffer, const FileLoader& loader, const char* data, ALsizei size,
                  const std::string& sampleName);

/// A loader for the file by its extension: ".ogg" (case-sensitive) gives an OggFileLoader.
/// Throws "Unknown file type - \"<filename>\"" for anything else, or the loader's message.
FileLoader* getFileLoader(const std::string& filename);

}  // namespace audio
}  // namespace lumo
