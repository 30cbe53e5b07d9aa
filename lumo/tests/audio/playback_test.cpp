// What comes out of the speakers, measured in the WAV file of OpenAL Soft's wave backend; how a
// pool shares its sources; and running silent without a device.

#include <cstdio>

#include "audio/music/music_manager.hpp"
#include "audio/sources/source_pool.hpp"
#include "audio_test_support.hpp"

using namespace lumo::audio;
using namespace audiotest;

namespace {
class Playback : public AudioDeviceTest {
  protected:
    void SetUp() override {
        AudioDeviceTest::SetUp();
        tone.name = "tone";
        tone.filename = writeTone(tmp.file("tone.ogg"), 440, 1.0);
        tone.load();
    }
    void TearDown() override {
        tone.release();
        AudioDeviceTest::TearDown();
    }
    /// Performs the pool every 10 ms until its sounds are gone.
    static bool drain(SourcePool& pool, double seconds) {
        return waitFor(
            [&] {
                pool.perform(10);
                return pool.getSounds().empty();
            },
            seconds);
    }
    /// A property of the sound's OpenAL source: its gain, or a position's coordinates.
    static std::vector<float> get(const Sound* s, ALenum what) {
        std::vector<float> v(what == AL_POSITION ? 3 : 1);
        alGetSourcefv(s->source->sourceName, what, v.data());
        return v;
    }
    static float gain(const Sound* s) { return get(s, AL_GAIN)[0]; }

    CachedSample tone;
    RecordingHandler handler;
};
}  // namespace

TEST_F(Playback, TonesComeOutAtTheirPitchAndLengthAndALoopKeepsGoing) {
    EXPECT_EQ(tone.size, 88200);
    // Stereo at half the device rate, in buffers of about 46 ms: many refills.
    StreamedSample tune, loop;
    makeStream(tune, tmp, "tune", 660, 0.6, 8192, 22050, 2);
    makeStream(loop, tmp, "loop", 550, 0.25, 8192);
    SoundProperties faster = tone.properties, looping = loop.properties;
    faster.pitch = 2.0f;  // 880 Hz for 0.5 s
    looping.loop = true;
    SourcePool pool(2);
    pool.play(&tone, &faster, &handler);
    ASSERT_TRUE(drain(pool, 3));
    sleepMs(200);
    Source* source = pool.play(&tune, nullptr, &handler)->source;
    ASSERT_TRUE(drain(pool, 3));
    EXPECT_EQ(source->sound, nullptr) << "the ended stream let go of its source";
    EXPECT_EQ(source->state, ssStopped);
    sleepMs(200);
    Sound* sound = pool.play(&loop, &looping, &handler);
    auto started = Clock::now();
    EXPECT_FALSE(drain(pool, 1.2)) << "a looping stream does not end by itself";
    sound->stop();
    const double played = since(started);
    pool.perform(10);
    EXPECT_EQ(handler.events(), (Names{"+tone", "-tone", "+tune", "-tune", "+loop", "-loop"}));
    EXPECT_GT(handler.updates, 10);

    Wave out = finishOutput();
    std::vector<Segment> loud = loudSegments(out);
    ASSERT_EQ(loud.size(), 3u) << "an underrun or a gap in the loop would split a tone";
    const double expected[][3] = {{0.5, 880, 0.04}, {0.6, 660, 0.05}, {played, 550, 0.1}};
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(loud[i].length(), expected[i][0], expected[i][2]) << i;
        EXPECT_NEAR(frequency(out, loud[i]), expected[i][1], expected[i][1] * 0.02) << i;
    }
}

