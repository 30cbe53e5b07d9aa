// The standard widgets fed with hand-made events: text field typing, auto-repeat, character
// filter and limit; button clicks and repeats; check boxes; the input captor.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gfx/fonts/font.hpp"
#include "gui/core/utf8.hpp"
#include "gui/standard/button.hpp"
#include "gui/standard/checkbox.hpp"
#include "gui/standard/input_captor.hpp"
#include "gui/styles/font_styles.hpp"
#include "gui/styles/label_style.hpp"
#include "gui/text/textfield.hpp"
#include "gui_helpers.hpp"

using namespace lumo;
using namespace lumo::gui;
using lumo::testing::GuiTest;

namespace {

/// A font that draws the Latin-1 letters but not the digits; it never touches OpenGL.
class LetterFont : public fonts::Font {
  public:
    Uint8 getHeight() const override { return 10; }
    Uint16 getWidth(const char* text) const override {
        Uint16 w = 0;
        for (; text && *text; ++text)
            if (!(*text >= '0' && *text <= '9'))
                w += 5;
        return w;
    }
    void print(const char*) override {}
    void release() override {}
    void load() override {}
};

}  // namespace

TEST_F(GuiTest, TextfieldAutoRepeatFollowsKeyDelayAndKeyRepeat) {
    load(R"(<Textfield name="tf" caption="abcd" triggerConfirm="t.confirm"/>)");
    Textfield* tf = as<Textfield>("tf");
    tf->setFocused(true);
    ASSERT_TRUE(type(8));  // backspace: one character at once
    EXPECT_EQ("abc", tf->getCaption());
    // Then after keydelay + keyrepeat (300 + 30), then every 30, down to empty.
    std::vector<std::pair<int, std::string>> changes;
    std::string last = tf->getCaption();
    for (int t = 10; t <= 600; t += 10) {
        perform(10);
        if (tf->getCaption() != last)
            changes.emplace_back(t, last = tf->getCaption());
    }
    EXPECT_EQ((std::vector<std::pair<int, std::string>>{{330, "ab"}, {360, "a"}, {390, ""}}),
              changes);

    // A held character repeats the same way until the key is released or the field is left;
    // one long frame gives every repeat it covered.
    type('x');
    perform(300 + 3 * 30);
    EXPECT_EQ("xxxx", tf->getCaption());
    EXPECT_TRUE(key(SDLK_x, 0, KMOD_NONE, false));
    perform(500);
    type('y');
    tf->leave(&queue, Vector2D());
    perform(1000);
    EXPECT_EQ("xxxxy", tf->getCaption());

    // Return confirms and ends the repeat; other keys navigate or go on to others.
    EXPECT_TRUE(type(13));
    EXPECT_EQ((std::vector<std::string>{"confirm"}), fired());
    EXPECT_FALSE(key(SDLK_ESCAPE, 27));
    EXPECT_TRUE(key(SDLK_TAB, 9));
}

TEST_F(GuiTest, TextfieldWithoutKeyRepeatDoesNotRepeat) {
    for (float repeat : {0.0f, -5.0f}) {
        load(R"(<Textfield name="tf"/>)");
        root->setKeyRepeat(300, repeat);
        Textfield* tf = as<Textfield>("tf");
        tf->setCaption("");
        tf->setFocused(true);
        type('q');
        perform(5000);  // must come back
        EXPECT_EQ("q", tf->getCaption()) << repeat;
        delete tf;
    }
}

TEST_F(GuiTest, TextfieldKeepsToItsFontAndLimitAndStoresUtf8) {
    load(R"(<Textfield name="plain"/><Textfield name="short" maxlength="3"/>
            <Textfield name="lettered" caption="Z"/>)");
    LetterFont font;
    SimpleFontStyle fontStyle;
    fontStyle.font = &font;
    LabelStyle labelStyle;
    labelStyle.font = &fontStyle;
    as<Textfield>("lettered")->setStyle(&labelStyle);

    struct Row {
        const char* field;
        std::vector<Uint16> typed;
        std::string text;
    };
    const Row rows[] = {
        // No font: printable ASCII only; everything printable is used, kept or not.
        {"plain", {'A', ' ', '~', 127, 0xFC, 0x263A, '1'}, "A ~1"},
        {"short", {'a', 'b', 'c', 'd', 'e'}, "abc"},
        {"short", {8, 'x', 'y'}, "abx"},
        // A font that draws Latin-1 letters: "ü" is kept as UTF-8; its digits are refused.
        {"lettered",
         {0xFC, '7', 'e', 0x263A},
         "Z\xC3\xBC"
         "e"},
        // Backspace takes whole characters.
        {"lettered", {8, 8}, "Z"},
        {"lettered", {0xE9, 0xE8, 8}, "Z\xC3\xA9"},
    };
    for (const Row& r : rows) {
        Textfield* tf = as<Textfield>(r.field);
        tf->setFocused(true);
        for (Uint16 u : r.typed) {
            EXPECT_TRUE(type(u)) << r.field << " " << u;
            key(SDLK_a, 0, KMOD_NONE, false);
        }
        EXPECT_EQ(r.text, tf->getCaption()) << r.field;
    }
    // What the font is given to print: one byte per character.
    EXPECT_EQ("Z\xE9", utf8ToFontBytes(as<Textfield>("lettered")->getCaption().c_str()));
    EXPECT_EQ("a?\xFF\xC3", utf8ToFontBytes("a\xE2\x98\xBA\xC3\xBF\xC3"));
}

