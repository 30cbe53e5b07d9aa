#pragma once
// Small value types shared by every module: colours, rectangles, viewports, justification.

#include <GL/gl.h>

#include "math/vector.hpp"

namespace lumo {
namespace xml {
class Node;
}

extern const char* const XML_COLOR_CODE;
extern const char* const XML_COLOR_RED;
extern const char* const XML_COLOR_GREEN;
extern const char* const XML_COLOR_BLUE;
extern const char* const XML_COLOR_ALPHA;

/// Four floats that can be handed to OpenGL as an array.
struct Color {
    GLfloat r = 0, g = 0, b = 0, a = 0;
    Color() = default;
    Color(float r_, float g_, float b_, float a_) : r(r_), g(g_), b(b_), a(a_) {}
    /// From a "code" attribute (RRGGBBAA hex) or from "red", "green", "blue" (default 0) and
    /// "alpha" (default 1).
    explicit Color(const xml::Node* node);
    /// Parses RRGGBBAA as hexadecimal; never fails (stops at the first non-hex character).
    void set(const char* code);
    /// Makes this the current OpenGL drawing colour.
    void apply() const;
    bool operator==(const Color& o) const { return r == o.r && g == o.g && b == o.b && a == o.a; }
    bool operator!=(const Color& o) const { return !(*this == o); }
};

/// A rectangle: `pos` is the lower left corner, `dimensions` the width and height.
template <typename T>
struct basic_Rect {
    basic_Vector2D<T> pos, dimensions;
    basic_Rect() = default;
    basic_Rect(const basic_Vector2D<T>& p, const basic_Vector2D<T>& d) : pos(p), dimensions(d) {}
    basic_Rect(T x, T y, T w, T h) : pos(x, y), dimensions(w, h) {}
    void clear() {
        pos.clear();
        dimensions.clear();
    }
    void offset(const basic_Vector2D<T>& d) { pos += d; }
    void reduceLeft(T d) {
        pos.x += d;
        dimensions.x -= d;
    }
    void reduceRight(T d) { dimensions.x -= d; }
    void reduceBottom(T d) {
        pos.y += d;
        dimensions.y -= d;
    }
    void reduceTop(T d) { dimensions.y -= d; }
    void reduceAll(T d) {
        reduceLeft(d);
        reduceRight(d);
        reduceBottom(d);
        reduceTop(d);
    }
    /// Compares areas.
    bool operator>(const basic_Rect& o) const {
        return dimensions.x * dimensions.y > o.dimensions.x * o.dimensions.y;
    }
    bool operator==(const basic_Rect& o) const {
        return pos == o.pos && dimensions == o.dimensions;
    }
    /// Deliberately asymmetric: `other` ending exactly where this starts overlaps, `other`
    /// starting exactly where this ends does not.
    bool overlap(const basic_Rect& o) const {
        if (o.pos.x + o.dimensions.x < pos.x)
            return false;
        if (o.pos.x >= pos.x + dimensions.x)
            return false;
        if (o.pos.y + o.dimensions.y < pos.y)
            return false;
        if (o.pos.y >= pos.y + dimensions.y)
            return false;
        return true;
    }
};
typedef basic_Rect<float> Rect;

/// A part of the window in pixels.
struct Viewport {
    Vector2D pos, dimensions;
    Viewport() = default;
    Viewport(float x, float y, float w, float h) : pos(x, y), dimensions(w, h) {}
    ~Viewport();
    Viewport(const Viewport&) = default;
    Viewport& operator=(const Viewport&) = default;
    /// Records this in `currentViewport` and sets the OpenGL viewport.
    void apply();
};

/// The whole window; set by setResolution.
extern Viewport vpScreen;
/// The viewport applied last, or null.
extern Viewport* currentViewport;

enum JustificationHorizontal { jhLeft = 0, jhCenter = 1, jhRight = 2 };
enum JustificationVertical { jvTop = 0, jvCenter = 1, jvBottom = 2 };
extern const char* const STR_JUSTIFICATION_HORIZONTAL[3];
extern const char* const STR_JUSTIFICATION_VERTICAL[3];

/// Exact names "left", "center", "right"; throws "<name> is not a valid ... value." otherwise.
JustificationHorizontal justificationHorizontal(const char* name);
/// Exact names "top", "center", "bottom"; throws likewise.
JustificationVertical justificationVertical(const char* name);

}  // namespace lumo
