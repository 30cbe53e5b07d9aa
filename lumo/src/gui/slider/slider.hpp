#pragma once
// A slider: chooses a number between `min` and `max` by dragging a handle along a bar, clicking
// beside the handle (a large step), the mouse wheel and the keys (small steps; Page Up/Down large
// ones; Home and End jump to the ends), or optional step buttons before and after the bar. The
// handle shows the value as text. One template for int (`Slider_int`) and float
// (`Slider_float`). Main thread only.
//
//   horizontal, buttonsBefore "both", buttonsAfter "both":   [<][>][====|handle|======][<][>]
//
// The bar's start is its left end (horizontal) or its bottom (vertical); larger values lie
// further along.

#include "gui/core/component.hpp"
#include "gui/styles/button_styles.hpp"

namespace lumo {
namespace gui {

class Button;
class RectStyle;

enum Orientation { orHorizontal = 0, orVertical = 1 };
/// Which step buttons stand at one end of the bar (flags).
enum SliderButtons { sbNone = 0, sbDec = 1, sbInc = 2, sbBoth = 3 };

template <typename T>
class Slider : public Component, public ClickEventHandler {
  public:
    typedef T value_type;

    Slider();

    /// Stores the rectangle and lays out the buttons and the bar (calculateSizes).
    void setDimensions(const Rect& r) override;
    using Component::setDimensions;
    /// The component attributes, then barStyle, handleStyle, buttonStyle, orientation, size,
    /// min, max, stepSmall, stepLarge, buttonsBefore, buttonsAfter and value (not clamped).
    /// A text that is no usable value is logged with its text and leaves the field unchanged:
    /// numbers that are not finite, steps of 0 or less, a size outside (0, 1]. A min above the
    /// max is logged and the two are swapped.
    void getSelfFromNode(const xml::Node* node, GUI* gui) override;
    void drawSelf() override;
    /// Wheel up/down: a small step up/down. Button 1: beside the handle a large step towards
    /// the point; on the handle a drag starts (the mouse is captured).
    void mouseDown(ControlQueue* queue, const Vector2D& point, Uint8 button) override;
    /// Button 1 ends a drag.
    void mouseUp(ControlQueue* queue, const Vector2D& point, Uint8 button) override;
    /// While dragging, the value follows the handle.
    void mouseMove(ControlQueue* queue, const Vector2D& point) override;
    /// Home, End, the two cursor keys along the slider (small steps), Page Up (a large step
    /// down) and Page Down (a large step up) are used; others navigate.
    bool keyDown(ControlQueue* queue, SDLKey key, SDLMod mod, Uint16 unicode) override;
    /// A decrease button steps down, an increase button up (small steps).
    void handleClickEvent(Component* source) override;

    /// Places the step buttons at the ends and gives the bar what is left (never less than 0).
    void calculateSizes();
    /// The bar's length along the slider.
    float getBarSize() const;
    /// A square as wide as the slider is thick.
    Vector2D getButtonSize() const;
    ButtonState getState() const;
    /// Dragged and focused.
    bool isDown() const;
    /// Value + (large ? stepLarge : stepSmall), clamped to [min, max].
    void increase(bool large);
    void decrease(bool large);
    /// Creates ("<" decrease, ">" increase, repeating, this slider as click handler) or destroys
    /// the step buttons before / after the bar, then lays out again.
    void setButtonsBefore(SliderButtons b);
    void setButtonsAfter(SliderButtons b);
    SliderButtons getButtonsBefore() const { return buttonsBefore; }
    SliderButtons getButtonsAfter() const { return buttonsAfter; }

    T getValue() const { return value; }
    /// Clamped to [min, max]; NaN and infinities are ignored.
    void setValue(T v);
    T getMin() const { return min; }
    T getMax() const { return max; }
    /// Swapped when `lo` > `hi`; ignored when either is not finite. The value is not touched.
    void setRange(T lo, T hi);
    T getStepSmall() const { return stepSmall; }
    T getStepLarge() const { return stepLarge; }
    /// Steps of 0 or less are ignored.
    void setSteps(T small, T large);
    float getSize() const { return size; }
    /// Ignored outside (0, 1].
    void setSize(float s);
    Orientation getOrientation() const { return orientation; }
    void setOrientation(Orientation o);
    const Rect& getBarRect() const { return barRect; }
    /// Where the handle stands for the current value, in the slider's coordinates.
    Rect calculateHandleRect() const;
    /// Styles are not owned; the button style is handed on to existing step buttons.
    void setStyles(RectStyle* bar, ButtonStyle* handle, ButtonStyle* buttons);

  protected:
    /// The coordinate of `p` along the slider's axis.
    float along(const Vector2D& p) const { return orientation == orHorizontal ? p.x : p.y; }
    /// Creates or destroys the decrease and increase button of one end.
    void updateButtons(SliderButtons b, Button*& dec, Button*& inc, const char* decName,
                       const char* incName);

    Rect barRect;
    Rect handleRect;
    bool holding = false;
    Vector2D grabOffset;
    Button* bDecBefore = nullptr;
    Button* bIncBefore = nullptr;
    Button* bDecAfter = nullptr;
    Button* bIncAfter = nullptr;
    SliderButtons buttonsBefore = sbNone;
    SliderButtons buttonsAfter = sbNone;
    Orientation orientation = orHorizontal;
    float size = 0.25f;
    T min = 0;
    T max = 0;
    T stepSmall = 1;
    T stepLarge = 1;
    T value = 0;
    RectStyle* barStyle = nullptr;
    ButtonStyle* handleStyle = nullptr;
    ButtonStyle* buttonStyle = nullptr;
};

typedef Slider<int> Slider_int;
typedef Slider<float> Slider_float;

extern template class Slider<int>;
extern template class Slider<float>;

}  // namespace gui
}  // namespace lumo
