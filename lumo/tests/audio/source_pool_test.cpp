// Sharing a few sources among many sounds: priorities, taking the oldest, volumes, placement.

#include <gtest/gtest.h>

#include "audio/resources/sample.hpp"
#include "audio/sources/sound.hpp"
#include "audio/sources/source_pool.hpp"
#include "audio_test_support.hpp"

using namespace lumo::audio;
using namespace audiotest;

namespace {
class SourcePoolTest : public AudioDeviceTest {
  protected:
    void SetUp() override {
        AudioDeviceTest::SetUp();
        tone.name = "tone";
        tone.filename = writeTone(tmp.path("tone.ogg"), 440, 1.0);
        tone.load();
        blip.name = "blip";
        blip.filename = writeTone(tmp.path("blip.ogg"), 880, 0.05);
        blip.load();
    }
    void TearDown() override {
        tone.release();
        blip.release();
        AudioDeviceTest::TearDown();
    }
    static float gain(const Sound* s) {
        float g = -1;
        alGetSourcef(s->source->sourceName, AL_GAIN, &g);
        return g;
    }
    static bool alive(const SourcePool& pool, const Sound* s) {
        for (const Sound* x : pool.getSounds())
            if (x == s)
                return true;
        return false;
    }

    CachedSample tone;
    CachedSample blip;
};
}  // namespace

TEST(SourceOrder, FreeFirstThenLowestPriorityThenOldest) {
    Source freeOne(nullptr, 0), low(nullptr, 0), lowOlder(nullptr, 0), high(nullptr, 0);
    low.priority = 1;
    low.stamp = 5;
    lowOlder.priority = 1;
    lowOlder.stamp = 2;
    high.priority = 9;
    high.stamp = 1;
    // a < b: b is taken before a.
    EXPECT_TRUE(low < freeOne);
    EXPECT_FALSE(freeOne < low);
    EXPECT_TRUE(low < lowOlder);
    EXPECT_FALSE(lowOlder < low);
    EXPECT_TRUE(high < low);
    EXPECT_FALSE(low < high);
    EXPECT_TRUE(high < lowOlder) << "priority before age";
}

TEST_F(SourcePoolTest, TheSixthSoundOfEqualPriorityTakesTheOldestSource) {
    RecordingHandler handler;
    SourcePool pool(5);
    EXPECT_EQ(pool.getSize(), 5u);
    std::vector<Sound*> first;
    for (int i = 0; i < 5; ++i)
        first.push_back(pool.play(&tone, nullptr, &handler, 5));
    for (int i = 0; i < 5; ++i) {
        ASSERT_NE(first[i]->source, nullptr);
        EXPECT_EQ(first[i]->source->stamp, static_cast<unsigned long>(i + 1));
        EXPECT_EQ(first[i]->source->state, ssPlaying);
    }
    Source* oldest = first[0]->source;
    Sound* sixth = pool.play(&tone, nullptr, &handler, 5);
    EXPECT_EQ(sixth->source, oldest);
    EXPECT_EQ(oldest->sound, sixth);
    EXPECT_EQ(oldest->stamp, 6u);
    EXPECT_EQ(handler.doneCount(first[0]), 1);
    EXPECT_EQ(pool.getSounds().size(), 5u);

    // A lower priority gets nothing: its sound never plays and is gone after the next perform.
    Sound* low = pool.play(&tone, nullptr, &handler, 3);
    EXPECT_EQ(low->source, nullptr);
    for (int i = 1; i < 5; ++i)
        EXPECT_TRUE(alive(pool, first[i]));
    pool.perform(0);
    EXPECT_FALSE(alive(pool, low));
    EXPECT_EQ(handler.names('d').size(), 2u);
    EXPECT_EQ(pool.getSounds().size(), 5u);

    // A higher priority takes the oldest of the lowest; later equal ones cannot take it back.
    Sound* high = pool.play(&tone, nullptr, &handler, 7);
    EXPECT_FALSE(alive(pool, first[1]));
    EXPECT_EQ(high->source->priority, 7);
    Sound* again = pool.play(&tone, nullptr, &handler, 5);
    EXPECT_FALSE(alive(pool, first[2]));
    EXPECT_TRUE(alive(pool, high));
    EXPECT_TRUE(alive(pool, again));

    // The sample's own priority applies when none is given.
    tone.priority = 4;
    Sound* byDefault = pool.play(&tone, nullptr, &handler);
    EXPECT_EQ(byDefault->source, nullptr);
    pool.stopAll();
    EXPECT_TRUE(pool.getSounds().empty());
    EXPECT_EQ(handler.names('i').size(), handler.names('d').size());
}

TEST_F(SourcePoolTest, AnEndedSoundsSourceIsReusedOnlyAtTheTopOfTheQueue) {
    SourcePool pool(2);
    Sound* a = pool.play(&blip, nullptr, nullptr, 0);
    Source* first = a->source;
    ASSERT_TRUE(
        performUntil([&] { pool.perform(10); }, [&] { return pool.getSounds().empty(); }, 2));
    EXPECT_EQ(first->sound, nullptr);
    EXPECT_FALSE(first->isFree()) << "an ended sound leaves its stamp";

    Sound* b = pool.play(&tone, nullptr, nullptr, 0);
    EXPECT_NE(b->source, first) << "a never used source comes first";
    Sound* c = pool.play(&tone, nullptr, nullptr, 0);
    EXPECT_EQ(c->source, first) << "then the oldest, which holds nothing any more";
    EXPECT_TRUE(alive(pool, b));
    EXPECT_EQ(pool.getSources().front(), b->source) << "b's source is now the oldest";
}

TEST_F(SourcePoolTest, VolumesAndPlacement) {
    SourcePool pool(3);
    SoundProperties quiet = tone.properties;
    quiet.volume = 0.8f;
    Sound* a = pool.play(&tone, &quiet);
    EXPECT_FLOAT_EQ(gain(a), 0.8f);

    pool.setVolume(0.5f);
    EXPECT_FLOAT_EQ(gain(a), 0.8f) << "only later sounds";
    Sound* b = pool.play(&tone, &quiet);
    EXPECT_FLOAT_EQ(gain(b), 0.4f);

    pool.setPlayingVolumes(0.25f);
    EXPECT_FLOAT_EQ(gain(a), 0.2f);
    EXPECT_FLOAT_EQ(gain(b), 0.2f);
    a->setVolume(1.0f);
    EXPECT_FLOAT_EQ(gain(a), 0.25f);
    EXPECT_FLOAT_EQ(pool.getVolume(), 0.25f);

    // Successive cached sounds sit on opposite sides.
    float pa[3], pb[3];
    alGetSourcefv(a->source->sourceName, AL_POSITION, pa);
    alGetSourcefv(b->source->sourceName, AL_POSITION, pb);
    EXPECT_EQ(std::abs(pa[0]), 1.0f);
    EXPECT_EQ(pa[0], -pb[0]);
    EXPECT_EQ(pa[1], 1.0f);
    EXPECT_EQ(pa[2], 1.0f);

    // Streamed sounds are placed by their properties.
    StreamedSample music;
    music.name = "music";
    music.filename = tone.filename;
    SoundProperties right = music.properties;
    right.setStereoPosition(0.5f);
    Sound* m = pool.play(&music, &right);
    float pm[3];
    alGetSourcefv(m->source->sourceName, AL_POSITION, pm);
    EXPECT_EQ(pm[0], 0.5f);
    EXPECT_EQ(pm[2], 0.5f);
}
