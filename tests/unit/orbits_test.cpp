#include <gtest/gtest.h>

#include <cmath>
#include <vector>
#include "sim/orbits.h"

namespace {

constexpr double POSITION_TOLERANCE = 1e-3; // world units

Planet fixedPlanet(int slot, double x, double y)
{
    Planet p;
    p.bodySlot = slot;
    p.orbitRadius = NO_ORBIT;
    p.position = Vec2{x, y};
    return p;
}

Planet orbitingPlanet(int slot, int parent, double radius, double angle, double speed)
{
    Planet p;
    p.bodySlot = slot;
    p.orbitParent = parent;
    p.orbitRadius = radius;
    p.orbitAngle = angle;
    p.orbitSpeed = speed;
    return p;
}

// A map of up to three planets, with the angles and bodies the match keeps for it.
struct Orbits {
    GameMap map;
    double angles[MAX_PLANETS] = {};
    Body bodies[MAX_PLANETS];

    explicit Orbits(const std::vector<Planet>& planets)
    {
        map.planetCount = static_cast<int>(planets.size());
        for (int i = 0; i < map.planetCount; ++i) {
            map.planets[i] = planets[i];
            angles[i] = planets[i].orbitAngle;
        }
    }
    void move(int dtMs) { moveOrbits(map, angles, bodies, dtMs); }
};

TEST(Orbits, PlanetsCircleTheirParent)
{
    std::vector<Planet> planets = {fixedPlanet(0, pixels(500), pixels(400)),
                                   orbitingPlanet(1, 0, pixels(280), PI / 2, PI / 24)};
    Orbits o(planets);
    const Body* bodies = o.bodies;
    o.move(0);
    EXPECT_EQ(bodies[0].position.x, pixels(500));
    EXPECT_EQ(bodies[0].position.y, pixels(400));
    EXPECT_NEAR(bodies[1].position.x, pixels(500), POSITION_TOLERANCE + pixels(280) * 1e-9);
    EXPECT_NEAR(bodies[1].position.y, pixels(680), POSITION_TOLERANCE);

    o.move(2000);
    const double angle = PI / 2 + 2.0 * PI / 24;
    EXPECT_DOUBLE_EQ(o.angles[1], angle) << "the angle lives with the match";
    EXPECT_EQ(o.map.planets[1].orbitAngle, PI / 2) << "the map keeps the angle it starts from";
    EXPECT_NEAR(bodies[1].position.x, pixels(500) + pixels(280) * std::cos(angle), POSITION_TOLERANCE);
    EXPECT_NEAR(bodies[1].position.y, pixels(400) + pixels(280) * std::sin(angle), POSITION_TOLERANCE);
}

TEST(Orbits, ZeroFrameTimeMovesNothing)
{
    std::vector<Planet> planets = {fixedPlanet(0, 100.0, 200.0), orbitingPlanet(1, 0, 50.0, 0.3, -1.5)};
    Orbits o(planets);
    Body* bodies = o.bodies;
    o.move(16);
    const Vec2 before = bodies[1].position;
    const double angleBefore = o.angles[1];
    bodies[0].position = Vec2{-1.0, -1.0};
    o.move(0);
    EXPECT_EQ(o.angles[1], angleBefore);
    EXPECT_EQ(bodies[0].position.x, 100.0) << "a fixed planet is put back on its place";
    EXPECT_EQ(bodies[1].position.x, before.x);
    EXPECT_EQ(bodies[1].position.y, before.y);
}

TEST(Orbits, OnlyMinusOneExactlyStandsStill)
{
    std::vector<Planet> planets = {fixedPlanet(0, 1000.0, 1000.0), orbitingPlanet(1, 0, -1.0, 0.0, 0.0),
                                   orbitingPlanet(2, 0, -1.0000001, 0.0, 0.0)};
    planets[1].position = Vec2{5.0, 6.0};
    planets[2].position = Vec2{5.0, 6.0};
    Orbits o(planets);
    o.move(10);
    EXPECT_EQ(o.bodies[1].position.x, 5.0);
    EXPECT_EQ(o.bodies[1].position.y, 6.0);
    EXPECT_NEAR(o.bodies[2].position.x, 1000.0 - 1.0000001, 1e-9) << "any other radius orbits";
    Orbits opposite({fixedPlanet(0, 1000.0, 1000.0), orbitingPlanet(1, 0, -300.0, 0.0, 0.0)});
    opposite.move(10);
    EXPECT_NEAR(opposite.bodies[1].position.x, 700.0, 1e-9) << "a negative radius puts the planet opposite";
    EXPECT_NEAR(opposite.bodies[1].position.y, 1000.0, 1e-9);
}

TEST(Orbits, AMoonListedBeforeItsPlanetLagsAFrame)
{
    const double planetSpeed = 1.0, moonSpeed = 0.0;
    // Body slots: 0 sun, 1 planet, 2 moon. The moon's planet comes later in this list.
    std::vector<Planet> lagging = {orbitingPlanet(2, 1, 10.0, 0.0, moonSpeed),
                                   orbitingPlanet(1, 0, 1000.0, 0.0, planetSpeed), fixedPlanet(0, 0.0, 0.0)};
    std::vector<Planet> leading = {fixedPlanet(0, 0.0, 0.0), orbitingPlanet(1, 0, 1000.0, 0.0, planetSpeed),
                                   orbitingPlanet(2, 1, 10.0, 0.0, moonSpeed)};
    Orbits lag(lagging), lead(leading);
    const Body* lagBodies = lag.bodies;
    const Body* leadBodies = lead.bodies;
    Vec2 planetBefore;
    for (int frame = 0; frame < 5; ++frame) {
        planetBefore = lagBodies[1].position;
        lag.move(100);
        lead.move(100);
        EXPECT_NEAR(lagBodies[2].position.x, planetBefore.x + 10.0, 1e-9) << "frame " << frame;
        EXPECT_NEAR(lagBodies[2].position.y, planetBefore.y, 1e-9) << "frame " << frame;
        EXPECT_NEAR(leadBodies[2].position.x, leadBodies[1].position.x + 10.0, 1e-9) << "frame " << frame;
        EXPECT_NEAR(leadBodies[1].position.x, lagBodies[1].position.x, 1e-9);
    }
    EXPECT_GT(distance(lagBodies[2].position, leadBodies[2].position), 50.0);
}

} // namespace
