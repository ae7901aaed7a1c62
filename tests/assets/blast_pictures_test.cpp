// The blast pictures as a player sees them played: growing from frame to
// frame, white-hot at first, fading after, with a ring running ahead.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "assets/bmp_picture.h"
#include "gfx/texture.h"

namespace {

constexpr double PI_VALUE = 3.14159265358979;

struct Blast {
    const char* name;
    std::vector<int> played; // catalogue indices in the order the game shows them
    int minFirstWidth, maxLastWidth;
};

const Blast BLASTS[] = {
    {"ship blast", {36, 35, 34, 33, 32, 31, 30, 29}, 48, 104},
    {"laser impact", {82, 81, 80}, 32, 60},
};

BmpPicture picture(int index) { return loadBmpPicture(CATALOGUE_FILES[index]); }

int brightest(const Rgb8& c) { return std::max({c.r, c.g, c.b}); }
bool whiteHot(const Rgb8& c) { return std::min({c.r, c.g, c.b}) >= 220; }
// White to pale yellow or green: the hottest light, not an orange spark.
bool paleHot(const Rgb8& c) { return c.r + c.g + c.b >= 600; }

struct Tally {
    int solid = 0, white = 0;
    double brightness = 0.0; // mean of the brightest channel over the solid pixels
};

Tally tally(const BmpPicture& p)
{
    Tally t;
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x)
            if (p.solid(x, y)) {
                ++t.solid;
                t.white += whiteHot(p.at(x, y));
                t.brightness += brightest(p.at(x, y));
            }
    if (t.solid > 0)
        t.brightness /= t.solid;
    return t;
}

// Of 64 lines out from the centre, how many meet pale hot pixels beyond a gap.
int linesCrossingARing(const BmpPicture& p)
{
    int crossing = 0;
    for (int i = 0; i < 64; ++i) {
        const double angle = i * 2.0 * PI_VALUE / 64;
        bool leftCloud = false, seenCloud = false;
        for (double r = 0.0; r < p.width / 2.0; r += 0.5) {
            const int x = static_cast<int>(p.width / 2 + r * std::cos(angle));
            const int y = static_cast<int>(p.height / 2 + r * std::sin(angle));
            const bool solid = p.solid(x, y);
            seenCloud = seenCloud || solid;
            leftCloud = leftCloud || (seenCloud && !solid);
            if (leftCloud && solid && paleHot(p.at(x, y))) {
                ++crossing;
                break;
            }
        }
    }
    return crossing;
}

} // namespace

TEST(BlastPictures, GrowFromFrameToFrameInsideAClearBorder)
{
    for (const Blast& blast : BLASTS) {
        int previousWidth = 0;
        for (const int index : blast.played) {
            const BmpPicture p = picture(index);
            ASSERT_TRUE(p.loaded) << CATALOGUE_FILES[index];
            EXPECT_EQ(p.width, p.height) << CATALOGUE_FILES[index];
            EXPECT_GT(p.width, previousWidth) << CATALOGUE_FILES[index] << " should be larger than the one before";
            previousWidth = p.width;
            // A blast cut off by its picture's edge would show a straight line.
            for (int k = 0; k < p.width; ++k) {
                EXPECT_TRUE(p.transparent(k, 0) && p.transparent(k, p.height - 1)) << CATALOGUE_FILES[index] << " column " << k;
                EXPECT_TRUE(p.transparent(0, k) && p.transparent(p.width - 1, k)) << CATALOGUE_FILES[index] << " row " << k;
            }
        }
        EXPECT_GE(picture(blast.played.front()).width, blast.minFirstWidth) << blast.name;
        EXPECT_LE(previousWidth, blast.maxLastWidth) << blast.name;
    }
}

TEST(BlastPictures, StartWhiteHotAndFade)
{
    for (const Blast& blast : BLASTS) {
        const Tally first = tally(picture(blast.played.front()));
        const Tally last = tally(picture(blast.played.back()));
        ASSERT_GT(first.solid, 0) << blast.name;
        ASSERT_GT(last.solid, 0) << blast.name;
        EXPECT_GT(first.white, first.solid / 3) << blast.name << ": the flash fills the first picture";
        EXPECT_LT(last.white, last.solid / 4) << blast.name << ": the last picture has cooled";
        for (size_t i = 1; i < blast.played.size(); ++i) {
            EXPECT_LT(tally(picture(blast.played[i])).brightness, first.brightness) << CATALOGUE_FILES[blast.played[i]];
        }
    }
    // The fire turns to smoke: nothing white-hot is left in the ship blast's last three.
    for (const int index : {31, 30, 29}) {
        EXPECT_EQ(tally(picture(index)).white, 0) << CATALOGUE_FILES[index];
    }
}

TEST(BlastPictures, AShockRingRunsAheadOfTheFireball)
{
    // explosion6 and explosion5 (shown third and fourth), and the laser's second picture.
    for (const int index : {34, 33, 81}) {
        EXPECT_GE(linesCrossingARing(picture(index)), 32) << CATALOGUE_FILES[index];
    }
    // The flash and the smoke have none.
    for (const int index : {36, 29}) {
        EXPECT_LT(linesCrossingARing(picture(index)), 8) << CATALOGUE_FILES[index];
    }
}

TEST(BlastPictures, ArmageddonFlightFramesShareASizeAndFlicker)
{
    const BmpPicture a = picture(90), b = picture(91);
    ASSERT_TRUE(a.loaded && b.loaded);
    ASSERT_EQ(a.width, b.width);
    ASSERT_EQ(a.height, b.height);
    int differing = 0;
    for (int y = 0; y < a.height; ++y)
        for (int x = 0; x < a.width; ++x)
            differing += a.solid(x, y) != b.solid(x, y) || brightest(a.at(x, y)) != brightest(b.at(x, y));
    EXPECT_GE(differing, 12) << "the plume and the arming light change between the two";
}
