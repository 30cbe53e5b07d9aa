#include <gtest/gtest.h>

#include "lumo/convert.hpp"
#include "lumo/types.hpp"

using namespace lumo;

TEST(Values, RoundHalfUpKeepsWholeNumbers) {
    EXPECT_EQ((round<int, float>(2.5f)), 3);
    EXPECT_EQ((round<int, float>(-2.5f)), -2);
    EXPECT_EQ((round<int, float>(-4.0f)), -4);
    EXPECT_EQ((round<int, float>(-3.7f)), -4);
    EXPECT_EQ((round<int, float>(-0.2f)), 0);
    EXPECT_EQ((round<int, float>(7.49f)), 7);
    EXPECT_EQ((round<int, float>(0.0f)), 0);
}

TEST(Values, StringConversions) {
    EXPECT_EQ(toStr(42), "42");
    EXPECT_EQ(toStr(0.5f), "0.5");
    EXPECT_EQ(toStr(std::string("abc")), "abc");
    EXPECT_EQ(toStr(7, 3, '0'), "007");
    EXPECT_EQ(toStr(1234, 3, '0'), "1234");
    EXPECT_EQ(toStr(7, 0, '0'), "7");
    EXPECT_EQ(strTo<int>("12abc"), 12);
    EXPECT_EQ(strTo<int>("  -3"), -3);
    EXPECT_FLOAT_EQ(strTo<float>("2.5e1"), 25.0f);
    try {
        strTo<int>("abc");
        FAIL() << "no throw";
    } catch (const std::string& message) {
        EXPECT_EQ(message, "abc");
    }
}

TEST(Values, JustificationNamesAreExact) {
    EXPECT_EQ(justificationHorizontal("left"), jhLeft);
    EXPECT_EQ(justificationHorizontal("center"), jhCenter);
    EXPECT_EQ(justificationHorizontal("right"), jhRight);
    EXPECT_EQ(justificationVertical("bottom"), jvBottom);
    for (const char* bad : {"middle", "Center"}) {
        try {
            justificationVertical(bad);
            FAIL() << bad;
        } catch (const std::string& message) {
            EXPECT_EQ(message, std::string(bad) + " is not a valid JustificationVertical value.");
        }
    }
    EXPECT_THROW(justificationHorizontal("top"), std::string);
}

TEST(Values, ColorCodesAreEightHexDigits) {
    Color c;
    c.set("FF000080");
    EXPECT_EQ(c, Color(1, 0, 0, 128 / 255.0f));
    c.set("0x00FF00FF");
    EXPECT_EQ(c, Color(0, 1, 0, 1));
    c.set("FF0000");  // six digits shift everything one byte down
    EXPECT_EQ(c, Color(0, 1, 0, 0));
    c.set("zz");
    EXPECT_EQ(c, Color(0, 0, 0, 0));
}

TEST(Values, RectOverlapIsAsymmetricAtEdges) {
    Rect a(0, 0, 10, 10), b(10, 0, 5, 5);
    EXPECT_FALSE(a.overlap(b));
    EXPECT_TRUE(b.overlap(a));
    EXPECT_TRUE(a.overlap(Rect(5, 5, 1, 1)));
    EXPECT_FALSE(a.overlap(Rect(0, 20, 5, 5)));
    EXPECT_TRUE(Rect(0, 0, 3, 4) > Rect(0, 0, 2, 5));
}
