#include <gtest/gtest.h>

#include <SDL.h>

#include "tools/ticks.hpp"

using namespace lumo;

TEST(Ticks, CalcFpsAveragesOverBlocks) {
    fpsResolution = 10;
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(calcFPS(20), 0) << i;
    EXPECT_EQ(calcFPS(20), 50);  // 10 * 1000 / 200
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(calcFPS(5), 50);
    EXPECT_EQ(calcFPS(5), 200);
    // A block too fast for the millisecond counter must not divide by zero.
    for (int i = 0; i < 10; ++i)
        calcFPS(0);
    EXPECT_EQ(calcFPS(0), 10000);
    // Finish the started block, then average a smaller block with rounding.
    for (int i = 0; i < 9; ++i)
        calcFPS(0);
    fpsResolution = 3;
    calcFPS(1);
    calcFPS(1);
    EXPECT_EQ(calcFPS(1), 1000);
    calcFPS(2);
    calcFPS(2);
    EXPECT_EQ(calcFPS(3), 429);  // 3000 / 7 = 428.57
}

TEST(Ticks, ElapsedTicksRestartsTheMeasurement) {
    ASSERT_EQ(SDL_Init(SDL_INIT_TIMER), 0);
    getElapsedTicks();
    SDL_Delay(30);
    EXPECT_GE(getElapsedTicks(), 30u);
    EXPECT_LE(getElapsedTicks(), 1u);
    SDL_Quit();
}
