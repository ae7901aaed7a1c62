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

// Far more than 16 values need; anything larger is not a settings file.
constexpr size_t CONFIG_MAX_BYTES = 64 * 1024;

struct ConfigRead {
    GameConfig config;
    // False when a file stood there but was refused: it is then left exactly
    // as it is, whatever is chosen in the game.
    bool saveAtQuit = true;
};

// Never fails. A missing file gives the defaults. A file that cannot be read,
// is not a regular file or is larger than CONFIG_MAX_BYTES gives them too,
// after one line on stderr saying why, and is not to be saved over.
ConfigRead readConfig(const std::string& path);
// Missing or unreadable values take the defaults, indices out of range
// (negative included) become 0, names are cut to NAME_CHARACTERS characters.
GameConfig parseConfig(const std::string& text);
std::string formatConfig(const GameConfig& config);
// Replaces the file whole (see replaceFile): the old settings survive a failed
// write, a link stays a link, the file keeps its permissions. Returns false
// when the write failed, after one line on stderr naming the file and the reason.
bool writeConfig(const std::string& path, const GameConfig& config);
// The configuration as it stands in a running match.
GameConfig configOf(const MatchState& m);
