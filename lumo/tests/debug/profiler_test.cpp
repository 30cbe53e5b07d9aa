#include <gtest/gtest.h>

#include "debug/profiler.hpp"

using namespace lumo::debug;
using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

namespace {
void measure(ProfileData& node, float begin, float end) {
    node.beginTicks = begin;
    node.endTicks = end;
    node.update();
}
}  // namespace

TEST(Profiler, UpdateKeepsMinMaxAndAveragePrintIndentsChildrenAndGivesShares) {
    ProfileData root;
    ProfileData& draw = root.add("draw");
    ProfileData& text = draw.add("text");
    for (float ticks : {40, 60, 20, 40})
        measure(root, 0, ticks);
    measure(draw, 0, 30);
    measure(text, 0, 15);
    root.add("idle");  // never measured: printed not at all
    CaptureStdout();
    root.print("root");
    EXPECT_EQ(GetCapturedStdout(),
              "[profiling] root (current: 40ms/100.00%; min: 20ms; max: 60ms; avg: 40ms)\n"
              "[profiling]   draw (current: 30ms/75.00%; min: 30ms; max: 30ms; avg: 30ms)\n"
              "[profiling]     text (current: 15ms/50.00%; min: 15ms; max: 15ms; avg: 15ms)\n");

    // The count stops at 1000, turning the average into a running one.
    ProfileData node;
    for (int i = 0; i < 1200; ++i)
        measure(node, 0, 20);
    EXPECT_EQ(node.snapshotCount, 1000);
    measure(node, 0, 1020);
    EXPECT_FLOAT_EQ(node.avgTicks, 21);
}

TEST(Profiler, LoopWithSectionsAndOpenSectionWarning) {
    init();
    beginProfileLoop();
    beginProfileSection("a");
    endProfileSection();
    beginProfileSection("a");  // entered twice: both counted, the second is the last value
    endProfileSection();
    EXPECT_EQ(profileCurrent, &profileRoot);
    endProfileLoop();
    EXPECT_FALSE(profiling);
    EXPECT_EQ(profileRoot.subSections.at("a").snapshotCount, 2);

    beginProfileLoop();
    beginProfileSection("b");
    CaptureStdout();
    endProfileLoop();
    EXPECT_EQ(GetCapturedStdout(), "[profiling] (warning) Profile recursion incomplete.\n");
    EXPECT_EQ(profileCurrent, &profileRoot);

    // Sections outside a loop are ignored.
    beginProfileSection("outside");
    endProfileSection();
    EXPECT_EQ(profileRoot.subSections.count("outside"), 0u);

    CaptureStdout();
    printProfileStats();
    std::string out = GetCapturedStdout();
    EXPECT_EQ(out.rfind("[profiling]\n[profiling] Printing profiling information:\n"
                        "[profiling] root (current: ",
                        0),
              0u)
        << out;
}
