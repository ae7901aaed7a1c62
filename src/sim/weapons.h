// Weapon slots: equipping, cycling, reloading and firing volleys.
#pragma once
#include "sim/match_state.h"
#include "sim/step_events.h"

constexpr int WEAPON_LABEL_MS = 200; // the weapon name shows beside the ship while the modifier is held

// The two parallel shot pools, index for index.
struct ShotPools {
    Projectile* projectiles = nullptr;
    Explosion* explosions = nullptr;
};

// What a volley's shots are fired with: the weapon and who owns its shots.
struct Volley {
    const WeaponType* weapon = nullptr;
    int ownerIndex = 0;
};

void equipWeapons(Player& p, const int32_t weaponRows[WEAPON_SLOTS], const FireState fireStateTable[WEAPON_COUNT]);
// Label timer, slot cycling, manual reload, then firing while alive.
void weaponStep(MatchState& m, const MatchContent& c, int playerIndex, int dtMs, int32_t nowMs, StepEvents& events);
// Magazine, reload and cooldown of the selected slot; fires at most one volley.
// Returns true when a volley was fired.
bool fireStep(FireState& state, bool fireHeld, const Volley& volley, const PolarVec& muzzle, const ShipBody& ship,
              int dtMs, const WorldRect& arena, const ShotPools& pools, Random& random, int32_t nowMs);
// The shots of one volley into the lowest free slots; shots that find no slot are dropped.
void spawnVolley(const Vec2& shipPosition, const PolarVec& shipVelocity, double muzzleDistance, double speed,
                 double direction, double width, int count, bool evenSpread, const Volley& volley,
                 const ShotPools& pools, Random& random, int32_t nowMs);
