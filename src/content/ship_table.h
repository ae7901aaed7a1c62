// The four ship types.
#pragma once
#include "sim/animation.h"
#include "sim/geometry.h"

constexpr int SHIP_COUNT = 4;
constexpr int MUZZLE_COUNT = 3;

struct ShipType {
    double mass = 0.0;
    double turnRate = 0.0;    // radians per second at full turn input
    double thrustForce = 0.0;
    double boostForce = 0.0;
    Animation shipSprite;     // frame 0 is also the picture of the rotation masks
    Animation thrustAnim;
    Animation deathAnim;      // ends with 500 ms of the blank picture
    double hitRadius = 0.0;   // world units
    double maxHull = 0.0;
    double maxShield = 0.0;
    double shieldRegenRate = 0.0; // points per second
    double shieldRepulsion = 0.0; // shield bubble mass at full shield; negative
    PolarVec muzzles[MUZZLE_COUNT]; // (distance, angle relative to the heading)
    double maxEnergy = 0.0;   // one unit = one millisecond of boost
    double energyRegenRate = 0.0; // per second
};

void buildShipTable(ShipType ships[SHIP_COUNT], AnimationFrames& frames);
