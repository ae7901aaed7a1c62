// What each side of a network match brings to it, and how both sides'
// choices and menu visits become the one match both machines play.
#pragma once
#include <cstdint>
#include <string>
#include <vector>
#include "app/config_file.h"
#include "sim/match_setup.h"

// One side's own choices, its config.cfg's player 1 entries; of both sides'
// maps and lives, the host's hold.
struct SideChoices {
    int32_t shipIndex = 0;
    int32_t weapons[WEAPON_SLOTS] = {};
    int32_t mapIndex = 0;
    int32_t lives = DEFAULT_LIVES;
};

// A version byte, the ship, the five weapons and the map a byte each, the
// lives as a little-endian int32.
constexpr uint8_t CHOICES_VERSION = 1;
constexpr size_t CHOICES_BYTES = 1 + 1 + WEAPON_SLOTS + 1 + 4;

SideChoices sideChoicesOf(const GameConfig& config);
std::vector<uint8_t> choicesBytes(const SideChoices& choices);
// The other side's bytes: false for anything but CHOICES_BYTES of this
// version with every ship, weapon and map in range.
bool readChoices(const std::vector<uint8_t>& bytes, SideChoices& choices);
// A name from the other side as a match holds it: up to its first zero byte,
// cut to NAME_CHARACTERS characters.
std::string matchName(const std::string& name);
// The match both sides set up: player 1 the host with its map and lives,
// player 2 the joiner, each with its own name, ship and weapons.
MatchChoices netMatchChoices(const SideChoices sides[PLAYER_COUNT], const std::string names[PLAYER_COUNT],
                             uint32_t seed);
// Both sides' visits of one pause, by player, as the one visit both machines
// make: each player's own last ship and weapons (a sub-screen visited by
// either side changes both players as it would at one keyboard), the host's
// map, and a new match when either side saw the main-menu page.
MenuOutcome mergeMenuVisits(const MatchState& m, const MenuOutcome visits[PLAYER_COUNT]);
// What this machine saves at quit: its config.cfg as read at start-up, with
// the ship and weapons its player flew as the player 1 entries.
GameConfig configAfterNetMatch(const GameConfig& atStart, const MatchState& m, int localPlayer);
