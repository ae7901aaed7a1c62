// The blasts: a ship's explosion (which the heavy shots share) and the laser's
// green impact. Each is one blast drawn at a few ages: a white-hot flash,
// a short shock ring, sparks and debris flying out, and for fire a smoky
// tail. The same noise, scaled with the cloud, runs through every picture of
// a blast, so the frames read as one cloud growing and cooling.
#include <algorithm>
#include <cassert>
#include <cmath>

#include "art.h"
#include "fire.h"
#include "noise.h"

namespace {

constexpr double TAU = 6.283185307179586;
constexpr double EDGE_MARGIN_PX = 1.5; // the outermost pixels stay clear

// One picture of a blast.
struct BlastAge {
    int sizePx;          // side of the square picture
    double coreRadiusPx; // the fireball, later its smoke; the rim is lumpy around it
    double heat;         // 1 white-hot .. 0 cold
    double ringRadiusPx;
    double ring;         // shock ring brightness, 0 for none
    double sparkTravel;  // 0 .. 1 of the sparks' whole flight
    double breakup;      // 0 one cloud .. 1 scattered wisps
    double thinning;     // 0 dense .. 1 gone: the share of the cloud's pixels left out
    double hollow;       // 0 .. 1: how far the middle has cleared as the cloud spreads into a shell
    double rays;         // flash spikes reaching out, 0 none .. 1 to the picture's edge
};

struct BlastLook {
    Rgb (*colour)(double heat);
    bool smokes;         // fire turns to smoke; light only fades
    int puffs;           // billows in the cloud, 1 for a plain ball
    int sparks;
    int debris;          // of the sparks, how many are heavier glowing chunks
    double sparkReachPx; // the fastest spark's distance at the end of its flight
    int rayCount;
    uint32_t seed;
};

// The ship blast in the order the game plays it: explosion8 first, explosion1
// last. Shots share its pictures: the smaller impacts play only the last
// three or five, the flamer flies as explosion4. So the smoke spreads into a
// hollow shell, which leaves a ship under fire (or its own flash) in sight.
// Columns: size, core radius, heat, ring radius, ring, spark travel,
// breakup, thinning, hollow, rays.
constexpr int SHIP_BLAST_STEPS = 8;
constexpr BlastAge SHIP_BLAST[SHIP_BLAST_STEPS] = {
    {56, 22.0, 1.00, 0.0, 0.0, 0.35, 0.00, 0.00, 0.00, 1.0},  // white-hot flash
    {68, 26.0, 0.95, 29.0, 0.7, 0.58, 0.00, 0.00, 0.00, 0.6}, // still white, the ring leaves it
    {78, 28.0, 0.82, 34.5, 1.0, 0.74, 0.00, 0.00, 0.00, 0.2}, // yellow fireball, ring at its brightest
    {86, 30.0, 0.66, 38.5, 0.75, 0.85, 0.04, 0.00, 0.00, 0.0},
    {92, 28.0, 0.48, 42.0, 0.35, 0.92, 0.18, 0.00, 0.20, 0.0}, // orange, burning out from the rim
    {96, 34.0, 0.30, 0.0, 0.0, 0.96, 0.26, 0.05, 0.45, 0.0},   // smoke with the fire showing through
    {98, 37.0, 0.16, 0.0, 0.0, 0.99, 0.40, 0.20, 0.75, 0.0},
    {100, 40.0, 0.06, 0.0, 0.0, 1.00, 0.56, 0.40, 1.00, 0.0},  // the last wisps
};
constexpr BlastLook SHIP_BLAST_LOOK{fireColour, true, 13, 36, 8, 47.0, 9, 808};

// The laser impact, played green explosion3 first.
constexpr int GREEN_IMPACT_STEPS = 3;
constexpr BlastAge GREEN_IMPACT[GREEN_IMPACT_STEPS] = {
    {36, 10.0, 1.00, 12.0, 0.6, 0.45, 0.00, 0.00, 0.00, 0.8},
    {46, 8.0, 0.55, 17.0, 1.0, 0.80, 0.00, 0.00, 0.00, 0.0},
    {56, 5.0, 0.30, 23.0, 0.75, 1.00, 0.00, 0.00, 0.00, 0.0},
};
constexpr BlastLook GREEN_IMPACT_LOOK{laserColour, false, 1, 14, 0, 26.0, 6, 820};

struct Polar {
    double dx, dy, distance, angle;
};

Polar fromCentre(const Image& image, int x, int y)
{
    const double c = image.width / 2.0;
    const double dx = x + 0.5 - c, dy = y + 0.5 - c;
    return {dx, dy, std::hypot(dx, dy), std::atan2(dy, dx)};
}

// One of the round billows the cloud is made of, in units of the cloud's radius.
struct Puff {
    double x = 0.0, y = 0.0;
    double radius = 1.0;
    double life = 1.0; // the breakup at which it has blown away
};

constexpr int MAX_PUFFS = 16;

// The same billows for every picture of a blast: one in the middle, which
// thins first, and the rest around it.
int makePuffs(const BlastLook& look, Puff (&puffs)[MAX_PUFFS])
{
    Scatter s{look.seed + 6};
    const int count = std::min(MAX_PUFFS, look.puffs);
    puffs[0] = Puff{0.0, 0.0, count > 1 ? 0.62 : 1.0, 0.45};
    for (int i = 1; i < count; ++i) {
        const double angle = (i + nextRange(s, -0.35, 0.35)) * TAU / (count - 1);
        const double radius = nextRange(s, 0.26, 0.42);
        const double distance = nextRange(s, 0.45, 1.05 - radius);
        puffs[i] = Puff{std::cos(angle) * distance, std::sin(angle) * distance, radius, nextRange(s, 0.55, 1.0)};
    }
    return count;
}

// max(a, b) with the corner rounded over a width k, so billows merge without a seam.
double smoothMax(double a, double b, double k)
{
    const double h = std::max(k - std::fabs(a - b), 0.0) / k;
    return std::max(a, b) + h * h * k * 0.25;
}

// The billows of one picture and how far it has dispersed.
struct Cloud {
    Puff puffs[MAX_PUFFS];
    int count = 0;
    double breakup = 0.0;
    double hollow = 0.0;
    uint32_t seed = 0;
};

// The cloud's height over a point given in cloud radii: 0 at its edge, about
// 1 on top of a billow, negative outside.
double cloudHeight(const Cloud& cloud, double x, double y)
{
    double height = -1.0;
    for (int i = 0; i < cloud.count; ++i) {
        const Puff& puff = cloud.puffs[i];
        if (puff.life <= cloud.breakup)
            continue;
        // A billow shrinks as it blows away.
        const double radius = puff.radius * std::min(1.0, (puff.life - cloud.breakup) / 0.25 + 0.4);
        const double nx = (x - puff.x) / radius, ny = (y - puff.y) / radius;
        height = smoothMax(height, 1.0 - nx * nx - ny * ny, 0.5);
    }
    const double lumps = fractal2(x * 2.6 + 10.0, y * 2.6 + 10.0, 4, cloud.seed) - 0.5;
    const double wisps = fractal2(x * 4.0 + 3.0, y * 4.0, 3, cloud.seed + 1);
    const double middle = std::max(0.0, 1.0 - (x * x + y * y) / 0.5);
    return height + 0.5 * lumps - cloud.breakup * 1.1 * wisps - cloud.hollow * 1.6 * middle;
}

// What fire looks like at a point of the cloud: flame where it is hot, smoke
// where it has cooled, with the fire still glowing between the billows.
Rgb fireCloudColour(double heat, double lit, double height, const BlastAge& age)
{
    const Rgb soot = mix(Rgb{126, 106, 92}, Rgb{78, 74, 76}, 1.0 - age.heat);
    const Rgb smoke = soot * (0.5 + 0.8 * lit);
    const double flameShare = std::clamp((heat - 0.25) / 0.25, 0.0, 1.0);
    const double crevice = std::clamp(1.0 - height * 3.0, 0.0, 1.0) * std::clamp(age.heat * 3.0, 0.0, 1.0);
    return mix(mix(smoke, fireColour(heat), flameShare), fireColour(0.3 + 0.5 * age.heat), crevice * (1.0 - flameShare));
}

// The fireball, made of billows lit from the heart of the blast and from the
// upper left; fire cools to smoke, light only fades.
void drawCore(Image& image, const BlastAge& age, const BlastLook& look)
{
    Cloud cloud;
    cloud.count = makePuffs(look, cloud.puffs);
    cloud.breakup = age.breakup;
    cloud.hollow = age.hollow;
    cloud.seed = look.seed;
    const double reach = image.width / 2.0 - EDGE_MARGIN_PX;
    const double step = 1.0 / age.coreRadiusPx; // one pixel in cloud radii
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            const Polar p = fromCentre(image, x, y);
            if (p.distance > reach)
                continue;
            const double cx = p.dx * step, cy = p.dy * step;
            const double height = cloudHeight(cloud, cx, cy);
            // Thin smoke is a scatter of pixels, thinnest at its edges.
            const double density = std::min(1.0, height * 4.0) * (1.0 - age.thinning);
            if (height <= 0.0 || density < unitHash(x, y, look.seed + 7))
                continue;
            // Slopes facing the upper left catch the light.
            const double gx = (cloudHeight(cloud, cx + step, cy) - cloudHeight(cloud, cx - step, cy)) / (2.0 * step);
            const double gy = (cloudHeight(cloud, cx, cy + step) - cloudHeight(cloud, cx, cy - step)) / (2.0 * step);
            const double lit = std::clamp(0.55 + 0.12 * (gx + gy) + 0.2 * std::min(1.0, height), 0.0, 1.0);
            const double heart = std::clamp(1.0 - std::hypot(cx, cy) / 1.1, 0.0, 1.0);
            const double heat = std::clamp(age.heat * (0.72 + 0.45 * heart) + 0.35 * (lit - 0.5), 0.0, 1.0);
            if (look.smokes)
                paint(image, x, y, fireCloudColour(heat, lit, height, age), 1.0);
            else if (heat > 0.15)
                paint(image, x, y, look.colour(heat), 1.0);
        }
}

