// Sliders read from GUI descriptions: the layout of buttons, bar and handle, every way of
// changing the value (keys, wheel, clicks beside the handle, step buttons, dragging), the empty
// range, and the warnings for attribute texts that give no usable value.

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "gui/slider/slider.hpp"
#include "gui/standard/button.hpp"
#include "gui_lists_helpers.hpp"

using namespace lumo;
using namespace lumo::gui;
using namespace lumo::testing;
using ::testing::internal::CaptureStdout;
using ::testing::internal::GetCapturedStdout;

namespace {

template <class S>
S* sliderIn(GUI& gui) {
    S* s = dynamic_cast<S*>(gui["s"]);
    EXPECT_NE(nullptr, s);
    return s;
}

// "x,y wxh" of a rectangle, or of a component's ("none" for null).
std::string str(const Rect& r) {
    std::ostringstream out;
    out << r.pos.x << "," << r.pos.y << " " << r.dimensions.x << "x" << r.dimensions.y;
    return out.str();
}
std::string rectOf(const Component* c) {
    return c ? str(Rect(c->getPos(), c->getDimensions())) : "none";
}

// A slider's settings in one line: "min..max by small/large at value, size s[, vertical]".
template <class S>
std::string describe(const S& s) {
    std::ostringstream out;
    out << s.getMin() << ".." << s.getMax() << " by " << s.getStepSmall() << "/" << s.getStepLarge()
        << " at " << s.getValue() << ", size " << s.getSize()
        << (s.getOrientation() == orVertical ? ", vertical" : "");
    return out.str();
}

// The warning lines of a log text.
std::vector<std::string> warnings(const std::string& log) {
    std::vector<std::string> out;
    std::istringstream in(log);
    for (std::string line; std::getline(in, line);)
        if (line.find("(warning)") != std::string::npos)
            out.push_back(line);
    return out;
}

}  // namespace

TEST(Slider, ButtonsBarAndHandleAreLaidOutAlongTheSlider) {
    std::unique_ptr<GUI> gui = buildGui(
        "<Slider_int name=\"s\" width=\"200\" height=\"20\" buttonsBefore=\"both\" "
        "buttonsAfter=\"none\" min=\"0\" max=\"10\" value=\"5\" size=\"0.25\"/>");
    Slider_int* s = sliderIn<Slider_int>(*gui);
    ASSERT_NE(nullptr, s);
    EXPECT_EQ("0,0 20x20", rectOf((*s)["bDecBefore"]));
    EXPECT_EQ("20,0 20x20", rectOf((*s)["bIncBefore"]));
    EXPECT_EQ("40,0 160x20", str(s->getBarRect()));
    EXPECT_EQ("100,0 40x20", str(s->calculateHandleRect()))
        << "40 long, starting 60 after the bar's start";

    s->setButtonsBefore(sbNone);
    EXPECT_EQ(0u, s->getChildren().size());
    EXPECT_EQ("0,0 200x20", str(s->getBarRect())) << "the full length comes back";
    s->setButtonsAfter(sbBoth);
    EXPECT_EQ("160,0 20x20", rectOf((*s)["bDecAfter"]));
    EXPECT_EQ("180,0 20x20", rectOf((*s)["bIncAfter"]));
    EXPECT_EQ("0,0 160x20", str(s->getBarRect()));
    s->setDimensions(Rect(5, 5, 15, 20));  // shorter than its button: no negative bar
    EXPECT_FLOAT_EQ(0, s->getBarSize());
    EXPECT_EQ("0,0 0x20", str(s->calculateHandleRect()));

    gui = buildGui(
        "<Slider_float name=\"s\" width=\"20\" height=\"200\" orientation=\"vertical\" "
        "buttonsBefore=\"dec\" buttonsAfter=\"inc\" min=\"-1\" max=\"1\" size=\"0.5\"/>");
    Slider_float* v = sliderIn<Slider_float>(*gui);
    ASSERT_NE(nullptr, v);
    EXPECT_EQ("0,0 20x20", rectOf((*v)["bDecBefore"]));
    EXPECT_EQ(nullptr, (*v)["bIncBefore"]);
    EXPECT_EQ("0,180 20x20", rectOf((*v)["bIncAfter"]));
    EXPECT_EQ("0,20 20x160", str(v->getBarRect()));
    EXPECT_EQ("0,60 20x80", str(v->calculateHandleRect()))
        << "value 0 halfway along the free 80 units";
}

