// The three maps: planets, orbits, spawn points and the return point.
#pragma once
#include <functional>
#include "gfx/animation.h"
#include "sim/collision_mask.h"
#include "sim/geometry.h"

constexpr int MAP_COUNT = 3;
constexpr double NO_ORBIT = -1.0; // orbitRadius of a planet that stands still

struct Planet {
    Animation anim;
    int32_t bodySlot = 0;      // index in planetBodies
    double radius = 0.0;       // world units; shots go off within it
    double mass = 0.0;
    int32_t orbitParent = 0;   // body slot circled
    double orbitRadius = NO_ORBIT; // world units; exactly -1.0: does not orbit
    double orbitAngle = 0.0;   // radians, advanced every frame while in play
    double orbitSpeed = 0.0;   // radians per second
    Vec2 position;             // where a non-orbiting planet stands
    CollisionMask mask;
};

// Copies share the planet and spawn arrays with the table row.
struct GameMap {
    int32_t index = 0;
    const char* name = "";
    int32_t background = 0; // catalogue index
    int32_t planetCount = 0;
    Planet* planets = nullptr;
    int32_t spawnCount = 0;
    Vec2* spawnPositions = nullptr;
    PolarVec* spawnVelocities = nullptr; // (speed, angle) per spawn point
    Vec2 returnPoint;
};

// The catalogue picture of a texture index, for building planet masks.
using PictureSource = std::function<Picture(int textureIndex)>;

void buildMapTable(GameMap maps[MAP_COUNT], const PictureSource& pictures);
