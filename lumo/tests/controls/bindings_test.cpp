// Reading controls files, writing bindings back and reading them again.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "controls/input_evaluator.hpp"
#include "controls/input_helpers.hpp"
#include "debug/log.hpp"
#include "resources/resource_manager.hpp"
#include "support/temp_dir.hpp"
#include "xml/node.hpp"

using namespace lumo;
using lumo::testing::keyEvent;
using lumo::testing::RecordingQueue;
using lumo::testing::TempDir;

namespace {

const char* const CONTROLS = R"(<?xml version="1.0"?>
<inputEvaluator>
  <trigger code="7" name="fire" description="Fire!" data="0x10" dataString="boom">
    <keyTranslator key="space"/>
    <keyTranslator key="Enter"/>
    <keyTranslator key="}" state="pressed" value="2"/>
    <joyButtonTranslator joy="1" button="3"/>
    <remark text="not a binding"/>
  </trigger>
  <axis code="1" name="player" description="Walk">
    <keyTranslator key="left" value="-1"/>
    <keyTranslator key="right"/>
    <joyAxisTranslator joy="0" axis="1" min="8000" max="32000"/>
    <joyAxisTranslator axis="2" direction="-1"/>
  </axis>
  <axis name="throttle" max="2" queue="true" defaultKeyState="down"/>
  <trigger name="pause" code="3" defaultKeyState="up" queue="0">
    <keyTranslator key="p"/>
    <keyTranslator key="q" state="down"/>
  </trigger>
  <sound name="ignored"/>
  <trigger name="twice" code="1"><keyTranslator key="a"/></trigger>
  <trigger name="twice" code="2"><keyTranslator key="b"/></trigger>
</inputEvaluator>
)";

class Bindings : public ::testing::Test {
  protected:
    void SetUp() override { debug::nameFrameworkGroups(); }

    /// Loads CONTROLS into `evaluator` and returns what was logged meanwhile.
    std::string loadControls(InputEvaluator& evaluator) {
        std::string file = dir.write("controls.xml", CONTROLS);
        ::testing::internal::CaptureStdout();
        evaluator.load(file, "");
        return ::testing::internal::GetCapturedStdout();
    }

    /// The bindings of every trigger as saved bindings text.
    static std::string savedText(const InputEvaluator& evaluator) {
        xml::Node root("controls", nullptr);
        evaluator.addTranslatorsToTree(&root);
        return root.toString(0);
    }

    TempDir dir;
};

}  // namespace

TEST_F(Bindings, ControlsFileDefinesTriggersWithDefaultsAndBindings) {
    InputEvaluator evaluator;
    std::string log = loadControls(evaluator);
    EXPECT_EQ(log, "[lumo:controls] (warning) Enter is no valid key identifier.\n");
    EXPECT_EQ(evaluator.getNodeName(), "inputEvaluator");
    ASSERT_EQ(evaluator.size(), 5u) << "fire, pause, player, throttle, twice";

    Trigger* fire = evaluator["fire"];
    ASSERT_NE(fire, nullptr);
    EXPECT_EQ(fire->owner, &evaluator);
    EXPECT_EQ(fire->id, 7);
    EXPECT_EQ(fire->humanName, "Fire!");
    EXPECT_EQ(fire->data, 16);
    EXPECT_EQ(fire->dataString, "boom");
    EXPECT_TRUE(fire->digital);
    EXPECT_TRUE(fire->queue);
    EXPECT_EQ(fire->max, 1.0f);
    EXPECT_EQ(fire->defaultKeyState, ctrlDown);
    EXPECT_EQ(fire->translators.size(), 3u);
    EXPECT_EQ(fire->keysToString(0), "space;}");
    EXPECT_EQ(fire->keysToString(2), "}");
    EXPECT_EQ(fire->joyButtonsToString(0), "1:b3");

    Trigger* player = evaluator["player"];
    ASSERT_NE(player, nullptr);
    EXPECT_FALSE(player->digital);
    EXPECT_FALSE(player->queue);
    EXPECT_EQ(player->max, 1.0f);
    EXPECT_EQ(player->defaultKeyState, ctrlPressed);
    EXPECT_EQ(player->keysToString(-1), "left");
    EXPECT_EQ(player->joyAxisToString(0), "0:a1;0:a2[-]");

    Trigger* throttle = evaluator["throttle"];
    ASSERT_NE(throttle, nullptr);
    EXPECT_EQ(throttle->max, 2.0f);
    EXPECT_TRUE(throttle->queue);
    EXPECT_EQ(throttle->defaultKeyState, ctrlDown);

    Trigger* pause = evaluator["pause"];
    ASSERT_NE(pause, nullptr);
    EXPECT_FALSE(pause->queue);
    EXPECT_EQ(pause->defaultKeyState, ctrlUp);

    // The second definition of a name replaced the first, bindings included.
    Trigger* twice = evaluator["twice"];
    ASSERT_NE(twice, nullptr);
    EXPECT_EQ(twice->id, 2);
    EXPECT_EQ(twice->keysToString(0), "b");
    EXPECT_EQ(evaluator.translatorsKey.size(), 7u);
    EXPECT_EQ(evaluator.translatorsJoyButton.size(), 1u);
    EXPECT_EQ(evaluator.translatorsJoyAxis.size(), 2u);

    // Bindings read under the element's own default state behave by it.
    RecordingQueue queue;
    evaluator.evaluate(keyEvent(SDLK_p, true), &queue);
    evaluator.evaluate(keyEvent(SDLK_q, true), &queue);
    evaluator.evaluate(keyEvent(SDLK_p, false), &queue);
    evaluator.evaluate(keyEvent(SDLK_a, true), &queue);
    evaluator.evaluate(keyEvent(SDLK_b, true), &queue);
    evaluator.evaluate(keyEvent(SDLK_RIGHTBRACKET, true), &queue);
    evaluator.perform(0, &queue);
    // pause is not queued (queue="0"): only its value tells.
    EXPECT_EQ(queue.take(), (std::vector<std::string>{"twice=1", "fire=2"}));
    EXPECT_EQ(pause->value, 1.0f);
}

