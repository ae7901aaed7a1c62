// Boosting out of the way of shots about to hit the ship.
#pragma once
#include "pilot/forecast.h"
#include "pilot/pilot_skill.h"

// Whether a skill that boosts at all may start a boost now: the bar is full and no boost runs.
bool mayBoost(const Player& self, const PilotSkill& skill);

// +1 or -1: the boost along the heading that makes the shots about to hit
// the ship miss it and keeps it clear of planets and inside the arena; 0
// when none helps enough or the bar is not full.
int dodgeBoost(const MatchState& m, const MatchContent& c, int player, const PlanetForecast& f, const PilotSkill& skill);
