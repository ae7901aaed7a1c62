// A player's ship: its state, set-up and flight.
#pragma once
#include <cstdint>
#include "content/ship_table.h"
#include "content/weapon_table.h"
#include "sim/geometry.h"

constexpr int PLAYER_COUNT = 2;
constexpr int WEAPON_SLOTS = 5;
constexpr int ROTATION_MASKS = 16; // turned copies of a ship's picture, one per sixteenth of a turn

struct ShipBody {
    double mass = 0.0;
    bool attracts = true;
    double gravityRange = 0.0;
    double radius = 0.0;
    Vec2 position;
    double thrustForce = 0.0;
    double boostForce = 0.0;
    PolarVec velocity;          // world units per second
    PolarVec heading{1.0, 0.0}; // length always 1
    double turnRate = 0.0;      // radians per second
    bool insideArena = false;   // only fly() recomputes it
};

// The Body head of a ship, for pulls.
Body bodyOf(const ShipBody& ship);

enum LifeState : int32_t { ALIVE = 0, EXPLODING = 1, READY_TO_RESPAWN = 2 };

// One player's ship as the match holds it: plain values only, so that a copy
// of the match is the match. Its weapons and masks are looked up in the content.
struct Player {
    int32_t shipIndex = 0;
    ShipBody body;
    FireState fireStates[WEAPON_SLOTS];
    int32_t weaponRows[WEAPON_SLOTS] = {}; // rows of the weapon table; saved in the configuration
    int32_t currentSlot = 0;
    Animation shipSprite;
    Animation thrustAnim;
    Animation deathAnim;
    int32_t index = 0;          // selects the shield bubble
    int32_t returnPhase = 0;    // 0 brake, 1 aim, 2 accelerate, 3 coast
    double returnDistance = 0.0;
    double hull = 0.0, maxHull = 0.0;
    double shield = 0.0, maxShield = 0.0;
    double shieldRegenRate = 0.0;
    int32_t shieldRegenDelay = 0; // ms
    int32_t rotationFrame = 0;  // 0..15, of the ship type's turned masks
    double shieldRepulsion = 0.0;
    PolarVec muzzles[MUZZLE_COUNT];
    double hitRadius = 0.0;
    double maxEnergy = 0.0, energy = 0.0;
    bool boosting = false;
    double energyRegenRate = 0.0;
    int32_t boostDirection = 0; // +1, -1, 0
    int32_t lifeState = ALIVE;
    int32_t kills = 0;
    int32_t lives = 0;
    int32_t hullBarTimer = 0, shieldBarTimer = 0, weaponLabelTimer = 0; // ms
    bool canCollide = true;
};

void setUpFromShipType(Player& p, const ShipType& type, int shipIndex);
void resetForLife(Player& p);
void fly(ShipBody& ship, const Body* planets, int planetCount, int dtMs, bool thrustInput,
         int boostDirection, double turnInput, const WorldRect& arena);
void updateShieldBubbles(Player players[PLAYER_COUNT], Body shieldBodies[PLAYER_COUNT]);
// Returns true when a forward request could not start a boost and acts as thrust.
bool updateBoostAndEnergy(Player& p, int boostRequest, int dtMs);
void regenerateEnergy(Player& p, int dtMs);
void regenerateShields(Player players[PLAYER_COUNT], int dtMs);
void returnManoeuvre(Player& p, const Vec2& returnPoint, int dtMs);
// truncate(heading / TWO_PI * 16 + 0.5), 16 becoming 0
int rotationFrameOf(double headingAngle);
