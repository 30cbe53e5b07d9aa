// The game's sounds and music as committed under game/data: the sample banks of
// tools/resources/sounds.xml load through the framework, and every file decodes to what the
// game needs.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "audio/core/audio.hpp"
#include "audio/loaders/file_loader.hpp"
#include "audio/resources/sample_bank.hpp"
#include "resources/resource_manager.hpp"
#include "support/temp_dir.hpp"

using namespace lumo::audio;

namespace {
const std::string SOURCE_DIR = PIMWARDEN_SOURCE_DIR;
const std::string DATA_DIR = SOURCE_DIR + "/game/data/";
const int RATE = 44100;
// -1 dBFS: no peak may come closer to full scale.
const double PEAK_LIMIT = 32767 * std::pow(10.0, -1.0 / 20);

const std::vector<std::string> EFFECTS = {
    "throw",          "hit",          "player_cry",       "foe_cry_low",
    "foe_cry_medium", "foe_cry_high", "foe_cry_very_high"};
const std::vector<std::string> MUSIC = {"music_title", "music_game"};

/// A decoded file: 16-bit samples, interleaved.
struct Pcm {
    int channels = 0;
    int rate = 0;
    std::vector<int16_t> samples;

    long frames() const { return static_cast<long>(samples.size()) / channels; }
    double seconds() const { return double(frames()) / rate; }
    int at(long frame, int channel) const { return samples[frame * channels + channel]; }
    /// The largest magnitude in frames [from, to).
    int peak(long from, long to) const {
        int p = 0;
        for (long i = from * channels; i < to * channels; ++i)
            p = std::max(p, std::abs(int(samples[i])));
        return p;
    }
    double rms(long from, long to, int channel) const {
        double sum = 0;
        for (long i = from; i < to; ++i)
            sum += double(at(i, channel)) * at(i, channel);
        return std::sqrt(sum / double(to - from));
    }
};

Pcm decodeAll(const std::string& file) {
    std::unique_ptr<FileLoader> loader(getFileLoader(file));
    Pcm pcm;
    pcm.channels = loader->getFormat() == AL_FORMAT_STEREO16 ? 2 : 1;
    pcm.rate = loader->getFrequency();
    ALsizei size = loader->getSize();
    const char* data = loader->read(&size, false);
    pcm.samples.resize(size / 2);
    std::memcpy(pcm.samples.data(), data, pcm.samples.size() * 2);
    return pcm;
}

/// The decoded file after the checks every sound passes: its channel count, the game's rate, and
/// no peak near clipping.
Pcm decode(const std::string& file, int channels) {
    Pcm pcm = decodeAll(file);
    EXPECT_EQ(pcm.channels, channels) << file;
    EXPECT_EQ(pcm.rate, RATE) << file;
    EXPECT_LE(pcm.peak(0, pcm.frames()), PEAK_LIMIT) << file << " is too close to clipping";
    return pcm;
}

/// The fundamental (Hz) of the loudest 2048 frames, by autocorrelation: the shortest lag whose
/// correlation comes within 10 % of the best one, so octave errors do not win.
double loudestPitch(const Pcm& pcm) {
    const long window = 2048;
    long best = 0;
    double bestRms = 0;
    for (long at = 0; at + window <= pcm.frames(); at += window / 4)
        if (double r = pcm.rms(at, at + window, 0); r > bestRms)
            bestRms = r, best = at;
    const long minLag = RATE / 1500, maxLag = RATE / 80;
    std::vector<double> corr(maxLag + 2, 0.0);
    for (long lag = minLag; lag <= maxLag + 1; ++lag)
        for (long i = best; i + lag < best + window; ++i)
            corr[lag] += double(pcm.at(i, 0)) * pcm.at(i + lag, 0);
    const double top = *std::max_element(corr.begin(), corr.end());
    for (long lag = minLag + 1; lag <= maxLag; ++lag)
        if (corr[lag] >= 0.9 * top && corr[lag] >= corr[lag - 1] && corr[lag] >= corr[lag + 1])
            return double(RATE) / lag;
    return 0;
}

/// The game's two sample banks, read from the fragment that goes into resources.xml.
struct Banks {
    Banks() {
        lumo::testing::TempDir tmp;
        std::string fragment =
            lumo::testing::readFileText(SOURCE_DIR + "/tools/resources/sounds.xml");
        lumo::ResourceManager manager;
        manager.load(tmp.write("resources.xml", "<resources>" + fragment + "</resources>"),
                     DATA_DIR);
        sounds.reset(dynamic_cast<SampleBank*>(manager["sounds"]));
        music.reset(dynamic_cast<SampleBank*>(manager["music"]));
        manager.clear();
    }
    std::unique_ptr<SampleBank> sounds, music;
};
}  // namespace

