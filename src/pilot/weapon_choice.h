// Which of the five slots suits the fight as it stands: the damage each
// weapon deals per second, weighed by how likely its shots are to land.
#pragma once
#include "sim/match_state.h"

// What the pilot sees of the fight when it weighs its weapons.
struct FightView {
    double distance = 0.0;        // world units between the ships
    double targetRadius = 0.0;    // world units
    double targetAgility = 0.0;   // the target's engine, world units per second squared
    double targetShield = 0.0;    // 0..1 of its full shield
    bool targetBehind = false;    // within an eighth of a turn of straight behind
};

// Damage per second the slot can be expected to deal at that distance; 0 when it cannot reach.
double slotValue(const MatchContent& c, const Player& shooter, int slot, const FightView& view);
// The distance (world units) at which the slot does best, among a few tried.
double bestRangeOf(const MatchContent& c, const Player& shooter, int slot, const FightView& view);