TEST_F(Playback, AStarvedStreamRestartsAndBrokenStreamsEnd) {
    // Buffers of 46 ms and a main loop that stalls for 300 ms: the source runs dry. Without a
    // restart the sound would end at the stall.
    StreamedSample tune;
    makeStream(tune, tmp, "tune", 440, 0.6, 4096);
    SourcePool pool(1);
    auto started = Clock::now();
    pool.play(&tune, nullptr, &handler);
    for (int i = 0; i < 10; ++i, sleepMs(10))
        pool.perform(10);
    sleepMs(300);
    ASSERT_TRUE(drain(pool, 3));
    EXPECT_GT(since(started), 0.7) << "0.6 s of tone and the gap of the stall";

    StreamedSample missing;
    missing.name = "missing";
    missing.filename = tmp.file("missing.ogg");
    EXPECT_EQ(thrown([&] { pool.play(&missing, nullptr, &handler); }),
              "Error loading file \"" + missing.filename + "\": Could not open file \"" +
                  missing.filename + "\".");
    EXPECT_TRUE(pool.getSounds().empty());
    EXPECT_EQ(handler.events(), (Names{"+tune", "-tune", "+missing", "-missing"}));

    // Damaged data in the middle of 2 s: what decodes plays, the error is logged, the sound ends.
    StreamedSample damaged;
    damaged.name = "damaged";
    damaged.filename = writeDamaged(tmp);
    damaged.bufferSize = 16384;
    pool.play(&damaged, nullptr, &handler);
    started = Clock::now();
    ASSERT_TRUE(drain(pool, 3));
    EXPECT_LT(since(started), 1.9);
    EXPECT_EQ(handler.events().size(), 6u);
}

TEST_F(Playback, TheSixthSoundOfEqualPriorityTakesTheOldestSource) {
    SourcePool pool(5);
    std::vector<Sound*> first;
    for (unsigned long i = 1; i <= 5; ++i) {
        first.push_back(pool.play(&tone, nullptr, &handler, 5));
        ASSERT_NE(first.back()->source, nullptr);
        EXPECT_EQ(first.back()->source->stamp, i);
        EXPECT_EQ(first.back()->source->state, ssPlaying);
    }
    Source* oldest = first[0]->source;
    Sound* sixth = pool.play(&tone, nullptr, &handler, 5);
    EXPECT_EQ(sixth->source, oldest);
    EXPECT_EQ(oldest->sound, sixth);
    EXPECT_EQ(oldest->stamp, 6u);
    EXPECT_EQ(handler.doneCount(first[0]), 1);

    // A lower priority gets nothing: its sound never plays and is gone after the next perform.
    Sound* low = pool.play(&tone, nullptr, &handler, 3);
    EXPECT_EQ(low->source, nullptr);
    pool.perform(0);
    EXPECT_EQ(handler.doneCount(low), 1);
    EXPECT_EQ(pool.getSounds().size(), 5u);

    // A higher priority takes the oldest of the lowest; a later equal one cannot take it back.
    Sound* high = pool.play(&tone, nullptr, &handler, 7);
    EXPECT_EQ(handler.doneCount(first[1]), 1);
    Sound* again = pool.play(&tone, nullptr, &handler, 5);
    EXPECT_EQ(handler.doneCount(first[2]), 1);
    EXPECT_EQ(handler.doneCount(high) + handler.doneCount(again), 0);
    tone.priority = 4;
    EXPECT_EQ(pool.play(&tone, nullptr, &handler)->source, nullptr) << "the sample's priority";
    pool.stopAll();
    EXPECT_TRUE(pool.getSounds().empty());
    EXPECT_EQ(handler.events().size(), 20u) << "each of the 10 sounds ended once";
}

