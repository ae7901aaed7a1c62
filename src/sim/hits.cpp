#include "sim/hits.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstdlib>

#include "sim/match_rules.h"
#include "sim/random.h"

double blastDamageTo(const Explosion& e, const Vec2& shotPosition, const Player& p)
{
    const double d = distance(shotPosition, p.body.position);
    const double reach = e.blastRadius + p.hitRadius;
    return d < reach ? e.blastDamage * (1.0 - d / reach) : 0.0;
}

// A death costs a life: both are reported.
static void reportDeath(StepEvents& events, int victim, int scorer, DeathCause cause, const Vec2& where)
{
    report(events, MatchEventKind::SHIP_DESTROYED, victim, where, cause, scorer);
    report(events, MatchEventKind::LIVES_CHANGED, victim, where);
}

void die(Player& p, int32_t nowMs)
{
    p.lifeState = EXPLODING;
    setCurrentFrame(p.deathAnim, 0);
    startAnimation(p.deathAnim, nowMs);
    // A negative lives setting from config.cfg ends the match at the first death.
    p.lives = p.lives > 0 ? p.lives - 1 : 0; // no overflow at the lowest int
    p.shield = 0.0;
}

void respawnAway(Player& p, const Vec2& otherPosition, const GameMap& map, Random& random)
{
    assert(map.spawnCount > 0);
    int pick = 0;
    for (int attempt = 0; attempt < SPAWN_ATTEMPTS; ++attempt) {
        pick = randomInt(random, 0, map.spawnCount - 1);
        if (distance(map.spawnPositions[pick], otherPosition) > SPAWN_MIN_DISTANCE)
            break;
    }
    p.body.position = map.spawnPositions[pick];
    p.body.velocity = map.spawnVelocities[pick];
    setAngle(p.body.heading, p.body.velocity.angle);
}

void placeBothPlayers(MatchState& m, const MatchContent& c)
{
    const GameMap& map = currentMap(m, c);
    respawnAway(m.players[0], m.players[1].body.position, map, m.random);
    respawnAway(m.players[1], m.players[0].body.position, map, m.random);
}

// A relative velocity below the minimum is raised to it, keeping its angle.
static PolarVec atLeastRammingSpeed(PolarVec v)
{
    if (v.length < RAMMING_MIN_SPEED)
        v.length = RAMMING_MIN_SPEED;
    return v;
}

void rammingResponse(Player& a, Player& b)
{
    const double ma = a.body.mass;
    const double mb = b.body.mass;
    const PolarVec va = a.body.velocity;
    const PolarVec vb = b.body.velocity;
    const PolarVec dab = atLeastRammingSpeed(subtract(va, vb));
    const PolarVec dba = atLeastRammingSpeed(subtract(vb, va));
    a.body.velocity = divide(add(scale(va, ma), scale(dba, mb)), ma + mb);
    b.body.velocity = divide(add(scale(vb, mb), scale(dab, ma)), ma + mb);
}

static Vec2 pixelCentre(const Player& p) { return worldToPixelVec(p.body.position); }

void testPlanetContact(MatchState& m, const MatchContent& c, StepEvents& events, int32_t nowMs)
{
    const GameMap& map = currentMap(m, c);
    for (int j = 0; j < map.planetCount; ++j) {
        const Planet& planet = map.planets[j];
        const Vec2 planetCentre = worldToPixelVec(m.planetBodies[planet.bodySlot].position);
        for (int i = 0; i < PLAYER_COUNT; ++i) {
            Player& p = m.players[i];
            if (p.lifeState != ALIVE)
                continue;
            if (masksOverlap(pixelCentre(p), currentMask(c, p), planetCentre, c.masks.planets[m.currentMapIndex][j])) {
                die(p, nowMs);
                reportDeath(events, i, -1, DEATH_BY_PLANET, p.body.position);
                announceCrash(m, events, i);
            }
        }
    }
}

