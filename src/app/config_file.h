// "config.cfg": names, map, lives, ships and weapon slots between runs.
#pragma once
#include <string>
#include "sim/match_state.h"

struct GameConfig {
    char names[PLAYER_COUNT][NAME_BUFFER_SIZE] = {"Nova", "Vega"};
    int mapIndex = 0;
    int lives = DEFAULT_LIVES;
    int shipIndex[PLAYER_COUNT] = {0, 1};
    int weapons[PLAYER_COUNT][WEAPON_SLOTS] = {};
};

// Never fails: missing or unreadable values take the defaults, indices out of
// range (negative included) become 0, names are cut to 15 characters.
GameConfig readConfig(const std::string& path);
GameConfig parseConfig(const std::string& text);
std::string formatConfig(const GameConfig& config);
// Written to a temporary file beside it and renamed over, so the old settings
// survive a failed write. Returns false when the write failed, after one line
// on stderr naming the file and the reason.
bool writeConfig(const std::string& path, const GameConfig& config);
// The configuration as it stands in a running match.
GameConfig configOf(const MatchState& m);
