#include "sim/orbits.h"

#include <cassert>
#include <cmath>

void moveOrbits(GameMap& map, std::vector<Body>& planetBodies, int dtMs)
{
    const double dt = dtMs / 1000.0;
    [[maybe_unused]] const int bodyCount = static_cast<int>(planetBodies.size());
    for (int i = 0; i < map.planetCount; ++i) {
        Planet& planet = map.planets[i];
        assert(planet.bodySlot >= 0 && planet.bodySlot < bodyCount);
        Body& body = planetBodies[planet.bodySlot];
        // Exactly -1.0 marks a planet that stands still; any other radius is an orbit.
        if (planet.orbitRadius == NO_ORBIT) {
            body.position = planet.position;
            continue;
        }
        assert(planet.orbitParent >= 0 && planet.orbitParent < bodyCount);
        planet.orbitAngle += dt * planet.orbitSpeed;
        // The parent's position as it is now: a parent later in the table is a frame behind.
        const Vec2 centre = planetBodies[planet.orbitParent].position;
        body.position.x = centre.x + planet.orbitRadius * std::cos(planet.orbitAngle);
        body.position.y = centre.y + planet.orbitRadius * std::sin(planet.orbitAngle);
    }
}
