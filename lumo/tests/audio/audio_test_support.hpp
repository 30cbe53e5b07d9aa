#pragma once
// Helpers of the sound tests: Ogg Vorbis files made here, OpenAL Soft's wave backend as the
// output device, and a reader that measures what came out of it.

#include <gtest/gtest.h>

#include <SDL.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "audio/core/audio.hpp"
#include "audio/resources/sample.hpp"
#include "audio/sources/sound.hpp"
#include "audio/sources/sound_handler.hpp"
#include "debug/log.hpp"
#include "ogg_writer.hpp"
#include "support/temp_dir.hpp"

namespace audiotest {

using lumo::testing::TempDir;
using Names = std::vector<std::string>;

/// A sine tone at half amplitude in every channel; returns the file name.
inline std::string writeTone(const std::string& path, double hz, double seconds, int rate = 44100,
                             int channels = 1) {
    const double step = 2.0 * M_PI * hz / rate;
    oggwriter::writeOgg(path, rate, channels, std::lround(seconds * rate), [step](long i, int) {
        return static_cast<float>(0.5 * std::sin(step * i));
    });
    return path;
}

/// Two seconds of loud mono noise (it compresses badly, so the file has many pages) and the
/// offsets of its Ogg pages.
inline std::string noiseBytes(const TempDir& tmp, std::vector<std::size_t>& pages) {
    oggwriter::writeOgg(tmp.file("noise.ogg"), 44100, 1, 88200, [](long i, int) {
        unsigned x = static_cast<unsigned>(i) * 2654435761u;
        return static_cast<float>(((x ^ x >> 13) % 2001) / 1000.0 - 1.0) * 0.4f;
    });
    std::string bytes = lumo::testing::readFileText(tmp.file("noise.ogg"));
    for (std::size_t p = bytes.find("OggS"); p != std::string::npos; p = bytes.find("OggS", p + 1))
        pages.push_back(p);
    return bytes;
}

/// The noise with garbage in the middle of its fourth page (audio, past the headers).
inline std::string writeDamaged(const TempDir& tmp) {
    std::vector<std::size_t> pages;
    std::string bytes = noiseBytes(tmp, pages);
    for (std::size_t i = pages.at(3) + 60; i < pages.at(3) + 124; ++i)
        bytes[i] ^= 0x5a;
    return tmp.write("damaged.ogg", bytes);
}

/// The message that `f` throws, or "(nothing thrown)".
inline std::string thrown(const std::function<void()>& f) {
    try {
        f();
    } catch (const std::string& e) {
        return e;
    }
    return "(nothing thrown)";
}

using Clock = std::chrono::steady_clock;
inline double since(Clock::time_point t) {
    return std::chrono::duration<double>(Clock::now() - t).count();
}
inline void sleepMs(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

/// Polls `done` every 10 ms for at most `seconds`.
inline bool waitFor(const std::function<bool()>& done, double seconds) {
    for (auto start = Clock::now(); !done(); sleepMs(10))
        if (since(start) > seconds)
            return false;
    return true;
}

/// A streamed sample of a fresh tone file in `tmp`.
inline void makeStream(lumo::audio::StreamedSample& s, const TempDir& tmp, const std::string& name,
                       double hz, double seconds, long bufferSize = 16384, int rate = 44100,
                       int channels = 1) {
    s.name = name;
    s.filename = writeTone(tmp.file(name + ".ogg"), hz, seconds, rate, channels);
    s.bufferSize = bufferSize;
}

/// The WAV file that OpenAL Soft writes everything it plays to. OpenAL reads its configuration
/// once per process, so this must be set up before the first OpenAL call.
inline const std::string& waveOutput() {
    static TempDir dir;
    static const std::string wav = [] {
        std::string conf = dir.write("alsoft.conf",
                                     "[general]\ndrivers = wave\nsample-type = "
                                     "int16\n[wave]\nfile = " +
                                         dir.file("out.wav") + "\n");
        setenv("ALSOFT_CONF", conf.c_str(), 1);
        unsetenv("ALSOFT_DRIVERS");  // the test environment's null backend would win
        return dir.file("out.wav");
    }();
    return wav;
}

/// What OpenAL Soft wrote (16-bit stereo at 44100 Hz, our configuration), mixed down to mono.
using Wave = std::vector<float>;
const int waveRate = 44100;
inline Wave readWave(const std::string& path) {
    std::string s = lumo::testing::readFileText(path);
    Wave wave;
    const std::size_t data = s.find("data");
    for (std::size_t p = data == std::string::npos ? s.size() : data + 8; p + 4 <= s.size(); p += 4)
        wave.push_back((int16_t(uint8_t(s[p]) | uint8_t(s[p + 1]) << 8) +
                        int16_t(uint8_t(s[p + 2]) | uint8_t(s[p + 3]) << 8)) /
                       65536.0f);
    return wave;
}

struct Segment {
    double start, end;
    double length() const { return end - start; }
};
/// Stretches whose loudness (RMS over 5 ms) stays above 0.02; gaps under 30 ms are bridged.
inline std::vector<Segment> loudSegments(const Wave& wave) {
    std::vector<Segment> out;
    const std::size_t window = waveRate / 200;
    for (std::size_t at = 0; at + window <= wave.size(); at += window) {
        double sum = 0;
        for (std::size_t i = at; i < at + window; ++i)
            sum += wave[i] * wave[i];
        if (std::sqrt(sum / window) < 0.02)
            continue;
        double start = double(at) / waveRate, end = double(at + window) / waveRate;
        if (!out.empty() && start - out.back().end < 0.03)
            out.back().end = end;
        else
            out.push_back({start, end});
    }
    return out;
}

/// The frequency in Hz from zero crossings inside a loud stretch (its edges left out).
inline double frequency(const Wave& wave, const Segment& seg) {
    std::size_t a = std::size_t((seg.start + 0.05) * waveRate);
    std::size_t b = std::min(wave.size(), std::size_t((seg.end - 0.05) * waveRate));
    int crossings = 0;
    for (std::size_t i = a + 1; i < b; ++i)
        crossings += (wave[i - 1] < 0) != (wave[i] < 0);
    return b > a ? crossings / 2.0 / (double(b - a) / waveRate) : 0;
}

/// Opens the wave device (and SDL's timer) for each test and closes it afterwards.
class AudioDeviceTest : public ::testing::Test {
  protected:
    void SetUp() override {
        lumo::debug::nameFrameworkGroups();
        waveOutput();
        ASSERT_EQ(SDL_Init(SDL_INIT_TIMER), 0);
        lumo::audio::init("", 44100);
        ASSERT_TRUE(lumo::audio::alActive()) << "the wave device did not open";
    }
    void TearDown() override {
        lumo::audio::cleanUp();
        SDL_Quit();
    }
    /// Closes the device so that the WAV file is complete, and reads it.
    Wave finishOutput() {
        lumo::audio::cleanUp();
        return readWave(waveOutput());
    }

    TempDir tmp;
};

/// Records the callbacks as "+name" (init) and "-name" (done); safe from any thread.
class RecordingHandler : public lumo::audio::SoundHandler {
  public:
    void soundInit(lumo::audio::Sound* s) override { add(s, '+'); }
    void soundUpdate(lumo::audio::Sound*, float) override { ++updates; }
    void soundDone(lumo::audio::Sound* s) override { add(s, '-'); }
    Names events() {
        std::lock_guard<std::mutex> lock(mutex);
        return log;
    }
    /// soundDone calls for `s` since it was created (an address may be reused).
    int doneCount(lumo::audio::Sound* s) {
        std::lock_guard<std::mutex> lock(mutex);
        int n = 0;
        for (std::size_t i = log.size(); i-- > 0 && (sounds[i] != s || log[i][0] == '-');)
            n += sounds[i] == s;
        return n;
    }
    std::atomic<int> updates{0};

  private:
    void add(lumo::audio::Sound* s, char kind) {
        std::lock_guard<std::mutex> lock(mutex);
        log.push_back(kind + s->sample->name);
        sounds.push_back(s);
    }
    std::mutex mutex;
    Names log;
    std::vector<lumo::audio::Sound*> sounds;
};

}  // namespace audiotest
