// Reading controls files, writing bindings back and reading them again, copying evaluators.

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
using namespace lumo::testing;

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
  <trigger name="pause" defaultKeyState="up" queue="0">
    <keyTranslator key="p"/><keyTranslator key="q" state="down"/>
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
        ::testing::internal::CaptureStdout();
        evaluator.load(dir.write("controls.xml", CONTROLS), "");
        return ::testing::internal::GetCapturedStdout();
    }

    /// The bindings of every trigger as saved bindings text.
    static std::string savedText(const InputEvaluator& evaluator) {
        xml::Node root("controls", nullptr);
        evaluator.addTranslatorsToTree(&root);
        return root.toString(0);
    }

    /// Every field and binding of every trigger, one line each, in name order.
    static std::string describe(const InputEvaluator& evaluator) {
        std::string text;
        for (const auto& entry : evaluator.map) {
            const Trigger* t = entry.second;
            text += entry.first + " " + std::to_string(t->id) + " \"" + t->humanName + "\" " +
                    std::to_string(t->data) + " \"" + t->dataString + "\" " +
                    (t->digital ? "on/off " : "analog ") + toStr(t->max) + " " +
                    toStr(t->defaultKeyState) + (t->queue ? " queued" : "") +
                    (t->enabled ? "" : " disabled") + " [" + t->keysToString(0) + "] [" +
                    t->joyToString(0, 0) + "]\n";
        }
        return text;
    }

    TempDir dir;
};

}  // namespace

TEST_F(Bindings, ControlsFileDefinesTriggersWithDefaultsAndBindings) {
    InputEvaluator evaluator;
    EXPECT_EQ("[lumo:controls] (warning) Enter is no valid key identifier.\n",
              loadControls(evaluator));
    EXPECT_EQ(
        "fire 7 \"Fire!\" 16 \"boom\" on/off 1 down queued [space;}] [1:b3]\n"
        "pause 0 \"\" 0 \"\" on/off 1 up [p;q] []\n"
        "player 1 \"Walk\" 0 \"\" analog 1 pressed [left;right] [0:a1;0:a2[-]]\n"
        "throttle 0 \"\" 0 \"\" analog 2 down queued [] []\n"
        // The second definition of a name replaced the first, bindings included.
        "twice 2 \"\" 0 \"\" on/off 1 down queued [b] []\n",
        describe(evaluator));
    EXPECT_EQ("}", evaluator.at("fire")->keysToString(2));
    EXPECT_EQ(7u, evaluator.translatorsKey.size());
    EXPECT_EQ(1u, evaluator.translatorsJoyButton.size());
    EXPECT_EQ(2u, evaluator.translatorsJoyAxis.size());

    // Bindings read under the element's own default state behave by it; pause is not queued
    // (queue="0"), so only its value tells.
    RecordingQueue queue;
    for (SDLKey key : {SDLK_p, SDLK_q})
        evaluator.evaluate(keyEvent(key, true), &queue);
    evaluator.evaluate(keyEvent(SDLK_p, false), &queue);
    evaluator.evaluate(keyEvent(SDLK_RIGHTBRACKET, true), &queue);
    evaluator.perform(0, &queue);
    EXPECT_EQ((std::vector<std::string>{"fire=2"}), queue.take());
    EXPECT_EQ(1.0f, evaluator.at("pause")->value);
}

TEST_F(Bindings, BanksComeFromResourcesFileAndBrokenFilesThrow) {
    ResourceManager manager;
    manager.load(dir.write("resources.xml", R"(<resources><inputEvaluator name="keys">
    <trigger name="quit" code="1"><keyTranslator key="esc"/></trigger>
    </inputEvaluator></resources>)"),
                 "");
    std::unique_ptr<BasicResourceBank> bank(manager["keys"]);
    manager.clear();
    InputEvaluator* keys = dynamic_cast<InputEvaluator*>(bank.get());
    ASSERT_NE(nullptr, keys);
    EXPECT_EQ("esc", keys->at("quit")->keysToString(0));

    // A broken file throws (the reader's message) and adds nothing.
    InputEvaluator evaluator;
    EXPECT_THROW(evaluator.load(dir.write("broken.xml", "<inputEvaluator><trigger>"), ""),
                 std::string);
    EXPECT_TRUE(evaluator.empty());
}