TEST(Slider, KeysWheelClicksAndStepButtonsChangeTheValueWithinTheRange) {
    std::unique_ptr<GUI> gui = buildGui(
        "<Slider_int name=\"s\" width=\"200\" height=\"20\" buttonsBefore=\"both\" "
        "min=\"0\" max=\"10\" value=\"5\" stepSmall=\"1\" stepLarge=\"3\"/>");
    Slider_int* s = sliderIn<Slider_int>(*gui);
    ASSERT_NE(nullptr, s);
    Button* dec = dynamic_cast<Button*>((*s)["bDecBefore"]);
    Button* inc = dynamic_cast<Button*>((*s)["bIncBefore"]);
    ASSERT_TRUE(dec && inc);
    NotingQueue queue;
    s->setFocused(true);
    auto key = [&](SDLKey k) { EXPECT_TRUE(s->keyDown(&queue, k, KMOD_NONE, 0)) << k; };
    // The bar runs from x 40 to 200; the handle is 40 long on 120 units of travel.
    auto click = [&](float x, Uint8 button) {
        s->mouseDown(&queue, Vector2D(x, 10), button);
        s->mouseUp(&queue, Vector2D(x, 10), button);
    };
    const struct {
        const char* what;
        std::function<void()> act;
        int value;
    } steps[] = {
        {"Page Up lowers", [&] { key(SDLK_PAGEUP); }, 2},
        {"Page Down raises", [&] { key(SDLK_PAGEDOWN); }, 5},
        {"Right", [&] { key(SDLK_RIGHT); }, 6},
        {"Left", [&] { key(SDLK_LEFT); }, 5},
        {"Up navigates on a horizontal slider", [&] { key(SDLK_UP); }, 5},
        {"End", [&] { key(SDLK_END); }, 10},
        {"Page Down at the top", [&] { key(SDLK_PAGEDOWN); }, 10},
        {"wheel up at the top", [&] { click(100, SDL_BUTTON_WHEELUP); }, 10},
        {"wheel down", [&] { click(100, SDL_BUTTON_WHEELDOWN); }, 9},
        {"click left of the handle (at 130)", [&] { click(129, SDL_BUTTON_LEFT); }, 6},
        {"click on the handle's start", [&] { click(112, SDL_BUTTON_LEFT); }, 3},
        {"click right of the handle (76..116)", [&] { click(116, SDL_BUTTON_LEFT); }, 6},
        {"right button does nothing", [&] { click(41, SDL_BUTTON_RIGHT); }, 6},
        {"Home", [&] { key(SDLK_HOME); }, 0},
        {"increase button", [&] { inc->doClick(&queue); }, 1},
        {"click left of the handle at 1", [&] { click(41, SDL_BUTTON_LEFT); }, 0},
        {"decrease button at the bottom", [&] { dec->doClick(&queue); }, 0},
    };
    for (const auto& step : steps) {
        step.act();
        EXPECT_EQ(step.value, s->getValue()) << step.what;
    }
    EXPECT_FALSE(s->keyDown(&queue, SDLK_a, KMOD_NONE, 'a')) << "other keys are not used";
    EXPECT_EQ(nullptr, gui->getMouseCaptured()) << "no click beside the handle captures";

    gui = buildGui(
        "<Slider_float name=\"s\" width=\"20\" height=\"100\" orientation=\"vertical\" "
        "min=\"0\" max=\"1\" value=\"0.5\" stepSmall=\"0.125\" stepLarge=\"0.5\"/>");
    Slider_float* v = sliderIn<Slider_float>(*gui);
    ASSERT_NE(nullptr, v);
    EXPECT_TRUE(v->keyDown(&queue, SDLK_UP, KMOD_NONE, 0));
    EXPECT_FLOAT_EQ(0.625f, v->getValue());
    EXPECT_TRUE(v->keyDown(&queue, SDLK_DOWN, KMOD_NONE, 0));
    EXPECT_TRUE(v->keyDown(&queue, SDLK_DOWN, KMOD_NONE, 0));
    EXPECT_FLOAT_EQ(0.375f, v->getValue());
    v->keyDown(&queue, SDLK_RIGHT, KMOD_NONE, 0);  // navigation on a vertical slider
    EXPECT_FLOAT_EQ(0.375f, v->getValue());
    v->mouseDown(&queue, Vector2D(10, 99), SDL_BUTTON_LEFT);  // above the handle
    EXPECT_FLOAT_EQ(0.875f, v->getValue());
}

