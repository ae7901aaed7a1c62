#include "sim/weapons.h"

#include <algorithm>
#include <cassert>
#include <cstdint>
#include <limits>

#include "sim/random.h"

void equipWeapons(Player& p, const int32_t weaponRows[WEAPON_SLOTS], const FireState fireStateTable[WEAPON_COUNT])
{
    for (int slot = 0; slot < WEAPON_SLOTS; ++slot) {
        const int w = weaponRows[slot];
        assert(w >= 0 && w < WEAPON_COUNT);
        p.fireStates[slot] = fireStateTable[w];
        p.weaponRows[slot] = w;
    }
}

// Steps the selected slot down and/or up with wrap-around.
static void cycleWeapon(Player& p, int playerIndex, const WeaponCycling& cycling, StepEvents& events)
{
    if (cycling.previousWeapon) {
        p.currentSlot = p.currentSlot == 0 ? WEAPON_SLOTS - 1 : p.currentSlot - 1;
        report(events, MatchEventKind::WEAPON_CHANGED, playerIndex, p.body.position);
    }
    if (cycling.nextWeapon) {
        p.currentSlot = p.currentSlot == WEAPON_SLOTS - 1 ? 0 : p.currentSlot + 1;
        report(events, MatchEventKind::WEAPON_CHANGED, playerIndex, p.body.position);
    }
}

// Throws away a partly used magazine; a full or an empty one is left alone.
static void manualReload(FireState& state)
{
    if (state.ammoLeft != state.clipSize && state.ammoLeft != 0) {
        state.ammoLeft = 0;
        state.reloadLeft = state.reloadTime;
    }
}

void weaponStep(MatchState& m, const MatchContent& c, int playerIndex, int dtMs, int32_t nowMs, StepEvents& events)
{
    assert(playerIndex >= 0 && playerIndex < PLAYER_COUNT);
    Player& p = m.players[playerIndex];
    const PlayerControls& controls = m.controls.players[playerIndex];
    if (controls.weaponModifier)
        p.weaponLabelTimer = WEAPON_LABEL_MS;
    cycleWeapon(p, playerIndex, m.controls.cycling[playerIndex], events);
    FireState& state = p.fireStates[p.currentSlot];
    if (controls.reload)
        manualReload(state);
    const WeaponType& weapon = selectedWeapon(c, p);
    const PolarVec& muzzle = p.muzzles[weapon.muzzleIndex];
    if (p.lifeState == ALIVE &&
        fireStep(state, controls.fire, Volley{&weapon, playerIndex}, muzzle, p.body, dtMs, m.arenaRect,
                 ShotPools{m.projectiles, m.explosions}, m.random, nowMs))
        report(events, MatchEventKind::SHOT_FIRED, playerIndex, p.body.position, p.weaponRows[p.currentSlot]);
}

// Saturates instead of overflowing: a weapon left idle for weeks must still
// fire, and a clock that steps back must not wrap the counter either.
static int32_t addElapsed(int32_t counter, int dtMs)
{
    const int64_t sum = int64_t{counter} + dtMs;
    return static_cast<int32_t>(std::clamp<int64_t>(sum, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

bool fireStep(FireState& state, bool fireHeld, const Volley& volley, const PolarVec& muzzle, const ShipBody& ship,
              int dtMs, const WorldRect& arena, const ShotPools& pools, Random& random, int32_t nowMs)
{
    const WeaponType& weapon = *volley.weapon;
    const double direction = normaliseAngle(muzzle.angle + ship.heading.angle);
    const double muzzleDistance = muzzle.length + weapon.shotRadius;
    state.sinceLastShot = addElapsed(state.sinceLastShot, dtMs);
    if (state.ammoLeft <= 0) {
        state.reloadLeft -= dtMs;
        if (state.reloadLeft <= 0)
            state.ammoLeft = state.clipSize;
        return false;
    }
    if (!fireHeld || state.sinceLastShot <= state.interval || !strictlyInsideRect(arena, ship.position))
        return false;
    // Drawn in this order: speed, width, count.
    const double speed = pickInRange(random, state.speedMin, state.speedMax);
    const double width = pickInRange(random, state.spreadMin, state.spreadMax);
    const int count = pickIntInRange(random, state.countMin, state.countMax);
    spawnVolley(ship.position, ship.velocity, muzzleDistance, speed, direction, width, count, state.evenSpread,
                volley, pools, random, nowMs);
    state.sinceLastShot = 0;
    state.ammoLeft -= 1;
    if (state.ammoLeft == 0)
        state.reloadLeft = state.reloadTime;
    return true;
}

// Even spreads put the first and last shot on the edges of the width; random
// spreads draw each shot's angle within it.
static double shotAngle(int i, int count, double direction, double width, bool evenSpread, Random& random)
{
    double angle = direction;
    if (!evenSpread)
        angle = direction + randomReal(random, -width / 2.0, width / 2.0);
    else if (count >= 2 && width > 0.0)
        angle = direction - width / 2.0 + i * (width / (count - 1));
    PolarVec wrapped;
    setAngle(wrapped, angle);
    return wrapped.angle;
}

// Fills a shot's effect record; the draws run hull, blast, shield, lifetime, blast radius.
static Explosion makeExplosion(const Volley& volley, Random& random, int32_t nowMs)
{
    const WeaponType& weapon = *volley.weapon;
    Explosion e;
    e.flightAnim = weapon.flightAnim;
    e.hitTest = weapon.hitTest;
    e.hitMaskIndex = weapon.hitMaskIndex;
    e.hullDamage = pickInRange(random, weapon.hullDamageMin, weapon.hullDamageMax);
    e.blastDamage = pickInRange(random, weapon.blastDamageMin, weapon.blastDamageMax);
    e.shieldDamage = pickInRange(random, weapon.shieldDamageMin, weapon.shieldDamageMax);
    e.impactAnim = weapon.impactAnim;
    e.lifetime = pickIntInRange(random, weapon.lifetimeMin, weapon.lifetimeMax);
    e.blastRadius = pickInRange(random, weapon.blastRadiusMin, weapon.blastRadiusMax);
    e.shotRadius = weapon.shotRadius;
    e.orientByVelocity = weapon.orientByVelocity;
    e.exploding = false;
    e.detonated = false;
    e.ownerIndex = volley.ownerIndex;
    startAnimation(e.flightAnim, nowMs);
    return e;
}

void spawnVolley(const Vec2& shipPosition, const PolarVec& shipVelocity, double muzzleDistance, double speed,
                 double direction, double width, int count, bool evenSpread, const Volley& volley,
                 const ShotPools& pools, Random& random, int32_t nowMs)
{
    const WeaponType& weapon = *volley.weapon;
    for (int i = 0; i < count; ++i) {
        const int slot = findFreeShot(SHOT_POOL_SIZE, pools.projectiles);
        if (slot < 0)
            continue;
        const double angle = shotAngle(i, count, direction, width, evenSpread, random);
        const PolarVec offset{muzzleDistance, angle};
        const Vec2 spawnPoint{shipPosition.x + xOf(offset), shipPosition.y + yOf(offset)};
        Projectile& shot = pools.projectiles[slot];
        resetShot(shot, pickInRange(random, weapon.massMin, weapon.massMax));
        launchShot(shot, spawnPoint, shipVelocity, speed, angle);
        pools.explosions[slot] = makeExplosion(volley, random, nowMs);
        shot.engineForce = pickInRange(random, weapon.shotThrustMin, weapon.shotThrustMax);
        shot.orientByHeading = weapon.orientByHeading;
        shot.ignoresGravity = weapon.ignoresGravity;
    }
}
