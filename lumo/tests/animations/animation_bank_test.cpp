#include "gfx/animations/animation_bank.hpp"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "gfx/animations/animation_reference.hpp"
#include "gfx/images/image_bank.hpp"
#include "lumo/convert.hpp"
#include "resources/resource_manager.hpp"
#include "support/temp_dir.hpp"

using lumo::ResourceManager;
using lumo::gfx::Animation;
using lumo::gfx::AnimationBank;
using lumo::gfx::ImageBank;
using lumo::testing::TempDir;
using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

namespace {

// The image names of an animation's frames ("-" for a frame without image) and their delays.
std::string describe(const Animation* animation) {
    if (!animation)
        return "(none)";
    std::string text;
    for (const lumo::gfx::AnimationFrame& frame : animation->frames) {
        const auto* image = dynamic_cast<const lumo::gfx::ImageResource*>(frame.image);
        text += (image ? image->name : std::string("-")) + "/" + lumo::toStr(frame.delay) + " ";
    }
    return text;
}

// Reads `resources` as a resources file; the banks stay with the test (the manager does not
// destroy them).
class Banks {
  public:
    explicit Banks(const std::string& resources) {
        manager.load(dir.write("resources.xml", resources), "");
    }
    ~Banks() {
        for (auto& entry : manager.banks)
            owned.emplace_back(entry.second);
        manager.clear();
    }
    ImageBank* images(const std::string& name) { return dynamic_cast<ImageBank*>(manager[name]); }
    AnimationBank* animations(const std::string& name) {
        return dynamic_cast<AnimationBank*>(manager[name]);
    }