static double rammingDamage(double otherMass, double relativeSpeed)
{
    return otherMass * relativeSpeed * relativeSpeed / 2.0 * RAMMING_DAMAGE_FACTOR;
}

// The damage of one contact; player 1 is moved away before it explodes, player 2 after.
static void applyRamming(MatchState& m, const MatchContent& c, StepEvents& events, int32_t nowMs)
{
    Player& p1 = m.players[0];
    Player& p2 = m.players[1];
    const GameMap& map = currentMap(m, c);
    const Vec2 contact = p1.body.position;
    report(events, MatchEventKind::RAMMING, -1, contact);
    const double v = subtract(p1.body.velocity, p2.body.velocity).length;
    p1.hull -= rammingDamage(p2.body.mass, v);
    p1.hullBarTimer = HULL_BAR_MS;
    if (p1.hull <= 0.0) {
        announceRamming(m, events);
        respawnAway(p1, p2.body.position, map, m.random);
        die(p1, nowMs);
        reportDeath(events, 0, -1, DEATH_BY_RAMMING, contact);
    }
    p2.hull -= rammingDamage(p1.body.mass, v);
    p2.hullBarTimer = HULL_BAR_RAMMED_P2_MS;
    if (p2.hull <= 0.0) {
        announceRamming(m, events);
        die(p2, nowMs);
        respawnAway(p2, p1.body.position, map, m.random);
        reportDeath(events, 1, -1, DEATH_BY_RAMMING, p2.body.position);
    }
    p1.canCollide = false;
    p2.canCollide = false;
    rammingResponse(p1, p2);
}

void testRamming(MatchState& m, const MatchContent& c, StepEvents& events, int32_t nowMs)
{
    Player& p1 = m.players[0];
    Player& p2 = m.players[1];
    const bool touching = p1.lifeState == ALIVE && p2.lifeState == ALIVE &&
                          masksOverlap(pixelCentre(p1), currentMask(c, p1), pixelCentre(p2), currentMask(c, p2));
    if (!touching) {
        p1.canCollide = true;
        p2.canCollide = true;
        return;
    }
    // Ships resting against each other are hurt once; they must part first.
    if (p1.canCollide && p2.canCollide)
        applyRamming(m, c, events, nowMs);
}

// A shot entering a bubble costs shield once; it re-arms only after leaving every bubble.
static void testShieldHit(MatchState& m, int playerIndex, Projectile& shot, const Explosion& e, StepEvents& events)
{
    Player& p = m.players[playerIndex];
    Body& bubble = m.shieldBodies[p.index];
    if (p.lifeState != ALIVE || !shot.mayHitShield ||
        !withinRange(p.body.position, shot.position, bubble.gravityRange))
        return;
    shot.mayHitShield = false;
    p.shield -= e.shieldDamage;
    p.shieldBarTimer = SHIELD_BAR_MS;
    const bool broke = p.shield < 0.0;
    if (broke) {
        p.shieldRegenDelay = SHIELD_BREAK_DELAY_MS;
        p.shield = 0.0;
        bubble.mass = p.shield / p.maxShield * p.shieldRepulsion;
    }
    report(events, MatchEventKind::SHIELD_HIT, playerIndex, shot.position, broke ? 1 : 0);
}

static bool flyingShotTouches(const MatchContent& c, const Player& p, const Projectile& shot, const Explosion& e)
{
    switch (e.hitTest) {
    case 0:
        return pointInMask(pixelCentre(p), currentMask(c, p), worldToPixelVec(shot.position));
    case 1:
        return withinRange(shot.position, p.body.position, p.hitRadius + e.shotRadius);
    case 2:
        assert(e.hitMaskIndex >= 0 && e.hitMaskIndex < BLAST_MASK_COUNT);
        return masksOverlap(pixelCentre(p), currentMask(c, p), worldToPixelVec(shot.position),
                            c.masks.blasts[e.hitMaskIndex]);
    default:
        return false;
    }
}

