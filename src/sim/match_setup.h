// The steps that set a match up, shared by the game's start-up and the
// headless runner so that both build exactly the same match.
#pragma once
#include "sim/match_state.h"

// How far a shield bubble reaches from its ship's centre: it pushes and is hit only within this.
constexpr double SHIELD_BUBBLE_RANGE_PX = 30.0;

// Weapon, map and ship tables, in that order.
void buildTables(MatchState& m, const PictureSource& pictures);
// Puts a map row in play and gives it fresh planet bodies.
void putMapInPlay(MatchState& m, int mapIndex);
// Ship, a fresh life, the five weapons, index, kills and lives of player p.
void setUpPlayer(MatchState& m, int p, int shipIndex, const int weapons[WEAPON_SLOTS],
                 const RotatedPictureSource& rotated);
// The two bubbles follow the ships; their mass is set every frame.
void setUpShieldBubbles(MatchState& m);
// Switches to the map chosen in the menu, if it differs from the one in play.
void applySelectedMap(MatchState& m);
// What follows every visit to the menu: the map chosen in it, and a new match
// for a lost one.
void settleAfterMenu(MatchState& m);
