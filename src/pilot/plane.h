// Cartesian arithmetic on Vec2 for the pilot's forecasts, which step many
// points a frame and so avoid the angle round trips of PolarVec.
#pragma once
#include <cmath>
#include "sim/geometry.h"

inline Vec2 plus(const Vec2& a, const Vec2& b) { return Vec2{a.x + b.x, a.y + b.y}; }
inline Vec2 minus(const Vec2& a, const Vec2& b) { return Vec2{a.x - b.x, a.y - b.y}; }
inline Vec2 times(const Vec2& v, double k) { return Vec2{v.x * k, v.y * k}; }
inline double dot(const Vec2& a, const Vec2& b) { return a.x * b.x + a.y * b.y; }
inline double cross(const Vec2& a, const Vec2& b) { return a.x * b.y - a.y * b.x; }
inline double lengthOf(const Vec2& v) { return std::sqrt(v.x * v.x + v.y * v.y); }
inline double angleOf(const Vec2& v) { return std::atan2(v.y, v.x); }
inline Vec2 unitAt(double angle) { return Vec2{std::cos(angle), std::sin(angle)}; }
// The signed smallest turn from one angle to another, in (-PI, PI].
inline double turnBetween(double from, double to)
{
    double d = std::remainder(to - from, TWO_PI);
    return d <= -PI ? d + TWO_PI : d;
}
