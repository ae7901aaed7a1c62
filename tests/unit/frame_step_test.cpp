#include "support/sim_match.h"

#include <cmath>
#include <cstdint>
#include <limits>

namespace {

constexpr int DEEP_SPACE = 1, TWIN_STARS = 2;
constexpr int32_t NOW_MS = 20000;
constexpr int SHIP0_DEATH_MS = 8 * 20 + 500; // eight blast pictures and the blank one
constexpr int MINIGUN_IMPACT_MS = 70 + 70 + 50;

class FrameStep : public SimMatch {};

TEST_F(FrameStep, AFrameOfZeroMillisecondsMovesNothing)
{
    setUpMatch(TWIN_STARS, 0, 1);
    place(0, 200, 200, 1.0);
    place(1, 700, 600, 2.0);
    player(0).body.velocity = PolarVec{100000000.0, 0.5};
    match->controls.players[0].thrust = true;
    match->controls.players[1].turnLeft = true;
    match->controls.players[1].fire = true;
    step(match->controls, 16, NOW_MS);
    ASSERT_GT(activeShots(), 0);
    match->controls.players[1].fire = false;

    const auto before = std::make_unique<MatchState>(*match);
    step(match->controls, 0, NOW_MS);
    for (int i = 0; i < PLAYER_COUNT; ++i) {
        EXPECT_EQ(player(i).body.position.x, before->players[i].body.position.x);
        EXPECT_EQ(player(i).body.position.y, before->players[i].body.position.y);
        EXPECT_EQ(player(i).body.heading.angle, before->players[i].body.heading.angle);
        EXPECT_EQ(player(i).shield, before->players[i].shield);
    }
    for (int i = 0; i < SHOT_POOL_SIZE; ++i) {
        EXPECT_EQ(match->projectiles[i].position.x, before->projectiles[i].position.x);
        EXPECT_EQ(match->projectiles[i].age, before->projectiles[i].age);
    }
    for (int i = 0; i < match->planetCount; ++i)
        EXPECT_EQ(match->planetBodies[i].position.x, before->planetBodies[i].position.x);
}

// A clock that jumps (a laptop resumed) or a recording's frame of days flings
// ships and shots far beyond every map; the match goes on, defined.
TEST_F(FrameStep, FramesOfDaysFlingTheShipsAnywhereAndTheMatchGoesOn)
{
    setUpMatch(TWIN_STARS, 0, 1);
    place(0, 200, 200, 1.0);
    place(1, 700, 600, 2.0);
    int32_t nowMs = NOW_MS;
    const int frameTimes[] = {16, 10000000, 16, 16, std::numeric_limits<int32_t>::max(), 0, 16, 16};
    for (int round = 0; round < 20; ++round)
        for (const int dt : frameTimes) {
            for (PlayerControls& c : match->controls.players)
                c = PlayerControls{round % 2 == 0, false, true, true};
            nowMs = static_cast<int32_t>(static_cast<uint32_t>(nowMs) + static_cast<uint32_t>(dt));
            step(match->controls, dt, nowMs);
            for (const Player& p : match->players)
                ASSERT_TRUE(std::isfinite(p.body.position.x) && std::isfinite(p.body.position.y)) << round << " " << dt;
        }
    EXPECT_GT(std::abs(player(0).body.position.x) + std::abs(player(1).body.position.x), pixels(1e6))
        << "the ships were flung far";
}

TEST_F(FrameStep, AnExplosionThatHasEndedLetsTheShipRespawnInTheNextFlightStep)
{
    setUpMatch(DEEP_SPACE, 0, 1);
    place(0, 300, 300);
    place(1, 320, 300);
    player(0).hull = 1.0;
    die(player(0), NOW_MS);
    step(match->controls, 0, NOW_MS + SHIP0_DEATH_MS);
    step(match->controls, 0, NOW_MS + SHIP0_DEATH_MS + 1);
    EXPECT_EQ(player(0).lifeState, EXPLODING) << "the frame that ends the blank picture still shows it";
    step(match->controls, 0, NOW_MS + SHIP0_DEATH_MS + 2);
    EXPECT_EQ(player(0).lifeState, READY_TO_RESPAWN);
    EXPECT_EQ(player(1).lifeState, ALIVE) << "a living ship is left alone";

    step(match->controls, 10, NOW_MS + 700);
    EXPECT_EQ(player(0).lifeState, ALIVE);
    EXPECT_DOUBLE_EQ(player(0).hull, player(0).maxHull);
    EXPECT_GT(distance(player(0).body.position, player(1).body.position), SPAWN_MIN_DISTANCE);
}

TEST_F(FrameStep, PlayerOneRespawnsFirstAndPlayerTwoAwayFromItsNewPlace)
{
    setUpMatch(TWIN_STARS, 0, 1);
    seedRandom(match->random, 3);
    for (int round = 0; round < 100; ++round) {
        place(0, 500, 400);
        place(1, 10, 120);
        const Vec2 playerTwoBefore = player(1).body.position;
        player(0).lifeState = READY_TO_RESPAWN;
        player(1).lifeState = READY_TO_RESPAWN;
        step(match->controls, 0, NOW_MS);
        ASSERT_GT(distance(player(0).body.position, playerTwoBefore), SPAWN_MIN_DISTANCE) << round;
        ASSERT_GT(distance(player(0).body.position, player(1).body.position), SPAWN_MIN_DISTANCE) << round;
    }
}

TEST_F(FrameStep, AnImpactThatHasEndedFreesItsSlotForTheNextVolley)
{
    setUpMatch(DEEP_SPACE, 0, 1);
    place(0, 100, 100);
    place(1, 900, 700);
    Projectile& shot = match->projectiles[0];
    Explosion& e = match->explosions[0];
    resetShot(shot, 1.0);
    launchShot(shot, Vec2{pixels(500), pixels(300)}, PolarVec{}, 0.0, 0.0);
    e.impactAnim = content.weapons[1].impactAnim;
    e.lifetime = 1000000;
    step(match->controls, 0, NOW_MS);
    EXPECT_TRUE(shot.active) << "a shot in flight is not retired";
    goOff(e, NOW_MS);
    step(match->controls, 0, NOW_MS + MINIGUN_IMPACT_MS + 1);
    EXPECT_TRUE(shot.active) << "the frame that ends the impact still shows it";
    step(match->controls, 0, NOW_MS + MINIGUN_IMPACT_MS + 2);
    EXPECT_FALSE(shot.active);
    EXPECT_FALSE(e.exploding);
    EXPECT_EQ(findFreeShot(SHOT_POOL_SIZE, match->projectiles), 0);
}

TEST_F(FrameStep, AShipOutsideTheArenaCoastsWithoutControlOrGravity)
{
    setUpMatch(TWIN_STARS, 0, 1);
    place(1, 700, 600);
    place(0, 500, 20, 0.0);
    player(0).body.velocity = PolarVec{0.0, 0.0};
    player(0).rotationFrame = 5;
    match->controls.players[0].turnRight = true;
    match->controls.players[0].thrust = true;
    step(match->controls, 10, NOW_MS);
    EXPECT_EQ(player(0).rotationFrame, 5);
    EXPECT_EQ(player(0).returnPhase, 1) << "a ship at rest has braked already";
    step(match->controls, 10, NOW_MS + 10);
    EXPECT_EQ(player(0).returnPhase, 2);
    EXPECT_NEAR(player(0).body.heading.angle, PI / 2, 1e-9) << "turned towards the return point, not by the keys";
    EXPECT_EQ(player(0).rotationFrame, 5);

    place(0, 300, 300, 0.0);
    step(match->controls, 250, NOW_MS + 20);
    EXPECT_EQ(player(0).rotationFrame, rotationFrameOf(player(0).body.heading.angle));
    EXPECT_NE(player(0).rotationFrame, 0) << "inside, the keys turn the ship and its mask";
}

} // namespace
