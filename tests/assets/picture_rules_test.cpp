// The generated pictures against the rules the game's code relies on:
// sizes, the transparent colour, planet discs and ship silhouettes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "assets/bmp_picture.h"
#include "content/ship_table.h"
#include "gfx/texture.h"
#include "sim/geometry.h"

namespace {

constexpr int BLANK = 89, PANEL = 50, BACKGROUND = 0;
constexpr int FIRST_SHIP_PICTURE = 5, SHIP_PICTURES = 16;

BmpPicture catalogueEntry(int index) { return loadBmpPicture(CATALOGUE_FILES[index]); }

double px(double worldUnits) { return worldUnits / WORLD_UNITS_PER_PIXEL; }

int solidCount(const BmpPicture& p)
{
    int n = 0;
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x)
            n += p.solid(x, y);
    return n;
}

double farthestSolid(const BmpPicture& p)
{
    double far = 0.0;
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x)
            if (p.solid(x, y))
                far = std::max(far, p.distanceFromCentre(x, y));
    return far;
}

// Farthest solid pixel centre along the ship's axis, forwards (+1) or back (-1),
// within the two middle rows.
double axisReach(const BmpPicture& p, int direction)
{
    double reach = 0.0;
    for (int y = p.height / 2 - 1; y <= p.height / 2; ++y)
        for (int x = 0; x < p.width; ++x)
            if (p.solid(x, y))
                reach = std::max(reach, direction * (x + 0.5 - p.width / 2));
    return reach;
}

// How far behind the centre the picture's rearmost solid pixel lies.
double rearReach(const BmpPicture& p)
{
    double reach = 0.0;
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x)
            if (p.solid(x, y))
                reach = std::max(reach, p.width / 2 - (x + 0.5));
    return reach;
}

} // namespace

TEST(PictureRules, EveryCatalogueFileLoadsAsTwentyFourBitPicture)
{
    for (int i = 0; i < CATALOGUE_SIZE; ++i) {
        const BmpPicture p = catalogueEntry(i);
        ASSERT_TRUE(p.loaded) << CATALOGUE_FILES[i];
        EXPECT_EQ(p.bitsPerPixel, 24) << CATALOGUE_FILES[i];
        EXPECT_GT(p.width, 0) << CATALOGUE_FILES[i];
    }
}

TEST(PictureRules, OnlyTheBlankPictureIsEmpty)
{
    const BmpPicture blank = catalogueEntry(BLANK);
    ASSERT_TRUE(blank.loaded);
    EXPECT_EQ(solidCount(blank), 0);
    for (int i = 0; i < CATALOGUE_SIZE; ++i)
        if (i != BLANK) {
            EXPECT_GT(solidCount(catalogueEntry(i)), 0) << CATALOGUE_FILES[i];
        }
}

TEST(PictureRules, BackgroundCoversTheScreenWithoutTransparency)
{
    const BmpPicture bg = catalogueEntry(BACKGROUND);
    ASSERT_TRUE(bg.loaded);
    EXPECT_EQ(bg.width, 1024);
    EXPECT_EQ(bg.height, 768);
    EXPECT_EQ(solidCount(bg), 1024 * 768);
}

TEST(PictureRules, PanelIsAFullWidthStripWithDarkSlotsUnderTheBars)
{
    const BmpPicture gui = catalogueEntry(PANEL);
    ASSERT_TRUE(gui.loaded);
    ASSERT_EQ(gui.width, 1024);
    ASSERT_EQ(gui.height, 45);
    EXPECT_EQ(solidCount(gui), 1024 * 45);
    // Where the game puts the bar segments: (first x, y, count) with 3 px steps.
    const int bars[][3] = {{91, 11, 95}, {722, 11, 95}, {91, 34, 30}, {721, 34, 30}, {284, 34, 30}, {915, 34, 30}};
    for (const auto& bar : bars)
        for (int j = 0; j < bar[2]; ++j)
            for (int dx = -1; dx <= 1; ++dx)
                for (int dy = -4; dy <= 4; ++dy) {
                    const Rgb8& c = gui.at(bar[0] + 3 * j + dx, bar[1] + dy);
                    EXPECT_LT(std::max({c.r, c.g, c.b}), 40) << "bar pixel " << bar[0] + 3 * j + dx << "," << bar[1] + dy;
                }
}

