// The tournament's counts, and the table and figures printed from them.
#pragma once
#include <cstdio>
#include <string>
#include <vector>
#include "content/map_table.h"
#include "duel.h"

struct Pairing {
    std::string name; // "hard-easy": the first pilot, then the second
    Seat first, second;
};

// "hard-still", "hard-easy", "normal-easy", "hard-hard" or "easy-still".
bool pairingFromName(const std::string& name, Pairing& pairing);

struct TallyRow {
    std::string pairing;
    int map = 0;
    int matches = 0;
    int firstWins = 0, secondWins = 0;
    int64_t lengthMs = 0;
    int firstDeaths[DEATH_CAUSES] = {};
    int secondDeaths[DEATH_CAUSES] = {};
};

struct Tally {
    std::vector<TallyRow> rows;
    // Over every seat a pilot of that level flew, by map.
    int planetDeaths[PILOT_LEVEL_COUNT][MAP_COUNT] = {};
    int64_t aliveMs[PILOT_LEVEL_COUNT][MAP_COUNT] = {};
};

void addDuel(Tally& tally, const Pairing& pairing, int map, int sideOfFirst, const DuelResult& result);
// One match: seed, map, the first pilot's side, the winner and every death.
void printDuel(std::FILE* out, const Pairing& pairing, const DuelSetUp& setUp, int sideOfFirst,
               const DuelResult& result);
void printTally(std::FILE* out, const Tally& tally, int minutes);