TEST_F(Bindings, SavedBindingsReadBackAsTheSameBindings) {
    InputEvaluator original;
    loadControls(original);
    Trigger* player = original["player"];
    new JoyButtonTranslator(player, 2, 9, ctrlDown, -1.0f);
    new JoyAxisTranslator(player, 1, 0, 1, -5, 300);
    const std::string file = dir.file("bindings.xml");
    {
        xml::Node root("bindings", nullptr);
        original.addTranslatorsToTree(&root);
        root.saveXML(file.c_str());
    }
    std::unique_ptr<xml::Node> saved(xml::loadXML(file.c_str()));
    // Only states that differ from the trigger's default are written.
    const std::string text = saved->toString(0);
    EXPECT_NE(std::string::npos, text.find(R"(<keyTranslator key="space" value="1"/>)")) << text;
    EXPECT_NE(std::string::npos,
              text.find(R"(<keyTranslator key="}" state="pressed" value="2"/>)"));

    // Into an evaluator of the same triggers without bindings; an element naming an unknown
    // trigger is skipped with a warning.
    std::unique_ptr<InputEvaluator> restored(original.clone());
    for (auto it = restored->begin(); it != restored->end(); ++it)
        it->clearTranslators();
    *saved += new xml::Node("trigger", nullptr);
    (*saved->children.back())["name"] = "nosuch";
    ::testing::internal::CaptureStdout();
    restored->getTranslatorsFromNode(saved.get());
    EXPECT_EQ(
        "[lumo:controls] (warning) No trigger \"nosuch\" to bind; its bindings are skipped.\n",
        ::testing::internal::GetCapturedStdout());
    EXPECT_EQ(savedText(original), savedText(*restored));
    EXPECT_EQ(original.translatorsKey.size(), restored->translatorsKey.size());
    EXPECT_EQ("0:a1;0:a2[-];1:a0[+];2:b9", restored->at("player")->joyToString(0, 0));
}

TEST_F(Bindings, CopiesAreIndependentAndCarryEveryField) {
    InputEvaluator original;
    loadControls(original);
    original.setDataOnAllTriggers(42);
    original["fire"]->enabled = false;
    std::unique_ptr<InputEvaluator> copy(original.clone());
    EXPECT_EQ(describe(original), describe(*copy));
    EXPECT_NE(std::string::npos,
              describe(*copy).find(" 42 \"boom\" on/off 1 down queued disabled"));
    EXPECT_EQ(copy.get(), copy->at("fire")->owner);

    // Cutting bindings of one value or direction leaves the others, and the original alone.
    Trigger* player = copy->at("player");
    player->clearKeyTranslators(-1.0f);
    EXPECT_EQ("right", player->keysToString(0));
    player->clearJoyAxisTranslators(-1);
    EXPECT_EQ("0:a1", player->joyAxisToString(0));
    copy->at("fire")->clearJoyButtonTranslators(0);
    EXPECT_TRUE(copy->translatorsJoyButton.empty());
    EXPECT_EQ(1u, original.translatorsJoyButton.size());
    EXPECT_EQ("left;right", original["player"]->keysToString(0));

    // Copying from itself must not empty the evaluator first; a trigger cloned into its own
    // evaluator would destroy itself.
    copy->copyFrom(&original);
    copy->copyFrom(copy.get());
    EXPECT_EQ(savedText(original), savedText(*copy));
    EXPECT_THROW(original["fire"]->clone(&original), std::string);
    EXPECT_EQ(5u, original.size());
}

// Values that name no key state, or numbers that do not fit their field, are reported with the
// text as written, and the default stays: a bad default key state would leave every binding
// that relies on it dead, and a bad maximum would make every value of the trigger NaN.
TEST_F(Bindings, BadKeyStatesAndNumbersAreReportedAndKeepTheDefaults) {
    InputEvaluator evaluator;
    ::testing::internal::CaptureStdout();
    evaluator.load(dir.write("bad.xml", R"(<inputEvaluator>
  <axis name="nan" max="nan"/>
  <axis name="huge" code="99999999999" max="1e39"/>
  <trigger name="dead" defaultKeyState="default"><keyTranslator key="a"/></trigger>
  <axis name="odd" defaultKeyState="sometimes"><joyButtonTranslator joy="300" button="2"/></axis>
</inputEvaluator>)"),
                   "");
    const std::string w = "[lumo:controls] (warning) ";
    EXPECT_EQ(
        w + "Attribute max=\"nan\" of <axis> is not a finite number; keeping 1.\n" + w +
            "Attribute code=\"99999999999\" of <axis> is out of range; keeping 0.\n" + w +
            "Attribute max=\"1e39\" of <axis> is not a finite number; keeping 1.\n" + w +
            "Invalid defaultKeyState \"default\" for trigger \"dead\"; keeping \"down\".\n" + w +
            "Invalid defaultKeyState \"sometimes\" for trigger \"odd\"; keeping "
            "\"pressed\".\n" +
            w + "Attribute joy=\"300\" of <joyButtonTranslator> is out of range; keeping 0.\n",
        ::testing::internal::GetCapturedStdout());
    EXPECT_EQ(
        "dead 0 \"\" 0 \"\" on/off 1 down queued [a] []\n"
        "huge 0 \"\" 0 \"\" analog 1 pressed [] []\n"
        "nan 0 \"\" 0 \"\" analog 1 pressed [] []\n"
        "odd 0 \"\" 0 \"\" analog 1 pressed [] [0:b2]\n",
        describe(evaluator));
    RecordingQueue queue;
    evaluator.evaluate(keyEvent(SDLK_a, true), &queue);
    EXPECT_EQ((std::vector<std::string>{"dead=1"}), queue.take()) << "the binding is alive";
}
