// The audio module at work: a sample bank read from XML, a cached effect played every 0.7 s on
// a small source pool, and the music manager playing two streamed pieces one after the other
// on its own thread, the second faded out. Runs about six seconds and logs what plays. Without
// a sound device it runs silent and tells the same story.

#include <SDL.h>

#include <string>

#include "audio/core/audio.hpp"
#include "audio/music/music_manager.hpp"
#include "audio/resources/sample.hpp"
#include "audio/resources/sample_bank.hpp"
#include "audio/sources/sound.hpp"
#include "audio/sources/source_pool.hpp"
#include "debug/log.hpp"
#include "lumo/lumo.hpp"

using namespace lumo;

namespace {
const int DEMO = 1;  // log group

// Told by the music thread when a piece starts and ends.
class MusicLog : public audio::SoundHandler {
  public:
    void soundInit(audio::Sound* s) override {
        debug::info(DEMO, "Music: \"%s\" starts.", s->sample->name.c_str());
    }
    void soundDone(audio::Sound* s) override {
        debug::info(DEMO, "Music: \"%s\" ends.", s->sample->name.c_str());
    }
};

audio::Sample* need(audio::SampleBank& bank, const char* name) {
    audio::Sample* s = bank[name];
    if (!s)
        throw "Sample \"" + std::string(name) + "\" is missing from the bank.";
    return s;
}

void run() {
    audio::init("", 44100);
    debug::info(
        DEMO, "Sound device: %s.",
        audio::device ? alcGetString(audio::device, ALC_DEVICE_SPECIFIER) : "none, running silent");

    audio::SampleBank bank;
    bank.load(AUDIO_DEMO_DATA "samples.xml");
    bank.refresh();
    audio::Sample* blip = need(bank, "blip");
    {
        audio::SourcePool effects(4);
        audio::MusicManager music;
        MusicLog log;
        music.setHandler(&log);
        music.addAsLast(need(bank, "intro"));
        music.addAsLast(need(bank, "theme"));
        music.play();

        const Uint32 start = SDL_GetTicks();
        Uint32 last = start, nextBlip = start + 350;
        bool fading = false;
        for (Uint32 now = start; now - start < 6000; now = SDL_GetTicks()) {
            if (now >= nextBlip) {
                effects.play(blip);
                debug::info(DEMO, "Effect: \"blip\" at %.1f s.", (now - start) / 1000.0);
                nextBlip += 700;
            }
            if (!fading && now - start >= 3000) {
                debug::info(DEMO, "Fading the music out over 1.5 s.");
                music.fadeOut(1500);
                fading = true;
            }
            effects.perform(static_cast<float>(now - last));
            last = now;
            SDL_Delay(10);
        }
        debug::info(DEMO, "Music %s after %.1f s.", music.isPlaying() ? "still playing" : "stopped",
                    (SDL_GetTicks() - start) / 1000.0);
    }
    bank.release();
}
}  // namespace

int main() {
    debug::groups[DEMO] = debug::Group("demo", debug::dlDebug);
    lumo::init(ssNone, false);
    // The stream's own chatter is left out; warnings and the demo's lines stay.
    debug::groups[dbgAudio].level = debug::dlWarning;
    SDL_Init(SDL_INIT_TIMER);
    int status = 0;
    try {
        run();
    } catch (const std::string& e) {
        debug::critical(DEMO, "%s", e.c_str());
        status = 1;
    }
    audio::cleanUp();
    SDL_Quit();
    return status;
}
