#include <gtest/gtest.h>

#include <cmath>
#include <vector>
#include "content/ship_table.h"
#include "sim/match_state.h"
#include "sim/player.h"
#include "sim/match_controls.h"

namespace {

constexpr double SPEED_TOLERANCE = 1e-3;  // world units per second
constexpr double ANGLE_TOLERANCE = 1e-12; // radians

// A stand-in for the game's rotated copies: a solid 10 x 6 bar whatever the angle,
// with every request and release counted.
struct FakeRotations {
    std::vector<uint8_t> rgba = std::vector<uint8_t>(10 * 6 * 4, 255);
    std::vector<int> textures;
    std::vector<double> angles;
    int released = 0;
    RotatedPictureSource source()
    {
        return [this](int texture, double angle) {
            textures.push_back(texture);
            angles.push_back(angle);
            return RotatedPicture{Picture{10, 6, 10, rgba.data()}, [this] { ++released; }};
        };
    }
};

class Flight : public ::testing::Test {
protected:
    void SetUp() override
    {
        buildShipTable(ships, frames);
        setUpFromShipType(player, ships[0], 0);
        makeShipMasks(masks, 0, ships[0], frames, rotations.source());
        resetForLife(player);
        player.body.position = Vec2{pixels(500), pixels(300)};
        player.body.insideArena = true;
    }
    // A whole frame of flight commands as the frame loop gives them.
    void flyFrame(const FlightCommands& c, int dtMs)
    {
        const bool thrust = updateBoostAndEnergy(player, c.boostRequest, dtMs) || c.thrustInput;
        fly(player.body, nullptr, 0, dtMs, thrust, player.boostDirection, c.turnInput, arena);
    }

