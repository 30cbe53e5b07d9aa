#include <gtest/gtest.h>

#include <set>

#include "math/random.hpp"

using namespace lumo;

TEST(Random, RangesIncludeBothIntegerEndsAndExcludeTheFloatMaximum) {
    std::srand(1);
    std::set<int> seen;
    for (int i = 0; i < 2000; ++i) {
        int v = random_int(3);
        ASSERT_GE(v, 0);
        ASSERT_LE(v, 3);
        seen.insert(v);
        int w = random(-2, 2);
        ASSERT_GE(w, -2);
        ASSERT_LE(w, 2);
        float f = random(1.5f, 2.5f);
        ASSERT_GE(f, 1.5f);
        ASSERT_LT(f, 2.5f);
    }
    EXPECT_EQ(seen, (std::set<int>{0, 1, 2, 3}));
}
