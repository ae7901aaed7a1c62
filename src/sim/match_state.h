// The whole simulated state of a run, owned by the main function.
#pragma once
#include <cstdint>
#include <vector>
#include "content/map_table.h"
#include "content/ship_table.h"
#include "content/weapon_table.h"
#include "sim/collision_mask.h"
#include "sim/player.h"
#include "sim/projectile.h"
#include "ui/control_state.h"

constexpr int KILL_MESSAGE_COUNT = 4;
constexpr int NAME_CHARACTERS = 15;
constexpr int MAX_UTF8_SEQUENCE = 4; // bytes in the longest UTF-8 character
constexpr int NAME_BUFFER_SIZE = NAME_CHARACTERS * MAX_UTF8_SEQUENCE + 1; // and the terminator
constexpr int DEFAULT_LIVES = 10;
constexpr int BANNER_SHOW_MS = 3200;

struct KillMessage {
    char verb[32];
    char phrase[32];
};

// What the simulation asks of the presentation: re-render a label, show a
// message. Any pointer may be null (the headless runner ignores labels).
struct MatchEvents {
    void* context = nullptr;
    void (*livesChanged)(void* context, int player) = nullptr;
    void (*killsChanged)(void* context, int player) = nullptr;
    void (*weaponChanged)(void* context, int player) = nullptr;
    void (*messageShown)(void* context, const char* text) = nullptr;
};

struct MatchState {
    KillMessage killMessages[KILL_MESSAGE_COUNT];
    int32_t killMessageCount = KILL_MESSAGE_COUNT;
    bool quitRequested = false;
    WeaponType weaponTable[WEAPON_COUNT];
    FireState fireStateTable[WEAPON_COUNT];
    GameMap mapTable[MAP_COUNT];
    ShipType shipTable[SHIP_COUNT];
    int32_t currentMapIndex = 0;
    int32_t selectedMapIndex = 0;
    GameMap currentMap;
    std::vector<Body> planetBodies; // rebuilt only on a map change
    Projectile projectiles[SHOT_POOL_SIZE];
    Explosion explosions[SHOT_POOL_SIZE];
    Player players[PLAYER_COUNT];
    char nameBuffers[PLAYER_COUNT][NAME_BUFFER_SIZE] = {};
    Body shieldBodies[PLAYER_COUNT];
    WorldRect arenaRect;
    CollisionMask blastMasks[BLAST_MASK_COUNT];
    ControlState controls;
    int32_t livesSetting = DEFAULT_LIVES;
    int32_t bannerTimer = 0; // ms; drops by twice the frame time per frame
    int32_t lastTicks = 0;   // ms
    int32_t frameTime = 0;   // ms
    MatchEvents events;
};

// x 0, y 45 px, 1024 x 723 px: the playfield below the HUD strip.
WorldRect makeArenaRect();
void fillKillMessages(MatchState& m);
// planetBodies for currentMap: one Body per planet at (0, 0); the first orbit step places them.
void buildPlanetBodies(MatchState& m);