// Spikes of light out of the flash, spread round with some jitter, each of its own length.
void drawRays(Image& image, const BlastAge& age, const BlastLook& look)
{
    if (age.rays <= 0.0)
        return;
    const double reach = image.width / 2.0 - EDGE_MARGIN_PX;
    Scatter s{look.seed + 3};
    for (int i = 0; i < look.rayCount; ++i) {
        const double angle = (i + nextRange(s, -0.3, 0.3)) * TAU / look.rayCount;
        const double from = age.coreRadiusPx * 0.6;
        const double to = from + (reach - from) * age.rays * nextRange(s, 0.55, 1.0);
        const double baseHalfWidthPx = 2.4;
        for (int y = 0; y < image.height; ++y)
            for (int x = 0; x < image.width; ++x) {
                const Polar p = fromCentre(image, x, y);
                const double along = p.dx * std::cos(angle) + p.dy * std::sin(angle);
                const double across = std::fabs(-p.dx * std::sin(angle) + p.dy * std::cos(angle));
                if (along < from || along > to)
                    continue;
                const double t = (along - from) / (to - from); // 0 at the root, 1 at the tip
                if (across > baseHalfWidthPx * (1.0 - t) + 0.3)
                    continue;
                paint(image, x, y, look.colour(1.0 - 0.55 * t), 1.0);
            }
    }
}

