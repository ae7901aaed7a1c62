#include "support/sim_match.h"

#include <cmath>

namespace {

constexpr int NEW_EARTH = 0, DEEP_SPACE = 1;
constexpr double RELATIVE_TOLERANCE = 1e-12;
constexpr int32_t NOW_MS = 5000;

class Shots : public SimMatch {
protected:
    // A shot launched at a pixel position with the given velocity, owned by player 1.
    int launch(double xPx, double yPx, PolarVec velocity, int lifetime = 100000)
    {
        const int slot = findFreeShot(SHOT_POOL_SIZE, match->projectiles);
        Projectile& shot = match->projectiles[slot];
        resetShot(shot, 1.0);
        launchShot(shot, Vec2{pixels(xPx), pixels(yPx)}, PolarVec{}, velocity.length, velocity.angle);
        Explosion& e = match->explosions[slot];
        e = Explosion{};
        e.impactAnim = content.weapons[1].impactAnim;
        e.lifetime = lifetime;
        e.hitTest = 1;
        return slot;
    }

    void moveOnce(Projectile& shot, int dtMs)
    {
        moveShot(shot, match->planetBodies, match->planetCount,
                 match->shieldBodies, PLAYER_COUNT, dtMs, match->arenaRect);
    }

    // Ships that neither move nor get hit, so only the shots act.
    void parkShips()
    {
        for (Player& p : match->players)
            p.lifeState = EXPLODING;
    }

