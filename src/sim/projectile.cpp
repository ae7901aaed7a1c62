#include "sim/projectile.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstdint>
#include <limits>

Body bodyOf(const Projectile& shot)
{
    Body b;
    b.mass = shot.mass;
    b.attracts = shot.attracts;
    b.gravityRange = shot.gravityRange;
    b.radius = shot.radius;
    b.position = shot.position;
    return b;
}

void resetShot(Projectile& shot, double mass)
{
    shot.mass = mass;
    shot.attracts = true;
    shot.gravityRange = 0.0;
    shot.radius = 0.0;
    shot.position = Vec2{};
    shot.engineForce = 0.0;
    shot.active = false;
}

PolarVec velocityOf(const Projectile& shot) { return polarFromPoints(Vec2{}, shot.velocity); }

void setVelocity(Projectile& shot, const PolarVec& velocity) { shot.velocity = Vec2{xOf(velocity), yOf(velocity)}; }

void launchShot(Projectile& shot, const Vec2& spawnPoint, const PolarVec& shipVelocity, double speed, double angle)
{
    shot.heading = PolarVec{1.0, angle};
    shot.position = spawnPoint;
    shot.headingComponents = Vec2{xOf(shot.heading), yOf(shot.heading)};
    setVelocity(shot, add(shipVelocity, PolarVec{speed, angle}));
    shot.active = true;
    shot.bubbleImmune = true;
    shot.mayHitShield = false;
    shot.age = 0;
}

// Adds a force, as components, to an acceleration (one division per shot, not per force).
static void accumulate(Vec2& acc, const Vec2& force, double inverseMass)
{
    acc.x += force.x * inverseMass;
    acc.y += force.y * inverseMass;
}

static bool isZero(const Vec2& v) { return v.x == 0.0 && v.y == 0.0; }

static Vec2 scaled(const Vec2& v, double k) { return Vec2{v.x * k, v.y * k}; }

// Planets pull whatever their attracts flag; bubbles push once the shot has
// left them all, and leaving them all re-arms the shot against shields.
static Vec2 gravityOnShot(Projectile& shot, const Body* planets, int planetCount, const Body* bubbles,
                          int bubbleCount)
{
    Vec2 acc;
    if (shot.ignoresGravity) {
        shot.mayHitShield = false;
        return acc;
    }
    const Body self = bodyOf(shot);
    const double inverseMass = 1.0 / shot.mass;
    for (int i = 0; i < planetCount; ++i)
        accumulate(acc, pullComponentsOf(planets[i], self), inverseMass);
    bool bubbleReaches = false;
    for (int i = 0; i < bubbleCount; ++i)
        bubbleReaches = bubbleReaches || !isZero(pullComponentsOf(bubbles[i], self));
    if (!bubbleReaches) {
        // Re-armed; and as no bubble reaches, none pushes either.
        shot.mayHitShield = true;
        shot.bubbleImmune = false;
        return acc;
    }
    if (!shot.bubbleImmune)
        for (int i = 0; i < bubbleCount; ++i)
            accumulate(acc, pullComponentsOf(bubbles[i], self), inverseMass);
    return acc;
}

// The engine pushes along the launch heading.
static void addEngine(Vec2& acc, Projectile& shot)
{
    if (shot.engineForce == 0.0)
        return;
    accumulate(acc, scaled(shot.headingComponents, shot.engineForce), 1.0 / shot.mass);
}

void moveShot(Projectile& shot, const Body* planets, int planetCount, const Body* bubbles, int bubbleCount,
              int dtMs, const WorldRect& arena)
{
    if (!shot.active)
        return;
    assert(std::isfinite(shot.position.x) && std::isfinite(shot.position.y));
    // Held at the largest int: a shot can be moved once more after a frame of weeks.
    shot.age = static_cast<int32_t>(std::min<int64_t>(int64_t{shot.age} + dtMs, std::numeric_limits<int32_t>::max()));
    const double dt = dtMs / 1000.0; // milliseconds to seconds
    Vec2 acc = gravityOnShot(shot, planets, planetCount, bubbles, bubbleCount);
    addEngine(acc, shot);
    // Semi-implicit Euler: the new velocity moves the shot.
    shot.velocity.x += acc.x * dt;
    shot.velocity.y += acc.y * dt;
    shot.position.x += shot.velocity.x * dt;
    shot.position.y += shot.velocity.y * dt;
    if (!insideRect(arena, shot.position))
        shot.active = false;
}

void retireShot(Projectile& shot) { shot.active = false; }

void goOff(Explosion& explosion, int32_t nowMs)
{
    explosion.exploding = true;
    setCurrentFrame(explosion.impactAnim, 0);
    startAnimation(explosion.impactAnim, nowMs);
}

int findFreeShot(int poolSize, const Projectile* pool)
{
    for (int i = 0; i < poolSize; ++i)
        if (!pool[i].active)
            return i;
    return -1;
}