// The shot goes off on the ship, its impact fixed to the hull relative to the heading.
static void goOffOnShip(Explosion& e, const Projectile& shot, const Player& p, int playerIndex, int32_t nowMs)
{
    goOff(e, nowMs);
    e.impactOffset = polarFromPoints(p.body.position, shot.position);
    e.impactOffset.angle = normaliseAngle(e.impactOffset.angle - p.body.heading.angle);
    e.hitPlayer = playerIndex;
    e.hitPlanet = -1;
}

static void testHullHit(MatchState& m, const MatchContent& c, int playerIndex, const Projectile& shot, Explosion& e,
                        int32_t nowMs, StepEvents& events)
{
    Player& p = m.players[playerIndex];
    if (p.lifeState != ALIVE)
        return;
    double damage = 0.0;
    if (e.detonated) {
        damage = blastDamageTo(e, shot.position, p);
        if (damage == 0.0)
            return;
    } else {
        if (!flyingShotTouches(c, p, shot, e))
            return;
        goOffOnShip(e, shot, p, playerIndex, nowMs);
        report(events, MatchEventKind::SHOT_WENT_OFF, playerIndex, shot.position, e.blastRadius > 0.0 ? 1 : 0);
        damage = e.hullDamage;
    }
    p.hull -= damage;
    p.hullBarTimer = HULL_BAR_MS;
    report(events, MatchEventKind::HULL_HIT, playerIndex, shot.position);
    if (p.hull <= 0.0) {
        die(p, nowMs);
        const bool scores = e.ownerIndex != playerIndex;
        reportDeath(events, playerIndex, scores ? e.ownerIndex : -1, DEATH_BY_SHOT, p.body.position);
        announceKill(m, c, events, e.ownerIndex, playerIndex);
    }
}

// How far a placed mask can reach from its placement point along either axis,
// in pixels, with one more for the truncation of its corner.
static int maskReachPx(const CollisionMask& mask)
{
    return std::abs(mask.offsetX) + std::abs(mask.offsetY) + mask.width + mask.height + 1;
}

ShipReach shipReachOf(const MatchState& m, const MatchContent& c)
{
    ShipReach ships;
    const int blastReachPx = maskReachPx(c.masks.blasts[BLAST_MASK_COUNT - 1]);
    for (int i = 0; i < PLAYER_COUNT; ++i) {
        const Player& p = m.players[i];
        const int pixelReach = maskReachPx(currentMask(c, p)) + blastReachPx + 1;
        ships.reach[i] = std::max(m.shieldBodies[p.index].gravityRange, pixels(pixelReach));
    }
    return ships;
}

// Whether the shot is close enough to the ship for any shield or hull test to
// matter; farther out every test fails, so skipping them changes nothing.
static bool withinTestReach(const Player& p, double shipReach, const Projectile& shot, const Explosion& e)
{
    const double reach = std::max({shipReach, p.hitRadius + e.shotRadius, p.hitRadius + e.blastRadius});
    return std::fabs(shot.position.x - p.body.position.x) <= reach &&
           std::fabs(shot.position.y - p.body.position.y) <= reach;
}

void testShotHits(MatchState& m, const MatchContent& c, int shotIndex, int32_t nowMs, const ShipReach& ships,
                  StepEvents& events)
{
    assert(shotIndex >= 0 && shotIndex < SHOT_POOL_SIZE);
    Projectile& shot = m.projectiles[shotIndex];
    Explosion& e = m.explosions[shotIndex];
    bool near[PLAYER_COUNT];
    for (int i = 0; i < PLAYER_COUNT; ++i)
        near[i] = withinTestReach(m.players[i], ships.reach[i], shot, e);
    for (int i = 0; i < PLAYER_COUNT; ++i)
        if (near[i])
            testShieldHit(m, i, shot, e, events);
    for (int i = 0; i < PLAYER_COUNT; ++i)
        if (near[i])
            testHullHit(m, c, i, shot, e, nowMs, events);
}
