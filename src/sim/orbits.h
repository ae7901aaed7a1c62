// Planets circling their parents, placed once per frame before anything moves.
#pragma once
#include "content/map_table.h"

// Advances the map's orbit angles (radians, one per planet) and places every
// planet body.
void moveOrbits(const GameMap& map, double orbitAngles[MAX_PLANETS], Body planetBodies[MAX_PLANETS], int dtMs);
