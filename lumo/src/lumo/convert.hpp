#pragma once
// String conversion, rounding, clamping and deleting helpers.

#include <cmath>
#include <iomanip>
#include <sstream>
#include <string>

namespace lumo {

/// The text that stream insertion writes for `value`.
template <typename T>
std::string toStr(const T& value) {
    std::ostringstream out;
    out << value;
    return out.str();
}

/// `value` right-aligned in `width` characters padded with `fill`; width 0 means no padding.
/// A value wider than the field is not cut.
template <typename T>
std::string toStr(const T& value, int width, char fill) {
    if (width == 0)
        return toStr(value);
    std::ostringstream out;
    out << std::fixed << std::setw(width) << std::setfill(fill) << value;
    return out.str();
}

/// Reads a value by stream extraction (leading blanks skipped, trailing text ignored); throws
/// the text itself when nothing can be read.
template <typename T>
T strTo(const std::string& text) {
    std::istringstream in(text);
    T value;
    if (!(in >> value))
        throw text;
    return value;
}

/// Rounds half up: the floor of v + 0.5, so 2.5 gives 3, -2.5 gives -2 and whole numbers,
/// negative ones included, stay unchanged.
template <typename R, typename V>
R round(V v) {
    return static_cast<R>(std::floor(v + V(0.5)));
}

template <typename T>
T clamp(T v, T lo, T hi) {
    return v < lo ? lo : (v > hi ? hi : v);
}

/// Deletes the object and nulls the pointer; does nothing for a null pointer.
template <typename T>
void secureDelete(T*& p) {
    if (p) {
        delete p;
        p = nullptr;
    }
}

}  // namespace lumo
