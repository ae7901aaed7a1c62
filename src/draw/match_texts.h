// The match's text sprites, rendered again only when what they show changes:
// they are made from the match as it stands, so a restored match shows its own.
#pragma once
#include <cstdint>
#include "gfx/text.h"
#include "sim/match_state.h"

struct PlayerLabels {
    Sprite name;
    Sprite kills;
    Sprite lives;
    Sprite weaponName;
};

// What the sprites were last rendered from.
struct ShownTexts {
    bool any = false; // false until the first refresh renders everything
    char names[PLAYER_COUNT][NAME_BUFFER_SIZE] = {};
    int32_t kills[PLAYER_COUNT] = {};
    int32_t lives[PLAYER_COUNT] = {};
    int32_t weaponRows[PLAYER_COUNT] = {};
    Banner banner;
};

struct MatchTexts {
    PlayerLabels players[PLAYER_COUNT];
    Sprite banner;
    const Fonts* fonts = nullptr;
    ShownTexts shown;
};

// Renders whatever the match shows otherwise than the sprites do.
void refreshMatchTexts(MatchTexts& texts, const MatchState& m, const MatchContent& c);
void freeMatchTexts(MatchTexts& texts);
