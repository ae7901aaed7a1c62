#include "sim/orbits.h"

#include <cassert>
#include <cmath>

void moveOrbits(const GameMap& map, double orbitAngles[MAX_PLANETS], Body planetBodies[MAX_PLANETS], int dtMs)
{
    const double dt = dtMs / 1000.0;
    assert(map.planetCount >= 0 && map.planetCount <= MAX_PLANETS);
    for (int i = 0; i < map.planetCount; ++i) {
        const Planet& planet = map.planets[i];
        assert(planet.bodySlot >= 0 && planet.bodySlot < map.planetCount);
        Body& body = planetBodies[planet.bodySlot];
        // Exactly -1.0 marks a planet that stands still; any other radius is an orbit.
        if (planet.orbitRadius == NO_ORBIT) {
            body.position = planet.position;
            continue;
        }
        assert(planet.orbitParent >= 0 && planet.orbitParent < map.planetCount);
        double& angle = orbitAngles[i];
        angle += dt * planet.orbitSpeed;
        // The parent's position as it is now: a parent later in the table is a frame behind.
        const Vec2 centre = planetBodies[planet.orbitParent].position;
        body.position.x = centre.x + planet.orbitRadius * std::cos(angle);
        body.position.y = centre.y + planet.orbitRadius * std::sin(angle);
    }
}
