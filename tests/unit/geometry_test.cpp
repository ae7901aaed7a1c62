#include <gtest/gtest.h>

#include <cmath>
#include <vector>
#include "sim/geometry.h"

namespace {

constexpr double ANGLE_TOLERANCE = 1e-12;

TEST(Geometry, AnglesWrapIntoTheirRanges)
{
    EXPECT_NEAR(normaliseAngle(-0.5), 5.783185306, ANGLE_TOLERANCE);
    EXPECT_EQ(normaliseAngle(TWO_PI), 0.0);
    EXPECT_NEAR(normaliseAngle(3 * TWO_PI + 1.0), 1.0, ANGLE_TOLERANCE);
    EXPECT_NEAR(normaliseAngle(-3 * TWO_PI - 1.0), TWO_PI - 1.0, ANGLE_TOLERANCE);

    PolarVec v{1.0, 0.0};
    setAngle(v, TWO_PI);
    EXPECT_EQ(v.angle, TWO_PI) << "a full turn is kept by setAngle";
    setAngle(v, -0.5);
    EXPECT_NEAR(v.angle, 5.783185306, ANGLE_TOLERANCE);
    rotate(v, 1.0);
    EXPECT_NEAR(v.angle, 0.5, ANGLE_TOLERANCE);
    rotate(v, -TWO_PI - 1.0);
    EXPECT_NEAR(v.angle, TWO_PI - 0.5, ANGLE_TOLERANCE);
}

// The wrapping loops as they always were: what recorded matches were played with.
double loopNormalised(double angle)
{
    while (angle < 0.0)
        angle += TWO_PI;
    while (angle >= TWO_PI)
        angle -= TWO_PI;
    return angle;
}

double loopKeepingFullTurn(double angle)
{
    while (angle < 0.0)
        angle += TWO_PI;
    while (angle > TWO_PI)
        angle -= TWO_PI;
    return angle;
}

TEST(Geometry, OrdinaryAnglesWrapBitForBitAsTheLoopsDid)
{
    std::vector<double> angles = {0.0, -0.0, 1e-300, -1e-300, -1e-20, 1e-20, PI, -PI, TWO_PI, -TWO_PI,
                                  std::nextafter(TWO_PI, 0.0), std::nextafter(TWO_PI, 10.0), 3 * TWO_PI + 1.0,
                                  -3 * TWO_PI - 1.0, 100.0, -100.0, 402.0, -402.0};
    // Headings and velocities as play makes them, a few turns either way.
    for (int i = -4000; i <= 4000; ++i)
        angles.push_back(i * 0.01 + i * 1e-7);
    for (const double angle : angles) {
        EXPECT_EQ(normaliseAngle(angle), loopNormalised(angle)) << angle;
        PolarVec v;
        setAngle(v, angle);
        EXPECT_EQ(v.angle, loopKeepingFullTurn(angle)) << angle;
    }
}

TEST(Geometry, HugeAnglesWrapAtOnce)
{
    // Subtracting a turn no longer changes 1e17: the loops never ended there.
    for (const double angle : {1e10, -1e10, 1e17, -1e17, 1e300, -1e300, 403.0, -403.0}) {
        const double wrapped = normaliseAngle(angle);
        EXPECT_GE(wrapped, 0.0) << angle;
        EXPECT_LT(wrapped, TWO_PI) << angle;
        PolarVec v;
        setAngle(v, angle);
        EXPECT_GE(v.angle, 0.0) << angle;
        EXPECT_LE(v.angle, TWO_PI) << angle;
    }
    EXPECT_NEAR(normaliseAngle(403.0), 403.0 - 64 * 6.283185306, ANGLE_TOLERANCE);
    EXPECT_NEAR(normaliseAngle(-403.0), 65 * 6.283185306 - 403.0, ANGLE_TOLERANCE);
    EXPECT_TRUE(std::isnan(normaliseAngle(INFINITY)));
    EXPECT_TRUE(std::isnan(normaliseAngle(NAN)));
}

TEST(Geometry, AddingAndSubtractingWorksOnComponents)
{
    const PolarVec right{3.0, 0.0};
    const PolarVec down{4.0, PI / 2};
    const PolarVec sum = add(right, down);
    EXPECT_NEAR(sum.length, 5.0, 1e-9);
    EXPECT_NEAR(xOf(sum), 3.0, 1e-8) << "the game's PI / 2 is not quite a right angle";
    EXPECT_NEAR(yOf(sum), 4.0, 1e-8);

    const PolarVec up = subtract(right, PolarVec{3.0, PI / 2}); // (3, -3)
    EXPECT_NEAR(up.length, 3.0 * std::sqrt(2.0), 1e-9);
    EXPECT_LT(up.angle, 0.0) << "upward results come out negative, not wrapped";
    EXPECT_NEAR(up.angle, -std::acos(-1.0) / 4, 1e-9);

    const PolarVec nothing = add(PolarVec{2.0, 1.0}, PolarVec{2.0, 1.0 + std::acos(-1.0)});
    EXPECT_NEAR(nothing.length, 0.0, 1e-9);
    const PolarVec exactZero = add(PolarVec{2.0, 0.0}, PolarVec{-2.0, 0.0});
    EXPECT_EQ(exactZero.length, 0.0);
    EXPECT_EQ(exactZero.angle, 0.0);

    const PolarVec negative{-2.0, 0.0};
    EXPECT_EQ(scale(negative, 3.0).length, -6.0) << "lengths are never normalised";
    EXPECT_EQ(divide(PolarVec{6.0, 1.25}, 3.0).angle, 1.25);
}

TEST(Geometry, PointsGiveDirectionAndDistance)
{
    const PolarVec same = polarFromPoints(Vec2{5.0, 7.0}, Vec2{5.0, 7.0});
    EXPECT_EQ(same.length, 0.0);
    EXPECT_EQ(same.angle, 0.0);

    const PolarVec left = polarFromPoints(Vec2{10.0, 0.0}, Vec2{0.0, 0.0});
    EXPECT_NEAR(left.length, 10.0, 1e-12);
    EXPECT_NEAR(left.angle, std::acos(-1.0), 1e-12);

    const PolarVec upward = polarFromPoints(Vec2{0.0, 0.0}, Vec2{0.0, -2.0});
    EXPECT_NEAR(upward.angle, -std::acos(-1.0) / 2, 1e-12);

    EXPECT_DOUBLE_EQ(distance(Vec2{1.0, 1.0}, Vec2{4.0, 5.0}), 5.0);
}

TEST(Geometry, WorldUnitsBecomePixels)
{
    EXPECT_EQ(worldToPixel(pixels(200)), 200);
    EXPECT_EQ(worldToPixel(pixels(200) - 1.0), 199);
    EXPECT_EQ(worldToPixel(-pixels(1.5)), -1) << "truncated toward zero";
    const Vec2 p = worldToPixelVec(Vec2{pixels(10.25), pixels(-3.5)});
    EXPECT_DOUBLE_EQ(p.x, 10.25);
    EXPECT_DOUBLE_EQ(p.y, -3.5);
    EXPECT_EQ(pixels(1024), 1000000000.0);
}

TEST(Geometry, RectanglesIncludeOnlyTheirTopLeftEdges)
{
    const WorldRect r{0.0, 10.0, 100.0, 50.0};
    EXPECT_TRUE(insideRect(r, Vec2{0.0, 10.0}));
    EXPECT_FALSE(insideRect(r, Vec2{100.0, 30.0}));
    EXPECT_FALSE(insideRect(r, Vec2{50.0, 60.0}));
    EXPECT_TRUE(insideRect(r, Vec2{99.999, 59.999}));

    EXPECT_FALSE(strictlyInsideRect(r, Vec2{0.0, 30.0}));
    EXPECT_FALSE(strictlyInsideRect(r, Vec2{50.0, 10.0}));
    EXPECT_TRUE(strictlyInsideRect(r, Vec2{0.001, 10.001}));
}

Body bodyAt(double x, double y, double mass)
{
    Body b;
    b.mass = mass;
    b.position = Vec2{x, y};
    return b;
}

TEST(Geometry, PullFollowsInverseSquareTowardsTheSource)
{
    const Body planet = bodyAt(0.0, 0.0, 6e28);
    const Body ship = bodyAt(pixels(100), 0.0, 350000.0);
    const PolarVec pull = pullOf(planet, ship);
    const double d = pixels(100);
    EXPECT_NEAR(pull.length, 0.00003 * 6e28 * 350000.0 / (d * d), pull.length * 1e-12);
    EXPECT_NEAR(pull.angle, std::acos(-1.0), 1e-12) << "the ship is pulled left, towards the planet";

    const PolarVec fromBelow = pullOf(planet, bodyAt(0.0, pixels(50), 1.0));
    EXPECT_NEAR(fromBelow.angle, TWO_PI - std::acos(-1.0) / 2, 1e-12)
        << "upward pulls are wrapped to positive angles with the game's full turn";
    EXPECT_GE(fromBelow.angle, 0.0);

    const PolarVec twiceAsFar = pullOf(planet, bodyAt(2 * pixels(100), 0.0, 350000.0));
    EXPECT_NEAR(twiceAsFar.length * 4, pull.length, pull.length * 1e-12);

    Body bubble = bodyAt(0.0, 0.0, -3.5e29);
    const PolarVec push = pullOf(bubble, bodyAt(pixels(10), 0.0, 1.0));
    EXPECT_LT(push.length, 0.0);
    EXPECT_GT(xOf(push), 0.0) << "a negative mass pushes the target away from the source";
}

TEST(Geometry, PullSpecialCases)
{
    const PolarVec onCentre = pullOf(bodyAt(7.0, 7.0, 6e28), bodyAt(7.0, 7.0, 123.0));
    EXPECT_EQ(onCentre.length, 1.0);
    EXPECT_EQ(onCentre.angle, 0.0);

    Body withRadius = bodyAt(0.0, 0.0, 1e20);
    withRadius.radius = 10.0;
    Body target = bodyAt(30.0, 40.0, 1.0);
    target.radius = 5.0;
    EXPECT_NEAR(pullOf(withRadius, target).length, 0.00003 * 1e20 / (65.0 * 65.0), 1e-3)
        << "both radii lengthen the distance";
}

TEST(Geometry, PullReachesOnlyWithinItsRange)
{
    Body bubble = bodyAt(0.0, 0.0, 1e20);
    const Body shot = bodyAt(pixels(200), 0.0, 1.0);
    EXPECT_GT(pullOf(bubble, shot).length, 0.0) << "range 0 reaches everywhere";

    bubble.gravityRange = pixels(30);
    EXPECT_GT(pullOf(bubble, bodyAt(pixels(30), 0.0, 1.0)).length, 0.0) << "exactly at the range still pulls";
    const PolarVec outside = pullOf(bubble, bodyAt(pixels(30) + 1.0, 0.0, 1.0));
    EXPECT_EQ(outside.length, 0.0);
    EXPECT_EQ(outside.angle, 0.0);

    bubble.radius = 2.0;
    EXPECT_EQ(pullOf(bubble, bodyAt(pixels(30) - 1.0, 0.0, 1.0)).length, 0.0)
        << "the radii count towards the range";
}

// Ships feel the polar form, shots the x and y one: the same pull either way.
TEST(Geometry, BothFormsOfThePullAgree)
{
    Body bubble = bodyAt(0.0, 0.0, -3.5e29);
    bubble.gravityRange = pixels(30);
    const struct {
        Body source;
        Body target;
    } cases[] = {
        {bodyAt(pixels(500), pixels(400), 6e28), bodyAt(pixels(120), pixels(90), 350000.0)},
        {bodyAt(pixels(500), pixels(400), 6e28), bodyAt(pixels(500), pixels(700), 1.0)},
        {bodyAt(-3.0, 8.0, 2e28), bodyAt(5.0, -1.0, 8.0)},
        {bubble, bodyAt(pixels(12), pixels(-20), 1.0)},
        {bubble, bodyAt(pixels(30) + 1.0, 0.0, 1.0)},
        {bodyAt(7.0, 7.0, 6e28), bodyAt(7.0, 7.0, 123.0)},
    };
    for (const auto& c : cases) {
        const PolarVec polar = pullOf(c.source, c.target);
        const Vec2 components = pullComponentsOf(c.source, c.target);
        // Polar angles wrap with the game's ten-digit full turn, which is 1e-9 short of the true one.
        const double tolerance = (std::fabs(polar.length) + 1e-300) * 1e-8;
        EXPECT_NEAR(xOf(polar), components.x, tolerance);
        EXPECT_NEAR(yOf(polar), components.y, tolerance);
    }
}

} // namespace
