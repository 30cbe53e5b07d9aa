#include "audio/loaders/ogg_file_loader.hpp"

#include <algorithm>
#include <climits>
#include <string>

#include "debug/log.hpp"

namespace lumo {
namespace audio {

OggFileLoader::OggFileLoader(FILE* unused, const std::string& filename_)
    : FileLoader(unused, filename_) {
    // On failure libvorbisfile leaves the file open; the base destructor closes it.
    int result = ov_open_callbacks(file, &oggStream, nullptr, 0, OV_CALLBACKS_DEFAULT);
    if (result < 0)
        throw "Could not read Ogg stream:" + getOggErrorString(result);
    decoderOpen = true;
    vorbisInfo = ov_info(&oggStream, -1);
    // OpenAL's formats here are mono and stereo; more channels would play interleaved as
    // stereo: scrambled, and too long.
    const int channels = vorbisInfo->channels;
    if (channels < 1 || channels > 2) {
        closeDecoder();
        throw "\"" + filename + "\" has " + std::to_string(channels) +
            " channels; only mono and stereo sound can be played.";
    }
    format = channels == 1 ? AL_FORMAT_MONO16 : AL_FORMAT_STEREO16;
    frequency = static_cast<ALsizei>(vorbisInfo->rate);
    // Unseekable streams have no known length; absurd lengths are cut to what ALsizei holds,
    // before they are multiplied (a damaged header can claim nearly 2^63 samples).
    const long long frame = 2LL * vorbisInfo->channels;
    const long long total = ov_pcm_total(&oggStream, -1);
    size = static_cast<ALsizei>(total > 0 ? frame * std::min(total, INT_MAX / frame) : 0);
}

OggFileLoader::~OggFileLoader() {
    closeDecoder();
}

void OggFileLoader::closeDecoder() {
    if (decoderOpen) {
        ov_clear(&oggStream);
        decoderOpen = false;
        vorbisInfo = nullptr;
    }
    file = nullptr;  // closed by ov_clear
}

char* OggFileLoader::read(ALsizei* sizeOut, bool loop) {
    ALsizei wanted = sizeOut ? *sizeOut : size;
    if (wanted < 0)
        wanted = 0;
    char* out = prepareBuffer(wanted);

    long done = 0;
    if (decoderOpen) {
        // libvorbisfile delivers whole sample frames only.
        const long frame = 2L * vorbisInfo->channels;
        const long limit = wanted - wanted % frame;
        bool justRewound = false;
        while (done < limit) {
            int section = 0;
            long got =
                ov_read(&oggStream, out + done, static_cast<int>(limit - done), 0, 2, 1, &section);
            if (got < 0) {
                closeDecoder();
                throw "Could not decode Ogg stream: " + getOggErrorString(static_cast<int>(got));
            }
            if (got == 0) {
                // An empty stream would rewind forever; an unseekable one cannot loop at all.
                if (!loop || justRewound || !rewind())
                    break;
                justRewound = true;
                continue;
            }
            done += got;
            justRewound = false;
        }
    }
    if (sizeOut)
        *sizeOut = static_cast<ALsizei>(done);
    return out;
}

bool OggFileLoader::rewind() {
    int result = decoderOpen ? ov_time_seek(&oggStream, 0.0) : OV_EINVAL;
    if (result == 0) {
        debug::info(dbgAudio, "Ogg stream rewinded.");
        return true;
    }
    debug::error(dbgAudio, "Could not rewind ogg stream: %s", getOggErrorString(result).c_str());
    return false;
}

std::string getOggErrorString(int code) {
    switch (code) {
        case OV_FALSE:
            return "Not true, or no data available.";
        case OV_HOLE:
            return "Vorbisfile encoutered missing or corrupt data in the bitstream.";
        case OV_EREAD:
            return "Read error while fetching compressed data for decode.";
        case OV_EFAULT:
            return "Internal inconsistency in decode state.";
        case OV_EIMPL:
            return "Feature not implemented.";
        case OV_EINVAL:
            return "Either an invalid argument, or incompletely initialized argument passed to "
                   "libvorbisfile call.";
        case OV_ENOTVORBIS:
            return "The given file/data was not recognized as Ogg Vorbis data.";
        case OV_EBADHEADER:
            return "The file/data is apparently an Ogg Vorbis stream, but contains a corrupted "
                   "or undecipherable header.";
        case OV_EVERSION:
            return "The bitstream format revision of the given stream is not supported.";
        case OV_EBADLINK:
            return "The given link exists in the Vorbis data stream, but is not decipherable "
                   "due to garbacge or corruption.";
        case OV_ENOSEEK:
            return "The given stream is not seekable.";
        default:
            return "(Unknown Ogg error)";
    }
}

}  // namespace audio
}  // namespace lumo
