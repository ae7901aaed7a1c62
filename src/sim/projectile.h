// Shots: the two parallel pools, launch, motion, expiry.
#pragma once
#include <cstdint>
#include "sim/animation.h"
#include "sim/geometry.h"

constexpr int SHOT_POOL_SIZE = 1024;

struct Projectile {
    double mass = 1.0;
    bool attracts = true;
    double gravityRange = 0.0;
    double radius = 0.0;
    Vec2 position;
    // World units per second, held as x and y: a thousand shots a frame step
    // without an angle round trip. velocityOf gives the polar form.
    Vec2 velocity;
    PolarVec heading{1.0, 0.0}; // launch direction; never changes in flight
    Vec2 headingComponents{1.0, 0.0}; // of heading, made at launch for the engine
    double engineForce = 0.0;
    bool active = false;        // in flight or showing its impact
    bool bubbleImmune = false;  // not pushed by shield bubbles until it leaves them all once
    bool mayHitShield = false;  // the next bubble entry damages that shield
    bool ignoresGravity = false;
    int32_t orientByHeading = 0;
    int32_t age = 0;            // ms since launch
};

// Everything a shot carries for its effect, index for index with Projectile.
struct Explosion {
    Animation flightAnim;
    Animation impactAnim;
    double shotRadius = 0.0;
    double blastRadius = 0.0;
    bool orientByVelocity = false;
    double hullDamage = 0.0;
    double shieldDamage = 0.0;
    double blastDamage = 0.0;   // at zero distance
    int32_t hitTest = 0;
    int32_t hitMaskIndex = 0;
    bool exploding = false;     // gone off: no longer moves or hits
    int32_t hitPlayer = -1;
    int32_t hitPlanet = -1;
    PolarVec impactOffset;      // from the centre of what it hit; for a ship, relative to its heading
    int32_t lifetime = 0;       // ms
    bool detonated = false;     // went off this frame by lifetime or on a planet: blasts
    int32_t ownerIndex = 0;
};

Body bodyOf(const Projectile& shot);
PolarVec velocityOf(const Projectile& shot);
void setVelocity(Projectile& shot, const PolarVec& velocity);
void resetShot(Projectile& shot, double mass);
void launchShot(Projectile& shot, const Vec2& spawnPoint, const PolarVec& shipVelocity, double speed, double angle);
void moveShot(Projectile& shot, const Body* planets, int planetCount, const Body* bubbles, int bubbleCount,
              int dtMs, const WorldRect& arena);
void retireShot(Projectile& shot);
void goOff(Explosion& explosion, int32_t nowMs);
int findFreeShot(int poolSize, const Projectile* pool);