TEST_F(Bindings, BanksComeFromResourcesFileAndBrokenFilesThrowWithFileAndLine) {
    std::string resources = dir.write("resources.xml", R"(<resources>
  <inputEvaluator name="keys" dir="sub/">
    <trigger name="quit" code="1"><keyTranslator key="esc"/></trigger>
  </inputEvaluator>
</resources>)");
    ResourceManager manager;
    manager.load(resources, "");
    std::unique_ptr<BasicResourceBank> bank(manager["keys"]);
    manager.clear();
    InputEvaluator* keys = dynamic_cast<InputEvaluator*>(bank.get());
    ASSERT_NE(keys, nullptr);
    ASSERT_NE(keys->at("quit"), nullptr);
    EXPECT_EQ(keys->at("quit")->keysToString(0), "esc");

    std::string broken = dir.write("broken.xml", "<inputEvaluator>\n  <trigger name=\"x\">\n");
    InputEvaluator evaluator;
    try {
        evaluator.load(broken, "");
        ADD_FAILURE() << "no throw";
    } catch (const std::string& message) {
        EXPECT_NE(message.find(broken), std::string::npos) << message;
        EXPECT_NE(message.find("line 3"), std::string::npos) << message;
    }
    EXPECT_TRUE(evaluator.empty());
}