    AnimationFrames frames;
    ShipType ships[SHIP_COUNT];
    MaskTable masks;
    FakeRotations rotations;
    Player player;
    WorldRect arena = makeArenaRect();
};

TEST_F(Flight, SetUpCopiesTheShipAndTurnsSixteenMasks)
{
    EXPECT_EQ(player.shipIndex, 0);
    EXPECT_EQ(player.body.mass, 350000.0);
    EXPECT_EQ(player.maxEnergy, 500.0);
    ASSERT_EQ(rotations.angles.size(), 16u);
    for (int i = 0; i < ROTATION_MASKS; ++i) {
        EXPECT_EQ(rotations.textures[i], 5) << "frame 0 of the ship picture";
        EXPECT_NEAR(rotations.angles[i], i * TWO_PI / 16, ANGLE_TOLERANCE);
        EXPECT_EQ(shipMask(masks, 0, i).width, 10);
        EXPECT_EQ(shipMask(masks, 0, i).height, 6);
    }
    EXPECT_EQ(rotations.released, 16) << "every turned picture is released once its mask is built";
    makeShipMasks(masks, 0, ships[0], frames, rotations.source());
    EXPECT_EQ(rotations.angles.size(), 16u) << "a ship type's masks are made once";

    player.currentSlot = 3;
    player.body.velocity = PolarVec{5.0, 1.0};
    player.body.insideArena = true;
    setUpFromShipType(player, ships[2], 2);
    makeShipMasks(masks, 2, ships[2], frames, rotations.source());
    EXPECT_EQ(player.currentSlot, 0);
    EXPECT_EQ(player.shipIndex, 2);
    EXPECT_EQ(player.body.velocity.length, 0.0);
    EXPECT_EQ(player.body.heading.length, 1.0);
    EXPECT_EQ(player.hitRadius, 17578125.0);
    EXPECT_TRUE(player.body.insideArena) << "only flying recomputes the arena flag";
    EXPECT_EQ(rotations.textures.back(), 13);
}

TEST_F(Flight, ResetForLifeRestoresAFreshShip)
{
    player.hull = -3.0;
    player.shield = 1.0;
    player.energy = 0.0;
    player.boosting = true;
    player.boostDirection = -1;
    player.lifeState = READY_TO_RESPAWN;
    player.shieldRegenDelay = 400;
    player.returnPhase = 2;
    player.hullBarTimer = 50;
    player.canCollide = false;
    resetForLife(player);
    EXPECT_EQ(player.hull, 60.0);
    EXPECT_EQ(player.shield, 8.0);
    EXPECT_EQ(player.energy, 500.0);
    EXPECT_FALSE(player.boosting);
    EXPECT_EQ(player.boostDirection, 0);
    EXPECT_EQ(player.lifeState, ALIVE);
    EXPECT_EQ(player.shieldRegenDelay, 0);
    EXPECT_EQ(player.returnPhase, 0);
    EXPECT_EQ(player.hullBarTimer, 0);
    EXPECT_TRUE(player.canCollide);
}

TEST_F(Flight, ThrustMovesWithTheNewVelocity)
{
    const Vec2 start = player.body.position;
    fly(player.body, nullptr, 0, 100, true, 0, 0.0, arena);
    const double acceleration = 120000000000000.0 / 350000.0;
    EXPECT_NEAR(player.body.velocity.length, acceleration * 0.1, SPEED_TOLERANCE);
    // Semi-implicit Euler: the position moves by the velocity of this step already.
    EXPECT_NEAR(player.body.position.x - start.x, acceleration * 0.1 * 0.1, 1e-3);
    EXPECT_NEAR(player.body.position.y, start.y, 1e-3);
    EXPECT_TRUE(player.body.insideArena);
}

TEST_F(Flight, CoastingKeepsItsVelocity)
{
    player.body.velocity = PolarVec{3e8, 2.0};
    const double vx = xOf(player.body.velocity), vy = yOf(player.body.velocity);
    const Vec2 start = player.body.position;
    fly(player.body, nullptr, 0, 20, false, 0, 0.0, arena);
    EXPECT_NEAR(xOf(player.body.velocity), vx, SPEED_TOLERANCE);
    EXPECT_NEAR(yOf(player.body.velocity), vy, SPEED_TOLERANCE);
    EXPECT_NEAR(player.body.position.x, start.x + vx * 0.02, 1e-3);
    EXPECT_NEAR(player.body.position.y, start.y + vy * 0.02, 1e-3);

    const ShipBody before = player.body;
    fly(player.body, nullptr, 0, 0, true, 1, 1.0, arena);
    EXPECT_EQ(player.body.position.x, before.position.x) << "zero frame time moves nothing";
    EXPECT_EQ(player.body.heading.angle, before.heading.angle);
    EXPECT_NEAR(player.body.velocity.length, before.velocity.length, SPEED_TOLERANCE);
}

TEST_F(Flight, PlanetsPullOnlyWhenTheyAttract)
{
    Body planets[2];
    planets[0].mass = 6e28;
    planets[0].position = Vec2{player.body.position.x + pixels(100), player.body.position.y};
    planets[1].mass = 6e28;
    planets[1].attracts = false;
    planets[1].position = Vec2{player.body.position.x, player.body.position.y + pixels(50)};
    fly(player.body, planets, 2, 10, false, 0, 0.0, arena);
    const double d = pixels(100);
    const double expected = 0.00003 * 6e28 * 350000.0 / (d * d) / 350000.0 * 0.01;
    EXPECT_NEAR(player.body.velocity.length, expected, expected * 1e-9);
    EXPECT_NEAR(player.body.velocity.angle, 0.0, ANGLE_TOLERANCE) << "towards the attracting planet only";
}

TEST_F(Flight, BoostPushesAlongOrAgainstTheHeading)
{
    player.body.heading.angle = PI / 2;
    fly(player.body, nullptr, 0, 100, false, -1, 0.0, arena);
    const double boost = 240000000000000.0 / 350000.0 * 0.1;
    EXPECT_NEAR(yOf(player.body.velocity), -boost, SPEED_TOLERANCE) << "a backward boost pushes up";
    EXPECT_NEAR(xOf(player.body.velocity), 0.0, 1.0);
    fly(player.body, nullptr, 0, 100, true, 1, 0.0, arena);
    EXPECT_NEAR(yOf(player.body.velocity), 120000000000000.0 / 350000.0 * 0.1, SPEED_TOLERANCE)
        << "forward boost and thrust add up";
}

TEST_F(Flight, TurningFollowsTheTurnInput)
{
    PlayerControls c;
    c.turnRight = true;
    flyFrame(flightCommandsFrom(c), 100);
    const double fullTurnStep = 0.1 * TWO_PI / 1.3;
    EXPECT_NEAR(player.body.heading.angle, fullTurnStep, ANGLE_TOLERANCE);
    c.turnLeft = true;
    flyFrame(flightCommandsFrom(c), 100);
    EXPECT_NEAR(player.body.heading.angle, fullTurnStep, ANGLE_TOLERANCE) << "opposite keys cancel";

    PlayerControls fine;
    fine.fineLeft = true;
    flyFrame(flightCommandsFrom(fine), 100);
    EXPECT_NEAR(player.body.heading.angle, fullTurnStep * 0.75, ANGLE_TOLERANCE) << "a fine turn is a quarter";
    fine.fineLeft = false;
    fine.turnLeft = true;
    flyFrame(flightCommandsFrom(fine), 100);
    flyFrame(flightCommandsFrom(fine), 100);
    EXPECT_NEAR(player.body.heading.angle, TWO_PI - fullTurnStep * 1.25, 1e-9) << "turning left wraps";
    EXPECT_EQ(player.body.heading.length, 1.0);
}

TEST(FlightCommandsFromFlags, SumsTurnsAndLetsBackwardWin)
{
    PlayerControls c;
    EXPECT_EQ(flightCommandsFrom(c).turnInput, 0.0);
    EXPECT_EQ(flightCommandsFrom(c).boostRequest, 0);
    c.fineLeft = c.fineRight = true;
    EXPECT_EQ(flightCommandsFrom(c).turnInput, 0.0);
    c.fineRight = false;
    EXPECT_EQ(flightCommandsFrom(c).turnInput, -0.25);
    c.fineLeft = false;
    c.turnRight = true;
    c.thrust = true;
    c.boostForward = true;
    const FlightCommands forward = flightCommandsFrom(c);
    EXPECT_EQ(forward.turnInput, 1.0);
    EXPECT_TRUE(forward.thrustInput);
    EXPECT_EQ(forward.boostRequest, 1);
    c.boostBackward = true;
    EXPECT_EQ(flightCommandsFrom(c).boostRequest, -1);
}

TEST_F(Flight, BoostNeedsAFullBar)
{
    player.energy = player.maxEnergy - 1.0;
    EXPECT_TRUE(updateBoostAndEnergy(player, 1, 10)) << "a forward request acts as thrust";
    EXPECT_FALSE(player.boosting);
    EXPECT_EQ(player.energy, player.maxEnergy) << "and the bar regenerates, capped";

    player.energy = player.maxEnergy - 1.0;
    EXPECT_FALSE(updateBoostAndEnergy(player, -1, 1)) << "a backward request never thrusts";
    EXPECT_FALSE(player.boosting);
    EXPECT_NEAR(player.energy, player.maxEnergy - 1.0 + 0.22, 1e-9);

    player.energy = player.maxEnergy;
    player.body.insideArena = false;
    EXPECT_TRUE(updateBoostAndEnergy(player, 1, 10));
    EXPECT_FALSE(player.boosting) << "no boost starts outside the arena";

    player.body.insideArena = true;
    EXPECT_FALSE(updateBoostAndEnergy(player, -1, 10));
    EXPECT_TRUE(player.boosting);
    EXPECT_EQ(player.boostDirection, -1);
    EXPECT_EQ(player.energy, player.maxEnergy) << "the starting frame neither spends nor regenerates";
}

TEST_F(Flight, ReleasingTheBoostEmptiesTheBar)
{
    updateBoostAndEnergy(player, 1, 10);
    ASSERT_TRUE(player.boosting);
    updateBoostAndEnergy(player, 1, 1);
    EXPECT_EQ(player.energy, player.maxEnergy - 1.0);
    EXPECT_FALSE(updateBoostAndEnergy(player, 0, 10));
    EXPECT_EQ(player.energy, 0.0);
    EXPECT_FALSE(player.boosting);
    EXPECT_EQ(player.boostDirection, 0);

    EXPECT_TRUE(updateBoostAndEnergy(player, 1, 1000)) << "an empty bar gives plain thrust";
    EXPECT_FALSE(player.boosting);
    EXPECT_NEAR(player.energy, 220.0, 1e-9);
}

TEST_F(Flight, ABoostKeepsItsFirstDirectionAndEndsWhenSpent)
{
    updateBoostAndEnergy(player, 1, 10);
    updateBoostAndEnergy(player, -1, 100);
    EXPECT_TRUE(player.boosting);
    EXPECT_EQ(player.boostDirection, 1) << "switching keys keeps the first direction";
    EXPECT_EQ(player.energy, 400.0);

    int boostedMs = 100;
    while (player.boosting) {
        updateBoostAndEnergy(player, 1, 30);
        boostedMs += player.boosting ? 30 : 0;
        ASSERT_LT(boostedMs, 2000);
    }
    // 400 left after 100 ms: 14 frames of 30 ms still find energy, the 15th ends it.
    EXPECT_EQ(boostedMs, 100 + 14 * 30);
    EXPECT_EQ(player.energy, 0.0);

    resetForLife(player);
    updateBoostAndEnergy(player, 1, 10);
    player.body.insideArena = false;
    updateBoostAndEnergy(player, 1, 10);
    EXPECT_FALSE(player.boosting) << "leaving the arena ends the boost";
    EXPECT_EQ(player.energy, 0.0);
}

TEST_F(Flight, ShieldsWaitForTheirDelayThenRegenerate)
{
    Player players[PLAYER_COUNT] = {player, player};
    players[0].shield = 2.0;
    players[0].shieldRegenDelay = 400;
    players[1].shield = 2.0;
    players[1].lifeState = EXPLODING;
    regenerateShields(players, 300);
    EXPECT_EQ(players[0].shield, 2.0);
    EXPECT_EQ(players[0].shieldRegenDelay, 100);
    EXPECT_NEAR(players[1].shield, 2.0 + 0.3 * 1.7, 1e-12) << "a dead ship's shield regenerates too";
    regenerateShields(players, 150);
    EXPECT_EQ(players[0].shield, 2.0);
    EXPECT_EQ(players[0].shieldRegenDelay, -50) << "the delay may run below 0";
    regenerateShields(players, 0);
    EXPECT_EQ(players[0].shield, 2.0) << "zero frame time changes nothing";
    regenerateShields(players, 1000);
    EXPECT_NEAR(players[0].shield, 3.7, 1e-12);
    regenerateShields(players, 100000);
    EXPECT_EQ(players[0].shield, 8.0);
}

TEST_F(Flight, ShieldBubblesFollowShipsAndShields)
{
    Player players[PLAYER_COUNT] = {player, player};
    players[1].index = 1;
    players[1].body.position = Vec2{7.0, 9.0};
    players[0].shield = 4.0;
    players[1].shield = 0.0;
    Body bubbles[PLAYER_COUNT];
    updateShieldBubbles(players, bubbles);
    EXPECT_EQ(bubbles[0].position.x, players[0].body.position.x);
    EXPECT_EQ(bubbles[1].position.y, 9.0);
    EXPECT_DOUBLE_EQ(bubbles[0].mass, 0.5 * -3.5e29);
    EXPECT_EQ(bubbles[1].mass, 0.0);
    players[1].shield = -1.0;
    bubbles[1].mass = -123.0;
    updateShieldBubbles(players, bubbles);
    EXPECT_EQ(bubbles[1].mass, -123.0) << "a shield below 0 leaves the bubble's mass alone";
}

TEST(RotationFrame, RoundsToTheNearestSixteenth)
{
    const double sixteenth = TWO_PI / 16;
    EXPECT_EQ(rotationFrameOf(0.0), 0);
    EXPECT_EQ(rotationFrameOf(TWO_PI), 0);
    EXPECT_EQ(rotationFrameOf(TWO_PI - sixteenth * 0.49), 0);
    EXPECT_EQ(rotationFrameOf(sixteenth * 0.49), 0);
    EXPECT_EQ(rotationFrameOf(sixteenth * 0.51), 1);
    EXPECT_EQ(rotationFrameOf(PI), 8);
    EXPECT_EQ(rotationFrameOf(TWO_PI - sixteenth * 0.51), 15);
}

class ReturnManoeuvre : public Flight {
protected:
    void SetUp() override
    {
        Flight::SetUp();
        player.body.position = Vec2{-pixels(100), pixels(400)}; // left of the arena
        player.body.insideArena = false;
    }
    const Vec2 returnPoint{pixels(500), pixels(400)};
    const double step10ms = 120000000000000.0 / 350000.0 * 0.01;
};

TEST_F(ReturnManoeuvre, InsideTheArenaNothingHappens)
{
    player.body.insideArena = true;
    player.returnPhase = 3;
    player.body.velocity = PolarVec{9e8, 1.0};
    returnManoeuvre(player, returnPoint, 10);
    EXPECT_EQ(player.returnPhase, 0);
    EXPECT_EQ(player.body.velocity.length, 9e8);
}

TEST_F(ReturnManoeuvre, BrakeAimAccelerateCoast)
{
    player.body.velocity = PolarVec{9e8, PI + 0.2};
    returnManoeuvre(player, returnPoint, 10);
    EXPECT_EQ(player.returnPhase, 0);
    EXPECT_NEAR(player.body.velocity.length, 5e8 - step10ms, SPEED_TOLERANCE) << "capped before braking";
    EXPECT_NEAR(player.body.velocity.angle, PI + 0.2, ANGLE_TOLERANCE) << "braking keeps the direction";
    EXPECT_DOUBLE_EQ(player.returnDistance, pixels(600));

    int frames = 0;
    while (player.returnPhase == 0 && frames++ < 1000)
        returnManoeuvre(player, returnPoint, 10);
    EXPECT_EQ(player.returnPhase, 1);
    EXPECT_EQ(player.body.velocity.length, 0.0);

    player.body.heading.angle = 2.0;
    returnManoeuvre(player, returnPoint, 10);
    EXPECT_EQ(player.returnPhase, 2) << "aiming and the first push happen in one frame";
    EXPECT_NEAR(player.body.heading.angle, 0.0, ANGLE_TOLERANCE) << "facing the return point";
    EXPECT_NEAR(player.body.velocity.angle, 0.0, ANGLE_TOLERANCE);
    EXPECT_NEAR(player.body.velocity.length, step10ms, SPEED_TOLERANCE);

    frames = 0;
    while (player.returnPhase == 2 && frames++ < 1000)
        returnManoeuvre(player, returnPoint, 10);
    EXPECT_EQ(player.returnPhase, 3);
    EXPECT_EQ(player.body.velocity.length, 200000000.0);
    returnManoeuvre(player, returnPoint, 10);
    EXPECT_EQ(player.returnPhase, 3) << "coasting at the cruise speed";
    EXPECT_EQ(player.body.velocity.length, 200000000.0);
}

TEST_F(ReturnManoeuvre, DriftingAwayStartsOver)
{
    player.returnPhase = 1;
    player.returnDistance = pixels(600);
    returnManoeuvre(player, returnPoint, 10);
    ASSERT_EQ(player.returnPhase, 2);
    player.body.position.x -= pixels(1);
    returnManoeuvre(player, returnPoint, 10);
    EXPECT_EQ(player.returnPhase, 0) << "further away than when the approach began";
    EXPECT_DOUBLE_EQ(player.returnDistance, pixels(601));
}

TEST_F(ReturnManoeuvre, BringsALostShipBackIntoTheArena)
{
    player.body.velocity = PolarVec{4e8, PI - 0.3};
    std::vector<int> phases;
    int frames = 0;
    while (!player.body.insideArena && frames++ < 2000) {
        returnManoeuvre(player, returnPoint, 16);
        if (phases.empty() || phases.back() != player.returnPhase)
            phases.push_back(player.returnPhase);
        // Outside the arena the ship gets no commands and no gravity.
        fly(player.body, nullptr, 0, 16, false, 0, 0.0, arena);
    }
    EXPECT_TRUE(player.body.insideArena);
    EXPECT_EQ(phases, (std::vector<int>{0, 1, 2, 3}));
    returnManoeuvre(player, returnPoint, 16);
    EXPECT_EQ(player.returnPhase, 0);
}

} // namespace
