// The players' status: bars floating beside each ship after a change, and the
// fixed panel across the top 45 pixels.
#pragma once
#include "draw/match_texts.h"
#include "sim/match_state.h"

constexpr int HUD_FULL_ALPHA = 220;   // floating displays at full strength
constexpr int HUD_FADE_MS = 200;      // the last milliseconds of a floating display fade out
constexpr int HULL_SEGMENTS_BESIDE_SHIP = 17;
constexpr int SHIELD_SEGMENTS_BESIDE_SHIP = 7;
constexpr int HULL_SEGMENTS_IN_PANEL = 95;
constexpr int ENERGY_SEGMENTS_IN_PANEL = 30;
constexpr int AMMO_SEGMENTS_IN_PANEL = 30;

// Floating displays of both players, then the top panel; leaves the colour at baseColour.
void drawHud(const Player players[PLAYER_COUNT], const MatchTexts& texts);
// The top panel alone: its picture, both players' bars and their texts.
void drawHudPanel(const Player players[PLAYER_COUNT], const MatchTexts& texts);
