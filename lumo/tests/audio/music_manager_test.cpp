// The music queue on its own thread: order, pieces following each other, skipping, fading,
// unreadable pieces and destruction while playing.

#include <memory>

#include "audio/music/music_manager.hpp"
#include "audio_test_support.hpp"

using namespace lumo::audio;
using namespace audiotest;

namespace {
class Music : public AudioDeviceTest {
  protected:
    void SetUp() override {
        AudioDeviceTest::SetUp();
        for (int i = 0; i < 4; ++i)
            makeStream(piece[i], tmp, std::string(1, char('a' + i)), 300 + 100 * i, 0.3);
        music.reset(new MusicManager);
        music->setHandler(&handler);
    }
    void TearDown() override {
        music.reset();  // its thread must end before the device closes
        AudioDeviceTest::TearDown();
    }
    void queue(std::initializer_list<int> pieces) {
        for (int i : pieces)
            music->addAsLast(&piece[i]);
    }

    StreamedSample piece[4];
    RecordingHandler handler;
    std::unique_ptr<MusicManager> music;
};
}  // namespace

TEST_F(Music, PiecesFollowEachOtherInQueueOrder) {
    EXPECT_FALSE(music->isPlaying());
    queue({0, 1});
    auto start = Clock::now();
    music->play();
    EXPECT_TRUE(music->isPlaying());
    EXPECT_EQ(music->getCurrentSample(), &piece[0]);
    music->addAsNext(&piece[2]);
    EXPECT_EQ(music->getQueueLength(), 2u);

    ASSERT_TRUE(waitFor([&] { return handler.events().size() == 6; }, 5));
    EXPECT_GT(since(start), 0.85) << "three pieces of 0.3 s, one after the other";
    EXPECT_EQ(handler.events(), (Names{"+a", "-a", "+c", "-c", "+b", "-b"}));
    sleepMs(100);
    EXPECT_TRUE(music->isPlaying()) << "an empty queue leaves the manager nominally playing";
    EXPECT_EQ(music->getCurrentSample(), nullptr);
    music->stop();
    EXPECT_FALSE(music->isPlaying());
}

TEST_F(Music, PlayWhilePlayingAndSkipping) {
    queue({0, 1, 2, 3});
    music->play();
    music->play();
    EXPECT_EQ(music->getCurrentSample(), &piece[1]) << "started next to a, on the second source";
    EXPECT_TRUE(music->skipToLast());
    EXPECT_EQ(music->getCurrentSample(), &piece[3]);
    EXPECT_EQ(music->getQueueLength(), 0u);
    EXPECT_EQ(handler.events(), (Names{"+a", "+b", "-a", "-b", "+d"}));
    queue({2});
    EXPECT_TRUE(music->skipToNext());
    EXPECT_EQ(music->getCurrentSample(), &piece[2]);
    EXPECT_TRUE(music->isPlaying());
}

TEST_F(Music, AFadeStopsPlaybackAndTheManagerCanBeDestroyedWhilePlaying) {
    piece[0].properties.loop = piece[1].properties.loop = true;
    queue({0, 1, 2});
    music->play();
    sleepMs(100);
    auto start = Clock::now();
    music->fadeOut(2000);
    EXPECT_EQ(music->getMode(), mmmFadeOut);
    sleepMs(1000);
    EXPECT_TRUE(music->isPlaying());
    EXPECT_GT(music->getCurrentVolume(), 0.2f);
    EXPECT_LT(music->getCurrentVolume(), 0.65f);
    ASSERT_TRUE(waitFor([&] { return !music->isPlaying(); }, 4));
    EXPECT_GT(since(start), 1.8);
    EXPECT_LT(since(start), 3.0);
    EXPECT_EQ(music->getCurrentVolume(), 1.0f);
    EXPECT_EQ(music->getMode(), mmmNormal);
    EXPECT_EQ(music->getCurrentSample(), nullptr);
    EXPECT_EQ(handler.events(), (Names{"+a", "-a"})) << "the queue waits for the next play()";

    music->play();
    sleepMs(150);
    music->setPlayingVolumes(0.5f);
    music->setVolume(0.7f);
    start = Clock::now();
    music.reset();
    EXPECT_LT(since(start), 0.5);
    EXPECT_EQ(handler.events(), (Names{"+a", "-a", "+b", "-b"})) << "c does not start";
}

TEST_F(Music, APieceThatCannotBeReadIsSkipped) {
    piece[1].name = "missing";
    piece[1].filename = tmp.file("missing.ogg");
    // Called directly, the failure reaches the caller.
    queue({1});
    EXPECT_THROW(music->play(), std::string);
    // Reached by itself on the music thread, it is logged and the next piece plays.
    queue({0, 1, 2});
    music->play();
    ASSERT_TRUE(waitFor([&] { return handler.events().size() == 8; }, 5));
    EXPECT_EQ(handler.events(),
              (Names{"+missing", "-missing", "+a", "-a", "+missing", "-missing", "+c", "-c"}));
    EXPECT_TRUE(music->isPlaying());
}
