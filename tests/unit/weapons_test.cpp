#include "support/sim_match.h"

#include <cmath>
#include <limits>

namespace {

constexpr int CORONA = 0, MINIGUN = 1, ROCKET_SWARM = 2, ALPHA_CANNON = 4, CHAINGUN = 7, MINES = 8;
constexpr double ANGLE_TOLERANCE = 1e-9;
constexpr double POSITION_TOLERANCE = 1e-3; // world units

class Weapons : public SimMatch {
protected:
    // One weapon step of player 1 with only the given flags.
    void step(int dtMs, bool fire, bool reload = false, bool previous = false, bool next = false)
    {
        match->controls = ControlState{};
        match->controls.players[0].fire = fire;
        match->controls.players[0].reload = reload;
        match->controls.cycling[0].previousWeapon = previous;
        match->controls.cycling[0].nextWeapon = next;
        weaponStep(*match, content, 0, dtMs, TEST_START_MS, events);
    }

    FireState& slot(int i) { return player(0).fireStates[i]; }
};

double angleGap(double a, double b)
{
    const double d = std::fabs(normaliseAngle(a) - normaliseAngle(b));
    return std::fmin(d, TWO_PI - d);
}

TEST_F(Weapons, MagazineRunsEmptyThenReloadRefillsItWithoutFiring)
{
    place(0, 300, 300);
    equip(0, {ROCKET_SWARM, MINIGUN, MINIGUN, MINIGUN, ALPHA_CANNON});
    for (int volley = 1; volley <= 3; ++volley) {
        step(1001, true);
        EXPECT_EQ(slot(0).ammoLeft, 3 - volley);
        EXPECT_EQ(activeShots(), 11 * volley);
    }
    EXPECT_EQ(slot(0).reloadLeft, 1500);
    step(1000, true);
    EXPECT_EQ(slot(0).ammoLeft, 0);
    EXPECT_EQ(slot(0).reloadLeft, 500);
    step(500, true);
    EXPECT_EQ(slot(0).ammoLeft, 3);
    EXPECT_EQ(activeShots(), 33) << "the frame that finishes the reload fires nothing";
    step(1, true);
    EXPECT_EQ(activeShots(), 44) << "the cooldown kept running through the reload";

    // A magazine of one volley starts a reload with every volley.
    player(0).currentSlot = 4;
    step(11, true);
    EXPECT_EQ(slot(4).ammoLeft, 0);
    EXPECT_EQ(slot(4).reloadLeft, 1500);
}

TEST_F(Weapons, ManualReloadThrowsAwayAPartMagazineAndFreezesWhenNotSelected)
{
    place(0, 300, 300);
    equip(0, {CHAINGUN, MINIGUN, MINIGUN, MINIGUN, MINIGUN});
    step(0, false, true);
    EXPECT_EQ(slot(0).ammoLeft, 50) << "a full magazine is left alone";
    step(76, true);
    EXPECT_EQ(slot(0).ammoLeft, 49);
    step(0, false, true);
    EXPECT_EQ(slot(0).ammoLeft, 0);
    EXPECT_EQ(slot(0).reloadLeft, 1500);
    step(400, false, true);
    EXPECT_EQ(slot(0).reloadLeft, 1100) << "the reload key on an empty magazine does not restart it";

    step(700, false, false, false, true);
    EXPECT_EQ(player(0).currentSlot, 1);
    EXPECT_EQ(slot(0).reloadLeft, 1100) << "an unselected slot's reload stands still";
    step(0, false, false, true, false);
    player(0).lifeState = EXPLODING;
    step(2000, true);
    EXPECT_EQ(slot(0).reloadLeft, 1100) << "a dead ship's counters stand still";
    player(0).lifeState = ALIVE;
    step(1100, false);
    EXPECT_EQ(slot(0).ammoLeft, 50);
    EXPECT_EQ(reported(MatchEventKind::WEAPON_CHANGED, 0), 2);
}

TEST_F(Weapons, SlotCyclingWrapsAndTheModifierShowsTheLabel)
{
    step(0, false, false, true, false);
    EXPECT_EQ(player(0).currentSlot, 4);
    step(0, false, false, false, true);
    EXPECT_EQ(player(0).currentSlot, 0);
    player(0).lifeState = READY_TO_RESPAWN;
    step(0, false, false, false, true);
    EXPECT_EQ(player(0).currentSlot, 1) << "cycling works whatever the life state";
    EXPECT_EQ(reported(MatchEventKind::WEAPON_CHANGED, 0), 3);

    match->controls = ControlState{};
    match->controls.players[0].weaponModifier = true;
    weaponStep(*match, content, 0, 16, TEST_START_MS, events);
    EXPECT_EQ(player(0).weaponLabelTimer, WEAPON_LABEL_MS);
    EXPECT_EQ(player(1).weaponLabelTimer, 0);
}

TEST_F(Weapons, IntervalMustBeExceededAndAFrameFiresAtMostOneVolley)
{
    place(0, 300, 300);
    equip(0, {MINIGUN, MINIGUN, MINIGUN, MINIGUN, MINIGUN});
    step(16, true);
    EXPECT_EQ(activeShots(), 1);
    step(15, true);
    EXPECT_EQ(activeShots(), 1) << "15 ms does not exceed an interval of 15";
    step(1, true);
    EXPECT_EQ(activeShots(), 2);
    step(5000, true);
    EXPECT_EQ(activeShots(), 3) << "a long frame fires once";
    EXPECT_EQ(slot(0).ammoLeft, 37);
    EXPECT_EQ(slot(0).sinceLastShot, 0);
    step(100, false);
    EXPECT_EQ(activeShots(), 3);
}

TEST_F(Weapons, TheIdleCounterStopsAtItsLimitsInsteadOfWrapping)
{
    place(0, 300, 300);
    equip(0, {MINIGUN, MINIGUN, MINIGUN, MINIGUN, MINIGUN});
    constexpr int32_t LARGEST = std::numeric_limits<int32_t>::max();
    slot(0).sinceLastShot = LARGEST - 10;
    step(1000, false);
    EXPECT_EQ(slot(0).sinceLastShot, LARGEST) << "weeks without a shot";
    step(16, true);
    EXPECT_EQ(activeShots(), 1) << "and the weapon still fires";

    // A clock that steps back gives negative frame times; the counter may go
    // below zero but must never wrap round to a huge value that fires at once.
    slot(0).sinceLastShot = std::numeric_limits<int32_t>::min() + 10;
    step(-1000, true);
    EXPECT_EQ(slot(0).sinceLastShot, std::numeric_limits<int32_t>::min());
    EXPECT_EQ(activeShots(), 1);
    step(-310, true);
    EXPECT_EQ(activeShots(), 1);
}

TEST_F(Weapons, FiringIsRefusedOnTheArenaBorderAndOutsideWhileTheCooldownRuns)
{
    equip(0, {MINIGUN, MINIGUN, MINIGUN, MINIGUN, MINIGUN});
    const double borders[][2] = {{0, 300}, {500, 45}, {1024, 300}, {500, 768}, {-40, 300}, {500, 10}};
    int elapsed = 0;
    for (const auto& at : borders) {
        place(0, at[0], at[1]);
        step(20, true);
        elapsed += 20;
        EXPECT_EQ(activeShots(), 0) << at[0] << ", " << at[1];
    }
    EXPECT_EQ(slot(0).sinceLastShot, elapsed);
    EXPECT_EQ(slot(0).ammoLeft, 40);
    place(0, 1, 46);
    step(0, true);
    EXPECT_EQ(activeShots(), 1);
}

TEST_F(Weapons, EvenFullCircleVolleyPutsFirstAndLastShotOnOneAngle)
{
    place(0, 500, 300, 1.0);
    equip(0, {CORONA, MINIGUN, MINIGUN, MINIGUN, MINIGUN});
    step(11, true);
    ASSERT_EQ(activeShots(), 77);
    const Projectile* shots = match->projectiles;
    EXPECT_NEAR(angleGap(shots[0].heading.angle, shots[76].heading.angle), 0.0, ANGLE_TOLERANCE);
    EXPECT_NEAR(angleGap(shots[0].heading.angle, 1.0 - PI), 0.0, ANGLE_TOLERANCE);
    const double muzzleDistance = player(0).muzzles[2].length;
    for (int i = 0; i < 77; ++i) {
        EXPECT_NEAR(angleGap(shots[i].heading.angle, shots[0].heading.angle + i * TWO_PI / 76), 0.0,
                    ANGLE_TOLERANCE);
        EXPECT_NEAR(distance(shots[i].position, player(0).body.position), muzzleDistance, POSITION_TOLERANCE);
        EXPECT_NEAR(velocityOf(shots[i]).length, 670000000.0, 1e-3);
        const Explosion& e = match->explosions[i];
        EXPECT_EQ(e.lifetime, 65);
        EXPECT_EQ(e.ownerIndex, 0);
        EXPECT_TRUE(shots[i].ignoresGravity);
        EXPECT_FALSE(shots[i].mayHitShield);
        EXPECT_TRUE(shots[i].bubbleImmune);
        EXPECT_TRUE(e.flightAnim.running);
    }
}

TEST_F(Weapons, RandomSpreadDrawsEachShotsValuesInOrder)
{
    place(0, 500, 300, 0.5);
    equip(0, {MINES, MINIGUN, MINIGUN, MINIGUN, MINIGUN});
    seedRandom(match->random, 777);
    step(21, true);
    const int drawAfterVolley = randomDraw(match->random);

    // The same draws by hand: speed, (fixed width), count; per shot angle, then lifetime.
    seedRandom(match->random, 777);
    const FireState& fs = content.fireStates[MINES];
    const double speed = randomReal(match->random, fs.speedMin, fs.speedMax);
    const int count = static_cast<int>(randomReal(match->random, fs.countMin, fs.countMax));
    const double width = fs.spreadMax;
    const double direction = normaliseAngle(PI + 0.5); // mines leave from the back muzzle
    ASSERT_EQ(activeShots(), count);
    for (int i = 0; i < count; ++i) {
        const double angle = direction + randomReal(match->random, -width / 2, width / 2);
        const int lifetime = static_cast<int>(randomReal(match->random, 2500, 3000));
        EXPECT_NEAR(angleGap(match->projectiles[i].heading.angle, angle), 0.0, ANGLE_TOLERANCE);
        EXPECT_LE(angleGap(angle, direction), width / 2 + ANGLE_TOLERANCE);
        EXPECT_EQ(match->explosions[i].lifetime, lifetime);
        EXPECT_NEAR(velocityOf(match->projectiles[i]).length, speed, 1e-3);
    }
    EXPECT_EQ(randomDraw(match->random), drawAfterVolley) << "nothing else was drawn";
}

TEST_F(Weapons, ARandomSpreadOfZeroWidthStillDrawsEachAngle)
{
    place(0, 500, 300);
    equip(0, {ALPHA_CANNON, MINIGUN, MINIGUN, MINIGUN, MINIGUN});
    seedRandom(match->random, 99);
    step(11, true);
    ASSERT_EQ(activeShots(), 6);
    const int next = randomDraw(match->random);
    seedRandom(match->random, 99);
    for (int i = 0; i < 6; ++i)
        randomDraw(match->random);
    EXPECT_EQ(next, randomDraw(match->random));
    for (int i = 0; i < 6; ++i)
        EXPECT_NEAR(angleGap(match->projectiles[i].heading.angle, 0.0), 0.0, ANGLE_TOLERANCE);
}

TEST_F(Weapons, ShotVelocityIncludesTheShipsVelocity)
{
    equip(0, {ALPHA_CANNON, MINIGUN, MINIGUN, MINIGUN, MINIGUN});
    place(0, 500, 300, 0.0);
    player(0).body.velocity = PolarVec{300000000.0, 0.0};
    step(11, true);
    EXPECT_NEAR(velocityOf(match->projectiles[0]).length, 2100000000.0, 1e-2);

    equip(0, {ALPHA_CANNON, MINIGUN, MINIGUN, MINIGUN, MINIGUN});
    player(0).body.heading = PolarVec{1.0, PI};
    step(11, true);
    EXPECT_NEAR(velocityOf(match->projectiles[6]).length, 1500000000.0, 1e-2);
    EXPECT_NEAR(angleGap(velocityOf(match->projectiles[6]).angle, PI), 0.0, ANGLE_TOLERANCE);
}

TEST_F(Weapons, AFullPoolDropsShotsButTheVolleyStillCounts)
{
    place(0, 500, 300);
    equip(0, {CORONA, MINIGUN, MINIGUN, MINIGUN, MINIGUN});
    for (Projectile& shot : match->projectiles)
        shot.active = true;
    for (int i = 100; i < 104; ++i)
        match->projectiles[i].active = false;
    step(11, true);
    EXPECT_EQ(activeShots(), SHOT_POOL_SIZE);
    EXPECT_EQ(slot(0).ammoLeft, 0);
    EXPECT_EQ(match->explosions[103].lifetime, 65);

    player(0).currentSlot = 1;
    step(16, true);
    EXPECT_EQ(slot(1).ammoLeft, 39) << "a volley into a full pool is spent";
    EXPECT_EQ(findFreeShot(SHOT_POOL_SIZE, match->projectiles), -1);
}

TEST_F(Weapons, SlotsHoldIndependentMagazinesAndTheirShotsTheirOwner)
{
    const int32_t weapons[WEAPON_SLOTS] = {CHAINGUN, MINIGUN, MINES, CHAINGUN, CORONA};
    equipWeapons(player(1), weapons, content.fireStates);
    place(1, 500, 300);
    match->controls = ControlState{};
    match->controls.players[1].fire = true;
    weaponStep(*match, content, 1, 100, TEST_START_MS, events);
    EXPECT_EQ(player(1).fireStates[0].ammoLeft, 49);
    EXPECT_EQ(player(1).fireStates[3].ammoLeft, 50);
    EXPECT_EQ(content.fireStates[CHAINGUN].ammoLeft, 50);
    for (int i = 0; i < WEAPON_SLOTS; ++i)
        EXPECT_EQ(player(1).weaponRows[i], weapons[i]);
    EXPECT_EQ(match->explosions[0].ownerIndex, 1);
    ASSERT_EQ(reported(MatchEventKind::SHOT_FIRED, 1), 1);
    EXPECT_EQ(events.events[0].detail, CHAINGUN) << "the volley is reported with its weapon";
}

} // namespace