TEST(Slider, DraggingTheHandleFollowsThePointerAndStaysInTheRange) {
    std::unique_ptr<GUI> gui = buildGui(
        "<Slider_int name=\"s\" width=\"200\" height=\"20\" buttonsBefore=\"both\" "
        "min=\"0\" max=\"10\" value=\"5\"/>");
    Slider_int* s = sliderIn<Slider_int>(*gui);
    ASSERT_NE(nullptr, s);
    NotingQueue queue;
    s->setFocused(true);
    s->mouseDown(&queue, Vector2D(110, 10), SDL_BUTTON_LEFT);  // 10 into the handle at 100
    EXPECT_EQ(s, gui->getMouseCaptured());
    EXPECT_EQ(bsDown | bsHot, s->getState());
    const struct {
        float x;
        int value;
    } moves[] = {{146, 8}, {145, 7}, {110, 5}, {1000, 10}, {-100, 0}, {74, 2}, {73, 1}};
    for (const auto& m : moves) {
        s->mouseMove(&queue, Vector2D(m.x, 50));  // across the slider the pointer may wander
        EXPECT_EQ(m.value, s->getValue()) << "pointer at " << m.x;
    }
    s->mouseUp(&queue, Vector2D(73, 10), SDL_BUTTON_LEFT);
    EXPECT_EQ(nullptr, gui->getMouseCaptured());
    s->mouseMove(&queue, Vector2D(200, 10));
    EXPECT_EQ(1, s->getValue()) << "no drag after the release";
}

TEST(Slider, AnEmptyRangeFillsTheBarAndKeepsTheValueAtMin) {
    std::unique_ptr<GUI> gui = buildGui(
        "<Slider_int name=\"s\" width=\"200\" height=\"20\" min=\"4\" max=\"4\" "
        "value=\"9\" stepLarge=\"3\"/>");
    Slider_int* s = sliderIn<Slider_int>(*gui);
    ASSERT_NE(nullptr, s);
    EXPECT_EQ(str(s->getBarRect()), str(s->calculateHandleRect()));
    NotingQueue queue;
    s->mouseDown(&queue, Vector2D(0, 10), SDL_BUTTON_LEFT);  // on the handle's start
    EXPECT_EQ(4, s->getValue());
    s->setValue(4);
    for (float x : {50.0f, 199.0f}) {
        s->mouseDown(&queue, Vector2D(x, 10), SDL_BUTTON_LEFT);
        s->mouseMove(&queue, Vector2D(x + 37, 10));
        s->mouseUp(&queue, Vector2D(x + 37, 10), SDL_BUTTON_LEFT);
        EXPECT_EQ(4, s->getValue());
    }
    s->keyDown(&queue, SDLK_END, KMOD_NONE, 0);
    EXPECT_EQ(4, s->getValue());
}

