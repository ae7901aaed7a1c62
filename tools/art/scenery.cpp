// The background and the bodies of the maps: earth, moon, two stars and
// two small satellites. Every body is a disc lit from the upper left.
#include <algorithm>
#include <cmath>

#include "art.h"
#include "noise.h"
#include "shapes.h"

namespace {

constexpr int SCREEN_WIDTH = 1024;
constexpr int SCREEN_HEIGHT = 768;
constexpr double EARTH_RADIUS_PX = 51.5;
constexpr double MOON_RADIUS_PX = 19.0;
constexpr double STAR_RADIUS_PX = 24.5;

// The light of the whole scene, from the upper left and towards the viewer.
struct Vec3 {
    double x, y, z;
};
constexpr Vec3 SUN = {-0.55, -0.45, 0.70};

double dot(const Vec3& a, const Vec3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

Vec3 normalised(const Vec3& v)
{
    const double len = std::sqrt(dot(v, v));
    return {v.x / len, v.y / len, v.z / len};
}

// A point on a disc of the given radius, centred in a picture of side size,
// seen as the near half of a sphere.
struct SpherePoint {
    bool onDisc = false;
    double radial = 0.0; // 0 at the centre, 1 at the edge
    Vec3 normal{0.0, 0.0, 1.0};
};

SpherePoint spherePoint(int x, int y, int size, double radius)
{
    const double dx = x + 0.5 - size / 2.0, dy = y + 0.5 - size / 2.0;
    SpherePoint p;
    const double r = std::hypot(dx, dy);
    p.onDisc = r <= radius;
    if (!p.onDisc)
        return p;
    p.radial = r / radius;
    const double nx = dx / radius, ny = dy / radius;
    p.normal = {nx, ny, std::sqrt(std::max(0.0, 1.0 - nx * nx - ny * ny))};
    return p;
}

// Side of the square picture of a disc: even, so that the disc's centre is
// the pixel corner on which the game places the picture and its mask.
int discPictureSize(double radius) { return 2 * static_cast<int>(std::ceil(radius)); }

Rgb backgroundSky(int x, int y)
{
    const double fy = static_cast<double>(y) / SCREEN_HEIGHT;
    const double vignette = std::hypot(x / double(SCREEN_WIDTH) - 0.5, fy - 0.55);
    const Rgb top{3, 4, 12}, bottom{7, 5, 16};
    return mix(top, bottom, fy) * (1.0 - 0.5 * vignette);
}

Rgb nebula(int x, int y)
{
    const double u = x / 260.0, v = y / 260.0;
    // The gas lies in a wavering band from the lower left to the upper right,
    // plus a few patches, so that parts of the sky stay clear and deep.
    const double across = x / double(SCREEN_WIDTH) + y / double(SCREEN_HEIGHT) - 1.0;
    const double waver = 0.45 * (fractal2(u * 0.6 + 5.0, v * 0.6, 3, 12) - 0.45);
    const double band = std::exp(-std::pow((across + waver) / 0.38, 2.0));
    const double patches = std::clamp((fractal2(u * 0.45 + 3.1, v * 0.45 + 7.7, 3, 11) - 0.5) * 3.5, 0.0, 1.0);
    const double region = std::max(band, patches);
    const double body = std::clamp((fractal2(u, v, 6, 21) - 0.30) * 2.5, 0.0, 1.0);
    // Thin bright filaments where a second field crosses its middle value.
    const double ridge = 1.0 - std::fabs(fractal2(u * 1.3 + 17.0, v * 1.3, 5, 22) * 2.0 - 1.0);
    const double filaments = std::pow(ridge, 8.0);
    const double strength = region * (0.9 * std::pow(body, 1.5) + 0.6 * filaments * body);
    const double hue = std::clamp((fractal2(u * 0.5 + 40.0, v * 0.5, 4, 31) - 0.3) * 2.5, 0.0, 1.0);
    const Rgb violet{96, 34, 130}, teal{24, 96, 136}, rose{140, 44, 78};
    const Rgb tint = hue < 0.5 ? mix(violet, teal, hue * 2.0) : mix(teal, rose, (hue - 0.5) * 2.0);
    const double dust = std::clamp((fractal2(u * 2.2 + 9.0, v * 2.2, 5, 41) - 0.45) * 2.5, 0.0, 0.75);
    return tint * (0.85 * strength * (1.0 - dust));
}

void addStar(Image& image, double cx, double cy, double size, const Rgb& colour)
{
    const int reach = static_cast<int>(size * 3.0) + 2;
    for (int y = int(cy) - reach; y <= int(cy) + reach; ++y)
        for (int x = int(cx) - reach; x <= int(cx) + reach; ++x) {
            if (!inside(image, x, y))
                continue;
            const double dx = x + 0.5 - cx, dy = y + 0.5 - cy;
            const double core = std::exp(-(dx * dx + dy * dy) / (size * size));
            // Bright stars get a faint cross of light.
            const double spikes = size > 1.2 ? 0.25 * std::exp(-std::fabs(dx) * 1.4) * std::exp(-std::fabs(dy) / (size * 2.5))
                                                  + 0.25 * std::exp(-std::fabs(dy) * 1.4) * std::exp(-std::fabs(dx) / (size * 2.5))
                                             : 0.0;
            const size_t i = static_cast<size_t>(y) * image.width + x;
            image.colour[i] = image.colour[i] + colour * (core + spikes);
        }
}

Rgb starColour(Scatter& s)
{
    const double t = nextUnit(s);
    if (t < 0.55)
        return {235, 238, 255};
    if (t < 0.80)
        return {170, 200, 255};
    if (t < 0.95)
        return {255, 230, 180};
    return {255, 180, 150};
}

void scatterStars(Image& image)
{
    Scatter s{7};
    constexpr int FAINT_STARS = 2600;
    for (int i = 0; i < FAINT_STARS; ++i) {
        const double x = nextRange(s, 0, SCREEN_WIDTH), y = nextRange(s, 0, SCREEN_HEIGHT);
        const double brightness = std::pow(nextUnit(s), 2.2) * 0.55 + 0.08;
        addStar(image, x, y, 0.55, starColour(s) * brightness);
    }
    constexpr int MEDIUM_STARS = 140;
    for (int i = 0; i < MEDIUM_STARS; ++i) {
        const double x = nextRange(s, 0, SCREEN_WIDTH), y = nextRange(s, 0, SCREEN_HEIGHT);
        addStar(image, x, y, nextRange(s, 0.8, 1.15), starColour(s) * nextRange(s, 0.5, 0.85));
    }
    constexpr int BRIGHT_STARS = 9;
    for (int i = 0; i < BRIGHT_STARS; ++i) {
        const double x = nextRange(s, 0, SCREEN_WIDTH), y = nextRange(s, 60, SCREEN_HEIGHT);
        addStar(image, x, y, nextRange(s, 1.3, 1.7), starColour(s) * 0.9);
    }
}

// Lit colour of a sphere's surface point, with a little ambient light so
// that the night side still shows against the sky.
Rgb litSurface(const Rgb& surface, const SpherePoint& p, double ambient)
{
    const double diffuse = std::max(0.0, dot(p.normal, normalised(SUN)));
    return surface * (ambient + (1.0 - ambient) * diffuse);
}

Rgb earthSurface(const Vec3& n)
{
    // Turn the globe a little so the continents do not sit square to the view.
    const Vec3 q{n.x * 0.94 + n.z * 0.34, n.y, -n.x * 0.34 + n.z * 0.94};
    const double height = fractal3(q.x * 1.9 + 5.0, q.y * 1.9, q.z * 1.9, 6, 101);
    const double latitude = std::fabs(q.y * 0.96 + q.z * 0.1);
    if (latitude > 0.86 + 0.06 * valueNoise3(q.x * 6, q.y * 6, q.z * 6, 7))
        return {236, 242, 250};
    const double seaLevel = 0.53;
    if (height < seaLevel) {
        const double depth = std::clamp((seaLevel - height) * 7.0, 0.0, 1.0);
        return mix(Rgb{40, 120, 175}, Rgb{10, 36, 105}, depth);
    }
    const double dryness = fractal3(q.x * 3.0, q.y * 3.0 + 9.0, q.z * 3.0, 4, 202);
    const double high = std::clamp((height - seaLevel) * 6.0, 0.0, 1.0);
    const Rgb green{50, 118, 48}, desert{186, 160, 98}, mountain{116, 96, 70};
    const Rgb low = dryness > 0.55 ? mix(green, desert, std::clamp((dryness - 0.55) * 6.0, 0.0, 1.0)) : green;
    return mix(low, mountain, high * 0.8);
}

double earthClouds(const Vec3& n)
{
    const double c = fractal3(n.x * 2.6 + 31.0, n.y * 4.2, n.z * 2.6, 5, 303);
    return std::clamp((c - 0.52) * 3.5, 0.0, 0.9);
}

struct Crater {
    double x, y, radius; // on the disc, pixels from the centre
};

std::vector<Crater> moonCraters()
{
    Scatter s{55};
    std::vector<Crater> craters;
    constexpr int CRATERS = 22;
    for (int i = 0; i < CRATERS; ++i) {
        const double angle = nextRange(s, 0, 6.2831853), dist = std::sqrt(nextUnit(s)) * (MOON_RADIUS_PX - 2.0);
        const double radius = 0.9 + std::pow(nextUnit(s), 2.0) * 3.6;
        craters.push_back({dist * std::cos(angle), dist * std::sin(angle), radius});
    }
    return craters;
}

// How a crater changes the moon's brightness at a point: a dark floor, a
// lit rim on the side away from the sun and a shadowed rim facing it.
double craterShade(const Crater& c, double x, double y)
{
    const double dx = x - c.x, dy = y - c.y;
    const double r = std::hypot(dx, dy) / c.radius;
    if (r > 1.35)
        return 0.0;
    const double towardsSun = r > 0.0 ? -(dx * SUN.x + dy * SUN.y) / (std::hypot(dx, dy) * 0.71) : 0.0;
    if (r < 1.0)
        return -0.18 - 0.22 * towardsSun * r;
    return 0.20 * (1.35 - r) / 0.35 * (0.3 - towardsSun);
}

Image drawDisc(double radius, const std::function<Rgb(const SpherePoint&, double x, double y)>& surface)
{
    const int size = discPictureSize(radius);
    Image image = makeImage(size, size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const SpherePoint p = spherePoint(x, y, size, radius);
            if (p.onDisc)
                paint(image, x, y, surface(p, x + 0.5 - size / 2.0, y + 0.5 - size / 2.0), 1.0);
        }
    return image;
}

Rgb starSurface(const SpherePoint& p, const Rgb& core, const Rgb& middle, const Rgb& edge, uint32_t seed)
{
    const Vec3& n = p.normal;
    // Boiling cells on the surface, brightest at their middles.
    const double cells = fractal3(n.x * 9.0, n.y * 9.0, n.z * 9.0, 3, seed);
    const double granules = std::pow(std::clamp((cells - 0.3) * 2.5, 0.0, 1.0), 1.5);
    const double flares = std::pow(fractal3(n.x * 2.4 + 4.0, n.y * 2.4, n.z * 2.4, 4, seed + 9), 2.5);
    const double spot = std::clamp((fractal3(n.x * 3.0 + 9.0, n.y * 3.0, n.z * 3.0, 3, seed + 17) - 0.7) * 4.0, 0.0, 0.3);
    const double r = p.radial;
    Rgb c = r < 0.5 ? mix(core, middle, r / 0.5) : mix(middle, edge, (r - 0.5) / 0.5);
    c = c * (0.9 + 0.25 * granules) * (1.0 - spot);
    // A ring of glow just inside the edge: the disc itself must end at the
    // star's radius, so the glow is kept within it.
    const double ring = std::exp(-std::pow((r - 0.93) / 0.06, 2.0));
    c = c + middle * (0.45 * ring) + core * (0.55 * flares * (1.0 - r * r));
    return c;
}

} // namespace

Image drawBackground()
{
    Image image = makeImage(SCREEN_WIDTH, SCREEN_HEIGHT);
    for (int y = 0; y < SCREEN_HEIGHT; ++y)
        for (int x = 0; x < SCREEN_WIDTH; ++x)
            paint(image, x, y, backgroundSky(x, y) + nebula(x, y), 1.0);
    scatterStars(image);
    // Keep the sky dark enough for shots to stand out, and never magenta.
    for (Rgb& c : image.colour) {
        c.r = std::min(c.r, 235.0);
        c.g = std::min(c.g, 235.0);
        c.b = std::min(c.b, 245.0);
    }
    return image;
}

Image drawEarth()
{
    return drawDisc(EARTH_RADIUS_PX, [](const SpherePoint& p, double, double) {
        const Rgb ground = earthSurface(p.normal);
        const Rgb withClouds = mix(ground, Rgb{245, 248, 255}, earthClouds(p.normal));
        Rgb c = litSurface(withClouds, p, 0.10);
        const double diffuse = std::max(0.0, dot(p.normal, normalised(SUN)));
        const Vec3 half = normalised({SUN.x, SUN.y, SUN.z + 1.0});
        // Only the sea is glossy enough to mirror the sun.
        const bool sea = ground.b > ground.g;
        const double specular = sea ? std::pow(std::max(0.0, dot(p.normal, half)), 40.0) * 0.55 : 0.0;
        const double rim = std::pow(p.radial, 6.0);
        c = c + Rgb{255, 250, 235} * specular + Rgb{70, 130, 255} * (rim * (0.25 + 0.75 * diffuse));
        return c;
    });
}

Image drawMoon()
{
    const std::vector<Crater> craters = moonCraters();
    return drawDisc(MOON_RADIUS_PX, [&](const SpherePoint& p, double x, double y) {
        const Vec3& n = p.normal;
        const double maria = fractal3(n.x * 1.6 + 2.0, n.y * 1.6, n.z * 1.6, 4, 404);
        double shade = 0.92 - std::clamp((maria - 0.5) * 1.6, 0.0, 0.3);
        shade += 0.08 * (valueNoise3(n.x * 9, n.y * 9, n.z * 9, 405) - 0.5);
        for (const Crater& c : craters)
            shade += craterShade(c, x, y);
        const Rgb grey{168, 168, 162};
        return litSurface(grey * std::max(0.25, shade), p, 0.16);
    });
}

Image drawStar(StarKind kind)
{
    if (kind == StarKind::Golden)
        return drawDisc(STAR_RADIUS_PX, [](const SpherePoint& p, double, double) {
            return starSurface(p, {255, 252, 225}, {255, 196, 70}, {235, 100, 25}, 500);
        });
    return drawDisc(STAR_RADIUS_PX, [](const SpherePoint& p, double, double) {
        return starSurface(p, {240, 248, 255}, {120, 180, 255}, {50, 80, 230}, 600);
    });
}

Image drawSatellite(int variant)
{
    constexpr int SIZE = 24;
    Image image = makeImage(SIZE, SIZE);
    const Rgb panel{40, 70, 150}, hull{170, 170, 180}, gold{200, 160, 60};
    if (variant == 0) {
        fillBevel(image, polygon({{2, 9}, {9, 9}, {9, 15}, {2, 15}}), panel, 1.5);
        fillBevel(image, polygon({{15, 9}, {22, 9}, {22, 15}, {15, 15}}), panel, 1.5);
        fillFlat(image, polygon({{8, 11.5}, {16, 11.5}, {16, 12.5}, {8, 12.5}}), hull * 0.7);
        fillBevel(image, circle({12, 12}, 4.0), hull, 2.0);
        fillFlat(image, circle({12, 12}, 1.3), gold);
    } else {
        fillBevel(image, polygon({{8, 4}, {16, 4}, {18, 18}, {6, 18}}), gold, 2.0);
        fillBevel(image, ellipse({12, 19}, 9.0, 3.0), hull, 1.5);
        fillFlat(image, capsule({12, 4}, {12, 1.5}, 0.7), hull);
        fillFlat(image, circle({12, 1.8}, 1.0), Rgb{255, 80, 60});
    }
    return image;
}
