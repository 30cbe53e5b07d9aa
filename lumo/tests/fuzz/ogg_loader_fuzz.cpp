// libFuzzer target for Ogg Vorbis data through the sound file loader: the input is a ".ogg"
// file opened by getFileLoader, then decoded the two ways the framework reads sounds: whole, as
// a cached sample loads it (the size the header claims), and in stream-sized pieces with
// looping, as a streamed sound does. Guarantees: only mono or stereo 16-bit data is offered, a
// read delivers whole sample frames and never more than was asked for.
// Ogg pages carry a checksum, so nearly every mutation would only reach the page reader; the
// custom mutator below recomputes the checksums of the pages it finds after most mutations, so
// that damaged packets get to the Vorbis decoder and on into the loader.

#include <AL/al.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "audio/loaders/file_loader.hpp"
#include "fuzz/fuzz_support.hpp"

namespace {

using lumo::audio::FileLoader;

void checkRead(const FileLoader& loader, ALsizei wanted, ALsizei got) {
    const ALsizei frame = loader.getFormat() == AL_FORMAT_MONO16 ? 2 : 4;
    if (got < 0 || got > wanted || got % frame != 0)
        lumo::fuzzing::violated("asked for " + std::to_string(wanted) + " bytes, got " +
                                std::to_string(got));
}

// The Ogg page checksum: CRC-32 with the polynomial 0x04c11db7, not reflected, initial 0,
// computed over the page with its checksum field zeroed.
std::uint32_t oggChecksum(const std::uint8_t* data, std::size_t size) {
    static const auto table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t r = i << 24;
            for (int b = 0; b < 8; ++b)
                r = (r & 0x80000000u) ? (r << 1) ^ 0x04c11db7u : r << 1;
            t[i] = r;
        }
        return t;
    }();
    std::uint32_t crc = 0;
    for (std::size_t i = 0; i < size; ++i)
        crc = (crc << 8) ^ table[((crc >> 24) & 0xff) ^ data[i]];
    return crc;
}

// Gives every whole page ("OggS", 27 header bytes, the segment table, the body) its checksum.
void fixPageChecksums(std::uint8_t* data, std::size_t size) {
    static const std::uint8_t capture[] = {'O', 'g', 'g', 'S'};
    std::size_t p = 0;
    while (p + 27 <= size) {
        if (std::memcmp(data + p, capture, 4) != 0) {
            ++p;
            continue;
        }
        const std::size_t header = 27 + data[p + 26];
        if (p + header > size)
            return;
        std::size_t body = 0;
        for (std::size_t i = p + 27; i < p + header; ++i)
            body += data[i];
        if (p + header + body > size)
            return;
        std::memset(data + p + 22, 0, 4);
        const std::uint32_t crc = oggChecksum(data + p, header + body);
        for (int i = 0; i < 4; ++i)
            data[p + 22 + i] = static_cast<std::uint8_t>(crc >> (8 * i));
        p += header + body;
    }
}

}  // namespace

extern "C" std::size_t LLVMFuzzerMutate(std::uint8_t* data, std::size_t size, std::size_t maxSize);

extern "C" std::size_t LLVMFuzzerCustomMutator(std::uint8_t* data, std::size_t size,
                                               std::size_t maxSize, unsigned int seed) {
    size = LLVMFuzzerMutate(data, size, maxSize);
    // Now and then the checksums stay as the mutation left them: damaged pages must be
    // survived too.
    if (seed % 8 != 0)
        fixPageChecksums(data, size);
    return size;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string file = lumo::fuzzing::writeInput("sound.ogg", data, size);
    try {
        std::unique_ptr<FileLoader> loader(lumo::audio::getFileLoader(file));
        if (loader->getFormat() != AL_FORMAT_MONO16 && loader->getFormat() != AL_FORMAT_STEREO16)
            lumo::fuzzing::violated("format " + std::to_string(loader->getFormat()));
        if (loader->getSize() < 0)
            lumo::fuzzing::violated("a negative size");

        ALsizei whole = loader->getSize();
        loader->read(&whole, false);
        checkRead(*loader, loader->getSize(), whole);

        // A stream's pieces, looping: enough of them to wrap around a short sound a few times.
        loader->rewind();
        const ALsizei piece = 4096;
        for (int i = 0; i < 64; ++i) {
            ALsizei got = piece;
            loader->read(&got, true);
            checkRead(*loader, piece, got);
            if (got == 0)
                break;
        }
    } catch (const std::string&) {
        // Not Ogg Vorbis, damaged, or too many channels: refused with a message.
    }
    return 0;
}
