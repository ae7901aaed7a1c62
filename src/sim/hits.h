// Planet contact, ramming, shot hits, blasts, death and respawn.
#pragma once
#include "sim/match_state.h"
#include "sim/step_events.h"

constexpr double RAMMING_DAMAGE_FACTOR = 5e-22;
constexpr double RAMMING_MIN_SPEED = 100000000.0; // world units per second
constexpr double SPAWN_MIN_DISTANCE = 195312500.0; // 200 px
constexpr int SPAWN_ATTEMPTS = 1000;
constexpr int SHIELD_BREAK_DELAY_MS = 400;
constexpr int HULL_BAR_MS = 1250;
constexpr int HULL_BAR_RAMMED_P2_MS = 1000;
constexpr int SHIELD_BAR_MS = 3200;

double blastDamageTo(const Explosion& e, const Vec2& shotPosition, const Player& p);
void die(Player& p, int32_t nowMs);
void respawnAway(Player& p, const Vec2& otherPosition, const GameMap& map, Random& random);
// Player 1 away from player 2, then player 2 away from player 1's new place.
void placeBothPlayers(MatchState& m, const MatchContent& c);
void rammingResponse(Player& a, Player& b);
void testPlanetContact(MatchState& m, const MatchContent& c, StepEvents& events, int32_t nowMs);
void testRamming(MatchState& m, const MatchContent& c, StepEvents& events, int32_t nowMs);
// How near a shot must come to each ship before any of its tests can hit,
// leaving out the shot's own radii. It depends on the ships alone, so the shot
// pass works it out once a frame.
struct ShipReach {
    double reach[PLAYER_COUNT]; // world units, along either axis
};
ShipReach shipReachOf(const MatchState& m, const MatchContent& c);
// Shield tests for both players, then hull tests for both, of one shot.
void testShotHits(MatchState& m, const MatchContent& c, int shotIndex, int32_t nowMs, const ShipReach& ships,
                  StepEvents& events);
