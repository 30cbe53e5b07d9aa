// Writes the audio demo's sound files into the directory given as the only argument: a short
// blip (mono) and two little stereo pieces of music, all synthesised here.

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "ogg_writer.hpp"

namespace {
const int RATE = 44100;
const double PI = 3.14159265358979;

double noteHz(int semitonesFromA4) {
    return 440.0 * std::pow(2.0, semitonesFromA4 / 12.0);
}

// Notes of equal length, each with a soft attack and decay; the left and right channels get
// the note and its octave in different measure, so the pieces sound wide.
void writeTune(const std::string& path, const std::vector<int>& notes, double noteSeconds) {
    const long perNote = std::lround(noteSeconds * RATE);
    oggwriter::writeOgg(
        path, RATE, 2, perNote * static_cast<long>(notes.size()), [&](long i, int channel) {
            const long n = i / perNote;
            const double t = static_cast<double>(i % perNote) / RATE;
            const double hz = noteHz(notes[n]);
            const double envelope = std::min(1.0, t * 50.0) * std::exp(-3.0 * t / noteSeconds);
            const double low = std::sin(2 * PI * hz * t);
            const double high = std::sin(4 * PI * hz * t);
            const double mix = channel == 0 ? 0.8 * low + 0.2 * high : 0.5 * low + 0.5 * high;
            return static_cast<float>(0.4 * envelope * mix);
        });
}
}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output directory>\n", argv[0]);
        return 2;
    }
    const std::string dir = std::string(argv[1]) + "/";
    try {
        oggwriter::writeOgg(dir + "blip.ogg", RATE, 1, RATE * 15 / 100, [](long i, int) {
            const double t = static_cast<double>(i) / RATE;
            return static_cast<float>(0.6 * std::exp(-25.0 * t) * std::sin(2 * PI * 880 * t));
        });
        writeTune(dir + "intro.ogg", {-9, -5, -2, 3, -2, -5, -9, -14}, 0.25);
        writeTune(dir + "theme.ogg", {3, 7, 10, 7, 5, 3, 2, -2, 0, 3, 7, 15}, 0.25);
    } catch (const std::string& e) {
        std::fprintf(stderr, "%s\n", e.c_str());
        return 1;
    }
    return 0;
}
