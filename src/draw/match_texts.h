// The match's text sprites, rendered only when what they show changes.
#pragma once
#include "gfx/text.h"
#include "sim/match_state.h"

struct PlayerLabels {
    Sprite name;
    Sprite kills;
    Sprite lives;
    Sprite weaponName;
};

struct MatchTexts {
    PlayerLabels players[PLAYER_COUNT];
    Sprite banner;
    const Fonts* fonts = nullptr;
    const MatchState* match = nullptr;
};

// Routes the simulation's label and message events to the text sprites.
void connectMatchTexts(MatchTexts& texts, MatchState& m, const Fonts& fonts);
void renderNameLabels(MatchTexts& texts);
// Kills, lives and weapon name of both players, and the empty banner.
void renderMatchLabels(MatchTexts& texts);
void rerenderLives(MatchTexts& texts, int player);
void rerenderKills(MatchTexts& texts, int player);
void rerenderWeaponName(MatchTexts& texts, int player);
void rerenderBanner(MatchTexts& texts, const char* text);
void freeMatchTexts(MatchTexts& texts);