TEST_F(GuiTest, ButtonClicksAndRepeats) {
    load(R"(<Button name="plain" x="0" y="0" width="100" height="100" trigger="t.ok"/>
            <Button name="rep" x="200" y="0" width="100" height="100" repeat="1"
                    trigger="t.other"/>)",
         R"(cursor="c")");
    // A repeating button held for 300 + 3 x 30: once on the press, after 300, 330, 360 and
    // 390 while held, and once on the release, even off the button.
    motion(250, 550);
    ASSERT_EQ("rep", focusedName());
    button(true, 250, 550);
    EXPECT_EQ(1u, fired().size());
    EXPECT_EQ(ButtonState(bsDown | bsHot), as<Button>("rep")->getState());
    for (int t = 0; t < 39; ++t)
        perform(10);
    EXPECT_EQ(4u, fired().size());
    motion(600, 100);
    EXPECT_TRUE(as<Button>("rep")->isDown());  // down for as long as it is held
    button(false, 600, 100);
    EXPECT_EQ((std::vector<std::string>{"other"}), fired());
    perform(1000);
    EXPECT_TRUE(fired().empty());

    // A normal button looks down only while the pointer is on it.
    motion(50, 550);
    button(true, 50, 550);
    EXPECT_EQ(ButtonState(bsDown | bsHot), as<Button>("plain")->getState());
    motion(600, 100);
    EXPECT_EQ(bsUp, as<Button>("plain")->getState());
    button(false, 600, 100);
    EXPECT_TRUE(fired().empty());

    // Keys by Unicode value and joystick button 0 click.
    as<Button>("plain")->setFocused(true);
    EXPECT_TRUE(key(SDLK_KP_ENTER, 13) && key(SDLK_SPACE, 32) && joyButton(0, 0));
    EXPECT_FALSE(joyButton(0, 1) || key(SDLK_a, 'a'));
    EXPECT_EQ(3u, fired().size());
}

TEST_F(GuiTest, CheckboxTriggers) {
    load(R"(<Checkbox name="both" trigger="t.ok" width="50" height="50"/>
            <Checkbox name="split" trigger="t.ok" triggerOn="t.on" triggerOff="t.off"
                      x="100" width="50" height="50"/>)",
         R"(cursor="c")");
    Checkbox* both = as<Checkbox>("both");
    both->setFocused(true);
    EXPECT_TRUE(key(SDLK_SPACE, 32) && both->getChecked());
    EXPECT_TRUE(key(SDLK_RETURN, 13) && !both->getChecked());
    EXPECT_FALSE(key(SDLK_a, 'a'));
    EXPECT_EQ((std::vector<std::string>{"ok", "ok"}), fired());

    Checkbox* split = as<Checkbox>("split");
    // Released over it toggles; released off it does not.
    motion(120, 580);
    button(true, 120, 580);
    button(false, 120, 580);
    button(true, 120, 580);
    motion(500, 100);
    button(false, 500, 100);
    split->setFocused(true);
    EXPECT_TRUE(joyButton(0, 0));
    EXPECT_EQ((std::vector<std::string>{"on", "off"}), fired());
}

TEST_F(GuiTest, InputCaptorRecordsOneInputWhileEnabled) {
    load(R"(<Button name="before"/>
            <InputCaptor name="cap" triggerKey="t.key" triggerJoyButton="t.joyB"
                         triggerJoyAxis="t.joyA"/>)");
    InputCaptor* cap = as<InputCaptor>("cap");
    cap->setFocused(true);
    EXPECT_TRUE(key(SDLK_TAB, 9));  // recorded, not a focus move
    EXPECT_EQ(SDLK_TAB, cap->getKey());
    EXPECT_EQ("cap", focusedName());
    EXPECT_FALSE(cap->getEnabled());
    EXPECT_TRUE(key(SDLK_UP));  // used but not recorded once disabled
    EXPECT_EQ(SDLK_TAB, cap->getKey());
    EXPECT_EQ((std::vector<std::string>{"key"}), fired());

    cap->setEnabled(true);
    EXPECT_TRUE(axis(2, 1, -30000));
    EXPECT_EQ((std::vector<int>{2, 1, -1}),
              (std::vector<int>{cap->getJoy(), cap->getJoyAxis(), cap->getJoyAxisDirection()}));
    cap->setEnabled(true);
    EXPECT_TRUE(joyButton(1, 7));
    EXPECT_EQ((std::vector<int>{1, 7}), (std::vector<int>{cap->getJoy(), cap->getJoyButton()}));
    EXPECT_EQ((std::vector<std::string>{"joyA", "joyB"}), fired());
}
