// Weapon pictures: one symbol per weapon, drawn in a 64 x 32 design grid
// and scaled down for the small version.
#include <cmath>

#include "art.h"
#include "shapes.h"

namespace {

constexpr int BIG_WIDTH = 64, BIG_HEIGHT = 32;
constexpr int SMALL_WIDTH = 40, SMALL_HEIGHT = 20;

const Rgb STEEL{150, 158, 172}, DARK_STEEL{84, 90, 104}, BRASS{214, 170, 70};
const Rgb RED{214, 52, 42}, FLAME_HOT{255, 236, 140}, FLAME{250, 130, 30};
const Rgb LASER{70, 240, 90}, GOLD{250, 200, 60}, HAZARD{240, 205, 40};

struct IconCanvas {
    Image image;
    double scale = 1.0;
};

void part(IconCanvas& c, const Shape& s, const Rgb& colour, double bevel = 1.5)
{
    fillBevel(c.image, scaled(s, c.scale), colour, bevel * c.scale + 0.5);
}

void flat(IconCanvas& c, const Shape& s, const Rgb& colour)
{
    fillFlat(c.image, scaled(s, c.scale), colour);
}

Shape box(double x0, double y0, double x1, double y1)
{
    return polygon({{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}});
}

void smallRocket(IconCanvas& c, double x, double y, double length)
{
    flat(c, polygon({{x - 5.0, y - 1.2}, {x, y - 2.2}, {x, y + 2.2}, {x - 5.0, y + 1.2}}), FLAME);
    part(c, polygon({{x, y - 3.5}, {x + 3.0, y - 1.5}, {x + 3.0, y + 1.5}, {x, y + 3.5}}), RED * 0.8, 1.0);
    part(c, box(x, y - 1.8, x + length, y + 1.8), STEEL, 1.0);
    part(c, polygon({{x + length, y - 1.8}, {x + length + 4.0, y}, {x + length, y + 1.8}}), RED, 1.0);
}

void minigun(IconCanvas& c)
{
    part(c, box(8, 10, 30, 23), DARK_STEEL, 2.5);
    part(c, box(12, 22, 18, 29), DARK_STEEL * 0.8);
    for (const double y : {12.5, 16.5, 20.5})
        part(c, capsule({28, y}, {58, y}, 1.8), STEEL, 1.2);
    part(c, box(44, 10, 48, 23), DARK_STEEL, 1.2);
    part(c, box(28, 10, 32, 23), BRASS, 1.2);
}

void corona(IconCanvas& c)
{
    constexpr int SPIKES = 14;
    for (int i = 0; i < SPIKES; ++i) {
        const double a = i * 6.2831853 / SPIKES, w = 0.22;
        part(c, polygon({{32 + 7 * std::cos(a - w), 16 + 7 * std::sin(a - w)},
                         {32 + 15 * std::cos(a), 16 + 15 * std::sin(a)},
                         {32 + 7 * std::cos(a + w), 16 + 7 * std::sin(a + w)}}),
             FLAME, 1.0);
    }
    part(c, circle({32, 16}, 8.0), GOLD, 3.0);
    flat(c, circle({32, 16}, 3.5), FLAME_HOT);
}

void sting(IconCanvas& c)
{
    smallRocket(c, 12, 8, 24);
    smallRocket(c, 22, 16, 26);
    smallRocket(c, 12, 24, 24);
}

void doomsday(IconCanvas& c)
{
    flat(c, polygon({{2, 13}, {12, 11}, {12, 21}, {2, 19}}), FLAME);
    part(c, polygon({{10, 5}, {20, 11}, {20, 21}, {10, 27}}), RED * 0.75);
    part(c, box(12, 11, 48, 21), STEEL, 2.5);
    for (const double x : {24.0, 34.0})
        flat(c, box(x, 11, x + 3, 21), RED);
    part(c, polygon({{48, 11}, {61, 16}, {48, 21}}), RED, 2.0);
}

void flamer(IconCanvas& c)
{
    for (int y = 0; y < c.image.height; ++y)
        for (int x = 0; x < c.image.width; ++x) {
            const double px = (x + 0.5) / c.scale, py = (y + 0.5) / c.scale;
            const double along = (px - 28.0) / 34.0;
            if (along < 0.0 || along > 1.0)
                continue;
            const double width = 3.0 + 11.0 * std::sqrt(along) * (1.0 - along * along * 0.6);
            const double across = std::fabs(py - 16.0) / width;
            if (across <= 1.0)
                paint(c.image, x, y, mix(FLAME_HOT, FLAME * 0.9, std::max(along, across)), 1.0);
        }
    part(c, box(4, 11, 30, 21), DARK_STEEL, 2.5);
    part(c, box(22, 12.5, 31, 19.5), STEEL, 1.2);
    part(c, box(8, 20, 14, 28), DARK_STEEL * 0.8);
    part(c, circle({14, 8}, 4.0), RED, 2.0);
}

void gun(IconCanvas& c)
{
    part(c, box(4, 9, 22, 23), DARK_STEEL, 2.5);
    part(c, box(20, 13, 52, 19), STEEL, 1.6);
    part(c, box(48, 11, 54, 21), DARK_STEEL, 1.2);
    flat(c, ellipse({58.5, 16}, 4.5, 3.0), Rgb{120, 180, 255});
    flat(c, ellipse({58.5, 16}, 2.5, 1.5), Rgb{235, 245, 255});
}

void chaingun(IconCanvas& c)
{
    // One long barrel in a perforated cooling jacket, fed from a drum.
    part(c, box(10, 8, 30, 19), DARK_STEEL, 2.5);
    part(c, circle({17, 22}, 7.0), BRASS * 0.9, 2.5);
    flat(c, circle({17, 22}, 2.2), BRASS * 0.55);
    part(c, box(28, 10, 54, 17), STEEL, 1.6);
    for (int i = 0; i < 5; ++i)
        flat(c, circle({32.0 + 4.6 * i, 13.5}, 1.1), DARK_STEEL * 0.7);
    part(c, box(54, 11.5, 61, 15.5), DARK_STEEL, 1.0);
}

void laser(IconCanvas& c)
{
    for (const double y : {9.0, 16.0, 23.0}) {
        flat(c, capsule({34, y}, {61, y}, 1.6), LASER);
        flat(c, capsule({36, y}, {61, y}, 0.6), Rgb{220, 255, 220});
    }
    part(c, polygon({{6, 10}, {22, 6}, {32, 8}, {32, 24}, {22, 26}, {6, 22}}), DARK_STEEL, 2.5);
    for (const double y : {9.0, 16.0, 23.0})
        part(c, circle({32, y}, 2.6), STEEL, 1.2);
    flat(c, circle({16, 16}, 3.0), LASER);
}

void mine(IconCanvas& c)
{
    constexpr int SPIKES = 8;
    for (int i = 0; i < SPIKES; ++i) {
        const double a = i * 6.2831853 / SPIKES + 0.39;
        part(c, capsule({32, 16}, {32 + 13.5 * std::cos(a), 16 + 13.5 * std::sin(a)}, 1.3), STEEL, 1.0);
    }
    part(c, circle({32, 16}, 9.0), DARK_STEEL, 3.5);
    flat(c, circle({32, 16}, 2.8), Rgb{255, 60, 40});
    flat(c, circle({31.2, 15.2}, 1.0), Rgb{255, 200, 190});
}

void armageddon(IconCanvas& c)
{
    const Shape casing = polygon({{10, 9}, {44, 7}, {54, 10}, {60, 16}, {54, 22}, {44, 25}, {10, 23}});
    part(c, polygon({{2, 4}, {14, 10}, {14, 22}, {2, 28}}), DARK_STEEL);
    part(c, casing, Rgb{112, 106, 118}, 3.5);
    for (const double x : {20.0, 28.0, 36.0})
        flat(c, intersect(casing, polygon({{x, 0}, {x + 4, 0}, {x + 1, 32}, {x - 3, 32}})), HAZARD);
    flat(c, circle({50, 16}, 3.0), Rgb{255, 70, 40});
}

} // namespace

Image drawWeaponIcon(WeaponIcon icon, bool big)
{
    IconCanvas c{big ? makeImage(BIG_WIDTH, BIG_HEIGHT) : makeImage(SMALL_WIDTH, SMALL_HEIGHT),
                 big ? 1.0 : double(SMALL_WIDTH) / BIG_WIDTH};
    switch (icon) {
    case WeaponIcon::Minigun: minigun(c); break;
    case WeaponIcon::Corona: corona(c); break;
    case WeaponIcon::Sting: sting(c); break;
    case WeaponIcon::Doomsday: doomsday(c); break;
    case WeaponIcon::Flamer: flamer(c); break;
    case WeaponIcon::Gun: gun(c); break;
    case WeaponIcon::Chaingun: chaingun(c); break;
    case WeaponIcon::Laser: laser(c); break;
    case WeaponIcon::Mine: mine(c); break;
    case WeaponIcon::Armageddon: armageddon(c); break;
    }
    return c.image;
}