TEST(GameSounds, BanksNameEveryEffectAndPieceAndTheEffectsLoad) {
    Banks banks;
    ASSERT_NE(banks.sounds, nullptr);
    ASSERT_NE(banks.music, nullptr);
    EXPECT_EQ(banks.sounds->map.size(), EFFECTS.size());
    for (const std::string& name : EFFECTS) {
        auto* s = dynamic_cast<CachedSample*>(banks.sounds->at(name));
        ASSERT_NE(s, nullptr) << name << " is a cached sample";
        EXPECT_EQ(s->filename, DATA_DIR + "sounds/" + name + ".ogg");
        EXPECT_FALSE(s->properties.loop) << name;
    }
    EXPECT_GT(banks.sounds->at("player_cry")->priority, banks.sounds->at("foe_cry_low")->priority)
        << "the game-over cry must get a source while foes cry";
    EXPECT_EQ(banks.music->map.size(), MUSIC.size());
    for (const std::string& name : MUSIC) {
        auto* s = dynamic_cast<StreamedSample*>(banks.music->at(name));
        ASSERT_NE(s, nullptr) << name << " is streamed";
        EXPECT_EQ(s->filename, DATA_DIR + "music/" + name + ".ogg");
        EXPECT_TRUE(s->properties.loop) << name << " plays until the music manager stops it";
    }

    // Decoded into OpenAL buffers as the game's start-up does (null output device).
    init("", RATE);
    ASSERT_TRUE(alActive());
    banks.sounds->refresh();
    for (const std::string& name : EFFECTS) {
        auto* s = dynamic_cast<CachedSample*>(banks.sounds->at(name));
        EXPECT_NE(s->bufferName, 0u) << name;
        EXPECT_EQ(s->format, AL_FORMAT_MONO16) << name;
        EXPECT_EQ(s->frequency, RATE) << name;
    }
    banks.sounds->release();
    cleanUp();
}

TEST(GameSounds, EffectsAreShortCleanAndBelowFullScale) {
    for (const std::string& name : EFFECTS) {
        SCOPED_TRACE(name);
        Pcm pcm = decode(DATA_DIR + "sounds/" + name + ".ogg", 1);
        EXPECT_GE(pcm.seconds(), 0.1);
        EXPECT_LE(pcm.seconds(), 0.8);
        EXPECT_GE(pcm.peak(0, pcm.frames()), 32767 / 4) << "too quiet to hear";
        // The first and last millisecond fade from and to silence: no click.
        const long ms = RATE / 1000;
        EXPECT_LE(pcm.peak(0, ms), 32767 / 20) << "start";
        EXPECT_LE(pcm.peak(pcm.frames() - ms, pcm.frames()), 32767 / 100) << "end";
    }
}

TEST(GameSounds, FoeCriesRiseInPitchWithHeight) {
    double previous = 0;
    for (const char* name :
         {"foe_cry_low", "foe_cry_medium", "foe_cry_high", "foe_cry_very_high"}) {
        const double hz = loudestPitch(decode(DATA_DIR + "sounds/" + name + ".ogg", 1));
        EXPECT_GT(hz, previous * 1.15) << name << " at " << hz << " Hz";
        previous = hz;
    }
    EXPECT_LT(previous, 1000) << "a cry, not a whistle";
}

TEST(GameSounds, MusicIsLongStereoAndLoopsWithoutAGapOrAClick) {
    for (const std::string& name : MUSIC) {
        SCOPED_TRACE(name);
        Pcm pcm = decode(DATA_DIR + "music/" + name + ".ogg", 2);
        ASSERT_EQ(pcm.channels, 2);
        EXPECT_GE(pcm.seconds(), 30.0);
        const long n = pcm.frames(), edge = RATE / 500;
        // Played through the framework's looping read, the start follows the end exactly.
        std::unique_ptr<FileLoader> loader(getFileLoader(DATA_DIR + "music/" + name + ".ogg"));
        ALsizei size = loader->getSize() + 4096;
        const char* looped = loader->read(&size, true);
        ASSERT_EQ(size, loader->getSize() + 4096);
        EXPECT_EQ(std::memcmp(looped + loader->getSize(), pcm.samples.data(), 4096), 0);
        for (int c = 0; c < 2; ++c) {
            // The jump from the last sample back to the first is an ordinary step of the music.
            std::vector<int> steps;
            for (long i = 1; i < n; ++i)
                steps.push_back(std::abs(pcm.at(i, c) - pcm.at(i - 1, c)));
            std::nth_element(steps.begin(), steps.begin() + steps.size() * 99 / 100, steps.end());
            const int typical = steps[steps.size() * 99 / 100];
            EXPECT_LE(std::abs(pcm.at(0, c) - pcm.at(n - 1, c)), typical) << "channel " << c;
            // No silence padding at either end: the music plays right up to the seam.
            const double whole = pcm.rms(0, n, c);
            EXPECT_GE(pcm.rms(0, edge, c), whole / 10) << "channel " << c;
            EXPECT_GE(pcm.rms(n - edge, n, c), whole / 10) << "channel " << c;
        }
    }
}
