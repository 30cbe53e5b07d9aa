#include "audio_test_support.hpp"

#include <SDL.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "audio/core/audio.hpp"
#include "audio/resources/sample.hpp"
#include "audio/sources/sound.hpp"
#include "debug/log.hpp"
#include "ogg_writer.hpp"

namespace audiotest {

TempDir::TempDir() {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/lumo-audio-XXXXXX";
    std::vector<char> buf(pattern.begin(), pattern.end());
    buf.push_back('\0');
    if (!mkdtemp(buf.data()))
        throw std::string("mkdtemp failed");
    dir = buf.data();
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
}

std::string writeOgg(const std::string& path, int rate, int channels, long frames,
                     const std::function<float(long, int)>& sample) {
    oggwriter::writeOgg(path, rate, channels, frames, sample);
    return path;
}

std::string writeTone(const std::string& path, double hz, double seconds, int rate, int channels) {
    const double step = 2.0 * M_PI * hz / rate;
    return writeOgg(path, rate, channels, std::lround(seconds * rate),
                    [step](long i, int) { return static_cast<float>(0.5 * std::sin(step * i)); });
}

std::string writeNoise(const std::string& path, double seconds) {
    return writeOgg(path, 44100, 1, std::lround(seconds * 44100), [](long i, int) {
        unsigned x = static_cast<unsigned>(i) * 2654435761u;
        x ^= x >> 13;
        return static_cast<float>((x % 2001) / 1000.0 - 1.0) * 0.4f;
    });
}

std::vector<std::size_t> oggPages(const std::string& bytes) {
    std::vector<std::size_t> pages;
    for (std::size_t p = bytes.find("OggS"); p != std::string::npos; p = bytes.find("OggS", p + 1))
        pages.push_back(p);
    return pages;
}

std::string thrown(const std::function<void()>& f) {
    try {
        f();
    } catch (const std::string& e) {
        return e;
    }
    return "(nothing thrown)";
}

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

namespace {
struct WaveOutput {
    TempDir dir;
    std::string wav = dir.path("out.wav");
    WaveOutput() {
        std::string conf = dir.path("alsoft.conf");
        writeFile(conf,
                  "[general]\ndrivers = wave\nsample-type = int16\n[wave]\nfile = " + wav + "\n");
        setenv("ALSOFT_CONF", conf.c_str(), 1);
        // The test environment selects the null backend, which would win over the file.
        unsetenv("ALSOFT_DRIVERS");
    }
};
WaveOutput& waveOutput() {
    static WaveOutput output;
    return output;
}
}  // namespace

void useWaveOutput() {
    waveOutput();
}
std::string waveOutputPath() {
    return waveOutput().wav;
}

namespace {
uint32_t le32(const std::string& s, std::size_t at) {
    return static_cast<uint8_t>(s[at]) | static_cast<uint8_t>(s[at + 1]) << 8 |
           static_cast<uint8_t>(s[at + 2]) << 16 |
           static_cast<uint32_t>(static_cast<uint8_t>(s[at + 3])) << 24;
}
uint16_t le16(const std::string& s, std::size_t at) {
    return static_cast<uint16_t>(static_cast<uint8_t>(s[at]) | static_cast<uint8_t>(s[at + 1])
                                                                   << 8);
}
}  // namespace

Wave readWave(const std::string& path) {
    // Parsed by hand: OpenAL Soft writes WAVE_FORMAT_EXTENSIBLE headers.
    std::string s = readFile(path);
    Wave wave;
    if (s.size() < 12 || s.compare(0, 4, "RIFF") != 0 || s.compare(8, 4, "WAVE") != 0)
        return wave;
    int channels = 0, bits = 0;
    for (std::size_t at = 12; at + 8 <= s.size();) {
        std::string id = s.substr(at, 4);
        std::size_t len = le32(s, at + 4);
        std::size_t body = at + 8;
        if (id == "fmt ") {
            channels = le16(s, body + 2);
            wave.rate = static_cast<int>(le32(s, body + 4));
            bits = le16(s, body + 14);
        } else if (id == "data" && channels > 0 && bits == 16) {
            std::size_t end = std::min(s.size(), body + len);
            std::size_t frame = 2 * static_cast<std::size_t>(channels);
            for (std::size_t p = body; p + frame <= end; p += frame) {
                float sum = 0;
                for (int c = 0; c < channels; ++c)
                    sum += static_cast<int16_t>(le16(s, p + 2 * c)) / 32768.0f;
                wave.samples.push_back(sum / channels);
            }
        }
        at = body + len + (len & 1);
    }
    return wave;
}

std::vector<Segment> loudSegments(const Wave& wave, float threshold) {
    std::vector<Segment> out;
    if (wave.rate == 0)
        return out;
    const std::size_t window = wave.rate / 200;
    const double gap = 0.03;
    for (std::size_t at = 0; at + window <= wave.samples.size(); at += window) {
        double sum = 0;
        for (std::size_t i = at; i < at + window; ++i)
            sum += wave.samples[i] * wave.samples[i];
        if (std::sqrt(sum / window) < threshold)
            continue;
        double start = static_cast<double>(at) / wave.rate;
        double end = static_cast<double>(at + window) / wave.rate;
        if (!out.empty() && start - out.back().end < gap)
            out.back().end = end;
        else
            out.push_back({start, end});
    }
    return out;
}

double frequency(const Wave& wave, double start, double end) {
    std::size_t a = static_cast<std::size_t>(start * wave.rate);
    std::size_t b = std::min(wave.samples.size(), static_cast<std::size_t>(end * wave.rate));
    int crossings = 0;
    for (std::size_t i = a + 1; i < b; ++i)
        if ((wave.samples[i - 1] < 0) != (wave.samples[i] < 0))
            ++crossings;
    return b > a ? crossings / 2.0 / (static_cast<double>(b - a) / wave.rate) : 0;
}

double firstTimeAt(const Wave& wave, double hz) {
    // Windows across an onset count crossings of the silence too; a pitch must hold 100 ms.
    for (const Segment& seg : loudSegments(wave)) {
        int run = 0;
        for (double t = seg.start; t + 0.05 <= seg.end; t += 0.025) {
            run = std::abs(frequency(wave, t, t + 0.05) - hz) < hz * 0.02 ? run + 1 : 0;
            if (run == 3)
                return t - 0.05;
        }
    }
    return -1;
}

void AudioDeviceTest::SetUp() {
    lumo::debug::nameFrameworkGroups();
    useWaveOutput();
    ASSERT_EQ(SDL_Init(SDL_INIT_TIMER), 0);
    lumo::audio::init("", 44100);
    ASSERT_TRUE(lumo::audio::alActive()) << "the wave device did not open";
}

void AudioDeviceTest::TearDown() {
    lumo::audio::cleanUp();
    SDL_Quit();
}

Wave AudioDeviceTest::finishOutput() {
    lumo::audio::cleanUp();
    return readWave(waveOutputPath());
}

bool AudioDeviceTest::performUntil(const std::function<void()>& perform,
                                   const std::function<bool()>& done, double seconds) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        perform();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

void RecordingHandler::soundInit(lumo::audio::Sound* s) {
    std::lock_guard<std::mutex> lock(mutex);
    log.push_back({'i', s, s->sample ? s->sample->name : std::string()});
}

void RecordingHandler::soundUpdate(lumo::audio::Sound*, float) {
    std::lock_guard<std::mutex> lock(mutex);
    ++updateCount;
}

void RecordingHandler::soundDone(lumo::audio::Sound* s) {
    std::lock_guard<std::mutex> lock(mutex);
    log.push_back({'d', s, s->sample ? s->sample->name : std::string()});
}

std::vector<RecordingHandler::Event> RecordingHandler::events() {
    std::lock_guard<std::mutex> lock(mutex);
    return log;
}

std::vector<std::string> RecordingHandler::names(char kind) {
    std::lock_guard<std::mutex> lock(mutex);
    std::vector<std::string> out;
    for (const Event& e : log)
        if (e.kind == kind)
            out.push_back(e.sample);
    return out;
}

int RecordingHandler::doneCount(lumo::audio::Sound* s) {
    std::lock_guard<std::mutex> lock(mutex);
    int n = 0;
    for (const Event& e : log)
        if (e.kind == 'd' && e.sound == s)
            ++n;
    return n;
}

int RecordingHandler::updates() {
    std::lock_guard<std::mutex> lock(mutex);
    return updateCount;
}

}  // namespace audiotest
