// Boosting out of the way of shots about to hit the ship.
#pragma once
#include "pilot/forecast.h"
#include "pilot/pilot_skill.h"

// +1 or -1: the boost along the heading that makes the shots about to hit
// the ship miss it and keeps it clear of planets and inside the arena; 0
// when none helps enough or the bar is not full.
int dodgeBoost(const MatchState& m, int player, const PlanetForecast& f, const PilotSkill& skill);
