// The map selection: which of the three maps the next match is played on.
#pragma once
#include <cstdint>
#include "gfx/text.h"
#include "sim/match_state.h"
#include "ui/menu_input.h"

constexpr int MAP_SELECTION_RETURN = MAP_COUNT; // selection of "Return"; 0..2 are the maps

struct MapSelectionState {
    int32_t selection = 0;
    bool leave = false;
};

// Starts on the map in play and drops any choice not yet applied.
MapSelectionState openMapSelection(const GameMap& currentMap, int32_t& selectedMapIndex);
// One frame's keys. Returns true when enter chose a map.
bool applyMapSelectionKeys(MapSelectionState& state, const MenuInput& input, int32_t& selectedMapIndex);
// Returns when the players leave; the choice takes effect when the menu closes.
void runMapSelection(const GameMap& currentMap, int32_t& selectedMapIndex, const GameMap mapTable[MAP_COUNT],
                     const Sprite& background, const Fonts& fonts);
