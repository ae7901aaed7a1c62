// Planets circling their parents, placed once per frame before anything moves.
#pragma once
#include <vector>
#include "content/map_table.h"

void moveOrbits(GameMap& map, std::vector<Body>& planetBodies, int dtMs);
