#include "icon.h"

#include <algorithm>
#include <cmath>

#include "noise.h"
#include "shapes.h"

namespace {

// The design is laid out on a 128 x 128 grid and scaled to the icon's size.
constexpr double DESIGN_SIZE = 128.0;
constexpr Point BADGE_CENTRE = {64.0, 64.0};
constexpr double BADGE_RADIUS = 60.0;
constexpr Point PLANET_CENTRE = {44.0, 96.0};
constexpr double PLANET_RADIUS = 30.0;
constexpr int STAR_COUNT = 22;
constexpr uint32_t STAR_SEED = 0x5a17u;
constexpr uint32_t BAND_SEED = 0x0b1du;
constexpr double PI = 3.14159265358979;

const Rgb SKY_TOP = {14, 20, 58};
const Rgb SKY_BOTTOM = {46, 14, 62};
const Rgb RIM_LIGHT = {110, 150, 255};
const Rgb PLANET_LIGHT = {240, 168, 84};
const Rgb PLANET_DARK = {150, 70, 40};
const Rgb BLUE_HULL = {70, 140, 255};
const Rgb RED_HULL = {235, 70, 60};
const Rgb FLAME = {255, 190, 90};
const Rgb SHOT = {160, 255, 170};
const Rgb STARLIGHT = {220, 230, 255};
const Rgb CANOPY = {230, 245, 255};

struct Vec3 {
    double x, y, z;
};

// The same shape turned by angle (radians, clockwise on screen) about the origin.
Shape rotated(Shape s, double angle)
{
    const double c = std::cos(angle), sn = std::sin(angle);
    return [=](double x, double y) { return s(c * x + sn * y, -sn * x + c * y); };
}

// A light that fades with distance like a soft dot; radius in pixels.
void glowDot(Image& image, Point centre, double radius, const Rgb& colour, double strength)
{
    const int x0 = static_cast<int>(centre.x - 3 * radius) - 1, x1 = static_cast<int>(centre.x + 3 * radius) + 1;
    const int y0 = static_cast<int>(centre.y - 3 * radius) - 1, y1 = static_cast<int>(centre.y + 3 * radius) + 1;
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) {
            const double d = std::hypot(x + 0.5 - centre.x, y + 0.5 - centre.y) / radius;
            glow(image, x, y, colour, strength * std::exp(-d * d));
        }
}

void drawSky(Image& image, const Shape& badge, double k)
{
    fill(image, badge, [&](double, double y, double depth) {
        const Rgb sky = mix(SKY_TOP, SKY_BOTTOM, std::clamp(y / (DESIGN_SIZE * k), 0.0, 1.0));
        // A thin lit rim keeps the badge round against dark panels.
        const double rim = std::clamp(1.0 - depth / (2.5 * k), 0.0, 1.0);
        return mix(sky, RIM_LIGHT, 0.55 * rim);
    });
}

void drawStars(Image& image, double k)
{
    Scatter scatter{STAR_SEED, 0};
    for (int i = 0; i < STAR_COUNT; ++i) {
        const double angle = nextRange(scatter, 0.0, 2 * PI);
        // Spread evenly over the disc, clear of the rim.
        const double r = BADGE_RADIUS * 0.9 * std::sqrt(nextUnit(scatter));
        const Point at = {(BADGE_CENTRE.x + r * std::cos(angle)) * k, (BADGE_CENTRE.y + r * std::sin(angle)) * k};
        const double brightness = nextRange(scatter, 0.35, 1.0);
        glowDot(image, at, std::max(0.5, 0.7 * k), STARLIGHT, brightness);
    }
}

// A banded gas giant lit from the upper left, cut off by the badge's edge.
void drawPlanet(Image& image, const Shape& badge, double k)
{
    const Shape planet = intersect(scaled(circle(PLANET_CENTRE, PLANET_RADIUS), k), badge);
    const Vec3 sun = {-0.58, -0.52, 0.62};
    fill(image, planet, [&](double x, double y, double) {
        const double nx = (x / k - PLANET_CENTRE.x) / PLANET_RADIUS;
        const double ny = (y / k - PLANET_CENTRE.y) / PLANET_RADIUS;
        const double nz = std::sqrt(std::max(0.0, 1.0 - nx * nx - ny * ny));
        const double lambert = std::max(0.0, nx * sun.x + ny * sun.y + nz * sun.z);
        const double bands = 0.5 + 0.5 * std::sin(ny * 11.0 + 2.5 * valueNoise2(nx * 3.0, ny * 9.0, BAND_SEED));
        const Rgb surface = mix(PLANET_DARK, PLANET_LIGHT, 0.35 + 0.65 * bands);
        return surface * (0.12 + 0.95 * lambert);
    });
}

// The path of a shot bent by the planet's pull: a quadratic curve of dots.
void drawShotTrail(Image& image, double k)
{
    const Point from = {54, 48}, bend = {66, 80}, to = {82, 70};
    constexpr int DOTS = 7;
    for (int i = 0; i < DOTS; ++i) {
        const double t = static_cast<double>(i) / (DOTS - 1);
        const double u = 1.0 - t;
        const Point p = {u * u * from.x + 2 * u * t * bend.x + t * t * to.x,
                         u * u * from.y + 2 * u * t * bend.y + t * t * to.y};
        glowDot(image, {p.x * k, p.y * k}, std::max(0.6, (0.8 + 1.2 * t) * k), SHOT, 0.5 + 0.5 * t);
    }
}

// A dart-shaped ship whose nose points along heading (radians, 0 = right).
void drawShip(Image& image, Point centre, double heading, const Rgb& hull, double k)
{
    const Shape dart = polygon({{20, 0}, {3, -5}, {-11, -15}, {-7, 0}, {-11, 15}, {3, 5}});
    const Shape cockpit = ellipse({5, 0}, 5.0, 2.4);
    const auto place = [&](const Shape& s) { return scaled(moved(rotated(s, heading), centre.x, centre.y), k); };
    const Point nozzle = {centre.x - 10 * std::cos(heading), centre.y - 10 * std::sin(heading)};
    glowDot(image, {nozzle.x * k, nozzle.y * k}, 3.5 * k, FLAME, 0.9);
    fillBevel(image, place(dart), hull, 2.5 * k);
    fillFlat(image, place(cockpit), CANOPY);
}

} // namespace

Image drawIcon(int size)
{
    const double k = size / DESIGN_SIZE;
    Image image = makeImage(size, size);
    const Shape badge = scaled(circle(BADGE_CENTRE, BADGE_RADIUS), k);
    drawSky(image, badge, k);
    drawStars(image, k);
    drawPlanet(image, badge, k);
    drawShotTrail(image, k);
    drawShip(image, {36, 36}, 0.6, BLUE_HULL, k);
    drawShip(image, {98, 60}, PI + 0.4, RED_HULL, k);
    return image;
}

std::vector<unsigned char> toRgba(const Image& image)
{
    std::vector<unsigned char> rgba;
    rgba.reserve(image.colour.size() * 4);
    const auto byte = [](double v) { return static_cast<unsigned char>(std::clamp(std::lround(v), 0L, 255L)); };
    for (size_t i = 0; i < image.colour.size(); ++i) {
        const double alpha = std::clamp(image.cover[i], 0.0, 1.0);
        const Rgb c = alpha > 0.0 ? image.colour[i] : Rgb{};
        rgba.insert(rgba.end(), {byte(c.r), byte(c.g), byte(c.b), byte(alpha * 255.0)});
    }
    return rgba;
}