// A thin ring of hot gas running ahead of the cloud, broken here and there.
void drawRing(Image& image, const BlastAge& age, const BlastLook& look)
{
    if (age.ring <= 0.0)
        return;
    const double widthPx = 0.9 + 0.025 * age.ringRadiusPx;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            const Polar p = fromCentre(image, x, y);
            const double off = (p.distance - age.ringRadiusPx) / widthPx;
            const double gaps = fractal2(std::cos(p.angle) * 4.0 + 5.0, std::sin(p.angle) * 4.0 + 5.0, 2, look.seed + 4);
            const double light = age.ring * std::exp(-off * off) * (0.3 + 1.2 * gaps);
            if (light < 0.5)
                continue;
            paint(image, x, y, look.colour(0.45 + 0.45 * age.heat + 0.15 * std::min(1.0, light)), 1.0);
        }
}

// A streak from tail to head, bright and wide at the head.
void drawStreak(Image& image, double angle, double tailPx, double headPx, double headHalfWidthPx, const Rgb& head,
                const Rgb& tail)
{
    const double ux = std::cos(angle), uy = std::sin(angle);
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            const Polar p = fromCentre(image, x, y);
            const double along = p.dx * ux + p.dy * uy;
            const double across = std::fabs(-p.dx * uy + p.dy * ux);
            if (along < tailPx || along > headPx + headHalfWidthPx)
                continue;
            const double t = headPx > tailPx ? std::clamp((along - tailPx) / (headPx - tailPx), 0.0, 1.0) : 1.0;
            const double beyond = std::max(0.0, along - headPx);
            if (std::hypot(across, beyond) > headHalfWidthPx * (0.35 + 0.65 * t))
                continue;
            paint(image, x, y, mix(tail, head, t), 1.0);
        }
}

