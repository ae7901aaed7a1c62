// Everything a match is at one moment, and nothing else: a plain value that
// one step changes (stepMatch), so that a copy is a snapshot, an assignment
// a restore, and two matches can be compared or sent as bytes.
#pragma once
#include <cstdint>
#include <type_traits>
#include "content/map_table.h"
#include "sim/match_content.h"
#include "sim/match_controls.h"
#include "sim/player.h"
#include "sim/projectile.h"
#include "sim/random.h"

constexpr int NAME_CHARACTERS = 15;
constexpr int MAX_UTF8_SEQUENCE = 4; // bytes in the longest UTF-8 character
constexpr int NAME_BUFFER_SIZE = NAME_CHARACTERS * MAX_UTF8_SEQUENCE + 1; // and the terminator
constexpr int DEFAULT_LIVES = 10;
constexpr int BANNER_SHOW_MS = 3200;

enum BannerKind : int32_t { BANNER_NONE = 0, BANNER_KILL = 1, BANNER_CRASH = 2, BANNER_RAMMING = 3 };

// What the message banner says; its text is made from this and the names.
struct Banner {
    int32_t kind = BANNER_NONE;
    int32_t killer = 0; // BANNER_KILL
    int32_t victim = 0; // BANNER_KILL and BANNER_CRASH
    int32_t taunt = 0;  // BANNER_KILL: the kill message drawn
};

struct MatchState {
    Random random;
    int32_t currentMapIndex = 0;
    int32_t selectedMapIndex = 0; // chosen in the menu for the next match
    // radians; every map's planets keep circling from where they were when it was last in play
    double orbitAngles[MAP_COUNT][MAX_PLANETS] = {};
    int32_t planetCount = 0; // bodies of the map in play
    Body planetBodies[MAX_PLANETS];
    Projectile projectiles[SHOT_POOL_SIZE];
    Explosion explosions[SHOT_POOL_SIZE];
    Player players[PLAYER_COUNT];
    char nameBuffers[PLAYER_COUNT][NAME_BUFFER_SIZE] = {};
    Body shieldBodies[PLAYER_COUNT];
    WorldRect arenaRect;
    ControlState controls; // of the last step
    int32_t livesSetting = DEFAULT_LIVES;
    Banner banner;
    int32_t bannerTimer = 0; // ms; drops by twice the frame time per frame
    int32_t frameTime = 0;   // ms, of the last step
};

static_assert(std::is_trivially_copyable_v<MatchState>, "a snapshot of the match must be a plain copy");

// x 0, y 45 px, 1024 x 723 px: the playfield below the HUD strip.
WorldRect makeArenaRect();
const GameMap& currentMap(const MatchState& m, const MatchContent& c);
const WeaponType& weaponInSlot(const MatchContent& c, const Player& p, int slot);
const WeaponType& selectedWeapon(const MatchContent& c, const Player& p);
const CollisionMask& currentMask(const MatchContent& c, const Player& p);
