#include <gtest/gtest.h>

#include <vector>
#include "sim/random.h"

namespace {

constexpr int MANY_DRAWS = 300000; // about nine draws of every 15-bit value

Random r;

TEST(Random, TheSameSeedGivesTheSameDraws)
{
    seedRandom(r, 1234);
    std::vector<int> first;
    for (int i = 0; i < 20; ++i)
        first.push_back(randomDraw(r));
    seedRandom(r, 1234);
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(randomDraw(r), first[i]) << "draw " << i;
    seedRandom(r, 1235);
    int differences = 0;
    for (int i = 0; i < 20; ++i)
        differences += randomDraw(r) != first[i];
    EXPECT_GT(differences, 0);
}

TEST(Random, DrawsCoverTheWholeFifteenBitRange)
{
    seedRandom(r, 7);
    int lowest = RANDOM_MAX, highest = 0;
    for (int i = 0; i < MANY_DRAWS; ++i) {
        const int drawn = randomDraw(r);
        ASSERT_GE(drawn, 0);
        ASSERT_LE(drawn, RANDOM_MAX);
        lowest = std::min(lowest, drawn);
        highest = std::max(highest, drawn);
    }
    EXPECT_EQ(lowest, 0);
    EXPECT_EQ(highest, RANDOM_MAX);
}

TEST(Random, RealsReachBothEnds)
{
    seedRandom(r, 99);
    double lowest = 10.0, highest = 0.0;
    for (int i = 0; i < MANY_DRAWS; ++i) {
        const double real = randomReal(r, 2.0, 5.0);
        ASSERT_GE(real, 2.0);
        ASSERT_LE(real, 5.0);
        lowest = std::min(lowest, real);
        highest = std::max(highest, real);
    }
    EXPECT_EQ(lowest, 2.0);
    EXPECT_EQ(highest, 5.0);
}

TEST(Random, IntegersStayWithinTheirBounds)
{
    seedRandom(r, 3);
    std::vector<int> belowCounts(4, 0), intCounts(4, 0);
    for (int i = 0; i < MANY_DRAWS; ++i) {
        const int below = randomBelow(r, 4);
        ASSERT_GE(below, 0);
        ASSERT_LT(below, 4) << "randomBelow never returns n";
        ++belowCounts[below];
        const int inRange = randomInt(r, 0, 3);
        ASSERT_GE(inRange, 0);
        ASSERT_LE(inRange, 3);
        ++intCounts[inRange];
    }
    for (int v = 0; v < 4; ++v) {
        EXPECT_NEAR(belowCounts[v], MANY_DRAWS / 4, MANY_DRAWS / 40) << v;
        EXPECT_NEAR(intCounts[v], MANY_DRAWS / 4, MANY_DRAWS / 40) << v;
    }
}

TEST(Random, PickIntInRangeTruncatesSoTheTopIsRare)
{
    seedRandom(r, 5);
    int fives = 0, sixes = 0, sevens = 0;
    for (int i = 0; i < MANY_DRAWS; ++i) {
        const int n = pickIntInRange(r, 5, 7);
        ASSERT_GE(n, 5);
        ASSERT_LE(n, 7);
        fives += n == 5;
        sixes += n == 6;
        sevens += n == 7;
    }
    EXPECT_NEAR(fives, MANY_DRAWS / 2, MANY_DRAWS / 20);
    EXPECT_NEAR(sixes, MANY_DRAWS / 2, MANY_DRAWS / 20);
    EXPECT_GT(sevens, 0) << "the top is drawn when the source gives its maximum";
    EXPECT_LT(sevens, MANY_DRAWS / 1000);
}

TEST(Random, EqualEndsDrawNothing)
{
    seedRandom(r, 42);
    const int expected = randomDraw(r);
    seedRandom(r, 42);
    EXPECT_EQ(pickInRange(r, 2.5, 2.5), 2.5);
    EXPECT_EQ(pickIntInRange(r, 77, 77), 77);
    EXPECT_EQ(randomDraw(r), expected) << "no draw was used up";

    seedRandom(r, 42);
    const double picked = pickInRange(r, 1.0, 2.0);
    EXPECT_NEAR(picked, 1.0 + expected / 32767.0, 1e-12);
}

TEST(Random, ACopyOfTheStateDrawsWhatTheOriginalWould)
{
    seedRandom(r, 8);
    Random copy = r;
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(randomDraw(copy), randomDraw(r)) << "draw " << i;
}

} // namespace
