#include "gui/slider/slider.hpp"

#include <GL/gl.h>

#include <cmath>
#include <string>
#include <utility>

#include "debug/log.hpp"
#include "debug/message_stack.hpp"
#include "gui/core/component_factory.hpp"
#include "gui/core/gui.hpp"
#include "gui/core/gui_names.hpp"
#include "gui/slider/slider_geometry.hpp"
#include "gui/standard/button.hpp"
#include "gui/styles/rect_styles.hpp"
#include "lumo/convert.hpp"
#include "xml/node.hpp"

namespace lumo {
namespace gui {

namespace {

const char* const SLIDER_BUTTONS_NAMES[] = {"none", "dec", "inc", "both"};

void warnUndecodable(const char* attribute, const std::string& text) {
    debug::warning(dbgGui, "Could not decode value for Slider.%s: \"%s\".", attribute,
                   text.c_str());
}

/// A handle of no length, or longer than the bar, would leave nothing to drag; NaN fails too.
bool usableSize(float s) {
    return s > 0 && s <= 1;
}

template <typename T>
bool usableStep(T step) {
    return step > 0 && std::isfinite(double(step));
}

/// Reads a number attribute into `field`; a text that is no finite number of the type (or, for
/// `positive`, no number above 0) is logged and leaves the field alone. Returns the text when
/// it was taken, otherwise null.
template <typename T>
const std::string* readNumber(const xml::Node* node, const char* attribute, T& field,
                              bool positive) {
    const std::string* text = node->getAttribute(attribute);
    if (!text)
        return nullptr;
    T v = field;
    if (decodeSliderNumber(*text, v) && (!positive || usableStep(v))) {
        field = v;
        return text;
    }
    warnUndecodable(attribute, *text);
    return nullptr;
}

bool decodeButtons(const std::string& text, SliderButtons& out) {
    for (int i = sbNone; i <= sbBoth; ++i)
        if (text == SLIDER_BUTTONS_NAMES[i]) {
            out = static_cast<SliderButtons>(i);
            return true;
        }
    return false;
}

}  // namespace

template <typename T>
Slider<T>::Slider() {
    wantsFocus = true;
}

template <typename T>
void Slider<T>::setDimensions(const Rect& r) {
    Component::setDimensions(r);
    calculateSizes();
}

template <typename T>
Vector2D Slider<T>::getButtonSize() const {
    const float side = orientation == orVertical ? dimensions.x : dimensions.y;
    return Vector2D(side, side);
}

template <typename T>
float Slider<T>::getBarSize() const {
    return orientation == orVertical ? barRect.dimensions.y : barRect.dimensions.x;
}

template <typename T>
void Slider<T>::calculateSizes() {
    barRect = Rect(0, 0, dimensions.x, dimensions.y);
    const Vector2D button = getButtonSize();
    const bool vertical = orientation == orVertical;
    const float side = vertical ? button.y : button.x;
    for (Button* b : {bDecBefore, bIncBefore}) {
        if (!b)
            continue;
        b->setDimensions(Rect(barRect.pos, button));
        if (vertical)
            barRect.reduceBottom(side);
        else
            barRect.reduceLeft(side);
    }
    for (Button* b : {bIncAfter, bDecAfter}) {
        if (!b)
            continue;
        b->setDimensions(Rect(barRect.pos + barRect.dimensions - button, button));
        if (vertical)
            barRect.reduceTop(side);
        else
            barRect.reduceRight(side);
    }
    // Buttons longer than the slider would leave a bar of negative length.
    if (barRect.dimensions.x < 0)
        barRect.dimensions.x = 0;
    if (barRect.dimensions.y < 0)
        barRect.dimensions.y = 0;
}

template <typename T>
void Slider<T>::updateButtons(SliderButtons b, Button*& dec, Button*& inc, const char* decName,
                              const char* incName) {
    struct Part {
        Button*& button;
        bool wanted;
        const char* name;
        const char* caption;
    } parts[] = {{dec, (b & sbDec) != 0, decName, "<"}, {inc, (b & sbInc) != 0, incName, ">"}};
    for (Part& part : parts) {
        if (!part.wanted) {
            // The component's destructor takes it out of this slider and out of the GUI's
            // focus and capture.
            secureDelete(part.button);
        } else if (!part.button) {
            Button* button = new Button;
            button->setName(part.name);
            *this += button;
            button->setCaption(part.caption);
            button->setStyle(buttonStyle);
            button->setVisible(true);
            button->setEnabled(true);
            button->setOnClick(this);
            button->setRepeat(true);
            part.button = button;
        }
    }
}

template <typename T>
void Slider<T>::setButtonsBefore(SliderButtons b) {
    debug::MessageScope scope("Slider::setButtonsBefore()");
    if (b != buttonsBefore) {
        buttonsBefore = b;
        updateButtons(b, bDecBefore, bIncBefore, "bDecBefore", "bIncBefore");
    }
    calculateSizes();
}

template <typename T>
void Slider<T>::setButtonsAfter(SliderButtons b) {
    debug::MessageScope scope("Slider::setButtonsAfter()");
    if (b != buttonsAfter) {
        buttonsAfter = b;
        updateButtons(b, bDecAfter, bIncAfter, "bDecAfter", "bIncAfter");
    }
    calculateSizes();
}

template <typename T>
void Slider<T>::handleClickEvent(Component* source) {
    if (source == bDecBefore || source == bDecAfter)
        decrease(false);
    else if (source == bIncBefore || source == bIncAfter)
        increase(false);
}

template <typename T>
void Slider<T>::increase(bool large) {
    value = steppedValue(value, large ? stepLarge : stepSmall, min, max);
}

template <typename T>
void Slider<T>::decrease(bool large) {
    value = steppedValue(value, T(-(large ? stepLarge : stepSmall)), min, max);
}

template <typename T>
void Slider<T>::setValue(T v) {
    if (std::isfinite(double(v)))
        value = steppedValue(v, T(0), min, max);
}

template <typename T>
void Slider<T>::setRange(T lo, T hi) {
    if (!std::isfinite(double(lo)) || !std::isfinite(double(hi)))
        return;
    if (lo > hi)
        std::swap(lo, hi);
    min = lo;
    max = hi;
}

template <typename T>
void Slider<T>::setSteps(T small, T large) {
    if (usableStep(small))
        stepSmall = small;
    if (usableStep(large))
        stepLarge = large;
}

template <typename T>
void Slider<T>::setSize(float s) {
    if (usableSize(s))
        size = s;
}

template <typename T>
void Slider<T>::setOrientation(Orientation o) {
    orientation = o;
    calculateSizes();
}

template <typename T>
void Slider<T>::setStyles(RectStyle* bar, ButtonStyle* handle, ButtonStyle* buttons) {
    barStyle = bar;
    handleStyle = handle;
    buttonStyle = buttons;
    for (Button* b : {bDecBefore, bIncBefore, bDecAfter, bIncAfter})
        if (b)
            b->setStyle(buttons);
}

template <typename T>
ButtonState Slider<T>::getState() const {
    return static_cast<ButtonState>((isDown() ? bsDown : bsUp) | (focused ? bsHot : bsUp));
}

template <typename T>
bool Slider<T>::isDown() const {
    return holding && focused;
}

template <typename T>
Rect Slider<T>::calculateHandleRect() const {
    const HandleSpan span = handleSpan(value, min, max, size, getBarSize());
    Rect r = orientation == orVertical ? Rect(0, span.start, dimensions.x, span.length)
                                       : Rect(span.start, 0, span.length, dimensions.y);
    r.offset(barRect.pos);
    return r;
}

template <typename T>
void Slider<T>::getSelfFromNode(const xml::Node* node, GUI* gui) {
    debug::MessageScope scope("Slider::getSelfFromNode()");
    Component::getSelfFromNode(node, gui);
    if (gui) {
        const StyleBank* styles = gui->getStyles();
        if (const std::string* s = node->getAttribute(XML_GUI_BAR_STYLE))
            barStyle = styles->findStyle<RectStyle>(*s);
        if (const std::string* s = node->getAttribute(XML_GUI_HANDLE_STYLE))
            handleStyle = styles->findStyle<ButtonStyle>(*s);
        if (const std::string* s = node->getAttribute(XML_GUI_BUTTON_STYLE))
            setStyles(barStyle, handleStyle, styles->findStyle<ButtonStyle>(*s));
    }
    if (const std::string* text = node->getAttribute(XML_GUI_ORIENTATION)) {
        if (*text == "horizontal")
            orientation = orHorizontal;
        else if (*text == "vertical")
            orientation = orVertical;
        else
            warnUndecodable(XML_GUI_ORIENTATION, *text);
    }
    if (const std::string* text = node->getAttribute(XML_GUI_SIZE)) {
        // Read like every float attribute, but checked: NaN would poison every position.
        const float s = node->getAttributeFloat(XML_GUI_SIZE, size);
        if (usableSize(s))
            size = s;
        else
            warnUndecodable(XML_GUI_SIZE, *text);
    }
    const std::string* minText = readNumber(node, XML_GUI_MIN, min, false);
    const std::string* maxText = readNumber(node, XML_GUI_MAX, max, false);
    readNumber(node, XML_GUI_STEP_SMALL, stepSmall, true);
    readNumber(node, XML_GUI_STEP_LARGE, stepLarge, true);
    if (const std::string* text = node->getAttribute(XML_GUI_BUTTONS_BEFORE)) {
        SliderButtons b;
        if (decodeButtons(*text, b))
            setButtonsBefore(b);
        else
            warnUndecodable(XML_GUI_BUTTONS_BEFORE, *text);
    }
    if (const std::string* text = node->getAttribute(XML_GUI_BUTTONS_AFTER)) {
        SliderButtons b;
        if (decodeButtons(*text, b))
            setButtonsAfter(b);
        else
            warnUndecodable(XML_GUI_BUTTONS_AFTER, *text);
    }
    readNumber(node, XML_GUI_VALUE, value, false);
    if (min > max) {
        const std::string lo = minText ? *minText : toStr(min);
        const std::string hi = maxText ? *maxText : toStr(max);
        debug::warning(dbgGui, "Slider.min \"%s\" is greater than Slider.max \"%s\"; swapped.",
                       lo.c_str(), hi.c_str());
        std::swap(min, max);
    }
    calculateSizes();
}

template <typename T>
void Slider<T>::drawSelf() {
    if (barStyle)
        barStyle->draw(barRect);
    if (!handleStyle)
        return;
    handleRect = calculateHandleRect();
    const ButtonState state = getState();
    handleStyle->draw(handleRect, state);
    glPushMatrix();
    handleStyle->print(handleRect, state, toStr(value).c_str(), nullptr);
    glPopMatrix();
}

template <typename T>
void Slider<T>::mouseDown(ControlQueue*, const Vector2D& point, Uint8 button) {
    if (button == SDL_BUTTON_WHEELUP) {
        increase(false);
    } else if (button == SDL_BUTTON_WHEELDOWN) {
        decrease(false);
    } else if (button == SDL_BUTTON_LEFT) {
        // From the current value, not the last drawing: keys may have moved the handle since.
        handleRect = calculateHandleRect();
        const float start = along(handleRect.pos);
        const float at = along(point);
        if (at <= start) {
            decrease(true);
        } else if (at >= start + along(handleRect.dimensions)) {
            increase(true);
        } else {
            holding = true;
            captureMouse(true);
            grabOffset = point - handleRect.pos;
        }
    }
}

template <typename T>
void Slider<T>::mouseUp(ControlQueue*, const Vector2D&, Uint8 button) {
    if (button != SDL_BUTTON_LEFT)
        return;
    holding = false;
    captureMouse(false);
}

template <typename T>
void Slider<T>::mouseMove(ControlQueue*, const Vector2D& point) {
    if (!holding)
        return;
    const float offset = along(point - grabOffset) - along(barRect.pos);
    value = valueAtOffset(offset, value, min, max, size, getBarSize());
}

template <typename T>
bool Slider<T>::keyDown(ControlQueue* queue, SDLKey key, SDLMod mod, Uint16 unicode) {
    const bool vertical = orientation == orVertical;
    switch (key) {
        case SDLK_HOME:
            value = min;
            return true;
        case SDLK_END:
            value = max;
            return true;
        case SDLK_PAGEUP:
            decrease(true);
            return true;
        case SDLK_PAGEDOWN:
            increase(true);
            return true;
        case SDLK_LEFT:
        case SDLK_RIGHT:
            if (vertical)
                break;
            key == SDLK_RIGHT ? increase(false) : decrease(false);
            return true;
        case SDLK_DOWN:
        case SDLK_UP:
            if (!vertical)
                break;
            key == SDLK_UP ? increase(false) : decrease(false);
            return true;
        default:
            break;
    }
    return Component::keyDown(queue, key, mod, unicode);
}

template class Slider<int>;
template class Slider<float>;

namespace {
const ComponentRegistration intRegistration(XML_GUI_SLIDER_INT, &newComponent<Slider_int>);
const ComponentRegistration floatRegistration(XML_GUI_SLIDER_FLOAT, &newComponent<Slider_float>);
}  // namespace

}  // namespace gui
}  // namespace lumo
