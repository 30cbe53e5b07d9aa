// Slider arithmetic: handle placement, the value a dragged handle stands for, clamped steps and
// the decoding of attribute texts.

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

#include "gui/slider/slider_geometry.hpp"

using namespace lumo::gui;

TEST(SliderGeometry, HandleStartsAtItsShareOfTheFreeTravel) {
    const struct {
        float value, min, max, size, bar;
        float start, length;
    } rows[] = {
        {5, 0, 10, 0.25f, 160, 60, 40},  // the worked example: bar 160, handle 40
        {0, 0, 10, 0.25f, 160, 0, 40},
        {10, 0, 10, 0.25f, 160, 120, 40},
        {-5, -10, 10, 0.5f, 100, 12.5f, 50},
        {3, 3, 3, 0.25f, 160, 0, 160},  // empty range: the handle fills the bar
        {1, 1, 1, 1.0f, 80, 0, 80},
        {20, 0, 10, 0.25f, 160, 240, 40},  // a value read out of range is shown where it is
    };
    for (const auto& r : rows) {
        HandleSpan s = handleSpan(r.value, r.min, r.max, r.size, r.bar);
        EXPECT_FLOAT_EQ(r.start, s.start) << r.value << " in " << r.min << ".." << r.max;
        EXPECT_FLOAT_EQ(r.length, s.length) << r.value << " in " << r.min << ".." << r.max;
    }
    // Ranges as wide as the types do not overflow.
    EXPECT_FLOAT_EQ(90, handleSpan(0, INT_MIN + 1, INT_MAX, 0.25f, 240).start);
    const float big = std::numeric_limits<float>::max();
    EXPECT_FLOAT_EQ(90, handleSpan(0.0f, -big, big, 0.25f, 240).start);
}

TEST(SliderGeometry, DraggedOffsetGivesAClampedValue) {
    // int: truncated toward zero after clamping
    const struct {
        float offset;
        int current, min, max;
        float size, bar;
        int value;
    } ints[] = {
        {60, 0, 0, 10, 0.25f, 160, 5},
        {96, 0, 0, 10, 0.25f, 160, 8},
        {95, 0, 0, 10, 0.25f, 160, 7},  // 7.9 -> 7
        {-50, 4, 0, 10, 0.25f, 160, 0},
        {500, 4, 0, 10, 0.25f, 160, 10},
        {10, 0, -10, 10, 0.5f, 100, -6},  // -6.0
        {11, 0, -10, 10, 0.5f, 100, -5},  // -5.6 -> -5 (toward zero)
        {30, 9, 5, 5, 0.25f, 160, 5},     // empty range: always min
        {30, 4, 0, 10, 1.0f, 160, 4},     // the handle fills the bar: no change
        {1e9f, 0, INT_MIN, INT_MAX, 0.25f, 160, INT_MAX},
        {-1e9f, 0, INT_MIN, INT_MAX, 0.25f, 160, INT_MIN},
    };
    for (const auto& r : ints)
        EXPECT_EQ(r.value, valueAtOffset(r.offset, r.current, r.min, r.max, r.size, r.bar))
            << "offset " << r.offset << " in " << r.min << ".." << r.max;

    EXPECT_FLOAT_EQ(0.75f, valueAtOffset(90.0f, 0.0f, 0.0f, 1.0f, 0.25f, 160.0f));
    EXPECT_FLOAT_EQ(-1.0f, valueAtOffset(-3.0f, 0.0f, -1.0f, 1.0f, 0.25f, 160.0f));
    EXPECT_FLOAT_EQ(2.5f, valueAtOffset(7.0f, 1.0f, 2.5f, 2.5f, 0.25f, 160.0f));
    // A drag reproduces the value whose handle position it started from.
    for (int v = 3; v <= 23; ++v) {
        const HandleSpan s = handleSpan(v, 3, 23, 0.3f, 173);
        EXPECT_EQ(v, valueAtOffset(s.start + 0.01f, 0, 3, 23, 0.3f, 173.0f));
    }
}

TEST(SliderGeometry, StepsStayInTheRange) {
    const struct {
        int value, delta, min, max, result;
    } rows[] = {
        {1, -3, 0, 10, 0},
        {5, 3, 0, 10, 8},
        {9, 3, 0, 10, 10},
        {20, -1, 0, 10, 10},
        {-4, 1, 0, 10, 0},
        {3, 0, 0, 10, 3},
        {7, 1, 7, 7, 7},
        {INT_MAX, 1, 0, INT_MAX, INT_MAX},
        {INT_MIN, -5, INT_MIN, 0, INT_MIN},
    };
    for (const auto& r : rows)
        EXPECT_EQ(r.result, steppedValue(r.value, r.delta, r.min, r.max))
            << r.value << " + " << r.delta;
    EXPECT_FLOAT_EQ(0.5f, steppedValue(0.25f, 0.25f, 0.0f, 1.0f));
    EXPECT_FLOAT_EQ(1.0f, steppedValue(0.9f, 0.25f, 0.0f, 1.0f));
}

TEST(SliderGeometry, DecodingRejectsTextsThatAreNoFiniteNumber) {
    int i = 42;
    EXPECT_TRUE(decodeSliderNumber("17", i));
    EXPECT_EQ(17, i);
    EXPECT_TRUE(decodeSliderNumber(" -3 units", i)) << "trailing text is ignored";
    EXPECT_EQ(-3, i);
    for (const char* bad : {"", "ten", "99999999999", "nan"}) {
        EXPECT_FALSE(decodeSliderNumber(bad, i)) << bad;
        EXPECT_EQ(-3, i) << bad;
    }
    float f = 0.5f;
    EXPECT_TRUE(decodeSliderNumber("2.25", f));
    EXPECT_FLOAT_EQ(2.25f, f);
    for (const char* bad : {"x1", "nan", "NaN", "inf", "-inf", "infinity", "1e39", "-1e39"}) {
        EXPECT_FALSE(decodeSliderNumber(bad, f)) << bad;
        EXPECT_FLOAT_EQ(2.25f, f) << bad;
    }
}
