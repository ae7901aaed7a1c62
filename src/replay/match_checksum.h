// Checksums that prove a replay follows its recording.
#pragma once
#include <cstdint>
#include "sim/match_state.h"

// Both players (place, speed, heading, hull, shield, energy, life, lives,
// kills, slot and every magazine), the planets, every shot in flight or going
// off, and where the random sequence stands.
uint64_t matchChecksum(const MatchState& m);
// Every collision mask the match can use: the planets' of every map, the blast
// discs, and the sixteen turned masks of every ship type, which must all have
// been made (makeAllShipMasks).
uint64_t maskChecksum(const MatchContent& c);
