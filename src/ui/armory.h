// The armory: both players' five weapon slots, each set to any weapon type.
#pragma once
#include <cstdint>
#include "gfx/text.h"
#include "sim/match_state.h"
#include "ui/menu_input.h"

constexpr int ARMORY_SLOT_ITEMS = PLAYER_COUNT * WEAPON_SLOTS; // player 1's slots, then player 2's
constexpr int ARMORY_RETURN = ARMORY_SLOT_ITEMS;              // selection of "Return"

struct ArmoryState {
    int32_t choices[PLAYER_COUNT][WEAPON_SLOTS] = {}; // weapon type rows
    int32_t selection = 0;
    bool leave = false;
    bool mayChange[PLAYER_COUNT] = {true, true}; // a network match: only the local player's slots
};

ArmoryState openArmory(const Player players[PLAYER_COUNT]);
// One frame's keys. Returns the slot item whose weapon changed, or -1.
int applyArmoryKeys(ArmoryState& state, const MenuInput& input);
// Every slot of both players equipped anew from the choices.
// Returns the players' choices when they leave; the menu equips them on every exit.
// Slots of players that may not change stay as they are.
ArmoryState runArmory(const Player players[PLAYER_COUNT], const WeaponType weaponTable[WEAPON_COUNT],
                      const Sprite& background, const Fonts& fonts, const bool mayChange[PLAYER_COUNT]);
