// The four ships, seen from above, nose to the right (+x) and centred.
// Parts are laid out in ship coordinates: pixels from the picture's centre,
// x forward, y down. The rest frames' silhouette is also the ship's
// collision mask, so it stays inside the ship's hit radius and short of its
// launch points; the flames of the thrust frames lie behind it.
#include <algorithm>
#include <cmath>

#include "art.h"
#include "noise.h"
#include "shapes.h"

namespace {

// Channels this dark could turn into pure black in a 16-bit frame buffer,
// which the game's rotated copies treat as transparent.
constexpr double SHIP_MIN_CHANNEL = 30.0;

struct ShipCanvas {
    Image image;
    double cx = 0.0, cy = 0.0; // the ship's centre in picture pixels
};

ShipCanvas makeShipCanvas(int width, int height)
{
    return {makeImage(width, height), width / 2.0, height / 2.0};
}

// A shape given in ship coordinates, placed on the canvas.
Shape onShip(const ShipCanvas& c, const Shape& s) { return moved(s, c.cx, c.cy); }

std::vector<Point> mirrored(const std::vector<Point>& points)
{
    std::vector<Point> out;
    for (const Point& p : points)
        out.push_back({p.x, -p.y});
    return out;
}

void hullPart(ShipCanvas& c, const Shape& s, const Rgb& colour, double bevel = 2.0)
{
    fillBevel(c.image, onShip(c, s), colour, bevel);
}

void detail(ShipCanvas& c, const Shape& s, const Rgb& colour)
{
    fillFlat(c.image, onShip(c, s), colour);
}

// A wing and its mirror image below the centre line.
void wingPair(ShipCanvas& c, const std::vector<Point>& upperWing, const Rgb& colour, double bevel = 1.6)
{
    hullPart(c, polygon(upperWing), colour, bevel);
    hullPart(c, polygon(mirrored(upperWing)), colour, bevel);
}

// A small light with a soft halo that stays on the hull.
void light(ShipCanvas& c, Point at, const Rgb& colour, double strength)
{
    for (int y = 0; y < c.image.height; ++y)
        for (int x = 0; x < c.image.width; ++x) {
            if (!isSolid(c.image, x, y))
                continue;
            const double d = std::hypot(x + 0.5 - c.cx - at.x, y + 0.5 - c.cy - at.y);
            const double a = strength * std::exp(-d * d / 1.1);
            if (a > 0.02)
                paint(c.image, x, y, colour, std::min(1.0, a));
        }
}

// An engine flame from the nozzle at (x, y) backwards over length pixels.
void flame(ShipCanvas& c, Point nozzle, double halfWidth, double length, uint32_t flicker)
{
    for (int y = 0; y < c.image.height; ++y)
        for (int x = 0; x < c.image.width; ++x) {
            const double lx = x + 0.5 - c.cx, ly = y + 0.5 - c.cy;
            const double along = (nozzle.x - lx) / length; // 0 at the nozzle, 1 at the tip
            if (along < -0.05 || along > 1.0)
                continue;
            const double wobble = 0.8 + 0.4 * valueNoise2(along * 4.0, ly * 0.7, flicker);
            const double width = halfWidth * (1.0 - along * along) * wobble + 0.3;
            const double across = std::fabs(ly - nozzle.y) / width;
            if (across > 1.0)
                continue;
            const double heat = (1.0 - along) * (1.0 - across * across);
            Rgb colour = heat > 0.55 ? mix(Rgb{255, 200, 80}, Rgb{255, 255, 235}, (heat - 0.55) / 0.45)
                                     : mix(Rgb{190, 40, 20}, Rgb{255, 200, 80}, heat / 0.55);
            const double coverageHere = std::clamp((1.0 - across) * 3.0, 0.0, 1.0);
            if (!isSolid(c.image, x, y))
                paint(c.image, x, y, colour, coverageHere);
        }
}

Image finish(ShipCanvas& c)
{
    liftDarkPixels(c.image, SHIP_MIN_CHANNEL);
    return c.image;
}

// Speeder: a slim dart with swept wings, silver with red trim.
Image speeder(int frame)
{
    ShipCanvas c = makeShipCanvas(44, 32);
    const Rgb silver{196, 202, 214}, red{205, 45, 40}, glass{90, 205, 255}, metal{92, 96, 110};
    if (frame >= 2)
        for (const double side : {-1.6, 1.6})
            flame(c, {-11.0, side}, 1.6, frame == 2 ? 6.5 : 8.5, 70 + frame * 3 + (side > 0));
    wingPair(c, {{3.0, -2.5}, {-6.0, -8.4}, {-8.5, -8.4}, {-8.0, -3.0}}, silver * 0.9);
    detail(c, polygon({{1.5, -3.0}, {-6.4, -8.0}, {-7.4, -8.0}, {0.0, -3.0}}), red);
    detail(c, polygon(mirrored({{1.5, -3.0}, {-6.4, -8.0}, {-7.4, -8.0}, {0.0, -3.0}})), red);
    hullPart(c, mirroredPolygon({{11.5, 0.0}, {7.0, -2.2}, {0.0, -3.0}, {-8.0, -3.2}, {-11.0, -2.6}}, 0.0), silver);
    detail(c, capsule({-11.0, -1.6}, {-10.0, -1.6}, 0.9), metal);
    detail(c, capsule({-11.0, 1.6}, {-10.0, 1.6}, 0.9), metal);
    detail(c, polygon({{9.0, -0.5}, {-6.0, -0.5}, {-6.0, 0.5}, {9.0, 0.5}}), red * 0.9);
    hullPart(c, ellipse({3.5, 0.0}, 3.4, 1.7), glass, 1.2);
    const double blink = frame == 1 ? 1.0 : 0.55;
    light(c, {-7.8, -7.9}, {255, 60, 50}, blink);
    light(c, {-7.8, 7.9}, {60, 255, 90}, blink);
    if (frame == 1)
        light(c, {-10.0, 0.0}, {255, 255, 255}, 0.9);
    return finish(c);
}

// Wasp: a striped insect body between two pairs of wide wings.
Image wasp(int frame)
{
    ShipCanvas c = makeShipCanvas(40, 36);
    const Rgb yellow{232, 192, 44}, band{70, 58, 38}, wing{150, 172, 196}, eye{220, 30, 30};
    if (frame >= 2)
        flame(c, {-6.0, 0.0}, 2.2, frame == 2 ? 8.0 : 10.5, 90 + frame);
    // Two pairs of long wings swept back from the thorax, each with a vein.
    for (const double side : {-1.0, 1.0}) {
        hullPart(c, capsule({0.5, side * 4.0}, {-2.2, side * 10.6}, 2.3), wing, 1.4);
        hullPart(c, capsule({-1.5, side * 3.5}, {-4.8, side * 8.6}, 1.8), wing * 0.82, 1.2);
        detail(c, capsule({0.3, side * 4.6}, {-2.0, side * 10.4}, 0.35), wing * 0.6);
    }
    const Shape abdomen = ellipse({-2.6, 0.0}, 3.7, 3.4);
    hullPart(c, abdomen, yellow);
    for (const double x : {-4.4, -2.0})
        detail(c, intersect(abdomen, polygon({{x - 0.6, -5.0}, {x + 0.6, -5.0}, {x + 0.6, 5.0}, {x - 0.6, 5.0}})), band);
    hullPart(c, ellipse({2.6, 0.0}, 4.0, 3.9), yellow * 0.95);
    detail(c, polygon({{2.6, -4.4}, {3.6, -4.4}, {3.6, 4.4}, {2.6, 4.4}}), band);
    hullPart(c, circle({7.0, 0.0}, 2.6), band * 1.3, 1.2);
    detail(c, capsule({8.2, -2.8}, {8.9, -1.8}, 0.5), band * 1.6);
    detail(c, capsule({8.2, 2.8}, {8.9, 1.8}, 0.5), band * 1.6);
    const double glowEyes = frame == 1 ? 1.0 : 0.6;
    light(c, {7.7, -1.3}, eye, glowEyes);
    light(c, {7.7, 1.3}, eye, glowEyes);
    light(c, {-2.8, -11.8}, {255, 210, 80}, frame == 1 ? 0.9 : 0.0);
    light(c, {-2.8, 11.8}, {255, 210, 80}, frame == 1 ? 0.9 : 0.0);
    return finish(c);
}

// Gunship: a broad armoured hull carried between two gun pods.
Image gunship(int frame)
{
    ShipCanvas c = makeShipCanvas(48, 44);
    const Rgb armour{116, 130, 104}, dark{74, 84, 70}, glass{255, 190, 70}, metal{100, 104, 112};
    if (frame >= 2)
        for (const double side : {-3.6, 3.6})
            flame(c, {-10.0, side}, 2.2, frame == 2 ? 9.0 : 11.5, 110 + frame * 3 + (side > 0));
    wingPair(c, {{4.0, -6.0}, {5.0, -10.0}, {-5.5, -10.0}, {-7.0, -6.0}}, dark, 1.4);
    for (const double side : {-12.0, 12.0}) {
        hullPart(c, capsule({-7.0, side}, {7.5, side}, 2.8), armour, 2.2);
        detail(c, capsule({7.5, side}, {10.0, side}, 0.9), metal);
        detail(c, polygon({{-5.0, side - 0.5}, {5.0, side - 0.5}, {5.0, side + 0.5}, {-5.0, side + 0.5}}), dark);
    }
    hullPart(c, mirroredPolygon({{11.5, 0.0}, {9.0, -5.0}, {-4.0, -7.0}, {-8.5, -6.0}, {-10.5, -3.0}}, 0.0), armour, 2.5);
    detail(c, capsule({-9.6, -3.6}, {-8.4, -3.6}, 1.2), metal);
    detail(c, capsule({-9.6, 3.6}, {-8.4, 3.6}, 1.2), metal);
    hullPart(c, ellipse({7.4, 0.0}, 2.4, 1.9), glass, 1.0);
    // The dorsal turret that gives the gunship its name.
    hullPart(c, circle({-2.5, 0.0}, 3.4), dark * 1.15, 1.6);
    detail(c, capsule({-1.0, -1.0}, {4.0, -1.0}, 0.55), metal * 1.3);
    detail(c, capsule({-1.0, 1.0}, {4.0, 1.0}, 0.55), metal * 1.3);
    const double on = frame == 1 ? 1.0 : 0.5;
    light(c, {9.2, -12.0}, {255, 150, 40}, on);
    light(c, {9.2, 12.0}, {255, 150, 40}, on);
    light(c, {-7.5, -12.0}, {255, 255, 255}, frame == 1 ? 0.8 : 0.0);
    light(c, {-7.5, 12.0}, {255, 255, 255}, frame == 1 ? 0.8 : 0.0);
    return finish(c);
}

// Scout: a small white arrowhead with a bubble canopy.
Image scout(int frame)
{
    ShipCanvas c = makeShipCanvas(32, 24);
    const Rgb white{226, 230, 236}, cyan{40, 190, 212}, glass{120, 220, 255}, metal{96, 100, 112};
    if (frame >= 2)
        flame(c, {-5.2, 0.0}, 1.8, frame == 2 ? 7.0 : 9.5, 130 + frame);
    hullPart(c, mirroredPolygon({{9.0, 0.0}, {7.5, -1.1}, {2.0, -2.8}, {-4.5, -7.0}, {-6.3, -6.3}, {-4.6, -2.4}, {-5.4, 0.0}}, 0.0), white, 1.8);
    detail(c, polygon({{-2.0, -4.3}, {-4.6, -6.3}, {-5.7, -6.0}, {-3.2, -4.0}}), cyan);
    detail(c, polygon(mirrored({{-2.0, -4.3}, {-4.6, -6.3}, {-5.7, -6.0}, {-3.2, -4.0}})), cyan);
    detail(c, capsule({-5.4, 0.0}, {-4.4, 0.0}, 0.9), metal);
    hullPart(c, ellipse({1.5, 0.0}, 2.8, 1.8), glass, 1.0);
    const double on = frame == 1 ? 1.0 : 0.5;
    light(c, {-5.5, -6.3}, {80, 255, 255}, on);
    light(c, {-5.5, 6.3}, {80, 255, 255}, on);
    return finish(c);
}

} // namespace

Image drawShip(ShipKind kind, int frame)
{
    switch (kind) {
    case ShipKind::Speeder: return speeder(frame);
    case ShipKind::Wasp: return wasp(frame);
    case ShipKind::Gunship: return gunship(frame);
    case ShipKind::Scout: return scout(frame);
    }
    return makeImage(1, 1);
}
