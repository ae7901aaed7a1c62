// A way out for a ship whose path meets a planet or the arena's edge.
#pragma once
#include "pilot/forecast.h"
#include "pilot/pilot_skill.h"

struct Escape {
    double course = 0.0; // heading to turn to and thrust along
    int boost = 0;       // +1 or -1: a boost along the present heading instead
};

// Tries thrust in evenly spread directions (each after the turn to it) and,
// with a full bar, both boosts; the best path avoids planets, then stays
// inside, then ends with the most room.
Escape findEscape(const PlanetForecast& f, const Player& self, const WorldRect& arena, const PilotSkill& skill);
