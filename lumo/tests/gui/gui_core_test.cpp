// The component tree and the GUI root without a window: the navigation grid, Tab order, event
// routing by focus, the mouse, the joystick axis table, components leaving the tree, and reading
// descriptions (bad ones included).

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "gfx/images/image_bank.hpp"
#include "gui/containers/pane.hpp"
#include "gui/standard/button.hpp"
#include "gui/styles/button_styles.hpp"
#include "gui/styles/label_style.hpp"
#include "gui/styles/rect_styles.hpp"
#include "gui/text/label.hpp"
#include "gui_helpers.hpp"
#include "sprites/sprites/sprite.hpp"

using namespace lumo;
using namespace lumo::gui;
using lumo::testing::GuiTest;
using ::testing::internal::CaptureStdout;
using ::testing::internal::GetCapturedStdout;

namespace {

/// Records the pointer calls it receives.
class Probe : public Component {
  public:
    Probe() { wantsFocus = true; }
    void enter(ControlQueue*, const Vector2D& p) override { calls.push_back("enter " + at(p)); }
    void leave(ControlQueue*, const Vector2D& p) override { calls.push_back("leave " + at(p)); }
    void mouseMove(ControlQueue*, const Vector2D& p) override { calls.push_back("move " + at(p)); }
    static std::string at(const Vector2D& p) {
        return std::to_string(static_cast<int>(p.x)) + "," + std::to_string(static_cast<int>(p.y));
    }
    std::vector<std::string> calls;
};

}  // namespace

TEST_F(GuiTest, GridNavigationWithSpansWrapAroundAndMoveTriggers) {
    load(R"(
      <Pane name="column"><Button name="a"/><Button name="b"/><Button name="c"/></Pane>
      <Pane name="grid">
        <Button name="wide" gridX="0" gridY="0" gridWidth="2"/>
        <Button name="r0" gridX="2" gridY="0"/>
        <Button name="l1" gridX="0" gridY="1"/>
        <Button name="m1" gridX="1" gridY="1"/>
        <Button name="r1" gridX="2" gridY="1"/>
        <Button name="half" gridX="-1" gridY="1"/>
      </Pane>
      <Pane name="triggers">
        <Button name="t1" triggerSouth="t.south"/><Button name="t2" triggerNorth="t.north"/>
      </Pane>)");
    struct Row {
        const char* from;
        SDLKey key;
        const char* to;
        std::vector<std::string> fired;
    };
    const Row rows[] = {
        // Placed without grid attributes: column 0, rows 0, 1, 2; moves wrap at the edges.
        {"c", SDLK_DOWN, "a", {}},
        {"a", SDLK_UP, "c", {}},
        {"a", SDLK_RIGHT, "a", {}},
        // A component spanning two columns: no East neighbour, wrap-around West.
        {"wide", SDLK_RIGHT, "wide", {}},
        {"wide", SDLK_LEFT, "r0", {}},
        {"wide", SDLK_UP, "l1", {}},
        {"r0", SDLK_RIGHT, "wide", {}},
        {"m1", SDLK_UP, "wide", {}},
        {"l1", SDLK_LEFT, "r1", {}},
        {"half", SDLK_DOWN, "half", {}},  // one negative grid coordinate: outside the grid
        // A move trigger fires instead of moving.
        {"t1", SDLK_DOWN, "t1", {"south"}},
        {"t1", SDLK_UP, "t2", {}},
        {"t2", SDLK_UP, "t2", {"north"}},
    };
    for (const Row& r : rows) {
        at(r.from)->setFocused(true);
        EXPECT_TRUE(key(r.key)) << r.from;
        EXPECT_EQ(r.to, focusedName()) << r.from << " key " << r.key;
        EXPECT_EQ(r.fired, fired()) << r.from;
    }
}