TEST(PictureRules, PlanetDiscsHaveTheirMapRadiusAndNothingBeyond)
{
    const struct {
        int index;
        double radius; // pixels, as in the map table
    } planets[] = {{1, 51.5}, {2, 19.0}, {94, 24.5}, {95, 24.5}};
    for (const auto& planet : planets) {
        const BmpPicture p = catalogueEntry(planet.index);
        ASSERT_TRUE(p.loaded);
        const double equivalentRadius = std::sqrt(solidCount(p) / 3.14159265);
        EXPECT_NEAR(equivalentRadius, planet.radius, 1.0) << CATALOGUE_FILES[planet.index];
        EXPECT_LE(farthestSolid(p), planet.radius + 1.0) << CATALOGUE_FILES[planet.index];
        for (int y = 0; y < p.height; ++y)
            for (int x = 0; x < p.width; ++x)
                if (p.distanceFromCentre(x, y) < planet.radius - 1.0) {
                    ASSERT_TRUE(p.solid(x, y)) << CATALOGUE_FILES[planet.index] << " hole at " << x << "," << y;
                }
    }
}

TEST(PictureRules, ShipPicturesHaveNoBlackAndClearEdges)
{
    for (int i = FIRST_SHIP_PICTURE; i < FIRST_SHIP_PICTURE + SHIP_PICTURES; ++i) {
        const BmpPicture p = catalogueEntry(i);
        ASSERT_TRUE(p.loaded);
        for (int y = 0; y < p.height; ++y)
            for (int x = 0; x < p.width; ++x) {
                if (x == 0 || y == 0 || x == p.width - 1 || y == p.height - 1) {
                    EXPECT_TRUE(p.transparent(x, y)) << CATALOGUE_FILES[i] << " edge " << x << "," << y;
                }
                // Channels below 8 all vanish in a 5-bit frame buffer, where
                // the rotated copies would read the pixel as pure black.
                const Rgb8& c = p.at(x, y);
                EXPECT_GE(std::max({c.r, c.g, c.b}), 8) << CATALOGUE_FILES[i] << " dark at " << x << "," << y;
            }
    }
}

TEST(PictureRules, ShipFramesShareTheirSizeAndDifferFromEachOther)
{
    for (int ship = 0; ship < SHIP_COUNT; ++ship) {
        const int first = FIRST_SHIP_PICTURE + 4 * ship;
        const BmpPicture rest = catalogueEntry(first);
        for (int frame = 1; frame < 4; ++frame) {
            const BmpPicture other = catalogueEntry(first + frame);
            EXPECT_EQ(other.width, rest.width) << CATALOGUE_FILES[first + frame];
            EXPECT_EQ(other.height, rest.height) << CATALOGUE_FILES[first + frame];
        }
        const auto differ = [](const BmpPicture& a, const BmpPicture& b) {
            return a.width == b.width && a.height == b.height && a.pixels.size() == b.pixels.size()
                   && !std::equal(a.pixels.begin(), a.pixels.end(), b.pixels.begin(),
                                  [](const Rgb8& u, const Rgb8& v) { return u.r == v.r && u.g == v.g && u.b == v.b; });
        };
        EXPECT_TRUE(differ(rest, catalogueEntry(first + 1))) << "rest frames of ship " << ship;
        EXPECT_TRUE(differ(catalogueEntry(first + 2), catalogueEntry(first + 3))) << "thrust frames of ship " << ship;
        // The flame lies behind the ship: a thrust frame reaches further back.
        for (int frame = 2; frame < 4; ++frame) {
            EXPECT_GT(rearReach(catalogueEntry(first + frame)), rearReach(rest) + 3.0) << "flame of ship " << ship;
        }
    }
}

TEST(PictureRules, ShipSilhouettesMatchHitRadiusAndStopShortOfTheMuzzles)
{
    AnimationFrames frames;
    ShipType ships[SHIP_COUNT];
    buildShipTable(ships, frames);
    for (int ship = 0; ship < SHIP_COUNT; ++ship)
        for (int frame = 0; frame < 2; ++frame) {
            const int index = FIRST_SHIP_PICTURE + 4 * ship + frame;
            const BmpPicture p = catalogueEntry(index);
            ASSERT_TRUE(p.loaded);
            const ShipType& type = ships[ship];
            const double hitRadius = px(type.hitRadius);
            EXPECT_NEAR(farthestSolid(p), hitRadius, 2.0) << CATALOGUE_FILES[index];
            const double front = std::min(px(type.muzzles[0].length), px(type.muzzles[2].length));
            EXPECT_LT(axisReach(p, 1), front - 0.5) << CATALOGUE_FILES[index];
            EXPECT_GT(axisReach(p, 1), front - 4.5) << CATALOGUE_FILES[index];
            EXPECT_LT(axisReach(p, -1), px(type.muzzles[1].length) - 0.5) << CATALOGUE_FILES[index];
        }
}
