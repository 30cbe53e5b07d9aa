// What comes out of the speakers: tones played from a buffer and from a stream, measured in the
// WAV file that OpenAL Soft's wave backend writes.

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "audio/resources/sample.hpp"
#include "audio/sources/sound.hpp"
#include "audio/sources/source_pool.hpp"
#include "audio/sources/streamed_sound.hpp"
#include "audio_test_support.hpp"

using namespace lumo::audio;
using namespace audiotest;

namespace {
class Playback : public AudioDeviceTest {
  protected:
    StreamedSample stream(const std::string& name, double hz, double seconds, long bufferSize,
                          int rate = 44100, int channels = 1) {
        StreamedSample s;
        s.name = name;
        s.filename = writeTone(tmp.path(name + ".ogg"), hz, seconds, rate, channels);
        s.bufferSize = bufferSize;
        return s;
    }
    void sleep(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
};
}  // namespace

TEST_F(Playback, CachedAndStreamedTonesComeOutAtTheirPitchAndLength) {
    CachedSample beep;
    beep.name = "beep";
    beep.filename = writeTone(tmp.path("beep.ogg"), 440, 0.5);
    beep.load();
    ASSERT_NE(beep.bufferName, 0u);
    EXPECT_EQ(beep.size, 44100);
    // Stereo at half the device rate, in buffers of about 46 ms: many refills.
    StreamedSample tune = stream("tune", 660, 0.6, 8192, 22050, 2);
    RecordingHandler handler;
    {
        SourcePool pool(2);
        pool.play(&beep, nullptr, &handler);
        ASSERT_TRUE(
            performUntil([&] { pool.perform(10); }, [&] { return pool.getSounds().empty(); }, 3));
        sleep(200);
        Sound* sound = pool.play(&tune, nullptr, &handler);
        Source* source = sound->source;
        ASSERT_NE(source, nullptr);
        ASSERT_TRUE(
            performUntil([&] { pool.perform(10); }, [&] { return pool.getSounds().empty(); }, 3));
        EXPECT_EQ(source->sound, nullptr) << "the ended stream let go of its source";
        EXPECT_EQ(source->state, ssStopped);
        EXPECT_EQ(handler.names('d'), (std::vector<std::string>{"beep", "tune"}));
        EXPECT_GT(handler.updates(), 10);
        beep.release();
    }
    Wave out = finishOutput();
    ASSERT_EQ(out.rate, 44100);
    std::vector<Segment> loud = loudSegments(out);
    ASSERT_EQ(loud.size(), 2u);
    EXPECT_NEAR(loud[0].length(), 0.5, 0.04);
    EXPECT_NEAR(frequency(out, loud[0].start + 0.05, loud[0].end - 0.05), 440, 440 * 0.02);
    EXPECT_NEAR(loud[1].length(), 0.6, 0.05) << "an underrun would have split the tone";
    EXPECT_NEAR(frequency(out, loud[1].start + 0.05, loud[1].end - 0.05), 660, 660 * 0.02);
}

TEST_F(Playback, ALoopingStreamKeepsGoingUntilStopped) {
    StreamedSample loop = stream("loop", 550, 0.25, 8192);
    SoundProperties looping = loop.properties;
    looping.loop = true;
    RecordingHandler handler;
    {
        SourcePool pool(1);
        Sound* sound = pool.play(&loop, &looping, &handler);
        auto started = std::chrono::steady_clock::now();
        EXPECT_FALSE(
            performUntil([&] { pool.perform(10); }, [&] { return pool.getSounds().empty(); }, 1.2));
        EXPECT_FALSE(static_cast<StreamedSound*>(sound)->fileComplete);
        sound->stop();
        double played =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        pool.perform(10);
        EXPECT_TRUE(pool.getSounds().empty());
        EXPECT_EQ(handler.names('d'), std::vector<std::string>{"loop"});

        Wave out = finishOutput();
        std::vector<Segment> loud = loudSegments(out);
        ASSERT_EQ(loud.size(), 1u) << "the loop wraps without a gap";
        EXPECT_NEAR(loud[0].length(), played, 0.1);
        EXPECT_NEAR(frequency(out, loud[0].start + 0.05, loud[0].end - 0.05), 550, 550 * 0.02);
    }
}

TEST_F(Playback, AStarvedStreamRestartsAndStillPlaysToTheEnd) {
    // Buffers of 46 ms and a main loop that stalls for 300 ms: the source runs dry.
    StreamedSample tune = stream("tune", 440, 0.6, 4096);
    RecordingHandler handler;
    {
        SourcePool pool(1);
        pool.play(&tune, nullptr, &handler);
        for (int i = 0; i < 10; ++i) {
            pool.perform(10);
            sleep(10);
        }
        sleep(300);
        ASSERT_TRUE(
            performUntil([&] { pool.perform(10); }, [&] { return pool.getSounds().empty(); }, 3));
    }
    Wave out = finishOutput();
    std::vector<Segment> loud = loudSegments(out);
    ASSERT_EQ(loud.size(), 2u) << "tone, stall, rest of the tone";
    EXPECT_NEAR(loud[0].length() + loud[1].length(), 0.6, 0.06);
    EXPECT_GT(loud[1].start - loud[0].end, 0.15);
}

TEST_F(Playback, BrokenStreamsEndOrThrowWithoutTakingTheirSource) {
    RecordingHandler handler;
    SourcePool pool(1);

    StreamedSample missing;
    missing.name = "missing";
    missing.filename = tmp.path("missing.ogg");
    try {
        pool.play(&missing, nullptr, &handler);
        ADD_FAILURE() << "no throw";
    } catch (const std::string& e) {
        EXPECT_EQ(e, "Error loading file \"" + missing.filename + "\": Could not open file \"" +
                         missing.filename + "\".");
    }
    EXPECT_TRUE(pool.getSounds().empty());
    EXPECT_EQ(handler.names('i'), handler.names('d'));
    EXPECT_TRUE(pool.getSources()[0]->isFree());

    // Damaged data in the middle: what decodes plays, the error is logged, the sound ends.
    std::string good = readFile(writeNoise(tmp.path("noise.ogg"), 2.0));
    std::vector<std::size_t> pages = oggPages(good);
    ASSERT_GE(pages.size(), 6u);
    for (std::size_t i = pages[3] + 60; i < pages[3] + 124; ++i)
        good[i] ^= 0x5a;
    StreamedSample damaged;
    damaged.name = "damaged";
    damaged.filename = tmp.path("damaged.ogg");
    writeFile(damaged.filename, good);
    damaged.bufferSize = 16384;
    pool.play(&damaged, nullptr, &handler);
    auto started = std::chrono::steady_clock::now();
    ASSERT_TRUE(
        performUntil([&] { pool.perform(10); }, [&] { return pool.getSounds().empty(); }, 3));
    EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count(),
              1.9);
    EXPECT_EQ(handler.names('d'), (std::vector<std::string>{"missing", "damaged"}));
}
