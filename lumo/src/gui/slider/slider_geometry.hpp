#pragma once
// The arithmetic of a slider, free of any widget: where the handle lies on the bar, which value
// a dragged handle stands for, and stepping within the range. Computed in double, so that int
// ranges as wide as the type and float ranges near the type's limits neither overflow nor lose
// the handle.

#include <cmath>
#include <string>

#include "lumo/convert.hpp"

namespace lumo {
namespace gui {

/// The handle along the bar: its start, measured from the bar's start, and its length.
struct HandleSpan {
    float start;
    float length;
};

/// The handle for `value` on a bar `barLength` long, with `size` the handle's share of the bar.
/// An empty range (max <= min) gives a handle that fills the bar.
template <typename T>
HandleSpan handleSpan(T value, T min, T max, float size, float barLength) {
    if (!(max > min))
        return HandleSpan{0, barLength};
    const double travel = (1.0 - size) * barLength;
    const double share = (double(value) - double(min)) / (double(max) - double(min));
    return HandleSpan{static_cast<float>(travel * share), size * barLength};
}

/// The value a handle dragged so that it starts `offset` after the bar's start stands for,
/// clamped to the range; ints are truncated toward zero. An empty range gives `min`; a handle
/// that cannot move (it fills the bar) keeps `current`.
template <typename T>
T valueAtOffset(float offset, T current, T min, T max, float size, float barLength) {
    if (!(max > min))
        return min;
    const double travel = (1.0 - size) * barLength;
    if (!(travel > 0))
        return current;
    const double t = offset / travel;
    const double v = t * (double(max) - double(min)) + double(min);
    return static_cast<T>(clamp(v, double(min), double(max)));
}

/// `value` + `delta`, clamped to [min, max].
template <typename T>
T steppedValue(T value, T delta, T min, T max) {
    return static_cast<T>(clamp(double(value) + double(delta), double(min), double(max)));
}

/// Reads a number of the slider's type from an attribute's text; false (and `out` unchanged)
/// when the text holds no number of that type or the number is not finite.
template <typename T>
bool decodeSliderNumber(const std::string& text, T& out) {
    try {
        const T v = strTo<T>(text);
        if (!std::isfinite(double(v)))
            return false;
        out = v;
        return true;
    } catch (const std::string&) {
        return false;
    }
}

}  // namespace gui
}  // namespace lumo