// Sparks and chunks thrown out in every direction, each flying at its own
// speed on the same line in every picture; they cool as they fly.
void drawSparks(Image& image, const BlastAge& age, const BlastLook& look)
{
    if (age.sparkTravel <= 0.0)
        return;
    const double reach = image.width / 2.0 - EDGE_MARGIN_PX;
    Scatter s{look.seed + 5};
    for (int i = 0; i < look.sparks; ++i) {
        const double angle = nextRange(s, 0.0, TAU);
        const bool chunk = i < look.debris;
        const double speed = chunk ? nextRange(s, 0.6, 0.85) : nextRange(s, 0.7, 1.0);
        const double burnsOutAt = nextRange(s, 0.75, 1.25); // in travel; chunks glow to the end
        const double streakPx = chunk ? 4.0 : nextRange(s, 4.0, 13.0) * speed;
        if (!chunk && age.sparkTravel > burnsOutAt)
            continue;
        const double headHalfWidthPx = chunk ? 1.6 : 0.9;
        const double head = std::min(reach - headHalfWidthPx, age.sparkTravel * speed * look.sparkReachPx);
        const double length = streakPx * (1.0 - 0.4 * age.sparkTravel);
        // They stay white-hot while fast and cool as they slow down.
        const double heat = 1.0 - 0.6 * std::pow(age.sparkTravel, 4.0);
        const Rgb headColour = chunk ? mix(Rgb{92, 84, 80}, look.colour(heat), 0.55) : look.colour(heat);
        drawStreak(image, angle, std::max(0.0, head - length), head, headHalfWidthPx, headColour,
                   look.colour(heat * 0.75));
    }
}

Image drawBlast(const BlastAge& age, const BlastLook& look)
{
    Image image = makeImage(age.sizePx, age.sizePx);
    drawSparks(image, age, look); // under the cloud: only what has left it shows
    drawCore(image, age, look);
    drawRays(image, age, look);
    drawRing(image, age, look);
    return image;
}

} // namespace

Image drawExplosion(int step)
{
    assert(step >= 1 && step <= SHIP_BLAST_STEPS);
    return drawBlast(SHIP_BLAST[SHIP_BLAST_STEPS - step], SHIP_BLAST_LOOK);
}

Image drawGreenExplosion(int step)
{
    assert(step >= 1 && step <= GREEN_IMPACT_STEPS);
    return drawBlast(GREEN_IMPACT[GREEN_IMPACT_STEPS - step], GREEN_IMPACT_LOOK);
}