TEST_F(GuiTest, TabAndShiftTabOrder) {
    load(R"(
      <Pane name="p1">
        <Button name="a"/><Label name="l"/><Button name="b" enabled="0"/><Textfield name="c"/>
      </Pane>
      <Pane name="p2"><Button name="d"/><Pane name="inner"><Button name="e"/></Pane></Pane>)");
    struct Row {
        const char* from;  // null: the GUI itself
        SDLMod mod;
        const char* to;
    };
    const Row rows[] = {
        {nullptr, KMOD_NONE, "a"},  // the GUI's first focusable descendant
        {"a", KMOD_NONE, "c"},      // past a label and a disabled button
        {"c", KMOD_NONE, "a"},      // after the last child the pane starts again
        {"a", KMOD_LSHIFT, "c"},   {"c", KMOD_RSHIFT, "a"}, {"d", KMOD_NONE, "e"},
        {"e", KMOD_NONE, "e"},     {"d", KMOD_LSHIFT, "e"},
    };
    for (const Row& r : rows) {
        if (r.from)
            at(r.from)->setFocused(true);
        else
            root->setFocused(true);
        EXPECT_TRUE(key(SDLK_TAB, 9, r.mod));
        EXPECT_EQ(r.to, focusedName()) << (r.from ? r.from : "gui") << " mod " << r.mod;
    }
    // Focus flags follow the focus pointer up to the root.
    at("e")->setFocused(true);
    EXPECT_TRUE(at("inner")->isFocused() && at("p2")->isFocused() && root->isFocused());
    EXPECT_FALSE(at("p1")->isFocused() || at("a")->isFocused());
}

TEST_F(GuiTest, TabWithNothingFocusableLeavesTheFocus) {
    load(R"(<Pane name="p"><Label name="l1"/><Pane name="q"><Label name="l2"/></Pane></Pane>)");
    EXPECT_TRUE(key(SDLK_TAB, 9) && key(SDLK_TAB, 9, KMOD_LSHIFT));
    EXPECT_EQ(root.get(), root->getFocused());
}

TEST_F(GuiTest, EventsGoToTheFocusedComponentOnlyAndOnlyWhileActive) {
    load(R"(<Button name="a" trigger="t.ok"/><Button name="b" trigger="t.other"/>)");
    at("b")->setFocused(true);
    EXPECT_TRUE(key(SDLK_RETURN, 13));
    EXPECT_TRUE(joyButton(3, 0));
    EXPECT_FALSE(joyButton(0, 1));  // only button 0 clicks
    EXPECT_FALSE(key(SDLK_F1));
    EXPECT_EQ((std::vector<std::string>{"other", "other"}), fired());

    root->setActive(false);
    EXPECT_FALSE(key(SDLK_RETURN, 13) || key(SDLK_DOWN) || motion(10, 10) || button(true, 10, 10) ||
                 axis(0, 0, 32767));
    EXPECT_TRUE(fired().empty());
    EXPECT_EQ("b", focusedName());
}

TEST_F(GuiTest, FocusFollowsTheMouseAndAHeldButtonCapturesIt) {
    load(R"(<Button name="a" x="100" y="100" width="100" height="50" trigger="t.ok"/>
            <Pane name="p" x="300" y="100" width="200" height="200"/>)",
         R"(cursor="noSuchImage")");
    Probe* probe = new Probe;
    probe->setName("probe");
    probe->setDimensions(Rect(10, 20, 50, 50));
    *at("p") += probe;
    ASSERT_NE(nullptr, root->getMouseCursor());

    // The pointer onto the probe (window y counts down from the top of 600), then the button.
    EXPECT_TRUE(motion(320, 600 - 130));
    EXPECT_EQ("probe", focusedName());
    EXPECT_TRUE(motion(325, 600 - 135));
    EXPECT_TRUE(motion(150, 600 - 125));
    EXPECT_EQ("a", focusedName());
    EXPECT_EQ((std::vector<std::string>{"enter 320,130", "move 15,15", "leave 150,125"}),
              probe->calls);
    // The cursor sprite follows, clamped to the GUI.
    EXPECT_EQ(Vector2D(150, 125), root->getMouseCursor()->pos);
    motion(2000, 2000);
    EXPECT_EQ(Vector2D(799, 0), root->getMouseCursor()->pos);

    // Released over the button: a click; released elsewhere: nothing; back onto it: a click.
    struct Row {
        std::vector<std::pair<int, int>> path;  // pointer moves while held; the last releases
        std::vector<std::string> fired;
    };
    const Row rows[] = {{{{150, 475}}, {"ok"}},
                        {{{600, 100}}, {}},
                        {{{350, 300}}, {}},
                        {{{600, 100}, {160, 480}}, {"ok"}}};
    for (const Row& r : rows) {
        motion(150, 475);
        ASSERT_EQ("a", focusedName());
        EXPECT_TRUE(button(true, 150, 475));
        EXPECT_EQ(at("a"), root->getMouseCaptured());
        for (const auto& p : r.path)
            motion(p.first, p.second);
        const bool onIt = r.path.back().first < 200;
        EXPECT_EQ(onIt ? "a" : "gui", focusedName());  // not the pane or probe while held
        EXPECT_TRUE(button(false, r.path.back().first, r.path.back().second));
        EXPECT_EQ(nullptr, root->getMouseCaptured());
        EXPECT_EQ(r.fired, fired()) << r.path.back().first;
    }
}

