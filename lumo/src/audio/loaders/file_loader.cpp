#include "audio/loaders/file_loader.hpp"

#include <new>

#include "audio/core/audio.hpp"
#include "audio/loaders/ogg_file_loader.hpp"

namespace lumo {
namespace audio {

FileLoader::FileLoader(FILE*, const std::string& filename_) : filename(filename_) {
    file = std::fopen(filename.c_str(), "rb");
    if (!file)
        throw "Could not open file \"" + filename + "\".";
}

FileLoader::~FileLoader() {
    freeBuffer();
    if (file)
        std::fclose(file);
}

void FileLoader::freeBuffer() {
    delete[] buffer;
    buffer = nullptr;
    bufferSize = 0;
}

char* FileLoader::prepareBuffer(ALsizei wanted) {
    if (wanted != bufferSize)
        freeBuffer();
    if (!buffer) {
        // A damaged header can claim any length; running out of memory is a bad file, not a
        // reason to end the program.
        buffer = new (std::nothrow) char[wanted > 0 ? wanted : 1];
        if (!buffer)
            throw "Out of memory decoding \"" + filename + "\".";
        bufferSize = wanted;
    }
    return buffer;
}

FileLoader* getFileLoader(const std::string& filename) {
    const std::string ext = ".ogg";
    if (filename.size() >= ext.size() &&
        filename.compare(filename.size() - ext.size(), ext.size(), ext) == 0)
        return new OggFileLoader(nullptr, filename);
    throw "Unknown file type - \"" + filename + "\"";
}

void uploadBuffer(ALuint buffer, const FileLoader& loader, const char* data, ALsizei size,
                  const std::string& sampleName) {
    alGetError();
    alBufferData(buffer, loader.getFormat(), data, size, loader.getFrequency());
    if (ALenum error = alGetError())
        throw "Could not upload sound \"" + sampleName +
            "\" to OpenAL: " + getALErrorString(error) + ".";
}

}  // namespace audio
}  // namespace lumo