    Projectile& shot(int i) { return match->projectiles[i]; }
};

TEST_F(Shots, AFreshShotIgnoresBubblesUntilItHasLeftThemAll)
{
    setUpMatch(DEEP_SPACE, 0, 1);
    place(0, 500, 300);
    place(1, 545, 300);
    const int i = launch(515, 300, PolarVec{100000000.0, 0.0});
    moveOnce(shot(i), 10);
    EXPECT_DOUBLE_EQ(velocityOf(shot(i)).length, 100000000.0) << "its own bubble does not push it";
    EXPECT_TRUE(shot(i).bubbleImmune);
    EXPECT_FALSE(shot(i).mayHitShield);

    shot(i).position = Vec2{pixels(532), pixels(300)};
    moveOnce(shot(i), 10);
    EXPECT_TRUE(shot(i).bubbleImmune) << "outside its own bubble but inside the other one";
    EXPECT_FALSE(shot(i).mayHitShield);

    shot(i).position = Vec2{pixels(520), pixels(200)};
    moveOnce(shot(i), 10);
    EXPECT_FALSE(shot(i).bubbleImmune);
    EXPECT_TRUE(shot(i).mayHitShield);
    EXPECT_DOUBLE_EQ(velocityOf(shot(i)).length, 100000000.0) << "no bubble reaches it out here";

    // Back inside player 1's bubble, 20 px to the right of the ship: pushed further right.
    place(1, 800, 600);
    shot(i).position = Vec2{pixels(520), pixels(300)};
    shot(i).velocity = Vec2{};
    moveOnce(shot(i), 10);
    const double d = pixels(20);
    const double push = 0.00003 * 3.5e29 * 1.0 / (d * d);
    EXPECT_NEAR(velocityOf(shot(i)).length, push * 0.01, push * 0.01 * RELATIVE_TOLERANCE);
    EXPECT_NEAR(velocityOf(shot(i)).angle, 0.0, 1e-9);
    EXPECT_TRUE(shot(i).mayHitShield) << "entering a bubble does not disarm it; a shield hit does";
}

TEST_F(Shots, AnEmptyShieldsBubbleDoesNotReachAndReArmsTheShotEveryStep)
{
    setUpMatch(DEEP_SPACE, 0, 1);
    place(0, 500, 300);
    place(1, 800, 600);
    player(0).shield = 0.0;
    updateShieldBubbles(match->players, match->shieldBodies);
    const int i = launch(510, 300, PolarVec{});
    moveOnce(shot(i), 10);
    EXPECT_TRUE(shot(i).mayHitShield);
    EXPECT_FALSE(shot(i).bubbleImmune);
    EXPECT_DOUBLE_EQ(velocityOf(shot(i)).length, 0.0);
}

TEST_F(Shots, PlanetsPullWhateverTheirFlagAndShotsThatIgnoreGravityFeelNothing)
{
    setUpMatch(NEW_EARTH, 0, 1);
    match->planetBodies[0].attracts = false;
    match->planetBodies[1].mass = 0.0; // the moon out of the way
    const int pulled = launch(500, 200, PolarVec{});
    const int ignoring = launch(500, 200, PolarVec{});
    shot(ignoring).ignoresGravity = true;
    moveOnce(shot(pulled), 100);
    moveOnce(shot(ignoring), 100);

    const double d = pixels(200);
    const double expectedSpeed = 0.00003 * 6e28 / (d * d) * 0.1;
    EXPECT_NEAR(velocityOf(shot(pulled)).length, expectedSpeed, expectedSpeed * RELATIVE_TOLERANCE);
    EXPECT_NEAR(velocityOf(shot(pulled)).angle, PI / 2, 1e-9) << "towards the earth below";
    EXPECT_NEAR(shot(pulled).position.y - pixels(200), expectedSpeed * 0.1, 1e-3)
        << "the new velocity moves the shot";
    EXPECT_DOUBLE_EQ(velocityOf(shot(ignoring)).length, 0.0);
    EXPECT_FALSE(shot(ignoring).mayHitShield) << "it can never hit a shield";
}

TEST_F(Shots, TheEngineAcceleratesAlongTheLaunchHeading)
{
    setUpMatch(DEEP_SPACE, 0, 1);
    const int i = launch(100, 300, PolarVec{0.0, 0.0});
    shot(i).mass = 2.0;
    shot(i).engineForce = 400000000.0;
    moveOnce(shot(i), 500);
    EXPECT_NEAR(velocityOf(shot(i)).length, 100000000.0, 1e-4);
    EXPECT_NEAR(shot(i).position.x, pixels(100) + 50000000.0, 1e-4);
    EXPECT_EQ(shot(i).age, 500);
}

TEST_F(Shots, AShotLeavingTheArenaIsFreedAtOnceWithoutAnImpact)
{
    setUpMatch(DEEP_SPACE, 0, 1);
    parkShips();
    const int i = launch(1023, 300, PolarVec{200000000.0, 0.0});
    step(match->controls, 10, NOW_MS);
    EXPECT_FALSE(shot(i).active);
    EXPECT_FALSE(match->explosions[i].exploding);
    EXPECT_EQ(findFreeShot(SHOT_POOL_SIZE, match->projectiles), i);

    const int upwards = launch(500, 45.5, PolarVec{100000000.0, -PI / 2});
    moveOnce(shot(upwards), 10);
    EXPECT_FALSE(shot(upwards).active) << "the HUD strip is outside the arena";
}

TEST_F(Shots, ALifetimeOfZeroGoesOffInTheNextPassAfterOneMove)
{
    setUpMatch(DEEP_SPACE, 0, 1);
    place(0, 300, 300);
    place(1, 900, 700);
    content.weapons[player(0).weaponRows[0]].lifetimeMin = content.weapons[player(0).weaponRows[0]].lifetimeMax = 0;
    content.weapons[player(0).weaponRows[0]].blastDamageMin = content.weapons[player(0).weaponRows[0]].blastDamageMax = 0.0;
    match->controls.players[0].fire = true;
    step(match->controls, 11, NOW_MS);
    match->controls = ControlState{};
    ASSERT_TRUE(shot(0).active);
    EXPECT_EQ(shot(0).age, 11);
    EXPECT_FALSE(match->explosions[0].exploding);
    const Vec2 moved = shot(0).position;
    step(match->controls, 11, NOW_MS + 11);
    EXPECT_TRUE(match->explosions[0].exploding);
    EXPECT_TRUE(match->explosions[0].detonated);
    EXPECT_EQ(match->explosions[0].hitPlayer, -1);
    EXPECT_GT(distance(shot(0).position, moved), 0.0) << "it still moves in the frame it goes off";
    const Vec2 stopped = shot(0).position;
    step(match->controls, 11, NOW_MS + 22);
    EXPECT_EQ(shot(0).position.x, stopped.x) << "a shot that went off stands still";
}

TEST_F(Shots, AShotWaitsForAFrameOfTimeBeforeItsZeroLifetimeEnds)
{
    setUpMatch(DEEP_SPACE, 0, 1);
    parkShips();
    const int i = launch(500, 300, PolarVec{}, 0);
    step(match->controls, 0, NOW_MS);
    step(match->controls, 10, NOW_MS);
    EXPECT_FALSE(match->explosions[i].exploding) << "age 0 is not above a lifetime of 0";
    step(match->controls, 10, NOW_MS + 10);
    EXPECT_TRUE(match->explosions[i].exploding);
}

TEST_F(Shots, AShotTouchingTwoPlanetsGoesOffOnTheLaterOne)
{
    setUpMatch(NEW_EARTH, 0, 1);
    parkShips();
    content.maps[match->currentMapIndex].planets[1].radius = pixels(300);
    const int i = launch(500, 420, PolarVec{}, 0);
    shot(i).age = 1; // expired as well: the planets still override
    step(match->controls, 0, NOW_MS);
    const Explosion& e = match->explosions[i];
    ASSERT_TRUE(e.exploding);
    EXPECT_EQ(e.hitPlanet, 1);
    EXPECT_EQ(e.hitPlayer, -1);
    EXPECT_TRUE(e.detonated);
    EXPECT_NEAR(e.impactOffset.length, pixels(260), 1e-3);
    EXPECT_NEAR(e.impactOffset.angle, -PI / 2, 1e-9);
    EXPECT_TRUE(e.impactAnim.running);

    content.maps[match->currentMapIndex].planets[1].radius = pixels(19);
    const int onEarth = launch(540, 400, PolarVec{});
    step(match->controls, 0, NOW_MS);
    EXPECT_EQ(match->explosions[onEarth].hitPlanet, 0);
    EXPECT_NEAR(match->explosions[onEarth].impactOffset.length, pixels(40), 1e-3);
}

} // namespace
