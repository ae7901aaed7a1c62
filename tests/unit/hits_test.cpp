#include "support/sim_match.h"

#include <cmath>
#include <limits>
#include <string>

namespace {

constexpr int DEEP_SPACE = 1, TWIN_STARS = 2;
constexpr double DAMAGE_TOLERANCE = 1e-9;
constexpr double SPEED_TOLERANCE = 1e-3; // world units per second
constexpr int32_t NOW_MS = 7000;

class Hits : public SimMatch {
protected:
    void SetUp() override { setUpMatch(DEEP_SPACE, 0, 1); }

    // An armed shot at a pixel position; by default it hits by distance and does no damage.
    int shotAt(double xPx, double yPx, int owner = 0, int hitTest = 1)
    {
        const int slot = findFreeShot(SHOT_POOL_SIZE, match->projectiles);
        Projectile& shot = match->projectiles[slot];
        resetShot(shot, 1.0);
        launchShot(shot, Vec2{pixels(xPx), pixels(yPx)}, PolarVec{}, 0.0, 0.0);
        shot.mayHitShield = true;
        Explosion& e = match->explosions[slot];
        e = Explosion{};
        e.impactAnim = content.weapons[1].impactAnim;
        e.hitTest = hitTest;
        e.hitMaskIndex = 4;
        e.ownerIndex = owner;
        e.lifetime = 100000;
        return slot;
    }

    Explosion& effect(int i) { return match->explosions[i]; }
    Projectile& shot(int i) { return match->projectiles[i]; }

