#include "sim/frame_step.h"

#include <algorithm>
#include <cstdint>

#include "sim/hits.h"
#include "sim/orbits.h"
#include "sim/weapons.h"

// Boost gate, return manoeuvre, then by life state: respawn, fly, or nothing.
static void flightStep(MatchState& m, const MatchContent& c, int playerIndex, int dtMs, StepEvents& events)
{
    Player& p = m.players[playerIndex];
    const Player& other = m.players[1 - playerIndex];
    const GameMap& map = currentMap(m, c);
    const FlightCommands commands = flightCommandsFrom(m.controls.players[playerIndex]);
    const bool wasBoosting = p.boosting;
    const bool boostAsThrust = updateBoostAndEnergy(p, commands.boostRequest, dtMs);
    if (p.boosting && !wasBoosting)
        report(events, MatchEventKind::BOOST_STARTED, playerIndex, p.body.position);
    const bool thrust = commands.thrustInput || boostAsThrust;
    returnManoeuvre(p, map.returnPoint, dtMs);
    if (p.lifeState == READY_TO_RESPAWN) {
        respawnAway(p, other.body.position, map, m.random);
        resetForLife(p);
    } else if (p.lifeState == ALIVE) {
        if (p.body.insideArena) {
            fly(p.body, m.planetBodies, m.planetCount, dtMs, thrust, p.boostDirection, commands.turnInput,
                m.arenaRect);
            p.rotationFrame = rotationFrameOf(p.body.heading.angle);
        } else {
            // Outside the arena the ship only coasts; the return manoeuvre steers it.
            fly(p.body, nullptr, 0, dtMs, false, 0, 0.0, m.arenaRect);
        }
    }
}

// distance(a, b) <= radius, with the square root spared for points clearly outside.
static bool withinPlanetRadius(const Vec2& a, const Vec2& b, double radius)
{
    constexpr double FAR_MARGIN = 1.000001; // covers the rounding of both squares
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    if (dx * dx + dy * dy > radius * radius * FAR_MARGIN)
        return false;
    return distance(a, b) <= radius;
}

// The shot goes off on every planet it is inside; a later planet overrides an earlier one.
static void testShotOnPlanets(MatchState& m, const GameMap& map, int i, int32_t nowMs)
{
    const Projectile& shot = m.projectiles[i];
    Explosion& e = m.explosions[i];
    for (int j = 0; j < map.planetCount; ++j) {
        const Planet& planet = map.planets[j];
        const Vec2& centre = m.planetBodies[planet.bodySlot].position;
        if (withinPlanetRadius(shot.position, centre, planet.radius)) {
            goOff(e, nowMs);
            e.impactOffset = polarFromPoints(centre, shot.position);
            e.hitPlayer = -1;
            e.hitPlanet = j;
            e.detonated = true;
        }
    }
}

// A shot that went off is retired by the first frame that finds its impact
// animation ended. None goes off and ends in the same frame, so this may run
// in the shot pass: a shot going off later in the pass would not be retired yet.
static void retireIfImpactEnded(Projectile& shot, Explosion& e, const AnimationFrames& frames, int32_t nowMs)
{
    if (isRunning(e.impactAnim)) {
        currentTexture(e.impactAnim, frames, nowMs);
        return;
    }
    retireShot(shot);
    e.exploding = false;
}

// Expiry, planets, ships, then the move, for every shot in flight; ended impacts retired.
static void shotPass(MatchState& m, const MatchContent& c, int dtMs, int32_t nowMs, StepEvents& events)
{
    const GameMap& map = currentMap(m, c);
    const ShipReach ships = shipReachOf(m, c);
    for (int i = 0; i < SHOT_POOL_SIZE; ++i) {
        Projectile& shot = m.projectiles[i];
        Explosion& e = m.explosions[i];
        if (!shot.active)
            continue;
        if (e.exploding) {
            retireIfImpactEnded(shot, e, c.frames, nowMs);
            continue;
        }
        e.detonated = false;
        if (shot.age > e.lifetime) {
            goOff(e, nowMs);
            e.hitPlayer = -1;
            e.hitPlanet = -1;
            e.detonated = true;
        }
        testShotOnPlanets(m, map, i, nowMs);
        if (e.detonated)
            report(events, MatchEventKind::SHOT_WENT_OFF, -1, shot.position, e.blastRadius > 0.0 ? 1 : 0);
        testShotHits(m, c, i, nowMs, ships, events);
        moveShot(shot, m.planetBodies, m.planetCount, m.shieldBodies, PLAYER_COUNT, dtMs, m.arenaRect);
    }
}

// What the rules do to one frame of the match, up to the moving shots.
static void simulateFrame(MatchState& m, const MatchContent& c, int dtMs, int32_t nowMs, StepEvents& events)
{
    moveOrbits(currentMap(m, c), m.orbitAngles[m.currentMapIndex], m.planetBodies, dtMs);
    for (int i = 0; i < PLAYER_COUNT; ++i)
        flightStep(m, c, i, dtMs, events);
    updateShieldBubbles(m.players, m.shieldBodies);
    for (int i = 0; i < PLAYER_COUNT; ++i)
        weaponStep(m, c, i, dtMs, nowMs, events);
    regenerateShields(m.players, dtMs);
    testPlanetContact(m, c, events, nowMs);
    testRamming(m, c, events, nowMs);
    shotPass(m, c, dtMs, nowMs, events);
}

// A key-down on thrust starts the engine and ship animations of a living ship
// from this frame. A running explosion is stepped; the first frame that finds
// it ended lets its player respawn.
static void stepShipAnimations(Player& p, const PlayerControls& controls, const AnimationFrames& frames,
                               int32_t nowMs)
{
    if (p.lifeState == ALIVE) {
        if (controls.thrustPressed) {
            startAnimation(p.thrustAnim, nowMs);
            startAnimation(p.shipSprite, nowMs);
        }
        return;
    }
    if (p.lifeState != EXPLODING)
        return;
    if (isRunning(p.deathAnim))
        currentTexture(p.deathAnim, frames, nowMs);
    else
        p.lifeState = READY_TO_RESPAWN;
}

static int32_t countDown(int32_t timer, int dtMs)
{
    return static_cast<int32_t>(std::max<int64_t>(0, int64_t{timer} - dtMs));
}

// The bar and label timers of both players; the banner drops once per player.
static void tickDisplayTimers(MatchState& m, int dtMs)
{
    for (Player& p : m.players) {
        p.hullBarTimer = countDown(p.hullBarTimer, dtMs);
        p.shieldBarTimer = countDown(p.shieldBarTimer, dtMs);
        p.weaponLabelTimer = countDown(p.weaponLabelTimer, dtMs);
        m.bannerTimer = countDown(m.bannerTimer, dtMs);
    }
}

StepEvents stepMatch(MatchState& m, const MatchContent& c, const ControlState& controls, int dtMs, int32_t nowMs)
{
    StepEvents events;
    m.controls = controls;
    m.frameTime = dtMs;
    simulateFrame(m, c, dtMs, nowMs, events);
    for (int i = 0; i < PLAYER_COUNT; ++i)
        stepShipAnimations(m.players[i], controls.players[i], c.frames, nowMs);
    tickDisplayTimers(m, dtMs);
    return events;
}
