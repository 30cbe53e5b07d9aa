#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "debug/log.hpp"
#include "debug/message_stack.hpp"

using namespace lumo::debug;
using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

TEST(MessageStack, PushPopOrderPreviousMessageAndCorruption) {
    addMessage("A");
    addLiteralMessage("B");
    EXPECT_EQ(getLatestMessage(), "B");
    std::string out;
    ASSERT_TRUE(popLatestMessage(out));
    EXPECT_EQ(out, "B");
    ASSERT_TRUE(popLatestMessage(out));
    EXPECT_EQ(out, "A");
    out = "untouched";
    EXPECT_FALSE(popLatestMessage(out));
    EXPECT_EQ(out, "untouched");
    EXPECT_EQ(previousMessage(), "A");
    EXPECT_EQ(getLatestMessage(), "");

    // The crash handler's access: no copies, no logging.
    addLiteralMessage("A");
    addMessage("B");
    EXPECT_STREQ(latestMessageRaw(), "B");
    EXPECT_STREQ(popMessageRaw(), "B");
    EXPECT_STREQ(popMessageRaw(), "A");
    EXPECT_EQ(popMessageRaw(), nullptr);

    // Popping an empty stack reports corruption.
    groups[0] = Group("app", dlDebug);
    addMessage("A");
    removeMessage();
    CaptureStdout();
    removeMessage();
    EXPECT_EQ(GetCapturedStdout(),
              "[app] (critical) Stack trace corrupted. Previous message was: \"A\".\n");
    EXPECT_EQ(messageCount(), 0u);
}

TEST(MessageStack, ScopePopsOnEveryExitPathAndReusesSlots) {
    auto thrower = [] {
        MessageScope scope("thrower()");
        EXPECT_EQ(getLatestMessage(), "thrower()");
        throw std::string("failed");
    };
    {
        MessageScope outer("outer()");
        EXPECT_THROW(thrower(), std::string);
        EXPECT_EQ(getLatestMessage(), "outer()");
        // An owned text in a slot is replaced cleanly by a later literal in the same slot.
        addMessage("dynamic text that is long enough to live on the heap");
        removeMessage();
        addLiteralMessage("literal");
        EXPECT_EQ(getLatestMessage(), "literal");
        removeMessage();
    }
    EXPECT_EQ(messageCount(), 0u);
    EXPECT_EQ(previousMessage(), "outer()");
}

TEST(MessageStack, EachThreadHasItsOwnStack) {
    MessageScope mainScope("main()");
    std::string seenInThread = "unset";
    std::size_t depthInThread = 99;
    std::thread t([&] {
        MessageScope scope("MusicManager::thread()");
        seenInThread = getLatestMessage();
        depthInThread = messageCount();
    });
    t.join();
    EXPECT_EQ(seenInThread, "MusicManager::thread()");
    EXPECT_EQ(depthInThread, 1u);
    EXPECT_EQ(getLatestMessage(), "main()");
    EXPECT_EQ(messageCount(), 1u);
}
