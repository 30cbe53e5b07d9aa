#pragma once
// Helpers of the audio tests: Ogg Vorbis files made with libvorbisenc, OpenAL Soft's wave
// backend as the output device, and a reader that measures what came out of it.

#include <gtest/gtest.h>

#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "audio/sources/sound_handler.hpp"

namespace audiotest {

/// A fresh directory, removed with everything in it at the end of the scope.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    std::string path(const std::string& name) const { return dir + "/" + name; }
    const std::string& str() const { return dir; }

  private:
    std::string dir;
};

/// Encodes `frames` sample frames of `channels` channels; `sample(frame, channel)` gives values
/// in [-1, 1]. Returns the file name.
std::string writeOgg(const std::string& path, int rate, int channels, long frames,
                     const std::function<float(long, int)>& sample);
/// A sine tone at half amplitude in every channel.
std::string writeTone(const std::string& path, double hz, double seconds, int rate = 44100,
                      int channels = 1);
/// Loud white noise (it compresses badly, so the file has many pages), mono 44100 Hz.
std::string writeNoise(const std::string& path, double seconds);
/// Offsets of the Ogg pages ("OggS") in `bytes`.
std::vector<std::size_t> oggPages(const std::string& bytes);
/// The message that `f` throws, or "(nothing thrown)".
std::string thrown(const std::function<void()>& f);
void writeFile(const std::string& path, const std::string& bytes);
std::string readFile(const std::string& path);

/// Makes OpenAL Soft write everything it plays to one WAV file of this process. Must run before
/// the process's first OpenAL call (OpenAL reads its configuration once); idempotent.
void useWaveOutput();
std::string waveOutputPath();

/// A WAV file mixed down to mono.
struct Wave {
    int rate = 0;
    std::vector<float> samples;
};
Wave readWave(const std::string& path);

struct Segment {
    double start;
    double end;
    double length() const { return end - start; }
};
/// Stretches whose loudness (RMS over 5 ms) stays above `threshold`; gaps shorter than 30 ms
/// are bridged.
std::vector<Segment> loudSegments(const Wave& wave, float threshold = 0.02f);
/// The frequency in Hz from zero crossings between `start` and `end` (seconds).
double frequency(const Wave& wave, double start, double end);

/// Where (seconds) the pitch `hz` (within 2 %) is first heard for 100 ms, or -1.
double firstTimeAt(const Wave& wave, double hz);

/// Opens the wave device for each test (and SDL's timer) and closes it afterwards.
class AudioDeviceTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;
    /// Closes the device so the WAV file is complete, and reads it.
    Wave finishOutput();
    /// Calls `perform(10 ms)` until `done()` or `seconds` pass; false on time-out.
    static bool performUntil(const std::function<void()>& perform,
                             const std::function<bool()>& done, double seconds);

    TempDir tmp;
};

/// Records every callback, with the sample name of the sound; safe from any thread.
class RecordingHandler : public lumo::audio::SoundHandler {
  public:
    struct Event {
        char kind;  // 'i'nit, 'd'one
        lumo::audio::Sound* sound;
        std::string sample;
    };
    void soundInit(lumo::audio::Sound* s) override;
    void soundUpdate(lumo::audio::Sound* s, float f) override;
    void soundDone(lumo::audio::Sound* s) override;

    std::vector<Event> events();
    /// Sample names of the events of one kind, in order.
    std::vector<std::string> names(char kind);
    int doneCount(lumo::audio::Sound* s);
    int updates();

  private:
    std::mutex mutex;
    std::vector<Event> log;
    int updateCount = 0;
};

}  // namespace audiotest
