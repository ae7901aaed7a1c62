// The three maps: planets, orbits, spawn points and the return point.
#pragma once
#include "sim/animation.h"
#include "sim/geometry.h"

constexpr int MAP_COUNT = 3;
constexpr int MAX_PLANETS = 3;     // on any map
constexpr int MAX_SPAWN_POINTS = 9; // on any map
constexpr double NO_ORBIT = -1.0; // orbitRadius of a planet that stands still

struct Planet {
    Animation anim;
    int32_t bodySlot = 0;      // index in planetBodies
    double radius = 0.0;       // world units; shots go off within it
    double mass = 0.0;
    int32_t orbitParent = 0;   // body slot circled
    double orbitRadius = NO_ORBIT; // world units; exactly -1.0: does not orbit
    double orbitAngle = 0.0;   // radians at the start of a run; the match advances its own copy
    double orbitSpeed = 0.0;   // radians per second
    Vec2 position;             // where a non-orbiting planet stands
    bool touchable = true;     // false: a centre of mass with nothing to touch, whatever its picture
};

struct GameMap {
    int32_t index = 0;
    const char* name = "";
    int32_t background = 0; // catalogue index
    int32_t planetCount = 0;
    Planet planets[MAX_PLANETS];
    int32_t spawnCount = 0;
    Vec2 spawnPositions[MAX_SPAWN_POINTS];
    PolarVec spawnVelocities[MAX_SPAWN_POINTS]; // (speed, angle) per spawn point
    Vec2 returnPoint;
};

void buildMapTable(GameMap maps[MAP_COUNT], AnimationFrames& frames);
