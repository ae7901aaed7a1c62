// One headless match between two seats, each a computer pilot or a ship
// left alone, played to its end or to a time limit.
#pragma once
#include <cstdint>
#include "pilot/pilot_skill.h"
#include "sim/player.h"

// A side of a pairing: a pilot of some level, or a ship that never moves or fires.
struct Seat {
    bool piloted = false;
    PilotLevel level = PilotLevel::Normal;
};

enum DuelDeath { KILLED = 0, PLANET = 1, OWN_SHOT = 2, RAMMED = 3, DEATH_CAUSES = 4 };

struct DuelResult {
    int winner = -1;                               // player index, -1: no winner in time
    int32_t lengthMs = 0;
    int deaths[PLAYER_COUNT][DEATH_CAUSES] = {};
    int64_t aliveMs[PLAYER_COUNT] = {};            // time each ship flew
};

struct DuelSetUp {
    uint32_t seed = 1;
    int mapIndex = 0;
    int lives = 3;
    int frameMs = 10;
    int32_t limitMs = 5 * 60 * 1000;
    Seat seats[PLAYER_COUNT];
};

// Needs the display and texture catalogue (openHeadlessDisplay).
DuelResult playDuel(const DuelSetUp& setUp);
