// The ship yard: each player picks one of the four ship types.
#pragma once
#include <cstdint>
#include "gfx/text.h"
#include "sim/match_state.h"
#include "ui/menu_input.h"

constexpr int SHIP_YARD_RETURN = 2; // selection of "Return"; 0 and 1 are the players' rows

struct ShipYardState {
    int32_t choices[PLAYER_COUNT] = {};       // ship type rows
    double previewAngles[PLAYER_COUNT] = {};  // radians
    Animation previews[PLAYER_COUNT];         // the chosen ships' engines, running
    int32_t selection = 0;
    bool leave = false;
    bool mayChange[PLAYER_COUNT] = {true, true}; // a network match: only the local player's row
};

ShipYardState openShipYard(const Player players[PLAYER_COUNT], const ShipType shipTable[SHIP_COUNT], int32_t nowMs);
// A changed choice starts its ship's engine animation and turns its preview back to 0.
void applyShipYardKeys(ShipYardState& state, const MenuInput& input, const ShipType shipTable[SHIP_COUNT],
                       int32_t nowMs);
// Returns the players' choices when they leave; the menu gives both players
// the chosen ships on every exit. Rows of players that may not change stay as they are.
ShipYardState runShipYard(const Player players[PLAYER_COUNT], const ShipType shipTable[SHIP_COUNT],
                          const AnimationFrames& frames, const Sprite& background, const Fonts& fonts,
                          const bool mayChange[PLAYER_COUNT]);
