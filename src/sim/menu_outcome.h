// What one visit to the menu changed in the match, in the order the players
// made the changes: plain data, so that a recording can keep it and a replay
// can make the same changes without showing the menu.
#pragma once
#include <cstdint>
#include <vector>
#include "sim/player.h"

enum class MenuChangeKind : uint8_t { SHIPS, WEAPONS, MAP };

// What leaving one sub-screen changed; only the fields of its kind count.
struct MenuChange {
    MenuChangeKind kind = MenuChangeKind::MAP;
    int32_t ships[PLAYER_COUNT] = {};                 // ship yard: ship type rows
    int32_t weapons[PLAYER_COUNT][WEAPON_SLOTS] = {}; // armory: weapon type rows
    int32_t map = 0;                                  // map selection: the map chosen for the next match
};

struct MenuOutcome {
    std::vector<MenuChange> changes;
    bool newMatch = false; // the main-menu page was seen
    bool quit = false;
};
