// The simulated part of one pass of the frame loop.
#pragma once
#include "sim/match_state.h"

// Orbits, both flight steps, shield bubbles, both weapon steps, shield
// regeneration, planet contact, ramming and the shot pass, in that order.
void simulateFrame(MatchState& m, int dtMs, int32_t nowMs);
// The display timers of both players and the banner timer (dropped once per player).
void tickDisplayTimers(MatchState& m, int dtMs);
// The whole pass of the frame loop without drawing: the simulation, then the
// state changes that drawing makes (an ended explosion, an ended impact) as it
// would make them, and the display timers.
void stepFrameUndrawn(MatchState& m, int dtMs, int32_t nowMs);
// Player 1 away from player 2, then player 2 away from player 1's new place.
void placeBothPlayers(MatchState& m);

// The two state changes that drawing decides by animation ticks; the headless
// runner calls them without drawing.
// lifeState 1 -> 2 once deathAnim has ended. Returns true when it did.
bool finishExplosionIfEnded(Player& p, int32_t nowMs);
// Retires a gone-off shot whose impact animation has ended. Returns true when it did.
bool retireShotIfImpactEnded(Projectile& shot, Explosion& e, int32_t nowMs);
