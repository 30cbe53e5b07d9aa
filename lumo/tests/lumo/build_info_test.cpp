#include "buildinfo/build_info.hpp"

#include <gtest/gtest.h>

#include <regex>

TEST(BuildInfo, VersionDateAndTime) {
    EXPECT_EQ("0.0", lumo::getVersion());
    // The compiler's forms: "Jun  3 2005" (a single-digit day padded with a blank), "01:47:55".
    EXPECT_TRUE(std::regex_match(lumo::getBuildDate(),
                                 std::regex("(Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|Nov|Dec) "
                                            "( [1-9]|[12][0-9]|3[01]) [0-9]{4}")))
        << lumo::getBuildDate();
    EXPECT_TRUE(
        std::regex_match(lumo::getBuildTime(), std::regex("[0-2][0-9]:[0-5][0-9]:[0-6][0-9]")))
        << lumo::getBuildTime();
    EXPECT_EQ("0.0 (" + lumo::getBuildDate() + ", " + lumo::getBuildTime() + ")",
              lumo::getFullVersion());
}