TEST_F(GuiTest, AxisReportsOnlyChangesBetweenItsThreePositions) {
    load(R"(<Pane name="p"><Button name="a"/><Button name="b"/><Button name="c"/></Pane>)");
    at("a")->setFocused(true);
    struct Row {
        Uint8 joystick, axis;
        Sint16 value;
        bool used;
        const char* focus;
    };
    const Row rows[] = {
        {0, 1, 32767, true, "b"}, {0, 1, 20000, false, "b"},  {0, 1, 16000, true, "b"},
        {0, 1, 16001, true, "c"}, {0, 1, -32768, true, "b"},  {0, 1, -16001, false, "b"},
        {0, 1, 0, true, "b"},     {1, 1, -32767, false, "b"}, {0, 2, 32767, false, "b"},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(r.used, axis(r.joystick, r.axis, r.value)) << r.value;
        EXPECT_EQ(r.focus, focusedName()) << r.value;
    }
}

TEST_F(GuiTest, AComponentLeavingTheTreeHandsFocusAndCaptureBack) {
    load(R"(<Pane name="p" width="100" height="100"><Button name="a" width="50" height="50"/>
                <Button name="b"/></Pane>)",
         R"(cursor="x")");
    at("b")->setFocused(true);
    delete at("b");
    EXPECT_EQ(root.get(), root->getFocused());
    EXPECT_TRUE(root->isFocused());
    EXPECT_FALSE(at("p")->isFocused());

    motion(10, 590);
    button(true, 10, 590);
    Component* a = at("a");
    ASSERT_EQ(a, root->getMouseCaptured());
    *at("p") -= a;  // taken out, not destroyed
    EXPECT_EQ(nullptr, root->getMouseCaptured());
    EXPECT_EQ(root.get(), root->getFocused());
    delete a;
    EXPECT_TRUE(button(false, 10, 590));
    EXPECT_TRUE(motion(20, 580));

    // Destroying a whole pane with the focus inside it.
    load(R"(<Pane name="q"><Pane name="r"><Button name="c"/></Pane></Pane>)");
    at("c")->setFocused(true);
    delete at("q");
    EXPECT_EQ(root.get(), root->getFocused());
    EXPECT_TRUE(key(SDLK_TAB, 9));  // nothing left to point at a dead component

    try {
        *at("p") -= root.get();
        FAIL() << "removing a non-child must throw";
    } catch (const std::string& message) {
        EXPECT_EQ("Trying to remove a component which is not a child.", message);
    }
}

TEST_F(GuiTest, ReadingADescription) {
    CaptureStdout();
    load(R"(
      <PlainRectStyle name="frame" border="2" color="102030ff"/>
      <LabelStyle name="early" rect="later"/>
      <PlainRectStyle name="later"/>
      <LabelStyle name="label" rect="frame" font="frame"/>
      <ButtonStyle name="buttons" up="label" down="frame" upHot="nothing"/>
      <PlainRectStyle name="frame" border="9"/>
      <images><image name="i" file="missing.png"/></images>
      <Unknown name="u"><Button name="insideUnknown"/></Unknown>
      <Pane name="p" gridX="3" style="label">
        <Label name="target" caption="direct"/>
        <Button name="b" style="buttons" trigger="t.nothing" triggerWest="t.ok"/>
        <Button style="buttons" trigger="unqualified"/>
      </Pane>
      <Pane name="q"><Pane name="inner"><Label name="target" caption="deep"/></Pane></Pane>)");
    const std::string log = GetCapturedStdout();
    // Missing names and unqualified triggers are logged; the elements are still built.
    for (const char* line : {"(error) No name specified for style. Using empty name.",
                             "(critical) Not a fully qualified trigger name.",
                             "(warning) GUI has no image bank; its images element is skipped.",
                             "(warning) Style \"frame\" defined twice; the second one is ignored."})
        EXPECT_NE(std::string::npos, log.find(line)) << line;
    EXPECT_EQ(nullptr, (*root)["u"]);
    EXPECT_EQ(nullptr, (*root)["insideUnknown"]);
    EXPECT_EQ(3u, at("p")->size());
    EXPECT_EQ(-1, at("p")->getGridPos().y);  // one negative coordinate stays out of the grid

    // Styles: the first of a name stays; references resolve to earlier styles of the right
    // class only.
    StyleBank* styles = root->getStyles();
    PlainRectStyle* frame = styles->findStyle<PlainRectStyle>("frame");
    ASSERT_NE(nullptr, frame);
    EXPECT_EQ(2.0f, frame->border);
    EXPECT_EQ(nullptr, styles->findStyle<LabelStyle>("early")->rect);
    EXPECT_EQ(frame, styles->findStyle<LabelStyle>("label")->rect);
    EXPECT_EQ(nullptr, styles->findStyle<LabelStyle>("label")->font);
    ButtonStyle* buttons = styles->findStyle<ButtonStyle>("buttons");
    EXPECT_EQ(styles->findStyle<LabelStyle>("label"), buttons->up);
    EXPECT_EQ(nullptr, buttons->down);
    EXPECT_EQ(nullptr, as<Pane>("p")->getStyle());  // a label style is not a rectangle style
    EXPECT_EQ(buttons, as<Button>("b")->getStyle());

    // Triggers: a missing one gives none; move triggers resolve.
    EXPECT_EQ(nullptr, as<Button>("b")->getTrigger());
    EXPECT_EQ(triggers->at("ok"), at("b")->getTriggerMove(dirWest));

    // A direct child is found before a grandchild of the same name.
    EXPECT_EQ("direct", as<Label>("target")->getCaption());
    EXPECT_EQ("deep", dynamic_cast<Label*>((*at("q"))["target"])->getCaption());
}

