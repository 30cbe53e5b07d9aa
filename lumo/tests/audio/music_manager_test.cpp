// The music queue on its own thread: order, pieces following each other, skipping, fading.

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "audio/music/music_manager.hpp"
#include "audio/resources/sample.hpp"
#include "audio_test_support.hpp"

using namespace lumo::audio;
using namespace audiotest;
using Clock = std::chrono::steady_clock;

namespace {
class MusicManagerTest : public AudioDeviceTest {
  protected:
    void piece(StreamedSample& s, const std::string& name, double hz, double seconds = 0.3) {
        s.name = name;
        s.filename = writeTone(tmp.path(name + ".ogg"), hz, seconds);
        s.bufferSize = 16384;
    }
    static bool waitFor(const std::function<bool()>& done, double seconds) {
        auto deadline = Clock::now() + std::chrono::duration<double>(seconds);
        while (!done()) {
            if (Clock::now() > deadline)
                return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return true;
    }
    static double since(Clock::time_point t) {
        return std::chrono::duration<double>(Clock::now() - t).count();
    }
    typedef std::vector<std::string> Names;
};
}  // namespace

TEST_F(MusicManagerTest, PiecesFollowEachOtherInQueueOrder) {
    StreamedSample a, b, c;
    piece(a, "a", 330);
    piece(b, "b", 660);
    piece(c, "c", 495);
    RecordingHandler handler;
    {
        MusicManager music;
        music.setHandler(&handler);
        EXPECT_FALSE(music.isPlaying());
        music.addAsLast(&a);
        music.addAsLast(&b);
        music.play();
        EXPECT_TRUE(music.isPlaying());
        EXPECT_EQ(music.getCurrentSample(), &a);
        music.addAsNext(&c);
        EXPECT_EQ(music.getQueueLength(), 2u);

        ASSERT_TRUE(waitFor([&] { return handler.names('d').size() == 3; }, 5));
        EXPECT_EQ(handler.names('i'), (Names{"a", "c", "b"}));
        EXPECT_EQ(handler.names('d'), (Names{"a", "c", "b"}));
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        EXPECT_TRUE(music.isPlaying()) << "an empty queue leaves the manager nominally playing";
        EXPECT_EQ(music.getCurrentSample(), nullptr);

        music.stop();
        EXPECT_FALSE(music.isPlaying());
        music.stop();  // nothing to stop
        EXPECT_FALSE(music.isPlaying());
    }
    Wave out = finishOutput();
    double ta = firstTimeAt(out, 330), tc = firstTimeAt(out, 495), tb = firstTimeAt(out, 660);
    ASSERT_GE(ta, 0);
    EXPECT_GT(tc, ta + 0.25);
    EXPECT_GT(tb, tc + 0.25);
    EXPECT_LT(tb, ta + 1.2) << "each piece starts right after the one before";
}

TEST_F(MusicManagerTest, PlayWhilePlayingAndSkipping) {
    StreamedSample a, b, c, d;
    piece(a, "a", 300, 1.0);
    piece(b, "b", 400, 1.0);
    piece(c, "c", 500, 1.0);
    piece(d, "d", 600, 1.0);
    RecordingHandler handler;
    MusicManager music;
    music.setHandler(&handler);
    for (StreamedSample* s : {&a, &b, &c, &d})
        music.addAsLast(s);
    music.play();
    music.play();
    EXPECT_EQ(music.getCurrentSample(), &b) << "started next to a, on the second source";
    EXPECT_TRUE(handler.names('d').empty());

    EXPECT_TRUE(music.skipToLast());
    EXPECT_EQ(music.getCurrentSample(), &d);
    EXPECT_EQ(music.getQueueLength(), 0u);
    EXPECT_EQ(handler.names('d'), (Names{"a", "b"}));
    EXPECT_EQ(handler.names('i'), (Names{"a", "b", "d"}));

    music.addAsLast(&c);
    EXPECT_TRUE(music.skipToNext());
    EXPECT_EQ(music.getCurrentSample(), &c);
    EXPECT_TRUE(music.isPlaying());
}

TEST_F(MusicManagerTest, AFadeStopsPlaybackAndRestoresTheVolume) {
    StreamedSample loop;
    piece(loop, "loop", 440);
    loop.properties.loop = true;
    RecordingHandler handler;
    MusicManager music;
    music.setHandler(&handler);
    music.addAsLast(&loop);
    music.play();
    std::this_thread::sleep_for(std::chrono::milliseconds(100));

    auto start = Clock::now();
    music.fadeOut(2000);
    EXPECT_EQ(music.getMode(), mmmFadeOut);
    std::this_thread::sleep_for(std::chrono::milliseconds(1000));
    float halfway = music.getCurrentVolume();
    EXPECT_TRUE(music.isPlaying());
    EXPECT_GT(halfway, 0.2f);
    EXPECT_LT(halfway, 0.65f);

    ASSERT_TRUE(waitFor([&] { return !music.isPlaying(); }, 4));
    double took = since(start);
    EXPECT_GT(took, 1.8);
    EXPECT_LT(took, 3.0);
    EXPECT_EQ(music.getCurrentVolume(), 1.0f);
    EXPECT_EQ(music.getMode(), mmmNormal);
    EXPECT_EQ(music.getCurrentSample(), nullptr);
    EXPECT_EQ(handler.names('d'), Names{"loop"});
}

TEST_F(MusicManagerTest, APieceThatCannotBeReadIsSkipped) {
    StreamedSample a, missing, b;
    piece(a, "a", 300);
    piece(b, "b", 400);
    missing.name = "missing";
    missing.filename = tmp.path("missing.ogg");
    RecordingHandler handler;
    MusicManager music;
    music.setHandler(&handler);

    // Called directly, the failure reaches the caller.
    music.addAsLast(&missing);
    EXPECT_THROW(music.play(), std::string);

    // Reached by itself on the music thread, it is logged and the next piece plays.
    music.addAsLast(&a);
    music.addAsLast(&missing);
    music.addAsLast(&b);
    music.play();
    ASSERT_TRUE(waitFor([&] { return handler.names('d').size() == 4; }, 5));
    EXPECT_EQ(handler.names('d'), (Names{"missing", "a", "missing", "b"}));
    EXPECT_TRUE(music.isPlaying());
}

TEST_F(MusicManagerTest, DestroyedWhilePlaying) {
    StreamedSample loop, next;
    piece(loop, "loop", 440);
    piece(next, "next", 550);
    loop.properties.loop = true;
    RecordingHandler handler;
    auto* music = new MusicManager;
    music->setHandler(&handler);
    music->addAsLast(&loop);
    music->addAsLast(&next);
    music->play();
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    music->setPlayingVolumes(0.5f);
    music->setVolume(0.7f);
    auto start = Clock::now();
    delete music;
    EXPECT_LT(since(start), 0.5);
    EXPECT_EQ(handler.names('d'), Names{"loop"}) << "the queued piece does not start";
}
