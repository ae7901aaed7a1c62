#include "sim/frame_step.h"

#include <algorithm>
#include <cstdint>

#include "sim/hits.h"
#include "sim/orbits.h"
#include "sim/weapons.h"

// Boost gate, return manoeuvre, then by life state: respawn, fly, or nothing.
static void flightStep(MatchState& m, int playerIndex, int dtMs)
{
    Player& p = m.players[playerIndex];
    const Player& other = m.players[1 - playerIndex];
    const FlightCommands commands = flightCommandsFrom(m.controls.players[playerIndex]);
    const bool boostAsThrust = updateBoostAndEnergy(p, commands.boostRequest, dtMs);
    const bool thrust = commands.thrustInput || boostAsThrust;
    returnManoeuvre(p, m.currentMap.returnPoint, dtMs);
    if (p.lifeState == READY_TO_RESPAWN) {
        respawnAway(p, other.body.position, m.currentMap);
        resetForLife(p);
    } else if (p.lifeState == ALIVE) {
        if (p.body.insideArena) {
            fly(p.body, m.planetBodies.data(), static_cast<int>(m.planetBodies.size()), dtMs, thrust,
                p.boostDirection, commands.turnInput, m.arenaRect);
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
static void testShotOnPlanets(MatchState& m, int i, int32_t nowMs)
{
    const Projectile& shot = m.projectiles[i];
    Explosion& e = m.explosions[i];
    for (int j = 0; j < m.currentMap.planetCount; ++j) {
        const Planet& planet = m.currentMap.planets[j];
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

// Expiry, planets, ships, then the move, for every shot in flight.
static void shotPass(MatchState& m, int dtMs, int32_t nowMs)
{
    const int planetCount = static_cast<int>(m.planetBodies.size());
    const ShipReach ships = shipReachOf(m);
    for (int i = 0; i < SHOT_POOL_SIZE; ++i) {
        Projectile& shot = m.projectiles[i];
        Explosion& e = m.explosions[i];
        if (!shot.active || e.exploding)
            continue;
        e.detonated = false;
        if (shot.age > e.lifetime) {
            goOff(e, nowMs);
            e.hitPlayer = -1;
            e.hitPlanet = -1;
            e.detonated = true;
        }
        testShotOnPlanets(m, i, nowMs);
        testShotHits(m, i, nowMs, ships);
        moveShot(shot, m.planetBodies.data(), planetCount, m.shieldBodies, PLAYER_COUNT, dtMs, m.arenaRect);
    }
}

void simulateFrame(MatchState& m, int dtMs, int32_t nowMs)
{
    moveOrbits(m.currentMap, m.planetBodies, dtMs);
    for (int i = 0; i < PLAYER_COUNT; ++i)
        flightStep(m, i, dtMs);
    updateShieldBubbles(m.players, m.shieldBodies);
    for (int i = 0; i < PLAYER_COUNT; ++i)
        weaponStep(m, i, dtMs, nowMs);
    regenerateShields(m.players, dtMs);
    testPlanetContact(m, nowMs);
    testRamming(m, nowMs);
    shotPass(m, dtMs, nowMs);
}

static int32_t countDown(int32_t timer, int dtMs)
{
    return static_cast<int32_t>(std::max<int64_t>(0, int64_t{timer} - dtMs));
}

void tickDisplayTimers(MatchState& m, int dtMs)
{
    for (Player& p : m.players) {
        p.hullBarTimer = countDown(p.hullBarTimer, dtMs);
        p.shieldBarTimer = countDown(p.shieldBarTimer, dtMs);
        p.weaponLabelTimer = countDown(p.weaponLabelTimer, dtMs);
        // Once per player: the banner drops by twice the frame time.
        m.bannerTimer = countDown(m.bannerTimer, dtMs);
    }
}

void stepFrameUndrawn(MatchState& m, int dtMs, int32_t nowMs)
{
    m.frameTime = dtMs;
    simulateFrame(m, dtMs, nowMs);
    // As drawing the ships and then the shots decides them.
    for (Player& p : m.players)
        finishExplosionIfEnded(p, nowMs);
    for (int i = 0; i < SHOT_POOL_SIZE; ++i)
        retireShotIfImpactEnded(m.projectiles[i], m.explosions[i], nowMs);
    tickDisplayTimers(m, dtMs);
}

void placeBothPlayers(MatchState& m)
{
    respawnAway(m.players[0], m.players[1].body.position, m.currentMap);
    respawnAway(m.players[1], m.players[0].body.position, m.currentMap);
}

bool finishExplosionIfEnded(Player& p, int32_t nowMs)
{
    if (p.lifeState != EXPLODING)
        return false;
    // As the ship drawing does: a running explosion is stepped and shown; the
    // first frame that finds it ended moves the player on.
    if (isRunning(p.deathAnim)) {
        currentTexture(p.deathAnim, nowMs);
        return false;
    }
    p.lifeState = READY_TO_RESPAWN;
    return true;
}

bool retireShotIfImpactEnded(Projectile& shot, Explosion& e, int32_t nowMs)
{
    if (!shot.active || !e.exploding)
        return false;
    if (isRunning(e.impactAnim)) {
        currentTexture(e.impactAnim, nowMs);
        return false;
    }
    retireShot(shot);
    e.exploding = false;
    return true;
}
