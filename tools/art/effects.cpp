// The shots in flight. Shots that the game turns to their direction of
// flight point to the right (+x).
#include <algorithm>
#include <cmath>

#include "art.h"
#include "fire.h"
#include "noise.h"
#include "shapes.h"

namespace {

// A glowing elongated slug pointing right, hot at the head.
void slug(Image& image, double headX, double tailX, double halfWidth, const Rgb& core, const Rgb& rim)
{
    const double cy = image.height / 2.0;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            const double px = x + 0.5, py = y + 0.5;
            if (px > headX + halfWidth || px < tailX)
                continue;
            const double along = std::clamp((px - tailX) / (headX - tailX), 0.0, 1.0); // 1 at the head
            const double width = halfWidth * (0.35 + 0.65 * along);
            const double dHead = px > headX ? std::hypot(px - headX, py - cy) : std::fabs(py - cy);
            if (dHead > width + 0.3)
                continue;
            const double t = 1.0 - dHead / (width + 0.3);
            paint(image, x, y, mix(rim * (0.55 + 0.45 * along), core, t * along), 1.0);
        }
}

} // namespace

Image drawBullet(int variant)
{
    if (variant == 0) {
        Image image = makeImage(6, 6);
        fill(image, circle({3, 3}, 2.6), [](double x, double y, double) {
            const double r = std::hypot(x - 3.0, y - 3.0) / 2.6;
            return mix(Rgb{255, 255, 230}, Rgb{255, 170, 40}, r);
        });
        return image;
    }
    if (variant == 1) {
        Image image = makeImage(14, 4);
        slug(image, 12.0, 1.0, 1.6, {255, 255, 220}, {255, 120, 30});
        return image;
    }
    Image image = makeImage(16, 6);
    slug(image, 13.0, 1.0, 2.4, {245, 250, 255}, {80, 150, 255});
    return image;
}

Image drawRocket(int frame)
{
    Image image = makeImage(18, 8);
    const Rgb body{215, 218, 225}, nose{220, 50, 40}, fin{150, 40, 35};
    const double flameLength = frame == 0 ? 4.0 : 6.0;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            const double px = x + 0.5, py = y + 0.5 - 4.0;
            const double along = (7.0 - px) / flameLength; // flame from x 7 backwards
            if (along < 0.0 || along > 1.0)
                continue;
            const double width = 1.5 * (1.0 - along) + 0.2;
            if (std::fabs(py) <= width)
                paint(image, x, y, fireColour(1.0 - along * 0.8), 1.0);
        }
    fillBevel(image, polygon({{7.0, 2.0}, {9.5, 0.6}, {9.5, 7.4}, {7.0, 6.0}}), fin, 1.0);
    fillBevel(image, polygon({{7.0, 2.8}, {13.5, 2.8}, {13.5, 5.2}, {7.0, 5.2}}), body, 1.0);
    fillBevel(image, polygon({{13.5, 2.8}, {16.5, 4.0}, {13.5, 5.2}}), nose, 1.0);
    return image;
}

Image drawLaserBolt()
{
    Image image = makeImage(20, 6);
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            const double px = x + 0.5, py = std::fabs(y + 0.5 - 3.0);
            const double end = std::max(0.0, std::max(2.0 - px, px - 18.0));
            const double d = std::hypot(end, py);
            if (d > 2.6)
                continue;
            paint(image, x, y, mix(Rgb{30, 200, 50}, Rgb{230, 255, 230}, std::clamp(1.2 - d / 2.0, 0.0, 1.0)), 1.0);
        }
    return image;
}

Image drawBomb(int frame)
{
    // The body sits where it sat on a 28 x 16 picture; the margin behind it
    // holds the longer plume, the one in front keeps it centred.
    constexpr double OX = 4.0, OY = 1.0;
    Image image = makeImage(36, 18);
    const Rgb casing{96, 92, 100}, stripe{240, 200, 40}, fin{70, 66, 76};
    const double cy = 8.0 + OY;
    const double nozzleX = 6.5 + OX;
    // The plume flickers: short and white-hot, then long and ragged.
    const double plumePx = frame == 0 ? 7.0 : 9.5;
    const double plumeHalfWidthPx = frame == 0 ? 2.4 : 2.9;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            const double px = x + 0.5, py = std::fabs(y + 0.5 - cy);
            const double along = (nozzleX - px) / plumePx; // 0 at the nozzle, 1 at the tip
            if (along < 0.0 || along > 1.0)
                continue;
            const double ragged = 0.8 + 0.4 * valueNoise2(px * 0.8, y * 0.9 + frame * 7.0, 930 + frame);
            const double width = plumeHalfWidthPx * std::sqrt(1.0 - along) * ragged + 0.3;
            if (py > width)
                continue;
            const double core = 1.0 - py / width;
            paint(image, x, y, fireColour(std::clamp(1.1 - 0.75 * along + 0.3 * (core - 0.5), 0.0, 1.0)), 1.0);
        }
    const Shape body = moved(mirroredPolygon({{6.0, 5.5}, {20.0, 4.0}, {24.5, 6.0}, {26.5, 8.0}}, 8.0), OX, OY);
    fillBevel(image, moved(mirroredPolygon({{5.0, 1.0}, {9.0, 4.5}, {11.0, 4.5}, {9.0, 8.0}}, 8.0), OX, OY), fin, 1.0);
    fillBevel(image, body, casing, 2.2);
    for (const double x : {12.0 + OX, 15.0 + OX})
        fillFlat(image, intersect(body, polygon({{x, 0}, {x + 1.5, 0}, {x + 1.5, 18}, {x, 18}})), stripe);
    // The arming light blinks: dark red, then lit with a glow round it.
    const Point light{22.5 + OX, cy};
    if (frame == 0) {
        fillFlat(image, circle(light, 1.2), Rgb{150, 25, 20});
    } else {
        fill(image, circle(light, 2.0), [&](double x, double y, double) {
            const double r = std::hypot(x - light.x, y - light.y) / 2.0;
            return mix(Rgb{255, 235, 220}, Rgb{240, 60, 40}, r);
        });
    }
    return image;
}
