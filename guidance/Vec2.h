// A vector of the work plane in decimetres, with the operations the guidance geometry needs.
#pragma once

#include <cmath>

struct Vec2 {
    double x = 0.0;
    double y = 0.0;

    constexpr Vec2 operator+(Vec2 o) const { return {x + o.x, y + o.y}; }
    constexpr Vec2 operator-(Vec2 o) const { return {x - o.x, y - o.y}; }
    // Division multiplies by the reciprocal, as the guidance arithmetic expects bit for bit.
    constexpr Vec2 operator/(double s) const {
        double r = 1.0 / s;
        return {x * r, y * r};
    }
    double length() const { return std::sqrt(x * x + y * y); }
    // A vector of length 0 stays as it is.
    void normalize() {
        double len = length();
        if (len != 0.0) *this = *this / len;
    }
    // Turned 90 degrees counter-clockwise: the left side of the vector.
    constexpr Vec2 perpendicular() const { return {-y, x}; }
};

constexpr Vec2 operator*(double s, Vec2 v) {
    return {s * v.x, s * v.y};
}
