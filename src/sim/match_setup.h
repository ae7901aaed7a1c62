// Setting a match up from the players' choices, the changes the menu makes to
// it, and new matches: the one place a match is built, for the game, the
// replays, the runner, the tools and the tests alike.
#pragma once
#include <cstdint>
#include "sim/match_state.h"
#include "sim/menu_outcome.h"
#include "sim/step_events.h"

// How far a shield bubble reaches from its ship's centre: it pushes and is hit only within this.
constexpr double SHIELD_BUBBLE_RANGE_PX = 30.0;

// What a match starts from.
struct MatchChoices {
    char names[PLAYER_COUNT][NAME_BUFFER_SIZE] = {};
    int32_t mapIndex = 0;
    int32_t lives = DEFAULT_LIVES;
    int32_t shipIndex[PLAYER_COUNT] = {0, 1};
    int32_t weapons[PLAYER_COUNT][WEAPON_SLOTS] = {};
    uint32_t seed = 1;
};

// A fresh match: the generator seeded, the map in play, both players set up
// with their ships and weapons and placed apart. The content must hold the
// masks of both ships (makeMasksOfShips).
void setUpMatch(MatchState& m, const MatchContent& c, const MatchChoices& choices);
// Puts a map in play and gives it fresh planet bodies; the first orbit step places them.
void putMapInPlay(MatchState& m, const GameMap& map);
// What leaving a sub-screen of the menu does: new ships (whose masks the
// content must hold), weapons, or the map for the next match.
void applyMenuChange(MatchState& m, const MatchContent& c, const MenuChange& change);
// What ends every visit to the menu: a new match when the main-menu page was
// seen, then the map chosen in it, and a new match for a lost one.
StepEvents finishMenuVisit(MatchState& m, const MatchContent& c, const MenuOutcome& visit);
// A recorded visit made again without showing it: its changes in order, then its end.
StepEvents replayMenuVisit(MatchState& m, const MatchContent& c, const MenuOutcome& visit);
// Both players restored and placed apart, lives reset, kills 0, slot 0, all shots freed.
void startNewMatch(MatchState& m, const MatchContent& c, StepEvents& events);