TEST_F(Bindings, SavedBindingsReadBackAsTheSameBindings) {
    InputEvaluator original;
    loadControls(original);
    Trigger* player = original["player"];
    new JoyButtonTranslator(player, 2, 9, ctrlDown, -1.0f);
    new JoyAxisTranslator(player, 1, 0, 1, -5, 300);

    std::string file = dir.file("bindings.xml");
    {
        xml::Node root("bindings", nullptr);
        original.addTranslatorsToTree(&root);
        root.saveXML(file.c_str());
    }
    std::unique_ptr<xml::Node> saved(xml::loadXML(file.c_str()));
    ASSERT_EQ(saved->children.size(), 5u);
    // Only states that differ from the trigger's default are written.
    EXPECT_NE(saved->toString(0).find(R"(<keyTranslator key="space" value="1"/>)"),
              std::string::npos)
        << saved->toString(0);
    EXPECT_NE(saved->toString(0).find(R"(<keyTranslator key="}" state="pressed" value="2"/>)"),
              std::string::npos);
    EXPECT_NE(saved->toString(0).find(R"(<joyAxisTranslator axis="1" joy="0" max="32000")"),
              std::string::npos);

    // Bindings go into an evaluator of the same triggers that has none of them; an element
    // naming an unknown trigger is skipped.
    std::unique_ptr<InputEvaluator> restored(original.clone());
    for (auto it = restored->begin(); it != restored->end(); ++it)
        it->clearTranslators();
    EXPECT_TRUE(restored->translatorsKey.empty());
    xml::Node* stranger = new xml::Node("trigger", nullptr);
    (*stranger)["name"] = "nosuch";
    *stranger += new xml::Node("keyTranslator", nullptr);
    *saved.get() += stranger;
    ::testing::internal::CaptureStdout();
    restored->getTranslatorsFromNode(saved.get());
    EXPECT_EQ(::testing::internal::GetCapturedStdout(),
              "[lumo:controls] (warning) No trigger \"nosuch\" to bind; its bindings are "
              "skipped.\n");

    EXPECT_EQ(savedText(*restored), savedText(original));
    EXPECT_EQ(restored->translatorsKey.size(), original.translatorsKey.size());
    EXPECT_EQ(restored->translatorsJoyButton.size(), original.translatorsJoyButton.size());
    EXPECT_EQ(restored->translatorsJoyAxis.size(), original.translatorsJoyAxis.size());
    Trigger* again = restored->at("player");
    EXPECT_EQ(again->joyToString(0, 0), player->joyToString(0, 0));
    EXPECT_EQ(again->joyToString(0, 0), "0:a1;0:a2[-];1:a0[+];2:b9");

    // Rebinding a held trigger releases it: its old binding can never see the key go up.
    RecordingQueue queue;
    restored->evaluate(keyEvent(SDLK_LEFT, true), &queue);
    ASSERT_TRUE(again->isActive());
    restored->getTranslatorsFromNode(saved.get());
    EXPECT_FALSE(again->isActive());
    restored->perform(0, &queue);
    EXPECT_TRUE(queue.isEmpty());
}

TEST_F(Bindings, CopiesAreIndependentAndCarryEveryField) {
    InputEvaluator original;
    loadControls(original);
    original.setDataOnAllTriggers(42);
    original["fire"]->enabled = false;

    std::unique_ptr<InputEvaluator> copy(original.clone());
    ASSERT_EQ(copy->size(), original.size());
    for (auto it = original.begin(); it != original.end(); ++it) {
        const Trigger* a = *it;
        const Trigger* b = copy->at(it.name());
        ASSERT_NE(b, nullptr) << it.name();
        EXPECT_EQ(b->owner, copy.get());
        EXPECT_EQ(b->id, a->id);
        EXPECT_EQ(b->humanName, a->humanName);
        EXPECT_EQ(b->data, 42);
        EXPECT_EQ(b->dataString, a->dataString);
        EXPECT_EQ(b->digital, a->digital);
        EXPECT_EQ(b->max, a->max);
        EXPECT_EQ(b->defaultKeyState, a->defaultKeyState);
        EXPECT_EQ(b->queue, a->queue);
        EXPECT_EQ(b->enabled, a->enabled);
    }
    EXPECT_EQ(savedText(*copy), savedText(original));

    RecordingQueue queue;
    EXPECT_TRUE(copy->evaluate(keyEvent(SDLK_LEFT, true), &queue));
    EXPECT_EQ(copy->at("player")->value, -1.0f);
    EXPECT_EQ(original["player"]->value, 0.0f);

    // Cutting bindings of one value or direction leaves the others, and the copy alone.
    Trigger* player = copy->at("player");
    player->clearKeyTranslators(-1.0f);
    EXPECT_EQ(player->keysToString(0), "right");
    EXPECT_FALSE(player->isActive()) << "the binding that held it is gone";
    player->clearJoyAxisTranslators(-1);
    EXPECT_EQ(player->joyAxisToString(0), "0:a1");
    copy->at("fire")->clearJoyButtonTranslators(0);
    EXPECT_EQ(copy->translatorsJoyButton.size(), 0u);
    EXPECT_EQ(original.translatorsJoyButton.size(), 1u);
    EXPECT_EQ(original["player"]->keysToString(0), "left;right");

    // Copying from itself must not empty the evaluator first.
    copy->copyFrom(copy.get());
    EXPECT_EQ(copy->size(), original.size());
    copy->copyFrom(&original);
    EXPECT_EQ(savedText(*copy), savedText(original));
    EXPECT_THROW(original["fire"]->clone(&original), std::string);
    EXPECT_EQ(original.size(), 5u);
}
