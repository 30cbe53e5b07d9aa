#pragma once
// Decodes Ogg Vorbis files through libvorbisfile.

#include <string>

#include <vorbis/vorbisfile.h>

#include "audio/loaders/file_loader.hpp"

namespace lumo {
namespace audio {

class OggFileLoader : public FileLoader {
  public:
    /// Opens the file and its Ogg Vorbis stream. Throws "Could not open file ..." or
    /// "Could not read Ogg stream:<error text>".
    OggFileLoader(FILE* unused, const std::string& filename);
    /// Clears the decoder, which closes the file.
    ~OggFileLoader() override;

    /// Throws "Could not decode Ogg stream: <error text>" on corrupt data; the decoder is then
    /// closed and later reads deliver nothing.
    char* read(ALsizei* size, bool loop) override;
    /// Seeks to time 0; logs the outcome.
    bool rewind() override;

    OggVorbis_File oggStream;
    vorbis_info* vorbisInfo = nullptr;

  private:
    void closeDecoder();
    bool decoderOpen = false;
};

/// The text of a libvorbisfile error code.
std::string getOggErrorString(int code);

}  // namespace audio
}  // namespace lumo
