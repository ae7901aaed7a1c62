// Weapon slots: equipping, cycling, reloading and firing volleys.
#pragma once
#include "sim/match_state.h"

void equipWeapons(Player& p, int ownerIndex, const int weaponIndices[WEAPON_SLOTS],
                  const FireState fireStateTable[WEAPON_COUNT], const WeaponType weaponTable[WEAPON_COUNT]);
// Label timer, slot cycling, manual reload, then firing while alive.
void weaponStep(MatchState& m, int playerIndex, int dtMs, int32_t nowMs);
