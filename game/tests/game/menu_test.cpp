// The title menu's fade (its keys are tested with the options pane, in the settings tests).

#include <gtest/gtest.h>

#include "game_test_support.hpp"
#include "menu.hpp"

namespace pimwarden {
namespace {

using testing::gameResources;

TEST(TitleMenu, FadesInOverFiveSecondsAndAHalfWhateverTheFrameLength) {
    gameResources();
    for (unsigned int len : {1u, 16u, 50u}) {
        Menu m;
        unsigned int elapsed = 0, opaqueAt = 0;
        while (m.state == msIntro && elapsed < 10000) {
            m.doPerform(1, len);
            elapsed += len;
            if (!opaqueAt && m.pictureAlpha >= 1.0f)
                opaqueAt = elapsed;
            if (m.state == msIntro) {
                EXPECT_LE(m.outlineAlpha, 1.0f);
            }
        }
        EXPECT_GE(opaqueAt, 5000u - len) << len;
        EXPECT_LE(opaqueAt, 5000u + len) << len;
        EXPECT_GE(elapsed, 5500u - len) << len;
        EXPECT_LE(elapsed, 5500u + 2 * len) << len;
        EXPECT_EQ(m.textAlpha, 1.0f);
    }
}

}  // namespace
}  // namespace pimwarden
