#pragma once
// 2D and 3D vectors over a component type.

#include <cmath>

namespace lumo {

template <typename T>
struct basic_Vector2D {
    T x, y;
    basic_Vector2D() : x(0), y(0) {}
    basic_Vector2D(T x_, T y_) : x(x_), y(y_) {}
    void clear() { x = y = 0; }
    basic_Vector2D& operator+=(const basic_Vector2D& o) {
        x += o.x;
        y += o.y;
        return *this;
    }
    basic_Vector2D& operator-=(const basic_Vector2D& o) {
        x -= o.x;
        y -= o.y;
        return *this;
    }
    basic_Vector2D operator+(const basic_Vector2D& o) const { return {T(x + o.x), T(y + o.y)}; }
    basic_Vector2D operator-(const basic_Vector2D& o) const { return {T(x - o.x), T(y - o.y)}; }
    basic_Vector2D operator*(T s) const { return {T(x * s), T(y * s)}; }
    basic_Vector2D operator/(T s) const { return {T(x / s), T(y / s)}; }
    bool operator==(const basic_Vector2D& o) const { return x == o.x && y == o.y; }
    bool operator!=(const basic_Vector2D& o) const { return !(*this == o); }
    bool operator<(const basic_Vector2D& o) const { return x < o.x || (x == o.x && y < o.y); }
    T length() const { return T(std::sqrt(double(x) * x + double(y) * y)); }
    void normalize() {
        T l = length();
        if (l != 0) {
            x /= l;
            y /= l;
        }
    }
};

template <typename T>
struct basic_Vector3D {
    T x, y, z;
    basic_Vector3D() : x(0), y(0), z(0) {}
    basic_Vector3D(T x_, T y_, T z_) : x(x_), y(y_), z(z_) {}
    void clear() { x = y = z = 0; }
    basic_Vector3D& operator+=(const basic_Vector3D& o) {
        x += o.x;
        y += o.y;
        z += o.z;
        return *this;
    }
    basic_Vector3D& operator-=(const basic_Vector3D& o) {
        x -= o.x;
        y -= o.y;
        z -= o.z;
        return *this;
    }
    basic_Vector3D& operator*=(T s) {
        x *= s;
        y *= s;
        z *= s;
        return *this;
    }
    basic_Vector3D& operator/=(T s) {
        x /= s;
        y /= s;
        z /= s;
        return *this;
    }
    basic_Vector3D operator+(const basic_Vector3D& o) const { return {x + o.x, y + o.y, z + o.z}; }
    basic_Vector3D operator-(const basic_Vector3D& o) const { return {x - o.x, y - o.y, z - o.z}; }
    basic_Vector3D operator*(T s) const { return {x * s, y * s, z * s}; }
    basic_Vector3D operator/(T s) const { return {x / s, y / s, z / s}; }
    bool operator==(const basic_Vector3D& o) const { return x == o.x && y == o.y && z == o.z; }
    bool operator!=(const basic_Vector3D& o) const { return !(*this == o); }
    bool operator<(const basic_Vector3D& o) const {
        return x < o.x || (x == o.x && (y < o.y || (y == o.y && z < o.z)));
    }
    basic_Vector3D crossProduct(const basic_Vector3D& o) const {
        return {y * o.z - z * o.y, z * o.x - x * o.z, x * o.y - y * o.x};
    }
    T dotProduct(const basic_Vector3D& o) const { return x * o.x + y * o.y + z * o.z; }
    T length() const { return T(std::sqrt(double(dotProduct(*this)))); }
    T distance(const basic_Vector3D& o) const { return (*this - o).length(); }
    void normalize() {
        T l = length();
        if (l != 0)
            *this /= l;
    }
    void setArray(T* out) const {
        out[0] = x;
        out[1] = y;
        out[2] = z;
    }
    bool checkDeviation(const basic_Vector3D& o, T tolerance) const {
        return std::abs(x - o.x) <= tolerance && std::abs(y - o.y) <= tolerance &&
               std::abs(z - o.z) <= tolerance;
    }
    /// The point of the segment a..b closest to this point.
    basic_Vector3D closestPointOnLine(const basic_Vector3D& a, const basic_Vector3D& b) const {
        basic_Vector3D d = b - a;
        T len2 = d.dotProduct(d);
        if (len2 == 0)
            return a;
        T t = (*this - a).dotProduct(d) / len2;
        if (t <= 0)
            return a;
        if (t >= 1)
            return b;
        return a + d * t;
    }
};

typedef basic_Vector2D<float> Vector2D;
typedef basic_Vector3D<float> Vector3D;

}  // namespace lumo
