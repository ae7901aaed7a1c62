// Shots in flight and their impact effects, which stay on what they hit.
#pragma once
#include <cstdint>
#include <vector>
#include "sim/match_state.h"

// Every active shot of the pools: its flight picture, or its impact attached to
// the ship or planet it hit. A shot whose impact has ended is retired instead.
void drawShots(int count, Explosion explosions[], Projectile projectiles[], const std::vector<Body>& bodies,
               const GameMap& map, const Player players[], int32_t nowMs);