    std::string tauntFor(const char* killer, const char* victim, int k) const
    {
        const KillMessage& km = content.killMessages[k];
        return std::string(killer) + km.verb + victim + km.phrase;
    }
};

TEST_F(Hits, AShieldTakesAShotOnceUntilTheShotHasLeftEveryBubble)
{
    place(0, 300, 300);
    place(1, 800, 600);
    const int i = shotAt(320, 300);
    effect(i).shieldDamage = 3.0;
    testShotHits(*match, content, i, NOW_MS, shipReachOf(*match, content), events);
    EXPECT_DOUBLE_EQ(player(0).shield, 5.0) << "the owner's own shot hits its own shield";
    EXPECT_EQ(player(0).shieldBarTimer, SHIELD_BAR_MS);
    EXPECT_FALSE(shot(i).mayHitShield);
    EXPECT_DOUBLE_EQ(player(0).hull, 60.0) << "20 px is beyond the hull's reach";

    testShotHits(*match, content, i, NOW_MS, shipReachOf(*match, content), events);
    step(match->controls, 10, NOW_MS);
    EXPECT_NEAR(player(0).shield, 5.017, DAMAGE_TOLERANCE) << "inside the bubble it stays disarmed";

    shot(i).position = Vec2{pixels(400), pixels(300)};
    step(match->controls, 0, NOW_MS);
    EXPECT_TRUE(shot(i).mayHitShield);
    shot(i).position = Vec2{pixels(320), pixels(300)};
    shot(i).velocity = Vec2{};
    testShotHits(*match, content, i, NOW_MS, shipReachOf(*match, content), events);
    EXPECT_NEAR(player(0).shield, 2.017, DAMAGE_TOLERANCE);
}

TEST_F(Hits, ABrokenShieldWaits400msButOneDrivenExactlyToZeroDoesNot)
{
    place(0, 300, 300);
    place(1, 800, 600);
    player(0).shield = 2.0;
    const int broken = shotAt(320, 300);
    effect(broken).shieldDamage = 5.0;
    testShotHits(*match, content, broken, NOW_MS, shipReachOf(*match, content), events);
    EXPECT_DOUBLE_EQ(player(0).shield, 0.0);
    EXPECT_EQ(player(0).shieldRegenDelay, SHIELD_BREAK_DELAY_MS);
    EXPECT_DOUBLE_EQ(match->shieldBodies[0].mass, 0.0) << "the bubble empties at once";
    regenerateShields(match->players, 399);
    EXPECT_DOUBLE_EQ(player(0).shield, 0.0);
    regenerateShields(match->players, 1);
    EXPECT_DOUBLE_EQ(player(0).shield, 0.0);
    regenerateShields(match->players, 1000);
    EXPECT_NEAR(player(0).shield, 1.7, DAMAGE_TOLERANCE);

    player(1).shield = 5.0;
    place(1, 700, 600);
    const int exact = shotAt(720, 600);
    effect(exact).shieldDamage = 5.0;
    testShotHits(*match, content, exact, NOW_MS, shipReachOf(*match, content), events);
    EXPECT_DOUBLE_EQ(player(1).shield, 0.0);
    EXPECT_EQ(player(1).shieldRegenDelay, 0) << "exactly 0 is not broken";
}

TEST_F(Hits, AShotRestingInAnEmptyBubbleKeepsRestartingTheBreakDelay)
{
    place(0, 300, 300);
    place(1, 800, 600);
    player(0).shield = 0.0;
    const int i = shotAt(320, 300);
    effect(i).shieldDamage = 1.0;
    for (int frame = 0; frame < 6; ++frame) {
        step(match->controls, 100, NOW_MS + frame * 100);
        EXPECT_DOUBLE_EQ(player(0).shield, 0.0);
        EXPECT_EQ(player(0).shieldRegenDelay, SHIELD_BREAK_DELAY_MS);
    }
}

TEST_F(Hits, BlastDamageFallsOffLinearlyToNothingAtTheReach)
{
    place(0, 300, 300);
    Explosion e;
    e.blastRadius = pixels(10);
    e.blastDamage = 20.0;
    const double reach = pixels(10) + player(0).hitRadius;
    const Vec2 centre = player(0).body.position;
    EXPECT_DOUBLE_EQ(blastDamageTo(e, centre, player(0)), 20.0);
    EXPECT_NEAR(blastDamageTo(e, Vec2{centre.x + reach / 2, centre.y}, player(0)), 10.0, DAMAGE_TOLERANCE);
    EXPECT_DOUBLE_EQ(blastDamageTo(e, Vec2{centre.x, centre.y + reach}, player(0)), 0.0);
    EXPECT_DOUBLE_EQ(blastDamageTo(e, Vec2{centre.x + reach * 2, centre.y}, player(0)), 0.0);
}

TEST_F(Hits, TheCircleTestHitsAtExactlyTheReachAndPinsTheImpactToTheHull)
{
    place(0, 300, 300, PI / 2);
    place(1, 800, 600);
    const int far = shotAt(300 + 12.5, 300);
    shot(far).position.x += 1.0;
    effect(far).shotRadius = pixels(0.5);
    testShotHits(*match, content, far, NOW_MS, shipReachOf(*match, content), events);
    EXPECT_FALSE(effect(far).exploding);

    const int exact = shotAt(300 + 12.5, 300);
    effect(exact).shotRadius = pixels(0.5);
    effect(exact).hullDamage = 7.0;
    testShotHits(*match, content, exact, NOW_MS, shipReachOf(*match, content), events);
    const Explosion& e = effect(exact);
    ASSERT_TRUE(e.exploding);
    EXPECT_EQ(e.hitPlayer, 0);
    EXPECT_EQ(e.hitPlanet, -1);
    EXPECT_FALSE(e.detonated) << "a direct hit makes no blast";
    EXPECT_NEAR(e.impactOffset.length, pixels(12.5), 1e-6);
    EXPECT_NEAR(e.impactOffset.angle, 3 * PI / 2, 1e-9) << "to the right of a ship facing down";
    EXPECT_TRUE(e.impactAnim.running);
    EXPECT_DOUBLE_EQ(player(0).hull, 53.0);
    EXPECT_EQ(player(0).hullBarTimer, HULL_BAR_MS);
}

TEST_F(Hits, PixelTestsUseTheShipsMaskNotItsRadius)
{
    place(0, 300, 300);
    place(1, 600, 300);
    const int inside = shotAt(309, 300, 1, 0);
    const int beside = shotAt(311.5, 300, 1, 0);
    testShotHits(*match, content, inside, NOW_MS, shipReachOf(*match, content), events);
    testShotHits(*match, content, beside, NOW_MS, shipReachOf(*match, content), events);
    EXPECT_TRUE(effect(inside).exploding);
    EXPECT_FALSE(effect(beside).exploding) << "within the hit radius but off the ship's pixels";

    const int discTouching = shotAt(614, 300, 0, 2);
    const int discApart = shotAt(618, 300, 0, 2);
    testShotHits(*match, content, discTouching, NOW_MS, shipReachOf(*match, content), events);
    testShotHits(*match, content, discApart, NOW_MS, shipReachOf(*match, content), events);
    EXPECT_EQ(effect(discTouching).hitPlayer, 1);
    EXPECT_FALSE(effect(discApart).exploding);
}

TEST_F(Hits, ADetonationBlastsEveryShipInReachWithoutGoingOffOnThem)
{
    place(0, 300, 300);
    place(1, 315, 300);
    const int i = shotAt(305, 300);
    Explosion& e = effect(i);
    goOff(e, NOW_MS);
    e.detonated = true;
    e.blastRadius = pixels(10);
    e.blastDamage = 22.0;
    shot(i).mayHitShield = false;
    testShotHits(*match, content, i, NOW_MS, shipReachOf(*match, content), events);
    EXPECT_NEAR(player(0).hull, 60.0 - 22.0 * (1 - 5.0 / 22.0), DAMAGE_TOLERANCE);
    EXPECT_NEAR(player(1).hull, 100.0 - 22.0 * (1 - 10.0 / 22.0), DAMAGE_TOLERANCE);
    EXPECT_EQ(player(1).hullBarTimer, HULL_BAR_MS);
    EXPECT_EQ(e.hitPlayer, -1);

    place(1, 700, 600);
    testShotHits(*match, content, i, NOW_MS, shipReachOf(*match, content), events);
    EXPECT_NEAR(player(1).hull, 100.0 - 12.0, DAMAGE_TOLERANCE) << "out of reach: no damage";
}

TEST_F(Hits, AShotThatWentOffOnOneShipStillHitsTheOther)
{
    place(0, 300, 300);
    place(1, 308, 300);
    const int i = shotAt(304, 300, 0, 0);
    effect(i).hullDamage = 4.0;
    testShotHits(*match, content, i, NOW_MS, shipReachOf(*match, content), events);
    EXPECT_DOUBLE_EQ(player(0).hull, 56.0);
    EXPECT_DOUBLE_EQ(player(1).hull, 96.0);
    EXPECT_EQ(effect(i).hitPlayer, 1);
}

TEST_F(Hits, ADeadShipTakesNoHitsAndItsExplosionStaysPut)
{
    place(0, 300, 300);
    place(1, 800, 600);
    die(player(0), NOW_MS);
    const Vec2 where = player(0).body.position;
    const int i = shotAt(300, 300, 1, 0);
    effect(i).hullDamage = 50.0;
    effect(i).shieldDamage = 50.0;
    testShotHits(*match, content, i, NOW_MS, shipReachOf(*match, content), events);
    EXPECT_FALSE(effect(i).exploding);
    EXPECT_TRUE(shot(i).mayHitShield);
    EXPECT_DOUBLE_EQ(player(0).hull, 60.0);
    step(match->controls, 10, NOW_MS + 10);
    EXPECT_EQ(player(0).body.position.x, where.x);
    EXPECT_EQ(player(0).body.position.y, where.y);
}

TEST_F(Hits, DeathCostsALifeNotBelowZeroAndEmptiesTheShield)
{
    player(0).lives = 1;
    die(player(0), NOW_MS);
    EXPECT_EQ(player(0).lifeState, EXPLODING);
    EXPECT_EQ(player(0).lives, 0);
    EXPECT_DOUBLE_EQ(player(0).shield, 0.0);
    EXPECT_TRUE(player(0).deathAnim.running);
    EXPECT_EQ(player(0).deathAnim.current, 0);
    EXPECT_EQ(player(0).deathAnim.frameStart, NOW_MS);
    die(player(0), NOW_MS);
    EXPECT_EQ(player(0).lives, 0);

    // Lives are not checked when read, so a match may start below zero; it
    // must still end at the first death.
    for (const int32_t lives : {-3, std::numeric_limits<int32_t>::min()}) {
        player(1).lives = lives;
        die(player(1), NOW_MS);
        EXPECT_EQ(player(1).lives, 0) << lives;
    }
}

TEST_F(Hits, AKillByTheOtherPlayersShotIsCreditedAndAnnounced)
{
    place(0, 300, 300);
    place(1, 600, 300);
    player(1).hull = 1.0;
    const int i = shotAt(600, 300, 0, 0);
    effect(i).hullDamage = 2.0;
    seedRandom(match->random, 4242);
    testShotHits(*match, content, i, NOW_MS, shipReachOf(*match, content), events);
    seedRandom(match->random, 4242);
    const int k = randomInt(match->random, 0, 3);
    EXPECT_EQ(player(1).lifeState, EXPLODING);
    EXPECT_EQ(player(1).lives, DEFAULT_LIVES - 1);
    EXPECT_EQ(player(0).kills, 1);
    EXPECT_EQ(reported(MatchEventKind::KILLS_CHANGED, 0), 1);
    EXPECT_EQ(reported(MatchEventKind::LIVES_CHANGED, 1), 1);
    ASSERT_EQ(reported(MatchEventKind::BANNER_SHOWN), 1);
    EXPECT_EQ(bannerShown(), tauntFor("Alice", "Bob", k));
    EXPECT_EQ(match->bannerTimer, BANNER_SHOW_MS);
}

TEST_F(Hits, AKillByOnesOwnShotCostsALifeButCreditsNobody)
{
    place(0, 300, 300);
    place(1, 600, 300);
    player(0).hull = 1.0;
    const int i = shotAt(300, 300, 0, 0);
    effect(i).hullDamage = 2.0;
    testShotHits(*match, content, i, NOW_MS, shipReachOf(*match, content), events);
    EXPECT_EQ(player(0).lifeState, EXPLODING);
    EXPECT_EQ(player(0).lives, DEFAULT_LIVES - 1);
    EXPECT_EQ(reported(MatchEventKind::LIVES_CHANGED, 0), 1);
    EXPECT_EQ(player(0).kills + player(1).kills, 0);
    EXPECT_EQ(reported(MatchEventKind::BANNER_SHOWN), 0);
    EXPECT_EQ(match->bannerTimer, 0);
}

TEST_F(Hits, RammingHurtsOncePerContactAndExchangesMomentum)
{
    place(0, 300, 300);
    place(1, 315, 300);
    player(0).body.velocity = PolarVec{200000000.0, 0.0};
    testRamming(*match, content, events, NOW_MS);
    // m v^2 / 2 * 5e-22 with the other ship's mass and a closing speed of 2e8.
    EXPECT_NEAR(player(0).hull, 60.0 - 2.5, DAMAGE_TOLERANCE);
    EXPECT_NEAR(player(1).hull, 100.0 - 3.5, DAMAGE_TOLERANCE);
    EXPECT_EQ(player(0).hullBarTimer, HULL_BAR_MS);
    EXPECT_EQ(player(1).hullBarTimer, HULL_BAR_RAMMED_P2_MS);
    EXPECT_NEAR(player(0).body.velocity.length, 200000000.0 / 6, SPEED_TOLERANCE);
    EXPECT_NEAR(player(1).body.velocity.length, 200000000.0 * 7 / 12, SPEED_TOLERANCE);
    EXPECT_NEAR(player(1).body.velocity.angle, 0.0, 1e-9);

    testRamming(*match, content, events, NOW_MS);
    EXPECT_NEAR(player(0).hull, 57.5, DAMAGE_TOLERANCE) << "still touching: no second hit";
    place(1, 340, 300);
    testRamming(*match, content, events, NOW_MS);
    EXPECT_TRUE(player(0).canCollide && player(1).canCollide);
    place(1, 315, 300);
    player(0).body.velocity = PolarVec{200000000.0, 0.0};
    testRamming(*match, content, events, NOW_MS);
    EXPECT_NEAR(player(0).hull, 55.0, DAMAGE_TOLERANCE) << "parted and touching again";

    place(1, 800, 600);
    testRamming(*match, content, events, NOW_MS);
    place(1, 315, 300);
    player(1).lifeState = EXPLODING;
    testRamming(*match, content, events, NOW_MS);
    EXPECT_NEAR(player(0).hull, 55.0, DAMAGE_TOLERANCE) << "a dead ship cannot be rammed";
    EXPECT_TRUE(player(0).canCollide);
}

TEST_F(Hits, EqualVelocitiesLeaveBothShipsWithHalfOfItPlusTheMinimumTowardsZero)
{
    setUpMatch(DEEP_SPACE, 2, 2);
    const PolarVec v{100000000.0, 0.3};
    player(0).body.velocity = v;
    player(1).body.velocity = v;
    rammingResponse(player(0), player(1));
    const double x = xOf(v) / 2 + 50000000.0;
    const double y = yOf(v) / 2;
    for (int i = 0; i < PLAYER_COUNT; ++i) {
        EXPECT_NEAR(xOf(player(i).body.velocity), x, SPEED_TOLERANCE);
        EXPECT_NEAR(yOf(player(i).body.velocity), y, SPEED_TOLERANCE);
    }
}

TEST_F(Hits, ShipsDestroyedByRammingAreMovedAwayAndEachShowsTheMessage)
{
    place(0, 300, 300);
    place(1, 315, 300);
    player(0).hull = 1.0;
    player(1).hull = 1.0;
    player(0).body.velocity = PolarVec{200000000.0, 0.0};
    testRamming(*match, content, events, NOW_MS);
    EXPECT_EQ(player(0).lifeState, EXPLODING);
    EXPECT_EQ(player(1).lifeState, EXPLODING);
    EXPECT_EQ(player(0).lives, DEFAULT_LIVES - 1);
    EXPECT_EQ(player(1).lives, DEFAULT_LIVES - 1);
    EXPECT_EQ(reported(MatchEventKind::LIVES_CHANGED), 2);
    EXPECT_EQ(reported(MatchEventKind::SHIP_DESTROYED), 2);
    ASSERT_EQ(reported(MatchEventKind::BANNER_SHOWN), 2);
    EXPECT_EQ(bannerShown(), "Ouch! Thats gotta hurt");
    EXPECT_EQ(player(0).kills + player(1).kills, 0);
    EXPECT_GT(distance(player(0).body.position, player(1).body.position), SPAWN_MIN_DISTANCE);
}

TEST_F(Hits, RespawnPicksASpawnPointFarFromTheOtherShipAndFacesItsVelocity)
{
    setUpMatch(TWIN_STARS, 0, 1);
    const GameMap& map = currentMap(*match, content);
    for (int s = 0; s < 200; ++s) {
        seedRandom(match->random, s);
        const Vec2 other = map.spawnPositions[s % map.spawnCount];
        respawnAway(player(0), other, map, match->random);
        EXPECT_GT(distance(player(0).body.position, other), SPAWN_MIN_DISTANCE);
        int pick = 0;
        while (distance(map.spawnPositions[pick], player(0).body.position) != 0.0)
            ++pick;
        EXPECT_DOUBLE_EQ(player(0).body.velocity.angle, map.spawnVelocities[pick].angle);
        EXPECT_DOUBLE_EQ(player(0).body.heading.angle, normaliseAngle(map.spawnVelocities[pick].angle));
        EXPECT_DOUBLE_EQ(player(0).body.heading.length, 1.0);
    }
}

TEST_F(Hits, RespawnGivesUpAfterAThousandTriesAndTakesTheLastPick)
{
    // 200 px away is not far enough; 100 px certainly not.
    GameMap map;
    map.spawnCount = 2;
    Vec2* spawns = map.spawnPositions;
    const PolarVec* velocities = map.spawnVelocities;
    spawns[0] = Vec2{pixels(500), pixels(300)};
    spawns[1] = Vec2{pixels(300), pixels(400)};
    map.spawnVelocities[0] = PolarVec{0.0, 1.0};
    map.spawnVelocities[1] = PolarVec{5.0, 2.0};
    const Vec2 other{pixels(300), pixels(300)};

    seedRandom(match->random, 31);
    respawnAway(player(0), other, map, match->random);
    const int drawAfter = randomDraw(match->random);
    seedRandom(match->random, 31);
    int lastPick = 0;
    for (int i = 0; i < SPAWN_ATTEMPTS; ++i)
        lastPick = randomInt(match->random, 0, 1);
    EXPECT_EQ(randomDraw(match->random), drawAfter) << "exactly 1000 picks";
    EXPECT_EQ(player(0).body.position.y, spawns[lastPick].y);
    EXPECT_EQ(player(0).body.velocity.length, velocities[lastPick].length);

    spawns[0] = Vec2{pixels(300), pixels(100)};        // exactly 200 px away
    spawns[1] = Vec2{pixels(300), pixels(100) - 1.0}; // a hair beyond
    seedRandom(match->random, 5);
    respawnAway(player(0), other, map, match->random);
    EXPECT_EQ(player(0).body.position.y, spawns[1].y);
}

TEST_F(Hits, TouchingAPlanetIsFatalAtAnySpeed)
{
    setUpMatch(TWIN_STARS, 0, 1);
    const Vec2 star = match->planetBodies[1].position;
    place(0, star.x / WORLD_UNITS_PER_PIXEL + 29, star.y / WORLD_UNITS_PER_PIXEL);
    place(1, 100, 600);
    testPlanetContact(*match, content, events, NOW_MS);
    EXPECT_EQ(player(0).lifeState, EXPLODING);
    EXPECT_EQ(player(0).lives, DEFAULT_LIVES - 1);
    EXPECT_EQ(reported(MatchEventKind::LIVES_CHANGED, 0), 1);
    ASSERT_EQ(reported(MatchEventKind::BANNER_SHOWN), 1);
    EXPECT_EQ(bannerShown(), "Alice tries to land");
    EXPECT_EQ(player(1).lifeState, ALIVE);

    testPlanetContact(*match, content, events, NOW_MS);
    EXPECT_EQ(player(0).lives, DEFAULT_LIVES - 1) << "an exploding ship does not crash again";

    place(1, star.x / WORLD_UNITS_PER_PIXEL + 31, star.y / WORLD_UNITS_PER_PIXEL);
    testPlanetContact(*match, content, events, NOW_MS);
    EXPECT_EQ(player(1).lifeState, ALIVE) << "31 px apart, the discs of 20 and 10 px do not touch";
}

} // namespace
