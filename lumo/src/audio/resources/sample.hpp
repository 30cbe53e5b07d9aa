#pragma once
// Samples: named sound files with default playing properties, held in a SampleBank. A cached
// sample is decoded once into one OpenAL buffer (short effects); a streamed sample is decoded
// while it plays (music). Samples are read and loaded on the main thread; the music thread only
// reads their fields while they play.

#include <string>

#include <AL/al.h>

#include "audio/core/sound_properties.hpp"
#include "resources/named_resource.hpp"

namespace lumo {
namespace xml {
class Node;
}

namespace audio {

class SampleBank;

class Sample : public NamedResource<SampleBank, std::string> {
  public:
    Sample() = default;
    ~Sample() override;

    /// Reads name, filename (path + attribute), volume, pitch, rolloff, loop and priority; absent
    /// attributes keep their values. Throws "No filename specified for sound \"<name>\"." when
    /// `filename` is missing.
    virtual void getFromNode(const xml::Node* node, const std::string& path);
    virtual void reload() {}
    virtual void refresh() {}
    virtual void release() {}

    std::string filename;
    int priority = 0;
    SoundProperties properties;
};

class CachedSample : public Sample {
  public:
    CachedSample() = default;
    /// Frees the buffer.
    ~CachedSample() override;

    /// Decodes the file into a new buffer (replacing one it holds); nothing happens while audio
    /// is off. Throws
    /// "Could not create OpenAL buffer for ..." or "Error loading file \"<file>\": <message>"
    /// (the sample then holds no buffer).
    void load();
    /// release(), then load().
    void reload() override;
    /// Loads only when no buffer exists.
    void refresh() override;
    void release() override;

    ALuint bufferName = 0;
    ALenum format = 0;
    ALsizei size = 0;
    ALsizei frequency = 0;
};

class StreamedSample : public Sample {
  public:
    /// Also reads `bufferSize` (bytes per streaming buffer); a value too small to hold one
    /// sample frame is logged and ignored.
    void getFromNode(const xml::Node* node, const std::string& path) override;

    long bufferSize = 65536;
};

}  // namespace audio
}  // namespace lumo

// Creating or destroying a sample needs the complete bank (the sample unlinks itself from it).
#include "audio/resources/sample_bank.hpp"
