#include "content/map_table.h"

namespace {

constexpr int NEW_EARTH_PLANETS = 2;
constexpr int NEW_EARTH_SPAWNS = 9;
constexpr int DEEP_SPACE_SPAWNS = 6;
constexpr int TWIN_STARS_PLANETS = 3;
constexpr int TWIN_STARS_SPAWNS = 6;

constexpr int BACKGROUND_TEXTURE = 0;
constexpr int PLANET_FRAME_MS = 1000;

// A spawn point in pixels with its velocity (world units per second, radians).
struct SpawnPoint {
    double xPx, yPx;
    double speed;
    double angle;
};

constexpr SpawnPoint NEW_EARTH_SPAWN_POINTS[NEW_EARTH_SPAWNS] = {
    {620, 300, 150000000.0, PI / 2},
    {400, 300, 140000000.0, PI * 3 / 4},
    {620, 400, 180000000.0, PI / 2},
    {900, 100, 50000000.0, PI * 6 / 7},
    {850, 650, 70000000.0, PI * 9 / 7},
    {1, 100, 70000000.0, PI / 4},
    {1023, 100, 70000000.0, PI * 3 / 4},
    {1, 767, 70000000.0, PI * 7 / 4},
    {1023, 767, 70000000.0, PI * 5 / 4},
};

constexpr SpawnPoint DEEP_SPACE_SPAWN_POINTS[DEEP_SPACE_SPAWNS] = {
    {80, 120, 0, PI / 4}, {943, 120, 0, PI * 3 / 4}, {80, 687, 0, PI * 7 / 4},
    {943, 687, 0, PI * 5 / 4}, {720, 400, 0, PI}, {220, 350, 0, 0},
};

constexpr SpawnPoint TWIN_STARS_SPAWN_POINTS[TWIN_STARS_SPAWNS] = {
    {10, 120, 0, PI / 4}, {943, 120, 0, PI * 3 / 4}, {80, 687, 0, PI * 7 / 4},
    {943, 687, 0, PI * 5 / 4}, {500, 400, 0, PI}, {400, 500, 0, 0},
};

void fillSpawns(GameMap& map, const SpawnPoint* points, int count)
{
    static_assert(NEW_EARTH_SPAWNS <= MAX_SPAWN_POINTS && DEEP_SPACE_SPAWNS <= MAX_SPAWN_POINTS &&
                  TWIN_STARS_SPAWNS <= MAX_SPAWN_POINTS);
    for (int i = 0; i < count; ++i) {
        map.spawnPositions[i] = Vec2{pixels(points[i].xPx), pixels(points[i].yPx)};
        map.spawnVelocities[i] = PolarVec{points[i].speed, points[i].angle};
    }
    map.spawnCount = count;
}

GameMap emptyMap(int index, const char* name)
{
    GameMap map;
    map.index = index;
    map.name = name;
    map.background = BACKGROUND_TEXTURE;
    map.returnPoint = Vec2{pixels(500), pixels(400)};
    return map;
}

// A planet with its one-frame picture; its collision mask is made from that picture.
Planet makePlanet(AnimationFrames& frames, int slot, int texture, double radiusPx, double mass)
{
    Planet p;
    p.anim = makeAnimation(frames, {{texture, PLANET_FRAME_MS}}, true);
    p.bodySlot = slot;
    p.radius = pixels(radiusPx);
    p.mass = mass;
    return p;
}

void placeFixed(Planet& p, double xPx, double yPx)
{
    p.orbitRadius = NO_ORBIT;
    p.position = Vec2{pixels(xPx), pixels(yPx)};
}

void placeOnOrbit(Planet& p, int parent, double radiusPx, double startAngle, double speed)
{
    p.orbitParent = parent;
    p.orbitRadius = pixels(radiusPx);
    p.orbitAngle = startAngle;
    p.orbitSpeed = speed;
}

GameMap buildNewEarth(AnimationFrames& frames)
{
    GameMap map = emptyMap(0, "New earth");
    Planet* planets = map.planets;
    planets[0] = makePlanet(frames, 0, 1, 51.5, 6e28);
    placeFixed(planets[0], 500, 400);
    planets[1] = makePlanet(frames, 1, 2, 19, 2e28);
    placeOnOrbit(planets[1], 0, 280, PI / 2, PI / 24);
    map.planetCount = NEW_EARTH_PLANETS;
    fillSpawns(map, NEW_EARTH_SPAWN_POINTS, NEW_EARTH_SPAWNS);
    return map;
}

GameMap buildDeepSpace()
{
    GameMap map = emptyMap(1, "Deep space");
    fillSpawns(map, DEEP_SPACE_SPAWN_POINTS, DEEP_SPACE_SPAWNS);
    return map;
}

GameMap buildTwinStars(AnimationFrames& frames)
{
    constexpr int BLANK_TEXTURE = 89;
    GameMap map = emptyMap(2, "Twin stars");
    Planet* planets = map.planets;
    // The invisible centre of mass both stars circle.
    planets[0] = makePlanet(frames, 0, BLANK_TEXTURE, 0.0, 1.0);
    planets[0].touchable = false;
    placeFixed(planets[0], 500, 400);
    planets[1] = makePlanet(frames, 1, 95, 24.5, 5e28);
    placeOnOrbit(planets[1], 0, 310, 0.0, PI / 32);
    planets[2] = makePlanet(frames, 2, 94, 24.5, 5e28);
    placeOnOrbit(planets[2], 0, 310, PI, PI / 32);
    map.planetCount = TWIN_STARS_PLANETS;
    fillSpawns(map, TWIN_STARS_SPAWN_POINTS, TWIN_STARS_SPAWNS);
    return map;
}

} // namespace

void buildMapTable(GameMap maps[MAP_COUNT], AnimationFrames& frames)
{
    static_assert(NEW_EARTH_PLANETS <= MAX_PLANETS && TWIN_STARS_PLANETS <= MAX_PLANETS);
    maps[0] = buildNewEarth(frames);
    maps[1] = buildDeepSpace();
    maps[2] = buildTwinStars(frames);
}
