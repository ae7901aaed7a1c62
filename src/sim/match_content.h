// What a match is played with but never changes: the weapon, ship and map
// tables with their animation frames, the kill messages and the collision
// masks. Built once and passed by const reference; only the menu's first
// choice of a ship type adds that type's masks.
#pragma once
#include <cstdint>
#include "content/map_table.h"
#include "content/ship_table.h"
#include "content/weapon_table.h"
#include "sim/animation.h"
#include "sim/mask_table.h"

constexpr int KILL_MESSAGE_COUNT = 4;

struct KillMessage {
    char verb[32];
    char phrase[32];
};

struct MatchContent {
    AnimationFrames frames;
    WeaponType weapons[WEAPON_COUNT];
    FireState fireStates[WEAPON_COUNT];
    GameMap maps[MAP_COUNT];
    ShipType ships[SHIP_COUNT];
    KillMessage killMessages[KILL_MESSAGE_COUNT];
    int32_t killMessageCount = KILL_MESSAGE_COUNT;
    MaskTable masks;
};

// The tables, the kill messages, the blast discs and the planets' masks.
// Ship masks are made per ship type as they are needed (makeShipMasks).
void buildContent(MatchContent& c, const PictureSource& planetPictures);
// Makes the masks of the ship types the players fly, where they are missing.
void makeMasksOfShips(MatchContent& c, const int32_t shipIndex[], int count, const RotatedPictureSource& rotated);
// Every ship type's masks, where missing: a recording's mask checksum covers them all.
void makeAllShipMasks(MatchContent& c, const RotatedPictureSource& rotated);
