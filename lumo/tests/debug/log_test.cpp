#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "debug/log.hpp"
#include "debug/message_stack.hpp"

using namespace lumo::debug;
using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

TEST(Log, LevelThresholdPerGroupAndUndefinedGroups) {
    groups[50] = Group("test:warn", dlWarning);
    groups[51] = Group("test:none", dlNone);

    CaptureStdout();
    critical(50, "c%d", 1);
    error(50, "e");
    warning(50, "w %s", "x");
    info(50, "i");
    debug(50, "d");
    critical(51, "never");
    // A group never named is created as "undefined", at debug level.
    info(4711, "hello");
    debug(4711, "again");
    EXPECT_EQ(GetCapturedStdout(),
              "[test:warn] (critical) c1\n[test:warn] (error) e\n[test:warn] (warning) w x\n"
              "[undefined] (info) hello\n[undefined] (debug) again\n");
}

TEST(Log, FrameworkGroupsLevelNamesNullFormatsAndLongLines) {
    nameFrameworkGroups();
    std::string longText(5000, 'x');
    CaptureStdout();
    info(lumo::dbgCore, "Cleaning up.");
    warning(lumo::dbgResources, "%s", longText.c_str());
    info(lumo::dbgCore, nullptr);
    EXPECT_EQ(GetCapturedStdout(),
              "[lumo:core] (info) Cleaning up.\n[lumo:resources] (warning) " + longText + "\n");
    // Logging leaves the caller's message stack as it was.
    EXPECT_EQ(messageCount(), 0u);

    EXPECT_EQ(debugLevel("warning"), dlWarning);
    EXPECT_EQ(debugLevel("Warning"), dlNone);
    EXPECT_EQ(debugLevel("loud"), dlNone);
}

TEST(Log, LinesFromSeveralThreadsNeverInterleave) {
    groups[53] = Group("test:threads", dlDebug);
    const int perThread = 300;
    CaptureStdout();
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([t] {
            for (int i = 0; i < perThread; ++i)
                info(53, "thread %d line %d %s", t, i, "abcdefghijklmnopqrstuvwxyz");
        });
    for (auto& th : threads)
        th.join();
    std::string out = GetCapturedStdout();

    int lines = 0;
    std::size_t pos = 0;
    while (pos < out.size()) {
        std::size_t end = out.find('\n', pos);
        ASSERT_NE(end, std::string::npos);
        std::string line = out.substr(pos, end - pos);
        EXPECT_EQ(line.rfind("[test:threads] (info) thread ", 0), 0u) << line;
        EXPECT_EQ(line.substr(line.size() - 26), "abcdefghijklmnopqrstuvwxyz") << line;
        ++lines;
        pos = end + 1;
    }
    EXPECT_EQ(lines, 4 * perThread);
}