TEST_F(GuiTest, BadFilesAndTriggersWithoutManager) {
    const std::string file = dir.write("broken.xml", "<gui name=\"g\">\n<Pane name=\"p\">\n</gui>");
    try {
        root->load(file, "");
        FAIL() << "a malformed file must throw";
    } catch (const std::string& message) {
        EXPECT_NE(std::string::npos, message.find(file)) << message;
        EXPECT_NE(std::string::npos, message.find("at line 3")) << message;
    }
    GUI lonely;
    CaptureStdout();
    EXPECT_THROW(lonely.findTrigger("t.ok"), std::string);
    EXPECT_NE(std::string::npos, GetCapturedStdout().find("(critical) Manager not yet set!"));
    EXPECT_EQ(triggers->at("ok"), root->findTrigger("t.ok"));
    EXPECT_EQ(nullptr, root->findTrigger("gui.ok"));  // a bank, but no input evaluator
    EXPECT_EQ(nullptr, root->findTrigger("nobank.ok"));
}

TEST(GuiBank, TheResourceManagerCreatesGuisForTheirBankType) {
    lumo::testing::TempDir dir;
    // A GUI takes its images from an image bank read before it (no texture is needed yet).
    const std::string file = dir.write("resources.xml", R"(<resources>
        <inputEvaluator name="keys"><trigger code="7" name="go"/></inputEvaluator>
        <images name="pics"><image name="dot" filename="dot.png"/></images>
        <gui name="menu" visible="true" imageBank="pics">
          <TexturedRectStyle name="frame" center="dot" color="ffffffff"/>
          <Button name="b" trigger="keys.go"/>
        </gui>
        <gui name="lost" imageBank="keys"/>
      </resources>)");
    std::unique_ptr<BasicResourceBank> keys, pics, menu, lost;
    ResourceManager manager;  // goes first: it clears the banks' pointers to itself
    CaptureStdout();
    manager.load(file, "");
    const std::string log = GetCapturedStdout();
    keys.reset(manager["keys"]);
    pics.reset(manager["pics"]);
    menu.reset(manager["menu"]);
    lost.reset(manager["lost"]);
    GUI* gui = dynamic_cast<GUI*>(menu.get());
    ASSERT_NE(nullptr, gui);
    Button* b = dynamic_cast<Button*>((*gui)["b"]);
    ASSERT_NE(nullptr, b);
    ASSERT_NE(nullptr, b->getTrigger());
    EXPECT_EQ(7, b->getTrigger()->id);
    auto* images = dynamic_cast<lumo::gfx::ImageBank*>(pics.get());
    ASSERT_EQ(images, gui->getImages());
    auto* frame = gui->getStyles()->findStyle<TexturedRectStyle>("frame");
    ASSERT_NE(nullptr, frame);
    EXPECT_EQ(images->at("dot"), frame->imgCenter);
    EXPECT_EQ(nullptr, dynamic_cast<GUI*>(lost.get())->getImages());
    EXPECT_NE(std::string::npos, log.find("Image bank \"keys\" not found.")) << log;
    EXPECT_EQ(nullptr, gui::resourceBankGenerator.generateBank("guis"));
}