TEST(Slider, TextsThatGiveNoUsableValueAreReportedAndLeaveAWorkingSlider) {
    const struct {
        const char* element;
        const char* attributes;
        std::vector<std::string> warnings;
        const char* settings;  // as describe() writes them
    } rows[] = {
        {"Slider_int",
         "min=\"2\" max=\"ten\" value=\"3\"",
         {"Could not decode value for Slider.max: \"ten\".",
          "Slider.min \"2\" is greater than Slider.max \"0\"; swapped."},
         "0..2 by 1/1 at 3, size 0.25"},
        {"Slider_int",
         "max=\"9\" stepSmall=\"0\" stepLarge=\"-2\" value=\"x\"",
         {"Could not decode value for Slider.stepSmall: \"0\".",
          "Could not decode value for Slider.stepLarge: \"-2\".",
          "Could not decode value for Slider.value: \"x\"."},
         "0..9 by 1/1 at 0, size 0.25"},
        {"Slider_int",
         "min=\"99999999999\" max=\"1\" orientation=\"diagonal\"",
         {"Could not decode value for Slider.orientation: \"diagonal\".",
          "Could not decode value for Slider.min: \"99999999999\"."},
         "0..1 by 1/1 at 0, size 0.25"},
        // Ranges as wide as the types: steps and drags must not overflow.
        {"Slider_int",
         "min=\"-2147483648\" max=\"2147483647\" value=\"2147483647\" "
         "stepLarge=\"2147483647\"",
         {},
         "-2147483648..2147483647 by 1/2147483647 at 2147483647, size 0.25"},
        {"Slider_float",
         "min=\"-3e38\" max=\"3e38\" stepLarge=\"3e38\"",
         {},
         "-3e+38..3e+38 by 1/3e+38 at 0, size 0.25"},
        {"Slider_float",
         "max=\"1\" size=\"0\"",
         {"Could not decode value for Slider.size: \"0\"."},
         "0..1 by 1/1 at 0, size 0.25"},
        {"Slider_float",
         "max=\"1\" size=\"nan\"",
         {"Could not decode value for Slider.size: \"nan\"."},
         "0..1 by 1/1 at 0, size 0.25"},
        {"Slider_float",
         "max=\"1\" size=\"1.5\"",
         {"Could not decode value for Slider.size: \"1.5\"."},
         "0..1 by 1/1 at 0, size 0.25"},
        {"Slider_float",
         "min=\"-inf\" max=\"NaN\" stepSmall=\"0.0\" value=\"nan\"",
         {"Could not decode value for Slider.min: \"-inf\".",
          "Could not decode value for Slider.max: \"NaN\".",
          "Could not decode value for Slider.stepSmall: \"0.0\".",
          "Could not decode value for Slider.value: \"nan\"."},
         "0..0 by 1/1 at 0, size 0.25"},
        {"Slider_float",
         "max=\"1e39\" stepLarge=\"0.5\" buttonsBefore=\"all\" buttonsAfter=\"Both\"",
         {"Could not decode value for Slider.max: \"1e39\".",
          "Could not decode value for Slider.buttonsBefore: \"all\".",
          "Could not decode value for Slider.buttonsAfter: \"Both\"."},
         "0..0 by 1/0.5 at 0, size 0.25"},
    };
    for (const auto& row : rows) {
        const std::string text = std::string("<") + row.element +
                                 " name=\"s\" width=\"200\" height=\"20\" " + row.attributes + "/>";
        CaptureStdout();
        std::unique_ptr<GUI> gui = buildGui(text);
        std::vector<std::string> expected;
        for (const std::string& w : row.warnings)
            expected.push_back("[lumo:gui] (warning) " + w);
        EXPECT_EQ(expected, warnings(GetCapturedStdout())) << text;
        auto check = [&](auto* s) {
            ASSERT_NE(nullptr, s) << text;
            EXPECT_EQ(row.settings, describe(*s)) << text;
            EXPECT_EQ(0u, s->getChildren().size()) << "no step buttons";
            // Usable: every way of changing the value ends inside the range.
            NotingQueue queue;
            s->increase(true);
            s->mouseDown(&queue, Vector2D(150, 10), SDL_BUTTON_LEFT);
            s->mouseMove(&queue, Vector2D(20, 10));
            s->mouseUp(&queue, Vector2D(20, 10), SDL_BUTTON_LEFT);
            s->decrease(false);
            EXPECT_LE(s->getMin(), s->getValue()) << text;
            EXPECT_GE(s->getMax(), s->getValue()) << text;
        };
        if (std::string(row.element) == "Slider_int")
            check(dynamic_cast<Slider_int*>((*gui)["s"]));
        else
            check(dynamic_cast<Slider_float*>((*gui)["s"]));
    }
}
