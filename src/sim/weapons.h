// Weapon slots: equipping, cycling, reloading and firing volleys.
#pragma once
#include "sim/match_state.h"

constexpr int WEAPON_LABEL_MS = 200; // the weapon name shows beside the ship while the modifier is held

// The two parallel shot pools, index for index.
struct ShotPools {
    Projectile* projectiles = nullptr;
    Explosion* explosions = nullptr;
};

void equipWeapons(Player& p, int ownerIndex, const int weaponIndices[WEAPON_SLOTS],
                  const FireState fireStateTable[WEAPON_COUNT], const WeaponType weaponTable[WEAPON_COUNT]);
// Label timer, slot cycling, manual reload, then firing while alive.
void weaponStep(MatchState& m, int playerIndex, int dtMs, int32_t nowMs);
// Magazine, reload and cooldown of the selected slot; fires at most one volley.
// Returns true when a volley was fired.
bool fireStep(FireState& state, bool fireHeld, const WeaponType& weapon, const PolarVec& muzzle,
              const ShipBody& ship, int dtMs, const WorldRect& arena, const ShotPools& pools, int32_t nowMs);
// The shots of one volley into the lowest free slots; shots that find no slot are dropped.
void spawnVolley(const Vec2& shipPosition, const PolarVec& shipVelocity, double muzzleDistance, double speed,
                 double direction, double width, int count, bool evenSpread, const WeaponType& weapon,
                 const ShotPools& pools, int32_t nowMs);