    TempDir dir;
    ResourceManager manager;
    std::vector<std::unique_ptr<lumo::BasicResourceBank>> owned;
};

TEST(AnimationBank, ReadsAnimationsWithFramesFromTheNamedImageBank) {
    Banks banks(R"(<resources>
  <images name="pics" dir="gfx/">
    <image name="walk01" filename="w1.png"/>
    <image name="walk02" filename="w2.png"/>
    <image name="stand" filename="s.png"/>
  </images>
  <animations name="anims" imageBank="pics">
    <animation name="walk" delay="40" loop="true">
      <frame image="walk01"/>
      <frame image="walk02" delay="7"/>
      <something image="stand"/>
    </animation>
    <animation name="idle">
      <frame image="stand"/>
      <frame/>
      <frame image="missing"/>
      <frame image="walk01"/>
    </animation>
    <animation delay="5"><frame image="stand"/></animation>
    <animation name="walk" delay="3"><frame image="stand"/></animation>
  </animations>
</resources>)");
    AnimationBank* anims = banks.animations("anims");
    ASSERT_NE(nullptr, anims);
    EXPECT_EQ("animations", anims->getNodeName());
    // The second "walk" replaced the first; the unnamed one was skipped.
    EXPECT_EQ(2u, anims->size());
    EXPECT_EQ("stand/3 ", describe(anims->at("walk")));
    EXPECT_FALSE(anims->at("walk")->loop);
    // A frame without `image` is skipped, an unknown image gives a frame without one, and an
    // animation without `loop` does not loop.
    EXPECT_EQ("stand/10 -/10 walk01/10 ", describe(anims->at("idle")));
    EXPECT_FALSE(anims->at("idle")->loop);
    EXPECT_EQ(10.0f, anims->at("idle")->delay);
}

TEST(AnimationBank, LoopsNameAnimationsInPlainDecimalAndFrameImagesZeroPadded) {
    CaptureStdout();
    Banks banks(R"(<resources>
  <images name="pics">
    <loop var="i" from="1" to="3" digits="2">
      <image name="walk[i]" filename="walk[i].png"/>
    </loop>
  </images>
  <animations name="anims" imageBank="pics">
    <loop var="i" from="1" to="2" digits="2">
      <animation name="run[i]" delay="50" loop="1">
        <frame image="walk[i]"/>
        <loop var="j" from="3" to="2" step="-1" digits="2">
          <frame image="walk[j]" delay="[i]"/>
        </loop>
      </animation>
    </loop>
    <loop var="k" from="2" to="2"><animation name="never"/></loop>
    <loop from="1" to="2"><animation name="never2"/></loop>
  </animations>
</resources>)");
    const std::string log = GetCapturedStdout();
    AnimationBank* anims = banks.animations("anims");
    ASSERT_NE(nullptr, anims);
    EXPECT_EQ(2u, anims->size());
    // Frame delays are not name-like attributes: "[i]" reads as 0.
    EXPECT_EQ("walk01/50 walk03/0 walk02/0 ", describe(anims->at("run1")));
    EXPECT_EQ("walk02/50 walk03/0 walk02/0 ", describe(anims->at("run2")));
    EXPECT_TRUE(anims->at("run1")->loop);
    EXPECT_EQ(nullptr, anims->at("run01"));
    EXPECT_NE(std::string::npos, log.find("Loop range invalid: k [2;2] (step: 1). Skipping loop."));
    EXPECT_NE(std::string::npos, log.find("No variable specified for loop. Skipping loop."));
}

TEST(AnimationBank, ImageBankCanBeSwitchedByALoopAndUnknownBanksLeaveFramesEmpty) {
    CaptureStdout();
    Banks banks(R"(<resources>
  <images name="a"><image name="x" filename="a.png"/></images>
  <images name="b"><image name="x" filename="b.png"/></images>
  <animations name="anims" imageBank="a">
    <animation name="fromA"><frame image="x"/></animation>
    <loop var="i" from="1" to="2" imageBank="b">
      <animation name="fromB[i]"><frame image="x"/></animation>
    </loop>
  </animations>
  <animations name="lost" imageBank="nowhere">
    <animation name="blank" loop="true"><frame image="x"/><frame image="x"/></animation>
  </animations>
  <animations name="bare"><animation name="blank"><frame image="x"/></animation></animations>
</resources>)");
    const std::string log = GetCapturedStdout();
    AnimationBank* anims = banks.animations("anims");
    ASSERT_NE(nullptr, anims);
    const ImageBank* a = banks.images("a");
    const ImageBank* b = banks.images("b");
    ASSERT_NE(nullptr, anims->at("fromA"));
    EXPECT_EQ(a->at("x"), anims->at("fromA")->frames.at(0).image);
    ASSERT_NE(nullptr, anims->at("fromB2"));
    EXPECT_EQ(b->at("x"), anims->at("fromB2")->frames.at(0).image);

    EXPECT_NE(std::string::npos, log.find("Unknown image bank \"nowhere\"."));
    Animation* blank = banks.animations("lost")->at("blank");
    ASSERT_NE(nullptr, blank);
    EXPECT_EQ("-/10 -/10 ", describe(blank));
    EXPECT_EQ("-/10 ", describe(banks.animations("bare")->at("blank")));

    // A reference through frames without images advances and draws nothing.
    std::unique_ptr<lumo::gfx::AnimationReference> ref(blank->getReference(1.0f));
    ref->perform(11);
    EXPECT_EQ(1u, ref->getIndex());
    ref->draw(lumo::Vector2D(0, 0));
}

TEST(AnimationBank, TheGeneratorMakesAnimationBanksOnlyForItsType) {
    ResourceManager manager;
    std::unique_ptr<lumo::BasicResourceBank> bank(manager.createResourceBank("animations"));
    EXPECT_NE(nullptr, dynamic_cast<AnimationBank*>(bank.get()));
    EXPECT_EQ(nullptr, lumo::gfx::animationResourceBankGenerator.generateBank("Animations"));
    std::unique_ptr<lumo::BasicResourceBank> images(manager.createResourceBank("images"));
    EXPECT_NE(nullptr, dynamic_cast<ImageBank*>(images.get()));
}

TEST(AnimationBank, ABankFileReadsOnItsOwn) {
    TempDir dir;
    AnimationBank bank;
    bank.load(dir.write("anims.xml", R"(<animations>
  <animation name="solo" delay="2.5"><frame/><frame image="x"/></animation>
</animations>)"),
              "");
    ASSERT_NE(nullptr, bank.at("solo"));
    EXPECT_EQ("-/2.5 ", describe(bank.at("solo")));
    delete bank.at("solo");
    EXPECT_TRUE(bank.empty());
}

}  // namespace
