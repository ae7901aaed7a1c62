#include "draw/shots.h"
#include "sim/animation.h"
#include "support/stand_in_catalogue.h"

namespace {

const Colour FLIGHT = makeColour(0, 255, 0, 255);
const Colour IMPACT = makeColour(255, 128, 0, 255);
constexpr int FLIGHT_TEXTURE = 37;
constexpr int IMPACT_TEXTURE = 31;
constexpr int LAST_IMPACT_TEXTURE = 30;

Vec2 atPixel(double x, double y) { return Vec2{pixels(x), pixels(y)}; }

class ShotsTest : public StandInCatalogue {
protected:
    void SetUp() override
    {
        StandInCatalogue::SetUp();
        // A long, thin flight picture shows which way it was turned.
        put(FLIGHT_TEXTURE, 11, 3, FLIGHT);
        put(IMPACT_TEXTURE, 3, 3, IMPACT);
        put(LAST_IMPACT_TEXTURE, 3, 3, IMPACT);
        for (Explosion& e : explosions) {
            e.flightAnim = makeAnimation(frames, {{FLIGHT_TEXTURE, 100}}, true);
            e.impactAnim = makeAnimation(frames, {{IMPACT_TEXTURE, 50}, {LAST_IMPACT_TEXTURE, 50}}, false);
        }
        map.planetCount = 1;
        map.planets[0].bodySlot = 1;
    }

    void draw(int32_t nowMs)
    {
        clearScreen();
        drawShots(SHOTS, explosions, projectiles, bodies, map, players, frames, nowMs);
    }

    // Shot i has gone off at nowMs on what the caller names.
    void goneOff(int i, int32_t nowMs, int hitPlayer, int hitPlanet, const PolarVec& offset)
    {
        projectiles[i].active = true;
        goOff(explosions[i], nowMs);
        explosions[i].hitPlayer = hitPlayer;
        explosions[i].hitPlanet = hitPlanet;
        explosions[i].impactOffset = offset;
    }

    static constexpr int SHOTS = 4;
    Projectile projectiles[SHOTS];
    Explosion explosions[SHOTS];
    Player players[PLAYER_COUNT];
    AnimationFrames frames;
    GameMap map;
    Body bodies[MAX_PLANETS];
};

TEST_F(ShotsTest, ImpactOnAShipStaysOnTheSameSpotOfTheHullAsItTurnsAndMoves)
{
    ShipBody& ship = players[1].body;
    ship.position = atPixel(400, 400);
    ship.heading = PolarVec{1.0, 0.0};
    goneOff(0, 1000, 1, -1, PolarVec{pixels(20), 0.0});
    projectiles[0].position = atPixel(100, 100); // where it flew is no longer what counts
    draw(1010);
    EXPECT_TRUE(near(readPixel(420, 400), IMPACT));
    ship.heading.angle = PI / 2;
    draw(1020);
    EXPECT_TRUE(near(readPixel(400, 420), IMPACT));
    EXPECT_FALSE(near(readPixel(420, 400), IMPACT));
    ship.position = atPixel(500, 300);
    draw(1030);
    EXPECT_TRUE(near(readPixel(500, 320), IMPACT));
    EXPECT_FALSE(near(readPixel(100, 100), IMPACT));
}

TEST_F(ShotsTest, ImpactOnAPlanetFollowsThePlanetsBody)
{
    bodies[1].position = atPixel(200, 200);
    goneOff(2, 1000, -1, 0, PolarVec{pixels(30), PI});
    draw(1010);
    EXPECT_TRUE(near(readPixel(170, 200), IMPACT));
    bodies[1].position = atPixel(260, 240);
    draw(1020);
    EXPECT_TRUE(near(readPixel(230, 240), IMPACT));
}

TEST_F(ShotsTest, ImpactThatHitNothingStaysWhereTheShotWentOff)
{
    goneOff(1, 1000, -1, -1, PolarVec{});
    projectiles[1].position = atPixel(640, 480);
    draw(1010);
    EXPECT_TRUE(near(readPixel(640, 480), IMPACT));
}

TEST_F(ShotsTest, FlightPictureTurnsWithHeadingOrVelocityOrNotAtAll)
{
    // Each shot flies right (velocity 0) but was launched downwards (heading PI / 2).
    for (int i = 0; i < 3; ++i) {
        projectiles[i].active = true;
        projectiles[i].position = atPixel(200 + 200 * i, 300);
        projectiles[i].heading = PolarVec{1.0, PI / 2};
        setVelocity(projectiles[i], PolarVec{pixels(100), 0.0});
    }
    projectiles[0].orientByHeading = 1;
    explosions[0].orientByVelocity = true; // the heading wins
    explosions[1].orientByVelocity = true;
    draw(1000);
    EXPECT_TRUE(near(readPixel(200, 304), FLIGHT)) << "turned by its heading";
    EXPECT_FALSE(near(readPixel(204, 300), FLIGHT));
    EXPECT_TRUE(near(readPixel(404, 300), FLIGHT)) << "turned by its velocity";
    EXPECT_FALSE(near(readPixel(400, 304), FLIGHT));
    EXPECT_TRUE(near(readPixel(604, 300), FLIGHT)) << "unturned";
    EXPECT_EQ(columnsOf(300, FLIGHT).size(), 3u + 11u + 11u);
}

TEST_F(ShotsTest, InactiveSlotsDrawNothing)
{
    projectiles[3].position = atPixel(300, 300);
    explosions[3].exploding = true;
    draw(1000);
    EXPECT_TRUE(columnsOf(300, FLIGHT).empty());
    EXPECT_TRUE(columnsOf(300, IMPACT).empty());
}

} // namespace
