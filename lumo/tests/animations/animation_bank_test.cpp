#include "gfx/animations/animation_bank.hpp"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "debug/log.hpp"
#include "gfx/images/image_bank.hpp"
#include "lumo/convert.hpp"
#include "resources/resource_manager.hpp"
#include "support/temp_dir.hpp"

using lumo::gfx::Animation;
using lumo::gfx::AnimationBank;
using lumo::gfx::ImageBank;

namespace {

// Reads `resources` as a resources file, keeping what it logged; the banks stay with the test.
struct Banks {
    explicit Banks(const std::string& resources) {
        lumo::debug::nameFrameworkGroups();
        testing::internal::CaptureStdout();
        manager.load(dir.write("resources.xml", resources), "");
        log = testing::internal::GetCapturedStdout();
    }
    ~Banks() {
        for (auto& entry : manager.banks)
            owned.emplace_back(entry.second);
        manager.clear();
    }
    // The image bank and name of each frame's image ("-:" for none) and each frame's delay.
    std::string frames(const std::string& bank, const std::string& animation) {
        const Animation* a = dynamic_cast<AnimationBank*>(manager[bank])->at(animation);
        if (!a)
            return "(none)";
        std::string text;
        for (const lumo::gfx::AnimationFrame& frame : a->frames) {
            const auto* image = dynamic_cast<const lumo::gfx::ImageResource*>(frame.image);
            std::string bank = "-";
            for (auto& entry : manager.banks)
                bank = image && entry.second == image->owner ? entry.first : bank;
            text += bank + ":" + (image ? image->name : "") + "/" + lumo::toStr(frame.delay) + " ";
        }
        return text + (a->loop ? "loop" : "once");
    }
    bool logged(const std::string& line) const { return log.find(line) != std::string::npos; }

    lumo::testing::TempDir dir;
    lumo::ResourceManager manager;
    std::vector<std::unique_ptr<lumo::BasicResourceBank>> owned;
    std::string log;
};

TEST(AnimationBank, ReadsFramesFromTheNamedImageBankAndSkipsEntriesWithoutNames) {
    Banks banks(R"(<resources>
  <images name="pics">
    <image name="walk01" filename="w1.png"/><image name="stand" filename="s.png"/>
  </images>
  <animations name="anims" imageBank="pics">
    <animation name="walk" delay="40" loop="true">
      <frame image="walk01"/><frame image="stand" delay="7"/><something image="stand"/>
    </animation>
    <animation name="idle"><frame image="stand"/><frame/><frame image="missing"/></animation>
    <animation delay="5"><frame image="stand"/></animation>
    <animation name="jump" delay="3"><frame image="stand"/></animation>
    <animation name="jump" delay="4"><frame image="walk01"/></animation>
  </animations>
</resources>)");
    EXPECT_EQ(3u, dynamic_cast<AnimationBank*>(banks.manager["anims"])->size());
    EXPECT_EQ("pics:walk01/40 pics:stand/7 loop", banks.frames("anims", "walk"));
    // No `loop` means once; an unknown image gives a frame without one; the later of two
    // animations of one name replaces the earlier.
    EXPECT_EQ("pics:stand/10 -:/10 once", banks.frames("anims", "idle"));
    EXPECT_EQ("pics:walk01/4 once", banks.frames("anims", "jump"));
    EXPECT_TRUE(banks.logged("[lumo:images] (error) No name specified for animation. Skipping."));
    EXPECT_TRUE(banks.logged(
        "[lumo:images] (error) No name specified for animation frame image. Skipping."));
}

TEST(AnimationBank, LoopsNameAnimationsInPlainDecimalFramesZeroPaddedAndCanSwitchBanks) {
    Banks banks(R"(<resources>
  <images name="a">
    <loop var="i" from="1" to="3" digits="2"><image name="walk[i]" filename="[i].png"/></loop>
  </images>
  <images name="b"><image name="walk01" filename="b.png"/></images>
  <animations name="anims" imageBank="a">
    <loop var="i" from="1" to="2" digits="2">
      <animation name="run[i]" delay="50">
        <frame image="walk[i]"/>
        <loop var="j" from="3" to="2" step="-1" digits="2"><frame image="walk[j]"/></loop>
      </animation>
    </loop>
    <loop var="k" from="1" to="1" imageBank="b"><animation name="fromB"/></loop>
    <loop var="k" from="1" to="2" imageBank="b"><animation name="fromB">
      <frame image="walk01"/></animation></loop>
  </animations>
  <animations name="lost" imageBank="nowhere"><animation name="x"><frame image="walk01"/>
  </animation></animations>
</resources>)");
    EXPECT_EQ("a:walk01/50 a:walk03/50 a:walk02/50 once", banks.frames("anims", "run1"));
    EXPECT_EQ("a:walk02/50 a:walk03/50 a:walk02/50 once", banks.frames("anims", "run2"));
    EXPECT_EQ("(none)", banks.frames("anims", "run01"));
    EXPECT_EQ("b:walk01/10 once", banks.frames("anims", "fromB"));
    EXPECT_TRUE(banks.logged(
        "[lumo:animations] (error) Loop range invalid: k [1;1] (step: 1). Skipping loop."));
    EXPECT_EQ("-:/10 once", banks.frames("lost", "x"));
    EXPECT_TRUE(banks.logged("Unknown image bank \"nowhere\"."));
}

// Found by feeding broken files: the second bank of a taken name destroyed the first while the
// animation frames still pointed into it.
TEST(AnimationBank, ABankNameTakenAgainKeepsTheBankFramesPointInto) {
    Banks banks(R"(<resources>
  <images name="i"><image name="x" filename="x.png"/></images>
  <animations name="an" imageBank="i"><animation name="a"><frame image="x"/></animation>
  </animations>
  <images name="i"/>
</resources>)");
    EXPECT_EQ("i:x/10 once", banks.frames("an", "a"));
    EXPECT_TRUE(banks.logged("[lumo:resources] (error) Resource bank name \"i\" in \"" +
                             banks.dir.file("resources.xml") +
                             "\" is already taken. Skipping bank."));
}

// Loops that would generate more than 100,000 entries are skipped with a message naming the
// file; the animation that holds one keeps its other frames.
TEST(AnimationBank, LoopsTooLargeAreSkippedNamingTheFile) {
    Banks banks(R"(<resources>
  <images name="i"><image name="x" filename="x.png"/></images>
  <animations name="an" imageBank="i">
    <loop var="n" to="2000000000"><animation name="a[n]"/></loop>
    <animation name="big"><frame image="x"/>
      <loop var="f" to="100000"><frame image="x"/></loop></animation>
  </animations>
</resources>)");
    EXPECT_EQ(1u, dynamic_cast<AnimationBank*>(banks.manager["an"])->size());
    EXPECT_EQ("i:x/10 once", banks.frames("an", "big"));
    const std::string file = " in \"" + banks.dir.file("resources.xml") + "\"";
    EXPECT_TRUE(banks.logged("[lumo:animations] (error) Loop n [0;2000000000] (step: 1)" + file +
                             " would generate more than 100000 entries. Skipping loop."));
    EXPECT_TRUE(banks.logged("Loop f [0;100000] (step: 1)" + file));
}

}  // namespace