TEST_F(Playback, VolumesAndPlacement) {
    SourcePool pool(3);
    SoundProperties quiet = tone.properties;
    quiet.volume = 0.8f;
    quiet.rolloff = 2.5f;
    Sound* a = pool.play(&tone, &quiet);
    pool.setVolume(0.5f);
    Sound* b = pool.play(&tone, &quiet);
    EXPECT_FLOAT_EQ(gain(a), 0.8f) << "only later sounds";
    EXPECT_FLOAT_EQ(gain(b), 0.4f);
    EXPECT_FLOAT_EQ(get(b, AL_ROLLOFF_FACTOR)[0], 2.5f) << "a cached sound's own rolloff";
    pool.setPlayingVolumes(0.25f);
    EXPECT_FLOAT_EQ(gain(a), 0.2f);
    EXPECT_FLOAT_EQ(gain(b), 0.2f);
    a->setVolume(1.0f);
    EXPECT_FLOAT_EQ(gain(a), 0.25f);

    // Successive cached sounds sit on opposite sides; streamed ones where their properties say.
    const float side = get(a, AL_POSITION)[0];
    EXPECT_EQ(std::abs(side), 1.0f);
    EXPECT_EQ(get(a, AL_POSITION), std::vector<float>({side, 1, 1}));
    EXPECT_EQ(get(b, AL_POSITION), std::vector<float>({-side, 1, 1}));
    StreamedSample music;
    music.name = "music";
    music.filename = tone.filename;
    SoundProperties right = music.properties;
    right.setStereoPosition(0.5f);
    right.rolloff = 3.0f;
    Sound* streamed = pool.play(&music, &right);
    EXPECT_EQ(get(streamed, AL_POSITION), std::vector<float>({0.5f, 0, 0.5f}));
    EXPECT_FLOAT_EQ(get(streamed, AL_ROLLOFF_FACTOR)[0], 1.0f) << "streams always roll off by 1";
}

TEST(SoundProperties, StereoPositionsOnBothSidesAndBeyond) {
    const std::pair<float, std::vector<float>> cases[] = {
        {-3, {-1, 7, 0}}, {-0.25f, {-0.25f, 7, -0.75f}}, {0, {0, 7, 1}}, {0.75f, {0.75f, 7, 0.25f}},
        {2, {1, 7, 0}},
    };
    for (const auto& c : cases) {
        SoundProperties p;
        p.position = {9, 7, 9};
        p.setStereoPosition(c.first);
        EXPECT_EQ(std::vector<float>({p.position.x, p.position.y, p.position.z}), c.second)
            << c.first;
    }
}

namespace {
// Everything an application does with sound, on a machine without sound: silent, not broken.
void runWithoutADevice() {
    TempDir tmp;
    // The wave backend without a file cannot open, like a machine without sound.
    setenv("ALSOFT_CONF", tmp.write("alsoft.conf", "[general]\ndrivers = wave\n").c_str(), 1);
    unsetenv("ALSOFT_DRIVERS");
    std::fprintf(stderr, "named device: %s\n", thrown([] { init("no such", 44100); }).c_str());
    init("", 44100);
    EXPECT_TRUE(context && !device && !alActive());
    CachedSample effect;
    effect.filename = tmp.file("never-read.ogg");
    effect.load();
    EXPECT_EQ(effect.bufferName, 0u) << "nothing to load into";

    StreamedSample music;
    makeStream(music, tmp, "music", 300, 0.3);
    RecordingHandler handler;
    {
        SourcePool pool(2);
        SoundProperties looping = music.properties;
        looping.loop = true;
        Sound* once = pool.play(&music, nullptr, &handler, 1);
        Sound* loop = pool.play(&music, &looping, &handler, 1);
        EXPECT_EQ(pool.play(&music, nullptr, &handler, 0)->source, nullptr) << "priorities hold";
        pool.perform(10);
        EXPECT_EQ(handler.doneCount(once), 1) << "a sound without a device ends at once";
        EXPECT_EQ(handler.doneCount(loop), 0) << "a looping one lasts until stopped";
        loop->setVolume(0.5f);
        loop->stop();
        pool.perform(10);
        EXPECT_TRUE(pool.getSounds().empty());
    }
    cleanUp();
    std::fprintf(stderr, "silent run %s\n", ::testing::Test::HasFailure() ? "failed" : "ok");
    std::exit(::testing::Test::HasFailure() ? 1 : 0);
}
}  // namespace

TEST(SilentAudio, NoDefaultDeviceRunsSilentButANamedOneMustExist) {
    // OpenAL reads its configuration once per process, so this runs in a fresh one.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(runWithoutADevice(), ::testing::ExitedWithCode(0),
                "named device: ALC_INVALID_VALUE(.|\n)*silent run ok");
}
