// Start-up failures end the process with the critical message and status 1.

#include <gtest/gtest.h>
#include <unistd.h>

#include "game_test_support.hpp"

namespace pimwarden {
namespace {

/// Starts the game over the stand-in data with `options`, its log on standard error (where
/// the death test reads it).
void startWith(const testing::StandInOptions& options, bool withData = true) {
    ::dup2(2, 1);
    if (withData)
        testing::prepareStart(options);
    else
        dataDirectory = testing::testDirs().data.path() + "/";
    new PimWarden;
    std::exit(0);  // not reached: start-up ends the process
}

TEST(StartUpDeathTest, MissingDataEndsWithItsMessageAndStatusOne) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    testing::StandInOptions noGui;
    noGui.withGui = false;
    EXPECT_EXIT(startWith(noGui), ::testing::ExitedWithCode(1),
                "\\[pimwarden:core\\] \\(critical\\) Could not load resources: gui not found");
    testing::StandInOptions noWall;
    noWall.missingImage = "wall";
    EXPECT_EXIT(startWith(noWall), ::testing::ExitedWithCode(1),
                "\\(critical\\) Could not load resources: image wall not found");
    EXPECT_EXIT(startWith(testing::StandInOptions(), false), ::testing::ExitedWithCode(1),
                "\\(critical\\) Could not load resources: .*resources.xml");
}

}  // namespace
}  // namespace pimwarden
