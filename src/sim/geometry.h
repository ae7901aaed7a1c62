// World units, vectors, angles and the gravitational pull.
#pragma once

constexpr double WORLD_UNITS_PER_PIXEL = 976562.5;
// The game's own ten-digit half and full turn; every angle rule uses these.
constexpr double PI = 3.141592653;
constexpr double TWO_PI = 6.283185306;

struct Vec2 {
    double x = 0.0;
    double y = 0.0;
};

// Velocities, headings, forces and muzzle offsets. The length may be negative.
struct PolarVec {
    double length = 0.0;
    double angle = 0.0; // radians
};

struct WorldRect {
    double x = 0.0;
    double y = 0.0;
    double w = 0.0;
    double h = 0.0;
};

// The physical head shared by planets, ships, shots and shield bubbles.
struct Body {
    double mass = 0.0;        // negative for a repelling shield bubble
    bool attracts = true;
    double gravityRange = 0.0; // world units; 0 = unlimited reach
    double radius = 0.0;       // world units
    Vec2 position;
};

// [0, TWO_PI)
double normaliseAngle(double angle);
// Stores the angle wrapped into [0, TWO_PI]; TWO_PI itself stays.
void setAngle(PolarVec& v, double angle);
void rotate(PolarVec& v, double delta);
double xOf(const PolarVec& v);
double yOf(const PolarVec& v);
PolarVec add(const PolarVec& a, const PolarVec& b);
PolarVec subtract(const PolarVec& a, const PolarVec& b);
PolarVec scale(const PolarVec& v, double k);
PolarVec divide(const PolarVec& v, double k);
PolarVec polarFromPoints(const Vec2& from, const Vec2& to);
double distance(const Vec2& a, const Vec2& b);
int worldToPixel(double worldUnits);
Vec2 worldToPixelVec(const Vec2& world);
inline double pixels(double px) { return px * WORLD_UNITS_PER_PIXEL; }
// Degrees from radians with the game's own value of pi, for turning pictures.
inline float degreesOf(double radians) { return static_cast<float>(radians * 180.0 / PI); }

// x <= px < x + w and y <= py < y + h
bool insideRect(const WorldRect& r, const Vec2& p);
// Strictly inside: x < px < x + w and y < py < y + h (firing needs this).
bool strictlyInsideRect(const WorldRect& r, const Vec2& p);

// Force with which source pulls target; divide by the target's mass for acceleration.
PolarVec pullOf(const Body& source, const Body& target);
// The same force as x and y components, without the angle's round trip
// (the per-shot loop sums a thousand of these a frame).
Vec2 pullComponentsOf(const Body& source, const Body& target);
