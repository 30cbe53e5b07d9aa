// Decoding Ogg Vorbis files: formats and sizes, chunked and looping reads, and bad input.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <memory>
#include <thread>

#include "audio/loaders/ogg_file_loader.hpp"
#include "audio_test_support.hpp"

using namespace lumo::audio;
using audiotest::TempDir;
using audiotest::thrown;

TEST(OggFileLoader, FormatSizeAndFrequencyComeFromTheStream) {
    TempDir tmp;
    std::unique_ptr<FileLoader> stereo(
        getFileLoader(audiotest::writeTone(tmp.path("s.ogg"), 440, 1.0, 44100, 2)));
    EXPECT_EQ(stereo->getFormat(), AL_FORMAT_STEREO16);
    EXPECT_EQ(stereo->getFrequency(), 44100);
    EXPECT_EQ(stereo->getSize(), 176400);

    std::unique_ptr<FileLoader> mono(
        getFileLoader(audiotest::writeTone(tmp.path("m.ogg"), 440, 0.5, 22050, 1)));
    EXPECT_EQ(mono->getFormat(), AL_FORMAT_MONO16);
    EXPECT_EQ(mono->getFrequency(), 22050);
    EXPECT_EQ(mono->getSize(), 22050);

    // The whole file at once gives back the very samples that were encoded (lossy, so close).
    ALsizei n = mono->getSize();
    const int16_t* pcm = reinterpret_cast<const int16_t*>(mono->read(&n, false));
    ASSERT_EQ(n, 22050);
    double peak = 0;
    for (int i = 0; i < n / 2; ++i)
        peak = std::max(peak, std::abs(pcm[i] / 32768.0));
    EXPECT_NEAR(peak, 0.5, 0.05);
}

TEST(OggFileLoader, ChunkedReadsDeliverTheFileOnceOrLoopForever) {
    TempDir tmp;
    std::string file = audiotest::writeTone(tmp.path("t.ogg"), 300, 0.3, 44100, 2);
    std::unique_ptr<FileLoader> loader(getFileLoader(file));
    const ALsizei total = loader->getSize();

    long sum = 0;
    for (;;) {
        // An odd request is cut to whole sample frames instead of failing in the decoder.
        ALsizei n = 10001;
        loader->read(&n, false);
        EXPECT_EQ(n % 4, 0);
        if (n == 0)
            break;
        sum += n;
    }
    EXPECT_EQ(sum, total);
    ALsizei again = 4096;
    loader->read(&again, false);
    EXPECT_EQ(again, 0) << "the end stays the end without looping";

    // Looping wraps at the end of the file, even several times within one request.
    std::unique_ptr<FileLoader> looping(getFileLoader(file));
    for (int i = 0; i < 4; ++i) {
        ALsizei n = total / 3 + 2;
        looping->read(&n, true);
        EXPECT_EQ(n, total / 3) << "read " << i;
    }
    ALsizei big = 3 * total;
    looping->read(&big, true);
    EXPECT_EQ(big, 3 * total);
}

TEST(OggFileLoader, LoopingAStreamThatCannotRewindEnds) {
    TempDir tmp;
    // An empty stream: every rewind succeeds and still yields nothing.
    std::string empty =
        audiotest::writeOgg(tmp.path("empty.ogg"), 44100, 1, 0, [](long, int) { return 0.0f; });
    std::unique_ptr<FileLoader> loader(getFileLoader(empty));
    ALsizei n = 4096;
    loader->read(&n, true);
    EXPECT_EQ(n, 0);

    // A pipe cannot seek: the loop delivers what was decoded, then nothing.
    std::string bytes = audiotest::readFile(audiotest::writeTone(tmp.path("t.ogg"), 400, 0.2));
    std::string fifo = tmp.path("pipe.ogg");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    std::thread writer([&] { audiotest::writeFile(fifo, bytes); });
    {
        std::unique_ptr<FileLoader> piped(getFileLoader(fifo));
        ALsizei got = 44100 * 2;
        piped->read(&got, true);
        EXPECT_EQ(got, 17640) << "0.2 s of mono samples, once";
        ALsizei more = 4096;
        piped->read(&more, true);
        EXPECT_EQ(more, 0);
    }
    writer.join();
}

TEST(OggFileLoader, BadInputThrowsTheMessages) {
    TempDir tmp;
    std::string missing = tmp.path("missing.ogg");
    EXPECT_EQ(thrown([&] { delete getFileLoader(missing); }),
              "Could not open file \"" + missing + "\".");

    EXPECT_EQ(thrown([] { delete getFileLoader("music.OGG"); }),
              "Unknown file type - \"music.OGG\"");
    EXPECT_EQ(thrown([] { delete getFileLoader("ogg"); }), "Unknown file type - \"ogg\"");

    std::string text = tmp.path("text.ogg");
    audiotest::writeFile(text, std::string(5000, 'x'));
    EXPECT_EQ(thrown([&] { delete getFileLoader(text); }),
              "Could not read Ogg stream:The given file/data was not recognized as Ogg Vorbis "
              "data.");

    std::string nothing = tmp.path("nothing.ogg");
    audiotest::writeFile(nothing, "");
    EXPECT_EQ(thrown([&] { delete getFileLoader(nothing); }).rfind("Could not read Ogg stream:", 0),
              0u);

    std::string good = audiotest::readFile(audiotest::writeNoise(tmp.path("g.ogg"), 2.0));
    std::vector<std::size_t> pages = audiotest::oggPages(good);
    ASSERT_GE(pages.size(), 6u) << "headers plus several pages of audio";
    std::string header = tmp.path("header.ogg");
    audiotest::writeFile(header, good.substr(0, 200));
    EXPECT_EQ(thrown([&] { delete getFileLoader(header); }).rfind("Could not read Ogg stream:", 0),
              0u);

    // Cut in the middle of the audio: what is there decodes, then the stream simply ends.
    std::string cut = tmp.path("cut.ogg");
    audiotest::writeFile(cut, good.substr(0, pages[pages.size() / 2] + 100));
    std::unique_ptr<FileLoader> loader(getFileLoader(cut));
    ALsizei n = 176400 * 2;
    loader->read(&n, false);
    EXPECT_GT(n, 0);
    EXPECT_LT(n, 176400);
    EXPECT_EQ(n, loader->getSize());

    // A damaged page in the middle: the decoder reports the hole, and later reads stay empty.
    std::string damaged = good;
    for (std::size_t i = pages[3] + 60; i < pages[3] + 124; ++i)
        damaged[i] ^= 0x5a;
    std::string bad = tmp.path("bad.ogg");
    audiotest::writeFile(bad, damaged);
    std::unique_ptr<FileLoader> broken(getFileLoader(bad));
    std::string message = thrown([&] {
        ALsizei all = broken->getSize();
        broken->read(&all, false);
    });
    EXPECT_EQ(message,
              "Could not decode Ogg stream: Vorbisfile encoutered missing or corrupt data in the "
              "bitstream.");
    ALsizei after = 4096;
    broken->read(&after, true);
    EXPECT_EQ(after, 0);
}

TEST(OggFileLoader, ErrorTexts) {
    EXPECT_EQ(getOggErrorString(-1), "Not true, or no data available.");
    EXPECT_EQ(getOggErrorString(-138), "The given stream is not seekable.");
    EXPECT_EQ(getOggErrorString(-137),
              "The given link exists in the Vorbis data stream, but is not decipherable due to "
              "garbacge or corruption.");
    EXPECT_EQ(getOggErrorString(-2), "(Unknown Ogg error)");
    EXPECT_EQ(getOggErrorString(-135), "(Unknown Ogg error)");
}
