#include "sim/projectile.h"

#include <cassert>
#include <cmath>

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

void launchShot(Projectile& shot, const Vec2& spawnPoint, const PolarVec& shipVelocity, double speed, double angle)
{
    shot.heading = PolarVec{1.0, angle};
    shot.position = spawnPoint;
    shot.velocity = add(shipVelocity, PolarVec{speed, angle});
    shot.active = true;
    shot.bubbleImmune = true;
    shot.mayHitShield = false;
    shot.age = 0;
}

// Adds one force to the acceleration, as components, dividing by the shot's mass.
static void accumulate(Vec2& acc, const PolarVec& force, double mass)
{
    const PolarVec a = divide(force, mass);
    acc.x += xOf(a);
    acc.y += yOf(a);
}

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
    for (int i = 0; i < planetCount; ++i)
        accumulate(acc, pullOf(planets[i], self), shot.mass);
    bool bubbleReaches = false;
    for (int i = 0; i < bubbleCount; ++i)
        bubbleReaches = bubbleReaches || pullOf(bubbles[i], self).length != 0.0;
    if (!bubbleReaches) {
        shot.mayHitShield = true;
        shot.bubbleImmune = false;
    }
    if (!shot.bubbleImmune)
        for (int i = 0; i < bubbleCount; ++i)
            accumulate(acc, pullOf(bubbles[i], self), shot.mass);
    return acc;
}

void moveShot(Projectile& shot, const Body* planets, int planetCount, const Body* bubbles, int bubbleCount,
              int dtMs, const WorldRect& arena)
{
    if (!shot.active)
        return;
    assert(std::isfinite(shot.position.x) && std::isfinite(shot.position.y));
    shot.age += dtMs;
    const double dt = dtMs / 1000.0; // milliseconds to seconds
    Vec2 acc = gravityOnShot(shot, planets, planetCount, bubbles, bubbleCount);
    accumulate(acc, scale(shot.heading, shot.engineForce), shot.mass);
    // The forces are summed as components; only the velocity is kept in polar form.
    const PolarVec accPolar = polarFromPoints(Vec2{}, acc);
    shot.velocity = add(shot.velocity, scale(accPolar, dt));
    const PolarVec step = scale(shot.velocity, dt);
    shot.position.x += xOf(step);
    shot.position.y += yOf(step);
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
