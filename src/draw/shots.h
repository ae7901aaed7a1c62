// Shots in flight and their impact effects, which stay on what they hit.
#pragma once
#include <cstdint>
#include "sim/match_state.h"

// Every active shot of the pools: its flight picture, or its impact attached to
// the ship or planet it hit.
void drawShots(int count, const Explosion explosions[], const Projectile projectiles[], const Body bodies[],
               const GameMap& map, const Player players[], const AnimationFrames& frames, int32_t nowMs);
