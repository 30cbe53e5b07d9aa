// Starting audio, the error names, and running silent without a device.

#include <gtest/gtest.h>

#include <SDL.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "audio/core/audio.hpp"
#include "audio/music/music_manager.hpp"
#include "audio/resources/sample.hpp"
#include "audio/sources/sound.hpp"
#include "audio/sources/source_pool.hpp"
#include "audio_test_support.hpp"

using namespace lumo::audio;
using namespace audiotest;

TEST(AudioErrors, NamesOfTheCodes) {
    EXPECT_EQ(getALErrorString(0), "AL_NO_ERROR");
    EXPECT_EQ(getALErrorString(0xA001), "AL_INVALID_NAME");
    EXPECT_EQ(getALErrorString(0xA002), "(Unknown AL error)");
    EXPECT_EQ(getALErrorString(0xA003), "AL_INVALID_VALUE");
    EXPECT_EQ(getALErrorString(0xA004), "(Unknown AL error)");
    EXPECT_EQ(getALErrorString(0xA005), "AL_OUT_OF_MEMORY");
    EXPECT_EQ(getALCErrorString(0), "AL_NO_ERROR");
    EXPECT_EQ(getALCErrorString(0xA001), "ALC_INVALID_DEVICE");
    EXPECT_EQ(getALCErrorString(0xA002), "ALC_INVALID_CONTEXT");
    EXPECT_EQ(getALCErrorString(0xA003), "ALC_INVALID_ENUM");
    EXPECT_EQ(getALCErrorString(0xA004), "ALC_INVALID_VALUE");
    EXPECT_EQ(getALCErrorString(0xA005), "ALC_OUT_OF_MEMORY");
    EXPECT_EQ(getALCErrorString(0xA006), "(Unknown ALC error)");
}

TEST(SoundProperties, StereoPositionWalksAHalfCircle) {
    SoundProperties p;
    p.position.y = 7;
    const float cases[][3] = {{-3, -1, 0}, {-1, -1, 0},           {-0.25f, -0.25f, -0.75f},
                              {0, 0, 1},   {0.25f, 0.25f, 0.75f}, {1, 1, 0},
                              {2, 1, 0}};
    for (const auto& c : cases) {
        p.setStereoPosition(c[0]);
        EXPECT_FLOAT_EQ(p.position.x, c[1]) << c[0];
        EXPECT_FLOAT_EQ(p.position.z, c[2]) << c[0];
        EXPECT_FLOAT_EQ(p.position.y, 7) << c[0];
    }
}

TEST_F(AudioDeviceTest, OnlyOneContextAtATime) {
    ASSERT_NE(context, nullptr);
    ASSERT_NE(device, nullptr);
    try {
        new Context(44100);
        ADD_FAILURE() << "no throw";
    } catch (const std::string& e) {
        EXPECT_EQ(e, "Cannot create more than one audio context.");
    }
    try {
        init("", 44100);
        ADD_FAILURE() << "no throw";
    } catch (const std::string& e) {
        EXPECT_EQ(e, "Cannot create more than one audio context.");
    }
    cleanUp();
    EXPECT_EQ(context, nullptr);
    EXPECT_EQ(device, nullptr);
    init("", 44100);
    EXPECT_TRUE(alActive());
}

namespace {
// Everything an application does with sound, without a device: it must work and stay silent.
void runSilently(const TempDir& tmp) {
    ASSERT_NE(context, nullptr);
    EXPECT_EQ(context->alcContext, nullptr);
    EXPECT_FALSE(alActive());

    CachedSample effect;
    effect.name = "effect";
    effect.filename = tmp.path("never-read.ogg");
    effect.load();
    EXPECT_EQ(effect.bufferName, 0u) << "nothing to load into";

    RecordingHandler handler;
    {
        SourcePool pool(2);
        EXPECT_EQ(pool.getSize(), 2u);
        SoundProperties looping = effect.properties;
        looping.loop = true;
        Sound* once = pool.play(&effect, nullptr, &handler, 1);
        Sound* loop = pool.play(&effect, &looping, &handler, 1);
        EXPECT_EQ(pool.play(&effect, nullptr, &handler, 0)->source, nullptr) << "priorities hold";
        pool.perform(10);
        EXPECT_EQ(handler.doneCount(once), 1) << "a sound without a device ends at once";
        EXPECT_EQ(handler.doneCount(loop), 0) << "a looping one lasts until stopped";
        loop->setVolume(0.5f);
        loop->stop();
        pool.perform(10);
        EXPECT_TRUE(pool.getSounds().empty());

        StreamedSample missing;
        missing.name = "missing";
        missing.filename = tmp.path("missing.ogg");
        EXPECT_THROW(pool.play(&missing), std::string) << "files are still checked";
    }

    // The music manager runs through its queue.
    StreamedSample a, b;
    a.name = "a";
    a.filename = writeTone(tmp.path("a.ogg"), 300, 0.3);
    b.name = "b";
    b.filename = writeTone(tmp.path("b.ogg"), 400, 0.3);
    RecordingHandler music;
    {
        MusicManager manager;
        manager.setHandler(&music);
        manager.addAsLast(&a);
        manager.addAsLast(&b);
        manager.play();
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(3);
        while (music.names('d').size() < 2 && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        EXPECT_EQ(music.names('d'), (std::vector<std::string>{"a", "b"}));
        EXPECT_TRUE(manager.isPlaying());
    }
}
}  // namespace

TEST(SilentAudio, DisabledAudioTouchesNoDeviceAndStillWorks) {
    TempDir tmp;
    ASSERT_EQ(SDL_Init(SDL_INIT_TIMER), 0);
    enabled = false;
    init("", 44100);
    EXPECT_EQ(device, nullptr);
    runSilently(tmp);
    cleanUp();
    enabled = true;
    SDL_Quit();
}

TEST(SilentAudio, NoDefaultDeviceRunsSilentButANamedOneMustExist) {
    // OpenAL reads its configuration once per process, so this runs in a fresh one.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            TempDir tmp;
            // The wave backend without a file cannot open: like a machine without sound.
            std::string conf = tmp.path("alsoft.conf");
            writeFile(conf, "[general]\ndrivers = wave\n");
            setenv("ALSOFT_CONF", conf.c_str(), 1);
            unsetenv("ALSOFT_DRIVERS");
            SDL_Init(SDL_INIT_TIMER);
            try {
                init("no such device", 44100);
                std::fprintf(stderr, "named device opened\n");
                std::exit(1);
            } catch (const std::string& e) {
                std::fprintf(stderr, "named device: %s\n", e.c_str());
            }
            init("", 44100);
            if (device)
                std::exit(2);
            runSilently(tmp);
            cleanUp();
            std::fprintf(stderr, "%s\n",
                         ::testing::Test::HasFailure() ? "silent run failed" : "silent run ok");
            std::exit(::testing::Test::HasFailure() ? 3 : 0);
        },
        ::testing::ExitedWithCode(0), "named device: ALC_INVALID_VALUE(.|\n)*silent run ok");
}
