// The game's sound effects by kind, and the file each is kept in: one list
// for the generator that writes the files and the game that loads them.
#pragma once
#include <cstdint>

// The ten firing sounds come first, in the rows of the weapon table.
enum class SoundEffect : uint8_t {
    FIRE_CORONA_DEVICE,
    FIRE_MINIGUN,
    FIRE_ROCKET_SWARM,
    FIRE_DOOMSDAY,
    FIRE_ALPHA_CANNON,
    FIRE_HYDRA_LASER,
    FIRE_PLASMA_LAUNCHER,
    FIRE_CHAINGUN,
    FIRE_MINES,
    FIRE_ARMAGEDDON,
    SHIELD_HOLDS,
    SHIELD_BREAKS,
    HULL_HIT,
    BLAST,
    SHIP_DESTROYED,
    PLANET_CRASH,
    RAMMING,
    BOOST,
    ENGINE, // a seamless loop
    KILL_STING,
    NEW_MATCH,
    MENU_MOVE,
    MENU_CONFIRM,
    MENU_BACK,
    MENU_CHANGE,
};

constexpr int SOUND_EFFECT_COUNT = static_cast<int>(SoundEffect::MENU_CHANGE) + 1;
constexpr int FIRING_SOUND_COUNT = static_cast<int>(SoundEffect::FIRE_ARMAGEDDON) + 1;

// Relative to the game folder; each file is <folder>/<name>.wav.
constexpr const char* SOUND_EFFECT_FOLDER = "sound/sfx";

constexpr const char* SOUND_EFFECT_NAMES[SOUND_EFFECT_COUNT] = {
    "fire-corona-device", "fire-minigun",  "fire-rocket-swarm", "fire-doomsday",    "fire-alpha-cannon",
    "fire-hydra-laser",   "fire-plasma",   "fire-chaingun",     "fire-mines",       "fire-armageddon",
    "shield-holds",       "shield-breaks", "hull-hit",          "blast",            "ship-destroyed",
    "planet-crash",       "ramming",       "boost",             "engine-loop",      "kill-sting",
    "new-match",          "menu-move",     "menu-confirm",      "menu-back",        "menu-change",
};

constexpr int indexOf(SoundEffect effect) { return static_cast<int>(effect); }
